// Fuzz target of the mesh file readers. Seeds: small meshes in every encoding
// and a skinned bar with animation sets, from the mesh file writer, and the
// damaged files that once brought the reader down or held too much memory (runs
// of empty lists, plain and compressed; a compressed file inflating past what
// any mesh needs; a mesh with two normal lists).
#include <string>

#include "fuzz/FuzzSeeds.h"
#include "fuzz/XFileFuzzBody.h"
#include "fuzz/XFileSeedData.h"
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

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  std::vector<std::vector<uint8_t>> seeds;
  for (const std::string& s : xfuzz::SeedFiles()) seeds.push_back(SeedBytes(s));
  for (const std::string& s : xfuzz::RegressionFiles()) seeds.push_back(SeedBytes(s));
  return seeds;
}
