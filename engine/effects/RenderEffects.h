#pragma once
// The two render effects: a fade in or out through the texture factor's
// alpha, and a tint from one colour to another over a time. Both set their
// device states through the device wrapper's cached setters and put back
// what the cache held before.
#include <cstdint>

#include "engine/scene/RenderEffect.h"
#include "platform/Math.h"

namespace Nembra {

class CVanishEffect : public CRenderEffect {
 public:
  // Fading in: alpha rises to the maximum; fading out: it falls to the minimum.
  void Start(bool fadeIn);
  void Restart();

  void Update() override;
  void Begin() override;
  void End() override;
  // At the fixed ends: 255 fading in, 0 fading out (not the limits).
  bool IsFinished() override;

  int32_t GetAlpha() const { return m_Alpha; }
  bool IsFadingIn() const { return m_FadeIn; }

  float speed = 255.0f;  // alpha units per second
  bool blendSetup = true;  // Begin also sets the blend factors
  bool running = true;     // false: Update does nothing
  uint8_t minimum = 0;
  uint8_t maximum = 255;

 private:
  int32_t m_Alpha = 255;
  float m_Accumulator = 0.0f;  // the fraction of a step carried to the next frame
  uint32_t m_Saved[7] = {};
  bool m_FadeIn = false;
};

class CColorizeEffect : public CRenderEffect {
 public:
  void Start(const D3DXCOLOR& from, const D3DXCOLOR& to, float seconds);
  void Restart() { m_Elapsed = 0.0f; }

  void Update() override;
  void Begin() override;
  void End() override;
  bool IsFinished() override { return m_Elapsed >= m_Duration; }

  // The texture factor for the current time: alpha 255 and the tint's red,
  // green and blue (a duration of 0 shows the end colour).
  uint32_t CurrentFactor() const;
  float GetElapsed() const { return m_Elapsed; }

 private:
  D3DXCOLOR m_From;
  D3DXCOLOR m_To;
  float m_Elapsed = 0.0f;
  float m_Duration = 0.0f;
  uint32_t m_Saved[6] = {};
};

}  // namespace Nembra
