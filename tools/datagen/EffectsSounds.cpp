// Sounds of the player and the enemies: short tones, low for hurt and
// blasts, high for shots and pick-ups. Every sound factory of the game
// reads the data folder itself, so all of them lie there.
#include "tools/datagen/DataGen.h"
#include "tools/datagen/SoundLevels.h"
#include "tools/formats/SoundFiles.h"

namespace datagen {
namespace {

struct Sound {
  const char* name;
  double frequency, seconds;
};

constexpr Sound SOUNDS[] = {
    // The player, its weapon and its ability.
    {"CollectEnergy.wav", 1320, 0.15},
    {"PlayerDamaged.wav", 220, 0.25},
    {"Golpe Chica.wav", 440, 0.25},
    {"WeaponBlueShot.wav", 880, 0.12},
    {"WeaponRedShot.wav", 660, 0.12},
    {"WeaponNoBullets.wav", 150, 0.1},
    {"Arma 0.wav", 520, 0.12},
    {"WeaponMiss.wav", 300, 0.1},
    {"AbilityReady.wav", 990, 0.4},
    // Enemies: shots, impacts, hurt cries.
    {"Ene1Herido.wav", 200, 0.3},
    {"Ene7Herido.wav", 240, 0.3},
    {"Ene2Disparo.wav", 700, 0.15},
    {"Ene2Herido.WAV", 180, 0.3},
    {"Ene2ColDisparo.wav", 350, 0.15},
    {"Ene3Disparo.wav", 600, 0.15},
    {"Ene3Herido.wav", 160, 0.3},
    {"Ene3ColDisparo.wav", 330, 0.15},
    {"Ene6Disparo.wav", 480, 0.2},
    {"Ene6Herido.wav", 210, 0.3},
    {"Ene6Gas.wav", 120, 0.6},
    {"Ene6ColDisparo.wav", 310, 0.15},
    {"Ene8Disparo.wav", 1000, 0.12},
    {"Ene8Herido.wav", 260, 0.3},
    // Boss deaths share the barrel's blast.
};

bool WriteSounds(const Output& out) {
  bool ok = true;
  for (const Sound& s : SOUNDS) {
    formats::Tone tone;
    tone.frequency = s.frequency;
    tone.seconds = s.seconds;
    tone.amplitude = PeakOf(SoundLevel::Effect);
    tone.sampleRate = 22050;
    ok &= out.Write(s.name, formats::WaveToneBytes(tone));
  }
  return ok;
}

}  // namespace

DATAGEN_GROUP("effects-sounds", WriteSounds);

}  // namespace datagen
