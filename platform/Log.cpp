#include "platform/Log.h"

#include <cstdio>

namespace platform {
namespace {
// A line names what went wrong; a name a file or a script made huge is cut
// to this many bytes on the way out, so it cannot flood the log.
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
  if (text.size() > MAX_LINE)
    std::fprintf(stderr, "[%s] %.*s... (%zu bytes)\n", tag, static_cast<int>(MAX_LINE), text.c_str(), text.size());
  else
    std::fprintf(stderr, "[%s] %s\n", tag, text.c_str());
}

void SetLogHook(LogHook hook) { Hook() = std::move(hook); }

}  // namespace platform
