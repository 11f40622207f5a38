// The demo's music, composed and played by a small synthesiser: the title
// theme, one track for each level and the mission-complete jingle. Each
// track is a chord progression with a bass line, a pad, a lead melody that
// follows the chords, and drums; it opens with the pad and bass alone, the
// drums and melody come in, a middle section lifts the melody an octave,
// and the last bar plays on in full and ends its phrase on the root, so the
// loop runs from it back into the opening without a gap. Every choice comes
// from the track's seed, so two runs write the same bytes. The mix is
// mastered to the music's level (SoundLevels.h), and every note starts and
// ends on a short ramp within its bar, so nothing clicks or clips, at the
// loop point either.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <future>
#include <string>
#include <vector>

#include "tools/datagen/DataGen.h"
#include "tools/datagen/Music.h"
#include "tools/datagen/SoundLevels.h"
#include "tools/formats/SoundFiles.h"

namespace {

constexpr uint32_t RATE = 22050;
constexpr double PI = 3.14159265358979323846;
constexpr float QUALITY = 0.1f;      // the encoder's quality
constexpr double MIN_LOOP = 60.0;    // seconds before a track repeats

// A seeded generator of its own (the same numbers on every machine).
struct Dice {
  uint32_t state;
  uint32_t Next() {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }
  double Unit() { return (Next() & 0xFFFFF) / double(0x100000); }  // 0 .. 1
  double Noise() { return Unit() * 2.0 - 1.0; }
};

double Hz(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

// The mix being written.
struct Track {
  std::vector<float> samples;
  explicit Track(double seconds) : samples(static_cast<size_t>(seconds * RATE) + 1, 0.0f) {}

  // A pitched note: `harmonics` partials at 1/n loudness (a soft saw), an
  // attack ramp, a decay towards `sustain` and a release ramp at its end.
  void Note(double start, double length, int midi, double level, int harmonics, double attack, double decay,
            double sustain, double vibrato = 0.0) {
    const size_t first = static_cast<size_t>(start * RATE);
    const size_t count = static_cast<size_t>(length * RATE);
    const double f = Hz(midi), release = std::min(0.03, length * 0.3);
    int partials = 1;  // the harmonics below the sampling limit
    while (partials < harmonics && f * (partials + 1) < RATE * 0.45) ++partials;
    const double fall = std::exp(-1.0 / (decay * RATE));  // the decay, sample by sample
    double phase = 0.0, above = 1.0;
    for (size_t i = 0; i < count && first + i < samples.size(); ++i) {
      const double t = double(i) / RATE;
      if (t >= attack) above *= fall;
      double env = t < attack ? t / attack : sustain + (1.0 - sustain) * above;
      if (t > length - release) env *= std::max(0.0, (length - t) / release);
      const double freq = f * (1.0 + vibrato * std::sin(2.0 * PI * 5.5 * t) * std::min(1.0, t * 3.0));
      phase += 2.0 * PI * freq / RATE;
      // sin(n x) by the recurrence sin(n x) = 2 cos x sin((n - 1) x) - sin((n - 2) x).
      const double s1 = std::sin(phase), c2 = 2.0 * std::cos(phase);
      double v = s1, before = 0.0, now = s1;
      for (int n = 2; n <= partials; ++n) {
        const double next = c2 * now - before;
        before = now;
        now = next;
        v += now / n;
      }
      samples[first + i] += static_cast<float>(level * env * v);
    }
  }

  void Kick(double start, double level) {
    const size_t first = static_cast<size_t>(start * RATE);
    const double sweepFall = std::exp(-30.0 / RATE), fall = std::exp(-14.0 / RATE);
    double phase = 0.0, sweep = 1.0, level14 = 1.0;
    for (size_t i = 0; i < RATE / 4 && first + i < samples.size(); ++i, sweep *= sweepFall, level14 *= fall) {
      const double t = double(i) / RATE;
      phase += 2.0 * PI * (45.0 + 90.0 * sweep) / RATE;
      const double env = std::min(1.0, t * 400.0) * level14;
      samples[first + i] += static_cast<float>(level * env * std::sin(phase));
    }
  }

  // Noise through a one-pole filter: `bright` near 1 keeps the highs only
  // (a hat), near 0 a darker burst (a snare with its tone under it).
  void Noise(double start, double length, double level, double bright, double tone, Dice& dice) {
    const size_t first = static_cast<size_t>(start * RATE);
    const size_t count = static_cast<size_t>(length * RATE);
    const double fall = std::exp(-6.0 / (length * RATE));
    double last = 0.0, decay = 1.0;
    for (size_t i = 0; i < count && first + i < samples.size(); ++i, decay *= fall) {
      const double t = double(i) / RATE;
      const double n = dice.Noise();
      const double v = bright * (n - last) + (1.0 - bright) * n;
      last = n;
      const double env = std::min(1.0, t * 600.0) * decay * std::max(0.0, 1.0 - t / length);
      samples[first + i] +=
          static_cast<float>(level * env * (v + (tone > 0.0 ? 0.8 * std::sin(2.0 * PI * tone * t) : 0.0)));
    }
  }

  // Fades the last `fade` seconds (none for a loop) and masters the mix.
  void Finish(double fade) {
    const size_t fadeCount = static_cast<size_t>(fade * RATE);
    for (size_t i = 0; i < fadeCount && i < samples.size(); ++i)
      samples[samples.size() - 1 - i] *= static_cast<float>(double(i) / fadeCount);
    datagen::Master(samples, datagen::SoundLevel::Music);
  }
};

struct SONG {
  const char* file;
  uint32_t seed;
  double bpm;
  int tonic;  // MIDI note of the key's first degree, in the bass's octave
  bool minor;
  std::vector<int> chords;  // scale degrees (0 .. 6), one a bar, repeated
  int leadHarmonics;        // the lead's brightness
  int drums;                // 0 sparse, 1 steady, 2 driving
};

const int MAJOR[7] = {0, 2, 4, 5, 7, 9, 11};
const int MINOR[7] = {0, 2, 3, 5, 7, 8, 10};

// The MIDI note of a scale degree (any integer; 7 is the octave).
int Degree(const SONG& song, int degree) {
  const int* scale = song.minor ? MINOR : MAJOR;
  const int octave = (degree >= 0 ? degree / 7 : (degree - 6) / 7);
  return song.tonic + 12 * octave + scale[degree - 7 * octave];
}

// Rhythms of one bar in eighths.
const std::vector<std::vector<int>> RHYTHMS = {
    {2, 2, 2, 2}, {1, 1, 2, 1, 1, 2}, {3, 1, 2, 2}, {2, 1, 1, 4}, {1, 1, 1, 1, 2, 2}, {4, 2, 2}, {2, 2, 4}};

std::vector<float> Compose(const SONG& song) {
  const double beat = 60.0 / song.bpm, bar = 4.0 * beat;
  const int chordCount = static_cast<int>(song.chords.size());
  int bars = static_cast<int>(std::ceil(MIN_LOOP / bar)) + 1;
  bars = (bars + chordCount - 1) / chordCount * chordCount;  // whole progressions
  Track track(bars * bar);
  Dice dice{song.seed};

  // Two motifs, each a bar of rhythm and steps from the chord's root.
  struct MOTIF {
    std::vector<int> rhythm, steps;
  };
  MOTIF motifs[2];
  for (MOTIF& m : motifs) {
    m.rhythm = RHYTHMS[static_cast<size_t>(dice.Below(static_cast<int>(RHYTHMS.size())))];
    int step = 2 * dice.Below(3);  // on a chord tone
    for (size_t k = 0; k < m.rhythm.size(); ++k) {
      m.steps.push_back(step);
      step += dice.Below(5) - 2;
      step = std::max(-2, std::min(7, step));
    }
  }

  const int middleFrom = bars / 2, middleTo = bars / 2 + chordCount;
  for (int b = 0; b < bars; ++b) {
    const double t0 = b * bar;
    const int chord = song.chords[static_cast<size_t>(b % chordCount)];
    const bool intro = b < 2, middle = b >= middleFrom && b < middleTo;

    // Pad: the chord's three notes an octave and a half above the bass.
    for (int k = 0; k < 3; ++k)
      track.Note(t0, bar, Degree(song, chord + 2 * k) + 12, 0.05, 3, bar * 0.25, 1.0, 0.8, 0.003);
    // Bass: the root on eighths, the fifth on the last.
    for (int e = 0; e < 8; ++e) {
      if (song.drums == 0 && e % 2 == 1) continue;
      const int note = Degree(song, e == 7 ? chord + 4 : chord);
      track.Note(t0 + e * beat / 2, beat / 2 * 0.9, note, 0.16, 4, 0.005, 0.12, 0.35);
    }
    if (intro) continue;

    // Drums: kick on the beats (or on one and three), snare on two and four, hats between.
    for (int q = 0; q < 4; ++q) {
      const double t = t0 + q * beat;
      if (song.drums >= 1 || q % 2 == 0) track.Kick(t, 0.45);
      if (q % 2 == 1) track.Noise(t, 0.16, song.drums == 0 ? 0.08 : 0.16, 0.3, 185.0, dice);
      const int hats = song.drums == 2 ? 4 : 2;
      for (int h = 0; h < hats; ++h)
        track.Noise(t + h * beat / hats, 0.05, (h % 2 == 0 ? 0.05 : 0.03), 0.95, 0.0, dice);
    }

    // Melody: the phrase's motif on this bar's chord, varied now and then.
    const MOTIF& motif = motifs[(b / 2) % 2];
    const int lift = middle ? 7 : 0;
    double at = t0;
    for (size_t k = 0; k < motif.rhythm.size(); ++k) {
      int step = motif.steps[k];
      if ((b % 4 == 3) && k + 1 == motif.rhythm.size()) step = 0;  // phrases end on the root
      else if (dice.Below(5) == 0) step += dice.Below(3) - 1;
      const double length = motif.rhythm[k] * beat / 2;
      track.Note(at, length * 0.95, Degree(song, chord + step + lift) + 24, 0.11, song.leadHarmonics, 0.01, 0.4,
                 0.6, 0.006);
      at += length;
    }
  }
  track.Finish(0.0);
  return track.samples;
}

// The jingle: a rising major arpeggio with drums, then the held chord.
std::vector<float> Jingle() {
  const SONG key{"", 0, 140.0, 48, false, {}, 5, 1};
  const double beat = 60.0 / key.bpm;
  const double length = datagen::JINGLE_SECONDS;
  Track track(length);
  Dice dice{77};
  const int steps[8] = {0, 2, 4, 7, 9, 11, 14, 14};
  for (int k = 0; k < 7; ++k) {
    track.Note(k * beat / 2, beat / 2, Degree(key, steps[k]) + 24, 0.14, 5, 0.005, 0.2, 0.5, 0.0);
    if (k % 2 == 0) track.Kick(k * beat / 2, 0.4);
  }
  const double hold = 3.5 * beat;
  for (int k = 0; k < 3; ++k) track.Note(hold, length - hold, Degree(key, 2 * k) + 12, 0.09, 4, 0.02, 0.6, 0.4);
  track.Note(hold, length - hold, Degree(key, 14) + 24, 0.14, 5, 0.01, 0.5, 0.4, 0.006);
  track.Note(hold, length - hold, Degree(key, 0), 0.2, 4, 0.005, 0.4, 0.3);
  track.Kick(hold, 0.5);
  track.Noise(hold, 1.2, 0.1, 0.9, 0.0, dice);
  track.Finish(0.8);
  return track.samples;
}

const SONG SONGS[] = {
    {"Karvessa.ogg", 11, 84.0, 45, true, {0, 5, 3, 4}, 3, 0},                // title: A minor, slow
    {"Music_Tutorial.ogg", 23, 100.0, 43, false, {0, 3, 4, 0, 5, 3, 1, 4}, 4, 1},  // G major
    {"Music_Level4.ogg", 37, 118.0, 38, true, {0, 6, 5, 6}, 5, 1},           // D minor
    {"Music_Level8.ogg", 41, 126.0, 40, true, {0, 3, 6, 4}, 6, 2},           // E minor
    {"Music_Intermedio.ogg", 53, 138.0, 41, true, {0, 1, 0, 5}, 6, 2},       // F minor
    {"Music_Level12.ogg", 67, 144.0, 36, true, {0, 5, 2, 6}, 7, 2},          // C minor
};

// Each track is composed and encoded on a thread of its own (each from its
// own seed, so the bytes do not depend on the order), then written in order.
bool WriteMusic(const datagen::Output& out) {
  std::vector<std::future<std::string>> tracks;
  for (const SONG& song : SONGS)
    tracks.push_back(std::async(std::launch::async, [&song] { return formats::OggBytes(Compose(song), 1, RATE, QUALITY); }));
  const std::string jingle = formats::OggBytes(Jingle(), 1, RATE, QUALITY);
  bool ok = !jingle.empty() && out.Write("MissionComplete.ogg", jingle);
  for (size_t i = 0; i < tracks.size(); ++i) {
    const std::string ogg = tracks[i].get();
    ok = !ogg.empty() && out.Write(SONGS[i].file, ogg) && ok;
  }
  return ok;
}

}  // namespace

DATAGEN_GROUP("music", WriteMusic);
