#include "game/mechanisms/props/Item.h"

#include "engine/app/Application.h"
#include "engine/sound/WaveSound.h"
#include "game/level/Level.h"
#include "game/script/GameScript.h"
#include "game/world/GameWorld.h"

namespace {
constexpr float TWO_PI = 6.28318530718f;
constexpr float GROWTH = 2.0f;  // scale units per second while vanishing
constexpr float MARKER_SIZE = 100.0f;
constexpr const char* MARKER_TEXTURE = "ItemMarker.tga";

// The fraction of the maximum health a health pack gives, by sub-kind.
float HealFraction(int32_t subKind) {
  switch (subKind) {
    case 1: return 0.2f;
    case 2: return 0.5f;
    case 3: return 1.0f;
    default: return 0.0f;
  }
}
}  // namespace

CItem::CItem() {
  SetRadius(RADIUS);
  m_Vanish.speed = VANISH_SPEED;
}

CItem::~CItem() { SetMesh(nullptr); }

bool CItem::LoadMesh(const std::string& name) {
  SetMesh(nullptr);
  Nembra::CSimpleMesh* mesh = m_OwnMesh.Take(name);
  return mesh != nullptr && SetMesh(mesh);
}

void CItem::ResetState() {
  m_Active = 1;
  m_Taken = false;
  m_Sprite.SetRenderEffect(nullptr);
  m_Sprite.SetVisible(true);
  m_CurrentScale = 1.0f;
  SetScale(1.0f);
  m_Marker.visible = true;
}

void CItem::SetMarkerPosition(const D3DXVECTOR3& position) {
  m_Marker.SetPosition(position + D3DXVECTOR3(0.0f, MARKER_OFFSET_Y, MARKER_OFFSET_Z));
}

void CItem::LoadSound() {
  if (Nembra::g_pWaveSoundFactory) m_pPickupSound = Nembra::g_pWaveSoundFactory->Get("ItemPickUp.wav");
}

void CItem::AddToScene(Nembra::CSceneNode* parent) {
  CStaticSpriteEntity::AddToScene(parent);
  if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->AddNode(&m_Marker, this);
  m_Marker.Create(MARKER_TEXTURE, MARKER_SIZE, MARKER_SIZE, D3DXVECTOR3(0.0f, 1.0f, 0.0f), false);
}

void CItem::Step() {
  CEntity::Step();
  const float dt = Nembra::g_FrameTime;
  if (m_Taken) {
    m_Marker.visible = false;
    if (m_Vanish.IsFinished()) {
      m_Taken = false;
      m_Active = 0;
      m_Sprite.SetRenderEffect(nullptr);
      m_Sprite.SetVisible(false);
    }
    m_CurrentScale += GROWTH * dt;
    SetScale(m_CurrentScale);
  }
  SetRotationZ(GetRotation().z + TWO_PI * dt);

  if (!g_pGameWorld) return;
  CPlayer& player = g_pGameWorld->GetPlayer();
  const D3DXVECTOR3 d = player.WorldPosition() - WorldPosition();
  const float reach = GetRadius() + player.GetRadius();
  if (d.x * d.x + d.y * d.y + d.z * d.z <= reach * reach) PickUp();
}

void CItem::PickUp() {
  if (m_Taken || !IsActive()) return;
  CLevel* level = CLevel::Current();
  if (!g_pGameWorld || !level) return;
  CPlayer& player = g_pGameWorld->GetPlayer();
  switch (m_Kind) {
    case KIND_HEALTH:
      if (player.GetHealth() == player.GetMaxHealth()) return;
      if (HealFraction(m_SubKind) > 0.0f) player.Heal(HealFraction(m_SubKind));
      break;
    case KIND_WEAPON:
      // Only the two weapon levels there are; another sub-kind would leave
      // the weapon without a usable power.
      if (m_SubKind == 2 || m_SubKind == 3) {
        CWeapon& weapon = player.GetWeapon();
        weapon.SetPower(static_cast<uint32_t>(m_SubKind));
        weapon.AddCharge(CWeapon::RED, weapon.GetMaxCharge());
        weapon.AddCharge(CWeapon::BLUE, weapon.GetMaxCharge());
        level->Hud().ShowWeaponUpBanner();
      }
      break;
    case KIND_ABILITY:
      if (player.GetAbility().GetCharge() == CAbility::FULL) return;
      player.GetAbility().AddCharge(static_cast<uint32_t>(m_SubKind));
      break;
    case KIND_CHECKPOINT: {
      const D3DXVECTOR3 at = WorldPosition();
      level->SetCheckpoint(at.x, at.y, at.z);
      level->Hud().SetCheckpoint(true);
      break;
    }
    default:
      break;
  }
  m_Taken = true;
  StartFadeOut(m_Sprite, m_Vanish);
  if (!m_ScriptFile.empty()) g_GameScript.RunFile(m_ScriptFile);
  if (m_pPickupSound) m_pPickupSound->Play(false);
}
