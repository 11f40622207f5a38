// Output streams: whole sounds in one buffer, and streams decoded while they
// play through a small buffer queue fed once per frame.
#include <AL/al.h>

#include <algorithm>
#include <deque>

#include "platform/Log.h"
#include "platform/Sound.h"
#include "platform/SoundInternal.h"

namespace platform {

AudioDevice::~AudioDevice() { ReleaseAudio(); }

std::shared_ptr<AudioDevice> OpenAudioDevice() {
  if (!AcquireAudio()) return nullptr;
  return std::shared_ptr<AudioDevice>(new AudioDevice());
}

namespace {

ALenum Format16(uint16_t channels) { return channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16; }

ALint SourceState(ALuint source) {
  ALint state = AL_INITIAL;
  alGetSourcei(source, AL_SOURCE_STATE, &state);
  return state;
}

// What both kinds share: the device they keep open, their source and volume.
class StreamBase : public OutputStream {
 public:
  explicit StreamBase(std::shared_ptr<AudioDevice> device) : m_Device(std::move(device)) {
    alGetError();
    alGenSources(1, &m_Source);
    if (alGetError() != AL_NO_ERROR) {
      m_Source = 0;
      return;
    }
    // Music plays at the listener, unaffected by positions.
    const float origin[3] = {0, 0, 0};
    alSourcei(m_Source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSourcefv(m_Source, AL_POSITION, origin);
  }
  ~StreamBase() override {
    if (m_Source) {
      alSourceStop(m_Source);
      alSourcei(m_Source, AL_BUFFER, 0);
      alDeleteSources(1, &m_Source);
    }
  }
  bool Valid() const { return m_Source != 0; }
  void SetVolume(float volume) override {
    volume = volume >= 0.0f ? std::min(volume, 1.0f) : 0.0f;  // not a number gives 0 too
    if (volume == m_Volume) return;  // set each frame by the settings screens
    m_Volume = volume;
    alSourcef(m_Source, AL_GAIN, m_Volume);
  }
  float GetVolume() const override { return m_Volume; }

 protected:
  std::shared_ptr<AudioDevice> m_Device;
  float m_Volume = 1.0f;
};

class MemoryStream : public StreamBase {
 public:
  MemoryStream(std::shared_ptr<AudioDevice> device, SampleSource& source) : StreamBase(std::move(device)) {
    if (!Valid()) return;
    const uint16_t channels = source.Channels();
    if (channels == 0) return;
    const size_t limit = MAX_DECODED_SOUND_BYTES / sizeof(int16_t);  // samples
    std::vector<int16_t> pcm;
    const size_t chunk = 16384;
    for (;;) {
      const size_t at = pcm.size();
      if (at > limit) {
        m_TooLong = true;  // to be streamed instead
        return;
      }
      pcm.resize(at + chunk * channels);
      const size_t got = std::min(source.Read(pcm.data() + at, chunk), chunk);
      pcm.resize(at + got * channels);
      if (got < chunk) break;
    }
    if (pcm.empty() || pcm.size() > limit) {
      m_TooLong = !pcm.empty();
      return;
    }
    alGetError();
    alGenBuffers(1, &m_Buffer);
    if (alGetError() != AL_NO_ERROR) {
      m_Buffer = 0;
      return;
    }
    // Within the cap, so the byte count fits an ALsizei.
    const uint32_t rate = std::min<uint32_t>(source.SampleRate(), 0x7FFFFFFF);
    alBufferData(m_Buffer, Format16(channels), pcm.data(), static_cast<ALsizei>(pcm.size() * sizeof(int16_t)),
                 static_cast<ALsizei>(rate));
    if (alGetError() != AL_NO_ERROR) return;
    alSourcei(m_Source, AL_BUFFER, static_cast<ALint>(m_Buffer));
    m_Loaded = true;
  }
  ~MemoryStream() override {
    if (m_Source) {
      alSourceStop(m_Source);
      alSourcei(m_Source, AL_BUFFER, 0);
    }
    if (m_Buffer) alDeleteBuffers(1, &m_Buffer);
  }
  bool Loaded() const { return m_Loaded; }
  bool TooLong() const { return m_TooLong; }

  void Play() override {
    sound_internal::MixUpToNow();
    if (SourceState(m_Source) != AL_PLAYING) alSourcePlay(m_Source);
  }
  void Stop() override {
    sound_internal::MixUpToNow();
    if (SourceState(m_Source) == AL_PLAYING) alSourcePause(m_Source);
  }
  void Reset() override {
    sound_internal::MixUpToNow();
    const bool playing = SourceState(m_Source) == AL_PLAYING;
    alSourceRewind(m_Source);
    if (playing) alSourcePlay(m_Source);
  }
  bool IsPlaying() override { return SourceState(m_Source) == AL_PLAYING; }
  void SetRepeat(bool repeat) override {
    m_Repeat = repeat;
    alSourcei(m_Source, AL_LOOPING, repeat ? AL_TRUE : AL_FALSE);
  }
  bool GetRepeat() const override { return m_Repeat; }
  uint64_t FramesPlayed() override {
    ALint offset = 0;
    alGetSourcei(m_Source, AL_SAMPLE_OFFSET, &offset);
    return static_cast<uint64_t>(std::max(offset, 0));
  }

 private:
  ALuint m_Buffer = 0;
  bool m_Loaded = false;
  bool m_TooLong = false;
  bool m_Repeat = false;
};

class QueuedStream : public StreamBase, public sound_internal::FedStream {
 public:
  static constexpr int BUFFERS = 4;
  static constexpr size_t FRAMES_PER_BUFFER = 8192;

  QueuedStream(std::shared_ptr<AudioDevice> device, std::shared_ptr<SampleSource> source)
      : StreamBase(std::move(device)), m_Input(std::move(source)) {
    if (!Valid()) return;
    alGetError();
    alGenBuffers(BUFFERS, m_Buffers);
    if (alGetError() != AL_NO_ERROR) {
      alDeleteSources(1, &m_Source);
      m_Source = 0;
      return;
    }
    m_Free.assign(m_Buffers, m_Buffers + BUFFERS);
    m_Scratch.resize(FRAMES_PER_BUFFER * m_Input->Channels());
    sound_internal::RegisterStream(this);
  }
  ~QueuedStream() override {
    if (!m_Source) return;
    sound_internal::UnregisterStream(this);
    alSourceStop(m_Source);
    alSourcei(m_Source, AL_BUFFER, 0);
    alDeleteBuffers(BUFFERS, m_Buffers);
  }

  void Play() override {
    sound_internal::MixUpToNow();
    if (m_Playing) return;
    if (SourceState(m_Source) == AL_PAUSED) {
      m_Playing = true;
      alSourcePlay(m_Source);
      return;
    }
    // Stopped after its queue ran dry (a long frame): go on after what was
    // heard, or from the start when that was the end.
    TakeBackPlayed();
    if (m_Queued.empty() && m_AtEnd) Rewind();
    FillFree();
    if (m_Queued.empty()) return;  // nothing to play
    m_Playing = true;
    alSourcePlay(m_Source);
  }
  void Stop() override {
    sound_internal::MixUpToNow();
    if (!m_Playing) return;
    m_Playing = false;
    alSourcePause(m_Source);
  }
  void Reset() override {
    sound_internal::MixUpToNow();
    const bool playing = m_Playing;
    Rewind();
    if (playing) Play();
  }
  bool IsPlaying() override {
    Feed();
    return m_Playing;
  }
  void SetRepeat(bool repeat) override {
    // Turned on while the last of the sound plays out: carry on from the start.
    if (repeat && !m_Repeat && m_AtEnd && m_Playing) m_AtEnd = !m_Input->Reset();
    m_Repeat = repeat;
  }
  bool GetRepeat() const override { return m_Repeat; }
  uint64_t FramesPlayed() override {
    ALint offset = 0;
    alGetSourcei(m_Source, AL_SAMPLE_OFFSET, &offset);
    return m_FramesDone + static_cast<uint64_t>(std::max(offset, 0));
  }

  void Feed() override {
    if (!m_Playing) return;
    TakeBackPlayed();
    FillFree();
    const ALint state = SourceState(m_Source);
    if (state == AL_PLAYING) return;
    if (!m_Queued.empty()) {
      // The queue ran dry (a long frame): carry on with what is queued now.
      alSourcePlay(m_Source);
    } else if (m_AtEnd) {
      // Over: stopped and back at the start for the next Play.
      Rewind();
    }
  }

 private:
  // Stops, empties the queue and takes the source back to its first frame.
  void Rewind() {
    m_Playing = false;
    alSourceStop(m_Source);
    alSourcei(m_Source, AL_BUFFER, 0);
    m_Free.assign(m_Buffers, m_Buffers + BUFFERS);
    m_Queued.clear();
    m_FramesDone = 0;
    m_AtEnd = !m_Input->Reset();
    if (m_AtEnd) LogWarning("Sound: a stream cannot go back to its start");
  }

  // Unqueues the buffers that have been heard, for refilling.
  void TakeBackPlayed() {
    ALint processed = 0;
    alGetSourcei(m_Source, AL_BUFFERS_PROCESSED, &processed);
    for (ALint i = 0; i < processed && !m_Queued.empty(); ++i) {
      ALuint done = 0;
      alSourceUnqueueBuffers(m_Source, 1, &done);
      m_FramesDone += m_Queued.front();
      m_Queued.pop_front();
      m_Free.push_back(done);
    }
  }

  void FillFree() {
    while (!m_Free.empty() && !m_AtEnd) {
      const size_t frames = Decode();
      if (frames == 0) break;
      const ALuint buffer = m_Free.back();
      m_Free.pop_back();
      alBufferData(buffer, Format16(m_Input->Channels()), m_Scratch.data(),
                   static_cast<ALsizei>(frames * m_Input->Channels() * sizeof(int16_t)),
                   static_cast<ALsizei>(m_Input->SampleRate()));
      alSourceQueueBuffers(m_Source, 1, &buffer);
      m_Queued.push_back(frames);
    }
  }

  // Fills the scratch buffer, starting over at the end while repeating.
  size_t Decode() {
    const uint16_t channels = m_Input->Channels();
    size_t got = 0;
    bool restarted = false;
    while (got < FRAMES_PER_BUFFER) {
      const size_t n = m_Input->Read(m_Scratch.data() + got * channels, FRAMES_PER_BUFFER - got);
      got += n;
      if (n > 0) restarted = false;
      if (got == FRAMES_PER_BUFFER) break;
      if (n == 0) {
        // At the end: once more from the start when repeating (and the
        // sound is not empty), otherwise the stream is over.
        if (!m_Repeat || restarted || !m_Input->Reset()) {
          m_AtEnd = true;
          break;
        }
        restarted = true;
      }
    }
    return got;
  }

  std::shared_ptr<SampleSource> m_Input;
  ALuint m_Buffers[BUFFERS] = {};
  std::vector<ALuint> m_Free;
  std::deque<size_t> m_Queued;  // frames in each queued buffer, oldest first
  std::vector<int16_t> m_Scratch;
  uint64_t m_FramesDone = 0;
  bool m_Playing = false;
  bool m_AtEnd = false;
  bool m_Repeat = false;
};

}  // namespace

float OutputStream::MixerGain() const {
  float gain = 0.0f;
  if (m_Source) alGetSourcef(m_Source, AL_GAIN, &gain);
  return gain;
}

std::shared_ptr<OutputStream> OpenSound(const std::shared_ptr<AudioDevice>& device,
                                        const std::shared_ptr<SampleSource>& source, bool streaming) {
  if (!device || !source || !IsAudioOpen()) return nullptr;
  if (!streaming) {
    auto whole = std::make_shared<MemoryStream>(device, *source);
    if (!whole->Valid()) return nullptr;
    if (whole->Loaded()) return whole;
    if (!whole->TooLong()) return nullptr;
    // Longer than one buffer should hold: played from the start as a stream.
    if (!source->Reset()) {
      LogError("a sound too long to decode whole cannot be rewound to stream it");
      return nullptr;
    }
  }
  auto stream = std::make_shared<QueuedStream>(device, source);
  if (!stream->Valid()) return nullptr;
  return stream;
}

}  // namespace platform
