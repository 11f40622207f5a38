#include "game/mechanisms/props/Target.h"

#include "game/actors/Bullet.h"
#include "game/level/Level.h"
#include "game/mechanisms/SoundCue.h"
#include "game/script/GameScript.h"
#include "platform/Saturate.h"
#include "platform/Text.h"

CTarget::CTarget() { m_Vanish.speed = VANISH_SPEED; }

void CTarget::LoadResources() {
  m_HitSound.Take("DoorExplosion.wav");
  m_Sprite.SetAnimation("Down", false);
  m_State = STATE_DOWN;
  m_Sprite.SetVisible(false);
}

void CTarget::RegisterBoxes(bool registered) {
  if (registered == m_Registered) return;
  CLevel* level = CLevel::Current();
  if (!level) return;
  m_Registered = registered;
  if (registered) {
    AddBoxesToLevel(m_CollisionBoxes);
  } else {
    RemoveBoxesFromLevel(m_CollisionBoxes);
  }
}

// Raised while it still fades from its last fall, the fade ends there: the
// target is seen again and can be hit.
void CTarget::PopUp() {
  if (m_State != STATE_DOWN) return;
  if (m_Vanishing) {
    m_Vanishing = false;
    m_Sprite.SetRenderEffect(nullptr);
  }
  m_State = STATE_RISING;
  m_Sprite.SetVisible(true);
  m_Sprite.SetAnimation("Up", false);
  RegisterBoxes(true);
}

void CTarget::OnShotHit(const CBullet& shot) { OnHit(shot.GetColour(), shot.GetPower()); }

void CTarget::OnHit(uint32_t colour, uint32_t power) {
  if (m_State == STATE_DOWN || static_cast<int32_t>(colour) == m_Colour) return;
  m_Damage = platform::ClampToInt32(int64_t(m_Damage) + power);  // hit limits come from the items file
  if (m_Damage < m_HitLimit) return;
  m_State = STATE_DOWN;
  RegisterBoxes(false);
  if (CLevel* level = CLevel::Current()) level->AddTargetExplosionEffect(*this);
  m_HitSound.Play();
  m_Vanishing = true;
  m_Vanish.Start(false);
  m_Sprite.SetRenderEffect(&m_Vanish);
  if (!m_ScriptFile.empty()) g_GameScript.RunFile(m_ScriptFile);
}

void CTarget::Step() {
  CAnimatedSpriteEntity::Step();
  if (m_State == STATE_RISING && m_Sprite.IsFinished()) m_State = STATE_UP;
  if (m_Vanishing && m_Vanish.IsFinished()) {
    m_Vanishing = false;
    m_Sprite.SetRenderEffect(nullptr);
    m_Sprite.SetVisible(false);
  }
}

void CTarget::Reset() {
  m_Sprite.SetAnimation("Down", false);
  m_State = STATE_DOWN;
  m_Sprite.SetVisible(false);
  m_Damage = 0;
  m_Vanishing = false;
  m_Sprite.SetRenderEffect(nullptr);
  RegisterBoxes(false);
}

void CTarget::SetName(const std::string& name) { m_Name = platform::AsciiUpper(name); }

void CTarget::BuildCollisionBoxes() {
  CollisionShapes::BuildTargetShape(m_CollisionBoxes[0], GetPosition(), GetRotation().z, false);
  CollisionShapes::BuildTargetShape(m_CollisionBoxes[1], GetPosition(), GetRotation().z, true);
}
