#pragma once
#include <functional>
#include <string>

namespace platform {

enum class LogLevel { Info, Warning, Error };

// Writes one line to standard error (and to the capture hook, if set).
void Log(LogLevel level, const std::string& text);
inline void LogInfo(const std::string& text) { Log(LogLevel::Info, text); }
inline void LogWarning(const std::string& text) { Log(LogLevel::Warning, text); }
inline void LogError(const std::string& text) { Log(LogLevel::Error, text); }

// The text as standard error gets it: over a kilobyte, cut, with its length.
std::string ClippedForLog(const std::string& text);

// Tests capture the log with a hook; an empty function removes it. While a
// hook is set, Info lines are not written to standard error.
using LogHook = std::function<void(LogLevel, const std::string&)>;
void SetLogHook(LogHook hook);

}  // namespace platform
