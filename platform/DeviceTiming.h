#pragma once
// What a timing run asks of the graphics device beyond what the engine
// draws with: waiting for the drawing to be done, and the renderer's name.
#include <string>

namespace platform {

class IDevice;

// Waits until the device has carried out every command given so far (on
// the OpenGL device: glFinish), so a frame's wall time includes its
// drawing. False, at once, for a device that draws nothing.
bool FinishDeviceWork(IDevice* device);
// The OpenGL renderer and version strings ("llvmpipe (LLVM 15.0.6, 256
// bits); 4.5 (Core Profile) Mesa 22.3.6"); empty for other devices.
std::string GetRendererName(IDevice* device);

}  // namespace platform
