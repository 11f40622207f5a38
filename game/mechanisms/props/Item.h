#pragma once
// game/mechanisms/props/: the objects lying about the level: pick-ups, boxes,
// barrels, pushable carts and shooting targets. It may call mechanisms/ and
// what mechanisms/ may call.
//
// A pick-up: health, a weapon upgrade, an ability charge, a checkpoint or a
// script-only item, shown with a flat marker under it.
#include <cstdint>
#include <string>

#include "engine/effects/Beam.h"
#include "engine/effects/RenderEffects.h"
#include "game/actors/Entity.h"
#include "game/mechanisms/LevelObject.h"

namespace Nembra {
class CSound;
}

class CItem : public CStaticSpriteEntity {
 public:
  static constexpr float RADIUS = 70.0f;
  static constexpr float VANISH_SPEED = 512.0f;
  // Where the marker lies, from the item's position.
  static constexpr float MARKER_OFFSET_Y = 50.0f;
  static constexpr float MARKER_OFFSET_Z = 5.0f;

  enum KIND { KIND_SCRIPT = 0, KIND_HEALTH = 1, KIND_WEAPON = 2, KIND_ABILITY = 3, KIND_CHECKPOINT = 4,
              KIND_SCRIPT_NO_MESH = 5 };

  CItem();
  ~CItem() override;

  // Takes the item's own mesh (kind 0) from the simple-mesh factory.
  bool LoadMesh(const std::string& name);

  // Back as at the level's start: not taken, shown, scale 1.
  void ResetState();
  // Puts the marker at the position plus (0, 50, 5).
  void SetMarkerPosition(const D3DXVECTOR3& position);
  void LoadSound();

  // The entity, its sprite and the marker (made here) in the scene.
  void AddToScene(Nembra::CSceneNode* parent = nullptr) override;
  // Spins, grows and fades while taken, and is taken by a player close
  // enough.
  void Step() override;
  // Applies the item to the player; nothing when taken or inactive, or
  // for a full health pack or a full ability.
  void PickUp();

  int32_t GetKind() const { return m_Kind; }
  int32_t GetSubKind() const { return m_SubKind; }
  const std::string& GetScriptFile() const { return m_ScriptFile; }
  bool IsTaken() const { return m_Taken; }
  float GetScale() const { return m_CurrentScale; }
  Nembra::CBeam& GetMarker() { return m_Marker; }

  void SetKind(int32_t kind) { m_Kind = kind; }
  void SetSubKind(int32_t subKind) { m_SubKind = subKind; }
  void SetScriptFile(const std::string& file) { m_ScriptFile = file; }
  // The sound in use (a factory resource, not owned); tests put their own.
  Nembra::CSound* GetPickupSound() const { return m_pPickupSound; }
  void SetPickupSound(Nembra::CSound* sound) { m_pPickupSound = sound; }

 protected:
  Nembra::CVanishEffect m_Vanish;
  bool m_Taken = false;
  float m_CurrentScale = 1.0f;
  Nembra::CSound* m_pPickupSound = nullptr;
  Nembra::CBeam m_Marker;
  int32_t m_Kind = 0;
  int32_t m_SubKind = 0;
  std::string m_ScriptFile;

 private:
  CHeldMesh m_OwnMesh;
};
