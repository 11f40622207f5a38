#include "engine/resources/Shader.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/app/GraphicsDevice.h"
#include "platform/Files.h"

namespace Nembra {

using namespace platform;

CShaderFactory* g_pShaderFactory = nullptr;

namespace {

struct DefaultState {
  uint32_t state;
  uint32_t value;
};

uint32_t F(float f) { return FloatToDword(f); }

// Every render state the device defines, with its default.
const DefaultState kRenderDefaults[] = {
    {D3DRS_ZENABLE, 1}, {D3DRS_FILLMODE, 3}, {D3DRS_SHADEMODE, 2}, {D3DRS_ZWRITEENABLE, 1},
    {D3DRS_ALPHATESTENABLE, 0}, {D3DRS_LASTPIXEL, 1}, {D3DRS_SRCBLEND, 2}, {D3DRS_DESTBLEND, 1},
    {D3DRS_CULLMODE, 2}, {D3DRS_ZFUNC, 4}, {D3DRS_ALPHAREF, 0}, {D3DRS_ALPHAFUNC, 8},
    {D3DRS_DITHERENABLE, 1}, {D3DRS_ALPHABLENDENABLE, 0}, {D3DRS_FOGENABLE, 0}, {D3DRS_SPECULARENABLE, 0},
    {D3DRS_FOGCOLOR, 0}, {D3DRS_FOGTABLEMODE, 0}, {D3DRS_FOGSTART, F(0.0f)}, {D3DRS_FOGEND, F(1.0f)},
    {D3DRS_FOGDENSITY, F(1.0f)}, {D3DRS_RANGEFOGENABLE, 1}, {D3DRS_STENCILENABLE, 0}, {D3DRS_STENCILFAIL, 1},
    {D3DRS_STENCILZFAIL, 1}, {D3DRS_STENCILPASS, 1}, {D3DRS_STENCILFUNC, 8}, {D3DRS_STENCILREF, 0},
    {D3DRS_STENCILMASK, 0xFFFFFFFFu}, {D3DRS_STENCILWRITEMASK, 0xFFFFFFFFu}, {D3DRS_TEXTUREFACTOR, 0xFFFFFFFFu},
    {D3DRS_WRAP0, 0}, {D3DRS_WRAP1, 0}, {D3DRS_WRAP2, 0}, {D3DRS_WRAP3, 0}, {D3DRS_WRAP4, 0}, {D3DRS_WRAP5, 0},
    {D3DRS_WRAP6, 0}, {D3DRS_WRAP7, 0}, {D3DRS_CLIPPING, 1}, {D3DRS_LIGHTING, 1}, {D3DRS_AMBIENT, 0},
    {D3DRS_FOGVERTEXMODE, 0}, {D3DRS_COLORVERTEX, 1}, {D3DRS_LOCALVIEWER, 1}, {D3DRS_NORMALIZENORMALS, 1},
    {D3DRS_DIFFUSEMATERIALSOURCE, 1}, {D3DRS_SPECULARMATERIALSOURCE, 2}, {D3DRS_AMBIENTMATERIALSOURCE, 0},
    {D3DRS_EMISSIVEMATERIALSOURCE, 0}, {D3DRS_VERTEXBLEND, 0}, {D3DRS_CLIPPLANEENABLE, 0},
    {D3DRS_POINTSIZE, F(64.0f)}, {D3DRS_POINTSIZE_MIN, F(1.0f)}, {D3DRS_POINTSPRITEENABLE, 0},
    {D3DRS_POINTSCALEENABLE, 0}, {D3DRS_POINTSCALE_A, F(1.0f)}, {D3DRS_POINTSCALE_B, F(1.0f)},
    {D3DRS_POINTSCALE_C, F(1.0f)}, {D3DRS_MULTISAMPLEANTIALIAS, 1}, {D3DRS_MULTISAMPLEMASK, 0xFFFFFFFFu},
    {D3DRS_PATCHEDGESTYLE, 0}, {D3DRS_DEBUGMONITORTOKEN, 0}, {D3DRS_POINTSIZE_MAX, F(64.0f)},
    {D3DRS_INDEXEDVERTEXBLENDENABLE, 0}, {D3DRS_COLORWRITEENABLE, 15}, {D3DRS_TWEENFACTOR, F(0.0f)},
    {D3DRS_BLENDOP, 1}, {D3DRS_POSITIONDEGREE, 3}, {D3DRS_NORMALDEGREE, 1}, {D3DRS_SCISSORTESTENABLE, 0},
    {D3DRS_SLOPESCALEDEPTHBIAS, F(0.0f)}, {D3DRS_ANTIALIASEDLINEENABLE, 0}, {D3DRS_MINTESSELLATIONLEVEL, F(1.0f)},
    {D3DRS_MAXTESSELLATIONLEVEL, F(1.0f)}, {D3DRS_ADAPTIVETESS_X, F(0.0f)}, {D3DRS_ADAPTIVETESS_Y, F(0.0f)},
    {D3DRS_ADAPTIVETESS_Z, F(1.0f)}, {D3DRS_ADAPTIVETESS_W, F(0.0f)}, {D3DRS_ENABLEADAPTIVETESSELLATION, 0},
    {D3DRS_TWOSIDEDSTENCILMODE, 0}, {D3DRS_CCW_STENCILFAIL, 1}, {D3DRS_CCW_STENCILZFAIL, 1},
    {D3DRS_CCW_STENCILPASS, 1}, {D3DRS_CCW_STENCILFUNC, 8}, {D3DRS_COLORWRITEENABLE1, 15},
    {D3DRS_COLORWRITEENABLE2, 15}, {D3DRS_COLORWRITEENABLE3, 15}, {D3DRS_BLENDFACTOR, 0xFFFFFFFFu},
    {D3DRS_SRGBWRITEENABLE, 0}, {D3DRS_DEPTHBIAS, F(0.0f)}, {D3DRS_WRAP8, 0}, {D3DRS_WRAP9, 0}, {D3DRS_WRAP10, 0},
    {D3DRS_WRAP11, 0}, {D3DRS_WRAP12, 0}, {D3DRS_WRAP13, 0}, {D3DRS_WRAP14, 0}, {D3DRS_WRAP15, 0},
    {D3DRS_SEPARATEALPHABLENDENABLE, 0}, {D3DRS_SRCBLENDALPHA, 2}, {D3DRS_DESTBLENDALPHA, 1},
    {D3DRS_BLENDOPALPHA, 1},
};
static_assert(sizeof kRenderDefaults / sizeof kRenderDefaults[0] == 103, "render-state defaults");

const DefaultState kSamplerDefaults[] = {
    {D3DSAMP_ADDRESSU, 1},   {D3DSAMP_ADDRESSV, 1},    {D3DSAMP_ADDRESSW, 1},      {D3DSAMP_BORDERCOLOR, 0},
    {D3DSAMP_MAGFILTER, 1},  {D3DSAMP_MINFILTER, 1},   {D3DSAMP_MIPFILTER, 0},     {D3DSAMP_MIPMAPLODBIAS, 0},
    {D3DSAMP_MAXMIPLEVEL, 0}, {D3DSAMP_MAXANISOTROPY, 1}, {D3DSAMP_SRGBTEXTURE, 0}, {D3DSAMP_ELEMENTINDEX, 0},
    {D3DSAMP_DMAPOFFSET, 0},
};
static_assert(sizeof kSamplerDefaults / sizeof kSamplerDefaults[0] == 13, "sampler-state defaults");

// Stage states; COLOROP, ALPHAOP and TEXCOORDINDEX depend on the stage.
const DefaultState kStageDefaults[] = {
    {D3DTSS_COLOROP, 0},       {D3DTSS_COLORARG1, 2},      {D3DTSS_COLORARG2, 1},
    {D3DTSS_ALPHAOP, 0},       {D3DTSS_ALPHAARG1, 2},      {D3DTSS_ALPHAARG2, 1},
    {D3DTSS_BUMPENVMAT00, 0},  {D3DTSS_BUMPENVMAT01, 0},   {D3DTSS_BUMPENVMAT10, 0},
    {D3DTSS_BUMPENVMAT11, 0},  {D3DTSS_TEXCOORDINDEX, 0},  {D3DTSS_BUMPENVLSCALE, 0},
    {D3DTSS_BUMPENVLOFFSET, 0}, {D3DTSS_TEXTURETRANSFORMFLAGS, 0}, {D3DTSS_COLORARG0, 1},
    {D3DTSS_ALPHAARG0, 1},     {D3DTSS_RESULTARG, 1},      {D3DTSS_CONSTANT, 0},
};
static_assert(sizeof kStageDefaults / sizeof kStageDefaults[0] == 18, "stage-state defaults");

void SetBoth(STATE_ENTRY& e, uint32_t value) {
  e.value = value;
  e.defined = 1;
  e.applied = 1;
}
}  // namespace

CShader::CShader() {
  for (const DefaultState& d : kRenderDefaults) SetBoth(m_Render[d.state], d.value);
  for (uint32_t s = 0; s < SAMPLERS; ++s)
    for (const DefaultState& d : kSamplerDefaults) SetBoth(m_Sampler[s][d.state], d.value);
  for (uint32_t s = 0; s < STAGES; ++s) {
    for (const DefaultState& d : kStageDefaults) SetBoth(m_Stage[s][d.state], d.value);
    m_Stage[s][D3DTSS_COLOROP].value = s == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
    m_Stage[s][D3DTSS_ALPHAOP].value = s == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
    m_Stage[s][D3DTSS_TEXCOORDINDEX].value = s;
  }
}

CShader::CShader(const CShader& other) : CResource(other) {
  std::memcpy(m_Render, other.m_Render, sizeof m_Render);
  std::memcpy(m_Sampler, other.m_Sampler, sizeof m_Sampler);
  std::memcpy(m_Stage, other.m_Stage, sizeof m_Stage);
}

CShader& CShader::operator=(const CShader& other) {
  if (this != &other) {
    std::memcpy(m_Render, other.m_Render, sizeof m_Render);
    std::memcpy(m_Sampler, other.m_Sampler, sizeof m_Sampler);
    std::memcpy(m_Stage, other.m_Stage, sizeof m_Stage);
  }
  return *this;
}

bool CShader::Apply(bool force) const { return g_pGraphicsDevice && ApplyTo(*g_pGraphicsDevice, force); }

bool CShader::ApplyTo(CGraphicsDevice& device, bool force) const {
  bool ok = true;
  for (uint32_t k = 0; k < RENDER_STATES; ++k)
    if (m_Render[k].applied) ok &= device.SetRenderState(k, m_Render[k].value, force);
  for (uint32_t s = 0; s < SAMPLERS; ++s)
    for (uint32_t t = 0; t < SAMPLER_STATES; ++t)
      if (m_Sampler[s][t].applied) ok &= device.SetSamplerState(s, t, m_Sampler[s][t].value, force);
  for (uint32_t s = 0; s < STAGES; ++s)
    for (uint32_t t = 0; t < STAGE_STATES; ++t)
      if (m_Stage[s][t].applied) ok &= device.SetTextureStageState(s, t, m_Stage[s][t].value, force);
  return ok;
}

bool CShader::ApplyRenderState(uint32_t state) const {
  if (state >= RENDER_STATES || !m_Render[state].applied) return true;
  return g_pGraphicsDevice && g_pGraphicsDevice->SetRenderState(state, m_Render[state].value, false);
}

bool CShader::Load(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes)) return false;
  size_t pos = 0;
  auto read = [&](uint32_t* out) {
    if (bytes.size() - pos < 4) return false;
    *out = uint32_t(bytes[pos]) | (uint32_t(bytes[pos + 1]) << 8) | (uint32_t(bytes[pos + 2]) << 16) |
           (uint32_t(bytes[pos + 3]) << 24);
    pos += 4;
    return true;
  };
  // One section: a count and that many pairs. A count larger than the
  // pairs left in the file reads only the pairs that are there.
  auto section = [&](auto write) {
    uint32_t count;
    if (!read(&count)) return false;
    const size_t pairsLeft = (bytes.size() - pos) / 8;
    const bool whole = count <= pairsLeft;
    const size_t n = whole ? count : pairsLeft;
    for (size_t i = 0; i < n; ++i) {
      uint32_t number = 0, value = 0;
      read(&number);
      read(&value);
      write(number, value);  // numbers outside the block are skipped
    }
    return whole;
  };
  if (!section([&](uint32_t k, uint32_t v) { SetRenderState(k, v); })) return true;
  for (uint32_t s = 0; s < SAMPLERS; ++s)
    if (!section([&](uint32_t t, uint32_t v) { SetSamplerState(s, t, v); })) return true;
  for (uint32_t s = 0; s < STAGES; ++s)
    if (!section([&](uint32_t t, uint32_t v) { SetTextureStageState(s, t, v); })) return true;
  return true;
}

STATE_ENTRY* CShader::RenderEntry(uint32_t state) { return state < RENDER_STATES ? &m_Render[state] : nullptr; }
STATE_ENTRY* CShader::SamplerEntry(uint32_t sampler, uint32_t type) {
  return sampler < SAMPLERS && type < SAMPLER_STATES ? &m_Sampler[sampler][type] : nullptr;
}
STATE_ENTRY* CShader::StageEntry(uint32_t stage, uint32_t type) {
  return stage < STAGES && type < STAGE_STATES ? &m_Stage[stage][type] : nullptr;
}

namespace {
bool Write(STATE_ENTRY* e, uint32_t value) {
  if (!e) return false;
  e->value = value;
  e->defined = 1;
  return true;
}
STATE_ENTRY Read(const STATE_ENTRY* e) { return e ? *e : STATE_ENTRY(); }
}  // namespace

bool CShader::SetRenderState(uint32_t state, uint32_t value) { return Write(RenderEntry(state), value); }
bool CShader::SetSamplerState(uint32_t sampler, uint32_t type, uint32_t value) {
  return Write(SamplerEntry(sampler, type), value);
}
bool CShader::SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value) {
  return Write(StageEntry(stage, type), value);
}
STATE_ENTRY CShader::GetRenderState(uint32_t state) const {
  return Read(const_cast<CShader*>(this)->RenderEntry(state));
}
STATE_ENTRY CShader::GetSamplerState(uint32_t sampler, uint32_t type) const {
  return Read(const_cast<CShader*>(this)->SamplerEntry(sampler, type));
}
STATE_ENTRY CShader::GetTextureStageState(uint32_t stage, uint32_t type) const {
  return Read(const_cast<CShader*>(this)->StageEntry(stage, type));
}

void CShader::ClearDefinedFlags() {
  for (STATE_ENTRY& e : m_Render) e.defined = 0;
  for (auto& sampler : m_Sampler)
    for (STATE_ENTRY& e : sampler) e.defined = 0;
  for (auto& stage : m_Stage)
    for (STATE_ENTRY& e : stage) e.defined = 0;
}

uint32_t CShader::CountApplied(uint32_t* render, uint32_t* sampler, uint32_t* stage) const {
  uint32_t r = 0, sa = 0, st = 0;
  for (const STATE_ENTRY& e : m_Render) r += e.applied;
  for (const auto& s : m_Sampler)
    for (const STATE_ENTRY& e : s) sa += e.applied;
  for (const auto& s : m_Stage)
    for (const STATE_ENTRY& e : s) st += e.applied;
  if (render) *render = r;
  if (sampler) *sampler = sa;
  if (stage) *stage = st;
  return r + sa + st;
}

// ---- The factory ----

CShaderFactory::CShaderFactory() {
  m_pDefault = MakeDefaultEntry(DEFAULT_RESOURCE_NAME);
  m_pDefaultTransparent = MakeDefaultEntry(DEFAULT_TRANSPARENT_RESOURCE_NAME);
  for (CShader* block : {m_pDefault, m_pDefaultTransparent})
    for (uint32_t s = 0; s < CShader::SAMPLERS; ++s) {
      block->SetSamplerState(s, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
      block->SetSamplerState(s, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
      block->SetSamplerState(s, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
    }
  m_pDefaultTransparent->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  m_pDefaultTransparent->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  m_pDefaultTransparent->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
}

std::string CShaderFactory::GetDirectory() const { return g_ShaderDirectory; }

bool CShaderFactory::Load(const std::string& key) {
  CShader& block = FindOrInsert(key);
  if (!IsGeneratedName(key) && !block.Load(PathFor(key))) {
    Erase(key);
    return false;
  }
  block.SetName(key);
  block.SetRefCount(1);
  return true;
}

}  // namespace Nembra
