// Barrels set off by shots and by each other's blasts, and the scripts'
// bombs: reach, chains within one frame, grates, the player, restart.
#include "engine/sound/AudiereSound.h"
#include "game/mechanisms/MechanismFixture.h"
#include "tools/formats/PfxFile.h"

namespace {

using mechtest::At;
using mechtest::Barrel;
using mechtest::Grate;
using Nembra::CBarrelExplosionEffect;
using Nembra::CBombExplosionEffect;

constexpr float BLAST = 150.0f;            // the demo blast's cylinder radius
constexpr float REACH = BLAST + 60.0f;     // + a barrel's radius + 30
const D3DXVECTOR3 ALONG_X(1.0f, 0.0f, 0.0f);

class BarrelTest : public mechtest::MechanismTest {
 protected:
  CBarrel& BarrelAt(size_t index) {
    auto it = level->GetBarrels().begin();
    std::advance(it, static_cast<long>(index));
    return *it;
  }
  // Shoots along +x and steps until the first barrel has gone off; the
  // frame count.
  int ShootFirst(int colour = 0, uint32_t power = 1) {
    Shoot(colour, power, ALONG_X);
    for (int frame = 1; frame <= 20; ++frame) {
      Step();
      if (!BarrelAt(0).IsActive()) return frame;
    }
    return -1;
  }
};

TEST_F(BarrelTest, AnyShotExplodesABarrelWhichFadesAndStandsAgainAfterRestart) {
  for (int colour = 0; colour < 2; ++colour) {
    for (uint32_t power = 1; power <= 3; power += 2) {
      SCOPED_TRACE("colour " + std::to_string(colour) + " power " + std::to_string(power));
      ITEMS_FILE file;
      file.barrels.push_back(Barrel(500.0f, 0.0f));
      ASSERT_TRUE(Load(file));
      CBarrel& barrel = BarrelAt(0);
      const D3DXVECTOR3 at(500.0f, 0.0f, 0.0f);
      ASSERT_TRUE(Blocks(at, COL_TIGHT));
      ASSERT_TRUE(Blocks(at, COL_CHARACTER));
      PlacePlayer(D3DXVECTOR3(500.0f, 90.0f, 0.0f));  // beside it

      ASSERT_GT(ShootFirst(colour, power), 0);
      EXPECT_FALSE(barrel.IsActive());
      EXPECT_EQ(BoxRegistrations(barrel), std::make_pair(0, 0));
      EXPECT_FALSE(Blocks(at, COL_TIGHT));
      EXPECT_FALSE(Blocks(at, COL_CHARACTER));
      const auto blasts = EffectsOf<CBarrelExplosionEffect>();
      ASSERT_EQ(blasts.size(), 1u);
      EXPECT_EQ(blasts[0]->GetSource(), &barrel);
      EXPECT_FLOAT_EQ(blasts[0]->GetBlastRadius(), BLAST);
      EXPECT_FLOAT_EQ(blasts[0]->WorldPosition().x, 500.0f);
      ASSERT_NE(blasts[0]->GetEmitter(), nullptr);
      EXPECT_FLOAT_EQ(blasts[0]->GetEmitter()->GetPosition().z, 120.0f);
      EXPECT_TRUE(barrel.IsFading());
      ASSERT_NE(barrel.GetExplosionSound(), nullptr);
      EXPECT_TRUE(barrel.GetExplosionSound()->IsPlaying());
      EXPECT_EQ(barrel.GetSprite().GetRenderEffect(), nullptr);  // drawn through the subsets
      EXPECT_NE(barrel.GetSprite().GetDrawEffect(), nullptr);

      // 2048 alpha a second: seven drawn frames take 255 to 0; the next
      // step hides the sprite.
      int hiddenAfter = 0;
      for (int frame = 1; frame <= 20 && barrel.GetSprite().IsVisible(); ++frame) {
        Step();
        hiddenAfter = frame;
      }
      EXPECT_EQ(hiddenAfter, 7);
      EXPECT_FALSE(barrel.IsFading());
      EXPECT_EQ(barrel.GetSprite().GetDrawEffect(), nullptr);
      EXPECT_EQ(Player().GetHealth(), CPlayer::MAX_HEALTH);  // a barrel's blast hurts nobody

      level->Restart();
      EXPECT_TRUE(barrel.IsActive());
      EXPECT_TRUE(barrel.GetSprite().IsVisible());
      EXPECT_FALSE(barrel.IsFading());
      EXPECT_EQ(BoxRegistrations(barrel), std::make_pair(1, 1));
      EXPECT_TRUE(Blocks(at, COL_TIGHT));
      EXPECT_TRUE(level->GetEffects().empty());
      level->Unload();
    }
  }
}

TEST_F(BarrelTest, ABlastReachesBarrelsJustInsideItsReachInTheSameFrame) {
  ITEMS_FILE file;
  file.barrels.push_back(Barrel(500.0f, 0.0f));
  file.barrels.push_back(Barrel(500.0f, REACH - 0.1f));  // inside
  file.barrels.push_back(Barrel(500.0f, -(REACH + 0.1f)));  // outside
  ASSERT_TRUE(Load(file));
  ASSERT_GT(ShootFirst(), 0);
  EXPECT_FALSE(BarrelAt(1).IsActive());
  EXPECT_TRUE(BarrelAt(2).IsActive());
  EXPECT_EQ(EffectsOf<CBarrelExplosionEffect>().size(), 2u);
  Steps(100);
  EXPECT_TRUE(BarrelAt(2).IsActive());
  EXPECT_TRUE(level->GetEffects().empty());  // both blasts finished and were deleted
}

TEST_F(BarrelTest, FiveBarrelsInARowGoOffInOneFrame) {
  ITEMS_FILE file;
  for (int i = 0; i < 5; ++i) file.barrels.push_back(Barrel(500.0f + 200.0f * float(i), 0.0f));
  ASSERT_TRUE(Load(file));
  ASSERT_GT(ShootFirst(), 0);
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_FALSE(BarrelAt(i).IsActive()) << i;
  }
  EXPECT_EQ(EffectsOf<CBarrelExplosionEffect>().size(), 5u);
}

TEST_F(BarrelTest, ABlastOpensTheGratesWithinItsReach) {
  ITEMS_FILE file;
  file.barrels.push_back(Barrel(500.0f, 0.0f));
  file.wireGrates.push_back(Grate(At(500.0f, 209.0f)));   // radius 150 + grate 60
  file.wireGrates.push_back(Grate(At(500.0f, -211.0f)));
  ASSERT_TRUE(Load(file));
  ASSERT_GT(ShootFirst(), 0);
  EXPECT_FALSE(level->GetWireGrates().front().IsActive());
  EXPECT_TRUE(level->GetWireGrates().back().IsActive());
}

TEST_F(BarrelTest, WithoutItsParticleFileABlastReachesOnlyContactAndEndsAtOnce) {
  RemoveData("BarrelBreak.pfx");
  ITEMS_FILE file;
  file.barrels.push_back(Barrel(500.0f, 0.0f));
  file.barrels.push_back(Barrel(500.0f, 59.9f));   // 0 + 30 + 30
  file.barrels.push_back(Barrel(500.0f, -60.1f));
  ASSERT_TRUE(Load(file));
  ASSERT_GT(ShootFirst(), 0);
  EXPECT_FALSE(BarrelAt(1).IsActive());
  EXPECT_TRUE(BarrelAt(2).IsActive());
  for (auto* blast : EffectsOf<CBarrelExplosionEffect>()) {
    EXPECT_EQ(blast->GetBlastRadius(), 0.0f);
    EXPECT_FALSE(blast->IsActive());
  }
  Step();
  EXPECT_TRUE(level->GetEffects().empty());
}

TEST_F(BarrelTest, AParticleFileOfAnotherKindGivesNoReach) {
  formats::PfxFile point;
  point.kind = 0;
  point.duration = 0.2f;
  point.life = 0.2f;
  point.initialBurst = 4;
  point.maxParticles = 8;
  WriteData("BarrelBreak.pfx", ToString(formats::PfxFileBytes(point)));
  platform::ClearPathCache();
  ITEMS_FILE file;
  file.barrels.push_back(Barrel(500.0f, 0.0f));
  file.barrels.push_back(Barrel(500.0f, 100.0f));
  ASSERT_TRUE(Load(file));
  ASSERT_GT(ShootFirst(), 0);
  ASSERT_EQ(EffectsOf<CBarrelExplosionEffect>().size(), 1u);
  EXPECT_EQ(EffectsOf<CBarrelExplosionEffect>()[0]->GetBlastRadius(), 0.0f);
  EXPECT_TRUE(BarrelAt(1).IsActive());
}

class BombTest : public mechtest::MechanismTest {
 protected:
  // Steps until the bomb's blast exists; the frame it appeared in.
  int StepUntilBlast(int limit) {
    for (int frame = 1; frame <= limit; ++frame) {
      Step();
      if (!EffectsOf<CBombExplosionEffect>().empty()) return frame;
    }
    return -1;
  }
};

TEST_F(BombTest, AThreeSecondBombGoesOffOnFrame150AndHurtsThePlayerItsBlastReaches) {
  level->AddBomb(0.0f, 0.0f, 0.0f, 1, 3.0f);
  ASSERT_NE(level->GetBomb(), nullptr);
  EXPECT_TRUE(level->GetBomb()->GetSprite().IsVisible());
  PlacePlayer(D3DXVECTOR3(400.0f, 0.0f, 0.0f));
  const int frame = StepUntilBlast(200);
  EXPECT_NEAR(frame, 150, 1);
  ASSERT_EQ(EffectsOf<CBombExplosionEffect>().size(), 1u);
  CBombExplosionEffect* blast = EffectsOf<CBombExplosionEffect>()[0];
  // The blast made its first update in the frame it was made.
  EXPECT_NEAR(blast->GetBlastRadius(), 64.0f, 1e-3f);
  EXPECT_FALSE(level->GetBomb()->IsActive());
  EXPECT_FALSE(level->GetBomb()->GetSprite().IsVisible());
  Step();
  EXPECT_EQ(level->GetBomb(), nullptr);  // deleted on the next frame

  // Radius 50 + 14 n against 400 - 50: contact from the 22nd update on,
  // 100 each frame.
  std::vector<uint32_t> health = {Player().GetHealth()};
  for (int update = 3; update <= 24; ++update) {
    Step();
    health.push_back(Player().GetHealth());
  }
  // health[i] is after update i + 2.
  EXPECT_EQ(health[21 - 2], 300u);
  EXPECT_EQ(health[22 - 2], 200u);
  EXPECT_EQ(health[23 - 2], 100u);
  EXPECT_EQ(health[24 - 2], 0u);
}

TEST_F(BombTest, GratesOpenOnlyWhileTheBlastGrows) {
  ITEMS_FILE file;
  file.wireGrates.push_back(Grate(At(750.0f, 0.0f)));
  file.wireGrates.push_back(Grate(At(0.0f, 755.0f)));
  ASSERT_TRUE(Load(file));
  CWireGrate& near = level->GetWireGrates().front();
  CWireGrate& far = level->GetWireGrates().back();
  level->AddBomb(0.0f, 0.0f, 0.0f, 0, 0.0f);
  EXPECT_FALSE(level->GetBomb()->GetSprite().IsVisible());
  ASSERT_EQ(StepUntilBlast(1), 1);  // a fuse of 0 goes off on the first update
  int opened = 1;
  while (near.IsActive() && opened < 100) {
    Step();
    ++opened;
  }
  EXPECT_EQ(opened, 46);
  EXPECT_NEAR(EffectsOf<CBombExplosionEffect>()[0]->GetBlastRadius(), 694.0f, 0.01f);
  Steps(100);
  EXPECT_TRUE(far.IsActive());
}

TEST_F(BombTest, ALongFirstFrameMakesOneBlast) {
  level->AddBomb(0.0f, 0.0f, 0.0f, 1, 0.0f);
  Nembra::g_FrameTime = 2.5f;
  Step();
  Nembra::g_FrameTime = FRAME_TIME;
  EXPECT_EQ(EffectsOf<CBombExplosionEffect>().size(), 1u);
  Steps(3);
  EXPECT_LE(EffectsOf<CBombExplosionEffect>().size(), 1u);
  EXPECT_EQ(level->GetBomb(), nullptr);
}

}  // namespace
