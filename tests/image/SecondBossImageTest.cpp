// The second boss in its hall, once red and once turned blue, each with
// its health bar, drawn on the real GL device (needs a display; skips
// without).
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/scene/SceneManager.h"
#include "game/enemies/bosses/Boss1.h"
#include "scenario/WorldScenario.h"

namespace {

int R(uint32_t c) { return (c >> 16) & 0xFF; }
int G(uint32_t c) { return (c >> 8) & 0xFF; }
int B(uint32_t c) { return c & 0xFF; }

// Pixels in a rectangle clearly red (or clearly blue).
int CountColour(const scenario::WorldScenario& w, int x0, int y0, int x1, int y1, bool red) {
  int n = 0;
  for (int y = std::max(0, y0); y < std::min(600, y1); ++y)
    for (int x = std::max(0, x0); x < std::min(800, x1); ++x) {
      const uint32_t c = const_cast<scenario::WorldScenario&>(w).Screen().PixelAt(x, y);
      const int strength = red ? R(c) - std::max(G(c), B(c)) : B(c) - std::max(R(c), G(c));
      n += strength > 40 ? 1 : 0;
    }
  return n;
}

TEST(SecondBossImage, RedAndTurnedBlueInItsHall) {
  scenario::WorldScenario::Options options;
  options.gl = true;
  options.loadPlayer = false;  // the hall's script loads it
  scenario::WorldScenario w(options);
  if (!w.Ready()) GTEST_SKIP() << w.Problem();
  Nembra::g_pGraphicsDevice->SetClearColor(0.1f, 0.1f, 0.12f, 1.0f);
  CLevel& level = w.Level();
  ASSERT_TRUE(level.Prepare("Level12.lua"));
  ASSERT_TRUE(level.Start());
  ASSERT_EQ(level.GetEnemies().size(), 1u);
  CBoss1& red = dynamic_cast<CBoss1&>(*level.GetEnemies().front());
  // A second boss beside the first, turned blue by a colour-blind hit.
  CBoss1* blue = new CBoss1();
  blue->SetPosition(-851.0f, 6680.0f, 0.0f);
  level.GetEnemies().push_back(blue);
  blue->AddToScene(nullptr);
  blue->UpdateWorldMatrix();
  blue->Damage(400);
  ASSERT_EQ(blue->GetColour(), 1u);
  red.Damage(0);  // a turn and a turn back: red again, full bar
  red.Damage(0);
  ASSERT_EQ(red.GetColour(), 0u);
  // Both face the door; the player stays where the level put it, inactive.
  red.SetRotationZ(-1.5707963f);
  blue->SetRotationZ(-1.5707963f);
  w.Stand();
  w.Player().Deactivate();
  w.Camera().SetPosition(-451.0f, 4700.0f, 900.0f);
  w.Camera().GetTarget().SetPosition(-451.0f, 6680.0f, 380.0f);
  w.Camera().SetNearFar(10.0f, 20000.0f);
  w.Run(3);

  std::vector<D3DXVECTOR3> bars;
  const bool captured = w.Screen().CaptureFrame("second_boss_red_and_blue", [&] {
    w.Level().Update();
    Nembra::g_pSceneManager->Update();
    Nembra::g_pSceneManager->Render();
    if (Nembra::g_pGraphicsDevice->BeginSprite(platform::D3DXSPRITE_ALPHABLEND)) {
      for (CEnemy* e : {static_cast<CEnemy*>(&red), static_cast<CEnemy*>(blue)}) {
        e->DrawHealthBar();
        bars.push_back(e->GetHealthFrame().GetPosition());
      }
      Nembra::g_pGraphicsDevice->EndSprite();
    }
  });
  ASSERT_TRUE(captured);
  ASSERT_EQ(bars.size(), 2u);
  const D3DXVECTOR3 redBar = bars[0], blueBar = bars[1];
  ASSERT_GT(redBar.x, blueBar.x) << "the red one stands on the right";
  for (const D3DXVECTOR3& at : bars) {
    ASSERT_GT(at.x, 60.0f);
    ASSERT_LT(at.x, 740.0f);
    ASSERT_GT(at.y, 60.0f);
    ASSERT_LT(at.y, 540.0f);
  }
  // The bars' fill: red across the red boss's, blue on the left part of the
  // blue boss's (400 of 1550 gone).
  const uint32_t redFill = w.Screen().PixelAt(int(redBar.x), int(redBar.y));
  EXPECT_GT(R(redFill) - std::max(G(redFill), B(redFill)), 60);
  const uint32_t blueFill = w.Screen().PixelAt(int(blueBar.x) - 8, int(blueBar.y));
  EXPECT_GT(B(blueFill) - std::max(R(blueFill), G(blueFill)), 60);
  // The bodies around and below the bars: each boss in its own colour.
  const auto body = [&](const D3DXVECTOR3& at, bool wantRed) {
    return CountColour(w, int(at.x) - 90, int(at.y) + 10, int(at.x) + 90, int(at.y) + 150, wantRed);
  };
  EXPECT_GT(body(redBar, true), 800);
  EXPECT_LT(body(redBar, false), body(redBar, true) / 10);
  EXPECT_GT(body(blueBar, false), 800);
  EXPECT_LT(body(blueBar, true), body(blueBar, false) / 10);
  // The faces' pale eyes lie below the bars, none under a bar.
  const auto eyes = [&](int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) {
        const uint32_t c = w.Screen().PixelAt(x, y);
        n += R(c) > 200 && G(c) > 200 && B(c) < 170;
      }
    return n;
  };
  for (const D3DXVECTOR3& at : bars) {
    EXPECT_EQ(eyes(int(at.x) - 40, int(at.y) - 16, int(at.x) + 40, int(at.y) + 16), 0);
    EXPECT_GT(eyes(int(at.x) - 60, int(at.y) + 16, int(at.x) + 60, int(at.y) + 140), 20);
  }
}

}  // namespace
