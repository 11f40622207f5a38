// Seeds of the sound readers: short tones from the sound writers, as
// 8- and 16-bit .wav and as .ogg, mono and stereo.
#include "fuzz/FuzzSeeds.h"
#include "tools/formats/SoundFiles.h"

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
