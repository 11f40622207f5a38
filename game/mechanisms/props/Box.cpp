#include "game/mechanisms/props/Box.h"

#include "engine/sound/WaveSound.h"
#include "game/level/Level.h"
#include "game/script/GameScript.h"

CBox::CBox() {
  SetRadius(RADIUS);
  m_Vanish.speed = VANISH_SPEED;
}

void CBox::OnHit(uint32_t power) {
  if (power < m_RequiredPower) return;
  m_Active = 0;
  RemoveBoxesFromLevel(m_CollisionBoxes);
  CLevel* level = CLevel::Current();
  m_Fading = 1;
  StartFadeOut(m_Sprite, m_Vanish);
  if (m_HoldsItem && level) level->AddBoxItem(&m_Item);
  if (m_pBreakSound) m_pBreakSound->Play(false);
  if (!m_ScriptFile.empty()) g_GameScript.RunFile(m_ScriptFile);
}

void CBox::Reset() {
  if (m_HoldsItem) m_Item.ResetState();
  if (!IsActive()) AddBoxesToLevel(m_CollisionBoxes);
  m_Active = 1;
  m_Sprite.SetVisible(true);
  m_Fading = 0;
  m_Sprite.SetRenderEffect(nullptr);
}

void CBox::LoadSound() {
  if (Nembra::g_pWaveSoundFactory) m_pBreakSound = Nembra::g_pWaveSoundFactory->Get("BoxExplosion.wav");
}

void CBox::Step() {
  CEntity::Step();
  EndFadeOut(m_Sprite, m_Vanish, m_Fading);
}

void CBox::BuildCollisionBoxes() {
  CollisionShapes::BuildBoxShape(m_CollisionBoxes[0], GetPosition(), GetRotation().z, GetRadius(), false);
  CollisionShapes::BuildBoxShape(m_CollisionBoxes[1], GetPosition(), GetRotation().z, GetRadius(), true);
}
