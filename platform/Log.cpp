#include "platform/Log.h"

#include <cstdio>

namespace platform {
namespace {
// A line names what went wrong; a name a file or a script made huge is cut
// to this many bytes on the way to standard error, so it cannot flood it.
constexpr size_t MAX_LINE = 1024;

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
  std::fprintf(stderr, "[%s] %s\n", tag, ClippedForLog(text).c_str());
}

std::string ClippedForLog(const std::string& text) {
  if (text.size() <= MAX_LINE) return text;
  return text.substr(0, MAX_LINE) + "... (" + std::to_string(text.size()) + " bytes)";
}

void SetLogHook(LogHook hook) { Hook() = std::move(hook); }

}  // namespace platform
