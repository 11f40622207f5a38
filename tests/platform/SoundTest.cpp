// Wave decoding, voices on paths (overlap, stop, repeats, fades, master
// level) and streams (end, repeat, pause, reset) on OpenAL Soft's null
// output, timed on its mixer's own clock.
#include <gtest/gtest.h>

#include <AL/al.h>

#include <algorithm>
#include <cmath>

#include "platform/Clock.h"
#include "platform/SoundTestSupport.h"
#include "support/TempDir.h"

namespace {

using namespace soundtest;

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

void Put32At(std::string& s, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

TEST(WaveDecoding, ReadsPcmLayoutsAndTheirSamples) {
  formats::Tone tone = ToneOf(0.01, 1, 8000);
  platform::PcmFormat format;
  std::vector<uint8_t> samples;
  std::string bytes = formats::WaveToneBytes(tone, 16);
  ASSERT_TRUE(platform::DecodeWave(Bytes(bytes).data(), bytes.size(), format, samples));
  EXPECT_EQ(format.channels, 1);
  EXPECT_EQ(format.bitsPerSample, 16);
  EXPECT_EQ(format.sampleRate, 8000u);
  ASSERT_EQ(samples.size(), 160u);
  // Frame 2 of 440 Hz at 8 kHz, amplitude 0.5.
  const int16_t third = static_cast<int16_t>(samples[4] | (samples[5] << 8));
  EXPECT_NEAR(third, 0.5 * 32767 * std::sin(2 * 3.14159265 * 440 * 2 / 8000.0), 1.0);

  tone.channels = 2;
  bytes = formats::WaveToneBytes(tone, 8);
  ASSERT_TRUE(platform::DecodeWave(Bytes(bytes).data(), bytes.size(), format, samples));
  EXPECT_EQ(format.channels, 2);
  EXPECT_EQ(format.bitsPerSample, 8);
  EXPECT_EQ(samples.size(), 160u);
  EXPECT_EQ(samples[0], 128);  // silence is the midpoint for 8 bits

  // The extensible header with a PCM sub-format, as recorders write it.
  std::string ext = bytes.substr(0, 12) + "fmt ";
  std::string fmt = bytes.substr(20, 16);
  fmt[0] = static_cast<char>(0xFE);
  fmt[1] = static_cast<char>(0xFF);
  fmt += std::string("\x16\x00\x08\x00\x03\x00\x00\x00", 8);
  fmt += std::string("\x01\x00\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 16);
  ext += std::string("\x28\x00\x00\x00", 4) + fmt + bytes.substr(36);
  ASSERT_TRUE(platform::DecodeWave(Bytes(ext).data(), ext.size(), format, samples));
  EXPECT_EQ(format.channels, 2);
  EXPECT_EQ(samples.size(), 160u);
}

// Any sound as 16-bit PCM: the plain 44-byte header that recorders and
// editors write, samples scaled by 32767, rounded, and clamped beyond -1..1.
TEST(WaveDecoding, AnySoundIsWrittenAsPlainSixteenBitPcm) {
  const std::string bytes = formats::WaveBytes({0.0f, 1.0f, -1.0f, 0.5f, 2.0f, -0.25f}, 2, 22050);
  const std::string expected = std::string("RIFF\x30\0\0\0WAVEfmt \x10\0\0\0\x01\0\x02\0", 24) +
                               std::string("\x22\x56\0\0\x88\x58\x01\0\x04\0\x10\0data\x0C\0\0\0", 20) +
                               std::string("\0\0\xFF\x7F\x01\x80\x00\x40\xFF\x7F\x00\xE0", 12);
  EXPECT_EQ(bytes, expected);
  platform::PcmFormat format;
  std::vector<uint8_t> samples;
  ASSERT_TRUE(platform::DecodeWave(Bytes(bytes).data(), bytes.size(), format, samples));
  EXPECT_EQ(format.channels, 2);
  EXPECT_EQ(format.sampleRate, 22050u);
  EXPECT_EQ(samples.size(), 12u);
}

TEST(WaveDecoding, RefusesDamagedAndUnplayableFilesWithAReason) {
  const std::string good = formats::WaveToneBytes(ToneOf(0.01), 16);
  std::vector<std::pair<const char*, std::string>> bad;
  bad.push_back({"empty", ""});
  bad.push_back({"not RIFF", "RIFX" + good.substr(4)});
  bad.push_back({"header only", good.substr(0, 12)});
  bad.push_back({"data cut short", good.substr(0, good.size() - 100)});
  std::string noFormat = good;
  noFormat.replace(12, 4, "junk");
  bad.push_back({"no format chunk", noFormat});
  std::string sixChannels = good;
  sixChannels[22] = 6;
  bad.push_back({"six channels", sixChannels});
  std::string floats = good;
  floats[20] = 3;
  bad.push_back({"float samples", floats});
  std::string hugeChunk = good;
  Put32At(hugeChunk, 16, 0xFFFFFFF0u);  // format chunk claims 4 GB
  bad.push_back({"chunk past the end", hugeChunk});
  std::string noData = good.substr(0, 36);
  bad.push_back({"no data chunk", noData});
  std::string emptyData = good.substr(0, 40) + std::string(4, '\0');
  bad.push_back({"no samples", emptyData});

  for (const auto& c : bad) {
    platform::PcmFormat format;
    std::vector<uint8_t> samples;
    std::string why;
    const std::vector<uint8_t> b = Bytes(c.second);
    EXPECT_FALSE(platform::DecodeWave(b.data(), b.size(), format, samples, &why)) << c.first;
    EXPECT_FALSE(why.empty()) << c.first;
  }
}

TEST(SoundLevels, MillibelsMapToGain) {
  EXPECT_FLOAT_EQ(platform::MillibelsToGain(0), 1.0f);
  EXPECT_NEAR(platform::MillibelsToGain(-2000), 0.1f, 1e-6);
  EXPECT_NEAR(platform::MillibelsToGain(1000), 3.1623f, 1e-3);
  EXPECT_NEAR(platform::MillibelsToGain(-602), 0.5f, 1e-3);
  EXPECT_EQ(platform::MillibelsToGain(-9600), 0.0f);
  EXPECT_EQ(platform::MillibelsToGain(-20000), 0.0f);
}

class SoundOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(platform::AcquireAudio()) << "the null output should always open";
    platform::SetMasterVolume(0);
    platform::headless::SetTime(10000);
  }
  void TearDown() override {
    platform::SetMasterVolume(0);
    platform::ReleaseAudio();
  }
  std::unique_ptr<platform::SoundBuffer> Tone(double seconds, uint16_t channels = 1) {
    return platform::SoundBuffer::Load(dir.Write("tone.wav", formats::WaveToneBytes(ToneOf(seconds, channels))));
  }
  testsupport::TempDir dir;
};

TEST_F(SoundOutput, InstancesOverlapAndStopTogether) {
  auto buffer = Tone(2.0);
  ASSERT_TRUE(buffer);
  EXPECT_NEAR(buffer->Seconds(), 2.0, 1e-3);
  platform::SoundPath path(false);
  EXPECT_EQ(path.VoiceCount(), 0);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(path.Play(*buffer));
  EXPECT_EQ(path.VoiceCount(), 3);
  for (const auto& v : path.Voices()) EXPECT_TRUE(v.playing);

  platform::SoundPath other(false);
  EXPECT_TRUE(other.Play(*buffer));
  path.Stop();
  EXPECT_EQ(path.VoiceCount(), 0);
  EXPECT_EQ(other.VoiceCount(), 1) << "stopping one path leaves the others";
  EXPECT_EQ(path.PlayRequests(), 3u) << "the plays asked stay counted after the voices stop";
}

TEST_F(SoundOutput, PoolRunsOutWithoutHarmAndRecoversVoices) {
  auto buffer = Tone(0.05);
  ASSERT_TRUE(buffer);
  platform::SoundPath path(false);
  int started = 0;
  for (int i = 0; i < 200; ++i) started += path.Play(*buffer) ? 1 : 0;
  EXPECT_GT(started, 8);
  EXPECT_LT(started, 200);
  // Once they are over the voices go back to the pool.
  PumpUntil([&] { return path.VoiceCount() == 0; }, 2.0);
  EXPECT_EQ(path.VoiceCount(), 0);
  EXPECT_TRUE(path.Play(*buffer));
}

TEST_F(SoundOutput, RepeatCountsSetHowOftenASoundPlays) {
  auto buffer = Tone(0.2);
  ASSERT_TRUE(buffer);
  platform::SoundPath once(false), thrice(false), forever(false);
  const Since sincePlay;
  ASSERT_TRUE(once.Play(*buffer, 0));
  ASSERT_TRUE(thrice.Play(*buffer, 2));
  ASSERT_TRUE(forever.Play(*buffer, platform::SoundPath::REPEAT_FOREVER));
  const double started = sincePlay();
  const std::vector<Seen> seen = PumpUntilAll(
      {[&] { return once.VoiceCount() == 0; }, [&] { return thrice.VoiceCount() == 0; }}, 3.0, sincePlay);
  EXPECT_GT(seen[0].over, 0.15);
  EXPECT_LT(seen[0].on, started + 0.45);
  EXPECT_GT(seen[1].over, 0.55);
  EXPECT_LT(seen[1].on, started + 1.5);
  EXPECT_EQ(forever.VoiceCount(), 1) << "a looping sound plays until stopped";

  // Many repeats outlast the few copies queued ahead.
  platform::SoundPath many(false);
  const Since sinceMany;
  ASSERT_TRUE(many.Play(*buffer, 6));
  Pump(0.9, sinceMany);
  EXPECT_EQ(many.VoiceCount(), 1);
}

TEST_F(SoundOutput, FadesMoveTheLevelOverTime) {
  auto buffer = Tone(2.0);
  ASSERT_TRUE(buffer);
  platform::SoundPath path(false);
  ASSERT_TRUE(path.Play(*buffer));
  ASSERT_EQ(path.Voices().size(), 1u);
  EXPECT_FLOAT_EQ(path.Voices()[0].gain, 1.0f);

  path.SetVolume(-2000, 1000);
  EXPECT_EQ(path.GetVolume(), 0);
  EXPECT_EQ(path.GetTargetVolume(), -2000);
  platform::headless::AdvanceTime(500);
  platform::UpdateAudio();
  EXPECT_EQ(path.GetVolume(), -1000);
  EXPECT_NEAR(path.Voices()[0].gain, platform::MillibelsToGain(-1000), 1e-4);

  // A new fade starts from where the old one got to.
  path.SetVolume(0, 200);
  platform::headless::AdvanceTime(100);
  platform::UpdateAudio();
  EXPECT_EQ(path.GetVolume(), -500);
  platform::headless::AdvanceTime(5000);
  platform::UpdateAudio();
  EXPECT_EQ(path.GetVolume(), 0);
  EXPECT_FLOAT_EQ(path.Voices()[0].gain, 1.0f);

  // No fade: at once, also for voices started later.
  path.SetVolume(-9600, 0);
  EXPECT_EQ(path.Voices()[0].gain, 0.0f);
  ASSERT_TRUE(path.Play(*buffer));
  for (const auto& v : path.Voices()) EXPECT_EQ(v.gain, 0.0f);
}

TEST_F(SoundOutput, MasterLevelScalesEveryPath) {
  auto buffer = Tone(2.0);
  ASSERT_TRUE(buffer);
  platform::SoundPath a(false), b(false);
  a.SetVolume(-2000, 0);
  ASSERT_TRUE(a.Play(*buffer));
  ASSERT_TRUE(b.Play(*buffer));
  platform::SetMasterVolume(1000);
  EXPECT_NEAR(a.Voices()[0].gain, platform::MillibelsToGain(-1000), 1e-4);
  EXPECT_NEAR(b.Voices()[0].gain, platform::MillibelsToGain(1000), 1e-3);
  platform::SetMasterVolume(-9000);
  EXPECT_NEAR(b.Voices()[0].gain, platform::MillibelsToGain(-9000), 1e-7);
}

TEST_F(SoundOutput, ABufferDeletedWhilePlayingStopsItsVoices) {
  auto buffer = Tone(2.0);
  ASSERT_TRUE(buffer);
  platform::SoundPath path(false);
  ASSERT_TRUE(path.Play(*buffer));
  buffer.reset();
  EXPECT_EQ(path.VoiceCount(), 0);
}

TEST_F(SoundOutput, MissingAndDamagedFilesLoadNothing) {
  std::string why;
  EXPECT_FALSE(platform::SoundBuffer::Load(dir.File("none.wav"), &why));
  EXPECT_FALSE(why.empty());
  EXPECT_FALSE(platform::SoundBuffer::Load(dir.Write("bad.wav", "RIFF\x10\0\0\0WAVEfmt "), &why));
  EXPECT_FALSE(platform::OpenSampleSource(dir.File("none.ogg")));
  EXPECT_FALSE(platform::OpenSampleSource(dir.Write("bad.ogg", "OggS" + std::string(200, '\x5A'))));
  EXPECT_FALSE(platform::OpenSampleSource(dir.Write("text.ogg", "just some words")));
  EXPECT_FALSE(platform::OpenSampleSource(dir.Write("bad2.wav", "RIFF....WAVE")));
}

// Streams ---------------------------------------------------------------

class StreamOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    device = platform::OpenAudioDevice();
    ASSERT_TRUE(device);
    const formats::Tone tone = ToneOf(kSeconds, 2);
    const std::string bytes = formats::OggToneBytes(tone);
    ASSERT_FALSE(bytes.empty());
    oggPath = dir.Write("tone.ogg", bytes);
    wavPath = dir.Write("tone.wav", formats::WaveToneBytes(tone));
  }
  std::shared_ptr<platform::OutputStream> Open(const std::string& path, bool streaming) {
    return platform::OpenSound(device, platform::OpenSampleSource(path), streaming);
  }
  static constexpr double kSeconds = 0.4;
  static constexpr uint64_t kFrames = 17640;
  testsupport::TempDir dir;
  std::shared_ptr<platform::AudioDevice> device;
  std::string oggPath, wavPath;
};

namespace {
// A stereo source of any length that costs nothing to decode.
class LongSource : public platform::SampleSource {
 public:
  LongSource(uint64_t frames, bool canSeek) : m_Frames(frames), m_CanSeek(canSeek) {}
  uint16_t Channels() const override { return 2; }
  uint32_t SampleRate() const override { return 44100; }
  size_t Read(int16_t* out, size_t frames) override {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(frames, m_Frames - m_At));
    for (size_t i = 0; i < n * 2; ++i) out[i] = static_cast<int16_t>((m_At + i / 2) & 0xFFF);
    m_At += n;
    return n;
  }
  bool Reset() override {
    ++resets;
    if (m_CanSeek) m_At = 0;
    return m_CanSeek;
  }
  int resets = 0;

 private:
  uint64_t m_Frames, m_At = 0;
  bool m_CanSeek;
};

ALint SourceType(const platform::OutputStream& stream) {
  ALint type = 0;
  alGetSourcei(stream.SourceHandle(), AL_SOURCE_TYPE, &type);
  return type;
}
}  // namespace

TEST_F(StreamOutput, SoundsTooLongToHoldWholeAreStreamed) {
  const uint64_t capFrames = platform::MAX_DECODED_SOUND_BYTES / 4;
  // Within the cap: one buffer holding the whole sound.
  auto fits = std::make_shared<LongSource>(capFrames - 20000, true);
  auto whole = platform::OpenSound(device, fits, false);
  ASSERT_TRUE(whole);
  EXPECT_EQ(SourceType(*whole), AL_STATIC);
  EXPECT_EQ(fits->resets, 0);
  whole.reset();

  // Past it: played from the start as a stream.
  auto longer = std::make_shared<LongSource>(capFrames + 20000, true);
  auto stream = platform::OpenSound(device, longer, false);
  ASSERT_TRUE(stream);
  EXPECT_EQ(longer->resets, 1);
  stream->Play();
  Pump(0.2);
  EXPECT_EQ(SourceType(*stream), AL_STREAMING);
  EXPECT_TRUE(stream->IsPlaying());
  EXPECT_GT(stream->FramesPlayed(), 0u);
  EXPECT_LT(stream->FramesPlayed(), 44100u) << "it starts at the top";
  stream.reset();

  // One that can't go back to its start can't be streamed either.
  auto oneWay = std::make_shared<LongSource>(capFrames + 20000, false);
  EXPECT_FALSE(platform::OpenSound(device, oneWay, false));
}

TEST_F(StreamOutput, VorbisDecodesToTheWholeTone) {
  auto source = platform::OpenSampleSource(oggPath);
  ASSERT_TRUE(source);
  EXPECT_EQ(source->Channels(), 2);
  EXPECT_EQ(source->SampleRate(), 44100u);
  std::vector<int16_t> pcm(2 * 4096);
  size_t frames = 0, n = 0;
  double peak = 0;
  while ((n = source->Read(pcm.data(), 4096)) > 0) {
    frames += n;
    for (size_t i = 0; i < n * 2; ++i) peak = std::max(peak, std::abs(pcm[i]) / 32768.0);
  }
  EXPECT_EQ(frames, kFrames);
  EXPECT_NEAR(peak, 0.5, 0.05);
  ASSERT_TRUE(source->Reset());
  EXPECT_EQ(source->Read(pcm.data(), 10), 10u);
}

TEST_F(StreamOutput, PlaysToItsEndThenStopsRewoundUnlessRepeating) {
  for (bool streaming : {true, false}) {
    SCOPED_TRACE(streaming ? "streamed" : "in memory");
    for (const std::string& path : {oggPath, wavPath}) {
      auto stream = Open(path, streaming);
      ASSERT_TRUE(stream) << path;
      EXPECT_FALSE(stream->IsPlaying());
      const Since sincePlay;
      stream->Play();
      EXPECT_TRUE(stream->IsPlaying());
      const double started = sincePlay();
      const Seen seen = PumpUntil([&] { return !stream->IsPlaying(); }, 3.0, sincePlay);
      EXPECT_GT(seen.over, kSeconds - 0.1);
      EXPECT_LT(seen.on, started + kSeconds + 0.6);
      EXPECT_FALSE(stream->IsPlaying());
      EXPECT_EQ(stream->FramesPlayed(), 0u) << "rewound at the end";
    }
  }
}

TEST_F(StreamOutput, RepeatingStreamsCarryOnPastTheirEnd) {
  for (bool streaming : {true, false}) {
    SCOPED_TRACE(streaming ? "streamed" : "in memory");
    auto stream = Open(oggPath, streaming);
    ASSERT_TRUE(stream);
    stream->SetRepeat(true);
    EXPECT_TRUE(stream->GetRepeat());
    stream->Play();
    Pump(kSeconds * 2.5);
    EXPECT_TRUE(stream->IsPlaying());
    if (streaming) {
      EXPECT_GT(stream->FramesPlayed(), 2 * kFrames);
    }
    // Repeat off: it ends at the end of the current pass.
    stream->SetRepeat(false);
    PumpUntil([&] { return !stream->IsPlaying(); }, 3.0);
    EXPECT_FALSE(stream->IsPlaying());
  }
}

TEST_F(StreamOutput, StopPausesAndPlayContinuesWhileResetStartsOver) {
  for (bool streaming : {true, false}) {
    SCOPED_TRACE(streaming ? "streamed" : "in memory");
    auto stream = Open(oggPath, streaming);
    ASSERT_TRUE(stream);
    stream->Play();
    Pump(0.15);
    stream->Stop();
    EXPECT_FALSE(stream->IsPlaying());
    const uint64_t paused = stream->FramesPlayed();
    EXPECT_GT(paused, 2000u);
    Pump(0.1);
    EXPECT_EQ(stream->FramesPlayed(), paused) << "a stopped stream keeps its place";

    stream->Play();
    EXPECT_TRUE(stream->IsPlaying());
    Pump(0.05);
    EXPECT_GE(stream->FramesPlayed(), paused) << "play continues, it does not start over";

    // Reset while playing: from the start, still playing.
    Pump(0.05);
    const uint64_t before = stream->FramesPlayed();
    stream->Reset();
    EXPECT_TRUE(stream->IsPlaying());
    EXPECT_LT(stream->FramesPlayed(), before / 2);
    // Reset while stopped: at the start, still stopped.
    stream->Stop();
    stream->Reset();
    EXPECT_FALSE(stream->IsPlaying());
    EXPECT_EQ(stream->FramesPlayed(), 0u);
  }
}

TEST_F(StreamOutput, StoppedAfterALongFrameItPlaysOnOrStartsOverAtItsEnd) {
  auto stream = Open(dir.Write("long.ogg", formats::OggToneBytes(ToneOf(1.2))), true);
  ASSERT_TRUE(stream);
  stream->Play();
  // No frame for longer than the queue lasts: the source runs dry.
  StallFor(1.0);
  stream->Stop();
  stream->Play();
  EXPECT_TRUE(stream->IsPlaying());
  EXPECT_GE(stream->FramesPlayed(), 22050u) << "what was heard (over half a second) is not heard again";
  // Stopped once the sound is over: it starts again from the top.
  Pump(0.2);
  stream->SetRepeat(false);
  StallFor(1.2);
  stream->Stop();
  stream->Play();
  EXPECT_TRUE(stream->IsPlaying()) << "a stream over while stopped plays again";
  EXPECT_LT(stream->FramesPlayed(), 20000u);
}

TEST_F(StreamOutput, VolumeIsLinearAndKeptInRange) {
  auto stream = Open(oggPath, true);
  ASSERT_TRUE(stream);
  EXPECT_FLOAT_EQ(stream->GetVolume(), 1.0f);
  EXPECT_FLOAT_EQ(stream->MixerGain(), 1.0f);
  // Linear, not in decibels; out of range and not-a-number kept to 0..1.
  for (auto [set, kept] : {std::pair<float, float>{0.25f, 0.25f}, {2.0f, 1.0f}, {-1.0f, 0.0f}, {std::nanf(""), 0.0f}}) {
    stream->SetVolume(0.5f);
    stream->SetVolume(set);
    EXPECT_FLOAT_EQ(stream->GetVolume(), kept) << set;
    EXPECT_FLOAT_EQ(stream->MixerGain(), kept) << set;
  }
  // The in-memory kind plays at its volume too.
  auto whole = Open(wavPath, false);
  ASSERT_TRUE(whole);
  whole->SetVolume(0.3f);
  EXPECT_FLOAT_EQ(whole->MixerGain(), 0.3f);
}

TEST_F(StreamOutput, DamagedOggFilesAreRefusedOrEndCleanly) {
  const formats::Tone tone = ToneOf(2.0);
  const std::string whole = formats::OggToneBytes(tone);
  std::string garbled = whole;
  for (size_t i = whole.size() * 3 / 4; i < whole.size() * 3 / 4 + 300; ++i) garbled[i] ^= 0x5A;
  const std::vector<std::string> damaged = {whole.substr(0, whole.size() / 2), garbled, whole.substr(0, 58)};
  int refused = 0;
  for (size_t i = 0; i < damaged.size(); ++i) {
    auto source = platform::OpenSampleSource(dir.Write("damaged" + std::to_string(i) + ".ogg", damaged[i]));
    auto stream = platform::OpenSound(device, source, true);
    if (!stream) {
      ++refused;
      continue;
    }
    const Since sincePlay;
    stream->Play();
    const double started = sincePlay();
    const Seen seen = PumpUntil([&] { return !stream->IsPlaying(); }, 4.0, sincePlay);
    EXPECT_GE(seen.over, 0.0) << "damaged file " << i << " must end";
    EXPECT_LT(seen.on, started + tone.seconds + 0.5) << "damaged file " << i << " must end";
  }
  EXPECT_GE(refused, 1) << "a file cut inside its headers cannot open";
}

TEST_F(StreamOutput, NothingOpensWithoutADeviceOrSource) {
  EXPECT_FALSE(platform::OpenSound(nullptr, platform::OpenSampleSource(oggPath), true));
  EXPECT_FALSE(platform::OpenSound(device, nullptr, true));
}

}  // namespace
