#include "game/level/LevelFixture.h"

#include "engine/resources/Mesh.h"
#include "engine/scene/Light.h"

#include <tuple>

namespace {

using leveltest::LevelTest;

uint32_t RefCount(const std::string& mesh) {
  Nembra::CSimpleMesh* found = Nembra::g_pSimpleMeshFactory->Find(mesh);
  return found ? found->GetRefCount() : 0u;
}

TEST_F(LevelTest, ARepeatedSpriteNameKeepsTheFirstSprite) {
  WriteQuadMesh("A.X");
  WriteQuadMesh("B.X");
  level->AddSprite("Statue", "A.X", 10, 20, 30, 1.0f);
  level->AddSprite("Statue", "B.X", 0, 0, 0, 0.0f);
  ASSERT_EQ(level->GetSprites().size(), 1u);
  NAMED_SPRITE& entry = level->GetSprites().at("Statue");
  EXPECT_EQ(entry.sprite.GetMesh(), Nembra::g_pSimpleMeshFactory->Find("A.X"));
  EXPECT_EQ(entry.sprite.GetPosition(), D3DXVECTOR3(10, 20, 30));
  EXPECT_EQ(entry.sprite.GetRotation().z, 1.0f);
  EXPECT_EQ(std::make_pair(RefCount("A.X"), RefCount("B.X")), std::make_pair(1u, 0u));
  EXPECT_TRUE(entitytest::IsListedUnder(entry.sprite, Root()));
}

TEST_F(LevelTest, ARemovedNameComesBackOnlyAfterARestartOrUnload) {
  WriteQuadMesh("A.X");
  UseInitScript("Init.lua");
  level->AddSprite("Statue", "A.X", 0, 0, 0, 0);
  level->RemoveSprite("Statue");
  EXPECT_EQ(RootChildren(), baseRootChildren);
  EXPECT_EQ(level->GetSprites().size(), 1u);  // the entry stays
  level->AddSprite("Statue", "A.X", 0, 0, 0, 0);
  EXPECT_EQ(RootChildren(), baseRootChildren);
  EXPECT_EQ(RefCount("A.X"), 0u);

  level->Restart();
  level->AddSprite("Statue", "A.X", 0, 0, 0, 0);
  EXPECT_EQ(RootChildren(), baseRootChildren + 1);
  level->RemoveSprite("Statue");
  level->Unload();  // the scene tree is emptied, camera included
  level->AddSprite("Statue", "A.X", 0, 0, 0, 0);
  EXPECT_EQ(RootChildren(), 1u);
}

TEST_F(LevelTest, SharedMeshCountsComeBackAfterEveryRegistryOperation) {
  WriteQuadMesh("Shared.X");
  WriteQuadMesh("Other.X", 50.0f);
  UseInitScript("Init.lua");
  // Somebody else holds the mesh throughout, so it stays in the factory.
  Nembra::CSimpleMesh* held = Nembra::g_pSimpleMeshFactory->Get("Shared.X");
  ASSERT_NE(held, nullptr);
  const size_t startCount = Nembra::g_pSimpleMeshFactory->GetCount();
  ASSERT_EQ(held->GetRefCount(), 1u);

  level->AddSprite("A", "Shared.X", 0, 0, 0, 0);
  level->AddSprite("B", "Shared.X", 0, 0, 0, 0);
  EXPECT_EQ(held->GetRefCount(), 3u);
  level->RemoveSprite("A");
  level->RemoveSprite("A");  // a second remove gives back nothing more
  EXPECT_EQ(held->GetRefCount(), 2u);
  level->ChangeSpriteMesh("A", "Other.X");  // removed: the new mesh is held, the old not given back twice
  EXPECT_EQ(held->GetRefCount(), 2u);
  EXPECT_EQ(RefCount("Other.X"), 1u);
  level->ChangeSpriteMesh("B", "Other.X");
  EXPECT_EQ(held->GetRefCount(), 1u);
  EXPECT_EQ(RefCount("Other.X"), 2u);
  level->ChangeSpriteMesh("B", "Shared.X");
  level->Restart();  // named sprites go, their meshes given back
  EXPECT_EQ(held->GetRefCount(), 1u);
  EXPECT_EQ(RefCount("Other.X"), 0u);

  ASSERT_TRUE(level->LoadTerrain("Shared.X"));
  ASSERT_TRUE(level->LoadTerrain("Shared.X"));  // a second terrain replaces the first
  EXPECT_EQ(held->GetRefCount(), 2u);
  level->AddSprite("C", "Shared.X", 0, 0, 0, 0);
  level->Restart();  // the terrain survives a restart
  EXPECT_EQ(held->GetRefCount(), 2u);
  level->AddSprite("C", "Shared.X", 0, 0, 0, 0);
  level->Unload();
  EXPECT_EQ(held->GetRefCount(), 1u);
  level->Unload();  // the terrain is given back once only
  EXPECT_EQ(held->GetRefCount(), 1u);
  EXPECT_EQ(Nembra::g_pSimpleMeshFactory->GetCount(), startCount);
  Nembra::g_pSimpleMeshFactory->Release("Shared.X");
}

TEST_F(LevelTest, AMissingTerrainLeavesNoNameAndNoNode) {
  EXPECT_FALSE(level->LoadTerrain("Missing.X"));
  EXPECT_EQ(level->GetTerrainMeshName(), "");
  EXPECT_EQ(RootChildren(), baseRootChildren);
}

TEST_F(LevelTest, ObjectivesKeepOneRecordPerNameAndFinishTheLevel) {
  level->AddObjective("Door", L"Open the door");
  level->AddObjective("Door", L"Open the big door");
  std::list<OBJECTIVE*> listed;
  level->GetObjectives(listed);
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_EQ(listed.front(), listed.back());
  EXPECT_EQ(listed.front()->text, L"Open the big door");
  EXPECT_EQ(level->GetObjectiveMap().size(), 1u);

  level->SetObjectiveComplete("Unknown", true);
  level->SetObjectiveComplete("Door", false);
  EXPECT_FALSE(level->IsFinished());
  level->SetObjectiveComplete("Door", true);
  EXPECT_TRUE(level->IsFinished());
  EXPECT_TRUE(level->GetObjectiveComplete("Door"));
  EXPECT_FALSE(level->GetObjectiveComplete("Unknown"));
  level->SetObjectiveComplete("Door", true);  // already complete: counted once
  EXPECT_EQ(level->GetCompletedObjectives(), 1);
}

TEST_F(LevelTest, TwoObjectivesFinishOnlyWhenBothAreComplete) {
  level->AddObjective("A", L"a");
  level->AddObjective("B", L"b");
  level->SetObjectiveComplete("A", true);
  EXPECT_FALSE(level->IsFinished());
  level->SetObjectiveComplete("B", true);
  EXPECT_TRUE(level->IsFinished());
}

TEST_F(LevelTest, LasersAndTimersAreMadeOnAMiss) {
  CLaser& laser = level->GetLaser("Beam");
  EXPECT_EQ(&level->GetLaser("Beam"), &laser);
  EXPECT_EQ(level->GetLasers().size(), 1u);
  EXPECT_EQ(laser.GetParent(), nullptr);  // not in the scene
  CLevelTimer& timer = level->GetTimer("Clock");
  EXPECT_FALSE(timer.IsRunning());
  EXPECT_EQ(timer.GetTime(), 0.0f);
  EXPECT_EQ(&level->GetTimer("Clock"), &timer);
  level->GetTimer("Other");  // a new timer leaves the first where it is
  EXPECT_EQ(&level->GetTimer("Clock"), &timer);
}

TEST_F(LevelTest, MarkersAreAddedOnceAndRemovedWithoutForgettingTheName) {
  level->AddMarker("Goal", 1, 2, 3, 40.0f, "Marker.tga");
  level->AddMarker("Goal", 9, 9, 9, 40.0f, "Marker.tga");
  ASSERT_EQ(level->GetMarkers().size(), 1u);
  CMarker& marker = level->GetMarkers().at("Goal");
  EXPECT_EQ(marker.GetPosition(), D3DXVECTOR3(1, 2, 3));
  EXPECT_EQ(RootChildren(), baseRootChildren + 1);
  level->ActivateMarker("Goal", true);
  EXPECT_TRUE(marker.IsMarkerActive());
  level->RemoveMarker("Goal");
  EXPECT_EQ(RootChildren(), baseRootChildren);
  EXPECT_EQ(level->GetMarkers().size(), 1u);
}

TEST_F(LevelTest, LightNamesIgnoreCaseAndSettersCommit) {
  level->AddPointLight("Lamp");
  level->AddPointLight("LAMP");
  level->AddDirectionalLight("Sun");
  ASSERT_EQ(level->GetLights().Count(), 2u);
  ASSERT_EQ(Nembra::g_pSceneManager->GetLights().size(), 2u);
  Nembra::CLight* lamp = level->GetLights().Find("lamp");
  ASSERT_NE(lamp, nullptr);
  level->SetLightDiffuse("lAmP", 0.5f, 0.25f, 1.0f, 1.0f);
  level->SetLightRange("Lamp", 800.0f);
  level->SetLightAttenuation("Lamp", 1.0f, 0.5f, 0.25f);
  level->SetLightPosition("Lamp", 10, 20, 30);
  level->TurnOnLight("Lamp", true);
  EXPECT_EQ(std::make_tuple(lamp->GetRecord().Diffuse.g, lamp->GetRecord().Range, lamp->GetRecord().Attenuation2),
            std::make_tuple(0.25f, 800.0f, 0.25f));
  EXPECT_EQ(lamp->GetPosition(), D3DXVECTOR3(10, 20, 30));
  EXPECT_TRUE(lamp->IsOn());
  level->TurnOnLight("Lamp", false);
  EXPECT_FALSE(lamp->IsOn());
  level->AddSpotLight("Spot");
  level->SetLightInnerCone("Spot", 0.25f);
  level->SetLightOuterCone("Spot", 0.75f);
  level->SetLightFalloff("Spot", 2.0f);
  level->SetLightTarget("Spot", 1, 2, 3);
  Nembra::CLight* spot = level->GetLights().Find("SPOT");
  ASSERT_NE(spot, nullptr);
  EXPECT_EQ(std::make_tuple(spot->GetRecord().Theta, spot->GetRecord().Phi, spot->GetRecord().Falloff),
            std::make_tuple(0.25f, 0.75f, 2.0f));
  EXPECT_EQ(spot->GetTarget().GetPosition(), D3DXVECTOR3(1, 2, 3));
  level->SetLightRange("Nobody", 5.0f);  // unknown names do nothing
  level->RemoveLight("Sun");
  EXPECT_EQ(std::make_pair(level->GetLights().Count(), Nembra::g_pSceneManager->GetLights().size()),
            std::make_pair(size_t(2), size_t(2)));
  level->ClearLights();
  EXPECT_EQ(std::make_pair(level->GetLights().Count(), Nembra::g_pSceneManager->GetLights().size()),
            std::make_pair(size_t(0), size_t(0)));
}

}  // namespace
