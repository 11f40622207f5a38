#pragma once
// A breakable box that may hold an item, released when the box breaks.
#include <cstdint>
#include <string>

#include "engine/effects/RenderEffects.h"
#include "game/actors/Entity.h"
#include "game/mechanisms/LevelObject.h"
#include "game/mechanisms/props/Item.h"

namespace Nembra {
class CSound;
}

class CBox : public CStaticSpriteEntity {
 public:
  static constexpr float RADIUS = 90.0f;
  static constexpr float VANISH_SPEED = 512.0f;

  CBox();
  ~CBox() override = default;

  // A shot's power: from the required power on the box breaks (fade-out,
  // shapes out, its item released, sound, script); a weaker one does
  // nothing.
  void OnHit(uint32_t power);
  // The entity step, then the end of the fade-out.
  void Step() override;
  bool IsFading() const { return m_Fading != 0; }
  // Back as at the level's start.
  void Reset();
  void LoadSound();
  // Box 0 (side 2r) and box 1 (side 2(r + 60)) around the box.
  void BuildCollisionBoxes();

  CCollisionShape& GetCollisionBox(int index) { return m_CollisionBoxes[static_cast<size_t>(index)]; }
  uint32_t GetRequiredPower() const { return m_RequiredPower; }
  void SetRequiredPower(uint32_t power) { m_RequiredPower = power; }
  bool HoldsItem() const { return m_HoldsItem != 0; }
  void SetHoldsItem(bool holds) { m_HoldsItem = holds ? 1 : 0; }
  CItem& GetItem() { return m_Item; }
  const std::string& GetScriptFile() const { return m_ScriptFile; }
  void SetScriptFile(const std::string& file) { m_ScriptFile = file; }
  // The sound in use (a factory resource, not owned); tests put their own.
  Nembra::CSound* GetBreakSound() const { return m_pBreakSound; }
  void SetBreakSound(Nembra::CSound* sound) { m_pBreakSound = sound; }

 protected:
  Nembra::CVanishEffect m_Vanish;
  uint8_t m_Fading = 0;
  Nembra::CSound* m_pBreakSound = nullptr;
  COLLISION_BOXES m_CollisionBoxes;
  uint32_t m_RequiredPower = 0;
  uint8_t m_HoldsItem = 0;
  CItem m_Item;
  std::string m_ScriptFile;
};
