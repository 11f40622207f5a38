#include "frontend/SettingsValues.h"

#include "engine/app/GraphicsDevice.h"
#include "engine/sound/AudiereSound.h"
#include "engine/sound/WaveSound.h"

int32_t ToThousandths(float value) {
  if (!(value > 0.0f)) return 0;  // NaN too
  if (value >= 1.0f) return 1000;
  return static_cast<int32_t>(value * 1000.0f + 0.001f);
}

int32_t ClampThousandths(int32_t stored) { return stored < 0 ? 0 : (stored > 1000 ? 1000 : stored); }

float FromThousandths(int32_t stored) { return static_cast<float>(ClampThousandths(stored)) / 1000.0f; }

namespace {

float ClampValue(float value) {
  if (!(value > 0.0f)) return 0.0f;  // NaN too
  return value < 1.0f ? value : 1.0f;
}

float GammaOf(float value) { return ClampValue(value) * 1.5f + 0.25f; }

}  // namespace

APPLIED_SETTINGS ApplySettings(float gamma, float music, float effects) {
  APPLIED_SETTINGS applied;
  applied.gamma = GammaOf(gamma);
  applied.music = ClampValue(music);
  applied.effects = ClampValue(effects) * 1.25f + 0.125f;
  if (Nembra::g_pGraphicsDevice) Nembra::g_pGraphicsDevice->SetGamma(applied.gamma);
  if (Nembra::g_pStreamingSoundFactory) Nembra::g_pStreamingSoundFactory->SetStreamingVolume(applied.music);
  if (Nembra::g_pWaveSoundFactory) Nembra::g_pWaveSoundFactory->SetWaveVolume(applied.effects);
  return applied;
}

APPLIED_SETTINGS ApplySettingsFromThousandths(int32_t gamma, int32_t music, int32_t effects) {
  return ApplySettings(FromThousandths(gamma), FromThousandths(music), FromThousandths(effects));
}

void ApplyGammaFromThousandths(int32_t gamma) {
  if (Nembra::g_pGraphicsDevice) Nembra::g_pGraphicsDevice->SetGamma(GammaOf(FromThousandths(gamma)));
}
