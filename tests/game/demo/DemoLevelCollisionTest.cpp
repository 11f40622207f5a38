// The demo levels' layouts and the collision and items files the generator
// makes from them: outlines traced around the rooms, the characters' walls
// grown into the rooms, and the files as the level loads them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/app/Engine.h"
#include "game/collision/CollisionRegistry.h"
#include "game/files/LevelFiles.h"
#include "platform/Files.h"
#include "tools/datagen/DemoLevelContents.h"
#include "tools/datagen/LevelLayouts.h"
#include "game/mechanisms/props/Box.h"
#include "game/player/Player.h"
#include "tools/formats/LevelFiles.h"
#include "tools/formats/TriggerFile.h"

namespace {

using datagen::LEVEL_LAYOUT;

// Twice the signed area: positive for a counter-clockwise loop.
float SignedArea2(const std::vector<D3DXVECTOR3>& loop) {
  float a = 0.0f;
  for (size_t k = 0; k < loop.size(); ++k) {
    const D3DXVECTOR3& p = loop[k];
    const D3DXVECTOR3& q = loop[(k + 1) % loop.size()];
    a += p.x * q.y - q.x * p.y;
  }
  return a;
}

TEST(LevelLayout, OneRoomIsOneCounterClockwiseLoopAndAPillarAClockwiseOne) {
  LEVEL_LAYOUT room;
  room.rooms = {{-500, -400, 500, 400}};
  auto loops = datagen::LayoutOutlines(room);
  ASSERT_EQ(loops.size(), 1u);
  ASSERT_EQ(loops[0].size(), 4u);
  EXPECT_EQ(loops[0][0].x, -500.0f);  // starts at its lowest, leftmost corner
  EXPECT_EQ(loops[0][0].y, -400.0f);
  EXPECT_FLOAT_EQ(SignedArea2(loops[0]), 2.0f * 1000.0f * 800.0f);

  room.pillars = {{-100, -100, 100, 100}};
  loops = datagen::LayoutOutlines(room);
  ASSERT_EQ(loops.size(), 2u);
  EXPECT_FLOAT_EQ(SignedArea2(loops[1]), -2.0f * 200.0f * 200.0f);
  // Grown into the room: the outer walls move in, the pillar grows.
  const auto grown = datagen::GrowIntoWalkable(loops, 60.0f);
  EXPECT_FLOAT_EQ(SignedArea2(grown[0]), 2.0f * 880.0f * 680.0f);
  EXPECT_FLOAT_EQ(SignedArea2(grown[1]), -2.0f * 320.0f * 320.0f);
  EXPECT_EQ(grown[1][0].x, -160.0f);
  EXPECT_EQ(grown[1][0].y, -160.0f);
}

TEST(LevelLayout, JoinedRoomsShareOneOutlineWithConcaveCornersAndCornerOnlyContactIsRefused) {
  LEVEL_LAYOUT l;
  l.rooms = {{0, 0, 400, 400}, {400, 100, 800, 300}};
  auto loops = datagen::LayoutOutlines(l);
  ASSERT_EQ(loops.size(), 1u);
  EXPECT_EQ(loops[0].size(), 8u);
  // A concave corner of the walkable area moves out of it by the margin.
  const auto grown = datagen::GrowIntoWalkable(loops, 60.0f);
  bool found = false;
  for (const D3DXVECTOR3& v : grown[0]) found = found || (v.x == 340.0f && v.y == 160.0f);
  EXPECT_TRUE(found);
  l.rooms = {{0, 0, 400, 400}, {400, 400, 800, 800}};
  EXPECT_TRUE(datagen::LayoutOutlines(l).empty());
}

class DemoLevelFiles : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    m_OldData = Nembra::g_DataDirectory;
    Nembra::g_DataDirectory = std::string(KARVESSA_DEMO_DATA_DIR) + "/";
    if (!platform::FileExists(Nembra::g_DataDirectory + GetParam() + "_Col0.dat"))
      GTEST_SKIP() << "no generated demo data in " << KARVESSA_DEMO_DATA_DIR;
  }
  void TearDown() override { Nembra::g_DataDirectory = m_OldData; }
  // The level's three wall files: tight, characters', the player's own.
  bool LoadWalls(CCollisionRegistry& level) const {
    return level.LoadCollision(GetParam() + "_Col0.dat", COL_TIGHT) &&
           level.LoadCollision(GetParam() + "_Col1.dat", COL_CHARACTER) &&
           level.LoadCollision(GetParam() + "_Col2.dat", COL_PLAYER);
  }
  static std::vector<uint8_t> Read(const std::string& name) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(platform::ReadWholeFile(std::string(KARVESSA_DEMO_DATA_DIR) + "/" + name, bytes)) << name;
    return bytes;
  }
  std::string m_OldData;
};

TEST_P(DemoLevelFiles, CharacterWallsAreTheTightWallsGrownBySixty) {
  COLLISION_FILE tight, grown;
  ASSERT_TRUE(ParseCollisionFile(Read(GetParam() + "_Col0.dat"), tight));
  ASSERT_TRUE(ParseCollisionFile(Read(GetParam() + "_Col1.dat"), grown));
  ASSERT_GE(tight.shapes.size(), 2u);  // the outer walls and at least one pillar
  ASSERT_EQ(grown.shapes.size(), tight.shapes.size());
  for (size_t s = 0; s < tight.shapes.size(); ++s) {
    const auto& a = tight.shapes[s].vertices;
    const auto& b = grown.shapes[s].vertices;
    ASSERT_EQ(a.size(), b.size());
    ASSERT_GE(a.size(), 5u);
    EXPECT_EQ(a.front().x, a.back().x);  // closed
    EXPECT_EQ(a.front().y, a.back().y);
    for (size_t k = 0; k < a.size(); ++k) {
      EXPECT_EQ(std::fabs(b[k].x - a[k].x), 60.0f);
      EXPECT_EQ(std::fabs(b[k].y - a[k].y), 60.0f);
      EXPECT_EQ(a[k].z, 0.0f);
    }
  }
  COLLISION_FILE playerOnly;
  ASSERT_TRUE(ParseCollisionFile(Read(GetParam() + "_Col2.dat"), playerOnly));
  EXPECT_FALSE(playerOnly.shapes.empty());
  ITEMS_FILE items;
  EXPECT_TRUE(ParseItemsFile(Read(GetParam() + "_Items.dat"), items));
}

TEST_P(DemoLevelFiles, WalkingOutOfTheStartMeetsTheCharacterWallsSixtyUnitsBeforeTheTightOnes) {
  CCollisionRegistry level;
  ASSERT_TRUE(LoadWalls(level));
  const LEVEL_LAYOUT* layout = datagen::FindLevelLayout(GetParam());
  ASSERT_NE(layout, nullptr);
  const D3DXVECTOR3 s = layout->playerStart;
  const float from[3] = {s.x, s.y, 0};
  for (const D3DXVECTOR3 dir : {D3DXVECTOR3(1, 0, 0), D3DXVECTOR3(0, 1, 0), D3DXVECTOR3(-1, 0, 0),
                                D3DXVECTOR3(0, -1, 0)}) {
    const float to[3] = {s.x + dir.x * 20000, s.y + dir.y * 20000, 0};
    float hit[3], tightDistance, characterDistance, normal[3];
    ASSERT_TRUE(level.CheckCollision(from, to, 40, hit, tightDistance, normal, COL_TIGHT, true));
    ASSERT_TRUE(level.CheckCollision(from, to, 40, hit, characterDistance, normal, COL_CHARACTER, true));
    EXPECT_NEAR(tightDistance - characterDistance, 60.0f, 1e-3f);
    // The wall met is across the path: its normal lies along the path's line.
    EXPECT_FLOAT_EQ(std::fabs(normal[0] * dir.x + normal[1] * dir.y), 1.0f);
    EXPECT_GT(characterDistance, 0.0f);
  }
}

TEST_P(DemoLevelFiles, PlayerOnlyWallsBlockThePlayersClassAlone) {
  CCollisionRegistry level;
  ASSERT_TRUE(LoadWalls(level));
  const LEVEL_LAYOUT* layout = datagen::FindLevelLayout(GetParam());
  for (const auto& wall : layout->playerOnlyWalls) {
    // Straight across the middle of the wall.
    const D3DXVECTOR3 mid = (wall.front() + wall.back()) * 0.5f;
    const D3DXVECTOR3 along = wall.back() - wall.front();
    const D3DXVECTOR3 across = D3DXVECTOR3(-along.y, along.x, 0) * (100.0f / D3DXVec3Length(&along));
    const float from[3] = {mid.x - across.x, mid.y - across.y, 0}, to[3] = {mid.x + across.x, mid.y + across.y, 0};
    float hit[3], distance, normal[3];
    EXPECT_TRUE(level.CheckCollision(from, to, 40, hit, distance, normal, COL_PLAYER, false));
    EXPECT_FLOAT_EQ(distance, 100.0f);
    EXPECT_FALSE(level.CheckCollision(from, to, 40, hit, distance, normal, COL_CHARACTER, true));
    EXPECT_FALSE(level.CheckCollision(from, to, 40, hit, distance, normal, COL_TIGHT, true));
  }
}

// A disc of that radius around (x, y) on the walkable floor: its centre and
// 32 points of its rim inside a room and outside every pillar.
bool DiscOnFloor(const LEVEL_LAYOUT& layout, float x, float y, float radius) {
  const auto inside = [](const datagen::LAYOUT_BOX& b, float px, float py) {
    return px >= b.minX && px <= b.maxX && py >= b.minY && py <= b.maxY;
  };
  for (int k = -1; k < 32; ++k) {
    const float angle = float(k) * 6.2831853f / 32.0f;
    const float px = k < 0 ? x : x + radius * std::cos(angle), py = k < 0 ? y : y + radius * std::sin(angle);
    bool onFloor = false;
    for (const datagen::LAYOUT_BOX& room : layout.rooms) onFloor = onFloor || inside(room, px, py);
    for (const datagen::LAYOUT_BOX& pillar : layout.pillars) onFloor = onFloor && !inside(pillar, px, py);
    if (!onFloor) return false;
  }
  return true;
}

// The route walks straight legs 80 units clear of walls and pillars (shots,
// fights and waits in place; after the planned death from the start again),
// past no box, and ends at the goal; every trigger stands on the floor.
TEST_P(DemoLevelFiles, TheRouteKeepsEightyUnitsClearOfWallsPillarsAndBoxes) {
  using Step = datagen::DEMO_ROUTE_STEP;
  const LEVEL_LAYOUT& layout = *datagen::FindLevelLayout(GetParam());
  const datagen::DEMO_LEVEL_CONTENT content = datagen::DemoLevelContent(layout);
  ASSERT_FALSE(content.route.empty());
  EXPECT_EQ(content.route.back().kind, Step::FINISH);
  D3DXVECTOR3 at = layout.playerStart;
  int legs = 0;
  for (const Step& step : content.route) {
    if (step.kind == Step::SHOOT || step.kind == Step::FIGHT || step.kind == Step::WAIT) continue;
    const D3DXVECTOR3 leg = D3DXVECTOR3(step.x, step.y, 0.0f) - at;
    const int samples = std::max(1, int(D3DXVec3Length(&leg) / 10.0f));
    for (int i = 0; i <= samples; ++i) {
      const D3DXVECTOR3 p = at + leg * (float(i) / float(samples));
      ASSERT_TRUE(DiscOnFloor(layout, p.x, p.y, 80.0f)) << step.note << " at " << p.x << ", " << p.y;
      for (const BOX_RECORD& box : content.items.boxes) {
        const D3DXVECTOR3 d = p - box.pair.position;
        EXPECT_GT(std::hypot(d.x, d.y), CBox::RADIUS + CPlayer::RADIUS) << step.note;
      }
    }
    at = step.kind == Step::HAZARD ? layout.playerStart : D3DXVECTOR3(step.x, step.y, 0.0f);
    ++legs;
  }
  EXPECT_GE(legs, 5);
  for (const formats::TriggerFileRecord& t : content.triggers) EXPECT_TRUE(DiscOnFloor(layout, t.x, t.y, 0.0f)) << t.name;
}

// The generated files are the level's contents as the shared writers write them.
TEST_P(DemoLevelFiles, TheFilesAreTheContentsAsTheWritersWriteThem) {
  const datagen::DEMO_LEVEL_CONTENT c = datagen::DemoLevelContent(GetParam());
  EXPECT_EQ(Read(GetParam() + "_Items.dat"), formats::ItemsFileBytes(c.items));
  EXPECT_EQ(Read(GetParam() + "_Triggers.dat"), formats::TriggerFileBytes(c.triggers));
  if (!c.generators.generators.empty()) {
    EXPECT_EQ(Read(GetParam() + "_Generators.dat"), formats::EnemyGeneratorFileBytes(c.generators));
  }
  for (const auto& script : c.scripts) {
    const std::vector<uint8_t> bytes = Read("Scripts/" + script.first);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), script.second) << script.first;
  }
}

INSTANTIATE_TEST_SUITE_P(Levels, DemoLevelFiles, ::testing::Values("LevelTutorial", "Level4", "Level8"));

}  // namespace
