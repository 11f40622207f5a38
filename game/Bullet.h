#pragma once
// The player's shot: a fast moving entity drawn as a textured beam. The
// level keeps its shots by value in its player-shot list.
#include <cstdint>

#include "engine/effects/Beam.h"
#include "game/Movement.h"

class CBullet : public CMovingEntity {
 public:
  static constexpr float SPEED = 5000.0f;
  static constexpr float RADIUS = 30.0f;

  CBullet() {
    m_Speed = SPEED;
    SetRadius(RADIUS);
  }
  ~CBullet() override = default;

  uint32_t GetColour() const { return m_Colour; }
  uint32_t GetPower() const { return m_Power; }
  float GetDistance() const { return m_Distance; }
  bool IsFinished() const { return m_Finished != 0; }
  Nembra::CBeam& GetBeam() { return m_Beam; }

 protected:
  float m_Distance = 0.0f;
  uint8_t m_Finished = 0;
  Nembra::CBeam m_Beam;
  uint32_t m_Colour = 1;
  uint32_t m_Power = 1;
};
