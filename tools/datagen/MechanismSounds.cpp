// The mechanisms' sounds, synthesised: explosions are decaying noise over a
// falling thump, the pick-up a rising chirp, the generator and connector
// signals short beeps and buzzes. 16-bit mono at 22050 Hz, the explosions
// mastered to the blasts' level and the rest to the other effects'; the
// noise comes from a fixed-seed generator, so every run writes the same
// bytes. All go to the data folder itself, where the game points both its
// wave-sound and its audiere-sound factories.
#include <cmath>
#include <cstdint>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "tools/datagen/DataGen.h"
#include "tools/datagen/SoundLevels.h"

namespace {

using datagen::SoundLevel;

constexpr uint32_t RATE = 22050;
constexpr double PI = 3.14159265358979323846;

// A .wav of `seconds` of the sound, mastered to the level.
std::string Wave(double seconds, SoundLevel level, const std::function<double(double t)>& sample) {
  std::vector<float> samples(static_cast<size_t>(std::lround(seconds * RATE)));
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<float>(sample(double(i) / RATE));
  return datagen::MasteredWave(std::move(samples), RATE, level);
}

// Deterministic white noise, smoothed by a one-pole low-pass of the given
// strength (0: raw, towards 1: darker).
class Noise {
 public:
  Noise(uint32_t seed, double smoothing) : m_State(seed), m_Smoothing(smoothing) {}
  double operator()() {
    m_State = m_State * 1664525u + 1013904223u;
    const double white = double(m_State >> 8) / double(1u << 24) * 2.0 - 1.0;
    m_Last = m_Last * m_Smoothing + white * (1.0 - m_Smoothing);
    return m_Last;
  }

 private:
  uint32_t m_State;
  double m_Smoothing, m_Last = 0.0;
};

// Noise decaying at `decay` per second over a thump falling from `from` Hz,
// rounded off by a soft saturation, so the body of the blast stays loud
// under the peak it is mastered to.
std::string Explosion(double seconds, uint32_t seed, double smoothing, double decay, double from, double gain) {
  Noise noise(seed, smoothing);
  double phase = 0.0;
  return Wave(seconds, SoundLevel::Blast, [=](double t) mutable {
    const double envelope = std::exp(-decay * t) * std::min(1.0, t * 400.0);
    phase += 2.0 * PI * from * std::exp(-3.0 * t) / RATE;
    return std::tanh(2.0 * envelope * (gain * noise() + 0.45 * std::sin(phase)));
  });
}

// Beeps one after the other, each `length` seconds, with short fades.
std::string Beeps(std::initializer_list<double> frequencies, double length, bool square) {
  const std::vector<double> notes(frequencies);
  return Wave(length * double(notes.size()), SoundLevel::Effect, [=](double t) {
    const size_t n = std::min(notes.size() - 1, size_t(t / length));
    const double local = t - double(n) * length;
    const double fade = std::min(1.0, std::min(local, length - local) * 200.0);
    const double s = std::sin(2.0 * PI * notes[n] * t);
    return 0.5 * fade * (square ? (s >= 0 ? 0.7 : -0.7) : s);
  });
}

std::string Chirp(double seconds, double from, double to) {
  return Wave(seconds, SoundLevel::Effect, [=](double t) {
    // Phase of a linear sweep: integral of the frequency.
    const double phase = 2.0 * PI * (from * t + (to - from) * t * t / (2.0 * seconds));
    const double fade = std::min(1.0, std::min(t, seconds - t) * 100.0);
    return 0.5 * fade * std::sin(phase) + 0.15 * fade * std::sin(2.0 * phase);
  });
}

std::string Click() {
  return Wave(0.12, SoundLevel::Effect, [](double t) {
    const double click = t < 0.004 ? 1.0 - t / 0.004 : 0.0;
    return 0.6 * click + 0.35 * std::exp(-30.0 * t) * std::sin(2.0 * PI * 1400.0 * t);
  });
}

bool WriteSounds(const datagen::Output& out) {
  bool ok = out.Write("BarrelExplosion.wav", Explosion(0.7, 11, 0.55, 6.0, 110.0, 1.2));
  ok &= out.Write("BoxExplosion.wav", Explosion(0.35, 23, 0.2, 14.0, 220.0, 1.0));
  ok &= out.Write("DoorExplosion.wav", Explosion(0.5, 37, 0.4, 8.0, 90.0, 1.0));
  ok &= out.Write("ItemPickUp.wav", Chirp(0.25, 600.0, 1400.0));
  ok &= out.Write("GeneratorCorrect.wav", Beeps({880.0, 1320.0}, 0.09, false));
  ok &= out.Write("GeneratorIncorrect.wav", Beeps({140.0}, 0.25, true));
  ok &= out.Write("ConnectorInsertRemove.wav", Click());
  ok &= out.Write("ConnectorIncorrect.wav", Beeps({160.0, 120.0}, 0.12, true));
  return ok;
}

}  // namespace

DATAGEN_GROUP("mechanism-sounds", WriteSounds);
