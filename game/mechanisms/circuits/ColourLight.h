#pragma once
// The coloured point light a full generator, a full station or an active
// receptor shows above itself.
#include <cstdint>

#include "platform/Math.h"

namespace Nembra {
class CPointLight;
}

// A new light from the scene manager (no parent) at the point, red
// (1, 30/255, 30/255) or for colour 1 blue (30/255, 30/255, 1), range 400,
// committed; null without a scene manager.
Nembra::CPointLight* MakeColourLight(const D3DXVECTOR3& at, uint32_t colour);
// Deletes the light through the scene manager and clears the pointer.
void DeleteColourLight(Nembra::CPointLight*& light);
