#include "game/world/GameWorld.h"

#include "engine/app/Application.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/app/Mouse.h"
#include "engine/resources/Mesh.h"
#include "engine/resources/Shader.h"
#include "engine/resources/SkinnedMesh.h"
#include "engine/resources/Texture.h"
#include "engine/scene/Camera.h"
#include "engine/scene/Light.h"
#include "engine/scene/SceneManager.h"
#include "engine/sound/WaveSound.h"
#include "game/script/GameScript.h"
#include "platform/Log.h"

CGameWorld* g_pGameWorld = nullptr;

bool RunScriptFile(const std::string& fileName) { return g_GameScript.RunFile(fileName); }

D3DXVECTOR3 PlayerWorldPosition() {
  return g_pGameWorld ? g_pGameWorld->GetPlayer().WorldPosition() : D3DXVECTOR3(0.0f, 0.0f, 0.0f);
}

namespace {
const char* const MESH_FILES[CGameWorld::MESH_SLOTS + 1] = {
    "",                   "Health1.X",         "Health2.X",        "Health3.X",        "WeaponUp2.X",
    "WeaponUp3.X",        "",                  "Ability.X",        "Box1.X",           "Box2.X",
    "Box3.X",             "GeneratorBlue.X",   "GeneratorRed.X",   "GenBarBlue.X",     "GenBarRed.X",
    "ConnectorOff.X",     "ConnectorOn.X",     "ConnectorBlue.X",  "ConnectorRed.X",   "ReceptorOnBlue.X",
    "ReceptorOnRed.X",    "ReceptorOffBlue.X", "ReceptorOffRed.X", "WireGrate.X",      "Barrel.X",
    "AccessCard.X",       "TargetBlue.X",      "TargetRed.X",      "WaveWeaponBlue.X", "WaveWeaponRed.X",
};
}  // namespace

const char* CGameWorld::MeshFile(int slot) { return slot >= 1 && slot <= MESH_SLOTS ? MESH_FILES[slot] : ""; }

CGameWorld::CGameWorld() {
  m_Level.SetHost(this);
  CLevel::SetCurrent(&m_Level);
  g_pGameWorld = this;
}

CGameWorld::~CGameWorld() {
  if (g_pGameWorld == this) g_pGameWorld = nullptr;
}

bool CGameWorld::Init(Nembra::CCamera* camera) {
  m_pCamera = camera;
  if (!camera) return false;
  if (Nembra::g_pTextureFactory && m_CursorTexture.GetName().empty()) {
    m_Cursor.SetTexture(m_CursorTexture.Take(CURSOR_TEXTURE));
  }
  m_Cursor.SetSourceRect(platform::RECT{0, 0, 16, 16});
  m_Cursor.m_Center = D3DXVECTOR3(8.0f, 8.0f, 0.0f);
  LoadMeshes();
  if (Nembra::g_pApplication) {
    const Nembra::APPLICATION_PARAMS& params = Nembra::g_pApplication->GetParams();
    m_ScreenCentre = D3DXVECTOR3(float(params.width / 2), float(params.height / 2), 0.0f);
  }
  if (Nembra::g_pWaveSoundFactory) {
    m_pAbilitySound = m_HeldAbilitySound.Take(ABILITY_SOUND);
    m_pWallHitSound = m_HeldWallHitSound.Take(WALL_HIT_SOUND);
  }
  for (int slot : {11, 12, 28, 29}) PatchDepthWrite(slot);
  return true;
}

void CGameWorld::LoadMeshes() {
  for (int slot = 1; slot <= MESH_SLOTS; ++slot) {
    const std::string file = MESH_FILES[slot];
    if (file.empty() || GetMeshSlot(slot)) continue;
    if (slot == TARGET_BLUE_SLOT || slot == TARGET_RED_SLOT) {
      if (Nembra::g_pSkinnedMeshFactory) (slot == TARGET_BLUE_SLOT ? m_BlueTarget : m_RedTarget).Take(file);
    } else if (Nembra::g_pSimpleMeshFactory) {
      m_Meshes[slot].Take(file);
    }
  }
}

void CGameWorld::PatchDepthWrite(int slot) {
  Nembra::CSimpleMesh* mesh = Simple(slot);
  if (!mesh || mesh->GetSubsets().size() < 2 || !mesh->GetSubsets()[1].GetShader()) {
    platform::LogError(std::string("'") + MESH_FILES[slot] + "' has no second subset to draw without depth writes");
    return;
  }
  mesh->GetSubsets()[1].GetShader()->SetRenderState(platform::D3DRS_ZWRITEENABLE, 0);
}

Nembra::CResource* CGameWorld::GetMeshSlot(int slot) const {
  if (slot == TARGET_BLUE_SLOT) return m_BlueTarget.Get();
  if (slot == TARGET_RED_SLOT) return m_RedTarget.Get();
  return slot >= 1 && slot <= MESH_SLOTS ? m_Meshes[slot].Get() : nullptr;
}

Nembra::CSimpleMesh* CGameWorld::Simple(int slot) const {
  if (slot == TARGET_BLUE_SLOT || slot == TARGET_RED_SLOT) return nullptr;
  return slot >= 1 && slot <= MESH_SLOTS ? m_Meshes[slot].Get() : nullptr;
}

Nembra::CSkinnedMesh* CGameWorld::GetTargetMesh(uint32_t colour) {
  return (colour == 1 ? m_BlueTarget : m_RedTarget).Get();
}

Nembra::CSimpleMesh* CGameWorld::GetItemMesh(int32_t kind, int32_t level) {
  if (kind == 1 && level >= 1 && level <= 3) return Simple(level);
  if (kind == 2 && level >= 2 && level <= 3) return Simple(level + 2);
  if (kind == 3) return Simple(7);
  return nullptr;
}

Nembra::CSimpleMesh* CGameWorld::GetBoxMesh(int32_t kind) {
  return kind >= 1 && kind <= 3 ? Simple(kind + 7) : nullptr;
}

bool CGameWorld::LoadPlayer(const std::string& meshName, float r, float g, float b, float a) {
  m_Player.LoadResources();
  ShowPlayerMesh(meshName);
  m_Player.AddToScene(nullptr);
  m_Player.SetPosition(0.0f, 0.0f, 0.0f);
  m_Player.SetSpeed(CPlayer::SPEED);
  m_Player.SetAnimation("ParadoDisparando", true);
  // One light travels with the player however often a level starts.
  if (!m_pPlayerLight && Nembra::g_pSceneManager) m_pPlayerLight = Nembra::g_pSceneManager->CreatePointLight(nullptr);
  if (m_pPlayerLight) {
    m_pPlayerLight->SetPosition(0.0f, 0.0f, 300.0f);
    m_pPlayerLight->SetDiffuseColor(D3DXCOLOR(r, g, b, a));
    m_pPlayerLight->SetRange(1600.0f);
    m_pPlayerLight->SetAttenuation(0.5f, 0.0005f, 0.0000005f);
    m_pPlayerLight->Commit();
  }
  return true;
}

void CGameWorld::SetPlayerMesh(const std::string& meshName) {
  ShowPlayerMesh(meshName);
  m_Player.SetAnimation("ParadoDisparando", true);
}

void CGameWorld::ShowPlayerMesh(const std::string& meshName) {
  // The sprite takes the new mesh before the old one is given back. Without
  // a new one the bones stay bound to the old, which is kept until a mesh
  // replaces it.
  Nembra::CSkinnedMesh* mesh =
      Nembra::g_pSkinnedMeshFactory ? Nembra::g_pSkinnedMeshFactory->Get(meshName) : nullptr;
  m_Player.SetMesh(mesh);
  if (mesh) m_PlayerMesh.Hold(meshName, mesh);
}

void CGameWorld::Reset() {
  m_Player.Respawn();
  if (Nembra::g_pMouse) {
    Nembra::g_pMouse->ClearState();
    Nembra::g_pMouse->SetPosition(int32_t(m_ScreenCentre.x), int32_t(m_ScreenCentre.y * 0.5f), 0);
  }
  if (m_pCamera) {
    m_pCamera->GetTarget().SetPosition(0.0f, 0.0f, 0.0f);
    m_pCamera->SetPosition(0.0f, CAMERA_DISTANCE, CAMERA_HEIGHT);
  }
  CaptureViewTransforms();
}

void CGameWorld::ResetCamera() {
  m_CameraYaw = m_TargetYaw = START_YAW;
  m_Level.Restart();
}

void CGameWorld::UpdateCamera() {
  if (m_Player.IsActive()) HandleInput();
  m_Player.Step();
  if (m_pPlayerLight) {
    m_pPlayerLight->SetPosition(m_Player.GetPosition() + D3DXVECTOR3(0.0f, 0.0f, 300.0f) - 150.0f * m_CameraForward);
  }
  m_Level.Update();
}

void CGameWorld::Render() {
  if (!m_Player.IsActive() || !Nembra::g_pGraphicsDevice) return;
  if (!Nembra::g_pGraphicsDevice->BeginSprite(platform::D3DXSPRITE_ALPHABLEND)) return;
  m_Cursor.Draw();
  Nembra::g_pGraphicsDevice->EndSprite();
}

void CGameWorld::CaptureViewTransforms() {
  platform::IDevice* device = Nembra::g_pGraphicsDevice ? Nembra::g_pGraphicsDevice->GetDevice() : nullptr;
  if (!device) return;
  device->GetViewport(&m_Viewport);
  device->GetTransform(platform::D3DTS_PROJECTION, &m_Projection);
  device->GetTransform(platform::D3DTS_VIEW, &m_View);
}

D3DXVECTOR3 CGameWorld::ScreenToWorldRay(const D3DXVECTOR3& screen) {
  CaptureViewTransforms();
  const D3DXMATRIX world;  // identity
  const D3DXVECTOR3 nearScreen(screen.x, screen.y, 0.0f), farScreen(screen.x, screen.y, 1.0f);
  D3DXVECTOR3 n, f;
  D3DXVec3Unproject(&n, &nearScreen, &m_Viewport, &m_Projection, &m_View, &world);
  D3DXVec3Unproject(&f, &farScreen, &m_Viewport, &m_Projection, &m_View, &world);
  const float t = (AIM_HEIGHT - n.z) / (f.z - n.z);
  return n + t * (f - n);
}

D3DXVECTOR3 CGameWorld::GetCameraForward() const {
  if (!m_pCamera) return m_CameraForward;
  const D3DXVECTOR3& target = m_pCamera->GetTarget().GetPosition();
  const D3DXVECTOR3& eye = m_pCamera->GetPosition();
  D3DXVECTOR3 forward(target.x - eye.x, target.y - eye.y, 0.0f);
  D3DXVec3Normalize(&forward, &forward);
  return forward;
}

void CGameWorld::UseAction() {
  m_Level.UpdateCircuits();
}

void CGameWorld::PlayWallHitSound() {
  if (m_pWallHitSound) m_pWallHitSound->Play(false);
}

void CGameWorld::RespawnPlayer(bool keepWeaponPower) {
  const uint32_t power = m_Player.GetWeapon().GetPower();
  m_Player.Respawn();
  if (keepWeaponPower) m_Player.GetWeapon().SetPower(power);
}

void CGameWorld::MovePlayerTo(const D3DXVECTOR3& position) { m_Player.SetPosition(position); }
