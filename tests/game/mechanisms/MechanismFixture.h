#pragma once
// A headless game world on a copy of the generated demo data, for the
// mechanisms' scenarios: the world's level built from tool-written items
// files, its player placed by hand and shooting from the origin, frames of
// 0.02 s (the level's update, then the scene's update and drawing), counter
// scripts and a HUD that records the calls the mechanisms make.
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "engine/resources/Mesh.h"
#include "game/actors/EntitySceneFixture.h"
#include "game/mechanisms/MechanismEffects.h"
#include "game/script/GameScript.h"
#include "game/script/ScriptVariables.h"
#include "game/world/GameWorld.h"
#include "platform/Files.h"
#include "tools/formats/LevelFiles.h"

namespace mechtest {

class RecordingHud : public CLevelHud {
 public:
  void SetCheckpoint(bool shown) override {
    ++checkpointCalls;
    checkpointShown = shown;
  }
  void ShowWeaponUpBanner() override { ++weaponBanners; }

  int checkpointCalls = 0;
  bool checkpointShown = false;
  int weaponBanners = 0;
};

// The world with the shared meshes of boxes, barrels and items taken from
// the data folder, and the recording HUD.
class TestWorld : public CGameWorld {
 public:
  ~TestWorld() override {
    for (auto& held : m_Meshes) held.second.Reset();
  }
  CLevelHud* GetHud() override { return &hud; }
  Nembra::CSimpleMesh* GetItemMesh(int32_t kind, int32_t subKind) override {
    if (kind == 1 && subKind >= 1 && subKind <= 3) return Mesh("Health" + std::to_string(subKind) + ".X");
    if (kind == 2 && (subKind == 2 || subKind == 3)) return Mesh("WeaponUp" + std::to_string(subKind) + ".X");
    if (kind == 3) return Mesh("Ability.X");
    return nullptr;
  }
  Nembra::CSimpleMesh* GetBoxMesh(int32_t power) override {
    return power >= 1 && power <= 3 ? Mesh("Box" + std::to_string(power) + ".X") : nullptr;
  }
  Nembra::CSimpleMesh* GetBarrelMesh() override { return Mesh("Barrel.X"); }

  RecordingHud hud;

 private:
  Nembra::CSimpleMesh* Mesh(const std::string& name) {
    CHeldMesh& held = m_Meshes[name];
    return held.Get() ? held.Get() : held.Take(name);
  }
  std::map<std::string, CHeldMesh> m_Meshes;
};

// A level object's place at (x, y), raised by z, turned by an angle about the vertical.
inline LEVEL_PAIR At(float x, float y, float z = 0.0f, float angle = 0.0f) {
  LEVEL_PAIR pair = formats::At(x, y, angle);
  pair.position.z = z;
  return pair;
}

inline ITEM_RECORD Item(int32_t kind, int32_t subKind, const std::string& script, const LEVEL_PAIR& pair) {
  ITEM_RECORD item;
  item.kind = kind;
  item.subKind = subKind;
  item.scriptFile = script;
  item.pair = pair;
  return item;
}

inline WIRE_GRATE_RECORD Grate(const LEVEL_PAIR& pair, const std::string& script = "",
                               const std::string& description = "WireGrate_Desc.txt") {
  WIRE_GRATE_RECORD grate;
  grate.descriptionFile = description;
  grate.scriptFile = script;
  grate.pair = pair;
  return grate;
}

inline BARREL_RECORD Barrel(float x, float y) {
  BARREL_RECORD barrel;
  barrel.pair = At(x, y);
  return barrel;
}

class MechanismTest : public entitytest::EntitySceneTest {
 protected:
  void SetUp() override {
    entitytest::EntitySceneTest::SetUp();
    std::filesystem::copy(KARVESSA_DEMO_DATA_DIR, Nembra::g_DataDirectory,
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
    // Every resource comes from the data folder itself, as the game sets it.
    for (std::string* folder : Nembra::ResourceDirectories()) {
      m_SavedFolders.push_back(*folder);
      *folder = Nembra::g_DataDirectory;
    }
    Nembra::g_ScriptDirectory = Nembra::g_DataDirectory + "Scripts/";
    platform::ClearPathCache();
    g_ScriptVars.clear();
    g_ScriptFlags.clear();
    ASSERT_TRUE(g_GameScript.Open());
    world = std::make_unique<TestWorld>();
    level = &world->GetLevel();
    PlacePlayer(D3DXVECTOR3(-5000.0f, -5000.0f, 0.0f));
  }
  void TearDown() override {
    world.reset();
    g_GameScript.Close();
    platform::ClearPathCache();
    for (size_t i = 0; i < m_SavedFolders.size(); ++i) *Nembra::ResourceDirectories()[i] = m_SavedFolders[i];
    entitytest::EntitySceneTest::TearDown();
  }

  CPlayer& Player() { return world->GetPlayer(); }
  void PlacePlayer(const D3DXVECTOR3& position) {
    Player().SetPosition(position);
    Player().UpdateWorldMatrix();
  }
  // One frame of play: the level, then the scene.
  void Step() {
    level->Update();
    Frame();
  }
  void Steps(int count) {
    for (int i = 0; i < count; ++i) Step();
  }
  // The player's shot from the origin along the direction.
  void Shoot(int colour, uint32_t power, const D3DXVECTOR3& direction) {
    Player().SetShotDirection(direction);
    level->AddBullet(colour, power);
  }
  // Steps until the shot list is empty (at most 30 frames).
  void StepUntilShotsGone() {
    for (int i = 0; i < 30 && !level->GetBullets().empty(); ++i) Step();
  }
  bool Load(const ITEMS_FILE& file, const std::string& name = "Test.itm") {
    WriteData(name, ToString(formats::ItemsFileBytes(file)));
    platform::ClearPathCache();
    return level->LoadItems(name);
  }
  void WriteScript(const std::string& name, const std::string& code) {
    WriteData("Scripts/" + name, code);
    platform::ClearPathCache();
  }
  // A script that counts its runs in the variable of its own name.
  void WriteCounter(const std::string& name) { WriteScript(name, "IncVar(\"" + name + "\")\n"); }
  int Count(const std::string& name) { return VarTableGet(name); }
  void RemoveData(const std::string& name) {
    std::filesystem::remove(Nembra::g_DataDirectory + name);
    platform::ClearPathCache();
  }

  size_t ObjectShapes(int collisionClass) const {
    return level->GetCollision().GetObjectShapes(collisionClass).size();
  }
  int Registrations(const CCollisionShape* shape, int collisionClass) const {
    int count = 0;
    for (const CCollisionShape* s : level->GetCollision().GetObjectShapes(collisionClass)) count += s == shape;
    return count;
  }
  // How often an object's box 0 is in the tight class and its box 1 in the character class.
  template <class Object>
  std::pair<int, int> BoxRegistrations(Object& object) const {
    return {Registrations(&object.GetCollisionBox(0), COL_TIGHT),
            Registrations(&object.GetCollisionBox(1), COL_CHARACTER)};
  }
  std::vector<const CCollisionShape*> ShapeList(int collisionClass) const {
    const auto& list = level->GetCollision().GetObjectShapes(collisionClass);
    return std::vector<const CCollisionShape*>(list.begin(), list.end());
  }
  template <class Effect>
  std::vector<Effect*> EffectsOf() const {
    std::vector<Effect*> found;
    for (CEntity* effect : level->GetEffects())
      if (auto* typed = dynamic_cast<Effect*>(effect)) found.push_back(typed);
    return found;
  }
  // Whether a path through the point, across x, meets an object shape.
  bool Blocks(const D3DXVECTOR3& at, int collisionClass) const {
    const float from[3] = {at.x - 400.0f, at.y, 0.0f}, to[3] = {at.x + 400.0f, at.y, 0.0f};
    float hit[3], normal[3], distance = 0.0f;
    return level->CheckCollision(from, to, 0.0f, hit, distance, normal, collisionClass, true);
  }
  size_t RootChildren() const { return Root()->GetChildren().size(); }

  static std::string ToString(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

  std::unique_ptr<TestWorld> world;
  CLevel* level = nullptr;

 private:
  std::vector<std::string> m_SavedFolders;
};

}  // namespace mechtest
