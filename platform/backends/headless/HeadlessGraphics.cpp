#include "platform/HeadlessGraphics.h"

#include <algorithm>
#include <cstring>

#include "platform/backends/MemoryResources.h"

namespace platform {
namespace headless {

namespace {
GraphicsControls g_Controls;
RecordingDevice* g_Current = nullptr;

class RecordedTexture final : public detail::MemoryTexture {
 public:
  RecordedTexture(RecordingDevice* device, uint32_t w, uint32_t h, uint32_t levels, DWORD usage, D3DFORMAT format,
                  D3DPOOL pool)
      : MemoryTexture(w, h, levels, usage, format, pool), m_Device(device->Link()) {
    device->ObjectMade(true);
  }
  HRESULT LockRect(uint32_t level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override {
    if (*m_Device) (*m_Device)->CountLock();
    return MemoryTexture::LockRect(level, locked, rect, flags);
  }

 protected:
  ~RecordedTexture() override {
    if (*m_Device) (*m_Device)->ObjectGone(true);
  }

 private:
  std::shared_ptr<RecordingDevice*> m_Device;
};

class RecordedVertexBuffer final : public detail::MemoryVertexBuffer {
 public:
  RecordedVertexBuffer(RecordingDevice* device, uint32_t length, DWORD usage, DWORD fvf, D3DPOOL pool)
      : MemoryVertexBuffer(length, usage, fvf, pool), m_Device(device->Link()) {
    device->ObjectMade(false);
  }
  HRESULT Lock(uint32_t offset, uint32_t size, void** data, DWORD flags) override {
    if (*m_Device) (*m_Device)->CountLock();
    return MemoryVertexBuffer::Lock(offset, size, data, flags);
  }

 protected:
  ~RecordedVertexBuffer() override {
    if (*m_Device) (*m_Device)->ObjectGone(false);
  }

 private:
  std::shared_ptr<RecordingDevice*> m_Device;
};

class RecordedIndexBuffer final : public detail::MemoryIndexBuffer {
 public:
  RecordedIndexBuffer(RecordingDevice* device, uint32_t length, DWORD usage, D3DFORMAT format, D3DPOOL pool)
      : MemoryIndexBuffer(length, usage, format, pool), m_Device(device->Link()) {
    device->ObjectMade(false);
  }
  HRESULT Lock(uint32_t offset, uint32_t size, void** data, DWORD flags) override {
    if (*m_Device) (*m_Device)->CountLock();
    return MemoryIndexBuffer::Lock(offset, size, data, flags);
  }

 protected:
  ~RecordedIndexBuffer() override {
    if (*m_Device) (*m_Device)->ObjectGone(false);
  }

 private:
  std::shared_ptr<RecordingDevice*> m_Device;
};

class HeadlessSystem final : public IGraphicsSystem {
 public:
  HRESULT GetDeviceCaps(D3DCAPS9* caps) override {
    if (!caps) return D3DERR_INVALIDCALL;
    *caps = D3DCAPS9();
    caps->DevCaps = g_Controls.devCaps;
    caps->MaxActiveLights = MAX_ACTIVE_LIGHTS;
    caps->MaxTextureWidth = caps->MaxTextureHeight = 16384;
    caps->MaxSimultaneousTextures = MAX_TEXTURE_STAGES;
    return D3D_OK;
  }
  HRESULT GetAdapterDisplayMode(D3DDISPLAYMODE* mode) override {
    if (!mode || g_Controls.displayModes.empty()) return D3DERR_NOTAVAILABLE;
    *mode = g_Controls.displayModes.front();
    return D3D_OK;
  }
  uint32_t GetAdapterModeCount(D3DFORMAT format) override {
    return static_cast<uint32_t>(std::count_if(g_Controls.displayModes.begin(), g_Controls.displayModes.end(),
                                               [&](const D3DDISPLAYMODE& m) { return m.Format == format; }));
  }
  HRESULT EnumAdapterModes(D3DFORMAT format, uint32_t index, D3DDISPLAYMODE* mode) override {
    if (!mode) return D3DERR_INVALIDCALL;
    for (const D3DDISPLAYMODE& m : g_Controls.displayModes) {
      if (m.Format != format) continue;
      if (index-- == 0) {
        *mode = m;
        return D3D_OK;
      }
    }
    return D3DERR_INVALIDCALL;
  }
  HRESULT CreateDevice(HWND window, DWORD behaviour, D3DPRESENT_PARAMETERS* params, IDevice** device) override {
    if (!params || !device) return D3DERR_INVALIDCALL;
    *device = nullptr;
    if (g_Controls.failDeviceCreation) return D3DERR_NOTAVAILABLE;
    *device = new RecordingDevice(*params);
    return D3D_OK;
  }
};

std::string Num(DWORD v) { return std::to_string(v); }

// What a device keeps between ClearLog calls, so a long headless run does
// not grow without bound: log lines and state calls, draws, and the vertex
// bytes copied into the draws (later draws keep none).
constexpr size_t kMaxLogEntries = 100000;
constexpr size_t kMaxDraws = 10000;
constexpr size_t kMaxDrawVertexBytes = size_t(64) << 20;

void Keep(std::vector<std::pair<DWORD, DWORD>>& calls, DWORD key, DWORD value) {
  if (calls.size() < kMaxLogEntries) calls.emplace_back(key, value);
}
}  // namespace

GraphicsControls& Controls() { return g_Controls; }
RecordingDevice* CurrentDevice() { return g_Current; }
void ResetGraphics() { g_Controls = GraphicsControls(); }

IGraphicsSystem* CreateHeadlessGraphicsSystem() {
  if (g_Controls.failSystemCreation) return nullptr;
  return new HeadlessSystem();
}

RecordingDevice::RecordingDevice(const D3DPRESENT_PARAMETERS& params)
    : m_Params(params), m_Self(std::make_shared<RecordingDevice*>(this)) {
  ResetStates();
  for (int i = 0; i < 256; ++i)
    m_Gamma.red[i] = m_Gamma.green[i] = m_Gamma.blue[i] = static_cast<uint16_t>(i * 257);
  g_Current = this;
}

RecordingDevice::~RecordingDevice() {
  ResetStates();  // gives back the bound textures and buffers
  *m_Self = nullptr;
  if (g_Current == this) g_Current = nullptr;
}

void RecordingDevice::ResetStates() {
  m_States.SetDefaults();
  m_Bound.Clear();
  m_Transforms.clear();
  m_Lights.clear();
  m_LightOn.clear();
  m_LightsOnCount = 0;
  m_Material = D3DMATERIAL9();
  m_Viewport = D3DVIEWPORT9();
  m_Viewport.Width = m_Params.BackBufferWidth;
  m_Viewport.Height = m_Params.BackBufferHeight;
}

void RecordingDevice::Record(const std::string& line) {
  if (m_Log.size() < kMaxLogEntries) m_Log.push_back(line);
}

void RecordingDevice::ClearLog() {
  m_Stats = GraphicsStats();
  m_Log.clear();
  m_Draws.clear();
  m_DrawVertexBytes = 0;
  m_RenderStateCalls.clear();
  m_SamplerStateCalls.clear();
  m_StageStateCalls.clear();
}

void RecordingDevice::LoseDevice() { m_Lost = 1; }
void RecordingDevice::MakeResettable() {
  if (m_Lost) m_Lost = 2;
}

DWORD RecordingDevice::RenderState(D3DRENDERSTATETYPE state) const {
  return state < RENDER_STATE_COUNT ? m_States.render[state] : 0;
}
DWORD RecordingDevice::SamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type) const {
  return sampler < MAX_TEXTURE_STAGES && type < SAMPLER_STATE_COUNT ? m_States.sampler[sampler][type] : 0;
}
DWORD RecordingDevice::StageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type) const {
  return stage < MAX_TEXTURE_STAGES && type < STAGE_STATE_COUNT ? m_States.stage[stage][type] : 0;
}
ITexture* RecordingDevice::BoundTexture(DWORD stage) const {
  return stage < MAX_TEXTURE_STAGES ? m_Bound.textures[stage] : nullptr;
}
D3DXMATRIX RecordingDevice::Transform(D3DTRANSFORMSTATETYPE state) const {
  auto it = m_Transforms.find(state);
  if (it != m_Transforms.end()) return it->second;
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  return identity;
}
D3DLIGHT9 RecordingDevice::Light(DWORD index) const {
  auto it = m_Lights.find(index);
  return it != m_Lights.end() ? it->second : D3DLIGHT9();
}
bool RecordingDevice::LightEnabled(DWORD index) const {
  auto it = m_LightOn.find(index);
  return it != m_LightOn.end() && it->second;
}

HRESULT RecordingDevice::TestCooperativeLevel() {
  if (m_Lost == 1) return D3DERR_DEVICELOST;
  if (m_Lost == 2) return D3DERR_DEVICENOTRESET;
  return D3D_OK;
}

HRESULT RecordingDevice::Reset(D3DPRESENT_PARAMETERS* params) {
  ++m_Stats.resets;
  Record("Reset");
  if (!params) return D3DERR_INVALIDCALL;
  if (g_Controls.failResets > 0) {
    --g_Controls.failResets;
    return D3DERR_DEVICELOST;
  }
  if (m_Lost == 1) return D3DERR_DEVICELOST;
  m_Params = *params;
  m_Lost = 0;
  m_InScene = false;
  ResetStates();
  return D3D_OK;
}

HRESULT RecordingDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
  ++m_Stats.renderStateCalls;
  Keep(m_RenderStateCalls, state, value);
  Record("SetRenderState " + Num(state) + " " + Num(value));
  if (g_Controls.failSetRenderState) return D3DERR_INVALIDCALL;
  return m_States.SetRender(state, value);
}
HRESULT RecordingDevice::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
  return m_States.GetRender(state, value);
}
HRESULT RecordingDevice::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
  ++m_Stats.samplerStateCalls;
  Keep(m_SamplerStateCalls, (sampler << 16) | type, value);
  Record("SetSamplerState " + Num(sampler) + " " + Num(type) + " " + Num(value));
  if (g_Controls.failSetRenderState) return D3DERR_INVALIDCALL;
  return m_States.SetSampler(sampler, type, value);
}
HRESULT RecordingDevice::GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) {
  return m_States.GetSampler(sampler, type, value);
}
HRESULT RecordingDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
  ++m_Stats.stageStateCalls;
  Keep(m_StageStateCalls, (stage << 16) | type, value);
  Record("SetTextureStageState " + Num(stage) + " " + Num(type) + " " + Num(value));
  if (g_Controls.failSetRenderState) return D3DERR_INVALIDCALL;
  return m_States.SetStage(stage, type, value);
}
HRESULT RecordingDevice::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) {
  return m_States.GetStage(stage, type, value);
}

HRESULT RecordingDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DXMATRIX* matrix) {
  ++m_Stats.transformCalls;
  Record("SetTransform " + Num(state));
  if (!matrix || g_Controls.failSetTransform) return D3DERR_INVALIDCALL;
  m_Transforms[state] = *matrix;
  return D3D_OK;
}
HRESULT RecordingDevice::GetTransform(D3DTRANSFORMSTATETYPE state, D3DXMATRIX* matrix) {
  if (!matrix) return D3DERR_INVALIDCALL;
  *matrix = Transform(state);
  return D3D_OK;
}
HRESULT RecordingDevice::SetLight(DWORD index, const D3DLIGHT9* light) {
  ++m_Stats.lightCalls;
  Record("SetLight " + Num(index));
  if (!light) return D3DERR_INVALIDCALL;
  m_Lights[index] = *light;
  return D3D_OK;
}
HRESULT RecordingDevice::GetLight(DWORD index, D3DLIGHT9* light) {
  if (!light || !m_Lights.count(index)) return D3DERR_INVALIDCALL;
  *light = m_Lights[index];
  return D3D_OK;
}
HRESULT RecordingDevice::LightEnable(DWORD index, BOOL enable) {
  ++m_Stats.lightCalls;
  Record("LightEnable " + Num(index) + " " + Num(enable ? 1 : 0));
  const bool was = LightEnabled(index);
  if (enable && !was && m_LightsOnCount >= MAX_ACTIVE_LIGHTS) return D3DERR_INVALIDCALL;
  if (enable && !m_Lights.count(index)) m_Lights[index] = D3DLIGHT9();  // a default light, as the device makes one
  if ((enable != 0) != was) m_LightsOnCount = enable ? m_LightsOnCount + 1 : m_LightsOnCount - 1;
  m_LightOn[index] = enable != 0;
  return D3D_OK;
}
HRESULT RecordingDevice::GetLightEnable(DWORD index, BOOL* enable) {
  if (!enable || !m_Lights.count(index)) return D3DERR_INVALIDCALL;
  *enable = LightEnabled(index) ? 1 : 0;
  return D3D_OK;
}
HRESULT RecordingDevice::SetMaterial(const D3DMATERIAL9* material) {
  ++m_Stats.materialCalls;
  Record("SetMaterial");
  if (!material) return D3DERR_INVALIDCALL;
  m_Material = *material;
  return D3D_OK;
}
HRESULT RecordingDevice::GetMaterial(D3DMATERIAL9* material) {
  if (!material) return D3DERR_INVALIDCALL;
  *material = m_Material;
  return D3D_OK;
}
HRESULT RecordingDevice::SetViewport(const D3DVIEWPORT9* viewport) {
  Record("SetViewport");
  if (!viewport) return D3DERR_INVALIDCALL;
  m_Viewport = *viewport;
  return D3D_OK;
}
HRESULT RecordingDevice::GetViewport(D3DVIEWPORT9* viewport) {
  if (!viewport) return D3DERR_INVALIDCALL;
  *viewport = m_Viewport;
  return D3D_OK;
}

HRESULT RecordingDevice::CreateTexture(uint32_t width, uint32_t height, uint32_t levels, DWORD usage,
                                       D3DFORMAT format, D3DPOOL pool, ITexture** texture) {
  Record("CreateTexture " + Num(width) + " " + Num(height) + " " + Num(levels) + " " + Num(format));
  if (!texture) return D3DERR_INVALIDCALL;
  *texture = nullptr;
  if (g_Controls.failTextureCreation) return D3DERR_OUTOFVIDEOMEMORY;
  if (g_Controls.failTextureCreationWithLevels >= 0 &&
      (levels == 0 || levels > uint32_t(g_Controls.failTextureCreationWithLevels)))
    return D3DERR_INVALIDCALL;
  auto* made = new RecordedTexture(this, width, height, levels, usage, format, pool);
  if (!made->Valid()) {
    made->Release();
    return D3DERR_INVALIDCALL;
  }
  *texture = made;
  return D3D_OK;
}

HRESULT RecordingDevice::CreateVertexBuffer(uint32_t length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                            IVertexBuffer** buffer) {
  Record("CreateVertexBuffer " + Num(length) + " " + Num(usage) + " " + Num(fvf) + " " + Num(pool));
  if (!buffer) return D3DERR_INVALIDCALL;
  *buffer = nullptr;
  if (g_Controls.failBufferCreation) return D3DERR_OUTOFVIDEOMEMORY;
  if (!detail::ValidBufferRequest(length, pool)) return D3DERR_INVALIDCALL;
  *buffer = new RecordedVertexBuffer(this, length, usage, fvf, pool);
  return D3D_OK;
}

HRESULT RecordingDevice::CreateIndexBuffer(uint32_t length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                           IIndexBuffer** buffer) {
  Record("CreateIndexBuffer " + Num(length) + " " + Num(usage) + " " + Num(format) + " " + Num(pool));
  if (!buffer) return D3DERR_INVALIDCALL;
  *buffer = nullptr;
  if (g_Controls.failBufferCreation) return D3DERR_OUTOFVIDEOMEMORY;
  if (!detail::ValidBufferRequest(length, pool) || (format != D3DFMT_INDEX16 && format != D3DFMT_INDEX32))
    return D3DERR_INVALIDCALL;
  *buffer = new RecordedIndexBuffer(this, length, usage, format, pool);
  return D3D_OK;
}

HRESULT RecordingDevice::SetTexture(DWORD stage, ITexture* texture) {
  ++m_Stats.textureBinds;
  Record("SetTexture " + Num(stage) + (texture ? " texture" : " null"));
  if (stage >= MAX_TEXTURE_STAGES) return D3DERR_INVALIDCALL;
  m_Bound.SetTexture(stage, texture);
  return D3D_OK;
}
HRESULT RecordingDevice::GetTexture(DWORD stage, ITexture** texture) {
  if (!texture || stage >= MAX_TEXTURE_STAGES) return D3DERR_INVALIDCALL;
  *texture = m_Bound.textures[stage];
  if (*texture) (*texture)->AddRef();
  return D3D_OK;
}
HRESULT RecordingDevice::SetFVF(DWORD fvf) {
  Record("SetFVF " + Num(fvf));
  m_Bound.fvf = fvf;
  return D3D_OK;
}
HRESULT RecordingDevice::SetStreamSource(uint32_t stream, IVertexBuffer* buffer, uint32_t offset, uint32_t stride) {
  Record("SetStreamSource " + Num(stream) + " " + Num(offset) + " " + Num(stride));
  if (stream != 0) return D3DERR_INVALIDCALL;
  m_Bound.SetStream(buffer, offset, stride);
  return D3D_OK;
}
HRESULT RecordingDevice::SetIndices(IIndexBuffer* buffer) {
  Record("SetIndices");
  m_Bound.SetIndices(buffer);
  return D3D_OK;
}

HRESULT RecordingDevice::RecordDraw(D3DPRIMITIVETYPE type, uint32_t primitiveCount, bool indexed, bool userPointer,
                                    const uint8_t* vertices, size_t bytes, const char* name) {
  Record(std::string(name) + " " + Num(type) + " " + Num(primitiveCount));
  if (Lost()) return D3DERR_DEVICELOST;
  if (PrimitiveVertexCount(type, primitiveCount) == 0) return D3DERR_INVALIDCALL;
  ++m_Stats.draws;
  m_Stats.primitives += primitiveCount;
  if (m_Draws.size() >= kMaxDraws) return D3D_OK;
  DrawRecord r;
  r.type = type;
  r.primitiveCount = primitiveCount;
  r.indexed = indexed;
  r.userPointer = userPointer;
  r.fvf = m_Bound.fvf;
  r.texture0 = m_Bound.textures[0];
  r.texture1 = m_Bound.textures[1];
  r.alphaBlend = m_States.render[D3DRS_ALPHABLENDENABLE];
  r.srcBlend = m_States.render[D3DRS_SRCBLEND];
  r.destBlend = m_States.render[D3DRS_DESTBLEND];
  r.zWrite = m_States.render[D3DRS_ZWRITEENABLE];
  r.cull = m_States.render[D3DRS_CULLMODE];
  r.lighting = m_States.render[D3DRS_LIGHTING];
  r.textureFactor = m_States.render[D3DRS_TEXTUREFACTOR];
  r.world = Transform(D3DTS_WORLD);
  const size_t keep = std::min<size_t>(bytes, 65536);
  if (vertices && m_DrawVertexBytes + keep <= kMaxDrawVertexBytes) {
    r.vertices.assign(vertices, vertices + keep);
    m_DrawVertexBytes += keep;
  }
  m_Draws.push_back(std::move(r));
  return D3D_OK;
}

HRESULT RecordingDevice::DrawPrimitive(D3DPRIMITIVETYPE type, uint32_t startVertex, uint32_t primitiveCount) {
  if (!m_Bound.stream) return D3DERR_INVALIDCALL;
  auto* vb = static_cast<detail::MemoryVertexBuffer*>(m_Bound.stream);
  const uint32_t count = PrimitiveVertexCount(type, primitiveCount);
  if (!detail::DrawFits(vb->Bytes().size(), m_Bound.streamOffset, m_Bound.streamStride, startVertex, count))
    return D3DERR_INVALIDCALL;
  const size_t first = m_Bound.streamOffset + size_t(startVertex) * m_Bound.streamStride;
  return RecordDraw(type, primitiveCount, false, false, vb->Bytes().data() + first, size_t(count) * m_Bound.streamStride,
                    "DrawPrimitive");
}

HRESULT RecordingDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, int32_t baseVertex, uint32_t minIndex,
                                              uint32_t vertexCount, uint32_t startIndex, uint32_t primitiveCount) {
  if (!m_Bound.stream || !m_Bound.indices) return D3DERR_INVALIDCALL;
  auto* ib = static_cast<detail::MemoryIndexBuffer*>(m_Bound.indices);
  auto* vb = static_cast<detail::MemoryVertexBuffer*>(m_Bound.stream);
  const uint32_t count = PrimitiveVertexCount(type, primitiveCount);
  if (m_Bound.streamStride == 0 || vb->Bytes().size() < m_Bound.streamOffset) return D3DERR_INVALIDCALL;
  const uint64_t vertices = (vb->Bytes().size() - m_Bound.streamOffset) / m_Bound.streamStride;
  if (!detail::IndexedDrawFits(ib->Bytes(), ib->IndexSize(), startIndex, count, baseVertex, vertices))
    return D3DERR_INVALIDCALL;
  if (!detail::DrawFits(vb->Bytes().size(), m_Bound.streamOffset, m_Bound.streamStride,
                        uint32_t(baseVertex) + minIndex, vertexCount))
    return D3DERR_INVALIDCALL;
  const size_t first = m_Bound.streamOffset + size_t(uint32_t(baseVertex) + minIndex) * m_Bound.streamStride;
  return RecordDraw(type, primitiveCount, true, false, vb->Bytes().data() + first,
                    size_t(vertexCount) * m_Bound.streamStride, "DrawIndexedPrimitive");
}

HRESULT RecordingDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* vertices,
                                         uint32_t stride) {
  if (!vertices || stride == 0) return D3DERR_INVALIDCALL;
  const size_t bytes = size_t(PrimitiveVertexCount(type, primitiveCount)) * stride;
  return RecordDraw(type, primitiveCount, false, true, static_cast<const uint8_t*>(vertices), bytes,
                    "DrawPrimitiveUP");
}

HRESULT RecordingDevice::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t minIndex, uint32_t vertexCount,
                                                uint32_t primitiveCount, const void* indices, D3DFORMAT indexFormat,
                                                const void* vertices, uint32_t stride) {
  if (!indices || !vertices || stride == 0) return D3DERR_INVALIDCALL;
  if (indexFormat != D3DFMT_INDEX16 && indexFormat != D3DFMT_INDEX32) return D3DERR_INVALIDCALL;
  const uint32_t size = indexFormat == D3DFMT_INDEX32 ? 4 : 2;
  const uint32_t count = PrimitiveVertexCount(type, primitiveCount);
  if (count == 0 || detail::HighestIndex(static_cast<const uint8_t*>(indices), count, size) >=
                        uint64_t(minIndex) + vertexCount)
    return D3DERR_INVALIDCALL;
  const uint8_t* first = static_cast<const uint8_t*>(vertices) + size_t(minIndex) * stride;
  return RecordDraw(type, primitiveCount, true, true, first, size_t(vertexCount) * stride,
                    "DrawIndexedPrimitiveUP");
}

HRESULT RecordingDevice::Clear(DWORD count, const RECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) {
  ++m_Stats.clears;
  Record("Clear " + Num(flags) + " " + Num(color));
  if (Lost()) return D3DERR_DEVICELOST;
  if (flags & D3DCLEAR_ZBUFFER && !m_Params.EnableAutoDepthStencil) return D3DERR_INVALIDCALL;
  m_LastClearColor = color;
  m_LastClearFlags = flags;
  m_LastClearZ = z;
  return D3D_OK;
}

HRESULT RecordingDevice::BeginScene() {
  ++m_Stats.beginScenes;
  Record("BeginScene");
  if (g_Controls.failBeginScene || m_InScene || Lost()) return D3DERR_INVALIDCALL;
  m_InScene = true;
  return D3D_OK;
}
HRESULT RecordingDevice::EndScene() {
  ++m_Stats.endScenes;
  Record("EndScene");
  if (g_Controls.failEndScene || !m_InScene) return D3DERR_INVALIDCALL;
  m_InScene = false;
  return D3D_OK;
}
HRESULT RecordingDevice::Present() {
  ++m_Stats.presents;
  Record("Present");
  if (g_Controls.failPresent) return E_FAIL;
  if (Lost()) return D3DERR_DEVICELOST;
  return D3D_OK;
}
void RecordingDevice::SetGammaRamp(uint32_t, DWORD, const D3DGAMMARAMP* ramp) {
  ++m_Stats.gammaRamps;
  Record("SetGammaRamp");
  if (ramp) m_Gamma = *ramp;
}
void RecordingDevice::GetGammaRamp(uint32_t, D3DGAMMARAMP* ramp) {
  if (ramp) *ramp = m_Gamma;
}
bool RecordingDevice::ReadBackBuffer(std::vector<uint32_t>&, uint32_t*, uint32_t*) { return false; }

}  // namespace headless
}  // namespace platform
