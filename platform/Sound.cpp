// The output device, the voice pool and sound paths on OpenAL Soft.
#include "platform/Sound.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/SoundInternal.h"

namespace platform {

namespace {

constexpr size_t MAX_VOICES = 64;
// Copies of a repeated buffer kept queued ahead on its voice.
constexpr uint32_t QUEUE_AHEAD = 3;
constexpr int32_t SILENCE_MB = -9600;
// The unheard mixer used when no output device opens.
constexpr ALCint UNHEARD_RATE = 44100;
constexpr size_t UNHEARD_CHUNK = 4096;  // frames mixed per call

struct Voice {
  ALuint source = 0;
  const SoundPath* owner = nullptr;  // null when free
  ALuint buffer = 0;
  uint32_t playsToQueue = 0;  // copies of the buffer still to queue
  // The levels its gain was last set from (path and master).
  bool gainSet = false;
  int32_t appliedMb = 0;
  int32_t appliedMasterMb = 0;
};

// Settings the library reads once, before its first call.
bool g_LibraryStarted = false;
// The output asked for is the unheard mixer driven by the platform clock.
bool g_MixByClock = false;
bool g_DriverChosenHere = false;
std::string g_ConfigFile;

void RemoveConfigFile() {
  if (!g_ConfigFile.empty()) std::remove(g_ConfigFile.c_str());
}

// A context with the given attributes (a list ended by 0, or null) and the
// output's limiter where the device offers it, so a loud moment is turned
// down rather than clamped; without the limiter when the device refuses it.
ALCcontext* CreateLimitedContext(ALCdevice* device, const ALCint* attributes) {
  std::vector<ALCint> limited;
  for (const ALCint* a = attributes; a && a[0]; a += 2) limited.insert(limited.end(), a, a + 2);
  if (alcIsExtensionPresent(device, "ALC_SOFT_output_limiter")) {
    limited.insert(limited.end(), {ALC_OUTPUT_LIMITER_SOFT, ALC_TRUE, 0});
    if (ALCcontext* context = alcCreateContext(device, limited.data())) return context;
    LogWarning("Sound: the output refused its limiter");
  }
  return alcCreateContext(device, attributes);
}

}  // namespace

struct AudioSystem {
  ALCdevice* device = nullptr;
  ALCcontext* context = nullptr;
  int users = 0;
  int32_t masterMb = 0;
  std::vector<Voice> voices;
  std::vector<sound_internal::FedStream*> streams;
  bool poolFullReported = false;
  // Set while mixing unheard: the frame loop advances the mixer by the time
  // that passed, so sounds still end and streams still move on. That time
  // is the steady clock's, or the platform clock's when mixing by it (on
  // the headless backend the scripted clock: the same run mixes the same
  // whatever the machine's load).
  LPALCRENDERSAMPLESSOFT renderSamples = nullptr;
  bool byClock = false;
  uint64_t clockStart = 0;
  std::chrono::steady_clock::time_point unheardStart;
  uint64_t unheardFrames = 0;
  std::vector<int16_t> unheardScratch;

  // Never destroyed, so sounds held by static objects can still let go
  // of their voices and streams at exit.
  static AudioSystem& Get() {
    static AudioSystem* system = new AudioSystem();
    return *system;
  }

  // Runs every frame for every voice: the mixer is told only of changes.
  void ApplyGain(Voice& v, uint64_t now) {
    const int32_t mb = v.owner->LevelAt(now);
    if (v.gainSet && mb == v.appliedMb && masterMb == v.appliedMasterMb) return;
    alSourcef(v.source, AL_GAIN, MillibelsToGain(mb) * MillibelsToGain(masterMb));
    v.gainSet = true;
    v.appliedMb = mb;
    v.appliedMasterMb = masterMb;
  }

  void Free(Voice& v) {
    alSourceStop(v.source);
    alSourcei(v.source, AL_BUFFER, 0);
    v.owner = nullptr;
    v.buffer = 0;
    v.playsToQueue = 0;
  }

  // Tops up a repeating voice; answers whether it is still busy.
  bool Service(Voice& v) {
    ALint state = AL_STOPPED;
    if (v.playsToQueue > 0) {
      ALint processed = 0;
      alGetSourcei(v.source, AL_BUFFERS_PROCESSED, &processed);
      for (ALint i = 0; i < processed; ++i) {
        ALuint done = 0;
        alSourceUnqueueBuffers(v.source, 1, &done);
      }
      const uint32_t more = std::min<uint32_t>(static_cast<uint32_t>(processed), v.playsToQueue);
      for (uint32_t i = 0; i < more; ++i) alSourceQueueBuffers(v.source, 1, &v.buffer);
      v.playsToQueue -= more;
      alGetSourcei(v.source, AL_SOURCE_STATE, &state);
      // A frame late enough to let the queue run dry: carry on with the rest.
      if (state == AL_STOPPED && more > 0) {
        alSourcePlay(v.source);
        state = AL_PLAYING;
      }
    } else {
      alGetSourcei(v.source, AL_SOURCE_STATE, &state);
    }
    return state == AL_PLAYING || state == AL_INITIAL;
  }

  void Reclaim() {
    for (Voice& v : voices)
      if (v.owner && !Service(v)) Free(v);
  }

  Voice* Take() {
    Reclaim();
    for (Voice& v : voices)
      if (!v.owner) return &v;
    if (voices.size() >= MAX_VOICES) return nullptr;
    alGetError();
    Voice fresh;
    alGenSources(1, &fresh.source);
    if (alGetError() != AL_NO_ERROR) return nullptr;
    // The master level may lift a path above unity.
    alSourcef(fresh.source, AL_MAX_GAIN, 16.0f);
    voices.push_back(fresh);
    return &voices.back();
  }

  // A device that mixes only when asked, for a machine without an output.
  bool OpenUnheard() {
    if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback")) return false;
    auto open = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    auto render = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    if (!open || !render) return false;
    device = open(nullptr);
    if (!device) return false;
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_SHORT_SOFT,
                                 ALC_FREQUENCY, UNHEARD_RATE, 0};
    context = CreateLimitedContext(device, attributes);
    renderSamples = render;
    unheardStart = std::chrono::steady_clock::now();
    unheardFrames = 0;
    unheardScratch.assign(UNHEARD_CHUNK * 2, 0);
    return true;
  }

  // The frames the unheard mixer should have mixed by now since it opened.
  uint64_t UnheardFramesDue() {
    if (byClock) {
      const uint64_t now = GetTickCount();
      // A clock set back: mixing starts again from there.
      if (now < clockStart) {
        clockStart = now;
        unheardFrames = 0;
      }
      return (now - clockStart) * UNHEARD_RATE / 1000;
    }
    const auto elapsed = std::chrono::steady_clock::now() - unheardStart;
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count() * UNHEARD_RATE / 1000000);
  }

  // Mixes (and discards) what the time since the last call would have played,
  // in chunks with the voices and streams topped up between them, so a long
  // frame plays all of its time.
  void MixUnheard() {
    const uint64_t due = UnheardFramesDue();
    // After a long stall, at most one second is made up.
    if (due > unheardFrames + UNHEARD_RATE) unheardFrames = due - UNHEARD_RATE;
    while (unheardFrames < due) {
      const size_t n = static_cast<size_t>(std::min<uint64_t>(due - unheardFrames, UNHEARD_CHUNK));
      renderSamples(device, unheardScratch.data(), static_cast<ALCsizei>(n));
      unheardFrames += n;
      if (unheardFrames < due) KeepFed();
    }
  }

  // Tops up repeating voices and stream queues; frees the voices that are over.
  void KeepFed() {
    Reclaim();
    // Feeding may end a stream, which never unregisters another one.
    for (size_t i = 0; i < streams.size(); ++i) streams[i]->Feed();
  }

  void Close() {
    for (Voice& v : voices) alDeleteSources(1, &v.source);
    voices.clear();
    alcMakeContextCurrent(nullptr);
    if (context) alcDestroyContext(context);
    if (device) alcCloseDevice(device);
    context = nullptr;
    device = nullptr;
    renderSamples = nullptr;
  }
};

// ---------------------------------------------------------------- output

bool SetAudioOutput(AudioOutput output, const std::string& waveFile) {
  if (g_LibraryStarted) return false;
  switch (output) {
    case AudioOutput::Default:
      if (g_DriverChosenHere) unsetenv("ALSOFT_DRIVERS");
      g_DriverChosenHere = false;
      g_MixByClock = false;
      return true;
    case AudioOutput::Null:
      setenv("ALSOFT_DRIVERS", "null", 1);
      g_DriverChosenHere = true;
      g_MixByClock = false;
      return true;
    case AudioOutput::Clocked:
      g_MixByClock = true;
      return true;
    case AudioOutput::WaveFile: {
      if (waveFile.empty()) return false;
      char name[] = "/tmp/karvessa-alsoft-XXXXXX";
      const int fd = mkstemp(name);
      if (fd < 0) return false;
      const std::string text =
          "[general]\ndrivers=wave\nchannels=stereo\nsample-type=int16\nfrequency=44100\n"
          "[wave]\nfile=" + waveFile + "\n";
      const bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
      close(fd);
      if (!written) {
        std::remove(name);
        return false;
      }
      RemoveConfigFile();
      if (g_ConfigFile.empty()) std::atexit(RemoveConfigFile);
      g_ConfigFile = name;
      setenv("ALSOFT_CONF", name, 1);
      setenv("ALSOFT_DRIVERS", "wave", 1);
      g_DriverChosenHere = true;
      g_MixByClock = false;
      return true;
    }
  }
  return false;
}

bool AcquireAudio() {
  AudioSystem& s = AudioSystem::Get();
  if (s.users > 0) {
    ++s.users;
    return true;
  }
  if (!g_LibraryStarted) {
    // No sound card on the headless backend: mix into nothing unless told otherwise.
    if (IsHeadless()) setenv("ALSOFT_DRIVERS", "null", 0);
    g_LibraryStarted = true;
  }
  // Mixed by the platform clock when asked: no device is looked for.
  s.byClock = g_MixByClock;
  s.clockStart = GetTickCount();
  s.device = s.byClock ? nullptr : alcOpenDevice(nullptr);
  if (s.device) {
    s.context = CreateLimitedContext(s.device, nullptr);
  } else if (s.OpenUnheard()) {
    // No sound card (or the clock's mixer asked for): the game runs the same, without being heard.
    if (!s.byClock) LogWarning("Sound: no output device could be opened; playing without sound");
  } else {
    // Mixing by the clock tries no device: only its mixer failed.
    LogWarning(s.byClock ? "Sound: the mixer advanced by the clock could not be opened (OpenAL Soft offers no loopback device)"
                         : "Sound: no output device could be opened and no silent mixer either");
    return false;
  }
  if (!s.context || !alcMakeContextCurrent(s.context)) {
    LogWarning("Sound: the output device could not be set up; playing without sound");
    s.Close();
    return false;
  }
  alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
  s.users = 1;
  s.poolFullReported = false;
  return true;
}

void ReleaseAudio() {
  AudioSystem& s = AudioSystem::Get();
  if (s.users <= 0) return;
  if (--s.users == 0) s.Close();
}

bool IsAudioOpen() { return AudioSystem::Get().users > 0; }

void UpdateAudio() {
  AudioSystem& s = AudioSystem::Get();
  if (s.users == 0) return;
  if (s.renderSamples) s.MixUnheard();
  s.KeepFed();
  const uint64_t now = GetTickCount();
  for (Voice& v : s.voices)
    if (v.owner) s.ApplyGain(v, now);
}

float MillibelsToGain(int32_t millibels) {
  if (millibels <= SILENCE_MB) return 0.0f;
  return static_cast<float>(std::pow(10.0, static_cast<double>(millibels) / 2000.0));
}

void SetMasterVolume(int32_t millibels) {
  AudioSystem& s = AudioSystem::Get();
  s.masterMb = millibels;
  if (s.users == 0) return;
  const uint64_t now = GetTickCount();
  for (Voice& v : s.voices)
    if (v.owner) s.ApplyGain(v, now);
}

int32_t GetMasterVolume() { return AudioSystem::Get().masterMb; }

void StopAllVoices() {
  sound_internal::MixUpToNow();
  AudioSystem& s = AudioSystem::Get();
  for (Voice& v : s.voices)
    if (v.owner) s.Free(v);
}

void SetListener(const float position[3], const float front[3], const float top[3]) {
  if (!IsAudioOpen()) return;
  alListenerfv(AL_POSITION, position);
  const float orientation[6] = {front[0], front[1], front[2], top[0], top[1], top[2]};
  alListenerfv(AL_ORIENTATION, orientation);
}

namespace sound_internal {

void RegisterStream(FedStream* stream) { AudioSystem::Get().streams.push_back(stream); }

void UnregisterStream(FedStream* stream) {
  auto& list = AudioSystem::Get().streams;
  list.erase(std::remove(list.begin(), list.end(), stream), list.end());
}

void MixUpToNow() {
  AudioSystem& s = AudioSystem::Get();
  if (s.users > 0 && s.renderSamples) s.MixUnheard();
}

}  // namespace sound_internal

// ---------------------------------------------------------------- buffers

std::unique_ptr<SoundBuffer> SoundBuffer::FromPcm(const PcmFormat& format, const std::vector<uint8_t>& samples,
                                                  std::string* error) {
  auto fail = [&](const char* why) {
    if (error) *error = why;
    return std::unique_ptr<SoundBuffer>();
  };
  ALenum alFormat = 0;
  if (format.channels == 1) alFormat = format.bitsPerSample == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16;
  if (format.channels == 2) alFormat = format.bitsPerSample == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16;
  if (!alFormat || (format.bitsPerSample != 8 && format.bitsPerSample != 16) || format.sampleRate == 0)
    return fail("unsupported sample format");
  if (samples.empty() || samples.size() % format.BytesPerFrame() != 0) return fail("no whole sample frames");
  if (samples.size() > static_cast<size_t>(0x7FFFFFFF)) return fail("sound too long");
  if (!AcquireAudio()) return fail("no sound output");

  std::unique_ptr<SoundBuffer> buffer(new SoundBuffer());
  alGetError();
  alGenBuffers(1, &buffer->m_Buffer);
  if (alGetError() == AL_NO_ERROR) {
    alBufferData(buffer->m_Buffer, alFormat, samples.data(), static_cast<ALsizei>(samples.size()),
                 static_cast<ALsizei>(format.sampleRate));
    if (alGetError() == AL_NO_ERROR) {
      buffer->m_Format = format;
      buffer->m_Bytes = samples.size();
      return buffer;
    }
    alDeleteBuffers(1, &buffer->m_Buffer);
  }
  buffer->m_Buffer = 0;
  ReleaseAudio();
  return fail("the mixer refused the sound");
}

std::unique_ptr<SoundBuffer> SoundBuffer::Load(const std::string& name, std::string* error) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(name, bytes)) {
    if (error) *error = "cannot be read";
    return nullptr;
  }
  PcmFormat format;
  std::vector<uint8_t> samples;
  if (!DecodeWave(bytes.data(), bytes.size(), format, samples, error)) return nullptr;
  return FromPcm(format, samples, error);
}

SoundBuffer::~SoundBuffer() {
  if (!m_Buffer) return;
  AudioSystem& s = AudioSystem::Get();
  // A buffer still queued on a voice cannot be deleted.
  for (Voice& v : s.voices)
    if (v.owner && v.buffer == m_Buffer) s.Free(v);
  alDeleteBuffers(1, &m_Buffer);
  ReleaseAudio();
}

double SoundBuffer::Seconds() const {
  const uint32_t frameBytes = m_Format.BytesPerFrame();
  if (!frameBytes || !m_Format.sampleRate) return 0.0;
  return static_cast<double>(m_Bytes / frameBytes) / m_Format.sampleRate;
}

// ---------------------------------------------------------------- paths

SoundPath::SoundPath(bool positional) : m_Positional(positional) {}

SoundPath::~SoundPath() { Stop(); }

int32_t SoundPath::LevelAt(uint64_t now) const {
  if (m_FadeMs == 0 || now >= m_FadeStart + m_FadeMs) return m_ToMb;
  const double t = static_cast<double>(now - m_FadeStart) / m_FadeMs;
  return static_cast<int32_t>(std::lround(m_FromMb + (m_ToMb - m_FromMb) * t));
}

int32_t SoundPath::GetVolume() const { return LevelAt(GetTickCount()); }

int32_t SoundPath::GetTargetVolume() const { return m_ToMb; }

void SoundPath::SetVolume(int32_t millibels, uint32_t fadeMs) {
  const uint64_t now = GetTickCount();
  const int32_t level = LevelAt(now);
  // The settings screens set every volume each frame: usually nothing changes.
  if (fadeMs == 0 && level == millibels && m_ToMb == millibels) return;
  m_FromMb = level;
  m_ToMb = millibels;
  m_FadeStart = now;
  m_FadeMs = fadeMs;
  AudioSystem& s = AudioSystem::Get();
  if (s.users == 0) return;
  for (Voice& v : s.voices)
    if (v.owner == this) s.ApplyGain(v, now);
}

void SoundPath::SetPosition(float x, float y, float z) {
  m_Position[0] = x;
  m_Position[1] = y;
  m_Position[2] = z;
  if (!m_Positional) return;
  AudioSystem& s = AudioSystem::Get();
  if (s.users == 0) return;
  for (Voice& v : s.voices)
    if (v.owner == this) alSourcefv(v.source, AL_POSITION, m_Position);
}

bool SoundPath::Play(const SoundBuffer& buffer, uint32_t repeats) {
  ++m_PlayRequests;
  AudioSystem& s = AudioSystem::Get();
  if (s.users == 0 || !buffer.Handle()) return false;
  sound_internal::MixUpToNow();
  Voice* v = s.Take();
  if (!v) {
    if (!s.poolFullReported) LogWarning("Sound: every voice is busy; a sound was not played");
    s.poolFullReported = true;
    return false;
  }
  const ALuint source = v->source;
  v->owner = this;
  v->buffer = buffer.Handle();
  v->gainSet = false;
  alSourcei(source, AL_BUFFER, 0);
  if (repeats == REPEAT_FOREVER) {
    alSourcei(source, AL_LOOPING, AL_TRUE);
    alSourcei(source, AL_BUFFER, static_cast<ALint>(v->buffer));
    v->playsToQueue = 0;
  } else {
    alSourcei(source, AL_LOOPING, AL_FALSE);
    const uint64_t plays = static_cast<uint64_t>(repeats) + 1;
    const uint32_t now = static_cast<uint32_t>(std::min<uint64_t>(plays, QUEUE_AHEAD));
    for (uint32_t i = 0; i < now; ++i) alSourceQueueBuffers(source, 1, &v->buffer);
    v->playsToQueue = static_cast<uint32_t>(plays - now);
  }
  if (m_Positional) {
    alSourcei(source, AL_SOURCE_RELATIVE, AL_FALSE);
    alSourcefv(source, AL_POSITION, m_Position);
  } else {
    const float atListener[3] = {0, 0, 0};
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSourcefv(source, AL_POSITION, atListener);
  }
  s.ApplyGain(*v, GetTickCount());
  alSourcePlay(source);
  return true;
}

void SoundPath::Stop() {
  sound_internal::MixUpToNow();
  AudioSystem& s = AudioSystem::Get();
  for (Voice& v : s.voices)
    if (v.owner == this) s.Free(v);
}

int SoundPath::VoiceCount() const {
  AudioSystem& s = AudioSystem::Get();
  int count = 0;
  for (Voice& v : s.voices) {
    if (v.owner != this) continue;
    if (s.Service(v))
      ++count;
    else
      s.Free(v);
  }
  return count;
}

std::vector<VoiceInfo> SoundPath::Voices() const {
  std::vector<VoiceInfo> out;
  for (const Voice& v : AudioSystem::Get().voices) {
    if (v.owner != this) continue;
    VoiceInfo info;
    ALint state = 0, relative = 0;
    alGetSourcei(v.source, AL_SOURCE_STATE, &state);
    alGetSourcei(v.source, AL_SOURCE_RELATIVE, &relative);
    alGetSourcef(v.source, AL_GAIN, &info.gain);
    alGetSourcefv(v.source, AL_POSITION, info.position);
    info.playing = state == AL_PLAYING;
    info.relative = relative == AL_TRUE;
    out.push_back(info);
  }
  return out;
}

}  // namespace platform
