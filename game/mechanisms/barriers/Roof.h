#pragma once
// Roofs over doors (they fade when their door opens or breaks) and the
// expanding slow-down zones of the gas balls.
#include <cstdint>

#include "engine/effects/RenderEffects.h"
#include "engine/scene/SceneNode.h"
#include "game/actors/Entity.h"
#include "game/mechanisms/LevelObject.h"

class CRoof : public CStaticSpriteEntity {
 public:
  static constexpr float VANISH_SPEED = 512.0f;

  CRoof();
  ~CRoof() override;

  // Shown again, whole.
  void Show();
  // Fades out and stays drawn at the faded alpha.
  void Hide();
  // Takes the roof's mesh from the simple-mesh factory.
  bool LoadMesh(const std::string& name);

  bool IsVanishing() const { return m_Vanishing; }

 protected:
  Nembra::CVanishEffect m_Vanish;
  bool m_Vanishing = false;

 private:
  CHeldMesh m_Mesh;
};

class CSlowDowner : public Nembra::CSceneNode {
 public:
  CSlowDowner(const D3DXVECTOR3& position, float baseRadius, float maxScale, float growthRate, float unused);
  ~CSlowDowner() override = default;
  CSlowDowner(const CSlowDowner&) = delete;
  CSlowDowner& operator=(const CSlowDowner&) = delete;

  float GetRadius() const { return m_Radius; }
  float GetScale() const { return m_ZoneScale; }
  bool IsAlive() const { return m_Alive; }
  // Switched off, the level erases the zone.
  void SetAlive(bool alive) { m_Alive = alive; }
  // Grows the scale until it passes the maximum; the radius follows one
  // frame late.
  void OnUpdate() override;

 protected:
  float m_Radius = 0.0f;
  float m_BaseRadius = 0.0f;
  float m_MaxScale = 0.0f;
  float m_ZoneScale = 1.0f;
  float m_GrowthRate = 0.0f;
  bool m_Alive = true;
};
