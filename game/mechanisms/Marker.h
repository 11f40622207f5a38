#pragma once
// Markers shown over places: a steady sprite and a pulsing one over it.
// CMarker faces the camera (billboards); CPlaneMarker lies flat (the
// circuit sockets).
#include <cstdint>
#include <string>

#include "engine/effects/RenderEffects.h"
#include "engine/scene/Billboard.h"
#include "game/Entity.h"

template <class Sprite>
class CMarkerKind : public CEntity {
 public:
  static constexpr float VANISH_SPEED = 64.0f;

  CMarkerKind() { m_Vanish.speed = VANISH_SPEED; }
  ~CMarkerKind() override = default;

  void AddToScene(Nembra::CSceneNode* parent = nullptr) override {
    CEntity::AddToScene(parent);
    if (!m_Created || !Nembra::g_pSceneManager) return;
    Nembra::g_pSceneManager->AddNode(&m_SteadySprite, this);
    Nembra::g_pSceneManager->AddNode(&m_EffectSprite, this);
  }

  // Starts showing (true) or fading the marker.
  void Activate(bool active) { m_MarkerActive = active; }
  bool IsMarkerActive() const { return m_MarkerActive; }
  bool IsCreated() const { return m_Created; }

 protected:
  Sprite m_SteadySprite;
  Sprite m_EffectSprite;
  bool m_Flag = false;
  Nembra::CVanishEffect m_Vanish;
  bool m_MarkerActive = false;
  float m_PulseScale = 1.0f;
  int32_t m_PulseAlpha = 255;
  float m_AlphaAccumulator = 0.0f;
  float m_WaitTimer = 0.0f;
  bool m_Created = false;  // the sprites are built
};

class CMarker : public CMarkerKind<Nembra::CStaticBillboard> {
 public:
  // Builds the billboards at the place, of the size, with the image.
  bool Create(float x, float y, float z, float size, const std::string& imageFile, int mode);
};

class CPlaneMarker : public CMarkerKind<Nembra::CPlaneSprite> {
 public:
  bool Create(float x, float y, float z, float size, const std::string& imageFile, int mode);
};
