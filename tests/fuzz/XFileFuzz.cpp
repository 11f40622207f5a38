// Fuzz target of the mesh file readers.
#include <string>

#include "fuzz/XFileFuzzBody.h"
#include "platform/Log.h"

// The readers log why a file fails; the fuzzer does not need the lines.
namespace platform {
void Log(LogLevel, const std::string&) {}
void SetLogHook(LogHook) {}
std::string ClippedForLog(const std::string& text) { return text; }
}  // namespace platform

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  xfuzz::RunInput(data, size);
  return 0;
}
