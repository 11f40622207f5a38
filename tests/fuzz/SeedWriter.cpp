// Writes a fuzz target's seeds (KarvessaFuzzSeeds) into a corpus folder,
// one file per seed, for libFuzzer to start from.
// Usage: <target>_seeds <folder>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz/FuzzSeeds.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error) {
    std::fprintf(stderr, "cannot make %s\n", dir.c_str());
    return 1;
  }
  const auto seeds = KarvessaFuzzSeeds();
  for (size_t i = 0; i < seeds.size(); ++i) {
    const std::filesystem::path file = dir / ("seed-" + std::to_string(i));
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(seeds[i].data()), static_cast<std::streamsize>(seeds[i].size()));
    if (!out.flush()) {
      std::fprintf(stderr, "cannot write %s\n", file.c_str());
      return 1;
    }
  }
  std::printf("%zu seeds written to %s\n", seeds.size(), dir.c_str());
  return 0;
}
