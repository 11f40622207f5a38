#include "tools/formats/SoundFiles.h"

#include <vorbis/vorbisenc.h>

#include <cmath>
#include <algorithm>
#include <vector>

namespace formats {

namespace {

void Put16(std::string& out, uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

size_t FrameCount(const Tone& tone) {
  return static_cast<size_t>(std::lround(tone.seconds * tone.sampleRate));
}

double Sample(const Tone& tone, size_t frame) {
  const double pi = 3.14159265358979323846;
  return tone.amplitude * std::sin(2.0 * pi * tone.frequency * static_cast<double>(frame) / tone.sampleRate);
}

// The RIFF header of `frames` PCM frames, up to the data chunk's size.
std::string WaveHeader(size_t frames, uint16_t channels, uint32_t sampleRate, uint16_t bitsPerSample,
                       uint32_t& dataBytes) {
  const uint32_t bytesPerSample = bitsPerSample / 8u;
  dataBytes = static_cast<uint32_t>(frames * channels * bytesPerSample);
  std::string out = "RIFF";
  Put32(out, 36 + dataBytes + (dataBytes & 1u));
  out += "WAVEfmt ";
  Put32(out, 16);
  Put16(out, 1);
  Put16(out, channels);
  Put32(out, sampleRate);
  Put32(out, sampleRate * channels * bytesPerSample);
  Put16(out, channels * bytesPerSample);
  Put16(out, bitsPerSample);
  out += "data";
  Put32(out, dataBytes);
  return out;
}

void Put16Sample(std::string& out, double s) {
  Put16(out, static_cast<uint16_t>(static_cast<int16_t>(std::lround(s * 32767.0))));
}

}  // namespace

std::string WaveToneBytes(const Tone& tone, uint16_t bitsPerSample) {
  const size_t frames = FrameCount(tone);
  uint32_t dataBytes = 0;
  std::string out = WaveHeader(frames, tone.channels, tone.sampleRate, bitsPerSample, dataBytes);
  for (size_t i = 0; i < frames; ++i) {
    const double s = Sample(tone, i);
    for (uint16_t c = 0; c < tone.channels; ++c) {
      if (bitsPerSample == 8)
        out += static_cast<char>(static_cast<uint8_t>(std::lround(128.0 + s * 127.0)));
      else
        Put16Sample(out, s);
    }
  }
  if (dataBytes & 1u) out += '\0';
  return out;
}

std::string WaveBytes(const std::vector<float>& samples, uint16_t channels, uint32_t sampleRate) {
  const size_t frames = channels ? samples.size() / channels : 0;
  uint32_t dataBytes = 0;
  std::string out = WaveHeader(frames, channels, sampleRate, 16, dataBytes);
  for (size_t i = 0; i < frames * channels; ++i) Put16Sample(out, std::max(-1.0f, std::min(1.0f, samples[i])));
  return out;
}

std::string OggToneBytes(const Tone& tone) {
  const size_t frames = FrameCount(tone);
  std::vector<float> samples(frames * tone.channels);
  for (size_t i = 0; i < frames; ++i)
    for (uint16_t c = 0; c < tone.channels; ++c) samples[i * tone.channels + c] = static_cast<float>(Sample(tone, i));
  return OggBytes(samples, tone.channels, tone.sampleRate);
}

std::string OggBytes(const std::vector<float>& samples, uint16_t channels, uint32_t sampleRate, float quality) {
  vorbis_info info;
  vorbis_info_init(&info);
  if (channels == 0 || vorbis_encode_init_vbr(&info, channels, static_cast<long>(sampleRate), quality) != 0) {
    vorbis_info_clear(&info);
    return std::string();
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block block;
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 1);

  std::string out;
  ogg_page page;
  auto takePages = [&](bool flush) {
    while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
      out.append(reinterpret_cast<const char*>(page.header), static_cast<size_t>(page.header_len));
      out.append(reinterpret_cast<const char*>(page.body), static_cast<size_t>(page.body_len));
    }
  };

  ogg_packet header, headerComment, headerCode;
  vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &headerComment);
  ogg_stream_packetin(&stream, &headerCode);
  takePages(true);

  const size_t frames = samples.size() / channels;
  const size_t chunk = 4096;
  ogg_packet packet;
  for (size_t at = 0;; at += chunk) {
    const size_t n = at < frames ? std::min(chunk, frames - at) : 0;
    if (n > 0) {
      float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
      for (size_t i = 0; i < n; ++i)
        for (uint16_t c = 0; c < channels; ++c) buffer[c][i] = samples[(at + i) * channels + c];
    }
    vorbis_analysis_wrote(&dsp, static_cast<int>(n));  // 0 marks the end
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
        ogg_stream_packetin(&stream, &packet);
        takePages(false);
      }
    }
    if (n == 0) break;
  }
  takePages(true);

  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

}  // namespace formats
