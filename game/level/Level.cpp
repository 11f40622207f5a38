#include "game/level/Level.h"

#include "engine/resources/Mesh.h"
#include "engine/sound/AudiereSound.h"
#include "game/script/GameScript.h"
#include "game/world/GameGlobals.h"
#include "platform/Log.h"

CLevel* CLevel::s_pCurrent = nullptr;

namespace {
CLevelHud g_SilentHud;  // the HUD of a level without a host: does nothing
}  // namespace

CLevel::CLevel() { s_pCurrent = this; }

CLevel::~CLevel() {
  DeleteBomb();
  for (CEnemy* enemy : m_Enemies) delete enemy;
  m_Enemies.clear();
  for (CEntity* effect : m_Effects) delete effect;
  m_Effects.clear();
  ClearNamedSprites();
  ClearAnimatedSprites();
  ReleaseTerrain();
  if (s_pCurrent == this) s_pCurrent = nullptr;
}

CLevelHud& CLevel::Hud() {
  CLevelHud* hud = m_pHost ? m_pHost->GetHud() : nullptr;
  return hud ? *hud : g_SilentHud;
}

template <class List>
void CLevel::RemoveAllFromScene(List& list) {
  for (auto& object : list) object.RemoveFromScene();
}

template <class List>
void CLevel::DeleteAll(List& list) {
  for (auto* object : list) {
    object->RemoveFromScene();
    delete object;
  }
  list.clear();
}

bool CLevel::Prepare(const std::string& levelScript) {
  m_Finished = false;
  m_ActiveReceptors = 0;
  m_CircuitsEnabled = false;
  m_CheckpointSet = false;
  m_CompletedObjectives = 0;
  g_AbilityScriptFile.clear();
  if (m_pHost) m_pHost->ClearRadiation();
  m_GenerationRadiusOn = true;
  RestoreTuningDefaults();
  return g_GameScript.RunFile(levelScript);
}

bool CLevel::Start() {
  m_Finished = false;
  if (m_pHost) m_pHost->ResetWorld();
  Hud().ResetKeyItems();
  Hud().ResetCounters();
  Hud().ShowMessageBox(false, 7.0f);
  DeleteBomb();
  if (!g_GameScript.RunFile(m_InitScript)) return false;
  // A level ends when its objectives are complete: a script cut short
  // before naming them still runs, and leaves a level that never ends.
  if (m_Objectives.empty())
    platform::LogWarning("level init script " + m_InitScript +
                         " set no objectives: this level never ends (is its level or init script cut short?)");
  CreateBosses();
  return true;
}

void CLevel::CreateBosses() {
  if (m_InitScript == BOSS0_SCRIPT) {
    const D3DXVECTOR3 places[2] = {D3DXVECTOR3(-200.0f, -200.0f, 0.0f), D3DXVECTOR3(200.0f, 200.0f, 0.0f)};
    for (uint32_t which = 0; which < 2; ++which) {
      CBoss0* boss = new CBoss0(which);
      m_Enemies.push_back(boss);
      boss->AddToScene();
      boss->SetPosition(places[which]);
    }
  } else if (m_InitScript == BOSS1_SCRIPT) {
    CBoss1* boss = new CBoss1();
    m_Enemies.push_back(boss);
    boss->AddToScene();
    boss->SetPosition(-51.0f, 6680.0f, 0.0f);
  }
}

void CLevel::DeleteBomb() {
  if (!m_pBomb) return;
  m_pBomb->RemoveFromScene();
  delete m_pBomb;
  m_pBomb = nullptr;
}

void CLevel::AddBomb(float x, float y, float z, int visible, float fuse) {
  DeleteBomb();
  m_pBomb = new CBomb(D3DXVECTOR3(x, y, z), visible, fuse);
}

void CLevel::SetCheckpoint(float x, float y, float z) {
  m_CheckpointSet = true;
  m_CheckpointPosition = D3DXVECTOR3(x, y, z);
}

void CLevel::ReleaseTerrain() {
  if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->RemoveNode(&m_Terrain);
  m_Terrain.SetMesh(nullptr);
  m_TerrainMesh.Reset();
}

bool CLevel::LoadTerrain(const std::string& meshFile) {
  ReleaseTerrain();  // a second terrain replaces the first, which is given back
  Nembra::CSimpleMesh* mesh = m_TerrainMesh.Take(meshFile);
  if (mesh && m_Terrain.SetMesh(mesh)) {
    if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->AddNode(&m_Terrain);
    return true;
  }
  m_Terrain.SetMesh(nullptr);
  m_TerrainMesh.Reset();
  return false;
}

bool CLevel::LoadTriggers(const std::string& fileName) { return m_TriggerManager.LoadTriggers(fileName); }

void CLevel::ResetObjects() {
  for (CItem& item : m_Items) item.ResetState();
  for (CBox& box : m_Boxes) box.Reset();
  for (CDoor& door : m_Doors) door.Reset();
  for (COpenCloseDoor& door : m_OpenCloseDoors) door.SetClosed();
  for (CRoof& roof : m_Roofs) roof.Show();
  for (CWireGrate& grate : m_WireGrates) grate.Reset();
  for (CBarrel& barrel : m_Barrels) barrel.Reset();
  // Every generator once, those bound to circuits included: their bar
  // effects were deleted with the other effects.
  for (CGenerator& generator : m_Generators) generator.Reset();
  for (CCircuitGenerator& generator : m_CircuitGenerators) {
    generator.ClearFlow();
    generator.ClearVisited();
  }
  for (CEnemyGenerator& generator : m_EnemyGenerators) generator.ResetTimer();
  for (CTarget& target : m_Targets) target.Reset();
  for (CPushable& pushable : m_Pushables) pushable.UpdateTransform();
  for (auto& laser : m_Lasers) laser.second.Reset();
  DeleteBomb();
  for (CWaveWeapon& station : m_WaveWeapons) station.Reset();
}

void CLevel::Restart() {
  if (g_pCurrentMusic) g_pCurrentMusic->Play(true);
  Hud().HideMessageBox();
  if (m_CheckpointSet) {
    if (m_pHost) {
      m_pHost->RespawnPlayer(true);
      m_pHost->MovePlayerTo(m_CheckpointPosition);
    }
    return;
  }
  if (m_pHost) m_pHost->RespawnPlayer(false);
  m_TriggerManager.ResetTriggers();

  RemoveAllFromScene(m_Bullets);
  m_Bullets.clear();
  RemoveAllFromScene(m_Enemy2Bullets);
  m_Enemy2Bullets.clear();
  RemoveAllFromScene(m_Enemy3Bullets);
  m_Enemy3Bullets.clear();
  RemoveAllFromScene(m_Boss0Bullets);
  m_Boss0Bullets.clear();
  RemoveAllFromScene(m_Boss0AbilityBullets);
  m_Boss0AbilityBullets.clear();
  RemoveAllFromScene(m_Enemy6Bullets);
  m_Enemy6Bullets.clear();
  RemoveAllFromScene(m_Enemy8Bullets);
  m_Enemy8Bullets.clear();
  RemoveAllFromScene(m_Boss1Bullets);
  m_Boss1Bullets.clear();
  RemoveAllFromScene(m_Boss1Lasers);
  m_Boss1Lasers.clear();

  for (CItem* item : m_ReleasedItems) item->RemoveFromScene();
  m_ReleasedItems.clear();

  DeleteAll(m_Effects);
  DeleteAll(m_Enemies);

  RemoveAllFromScene(m_Souls);
  m_Souls.clear();
  if (Nembra::g_pSceneManager)
    for (CSlowDowner& zone : m_SlowDowners) Nembra::g_pSceneManager->RemoveNode(&zone);
  m_SlowDowners.clear();

  for (auto& objective : m_Objectives) objective.second.complete = false;
  m_Finished = false;

  for (auto& marker : m_Markers) marker.second.RemoveFromScene();
  m_Markers.clear();

  ResetObjects();

  ClearNamedSprites();
  ClearAnimatedSprites();

  m_ActiveReceptors = 0;
  m_CheckpointSet = false;
  m_CompletedObjectives = 0;

  Hud().ResetKeyItems();
  Hud().ResetCounters();

  g_GameScript.RunFile(m_InitScript);
  CreateBosses();

  for (auto& timer : m_Timers) {
    timer.second.Start();
    timer.second.Stop();
  }
  g_EnemyGeneratorRearmTime = TuningDefaults::GENERATOR_REARM_TIME;
}

void CLevel::Unload() {
  // The HUD lets go of the timers and counters before they go.
  Hud().HideDigitalTimer();
  Hud().ResetCounters();

  m_Objectives.clear();
  m_ObjectiveOrder.clear();

  ReleaseTerrain();
  ClearNamedSprites();
  ClearAnimatedSprites();

  m_Lights.ClearLights();
  if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->DeleteAllLights();
  if (m_pHost) m_pHost->OnLightsDeleted();

  m_Collision.Clear();

  m_Items.clear();
  m_Boxes.clear();
  m_Generators.clear();
  m_Doors.clear();
  m_OpenCloseDoors.clear();
  m_Roofs.clear();
  m_WireGrates.clear();
  m_Barrels.clear();
  m_Links.clear();
  m_Connectors.clear();
  m_CircuitGenerators.clear();
  m_Receptors.clear();
  m_Bullets.clear();
  m_Enemy2Bullets.clear();
  m_Enemy3Bullets.clear();
  m_Enemy6Bullets.clear();
  m_Enemy8Bullets.clear();
  m_Boss0Bullets.clear();
  m_Boss0AbilityBullets.clear();
  m_Boss1Bullets.clear();
  m_Boss1Lasers.clear();
  m_ReleasedItems.clear();
  DeleteAll(m_Enemies);
  m_Souls.clear();
  DeleteAll(m_Effects);
  m_SlowDowners.clear();
  m_Targets.clear();
  m_Pushables.clear();
  m_Lasers.clear();
  m_WaveWeapons.clear();
  m_EnemyGenerators.clear();
  m_SpawnCandidates.clear();

  m_TriggerManager.Clear();
  m_Timers.clear();
  m_Markers.clear();
}
