// The rings of the shock waves: flat textured bands in the x-y plane whose
// outer edge has radius 1 (the waves scale them by their radius), facing
// up, one subset each.
#include <cmath>

#include "tools/datagen/DataGen.h"
#include "tools/formats/XFileWriter.h"

namespace datagen {
namespace {

constexpr uint32_t RING_SEGMENTS = 48;
constexpr float RING_INNER = 0.8f;

std::string RingFile(const std::string& texture) {
  formats::XMeshDesc ring;
  ring.Name = "Ring";
  for (uint32_t i = 0; i <= RING_SEGMENTS; ++i) {
    const float a = 2.0f * 3.14159265f * static_cast<float>(i % RING_SEGMENTS) / RING_SEGMENTS;
    const float u = static_cast<float>(i) / RING_SEGMENTS;
    ring.Positions.push_back({RING_INNER * std::cos(a), RING_INNER * std::sin(a), 0});
    ring.Positions.push_back({std::cos(a), std::sin(a), 0});
    ring.TexCoords.push_back({u, 0});
    ring.TexCoords.push_back({u, 1});
  }
  ring.Normals.push_back({0, 0, 1});
  for (uint32_t i = 0; i < RING_SEGMENTS; ++i) {
    const uint32_t in = 2 * i, outer = 2 * i + 1;
    // Counter-clockwise seen from above.
    ring.Faces.push_back({in, outer, outer + 2, in + 2});
    ring.NormalFaces.push_back({0, 0, 0, 0});
    ring.FaceMaterials.push_back(0);
  }
  formats::XMaterialDesc material;
  material.Face = {1, 1, 1, 1};
  material.Emissive = {1, 1, 1};
  material.Texture = texture;
  ring.Materials.push_back(material);
  formats::XFileDesc file;
  file.Meshes.push_back(ring);
  return formats::XFileBinary(file);
}

bool WriteWaves(const Output& out) {
  bool ok = out.Write("WaveRed.X", RingFile("WaveRed.tga"));
  ok &= out.Write("WaveBlue.X", RingFile("WaveBlue.tga"));
  ok &= out.Write("AbilityWave.X", RingFile("AbilityWave.tga"));
  return ok;
}

}  // namespace

DATAGEN_GROUP("effects-waves", WriteWaves);

}  // namespace datagen
