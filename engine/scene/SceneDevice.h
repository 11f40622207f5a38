#pragma once
// The scene's way to the device: the device wrapper's platform device, or
// null before the device exists (the scene then only keeps its state).
#include "engine/app/GraphicsDevice.h"
#include "platform/Graphics.h"

namespace Nembra {

inline platform::IDevice* GetSceneDevice() {
  return g_pGraphicsDevice ? g_pGraphicsDevice->GetDevice() : nullptr;
}

}  // namespace Nembra
