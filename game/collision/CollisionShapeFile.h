#pragma once
// The two shapes of a wire grate's shape file (data folder + name), stored
// in the grate's own coordinates and moved onto the grate: turned by its
// rotation about z and moved to its position.
#include <string>

#include "game/collision/CollisionShape.h"

// False, with a log line, when the file is missing or damaged; both shapes
// are then empty (never crossed), so the level can load on.
bool LoadWireGrateShapes(const std::string& fileName, const D3DXVECTOR3& position, float angle,
                         CCollisionShape& first, CCollisionShape& second);
