#pragma once
// The state a device holds, with the platform's defaults.
#include "platform/Graphics.h"

namespace platform {
namespace detail {

struct DeviceStates {
  DWORD render[RENDER_STATE_COUNT];
  DWORD sampler[MAX_TEXTURE_STAGES][SAMPLER_STATE_COUNT];
  DWORD stage[MAX_TEXTURE_STAGES][STAGE_STATE_COUNT];
  DeviceStates() { SetDefaults(); }
  void SetDefaults();

  // Range-checked access by the platform's numbers: D3DERR_INVALIDCALL for a
  // number, stage or sampler outside the tables (or a null output).
  HRESULT SetRender(D3DRENDERSTATETYPE state, DWORD value) {
    if (state >= RENDER_STATE_COUNT) return D3DERR_INVALIDCALL;
    render[state] = value;
    return D3D_OK;
  }
  HRESULT GetRender(D3DRENDERSTATETYPE state, DWORD* value) const {
    if (!value || state >= RENDER_STATE_COUNT) return D3DERR_INVALIDCALL;
    *value = render[state];
    return D3D_OK;
  }
  HRESULT SetSampler(DWORD index, D3DSAMPLERSTATETYPE type, DWORD value) {
    if (index >= MAX_TEXTURE_STAGES || type >= SAMPLER_STATE_COUNT) return D3DERR_INVALIDCALL;
    sampler[index][type] = value;
    return D3D_OK;
  }
  HRESULT GetSampler(DWORD index, D3DSAMPLERSTATETYPE type, DWORD* value) const {
    if (!value || index >= MAX_TEXTURE_STAGES || type >= SAMPLER_STATE_COUNT) return D3DERR_INVALIDCALL;
    *value = sampler[index][type];
    return D3D_OK;
  }
  HRESULT SetStage(DWORD index, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    if (index >= MAX_TEXTURE_STAGES || type >= STAGE_STATE_COUNT) return D3DERR_INVALIDCALL;
    stage[index][type] = value;
    return D3D_OK;
  }
  HRESULT GetStage(DWORD index, D3DTEXTURESTAGESTATETYPE type, DWORD* value) const {
    if (!value || index >= MAX_TEXTURE_STAGES || type >= STAGE_STATE_COUNT) return D3DERR_INVALIDCALL;
    *value = stage[index][type];
    return D3D_OK;
  }
};

// What a device has bound: textures per stage, the vertex stream, the
// indices and the vertex format. The device holds a reference to each.
struct DeviceBindings {
  ITexture* textures[MAX_TEXTURE_STAGES] = {};
  IVertexBuffer* stream = nullptr;
  uint32_t streamOffset = 0, streamStride = 0;
  IIndexBuffer* indices = nullptr;
  DWORD fvf = 0;

  DeviceBindings() = default;
  DeviceBindings(const DeviceBindings&) = delete;
  DeviceBindings& operator=(const DeviceBindings&) = delete;
  ~DeviceBindings() { Clear(); }
  void SetTexture(DWORD stage, ITexture* texture) { Swap(textures[stage], texture); }
  void SetStream(IVertexBuffer* buffer, uint32_t offset, uint32_t stride) {
    Swap(stream, buffer);
    streamOffset = offset;
    streamStride = stride;
  }
  void SetIndices(IIndexBuffer* buffer) { Swap(indices, buffer); }
  // Gives every reference back.
  void Clear() {
    for (ITexture*& t : textures) Swap(t, static_cast<ITexture*>(nullptr));
    SetStream(nullptr, 0, 0);
    SetIndices(nullptr);
    fvf = 0;
  }

 private:
  template <class T>
  static void Swap(T*& slot, T* object) {
    if (object) object->AddRef();
    if (slot) slot->Release();
    slot = object;
  }
};

}  // namespace detail
}  // namespace platform
