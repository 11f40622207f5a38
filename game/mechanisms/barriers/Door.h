#pragma once
// game/mechanisms/barriers/: what shuts a way: doors, lasers, wire grates and
// roofs, and the door and laser files. It may call mechanisms/ and what
// mechanisms/ may call.
//
// Doors: the breakable door, fixed to the colour of its first shot, and the
// open/close door the scripts move.
#include <cstdint>
#include <string>

#include "engine/effects/RenderEffects.h"
#include "engine/resources/FactoryRef.h"
#include "engine/resources/SkinnedMesh.h"
#include "game/actors/Entity.h"
#include "game/mechanisms/SoundCue.h"
#include "game/mechanisms/LevelObject.h"

namespace Nembra {
class CWaveSound;
}
class CBullet;
class CRoof;

class CDoor : public CStaticSpriteEntity {
 public:
  static constexpr float RADIUS = 200.0f;
  static constexpr float VANISH_SPEED = 2048.0f;
  static constexpr float TINT_SECONDS = 0.3f;

  CDoor();
  ~CDoor() override;

  // Reads the description file (mesh name line, width, depth); false when
  // it cannot be read.
  bool LoadFromFile(const std::string& fileName);
  void LoadSound();
  void OnShotHit(const CBullet& shot);
  // The shot's colour and power (what OnShotHit reads of a shot).
  void OnHit(uint32_t colour, uint32_t power);
  // Ends the fade of a broken door: hidden.
  void Step() override;
  // Back as at the level's start.
  void Reset();
  // Box 0 width x depth, box 1 width x (depth + 120), turned with the door.
  void BuildCollisionBoxes();

  CCollisionShape& GetCollisionBox(int index) { return m_CollisionBoxes[static_cast<size_t>(index)]; }
  uint32_t GetChargeNeeded() const { return m_ChargeNeeded; }
  void SetChargeNeeded(uint32_t charge) { m_ChargeNeeded = charge; }
  uint32_t GetCharge() const { return m_Charge; }
  CRoof* GetRoof() const { return m_pRoof; }
  void SetRoof(CRoof* roof) { m_pRoof = roof; }
  const std::string& GetScriptFile() const { return m_ScriptFile; }
  void SetScriptFile(const std::string& file) { m_ScriptFile = file; }
  float GetWidth() const { return m_Width; }
  float GetDepth() const { return m_Depth; }
  bool IsColourFixed() const { return m_ColourFixed != 0; }
  uint32_t GetColour() const { return m_Colour; }
  bool IsBreaking() const { return m_Breaking != 0; }
  const std::string& GetMeshName() const { return m_Mesh.GetName(); }

 protected:
  void Break();

  CSoundCue m_Sound;
  uint32_t m_ChargeNeeded = 1;
  uint32_t m_Charge = 0;
  uint8_t m_ColourFixed = 0;
  uint32_t m_Colour = 0;
  CRoof* m_pRoof = nullptr;
  float m_Width = 0.0f;
  float m_Depth = 0.0f;
  COLLISION_BOXES m_CollisionBoxes;
  std::string m_ScriptFile;
  Nembra::CVanishEffect m_Vanish;
  uint8_t m_Breaking = 0;
  Nembra::CColorizeEffect m_RedTint;
  Nembra::CColorizeEffect m_BlueTint;

 private:
  CHeldMesh m_Mesh;
};

class COpenCloseDoor : public CAnimatedSpriteEntity {
 public:
  static constexpr float RADIUS = 500.0f;
  static constexpr float SPRITE_BOUNDS = 1000.0f;

  enum STATE { STATE_CLOSED = 0, STATE_OPENING = 1, STATE_OPEN = 2, STATE_CLOSING = 3 };

  COpenCloseDoor();
  ~COpenCloseDoor() override;
  COpenCloseDoor(const COpenCloseDoor&) = delete;
  COpenCloseDoor& operator=(const COpenCloseDoor&) = delete;

  // Reads the description file (skinned mesh name line, width, depth);
  // false when it cannot be read.
  bool Load(const std::string& fileName);
  void Open();
  void Close();
  // Ends the opening and closing; a closing or closed door kills the
  // enemies inside its outline.
  void Step() override;
  // Closed and blocking again.
  void SetClosed();
  void BuildCollisionBoxes();

  CCollisionShape& GetCollisionBox(int index) { return m_CollisionBoxes[static_cast<size_t>(index)]; }
  uint32_t GetState() const { return m_State; }
  const std::string& GetName() const { return m_Name; }
  // Stored upper-cased: scripts address doors by the upper-cased name.
  void SetName(const std::string& name);
  CRoof* GetRoof() const { return m_pRoof; }
  void SetRoof(CRoof* roof) { m_pRoof = roof; }
  void SetScripts(const std::string& openScript, const std::string& closeScript) {
    m_OpenScript = openScript;
    m_CloseScript = closeScript;
  }
  const std::string& GetOpenScript() const { return m_OpenScript; }
  const std::string& GetCloseScript() const { return m_CloseScript; }
  bool IsEnabled() const { return m_Enabled != 0; }
  float GetWidth() const { return m_Width; }
  float GetDepth() const { return m_Depth; }
  const std::string& GetMeshName() const { return m_SkinnedMesh.GetName(); }
  void SetEnabled(bool enabled) { m_Enabled = enabled ? 1 : 0; }

 protected:
  uint32_t m_State = STATE_CLOSED;
  std::string m_Name;
  CRoof* m_pRoof = nullptr;
  float m_Width = 0.0f;
  float m_Depth = 0.0f;
  COLLISION_BOXES m_CollisionBoxes;
  std::string m_OpenScript;
  std::string m_CloseScript;
  uint8_t m_Enabled = 1;  // the record's flag

 private:
  void ReleaseMesh();
  Nembra::CFactoryRef<Nembra::CSkinnedMeshFactory> m_SkinnedMesh{Nembra::g_pSkinnedMeshFactory};
};
