#pragma once
// What the sound tests share: tones to play, the clock an output mixes by,
// and the mixer's frame updates run until something is seen.
//
// Time is read from the output's own mixer (OpenAL Soft's device clock: the
// sound it has mixed), never from the wall clock: a mixer thread held up on
// a busy machine is behind the wall clock and catches up later, and what it
// plays follows its own clock. A test of the unheard mixer, which follows
// the steady clock whenever it is updated, reads that clock instead.
#include <AL/alc.h>
#include <AL/alext.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

#include "platform/Sound.h"
#include "tools/formats/SoundFiles.h"

namespace soundtest {

inline formats::Tone ToneOf(double seconds, uint16_t channels = 1, uint32_t sampleRate = 44100) {
  formats::Tone tone;
  tone.seconds = seconds;
  tone.channels = channels;
  tone.sampleRate = sampleRate;
  return tone;
}

inline double SteadySeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The seconds of sound the open output has mixed since it opened, as its
// mixer counts them; the steady clock where the library does not tell.
inline double MixerSeconds() {
  ALCcontext* context = alcGetCurrentContext();
  ALCdevice* device = context ? alcGetContextsDevice(context) : nullptr;
  if (!device || !alcIsExtensionPresent(device, "ALC_SOFT_device_clock")) return SteadySeconds();
  static const auto get =
      reinterpret_cast<LPALCGETINTEGER64VSOFT>(alcGetProcAddress(device, "alcGetInteger64vSOFT"));
  ALCint64SOFT nanoseconds = 0;
  get(device, ALC_DEVICE_CLOCK_SOFT, 1, &nanoseconds);
  return static_cast<double>(nanoseconds) * 1e-9;
}

// Seconds on a clock (the output's mixer unless told otherwise) since the
// moment it was made: make it before starting the sound it times.
class Since {
 public:
  explicit Since(std::function<double()> clock = MixerSeconds) : m_Clock(std::move(clock)), m_Start(m_Clock()) {}
  double operator()() const { return m_Clock() - m_Start; }

 private:
  std::function<double()> m_Clock;
  double m_Start;
};

// What the updates saw of a condition, in seconds of a Since: `on` is the
// latest time at which it did not hold yet (read before the update that
// looked), `over` a time by which it held (read after the look). -1 for
// what was never seen: `on` when it held at the first look, `over` when
// it never held within the limit.
struct Seen {
  double on = -1.0;
  double over = -1.0;
};

// Runs the mixer's frame updates until every condition holds or `limit`
// seconds of `since` have passed; what was seen of each. Should the clock
// never reach the limit (a mixer that stands), a minute of the wall clock
// ends the wait, failing whatever waited.
inline std::vector<Seen> PumpUntilAll(const std::vector<std::function<bool()>>& conditions, double limit,
                                      const Since& since = Since()) {
  std::vector<Seen> seen(conditions.size());
  const auto hung = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  for (;;) {
    const double before = since();
    platform::UpdateAudio();
    bool all = true;
    std::vector<size_t> heldNow;
    for (size_t i = 0; i < conditions.size(); ++i) {
      if (seen[i].over >= 0.0) continue;
      if (conditions[i]()) {
        heldNow.push_back(i);
      } else {
        seen[i].on = before;
        all = false;
      }
    }
    const double after = since();
    for (size_t i : heldNow) seen[i].over = after;
    if (all || before > limit || std::chrono::steady_clock::now() > hung) return seen;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

inline Seen PumpUntil(const std::function<bool()>& done, double limit, const Since& since = Since()) {
  return PumpUntilAll({done}, limit, since)[0];
}

// Runs the mixer's frame updates until the output has mixed `seconds` more.
inline void Pump(double seconds, const Since& since = Since()) {
  PumpUntil([] { return false; }, seconds, since);
}

// Waits, without a frame update, until the output has mixed `seconds`
// more: a frame as long as that.
inline void StallFor(double seconds, const Since& since = Since()) {
  const auto hung = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (since() < seconds && std::chrono::steady_clock::now() < hung)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

// 16-bit little-endian samples as numbers.
inline std::vector<int16_t> Samples16(const std::vector<uint8_t>& pcm) {
  std::vector<int16_t> out(pcm.size() / 2);
  for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<int16_t>(pcm[2 * i] | (pcm[2 * i + 1] << 8));
  return out;
}

}  // namespace soundtest
