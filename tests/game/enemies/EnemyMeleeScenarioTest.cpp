// The melee walker and the stalker: strike ranges, hand blows, walls, the
// stalker's hiding and chasing, and speeds.

#include "game/enemies/EnemyKinds.h"
#include "game/enemies/EnemyScenarioSupport.h"

namespace {

using MeleeEnemies = enemytest::Scene;

bool IsStrike(const std::string& name) { return name == "Ene1Golpe1" || name == "Ene1Golpe2"; }

TEST_F(MeleeEnemies, AWalkerStrikesAtExactly180AndAStalkerOnlyCloser) {
  w.PlacePlayer({0, 0, 0});
  CEnemy1& walker = Add<CEnemy1>({180, 0, 0}, 0, {-1, 0, 0});
  CEnemy7& stalker = Add<CEnemy7>({0, 180, 0}, 0, {0, -1, 0});
  CEnemy7& closer = Add<CEnemy7>({0, -179.9f, 0}, 0, {0, 1, 0});
  stalker.StartChase();
  closer.StartChase();
  w.Frame();
  EXPECT_TRUE(walker.IsAttacking());
  EXPECT_FALSE(walker.IsMoving());
  EXPECT_TRUE(IsStrike(walker.GetAnimationName())) << walker.GetAnimationName();
  EXPECT_EQ(stalker.GetState(), CEnemy7::CHASING);
  EXPECT_EQ(closer.GetState(), CEnemy7::ATTACKING);
  EXPECT_TRUE(IsStrike(closer.GetAnimationName()));
}

TEST_F(MeleeEnemies, AWalkerStandsIdleOutOfRangeOrWithADeadPlayer) {
  w.PlacePlayer({0, 0, 0});
  CEnemy1& far = Add<CEnemy1>({1501, 0, 0});
  CEnemy1& near = Add<CEnemy1>({0, 600, 0});
  w.Frame();
  EXPECT_EQ(far.GetAnimationName(), "Ene1Reposo");
  EXPECT_FALSE(far.IsMoving());
  EXPECT_EQ(near.GetAnimationName(), "Ene1CaminarAdelante");
  EXPECT_TRUE(near.IsMoving());
  w.Player().Deactivate();
  w.Frame();
  EXPECT_EQ(near.GetAnimationName(), "Ene1Reposo");
  EXPECT_FALSE(near.IsMoving());
}

TEST_F(MeleeEnemies, BothHandsInThePlayerCost40ASecondOr60ForTheStalker) {
  CEnemy* striking = nullptr;
  for (const float loss : {40.0f, 60.0f}) {
    w.Player().Respawn();
    w.PlacePlayer({0, 0, 0});
    if (striking) {
      Remove(striking);
      Add<CEnemy7>({150, 0, 0}, 0, {-1, 0, 0}).StartChase();
    } else {
      striking = &Add<CEnemy1>({150, 0, 0}, 0, {-1, 0, 0});
    }
    w.Run(5);  // into the strike, hands posed
    const uint32_t before = w.Player().GetHealth();
    w.Run(50);
    EXPECT_NEAR(static_cast<float>(before - w.Player().GetHealth()), loss, 1.0f);
  }
}

TEST_F(MeleeEnemies, AWallAheadStopsAndReversesAWalker) {
  w.PlacePlayer({0, 0, 0});
  w.AddWall(1, {{-300, -2000, 0}, {-300, 2000, 0}});
  CEnemy1& walker = Add<CEnemy1>({-600, 0, 0});
  bool reversed = false;
  for (int i = 0; i < 100 && !reversed; ++i) {
    const D3DXVECTOR3 before = walker.GetDirection();
    const D3DXVECTOR3 at = walker.GetPosition();
    w.Frame();
    if (!walker.IsMoving()) {
      reversed = true;
      EXPECT_NEAR(D3DXVec3Dot(&before, &walker.GetDirection()), -1.0f, 1e-4f);
      EXPECT_EQ(walker.GetPosition(), at);
    }
    ASSERT_LT(walker.GetPosition().x, -300.0f) << "through the wall in frame " << i;
  }
  ASSERT_TRUE(reversed);
  EXPECT_EQ(walker.GetAnimationName(), "Ene1Reposo");
  // The headings were forgotten: the window holds zeros only.
  for (const D3DXVECTOR3& h : walker.GetHeadingBuffer()) {
    EXPECT_EQ(h, D3DXVECTOR3(0, 0, 0));
  }
  // The next frame's decision walks it at the player again.
  w.Frame();
  EXPECT_EQ(walker.GetAnimationName(), "Ene1CaminarAdelante");
}

TEST_F(MeleeEnemies, AStalkerComesOutAfter2SecondsWithin700AndHidesAfter5) {
  w.PlacePlayer({0, 0, 0});
  // A wall keeps the chase from reaching the player.
  w.AddWall(1, {{-300, -2000, 0}, {-300, 2000, 0}});
  CEnemy7& stalker = Add<CEnemy7>({-650, 0, 0});
  const int frame = FramesUntil([&] { return stalker.GetState() != CEnemy7::HIDDEN; }, 200);
  EXPECT_NEAR(frame, 101, 1);
  EXPECT_TRUE(stalker.GetFade().IsFadingIn());
  const int chased = FramesUntil([&] { return stalker.GetState() != CEnemy7::CHASING; }, 400);
  EXPECT_EQ(stalker.GetState(), CEnemy7::HIDDEN);
  EXPECT_NEAR(chased, 251, 1);
  EXPECT_FALSE(stalker.GetFade().IsFadingIn());
  // The fade never reaches its fixed ends: it keeps between 50 and 200.
  w.Run(100);
  EXPECT_GE(stalker.GetFade().GetAlpha(), 50);
  EXPECT_LE(stalker.GetFade().GetAlpha(), 200);
  EXPECT_TRUE(stalker.IsFading());
}

TEST_F(MeleeEnemies, AStalkerWalkingIntoHidingStopsAtAWallWithinHalfASecondAhead) {
  w.PlacePlayer({0, 0, 0});
  w.AddWall(1, {{-400, -200, 0}, {-400, 200, 0}});  // 250 ahead: inside 650 x 0.5
  CEnemy7& walled = Add<CEnemy7>({-650, 0, 0});
  CEnemy7& open = Add<CEnemy7>({-650, 1000, 0});
  for (CEnemy7* s : {&walled, &open}) {
    s->StartChase();
    s->Hide();  // still walking while it fades out
  }
  const D3DXVECTOR3 at = walled.GetPosition();
  w.Frame();
  EXPECT_EQ(walled.GetState(), CEnemy7::HIDDEN);
  EXPECT_TRUE(walled.IsFading());
  EXPECT_FALSE(walled.IsMoving());
  EXPECT_EQ(walled.GetAnimationName(), "Ene1Reposo");
  EXPECT_EQ(walled.GetPosition(), at);
  EXPECT_TRUE(open.IsMoving());
}

TEST_F(MeleeEnemies, AStalkerHidesAtOnceWhenThePlayerIs3000AwayOrAfterALongFight) {
  w.PlacePlayer({0, 0, 0});
  CEnemy7& stalker = Add<CEnemy7>({150, 0, 0}, 0, {-1, 0, 0});
  stalker.StartChase();
  w.Run(300);  // six seconds of fighting
  EXPECT_EQ(stalker.GetState(), CEnemy7::ATTACKING);
  EXPECT_GT(stalker.GetTimer(), 5.9f);
  w.PlacePlayer({-1000, 0, 0});
  // The strike plays out, the chase starts and at once ends in hiding.
  EXPECT_TRUE(w.RunUntil([&] { return stalker.GetState() != CEnemy7::ATTACKING; }, 80));
  w.Frame();
  EXPECT_EQ(stalker.GetState(), CEnemy7::HIDDEN);

  CEnemy7& second = Add<CEnemy7>({-1000, 600, 0});
  second.StartChase();
  w.Frame();
  EXPECT_EQ(second.GetState(), CEnemy7::CHASING);
  // The level drops an enemy that far; its own step alone sees the player go.
  w.PlacePlayer({-1000, 3600, 0});
  second.Step();
  EXPECT_EQ(second.GetState(), CEnemy7::HIDDEN);
}

TEST_F(MeleeEnemies, ANewWalkerSpeedReachesOnlyLaterWalkers) {
  CEnemy1& before = Add<CEnemy1>({5000, 0, 0});
  g_Enemy1Speed = 900.0f;
  CEnemy1& after = Add<CEnemy1>({5000, 500, 0});
  EXPECT_FLOAT_EQ(before.GetSpeed(), 580.0f);
  EXPECT_FLOAT_EQ(after.GetSpeed(), 900.0f);
  EXPECT_FLOAT_EQ(Add<CEnemy7>({5000, 900, 0}).GetSpeed(), 650.0f);
}

}  // namespace
