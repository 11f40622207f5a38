// What comes out of the mixer, each case in a child process because the
// output is chosen before sound is first used: a tone into the wave-file
// writer (pitch and level), no output device at all, the output mixed by the
// platform clock, and the demo's music.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/SoundTestSupport.h"
#include "support/TempDir.h"

extern char** environ;

namespace {

constexpr const char* CHILD_VARIABLE = "KARVESSA_SOUND_CHILD_FILE";
constexpr double TONE_HZ = 440.0;
constexpr double TONE_AMPLITUDE = 0.5;
constexpr int32_t SECOND_HALF_MB = -602;  // half the amplitude

using soundtest::PumpUntil;
using soundtest::ToneOf;
void PumpFor(double seconds) { soundtest::Pump(seconds); }

// Runs one test of this file in a fresh process with CHILD_VARIABLE set to
// `file` (and the other variables given); true when it exits cleanly.
bool RunInChild(const std::string& test, const std::string& file,
                const std::vector<std::pair<std::string, std::string>>& variables = {}) {
  std::string filter = "--gtest_filter=SoundCapture." + test;
  char exe[] = "/proc/self/exe";
  char* argv[] = {exe, filter.data(), nullptr};
  std::vector<std::string> env = {std::string(CHILD_VARIABLE) + "=" + file};
  for (const auto& v : variables) env.push_back(v.first + "=" + v.second);
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    bool replaced = entry.compare(0, std::strlen(CHILD_VARIABLE) + 1, std::string(CHILD_VARIABLE) + "=") == 0;
    for (const auto& v : variables) replaced = replaced || entry.compare(0, v.first.size() + 1, v.first + "=") == 0;
    if (!replaced) env.push_back(entry);
  }
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawn(&child, exe, nullptr, nullptr, argv, envp.data()) != 0) return false;
  int status = 0;
  if (waitpid(child, &status, 0) != child) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// In the child: the file `done`, made only when every check has passed.
void SignalChecksPassed(const std::string& done) {
  if (::testing::Test::HasFailure()) return;
  FILE* f = std::fopen(done.c_str(), "w");
  if (f) std::fclose(f);
}

// Runs a test of this file in a child that signals its checks passed.
void ExpectChecksPassInChild(const std::string& test,
                             const std::vector<std::pair<std::string, std::string>>& variables = {}) {
  testsupport::TempDir dir;
  const std::string done = dir.File("done");
  ASSERT_TRUE(RunInChild(test, done, variables)) << "the playing process failed";
  EXPECT_TRUE(platform::FileExists(done)) << "the playing process did not finish its checks";
}

// The child: one second at full level, one at half, then a little silence.
void PlayIntoWaveFile(const std::string& capture) {
  ASSERT_TRUE(platform::SetAudioOutput(platform::AudioOutput::WaveFile, capture));
  ASSERT_TRUE(platform::AcquireAudio());
  {
    testsupport::TempDir dir;
    formats::Tone tone = ToneOf(2.0);
    tone.frequency = TONE_HZ;
    tone.amplitude = TONE_AMPLITUDE;
    auto buffer = platform::SoundBuffer::Load(dir.Write("tone.wav", formats::WaveToneBytes(tone)));
    ASSERT_TRUE(buffer);
    platform::SoundPath path(false);
    PumpFor(0.2);
    ASSERT_TRUE(path.Play(*buffer));
    PumpFor(1.0);
    path.SetVolume(SECOND_HALF_MB, 0);
    PumpFor(1.4);
    EXPECT_EQ(path.VoiceCount(), 0);
  }
  platform::ReleaseAudio();  // closes the file with its final sizes
}

// The capture's stereo 16-bit samples, interleaved, and its rate.
void ReadCapture(const std::string& capture, std::vector<int16_t>& frames, uint32_t& rate) {
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(platform::ReadWholeFile(capture, bytes)) << "no capture was written";
  platform::PcmFormat format;
  std::vector<uint8_t> pcm;
  std::string why;
  ASSERT_TRUE(platform::DecodeWave(bytes.data(), bytes.size(), format, pcm, &why)) << why;
  ASSERT_EQ(format.channels, 2);
  ASSERT_EQ(format.bitsPerSample, 16);
  rate = format.sampleRate;
  frames = soundtest::Samples16(pcm);
}

struct Window {
  double rmsLeft = 0, rmsRight = 0, hz = 0;
};

Window Analyse(const std::vector<int16_t>& frames, size_t first, size_t count, uint32_t rate) {
  Window w;
  size_t crossings = 0;
  for (size_t i = first; i < first + count; ++i) {
    const double l = frames[2 * i] / 32768.0, r = frames[2 * i + 1] / 32768.0;
    w.rmsLeft += l * l;
    w.rmsRight += r * r;
    if (i > first && (frames[2 * i - 2] < 0) != (frames[2 * i] < 0)) ++crossings;
  }
  w.rmsLeft = std::sqrt(w.rmsLeft / count);
  w.rmsRight = std::sqrt(w.rmsRight / count);
  w.hz = crossings / 2.0 / (static_cast<double>(count) / rate);
  return w;
}

TEST(SoundCapture, TwoSecondToneComesOutAtItsPitchAndLevel) {
  if (const char* capture = std::getenv(CHILD_VARIABLE)) {
    PlayIntoWaveFile(capture);
    return;
  }
  testsupport::TempDir dir;
  const std::string capture = dir.File("capture.wav");

  ASSERT_TRUE(RunInChild("TwoSecondToneComesOutAtItsPitchAndLevel", capture)) << "the playing process failed";

  std::vector<int16_t> frames;
  uint32_t rate = 0;
  ReadCapture(capture, frames, rate);
  if (HasFatalFailure()) return;
  const size_t frameCount = frames.size() / 2;
  ASSERT_GT(frameCount, rate * 2u) << "the capture is shorter than the tone";

  size_t onset = 0;
  while (onset < frameCount && std::abs(frames[2 * onset]) < 1000) ++onset;
  ASSERT_LT(onset, frameCount) << "only silence came out";
  ASSERT_GE(frameCount - onset, rate * 2u) << "the tone was cut short";

  const size_t span = rate * 7 / 10;
  const Window full = Analyse(frames, onset + rate * 15 / 100, span, rate);
  const Window half = Analyse(frames, onset + rate * 115 / 100, span, rate);
  EXPECT_NEAR(full.hz, TONE_HZ, 5.0);
  EXPECT_NEAR(half.hz, TONE_HZ, 5.0);
  // A centred mono sound comes out of each speaker at between -6 dB (a
  // linear pan) and -3 dB (constant power) of its own level.
  const double speakerShare = full.rmsLeft * std::sqrt(2.0) / TONE_AMPLITUDE;
  EXPECT_GT(speakerShare, 0.48);
  EXPECT_LT(speakerShare, 0.73);
  EXPECT_NEAR(full.rmsLeft, full.rmsRight, 0.05 * full.rmsLeft) << "a centred sound is even";
  EXPECT_NEAR(half.rmsLeft / full.rmsLeft, 0.5, 0.05) << "-6 dB halves the amplitude";
  EXPECT_NEAR(half.rmsRight / full.rmsRight, 0.5, 0.05);

  // After the tone: silence.
  const size_t after = onset + rate * 21 / 10;
  if (after + rate / 10 <= frameCount) {
    const Window tail = Analyse(frames, after, rate / 10, rate);
    EXPECT_LT(tail.rmsLeft, 0.01);
  }
}

// The child: the wave-file writer without a file name cannot open, like a
// machine without a sound card. Writes `done` when every check has passed.
void PlayWithoutADevice(const std::string& done) {
  ASSERT_TRUE(platform::AcquireAudio()) << "sound starts without an output device";
  {
    testsupport::TempDir dir;
    const formats::Tone tone = ToneOf(0.3, 2);
    auto buffer = platform::SoundBuffer::Load(dir.Write("tone.wav", formats::WaveToneBytes(tone)));
    ASSERT_TRUE(buffer);
    platform::SoundPath path(false);
    ASSERT_TRUE(path.Play(*buffer));
    double took = PumpUntil([&] { return path.VoiceCount() == 0; }, 3.0);
    EXPECT_GT(took, 0.2) << "a sound is not over before its time";
    EXPECT_LT(took, 1.0) << "a sound ends";

    auto device = platform::OpenAudioDevice();
    ASSERT_TRUE(device);
    auto stream = platform::OpenSound(device, platform::OpenSampleSource(dir.Write("tone.ogg", formats::OggToneBytes(tone))),
                                      true);
    ASSERT_TRUE(stream);
    stream->Play();
    took = PumpUntil([&] { return !stream->IsPlaying(); }, 3.0);
    EXPECT_GT(took, 0.2);
    EXPECT_LT(took, 1.0) << "a stream plays to its end";
  }
  platform::ReleaseAudio();
  SignalChecksPassed(done);
}

TEST(SoundCapture, WithoutAnOutputDeviceSoundsStillPlayAndEnd) {
  if (const char* done = std::getenv(CHILD_VARIABLE)) {
    PlayWithoutADevice(done);
    return;
  }
  testsupport::TempDir dir;
  ExpectChecksPassInChild("WithoutAnOutputDeviceSoundsStillPlayAndEnd",
                          {{"ALSOFT_DRIVERS", "wave"}, {"ALSOFT_CONF", dir.Write("alsoft.conf", "[wave]\nfile=\n")}});
}

// The child: the output mixed in UpdateAudio by the platform clock. A
// stream plays exactly the frames of the time the scripted clock moved,
// whatever the steps (single milliseconds, frames longer than a stream
// keeps queued), nothing while the clock stands, and ends once the clock passes its length; an effect's voice
// ends the same way. Writes `done` when every check has passed.
void PlayMixedByTheClock(const std::string& done) {
  ASSERT_TRUE(platform::SetAudioOutput(platform::AudioOutput::Clocked));
  platform::headless::SetTime(7000);
  ASSERT_TRUE(platform::AcquireAudio());
  {
    testsupport::TempDir dir;
    const formats::Tone tone = ToneOf(2.0, 2);  // 88200 frames
    const std::string ogg = dir.Write("tone.ogg", formats::OggToneBytes(tone));
    auto device = platform::OpenAudioDevice();
    ASSERT_TRUE(device);
    for (bool streaming : {true, false}) {
      SCOPED_TRACE(streaming ? "streamed" : "in memory");
      auto stream = platform::OpenSound(device, platform::OpenSampleSource(ogg), streaming);
      ASSERT_TRUE(stream);
      stream->Play();
      for (int i = 0; i < 100; ++i) platform::UpdateAudio();
      EXPECT_EQ(stream->FramesPlayed(), 0u) << "the clock stands: nothing is played";
      // 44.1 frames a millisecond: exact at every whole ten, within a frame between.
      uint64_t ms = 0;
      for (uint32_t step : {16u, 4u, 33u, 7u, 1u, 1u, 1u, 1u, 6u, 250u, 17u, 3u, 40u, 20u, 100u, 480u, 900u, 110u}) {
        platform::headless::AdvanceTime(step);
        ms += step;
        platform::UpdateAudio();
        if (ms % 10 == 0) {
          EXPECT_EQ(stream->FramesPlayed(), ms * 441 / 10) << "at " << ms << " ms";
        } else {
          EXPECT_NEAR(double(stream->FramesPlayed()), ms * 44.1, 1.0) << "at " << ms << " ms";
        }
      }
      ASSERT_EQ(ms, 1990u);
      EXPECT_TRUE(stream->IsPlaying()) << "10 ms of the second are left";
      platform::headless::AdvanceTime(20);
      platform::UpdateAudio();
      EXPECT_FALSE(stream->IsPlaying()) << "over once the clock passed its end";
      EXPECT_EQ(stream->FramesPlayed(), 0u) << "rewound at the end";
    }

    auto buffer = platform::SoundBuffer::Load(dir.Write("tone.wav", formats::WaveToneBytes(ToneOf(0.3))));
    ASSERT_TRUE(buffer);
    platform::SoundPath path(false);
    ASSERT_TRUE(path.Play(*buffer));
    for (int i = 0; i < 100; ++i) platform::UpdateAudio();
    EXPECT_EQ(path.VoiceCount(), 1) << "the clock stands: the effect plays on";
    platform::headless::AdvanceTime(290);
    platform::UpdateAudio();
    EXPECT_EQ(path.VoiceCount(), 1) << "10 ms of the effect are left";
    platform::headless::AdvanceTime(20);
    platform::UpdateAudio();
    EXPECT_EQ(path.VoiceCount(), 0) << "over once the clock passed its end";
  }
  platform::ReleaseAudio();
  SignalChecksPassed(done);
}

TEST(SoundCapture, MixedByTheClockSoundsPlayAsFarAsItMoved) {
  if (const char* done = std::getenv(CHILD_VARIABLE)) {
    PlayMixedByTheClock(done);
    return;
  }
  ExpectChecksPassInChild("MixedByTheClockSoundsPlayAsFarAsItMoved");
}

// The demo's music: the title, each level's track and the jingle.
const char* const MUSIC[] = {"Karvessa.ogg",         "Music_Tutorial.ogg", "Music_Level4.ogg", "Music_Level8.ogg",
                             "Music_Intermedio.ogg", "Music_Level12.ogg",  "MissionComplete.ogg"};
constexpr double MUSIC_SECONDS = 1.6, MUSIC_GAP = 0.4;

// The child: each track streamed for MUSIC_SECONDS, then a gap of silence.
void PlayMusicIntoWaveFile(const std::string& capture) {
  ASSERT_TRUE(platform::SetAudioOutput(platform::AudioOutput::WaveFile, capture));
  ASSERT_TRUE(platform::AcquireAudio());
  {
    auto device = platform::OpenAudioDevice();
    ASSERT_TRUE(device);
    PumpFor(MUSIC_GAP);
    for (const char* name : MUSIC) {
      auto stream = platform::OpenSound(
          device, platform::OpenSampleSource(std::string(KARVESSA_DEMO_DATA_DIR) + "/" + name), true);
      ASSERT_TRUE(stream) << name;
      stream->Play();
      PumpFor(MUSIC_SECONDS);
      stream->Stop();
      PumpFor(MUSIC_GAP);
    }
  }
  platform::ReleaseAudio();
}

// How much the spectrum moves from one tenth of a second to the next: the
// energies of sixteen bands (Goertzel, 100 Hz to 4 kHz) of each frame, and
// the mean of |a - b| / (a + b) summed over the bands of neighbouring frames
// (0 for a steady sound).
double SpectralMotion(const std::vector<double>& mono, uint32_t rate) {
  const size_t frame = rate / 10;
  std::vector<std::vector<double>> bands;
  for (size_t at = 0; at + frame <= mono.size(); at += frame) {
    std::vector<double> energy;
    for (int b = 0; b < 16; ++b) {
      const double hz = 100.0 * std::pow(40.0, b / 15.0);
      const double w = 2.0 * std::cos(2.0 * 3.14159265358979 * hz / rate);
      double s1 = 0.0, s2 = 0.0;
      for (size_t i = at; i < at + frame; ++i) {
        const double s0 = mono[i] + w * s1 - s2;
        s2 = s1;
        s1 = s0;
      }
      energy.push_back(s1 * s1 + s2 * s2 - w * s1 * s2);
    }
    bands.push_back(energy);
  }
  double motion = 0.0;
  for (size_t f = 1; f < bands.size(); ++f) {
    double diff = 0.0, sum = 0.0;
    for (int b = 0; b < 16; ++b) {
      diff += std::fabs(bands[f][b] - bands[f - 1][b]);
      sum += bands[f][b] + bands[f - 1][b];
    }
    motion += sum > 0.0 ? diff / sum : 0.0;
  }
  return bands.size() > 1 ? motion / double(bands.size() - 1) : 0.0;
}

TEST(SoundCapture, TheDemoMusicSoundsMovesAndNeverClips) {
  if (const char* capture = std::getenv(CHILD_VARIABLE)) {
    PlayMusicIntoWaveFile(capture);
    return;
  }
  // The measure itself: a steady tone does not move.
  {
    std::vector<double> tone(44100);
    for (size_t i = 0; i < tone.size(); ++i) tone[i] = 0.3 * std::sin(2.0 * 3.14159265358979 * 110.0 * i / 44100.0);
    EXPECT_LT(SpectralMotion(tone, 44100), 0.02);
  }
  testsupport::TempDir dir;
  const std::string capture = dir.File("music.wav");
  ASSERT_TRUE(RunInChild("TheDemoMusicSoundsMovesAndNeverClips", capture)) << "the playing process failed";
  std::vector<int16_t> frames;
  uint32_t rate = 0;
  ReadCapture(capture, frames, rate);
  if (HasFatalFailure()) return;
  int peak = 0;
  for (int16_t s : frames) peak = std::max(peak, std::abs(int(s)));
  EXPECT_LT(peak, 32767) << "the music clips";

  // Each track from its onset: the first sound after the last track's end.
  size_t at = 0;
  const size_t frameCount = frames.size() / 2;
  for (const char* name : MUSIC) {
    while (at < frameCount && std::abs(frames[2 * at]) < 100 && std::abs(frames[2 * at + 1]) < 100) ++at;
    ASSERT_LT(at + size_t(rate * (MUSIC_SECONDS - 0.2)), frameCount) << name << ": only silence came out";
    std::vector<double> mono;
    double energy = 0.0;
    for (size_t i = at; i < at + size_t(rate * (MUSIC_SECONDS - 0.2)); ++i) {
      mono.push_back((frames[2 * i] + frames[2 * i + 1]) / 65536.0);
      energy += mono.back() * mono.back();
    }
    EXPECT_GT(std::sqrt(energy / mono.size()), 0.01) << name << " is silent";
    EXPECT_GT(SpectralMotion(mono, rate), 0.1) << name << " is one steady sound";
    at += size_t(rate * (MUSIC_SECONDS + MUSIC_GAP / 2));
  }
}

}  // namespace
