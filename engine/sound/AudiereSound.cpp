#include "engine/sound/AudiereSound.h"

#include "engine/sound/SoundLoading.h"
#include "engine/sound/WaveSound.h"
#include "platform/Log.h"

namespace Nembra {

CAudiereDevice* g_AudiereDevice = nullptr;
CAudiereSoundFactory* g_pAudiereSoundFactory = nullptr;
CAudiereStreamingSoundFactory* g_pStreamingSoundFactory = nullptr;

CAudiereDevice::CAudiereDevice() : m_Device(platform::OpenAudioDevice()) {}

bool CAudiereSound::LoadFromFile(const std::string& path, bool streaming) {
  std::shared_ptr<platform::AudioDevice> device = g_AudiereDevice ? g_AudiereDevice->Get() : nullptr;
  std::shared_ptr<platform::OutputStream> stream;
  if (device) {
    std::string why;
    std::shared_ptr<platform::SampleSource> source = platform::OpenSampleSource(path, &why);
    if (source) stream = platform::OpenSound(device, source, streaming);
    if (!stream) platform::LogWarning("Sound: \"" + path + "\" " + (source ? "cannot be played" : why));
  }
  m_pStream = stream;
  return m_pStream != nullptr;
}

void CAudiereSound::Play(bool rewind) {
  if (!m_pStream) return;
  if (rewind) m_pStream->Reset();
  m_pStream->Play();
}

void CAudiereSound::Stop() {
  if (m_pStream) m_pStream->Stop();
}

void CAudiereSound::SetRepeat(bool repeat) {
  if (m_pStream) m_pStream->SetRepeat(repeat);
}

void CAudiereSound::SetVolume(float volume) {
  if (m_pStream) m_pStream->SetVolume(ClampVolume(volume));
}

bool CAudiereSound::IsPlaying() const { return m_pStream && m_pStream->IsPlaying(); }

namespace {

template <class Factory>
bool LoadStream(Factory& factory, const std::string& key, bool streaming, float volume) {
  CAudiereSound* sound = LoadSoundEntry(factory, key, streaming);
  if (sound) sound->SetVolume(volume);
  return sound != nullptr;
}

const char* AudioKindWhileOpen() { return g_AudiereDevice && g_AudiereDevice->Get() ? "sound" : nullptr; }

}  // namespace

const char* CAudiereSoundFactory::GetMissingKind() const { return AudioKindWhileOpen(); }
const char* CAudiereStreamingSoundFactory::GetMissingKind() const { return AudioKindWhileOpen(); }

CAudiereSoundFactory::CAudiereSoundFactory() { m_pDefault = MakeDefaultEntry(DEFAULT_RESOURCE_NAME); }

std::string CAudiereSoundFactory::GetDirectory() const { return g_AudiereSoundDirectory; }

bool CAudiereSoundFactory::Load(const std::string& key) {
  if (LoadStream(*this, key, false, m_Volume)) return true;
  Erase(key);
  return false;
}

CAudiereStreamingSoundFactory::CAudiereStreamingSoundFactory() {
  m_pDefault = MakeDefaultEntry(DEFAULT_RESOURCE_NAME);
}

std::string CAudiereStreamingSoundFactory::GetDirectory() const { return g_StreamingSoundDirectory; }

bool CAudiereStreamingSoundFactory::Load(const std::string& key) {
  if (LoadStream(*this, key, true, m_Volume)) return true;
  Erase(key);
  return false;
}

void CAudiereStreamingSoundFactory::SetStreamingVolume(float volume) {
  m_Volume = ClampVolume(volume);
  for (auto& entry : m_Resources) entry.second.SetVolume(m_Volume);
}

}  // namespace Nembra
