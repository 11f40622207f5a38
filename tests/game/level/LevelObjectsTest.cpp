#include "game/level/LevelFixture.h"

#include <iterator>
#include <tuple>

#include "game/effects/ParticleEffect.h"
#include "game/world/GameGlobals.h"

namespace {

using leveltest::LevelTest;

// One of each class the level holds, built in place and added to the scene.
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

  // Construction values; one scene pass grew the zone's scale, its radius follows a frame late.
  const std::pair<float, float> values[] = {
      {item.GetRadius(), 70.0f},     {item.GetScale(), 1.0f},        {box.GetRadius(), 90.0f},
      {generator.GetRadius(), 110.0f}, {door.GetRadius(), 200.0f},   {float(door.GetChargeNeeded()), 1.0f},
      {gate.GetRadius(), 500.0f},    {float(gate.GetState()), 0.0f}, {grate.GetRadius(), 60.0f},
      {barrel.GetRadius(), 30.0f},   {laser.GetRadius(), 15.0f},     {station.GetRadius(), 110.0f},
      {float(target.GetHitLimit()), 1.0f}, {spawner.GetBoundingSphere().radius, 200.0f},
      {zone.GetRadius(), 50.0f},     {shot.GetSpeed(), 5000.0f},     {shot.GetRadius(), 30.0f},
      {e3.GetSpeed(), 1000.0f},      {e6.GetSpeed(), 900.0f},        {e8.GetSpeed(), 4000.0f},
      {e8.GetRadius(), 30.0f},       {b1.GetSpeed(), 650.0f},        {b1.GetRadius(), 70.0f},
      {b1l.GetRadius(), 30.0f}};
  for (size_t i = 0; i < std::size(values); ++i) EXPECT_EQ(values[i].first, values[i].second) << "row " << i;
  EXPECT_FLOAT_EQ(zone.GetScale(), 1.0f + 2.0f * 0.02f);
  EXPECT_TRUE(spawner.IsEnabled() && zone.IsAlive());
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
  EXPECT_EQ(std::make_tuple(spawner.GetOption(0).type, spawner.GetOption(0).randomFacing, spawner.GetOption(2).percent),
            std::make_tuple(1u, 1, 20));
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
  EXPECT_FALSE(link.IsFlowing() || circuit.IsVisited() || connector.IsVisited());
}

}  // namespace
