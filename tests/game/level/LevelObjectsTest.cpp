#include "game/level/LevelFixture.h"

#include "game/effects/ParticleEffect.h"
#include "game/world/GameGlobals.h"

namespace {

using leveltest::LevelTest;

// One of each class the level holds, built in its list and added to the
// scene, with the values its construction gives.
TEST_F(LevelTest, OneObjectOfEachClassIsBuiltInPlaceAddedAndUnloaded) {
  CItem& item = level->GetItems().emplace_back();
  CBox& box = level->GetBoxes().emplace_back();
  CGenerator& generator = level->GetGenerators().emplace_back();
  CDoor& door = level->GetDoors().emplace_back();
  COpenCloseDoor& gate = level->GetOpenCloseDoors().emplace_back();
  CRoof& roof = level->GetRoofs().emplace_back();
  CWireGrate& grate = level->GetWireGrates().emplace_back();
  CBarrel& barrel = level->GetBarrels().emplace_back();
  CCircuitConnector& connector = level->GetConnectors().emplace_back();
  CCircuitGenerator& circuit = level->GetCircuitGenerators().emplace_back();
  CCircuitReceptor& receptor = level->GetReceptors().emplace_back();
  CCircuitLink& link = level->GetLinks().emplace_back(&connector, &receptor);
  CTarget& target = level->GetTargets().emplace_back();
  CPushable& block = level->GetPushables().emplace_back();
  CWaveWeapon& station = level->GetWaveWeapons().emplace_back();
  CLaser& laser = level->GetLaser("Beam");
  CEnemyGenerator& spawner = level->GetEnemyGenerators().emplace_back();
  level->AddMarker("Goal", 0, 0, 0, 10.0f, "Marker.tga");
  level->AddBomb(0, 0, 0, 1, 3.0f);
  CSlowDowner& zone = level->GetSlowDowners().emplace_back(D3DXVECTOR3(1, 2, 3), 50.0f, 4.0f, 2.0f, 9.0f);
  CBullet& shot = level->GetBullets().emplace_back();
  CEnemy2Bullet& e2 = level->GetEnemy2Bullets().emplace_back();
  CEnemy3Bullet& e3 = level->GetEnemy3Bullets().emplace_back();
  CEnemy6Bullet& e6 = level->GetEnemy6Bullets().emplace_back();
  CEnemy8Bullet& e8 = level->GetEnemy8Bullets().emplace_back();
  CBoss0Bullet& b0 = level->GetBoss0Bullets().emplace_back();
  CBoss0AbilityBullet& b0a = level->GetBoss0AbilityBullets().emplace_back();
  CBoss1Bullet& b1 = level->GetBoss1Bullets().emplace_back();
  CBoss1Laser& b1l = level->GetBoss1Lasers().emplace_back();
  CEnergy& soul = level->GetSouls().emplace_back();
  level->GetEnemies().push_back(new CEnemy(1));
  level->GetEnemies().push_back(new CBoss0(0));
  level->GetEnemies().push_back(new CBoss1());

  for (CEntity* entity : std::initializer_list<CEntity*>{
           &item, &box, &generator, &door, &gate, &roof, &grate, &barrel, &connector, &circuit, &receptor, &target,
           &block, &station, &laser, &shot, &e2, &e3, &e6, &e8, &b0, &b0a, &b1, &b1l, &soul})
    entity->AddToScene();
  for (CEnemy* enemy : level->GetEnemies()) enemy->AddToScene();
  Nembra::g_pSceneManager->AddNode(&zone);
  Nembra::g_pSceneManager->AddNode(&link);
  Frame();

  // Construction values.
  EXPECT_EQ(item.GetRadius(), 70.0f);
  EXPECT_EQ(item.GetScale(), 1.0f);
  EXPECT_EQ(box.GetRadius(), 90.0f);
  EXPECT_EQ(generator.GetRadius(), 110.0f);
  EXPECT_EQ(door.GetRadius(), 200.0f);
  EXPECT_EQ(door.GetChargeNeeded(), 1u);
  EXPECT_EQ(gate.GetRadius(), 500.0f);
  EXPECT_EQ(gate.GetState(), 0u);
  EXPECT_EQ(grate.GetRadius(), 60.0f);
  EXPECT_EQ(barrel.GetRadius(), 30.0f);
  EXPECT_EQ(laser.GetRadius(), 15.0f);
  EXPECT_EQ(station.GetRadius(), 110.0f);
  EXPECT_EQ(target.GetHitLimit(), 1);
  EXPECT_EQ(spawner.GetBoundingSphere().radius, 200.0f);
  EXPECT_TRUE(spawner.IsEnabled());
  // One scene pass grew the scale; the radius follows a frame late.
  EXPECT_EQ(zone.GetRadius(), 50.0f);
  EXPECT_FLOAT_EQ(zone.GetScale(), 1.0f + 2.0f * 0.02f);
  EXPECT_TRUE(zone.IsAlive());
  EXPECT_EQ(shot.GetSpeed(), 5000.0f);
  EXPECT_EQ(shot.GetRadius(), 30.0f);
  EXPECT_EQ(e3.GetSpeed(), 1000.0f);
  EXPECT_EQ(e6.GetSpeed(), 900.0f);
  EXPECT_EQ(e8.GetSpeed(), 4000.0f);
  EXPECT_EQ(e8.GetRadius(), 30.0f);
  EXPECT_EQ(b1.GetSpeed(), 650.0f);
  EXPECT_EQ(b1.GetRadius(), 70.0f);
  EXPECT_EQ(b1l.GetRadius(), 30.0f);
  EXPECT_EQ(level->GetBomb()->GetFuse(), 3.0f);
  EXPECT_EQ(link.GetFirst(), &connector);
  EXPECT_GT(RootChildren(), baseRootChildren + 30);

  level->Unload();
  level->Restart();  // nothing left to reset
  level->Start();
  EXPECT_EQ(RootChildren(), 0u);  // the unload emptied the whole scene tree
}

TEST_F(LevelTest, TheEnemyGeneratorKeepsItsOptionsAndCountsItsTimerDown) {
  CEnemyGenerator& spawner = level->GetEnemyGenerators().emplace_back();
  spawner.SetOption1(1, 50, true);
  spawner.SetOption3(8, 20, false);
  EXPECT_EQ(spawner.GetOption(0).type, 1u);
  EXPECT_EQ(spawner.GetOption(0).randomFacing, 1);
  EXPECT_EQ(spawner.GetOption(2).percent, 20);
  spawner.UpdateTimer();
  EXPECT_EQ(spawner.GetRearmTimer(), 0.0f);  // never below 0
  spawner.ResetTimer();
  EXPECT_EQ(spawner.GetRearmTimer(), 0.0f);
}

TEST_F(LevelTest, ARestartResetsEveryGeneratorOnceAndClearsTheCircuits) {
  CGenerator& generator = level->GetGenerators().emplace_back();
  CCircuitGenerator& circuit = level->GetCircuitGenerators().emplace_back();
  circuit.SetGenerator(&generator);
  CCircuitConnector& connector = level->GetConnectors().emplace_back();
  CCircuitLink& link = level->GetLinks().emplace_back(&circuit, &connector);
  circuit.AddLink(&connector, &link);
  connector.AddLink(&circuit, &link);
  link.SetFlowing(true);
  generator.SetBarEffect(reinterpret_cast<CGenBarEffect*>(&generator));  // any stale pointer
  level->Restart();
  // The old bar went with the effects; the generator took one new bar.
  ASSERT_EQ(level->GetEffects().size(), 1u);
  EXPECT_EQ(static_cast<CEntity*>(generator.GetBarEffect()), level->GetEffects().front());
  EXPECT_EQ(generator.GetCharge(), 0u);
  EXPECT_FALSE(link.IsFlowing());
  EXPECT_FALSE(circuit.IsVisited());
  EXPECT_FALSE(connector.IsVisited());
}

}  // namespace
