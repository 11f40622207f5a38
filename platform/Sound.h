#pragma once
// Sound output on OpenAL Soft.
//
// Effects: a SoundBuffer holds one decoded .wav; a SoundPath plays buffers
// as voices taken from a shared pool of sources, so one sound can overlap
// itself. A path carries a volume (in hundredths of a decibel, faded over
// time) and, when positional, a position in the world; every voice on it
// follows both. The master volume scales every path.
//
// Music and long effects: the audio-device / sample-source / output-stream
// surface of the audiere library. A stream either holds the whole decoded
// sound or decodes it while it plays through a small queue of buffers that
// UpdateAudio tops up. Sample sources read .wav (PCM) and .ogg (Vorbis).
//
// UpdateAudio must run once per frame: it advances fades and repeats, feeds
// the streams and gives finished voices back to the pool.
//
// Every output asks for OpenAL Soft's limiter where it is offered: a moment
// louder than full scale is turned down instead of clamped.
//
// Without a sound card the headless backend uses OpenAL Soft's null output;
// SetAudioOutput can ask for its wave-file writer instead so that a test can
// read back what was played. Where no output device opens at all, sound runs
// on a mixer that nobody hears, advanced by UpdateAudio, so the game behaves
// the same without a sound card; it is brought up to the moment a sound
// starts, stops or is rewound, so each plays just the time it was on.
// SetAudioOutput can ask for that mixer advanced by the platform clock
// instead of the steady one: on the headless backend a run then mixes (and
// decodes) the same whatever the machine's load.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// ---------------------------------------------------------------- output

enum class AudioOutput {
  Default,   // the system's device (the null output on the headless backend)
  Null,      // mixes and discards
  WaveFile,  // mixes in real time into a .wav file (16-bit stereo 44100 Hz)
  Clocked,   // mixes and discards in UpdateAudio, as far as GetTickCount moved
};

// Chooses the output. Only possible before sound is first opened in this
// process (the library reads its settings once); false afterwards.
bool SetAudioOutput(AudioOutput output, const std::string& waveFile = std::string());

// Opens the output on the first call (the unheard mixer when no device
// opens) and counts users; false (and nothing counted) when neither opens. Every successful call is matched by
// ReleaseAudio; the last one closes the output, stopping all sound.
bool AcquireAudio();
void ReleaseAudio();
bool IsAudioOpen();

// Advances fades and repeats, refills stream queues, returns finished voices
// to the pool. Cheap when nothing plays.
void UpdateAudio();

// A level in hundredths of a decibel as a linear gain; -9600 and below is
// silence (0).
float MillibelsToGain(int32_t millibels);

// Master level of every sound path, in hundredths of a decibel (0 = unchanged).
void SetMasterVolume(int32_t millibels);
int32_t GetMasterVolume();

// Stops every voice of every sound path (streams play on).
void StopAllVoices();

// The listener of positional paths.
void SetListener(const float position[3], const float front[3], const float top[3]);

// ---------------------------------------------------------------- PCM

struct PcmFormat {
  uint16_t channels = 0;       // 1 or 2
  uint16_t bitsPerSample = 0;  // 8 (unsigned) or 16 (signed, little-endian)
  uint32_t sampleRate = 0;
  uint32_t BytesPerFrame() const { return channels * (bitsPerSample / 8u); }
};

// Parses a RIFF WAVE file held in memory: PCM (plain or extensible), 8 or 16
// bits, mono or stereo. Every chunk size is checked against the bytes there;
// false with a reason on anything else.
bool DecodeWave(const uint8_t* data, size_t size, PcmFormat& format, std::vector<uint8_t>& samples,
                std::string* error = nullptr);

// ---------------------------------------------------------------- effects

class SoundBuffer {
 public:
  ~SoundBuffer();
  SoundBuffer(const SoundBuffer&) = delete;
  SoundBuffer& operator=(const SoundBuffer&) = delete;

  // Reads and decodes a .wav through the path resolver. Null (with a reason)
  // when the output is not open or the file is missing or damaged.
  static std::unique_ptr<SoundBuffer> Load(const std::string& name, std::string* error = nullptr);
  static std::unique_ptr<SoundBuffer> FromPcm(const PcmFormat& format, const std::vector<uint8_t>& samples,
                                              std::string* error = nullptr);

  const PcmFormat& Format() const { return m_Format; }
  double Seconds() const;
  uint32_t Handle() const { return m_Buffer; }

 private:
  SoundBuffer() = default;
  uint32_t m_Buffer = 0;
  PcmFormat m_Format;
  size_t m_Bytes = 0;
};

// What a voice's source is doing, read back from the mixer.
struct VoiceInfo {
  bool playing = false;
  float gain = 0.0f;
  float position[3] = {0, 0, 0};
  bool relative = false;  // placed at the listener (not positional)
};

class SoundPath {
 public:
  static constexpr uint32_t REPEAT_FOREVER = 0xFFFFFFFFu;

  explicit SoundPath(bool positional);
  ~SoundPath();  // stops its voices
  SoundPath(const SoundPath&) = delete;
  SoundPath& operator=(const SoundPath&) = delete;

  // Starts a new voice of the buffer, played 1 + repeats times
  // (REPEAT_FOREVER loops). False when the output is closed or the pool is
  // exhausted.
  bool Play(const SoundBuffer& buffer, uint32_t repeats = 0);
  // Stops every voice of this path.
  void Stop();

  // Moves the level to `millibels` over fadeMs milliseconds (at once for 0),
  // linearly in decibels, starting from the level reached now.
  void SetVolume(int32_t millibels, uint32_t fadeMs);
  int32_t GetVolume() const;        // the level now, fade included
  int32_t GetTargetVolume() const;  // where the fade ends

  void SetPosition(float x, float y, float z);
  bool IsPositional() const { return m_Positional; }

  int VoiceCount() const;  // voices that are still playing
  std::vector<VoiceInfo> Voices() const;
  // Every Play asked of this path, whether a voice started or not (closed
  // output, full pool): what was asked to be heard, even unheard.
  uint64_t PlayRequests() const { return m_PlayRequests; }

 private:
  friend struct AudioSystem;
  int32_t LevelAt(uint64_t now) const;

  bool m_Positional;
  float m_Position[3] = {0, 0, 0};
  int32_t m_FromMb = 0;
  int32_t m_ToMb = 0;
  uint64_t m_FadeStart = 0;
  uint32_t m_FadeMs = 0;
  uint64_t m_PlayRequests = 0;
};

// ---------------------------------------------------------------- streams

class AudioDevice {
 public:
  ~AudioDevice();
  AudioDevice(const AudioDevice&) = delete;
  AudioDevice& operator=(const AudioDevice&) = delete;

 private:
  friend std::shared_ptr<AudioDevice> OpenAudioDevice();
  AudioDevice() = default;
};

// Opens the output for streams; null when there is none.
std::shared_ptr<AudioDevice> OpenAudioDevice();

// A decoder giving signed 16-bit interleaved frames.
class SampleSource {
 public:
  virtual ~SampleSource() = default;
  virtual uint16_t Channels() const = 0;
  virtual uint32_t SampleRate() const = 0;
  // Reads up to `frames` frames; fewer only at the end (0 there) or on a
  // decoding error.
  virtual size_t Read(int16_t* out, size_t frames) = 0;
  // Back to the first frame; false when the source cannot seek.
  virtual bool Reset() = 0;
};

// Opens a .wav or .ogg (recognised by content) through the path resolver;
// null when it is missing or cannot be decoded.
std::shared_ptr<SampleSource> OpenSampleSource(const std::string& name, std::string* error = nullptr);

class OutputStream {
 public:
  virtual ~OutputStream() = default;
  virtual void Play() = 0;   // from where it stopped; a playing stream carries on
  virtual void Stop() = 0;   // pauses at the current position
  virtual void Reset() = 0;  // back to the start, playing on if it was playing
  virtual bool IsPlaying() = 0;
  virtual void SetRepeat(bool repeat) = 0;  // starts over at the end while set
  virtual bool GetRepeat() const = 0;
  virtual void SetVolume(float volume) = 0;  // linear, clamped to 0..1
  virtual float GetVolume() const = 0;
  float MixerGain() const;  // the gain the mixer plays it at, read back
  virtual uint64_t FramesPlayed() = 0;  // position in the sound, in frames
  uint32_t SourceHandle() const { return m_Source; }

 protected:
  uint32_t m_Source = 0;
};

// The most a sound decoded whole may take (16-bit samples); a longer one is
// streamed instead.
constexpr size_t MAX_DECODED_SOUND_BYTES = size_t(64) << 20;

// A stream of the source on the device: the whole sound decoded now (or,
// past MAX_DECODED_SOUND_BYTES, from the start as a stream), or
// (streaming) decoded while it plays. A stream ends stopped and rewound when
// the sound is over and repeat is off. Null without a device or source, or
// when a non-streamed source cannot be decoded.
std::shared_ptr<OutputStream> OpenSound(const std::shared_ptr<AudioDevice>& device,
                                        const std::shared_ptr<SampleSource>& source, bool streaming);

}  // namespace platform
