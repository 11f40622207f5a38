#pragma once
// Markers shown over places: a steady sprite and a pulsing one over it.
// CMarker faces the camera (billboards); CPlaneMarker lies flat (the
// circuit sockets).
#include <cstdint>
#include <string>

#include "engine/effects/RenderEffects.h"
#include "engine/resources/FactoryRef.h"
#include "engine/resources/Shader.h"
#include "engine/resources/Texture.h"
#include "engine/scene/Billboard.h"
#include "game/actors/Entity.h"

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

  // Starts the pulse from full alpha and scale 1 (true) or stops it.
  void Activate(bool active);
  // Shows or hides both sprites.
  void Show(bool shown) {
    m_SteadySprite.SetVisible(shown);
    m_EffectSprite.SetVisible(shown);
  }
  bool IsShown() const { return m_SteadySprite.IsVisible(); }
  // The pulse: fades the copy out while it grows, then waits a second.
  void Step() override;

  float GetPulseScale() const { return m_PulseScale; }
  int32_t GetPulseAlpha() const { return m_PulseAlpha; }
  float GetWaitTimer() const { return m_WaitTimer; }
  // The colour the effect copy is drawn with (its alpha pulses): the
  // sprite's own, which its draw sets as the texture factor that the
  // effect block's alpha reads.
  D3DCOLOR GetEffectColour() const { return m_EffectSprite.GetColor(); }
  Sprite& GetSteadySprite() { return m_SteadySprite; }
  Sprite& GetEffectSprite() { return m_EffectSprite; }
  const std::string& GetEffectBlockName() const {
    static const std::string none;
    return m_EffectBlock.Get() ? m_EffectBlock.GetName() : none;
  }
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
  Nembra::CFactoryRef<Nembra::CShaderFactory> m_SteadyBlock{Nembra::g_pShaderFactory};
  Nembra::CFactoryRef<Nembra::CShaderFactory> m_EffectBlock{Nembra::g_pShaderFactory};

  // The billboard copy goes back to opaque white at scale 1 when it is
  // switched; the plane copy keeps what it had until its next pulse.
  virtual void ResetEffectLook() { SetEffectLook(0xFFFFFFFFu, 1.0f); }
  void StartPulse();
  void SetEffectLook(D3DCOLOR colour, float scale);
  // Takes the two render-state blocks (the steady one shared, the effect
  // one of this marker) and the image; false when a factory is missing.
  bool TakeBlocks(const char* steadyBlock, const std::string& effectBlock, bool plane,
                  Nembra::CShader*& steady, Nembra::CShader*& effect);
  void ReleaseResources();
  Nembra::CFactoryRef<Nembra::CTextureFactory> m_Image{Nembra::g_pTextureFactory};
};

class CMarker : public CMarkerKind<Nembra::CStaticBillboard> {
 public:
  ~CMarker() override;
  // Builds the billboards at the place, of the size, with the image.
  bool Create(float x, float y, float z, float size, const std::string& imageFile, int mode);
};

class CPlaneMarker : public CMarkerKind<Nembra::CPlaneSprite> {
 public:
  ~CPlaneMarker() override;
  bool Create(float x, float y, float z, float size, const std::string& imageFile, int mode);

 protected:
  void ResetEffectLook() override;
};
