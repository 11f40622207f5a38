#include "game/actors/Character.h"

void CCharacter::SetAnimation(const std::string& name, bool loop) {
  if (name == m_AnimationName) return;
  if (m_pSprite) m_pSprite->SetAnimation(name, loop);
  m_AnimationName = name;
}
