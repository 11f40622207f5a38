#include "game/mechanisms/circuits/ChargedObject.h"

#include "game/effects/ParticleEffect.h"
#include "game/level/Level.h"
#include "game/mechanisms/circuits/ChargeBar.h"
#include "game/mechanisms/circuits/ColourLight.h"
#include "game/script/GameScript.h"

void CChargedObject::LoadResources() {
  m_CorrectSound.Take("GeneratorCorrect.wav");
  m_IncorrectSound.Take("GeneratorIncorrect.wav");
  ChargeBar::Load(m_ScreenFrame, m_ScreenFill, m_pFont, m_Colour);
}

void CChargedObject::DrawBar() {
  if (!m_Sprite.IsVisible()) return;
  ChargeBar::Draw(m_ScreenFrame, m_ScreenFill, m_pFont, GetWorldPosition(), m_Charge, m_Capacity);
}

float CChargedObject::GetBarHeight() const {
  if (m_Capacity == 0) return BAR_HEIGHT;
  return BAR_HEIGHT * static_cast<float>(m_Charge) / static_cast<float>(m_Capacity);
}

void CChargedObject::TakeShot(uint32_t colour, uint32_t power) {
  if (colour != m_Colour || m_Charge == m_Capacity) {
    m_IncorrectSound.Play();
    return;
  }
  const uint64_t charged = static_cast<uint64_t>(m_Charge) + power;
  m_Charge = charged >= m_Capacity ? m_Capacity : static_cast<uint32_t>(charged);
  if (m_FillShowsCharge) m_ScreenFill.m_ScaleX = static_cast<float>(m_Charge) / static_cast<float>(m_Capacity);
  if (m_Charge == m_Capacity) {
    LightUp();
    if (!m_ScriptFile.empty()) g_GameScript.RunFile(m_ScriptFile);
  }
  ShowCharge();
  m_CorrectSound.Play();
}

void CChargedObject::TakeBarEffect() {
  CLevel* level = CLevel::Current();
  m_pBarEffect = level ? level->AddGenBarEffect(m_Colour) : nullptr;
  if (m_pBarEffect) m_pBarEffect->SetPosition(GetPosition().x, GetPosition().y, 0.0f);
  ShowCharge();
}

void CChargedObject::ShowCharge() {
  if (m_pBarEffect) m_pBarEffect->SetHeight(GetBarHeight());
}

void CChargedObject::LightUp() {
  DeleteColourLight(m_pLight);
  m_pLight = MakeColourLight(GetWorldPosition() + D3DXVECTOR3(0.0f, 0.0f, LIGHT_HEIGHT), m_Colour);
}

void CChargedObject::Empty() {
  DeleteColourLight(m_pLight);
  m_Charge = 0;
}
