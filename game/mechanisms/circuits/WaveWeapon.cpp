#include "game/mechanisms/circuits/WaveWeapon.h"

#include "game/actors/Bullet.h"
#include "game/effects/ParticleEffect.h"
#include "game/level/Level.h"
#include "game/mechanisms/SoundCue.h"
#include "game/mechanisms/circuits/ChargeBar.h"
#include "game/mechanisms/circuits/ColourLight.h"
#include "game/script/GameScript.h"

CWaveWeapon::CWaveWeapon() { SetRadius(RADIUS); }

void CWaveWeapon::AddToScene(Nembra::CSceneNode* parent) {
  CStaticSpriteEntity::AddToScene(parent);
  TakeBar();
}

float CWaveWeapon::GetBarHeight() const {
  if (m_Capacity == 0) return BAR_HEIGHT;
  return BAR_HEIGHT * static_cast<float>(m_Charge) / static_cast<float>(m_Capacity);
}

void CWaveWeapon::TakeBar() {
  CLevel* level = CLevel::Current();
  m_pBar = level ? level->AddGenBarEffect(static_cast<uint32_t>(m_Colour)) : nullptr;
  if (m_pBar) {
    m_pBar->SetPosition(m_pBar->GetPosition() + GetPosition());
    m_pBar->SetHeight(GetBarHeight());
  }
}

void CWaveWeapon::LoadResources() {
  m_CorrectSound.Take("GeneratorCorrect.wav");
  m_IncorrectSound.Take("GeneratorIncorrect.wav");
  ChargeBar::Load(m_ScreenFrame, m_ScreenFill, m_pFont, static_cast<uint32_t>(m_Colour));
}

// The old bar stays in the effect list until the restart deletes it.
void CWaveWeapon::Reset() {
  DeleteColourLight(m_pLight);
  m_Charge = 0;
  TakeBar();
  m_Active = 1;
  m_Sprite.SetVisible(true);
}

void CWaveWeapon::OnBulletHit(const CBullet& shot) { OnBulletHit(shot.GetColour(), shot.GetPower()); }

void CWaveWeapon::OnBulletHit(uint32_t colour, uint32_t power) {
  if (colour != static_cast<uint32_t>(m_Colour) || m_Charge == m_Capacity) {
    m_IncorrectSound.Play();
    return;
  }
  const uint64_t charged = static_cast<uint64_t>(m_Charge) + power;
  m_Charge = charged >= m_Capacity ? m_Capacity : static_cast<uint32_t>(charged);
  m_ScreenFill.m_ScaleX = static_cast<float>(m_Charge) / static_cast<float>(m_Capacity);
  if (m_Charge == m_Capacity) {
    m_pLight = MakeColourLight(GetWorldPosition() + D3DXVECTOR3(0.0f, 0.0f, LIGHT_HEIGHT),
                               static_cast<uint32_t>(m_Colour));
    if (!m_ScriptFile.empty()) g_GameScript.RunFile(m_ScriptFile);
  }
  if (m_pBar) m_pBar->SetHeight(GetBarHeight());
  m_CorrectSound.Play();
}

// A station already blown out is left alone.
void CWaveWeapon::Explode() {
  if (!m_Active) return;
  if (CLevel* level = CLevel::Current()) {
    const D3DXVECTOR3 at = GetWorldPosition() + D3DXVECTOR3(0.0f, 0.0f, EXPLOSION_HEIGHT);
    const float point[3] = {at.x, at.y, at.z};
    level->AddExplosionEffect(point);
  }
  if (m_pBar) m_pBar->Stop();
  DeleteColourLight(m_pLight);
  m_Charge = 0;
  m_Sprite.SetVisible(false);
  m_Active = 0;
}

void CWaveWeapon::DrawBar() {
  if (!m_Sprite.IsVisible()) return;
  ChargeBar::Draw(m_ScreenFrame, m_ScreenFill, m_pFont, GetWorldPosition(), m_Charge, m_Capacity);
}

void CWaveWeapon::BuildCollisionBoxes() {
  CollisionShapes::BuildWaveWeaponShape(m_CollisionBoxes[0], GetPosition(), GetRadius(), false);
  CollisionShapes::BuildWaveWeaponShape(m_CollisionBoxes[1], GetPosition(), GetRadius(), true);
}
