#include "engine/sound/WaveSound.h"

#include <algorithm>

#include "engine/sound/SoundDevice.h"
#include "engine/sound/SoundLoading.h"
#include "platform/Files.h"
#include "platform/Log.h"

namespace Nembra {

CWaveSoundFactory* g_pWaveSoundFactory = nullptr;
C3DWaveSoundFactory* g_p3DWaveSoundFactory = nullptr;

float ClampVolume(float volume) {
  if (!(volume >= 0.0f)) return 0.0f;  // negative or not a number
  return std::min(volume, 1.0f);
}

CSound::~CSound() { Unload(); }

bool CSound::LoadFromFile(const std::string& path) {
  if (!platform::FileExists(path)) return false;
  Unload();
  if (!g_pSoundDevice || !g_pSoundDevice->IsInitialized()) return false;
  // One path per sound, made at the first load and kept.
  if (!m_pAudioPath && !CreateAudioPath()) return false;
  std::string why;
  m_pSegment = platform::SoundBuffer::Load(path, &why);
  if (!m_pSegment) {
    platform::LogWarning("Sound: \"" + path + "\" " + why);
    return false;
  }
  m_Repeats = 0;
  if (!OnLoaded()) {
    Unload();
    return false;
  }
  return true;
}

void CSound::Unload() {
  if (!m_pSegment) return;
  if (m_pAudioPath) m_pAudioPath->Stop();
  m_pSegment.reset();
}

bool CSound::Play(bool stopFirst) {
  if (!m_pSegment) return false;
  if (stopFirst) m_pAudioPath->Stop();
  return PlaySegment();
}

bool CSound::Stop() {
  if (!m_pSegment) return false;
  m_pAudioPath->Stop();
  return true;
}

bool CSound::SetRepeats(uint32_t count) {
  if (!m_pSegment) return false;
  m_Repeats = count;
  return true;
}

void CSound::SetVolume(float volume, float fadeSeconds) {
  if (!m_pAudioPath) return;
  const int32_t millibels = static_cast<int32_t>((1.0f - ClampVolume(volume)) * -9600.0f);
  const uint32_t fadeMs = fadeSeconds > 0.0f ? static_cast<uint32_t>(std::min(fadeSeconds, 86400.0f) * 1000.0f) : 0;
  m_pAudioPath->SetVolume(millibels, fadeMs);
}

bool CWaveSound::CreateAudioPath() {
  m_pAudioPath = std::make_unique<platform::SoundPath>(false);
  return true;
}

bool CWaveSound::PlaySegment() { return m_pAudioPath->Play(*m_pSegment, m_Repeats); }

bool C3DWaveSound::CreateAudioPath() {
  m_pAudioPath = std::make_unique<platform::SoundPath>(true);
  m_pAudioPath->SetPosition(m_Position.x, m_Position.y, m_Position.z);
  return true;
}

void C3DWaveSound::SetPosition(const D3DXVECTOR3& position) {
  m_Position = position;
  if (m_pAudioPath) m_pAudioPath->SetPosition(position.x, position.y, position.z);
}

CWaveSoundFactory::CWaveSoundFactory() { m_pDefault = MakeDefaultEntry(DEFAULT_RESOURCE_NAME); }

std::string CWaveSoundFactory::GetDirectory() const { return g_WaveSoundDirectory; }

bool CWaveSoundFactory::Load(const std::string& key) {
  CWaveSound* sound = LoadSoundEntry(*this, key);
  if (!sound) {
    Erase(key);
    return false;
  }
  sound->SetVolume(m_Volume, 0.0f);
  return true;
}

namespace {
const char* SoundKindWhileOpen() { return g_pSoundDevice && g_pSoundDevice->IsInitialized() ? "sound" : nullptr; }
}  // namespace

const char* CWaveSoundFactory::GetMissingKind() const { return SoundKindWhileOpen(); }
const char* C3DWaveSoundFactory::GetMissingKind() const { return SoundKindWhileOpen(); }

void CWaveSoundFactory::SetWaveVolume(float volume) {
  m_Volume = ClampVolume(volume);
  for (auto& entry : m_Resources) entry.second.SetVolume(m_Volume, 0.0f);
}

void CWaveSoundFactory::StopAll() {
  for (auto& entry : m_Resources) entry.second.Stop();
}

C3DWaveSoundFactory::C3DWaveSoundFactory() { m_pDefault = MakeDefaultEntry(DEFAULT_RESOURCE_NAME); }

std::string C3DWaveSoundFactory::GetDirectory() const { return g_3DWaveSoundDirectory; }

bool C3DWaveSoundFactory::Load(const std::string& key) {
  if (LoadSoundEntry(*this, key)) return true;
  Erase(key);
  return false;
}

}  // namespace Nembra
