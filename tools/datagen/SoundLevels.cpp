#include "tools/datagen/SoundLevels.h"

#include <algorithm>
#include <cmath>

#include "tools/formats/SoundFiles.h"

namespace datagen {

double PeakOf(SoundLevel level) {
  double dBFS = 0.0;
  switch (level) {
    case SoundLevel::Blast:
      dBFS = -17.0;
      break;
    case SoundLevel::Effect:
      dBFS = -25.0;
      break;
    case SoundLevel::Music:
      dBFS = -5.0;
      break;
  }
  return std::pow(10.0, dBFS / 20.0);
}

void Master(std::vector<float>& samples, SoundLevel level) {
  float loudest = 0.0f;
  for (float s : samples) loudest = std::max(loudest, std::fabs(s));
  if (loudest <= 0.0f) return;
  const double gain = PeakOf(level) / loudest;
  for (float& s : samples) s = static_cast<float>(s * gain);
}

std::string MasteredWave(std::vector<float> samples, uint32_t sampleRate, SoundLevel level) {
  Master(samples, level);
  return formats::WaveBytes(samples, 1, sampleRate);
}

}  // namespace datagen
