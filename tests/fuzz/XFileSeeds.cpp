// Seeds of the mesh file readers: small meshes in every encoding and a
// skinned bar with animation sets, from the mesh file writer, and the
// damaged files that once brought the reader down or held too much memory
// (runs of empty lists, plain and compressed; a compressed file inflating
// past what any mesh needs; a mesh with two normal lists).
#include <string>

#include "fuzz/FuzzSeeds.h"
#include "fuzz/XFileSeedData.h"

namespace {
std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }
}  // namespace

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  std::vector<std::vector<uint8_t>> seeds;
  for (const std::string& s : xfuzz::SeedFiles()) seeds.push_back(Bytes(s));
  for (const std::string& s : xfuzz::RegressionFiles()) seeds.push_back(Bytes(s));
  return seeds;
}
