// The world's shared meshes on the generated data: the 28 files of the
// table, the getters by kind, level and colour, the generators' and wave
// weapons' depth writes, and a data folder missing some of them.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "engine/resources/Mesh.h"
#include "engine/resources/Shader.h"
#include "engine/resources/SkinnedMesh.h"
#include "engine/resources/Texture.h"
#include "engine/scene/Camera.h"
#include "engine/sound/WaveSound.h"
#include "frontend/pda/apps/PDAAppObjectives.h"
#include "platform/Files.h"
#include "scenario/WorldScenario.h"

namespace {

// A second world for a test, the scenario's put back as the game's when it goes.
struct ExtraWorld {
  explicit ExtraWorld(scenario::WorldScenario& w) : owner(w) {}
  ~ExtraWorld() {
    world.reset();
    g_pGameWorld = &owner.World();
    CLevel::SetCurrent(&owner.Level());
  }
  scenario::WorldScenario& owner;
  std::unique_ptr<CGameWorld> world = std::make_unique<CGameWorld>();
};

TEST(WorldMeshes, AllTwentyEightLoadAndTheGettersPickByKindLevelAndColour) {
  scenario::WorldScenario w;
  ASSERT_TRUE(w.Ready()) << w.Problem();
  ExtraWorld extra(w);
  CGameWorld& world = *extra.world;
  EXPECT_FALSE(world.Init(nullptr));
  for (int slot = 0; slot <= CGameWorld::MESH_SLOTS + 1; ++slot) EXPECT_EQ(world.GetMeshSlot(slot), nullptr) << slot;

  Nembra::CCamera camera;
  ASSERT_TRUE(world.Init(&camera));
  int loaded = 0;
  for (int slot = 1; slot <= CGameWorld::MESH_SLOTS; ++slot)
    if (world.GetMeshSlot(slot)) ++loaded;
    else EXPECT_EQ(slot, 6) << CGameWorld::MeshFile(slot);
  EXPECT_EQ(loaded, 28);
  EXPECT_EQ(world.GetMeshSlot(26), Nembra::g_pSkinnedMeshFactory->Get("TargetBlue.X"));
  EXPECT_EQ(world.GetMeshSlot(27), Nembra::g_pSkinnedMeshFactory->Get("TargetRed.X"));
  Nembra::g_pSkinnedMeshFactory->Release("TargetBlue.X");
  Nembra::g_pSkinnedMeshFactory->Release("TargetRed.X");
  auto simple = [](const char* name) {
    Nembra::CSimpleMesh* mesh = Nembra::g_pSimpleMeshFactory->Get(name);
    Nembra::g_pSimpleMeshFactory->Release(name);
    return mesh;
  };
  // The ten kinds and levels of items and boxes, each its own shape (kind 3 at any level).
  struct Mesh {
    Nembra::CSimpleMesh* got;
    const char* file;  // null: none
  };
  for (const Mesh& m : {Mesh{world.GetItemMesh(1, 1), "Health1.X"}, {world.GetItemMesh(1, 3), "Health3.X"},
                        {world.GetItemMesh(1, 0), nullptr}, {world.GetItemMesh(1, 4), nullptr},
                        {world.GetItemMesh(2, 1), nullptr}, {world.GetItemMesh(2, 2), "WeaponUp2.X"},
                        {world.GetItemMesh(2, 3), "WeaponUp3.X"}, {world.GetItemMesh(3, 0), "Ability.X"},
                        {world.GetItemMesh(3, 77), "Ability.X"}, {world.GetItemMesh(4, 1), nullptr},
                        {world.GetBoxMesh(1), "Box1.X"}, {world.GetBoxMesh(3), "Box3.X"},
                        {world.GetBoxMesh(0), nullptr}, {world.GetBoxMesh(4), nullptr}})
    EXPECT_EQ(m.got, m.file ? simple(m.file) : nullptr) << (m.file ? m.file : "none");
  EXPECT_EQ(world.GetBarrelMesh(), simple("Barrel.X"));
  // Colour 1 is blue; every other colour red.
  for (uint32_t colour : {0u, 2u, 1u}) {
    const bool blue = colour == 1;
    EXPECT_EQ(world.GetGeneratorMesh(colour), simple(blue ? "GeneratorBlue.X" : "GeneratorRed.X"));
    EXPECT_EQ(world.GetGeneratorBarMesh(colour), simple(blue ? "GenBarBlue.X" : "GenBarRed.X"));
    EXPECT_EQ(world.GetReceptorOnMesh(colour), simple(blue ? "ReceptorOnBlue.X" : "ReceptorOnRed.X"));
    EXPECT_EQ(world.GetReceptorOffMesh(colour), simple(blue ? "ReceptorOffBlue.X" : "ReceptorOffRed.X"));
    EXPECT_EQ(world.GetWaveWeaponMesh(colour), simple(blue ? "WaveWeaponBlue.X" : "WaveWeaponRed.X"));
    EXPECT_EQ(world.GetTargetMesh(colour), world.GetMeshSlot(blue ? 26 : 27));
  }
  EXPECT_EQ(world.GetConnectorOffMesh(), simple("ConnectorOff.X"));
  EXPECT_EQ(world.GetConnectorOnMesh(), simple("ConnectorOn.X"));
  EXPECT_EQ(world.GetConnectorBlueMesh(), simple("ConnectorBlue.X"));
  EXPECT_EQ(world.GetConnectorRedMesh(), simple("ConnectorRed.X"));
  // Every slot a mesh of its own.
  for (int a = 1; a <= CGameWorld::MESH_SLOTS; ++a)
    for (int b = a + 1; b <= CGameWorld::MESH_SLOTS && world.GetMeshSlot(a); ++b)
      EXPECT_NE(world.GetMeshSlot(a), world.GetMeshSlot(b)) << a << " " << b;

  // Subset 1 of the generators and wave weapons writes no depth.
  for (int slot : {11, 12, 28, 29}) {
    auto* mesh = static_cast<Nembra::CSimpleMesh*>(world.GetMeshSlot(slot));
    ASSERT_GE(mesh->GetSubsets().size(), 2u) << slot;
    Nembra::STATE_ENTRY* entry = mesh->GetSubsets()[1].GetShader()->RenderEntry(platform::D3DRS_ZWRITEENABLE);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->value, 0u) << slot;
    EXPECT_EQ(entry->defined, 1) << slot;
    Nembra::STATE_ENTRY* first = mesh->GetSubsets()[0].GetShader()->RenderEntry(platform::D3DRS_ZWRITEENABLE);
    EXPECT_FALSE(first->defined && first->value == 0u) << slot;
  }
  // The cursor: the arrow's 16 x 16 centred on the mouse.
  ASSERT_NE(world.GetCursor().GetTexture(), nullptr);
  EXPECT_EQ(world.GetCursor().GetTexture()->GetWidth(), 16u);
  EXPECT_EQ(world.GetCursor().m_Center, D3DXVECTOR3(8, 8, 0));
  EXPECT_NE(world.GetAbilitySound(), nullptr);
  // The world gives back each shared mesh and sound as it goes.
  auto refs = [](auto* factory, const char* name) { return factory->Find(name)->GetRefCount(); };
  const std::array<uint32_t, 3> held{refs(Nembra::g_pSimpleMeshFactory, "Barrel.X"),
                                     refs(Nembra::g_pSkinnedMeshFactory, "TargetRed.X"),
                                     refs(Nembra::g_pWaveSoundFactory, CGameWorld::WALL_HIT_SOUND)};
  extra.world.reset();
  EXPECT_EQ((std::array<uint32_t, 3>{refs(Nembra::g_pSimpleMeshFactory, "Barrel.X"),
                                     refs(Nembra::g_pSkinnedMeshFactory, "TargetRed.X"),
                                     refs(Nembra::g_pWaveSoundFactory, CGameWorld::WALL_HIT_SOUND)}),
            (std::array<uint32_t, 3>{held[0] - 1, held[1] - 1, held[2] - 1}));
}

TEST(WorldMeshes, MissingAndOneSubsetGeneratorMeshesAreLoggedAndInitStillSucceeds) {
  scenario::WorldScenario::Options options;
  options.writableData = true;
  options.loadPlayer = false;
  scenario::WorldScenario w(options);
  ASSERT_TRUE(w.Ready()) << w.Problem();
  const std::string data = w.Screen().DataFolder();
  // The scenario's world lets go of the two (a factory reads a file
  // again once no one holds its mesh); a new world finds them damaged.
  ExtraWorld extra(w);
  std::filesystem::remove(data + "GeneratorBlue.X");
  std::filesystem::copy_file(data + "Barrel.X", data + "WaveWeaponRed.X",
                             std::filesystem::copy_options::overwrite_existing);
  platform::ClearPathCache();
  for (const char* name : {"GeneratorBlue.X", "WaveWeaponRed.X"})
    for (int i = 0; i < 8 && Nembra::g_pSimpleMeshFactory->Find(name); ++i) Nembra::g_pSimpleMeshFactory->Release(name);
  Nembra::CCamera camera;
  EXPECT_TRUE(extra.world->Init(&camera));
  EXPECT_EQ(extra.world->GetMeshSlot(11), nullptr);
  ASSERT_NE(extra.world->GetMeshSlot(29), nullptr);
  EXPECT_EQ(static_cast<Nembra::CSimpleMesh*>(extra.world->GetMeshSlot(29))->GetSubsets().size(), 1u);
  EXPECT_NE(extra.world->GetMeshSlot(12), nullptr);
}

TEST(WorldMeshes, ThePdaListsTheWorldLevelsObjectives) {
  EXPECT_TRUE(CurrentLevelObjectives().empty()) << "no world";
  scenario::WorldScenario w;
  ASSERT_TRUE(w.Ready()) << w.Problem();
  EXPECT_TRUE(CurrentLevelObjectives().empty());
  w.Level().AddObjective("a", L"Reach the lift");
  w.Level().AddObjective("b", L"Open the door");
  w.Level().SetObjectiveComplete("b", true);
  const std::vector<PDAObjective> list = CurrentLevelObjectives();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].text, L"Reach the lift");
  EXPECT_FALSE(list[0].complete);
  EXPECT_EQ(list[1].text, L"Open the door");
  EXPECT_TRUE(list[1].complete);
}

}  // namespace
