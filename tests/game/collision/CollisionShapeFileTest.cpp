// A wire grate's shape file: both shapes moved onto the grate, and a missing
// or short file leaving two empty shapes that nothing crosses.
#include <gtest/gtest.h>

#include <string>

#include "engine/app/Engine.h"
#include "fuzz/LevelFileSamples.h"
#include "game/collision/CollisionShapeFile.h"
#include "platform/Log.h"
#include "support/TempDir.h"
#include "tools/formats/LevelFiles.h"

namespace {

class GrateShapes : public ::testing::Test {
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

TEST_F(GrateShapes, BothShapesAreTurnedThenMovedOntoTheGrate) {
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

TEST_F(GrateShapes, MissingOrShortFilesLeaveEmptyShapesAndALogLine) {
  CCollisionShape a, b;
  a.BuildBox(D3DXVECTOR3(0, 0, 0), 50, 50, 0);
  EXPECT_FALSE(LoadWireGrateShapes("Missing.dat", D3DXVECTOR3(0, 0, 0), 0, a, b));
  EXPECT_TRUE(a.GetVertices().empty());
  EXPECT_TRUE(a.GetEdges().empty());
  EXPECT_NE(m_Log.find("Missing.dat"), std::string::npos);
  std::vector<uint8_t> bytes = formats::WireGrateShapeFileBytes(levelsamples::TestGrateShapes());
  bytes.resize(bytes.size() - 4);
  m_Dir.Write("Short.dat", bytes);
  a.BuildBox(D3DXVECTOR3(0, 0, 0), 50, 50, 0);
  EXPECT_FALSE(LoadWireGrateShapes("Short.dat", D3DXVECTOR3(0, 0, 0), 0, a, b));
  EXPECT_TRUE(a.GetEdges().empty());
  EXPECT_TRUE(b.GetEdges().empty());
  const float from[3] = {-100, 0, 0}, to[3] = {100, 0, 0};
  float hit[3], distance, normal[3];
  EXPECT_FALSE(a.IntersectSphere(from, to, 10, hit, distance, normal));
  EXPECT_NE(m_Log.find("Short.dat"), std::string::npos);
}

}  // namespace
