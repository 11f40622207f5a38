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
