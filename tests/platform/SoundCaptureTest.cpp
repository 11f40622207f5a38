// What comes out of the mixer, each case in a child process because the
// output is chosen before sound is first used: a tone into the wave-file
// writer (pitch and level), no output device at all, the output's limiter,
// the output mixed by the platform clock, the demo's music, and a busy
// moment of a fight played through the engine at a new player's settings.
#include <AL/alc.h>
#include <AL/alext.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/sound/AudiereSound.h"
#include "engine/sound/SoundDevice.h"
#include "engine/sound/WaveSound.h"
#include "engine/util/ConfigFile.h"
#include "frontend/SettingsValues.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/SoundTestSupport.h"
#include "platform/Window.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

// What the layer asked of OpenAL for its last context: this program's
// alcCreateContext stands in front of the library's and hands it on.
static std::vector<ALCint> g_ContextAttributes;

ALCcontext* ALC_APIENTRY alcCreateContext(ALCdevice* device, const ALCint* attributes) {
  using Create = ALCcontext* (*)(ALCdevice*, const ALCint*);
  static const Create create = reinterpret_cast<Create>(dlsym(RTLD_NEXT, "alcCreateContext"));
  g_ContextAttributes.clear();
  for (const ALCint* a = attributes; a && a[0]; a += 2) g_ContextAttributes.insert(g_ContextAttributes.end(), a, a + 2);
  return create ? create(device, attributes) : nullptr;
}

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
                std::vector<std::pair<std::string, std::string>> variables = {}) {
  variables.emplace_back(CHILD_VARIABLE, file);
  return testsupport::ExitedCleanly(
      testsupport::RunChildProcess({testsupport::SelfExecutable(), "--gtest_filter=SoundCapture." + test},
                                   testsupport::ChildTestEnvironment(variables)));
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

// A child's word that every check passed: the file `done`, written last.
void SayDoneUnlessFailed(const std::string& done) {
  if (::testing::Test::HasFailure()) return;
  FILE* f = std::fopen(done.c_str(), "w");
  if (f) std::fclose(f);
}

// Runs a test of this file in a child with the given variables; true when
// the child finished its checks.
bool ChildPasses(const std::string& test, const std::vector<std::pair<std::string, std::string>>& variables = {}) {
  testsupport::TempDir dir;
  const std::string done = dir.File("done");
  EXPECT_TRUE(RunInChild(test, done, variables)) << "the child process failed";
  return platform::FileExists(done);
}

// The same on OpenAL Soft's wave-file writer with the given [general]
// settings, writing into a file or (without one) unable to open.
bool ChildPassesOnTheWaveWriter(const std::string& test, const std::string& general, bool intoAFile) {
  testsupport::TempDir dir;
  const std::string config = "[general]\n" + general + "[wave]\nfile=" + (intoAFile ? dir.File("out.wav") : "") + "\n";
  return ChildPasses(test, {{"ALSOFT_DRIVERS", "wave"}, {"ALSOFT_CONF", dir.Write("alsoft.conf", config)}});
}

// Whether the open output asked for OpenAL Soft's limiter, which keeps the
// mix from clamping, and runs it; true where the library does not offer it.
bool OutputAskedForTheLimiter() {
  ALCcontext* context = alcGetCurrentContext();
  ALCdevice* device = context ? alcGetContextsDevice(context) : nullptr;
  EXPECT_TRUE(device);
  if (!device || !alcIsExtensionPresent(device, "ALC_SOFT_output_limiter")) return true;
  bool asked = false;
  for (size_t i = 0; i + 1 < g_ContextAttributes.size(); i += 2)
    asked = asked || (g_ContextAttributes[i] == ALC_OUTPUT_LIMITER_SOFT && g_ContextAttributes[i + 1] == ALC_TRUE);
  ALCint on = ALC_FALSE;
  alcGetIntegerv(device, ALC_OUTPUT_LIMITER_SOFT, 1, &on);
  return asked && on == ALC_TRUE;
}

// The child: the wave-file writer without a file name cannot open, like a
// machine without a sound card. The unheard mixer follows the steady clock
// whenever it is updated, so the sounds are timed on that clock, from just
// before each starts; each starts after a long frame (a level loading, say)
// whose time it must not play. Writes `done` when every check has passed.
void PlayWithoutADevice(const std::string& done) {
  ASSERT_TRUE(platform::AcquireAudio()) << "sound starts without an output device";
  EXPECT_TRUE(OutputAskedForTheLimiter()) << "the unheard mixer limits as a heard one does";
  {
    constexpr double LENGTH = 0.3, LONG_FRAME = 0.2;
    // The steady clock is read in whole frames of the mix (a frame rounds).
    constexpr double ROUNDING = 0.001;
    const auto longFrame = [] {
      platform::UpdateAudio();
      soundtest::StallFor(LONG_FRAME, soundtest::Since(soundtest::SteadySeconds));
    };
    testsupport::TempDir dir;
    const formats::Tone tone = ToneOf(LENGTH, 2);
    auto buffer = platform::SoundBuffer::Load(dir.Write("tone.wav", formats::WaveToneBytes(tone)));
    ASSERT_TRUE(buffer);
    platform::SoundPath path(false);
    longFrame();
    const soundtest::Since sincePlay(soundtest::SteadySeconds);
    ASSERT_TRUE(path.Play(*buffer));
    double started = sincePlay();
    soundtest::Seen seen = PumpUntil([&] { return path.VoiceCount() == 0; }, 3.0, sincePlay);
    EXPECT_GT(seen.over, LENGTH - ROUNDING) << "a sound is not over before its time";
    EXPECT_LT(seen.on, started + LENGTH + ROUNDING) << "a sound ends once its time has passed";

    auto device = platform::OpenAudioDevice();
    ASSERT_TRUE(device);
    auto stream = platform::OpenSound(device, platform::OpenSampleSource(dir.Write("tone.ogg", formats::OggToneBytes(tone))),
                                      true);
    ASSERT_TRUE(stream);
    longFrame();
    const soundtest::Since sinceStream(soundtest::SteadySeconds);
    stream->Play();
    started = sinceStream();
    seen = PumpUntil([&] { return !stream->IsPlaying(); }, 3.0, sinceStream);
    EXPECT_GT(seen.over, LENGTH - ROUNDING) << "a stream is not over before its time";
    EXPECT_LT(seen.on, started + LENGTH + ROUNDING) << "a stream ends once its time has passed";
  }
  platform::ReleaseAudio();
  SayDoneUnlessFailed(done);
}

TEST(SoundCapture, WithoutAnOutputDeviceSoundsStillPlayAndEnd) {
  if (const char* done = std::getenv(CHILD_VARIABLE)) {
    PlayWithoutADevice(done);
    return;
  }
  EXPECT_TRUE(ChildPassesOnTheWaveWriter("WithoutAnOutputDeviceSoundsStillPlayAndEnd", "", false))
      << "the playing process did not finish its checks";
}

// The child: the output as a sound server usually takes it, in floats,
// where a library need not limit unless the context asks for it.
void CheckTheLimiter(const std::string& done) {
  ASSERT_TRUE(platform::AcquireAudio());
  const bool on = OutputAskedForTheLimiter();
  platform::ReleaseAudio();
  EXPECT_TRUE(on) << "the output does not ask for the limiter";
  SayDoneUnlessFailed(done);
}

TEST(SoundCapture, TheOutputAsksForTheLimiter) {
  if (const char* done = std::getenv(CHILD_VARIABLE)) {
    CheckTheLimiter(done);
    return;
  }
  EXPECT_TRUE(ChildPassesOnTheWaveWriter("TheOutputAsksForTheLimiter", "sample-type=float32\n", true))
      << "the checking process did not finish its checks";
}

// The child: the output mixed in UpdateAudio by the platform clock. A
// stream plays exactly the frames of the time the scripted clock moved,
// whatever the steps (single milliseconds, frames longer than a stream
// keeps queued), nothing while the clock stands or before it starts (the
// frame it starts in), up to the moment it is stopped, and ends once the
// clock passes its length; an effect's voice ends the same way, and so does
// every PCM layout, each after its own length. Writes `done` when every
// check has passed.
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
      platform::headless::AdvanceTime(100);  // the frame it starts in began before it
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
      // Stopped within a frame: played up to the stop, then it stands.
      platform::headless::AdvanceTime(5);
      stream->Stop();
      EXPECT_NEAR(double(stream->FramesPlayed()), 1995 * 44.1, 1.0) << "stopped 5 ms into the frame";
      platform::headless::AdvanceTime(300);
      platform::UpdateAudio();
      stream->Play();
      EXPECT_NEAR(double(stream->FramesPlayed()), 1995 * 44.1, 1.0) << "a stopped stream stands";
      platform::headless::AdvanceTime(20);
      platform::UpdateAudio();
      EXPECT_FALSE(stream->IsPlaying()) << "over once the clock passed its end";
      EXPECT_EQ(stream->FramesPlayed(), 0u) << "rewound at the end";
    }

    auto buffer = platform::SoundBuffer::Load(dir.Write("tone.wav", formats::WaveToneBytes(ToneOf(0.3))));
    ASSERT_TRUE(buffer);
    platform::SoundPath path(false);
    platform::headless::AdvanceTime(100);  // the frame it starts in began before it
    ASSERT_TRUE(path.Play(*buffer));
    for (int i = 0; i < 100; ++i) platform::UpdateAudio();
    EXPECT_EQ(path.VoiceCount(), 1) << "the clock stands: the effect plays on";
    platform::headless::AdvanceTime(290);
    platform::UpdateAudio();
    EXPECT_EQ(path.VoiceCount(), 1) << "10 ms of the effect are left";
    platform::headless::AdvanceTime(20);
    platform::UpdateAudio();
    EXPECT_EQ(path.VoiceCount(), 0) << "over once the clock passed its end";

    // A layout handed to the mixer as another would play twice or half as long.
    std::vector<std::unique_ptr<platform::SoundBuffer>> layouts;
    std::vector<std::unique_ptr<platform::SoundPath>> paths;
    for (uint16_t bits : {8, 16}) {
      for (uint16_t channels : {1, 2}) {
        const std::string name = "tone" + std::to_string(bits) + "_" + std::to_string(channels) + ".wav";
        layouts.push_back(platform::SoundBuffer::Load(
            dir.Write(name, formats::WaveToneBytes(ToneOf(0.25, channels, 22050), bits))));
        ASSERT_TRUE(layouts.back()) << name;
        paths.push_back(std::make_unique<platform::SoundPath>(false));
        ASSERT_TRUE(paths.back()->Play(*layouts.back())) << name;
      }
    }
    platform::headless::AdvanceTime(240);
    platform::UpdateAudio();
    for (size_t i = 0; i < paths.size(); ++i) EXPECT_EQ(paths[i]->VoiceCount(), 1) << "layout " << i << " at 240 ms";
    platform::headless::AdvanceTime(20);
    platform::UpdateAudio();
    for (size_t i = 0; i < paths.size(); ++i) EXPECT_EQ(paths[i]->VoiceCount(), 0) << "layout " << i << " at 260 ms";
  }
  platform::ReleaseAudio();
  SayDoneUnlessFailed(done);
}

TEST(SoundCapture, MixedByTheClockSoundsPlayAsFarAsItMoved) {
  if (const char* done = std::getenv(CHILD_VARIABLE)) {
    PlayMixedByTheClock(done);
    return;
  }
  EXPECT_TRUE(ChildPasses("MixedByTheClockSoundsPlayAsFarAsItMoved")) << "the playing process did not finish its checks";
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

// A busy moment of a fight in Level8, played as the game plays it: the
// engine on the demo data at the settings a new player starts with, the
// level's music looping through the streaming factory and then, all at
// once, three explosions (the barrel's blast through the audiere factory,
// a breaking door and a breaking box through the wave factory), the
// player's and the enemies' shots and their hurt sounds.
constexpr const char* BUSY_MUSIC = "Music_Level8.ogg";
constexpr const char* BUSY_BLAST = "BarrelExplosion.wav";
const char* const BUSY_EFFECTS[] = {"DoorExplosion.wav", "BoxExplosion.wav", "WeaponRedShot.wav",
                                    "Ene3Disparo.wav",   "PlayerDamaged.wav", "Ene1Herido.wav"};
// The fight starts once this much of the music has been played (the quiet
// opening bars and some of what follows), and the capture goes on for a
// second of music after the last effect has ended.
constexpr double MUSIC_ALONE_SECONDS = 5.0, MUSIC_AFTER_SECONDS = 1.0;

// The child: the busy moment into the wave-file writer.
void PlayABusyMomentIntoWaveFile(const std::string& capture) {
  ASSERT_TRUE(platform::SetAudioOutput(platform::AudioOutput::WaveFile, capture));
  const std::string data = std::string(KARVESSA_DEMO_DATA_DIR) + "/";
  ASSERT_TRUE(platform::RegisterWindowClass("SOUNDCAPTURE", platform::DefWindowProc));
  platform::HWND window = platform::CreateAppWindow("SOUNDCAPTURE", "capture", 0, 0, 0, 800, 600);
  ASSERT_TRUE(window);
  Nembra::SetDataDirectory(data);
  for (std::string* folder : Nembra::ResourceDirectories()) *folder = data;
  ASSERT_TRUE(Nembra::InitializeEngine());
  Nembra::APPLICATION_PARAMS params;
  params.windowed = true;
  params.bitsPerPixel = 32;
  ASSERT_TRUE(Nembra::g_pGraphicsDevice->Create(window, params));
  ASSERT_TRUE(Nembra::g_pSoundDevice->Initialize(window, 44100, L""));
  {
    // A new player's settings, applied as every settings screen applies them.
    const std::string defaults = data + "ConfigDefault.dat";
    const auto stored = [&](const char* key, const char* section) {
      const std::string value = Nembra::CConfigFile::GetValue(key, section, defaults);
      EXPECT_FALSE(value.empty()) << section << "/" << key;
      return static_cast<int32_t>(std::atoi(value.c_str()));
    };
    ApplySettingsFromThousandths(stored("Gamma", "Monitor"), stored("Music", "Sound"), stored("Effects", "Sound"));

    auto source = platform::OpenSampleSource(data + BUSY_MUSIC);
    ASSERT_TRUE(source);
    const uint64_t aloneFrames = static_cast<uint64_t>(MUSIC_ALONE_SECONDS * source->SampleRate());
    Nembra::CAudiereSound* music = Nembra::g_pStreamingSoundFactory->Get(BUSY_MUSIC);
    ASSERT_NE(music, Nembra::g_pStreamingSoundFactory->GetDefault());
    music->SetRepeat(true);
    music->Play(true);
    PumpUntil([&] { return music->GetStream()->FramesPlayed() >= aloneFrames; }, 30.0);
    ASSERT_GE(music->GetStream()->FramesPlayed(), aloneFrames) << "the music does not play";

    Nembra::CAudiereSound* blast = Nembra::g_pAudiereSoundFactory->Get(BUSY_BLAST);
    ASSERT_NE(blast, Nembra::g_pAudiereSoundFactory->GetDefault());
    std::vector<Nembra::CWaveSound*> effects;
    for (const char* name : BUSY_EFFECTS) {
      effects.push_back(Nembra::g_pWaveSoundFactory->Get(name));
      ASSERT_NE(effects.back(), Nembra::g_pWaveSoundFactory->GetDefault()) << name;
    }
    blast->Play(true);
    for (Nembra::CWaveSound* effect : effects) EXPECT_TRUE(effect->Play(false));
    PumpUntil(
        [&] {
          bool over = !blast->IsPlaying();
          for (Nembra::CWaveSound* effect : effects) over = over && effect->GetAudioPath()->VoiceCount() == 0;
          return over;
        },
        30.0);
    const uint64_t after = music->GetStream()->FramesPlayed() + uint64_t(MUSIC_AFTER_SECONDS * source->SampleRate());
    PumpUntil([&] { return music->GetStream()->FramesPlayed() >= after; }, 30.0);
    music->Stop();
  }
  Nembra::ShutdownEngine();  // closes the file with its final sizes
  platform::DestroyWindow(window);
}

TEST(SoundCapture, ABusyMomentOfAFightAtTheDefaultSettingsNeverReachesFullScale) {
  if (const char* capture = std::getenv(CHILD_VARIABLE)) {
    PlayABusyMomentIntoWaveFile(capture);
    return;
  }
  testsupport::TempDir dir;
  const std::string capture = dir.File("fight.wav");
  ASSERT_TRUE(RunInChild("ABusyMomentOfAFightAtTheDefaultSettingsNeverReachesFullScale", capture))
      << "the playing process failed";
  std::vector<int16_t> frames;
  uint32_t rate = 0;
  ReadCapture(capture, frames, rate);
  if (HasFatalFailure()) return;

  int peak = 0;
  size_t clipped = 0;
  for (int16_t s : frames) {
    peak = std::max(peak, std::abs(int(s)));
    if (std::abs(int(s)) >= 32767) ++clipped;
  }
  EXPECT_EQ(clipped, 0u) << "samples at full scale";

  // The music alone from its onset until the fight begins, then the
  // loudest half second of the fight.
  const size_t frameCount = frames.size() / 2;
  size_t onset = 0;
  while (onset < frameCount && std::abs(frames[2 * onset]) < 30 && std::abs(frames[2 * onset + 1]) < 30) ++onset;
  const size_t alone = size_t(rate * (MUSIC_ALONE_SECONDS - 0.2)), half = rate / 2;
  ASSERT_LT(onset + rate / 10 + alone + half, frameCount) << "the capture holds too little";
  const auto rmsOf = [&](size_t first, size_t count) {
    double energy = 0.0;
    for (size_t i = 2 * first; i < 2 * (first + count); ++i) energy += (frames[i] / 32768.0) * (frames[i] / 32768.0);
    return std::sqrt(energy / (2.0 * count));
  };
  const double musicRms = rmsOf(onset + rate / 10, alone);
  double fightRms = 0.0;
  for (size_t at = onset + rate / 10 + alone; at + half <= frameCount; at += rate / 20)
    fightRms = std::max(fightRms, rmsOf(at, half));
  const auto dB = [](double level) { return 20.0 * std::log10(std::max(level, 1e-9)); };
  std::printf("busy moment: peak %.1f dBFS (%d), loudest half second %.1f dBFS RMS, music alone %.1f dBFS RMS, "
              "%zu samples at full scale\n",
              dB(peak / 32768.0), peak, dB(fightRms), dB(musicRms), clipped);
  // The music bed is heard, under the fight.
  EXPECT_GT(dB(musicRms), -40.0) << "the music is not heard";
  EXPECT_GT(dB(fightRms), dB(musicRms) + 6.0) << "the fight does not stand out of the music";
}

}  // namespace
