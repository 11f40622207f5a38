#include "engine/app/GraphicsDevice.h"

#include <algorithm>

#include "platform/Log.h"
#include "platform/Window.h"

namespace Nembra {

using namespace platform;

CGraphicsDevice* g_pGraphicsDevice = nullptr;

CGraphicsDevice::CGraphicsDevice() {
  // Nothing has been sent yet: the cache holds the default table as the
  // states to send after a reset, none of them marked as sent.
  m_StateCache.ClearDefinedFlags();
  for (int i = 0; i < 256; ++i)
    m_SavedGamma.red[i] = m_SavedGamma.green[i] = m_SavedGamma.blue[i] = static_cast<uint16_t>(i * 257);
}

CGraphicsDevice::~CGraphicsDevice() {
  if (m_pSprite) m_pSprite->Release();
  if (m_pDevice) m_pDevice->Release();
  if (m_pSystem) m_pSystem->Release();
  m_pSprite = nullptr;
  m_pDevice = nullptr;
  m_pSystem = nullptr;
  if (g_pGraphicsDevice == this) g_pGraphicsDevice = nullptr;
}

bool CGraphicsDevice::Create(HWND window, APPLICATION_PARAMS params) {
  if (!m_pSystem) m_pSystem = CreateGraphicsSystem();
  if (!m_pSystem) return false;
  m_pSystem->GetDeviceCaps(&m_Caps);
  if (window) CreateDevice(window, params);
  if (m_pDevice) m_StateCache.ApplyTo(*this, true);
  if (!m_pDevice || (!m_pSprite && FAILED(CreateSprite(m_pDevice, &m_pSprite)))) {
    m_pSprite = nullptr;
    ShowMessageBox("Error fatal", "Error");
    return false;
  }
  m_pDevice->GetGammaRamp(0, &m_SavedGamma);
  return true;
}

bool CGraphicsDevice::CreateDevice(HWND window, APPLICATION_PARAMS params) {
  if (!m_pSystem) return false;
  D3DFORMAT format;
  if (params.windowed) {
    // The window layer makes the client area exactly width x height.
    D3DDISPLAYMODE mode;
    if (FAILED(m_pSystem->GetAdapterDisplayMode(&mode))) return false;
    format = mode.Format;
  } else {
    format = FindFullscreenFormat(params.width, params.height, params.bitsPerPixel);
    if (format == 0) return false;
  }
  m_PresentParams = D3DPRESENT_PARAMETERS();
  m_PresentParams.BackBufferWidth = params.width;
  m_PresentParams.BackBufferHeight = params.height;
  m_PresentParams.BackBufferFormat = format;
  m_PresentParams.BackBufferCount = 1;
  m_PresentParams.MultiSampleType = params.multisampleType;
  m_PresentParams.SwapEffect = D3DSWAPEFFECT_DISCARD;
  m_PresentParams.hDeviceWindow = nullptr;
  m_PresentParams.Windowed = params.windowed ? 1 : 0;
  if (params.depthBuffer) {
    m_PresentParams.EnableAutoDepthStencil = 1;
    m_PresentParams.AutoDepthStencilFormat = D3DFMT_D16;
  }
  m_PresentParams.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;

  if (m_pDevice) return Reset() == RESET_DONE;
  const DWORD behaviour = (m_Caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) ? D3DCREATE_HARDWARE_VERTEXPROCESSING
                                                                            : D3DCREATE_SOFTWARE_VERTEXPROCESSING;
  IDevice* device = nullptr;
  if (FAILED(m_pSystem->CreateDevice(window, behaviour, &m_PresentParams, &device)) || !device) return false;
  m_pDevice = device;
  return true;
}

D3DFORMAT CGraphicsDevice::FindFullscreenFormat(uint32_t width, uint32_t height, uint32_t bits) {
  static const D3DFORMAT k16[] = {D3DFMT_R5G6B5, D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5};
  static const D3DFORMAT k32[] = {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8};
  if (bits == 16) {
    for (D3DFORMAT f : k16)
      if (HasDisplayMode(width, height, f)) return f;
  } else if (bits == 32) {
    for (D3DFORMAT f : k32)
      if (HasDisplayMode(width, height, f)) return f;
  }
  return 0;
}

bool CGraphicsDevice::HasDisplayMode(uint32_t width, uint32_t height, D3DFORMAT format) {
  if (!m_pSystem) return false;
  const uint32_t count = m_pSystem->GetAdapterModeCount(format);
  for (uint32_t i = 0; i < count; ++i) {
    D3DDISPLAYMODE mode;
    if (SUCCEEDED(m_pSystem->EnumAdapterModes(format, i, &mode)) && mode.Width == width && mode.Height == height)
      return true;
  }
  return false;
}

int CGraphicsDevice::CheckDevice() {
  if (!m_pDevice) return DEVICE_NONE;
  const HRESULT hr = m_pDevice->TestCooperativeLevel();
  if (hr == D3DERR_DEVICELOST) return DEVICE_LOST;
  if (hr == D3DERR_DEVICENOTRESET) return DEVICE_NOT_RESET;
  return DEVICE_READY;
}

int CGraphicsDevice::Reset() {
  if (!m_pDevice) return RESET_NONE;
  // Every attempt releases every listed resource first, also after a failed
  // one: a resource listed since then holds device objects too, and the
  // release of one already released does nothing.
  for (CVolatileResource* resource : m_VolatileResources) resource->OnLostDevice();
  if (m_pSprite) m_pSprite->OnLostDevice();
  if (FAILED(m_pDevice->Reset(&m_PresentParams))) return RESET_FAILED;
  for (CVolatileResource* resource : m_VolatileResources) resource->OnResetDevice();
  if (m_pSprite) m_pSprite->OnResetDevice();
  m_StateCache.ApplyTo(*this, true);
  if (m_RestoreLights) m_RestoreLights();
  return RESET_DONE;
}

namespace {
// The common part of the three cached setters.
template <class Send>
bool SetCached(STATE_ENTRY* entry, uint32_t value, bool force, Send send) {
  if (!force && entry && entry->defined && entry->value == value) return true;
  if (FAILED(send())) return false;
  if (entry) {
    entry->value = value;
    entry->defined = 1;
    entry->applied = 1;
  }
  return true;
}
}  // namespace

bool CGraphicsDevice::SetRenderState(uint32_t state, uint32_t value, bool force) {
  if (!m_pDevice) return false;
  return SetCached(m_StateCache.RenderEntry(state), value, force,
                   [&] { return m_pDevice->SetRenderState(state, value); });
}

bool CGraphicsDevice::SetSamplerState(uint32_t sampler, uint32_t type, uint32_t value, bool force) {
  if (!m_pDevice) return false;
  return SetCached(m_StateCache.SamplerEntry(sampler, type), value, force,
                   [&] { return m_pDevice->SetSamplerState(sampler, type, value); });
}

bool CGraphicsDevice::SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value, bool force) {
  if (!m_pDevice) return false;
  return SetCached(m_StateCache.StageEntry(stage, type), value, force,
                   [&] { return m_pDevice->SetTextureStageState(stage, type, value); });
}

HRESULT CGraphicsDevice::Clear() {
  if (!m_pDevice) return D3DERR_INVALIDCALL;
  const D3DCOLOR color = PackColor(m_ClearColor.r, m_ClearColor.g, m_ClearColor.b, m_ClearColor.a);
  // Without a depth buffer only the target is cleared.
  const DWORD flags = D3DCLEAR_TARGET | (m_PresentParams.EnableAutoDepthStencil ? D3DCLEAR_ZBUFFER : 0);
  return m_pDevice->Clear(0, nullptr, flags, color, 1.0f, 0);
}

bool CGraphicsDevice::BeginScene() { return m_pDevice && SUCCEEDED(m_pDevice->BeginScene()); }

bool CGraphicsDevice::Present() {
  if (!m_pDevice) return false;
  if (FAILED(m_pDevice->EndScene())) return false;
  return SUCCEEDED(m_pDevice->Present());
}

bool CGraphicsDevice::BeginSprite(uint32_t flags) { return m_pSprite && SUCCEEDED(m_pSprite->Begin(flags)); }

void CGraphicsDevice::EndSprite() {
  if (m_pSprite) m_pSprite->End();
}

void CGraphicsDevice::SetClearColor(float red, float green, float blue, float alpha) {
  m_ClearColor = D3DXCOLOR(red, green, blue, alpha);
}

void CGraphicsDevice::BuildGammaRamp(float gamma, D3DGAMMARAMP* ramp) {
  for (int i = 0; i < 256; ++i) {
    float value = float(i) * 256.0f + (gamma - 1.0f) * 65536.0f;
    value = std::min(65535.0f, std::max(0.0f, value));
    const uint16_t entry = static_cast<uint16_t>(value);
    ramp->red[i] = ramp->green[i] = ramp->blue[i] = entry;
  }
}

void CGraphicsDevice::SetGamma(float gamma) {
  if (!m_pDevice) return;
  D3DGAMMARAMP ramp;
  BuildGammaRamp(gamma, &ramp);
  m_pDevice->SetGammaRamp(0, D3DSGR_NO_CALIBRATION, &ramp);
}

void CGraphicsDevice::RestoreGamma() {
  if (!m_pDevice) return;
  m_pDevice->SetGammaRamp(0, D3DSGR_NO_CALIBRATION, &m_SavedGamma);
}

bool CGraphicsDevice::AddVolatileResource(CVolatileResource* resource) {
  if (!resource) return false;
  m_VolatileResources.push_back(resource);
  return true;
}

bool CGraphicsDevice::RemoveVolatileResource(CVolatileResource* resource) {
  if (!resource) return false;
  auto it = std::find(m_VolatileResources.begin(), m_VolatileResources.end(), resource);
  if (it != m_VolatileResources.end()) m_VolatileResources.erase(it);
  return true;
}

void CGraphicsDevice::ForgetVolatileResource(CVolatileResource* resource) {
  m_VolatileResources.erase(std::remove(m_VolatileResources.begin(), m_VolatileResources.end(), resource),
                            m_VolatileResources.end());
}

}  // namespace Nembra
