#include "game/GameWorld.h"

#include "engine/app/Application.h"
#include "engine/app/Mouse.h"
#include "engine/resources/SkinnedMesh.h"
#include "engine/resources/Texture.h"
#include "engine/scene/Camera.h"
#include "engine/sound/WaveSound.h"
#include "game/GameScript.h"

CGameWorld* g_pGameWorld = nullptr;

bool RunScriptFile(const std::string& fileName) { return g_GameScript.RunFile(fileName); }

CGameWorld::CGameWorld() {
  m_Level.SetHost(this);
  CLevel::SetCurrent(&m_Level);
  g_pGameWorld = this;
}

CGameWorld::~CGameWorld() {
  if (g_pGameWorld == this) g_pGameWorld = nullptr;
  if (!m_CursorTexture.empty() && Nembra::g_pTextureFactory) Nembra::g_pTextureFactory->Release(m_CursorTexture);
}

bool CGameWorld::Init(Nembra::CCamera* camera) {
  m_pCamera = camera;
  if (!camera) return false;
  if (Nembra::g_pTextureFactory && m_CursorTexture.empty()) {
    m_CursorTexture = "Mouse.tga";
    m_Cursor.SetTexture(Nembra::g_pTextureFactory->Get(m_CursorTexture));
  }
  m_Cursor.SetSourceRect(platform::RECT{0, 0, 16, 16});
  m_Cursor.m_Center = D3DXVECTOR3(8.0f, 8.0f, 0.0f);
  if (Nembra::g_pApplication) {
    const Nembra::APPLICATION_PARAMS& params = Nembra::g_pApplication->GetParams();
    m_ScreenCentre = D3DXVECTOR3(float(params.width / 2), float(params.height / 2), 0.0f);
  }
  if (Nembra::g_pWaveSoundFactory) {
    m_pAbilitySound = Nembra::g_pWaveSoundFactory->Get("Ability.wav");
    m_pWallHitSound = Nembra::g_pWaveSoundFactory->Get(WALL_HIT_SOUND);
  }
  return true;
}

bool CGameWorld::LoadPlayer(const std::string& meshName, float /*r*/, float /*g*/, float /*b*/, float /*a*/) {
  m_Player.LoadResources();
  Nembra::CSkinnedMesh* mesh =
      Nembra::g_pSkinnedMeshFactory ? Nembra::g_pSkinnedMeshFactory->Get(meshName) : nullptr;
  m_Player.SetMesh(mesh);
  m_Player.AddToScene(nullptr);
  m_Player.SetPosition(0.0f, 0.0f, 0.0f);
  m_Player.SetSpeed(CPlayer::SPEED);
  m_Player.SetAnimation("ParadoDisparando", true);
  return true;
}

void CGameWorld::Reset() {
  m_Player.Respawn();
  if (Nembra::g_pMouse) {
    Nembra::g_pMouse->ClearState();
    Nembra::g_pMouse->SetPosition(int32_t(m_ScreenCentre.x), int32_t(m_ScreenCentre.y * 0.5f), 0);
  }
  if (m_pCamera) {
    m_pCamera->GetTarget().SetPosition(0.0f, 0.0f, 0.0f);
    m_pCamera->SetPosition(0.0f, 765.0f, 1020.0f);
  }
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
