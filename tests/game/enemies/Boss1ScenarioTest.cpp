// The second boss: rest and attack by distance, the lasers' timing and
// muzzles, the ball's roll and lob, the colour turns by shot sums, waves and
// the ability, the sphere test, the soul and the kill script, and its shots.
#include <cmath>

#include "engine/app/Engine.h"
#include "engine/util/Random.h"
#include "engine/util/Utilities.h"
#include "game/effects/ParticleEffect.h"
#include "game/enemies/EnemyScenarioSupport.h"
#include "game/enemies/bosses/Boss1.h"
#include "game/script/ScriptVariables.h"

namespace {

using SecondBoss = enemytest::Scene;
using SecondBossOwnData = enemytest::WritableScene;
using enemytest::Distance;

constexpr platform::RECT kRedRow{0, 0, 37, 4};
constexpr platform::RECT kBlueRow{0, 16, 37, 20};

bool SameRect(const platform::RECT& a, const platform::RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// A seed whose first raw draw is the given one (the generator's state after
// one step holds the draw in its bits 16 to 30).
uint32_t SeedForFirstDraw(int draw) {
  const uint32_t a = 214013u, c = 2531011u;
  uint32_t inverse = a;  // Newton's iteration for the inverse modulo 2^32
  for (int i = 0; i < 5; ++i) inverse *= 2u - a * inverse;
  const uint32_t state = static_cast<uint32_t>(draw) << 16;
  return (state - c) * inverse;
}

// The colour shown: the model in use is the boss's colour, visible, the
// other hidden, and the bar's fill on that colour's row.
void ExpectShows(CBoss1& boss, uint32_t colour) {
  EXPECT_EQ(boss.GetColour(), colour);
  Nembra::CAnimated3DSprite& shown = colour == 1 ? boss.GetBlueModel() : boss.GetRedModel();
  Nembra::CAnimated3DSprite& hidden = colour == 1 ? boss.GetRedModel() : boss.GetBlueModel();
  EXPECT_EQ(boss.GetSprite(), &shown);
  EXPECT_FALSE(boss.OwnsSprite());
  EXPECT_TRUE(shown.IsVisible());
  EXPECT_FALSE(hidden.IsVisible());
  EXPECT_TRUE(SameRect(boss.GetHealthFill().m_SourceRect, colour == 1 ? kBlueRow : kRedRow));
}

TEST_F(SecondBoss, IsBuiltAsTheBossOfTheLastLevel) {
  CBoss1& boss = Add<CBoss1>({0, 0, 0});
  EXPECT_TRUE(boss.IsBoss());
  EXPECT_EQ(boss.GetHealth(), 1550u);
  EXPECT_EQ(boss.GetMaxHealth(), 1550u);
  EXPECT_EQ(boss.GetRadius(), 280.0f);
  EXPECT_EQ(boss.GetHeadingWindow(), 250);
  EXPECT_EQ(boss.GetLaserTimer(), 10.0f);
  ExpectShows(boss, 0);
  for (Nembra::CAnimated3DSprite* model : {&boss.GetRedModel(), &boss.GetBlueModel()}) {
    ASSERT_NE(model->GetMesh(), nullptr);
    EXPECT_EQ(model->GetScale(), D3DXVECTOR3(2.0f, 2.0f, 2.0f));
    EXPECT_EQ(model->GetBoundingSphere().radius, 10000.0f);
    EXPECT_EQ(model->GetParent(), &boss);
    EXPECT_STREQ(model->GetCurrentSet()->GetName(), "Reposo");
  }
  EXPECT_EQ(boss.GetCallbackData(0).event, 1);
  EXPECT_EQ(boss.GetCallbackData(1).event, 2);
  EXPECT_EQ(boss.GetCallbackData(0).boss, &boss);
  // The soul of a 1550-point boss at power 1: 1 + 2 x 1550.
  EXPECT_EQ(boss.GetEnergyValue(), 3101u);
  // The sphere test: the collision radius about the world position.
  D3DXVECTOR3 hit;
  float distanceSq = 0.0f;
  ASSERT_TRUE(boss.Collide({0, -1000, 0}, {0, 0, 0}, 30.0f, hit, distanceSq));
  enemytest::ExpectNear(hit, {0.0f, -310.0f, 0.0f}, 1e-3f);
  EXPECT_NEAR(distanceSq, 690.0f * 690.0f, 1.0f);
  EXPECT_FALSE(boss.Collide({0, -1000, 0}, {0, -400, 0}, 30.0f, hit, distanceSq));
}

TEST_F(SecondBoss, RestsWithinThreeHundredAndAttacksFromThreeHundred) {
  CBoss1& boss = Add<CBoss1>({0, 0, 0});
  Stand({0, -299.9f, 0});
  for (int i = 0; i < 600; ++i) {  // past the first laser time too
    w.Frame();
    ASSERT_FALSE(boss.IsAttacking()) << "frame " << i;
  }
  EXPECT_EQ(boss.GetAnimationName(), "Reposo");
  EXPECT_TRUE(w.Level().GetBoss1Lasers().empty());
  EXPECT_TRUE(w.Level().GetBoss1Bullets().empty());
  // The laser time has long run out: at 300 the first attack is the lasers.
  w.PlacePlayer({0, -300.0f, 0});
  w.Frame();
  EXPECT_TRUE(boss.IsAttacking());
  EXPECT_EQ(boss.GetAnimationName(), "Laser");
  EXPECT_EQ(w.Level().GetBoss1Lasers().size(), 2u);
  // A dead player is left alone once the attack is over.
  w.Player().Deactivate();
  ASSERT_TRUE(w.RunUntil([&] { return !boss.IsAttacking(); }, 100));
  w.Run(200);
  EXPECT_FALSE(boss.IsAttacking());
  EXPECT_EQ(boss.GetAnimationName(), "Reposo");
}

TEST_F(SecondBoss, FiresAPairOfLasersFromItsCannonsEveryTenSeconds) {
  Nembra::SeedRandom(5);
  CBoss1& boss = Add<CBoss1>({-51, 6680, 0});
  Stand({-51, 5680, 0});
  scenario::CountingSound shot;
  boss.SetShotSound(&shot);
  std::vector<int> laserFrames;
  int balls = 0;
  for (int frame = 1; frame <= 1100; ++frame) {
    const size_t lasersBefore = w.Level().GetBoss1Lasers().size();
    const size_t ballsBefore = w.Level().GetBoss1Bullets().size();
    w.Player().Heal(1.0f);  // the player stays alive and so a target
    // Where the muzzles stand as of the last pose: the keys read them there.
    const D3DXVECTOR3 m1 = boss.GetFirstLaserMuzzle().WorldPosition();
    const D3DXVECTOR3 m2 = boss.GetSecondLaserMuzzle().WorldPosition();
    w.Frame();
    balls += w.Level().GetBoss1Bullets().size() > ballsBefore ? 1 : 0;
    const size_t lasers = w.Level().GetBoss1Lasers().size();
    if (lasers <= lasersBefore) continue;
    ASSERT_EQ(lasers - lasersBefore, 2u) << "frame " << frame;
    laserFrames.push_back(frame);
    // The two new ones start under the two cannon muzzles, at height 0,
    // their trails at the muzzles' height.
    auto it = w.Level().GetBoss1Lasers().end();
    const CBoss1Laser& second = *--it;
    const CBoss1Laser& first = *--it;
    EXPECT_GT(Distance(m1, m2), 300.0f) << "the cannons stand apart";
    EXPECT_LT(Distance(first.GetPosition(), {m1.x, m1.y, 0}), 0.01f);
    EXPECT_LT(Distance(second.GetPosition(), {m2.x, m2.y, 0}), 0.01f);
    EXPECT_EQ(first.GetPosition().z, 0.0f);
    ASSERT_NE(first.GetEmitter(), nullptr);
    EXPECT_NEAR(first.GetEmitter()->GetPosition().z, m1.z, 0.01f);
    EXPECT_GT(m1.z, 200.0f);
    EXPECT_EQ(first.GetPower(), 13u);
    EXPECT_EQ(second.GetPower(), 13u);
  }
  ASSERT_EQ(laserFrames.size(), 2u);
  EXPECT_GE(laserFrames[0], 500) << "no laser before 10 s";
  EXPECT_LE(laserFrames[0], 552) << "at most a ball's second late";
  EXPECT_GE(laserFrames[1] - laserFrames[0], 500);
  EXPECT_LE(laserFrames[1] - laserFrames[0], 552);
  EXPECT_GT(balls, 0);
  EXPECT_EQ(shot.plays, balls + 2) << "one sound per ball and per pair";
}

TEST_F(SecondBoss, ThrowsABallOnlyOnARollAboveNinetyThousand) {
  w.Stand();
  // Draw 29491 rolls 90000, 29492 rolls 90003.
  const struct {
    int draw, roll;
    bool ball;
  } cases[] = {{29490, 89997, false}, {29491, 90000, false}, {29492, 90003, true}, {32767, 99997, true}};
  for (const auto& c : cases) {
    Nembra::SeedRandom(SeedForFirstDraw(c.draw));
    ASSERT_EQ(Nembra::RandomInt(0, 100000), c.roll);
    CBoss1& boss = Add<CBoss1>({0, 0, 0});
    boss.SetRotationZ(0.3f);
    w.PlacePlayer({0, 200, 0});
    w.Frame();  // resting, posed: the tail is where the key will read it
    ASSERT_FALSE(boss.IsAttacking());
    const D3DXVECTOR3 tail = boss.GetBallMuzzle().WorldPosition();
    w.PlacePlayer({0, 1000, 0});
    Nembra::SeedRandom(SeedForFirstDraw(c.draw));
    w.Frame();
    EXPECT_EQ(boss.IsAttacking(), c.ball) << "roll " << c.roll;
    EXPECT_EQ(boss.GetAnimationName(), c.ball ? "Bola" : "Reposo");
    ASSERT_EQ(w.Level().GetBoss1Bullets().size(), c.ball ? 1u : 0u);
    if (c.ball) {
      // Along the facing, lifted 0.0008 x 1000 before normalising.
      const CBoss1Bullet& ball = w.Level().GetBoss1Bullets().front();
      D3DXVECTOR3 expected(std::cos(0.3f), std::sin(0.3f), 0.8f);
      enemytest::ExpectNear(ball.GetDirection(), *D3DXVec3Normalize(&expected, &expected));
      EXPECT_EQ(ball.GetPower(), 47u);
      EXPECT_LT(Distance(ball.GetPosition(), {tail.x, tail.y, 0}), 0.01f);
      ASSERT_NE(ball.GetEmitter(), nullptr);
      EXPECT_NEAR(ball.GetEmitter()->GetPosition().z, tail.z, 0.01f);
    }
    Remove(&boss);
    w.Level().GetBoss1Bullets().clear();
  }
}

TEST_F(SecondBoss, OtherColourShotsTurnItAfterMoreThanAHundredPoints) {
  Stand({0, -200, 0});
  CBoss1& boss = Add<CBoss1>({0, 0, 0});
  w.Frame();
  for (int i = 0; i < 50; ++i) boss.OnShotHit(red);
  EXPECT_EQ(boss.GetHealth(), 1550u) << "its own colour neither hurts";
  EXPECT_EQ(boss.GetColourFlipSum(), 0u) << "nor counts";
  for (int i = 0; i < 100; ++i) boss.OnShotHit(blue);
  EXPECT_EQ(boss.GetHealth(), 1450u);
  EXPECT_EQ(boss.GetColourFlipSum(), 100u);
  ExpectShows(boss, 0);
  boss.OnShotHit(blue);
  EXPECT_EQ(boss.GetHealth(), 1449u);
  EXPECT_EQ(boss.GetColourFlipSum(), 0u);
  ExpectShows(boss, 1);
  // Now blue: blue shots count for nothing, red ones hurt and count.
  for (int i = 0; i < 30; ++i) boss.OnShotHit(blue);
  EXPECT_EQ(boss.GetHealth(), 1449u);
  for (int i = 0; i < 101; ++i) boss.OnShotHit(red);
  ExpectShows(boss, 0);
  w.Run(5);
  EXPECT_EQ(boss.GetAnimationName(), "Reposo");
  EXPECT_STREQ(boss.GetRedModel().GetCurrentSet()->GetName(), "Reposo");
}

TEST_F(SecondBoss, WavesAndTheAbilityHurtItAtMostSoOftenAndTurnIt) {
  Stand({0, -200, 0});
  CBoss1& boss = Add<CBoss1>({0, 0, 0});
  w.Frame();
  boss.OnWaveHit(0);  // a wave of its own colour hurts as well
  EXPECT_EQ(boss.GetHealth(), 100u);
  ExpectShows(boss, 1);
  boss.OnWaveHit(1);
  EXPECT_EQ(boss.GetHealth(), 100u) << "a second wave within 20 s";
  ExpectShows(boss, 1);
  EXPECT_EQ(boss.GetWaveCooldown(), 20.0f);

  g_Boss1Health = 1000;
  CBoss1& second = Add<CBoss1>({0, 3000, 0});
  g_Boss1Health = TuningDefaults::BOSS1_HEALTH;  // not among the restored tuning values
  second.KillNow();
  EXPECT_EQ(second.GetHealth(), 800u);
  ExpectShows(second, 1);
  second.KillNow();
  EXPECT_EQ(second.GetHealth(), 800u);
  ASSERT_TRUE(w.RunUntil([&] { return second.GetAbilityHitCooldown() == 0.0f; }, 600));
  EXPECT_GE(w.FrameNumber(), 500);
  second.KillNow();
  EXPECT_EQ(second.GetHealth(), 600u);
  ExpectShows(second, 0);
  ASSERT_TRUE(w.RunUntil([&] { return boss.GetWaveCooldown() == 0.0f; }, 600));
  EXPECT_GE(w.FrameNumber(), 1000);
  EXPECT_EQ(boss.GetColour(), 1u);
}

TEST_F(SecondBossOwnData, DiesOnceRunningItsKillScriptOnceAndFiresNothingMore) {
  ASSERT_TRUE(w.WriteScript("Level12_MatarMonstruo.lua", "IncVar(\"boss_deaths\")\n"));
  VarTableSet("boss_deaths", 0);
  Stand({0, -1000, 0});
  g_Boss1Health = 150;
  CBoss1& boss = Add<CBoss1>({0, 0, 0});
  g_Boss1Health = TuningDefaults::BOSS1_HEALTH;  // not among the restored tuning values
  boss.KillNow();  // 200 on 150
  EXPECT_TRUE(boss.IsDead());
  EXPECT_TRUE(boss.IsDying());
  ExpectShows(boss, 0);  // a dead boss does not turn
  EXPECT_EQ(VarTableGet("boss_deaths"), 1);
  EXPECT_EQ(Count<Nembra::CBoss1KillEffect>(), 1);
  boss.OnWaveHit(1);
  boss.Damage(10);
  boss.OnShotHit(blue);
  EXPECT_EQ(VarTableGet("boss_deaths"), 1);
  // Keys of a dying boss fire nothing.
  CBoss1CBH handler;
  handler.HandleCallback(0, &boss.GetCallbackData(0));
  handler.HandleCallback(0, &boss.GetCallbackData(1));
  EXPECT_TRUE(w.Level().GetBoss1Bullets().empty());
  EXPECT_TRUE(w.Level().GetBoss1Lasers().empty());
  // The fade ends it; the level leaves one soul worth 3101 at power 1.
  ASSERT_TRUE(w.RunUntil([&] { return !w.Level().GetSouls().empty(); }, 300));
  EXPECT_TRUE(w.Level().GetEnemies().empty());
}

TEST_F(SecondBoss, FiftyTurnsThenDestructionLeaveNothingBehind) {
  Stand({0, -2000, 0});
  CBoss1& boss = Add<CBoss1>({0, 0, 0});
  for (int i = 0; i < 50; ++i) {
    boss.Damage(1);
    w.Frame();
    // The muzzles follow the model shown.
    EXPECT_EQ(boss.GetFirstLaserMuzzle().GetBoneOwner(), boss.GetSprite());
    EXPECT_EQ(boss.GetBallMuzzle().GetParent(), boss.GetSprite());
  }
  ExpectShows(boss, 0);
  EXPECT_EQ(boss.GetHealth(), 1500u);
  for (int i = 0; i < 600; ++i, w.Frame()) w.Player().Heal(1.0f);  // attacks from either model
  Remove(&boss);
  w.Run(200);  // its shots fly on and end
}

TEST_F(SecondBoss, ALaserHomesOntoThePlayerAndABallEndsAfter2500Units) {
  Stand({0, 0, 0});
  const uint32_t before = w.Player().GetHealth();
  w.Level().AddBoss1Laser({600, 0, 300}, {600, 0, 0}, 0.0f, 13);
  ASSERT_EQ(w.Level().GetBoss1Lasers().size(), 1u);
  CBoss1Laser& laser = w.Level().GetBoss1Lasers().front();
  ASSERT_TRUE(w.RunUntil([&] { return laser.IsEnded(); }, 100));
  EXPECT_EQ(w.Player().GetHealth(), before - 13u);
  EXPECT_LT(Distance(laser.GetPosition(), w.Player().WorldPosition()), 0.01f);  // ends at the player
  EXPECT_EQ(Count<Nembra::CBoss1LaserWallHitEffect>(), 1);
  // So does a ball that meets the player.
  w.Level().AddBoss1Bullet({400, 0, 300}, {0, 0, 0}, 3.1415927f, 47);
  CBoss1Bullet& hit = w.Level().GetBoss1Bullets().front();
  ASSERT_TRUE(w.RunUntil([&] { return hit.IsEnded(); }, 100));
  EXPECT_EQ(w.Player().GetHealth(), before - 13u - 47u);
  EXPECT_LT(Distance(hit.GetPosition(), w.Player().WorldPosition()), 0.01f);
  w.Level().GetBoss1Bullets().clear();

  // A ball sent away from a player 3000 behind: it turns, but its range
  // ends it after 2500 units with no effect.
  w.PlacePlayer({0, 17000, 0});
  w.Level().AddBoss1Bullet({0, 20000, 300}, {0, 20000, 0}, 1.5707963f, 47);
  CBoss1Bullet& ball = w.Level().GetBoss1Bullets().front();
  const size_t effects = w.Level().GetEffects().size();
  EXPECT_EQ(FramesUntil([&] { return ball.IsEnded(); }, 400), 193);  // 2500 / (650 x 0.02) = 192.3
  EXPECT_GE(ball.GetDistance(), 2500.0f);
  EXPECT_LE(w.Level().GetEffects().size(), effects);
  ASSERT_TRUE(w.RunUntil([&] { return w.Level().GetBoss1Bullets().empty(); }, 300)) << "its trail dies out";
}

TEST_F(SecondBossOwnData, ALaserWithoutItsTrailFileStillFliesAndHits) {
  ASSERT_TRUE(Nembra::RemoveFile(Nembra::g_DataDirectory + "Boss1EstelaBala.pfx"));
  Stand({0, 0, 0});
  const uint32_t before = w.Player().GetHealth();
  w.Level().AddBoss1Laser({600, 0, 300}, {600, 0, 0}, 0.0f, 13);
  CBoss1Laser& laser = w.Level().GetBoss1Lasers().front();
  EXPECT_EQ(laser.GetEmitter(), nullptr);
  ASSERT_TRUE(w.RunUntil([&] { return laser.IsEnded(); }, 100));
  EXPECT_EQ(w.Player().GetHealth(), before - 13u);
  w.Frame();  // no trail to wait for: done on the next frame,
  EXPECT_FALSE(laser.IsActive());
  w.Frame();  // and out of the list on the one after
  EXPECT_TRUE(w.Level().GetBoss1Lasers().empty());
}

}  // namespace
