#pragma once
// Wave sounds: .wav effects loaded by name, shared by reference count and
// played as overlapping instances on the sound's own audio path, and the
// positional kind whose path has a place in the world.
#include <cstdint>
#include <memory>
#include <string>

#include "engine/resources/Factory.h"
#include "engine/resources/Resource.h"
#include "platform/Math.h"
#include "platform/Sound.h"

namespace Nembra {

class CSound : public CResource {
 public:
  // Repeat count that loops until stopped.
  static constexpr uint32_t REPEAT_INFINITE = platform::SoundPath::REPEAT_FOREVER;

  CSound() = default;
  ~CSound() override;
  CSound(const CSound&) = delete;
  CSound& operator=(const CSound&) = delete;

  virtual bool CreateAudioPath() = 0;
  // Hook run after the sound data is loaded.
  virtual bool OnLoaded() { return true; }
  virtual bool PlaySegment() = 0;
  // Plays a new instance over those playing, or restarts it with stopFirst.
  virtual bool Play(bool stopFirst);
  // Stops every instance and drops the sound data; the audio path stays.
  virtual void Unload();

  // Loads a .wav (any path length). False when the file is missing or
  // damaged or there is no sound device; the sound is empty then.
  bool LoadFromFile(const std::string& path);
  bool IsLoaded() const { return m_pSegment != nullptr; }
  // Stops every instance. False when empty.
  bool Stop();
  // Plays count more times after the first (REPEAT_INFINITE loops). False when empty.
  bool SetRepeats(uint32_t count);
  uint32_t GetRepeats() const { return m_Repeats; }
  // Volume clamped to 0..1, heard at (1 - volume) x -9600 hundredths of a
  // decibel, reached over fadeSeconds. Nothing happens without an audio path.
  void SetVolume(float volume, float fadeSeconds);

  // The path the instances play on (null before the first load).
  platform::SoundPath* GetAudioPath() const { return m_pAudioPath.get(); }

 protected:
  std::unique_ptr<platform::SoundPath> m_pAudioPath;
  std::unique_ptr<platform::SoundBuffer> m_pSegment;
  uint32_t m_Repeats = 0;
};

class CWaveSound : public CSound {
 public:
  ~CWaveSound() override = default;
  bool CreateAudioPath() override;
  bool PlaySegment() override;
};

class C3DWaveSound : public CWaveSound {
 public:
  // A positional path, placed where the sound was last put.
  bool CreateAudioPath() override;
  void SetPosition(const D3DXVECTOR3& position);
  const D3DXVECTOR3& GetPosition() const { return m_Position; }

 private:
  D3DXVECTOR3 m_Position;
};

class CWaveSoundFactory : public CFactory<CWaveSound> {
 public:
  CWaveSoundFactory();
  bool Load(const std::string& key) override;
  std::string GetDirectory() const override;
  // "sound" while the sound device is open (without it no sound loads).
  const char* GetMissingKind() const override;
  // Volume of every effect, those loaded later included (clamped to 0..1).
  void SetWaveVolume(float volume);
  float GetWaveVolume() const { return m_Volume; }
  void StopAll();

 private:
  float m_Volume = 1.0f;
};

class C3DWaveSoundFactory : public CFactory<C3DWaveSound> {
 public:
  C3DWaveSoundFactory();
  bool Load(const std::string& key) override;
  std::string GetDirectory() const override;
  // "sound" while the sound device is open (without it no sound loads).
  const char* GetMissingKind() const override;
};

extern CWaveSoundFactory* g_pWaveSoundFactory;
extern C3DWaveSoundFactory* g_p3DWaveSoundFactory;

// A volume from a settings file inside 0..1 (not-a-number gives 0).
float ClampVolume(float volume);

}  // namespace Nembra
