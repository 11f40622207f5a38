// Damaged mesh files made by random mutations of valid ones must never
// crash or read out of bounds (the sanitizer build checks the reads).
#include <gtest/gtest.h>

#include <random>

#include "fuzz/XFileFuzzBody.h"
#include "fuzz/XFileSeedData.h"
#include "platform/Log.h"

TEST(XFileMutation, RandomlyDamagedFilesAreHandled) {
  platform::SetLogHook([](platform::LogLevel, const std::string&) {});
  std::mt19937 rng(12345);
  auto seeds = xfuzz::SeedFiles();
  // Every seed loads as given, so the mutations start from valid files.
  for (const auto& s : seeds) {
    std::string error;
    platform::xfile::XScene scene;
    EXPECT_TRUE(platform::xfile::ParseXFile((const uint8_t*)s.data(), s.size(), scene, error)) << error;
  }
  int rejected = 0;
  const int kRounds = 4000;
  for (int round = 0; round < kRounds; ++round) {
    std::string s = seeds[round % seeds.size()];
    int edits = 1 + (int)(rng() % 4);
    for (int e = 0; e < edits && !s.empty(); ++e) {
      size_t at = 16 + rng() % std::max<size_t>(1, s.size() - 16);
      if (at >= s.size()) at = s.size() - 1;
      switch (rng() % 5) {
        case 0: s[at] = (char)(rng() & 0xFF); break;                       // random byte
        case 1: s[at] ^= (char)(1u << (rng() % 8)); break;                 // bit flip
        case 2: s.erase(at, 1 + rng() % 8); break;                         // cut
        case 3: s.insert(at, std::string(1 + rng() % 4, (char)(rng() & 0xFF))); break;
        case 4: s.resize(at); break;                                        // truncate
      }
    }
    platform::xfile::XScene scene;
    std::string error;
    std::vector<uint8_t> exact(s.begin(), s.end());  // exact size for the sanitizer
    if (!platform::xfile::ParseXFile(exact.data(), exact.size(), scene, error)) {
      ++rejected;
      EXPECT_FALSE(error.empty());
    }
    xfuzz::RunInput(exact.data(), exact.size());
  }
  platform::SetLogHook(nullptr);
  // Most mutations damage the file; the readers must notice.
  EXPECT_GT(rejected, kRounds / 4);
}
