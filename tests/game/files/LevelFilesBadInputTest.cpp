// Damaged level files: every truncation, and every count, string length and
// vertex count set to -1 or 2^31-1, is refused, and the records parsed
// before stay as they were.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "fuzz/LevelFileSamples.h"
#include "game/files/LevelFiles.h"
#include "platform/Log.h"
#include "tools/formats/LevelFiles.h"

namespace {

struct Sample {
  const char* name;
  formats::LevelFileBytes bytes;
  // Parses into a file that holds one known record beforehand and tells
  // whether that record is still there afterwards.
  std::function<bool(const std::vector<uint8_t>&, bool& untouched)> parse;
};

template <class File, class Seed, class Parse, class Same>
Sample Make(const char* name, const File& sample, void (*write)(formats::LevelFileBytes&, const File&), Seed seed,
            Parse parse, Same same) {
  formats::LevelFileBytes bytes;
  write(bytes, sample);
  return {name, bytes, [=](const std::vector<uint8_t>& b, bool& untouched) {
            File f;
            seed(f);
            const bool ok = parse(b, f);
            untouched = same(f);
            return ok;
          }};
}

std::vector<Sample> Samples() {
  using B = const std::vector<uint8_t>&;
  return {Make("items", levelsamples::TestLevelItems(), formats::WriteItemsFile, [](auto& f) { f.barrels.resize(1); },
               [](B b, auto& f) { return ParseItemsFile(b, f); },
               [](auto& f) { return f.barrels.size() == 1 && f.items.empty(); }),
          Make("collision", levelsamples::TestCollision(), formats::WriteCollisionFile,
               [](auto& f) { f.shapes.resize(1); }, [](B b, auto& f) { return ParseCollisionFile(b, f); },
               [](auto& f) { return f.shapes.size() == 1 && f.shapes[0].vertices.empty(); }),
          Make("generators", levelsamples::TestGenerators(), formats::WriteEnemyGeneratorFile,
               [](auto& f) { f.generators.resize(1); }, [](B b, auto& f) { return ParseEnemyGeneratorFile(b, f); },
               [](auto& f) { return f.generators.size() == 1 && f.generators[0].group.empty(); }),
          Make("grate shapes", levelsamples::TestGrateShapes(), formats::WriteWireGrateShapeFile,
               [](auto& f) { f.leading = 77; }, [](B b, auto& f) { return ParseWireGrateShapeFile(b, f); },
               [](auto& f) { return f.leading == 77 && f.shapes[0].vertices.empty(); })};
}

TEST(LevelFilesBadInput, WholeSamplesParse) {
  for (const Sample& s : Samples()) {
    bool untouched = true;
    EXPECT_TRUE(s.parse(s.bytes.Bytes(), untouched)) << s.name;
    EXPECT_FALSE(untouched) << s.name;
    EXPECT_FALSE(s.bytes.LengthOffsets().empty()) << s.name;
  }
}

TEST(LevelFilesBadInput, BytesAfterTheLastRecordAreIgnoredWithOneWarning) {
  std::vector<std::string> warnings;
  platform::SetLogHook([&](platform::LogLevel level, const std::string& text) {
    if (level == platform::LogLevel::Warning) warnings.push_back(text);
  });
  for (const Sample& s : Samples()) {
    for (size_t extra : {size_t(1), size_t(4), size_t(1000)}) {
      std::vector<uint8_t> padded = s.bytes.Bytes();
      padded.resize(padded.size() + extra, 0xAB);
      warnings.clear();
      bool untouched = true;
      EXPECT_TRUE(s.parse(padded, untouched)) << s.name << " + " << extra;
      EXPECT_FALSE(untouched) << s.name;
      EXPECT_EQ(warnings.size(), 1u) << s.name << " + " << extra;
    }
    warnings.clear();
    bool untouched = true;
    EXPECT_TRUE(s.parse(s.bytes.Bytes(), untouched));
    EXPECT_TRUE(warnings.empty()) << s.name;
  }
  platform::SetLogHook(nullptr);
}

TEST(LevelFilesBadInput, EveryTruncationIsRefusedAndChangesNothing) {
  for (const Sample& s : Samples()) {
    const std::vector<uint8_t>& whole = s.bytes.Bytes();
    for (size_t size = 0; size < whole.size(); ++size) {
      const std::vector<uint8_t> cut(whole.begin(), whole.begin() + long(size));
      bool untouched = false;
      EXPECT_FALSE(s.parse(cut, untouched)) << s.name << " cut at " << size;
      EXPECT_TRUE(untouched) << s.name << " cut at " << size;
    }
  }
}

TEST(LevelFilesBadInput, CountsAndLengthsOfMinusOneOrTheLargestIntAreRefused) {
  size_t tried = 0;
  for (const Sample& s : Samples()) {
    for (size_t offset : s.bytes.LengthOffsets()) {
      for (uint32_t value : {0xFFFFFFFFu, 0x7FFFFFFFu}) {
        std::vector<uint8_t> damaged = s.bytes.Bytes();
        for (int i = 0; i < 4; ++i) damaged[offset + size_t(i)] = uint8_t(value >> (8 * i));
        bool untouched = false;
        EXPECT_FALSE(s.parse(damaged, untouched)) << s.name << " value " << value << " at " << offset;
        EXPECT_TRUE(untouched) << s.name << " at " << offset;
        ++tried;
      }
    }
  }
  EXPECT_GT(tried, 100u);
}

TEST(LevelFilesBadInput, LargeCountsInSmallFilesFailBeforeAnythingIsSetAside) {
  // Counts within the limits that the bytes cannot hold.
  const uint8_t manyShapes[] = {0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00};  // 65536 shapes of 65536 vertices
  COLLISION_FILE walls;
  EXPECT_FALSE(ParseCollisionFile(manyShapes, sizeof manyShapes, walls));
  const uint8_t beyond[] = {0x01, 0x00, 0x01, 0x00};  // 65537 shapes: above the limit
  EXPECT_FALSE(ParseCollisionFile(beyond, sizeof beyond, walls));
  std::vector<uint8_t> items(52, 0);
  items[0] = 0x00, items[1] = 0x00, items[2] = 0x01;  // 65536 items
  ITEMS_FILE f;
  EXPECT_FALSE(ParseItemsFile(items, f));
  // The largest vertex count allowed, with its bytes there, still reads.
  COLLISION_FILE big;
  big.shapes.resize(1);
  big.shapes[0].vertices.resize(LEVEL_FILE_MAX_VERTICES);
  ASSERT_TRUE(ParseCollisionFile(formats::CollisionFileBytes(big), walls));
  EXPECT_EQ(walls.shapes[0].vertices.size(), size_t(LEVEL_FILE_MAX_VERTICES));
  big.shapes[0].vertices.resize(LEVEL_FILE_MAX_VERTICES + 1);
  EXPECT_FALSE(ParseCollisionFile(formats::CollisionFileBytes(big), walls));
}

}  // namespace
