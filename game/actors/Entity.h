#pragma once
// game/actors/: what lives in a level: entities, movement and steering,
// characters, shots and energy souls. It may call engine/, platform/,
// and the level and world for the current level and player.
//
// Entities: every object that lives in a level is a scene node with an
// active flag, a per-frame step, a way into and out of the scene, and a
// sphere test for shots and contacts.
//
// The level steps its entities with Step() once per frame; the scene pass
// (CSceneNode::Update, run by the scene manager) is a different operation
// and is never overridden here. An inactive entity is finished: its owner
// takes it out of the scene and destroys it.
//
// Entities own their visuals (sprites, emitters) and point at themselves
// through the scene tree, so they are never copied: owners build them in
// place (emplace_back into a list, or new).
#include <cstdint>
#include <string>

#include "engine/particles/ParticleEmitter.h"
#include "engine/particles/ParticleFile.h"
#include "engine/scene/Animated3DSprite.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/StaticSprite.h"
#include "platform/Math.h"

namespace Nembra {
class CSimpleMesh;
class CSkinnedMesh;
}  // namespace Nembra

class CEntity : public Nembra::CSceneNode {
 public:
  CEntity() = default;
  ~CEntity() override = default;
  CEntity(const CEntity&) = delete;
  CEntity& operator=(const CEntity&) = delete;

  virtual bool IsActive() const { return m_Active != 0; }
  // Clears the active flag; nothing leaves the scene by itself.
  virtual void Deactivate() { m_Active = 0; }
  // This entity under the parent (the scene root when null). Visual kinds
  // then put their visual under the entity: taking an entity out of the
  // scene empties its subtree, so every add builds it again.
  virtual void AddToScene(Nembra::CSceneNode* parent = nullptr);
  virtual void RemoveFromScene();
  // The per-frame step: refreshes the world matrix. Kinds with behaviour
  // of their own override it and call their base first.
  virtual void Step() { UpdateWorldMatrix(); }
  // Sweeps a sphere of the given radius from `from` to `to` against this
  // entity's sphere (its world position and bounding-sphere radius; the
  // sphere's centre offset plays no part). On contact: hit is the mover's
  // centre at first contact, distanceSquared the square of how far it
  // travelled to get there; true. Without contact both stay untouched.
  virtual bool Collide(const D3DXVECTOR3& from, const D3DXVECTOR3& to, float radius, D3DXVECTOR3& hit,
                       float& distanceSquared) const;

  // The collision radius (the bounding sphere's).
  float GetRadius() const { return m_BoundingSphere.radius; }
  void SetRadius(float radius) { m_BoundingSphere.radius = radius; }
  // The world position as of the last world-matrix update (what
  // GetWorldPosition answers, without touching its cache): the origin
  // through the stored world matrix, read straight off its last row.
  D3DXVECTOR3 WorldPosition() const {
    const D3DXMATRIX& m = m_WorldMatrix;
    if (m._44 != 0.0f && m._44 != 1.0f) return D3DXVECTOR3(m._41 / m._44, m._42 / m._44, m._43 / m._44);
    return D3DXVECTOR3(m._41, m._42, m._43);
  }

 protected:
  uint8_t m_Active = 1;
};

// The visual kinds that hold a static mesh sprite: the sprite goes under
// the entity when the entity enters the scene and leaves before it.
template <class Base>
class CStaticSpriteKind : public Base {
 public:
  void AddToScene(Nembra::CSceneNode* parent = nullptr) override;
  void RemoveFromScene() override;
  // The sprite's mesh; false (no geometry) for a null mesh.
  bool SetMesh(Nembra::CSimpleMesh* mesh) { return m_Sprite.SetMesh(mesh); }
  Nembra::CStatic3DSprite& GetSprite() { return m_Sprite; }

 protected:
  Nembra::CStatic3DSprite m_Sprite;
};

// The visual kinds that own a particle emitter (none after construction).
template <class Base>
class CParticleSystemKind : public Base {
 public:
  ~CParticleSystemKind() override;

  void AddToScene(Nembra::CSceneNode* parent = nullptr) override;
  void RemoveFromScene() override;

  // Replaces the emitter by a new one read from the particle file; without
  // the file (or with a damaged one) the entity is left without emitter.
  // True when an emitter was made.
  bool CreateEmitter(const std::string& fileName);
  // Takes ownership of the emitter (null allowed), deleting the old one.
  // While the entity is in the scene the new emitter goes under it.
  void SetEmitter(Nembra::CParticleEmitter* emitter);
  Nembra::CParticleEmitter* GetEmitter() const { return m_pEmitter; }
  // The emitter has finished its last particle, or there never was one.
  bool IsEmitterFinished() const;

 protected:
  Nembra::CParticleEmitter* m_pEmitter = nullptr;
};

class CStaticSpriteEntity : public CStaticSpriteKind<CEntity> {};

class CAnimatedSpriteEntity : public CEntity {
 public:
  // The entity, then its sprite under it. Leaving the scene takes the
  // entity only; the sprite, its child, goes with it.
  void AddToScene(Nembra::CSceneNode* parent = nullptr) override;
  // The sprite's mesh; true when the sprite now has it.
  virtual bool SetMesh(Nembra::CSkinnedMesh* mesh);
  Nembra::CAnimated3DSprite& GetSprite() { return m_Sprite; }

 protected:
  Nembra::CAnimated3DSprite m_Sprite;
};

class CParticleSystemEntity : public CParticleSystemKind<CEntity> {
 public:
  // The step the particle effects share: the base step, then the entity
  // goes inactive once its emitter has finished (at once without one).
  void StepEffect();
};

// ---------------------------------------------------------------------------

template <class Base>
void CStaticSpriteKind<Base>::AddToScene(Nembra::CSceneNode* parent) {
  Base::AddToScene(parent);
  if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->AddNode(&m_Sprite, this);
}

template <class Base>
void CStaticSpriteKind<Base>::RemoveFromScene() {
  if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->RemoveNode(&m_Sprite);
  Base::RemoveFromScene();
}

template <class Base>
CParticleSystemKind<Base>::~CParticleSystemKind() {
  delete m_pEmitter;
  m_pEmitter = nullptr;
}

template <class Base>
void CParticleSystemKind<Base>::AddToScene(Nembra::CSceneNode* parent) {
  Base::AddToScene(parent);
  if (m_pEmitter && Nembra::g_pSceneManager) Nembra::g_pSceneManager->AddNode(m_pEmitter, this);
}

template <class Base>
void CParticleSystemKind<Base>::RemoveFromScene() {
  if (m_pEmitter && Nembra::g_pSceneManager) Nembra::g_pSceneManager->RemoveNode(m_pEmitter);
  Base::RemoveFromScene();
}

template <class Base>
bool CParticleSystemKind<Base>::CreateEmitter(const std::string& fileName) {
  SetEmitter(Nembra::CreateParticleEmitter(fileName));
  return m_pEmitter != nullptr;
}

template <class Base>
void CParticleSystemKind<Base>::SetEmitter(Nembra::CParticleEmitter* emitter) {
  if (emitter == m_pEmitter) return;
  delete m_pEmitter;  // a node unlinks itself from its parent as it goes
  m_pEmitter = emitter;
  if (m_pEmitter && this->GetParent() && Nembra::g_pSceneManager)
    Nembra::g_pSceneManager->AddNode(m_pEmitter, this);
}

template <class Base>
bool CParticleSystemKind<Base>::IsEmitterFinished() const {
  return m_pEmitter == nullptr || m_pEmitter->IsFinished();
}
