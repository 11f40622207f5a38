#pragma once
// The energy generator: shots of its colour charge it; full, it lights up
// and runs its script.
#include <cstdint>
#include <string>

#include "engine/scene/StaticSprite.h"
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

class CGenerator : public CStaticSpriteEntity {
 public:
  static constexpr float RADIUS = 110.0f;
  static constexpr float BAR_HEIGHT = 250.0f;

  CGenerator();
  ~CGenerator() override;

  void AddToScene(Nembra::CSceneNode* parent = nullptr) override;
  void RemoveFromScene() override;

  static constexpr float LIGHT_HEIGHT = 200.0f;

  void Fill();
  void LoadResources();
  void OnHit(const CBullet& shot);
  // The shot's colour and power (what OnHit reads of a shot).
  void OnHit(uint32_t colour, uint32_t power);
  void DrawBar();
  // Empty again: charge 0, its light deleted, and no bar effect (the level
  // deletes the effects before it resets the generators).
  void Reset();
  // Octagons of radius r and r + 30 about the generator.
  void BuildCollisionBoxes();

  bool SetBarMesh(Nembra::CSimpleMesh* mesh) { return m_BarSprite.SetMesh(mesh); }
  Nembra::CStatic3DSprite& GetBarSprite() { return m_BarSprite; }
  CCollisionShape& GetCollisionBox(int index) { return m_CollisionBoxes[static_cast<size_t>(index)]; }
  int32_t GetId() const { return m_Id; }
  void SetId(int32_t id) { m_Id = id; }
  uint32_t GetColour() const { return m_Colour; }
  void SetColour(uint32_t colour) { m_Colour = colour; }
  uint32_t GetCapacity() const { return m_Capacity; }
  void SetCapacity(uint32_t capacity) { m_Capacity = capacity; }
  uint32_t GetCharge() const { return m_Charge; }
  const std::string& GetScriptFile() const { return m_ScriptFile; }
  void SetScriptFile(const std::string& file) { m_ScriptFile = file; }
  CGenBarEffect* GetBarEffect() const { return m_pBarEffect; }
  void SetBarEffect(CGenBarEffect* effect) { m_pBarEffect = effect; }
  Nembra::CPointLight* GetLight() const { return m_pLight; }
  bool IsFull() const { return m_Charge == m_Capacity; }
  // Height of the bar: 250 x charge / capacity, 250 for capacity 0.
  float GetBarHeight() const;

 protected:
  void TakeBarEffect();
  void UpdateBar();
  void LightUp();

  Nembra::CStatic3DSprite m_BarSprite;
  Nembra::CPointLight* m_pLight = nullptr;
  CGenBarEffect* m_pBarEffect = nullptr;
  CSoundCue m_CorrectSound;
  CSoundCue m_IncorrectSound;
  Nembra::CStatic2DSprite m_FrameSprite;
  Nembra::CStatic2DSprite m_FillSprite;
  Nembra::CBitmapFont* m_pFont = nullptr;
  int32_t m_Id = 0;
  uint32_t m_Colour = 0;
  uint32_t m_Capacity = 0;
  uint32_t m_Charge = 0;
  COLLISION_BOXES m_CollisionBoxes;
  std::string m_ScriptFile;
};
