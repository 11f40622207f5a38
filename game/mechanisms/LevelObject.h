#pragma once
// game/mechanisms/: the level's mechanisms, by kind in circuits/, barriers/
// and props/; here the pieces they share (collision boxes, meshes, sound
// cues, effects, the side files). It may call actors/, collision/, level/
// (the current level), script/, world/, effects/, engine/ and platform/.
//
// Pieces the level objects share: the pair of collision boxes an object
// builds for itself (box 0 tight, box 1 grown for characters) and a mesh
// taken from the simple-mesh factory and given back exactly once.
#include <array>
#include <cstdint>
#include <string>

#include "game/collision/CollisionShape.h"

namespace Nembra {
class CSimpleMesh;
}

using COLLISION_BOXES = std::array<CCollisionShape, 2>;

// Puts an object's pair into the current level's dynamic shapes (box 0 in
// the tight class, box 1 in the character class), or takes it out; nothing
// without a level.
void AddBoxesToLevel(COLLISION_BOXES& boxes);
void RemoveBoxesFromLevel(COLLISION_BOXES& boxes);

namespace Nembra {
class C3DSprite;
class CVanishEffect;
}  // namespace Nembra

// Starts a fade-out on the sprite: the vanish effect from full alpha,
// drawn through it.
void StartFadeOut(Nembra::C3DSprite& sprite, Nembra::CVanishEffect& vanish);
// The end of a fade-out that barrels and boxes share: once the running
// fade has finished, the sprite loses the effect and is hidden.
void EndFadeOut(Nembra::C3DSprite& sprite, Nembra::CVanishEffect& vanish, uint8_t& fading);

// A simple mesh taken by name; the reference is held only when the factory
// gave a mesh, and Release gives it back once.
class CHeldMesh {
 public:
  CHeldMesh() = default;
  ~CHeldMesh() { Release(); }
  CHeldMesh(const CHeldMesh&) = delete;
  CHeldMesh& operator=(const CHeldMesh&) = delete;

  // Releases what is held, then takes the named mesh; null when none.
  Nembra::CSimpleMesh* Take(const std::string& name);
  void Release();
  // Forgets the reference without giving it back (the factory is gone).
  void Forget() { m_Name.clear(); m_pMesh = nullptr; }

  Nembra::CSimpleMesh* Get() const { return m_pMesh; }
  const std::string& GetName() const { return m_Name; }
  bool IsHeld() const { return m_pMesh != nullptr; }

 private:
  std::string m_Name;
  Nembra::CSimpleMesh* m_pMesh = nullptr;
};
