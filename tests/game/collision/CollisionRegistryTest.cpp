// The level's collision registry: the query's outputs and ties, object
// shapes coming and going, classes out of range, and collision files and a
// wire grate's shape file loaded from the data folder.
#include <gtest/gtest.h>

#include <string>

#include "engine/app/Engine.h"
#include "fuzz/LevelFileSamples.h"
#include "game/collision/CollisionRegistry.h"
#include "game/collision/CollisionShapeFile.h"
#include "platform/Log.h"
#include "support/TempDir.h"
#include "tools/formats/LevelFiles.h"

namespace {

SHAPE_RECORD Wall(float x0, float y0, float x1, float y1) { return SHAPE_RECORD{{{x0, y0, 0}, {x1, y1, 0}}}; }

struct Query {
  bool hit = false;
  float point[3] = {-1, -1, -1};
  float distance = -1;
  float normal[3] = {-1, -1, -1};
};

Query Check(const CCollisionRegistry& r, D3DXVECTOR3 from, D3DXVECTOR3 to, int cls, bool objects) {
  Query q;
  const float f[3] = {from.x, from.y, from.z}, t[3] = {to.x, to.y, to.z};
  q.hit = r.CheckCollision(f, t, 40.0f, q.point, q.distance, q.normal, cls, objects);
  return q;
}

TEST(CollisionRegistry, EmptyClassMissesWithTheLargestDistanceAndOutputsUntouched) {
  CCollisionRegistry r;
  for (int cls = 0; cls < 3; ++cls) {
    const Query q = Check(r, {0, 0, 0}, {100, 0, 0}, cls, true);
    EXPECT_FALSE(q.hit);
    EXPECT_EQ(q.distance, 3.4028235e38f);
    EXPECT_EQ(q.point[0], -1.0f);
    EXPECT_EQ(q.normal[1], -1.0f);
  }
}

TEST(CollisionRegistry, NearestShapeOfTheClassWinsAndTiesGoToTheFirstStaticsBeforeObjects) {
  CCollisionRegistry r;
  COLLISION_FILE walls;
  walls.shapes = {Wall(50, -10, 50, 10), Wall(30, -10, 30, 10), Wall(30, 10, 30, -10)};
  ASSERT_TRUE(r.AddStaticShapes(walls, COL_TIGHT));
  Query q = Check(r, {0, 0, 0}, {100, 0, 0}, COL_TIGHT, false);
  ASSERT_TRUE(q.hit);
  EXPECT_FLOAT_EQ(q.point[0], 30.0f);
  EXPECT_FLOAT_EQ(q.distance, 30.0f);
  // The two walls at x = 30 run opposite ways: the first one loaded is reported.
  EXPECT_FLOAT_EQ(q.normal[0], -1.0f);
  // Other classes do not see class 0's walls.
  EXPECT_FALSE(Check(r, {0, 0, 0}, {100, 0, 0}, COL_CHARACTER, true).hit);

  // An object shape at the same distance as the static wall loses to it...
  CCollisionShape door(Wall(30, 10, 30, -10));
  r.AddCollisionShape(&door, COL_TIGHT);
  q = Check(r, {0, 0, 0}, {100, 0, 0}, COL_TIGHT, true);
  EXPECT_FLOAT_EQ(q.normal[0], -1.0f);
  // ...and a nearer one wins, but only when object shapes are asked for.
  CCollisionShape nearer(Wall(20, 10, 20, -10));
  r.AddCollisionShape(&nearer, COL_TIGHT);
  EXPECT_FLOAT_EQ(Check(r, {0, 0, 0}, {100, 0, 0}, COL_TIGHT, true).distance, 20.0f);
  EXPECT_FLOAT_EQ(Check(r, {0, 0, 0}, {100, 0, 0}, COL_TIGHT, false).distance, 30.0f);
  // Two object shapes at one distance: the first registered.
  CCollisionRegistry objects;
  objects.AddCollisionShape(&door, COL_PLAYER);
  objects.AddCollisionShape(&nearer, COL_PLAYER);
  CCollisionShape sameAsDoor(Wall(30, -10, 30, 10));
  objects.AddCollisionShape(&sameAsDoor, COL_PLAYER);
  objects.RemoveCollisionShape(&nearer, COL_PLAYER);
  q = Check(objects, {0, 0, 0}, {100, 0, 0}, COL_PLAYER, true);
  EXPECT_FLOAT_EQ(q.distance, 30.0f);
  EXPECT_FLOAT_EQ(q.normal[0], 1.0f);  // door: direction (0, -20) turned counter-clockwise
}

TEST(CollisionRegistry, ShapeRegisteredTwiceIsRemovedOncePerCallAndAWithdrawnBoxStopsBlocking) {
  CCollisionRegistry r;
  CCollisionShape box;
  box.BuildBox(D3DXVECTOR3(100, 0, 0), 40, 40, 0);
  r.AddCollisionShape(&box, COL_CHARACTER);
  r.AddCollisionShape(&box, COL_CHARACTER);
  EXPECT_EQ(r.GetObjectShapes(COL_CHARACTER).size(), 2u);
  EXPECT_TRUE(Check(r, {0, 0, 0}, {200, 0, 0}, COL_CHARACTER, true).hit);
  r.RemoveCollisionShape(&box, COL_CHARACTER);
  EXPECT_EQ(r.GetObjectShapes(COL_CHARACTER).size(), 1u);
  EXPECT_TRUE(Check(r, {0, 0, 0}, {200, 0, 0}, COL_CHARACTER, true).hit);
  r.RemoveCollisionShape(&box, COL_CHARACTER);
  EXPECT_FALSE(Check(r, {0, 0, 0}, {200, 0, 0}, COL_CHARACTER, true).hit);
  // Removing what is not there changes nothing.
  r.RemoveCollisionShape(&box, COL_CHARACTER);
  EXPECT_TRUE(r.GetObjectShapes(COL_CHARACTER).empty());
}

TEST(CollisionRegistry, ClassesOutsideZeroToTwoAreIgnored) {
  CCollisionRegistry r;
  CCollisionShape box;
  box.BuildBox(D3DXVECTOR3(100, 0, 0), 40, 40, 0);
  COLLISION_FILE walls;
  walls.shapes = {Wall(50, -10, 50, 10)};
  for (int cls : {-1, 3}) {
    r.AddCollisionShape(&box, cls);
    EXPECT_FALSE(r.AddStaticShapes(walls, cls));
    EXPECT_FALSE(r.LoadCollision("Anything.dat", cls));
    const Query q = Check(r, {0, 0, 0}, {200, 0, 0}, cls, true);
    EXPECT_FALSE(q.hit);
    EXPECT_EQ(q.distance, 3.4028235e38f);
    EXPECT_TRUE(r.GetObjectShapes(cls).empty());
    EXPECT_TRUE(r.GetStaticShapes(cls).empty());
    r.RemoveCollisionShape(&box, cls);
  }
  for (int cls = 0; cls < 3; ++cls) {
    EXPECT_TRUE(r.GetObjectShapes(cls).empty());
    EXPECT_TRUE(r.GetStaticShapes(cls).empty());
  }
}

// The data folder in a temporary folder, with the log's lines collected.
class CollisionFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    m_OldData = Nembra::g_DataDirectory;
    Nembra::g_DataDirectory = m_Dir.Path() + "/";
    platform::SetLogHook([this](platform::LogLevel, const std::string& line) { m_Log += line + "\n"; });
  }
  void TearDown() override {
    platform::SetLogHook(nullptr);
    Nembra::g_DataDirectory = m_OldData;
  }
  testsupport::TempDir m_Dir;
  std::string m_OldData, m_Log;
};

TEST_F(CollisionFiles, LoadingAppendsCopiesInFileOrderToTheGivenClass) {
  COLLISION_FILE file;
  file.shapes = {Wall(50, -10, 50, 10), Wall(80, -10, 80, 10)};
  m_Dir.Write("Walls.dat", formats::CollisionFileBytes(file));
  CCollisionRegistry r;
  ASSERT_TRUE(r.LoadCollision("Walls.dat", COL_PLAYER));
  ASSERT_TRUE(r.LoadCollision("Walls.dat", COL_PLAYER));
  const auto& shapes = r.GetStaticShapes(COL_PLAYER);
  ASSERT_EQ(shapes.size(), 4u);
  EXPECT_EQ(shapes.front().GetVertices()[0].x, 50.0f);
  EXPECT_EQ(std::next(shapes.begin())->GetVertices()[0].x, 80.0f);
  EXPECT_EQ(shapes.front().GetEdges().size(), 1u);
  EXPECT_TRUE(r.GetStaticShapes(COL_TIGHT).empty());
  EXPECT_FLOAT_EQ(Check(r, {0, 0, 0}, {100, 0, 0}, COL_PLAYER, false).distance, 50.0f);
  r.Clear();
  EXPECT_TRUE(r.GetStaticShapes(COL_PLAYER).empty());
}

TEST_F(CollisionFiles, MissingOrDamagedFilesAddNothing) {
  CCollisionRegistry r;
  EXPECT_FALSE(r.LoadCollision("Missing.dat", COL_TIGHT));
  COLLISION_FILE file;
  file.shapes = {Wall(50, -10, 50, 10), Wall(80, -10, 80, 10)};
  std::vector<uint8_t> bytes = formats::CollisionFileBytes(file);
  bytes.pop_back();  // the last shape is cut short
  m_Dir.Write("Short.dat", bytes);
  EXPECT_FALSE(r.LoadCollision("Short.dat", COL_TIGHT));
  EXPECT_TRUE(r.GetStaticShapes(COL_TIGHT).empty());
}

TEST_F(CollisionFiles, BothGrateShapesAreTurnedThenMovedOntoTheGrate) {
  WIRE_GRATE_SHAPE_FILE file;
  file.shapes[0] = SHAPE_RECORD{{{10, 0, 0}, {10, 5, 0}}};
  file.shapes[1] = SHAPE_RECORD{{{-10, 0, 0}, {-10, 5, 0}, {-20, 5, 0}}};
  m_Dir.Write("GrateA.dat", formats::WireGrateShapeFileBytes(file));
  CCollisionShape a, b;
  ASSERT_TRUE(LoadWireGrateShapes("GrateA.dat", D3DXVECTOR3(100, 0, 0), D3DX_PI / 2, a, b));
  ASSERT_EQ(a.GetVertices().size(), 2u);
  EXPECT_NEAR(a.GetVertices()[0].x, 100.0f, 1e-4f);
  EXPECT_NEAR(a.GetVertices()[0].y, 10.0f, 1e-4f);
  EXPECT_NEAR(a.GetVertices()[1].x, 95.0f, 1e-4f);
  EXPECT_EQ(a.GetBoundsCentre().x, 100.0f);
  ASSERT_EQ(b.GetEdges().size(), 2u);
  EXPECT_NEAR(b.GetVertices()[0].y, -10.0f, 1e-4f);
  EXPECT_TRUE(m_Log.empty());
}

TEST_F(CollisionFiles, MissingOrShortGrateShapeFilesLeaveEmptyShapesAndALogLine) {
  std::vector<uint8_t> bytes = formats::WireGrateShapeFileBytes(levelsamples::TestGrateShapes());
  bytes.resize(bytes.size() - 4);
  m_Dir.Write("Short.dat", bytes);
  for (const char* name : {"Missing.dat", "Short.dat"}) {
    CCollisionShape a, b;
    a.BuildBox(D3DXVECTOR3(0, 0, 0), 50, 50, 0);
    EXPECT_FALSE(LoadWireGrateShapes(name, D3DXVECTOR3(0, 0, 0), 0, a, b)) << name;
    EXPECT_TRUE(a.GetVertices().empty() && a.GetEdges().empty() && b.GetEdges().empty()) << name;
    const float from[3] = {-100, 0, 0}, to[3] = {100, 0, 0};
    float hit[3], distance, normal[3];
    EXPECT_FALSE(a.IntersectSphere(from, to, 10, hit, distance, normal));  // nothing crosses the old box
    EXPECT_NE(m_Log.find(name), std::string::npos);
  }
}

}  // namespace
