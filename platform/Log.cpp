#include "platform/Log.h"

#include <cstdio>

namespace platform {
namespace {
LogHook& Hook() {
  static LogHook hook;
  return hook;
}
}  // namespace

void Log(LogLevel level, const std::string& text) {
  const char* tag = level == LogLevel::Error ? "error" : level == LogLevel::Warning ? "warning" : "info";
  if (Hook()) {
    Hook()(level, text);
    if (level == LogLevel::Info) return;
  }
  std::fprintf(stderr, "[%s] %s\n", tag, text.c_str());
}

void SetLogHook(LogHook hook) { Hook() = std::move(hook); }

}  // namespace platform
