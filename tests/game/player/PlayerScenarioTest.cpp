// The player in playing scenarios: sliding along walls, damage and healing,
// souls, enemies in the way, and the run animations.
#include <cmath>

#include "game/enemies/EnemyScenarioSupport.h"

namespace {

using PlayerScenario = enemytest::Scene;

constexpr float kStep = 550.0f * 0.02f;  // the player's step at dt 0.02

TEST_F(PlayerScenario, SlidesAlongAStraightWallAtAConstantSpeedAndStopsInACorner) {
  w.AddWall(1, {{500, -5000, 0}, {500, 5000, 0}});
  w.PlacePlayer({450, 0, 0});
  w.Walk({1, 1, 0});
  std::vector<D3DXVECTOR3> track;
  for (int i = 0; i < 40; ++i) {
    w.Frame();
    track.push_back(w.Player().GetPosition());
    ASSERT_LT(track.back().x, 500.0f) << "crossed the wall in frame " << i + 1;
  }
  // Once against the wall, it glides: x fixed, y at a constant rate.
  const float along = track[30].y - track[29].y;
  EXPECT_GT(along, 0.0f);
  EXPECT_LE(along, kStep * std::cos(3.14159265f / 4.0f) + 1e-3f);
  for (int i = 21; i < 40; ++i) {
    EXPECT_NEAR(track[i].y - track[i - 1].y, along, 1e-3f) << i;
    EXPECT_FLOAT_EQ(track[i].x, track[20].x);
  }

  // A concave corner: the second wall across the slide stops it.
  w.AddWall(1, {{-5000, 1000, 0}, {5000, 1000, 0}});
  w.Run(200);
  const D3DXVECTOR3 still = w.Player().GetPosition();
  w.Run(10);
  EXPECT_EQ(w.Player().GetPosition(), still);
  EXPECT_LT(still.x, 500.0f);
  EXPECT_LT(still.y, 1000.0f);
  EXPECT_GT(still.y, 900.0f);
}

TEST_F(PlayerScenario, APlayerWallBlocksAndAStepStartingAtAWallIsRefused) {
  w.AddWall(2, {{500, -5000, 0}, {500, 5000, 0}});
  w.PlacePlayer({0, 0, 0});
  w.Walk({1, 0, 0});
  w.Run(100);
  const D3DXVECTOR3 blocked = w.Player().GetPosition();
  EXPECT_LT(blocked.x, 500.0f);
  EXPECT_GT(blocked.x, 500.0f - kStep);
  w.Run(5);
  EXPECT_EQ(w.Player().GetPosition(), blocked);

  D3DXVECTOR3 out;
  w.Player().SlideMove(out, D3DXVECTOR3(499.95f, 0, 0), D3DXVECTOR3(0.05f, 0, 0));
  EXPECT_EQ(out, D3DXVECTOR3(0, 0, 0));
  // Nothing in the way: the whole move.
  w.Player().SlideMove(out, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 7, 0));
  EXPECT_EQ(out, D3DXVECTOR3(0, 7, 0));
  // The player's own walls are asked first: a farther one of them wins over
  // a nearer character wall, and the move slides along it.
  w.AddWall(1, {{50, 1900, 0}, {50, 2200, 0}});
  w.AddWall(2, {{-100, 2080, 0}, {300, 2080, 0}});
  w.Player().SlideMove(out, D3DXVECTOR3(0, 2000, 0), D3DXVECTOR3(100, 100, 0));
  EXPECT_NEAR(out.x, 20.0f, 1e-3f);
  EXPECT_NEAR(out.y, 0.0f, 1e-3f);
}

TEST_F(PlayerScenario, DamageGathersFractionsKillsAtItsHealthAndIgnoresNonsense) {
  CPlayer& p = w.Player();
  for (int i = 0; i < 3; ++i) p.Damage(0.4f, false);
  EXPECT_EQ(p.GetHealth(), 299u);
  EXPECT_NEAR(p.GetDamageAccumulator(), 0.2f, 1e-5f);

  p.Damage(std::nanf(""), true);
  p.Damage(-5.0f, true);
  EXPECT_EQ(p.GetHealth(), 299u);
  EXPECT_EQ(w.hurt.plays, 0);
  EXPECT_NEAR(p.GetDamageAccumulator(), 0.2f, 1e-5f);

  p.Damage(299.0f, false);
  EXPECT_EQ(p.GetHealth(), 0u);
  EXPECT_FALSE(p.IsActive());
  EXPECT_EQ(p.GetDamageAccumulator(), 0.0f);
  w.Frame();
  EXPECT_EQ(p.GetAnimationName(), "Muerte");

  p.Respawn();
  EXPECT_TRUE(p.IsActive());
  EXPECT_EQ(p.GetHealth(), 300u);
  p.Damage(1e10f, true);  // far beyond any health: dead, no overflow
  EXPECT_EQ(p.GetHealth(), 0u);
  EXPECT_FALSE(p.IsActive());
  EXPECT_EQ(w.hurt.plays, 1);

  p.Respawn();
  p.Damage(100.0f, false);
  p.Heal(0.5f);
  EXPECT_EQ(p.GetHealth(), 300u);
  EXPECT_TRUE(p.TakeHealed());
  EXPECT_FALSE(p.TakeHealed());
  p.Damage(200.0f, false);
  p.Heal(0.2f);
  EXPECT_EQ(p.GetHealth(), 160u);
  // No harm still asks for the hurt sound.
  ASSERT_TRUE(w.RunUntil([&] { return p.GetHurtSoundCounter() == 0; }, 30));
  p.Damage(0.0f, true);
  EXPECT_EQ(w.hurt.plays, 2);
  EXPECT_EQ(p.GetHurtSoundCounter(), 1);
  EXPECT_EQ(p.GetHealth(), 160u);
}

TEST_F(PlayerScenario, ASlowZoneSlowsHurtsAndThrottlesTheHurtSound) {
  w.Level().AddSlowDowner(D3DXVECTOR3(0, 0, 0), 5000.0f, 1.0f, 0.0f, 0.0f);
  w.PlacePlayer({0, 0, 0});
  w.Walk({1, 0, 0});
  std::vector<int> soundFrames;
  for (int frame = 1; frame <= 50; ++frame) {
    const int before = w.hurt.plays;
    w.Frame();
    if (w.hurt.plays != before) soundFrames.push_back(frame);
  }
  EXPECT_EQ(soundFrames, (std::vector<int>{1, 22, 43}));
  EXPECT_FLOAT_EQ(w.Player().GetSpeedFactor(), 0.3f);
  EXPECT_NEAR(w.Player().GetPosition().x, 50 * 0.3f * kStep, 0.01f);
  // 5 health a second for one second.
  EXPECT_GE(w.Player().GetHealth(), 295u);
  EXPECT_LE(w.Player().GetHealth(), 296u);
}

TEST_F(PlayerScenario, SoulsGoToTheirColourUnlessFullAndEnemiesStopTheStep) {
  CWeapon& weapon = w.Player().GetWeapon();
  weapon.SetCharge(CWeapon::RED, 50);
  CEnergy& red = w.Level().GetSouls().emplace_back();
  red.Init(0, 200, 0, 0, 10);
  red.Show();
  CEnergy& blue = w.Level().GetSouls().emplace_back();
  blue.Init(1, 300, 0, 0, 10);
  blue.Show();
  w.Frame();  // the souls' matrices
  w.PlacePlayer({0, 0, 0});
  w.Walk({1, 0, 0});
  w.Run(40);
  // Reached after its first frames, the value-10 soul is worth 9 (truncated).
  EXPECT_EQ(weapon.GetCharge(CWeapon::RED), 59u);
  EXPECT_EQ(weapon.GetCharge(CWeapon::BLUE), 100u);
  EXPECT_EQ(w.collect.plays, 1);
  ASSERT_EQ(w.Level().GetSouls().size(), 1u) << "the red soul is erased, the blue one stays";
  EXPECT_EQ(&w.Level().GetSouls().front(), &blue);
  EXPECT_TRUE(blue.IsActive());

  // A standing enemy: the player walks up to it and stays.
  w.Stand();
  w.PlacePlayer({0, 1000, 0});
  w.AddEnemy({300, 1000, 0}, 0, 50.0f);
  w.Walk({1, 0, 0});
  w.Run(60);
  const float x = w.Player().GetPosition().x;
  EXPECT_LT(x, 300.0f - 100.0f + 1e-3f);
  EXPECT_GT(x, 300.0f - 100.0f - kStep);
  w.Run(3);
  EXPECT_FLOAT_EQ(w.Player().GetPosition().x, x);
}

TEST_F(PlayerScenario, RunAnimationsFollowTheAngleBetweenFacingAndTravel) {
  const float north = 3.14159265f / 2.0f;
  EXPECT_STREQ(CPlayer::RunAnimation(D3DXVECTOR3(-1, 0, 0), north), "CorrerIzquierda");
  EXPECT_STREQ(CPlayer::RunAnimation(D3DXVECTOR3(0, -1, 0), north), "CorrerAtras");
  EXPECT_STREQ(CPlayer::RunAnimation(D3DXVECTOR3(1, 0, 0), north), "CorrerDerecha");
  EXPECT_STREQ(CPlayer::RunAnimation(D3DXVECTOR3(1, 0, 0), 0.0f), "CorrerAdelante");

  // A facing and a direction along it whose float dot product rounds above 1.
  bool searched = false;
  for (int i = 0; i < 100000 && !searched; ++i) {
    const float yaw = 0.0001f * float(i);
    D3DXVECTOR3 d(std::cos(yaw), std::sin(yaw), 0.0f);
    D3DXVec3Normalize(&d, &d);
    const float c = d.x * std::cos(yaw) + d.y * std::sin(yaw);
    if (c > 1.0f && d.y * std::cos(yaw) - d.x * std::sin(yaw) >= 0.0f) {
      searched = true;
      EXPECT_STREQ(CPlayer::RunAnimation(d, yaw), "CorrerAdelante") << "yaw " << yaw;
    }
  }
  EXPECT_TRUE(searched);

  w.PlacePlayer({0, 0, 0}, north);
  w.Frame();
  EXPECT_EQ(w.Player().GetAnimationName(), "ParadoDisparando");
  for (const auto& [travel, name] : {std::pair{D3DXVECTOR3(-1, 0, 0), "CorrerIzquierda"},
                                     std::pair{D3DXVECTOR3(0, -1, 0), "CorrerAtras"}}) {
    w.Walk(travel);
    w.Frame();
    EXPECT_EQ(w.Player().GetAnimationName(), name);
  }
}

}  // namespace
