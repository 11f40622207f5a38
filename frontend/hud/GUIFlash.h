#pragma once
// The grow-and-fade flash played over an icon: once started, a copy of
// the image grows from nothing to ten times its size around its centre
// while it fades out, in 0.4 seconds. The owner gives the sprite its
// texture, source rectangle, centre and position, and starts the flash by
// setting the timer to the duration.
#include "engine/sprites/Sprite2D.h"

class CGUIFlash {
 public:
  CGUIFlash() = default;

  // Starts the flash, or starts it again from the beginning.
  void Start() { m_Timer = m_Duration; }
  bool IsRunning() const { return m_Timer > 0.0f; }
  // Once per frame inside the sprite batch: draws the flash at its current
  // size and opacity, then takes the frame time off the timer. Nothing when idle.
  void Update();

  float m_Timer = 0.0f;  // seconds left; 0 when idle
  Nembra::CStatic2DSprite m_Sprite;
  float m_Duration = 0.4f;
  float m_EndScale = 10.0f;
  float m_StartScale = 0.0f;
};
