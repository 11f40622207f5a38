// Writes the seed corpus of the mesh file fuzzer: small meshes in every
// encoding, a skinned bar with animation sets, and the damaged files that
// once brought the reader down.
#include <cstdio>
#include <string>

#include "fuzz/XFileSeedData.h"
#include "platform/Files.h"
#include "tools/formats/TextFiles.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: xfile_seeds <folder>\n");
    return 2;
  }
  std::string dir = argv[1];
  platform::MakeDirectories(dir);
  int i = 0;
  for (const std::string& bytes : xfuzz::SeedFiles())
    if (!formats::WriteBytes(dir + "/seed" + std::to_string(i++) + ".x", bytes)) return 1;
  i = 0;
  for (const std::string& bytes : xfuzz::RegressionFiles())
    if (!formats::WriteBytes(dir + "/regression" + std::to_string(i++) + ".x", bytes)) return 1;
  return 0;
}
