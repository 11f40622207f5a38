// The enemies on the GL device: the four kinds of both colours with their
// health bars full, half and empty, and the horn-and-spit enemy's gas ball.
#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/scene/SceneManager.h"
#include "game/effects/GasSplash.h"
#include "game/enemies/EnemyHornSpit.h"
#include "game/enemies/EnemyKinds.h"
#include "image/PictureProbe.h"
#include "image/WorldPicture.h"

namespace {

using namespace imagetest;
using scenario::BestNear;

template <class Kind>
Kind& Place(scenario::WorldScenario& w, float x, float y, uint32_t colour) {
  Kind* enemy = new Kind(colour);
  enemy->SetPosition(D3DXVECTOR3(x, y, 0.0f));
  enemy->SetDirection(D3DXVECTOR3(0.0f, 1.0f, 0.0f));
  w.Level().GetEnemies().push_back(enemy);
  enemy->AddToScene(nullptr);
  enemy->UpdateWorldMatrix();
  return *enemy;
}

TEST(EnemyImage, FourKindsInBothColoursWithFullHalfAndEmptyBars) {
  scenario::WorldScenario w(imagetest::OnGl());
  if (!w.Ready()) GTEST_SKIP() << w.Problem();
  Nembra::g_pGraphicsDevice->SetClearColor(0.25f, 0.25f, 0.28f, 1.0f);
  imagetest::Sun(w.Level(), "Sun", {300.0f, 600.0f, 1500.0f});
  // The player out of the way and inactive: every enemy stands.
  w.PlacePlayer({0, -2000, 0});
  w.Player().Deactivate();
  w.Player().GetWeapon().SetPower(1);

  std::vector<CEnemy*> enemies;
  const float xs[4] = {-420.0f, -140.0f, 140.0f, 420.0f};
  for (uint32_t colour = 0; colour < 2; ++colour) {
    const float y = colour == 0 ? -300.0f : 150.0f;
    enemies.push_back(&Place<CEnemy1>(w, xs[0], y, colour));
    enemies.push_back(&Place<CEnemy3>(w, xs[1], y, colour));
    enemies.push_back(&Place<CEnemy2>(w, xs[2], y, colour));
    enemies.push_back(&Place<CEnemy8>(w, xs[3], y, colour));
  }
  // Bars: full (a hit without damage), half, empty (just killed, fading).
  for (size_t i = 0; i < enemies.size(); ++i) {
    CEnemy* e = enemies[i];
    e->SetHealth(4);
    e->Damage(i % 3 == 0 ? 0 : (i % 3 == 1 ? 2 : 4));
  }
  w.Frame();

  std::vector<D3DXVECTOR3> bars;
  const bool captured = w.Screen().CaptureFrame("enemies_and_health_bars", [&] {
    w.Player().Step();
    w.Level().Update();
    Nembra::g_pSceneManager->Update();
    Nembra::g_pSceneManager->Render();
    if (Nembra::g_pGraphicsDevice->BeginSprite(platform::D3DXSPRITE_ALPHABLEND)) {
      for (CEnemy* e : enemies) {
        e->DrawHealthBar();
        bars.push_back(e->GetHealthFrame().GetPosition());
      }
      Nembra::g_pGraphicsDevice->EndSprite();
    }
  });
  ASSERT_TRUE(captured);
  ASSERT_EQ(bars.size(), enemies.size());
  for (size_t i = 0; i < enemies.size(); ++i) {
    const D3DXVECTOR3& at = bars[i];
    ASSERT_GT(at.x, 20.0f);
    ASSERT_LT(at.x, 780.0f);
    // The fill shrinks towards the frame's centre: full shows the colour at
    // both ends, half at the centre only (the enemy may show through), empty nowhere.
    const int shift = enemies[i]->GetColour() == 0 ? 16 : 0;
    auto strength = [&](int dx) { return Lead(w.Screen().PixelAt(int(at.x) + dx, int(at.y)), shift); };
    const int kind = int(i % 3);
    if (kind == 0) {
      EXPECT_GT(strength(-15), 60) << "full bar " << i;
      EXPECT_GT(strength(15), 60) << "full bar " << i;
    } else if (kind == 1) {
      EXPECT_GT(strength(0), 60) << "half bar " << i;
      EXPECT_LT(strength(-15), strength(0) - 40) << "half bar " << i;
      EXPECT_LT(strength(15), strength(0) - 40) << "half bar " << i;
    } else {
      EXPECT_LT(strength(0), 40) << "empty bar " << i;
    }
  }
}

// How far a pixel leans from the grey floor to the gas's green and cyan.
int Green(uint32_t c) { return G(c) - R(c); }

TEST(GasBallImage, ABallFallsOntoThePuddleOfTheOneBefore) {
  scenario::WorldScenario w(imagetest::OnGl());
  if (!w.Ready()) GTEST_SKIP() << w.Problem();
  ASSERT_TRUE(imagetest::LightTheFirstArena(w));
  w.PlacePlayer({0, -3000, 0});
  w.Stand();

  // A ball thrown from 956 west of the middle lands in the middle.
  const auto throwBall = [&] {
    CEnemy6Bullet& ball = w.Level().GetEnemy6Bullets().emplace_back();
    ball.Init({-956, 0, 150}, {1, 0, 0.8f}, 0);
    ball.AddToScene(nullptr);
    return &ball;
  };
  CEnemy6Bullet* first = throwBall();
  ASSERT_TRUE(w.RunUntil([&] { return first->HasLanded(); }, 200));
  Nembra::CEnemy6BulletFloorHitEffect* puddle = nullptr;
  for (CEntity* e : w.Level().GetEffects())
    if (auto* p = dynamic_cast<Nembra::CEnemy6BulletFloorHitEffect*>(e)) puddle = p;
  ASSERT_NE(puddle, nullptr);
  // The second ball, most of the way down, over the spread puddle.
  CEnemy6Bullet* second = throwBall();
  ASSERT_TRUE(w.RunUntil([&] { return second->GetPosition().x > -250.0f || second->HasLanded(); }, 200));
  ASSERT_FALSE(second->HasLanded());
  ASSERT_TRUE(w.Capture("gas_ball_over_puddle"));

  const D3DXVECTOR3 ballAt = Project(w.Camera(), second->GetPosition());
  const D3DXVECTOR3 puddleAt = Project(w.Camera(), puddle->GetPosition());
  const D3DXVECTOR3 floorAt = Project(w.Camera(), D3DXVECTOR3(700, -500, 0));
  EXPECT_GT(BestNear(w.Screen(), ballAt, 6, Green), 40) << "the ball at " << ballAt.x << "," << ballAt.y;
  EXPECT_GT(BestNear(w.Screen(), puddleAt, 50, Green), 40) << "the puddle at " << puddleAt.x << "," << puddleAt.y;
  EXPECT_LT(BestNear(w.Screen(), floorAt, 3, Green), 20);
}

}  // namespace
