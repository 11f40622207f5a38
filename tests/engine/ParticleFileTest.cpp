#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/app/Engine.h"
#include "engine/particles/ParticleEmitter.h"
#include "engine/particles/ParticleFile.h"
#include "engine/particles/RandomTable.h"
#include "platform/Image.h"
#include "support/TempDir.h"
#include "FxDevice.h"
#include "tools/formats/PfxFile.h"

using namespace Nembra;

namespace {

formats::PfxFile SampleFile(int32_t kind) {
  formats::PfxFile f;
  f.kind = kind;
  f.duration = 1.5f;
  f.acceleration[2] = -9.0f;
  f.initialBurst = 7;
  f.maxParticles = 64;
  f.emissionRate = 30.0f;
  f.emissionInterval = 0.25f;
  f.texture = "Spark.png";
  f.direction[0] = 0.5f;
  f.directed = 1;
  f.life = 2.0f;
  f.lifeVariation = 0.1f;
  f.speed = 12.0f;
  f.speedVariation = 3.0f;
  f.startColor[0] = 0.25f;
  f.startSize = 4.0f;
  f.endColor[3] = 0.0f;
  f.endSize = 9.0f;
  f.colorVariation[1] = 0.125f;
  f.sizeVariation = 0.5f;
  f.radius = 6.0f;
  f.onSurface = 1;
  f.growth = 0.75f;
  f.growing = 1;
  f.height = 30.0f;
  f.startPoint[0] = -5.0f;
  f.endPoint[0] = 5.0f;
  f.points = {0, 0, 0, 1, 2, 3, 4, 5, 6};
  return f;
}

PARTICLE_FILE Parse(const std::vector<uint8_t>& bytes, std::string* error = nullptr) {
  PARTICLE_FILE out;
  std::string why;
  const bool ok = ParseParticleFile(bytes.data(), bytes.size(), "X.pfx", out, &why);
  if (error) *error = why;
  EXPECT_EQ(ok, out.params != nullptr);
  return out;
}

class ParticleFileTest : public fxtest::DeviceFixture {
 protected:
  void SetUp() override {
    fxtest::DeviceFixture::SetUp();
    m_OldData = g_DataDirectory;
    g_DataDirectory = m_Dir.Path() + "/";
    g_ParticleRandom.Init(1024, -1.0f, 1.0f);
  }
  void TearDown() override {
    g_DataDirectory = m_OldData;
    fxtest::DeviceFixture::TearDown();
  }
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) { return m_Dir.Write(name, bytes); }
  testsupport::TempDir m_Dir;
  std::string m_OldData;
};

}  // namespace

TEST_F(ParticleFileTest, EveryKindLoadsWithAllItsFields) {
  for (int32_t kind = 0; kind <= 4; ++kind) {
    SCOPED_TRACE(kind);
    const std::string name = "Kind" + std::to_string(kind) + ".pfx";
    Write(name, formats::PfxFileBytes(SampleFile(kind)));
    std::unique_ptr<CParticleEmitter> em(CreateParticleEmitter(name));
    ASSERT_NE(em, nullptr);
    const EMITTER_PARAMS& e = *em->GetParams();
    EXPECT_EQ(e.Kind(), kind);
    EXPECT_EQ(e.name, name);
    const std::vector<float> got{e.duration,  e.acceleration[2], e.emissionRate, e.emissionInterval, e.direction[0],
                                 e.spread,    e.life,            e.lifeVariation, e.speed,           e.speedVariation,
                                 e.startColor[0], e.startColor[3], e.startSize,   e.endColor[3],     e.endSize,
                                 e.colorVariation[1], e.sizeVariation};
    EXPECT_EQ(got, (std::vector<float>{1.5f, -9.0f, 30.0f, 0.25f, 0.5f, D3DX_PI, 2.0f, 0.1f, 12.0f, 3.0f, 0.25f, 1.0f,
                                       4.0f, 0.0f, 9.0f, 0.125f, 0.5f}));
    EXPECT_EQ(e.initialBurst, 7u);
    EXPECT_EQ(e.maxParticles, 64u);
    EXPECT_EQ(em->GetPool().size(), 64u);
    EXPECT_EQ(e.textureName, "Spark.png");
    EXPECT_EQ(e.directed, 1);
    EXPECT_EQ(em->GetPosition(), D3DXVECTOR3(0, 0, 0));
    EXPECT_TRUE(em->IsTranslationChanged());
    switch (kind) {
      case EMITTER_POINT:
        EXPECT_NE(dynamic_cast<CPointParticleEmitter*>(em.get()), nullptr);
        break;
      case EMITTER_SPHERE: {
        ASSERT_NE(dynamic_cast<CSphereParticleEmitter*>(em.get()), nullptr);
        const auto& s = static_cast<const SPHERE_EMITTER_PARAMS&>(e);
        EXPECT_EQ(std::vector<float>({s.radius, s.growthPerParticle}), std::vector<float>({6.0f, 0.75f}));
        EXPECT_EQ(s.onSurface + s.growing, 2);
        break;
      }
      case EMITTER_LINE: {
        ASSERT_NE(dynamic_cast<CLineParticleEmitter*>(em.get()), nullptr);
        const auto& l = static_cast<const LINE_EMITTER_PARAMS&>(e);
        EXPECT_EQ(l.startPoint, D3DXVECTOR3(-5, 0, 0));
        EXPECT_EQ(l.endPoint, D3DXVECTOR3(5, 0, 0));
        break;
      }
      case EMITTER_LINE_STRIP: {
        ASSERT_NE(dynamic_cast<CLineStripParticleEmitter*>(em.get()), nullptr);
        const auto& l = static_cast<const LINE_STRIP_EMITTER_PARAMS&>(e);
        ASSERT_EQ(l.points.size(), 3u);
        EXPECT_EQ(l.points[2], D3DXVECTOR3(4, 5, 6));
        break;
      }
      case EMITTER_CYLINDER: {
        ASSERT_NE(dynamic_cast<CCylinderParticleEmitter*>(em.get()), nullptr);
        const auto& c = static_cast<const CYLINDER_EMITTER_PARAMS&>(e);
        EXPECT_EQ(std::vector<float>({c.radius, c.growthPerSecond, c.height}),
                  std::vector<float>({6.0f, 0.75f, 30.0f}));
        EXPECT_EQ(c.growing, 1);
        break;
      }
    }
  }
}

TEST_F(ParticleFileTest, LayoutMatchesTheFixedOffsets) {
  const std::vector<uint8_t> point = formats::PfxFileBytes(SampleFile(EMITTER_POINT));
  ASSERT_EQ(point.size(), 445u);  // a point file is exactly the common part
  PARTICLE_FILE f = Parse(point);
  ASSERT_TRUE(f.params);
  EXPECT_EQ(f.states[PFX_SRCBLEND], 5u);
  EXPECT_EQ(f.states[PFX_DESTBLEND], 2u);
  EXPECT_EQ(f.states[PFX_COLORARG2], 0u);
  // Fields found at their offsets: the directed byte at 308, the size variation at 405.
  std::vector<uint8_t> bytes = point;
  bytes[308] = 0;
  const float sv = 0.875f;
  std::memcpy(&bytes[405], &sv, 4);
  bytes[441] = 9;
  f = Parse(bytes);
  ASSERT_TRUE(f.params);
  EXPECT_EQ(f.params->directed, 0);
  EXPECT_EQ(f.params->sizeVariation, 0.875f);
  EXPECT_EQ(f.states[PFX_COLORARG2], 9u);
  // Bytes after the kind's part are not read.
  bytes.push_back(0xAB);
  EXPECT_TRUE(Parse(bytes).params);
}

TEST_F(ParticleFileTest, IgnoredShapeFieldsAreSkipped) {
  formats::PfxFile sphere = SampleFile(EMITTER_SPHERE);
  sphere.ignoredPoints = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  const std::vector<uint8_t> bytes = formats::PfxFileBytes(sphere);
  EXPECT_EQ(bytes.size(), 445u + 4 + 1 + 4 + 36 + 4 + 1);
  PARTICLE_FILE f = Parse(bytes);
  ASSERT_TRUE(f.params);
  EXPECT_EQ(static_cast<const SPHERE_EMITTER_PARAMS&>(*f.params).growthPerParticle, 0.75f);
  // A line's three leading kind fields change nothing.
  std::vector<uint8_t> line = formats::PfxFileBytes(SampleFile(EMITTER_LINE));
  const PARTICLE_FILE plain = Parse(line);
  for (size_t i = 445; i < 445 + 9; ++i) line[i] = 0x7F;
  const PARTICLE_FILE noisy = Parse(line);
  ASSERT_TRUE(plain.params && noisy.params);
  const auto& a = static_cast<const LINE_EMITTER_PARAMS&>(*plain.params);
  const auto& b = static_cast<const LINE_EMITTER_PARAMS&>(*noisy.params);
  EXPECT_EQ(a.startPoint, b.startPoint);
  EXPECT_EQ(a.endPoint, b.endPoint);
}

TEST_F(ParticleFileTest, UnknownKindsAndMissingFilesGiveNoEmitter) {
  formats::PfxFile f = SampleFile(EMITTER_POINT);
  for (int32_t kind : {7, -1, 5}) {
    f.kind = kind;
    Write("Bad.pfx", formats::PfxFileBytes(f));
    EXPECT_EQ(CreateParticleEmitter("Bad.pfx"), nullptr) << kind;
  }
  std::string error;
  f.kind = 7;
  EXPECT_FALSE(Parse(formats::PfxFileBytes(f), &error).params);
  EXPECT_NE(error.find("kind"), std::string::npos) << error;
  EXPECT_EQ(CreateParticleEmitter("Nowhere.pfx"), nullptr);
}

TEST_F(ParticleFileTest, EveryTruncationIsRejected) {
  for (int32_t kind = 0; kind <= 4; ++kind) {
    const std::vector<uint8_t> whole = formats::PfxFileBytes(SampleFile(kind));
    ASSERT_TRUE(Parse(whole).params) << kind;
    for (size_t size = 0; size < whole.size(); ++size) {
      const std::vector<uint8_t> cut(whole.begin(), whole.begin() + size);
      std::string error;
      EXPECT_FALSE(Parse(cut, &error).params) << "kind " << kind << " size " << size;
      EXPECT_FALSE(error.empty());
    }
  }
  Write("Empty.pfx", {});
  EXPECT_EQ(CreateParticleEmitter("Empty.pfx"), nullptr);
}

TEST_F(ParticleFileTest, DamagedCountsAreRejected) {
  const auto withCount = [](int32_t kind, size_t at, int32_t n) {
    std::vector<uint8_t> bytes = formats::PfxFileBytes(SampleFile(kind));
    std::memcpy(&bytes[at], &n, 4);
    return bytes;
  };
  // The count sits after a float and a byte in the sphere, strip and cylinder parts.
  const size_t at = 445 + 5;
  for (int32_t kind : {EMITTER_SPHERE, EMITTER_LINE_STRIP, EMITTER_CYLINDER}) {
    SCOPED_TRACE(kind);
    std::string error;
    EXPECT_FALSE(Parse(withCount(kind, at, -1), &error).params);
    EXPECT_NE(error.find("count"), std::string::npos) << error;
    EXPECT_FALSE(Parse(withCount(kind, at, 0x7FFFFFFF), &error).params);
    EXPECT_FALSE(Parse(withCount(kind, at, 0x15555556), &error).params);  // 12 x n wraps 32 bits
    EXPECT_FALSE(Parse(withCount(kind, at, 1000), &error).params);
  }
  // One more point than the strip carries.
  EXPECT_FALSE(Parse(withCount(EMITTER_LINE_STRIP, at, 4)).params);
  EXPECT_TRUE(Parse(withCount(EMITTER_LINE_STRIP, at, 2)).params);  // fewer is fine: the rest is unread
}

TEST_F(ParticleFileTest, TextureNameMustEndInsideItsField) {
  std::vector<uint8_t> bytes = formats::PfxFileBytes(SampleFile(EMITTER_POINT));
  std::memset(&bytes[36], 'A', 260);
  std::string error;
  EXPECT_FALSE(Parse(bytes, &error).params);
  EXPECT_NE(error.find("texture"), std::string::npos) << error;
  bytes[36 + 259] = 0;
  PARTICLE_FILE f = Parse(bytes);
  ASSERT_TRUE(f.params);
  EXPECT_EQ(f.params->textureName, std::string(259, 'A'));
}

TEST_F(ParticleFileTest, HugePoolsAreClampedAndShortStripsStillEmit) {
  formats::PfxFile f = SampleFile(EMITTER_POINT);
  f.maxParticles = 0xFFFFFFFFu;
  Write("Huge.pfx", formats::PfxFileBytes(f));
  std::unique_ptr<CParticleEmitter> huge(CreateParticleEmitter("Huge.pfx"));
  ASSERT_NE(huge, nullptr);
  EXPECT_EQ(huge->GetPool().size(), MAX_PARTICLES_PER_EMITTER);
  for (size_t floats : {0u, 3u}) {
    formats::PfxFile s = SampleFile(EMITTER_LINE_STRIP);
    s.points.assign(floats, 2.0f);
    Write("Strip.pfx", formats::PfxFileBytes(s));
    std::unique_ptr<CParticleEmitter> em(CreateParticleEmitter("Strip.pfx"));
    ASSERT_NE(em, nullptr);
    em->Simulate(0.1f, D3DXVECTOR3(1, 1, 1), D3DXMATRIX());
    ASSERT_GT(em->GetLiveCount(), 0u);
    const D3DXVECTOR3 want = floats ? D3DXVECTOR3(3, 3, 3) : D3DXVECTOR3(1, 1, 1);
    for (const PARTICLE& p : em->GetPool())
      if (p.life > 0.0f) {
        // Started at the one point (or the emitter) and moved one frame.
        const D3DXVECTOR3 start = p.position - p.velocity * 0.1f - want;
        EXPECT_NEAR(D3DXVec3Length(&start), 0.0f, 1e-4f);
      }
  }
}

TEST_F(ParticleFileTest, StateBlockIsSharedPerFileAndDrawsAdditivelyWithoutDepthWrites) {
  formats::PfxFile f = SampleFile(EMITTER_POINT);
  f.states[0] = 5;  // source alpha
  f.states[1] = 2;  // one
  f.states[2] = 1;
  f.states[3] = 4;
  f.states[4] = 4;
  Write("Additive.pfx", formats::PfxFileBytes(f));
  std::unique_ptr<CParticleEmitter> a(CreateParticleEmitter("Additive.pfx")), b(CreateParticleEmitter("Additive.pfx"));
  ASSERT_TRUE(a && b);
  CShader* block = a->GetParams()->stateBlock;
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block, b->GetParams()->stateBlock);
  EXPECT_EQ(block->GetName(), "AUTO_EFECTOADDITIVE.PFX");
  EXPECT_EQ(block->GetRefCount(), 2u);  // one per emitter, none left over from loading
  using namespace platform;
  const std::pair<D3DRENDERSTATETYPE, DWORD> states[] = {{D3DRS_SRCBLEND, D3DBLEND_SRCALPHA},
                                                         {D3DRS_DESTBLEND, D3DBLEND_ONE},
                                                         {D3DRS_ZWRITEENABLE, 0u},
                                                         {D3DRS_ALPHABLENDENABLE, 1u},
                                                         {D3DRS_LIGHTING, 0u}};
  for (const auto& [state, value] : states) EXPECT_EQ(block->GetRenderState(state).value, value) << state;
  EXPECT_EQ(block->GetTextureStageState(0, D3DTSS_COLOROP).value, D3DTOP_MODULATE);
  EXPECT_EQ(block->GetSamplerState(0, D3DSAMP_MINFILTER).value, D3DTEXF_LINEAR);
  EXPECT_TRUE(block->GetRenderState(D3DRS_DESTBLEND).defined);
  // The texture place holds what the texture factory answered (its default here).
  EXPECT_EQ(a->GetParams()->textureSet.GetCount(), 1u);
  EXPECT_EQ(a->GetParams()->textureSet.GetTexture(0), g_pTextureFactory->GetDefault());
  // Applied, the block reaches the device.
  ASSERT_TRUE(block->Apply(false));
  EXPECT_EQ(m_Recorder->RenderState(D3DRS_DESTBLEND), D3DBLEND_ONE);
  EXPECT_EQ(m_Recorder->RenderState(D3DRS_ZWRITEENABLE), 0u);
  // References go back with the emitters: the last one erases the block.
  a.reset();
  EXPECT_EQ(g_pShaderFactory->Find("AUTO_EFECTOADDITIVE.PFX")->GetRefCount(), 1u);
  b.reset();
  EXPECT_EQ(g_pShaderFactory->Find("AUTO_EFECTOADDITIVE.PFX"), nullptr);
}

TEST_F(ParticleFileTest, LoadedTextureIsHeldOncePerEmitterAndGivenBack) {
  platform::Image dot;
  dot.width = dot.height = 2;
  dot.format = platform::D3DFMT_A8R8G8B8;
  dot.argb.assign(4, 0xFFFFFFFFu);
  ASSERT_TRUE(platform::SavePng(m_Dir.File("Dot.png"), dot));
  const std::string oldTextures = g_TextureDirectory;
  g_TextureDirectory = m_Dir.Path() + "/";
  formats::PfxFile f = SampleFile(EMITTER_SPHERE);
  f.texture = "Dot.png";
  Write("Dots.pfx", formats::PfxFileBytes(f));
  std::unique_ptr<CParticleEmitter> a(CreateParticleEmitter("Dots.pfx")), b(CreateParticleEmitter("Dots.pfx"));
  ASSERT_TRUE(a && b);
  CTexture* texture = a->GetParams()->textureSet.GetTexture(0);
  ASSERT_NE(texture, nullptr);
  EXPECT_NE(texture, g_pTextureFactory->GetDefault());
  EXPECT_EQ(texture, b->GetParams()->textureSet.GetTexture(0));
  EXPECT_EQ(texture->GetRefCount(), 2u);
  // New parameters for one emitter give its reference to the old texture back.
  SPHERE_EMITTER_PARAMS plain;
  ASSERT_TRUE(a->SetParams(plain));
  EXPECT_EQ(texture->GetRefCount(), 1u);
  b.reset();
  EXPECT_EQ(g_pTextureFactory->Find("Dot.png"), nullptr);
  g_TextureDirectory = oldTextures;
}
