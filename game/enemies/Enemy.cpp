#include "game/enemies/Enemy.h"

CEnemy::CEnemy(uint32_t colour) : m_Colour(colour) { m_Vanish.speed = VANISH_SPEED; }

void CEnemy::SetHeadingWindow(int32_t n) {
  m_Window = n > 0 ? n : 0;
  m_HeadingBuffer.assign(static_cast<size_t>(m_Window), D3DXVECTOR3(0.0f, 0.0f, 0.0f));
  m_Cursor = 0;
}

void CEnemy::Kill() {}

void CEnemy::Damage(uint32_t /*amount*/) {}

void CEnemy::OnShotHit(const CBullet& /*shot*/) {}

uint32_t CEnemy::GetEnergyValue() { return 0; }

void CEnemy::KillNow() { Kill(); }

void CEnemy::OnWaveHit(uint32_t /*colour*/) {}

void CEnemy::DrawHealthBar() {}
