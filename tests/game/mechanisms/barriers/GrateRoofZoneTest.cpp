// Wire grates blown open and closed again, roofs fading and shown, slow-down
// zones growing, and the sparks' and grate's effects.
#include "game/actors/Bullet.h"
#include "game/mechanisms/MechanismFixture.h"
#include "platform/Log.h"

namespace {

using mechtest::At;
using mechtest::Grate;

class GrateTest : public mechtest::MechanismTest {
 protected:
  Nembra::CSimpleMesh* MeshOf(const std::string& name) {
    Nembra::CSimpleMesh* mesh = Nembra::g_pSimpleMeshFactory->Get(name);
    Nembra::g_pSimpleMeshFactory->Release(name);
    return mesh;
  }
  CWireGrate& LoadOne(const std::string& script = "", const std::string& description = "WireGrate_Desc.txt") {
    ITEMS_FILE file;
    file.wireGrates.push_back(Grate(At(500.0f, 0.0f, 0.0f, 1.5707964f), script, description));
    EXPECT_TRUE(Load(file));
    return level->GetWireGrates().front();
  }
};

TEST_F(GrateTest, AShotOpensABreakableGrate) {
  WriteCounter("GrateOpen.lua");
  CWireGrate& grate = LoadOne("GrateOpen.lua");
  EXPECT_TRUE(grate.IsBreakable());
  EXPECT_FLOAT_EQ(grate.GetClosedBoxWidth(), 300.0f);
  EXPECT_EQ(grate.GetSprite().GetMesh(), MeshOf("WireGrate.X"));
  const auto tightBefore = ShapeList(COL_TIGHT), characterBefore = ShapeList(COL_CHARACTER);
  ASSERT_EQ(tightBefore.size(), 1u);

  Shoot(1, 1, D3DXVECTOR3(1.0f, 0.0f, 0.0f));
  StepUntilShotsGone();
  EXPECT_FALSE(grate.IsActive());
  const auto tight = ShapeList(COL_TIGHT), character = ShapeList(COL_CHARACTER);
  ASSERT_EQ(tight.size(), 2u);
  ASSERT_EQ(character.size(), 2u);
  EXPECT_EQ(tight[0], &grate.GetOpenedShape(0));
  EXPECT_EQ(tight[1], &grate.GetOpenedShape(1));
  EXPECT_EQ(character[0], &grate.GetOpenedShape(2));
  EXPECT_EQ(character[1], &grate.GetOpenedShape(3));
  EXPECT_FALSE(grate.GetOpenedShape(0).GetVertices().empty());
  EXPECT_EQ(grate.GetSprite().GetMesh(), MeshOf("WireGrateOpened.X"));
  ASSERT_EQ(EffectsOf<Nembra::CWireGrateExplosionEffect>().size(), 1u);
  EXPECT_FLOAT_EQ(EffectsOf<Nembra::CWireGrateExplosionEffect>()[0]->WorldPosition().x, 500.0f);
  EXPECT_NE(EffectsOf<Nembra::CWireGrateExplosionEffect>()[0]->GetEmitter(), nullptr);
  EXPECT_EQ(Count("GrateOpen.lua"), 1);

  // A second break, by a call or another shot, changes nothing.
  grate.Break();
  Shoot(0, 3, D3DXVECTOR3(1.0f, 0.0f, 0.0f));
  StepUntilShotsGone();
  EXPECT_EQ(ShapeList(COL_TIGHT), tight);
  EXPECT_EQ(ShapeList(COL_CHARACTER), character);
  EXPECT_LE(EffectsOf<Nembra::CWireGrateExplosionEffect>().size(), 1u);
  EXPECT_EQ(Count("GrateOpen.lua"), 1);

  level->Restart();
  EXPECT_TRUE(grate.IsActive());
  EXPECT_EQ(ShapeList(COL_TIGHT), tightBefore);
  EXPECT_EQ(ShapeList(COL_CHARACTER), characterBefore);
  EXPECT_EQ(grate.GetSprite().GetMesh(), MeshOf("WireGrate.X"));
}

TEST_F(GrateTest, FiveBreakAndRestartCyclesKeepTheShapeCounts) {
  CWireGrate& grate = LoadOne();
  const size_t tight = ObjectShapes(COL_TIGHT), character = ObjectShapes(COL_CHARACTER);
  for (int cycle = 0; cycle < 5; ++cycle) {
    grate.Break();
    grate.Break();
    level->Restart();
    EXPECT_EQ(ObjectShapes(COL_TIGHT), tight);
    EXPECT_EQ(ObjectShapes(COL_CHARACTER), character);
    EXPECT_EQ(Registrations(&grate.GetOpenedShape(1), COL_TIGHT), 0);
  }
}

TEST_F(GrateTest, ResetOfAnIntactGrateOnlyTakesTheClosedMeshAgain) {
  CWireGrate& grate = LoadOne();
  const auto tight = ShapeList(COL_TIGHT), character = ShapeList(COL_CHARACTER);
  grate.SetMesh(nullptr);
  grate.Reset();
  EXPECT_TRUE(grate.IsActive());
  EXPECT_EQ(ShapeList(COL_TIGHT), tight);
  EXPECT_EQ(ShapeList(COL_CHARACTER), character);
  EXPECT_EQ(grate.GetSprite().GetMesh(), MeshOf("WireGrate.X"));
}

TEST_F(GrateTest, AShotTreatsAGrateThatIsNotBreakableAsAWall) {
  WriteData("Fixed_Desc.txt", "WireGrate.X\nWireGrateOpened.X\nWireGrateExplosion.pfx\n300.0\n20.0\n0\n"
                              "WireGrate_Opened0.dat\nWireGrate_Opened1.dat\n");
  platform::ClearPathCache();
  CWireGrate& grate = LoadOne("", "Fixed_Desc.txt");
  EXPECT_FALSE(grate.IsBreakable());
  Shoot(0, 1, D3DXVECTOR3(1.0f, 0.0f, 0.0f));
  StepUntilShotsGone();
  EXPECT_TRUE(grate.IsActive());
  EXPECT_TRUE(EffectsOf<Nembra::CWireGrateExplosionEffect>().empty());
}

TEST_F(GrateTest, AMissingDescriptionKeepsTheDefaultsAndTheGrateBlocksAsItsMeshStands) {
  CWireGrate& grate = LoadOne("", "NoSuchGrate.txt");  // at (500, 0), turned a quarter: across the x axis
  EXPECT_EQ(grate.GetClosedMesh(), "WireGrate.X");
  EXPECT_EQ(grate.GetOpenedMesh(), "WireGrateOpened.X");
  EXPECT_FALSE(grate.IsBreakable());
  EXPECT_EQ(grate.GetSprite().GetMesh(), MeshOf("WireGrate.X")) << "the grate that stays shut is seen";
  // The demo's closed mesh is 300 wide and 20 deep: so are the boxes, the
  // character's grown by 170 (from x 405 to 595).
  EXPECT_FLOAT_EQ(grate.GetClosedBoxWidth(), 300.0f);
  EXPECT_FLOAT_EQ(grate.GetClosedBoxOffset(), 20.0f);
  for (float y : {0.0f, 140.0f, -140.0f})
    for (int collisionClass : {COL_TIGHT, COL_CHARACTER})
      EXPECT_TRUE(Blocks(D3DXVECTOR3(500.0f, y, 0.0f), collisionClass)) << y << " " << collisionClass;
  for (float y : {160.0f, -160.0f}) EXPECT_FALSE(Blocks(D3DXVECTOR3(500.0f, y, 0.0f), COL_CHARACTER)) << y;
  // The player walks up to the grown box and no further.
  D3DXVECTOR3 step;
  EXPECT_EQ(Player().SlideMove(step, D3DXVECTOR3(300.0f, 0.0f, 0.0f), D3DXVECTOR3(100.0f, 0.0f, 0.0f)),
            D3DXVECTOR3(100.0f, 0.0f, 0.0f));
  Player().SlideMove(step, D3DXVECTOR3(300.0f, 0.0f, 0.0f), D3DXVECTOR3(400.0f, 0.0f, 0.0f));
  EXPECT_LE(300.0f + step.x, 405.0f);
  // A shot stops on the tight box as on a wall, and the grate stands.
  Shoot(1, 3, D3DXVECTOR3(1.0f, 0.0f, 0.0f));
  StepUntilShotsGone();
  EXPECT_TRUE(grate.IsActive());
  const auto hits = EffectsOf<Nembra::CBulletWallHitEffect>();
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_NEAR(hits[0]->WorldPosition().x, 490.0f, 0.5f);
  grate.Break();  // empty opened shapes, an effect without emitter: no harm
  Steps(2);
  EXPECT_TRUE(EffectsOf<Nembra::CWireGrateExplosionEffect>().empty());
}

TEST_F(GrateTest, ADescriptionCutToHalfIsLoggedWithWhatItMeansForPlay) {
  std::vector<uint8_t> whole;
  ASSERT_TRUE(platform::ReadWholeFile(Nembra::g_DataDirectory + "WireGrate_Desc.txt", whole));
  WriteData("Half_Desc.txt", std::string(whole.begin(), whole.begin() + whole.size() / 2));
  platform::ClearPathCache();
  std::vector<std::string> lines;
  platform::SetLogHook([&](platform::LogLevel, const std::string& text) { lines.push_back(text); });
  CWireGrate& grate = LoadOne("", "Half_Desc.txt");
  platform::SetLogHook(nullptr);
  EXPECT_FALSE(grate.IsBreakable());
  EXPECT_TRUE(Blocks(grate.GetPosition(), COL_CHARACTER)) << "its way stays shut";
  EXPECT_EQ(lines, std::vector<std::string>{"wire grate description Half_Desc.txt cannot be read or ends early: the "
                                            "fields not read keep their defaults; the grate cannot be broken, so "
                                            "its way stays shut"});
}

TEST_F(GrateTest, WithoutDescriptionAndMeshTheLogSaysTheGrateBlocksNothing) {
  RemoveData("WireGrate.X");
  std::vector<std::string> lines;
  platform::SetLogHook([&](platform::LogLevel, const std::string& text) { lines.push_back(text); });
  CWireGrate& grate = LoadOne("", "NoSuchGrate.txt");
  platform::SetLogHook(nullptr);
  EXPECT_EQ(grate.GetClosedBoxWidth(), 0.0f) << "nothing to take a size from";
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "wire grate description NoSuchGrate.txt cannot be read or ends early: the fields not read "
                          "keep their defaults; the grate cannot be broken, and with no width from its description "
                          "or its mesh WireGrate.X it blocks nothing");
}

class RoofZoneTest : public mechtest::MechanismTest {};

TEST_F(RoofZoneTest, AHiddenRoofFadesButStaysDrawnAndShowRestoresIt) {
  ROOF_RECORD roof;
  roof.meshFile = "LevelTutorial_Roof.X";
  roof.pair = At(999.0f, 999.0f);
  ITEMS_FILE file;
  file.roofs.push_back(roof);
  ASSERT_TRUE(Load(file));
  CRoof& r = level->GetRoofs().front();
  EXPECT_FLOAT_EQ(r.GetPosition().x, 0.0f);  // laid out in level coordinates
  r.Hide();
  EXPECT_TRUE(r.IsVanishing());
  auto* vanish = dynamic_cast<Nembra::CVanishEffect*>(r.GetSprite().GetDrawEffect());
  ASSERT_NE(vanish, nullptr);
  Steps(12);  // 512 a second: 122 after 12 drawings
  EXPECT_NEAR(vanish->GetAlpha(), 255 - 122, 1);
  Steps(50);
  EXPECT_EQ(vanish->GetAlpha(), 0);
  EXPECT_TRUE(r.GetSprite().IsVisible());  // nothing hides a roof
  r.Show();
  EXPECT_FALSE(r.IsVanishing());
  EXPECT_TRUE(r.GetSprite().IsVisible());
  EXPECT_EQ(r.GetSprite().GetDrawEffect(), nullptr);
  r.Hide();
  level->Restart();
  EXPECT_FALSE(r.IsVanishing());
  EXPECT_EQ(r.GetSprite().GetDrawEffect(), nullptr);
}

TEST_F(RoofZoneTest, ZonesGrowToTheirMaximumScaleOneFrameLate) {
  CSlowDowner* zone = level->AddSlowDowner(D3DXVECTOR3(0.0f, 0.0f, 0.0f), 40.0f, 4.0f, 0.125f, 5.0f);
  CSlowDowner* small = level->AddSlowDowner(D3DXVECTOR3(500.0f, 0.0f, 0.0f), 40.0f, 0.5f, 0.125f, 5.0f);
  auto updates = [](int n) {
    for (int i = 0; i < n; ++i) Nembra::g_pSceneManager->Update();
  };
  updates(500);  // 10 s
  EXPECT_NEAR(zone->GetRadius(), 89.9f, 0.1f);
  updates(750);  // 25 s
  EXPECT_NEAR(zone->GetRadius(), 160.0f, 0.2f);
  updates(1750);  // 60 s
  EXPECT_NEAR(zone->GetRadius(), 160.0f, 0.2f);
  EXPECT_EQ(small->GetRadius(), 40.0f);
  EXPECT_EQ(small->GetScale(), 1.0f);
  EXPECT_TRUE(level->IsInSlowDownZone(D3DXVECTOR3(159.0f, 0.0f, 0.0f)));

  small->SetAlive(false);
  Step();
  ASSERT_EQ(level->GetSlowDowners().size(), 1u);
  EXPECT_EQ(&level->GetSlowDowners().front(), zone);
}

TEST_F(RoofZoneTest, SparksAndPushedBlockBurstsStandAtTheirPointUntilTheirParticlesEnd) {
  level->AddSparkEffect(D3DXVECTOR3(10.0f, 20.0f, 120.0f));
  level->AddPushableCollisionEffect(D3DXVECTOR3(-10.0f, 0.0f, 0.0f));
  auto sparks = EffectsOf<CSparkEffect>();
  ASSERT_EQ(sparks.size(), 1u);
  EXPECT_FLOAT_EQ(sparks[0]->WorldPosition().z, 120.0f);
  ASSERT_NE(sparks[0]->GetEmitter(), nullptr);
  ASSERT_EQ(EffectsOf<Nembra::CPushableCollisionEffect>().size(), 1u);
  Step();
  EXPECT_EQ(level->GetEffects().size(), 2u);
  Steps(150);
  EXPECT_TRUE(level->GetEffects().empty());
}

TEST_F(RoofZoneTest, AShotOnADestructibleLaserSparks120AboveIt) {
  CLaser& laser = level->GetLaser("Gate");
  CLaser::SETTINGS settings;
  settings.emitterVariant = true;  // destructible
  laser.SetSettings(settings);
  laser.SetPosition(D3DXVECTOR3(500.0f, 0.0f, 0.0f));
  laser.UpdateWorldMatrix();
  Shoot(0, 1, D3DXVECTOR3(1.0f, 0.0f, 0.0f));
  StepUntilShotsGone();
  const auto sparks = EffectsOf<CSparkEffect>();
  ASSERT_EQ(sparks.size(), 1u);
  EXPECT_FLOAT_EQ(sparks[0]->WorldPosition().x, 500.0f);
  EXPECT_FLOAT_EQ(sparks[0]->WorldPosition().z, 120.0f);
}

}  // namespace
