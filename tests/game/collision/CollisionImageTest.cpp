// Pictures of each demo level's collision shapes seen from above, drawn by
// the GL device from the generated files as the level loads them: the tight
// walls red, the characters' walls green, the player-only walls blue, the
// player's start a yellow dot. Kept under test-images/ and probed by pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <list>
#include <string>
#include <vector>

#include "engine/app/Engine.h"
#include "game/collision/CollisionRegistry.h"
#include "platform/Files.h"
#include "platform/Graphics.h"
#include "support/OffscreenDeviceTest.h"
#include "tools/datagen/LevelLayouts.h"

using namespace platform;

namespace {

struct ScreenVertex {
  float x, y, z, rhw;
  D3DCOLOR color;
};
constexpr DWORD kScreenFVF = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;
const D3DCOLOR kClassColour[COLLISION_CLASS_COUNT] = {0xFFFF3030u, 0xFF30D050u, 0xFF4080FFu};
constexpr D3DCOLOR kStartColour = 0xFFFFE000u;

class CollisionImage : public testsupport::OffscreenDeviceTest, public ::testing::WithParamInterface<std::string> {
 protected:
  void SetUp() override {
    m_OldData = Nembra::g_DataDirectory;
    Nembra::g_DataDirectory = std::string(KARVESSA_DEMO_DATA_DIR) + "/";
    if (!platform::FileExists(Nembra::g_DataDirectory + GetParam() + "_Col0.dat"))
      GTEST_SKIP() << "no generated demo data in " << KARVESSA_DEMO_DATA_DIR;
    OffscreenDeviceTest::SetUp();
  }
  void TearDown() override {
    OffscreenDeviceTest::TearDown();
    Nembra::g_DataDirectory = m_OldData;
  }

  // World (x, y) to the 800 x 600 picture, +y up, the level fitted inside a
  // 40-pixel border.
  void Fit(const CCollisionRegistry& level) {
    float minX = 1e30f, minY = 1e30f, maxX = -1e30f, maxY = -1e30f;
    for (int c = 0; c < COLLISION_CLASS_COUNT; ++c)
      for (const CCollisionShape& s : level.GetStaticShapes(c))
        for (const D3DXVECTOR3& v : s.GetVertices()) {
          minX = std::min(minX, v.x), maxX = std::max(maxX, v.x);
          minY = std::min(minY, v.y), maxY = std::max(maxY, v.y);
        }
    m_Scale = std::min(720.0f / (maxX - minX), 520.0f / (maxY - minY));
    m_CentreX = (minX + maxX) * 0.5f;
    m_CentreY = (minY + maxY) * 0.5f;
  }
  float ScreenX(float x) const { return 400.0f + (x - m_CentreX) * m_Scale; }
  float ScreenY(float y) const { return 300.0f - (y - m_CentreY) * m_Scale; }

  // Each edge as a quad three pixels wide.
  void DrawShapes(const std::list<CCollisionShape>& shapes, D3DCOLOR colour) {
    std::vector<ScreenVertex> v;
    for (const CCollisionShape& s : shapes)
      for (const COLLISION_EDGE& e : s.GetEdges()) {
        const float x0 = ScreenX(e.start.x), y0 = ScreenY(e.start.y);
        const float x1 = ScreenX(e.end.x), y1 = ScreenY(e.end.y);
        const float dx = x1 - x0, dy = y1 - y0, length = std::max(1e-3f, std::sqrt(dx * dx + dy * dy));
        // Half a width across the edge and along it, so corners close.
        const float ax = dx / length * 1.5f, ay = dy / length * 1.5f, nx = -ay, ny = ax;
        const ScreenVertex a{x0 - ax + nx, y0 - ay + ny, 0.5f, 1, colour},
            b{x1 + ax + nx, y1 + ay + ny, 0.5f, 1, colour}, c{x1 + ax - nx, y1 + ay - ny, 0.5f, 1, colour},
            d{x0 - ax - nx, y0 - ay - ny, 0.5f, 1, colour};
        v.insert(v.end(), {a, b, c, a, c, d});
      }
    if (v.empty()) return;
    ASSERT_EQ(m_Device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, uint32_t(v.size() / 3), v.data(), sizeof(ScreenVertex)),
              D3D_OK);
  }

  void DrawDot(float x, float y, D3DCOLOR colour) {
    const float sx = ScreenX(x), sy = ScreenY(y);
    const ScreenVertex v[6] = {{sx - 4, sy - 4, 0.5f, 1, colour}, {sx + 4, sy - 4, 0.5f, 1, colour},
                               {sx + 4, sy + 4, 0.5f, 1, colour}, {sx - 4, sy - 4, 0.5f, 1, colour},
                               {sx + 4, sy + 4, 0.5f, 1, colour}, {sx - 4, sy + 4, 0.5f, 1, colour}};
    ASSERT_EQ(m_Device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, v, sizeof(ScreenVertex)), D3D_OK);
  }

  // The picture's pixel under the middle of a shape's first edge.
  uint32_t AtEdgeMiddle(const CCollisionShape& s) const {
    const COLLISION_EDGE& e = s.GetEdges().front();
    return At(int(std::lround(ScreenX((e.start.x + e.end.x) * 0.5f))),
              int(std::lround(ScreenY((e.start.y + e.end.y) * 0.5f))));
  }

  std::string m_OldData;
  float m_Scale = 1.0f, m_CentreX = 0.0f, m_CentreY = 0.0f;
};

TEST_P(CollisionImage, ShapesOfTheThreeClassesFromAbove) {
  CCollisionRegistry level;
  for (int c = 0; c < COLLISION_CLASS_COUNT; ++c)
    ASSERT_TRUE(level.LoadCollision(GetParam() + "_Col" + std::to_string(c) + ".dat", c));
  const datagen::LEVEL_LAYOUT* layout = datagen::FindLevelLayout(GetParam());
  ASSERT_NE(layout, nullptr);
  Fit(level);
  m_Device->SetRenderState(D3DRS_LIGHTING, 0);
  m_Device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  m_Device->SetRenderState(D3DRS_ZENABLE, 0);
  m_Device->SetTexture(0, nullptr);
  m_Device->SetFVF(kScreenFVF);
  ASSERT_EQ(m_Device->BeginScene(), D3D_OK);
  for (int c : {COL_CHARACTER, COL_PLAYER, COL_TIGHT}) DrawShapes(level.GetStaticShapes(c), kClassColour[c]);
  DrawDot(layout->playerStart.x, layout->playerStart.y, kStartColour);
  ASSERT_EQ(m_Device->EndScene(), D3D_OK);
  Capture("collision_" + GetParam());

  for (int c = 0; c < COLLISION_CLASS_COUNT; ++c)
    for (const CCollisionShape& s : level.GetStaticShapes(c))
      EXPECT_TRUE(Near(AtEdgeMiddle(s), kClassColour[c], 8)) << "class " << c;
  EXPECT_TRUE(Near(At(int(ScreenX(layout->playerStart.x)), int(ScreenY(layout->playerStart.y))), kStartColour, 8));
  // Between the start and the nearest wall the floor stays black.
  EXPECT_TRUE(Near(At(int(ScreenX(layout->playerStart.x)) + 12, int(ScreenY(layout->playerStart.y))), 0xFF000000u, 8));
  // The picture's corners lie outside the level.
  EXPECT_TRUE(Near(At(5, 5), 0xFF000000u, 0));
  EXPECT_TRUE(Near(At(794, 594), 0xFF000000u, 0));
}

INSTANTIATE_TEST_SUITE_P(Levels, CollisionImage, ::testing::Values("LevelTutorial", "Level4", "Level8"));

}  // namespace
