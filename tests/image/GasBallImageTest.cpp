// The horn-and-spit enemy's gas ball falling onto the puddle an earlier
// ball left, on the GL device.
#include "engine/app/Engine.h"
#include "game/effects/GasSplash.h"
#include "game/enemies/EnemyHornSpit.h"
#include "image/WorldPicture.h"
#include "image/PictureProbe.h"

namespace {

using namespace imagetest;
using scenario::BestNear;

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
