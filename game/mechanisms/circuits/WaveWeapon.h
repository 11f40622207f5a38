#pragma once
// A wave-weapon station: charged by shots of its colour; full, it lights
// and runs its script.
#include <cstdint>
#include <string>

#include "engine/sprites/Sprite2D.h"
#include "game/actors/Entity.h"
#include "game/mechanisms/SoundCue.h"
#include "game/mechanisms/LevelObject.h"

namespace Nembra {
class CBitmapFont;
class CPointLight;
class CWaveSound;
}  // namespace Nembra
class CBullet;
class CGenBarEffect;

class CWaveWeapon : public CStaticSpriteEntity {
 public:
  static constexpr float RADIUS = 110.0f;

  CWaveWeapon();
  ~CWaveWeapon() override = default;

  static constexpr float BAR_HEIGHT = 250.0f;
  static constexpr float LIGHT_HEIGHT = 200.0f;
  static constexpr float EXPLOSION_HEIGHT = 100.0f;

  void AddToScene(Nembra::CSceneNode* parent = nullptr) override;
  void LoadResources();
  // Its light removed, its charge bar made again, charge 0.
  void Reset();
  void OnBulletHit(const CBullet& shot);
  // The shot's colour and power (what OnBulletHit reads of a shot).
  void OnBulletHit(uint32_t colour, uint32_t power);
  void Explode();
  void DrawBar();
  // Octagons of radius r and r + 60 (built, registered by the station).
  void BuildCollisionBoxes();

  CCollisionShape& GetCollisionBox(int index) { return m_CollisionBoxes[static_cast<size_t>(index)]; }
  const std::string& GetName() const { return m_Name; }
  void SetName(const std::string& name) { m_Name = name; }
  int32_t GetColour() const { return m_Colour; }
  void SetColour(int32_t colour) { m_Colour = colour; }
  uint32_t GetCapacity() const { return m_Capacity; }
  void SetCapacity(uint32_t capacity) { m_Capacity = capacity; }
  uint32_t GetCharge() const { return m_Charge; }
  const std::string& GetScriptFile() const { return m_ScriptFile; }
  void SetScriptFile(const std::string& file) { m_ScriptFile = file; }
  CGenBarEffect* GetBarEffect() const { return m_pBar; }
  Nembra::CPointLight* GetLight() const { return m_pLight; }
  float GetBarHeight() const;
  Nembra::CStatic2DSprite& GetScreenFill() { return m_ScreenFill; }

 protected:
  void TakeBar();

  Nembra::CPointLight* m_pLight = nullptr;
  CGenBarEffect* m_pBar = nullptr;
  CSoundCue m_CorrectSound;
  CSoundCue m_IncorrectSound;
  Nembra::CStatic2DSprite m_ScreenFrame;
  Nembra::CStatic2DSprite m_ScreenFill;
  Nembra::CBitmapFont* m_pFont = nullptr;
  std::string m_Name;
  int32_t m_Colour = 0;
  uint32_t m_Capacity = 0;
  uint32_t m_Charge = 0;
  COLLISION_BOXES m_CollisionBoxes;
  std::string m_ScriptFile;
};
