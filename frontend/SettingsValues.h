#pragma once
// Settings the player sets (gamma, effects and music volume) are values
// from 0 to 1, kept in files and profiles as whole thousandths. The two
// conversions are the only ones: every screen that reads or writes such a
// value goes through them, so a value survives any number of round trips.
#include <cstdint>

// 0.251 -> 251, 0.6667 -> 666. The small bias undoes the float error of
// value x 1000 (0.251f x 1000 is 250.99998) before the truncation; values
// outside 0..1 (and NaN) are clamped.
int32_t ToThousandths(float value);

// The stored number clamped to 0..1000, as a value from 0 to 1.
float FromThousandths(int32_t stored);

// A stored number as read from a file, clamped to 0..1000.
int32_t ClampThousandths(int32_t stored);
