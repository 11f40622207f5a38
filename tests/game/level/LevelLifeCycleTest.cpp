#include "game/level/LevelFixture.h"

#include "engine/app/Application.h"
#include "engine/resources/Mesh.h"
#include "game/world/GameGlobals.h"
#include "platform/Log.h"

#include <tuple>

namespace {

using leveltest::LevelTest;

template <class T>
int CountOf(const std::list<CEnemy*>& enemies) {
  int n = 0;
  for (CEnemy* enemy : enemies)
    if (dynamic_cast<T*>(enemy)) ++n;
  return n;
}

TEST_F(LevelTest, PrepareRestoresTheTuningValuesAndRunsTheLevelScript) {
  g_Enemy1Speed = g_Enemy2Speed = g_Enemy3Speed = g_Enemy6Speed = 1.0f;
  g_Enemy1RangeSq = g_Enemy2RangeSq = g_Enemy3RangeSq = g_Enemy6RangeSq = 2.0f;
  g_EnemyGeneratorRearmTime = 3.0f;
  g_Boss0Health = 7;
  g_AbilityScriptFile = "Ability.lua";
  level->EnableCircuits(true);
  level->SetCheckpoint(1, 2, 3);
  level->SetFinished(true);
  level->AddActiveReceptors(2);
  WriteCounter("Level1.lua");

  EXPECT_TRUE(level->Prepare("Level1.lua"));
  EXPECT_EQ(Count("Level1.lua"), 1);
  EXPECT_EQ(std::make_tuple(g_Enemy1Speed, g_Enemy2Speed, g_Enemy3Speed, g_Enemy6Speed),
            std::make_tuple(580.0f, 80.0f, 80.0f, 300.0f));
  EXPECT_EQ(std::make_tuple(g_Enemy1RangeSq, g_Enemy2RangeSq, g_Enemy3RangeSq, g_Enemy6RangeSq),
            std::make_tuple(2.25e6f, 360000.0f, 9e6f, 1.44e6f));
  EXPECT_EQ(g_EnemyGeneratorRearmTime, 30.0f);
  EXPECT_EQ(g_Boss0Health, 7);  // the bosses' values are the scripts' alone
  EXPECT_EQ(g_AbilityScriptFile, "");
  EXPECT_EQ(host.radiationClears, 1);
  EXPECT_TRUE(level->IsGenerationRadiusOn());
  EXPECT_FALSE(level->AreCircuitsEnabled());
  EXPECT_FALSE(level->IsCheckpointSet());
  EXPECT_FALSE(level->IsFinished());
  EXPECT_EQ(level->GetActiveReceptors(), 0);
  g_Boss0Health = TuningDefaults::BOSS0_HEALTH;

  // A missing script: false, the defaults stay in force.
  g_Enemy1Speed = 5.0f;
  EXPECT_FALSE(level->Prepare("Missing.lua"));
  EXPECT_EQ(g_Enemy1Speed, 580.0f);
}

TEST_F(LevelTest, StartResetsTheWorldAndTheHudThenRunsTheInitScript) {
  UseInitScript("Init.lua");
  level->SetFinished(true);
  EXPECT_TRUE(level->Start());
  EXPECT_EQ(Count("Init.lua"), 1);
  EXPECT_FALSE(level->IsFinished());
  EXPECT_EQ(std::make_tuple(host.worldResets, host.hud.keyItemResets, host.hud.counterResets, host.hud.messageBoxShows),
            std::make_tuple(1, 1, 1, 1));
  EXPECT_EQ(std::make_pair(host.hud.lastShow, host.hud.lastSeconds), std::make_pair(false, 7.0f));

  level->SetInitScript("Missing_Init.lua");
  EXPECT_FALSE(level->Start());
  EXPECT_TRUE(level->GetEnemies().empty());

  // An init script cut short before its objectives runs, and says the level can't end.
  std::vector<std::string> lines;
  platform::SetLogHook([&](platform::LogLevel, const std::string& text) { lines.push_back(text); });
  level->SetInitScript("Init.lua");
  EXPECT_TRUE(level->Start());
  level->AddObjective("EXIT", L"Exit");
  EXPECT_TRUE(level->Start());
  platform::SetLogHook(nullptr);
  EXPECT_EQ(lines, std::vector<std::string>{"level init script Init.lua set no objectives: this level never ends "
                                            "(is its level or init script cut short?)"});
}

TEST_F(LevelTest, TheFirstBossLevelHoldsExactlyTwoBossesAfterEveryRestart) {
  UseInitScript("LevelIntermedio_Init.lua");
  ASSERT_TRUE(level->Start());
  for (int i = 0; i < 5; ++i) level->Restart();
  EXPECT_EQ(Count("LevelIntermedio_Init.lua"), 6);
  ASSERT_EQ(level->GetEnemies().size(), 2u);
  ASSERT_EQ(CountOf<CBoss0>(level->GetEnemies()), 2);
  CEnemy* first = level->GetEnemies().front();
  CEnemy* second = level->GetEnemies().back();
  EXPECT_EQ(first->GetPosition(), D3DXVECTOR3(-200.0f, -200.0f, 0.0f));
  EXPECT_EQ(second->GetPosition(), D3DXVECTOR3(200.0f, 200.0f, 0.0f));
  EXPECT_EQ(std::make_pair(first->GetColour(), second->GetColour()), std::make_pair(0u, 1u));
  EXPECT_TRUE(first->IsBoss());
  EXPECT_EQ(first->GetHealth(), static_cast<uint32_t>(g_Boss0Health));
  EXPECT_EQ(first->GetHeadingWindow(), 300);
  EXPECT_TRUE(entitytest::IsListedUnder(*first, Root()));
  EXPECT_EQ(RootChildren(), baseRootChildren + 2);
}

TEST_F(LevelTest, TheSecondBossLevelHoldsOneBossAndBossScriptNamesAreCaseSensitive) {
  UseInitScript("Level12_Init.lua");
  ASSERT_TRUE(level->Start());
  level->Restart();
  ASSERT_EQ(level->GetEnemies().size(), 1u);
  ASSERT_EQ(CountOf<CBoss1>(level->GetEnemies()), 1);
  CEnemy* boss = level->GetEnemies().front();
  EXPECT_EQ(boss->GetPosition(), D3DXVECTOR3(-51.0f, 6680.0f, 0.0f));
  EXPECT_EQ(boss->GetHealth(), 1550u);
  EXPECT_EQ(boss->GetRadius(), 280.0f);
  EXPECT_TRUE(boss->IsBoss());
  level->Unload();
  UseInitScript("levelintermedio_init.lua");
  ASSERT_TRUE(level->Start());
  EXPECT_TRUE(level->GetEnemies().empty());
}

TEST_F(LevelTest, CheckpointRestartsMoveOnlyThePlayer) {
  UseInitScript("Init.lua");
  ASSERT_TRUE(level->Start());
  level->GetEnemy3Bullets().emplace_back().AddToScene();
  level->AddSprite("Statue", "None.X", 0, 0, 0, 0);
  level->AddObjective("Reach", L"Reach the door");
  level->SetObjectiveComplete("Reach", true);
  level->GetTimer("Clock").Start();
  level->SetCheckpoint(10.0f, 20.0f, 0.0f);

  for (int i = 0; i < 2; ++i) level->Restart();
  EXPECT_EQ(std::make_tuple(host.respawns, host.respawnsKeepingPower, host.moves), std::make_tuple(2, 2, 2));
  EXPECT_EQ(host.lastMove, D3DXVECTOR3(10.0f, 20.0f, 0.0f));
  EXPECT_EQ(host.hud.messageBoxHides, 2);
  EXPECT_EQ(Count("Init.lua"), 1);  // the init script did not run again
  EXPECT_EQ(level->GetEnemy3Bullets().size(), 1u);
  EXPECT_EQ(level->GetSprites().size(), 1u);
  EXPECT_TRUE(level->GetObjectiveComplete("Reach"));
  EXPECT_TRUE(level->GetTimer("Clock").IsRunning());
  EXPECT_TRUE(level->IsCheckpointSet());
}

TEST_F(LevelTest, AFullRestartEmptiesWhatTheInitScriptMakesAgain) {
  WriteCounter("Tick.lua");
  UseInitScript("Init.lua");
  ASSERT_TRUE(level->Start());
  // A trigger loaded enabled, then switched off by play.
  level->GetTriggerManager().AddCircularTrigger("Tick.lua", "Door", D3DXVECTOR3(0, 0, 0), true, 100.0f, 0);
  level->GetTriggerManager().EnableTrigger("Door", false);
  const auto add = [](auto& list) { list.emplace_back().AddToScene(); };
  CLevel& l = *level;
  add(l.GetBullets()), add(l.GetEnemy2Bullets()), add(l.GetEnemy3Bullets()), add(l.GetEnemy6Bullets());
  add(l.GetEnemy8Bullets()), add(l.GetBoss0Bullets()), add(l.GetBoss0AbilityBullets()), add(l.GetBoss1Bullets());
  add(l.GetBoss1Lasers()), add(l.GetSouls());
  CEntity* effect = new CParticleSystemEntity();
  level->GetEffects().push_back(effect);
  effect->AddToScene();
  CEnemy* enemy = new CEnemy(1);
  level->GetEnemies().push_back(enemy);
  enemy->AddToScene();
  CSlowDowner& zone = level->GetSlowDowners().emplace_back(D3DXVECTOR3(0, 0, 0), 100.0f, 3.0f, 1.0f, 0.0f);
  Nembra::g_pSceneManager->AddNode(&zone);
  level->AddMarker("Goal", 0, 0, 0, 50.0f, "Marker.tga");
  level->AddSprite("Statue", "None.X", 0, 0, 0, 0);
  level->AddObjective("Only", L"The only one");
  level->SetObjectiveComplete("Only", true);
  ASSERT_TRUE(level->IsFinished());
  CLevelTimer& timer = level->GetTimer("Clock");
  timer.RegisterEvent(5.0f, "Tick.lua");
  timer.Start();
  Nembra::g_FrameTime = 1.5f;
  timer.Update();
  g_EnemyGeneratorRearmTime = 4.0f;
  level->AddActiveReceptors(3);
  ASSERT_GT(RootChildren(), baseRootChildren + 10);

  level->Restart();
  EXPECT_EQ(Count("Init.lua"), 2);
  EXPECT_EQ(std::make_tuple(host.respawns, host.respawnsKeepingPower, host.moves), std::make_tuple(1, 0, 0));
  EXPECT_EQ((std::vector<size_t>{l.GetBullets().size(), l.GetEnemy2Bullets().size(), l.GetEnemy3Bullets().size(),
                                 l.GetEnemy6Bullets().size(), l.GetEnemy8Bullets().size(), l.GetBoss0Bullets().size(),
                                 l.GetBoss0AbilityBullets().size(), l.GetBoss1Bullets().size(),
                                 l.GetBoss1Lasers().size(), l.GetEffects().size(), l.GetEnemies().size(),
                                 l.GetSouls().size(), l.GetSlowDowners().size(), l.GetMarkers().size(),
                                 l.GetSprites().size()}),
            std::vector<size_t>(15, 0));
  EXPECT_EQ(RootChildren(), baseRootChildren + 1);  // the trigger stays
  EXPECT_FALSE(level->GetObjectiveComplete("Only"));
  EXPECT_EQ(level->GetObjectiveMap().size(), 1u);  // texts kept
  EXPECT_EQ(level->GetCompletedObjectives(), 0);
  EXPECT_FALSE(level->IsFinished());
  EXPECT_EQ(timer.GetTime(), 0.0f);
  EXPECT_FALSE(timer.IsRunning());
  EXPECT_EQ(timer.GetEvents().size(), 1u);
  ASSERT_NE(level->GetTriggerManager().FindCircular("Door"), nullptr);
  EXPECT_TRUE(level->GetTriggerManager().FindCircular("Door")->IsEnabled());
  EXPECT_EQ(g_EnemyGeneratorRearmTime, 30.0f);
  EXPECT_EQ(level->GetActiveReceptors(), 0);
  EXPECT_EQ(std::make_pair(host.hud.keyItemResets, host.hud.counterResets), std::make_pair(2, 2));
  // Finishing the same objective again finishes the level again.
  level->SetObjectiveComplete("Only", true);
  EXPECT_TRUE(level->IsFinished());
}

TEST_F(LevelTest, UnloadLeavesNothingForTheNextLevel) {
  WriteCounter("Tick.lua");
  WriteQuadMesh("Ground.X", 1000.0f);
  UseInitScript("Init.lua");
  ASSERT_TRUE(level->Start());
  ASSERT_TRUE(level->LoadTerrain("Ground.X"));
  level->AddSprite("Statue", "Ground.X", 0, 0, 0, 0);
  level->AddAnimatedSprite("Flag", "None.X", 0, 0, 0, 0, "Wave", true, "End.lua");
  level->AddMarker("Goal", 0, 0, 0, 50.0f, "Marker.tga");
  level->AddObjective("Only", L"The only one");
  level->GetTimer("Clock").RegisterEvent(1.0f, "Tick.lua");
  level->AddPointLight("Lamp");
  level->AddSpotLight("Spot");
  level->GetTriggerManager().AddCircularTrigger("Tick.lua", "Door", D3DXVECTOR3(0, 0, 0), true, 100.0f, 0);
  CCollisionShape wall;
  wall.BuildBox(D3DXVECTOR3(0, 0, 0), 100, 100, 0);
  level->AddCollisionShape(&wall, COL_TIGHT);
  COLLISION_FILE walls;
  walls.shapes.push_back(SHAPE_RECORD{{{0, 0, 0}, {10, 0, 0}}});
  ASSERT_TRUE(level->GetCollision().AddStaticShapes(walls, COL_PLAYER));
  level->GetItems().emplace_back().AddToScene();
  level->GetEnemyGenerators().emplace_back();
  level->GetLaser("Beam");
  CEnemy* enemy = new CEnemy(0);
  level->GetEnemies().push_back(enemy);
  enemy->AddToScene();
  ASSERT_EQ(Nembra::g_pSceneManager->GetLights().size(), 2u);

  level->Unload();
  // Deleting every light empties the whole scene tree, camera included.
  EXPECT_EQ(RootChildren(), 0u);
  EXPECT_EQ(level->GetTerrainMeshName(), "");
  EXPECT_EQ(level->GetTerrain().GetMesh(), nullptr);
  CLevel& l = *level;
  EXPECT_EQ((std::vector<size_t>{l.GetSprites().size(), l.GetAnimatedSprites().size(), l.GetMarkers().size(),
                                 l.GetObjectiveMap().size(), l.GetObjectiveOrder().size(), l.GetTimers().size(),
                                 l.GetLasers().size(), l.GetItems().size(), l.GetEnemies().size(),
                                 l.GetEnemyGenerators().size(), l.GetLights().Count(),
                                 Nembra::g_pSceneManager->GetLights().size(), l.GetTriggerManager().CircularCount()}),
            std::vector<size_t>(13, 0));
  EXPECT_EQ(std::make_pair(host.lightNotices, host.hud.digitalTimerHides), std::make_pair(1, 1));
  for (int c = 0; c < COLLISION_CLASS_COUNT; ++c)
    EXPECT_TRUE(l.GetCollision().GetStaticShapes(c).empty() && l.GetCollision().GetObjectShapes(c).empty()) << c;
  EXPECT_EQ(Nembra::g_pSimpleMeshFactory->Find("Ground.X"), nullptr);  // every reference given back

  // The next level starts from nothing.
  WriteCounter("Next_Init.lua");
  ASSERT_TRUE(level->Prepare("Next_Init.lua"));
  level->SetInitScript("Next_Init.lua");
  ASSERT_TRUE(level->Start());
  EXPECT_EQ(RootChildren(), 0u);
  EXPECT_FALSE(level->GetObjectiveComplete("Only"));
  EXPECT_EQ(level->GetLights().Find("LAMP"), nullptr);
}

TEST_F(LevelTest, BombsAreDeletedOnceWhateverReplacesThem) {
  UseInitScript("Init.lua");
  level->AddBomb(1, 2, 3, 1, 3.0f);
  CBomb* first = level->GetBomb();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->GetPosition(), D3DXVECTOR3(1, 2, 3));
  EXPECT_EQ(first->GetFuse(), 3.0f);
  EXPECT_TRUE(entitytest::IsListedUnder(*first, Root()));
  level->AddBomb(4, 5, 6, 0, 0.0f);  // the first goes
  ASSERT_NE(level->GetBomb(), nullptr);
  EXPECT_EQ(RootChildren(), baseRootChildren + 1);
  EXPECT_FALSE(level->GetBomb()->GetSprite().IsVisible());

  level->Restart();  // a restart deletes the bomb and forgets it
  EXPECT_EQ(level->GetBomb(), nullptr);
  EXPECT_EQ(RootChildren(), baseRootChildren);

  level->AddBomb(0, 0, 0, 1, 1.0f);
  level->Unload();  // the bomb outlives an unload...
  EXPECT_NE(level->GetBomb(), nullptr);
  ASSERT_TRUE(level->Start());  // ...and goes when the next level starts
  EXPECT_EQ(level->GetBomb(), nullptr);
  EXPECT_EQ(RootChildren(), 0u);
  level->AddBomb(0, 0, 0, 1, 1.0f);  // the level's destructor deletes the last
}

TEST_F(LevelTest, TheNewestLevelIsTheCurrentOne) {
  EXPECT_EQ(CLevel::Current(), level.get());
  {
    CLevel other;
    EXPECT_EQ(CLevel::Current(), &other);
  }
  EXPECT_EQ(CLevel::Current(), nullptr);
  CLevel::SetCurrent(level.get());
  EXPECT_EQ(CLevel::Current(), level.get());
}

TEST_F(LevelTest, WithoutAHostTheWorldAndHudCallsDoNothing) {
  level->SetHost(nullptr);
  UseInitScript("Init.lua");
  EXPECT_TRUE(level->Prepare("Init.lua"));
  EXPECT_TRUE(level->Start());
  level->SetCheckpoint(1, 1, 1);
  level->Restart();
  level->Unload();
  EXPECT_EQ(host.worldResets + host.respawns + host.hud.keyItemResets, 0);
}

}  // namespace
