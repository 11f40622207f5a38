// The demo levels' enemy-generator files: read back by the level, every
// generator on the floor, away from the start and off the pillars, and a
// record's bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/files/LevelFiles.h"
#include "platform/Files.h"
#include "tools/datagen/DemoLevelContents.h"
#include "tools/datagen/LevelLayouts.h"
#include "tools/formats/LevelFiles.h"

namespace {

class DemoLevelGenerators : public ::testing::TestWithParam<std::string> {};

bool Inside(const datagen::LAYOUT_BOX& b, const D3DXVECTOR3& p, float margin) {
  return p.x >= b.minX - margin && p.x <= b.maxX + margin && p.y >= b.minY - margin && p.y <= b.maxY + margin;
}

TEST_P(DemoLevelGenerators, EveryGeneratorStandsOnTheFloorAwayFromTheStart) {
  const datagen::LEVEL_LAYOUT* layout = datagen::FindLevelLayout(GetParam());
  ASSERT_NE(layout, nullptr);
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(platform::ReadWholeFile(std::string(KARVESSA_DEMO_DATA_DIR) + "/" + GetParam() + "_Generators.dat",
                                      bytes));
  ENEMY_GENERATOR_FILE file;
  ASSERT_TRUE(ParseEnemyGeneratorFile(bytes, file));
  ASSERT_GE(file.generators.size(), 3u);
  for (const ENEMY_GENERATOR_RECORD& g : file.generators) {
    bool onFloor = false;
    for (const datagen::LAYOUT_BOX& room : layout->rooms) onFloor |= Inside(room, g.position, -100.0f);
    EXPECT_TRUE(onFloor) << g.position.x << "," << g.position.y;
    for (const datagen::LAYOUT_BOX& pillar : layout->pillars)
      EXPECT_FALSE(Inside(pillar, g.position, 100.0f)) << g.position.x << "," << g.position.y;
    const D3DXVECTOR3 d = g.position - layout->playerStart;
    EXPECT_GE(D3DXVec3Length(&d), 1000.0f);
    int total = 0;
    for (const ENEMY_GENERATOR_OPTION& o : g.options) {
      EXPECT_GE(o.type, 0);
      EXPECT_LE(o.type, 8);
      total += o.percent;
    }
    EXPECT_LE(total, 100);
  }
}

TEST(DemoLevelGenerators, ARecordIsWrittenAsTheLevelEditorWritesIt) {
  ENEMY_GENERATOR_FILE file;
  ENEMY_GENERATOR_RECORD r;
  r.options = {{{1, 50, 1}, {3, 30, 0}, {7, 0, 1}}};
  r.position = D3DXVECTOR3(1.0f, -2.0f, 0.0f);
  r.facing = 0.5f;
  r.group = "A";
  file.generators.push_back(r);
  const std::vector<uint8_t> expected = {
      1, 0, 0, 0,                                                      // count
      1, 0, 0, 0, 50, 0, 0, 0, 1, 0, 0, 0,                             // option 1
      3, 0, 0, 0, 30, 0, 0, 0, 0, 0, 0, 0,                             // option 2
      7, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0,                              // option 3
      0, 0, 0x80, 0x3f, 0, 0, 0, 0xc0, 0, 0, 0, 0, 0, 0, 0, 0x3f,       // x, y, z, facing
      1, 0, 0, 0, 'A', 0};                                             // group with its zero
  EXPECT_EQ(formats::EnemyGeneratorFileBytes(file), expected);
}

TEST(DemoLevelGenerators, TheTutorialHasNoEnemiesAndLoadsNoGenerators) {
  const datagen::DEMO_LEVEL_CONTENT tutorial = datagen::DemoLevelContent("LevelTutorial");
  EXPECT_TRUE(tutorial.generators.generators.empty());
  for (const auto& script : tutorial.scripts)
    EXPECT_EQ(script.second.find("LoadEnemyGenerators"), std::string::npos) << script.first;
}

INSTANTIATE_TEST_SUITE_P(Levels, DemoLevelGenerators, ::testing::Values("Level4", "Level8"));

}  // namespace
