#include "scenario/WorldScenario.h"

#include <chrono>
#include <filesystem>
#include <fstream>

#include <lua.hpp>

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/scene/SceneManager.h"
#include "game/files/LevelFileRecords.h"
#include "game/script/GameScript.h"
#include "game/script/ScriptVariables.h"
#include "game/world/GameGlobals.h"
#include "scenario/ScenarioInput.h"

namespace scenario {

TestEnemy::TestEnemy(uint32_t colour, float radius, uint32_t energyValue, uint32_t health)
    : CEnemy(colour), m_EnergyValue(energyValue) {
  SetRadius(radius);
  m_MaxHealth = health;
  m_Health = health;
}

void TestEnemy::Kill() {
  TakeDamage(m_Health);
  m_Dying = 1;
  m_Moving = 0;
  m_Active = 0;  // the test enemy has no fade: it is gone at once
}

void TestEnemy::OnShotHit(const CBullet& shot) {
  ++m_ShotHits;
  m_Hit = 1;
  if (shot.GetColour() == m_Colour) return;
  const uint32_t power = g_pGameWorld ? g_pGameWorld->GetPlayer().GetWeapon().GetPower() : 1;
  TakeDamage(power);
  if (IsDead()) Kill();
}

WorldScenario::WorldScenario() : WorldScenario(Options()) {}

WorldScenario::WorldScenario(const Options& options) : m_Options(options) { Start(); }

void WorldScenario::Start() {
  m_Screen = std::make_unique<ScreenScenario>(m_Options);
  if (!m_Screen->Ready()) {
    m_Problem = m_Screen->Problem();
    return;
  }
  g_ScriptVars.clear();
  g_ScriptFlags.clear();
  if (!g_GameScript.Open()) {
    m_Problem = "the Lua host did not open";
    return;
  }
  m_Camera.SetAspect(800.0f / 600.0f);
  m_Camera.SetPosition(0.0f, 765.0f, 1020.0f);
  Nembra::g_pSceneManager->AddTargetNode(&m_Camera);
  Nembra::g_pSceneManager->SetCamera(&m_Camera);
  m_World = std::make_unique<CGameWorld>();
  m_World->Init(&m_Camera);
  if (m_Options.loadPlayer) m_World->LoadPlayer("Player.X", 1.0f, 1.0f, 1.0f, 1.0f);
  m_World->Reset();
  CPlayer& player = m_World->GetPlayer();
  player.SetSounds(&collect, &hurt);
  player.GetWeapon().SetSounds(&blueShot, &redShot, &noCharge, &ordinary);
  m_World->SetWallHitSound(&wallHit);
  m_Ready = true;
}

WorldScenario::~WorldScenario() {
  if (m_World) {
    m_World->GetLevel().Unload();
    m_World->GetPlayer().RemoveFromScene();
    m_World.reset();
  }
  if (Nembra::g_pSceneManager) {
    Nembra::g_pSceneManager->RemoveNode(&m_Camera);
    Nembra::g_pSceneManager->ForgetCamera(&m_Camera);
  }
  g_GameScript.Close();
  m_Screen.reset();  // the engine goes with it, and the current music with the engine
}

void WorldScenario::Frame(const std::function<void()>& overlay) {
  if (!m_Ready) return;
  m_Screen->Frame([&] {
    PlayingFrame();
    if (overlay) overlay();
  });
}

void WorldScenario::Run(int frames) {
  for (int i = 0; i < frames; ++i) Frame();
}

bool WorldScenario::RunUntil(const std::function<bool()>& done, int maxFrames) {
  return FramesUntil([&] { return Frame(), true; }, done, maxFrames);
}

bool WorldScenario::Capture(const std::string& name) {
  if (!m_Ready) return false;
  return m_Screen->CaptureFrame(name, [&] { PlayingFrame(); });
}

void WorldScenario::PlayingFrame() {
  // A test that steers the player itself gets the world's frame without input.
  if (m_Steered) m_World->GetPlayer().Step();
  const auto start = std::chrono::steady_clock::now();
  if (m_Steered)
    m_World->GetLevel().Update();
  else
    m_World->UpdateCamera();
  m_LevelUpdateSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  Nembra::g_pSceneManager->Update();
  Nembra::g_pSceneManager->Render();
}

void WorldScenario::PlacePlayer(const D3DXVECTOR3& position, float yaw) {
  CPlayer& player = m_World->GetPlayer();
  player.SetPosition(position);
  player.SetRotationZ(yaw);
  player.UpdateWorldMatrix();
  for (Nembra::CSceneNode* child : player.GetChildren()) child->UpdateWorldMatrix();
  player.GetHand().UpdateWorldMatrix();
}

void WorldScenario::Walk(const D3DXVECTOR3& direction) {
  m_Steered = true;
  m_World->GetPlayer().SetDirection(direction);
  m_World->GetPlayer().SetMoving(true);
}

void WorldScenario::Stand() {
  m_Steered = true;
  m_World->GetPlayer().SetMoving(false);
}

void WorldScenario::Aim(const D3DXVECTOR3& direction) {
  m_Steered = true;
  D3DXVECTOR3 unit;
  D3DXVec3Normalize(&unit, &direction);
  m_World->GetPlayer().SetShotDirection(unit);
}

void WorldScenario::AddWall(int collisionClass, const std::vector<D3DXVECTOR3>& vertices) {
  COLLISION_FILE file;
  file.shapes.emplace_back();
  file.shapes.back().vertices = vertices;
  Level().GetCollision().AddStaticShapes(file, collisionClass);
}

TestEnemy& WorldScenario::AddEnemy(const D3DXVECTOR3& position, uint32_t colour, float radius,
                                   uint32_t energyValue, uint32_t health) {
  TestEnemy* enemy = new TestEnemy(colour, radius, energyValue, health);
  Level().GetEnemies().push_back(enemy);
  enemy->AddToScene(nullptr);
  enemy->SetPosition(position);
  enemy->UpdateWorldMatrix();
  return *enemy;
}

bool WorldScenario::WriteScript(const std::string& name, const std::string& text) {
  if (!m_Options.writableData) return false;
  const std::string folder = Nembra::g_DataDirectory + "Scripts";
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  std::ofstream out(folder + "/" + name, std::ios::binary);
  out << text;
  return bool(out);
}

bool WorldScenario::CountActionUses() {
  if (!WriteScript("CountActionUses.lua", "actionUses = (actionUses or 0) + 1\n")) return false;
  Level().GetTriggerManager().AddCircularTrigger("CountActionUses.lua", "COUNT_ACTION_USES",
                                                 D3DXVECTOR3(0.0f, 0.0f, 0.0f), true, 5000.0f,
                                                 Nembra::TRIGGER_ACTION);
  return true;
}

int WorldScenario::ActionUses() const {
  lua_State* state = g_GameScript.GetState();
  lua_getglobal(state, "actionUses");
  const int uses = static_cast<int>(lua_tonumber(state, -1));
  lua_pop(state, 1);
  return uses;
}

}  // namespace scenario
