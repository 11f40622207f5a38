#include "frontend/SettingsValues.h"

int32_t ToThousandths(float value) {
  if (!(value > 0.0f)) return 0;  // NaN too
  if (value >= 1.0f) return 1000;
  return static_cast<int32_t>(value * 1000.0f + 0.001f);
}

int32_t ClampThousandths(int32_t stored) { return stored < 0 ? 0 : (stored > 1000 ? 1000 : stored); }

float FromThousandths(int32_t stored) { return static_cast<float>(ClampThousandths(stored)) / 1000.0f; }
