// The sound device, wave sounds and their factories, audiere sounds and the
// music factory, played on OpenAL Soft's null output.
#include <gtest/gtest.h>

#include "engine/app/Engine.h"
#include "engine/sound/AudiereSound.h"
#include "engine/sound/SoundDevice.h"
#include "engine/sound/WaveSound.h"
#include "platform/Clock.h"
#include "platform/Sound.h"
#include "platform/SoundTestSupport.h"
#include "platform/Window.h"
#include "platform/backends/headless/Headless.h"
#include "support/MissingLog.h"
#include "support/TempDir.h"
#include "tools/formats/SoundFiles.h"

namespace Nembra {
namespace {

using soundtest::Pump;

std::string WaveTone(double seconds) {
  formats::Tone tone;
  tone.seconds = seconds;
  return formats::WaveToneBytes(tone);
}

// The engine's singletons over a data folder of the test's own.
class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::SetTime(1000);
    platform::RegisterWindowClass("SoundTest", platform::DefWindowProc);
    window = platform::CreateAppWindow("SoundTest", "sound", 0, 0, 0, 800, 600);
    ASSERT_TRUE(window);
    SetDataDirectory(dir.Path() + "/");
    g_AudiereSoundDirectory = dir.Path() + "/Sounds/";
    dir.Write("Wave sounds/Shot.wav", WaveTone(2.0));
    dir.Write("Wave sounds/Short.wav", WaveTone(0.1));
    dir.Write("Wave sounds/Broken.wav", "RIFF\x24\0\0\0WAVEfmt \x10\0\0\0\x01\0\x09\0");
    dir.Write("3D wave sounds/Engine.wav", WaveTone(2.0));
    formats::Tone music;
    music.seconds = 0.4;
    music.channels = 2;
    dir.Write("Sounds/Karvessa.ogg", formats::OggToneBytes(music));
    dir.Write("Sounds/Broken.ogg", "OggS" + std::string(300, '\x11'));
    InitializeEngine();
    ASSERT_TRUE(g_pSoundDevice);
    ASSERT_TRUE(g_pSoundDevice->Initialize(window, 44100, L""));
  }
  void TearDown() override {
    ShutdownEngine();
    platform::DestroyWindow(window);
    platform::UnregisterWindowClass("SoundTest");
    SetDataDirectory(".\\Data\\");
    g_AudiereSoundDirectory = "Sounds\\";
  }
  static int32_t PathVolume(CSound* sound) { return sound->GetAudioPath()->GetVolume(); }
  testsupport::TempDir dir;
  platform::HWND window = nullptr;
};

TEST_F(SoundTest, DeviceNeedsAWindowAndAnExistingSearchFolder) {
  CSoundDevice device;
  EXPECT_FALSE(device.SetMasterVolume(50)) << "not initialised";
  EXPECT_FALSE(device.Initialize(nullptr, 44100, L""));
  EXPECT_FALSE(device.Initialize(window, 44100, L"/no/such/folder"));
  EXPECT_TRUE(device.Initialize(window, 44100, platform::Utf8ToWide(dir.Path()).c_str()));
  EXPECT_EQ(device.GetMasterVolume(), 100);
  EXPECT_EQ(platform::GetMasterVolume(), 1000) << "100 percent is +10 dB";
  // Initialising again reopens without leaking the output.
  EXPECT_TRUE(device.Initialize(window, 44100, L""));
}

TEST_F(SoundTest, MasterVolumeMapsPercentToDecibelsWithinItsRange) {
  // {percent set, percent kept, millibels}: out of range values from a settings file are held at the ends.
  const int rows[][3] = {{90, 90, 0}, {0, 0, -9000}, {49, 49, -4100}, {150, 100, 1000}, {-20, 0, -9000}};
  for (const auto& r : rows) {
    EXPECT_TRUE(g_pSoundDevice->SetMasterVolume(r[0]));
    EXPECT_EQ(g_pSoundDevice->GetMasterVolume(), r[1]) << r[0];
    EXPECT_EQ(platform::GetMasterVolume(), r[2]) << r[0];
  }
}

TEST_F(SoundTest, FactorySharesSoundsByNameAndFallsBackToASilentDefault) {
  CWaveSound* a = g_pWaveSoundFactory->Get("Shot.wav");
  CWaveSound* b = g_pWaveSoundFactory->Get("SHOT.WAV");
  ASSERT_TRUE(a);
  EXPECT_EQ(a, b);
  EXPECT_EQ(a->GetRefCount(), 2u);
  EXPECT_EQ(a->GetName(), "SHOT.WAV");
  EXPECT_TRUE(a->IsLoaded());
  // A folder part is dropped when reading but kept in the key.
  CWaveSound* c = g_pWaveSoundFactory->Get("Effects\\Weapons\\shot.wav");
  EXPECT_NE(c, a);
  EXPECT_TRUE(c->IsLoaded());
  for (const char* name : {"Missing.wav", "Broken.wav"}) {
    CWaveSound* none = g_pWaveSoundFactory->Get(name);
    EXPECT_EQ(none, g_pWaveSoundFactory->GetDefault()) << name;
    EXPECT_EQ(g_pWaveSoundFactory->Find(name), nullptr) << name << ": a failed load leaves nothing";
    EXPECT_FALSE(none->Play(false));
    EXPECT_FALSE(none->Stop());
    EXPECT_FALSE(none->SetRepeats(2));
  }
  g_pWaveSoundFactory->Release("shot.wav");
  g_pWaveSoundFactory->Release("shot.wav");
  EXPECT_EQ(g_pWaveSoundFactory->Find("Shot.wav"), nullptr);
}

TEST_F(SoundTest, ClosingTheDeviceStopsEffectsAndNothingLoadsWithoutIt) {
  CWaveSound* shot = g_pWaveSoundFactory->Get("Shot.wav");
  ASSERT_TRUE(shot->Play(false));
  ASSERT_TRUE(g_pSoundDevice->Initialize(window, 44100, L""));
  EXPECT_EQ(shot->GetAudioPath()->VoiceCount(), 0) << "initialising again stops every effect";
  ASSERT_TRUE(shot->Play(false));
  delete g_pSoundDevice;
  g_pSoundDevice = new CSoundDevice();
  EXPECT_EQ(shot->GetAudioPath()->VoiceCount(), 0) << "the device stops its effects when it goes";
  EXPECT_EQ(g_pWaveSoundFactory->Get("Short.wav"), g_pWaveSoundFactory->GetDefault());
  delete g_pSoundDevice;
  g_pSoundDevice = nullptr;
  EXPECT_EQ(g_pWaveSoundFactory->Get("Short.wav"), g_pWaveSoundFactory->GetDefault());
}

TEST_F(SoundTest, EffectVolumeFollowsTheCurveAndStaysInRange) {
  CWaveSound* shot = g_pWaveSoundFactory->Get("Shot.wav");
  EXPECT_EQ(PathVolume(shot), 0);
  g_pWaveSoundFactory->SetWaveVolume(0.25f);
  EXPECT_EQ(PathVolume(shot), -7200);
  CWaveSound* later = g_pWaveSoundFactory->Get("Short.wav");
  EXPECT_EQ(PathVolume(later), -7200) << "sounds loaded later take the factory volume";
  shot->SetVolume(0.5f, 0.0f);
  EXPECT_EQ(PathVolume(shot), -4800);
  shot->SetVolume(0.0f, 0.0f);
  EXPECT_EQ(PathVolume(shot), -9600);
  // A settings file holding 2 must not lift effects to +96 dB.
  g_pWaveSoundFactory->SetWaveVolume(2.0f);
  EXPECT_FLOAT_EQ(g_pWaveSoundFactory->GetWaveVolume(), 1.0f);
  EXPECT_EQ(PathVolume(shot), 0);
  EXPECT_EQ(PathVolume(later), 0);
  g_pWaveSoundFactory->SetWaveVolume(-3.0f);
  EXPECT_EQ(PathVolume(shot), -9600);
  shot->SetVolume(7.0f, 0.0f);
  EXPECT_EQ(PathVolume(shot), 0);
}

TEST_F(SoundTest, VolumeFadesOverTheGivenSeconds) {
  CWaveSound* shot = g_pWaveSoundFactory->Get("Shot.wav");
  g_pSoundDevice->SetMasterVolume(90);
  ASSERT_TRUE(shot->Play(false));
  shot->SetVolume(0.0f, 2.0f);
  EXPECT_EQ(PathVolume(shot), 0);
  platform::headless::AdvanceTime(1000);
  platform::UpdateAudio();
  EXPECT_EQ(PathVolume(shot), -4800);
  EXPECT_NEAR(shot->GetAudioPath()->Voices()[0].gain, platform::MillibelsToGain(-4800), 1e-6);
  platform::headless::AdvanceTime(1500);
  platform::UpdateAudio();
  EXPECT_EQ(PathVolume(shot), -9600);
  EXPECT_EQ(shot->GetAudioPath()->Voices()[0].gain, 0.0f);
}

TEST_F(SoundTest, PlayOverlapsOrRestartsAndStopEndsEveryInstance) {
  CWaveSound* shot = g_pWaveSoundFactory->Get("Shot.wav");
  ASSERT_TRUE(shot->Play(false));
  ASSERT_TRUE(shot->Play(false));
  EXPECT_EQ(shot->GetAudioPath()->VoiceCount(), 2);
  ASSERT_TRUE(shot->Play(true));
  EXPECT_EQ(shot->GetAudioPath()->VoiceCount(), 1) << "stopFirst restarts instead of overlapping";
  EXPECT_TRUE(shot->Stop());
  EXPECT_EQ(shot->GetAudioPath()->VoiceCount(), 0);
  CWaveSound* other = g_pWaveSoundFactory->Get("Short.wav");
  shot->Play(false);
  other->Play(false);
  g_pWaveSoundFactory->StopAll();
  EXPECT_EQ(shot->GetAudioPath()->VoiceCount(), 0);
  EXPECT_EQ(other->GetAudioPath()->VoiceCount(), 0);
}

TEST_F(SoundTest, RepeatsPlayASoundAgainAndReloadingKeepsOnePath) {
  CWaveSound* sound = g_pWaveSoundFactory->Get("Short.wav");
  platform::SoundPath* path = sound->GetAudioPath();
  ASSERT_TRUE(sound->SetRepeats(4));
  const soundtest::Since sincePlay;  // on the output's own clock
  ASSERT_TRUE(sound->Play(false));
  Pump(0.25, sincePlay);
  EXPECT_EQ(path->VoiceCount(), 1) << "five plays of 0.1 s outlast 0.25 s";
  const soundtest::Seen seen = soundtest::PumpUntil([&] { return path->VoiceCount() == 0; }, 3.0, sincePlay);
  EXPECT_EQ(path->VoiceCount(), 0);
  EXPECT_GT(seen.over, 0.45);
  // Loading again drops the old data and its repeats but reuses the path.
  ASSERT_TRUE(sound->LoadFromFile(g_WaveSoundDirectory + "Shot.wav"));
  EXPECT_EQ(sound->GetAudioPath(), path);
  EXPECT_EQ(sound->GetRepeats(), 0u);
  // A failed load keeps nothing playable.
  EXPECT_FALSE(sound->LoadFromFile(g_WaveSoundDirectory + "Broken.wav"));
  EXPECT_FALSE(sound->Play(false));
}

TEST_F(SoundTest, LongPathsLoad) {
  std::string folder = "Deep";
  while (folder.size() < 300) folder += "/VeryLongFolderName";
  dir.Write(folder + "/Tone.wav", WaveTone(0.1));
  CWaveSound sound;
  EXPECT_TRUE(sound.LoadFromFile(dir.File(folder + "/Tone.wav")));
}

TEST_F(SoundTest, PositionalSoundsPlayWhereTheyArePut) {
  C3DWaveSound* engine = g_p3DWaveSoundFactory->Get("Engine.wav");
  ASSERT_NE(engine, g_p3DWaveSoundFactory->GetDefault());
  engine->SetPosition(D3DXVECTOR3(100.0f, 200.0f, 5.0f));
  ASSERT_TRUE(engine->Play(false));
  auto voices = engine->GetAudioPath()->Voices();
  ASSERT_EQ(voices.size(), 1u);
  EXPECT_FALSE(voices[0].relative);
  EXPECT_EQ(std::vector<float>(voices[0].position, voices[0].position + 3), std::vector<float>({100, 200, 5}));
  engine->SetPosition(D3DXVECTOR3(-4.0f, 0.0f, 1.0f));
  EXPECT_FLOAT_EQ(engine->GetAudioPath()->Voices()[0].position[0], -4.0f);
  // Effects of the flat factory play at the listener.
  CWaveSound* shot = g_pWaveSoundFactory->Get("Shot.wav");
  shot->Play(false);
  EXPECT_TRUE(shot->GetAudioPath()->Voices()[0].relative);
}

TEST_F(SoundTest, MusicIsSharedByNameAndCopiesShareTheStream) {
  CAudiereSound* music = g_pStreamingSoundFactory->Get("Karvessa.ogg");
  ASSERT_NE(music, g_pStreamingSoundFactory->GetDefault());
  EXPECT_EQ(g_pStreamingSoundFactory->Get("KARVESSA.OGG"), music);
  EXPECT_EQ(music->GetRefCount(), 2u);
  CAudiereSound copy = *music;
  EXPECT_EQ(copy.GetStream(), music->GetStream());
  music->Play(false);
  EXPECT_TRUE(music->IsPlaying());
  copy.Stop();
  EXPECT_FALSE(music->IsPlaying()) << "stopping the copy stops the original";
  // The in-memory factory reads from its own folder.
  CAudiereSound* effect = g_pAudiereSoundFactory->Get("karvessa.ogg");
  ASSERT_NE(effect, g_pAudiereSoundFactory->GetDefault());
  EXPECT_NE(effect->GetStream(), music->GetStream());
}

TEST_F(SoundTest, MusicPlayRewindsOrResumesAndRepeatReachesTheStream) {
  CAudiereSound* music = g_pStreamingSoundFactory->Get("Karvessa.ogg");
  music->Play(false);
  Pump(0.2);
  const uint64_t at = music->GetStream()->FramesPlayed();
  EXPECT_GT(at, 4000u);
  music->Play(true);
  EXPECT_LT(music->GetStream()->FramesPlayed(), at / 2) << "rewind starts over";
  EXPECT_TRUE(music->IsPlaying());
  Pump(0.1);
  music->Stop();
  const uint64_t paused = music->GetStream()->FramesPlayed();
  music->Play(false);
  EXPECT_GE(music->GetStream()->FramesPlayed(), paused) << "play resumes where it stopped";
  EXPECT_TRUE(music->IsPlaying());
  // How a stream ends, with repeat on and off, is the output layer's own test.
  music->SetRepeat(true);
  EXPECT_TRUE(music->GetStream()->GetRepeat());
  music->SetRepeat(false);
  EXPECT_FALSE(music->GetStream()->GetRepeat());
}

TEST_F(SoundTest, MusicVolumeIsLinearClampedAndGivenToLaterStreams) {
  CAudiereSound* music = g_pStreamingSoundFactory->Get("Karvessa.ogg");
  EXPECT_FLOAT_EQ(music->GetStream()->GetVolume(), 1.0f);
  g_pStreamingSoundFactory->SetStreamingVolume(0.0f);
  EXPECT_FLOAT_EQ(music->GetStream()->MixerGain(), 0.0f);
  dir.Write("Sounds/Later.ogg", testsupport::ReadFileBytes(dir.File("Sounds/Karvessa.ogg")));
  CAudiereSound* later = g_pStreamingSoundFactory->Get("Later.ogg");
  ASSERT_TRUE(later->GetStream());
  EXPECT_FLOAT_EQ(later->GetStream()->MixerGain(), 0.0f) << "loaded later, silent too";
  g_pStreamingSoundFactory->SetStreamingVolume(0.6f);
  EXPECT_FLOAT_EQ(later->GetStream()->MixerGain(), 0.6f);
  g_pStreamingSoundFactory->SetStreamingVolume(5.0f);
  EXPECT_FLOAT_EQ(g_pStreamingSoundFactory->GetStreamingVolume(), 1.0f);
  EXPECT_FLOAT_EQ(music->GetStream()->GetVolume(), 1.0f);
  music->SetVolume(-2.0f);
  EXPECT_FLOAT_EQ(music->GetStream()->GetVolume(), 0.0f);
}

TEST_F(SoundTest, MissingOrDamagedMusicGivesTheSilentDefault) {
  for (const char* name : {"Missing.ogg", "Broken.ogg"}) {
    CAudiereSound* music = g_pStreamingSoundFactory->Get(name);
    EXPECT_EQ(music, g_pStreamingSoundFactory->GetDefault()) << name;
    EXPECT_EQ(g_pStreamingSoundFactory->Find(name), nullptr) << name;
    EXPECT_FALSE(music->GetStream());
    music->Play(true);  // ignored, no crash
    EXPECT_FALSE(music->IsPlaying());
  }
  // Without an output device every load fails.
  delete g_AudiereDevice;
  g_AudiereDevice = nullptr;
  EXPECT_EQ(g_pStreamingSoundFactory->Get("Karvessa.ogg"), g_pStreamingSoundFactory->GetDefault());
}

TEST_F(SoundTest, SoundsServedByTheDefaultAreReportedOnceWhileTheirDeviceIsOpen) {
  testsupport::MissingLog log;
  EXPECT_NE(g_pWaveSoundFactory->Get("Shot.wav"), g_pWaveSoundFactory->GetDefault());
  EXPECT_NE(g_pStreamingSoundFactory->Get("Karvessa.ogg"), g_pStreamingSoundFactory->GetDefault());
  EXPECT_TRUE(log.Lines().empty());
  g_pWaveSoundFactory->Get("Golpe Chica.wav");
  g_pWaveSoundFactory->Get("Golpe Chica.wav");
  g_pWaveSoundFactory->Get("Broken.wav");
  g_p3DWaveSoundFactory->Get("Motor.wav");
  g_pStreamingSoundFactory->Get("Missing.ogg");
  g_pAudiereSoundFactory->Get("Click.ogg");
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{"missing: sound Golpe Chica.wav", "missing: sound Broken.wav",
                                                   "missing: sound Motor.wav", "missing: sound Missing.ogg",
                                                   "missing: sound Click.ogg"}));
  // Without a device nothing loads, so a failure says nothing of the data.
  log.Clear();
  delete g_AudiereDevice;
  g_AudiereDevice = nullptr;
  delete g_pSoundDevice;
  g_pSoundDevice = nullptr;
  EXPECT_EQ(g_pStreamingSoundFactory->Get("Theme.ogg"), g_pStreamingSoundFactory->GetDefault());
  EXPECT_EQ(g_pWaveSoundFactory->Get("Short.wav"), g_pWaveSoundFactory->GetDefault());
  EXPECT_EQ(g_p3DWaveSoundFactory->Get("Engine.wav"), g_p3DWaveSoundFactory->GetDefault());
  EXPECT_TRUE(log.Lines().empty()) << log.Lines().front();
}

}  // namespace
}  // namespace Nembra
