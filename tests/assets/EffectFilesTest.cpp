// The generated effect files as the game's code uses them: particle files
// parse with the kind and duration their users need (one-shot effects end,
// trails and bars never do), their textures exist, the health bar has its
// rows, the shock-wave rings are flat unit bands, and the sounds load
// through the factories that play them.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "assets/AssetTestSupport.h"
#include "engine/particles/ParticleEmitter.h"
#include "engine/particles/ParticleFile.h"
#include "engine/resources/Mesh.h"
#include "engine/sound/AudiereSound.h"
#include "engine/sound/WaveSound.h"
#include "platform/Image.h"

using namespace Nembra;

namespace {

enum Life { ONE_SHOT, ENDLESS, TRAIL };

struct ExpectedPfx {
  const char* name;
  Life life;
};

const ExpectedPfx PARTICLE_FILES[] = {
    {"ImpactoBalaAzul.pfx", ONE_SHOT},
    {"ImpactoBalaRoja.pfx", ONE_SHOT},
    {"WWExplosion.pfx", ONE_SHOT},
    {"Enemy2EstelaBala.pfx", TRAIL},
    {"Enemy3EstelaBala.pfx", TRAIL},
    {"Enemy2ImpactoBala.pfx", ONE_SHOT},
    {"Enemy3ImpactoBala.pfx", ONE_SHOT},
    {"Disparo Arma 0.pfx", ONE_SHOT},
    {"BulletEmissionRed.pfx", ONE_SHOT},
    {"BulletEmissionBlue.pfx", ONE_SHOT},
    {"DoorBreak.pfx", ONE_SHOT},
    {"Boss0HitRed.pfx", ONE_SHOT},
    {"Boss0AbilityBulletHit.pfx", ONE_SHOT},
    {"Boss0KillRed.pfx", ONE_SHOT},
    {"Boss0KillBlue.pfx", ONE_SHOT},
    {"Boss1ImpactoBala.pfx", ONE_SHOT},
    {"Boss1LaserImpact.pfx", ONE_SHOT},
    {"Boss1Kill.pfx", ONE_SHOT},
    {"GenBarRed.pfx", ENDLESS},
    {"GenBarBlue.pfx", ENDLESS},
    {"Boss0ShotRed.pfx", TRAIL},
    {"Boss0ShotBlue.pfx", TRAIL},
    {"Boss0Ability.pfx", TRAIL},
    {"Boss1Bullet.pfx", TRAIL},
    {"Boss1EstelaBala.pfx", TRAIL},
};

bool ReadParticleFile(const std::string& name, PARTICLE_FILE& out) {
  std::vector<uint8_t> bytes;
  if (!platform::ReadWholeFile(assettest::DataFolder() + name, bytes)) return false;
  std::string error;
  const bool ok = ParseParticleFile(bytes.data(), bytes.size(), name, out, &error);
  EXPECT_TRUE(ok) << name << ": " << error;
  return ok;
}

// Frames of 0.02 s until the emitter finishes (at most `limit`); -1 when it never does.
int FramesToFinish(CParticleEmitter& emitter, int limit) {
  D3DXMATRIX view;
  D3DXMatrixIdentity(&view);
  for (int f = 1; f <= limit; ++f) {
    emitter.Simulate(0.02f, D3DXVECTOR3(0, 0, 0), view);
    if (emitter.IsFinished()) return f;
  }
  return -1;
}

class EffectFiles : public assettest::DemoAssetTest {};

uint32_t Alpha(uint32_t argb) { return argb >> 24; }
uint32_t Red(uint32_t argb) { return (argb >> 16) & 0xFF; }
uint32_t Blue(uint32_t argb) { return argb & 0xFF; }

}  // namespace

TEST_F(EffectFiles, ParticleFilesHaveTheKindAndLifeTheirUsersNeed) {
  for (const ExpectedPfx& want : PARTICLE_FILES) {
    SCOPED_TRACE(want.name);
    PARTICLE_FILE file;
    ASSERT_TRUE(ReadParticleFile(want.name, file));
    EXPECT_TRUE(platform::FileExists(assettest::DataFolder() + file.params->textureName)) << file.params->textureName;
    std::unique_ptr<CParticleEmitter> emitter(CreateParticleEmitter(want.name));
    ASSERT_NE(emitter, nullptr);
    if (want.life == ONE_SHOT) {
      EXPECT_GT(file.params->duration, 0.0f);
      const int frames = FramesToFinish(*emitter, 300);
      EXPECT_GT(frames, 1);
      EXPECT_LT(frames, 200) << "a one-shot effect is over within 4 s";
    } else {
      EXPECT_LE(file.params->duration, 0.0f) << "never stops emitting";
      if (want.life == TRAIL) {
        EXPECT_EQ(file.params->directed, 1) << "a trail follows its emission direction";
      }
      EXPECT_EQ(FramesToFinish(*emitter, 500), -1);
    }
  }
}

TEST_F(EffectFiles, AbilityIsASphereWithARadiusThatEnds) {
  PARTICLE_FILE file;
  ASSERT_TRUE(ReadParticleFile("Ability.pfx", file));
  ASSERT_EQ(file.params->Kind(), EMITTER_SPHERE);
  const auto& sphere = static_cast<const SPHERE_EMITTER_PARAMS&>(*file.params);
  EXPECT_FLOAT_EQ(sphere.radius, 50.0f);
  EXPECT_GT(sphere.duration, 0.0f);
  EXPECT_LT(sphere.duration, 2.0f);
  std::unique_ptr<CParticleEmitter> emitter(CreateParticleEmitter("Ability.pfx"));
  ASSERT_NE(emitter, nullptr);
  const int frames = FramesToFinish(*emitter, 300);
  EXPECT_GT(frames, 50);
  EXPECT_LT(frames, 120);
}

TEST_F(EffectFiles, HealthBarRowsHoldTheFillsAndTheFrame) {
  platform::Image bar;
  ASSERT_TRUE(platform::LoadImageFile(assettest::DataFolder() + "EnemyHealth.tga", bar));
  ASSERT_GE(bar.width, 44u);
  ASSERT_GE(bar.height, 20u);
  // Power-of-two sides: the texture is used at its own pixel rectangles.
  EXPECT_EQ(bar.width & (bar.width - 1), 0u);
  EXPECT_EQ(bar.height & (bar.height - 1), 0u);
  const auto at = [&](uint32_t x, uint32_t y) { return bar.argb[size_t(y) * bar.width + x]; };
  for (uint32_t y = 0; y < 4; ++y) {
    for (uint32_t x : {0u, 18u, 36u}) {
      EXPECT_EQ(Alpha(at(x, y)), 255u);
      EXPECT_GT(Red(at(x, y)), Blue(at(x, y)) + 100) << x << "," << y << ": red fill";
      EXPECT_EQ(Alpha(at(x, y + 16)), 255u);
      EXPECT_GT(Blue(at(x, y + 16)), Red(at(x, y + 16)) + 100) << x << "," << y + 16 << ": blue fill";
    }
    EXPECT_EQ(Alpha(at(37, y)), 0u) << "the fill is 37 wide";
    EXPECT_EQ(Alpha(at(37, y + 16)), 0u);
  }
  for (uint32_t y = 4; y < 16; ++y) {
    EXPECT_EQ(Alpha(at(0, y)), 255u) << y;
    EXPECT_EQ(Alpha(at(43, y)), 255u) << y;
    EXPECT_GT(Alpha(at(20, y)), 0u) << y;
    EXPECT_EQ(Alpha(at(44, y)), 0u) << "the frame is 44 wide";
  }
  EXPECT_EQ(Alpha(at(10, 20)), 0u);
}

TEST_F(EffectFiles, SoulsGlowAndShotStripsExist) {
  for (const char* name : {"RedSoul.tga", "BlueSoul.tga"}) {
    platform::Image soul;
    ASSERT_TRUE(platform::LoadImageFile(assettest::DataFolder() + name, soul)) << name;
    const uint32_t centre = soul.argb[size_t(soul.height / 2) * soul.width + soul.width / 2];
    EXPECT_GT(Alpha(centre), 200u) << name;
    EXPECT_EQ(Alpha(soul.argb[0]), 0u) << name << ": clear corners";
  }
  platform::Image red, blue;
  ASSERT_TRUE(platform::LoadImageFile(assettest::DataFolder() + "RedSoul.tga", red));
  ASSERT_TRUE(platform::LoadImageFile(assettest::DataFolder() + "BlueSoul.tga", blue));
  const size_t ring = size_t(red.height / 2) * red.width + red.width / 2 + red.width / 4;
  EXPECT_GT(Red(red.argb[ring]), Blue(red.argb[ring]) + 80);
  EXPECT_GT(Blue(blue.argb[ring]), Red(blue.argb[ring]) + 80);
  for (const char* colour : {"Red", "Blue"})
    for (int power = 1; power <= 3; ++power) {
      const std::string name = std::string("PlayerShot") + std::to_string(power);
      platform::Image strip;
      const std::string file = std::string("Player") + colour + "Shot" + std::to_string(power) + ".tga";
      ASSERT_TRUE(platform::LoadImageFile(assettest::DataFolder() + file, strip)) << file;
      const uint32_t head = strip.argb[size_t(strip.height / 2) * strip.width + strip.width - 1];
      const uint32_t tail = strip.argb[size_t(strip.height / 2) * strip.width];
      EXPECT_GT(Alpha(head), Alpha(tail)) << file << ": bright at the head";
    }
  for (const char* name : {"Ene8Bullet.tga", "Bullet.tga", "GasParticle.tga"}) {
    platform::Image image;
    EXPECT_TRUE(platform::LoadImageFile(assettest::DataFolder() + name, image)) << name;
  }
}

TEST_F(EffectFiles, WaveRingsAreFlatTexturedUnitBands) {
  for (const char* name : {"WaveRed.X", "WaveBlue.X", "AbilityWave.X"}) {
    SCOPED_TRACE(name);
    CSimpleMesh* mesh = g_pSimpleMeshFactory->Get(name);
    ASSERT_NE(mesh, nullptr);
    ASSERT_NE(mesh, g_pSimpleMeshFactory->GetDefault());
    ASSERT_EQ(mesh->GetSubsets().size(), 1u);
    const CTextureSet& textures = mesh->GetSubsets()[0].GetTextures();
    ASSERT_GE(textures.GetCount(), 1u);
    ASSERT_NE(textures.GetTexture(0), nullptr);
    EXPECT_NE(textures.GetTexture(0), g_pTextureFactory->GetDefault());
    platform::ID3DXMesh* d3d = mesh->GetMesh();
    ASSERT_NE(d3d, nullptr);
    void* data = nullptr;
    ASSERT_EQ(d3d->LockVertexBuffer(platform::D3DLOCK_READONLY, &data), platform::S_OK);
    const uint32_t stride = d3d->GetNumBytesPerVertex();
    float outer = 0, inner = 1e9f, height = 0;
    for (uint32_t i = 0; i < d3d->GetNumVertices(); ++i) {
      float p[3];
      std::memcpy(p, static_cast<const uint8_t*>(data) + size_t(i) * stride, sizeof p);
      const float r = std::hypot(p[0], p[1]);
      outer = std::max(outer, r);
      inner = std::min(inner, r);
      height = std::max(height, std::fabs(p[2]));
    }
    d3d->UnlockVertexBuffer();
    EXPECT_NEAR(outer, 1.0f, 1e-4f);
    EXPECT_GT(inner, 0.5f) << "a band, not a disc";
    EXPECT_EQ(height, 0.0f);
  }
}

TEST_F(EffectFiles, SoundsLoadThroughTheFactoriesThatPlayThem) {
  for (const char* name :
       {"CollectEnergy.wav", "PlayerDamaged.wav", "Golpe Chica.wav", "WeaponBlueShot.wav", "WeaponRedShot.wav",
        "WeaponNoBullets.wav", "Arma 0.wav", "WeaponMiss.wav", "Ene1Herido.wav", "Ene7Herido.wav", "Ene2Disparo.wav",
        "Ene2Herido.WAV", "Ene2ColDisparo.wav", "Ene3Disparo.wav", "Ene3Herido.wav", "Ene3ColDisparo.wav",
        "Ene8Disparo.wav", "Ene8Herido.wav", "BarrelExplosion.wav", "Ene6Disparo.wav", "Ene6Herido.wav",
        "Ene6Gas.wav", "Ene6ColDisparo.wav"}) {
    CWaveSound* sound = g_pWaveSoundFactory->Get(name);
    EXPECT_NE(sound, g_pWaveSoundFactory->GetDefault()) << name;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(platform::ReadWholeFile(assettest::DataFolder() + name, bytes)) << name;
    platform::PcmFormat format;
    std::vector<uint8_t> samples;
    ASSERT_TRUE(platform::DecodeWave(bytes.data(), bytes.size(), format, samples)) << name;
    const double seconds = double(samples.size()) / format.BytesPerFrame() / format.sampleRate;
    EXPECT_GT(seconds, 0.05) << name;
    EXPECT_LT(seconds, 1.0) << name << ": short";
  }
  // Streamed through the audiere factory: the ability's ready signal and
  // the blast the barrels play.
  for (const char* name : {"AbilityReady.wav", "BarrelExplosion.wav", "Ene3Disparo.wav"})
    EXPECT_NE(g_pAudiereSoundFactory->Get(name), g_pAudiereSoundFactory->GetDefault()) << name;
}

// Every generated sound is mastered with headroom for the gains the game
// stacks on top at the default settings (effects at 0 dB under the sound
// device's +10 dB master, the music at 0.7): the explosions peak at -17
// dBFS, every other effect at -25 dBFS, the music at -5 dBFS (the encoder
// may add up to 1 dB to that peak). The music tracks run at least a minute
// before they repeat, start and end near silence (the loop does not click),
// and run on through the loop at a musical level: no half second within
// three seconds either side of the loop point falls 12 dB below the
// track's own level.
TEST_F(EffectFiles, SoundsKeepTheirHeadroomAndTheMusicLoopsWithoutAClickOrAHole) {
  const std::vector<std::string> tracks = {"Karvessa.ogg", "Music_Tutorial.ogg", "Music_Level4.ogg",
                                           "Music_Level8.ogg", "Music_Intermedio.ogg", "Music_Level12.ogg"};
  const std::vector<std::string> blasts = {"BarrelExplosion.wav", "BoxExplosion.wav", "DoorExplosion.wav"};
  const auto dB = [](double level) { return 20.0 * std::log10(std::max(level, 1e-9)); };
  int sounds = 0, loops = 0;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(assettest::DataFolder(), ec)) {
    std::string ext = entry.path().extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (ext != ".wav" && ext != ".ogg") continue;
    const std::string name = entry.path().filename().string();
    auto source = platform::OpenSampleSource(entry.path().string());
    ASSERT_TRUE(source) << name;
    std::vector<int16_t> all, chunk(4096 * source->Channels());
    while (size_t n = source->Read(chunk.data(), 4096))
      all.insert(all.end(), chunk.begin(), chunk.begin() + n * source->Channels());
    ASSERT_FALSE(all.empty()) << name;
    ++sounds;
    int peak = 0;
    for (int16_t sample : all) peak = std::max(peak, std::abs(int(sample)));
    EXPECT_LT(peak, 32767) << name << " reaches full scale";
    const double peakDb = dB(peak / 32768.0);
    if (ext == ".wav") {
      const bool blast = std::find(blasts.begin(), blasts.end(), name) != blasts.end();
      EXPECT_NEAR(peakDb, blast ? -17.0 : -25.0, 0.5) << name;
      continue;
    }
    EXPECT_LT(peakDb, -4.0) << name << " leaves no headroom";  // 1 dB for the encoder
    if (std::find(tracks.begin(), tracks.end(), name) == tracks.end()) continue;
    ++loops;
    const uint32_t rate = source->SampleRate();
    const size_t channels = source->Channels(), frames = all.size() / channels;
    EXPECT_GE(double(frames) / rate, 60.0) << name;
    EXPECT_LT(std::abs(int(all.front())), 300) << name;
    EXPECT_LT(std::abs(int(all.back())), 300) << name;

    // The level of half a second from a frame on, the track played round.
    const auto rmsFrom = [&](size_t first) {
      double energy = 0.0;
      for (size_t i = 0; i < rate / 2; ++i)
        for (size_t c = 0; c < channels; ++c) {
          const double s = all[((first + i) % frames) * channels + c] / 32768.0;
          energy += s * s;
        }
      return std::sqrt(energy / (rate / 2 * channels));
    };
    double energy = 0.0;
    for (int16_t sample : all) energy += (sample / 32768.0) * (sample / 32768.0);
    const double trackDb = dB(std::sqrt(energy / all.size()));
    double quietest = 0.0;
    size_t quietestAt = 0;
    for (size_t at = frames - 3 * rate; at < frames + 3 * rate - rate / 2; at += rate / 10) {
      const double level = dB(rmsFrom(at % frames));
      if (quietestAt == 0 || level < quietest) {
        quietest = level;
        quietestAt = at;
      }
    }
    EXPECT_GT(quietest, trackDb - 12.0) << name << ": a hole " << (double(quietestAt) - frames) / rate
                                        << " s from the loop point";
  }
  EXPECT_GT(sounds, 30);
  EXPECT_EQ(loops, 6);
}
