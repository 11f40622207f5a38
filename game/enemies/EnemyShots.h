#pragma once
// The enemies' shots that the level keeps by value in its shot lists. The
// particle shots share one base: the distance flown, the ended flag and the
// power given at contact.
#include <cstdint>

#include "engine/effects/Beam.h"
#include "game/actors/Movement.h"

class CParticleShot : public CParticleSystemMovingEntity {
 public:
  CParticleShot(float speed, float radius) {
    m_Speed = speed;
    SetRadius(radius);
  }
  ~CParticleShot() override = default;

  // One frame of the shot's flight; the shot goes inactive once its trail
  // has died out.
  void Step() override { Fly(Flight()); }

  float GetDistance() const { return m_Distance; }
  bool IsEnded() const { return m_Ended != 0; }
  uint32_t GetPower() const { return m_Power; }

 protected:
  // Placed at height 0 below the start, flying along the direction, with a
  // trail from the particle file drawn at the start's height and blown
  // backwards. Without the file the shot flies without trail.
  void Launch(const D3DXVECTOR3& start, const D3DXVECTOR3& direction, uint32_t power, const char* trailFile);
  // How a shot flies: it ends at the player, a wall of class 0 (the static
  // walls, and the objects' shapes when told) or a standing box (when
  // told), or once it has flown its range.
  struct FLIGHT {
    float range = 0.0f;
    // The weight of the seek towards the player each frame; 0 flies straight.
    float homingWeight = 0.0f;
    bool wallsWithObjects = true;
    bool stopAtBoxes = false;
    // On hitting the player the shot moves onto the player's position.
    bool endAtPlayer = false;
  };
  virtual FLIGHT Flight() const = 0;
  void Fly(const FLIGHT& flight);
  // The shot met something: its impact effect.
  virtual void OnImpact() {}

  float m_Distance = 0.0f;
  uint8_t m_Ended = 0;
  uint32_t m_Power = 0;
};

// The shooting enemy's shot: slow, homing, with a particle trail.
class CEnemy3Bullet : public CParticleShot {
 public:
  static constexpr float SPEED = 1000.0f;
  static constexpr float RADIUS = 50.0f;
  static constexpr float MAX_DISTANCE = 1500.0f;
  static constexpr float HOMING_WEIGHT = 15.0f;
  CEnemy3Bullet() : CParticleShot(SPEED, RADIUS) {}
  void Init(const D3DXVECTOR3& position, const D3DXVECTOR3& direction, uint32_t power);

 protected:
  FLIGHT Flight() const override;
  void OnImpact() override;
};

// The cocoon enemy's shot: straight, stopped by boxes too, its own trail.
class CEnemy2Bullet : public CParticleShot {
 public:
  static constexpr float SPEED = 1000.0f;
  static constexpr float RADIUS = 50.0f;
  CEnemy2Bullet() : CParticleShot(SPEED, RADIUS) {}
  void Init(const D3DXVECTOR3& position, const D3DXVECTOR3& direction, uint32_t power);

 protected:
  FLIGHT Flight() const override;
  void OnImpact() override;
};

// The horn-and-spit enemy's gas ball, thrown in an arc.
class CEnemy6Bullet : public CParticleSystemMovingEntity {
 public:
  static constexpr float SPEED = 900.0f;
  static constexpr float RADIUS = 50.0f;
  CEnemy6Bullet() {
    m_Speed = SPEED;
    SetRadius(RADIUS);
  }

  static constexpr float FALL = 500.0f;  // half the downward acceleration
  static constexpr float CONTACT_DAMAGE = 20.0f;
  enum Hit : uint32_t { NONE = 0, FLOOR = 1, PLAYER = 2, WALL = 3, BOX = 4 };

  void Init(const D3DXVECTOR3& position, const D3DXVECTOR3& direction, uint32_t power);
  // The arc from the start point; the floor, the player, walls and active
  // boxes stop it. The player takes the power on contact and 20 more unless
  // a wall in the same step took the hit.
  void Step() override;

  uint32_t GetHitKind() const { return m_HitKind; }
  const D3DXVECTOR3& GetStartPoint() const { return m_StartPoint; }
  float GetFlightTime() const { return m_FlightTime; }
  bool HasLanded() const { return m_Landed != 0; }
  int32_t GetPower() const { return m_Power; }

 protected:
  D3DXVECTOR3 m_StartPoint{0.0f, 0.0f, 0.0f};
  float m_FlightTime = 0.0f;
  uint8_t m_Landed = 0;
  int32_t m_Power = 0;
  uint32_t m_HitKind = NONE;
};

// The beam enemy's shot: a short beam flying straight.
class CEnemy8Bullet : public CMovingEntity {
 public:
  static constexpr float SPEED = 4000.0f;
  static constexpr float RADIUS = 30.0f;
  static constexpr float LENGTH = 200.0f;
  static constexpr float WIDTH = 80.0f;
  static constexpr float HALF_WIDTH = 25.0f;
  static constexpr float MAX_DISTANCE = 1200.0f;
  CEnemy8Bullet() {
    m_Speed = SPEED;
    SetRadius(RADIUS);
  }
  ~CEnemy8Bullet() override = default;

  void AddToScene(Nembra::CSceneNode* parent = nullptr) override;
  void RemoveFromScene() override;
  // From the position along the direction, its beam drawn from the shot.
  void Init(const D3DXVECTOR3& position, const D3DXVECTOR3& direction, uint32_t power);
  // Beam shape, then flight until the player, a wall or 1200 units.
  void Step() override;

  float GetDistance() const { return m_Distance; }
  bool IsDone() const { return m_Done != 0; }
  uint32_t GetPower() const { return m_Power; }
  Nembra::CBeam& GetBeam() { return m_Beam; }

 protected:
  float m_Distance = 0.0f;
  uint8_t m_Done = 0;
  Nembra::CBeam m_Beam;
  uint32_t m_Power = 0;
};
