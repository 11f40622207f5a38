// Decoders: RIFF WAVE (PCM) and Ogg Vorbis sample sources.
#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include <cstdio>
#include <algorithm>
#include <cstring>

#include "platform/Files.h"
#include "platform/Log.h"
#include "platform/Sound.h"

namespace platform {

namespace {

uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Read32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

bool Fail(std::string* error, const char* why) {
  if (error) *error = why;
  return false;
}

constexpr uint16_t WAVE_FORMAT_PCM = 1;
constexpr uint16_t WAVE_FORMAT_EXTENSIBLE = 0xFFFE;
// The tail shared by the PCM sub-format identifiers.
const uint8_t PCM_SUBFORMAT_TAIL[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                        0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

}  // namespace

bool DecodeWave(const uint8_t* data, size_t size, PcmFormat& format, std::vector<uint8_t>& samples,
                std::string* error) {
  if (!data || size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
    return Fail(error, "not a RIFF WAVE file");
  bool haveFormat = false;
  const uint8_t* pcm = nullptr;
  size_t pcmBytes = 0;
  size_t pos = 12;
  while (size - pos >= 8) {
    const uint8_t* chunk = data + pos;
    const uint32_t length = Read32(chunk + 4);
    const size_t left = size - pos - 8;
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      if (length < 16 || length > left) return Fail(error, "damaged format chunk");
      const uint8_t* f = chunk + 8;
      uint16_t tag = Read16(f);
      if (tag == WAVE_FORMAT_EXTENSIBLE) {
        if (length < 40 || Read16(f + 16) < 22) return Fail(error, "damaged format chunk");
        if (Read16(f + 24) != WAVE_FORMAT_PCM || std::memcmp(f + 26, PCM_SUBFORMAT_TAIL, 14) != 0)
          return Fail(error, "not PCM samples");
        tag = WAVE_FORMAT_PCM;
      }
      if (tag != WAVE_FORMAT_PCM) return Fail(error, "not PCM samples");
      format.channels = Read16(f + 2);
      format.sampleRate = Read32(f + 4);
      const uint16_t blockAlign = Read16(f + 12);
      format.bitsPerSample = Read16(f + 14);
      if (format.channels != 1 && format.channels != 2) return Fail(error, "only mono and stereo are played");
      if (format.bitsPerSample != 8 && format.bitsPerSample != 16) return Fail(error, "only 8 and 16 bits are played");
      if (format.sampleRate < 1000 || format.sampleRate > 192000) return Fail(error, "unusable sample rate");
      if (blockAlign != format.BytesPerFrame()) return Fail(error, "damaged format chunk");
      haveFormat = true;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      if (length > left) return Fail(error, "sample data cut short");
      pcm = chunk + 8;
      pcmBytes = length;
    }
    if (length > left) break;  // an unknown chunk running past the end: nothing after it
    pos += 8 + static_cast<size_t>(length) + (length & 1u);
    if (pos > size) break;
  }
  if (!haveFormat) return Fail(error, "no format chunk");
  if (!pcm) return Fail(error, "no sample data");
  pcmBytes -= pcmBytes % format.BytesPerFrame();
  if (pcmBytes == 0) return Fail(error, "no samples");
  samples.assign(pcm, pcm + pcmBytes);
  return true;
}

namespace {

// A .wav held decoded in memory.
class WaveSource : public SampleSource {
 public:
  WaveSource(const PcmFormat& format, const std::vector<uint8_t>& bytes)
      : m_Channels(format.channels), m_Rate(format.sampleRate) {
    const size_t count = bytes.size() / (format.bitsPerSample / 8u);
    m_Samples.resize(count);
    if (format.bitsPerSample == 8) {
      for (size_t i = 0; i < count; ++i) m_Samples[i] = static_cast<int16_t>((bytes[i] - 128) * 256);
    } else {
      for (size_t i = 0; i < count; ++i) m_Samples[i] = static_cast<int16_t>(Read16(&bytes[i * 2]));
    }
  }
  uint16_t Channels() const override { return m_Channels; }
  uint32_t SampleRate() const override { return m_Rate; }
  size_t Read(int16_t* out, size_t frames) override {
    const size_t total = m_Samples.size() / m_Channels;
    const size_t n = std::min(frames, total - m_Frame);
    std::memcpy(out, m_Samples.data() + m_Frame * m_Channels, n * m_Channels * sizeof(int16_t));
    m_Frame += n;
    return n;
  }
  bool Reset() override {
    m_Frame = 0;
    return true;
  }

 private:
  uint16_t m_Channels;
  uint32_t m_Rate;
  std::vector<int16_t> m_Samples;
  size_t m_Frame = 0;
};

size_t FileRead(void* out, size_t size, size_t count, void* file) {
  return std::fread(out, size, count, static_cast<FILE*>(file));
}
int FileSeek(void* file, ogg_int64_t offset, int whence) {
  return std::fseek(static_cast<FILE*>(file), static_cast<long>(offset), whence);
}
int FileClose(void* file) { return std::fclose(static_cast<FILE*>(file)); }
long FileTell(void* file) { return std::ftell(static_cast<FILE*>(file)); }

// An Ogg Vorbis file decoded as it is read.
class VorbisSource : public SampleSource {
 public:
  ~VorbisSource() override {
    if (m_Open) ov_clear(&m_File);
  }
  bool Open(FILE* file, std::string* error) {
    const ov_callbacks callbacks = {FileRead, FileSeek, FileClose, FileTell};
    if (ov_open_callbacks(file, &m_File, nullptr, 0, callbacks) != 0) {
      std::fclose(file);
      return Fail(error, "not a readable Ogg Vorbis file");
    }
    m_Open = true;
    const vorbis_info* info = ov_info(&m_File, -1);
    if (!info || (info->channels != 1 && info->channels != 2)) return Fail(error, "only mono and stereo are played");
    if (info->rate < 1000 || info->rate > 192000) return Fail(error, "unusable sample rate");
    m_Channels = static_cast<uint16_t>(info->channels);
    m_Rate = static_cast<uint32_t>(info->rate);
    return true;
  }
  uint16_t Channels() const override { return m_Channels; }
  uint32_t SampleRate() const override { return m_Rate; }
  size_t Read(int16_t* out, size_t frames) override {
    const size_t frameBytes = m_Channels * sizeof(int16_t);
    size_t done = 0;
    int holes = 0;
    while (done < frames && !m_Broken) {
      const size_t want = std::min<size_t>((frames - done) * frameBytes, 1 << 16);
      int section = 0;
      const long got = ov_read(&m_File, reinterpret_cast<char*>(out + done * m_Channels), static_cast<int>(want), 0,
                               2, 1, &section);
      if (got == 0) break;
      if (got == OV_HOLE && ++holes < 8) continue;  // a gap in the data: play on
      if (got < 0) {
        LogWarning("Sound: a damaged Ogg Vorbis stream ends early");
        m_Broken = true;
        break;
      }
      const vorbis_info* info = ov_info(&m_File, section);
      if (info && info->channels != m_Channels) {
        // A chained stream of another layout: play what came before it.
        m_Broken = true;
        break;
      }
      done += static_cast<size_t>(got) / frameBytes;
    }
    return done;
  }
  bool Reset() override {
    m_Broken = false;
    return ov_seekable(&m_File) && ov_pcm_seek(&m_File, 0) == 0;
  }

 private:
  OggVorbis_File m_File{};
  bool m_Open = false;
  bool m_Broken = false;
  uint16_t m_Channels = 0;
  uint32_t m_Rate = 0;
};

}  // namespace

std::shared_ptr<SampleSource> OpenSampleSource(const std::string& name, std::string* error) {
  FILE* file = OpenFile(name, "rb");
  if (!file) {
    Fail(error, "cannot be opened");
    return nullptr;
  }
  char magic[4] = {};
  const bool haveMagic = std::fread(magic, 1, 4, file) == 4;
  if (haveMagic && std::memcmp(magic, "OggS", 4) == 0) {
    std::rewind(file);
    auto source = std::make_shared<VorbisSource>();
    if (!source->Open(file, error)) return nullptr;  // the source owns and closes the file
    return source;
  }
  std::fclose(file);
  if (haveMagic && std::memcmp(magic, "RIFF", 4) == 0) {
    std::vector<uint8_t> bytes;
    PcmFormat format;
    std::vector<uint8_t> samples;
    if (!ReadWholeFile(name, bytes)) {
      Fail(error, "cannot be read");
      return nullptr;
    }
    if (!DecodeWave(bytes.data(), bytes.size(), format, samples, error)) return nullptr;
    return std::make_shared<WaveSource>(format, samples);
  }
  Fail(error, "unknown sound format");
  return nullptr;
}

}  // namespace platform
