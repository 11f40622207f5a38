#pragma once
// A pop-up target: raised by a script, brought down by shots of its colour.
#include <cstdint>
#include <string>

#include "engine/effects/RenderEffects.h"
#include "game/actors/Entity.h"
#include "game/mechanisms/SoundCue.h"
#include "game/mechanisms/LevelObject.h"

namespace Nembra {
class CSound;
}
class CBullet;

class CTarget : public CAnimatedSpriteEntity {
 public:
  static constexpr float VANISH_SPEED = 2048.0f;
  enum STATE { STATE_DOWN = 0, STATE_RISING = 1, STATE_UP = 2 };

  CTarget();
  ~CTarget() override = default;

  void LoadResources();
  // Rises; its boxes are registered with the level while it stands.
  void PopUp();
  void OnShotHit(const CBullet& shot);
  // The shot's colour and power (what OnShotHit reads of a shot).
  void OnHit(uint32_t colour, uint32_t power);
  // Active while it stands (rising or up).
  bool IsActive() const override { return m_Active != 0 && m_State != STATE_DOWN; }
  void Step() override;
  // Down again, its boxes withdrawn.
  void Reset();
  // Box 0 100 x 50 and box 1 100 x 170 about the target (built, registered
  // only while it stands).
  void BuildCollisionBoxes();

  CCollisionShape& GetCollisionBox(int index) { return m_CollisionBoxes[static_cast<size_t>(index)]; }
  int32_t GetState() const { return m_State; }
  const std::string& GetName() const { return m_Name; }
  // Stored upper-cased: scripts address targets by the upper-cased name.
  void SetName(const std::string& name);
  int32_t GetColour() const { return m_Colour; }
  void SetColour(int32_t colour) { m_Colour = colour != 0 ? 1 : 0; }
  int32_t GetHitLimit() const { return m_HitLimit; }
  void SetHitLimit(int32_t limit) { m_HitLimit = limit; }
  const std::string& GetScriptFile() const { return m_ScriptFile; }
  void SetScriptFile(const std::string& file) { m_ScriptFile = file; }
  int32_t GetDamage() const { return m_Damage; }
  bool IsVanishing() const { return m_Vanishing; }
  bool AreBoxesRegistered() const { return m_Registered; }

 protected:
  // Puts the boxes into the level or takes them out, once either way.
  void RegisterBoxes(bool registered);
  bool m_Registered = false;

  int32_t m_State = STATE_DOWN;
  Nembra::CVanishEffect m_Vanish;
  bool m_Vanishing = false;
  CSoundCue m_HitSound;
  std::string m_Name;
  int32_t m_Colour = 0;
  int32_t m_HitLimit = 1;
  int32_t m_Damage = 0;
  COLLISION_BOXES m_CollisionBoxes;
  std::string m_ScriptFile;
};
