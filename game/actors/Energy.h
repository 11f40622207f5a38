#pragma once
// Energy souls: what a dead enemy leaves behind. A glowing red or blue
// billboard, drawn additively, that fades in, then loses its value linearly
// over 40 seconds, shrinking and sinking as it goes; the player collects it
// by walking through it.
#include <cstdint>
#include <string>

#include "engine/effects/RenderEffects.h"
#include "engine/resources/FactoryRef.h"
#include "engine/resources/Shader.h"
#include "engine/resources/Texture.h"
#include "engine/scene/Billboard.h"
#include "game/actors/Entity.h"

class CEnergy : public CEntity {
 public:
  // The fade-in of a soul, in alpha units per second.
  static constexpr float FADE_IN_SPEED = 512.0f;
  // The part of the value lost per second.
  static constexpr float FADE_RATE = 0.025f;

  // Starts the fade-in effect.
  CEnergy();

  // Makes the soul of the colour (0 red, anything else blue) and value at
  // (x, y, z): a billboard value x 10 + 50 wide, a collision radius of half
  // that, fading in from transparent.
  void Init(uint32_t colour, float x, float y, float z, uint32_t value);
  // Into the scene at the root, the billboard above the soul's centre.
  virtual void Show();
  // Fades the value; at nothing left the soul goes inactive. Otherwise the
  // billboard scales and the soul sinks with what is left; the fade-in
  // effect is dropped once it has finished.
  void Step() override;

  // What the soul is worth now: value x fraction, truncated.
  uint32_t GetValue() const;
  uint32_t GetColor() const { return m_Color; }
  float GetFraction() const { return m_Fraction; }
  bool IsFadingIn() const { return m_FadingIn != 0; }
  Nembra::CStaticBillboard& GetBillboard() { return m_Billboard; }
  Nembra::CVanishEffect& GetVanishEffect() { return m_Vanish; }

 private:
  Nembra::CStaticBillboard m_Billboard;
  float m_FadeRate = FADE_RATE;
  float m_Fraction = 1.0f;  // the part of the value still left
  uint32_t m_Value = 0;
  uint8_t m_FadingIn = 0;
  Nembra::CVanishEffect m_Vanish;
  float m_BaseHeight = 0.0f;
  uint32_t m_Color = 0;
  // What Init took from the factories, one reference each (given back
  // before the billboard, which draws nothing more, goes).
  Nembra::CFactoryRef<Nembra::CTextureFactory> m_Texture{Nembra::g_pTextureFactory};
  Nembra::CFactoryRef<Nembra::CShaderFactory> m_StateBlock{Nembra::g_pShaderFactory};
};
