// The level mechanisms' demo data besides the meshes: the particle files
// with the kinds and durations their effects rely on, the side files read
// the way their loaders read them (and agreeing with the meshes they name),
// the textures and the sounds, loaded from the data folder.
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/particles/ParticleEmitter.h"
#include "engine/particles/ParticleFile.h"
#include "engine/resources/Texture.h"
#include "engine/sound/AudiereSound.h"
#include "engine/sound/WaveSound.h"
#include "game/files/LevelFiles.h"
#include "game/mechanisms/MechanismAssetsSupport.h"
#include "platform/Sound.h"

namespace {

using mechtest::DemoData;
using mechtest::MeshExtent;

class MechanismAssetFiles : public mechtest::DemoDataEngineTest {
 protected:
  // A text side file opened as its loader opens it; closed by the holder.
  static std::unique_ptr<FILE, int (*)(FILE*)> Open(const std::string& name) {
    FILE* f = std::fopen((DemoData() + name).c_str(), "rt");
    EXPECT_NE(f, nullptr) << name;
    return {f, [](FILE* file) { return file ? std::fclose(file) : 0; }};
  }
  static bool Exists(const std::string& name) { return platform::FileExists(DemoData() + name); }
};

Nembra::PARTICLE_FILE ParsePfx(const std::string& name) {
  std::vector<uint8_t> bytes;
  Nembra::PARTICLE_FILE file;
  EXPECT_TRUE(platform::ReadWholeFile(DemoData() + name, bytes)) << name;
  std::string error;
  EXPECT_TRUE(Nembra::ParseParticleFile(bytes.data(), bytes.size(), name, file, &error)) << name << ": " << error;
  return file;
}

// Seconds until the emitter of the named file has finished, in 0.02 s steps.
float Lifetime(const std::string& name) {
  std::unique_ptr<Nembra::CParticleEmitter> emitter(Nembra::CreateParticleEmitter(name));
  if (!emitter) return -1.0f;
  const D3DXMATRIX view;
  int frames = 0;
  while (!emitter->IsFinished() && frames < 2000) {
    emitter->Simulate(0.02f, D3DXVECTOR3(0, 0, 0), view);
    ++frames;
  }
  return 0.02f * float(frames);
}

TEST_F(MechanismAssetFiles, ParticleFilesHaveTheKindsAndLivesTheirEffectsNeed) {
  struct Expected {
    const char* name;
    Nembra::EMITTER_KIND kind;
  };
  for (const Expected& e : {Expected{"BarrelBreak.pfx", Nembra::EMITTER_CYLINDER}, {"Bomb.pfx", Nembra::EMITTER_SPHERE},
                            {"PushableCollision.pfx", Nembra::EMITTER_POINT}, {"Spark.pfx", Nembra::EMITTER_POINT},
                            {"WireGrateExplosion.pfx", Nembra::EMITTER_SPHERE}, {"DoorBreak.pfx", Nembra::EMITTER_POINT},
                            {"WWExplosion.pfx", Nembra::EMITTER_SPHERE}}) {
    SCOPED_TRACE(e.name);
    const Nembra::PARTICLE_FILE file = ParsePfx(e.name);
    ASSERT_TRUE(file.params);
    EXPECT_EQ(file.params->Kind(), e.kind);
    EXPECT_GT(file.params->duration, 0.0f) << "a one-shot effect ends";
    EXPECT_TRUE(Exists(file.params->textureName)) << file.params->textureName;
    EXPECT_NE(Nembra::g_pTextureFactory->Get(file.params->textureName), Nembra::g_pTextureFactory->GetDefault());
    const float life = Lifetime(e.name);
    EXPECT_GT(life, 0.0f);
    EXPECT_LT(life, 3.0f) << "short bursts";
  }
  // The generators' bars glow until the level ends.
  for (const char* name : {"GenBarRed.pfx", "GenBarBlue.pfx"}) {
    const Nembra::PARTICLE_FILE file = ParsePfx(name);
    ASSERT_TRUE(file.params) << name;
    EXPECT_LE(file.params->duration, 0.0f) << name;
    EXPECT_GT(Lifetime(name), 39.0f) << name << " never finishes";
  }
  // The barrel blast reaches the cylinder's radius.
  const Nembra::PARTICLE_FILE barrel = ParsePfx("BarrelBreak.pfx");
  ASSERT_EQ(barrel.params->Kind(), Nembra::EMITTER_CYLINDER);
  EXPECT_EQ(static_cast<const Nembra::CYLINDER_EMITTER_PARAMS&>(*barrel.params).radius, 150.0f);
  // The bomb's blast grows from 50 by 700 a second while the effect lives:
  // it must outlive the growth to 700.
  EXPECT_GT(Lifetime("Bomb.pfx"), 1.0f);
}

TEST_F(MechanismAssetFiles, DoorDescriptionsNameTheirMeshesAndItsSize) {
  struct Door {
    const char* file;
    bool skinned;
  };
  for (const Door& door : {Door{"Door_Desc.txt", false}, Door{"SlidingDoor_Desc.txt", true}}) {
    SCOPED_TRACE(door.file);
    auto f = Open(door.file);
    ASSERT_TRUE(f);
    char mesh[260] = {};
    float width = 0, depth = 0;
    ASSERT_EQ(std::fscanf(f.get(), "%259[^\n]", mesh), 1);
    ASSERT_EQ(std::fscanf(f.get(), "%f", &width), 1);
    ASSERT_EQ(std::fscanf(f.get(), "%f", &depth), 1);
    EXPECT_GT(depth, 0.0f);
    if (door.skinned) {
      Nembra::CSkinnedMesh* m = SkinnedMesh(mesh);
      ASSERT_NE(m, nullptr);
      EXPECT_GE(m->GetBoundingSphereRadius() * 2.0f, width);
    } else {
      Nembra::CSimpleMesh* m = SimpleMesh(mesh);
      ASSERT_NE(m, nullptr);
      EXPECT_FLOAT_EQ(MeshExtent(*m).Width(), width) << "the boxes cover the door";
      EXPECT_FLOAT_EQ(MeshExtent(*m).Depth(), depth);
    }
  }
}

TEST_F(MechanismAssetFiles, GrateDescriptionAndOpenedShapesFitTheGrate) {
  auto f = Open("WireGrate_Desc.txt");
  ASSERT_TRUE(f);
  char closed[260] = {}, opened[260] = {}, effect[260] = {}, shapes[2][260] = {};
  float width = 0, depth = 0;
  int breakable = 0;
  ASSERT_EQ(std::fscanf(f.get(), "%259s\n", closed), 1);
  ASSERT_EQ(std::fscanf(f.get(), "%259s\n", opened), 1);
  ASSERT_EQ(std::fscanf(f.get(), "%259s\n", effect), 1);
  ASSERT_EQ(std::fscanf(f.get(), "%f", &width), 1);
  ASSERT_EQ(std::fscanf(f.get(), "%f", &depth), 1);
  ASSERT_EQ(std::fscanf(f.get(), "%d", &breakable), 1);
  ASSERT_EQ(std::fscanf(f.get(), "%259s\n", shapes[0]), 1);
  ASSERT_EQ(std::fscanf(f.get(), "%259s\n", shapes[1]), 1);
  EXPECT_STREQ(closed, "WireGrate.X");
  EXPECT_STREQ(opened, "WireGrateOpened.X");
  EXPECT_STREQ(effect, "WireGrateExplosion.pfx");
  EXPECT_EQ(breakable, 1);
  const mechtest::Extent grate = MeshExtent(*SimpleMesh(closed));
  EXPECT_FLOAT_EQ(grate.Width(), width);
  EXPECT_FLOAT_EQ(grate.Depth(), depth);
  ParsePfx(effect);

  // Two posts per file, inside the closed box in class 0 and enclosing them in class 1.
  WIRE_GRATE_SHAPE_FILE files[2];
  for (int c = 0; c < 2; ++c) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(platform::ReadWholeFile(DemoData() + shapes[c], bytes)) << shapes[c];
    ASSERT_TRUE(ParseWireGrateShapeFile(bytes, files[c])) << shapes[c];
    for (const SHAPE_RECORD& s : files[c].shapes) {
      ASSERT_EQ(s.vertices.size(), 5u) << "a closed outline";
      EXPECT_EQ(s.vertices.front(), s.vertices.back());
    }
  }
  for (int k = 0; k < 2; ++k) {
    const SHAPE_RECORD &tight = files[0].shapes[k], &wide = files[1].shapes[k];
    for (const D3DXVECTOR3& v : tight.vertices) {
      EXPECT_LE(std::abs(v.x), width / 2 + 0.01f);
      EXPECT_LE(std::abs(v.y), depth / 2 + 0.01f);
    }
    float tightMin = 1e9f, tightMax = -1e9f, wideMin = 1e9f, wideMax = -1e9f;
    for (const D3DXVECTOR3& v : tight.vertices) tightMin = std::min(tightMin, v.y), tightMax = std::max(tightMax, v.y);
    for (const D3DXVECTOR3& v : wide.vertices) wideMin = std::min(wideMin, v.y), wideMax = std::max(wideMax, v.y);
    EXPECT_NEAR((wideMax - wideMin) - (tightMax - tightMin), 170.0f, 0.01f) << "as deep as the closed class-1 box";
  }
  // The posts stand on either side of the passage.
  EXPECT_LT(files[0].shapes[0].vertices[1].x, 0.0f);
  EXPECT_GT(files[0].shapes[1].vertices[0].x, 0.0f);
}

TEST_F(MechanismAssetFiles, PushablePartsFileNamesTwoWheelsAlongTheBlock) {
  auto f = Open("Pushable_Parts.txt");
  ASSERT_TRUE(f);
  float height = 0;
  int count = 0;
  ASSERT_EQ(std::fscanf(f.get(), "%f\n%i\n", &height, &count), 2);
  EXPECT_FLOAT_EQ(height, 30.0f) << "the wheels' radius: they touch the floor";
  ASSERT_EQ(count, 2);
  const mechtest::Extent block = MeshExtent(*SimpleMesh("Pushable.X"));
  EXPECT_FLOAT_EQ(block.low.x, 0.0f) << "the block runs forward from its position";
  EXPECT_FLOAT_EQ(block.low.z, height) << "and rides on its wheels";
  for (int k = 0; k < count; ++k) {
    char mesh[260] = {};
    float x = 0;
    ASSERT_EQ(std::fscanf(f.get(), "%259s\n%f", mesh, &x), 2);
    Nembra::CSimpleMesh* wheel = SimpleMesh(mesh);
    ASSERT_NE(wheel, nullptr) << mesh;
    EXPECT_EQ(wheel->GetSubsets().size(), 1u);
    const mechtest::Extent e = MeshExtent(*wheel);
    EXPECT_NEAR(e.Height(), 2 * height, 0.5f) << mesh;
    EXPECT_GT(x, block.low.x);
    EXPECT_LT(x, block.high.x);
  }
}

TEST_F(MechanismAssetFiles, LaserDurationsAreAllPositive) {
  auto f = Open("Laser_Durations.txt");
  ASSERT_TRUE(f);
  int count = 0;
  ASSERT_EQ(std::fscanf(f.get(), "%d", &count), 1);
  ASSERT_GE(count, 2);
  for (int k = 0; k < count; ++k) {
    float seconds = 0;
    ASSERT_EQ(std::fscanf(f.get(), "%f", &seconds), 1) << k;
    EXPECT_GT(seconds, 0.0f) << k;
  }
}

TEST_F(MechanismAssetFiles, TexturesLoad) {
  for (const char* name : {"ItemMarker.tga", "MarkerSmall.tga", "Marker.tga", "FlowRed.jpg", "FlowBlue.jpg",
                           "LaserHurt.tga", "LaserKill.tga", "LaserScript.tga"}) {
    Nembra::CTexture* texture = Nembra::g_pTextureFactory->Get(name);
    EXPECT_NE(texture, Nembra::g_pTextureFactory->GetDefault()) << name;
  }
}

TEST_F(MechanismAssetFiles, SoundsLoadFromTheFactoriesThatPlayThem) {
  const std::vector<std::string> wave = {"BoxExplosion.wav",      "ItemPickUp.wav",        "DoorExplosion.wav",
                                         "GeneratorCorrect.wav",  "GeneratorIncorrect.wav", "ConnectorInsertRemove.wav",
                                         "ConnectorIncorrect.wav", "BarrelExplosion.wav"};
  for (const std::string& name : wave) {
    SCOPED_TRACE(name);
    if (name != "BarrelExplosion.wav") {
      Nembra::CWaveSound* sound = Nembra::g_pWaveSoundFactory->Get(name);
      EXPECT_NE(Nembra::g_pWaveSoundFactory->Find(name), nullptr);
      EXPECT_TRUE(sound->IsLoaded());
    } else {
      Nembra::g_pAudiereSoundFactory->Get(name);
      EXPECT_NE(Nembra::g_pAudiereSoundFactory->Find(name), nullptr) << "the barrel plays through audiere";
    }
    // Short, audible (mastered to -25 dBFS or more), mono.
    std::shared_ptr<platform::SampleSource> source = platform::OpenSampleSource(DemoData() + name);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->Channels(), 1u);
    std::vector<int16_t> samples(source->SampleRate() * 2);
    const size_t frames = source->Read(samples.data(), samples.size());
    const double seconds = double(frames) / source->SampleRate();
    EXPECT_GT(seconds, 0.05);
    EXPECT_LT(seconds, 1.0);
    int peak = 0;
    for (size_t i = 0; i < frames; ++i) peak = std::max(peak, std::abs(int(samples[i])));
    EXPECT_GT(peak, 1500);
    EXPECT_LT(std::abs(int(samples[frames - 1])), 4000) << "ends quietly, no click";
  }
}

}  // namespace
