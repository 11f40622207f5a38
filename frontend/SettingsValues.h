#pragma once
// Settings the player sets (gamma, effects and music volume) are values
// from 0 to 1, kept in files and profiles as whole thousandths. The two
// conversions are the only ones: every screen that reads or writes such a
// value goes through them, so a value survives any number of round trips.
// What the values do to the device and the mixers is here too, once.
#include <cstdint>

// 0.251 -> 251, 0.6667 -> 666. The small bias undoes the float error of
// value x 1000 (0.251f x 1000 is 250.99998) before the truncation; values
// outside 0..1 (and NaN) are clamped.
int32_t ToThousandths(float value);

// The stored number clamped to 0..1000, as a value from 0 to 1.
float FromThousandths(int32_t stored);

// A stored number as read from a file, clamped to 0..1000.
int32_t ClampThousandths(int32_t stored);

// What a set of values gives the device and the mixers.
struct APPLIED_SETTINGS {
  float gamma = 0.0f;    // value x 1.5 + 0.25
  float music = 0.0f;    // value
  float effects = 0.0f;  // value x 1.25 + 0.125
};

// Sets the gamma ramp, the music volume and the effects volume from values
// 0..1, each clamped to 0..1 first (NaN reads 0); returns what was set.
// Missing engine parts are skipped.
APPLIED_SETTINGS ApplySettings(float gamma, float music, float effects);
// The same from stored thousandths (clamped to 0..1000).
APPLIED_SETTINGS ApplySettingsFromThousandths(int32_t gamma, int32_t music, int32_t effects);
// The gamma ramp alone, from stored thousandths: what a window that comes
// back to the front sets again.
void ApplyGammaFromThousandths(int32_t gamma);
