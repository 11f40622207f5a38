#pragma once
// Music and long effects: one output device for the engine, sounds that
// wrap one output stream each, and two factories: one decodes the whole file
// when it loads, the other streams it from disk while it plays (all music).
#include <memory>
#include <string>

#include "engine/resources/Factory.h"
#include "engine/resources/Resource.h"
#include "platform/Sound.h"

namespace Nembra {

// Holds the engine's output device, opened when constructed (null when
// there is none: every load then fails and the game runs without music).
class CAudiereDevice {
 public:
  CAudiereDevice();
  const std::shared_ptr<platform::AudioDevice>& Get() const { return m_Device; }

 private:
  std::shared_ptr<platform::AudioDevice> m_Device;
};

class CAudiereSound : public CResource {
 public:
  // A copy shares the stream: stopping one stops the other.
  CAudiereSound() = default;
  CAudiereSound(const CAudiereSound&) = default;
  CAudiereSound& operator=(const CAudiereSound&) = default;

  // Opens a .ogg or .wav; the new stream replaces the old one. False (and
  // no stream) when the file is missing or damaged or there is no device.
  bool LoadFromFile(const std::string& path, bool streaming);
  // Plays on from where it stopped, or from the start with rewind.
  void Play(bool rewind);
  // Pauses at the current position.
  void Stop();
  void SetRepeat(bool repeat);
  // Linear volume, clamped to 0..1.
  void SetVolume(float volume);
  bool IsPlaying() const;
  const std::shared_ptr<platform::OutputStream>& GetStream() const { return m_pStream; }

 private:
  std::shared_ptr<platform::OutputStream> m_pStream;
};

class CAudiereSoundFactory : public CFactory<CAudiereSound> {
 public:
  CAudiereSoundFactory();
  bool Load(const std::string& key) override;
  std::string GetDirectory() const override;
  // "sound" while the audio device is open (without it no sound loads).
  const char* GetMissingKind() const override;
  float GetVolume() const { return m_Volume; }

 private:
  float m_Volume = 1.0f;
};

class CAudiereStreamingSoundFactory : public CFactory<CAudiereSound> {
 public:
  CAudiereStreamingSoundFactory();
  bool Load(const std::string& key) override;
  std::string GetDirectory() const override;
  // "sound" while the audio device is open (without it no sound loads).
  const char* GetMissingKind() const override;
  // Volume of every stream, those loaded later included (clamped to 0..1).
  void SetStreamingVolume(float volume);
  float GetStreamingVolume() const { return m_Volume; }

 private:
  float m_Volume = 1.0f;
};

extern CAudiereDevice* g_AudiereDevice;
extern CAudiereSoundFactory* g_pAudiereSoundFactory;
extern CAudiereStreamingSoundFactory* g_pStreamingSoundFactory;

}  // namespace Nembra
