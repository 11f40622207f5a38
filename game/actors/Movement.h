#pragma once
// Entities that travel: a speed and a unit direction (normally horizontal,
// the world being z-up), moved by each frame's step while the moving flag
// is set, and the steering operations the enemies combine: seek, pursue,
// obstacle avoidance and separation, fed to ApplySteeringForce.
#include <cstdint>
#include <list>

#include "game/actors/Entity.h"

class CMovingEntity : public CEntity {
 public:
  // The entity step: the base step, then, while moving,
  // position += frame time x (speed x direction).
  void Step() override;

  virtual float GetSpeed() const { return m_Speed; }
  // Direction = the vector normalised; heading and side vector follow.
  // A zero vector has no direction: everything stays as it was.
  virtual void SetDirection(const D3DXVECTOR3& v);

  // velocity = speed x direction + 5 x force x frame time; the direction
  // turns to the velocity, the speed stays.
  void ApplySteeringForce(const D3DXVECTOR3& force);
  // A force of the maximum speed's length towards the target, against the
  // current velocity.
  D3DXVECTOR3& Seek(D3DXVECTOR3& out, const D3DXVECTOR3& target) const;
  D3DXVECTOR3& SeekNode(D3DXVECTOR3& out, Nembra::CSceneNode* node) const;
  // Where the entity will be after that many seconds at its velocity.
  D3DXVECTOR3& PredictPosition(D3DXVECTOR3& out, float seconds) const;
  D3DXVECTOR3& Pursue(D3DXVECTOR3& out, const CMovingEntity* other, float seconds) const;
  // The point in this entity's frame: x along the direction, y along the
  // side vector, z always 0.
  D3DXVECTOR3& ToLocal(D3DXVECTOR3& out, const D3DXVECTOR3& point) const;
  // A local vector (x along the direction, y along the side) in the world;
  // local z is ignored.
  D3DXVECTOR3& LocalToWorldVector(D3DXVECTOR3& out, const D3DXVECTOR3& local) const;
  // A unit sideways push away from the nearest obstacle (four floats: centre
  // x, y, z and radius) in the corridor ahead: as long as the travel of
  // lookAhead seconds plus the own radius, as wide as the own radius on
  // each side. Zero when nothing is in the way.
  D3DXVECTOR3& AvoidObstacles(D3DXVECTOR3& out, float lookAhead, const std::list<const float*>& obstacles) const;
  // The sum of unit away-vectors from every other entity nearer than its
  // radius + the own radius + 50. The entity itself and neighbours on the
  // very same spot are skipped. Not normalised; zero when none.
  D3DXVECTOR3& ComputeSeparation(D3DXVECTOR3& out, const std::list<CEntity*>& others) const;

  // speed x direction.
  D3DXVECTOR3& GetVelocity(D3DXVECTOR3& out) const {
    out = m_Speed * m_Direction;
    return out;
  }
  const D3DXVECTOR3& GetDirection() const { return m_Direction; }
  float GetHeading() const { return m_Heading; }
  const D3DXVECTOR3& GetSide() const { return m_Side; }
  bool IsMoving() const { return m_Moving != 0; }
  void SetMoving(bool moving) { m_Moving = moving ? 1 : 0; }
  void SetSpeed(float speed) { m_Speed = speed; }
  float GetMaxSpeed() const { return m_MaxSpeed; }
  void SetMaxSpeed(float speed) { m_MaxSpeed = speed; }

  // The weight of a steering force in ApplySteeringForce.
  static constexpr float STEERING_WEIGHT = 5.0f;
  // The gap kept between neighbours beyond their two radii.
  static constexpr float SEPARATION_GAP = 50.0f;

 protected:
  uint8_t m_Moving = 0;
  float m_Speed = 0.0f;          // world units per second
  float m_MaxSpeed = 100.0f;     // the length of a Seek force
  float m_Tuning = 0.2f;         // free for the kinds; nothing here reads it
  D3DXVECTOR3 m_Direction{1.0f, 0.0f, 0.0f};
  float m_Heading = 0.0f;        // atan2(direction.y, direction.x)
  D3DXVECTOR3 m_Side{0.0f, 1.0f, 0.0f};  // direction x (0, 0, 1): to the right
  D3DXVECTOR3 m_Spare{0.0f, 0.0f, 0.0f};  // free for the kinds; nothing here reads it
};

class CStaticSpriteMovingEntity : public CStaticSpriteKind<CMovingEntity> {};

class CAnimatedSpriteMovingEntity : public CMovingEntity {
 public:
  // Creates the sprite (CreateSprite).
  CAnimatedSpriteMovingEntity();
  ~CAnimatedSpriteMovingEntity() override;

  // The entity, then AddSpriteToScene. Leaving the scene takes the entity
  // only; the sprite, its child, goes with it.
  void AddToScene(Nembra::CSceneNode* parent = nullptr) override;
  // A new default sprite, owned, replacing any old one (deleted when it was
  // the entity's own).
  virtual void CreateSprite();
  // Lets go of the sprite (deleting it when owned); none is left.
  virtual void DestroySprite();
  // Shows a sprite the entity does not own (its owner keeps it alive longer
  // than the entity uses it); an owned sprite in use is deleted first.
  void UseSprite(Nembra::CAnimated3DSprite* sprite);
  bool OwnsSprite() const { return m_OwnsSprite; }
  // The sprite under the entity.
  virtual void AddSpriteToScene();

  // The sprite's mesh; true when the sprite now has it.
  bool SetMesh(Nembra::CSkinnedMesh* mesh);
  Nembra::CAnimated3DSprite* GetSprite() const { return m_pSprite; }

 protected:
  Nembra::CAnimated3DSprite* m_pSprite = nullptr;

 private:
  void ReleaseSprite();
  bool m_OwnsSprite = false;
};

class CParticleSystemMovingEntity : public CParticleSystemKind<CMovingEntity> {};
