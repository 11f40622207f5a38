#include "engine/particles/ParticleFile.h"

#include <cstring>
#include <vector>

#include "engine/app/Engine.h"
#include "engine/particles/ParticleEmitter.h"
#include "engine/resources/Shader.h"
#include "engine/resources/Texture.h"
#include "engine/util/MissingReports.h"
#include "platform/Files.h"
#include "platform/Log.h"

namespace Nembra {

namespace {

constexpr size_t TEXTURE_NAME_SIZE = 260;
const std::string STATE_BLOCK_PREFIX = "AUTO_EFECTO";

class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : m_Data(data), m_Size(size) {}
  size_t Left() const { return m_Size - m_Pos; }
  bool Bytes(void* out, size_t n) {
    if (n > Left()) return false;
    if (n) std::memcpy(out, m_Data + m_Pos, n);
    m_Pos += n;
    return true;
  }
  bool Skip(size_t n) {
    if (n > Left()) return false;
    m_Pos += n;
    return true;
  }
  bool U32(uint32_t& v) {
    uint8_t b[4];
    if (!Bytes(b, 4)) return false;
    v = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    return true;
  }
  bool I32(int32_t& v) {
    uint32_t u;
    if (!U32(u)) return false;
    v = static_cast<int32_t>(u);
    return true;
  }
  bool F32(float& v) {
    uint32_t u;
    if (!U32(u)) return false;
    std::memcpy(&v, &u, 4);
    return true;
  }
  bool F32s(float* v, int n) {
    for (int i = 0; i < n; ++i)
      if (!F32(v[i])) return false;
    return true;
  }
  bool Vec(D3DXVECTOR3& v) { return F32(v.x) && F32(v.y) && F32(v.z); }
  bool U8(uint8_t& v) { return Bytes(&v, 1); }

 private:
  const uint8_t* m_Data;
  size_t m_Size;
  size_t m_Pos = 0;
};

bool Fail(std::string* error, const std::string& why) {
  if (error) *error = why;
  return false;
}

// A count of xyz triples that must fit in what is left of the file.
bool ReadCount(Reader& in, int32_t& n, std::string* error) {
  if (!in.I32(n)) return Fail(error, "file ends before the point count");
  if (n < 0) return Fail(error, "negative point count " + std::to_string(n));
  if (static_cast<uint64_t>(n) * 12u > in.Left())
    return Fail(error, "point count " + std::to_string(n) + " exceeds the file");
  return true;
}

bool ReadCommon(Reader& in, EMITTER_PARAMS& e, uint32_t states[PFX_STATE_COUNT], std::string* error) {
  if (!(in.F32(e.duration) && in.F32s(e.acceleration, 3) && in.U32(e.initialBurst) &&
        in.U32(e.maxParticles) && in.F32(e.emissionRate) && in.F32(e.emissionInterval)))
    return Fail(error, "file ends inside the emission fields");
  char name[TEXTURE_NAME_SIZE];
  if (!in.Bytes(name, sizeof name)) return Fail(error, "file ends inside the texture name");
  const void* end = std::memchr(name, 0, sizeof name);
  if (!end) return Fail(error, "texture name is not terminated");
  e.textureName.assign(name, static_cast<const char*>(end) - name);
  if (!(in.F32s(e.direction, 3) && in.U8(e.directed) && in.F32(e.life) && in.F32(e.lifeVariation) &&
        in.F32(e.speed) && in.F32(e.speedVariation) && in.F32s(e.startColor, 4) && in.F32(e.startSize) &&
        in.F32s(e.startAccelerationFactor, 3) && in.F32s(e.endColor, 4) && in.F32(e.endSize) &&
        in.F32s(e.endAccelerationFactor, 3) && in.F32s(e.colorVariation, 4) && in.F32(e.sizeVariation)))
    return Fail(error, "file ends inside the particle fields");
  for (int i = 0; i < PFX_STATE_COUNT; ++i)
    if (!in.U32(states[i])) return Fail(error, "file ends inside the device states");
  return true;
}

bool ReadKind(Reader& in, EMITTER_PARAMS& record, std::string* error) {
  float ignoredF = 0.0f;
  uint8_t ignoredB = 0;
  int32_t n = 0;
  switch (record.Kind()) {
    case EMITTER_POINT:
      return true;
    case EMITTER_SPHERE: {
      auto& e = static_cast<SPHERE_EMITTER_PARAMS&>(record);
      if (!(in.F32(e.radius) && in.U8(e.onSurface))) break;
      if (!ReadCount(in, n, error)) return false;
      in.Skip(static_cast<size_t>(n) * 12u);
      if (!(in.F32(e.growthPerParticle) && in.U8(e.growing))) break;
      return true;
    }
    case EMITTER_LINE: {
      auto& e = static_cast<LINE_EMITTER_PARAMS&>(record);
      if (!(in.F32(ignoredF) && in.U8(ignoredB) && in.F32(ignoredF) && in.Vec(e.startPoint) &&
            in.Vec(e.endPoint)))
        break;
      return true;
    }
    case EMITTER_LINE_STRIP: {
      auto& e = static_cast<LINE_STRIP_EMITTER_PARAMS&>(record);
      if (!(in.F32(ignoredF) && in.U8(ignoredB))) break;
      if (!ReadCount(in, n, error)) return false;
      e.points.resize(static_cast<size_t>(n));
      for (auto& p : e.points) in.Vec(p);  // the count was checked against the bytes left
      return true;
    }
    case EMITTER_CYLINDER: {
      auto& e = static_cast<CYLINDER_EMITTER_PARAMS&>(record);
      if (!(in.F32(e.radius) && in.U8(e.onSurface))) break;
      if (!ReadCount(in, n, error)) return false;
      in.Skip(static_cast<size_t>(n) * 12u);
      if (!(in.F32(e.growthPerSecond) && in.U8(e.growing) && in.F32(e.height))) break;
      return true;
    }
  }
  return Fail(error, "file ends inside the emitter shape");
}

}  // namespace

bool ParseParticleFile(const uint8_t* data, size_t size, const std::string& name, PARTICLE_FILE& out,
                       std::string* error) {
  Reader in(data, size);
  int32_t kind = 0;
  if (!in.I32(kind)) return Fail(error, "file ends before the emitter kind");
  std::unique_ptr<EMITTER_PARAMS> record = MakeEmitterParams(kind);
  if (!record) return Fail(error, "unknown emitter kind " + std::to_string(kind));
  record->name = name;
  uint32_t states[PFX_STATE_COUNT] = {};
  if (!ReadCommon(in, *record, states, error)) return false;
  if (!ReadKind(in, *record, error)) return false;
  out.params = std::move(record);
  std::memcpy(out.states, states, sizeof states);
  return true;
}

CParticleEmitter* CreateParticleEmitter(const std::string& fileName) {
  std::vector<uint8_t> bytes;
  if (!platform::ReadWholeFile(g_DataDirectory + fileName, bytes)) {
    ReportMissing("particle system " + fileName);
    return nullptr;
  }
  PARTICLE_FILE file;
  std::string error;
  if (!ParseParticleFile(bytes.data(), bytes.size(), fileName, file, &error)) {
    ReportMissing("particle system " + fileName + " (damaged: " + error + ")");
    return nullptr;
  }
  EMITTER_PARAMS& record = *file.params;
  record.textureSet.Resize(1);
  record.textureSet.SetTexture(0, g_pTextureFactory ? g_pTextureFactory->Get(record.textureName) : nullptr);
  record.stateBlock = g_pShaderFactory ? g_pShaderFactory->Get(STATE_BLOCK_PREFIX + fileName) : nullptr;
  if (CShader* block = record.stateBlock) {
    using namespace platform;
    block->SetRenderState(D3DRS_SRCBLEND, file.states[PFX_SRCBLEND]);
    block->SetRenderState(D3DRS_DESTBLEND, file.states[PFX_DESTBLEND]);
    block->SetRenderState(D3DRS_BLENDOP, file.states[PFX_BLENDOP]);
    block->SetTextureStageState(0, D3DTSS_ALPHAOP, file.states[PFX_ALPHAOP]);
    block->SetTextureStageState(0, D3DTSS_COLOROP, file.states[PFX_COLOROP]);
    block->SetTextureStageState(0, D3DTSS_ALPHAARG1, file.states[PFX_ALPHAARG1]);
    block->SetTextureStageState(0, D3DTSS_ALPHAARG2, file.states[PFX_ALPHAARG2]);
    block->SetTextureStageState(0, D3DTSS_COLORARG1, file.states[PFX_COLORARG1]);
    block->SetTextureStageState(0, D3DTSS_COLORARG2, file.states[PFX_COLORARG2]);
    block->SetRenderState(D3DRS_LIGHTING, 0);
    block->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    block->SetRenderState(D3DRS_ZWRITEENABLE, 0);
    block->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    block->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    block->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
  }
  std::unique_ptr<CParticleEmitter> emitter = MakeParticleEmitter(record.Kind());
  // The emitter takes its own references; the record's go back with it.
  emitter->SetParams(record);
  if (CTexture* texture = record.textureSet.GetTexture(0))
    if (g_pTextureFactory) g_pTextureFactory->Release(texture->GetName());
  if (record.stateBlock && g_pShaderFactory) g_pShaderFactory->Release(record.stateBlock->GetName());
  emitter->SetPosition(0.0f, 0.0f, 0.0f);
  return emitter.release();
}

}  // namespace Nembra
