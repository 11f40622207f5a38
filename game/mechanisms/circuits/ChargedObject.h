#pragma once
// What the generator and the wave-weapon station share: shots of the
// object's colour charge it up to its capacity; full, it shows a point
// light of its colour and runs its script. A particle bar beside it rises
// with the charge, and a small bar with the percentage is drawn over it on
// the screen. Shots of the other colour, and any shot into a full object,
// only play the refusal sound.
#include <cstdint>
#include <string>

#include "engine/sprites/Sprite2D.h"
#include "game/actors/Entity.h"
#include "game/mechanisms/LevelObject.h"
#include "game/mechanisms/SoundCue.h"

namespace Nembra {
class CBitmapFont;
class CPointLight;
}  // namespace Nembra
class CGenBarEffect;

class CChargedObject : public CStaticSpriteEntity {
 public:
  static constexpr float RADIUS = 110.0f;
  static constexpr float BAR_HEIGHT = 250.0f;
  static constexpr float LIGHT_HEIGHT = 200.0f;

  CChargedObject() { SetRadius(RADIUS); }

  // The correct and refusal sounds, and the screen bar in the colour's row.
  void LoadResources();
  // The screen bar, while the object is shown.
  void DrawBar();

  CCollisionShape& GetCollisionBox(int index) { return m_CollisionBoxes[static_cast<size_t>(index)]; }
  uint32_t GetCapacity() const { return m_Capacity; }
  void SetCapacity(uint32_t capacity) { m_Capacity = capacity; }
  uint32_t GetCharge() const { return m_Charge; }
  bool IsFull() const { return m_Charge == m_Capacity; }
  const std::string& GetScriptFile() const { return m_ScriptFile; }
  void SetScriptFile(const std::string& file) { m_ScriptFile = file; }
  CGenBarEffect* GetBarEffect() const { return m_pBarEffect; }
  void SetBarEffect(CGenBarEffect* effect) { m_pBarEffect = effect; }
  Nembra::CPointLight* GetLight() const { return m_pLight; }
  // Height of the particle bar: 250 x charge / capacity, 250 for capacity 0.
  float GetBarHeight() const;

 protected:
  // A shot of the colour and power: refused, or charged (at most to the
  // capacity), then on filling lit and its script run, the charge shown and
  // the correct sound played.
  void TakeShot(uint32_t colour, uint32_t power);
  // A new particle bar from the level at the object's x and y.
  void TakeBarEffect();
  // The particle bar at the charge's height.
  virtual void ShowCharge();
  // The light of the colour above the object, in place of any it had.
  void LightUp();
  // Charge 0 and no light.
  void Empty();

  Nembra::CPointLight* m_pLight = nullptr;
  CGenBarEffect* m_pBarEffect = nullptr;
  CSoundCue m_CorrectSound;
  CSoundCue m_IncorrectSound;
  Nembra::CStatic2DSprite m_ScreenFrame;
  Nembra::CStatic2DSprite m_ScreenFill;
  Nembra::CBitmapFont* m_pFont = nullptr;
  // The station's screen fill shrinks to the charge; the generator's stays whole.
  bool m_FillShowsCharge = false;
  uint32_t m_Colour = 0;
  uint32_t m_Capacity = 0;
  uint32_t m_Charge = 0;
  COLLISION_BOXES m_CollisionBoxes;
  std::string m_ScriptFile;
};
