#pragma once
// The player's shot: a fast moving entity drawn as a textured beam. Each
// frame it sweeps its path against the walls and every kind of level
// object, stops at the nearest thing it meets and tells that thing it was
// hit. The level keeps its shots by value in its player-shot list.
#include <cstdint>

#include "engine/effects/Beam.h"
#include "game/actors/Movement.h"

class CBullet : public CMovingEntity {
 public:
  static constexpr float SPEED = 5000.0f;
  static constexpr float RADIUS = 30.0f;
  // How far a shot flies before it ends without a hit.
  static constexpr float RANGE = 1000.0f;
  // The beam: its full length, half width, and what a fresh shot shows in
  // front of its start.
  static constexpr float BEAM_LENGTH = 200.0f;
  static constexpr float BEAM_WIDTH = 80.0f;
  static constexpr float BEAM_HALF_WIDTH = 40.0f;
  static constexpr float BEAM_LEAD = 70.0f;

  // What the last step of the shot met.
  enum class Hit {
    None,
    Wall,
    Box,
    Door,
    WireGrate,
    Target,
    PushForward,
    PushBackward,
    Enemy,
    Barrel,
    Generator,
    WaveWeapon,
    Laser
  };

  CBullet() {
    m_Speed = SPEED;
    SetRadius(RADIUS);
  }
  ~CBullet() override = default;

  // Colour (0 red, anything else blue), start, flight direction and power;
  // the beam's texture follows power (1 to 3) and colour. Any other power
  // leaves the shot without a beam.
  void Init(const int& colour, const float start[3], const float direction[3], const uint32_t& power);
  // The shot, then its beam under it at the hand's height.
  void AddToScene(Nembra::CSceneNode* parent = nullptr) override;
  // The flight: one step, the nearest wall or object met, the hit handed on.
  void Step() override;

  uint32_t GetColour() const { return m_Colour; }
  uint32_t GetPower() const { return m_Power; }
  float GetDistance() const { return m_Distance; }
  bool IsFinished() const { return m_Finished != 0; }
  Nembra::CBeam& GetBeam() { return m_Beam; }
  const Nembra::CBeam& GetBeam() const { return m_Beam; }
  // Whether Init built the beam (power 1 to 3).
  bool HasBeam() const { return m_HasBeam; }
  Hit GetHit() const { return m_LastHit; }
  CEntity* GetHitObject() const { return m_pHitObject; }

 protected:
  // The beam's shape from the distance travelled, then its layout.
  void ShapeBeam();
  // Finds the nearest thing on the path from start towards end; best
  // becomes where the shot stops.
  bool FindHit(const D3DXVECTOR3& start, D3DXVECTOR3& best);
  // Hands the hit to the object met.
  void ApplyHit();

  float m_Distance = 0.0f;
  uint8_t m_Finished = 0;
  Nembra::CBeam m_Beam;
  uint32_t m_Colour = 1;
  uint32_t m_Power = 1;
  bool m_HasBeam = false;
  Hit m_LastHit = Hit::None;
  CEntity* m_pHitObject = nullptr;
};

namespace Nembra {

// The small burst of particles where a player shot met a wall, in the
// shot's colour, at the shot's beam.
class CBulletWallHitEffect : public CParticleSystemEntity {
 public:
  explicit CBulletWallHitEffect(const CBullet& shot);
  void Step() override { StepEffect(); }
};

}  // namespace Nembra
