#include "game/player/Player.h"

#include <cmath>

#include "engine/app/Application.h"
#include "engine/sound/WaveSound.h"
#include "game/level/Level.h"

namespace {

constexpr float kPi = 3.14159265358979f;
// How near a wall a step may start before it is refused, and the shortest
// slide worth making.
constexpr float kWallTouch = 0.1f;
constexpr float kShortestSlide = 0.5f;
constexpr uint32_t kMaxSlideDepth = 2;

Nembra::CSound* WaveSound(const char* name) {
  return Nembra::g_pWaveSoundFactory ? Nembra::g_pWaveSoundFactory->Get(name) : nullptr;
}

}  // namespace

CPlayer::CPlayer() {
  m_MaxHealth = MAX_HEALTH;
  m_Health = MAX_HEALTH;
  m_BoundingSphere.center = D3DXVECTOR3(0.0f, 0.0f, 100.0f);
  m_BoundingSphere.radius = RADIUS;
}

void CPlayer::LoadResources() {
  m_DamageAccumulator = 0.0f;
  m_SpeedFactor = 1.0f;
  m_MaxHealth = MAX_HEALTH;
  m_Health = MAX_HEALTH;
  m_HurtCounter = 0;
  m_Weapon.LoadSounds();
  m_pCollectSound = WaveSound("CollectEnergy.wav");
  m_pHurtSound = WaveSound("PlayerDamaged.wav");
}

void CPlayer::SetSex(bool male) {
  m_Male = male ? 1 : 0;
  m_pHurtSound = WaveSound(male ? "PlayerDamaged.wav" : "Golpe Chica.wav");
}

void CPlayer::AddToScene(Nembra::CSceneNode* parent) {
  CCharacter::AddToScene(parent);
  m_Weapon.AddToScene(this);
  m_Weapon.SetPosition(30.0f, 0.0f, 0.0f);
  if (m_pSprite) {
    m_pSprite->ClearBoneCache();
    m_pSprite->ClearAttachedNodes();
    m_Hand.AttachToBone(m_pSprite, HAND_BONE);
  }
}

bool CPlayer::SetMesh(Nembra::CSkinnedMesh* mesh) {
  if (!CCharacter::SetMesh(mesh)) return false;
  m_Hand.AttachToBone(m_pSprite, HAND_BONE);
  return true;
}

void CPlayer::Heal(float fraction) {
  m_Healed = 1;
  const double gain = double(m_MaxHealth) * double(fraction);
  double health = double(m_Health) + (std::isnan(gain) ? 0.0 : gain);
  if (health < 0.0) health = 0.0;
  if (health > double(m_MaxHealth)) health = double(m_MaxHealth);
  m_Health = static_cast<uint32_t>(health);
}

void CPlayer::Respawn() {
  m_DamageAccumulator = 0.0f;
  m_Active = 1;
  m_Health = m_MaxHealth;
  m_Weapon.Reset();
  m_Ability.Reset();
  m_CanWalk = 1;
}

void CPlayer::Damage(float amount, bool playSound) {
  if (!(amount >= 0.0f)) return;  // NaN or healing: no damage
  if (playSound && m_Active && m_HurtCounter == 0) {
    if (m_pHurtSound) m_pHurtSound->Play(false);
    m_HurtCounter = 1;
  }
  m_DamageAccumulator += amount;
  if (!(m_DamageAccumulator >= 1.0f)) return;
  const float whole = std::floor(m_DamageAccumulator);
  // Compared as a float first: a huge amount never reaches the conversion.
  if (whole >= float(m_Health)) {
    m_Health = 0;
    m_Active = 0;
    m_DamageAccumulator = 0.0f;
    return;
  }
  const uint32_t w = static_cast<uint32_t>(whole);
  m_Health -= w;
  m_DamageAccumulator -= whole;
}

D3DXVECTOR3& CPlayer::SlideMove(D3DXVECTOR3& out, const D3DXVECTOR3& from, const D3DXVECTOR3& move) {
  out = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
  if (m_SlideDepth >= kMaxSlideDepth) return out;
  const D3DXVECTOR3 target = from + move;
  CLevel* level = CLevel::Current();
  float hit[3] = {0.0f, 0.0f, 0.0f}, normal[3] = {0.0f, 0.0f, 0.0f}, distance = 0.0f;
  bool found = false;
  if (level) {
    found = level->CheckCollision(&from.x, &target.x, 0.0f, hit, distance, normal, 2, true);
    if (!found) found = level->CheckCollision(&from.x, &target.x, 0.0f, hit, distance, normal, 1, true);
  }
  if (!found) {
    out = move;
    return out;
  }
  if (distance >= 0.0f && distance <= kWallTouch) return out;
  const D3DXVECTOR3 h(hit[0], hit[1], hit[2]), n(normal[0], normal[1], normal[2]);
  const float d0 = -D3DXVec3Dot(&n, &h);
  const float s = D3DXVec3Dot(&n, &target) + d0;
  const D3DXVECTOR3 projected = target - n * s;
  const D3DXVECTOR3 slide = projected - h;
  if (D3DXVec3Length(&slide) < kShortestSlide) return out;
  ++m_SlideDepth;
  return SlideMove(out, from, slide);
}

const char* CPlayer::RunAnimation(const D3DXVECTOR3& direction, float yaw) {
  const float cy = std::cos(yaw), sy = std::sin(yaw);
  float c = direction.x * cy + direction.y * sy + direction.z * 0.0f;
  // Rounding can take the cosine past 1 (or -1), where acos has no answer.
  if (c > 1.0f) c = 1.0f;
  if (c < -1.0f) c = -1.0f;
  float a = std::acos(c);
  if (direction.y * cy - direction.x * sy < 0.0f) a = 2.0f * kPi - a;
  const float quarter = kPi / 4.0f, threeQuarters = 3.0f * kPi / 4.0f, fiveQuarters = 5.0f * kPi / 4.0f,
              sevenQuarters = 7.0f * kPi / 4.0f, full = 2.0f * kPi;
  if ((a >= 0.0f && a < quarter) || (a >= sevenQuarters && a < full)) return "CorrerAdelante";
  if (a >= quarter && a < threeQuarters) return "CorrerIzquierda";
  if (a >= threeQuarters && a < fiveQuarters) return "CorrerAtras";
  return "CorrerDerecha";
}

void CPlayer::Step() {
  if (m_HurtCounter >= 1 && m_HurtCounter <= HURT_SOUND_FRAMES - 1)
    ++m_HurtCounter;
  else if (m_HurtCounter == HURT_SOUND_FRAMES)
    m_HurtCounter = 0;

  CLevel* level = CLevel::Current();
  if (level && level->IsInSlowDownZone(WorldPosition())) {
    m_SpeedFactor = SLOW_FACTOR;
    Damage(Nembra::g_FrameTime * SLOW_DAMAGE, true);
  } else {
    m_SpeedFactor = 1.0f;
  }
  if (m_Radiation > 0.0f) Damage(m_Radiation * Nembra::g_FrameTime, false);

  CEntity::Step();
  const char* animation = "ParadoDisparando";
  if (!IsActive()) {
    animation = "Muerte";
  } else if (m_Moving) {
    const D3DXVECTOR3 p = WorldPosition();
    m_SlideDepth = 0;
    const D3DXVECTOR3 v = m_Direction * (GetSpeed() * Nembra::g_FrameTime);
    D3DXVECTOR3 d;
    SlideMove(d, p, v);
    SetPosition(m_Position + d);
    const D3DXVECTOR3 to = p + d;
    if (level) {
      D3DXVECTOR3 contact;
      float distanceSq = 0.0f;
      for (CEnemy* enemy : level->GetEnemies()) {
        if (!enemy->IsActive() || !enemy->Collide(p, to, GetRadius(), contact, distanceSq)) continue;
        SetPosition(p);  // touching an enemy cancels the whole step
        break;
      }
      for (CEnergy& soul : level->GetSouls()) {
        if (!soul.IsActive()) continue;
        const int colour = soul.GetColor() == 0 ? CWeapon::RED : CWeapon::BLUE;
        if (m_Weapon.GetCharge(colour) >= m_Weapon.GetMaxCharge()) continue;
        if (!soul.Collide(p, to, GetRadius(), contact, distanceSq)) continue;
        m_Weapon.AddCharge(colour, soul.GetValue());
        soul.Deactivate();
        if (m_pCollectSound) m_pCollectSound->Play(false);
      }
    }
    animation = RunAnimation(m_Direction, GetWorldRotationZ());
  }
  SetAnimation(animation, std::string(animation) != "Muerte");
  m_Ability.Update();
}
