#include "engine/particles/ParticleEmitter.h"

#include <cmath>

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/particles/RandomTable.h"
#include "engine/resources/Material.h"
#include "engine/resources/Shader.h"
#include "engine/resources/Texture.h"
#include "engine/util/Random.h"
#include "engine/util/Utilities.h"

namespace Nembra {

namespace {

constexpr float TWO_PI = 2.0f * D3DX_PI;

inline float Rnd() { return g_ParticleRandom.Next(); }

inline D3DXVECTOR3 Vec(const float v[3]) { return D3DXVECTOR3(v[0], v[1], v[2]); }

inline D3DXVECTOR3 Normalized(const D3DXVECTOR3& v) {
  D3DXVECTOR3 out;
  D3DXVec3Normalize(&out, &v);
  return out;
}

inline float Clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }

// Advances one live particle; true when it died.
inline bool AdvanceParticle(PARTICLE& p, float dt, const D3DXVECTOR3& right, const D3DXVECTOR3& up) {
  p.life -= dt;
  if (p.life <= 0.0f) return true;
  const float* acc = p.params->acceleration;
  p.position.x += p.velocity.x * dt;
  p.position.y += p.velocity.y * dt;
  p.position.z += p.velocity.z * dt;
  p.velocity.x += 0.5f * dt * acc[0] * p.accelerationFactor[0];
  p.velocity.y += 0.5f * dt * acc[1] * p.accelerationFactor[1];
  p.velocity.z += 0.5f * dt * acc[2] * p.accelerationFactor[2];
  for (int i = 0; i < 3; ++i) p.accelerationFactor[i] += p.accelerationFactorChange[i] * dt;
  p.size += p.sizeChange * dt;
  for (int i = 0; i < 4; ++i) p.color[i] += p.colorChange[i] * dt;
  const D3DCOLOR c = PackColor(p.color[0], p.color[1], p.color[2], p.color[3]);
  const float h = p.size * 0.5f;
  const D3DXVECTOR3 r = right * h;
  const D3DXVECTOR3 u = up * h;
  const D3DXVECTOR3 corners[4] = {p.position + u - r, p.position + u + r, p.position - u + r,
                                  p.position - u - r};
  for (int i = 0; i < 4; ++i) {
    p.vertices[i].x = corners[i].x;
    p.vertices[i].y = corners[i].y;
    p.vertices[i].z = corners[i].z;
    p.vertices[i].color = c;
  }
  return false;
}

}  // namespace

// Takes one more reference to each texture and the state block of a
// record, or gives one back.
static void AcquireResources(const EMITTER_PARAMS& e) {
  for (size_t i = 0; i < e.textureSet.GetCount(); ++i) {
    CTexture* t = e.textureSet.GetTexture(i);
    if (t && g_pTextureFactory) g_pTextureFactory->Get(t->GetName());
  }
  if (e.stateBlock && g_pShaderFactory) g_pShaderFactory->Get(e.stateBlock->GetName());
}

static void ReleaseResources(const EMITTER_PARAMS& e) {
  for (size_t i = 0; i < e.textureSet.GetCount(); ++i) {
    CTexture* t = e.textureSet.GetTexture(i);
    if (t && g_pTextureFactory) g_pTextureFactory->Release(t->GetName());
  }
  if (e.stateBlock && g_pShaderFactory) g_pShaderFactory->Release(e.stateBlock->GetName());
}

void CParticleSystemGeometrySet::Draw() { m_Owner->Draw(); }

CParticleEmitter::CParticleEmitter() = default;

CParticleEmitter::~CParticleEmitter() {
  if (m_Registered && g_pGraphicsDevice) g_pGraphicsDevice->RemoveVolatileResource(this);
  ReleaseBuffers();
  if (m_Params) ReleaseResources(*m_Params);
  if (m_pMaterial && g_pMaterialFactory) g_pMaterialFactory->Release(m_pMaterial->GetName());
}

bool CParticleEmitter::SetParams(const EMITTER_PARAMS& params) {
  AcquireResources(params);
  if (m_Params) ReleaseResources(*m_Params);
  m_Params = params.Clone();
  if (m_Params->maxParticles > MAX_PARTICLES_PER_EMITTER) m_Params->maxParticles = MAX_PARTICLES_PER_EMITTER;
  return InitPool();
}

bool CParticleEmitter::InitPool() {
  if (!m_Params) return false;
  m_Elapsed = 0.0f;
  m_EmissionTimer = 0.0f;
  m_Ready = 1;
  m_Stopped = 0;
  m_Finished = 0;
  m_ToEmit = 0;
  const uint32_t max = m_Params->maxParticles;
  m_Accumulator = static_cast<float>(m_Params->initialBurst > max ? max : m_Params->initialBurst);
  m_Pool.assign(max, PARTICLE());
  m_FreeSlots.Reset(max);
  for (uint32_t i = 0; i < max; ++i) m_FreeSlots.push_back(static_cast<int>(i));

  const bool buffers = CreateBuffers();
  if (!m_pMaterial && g_pMaterialFactory) m_pMaterial = g_pMaterialFactory->Get(DEFAULT_RESOURCE_NAME);
  m_GeometrySet.worldMatrix = &IdentityMatrix();
  m_GeometrySet.stateBlock = m_Params->stateBlock;
  m_GeometrySet.material = m_pMaterial;
  m_GeometrySet.textureSet = &m_Params->textureSet;
  m_GeometrySet.batchable = false;
  // Registered even without buffers, so the next device reset can make them.
  if (!m_Registered && g_pGraphicsDevice) m_Registered = g_pGraphicsDevice->AddVolatileResource(this);
  return buffers;
}

bool CParticleEmitter::CreateBuffers() {
  ReleaseBuffers();
  platform::IDevice* device = g_pGraphicsDevice ? g_pGraphicsDevice->GetDevice() : nullptr;
  if (!device) return false;
  const uint32_t max = static_cast<uint32_t>(m_Pool.size());
  if (max == 0) return true;  // nothing will ever be drawn
  using namespace platform;
  const DWORD usage = D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY;
  if (FAILED(device->CreateVertexBuffer(max * 4 * sizeof(PARTICLE_VERTEX), usage, PARTICLE_FVF, D3DPOOL_DEFAULT,
                                        &m_pVertexBuffer)) ||
      FAILED(device->CreateIndexBuffer(max * 6 * sizeof(uint16_t), usage, D3DFMT_INDEX16, D3DPOOL_DEFAULT,
                                       &m_pIndexBuffer))) {
    ReleaseBuffers();
    return false;
  }
  return true;
}

void CParticleEmitter::ReleaseBuffers() {
  if (m_pVertexBuffer) m_pVertexBuffer->Release();
  if (m_pIndexBuffer) m_pIndexBuffer->Release();
  m_pVertexBuffer = nullptr;
  m_pIndexBuffer = nullptr;
}

void CParticleEmitter::OnLostDevice() { ReleaseBuffers(); }

void CParticleEmitter::OnResetDevice() { CreateBuffers(); }

void CParticleEmitter::OnUpdate() {
  UpdateParticles();
  if (g_pGeometrySetRegistry) g_pGeometrySetRegistry->SubmitParticleSystem(this, &m_GeometrySet);
}

bool CParticleEmitter::UpdateParticles() {
  D3DXMATRIX view;
  platform::IDevice* device = g_pGraphicsDevice ? g_pGraphicsDevice->GetDevice() : nullptr;
  if (device) device->GetTransform(platform::D3DTS_VIEW, &view);
  return Simulate(g_FrameTime, GetWorldPosition(), view);
}

bool CParticleEmitter::Draw() {
  using namespace platform;
  if (m_Pool.empty()) return true;  // an empty effect has nothing to draw
  if (!m_pVertexBuffer || !m_pIndexBuffer) return false;
  IDevice* device = g_pGraphicsDevice ? g_pGraphicsDevice->GetDevice() : nullptr;
  if (!device) return false;
  void* vertices = nullptr;
  void* indices = nullptr;
  if (FAILED(m_pVertexBuffer->Lock(0, 0, &vertices, D3DLOCK_DISCARD)) || !vertices) return false;
  if (FAILED(m_pIndexBuffer->Lock(0, 0, &indices, D3DLOCK_DISCARD)) || !indices) {
    m_pVertexBuffer->Unlock();
    return false;
  }
  const uint32_t count = FillBuffers(static_cast<PARTICLE_VERTEX*>(vertices), static_cast<uint16_t*>(indices));
  m_pVertexBuffer->Unlock();
  m_pIndexBuffer->Unlock();
  if (count == 0) return true;
  device->SetFVF(PARTICLE_FVF);
  device->SetStreamSource(0, m_pVertexBuffer, 0, sizeof(PARTICLE_VERTEX));
  device->SetIndices(m_pIndexBuffer);
  return SUCCEEDED(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, count * 4, 0, count * 2));
}

bool CParticleEmitter::Simulate(float dt, const D3DXVECTOR3& origin, const D3DXMATRIX& view) {
  if (m_Finished || !m_Params) return false;
  m_Origin = origin;
  m_FrameTime = dt;

  if (!m_Stopped) {
    if (m_Params->duration > 0.0f) {
      m_Elapsed += dt;
      if (m_Elapsed >= m_Params->duration) m_Stopped = 1;
    }
    m_Accumulator += m_Params->emissionRate * dt;
    if (m_EmissionTimer > 0.0f) {
      m_EmissionTimer -= dt;
    } else {
      m_EmissionTimer = m_Params->emissionInterval;
      const float whole = std::trunc(m_Accumulator);
      // A count beyond the pool could never be placed: the queue runs dry
      // first, and those particles are lost either way.
      const float poolSize = static_cast<float>(m_Pool.size());
      m_ToEmit = whole > 0.0f ? static_cast<uint32_t>(whole < poolSize ? whole : poolSize) : 0u;
      if (std::isfinite(whole)) m_Accumulator -= whole;
      else m_Accumulator = 0.0f;
      // Nothing due (a burst-only effect after its burst, most frames of a
      // slow rate): no direction matrix to build.
      if (m_ToEmit > 0) EmitParticles();
    }
  }

  m_CameraRight = Normalized(D3DXVECTOR3(view._11, view._21, view._31));
  m_CameraUp = Normalized(D3DXVECTOR3(view._12, view._22, view._32));

  PARTICLE* pool = m_Pool.data();
  const int count = static_cast<int>(m_Pool.size());
  for (int i = 0; i < count; ++i) {
    PARTICLE& p = pool[i];
    if (p.params == nullptr || p.life <= 0.0f) continue;
    if (AdvanceParticle(p, dt, m_CameraRight, m_CameraUp)) m_FreeSlots.push_back(i);
  }

  if (m_Stopped && m_FreeSlots.size() == m_Pool.size()) m_Finished = 1;
  return true;
}

void CParticleEmitter::EmitParticles() { EmitFromQueue(); }

void CParticleEmitter::EmitFromQueue() {
  for (uint32_t n = 0; n < m_ToEmit && !m_FreeSlots.empty(); ++n) {
    const int index = m_FreeSlots.front();
    m_FreeSlots.pop_front();
    EmitOne(m_Pool[index], index);
  }
  m_ToEmit = 0;
}

void CParticleEmitter::EmitOne(PARTICLE& p, int index) {
  const EMITTER_PARAMS& e = *m_Params;
  p.life = (Rnd() * e.lifeVariation + 1.0f) * e.life;
  if (!(p.life > 0.0f)) {
    // Born dead: the slot goes straight back, so the pool never drains.
    p.life = 0.0f;
    m_FreeSlots.push_back(index);
    return;
  }
  SetStartVelocity(p);
  SetStartPosition(p);
  const float invLife = 1.0f / p.life;
  for (int c = 0; c < 4; ++c) {
    p.color[c] = Clamp01(Rnd() * e.colorVariation[c] + e.startColor[c]);
    p.colorChange[c] = (e.endColor[c] - p.color[c]) * invLife;
  }
  p.size = Rnd() * e.sizeVariation + e.startSize;
  p.sizeChange = (e.endSize - p.size) * invLife;
  for (int i = 0; i < 3; ++i) {
    p.accelerationFactor[i] = e.startAccelerationFactor[i];
    p.accelerationFactorChange[i] = (e.endAccelerationFactor[i] - e.startAccelerationFactor[i]) * invLife;
  }
  p.params = m_Params.get();
  p.cameraRight = &m_CameraRight;
  p.cameraUp = &m_CameraUp;
}

D3DXVECTOR3 CParticleEmitter::RandomConeDirection() {
  const float t = Rnd() * m_Params->spread;
  const float p = Rnd() * TWO_PI;
  m_Inclination = t;
  m_Azimuth = p;
  const float st = std::sin(t);
  return D3DXVECTOR3(st * std::cos(p), st * std::sin(p), std::cos(t));
}

D3DXVECTOR3 CParticleEmitter::DirectedVelocity(float s) {
  const D3DXVECTOR3 dir = Vec(m_Params->direction);
  if (m_Params->spread == 0.0f) return Normalized(dir) * s;
  if (std::fabs(dir.z) <= 1e-6f * D3DXVec3Length(&dir)) {
    // The cone offset is solved for z, which a (nearly) horizontal
    // direction lacks: the offset would be unbounded.
    return Normalized(dir) * s;
  }
  D3DXVECTOR3 o;
  o.x = Rnd();
  o.y = Rnd();
  o.z = (std::cos(m_Params->spread) - dir.x * o.x - dir.y * o.y) / dir.z;
  return Normalized(dir + o) * s;
}

void CParticleEmitter::BuildDirectionMatrix() {
  const D3DXVECTOR3 dir = Vec(m_Params->direction);
  float length = 0.0f;
  float azimuth = 0.0f;
  float inclination = 0.0f;
  CartesianToSpherical(&dir, &length, &azimuth, &inclination);
  m_Azimuth = azimuth;
  if (dir.z > 0.0f) {
    m_Inclination = inclination;
    D3DXMatrixRotationYawPitchRoll(&m_DirectionMatrix, inclination, 0.0f, azimuth);
    return;
  }
  // No inclination is defined for directions that do not point up: turn
  // +z onto the direction about the axis perpendicular to both.
  m_Inclination = 0.0f;
  if (length == 0.0f) {
    D3DXMatrixIdentity(&m_DirectionMatrix);
    return;
  }
  const D3DXVECTOR3 unit = dir / length;
  const D3DXVECTOR3 z(0.0f, 0.0f, 1.0f);
  D3DXVECTOR3 axis;
  D3DXVec3Cross(&axis, &z, &unit);
  if (D3DXVec3LengthSq(&axis) == 0.0f) {
    // Straight down: half a turn about x.
    D3DXMatrixRotationX(&m_DirectionMatrix, D3DX_PI);
    return;
  }
  const float angle = std::acos(unit.z < -1.0f ? -1.0f : unit.z);
  m_Inclination = angle;
  D3DXMatrixRotationAxis(&m_DirectionMatrix, &axis, angle);
}

uint32_t CParticleEmitter::FillBuffers(PARTICLE_VERTEX* vertices, uint16_t* indices) const {
  uint32_t written = 0;
  for (const PARTICLE& p : m_Pool) {
    if (!(p.life > 0.0f)) continue;
    const uint32_t n = written * 4;
    PARTICLE_VERTEX* v = vertices + n;
    v[0] = p.vertices[0];
    v[1] = p.vertices[1];
    v[2] = p.vertices[2];
    v[3] = p.vertices[3];
    uint16_t* i = indices + written * 6;
    const uint16_t b = static_cast<uint16_t>(n);
    i[0] = b;
    i[1] = static_cast<uint16_t>(b + 2);
    i[2] = static_cast<uint16_t>(b + 1);
    i[3] = static_cast<uint16_t>(b + 3);
    i[4] = static_cast<uint16_t>(b + 2);
    i[5] = b;
    ++written;
  }
  return written;
}

// Point: every particle starts at the emitter.
void CPointParticleEmitter::EmitParticles() {
  BuildDirectionMatrix();
  EmitFromQueue();
}

void CPointParticleEmitter::SetStartVelocity(PARTICLE& p) {
  const D3DXVECTOR3 d = m_Params->directed ? Vec(m_Params->direction) : RandomConeDirection();
  m_Speed = m_Params->speed + Rnd() * m_Params->speedVariation;
  p.velocity = d * m_Speed;
}

void CPointParticleEmitter::SetStartPosition(PARTICLE& p) { p.position = m_Origin; }

// Sphere: particles start on or inside a sphere about the emitter.
void CSphereParticleEmitter::SetStartVelocity(PARTICLE& p) {
  m_Speed = m_Params->speed + Rnd() * m_Params->speedVariation;
  p.velocity = m_Params->directed ? DirectedVelocity(m_Speed) : RandomConeDirection() * m_Speed;
}

void CSphereParticleEmitter::SetStartPosition(PARTICLE& p) {
  auto& e = static_cast<SPHERE_EMITTER_PARAMS&>(*m_Params);
  if (e.radius > 0.0f && e.growing) e.radius += e.growthPerParticle;
  if (e.radius <= 0.0f) e.duration = 0.01f;
  D3DXVECTOR3 d;
  if (!e.directed) {
    d = Normalized(p.velocity);
  } else {
    const float t = Rnd();
    const float a = Rnd() * TWO_PI;
    m_Inclination = t;
    m_Azimuth = a;
    d = D3DXVECTOR3(std::sin(t) * std::cos(a), std::sin(t) * std::sin(a), std::cos(t));
  }
  if (e.onSurface) p.position = m_Origin + d * e.radius;
  else p.position = m_Origin + d * (e.radius * (Rnd() + 1.0f) * 0.5f);
}

// Line: particles start anywhere between two points.
void CLineParticleEmitter::EmitParticles() {
  BuildDirectionMatrix();
  EmitFromQueue();
}

void CLineParticleEmitter::SetStartVelocity(PARTICLE& p) {
  const D3DXVECTOR3 d = m_Params->directed ? Vec(m_Params->direction) : RandomConeDirection();
  m_Speed = m_Params->speed + Rnd() * m_Params->speedVariation;
  const D3DXVECTOR3 v = d * m_Speed;
  D3DXVec3TransformCoord(&p.velocity, &v, &m_DirectionMatrix);
}

void CLineParticleEmitter::SetStartPosition(PARTICLE& p) {
  const auto& e = static_cast<const LINE_EMITTER_PARAMS&>(*m_Params);
  const D3DXVECTOR3 a = m_Origin + e.startPoint;
  const D3DXVECTOR3 b = m_Origin + e.endPoint;
  p.position = a + (b - a) * std::fabs(Rnd());
}

// Line strip: a random segment of the strip, then a random point on it.
void CLineStripParticleEmitter::EmitParticles() {
  BuildDirectionMatrix();
  EmitFromQueue();
}

void CLineStripParticleEmitter::SetStartVelocity(PARTICLE& p) {
  const D3DXVECTOR3 d = m_Params->directed ? D3DXVECTOR3(0.0f, 0.0f, 1.0f) : RandomConeDirection();
  m_Speed = m_Params->speed + Rnd() * m_Params->speedVariation;
  const D3DXVECTOR3 v = d * m_Speed;
  D3DXVec3TransformCoord(&p.velocity, &v, &m_DirectionMatrix);
}

void CLineStripParticleEmitter::SetStartPosition(PARTICLE& p) {
  const auto& points = static_cast<const LINE_STRIP_EMITTER_PARAMS&>(*m_Params).points;
  const size_t count = points.size();
  if (count == 0) {
    p.position = m_Origin;
    return;
  }
  if (count == 1) {
    p.position = m_Origin + points[0];
    return;
  }
  size_t i = static_cast<size_t>((static_cast<uint64_t>(RandomDraw()) * (count - 1)) / 32768u);
  if (i > count - 2) i = count - 2;
  const D3DXVECTOR3 a = m_Origin + points[i];
  const D3DXVECTOR3 b = m_Origin + points[i + 1];
  p.position = a + (b - a) * std::fabs(Rnd());
}

// Cylinder: particles start on or inside a vertical cylinder.
void CCylinderParticleEmitter::SetStartVelocity(PARTICLE& p) {
  m_Speed = m_Params->speed + Rnd() * m_Params->speedVariation;
  if (m_Params->directed) {
    p.velocity = DirectedVelocity(m_Speed);
  } else {
    const float a = Rnd() * TWO_PI;
    m_Azimuth = a;
    p.velocity = D3DXVECTOR3(std::cos(a), std::sin(a), 0.0f) * m_Speed;
  }
}

void CCylinderParticleEmitter::SetStartPosition(PARTICLE& p) {
  auto& e = static_cast<CYLINDER_EMITTER_PARAMS&>(*m_Params);
  if (e.radius > 0.0f && e.growing) e.radius += e.growthPerSecond * m_FrameTime;
  if (e.radius <= 0.0f) e.duration = 0.01f;
  D3DXVECTOR3 d;
  if (!e.directed) {
    d = Normalized(p.velocity);
  } else {
    const float a = Rnd() * TWO_PI;
    m_Azimuth = a;
    d = D3DXVECTOR3(std::cos(a), std::sin(a), 0.0f);
  }
  const float range = g_ParticleRandom.GetRange();
  if (e.onSurface) {
    p.position = m_Origin + d * e.radius;
    const float q = range != 0.0f ? Rnd() / range : 0.0f;
    p.position.z = m_Origin.z + q * e.height;
  } else {
    p.position = m_Origin + d * (e.radius * (Rnd() + 1.0f) * 0.5f);
    const float q = range != 0.0f ? Rnd() / range : 0.0f;
    p.position.z = m_Origin.z + 100.0f + q * (e.height - 100.0f);
  }
}

std::unique_ptr<CParticleEmitter> MakeParticleEmitter(int32_t kind) {
  switch (kind) {
    case EMITTER_POINT: return std::make_unique<CPointParticleEmitter>();
    case EMITTER_SPHERE: return std::make_unique<CSphereParticleEmitter>();
    case EMITTER_LINE: return std::make_unique<CLineParticleEmitter>();
    case EMITTER_LINE_STRIP: return std::make_unique<CLineStripParticleEmitter>();
    case EMITTER_CYLINDER: return std::make_unique<CCylinderParticleEmitter>();
    default: return nullptr;
  }
}

}  // namespace Nembra
