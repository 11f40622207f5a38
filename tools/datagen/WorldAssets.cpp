// What the game world loads for itself beyond the level objects' meshes:
// the mouse cursor, the ability's sound and the access card's mesh.
#include <string>

#include "tools/datagen/DataGen.h"
#include "tools/datagen/MechanismMeshKit.h"
#include "tools/datagen/SoundLevels.h"
#include "tools/formats/GraphicsFiles.h"
#include "tools/formats/SoundFiles.h"

namespace {

using datagen::MeshKit;
using datagen::Rgb;

// A 16 x 16 arrow pointing up-left, white with a black rim, transparent
// elsewhere. The world centres the image on the mouse position.
std::string Cursor() {
  formats::TestPicture p(16, 16, 0x00000000u);
  for (uint32_t y = 0; y < 16; ++y) {
    // The head widens by one pixel a row down to row 10; the shaft below.
    const uint32_t width = y < 11 ? y + 1 : (y < 15 ? 4 : 0);
    const uint32_t start = y < 11 ? 0 : 3;
    for (uint32_t x = start; x < start + width && x < 16; ++x) {
      const bool rim = x == start || x + 1 == start + width || y == 10 || y == 14;
      p.At(x, y) = rim ? 0xFF000000u : 0xFFFFFFFFu;
    }
  }
  return formats::TgaBytes(p, true);
}

// A flat key card lying on the ground with a chip and a stripe.
std::string AccessCard() {
  MeshKit kit;
  kit.Box({-30, -20, 40}, {30, 20, 44}, Rgb(0.2f, 0.55f, 0.95f));
  kit.Box({-22, -8, 44}, {-8, 8, 46}, Rgb(0.95f, 0.8f, 0.2f));
  kit.Box({0, -20.5f, 41}, {30.5f, -12, 43.5f}, Rgb(0.95f, 0.95f, 0.95f));
  return kit.FileBytes("AccessCard");
}

bool WriteWorldAssets(const datagen::Output& out) {
  bool ok = out.Write("Mouse.tga", Cursor());
  ok &= out.Write("AccessCard.X", AccessCard());
  formats::Tone tone;
  tone.frequency = 1200;
  tone.seconds = 0.5;
  tone.amplitude = datagen::PeakOf(datagen::SoundLevel::Effect);
  tone.sampleRate = 22050;
  ok &= out.Write("Ability.wav", formats::WaveToneBytes(tone));
  return ok;
}

}  // namespace

DATAGEN_GROUP("world-assets", WriteWorldAssets);
