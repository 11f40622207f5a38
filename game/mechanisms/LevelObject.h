#pragma once
// game/mechanisms/: the level's mechanisms, by kind in circuits/, barriers/
// and props/; here the pieces they share (collision boxes, meshes, sound
// cues, effects, the side files). It may call actors/, collision/, level/
// (the current level), script/, world/, effects/, engine/ and platform/.
//
// Pieces the level objects share: the pair of collision boxes an object
// builds for itself (box 0 tight, box 1 grown for characters) and the
// holder of a mesh from the simple-mesh factory.
#include <array>
#include <cstdint>
#include <string>

#include "engine/resources/FactoryRef.h"
#include "engine/resources/Mesh.h"
#include "game/collision/CollisionShape.h"

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

// A simple mesh held by name: the shared factory holder, on the
// simple-mesh factory.
class CHeldMesh : public Nembra::CFactoryRef<Nembra::CSimpleMeshFactory> {
 public:
  CHeldMesh() : CFactoryRef(Nembra::g_pSimpleMeshFactory) {}
};
