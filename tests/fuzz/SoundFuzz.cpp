// Fuzz target of the sound readers: .wav files decoded in memory, .ogg (and
// .wav) opened as sample sources from a file and read to their end. Any bytes
// are refused or give whole frames of a format the mixer takes. Seeds: short
// tones from the sound writers, as 8- and 16-bit .wav and as .ogg, mono and
// stereo.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include "fuzz/FuzzSeeds.h"
#include "platform/Sound.h"
#include "tools/formats/SoundFiles.h"

namespace {

const std::string& ScratchFile() {
  static const std::string path = [] {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/karvessa-sound-fuzz-" + std::to_string(getpid()) + ".snd";
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::PcmFormat format;
  std::vector<uint8_t> samples;
  std::string error;
  if (platform::DecodeWave(data, size, format, samples, &error)) {
    if ((format.channels != 1 && format.channels != 2) || (format.bitsPerSample != 8 && format.bitsPerSample != 16) ||
        format.sampleRate == 0 || samples.size() % format.BytesPerFrame() != 0)
      __builtin_trap();
  } else if (error.empty()) {
    __builtin_trap();
  }

  FILE* file = std::fopen(ScratchFile().c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  if (auto source = platform::OpenSampleSource(ScratchFile())) {
    if (source->Channels() != 1 && source->Channels() != 2) __builtin_trap();
    std::vector<int16_t> pcm(4096 * 2);
    size_t total = 0;
    for (size_t got; (got = source->Read(pcm.data(), 4096)) > 0 && total < (1u << 22);) {
      if (got > 4096) __builtin_trap();
      total += got;
    }
    source->Reset();
    source->Read(pcm.data(), 16);
  }
  std::remove(ScratchFile().c_str());
  return 0;
}

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  std::vector<std::vector<uint8_t>> seeds;
  for (uint16_t channels : {1, 2}) {
    formats::Tone tone;
    tone.seconds = 0.05;
    tone.channels = channels;
    tone.sampleRate = channels == 1 ? 22050 : 44100;
    for (const std::string& s : {formats::WaveToneBytes(tone, 8), formats::WaveToneBytes(tone, 16),
                                 formats::OggToneBytes(tone)})
      if (!s.empty()) seeds.emplace_back(s.begin(), s.end());
  }
  return seeds;
}
