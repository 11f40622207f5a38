#pragma once
// The engine's graphics device: owns the platform device and the shared
// sprite, filters redundant state changes through a cache of what the
// device holds, keeps the clear colour and the saved gamma ramp, and runs
// the lost-device / reset protocol for the volatile resources.
//
// The state cache is a render-state block: an entry's defined flag means
// "this value was sent", its applied flag "send it again after a reset".
#include <cstdint>
#include <functional>
#include <vector>

#include "engine/app/Application.h"
#include "engine/resources/Resource.h"
#include "engine/resources/Shader.h"
#include "platform/Graphics.h"

namespace Nembra {

class CGraphicsDevice {
 public:
  // CheckDevice results.
  static constexpr int DEVICE_NONE = 0, DEVICE_READY = 1, DEVICE_LOST = 2, DEVICE_NOT_RESET = 3;
  // Reset results.
  static constexpr int RESET_NONE = 0, RESET_DONE = 1, RESET_FAILED = 2;

  CGraphicsDevice();
  ~CGraphicsDevice();
  CGraphicsDevice(const CGraphicsDevice&) = delete;
  CGraphicsDevice& operator=(const CGraphicsDevice&) = delete;

  // Makes the graphics system, the device (when a window is given), sends
  // the state cache, makes the shared sprite and saves the gamma ramp.
  bool Create(platform::HWND window, APPLICATION_PARAMS params);
  // Fills the present parameters and creates the device, or resets the
  // existing one (true only when that reset succeeded).
  bool CreateDevice(platform::HWND window, APPLICATION_PARAMS params);
  // The back-buffer format for full screen: 16 bits R5G6B5, X1R5G5B5,
  // A1R5G5B5; 32 bits A8R8G8B8, X8R8G8B8; the first one offered; 0 if none.
  platform::D3DFORMAT FindFullscreenFormat(uint32_t width, uint32_t height, uint32_t bitsPerPixel);
  bool HasDisplayMode(uint32_t width, uint32_t height, platform::D3DFORMAT format);

  int CheckDevice();
  int Reset();

  // Cached setters: without force, a value equal to the one last sent is
  // not sent again. A failed call leaves the cache as it was.
  bool SetRenderState(uint32_t state, uint32_t value, bool force = false);
  bool SetSamplerState(uint32_t sampler, uint32_t type, uint32_t value, bool force = false);
  bool SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value, bool force = false);

  // Clears the target (and the depth buffer when there is one) to the clear colour.
  platform::HRESULT Clear();
  bool BeginScene();
  bool Present();  // EndScene, then Present
  bool BeginSprite(uint32_t flags);
  void EndSprite();

  void SetClearColor(float red, float green, float blue, float alpha);
  const D3DXCOLOR& GetClearColor() const { return m_ClearColor; }

  // Gamma: entry i = i x 256 + (gamma - 1) x 65536, clamped to 0..65535.
  void SetGamma(float gamma);
  void RestoreGamma();
  static void BuildGammaRamp(float gamma, platform::D3DGAMMARAMP* ramp);

  // Volatile resources are told OnLostDevice before and OnResetDevice after
  // every reset, in the order they were added. A resource must be removed
  // before it is destroyed.
  bool AddVolatileResource(CVolatileResource* resource);
  bool RemoveVolatileResource(CVolatileResource* resource);
  // Removes every entry of a resource (called as it is destroyed).
  void ForgetVolatileResource(CVolatileResource* resource);
  const std::vector<CVolatileResource*>& GetVolatileResources() const { return m_VolatileResources; }

  // Called after a reset to send the lights again (set by the scene manager).
  void SetRestoreLightsCallback(std::function<void()> callback) { m_RestoreLights = std::move(callback); }

  platform::IDevice* GetDevice() const { return m_pDevice; }
  platform::ISprite* GetSprite() const { return m_pSprite; }
  platform::IGraphicsSystem* GetSystem() const { return m_pSystem; }
  const platform::D3DCAPS9& GetCaps() const { return m_Caps; }
  const platform::D3DPRESENT_PARAMETERS& GetPresentParameters() const { return m_PresentParams; }
  const CShader& GetStateCache() const { return m_StateCache; }
  // Forgets what was sent, so every next set reaches the device.
  void ForgetStateCache() { m_StateCache.ClearDefinedFlags(); }
  const platform::D3DGAMMARAMP& GetSavedGammaRamp() const { return m_SavedGamma; }

 private:
  platform::IGraphicsSystem* m_pSystem = nullptr;
  platform::IDevice* m_pDevice = nullptr;
  platform::D3DCAPS9 m_Caps;
  platform::D3DPRESENT_PARAMETERS m_PresentParams;
  std::vector<CVolatileResource*> m_VolatileResources;
  CShader m_StateCache;
  D3DXCOLOR m_ClearColor{0.0f, 0.0f, 0.0f, 1.0f};
  platform::ISprite* m_pSprite = nullptr;
  platform::D3DGAMMARAMP m_SavedGamma;
  std::function<void()> m_RestoreLights;
};

extern CGraphicsDevice* g_pGraphicsDevice;

}  // namespace Nembra
