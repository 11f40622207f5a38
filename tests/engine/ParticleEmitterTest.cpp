#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "engine/particles/ParticleEmitter.h"
#include "engine/particles/RandomTable.h"
#include "engine/resources/Shader.h"
#include "engine/scene/GeometrySet.h"
#include "engine/util/Random.h"
#include "FxDevice.h"

using namespace Nembra;

namespace {

const D3DXMATRIX kIdentity;

// A point emitter that sends every particle straight up at speed 0.
EMITTER_PARAMS StillParams() {
  EMITTER_PARAMS e;
  e.life = 100.0f;
  e.speed = 0.0f;
  std::fill(e.startColor, e.startColor + 4, 1.0f);
  std::fill(e.endColor, e.endColor + 4, 1.0f);
  e.startSize = e.endSize = 1.0f;
  return e;
}
// The same with a burst and a rate.
EMITTER_PARAMS Still(uint32_t burst, float rate) {
  EMITTER_PARAMS e = StillParams();
  e.initialBurst = burst;
  e.emissionRate = rate;
  return e;
}
template <class P>
P Shaped(uint32_t burst, float rate = 0.0f) {
  P e;
  static_cast<EMITTER_PARAMS&>(e) = Still(burst, rate);
  return e;
}

bool Step(CParticleEmitter& em, float dt, const D3DXVECTOR3& at = D3DXVECTOR3()) {
  return em.Simulate(dt, at, kIdentity);
}

std::vector<uint32_t> LiveCounts(CParticleEmitter& em, int frames, float dt) {
  std::vector<uint32_t> counts;
  for (int i = 0; i < frames; ++i) Step(em, dt), counts.push_back(em.GetLiveCount());
  return counts;
}

std::vector<uint32_t> Releases(const std::vector<uint32_t>& counts) {
  std::vector<uint32_t> out;
  uint32_t last = 0;
  for (uint32_t c : counts) out.push_back(c - last), last = c;
  return out;
}

// Live particles' positions or velocities.
std::vector<D3DXVECTOR3> Live(const CParticleEmitter& em, D3DXVECTOR3 PARTICLE::*field) {
  std::vector<D3DXVECTOR3> out;
  for (const PARTICLE& p : em.GetPool())
    if (p.life > 0.0f) out.push_back(p.*field);
  return out;
}
std::vector<D3DXVECTOR3> Positions(const CParticleEmitter& em) { return Live(em, &PARTICLE::position); }
std::vector<D3DXVECTOR3> Velocities(const CParticleEmitter& em) { return Live(em, &PARTICLE::velocity); }

float Length(const D3DXVECTOR3& v) { return D3DXVec3Length(&v); }

void ExpectNear(const D3DXVECTOR3& got, const D3DXVECTOR3& want, float tol) {
  EXPECT_NEAR(got.x, want.x, tol);
  EXPECT_NEAR(got.y, want.y, tol);
  EXPECT_NEAR(got.z, want.z, tol);
}

// A camera at (0, -10, 0) looking at the origin with z up: right is +x, up is +z.
D3DXMATRIX SideView() {
  D3DXMATRIX view;
  const D3DXVECTOR3 eye(0, -10, 0), at(0, 0, 0), up(0, 0, 1);
  return *D3DXMatrixLookAtRH(&view, &eye, &at, &up);
}

class ParticleEmitterTest : public fxtest::DeviceFixture {
 protected:
  void SetUp() override {
    fxtest::DeviceFixture::SetUp();
    SeedRandom(1);
    ASSERT_TRUE(g_ParticleRandom.Init(4096, -1.0f, 1.0f));
  }
  // A device reset after a lost device.
  auto LoseAndReset() {
    m_Recorder->LoseDevice();
    m_Recorder->MakeResettable();
    return m_Device->Reset();
  }
};

}  // namespace

TEST_F(ParticleEmitterTest, RateKeepsFractionsBetweenFrames) {
  CPointParticleEmitter em;
  EMITTER_PARAMS e = StillParams();
  e.emissionRate = 100.0f;
  ASSERT_TRUE(em.SetParams(e));
  EXPECT_EQ(Releases(LiveCounts(em, 4, 0.016f)), (std::vector<uint32_t>{1, 2, 1, 2}));
}

TEST_F(ParticleEmitterTest, BurstIsClampedToThePoolAndComesWithTheFirstFrame) {
  CPointParticleEmitter em, small;
  EMITTER_PARAMS e = Still(1000, 0.0f);
  e.maxParticles = 500;
  ASSERT_TRUE(em.SetParams(e));
  EXPECT_EQ(LiveCounts(em, 2, 0.016f), (std::vector<uint32_t>{500, 500}));
  // A smaller burst plus the first frame's share of the rate.
  e.initialBurst = 10;
  e.emissionRate = 100.0f;
  ASSERT_TRUE(small.SetParams(e));
  EXPECT_EQ(LiveCounts(small, 1, 0.05f), (std::vector<uint32_t>{15}));
}

TEST_F(ParticleEmitterTest, IntervalReleasesEverythingAccumulatedInBursts) {
  CPointParticleEmitter em;
  EMITTER_PARAMS e = StillParams();
  e.emissionRate = 10.0f;
  e.emissionInterval = 0.5f;
  ASSERT_TRUE(em.SetParams(e));
  EXPECT_EQ(Releases(LiveCounts(em, 12, 0.125f)), (std::vector<uint32_t>{1, 0, 0, 0, 0, 6, 0, 0, 0, 0, 6, 0}));
}

TEST_F(ParticleEmitterTest, DurationStopsEmissionAndFinishesWhenTheLastParticleDies) {
  CPointParticleEmitter em, endless;
  EMITTER_PARAMS e = StillParams();
  e.duration = 2.0f;
  e.life = 0.5f;
  e.emissionRate = 4.0f;
  ASSERT_TRUE(em.SetParams(e));
  for (int frame = 1; frame <= 7; ++frame) {
    ASSERT_TRUE(Step(em, 0.25f));
    EXPECT_FALSE(em.IsStopped()) << frame;
  }
  ASSERT_TRUE(Step(em, 0.25f));  // elapsed reaches 2.0, still emits
  EXPECT_TRUE(em.IsStopped());
  EXPECT_FALSE(em.IsFinished());
  EXPECT_EQ(em.GetLiveCount(), 1u);  // the one emitted now; the one before died this frame
  ASSERT_TRUE(Step(em, 0.25f));
  EXPECT_TRUE(em.IsFinished());
  EXPECT_EQ(em.GetFreeCount(), 500u);
  EXPECT_FALSE(Step(em, 0.25f));
  // An endless emitter never stops.
  e.duration = 0.0f;
  ASSERT_TRUE(endless.SetParams(e));
  LiveCounts(endless, 100, 0.25f);
  EXPECT_FALSE(endless.IsStopped());
}

TEST_F(ParticleEmitterTest, ParticlesBornWithoutLifeFreeTheirSlotsAtOnce) {
  for (float life : {0.0f, -1.0f, NAN}) {
    CPointParticleEmitter em;
    EMITTER_PARAMS e = StillParams();
    e.life = life;
    e.maxParticles = 8;
    e.emissionRate = 100.0f;
    e.duration = 0.5f;
    ASSERT_TRUE(em.SetParams(e));
    Step(em, 0.25f);
    EXPECT_EQ(em.GetFreeCount(), 8u) << life;
    Step(em, 0.25f);
    EXPECT_TRUE(em.IsFinished()) << life;
  }
}

TEST_F(ParticleEmitterTest, ColourAndSizeMoveFromStartToEndOverTheLife) {
  CPointParticleEmitter em;
  EMITTER_PARAMS e = Still(1, 0.0f);
  e.life = 2.0f;
  const float start[4] = {1, 0, 0, 1}, end[4] = {1, 0, 0, 0};
  std::copy(start, start + 4, e.startColor);
  std::copy(end, end + 4, e.endColor);
  e.startSize = 10.0f;
  e.endSize = 0.0f;
  ASSERT_TRUE(em.SetParams(e));
  for (int i = 0; i < 4; ++i) Step(em, 0.25f, D3DXVECTOR3(5, 6, 7));
  ASSERT_EQ(em.GetLiveCount(), 1u);
  const PARTICLE& p = em.GetPool()[0];
  EXPECT_FLOAT_EQ(p.life, 1.0f);
  for (const PARTICLE_VERTEX& v : p.vertices) EXPECT_EQ(v.color, 0x80FF0000u);
  // Half way from 10 to 0, the quad is 5 wide and 5 high about the position.
  EXPECT_FLOAT_EQ(p.size, 5.0f);
  EXPECT_FLOAT_EQ(p.vertices[1].x - p.vertices[0].x, 5.0f);  // top-left to top-right
  EXPECT_FLOAT_EQ(p.vertices[0].y - p.vertices[3].y, 5.0f);  // bottom-left to top-left
  EXPECT_FLOAT_EQ(p.vertices[0].x, 2.5f);
  EXPECT_FLOAT_EQ(p.vertices[0].y, 8.5f);
  EXPECT_FLOAT_EQ(p.vertices[2].x, 7.5f);
  EXPECT_FLOAT_EQ(p.vertices[2].y, 3.5f);
  EXPECT_EQ(p.vertices[2].u, 1.0f);
  EXPECT_EQ(p.vertices[3].v, 1.0f);
}

TEST_F(ParticleEmitterTest, QuadsFaceTheCameraOfTheViewMatrix) {
  CPointParticleEmitter em;
  EMITTER_PARAMS e = Still(1, 0.0f);
  e.startSize = e.endSize = 2.0f;
  ASSERT_TRUE(em.SetParams(e));
  em.Simulate(0.1f, D3DXVECTOR3(), SideView());
  const PARTICLE& p = em.GetPool()[0];
  ExpectNear({p.vertices[0].x, p.vertices[0].y, p.vertices[0].z}, {-1, 0, 1}, 1e-5f);
  EXPECT_NEAR(p.vertices[2].x, 1.0f, 1e-5f);
  EXPECT_NEAR(p.vertices[2].z, -1.0f, 1e-5f);
}

TEST_F(ParticleEmitterTest, MotionFollowsVelocityAndScaledAcceleration) {
  CPointParticleEmitter em;
  EMITTER_PARAMS e = Still(1, 0.0f);
  e.speed = 2.0f;
  e.direction[0] = 1.0f;
  e.direction[2] = 0.0f;
  e.acceleration[0] = e.acceleration[1] = 0.0f;
  e.acceleration[2] = -10.0f;
  e.startAccelerationFactor[2] = e.endAccelerationFactor[2] = 1.0f;
  ASSERT_TRUE(em.SetParams(e));
  Step(em, 0.5f, D3DXVECTOR3(1, 1, 1));
  const PARTICLE& p = em.GetPool()[0];
  EXPECT_FLOAT_EQ(p.position.x, 2.0f);  // moved before the velocity changes
  EXPECT_FLOAT_EQ(p.position.z, 1.0f);
  EXPECT_FLOAT_EQ(p.velocity.z, -2.5f);
  Step(em, 0.5f);
  EXPECT_FLOAT_EQ(p.position.z, -0.25f);
}

TEST_F(ParticleEmitterTest, FreedSlotsAreReusedOldestFreedFirst) {
  // One particle a frame after a first pair, each living a frame and a half:
  // a queue hands out 0-1, 2, 3, then the freed 0, 1, 2 (a stack would not).
  CPointParticleEmitter em, full;
  EMITTER_PARAMS e = Still(1, 2.0f);
  e.maxParticles = 4;
  e.life = 0.75f;
  ASSERT_TRUE(em.SetParams(e));
  const std::vector<std::vector<int>> expected{{0, 1}, {2}, {3}, {0}, {1}, {2}, {3}};
  for (size_t frame = 0; frame < expected.size(); ++frame) {
    Step(em, 0.5f);
    std::vector<int> slots;
    for (size_t i = 0; i < em.GetPool().size(); ++i)
      if (em.GetPool()[i].life > 0.0f) slots.push_back(static_cast<int>(i));
    EXPECT_EQ(slots, expected[frame]) << "frame " << frame + 1;
    EXPECT_EQ(em.GetFreeCount() + em.GetLiveCount(), 4u);
  }
  // No slot left: the rest of a release is lost, not delayed.
  e.initialBurst = 0;
  e.emissionRate = 6.0f;
  e.life = 100.0f;
  ASSERT_TRUE(full.SetParams(e));
  EXPECT_EQ(LiveCounts(full, 2, 1.0f), (std::vector<uint32_t>{4, 4}));
}

TEST_F(ParticleEmitterTest, PoolIsClampedToWhatSixteenBitIndicesAddress) {
  CPointParticleEmitter em;
  EMITTER_PARAMS e = Still(4000000000u, 1e30f);
  e.maxParticles = 4000000000u;
  ASSERT_TRUE(em.SetParams(e));
  EXPECT_EQ(em.GetPool().size(), MAX_PARTICLES_PER_EMITTER);
  Step(em, 0.1f);
  EXPECT_EQ(em.GetLiveCount(), MAX_PARTICLES_PER_EMITTER);
  std::vector<PARTICLE_VERTEX> vertices(4 * MAX_PARTICLES_PER_EMITTER);
  std::vector<uint16_t> indices(6 * MAX_PARTICLES_PER_EMITTER);
  ASSERT_EQ(em.FillBuffers(vertices.data(), indices.data()), MAX_PARTICLES_PER_EMITTER);
  EXPECT_EQ(indices.back(), 65532u);
  EXPECT_EQ(indices[indices.size() - 3], 65535u);
}

TEST_F(ParticleEmitterTest, SphereStartsInsideOrOnItsRadius) {
  for (uint8_t directed : {0, 1}) {
    for (uint8_t surface : {0, 1}) {
      CSphereParticleEmitter em;
      auto e = Shaped<SPHERE_EMITTER_PARAMS>(400);
      e.radius = 10.0f;
      e.onSurface = surface;
      e.directed = directed;
      e.spread = 0.0f;
      e.speed = 1.0f;
      ASSERT_TRUE(em.SetParams(e));
      const D3DXVECTOR3 origin(100, 200, 300);
      Step(em, 1e-4f, origin);
      const auto positions = Positions(em);
      ASSERT_EQ(positions.size(), 400u);
      float nearest = 1e9f;
      for (const auto& p : positions) {
        const float d = Length(p - origin);
        EXPECT_LE(d, 10.0f + 1e-3f);
        if (surface) { EXPECT_NEAR(d, 10.0f, 1e-3f); }
        nearest = std::min(nearest, d);
      }
      if (!surface) { EXPECT_LT(nearest, 5.0f); }
    }
  }
}

TEST_F(ParticleEmitterTest, GrowingSphereWidensPerParticleAndShrunkenOneStops) {
  CSphereParticleEmitter em, gone;
  auto e = Shaped<SPHERE_EMITTER_PARAMS>(4);
  e.radius = 1.0f;
  e.growing = 1;
  e.growthPerParticle = 0.5f;
  e.onSurface = 1;
  ASSERT_TRUE(em.SetParams(e));
  Step(em, 1e-4f);
  EXPECT_FLOAT_EQ(static_cast<const SPHERE_EMITTER_PARAMS*>(em.GetParams())->radius, 3.0f);
  EXPECT_FLOAT_EQ(e.radius, 1.0f);  // the caller's record is not touched
  // A sphere without radius sets itself a duration of 0.01 s when it emits.
  e.radius = 0.0f;
  e.initialBurst = 1;
  ASSERT_TRUE(gone.SetParams(e));
  Step(gone, 0.02f);
  EXPECT_FALSE(gone.IsStopped());
  Step(gone, 0.02f);
  EXPECT_TRUE(gone.IsStopped());
}

TEST_F(ParticleEmitterTest, DirectedSphereAndCylinderHandleHorizontalDirections) {
  for (int kind : {EMITTER_SPHERE, EMITTER_CYLINDER}) {
    for (float z : {0.0f, 1e-30f}) {  // level, and as good as level
      auto em = MakeParticleEmitter(kind);
      auto e = MakeEmitterParams(kind);
      static_cast<EMITTER_PARAMS&>(*e) = Still(20, 0.0f);
      e->direction[0] = 0.0f;
      e->direction[1] = 3.0f;
      e->direction[2] = z;
      e->spread = 0.5f;
      e->speed = 2.0f;
      ASSERT_TRUE(em->SetParams(*e));
      Step(*em, 1e-4f);
      ASSERT_EQ(Velocities(*em).size(), 20u);
      for (const auto& v : Velocities(*em)) {
        ASSERT_TRUE(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z));
        EXPECT_NEAR(v.y, 2.0f, 1e-3f) << kind;
      }
      for (const auto& p : Positions(*em)) ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.z));
    }
  }
}

TEST_F(ParticleEmitterTest, CylinderSpreadsAroundItsAxisWithinItsHeight) {
  CCylinderParticleEmitter em;
  auto e = Shaped<CYLINDER_EMITTER_PARAMS>(300);
  e.directed = 0;
  e.speed = 1.0f;
  e.radius = 5.0f;
  e.onSurface = 1;
  e.height = 40.0f;
  ASSERT_TRUE(em.SetParams(e));
  Step(em, 1e-4f, D3DXVECTOR3(0, 0, 10));
  for (const auto& p : Positions(em)) {
    EXPECT_NEAR(std::hypot(p.x, p.y), 5.0f, 1e-3f);
    EXPECT_GE(p.z, 10.0f - 20.0f - 1e-3f);
    EXPECT_LE(p.z, 10.0f + 20.0f + 1e-3f);
  }
}

TEST_F(ParticleEmitterTest, LineStripOfTwoPointsActsAsALineAndShortStripsStaySafe) {
  auto strip = Shaped<LINE_STRIP_EMITTER_PARAMS>(200);
  const auto run = [&](std::vector<D3DXVECTOR3> points, const D3DXVECTOR3& at) {
    strip.points = std::move(points);
    CLineStripParticleEmitter em;
    EXPECT_TRUE(em.SetParams(strip));
    Step(em, 1e-4f, at);
    return Positions(em);
  };
  float lo = 1e9f, hi = -1e9f;
  for (const auto& p : run({{0, 0, 0}, {10, 0, 0}}, {0, 5, 0})) {
    EXPECT_FLOAT_EQ(p.y, 5.0f);
    EXPECT_FLOAT_EQ(p.z, 0.0f);
    lo = std::min(lo, p.x);
    hi = std::max(hi, p.x);
  }
  EXPECT_GE(lo, 0.0f);
  EXPECT_LE(hi, 10.0f);
  EXPECT_GT(hi - lo, 8.0f);
  // One point: both ends; none: the emitter itself.
  for (const auto& p : run({{1, 2, 3}}, {10, 10, 10})) EXPECT_EQ(p, D3DXVECTOR3(11, 12, 13));
  const auto none = run({}, {10, 10, 10});
  EXPECT_EQ(none.size(), 200u);
  for (const auto& p : none) EXPECT_EQ(p, D3DXVECTOR3(10, 10, 10));
  // Three points: every start lies on one of the two segments.
  bool first = false, second = false;
  for (const auto& p : run({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}, {})) {
    const bool onFirst = std::fabs(p.y) < 1e-4f && p.x >= 0 && p.x <= 10;
    const bool onSecond = std::fabs(p.x - 10) < 1e-4f && p.y >= 0 && p.y <= 10;
    EXPECT_TRUE(onFirst || onSecond);
    first |= onFirst && p.x < 9.0f;
    second |= onSecond && p.y > 1.0f;
  }
  EXPECT_TRUE(first && second);
}

TEST_F(ParticleEmitterTest, DirectionMatrixTurnsUpOntoTheDirection) {
  // Directed line-strip particles fly up through the direction matrix.
  const auto velocityFor = [](float x, float y, float z) {
    auto e = Shaped<LINE_STRIP_EMITTER_PARAMS>(1);
    e.speed = 1.0f;
    e.direction[0] = x;
    e.direction[1] = y;
    e.direction[2] = z;
    CLineStripParticleEmitter em;
    em.SetParams(e);
    Step(em, 1e-4f);
    return Velocities(em).at(0);
  };
  // Upward directions use the inclination as yaw and the azimuth as roll:
  // the turn stays in the x-z plane, as the effect files were made for.
  ExpectNear(velocityFor(0, 1, 1), {std::sqrt(0.5f), 0, std::sqrt(0.5f)}, 1e-5f);
  EXPECT_NEAR(velocityFor(0, 0, 5).z, 1.0f, 1e-6f);
  // Level and downward directions are reached exactly.
  for (const D3DXVECTOR3 d :
       {D3DXVECTOR3(1, 0, 0), D3DXVECTOR3(0, -1, -1), D3DXVECTOR3(0, 0, -2), D3DXVECTOR3(3, 4, 0)})
    ExpectNear(velocityFor(d.x, d.y, d.z), d / Length(d), 1e-5f);
  EXPECT_NEAR(velocityFor(0, 0, 0).z, 1.0f, 1e-6f);
}

TEST_F(ParticleEmitterTest, UndirectedParticlesStayInsideTheSpreadCone) {
  CPointParticleEmitter em;
  EMITTER_PARAMS e = Still(300, 0.0f);
  e.directed = 0;
  e.spread = 0.3f;
  e.speed = 4.0f;
  e.speedVariation = 1.0f;
  ASSERT_TRUE(em.SetParams(e));
  Step(em, 1e-4f);
  float slowest = 1e9f, fastest = 0.0f;
  for (const auto& v : Velocities(em)) {
    const float s = Length(v);
    ASSERT_GT(s, 0.0f);
    EXPECT_GE(v.z / s, std::cos(0.3f) - 1e-4f);
    slowest = std::min(slowest, s);
    fastest = std::max(fastest, s);
  }
  EXPECT_GE(slowest, 3.0f - 1e-4f);
  EXPECT_LE(fastest, 5.0f + 1e-4f);
  EXPECT_GT(fastest - slowest, 1.0f);
}

TEST_F(ParticleEmitterTest, ColourVariationIsClampedToTheUnitRange) {
  CPointParticleEmitter em;
  EMITTER_PARAMS e = Still(100, 0.0f);
  std::fill(std::begin(e.colorVariation), std::end(e.colorVariation), 5.0f);
  ASSERT_TRUE(em.SetParams(e));
  Step(em, 1e-4f);
  bool low = false;
  for (const PARTICLE& p : em.GetPool()) {
    if (p.life <= 0.0f) continue;
    for (float c : p.color) {
      EXPECT_GE(c, 0.0f);
      EXPECT_LE(c, 1.0f);
      low |= c < 0.5f;
    }
  }
  EXPECT_TRUE(low);
}

TEST(RandomTable, FillsItsRangeAndWrapsAfterItsLastValue) {
  CRandomTable table;
  EXPECT_FALSE(table.Init(0, -1.0f, 1.0f));
  EXPECT_EQ(table.Next(), 0.0f);  // empty table: no read out of bounds
  SeedRandom(1);
  ASSERT_TRUE(table.Init(PARTICLE_RANDOM_COUNT, -1.0f, 1.0f));
  EXPECT_EQ(table.GetRange(), 2.0f);
  const float first = table.Next();
  float lo = first, hi = first;
  for (uint32_t i = 1; i < PARTICLE_RANDOM_COUNT; ++i) {
    const float v = table.Next();
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
  EXPECT_GE(lo, -1.0f);
  EXPECT_LE(hi, 1.0f);
  EXPECT_LT(lo, -0.999f);
  EXPECT_GT(hi, 0.999f);
  EXPECT_EQ(table.Next(), first);
  // A failed re-initialisation keeps the old table.
  EXPECT_FALSE(table.Init(0, 0.0f, 1.0f));
  EXPECT_EQ(table.GetCount(), PARTICLE_RANDOM_COUNT);
}

TEST_F(ParticleEmitterTest, DrawWritesOnlyLiveQuadsIntoOneIndexedDraw) {
  using namespace platform;
  CPointParticleEmitter em;
  EMITTER_PARAMS e = Still(3, 0.0f);
  e.maxParticles = 10;
  e.life = 1.0f;
  ASSERT_TRUE(em.SetParams(e));
  EXPECT_TRUE(em.HasBuffers());
  const uint32_t buffersBefore = m_Recorder->LiveBuffers();
  m_Recorder->ClearLog();
  EXPECT_TRUE(em.Draw());  // nothing alive: nothing drawn, still a success
  EXPECT_EQ(m_Recorder->Stats().draws, 0u);
  Step(em, 0.5f, D3DXVECTOR3(7, 8, 9));
  EXPECT_TRUE(em.Draw());
  ASSERT_EQ(m_Recorder->Draws().size(), 1u);
  const auto& draw = m_Recorder->Draws()[0];
  EXPECT_EQ(draw.type, D3DPT_TRIANGLELIST);
  EXPECT_TRUE(draw.indexed);
  EXPECT_EQ(draw.primitiveCount, 6u);
  EXPECT_EQ(draw.fvf, PARTICLE_FVF);
  ASSERT_GE(draw.vertices.size(), 24u);
  PARTICLE_VERTEX first;
  std::memcpy(&first, draw.vertices.data(), sizeof first);
  EXPECT_FLOAT_EQ(first.x, 6.5f);  // top-left of a unit quad at (7, 8, 9)
  EXPECT_FLOAT_EQ(first.y, 8.5f);
  EXPECT_EQ(first.color, 0xFFFFFFFFu);
  EXPECT_EQ(m_Recorder->LiveBuffers(), buffersBefore);  // drawing makes nothing new
  // Two triangles a quad, numbered from the quads written so far: a dead record leaves no gap.
  Step(em, 0.25f);
  const_cast<PARTICLE&>(em.GetPool()[1]).life = 0.0f;
  std::vector<PARTICLE_VERTEX> vertices(40);
  std::vector<uint16_t> indices(60, 0xFFFF);
  ASSERT_EQ(em.FillBuffers(vertices.data(), indices.data()), 2u);
  EXPECT_EQ(std::vector<uint16_t>(indices.begin(), indices.begin() + 12),
            (std::vector<uint16_t>{0, 2, 1, 3, 2, 0, 4, 6, 5, 7, 6, 4}));
  EXPECT_EQ(indices[12], 0xFFFF);
  EXPECT_EQ(std::memcmp(&vertices[4], em.GetPool()[2].vertices, 4 * sizeof(PARTICLE_VERTEX)), 0);
  Step(em, 0.5f);
  EXPECT_EQ(em.FillBuffers(vertices.data(), indices.data()), 0u);
}

TEST_F(ParticleEmitterTest, WithoutBuffersItSimulatesButNeverTouchesTheDevice) {
  platform::headless::Controls().failBufferCreation = true;
  CPointParticleEmitter em;
  EMITTER_PARAMS e = StillParams();
  e.initialBurst = 5;
  EXPECT_FALSE(em.SetParams(e));
  EXPECT_FALSE(em.HasBuffers());
  Step(em, 0.1f);
  EXPECT_GT(em.GetLiveCount(), 0u);
  m_Recorder->ClearLog();
  EXPECT_FALSE(em.Draw());
  EXPECT_TRUE(m_Recorder->Log().empty());
  platform::headless::Controls().failBufferCreation = false;
  // The next device reset gives it the buffers it missed.
  ASSERT_EQ(LoseAndReset(), CGraphicsDevice::RESET_DONE);
  EXPECT_TRUE(em.HasBuffers());
  EXPECT_TRUE(em.Draw());
  EXPECT_EQ(m_Recorder->Stats().draws, 1u);
}

// A reset with live particles is covered with beams in the beam tests.
TEST_F(ParticleEmitterTest, RegistersOnceSurvivesAFailedResetAndLeavesTheDeviceClean) {
  const uint32_t buffers = m_Recorder->LiveBuffers();
  {
    CPointParticleEmitter em;
    EMITTER_PARAMS e = Still(20, 0.0f);
    e.maxParticles = 50;
    ASSERT_TRUE(em.SetParams(e));
    ASSERT_TRUE(em.SetParams(e));  // new parameters: still one registration
    const auto& list = m_Device->GetVolatileResources();
    EXPECT_EQ(std::count(list.begin(), list.end(), &em), 1);
    EXPECT_EQ(m_Recorder->LiveBuffers(), buffers + 2);
    Step(em, 0.1f);
    // A failed reset leaves the emitter without buffers, undrawn but alive.
    platform::headless::Controls().failResets = 1;
    EXPECT_EQ(LoseAndReset(), CGraphicsDevice::RESET_FAILED);
    EXPECT_FALSE(em.HasBuffers());
    EXPECT_FALSE(em.Draw());
    EXPECT_EQ(em.GetLiveCount(), 20u);
    ASSERT_EQ(m_Device->Reset(), CGraphicsDevice::RESET_DONE);
    EXPECT_TRUE(em.HasBuffers());
    EXPECT_EQ(m_Recorder->LiveBuffers(), buffers + 2);
  }
  EXPECT_EQ(m_Recorder->LiveBuffers(), buffers);
  EXPECT_TRUE(m_Device->GetVolatileResources().empty());
}

TEST_F(ParticleEmitterTest, FrameUpdateUsesTheDeviceViewAndQueuesTheEmitterForTheRenderPass) {
  using namespace platform;
  CGeometrySetRegistry registry;
  g_pGeometrySetRegistry = &registry;
  CShader* block = g_pShaderFactory->Get("AUTO_EFECTOTEST");
  block->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
  block->SetRenderState(D3DRS_ZWRITEENABLE, 0);
  CPointParticleEmitter em;
  EMITTER_PARAMS e = Still(4, 0.0f);
  e.stateBlock = block;
  ASSERT_TRUE(em.SetParams(e));
  g_pShaderFactory->Release("AUTO_EFECTOTEST");  // the emitter holds its own reference
  EXPECT_EQ(block->GetRefCount(), 1u);
  const D3DXMATRIX view = SideView();
  m_Recorder->SetTransform(D3DTS_VIEW, &view);
  em.SetPosition(1, 2, 3);
  em.UpdateWorldMatrix();
  const float oldFrame = g_FrameTime;
  g_FrameTime = 0.1f;
  em.OnUpdate();
  g_FrameTime = oldFrame;
  EXPECT_NEAR(em.GetCameraUp().z, 1.0f, 1e-5f);  // from the device's view
  EXPECT_EQ(em.GetPool()[0].position, D3DXVECTOR3(1, 2, 3));
  EXPECT_EQ(registry.GetQueueSize(CGeometrySetRegistry::QUEUE_PARTICLES), 1u);
  m_Recorder->ClearLog();
  EXPECT_TRUE(registry.RenderBatches());
  ASSERT_EQ(m_Recorder->Draws().size(), 1u);
  const auto& draw = m_Recorder->Draws()[0];
  EXPECT_EQ(draw.primitiveCount, 8u);
  EXPECT_EQ(draw.destBlend, D3DBLEND_ONE);
  EXPECT_EQ(draw.zWrite, 0u);
  EXPECT_TRUE(draw.world == D3DXMATRIX());
  EXPECT_EQ(registry.GetQueueSize(CGeometrySetRegistry::QUEUE_PARTICLES), 0u);
  g_pGeometrySetRegistry = nullptr;
}

TEST_F(ParticleEmitterTest, EmptyPoolFinishesAndDrawsNothing) {
  CPointParticleEmitter em;
  EMITTER_PARAMS e = StillParams();
  e.maxParticles = 0;
  e.initialBurst = 10;
  e.duration = 0.1f;
  ASSERT_TRUE(em.SetParams(e));
  Step(em, 0.2f);
  EXPECT_TRUE(em.IsFinished());
  m_Recorder->ClearLog();
  EXPECT_TRUE(em.Draw());
  EXPECT_TRUE(m_Recorder->Log().empty());
}
