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

}  // namespace detail
}  // namespace platform
