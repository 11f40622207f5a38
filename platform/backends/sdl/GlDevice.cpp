// The OpenGL 3.3 core device: every draw goes through a program generated
// for the fixed-function states in use (cached by key), and GL is told only
// what changed since the draw before. The scene is drawn into an off-screen
// back buffer; Present draws it to the window (or to an off-screen "screen")
// scaled with black bars, through the gamma ramp. A window the size of the
// back buffer with no ramp to apply is drawn on directly instead.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>
#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "platform/DeviceTiming.h"
#include "platform/Graphics.h"
#include "platform/Image.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/backends/DeviceStates.h"
#include "platform/backends/MemoryResources.h"
#include "platform/backends/sdl/GlContext.h"
#include "platform/backends/sdl/GlDrawBatch.h"
#include "platform/backends/sdl/GlMatrixRing.h"
#include "platform/backends/sdl/GlObjects.h"
#include "platform/backends/sdl/GlPipeline.h"
#include "platform/backends/sdl/GlProgram.h"
#include "platform/backends/sdl/GlState.h"

namespace platform {
namespace detail {

namespace {

const char* kPresentVertex = R"(#version 330 core
out vec2 vUv;
void main() {
  vec2 p = vec2(gl_VertexID == 1 ? 3.0 : -1.0, gl_VertexID == 2 ? 3.0 : -1.0);
  vUv = p * 0.5 + 0.5;
  gl_Position = vec4(p, 0.0, 1.0);
}
)";
const char* kPresentFragment = R"(#version 330 core
in vec2 vUv;
uniform sampler2D uImage;
uniform sampler2D uRamp;
out vec4 fragColor;
void main() {
  vec3 c = texture(uImage, vUv).rgb;
  vec3 i = (floor(c * 255.0 + 0.5) + 0.5) / 256.0;
  fragColor = vec4(texture(uRamp, vec2(i.r, 0.5)).r, texture(uRamp, vec2(i.g, 0.5)).g,
                   texture(uRamp, vec2(i.b, 0.5)).b, 1.0);
}
)";

// ---- The device ----

class GlDevice final : public IDevice {
 public:
  GlDevice(std::shared_ptr<GlContext> context, const D3DPRESENT_PARAMETERS& params)
      : m_Context(std::move(context)), m_Link(std::make_shared<DeviceLink>()) {
    m_Params = params;
    for (int i = 0; i < 256; ++i) m_Gamma.red[i] = m_Gamma.green[i] = m_Gamma.blue[i] = uint16_t(i * 257);
  }

  bool Init() {
    if (!m_Context->MakeCurrent()) return false;
    glGenVertexArrays(1, &m_Vao);
    glBindVertexArray(m_Vao);
    m_Matrices.Create();
    m_Link->cache.SetDrawFlush([this] { FlushDraws(); });
    m_StreamVertices.Create(1 << 20);
    m_StreamIndices.Create(1 << 18);
    glGenSamplers(GLsizei(MAX_TEXTURE_STAGES), m_Samplers);
    glGenTextures(1, &m_RampTexture);
    m_PresentProgram = LinkProgram(kPresentVertex, kPresentFragment);
    if (!m_PresentProgram) return false;
    // The final pass always reads the picture from unit 0 and the ramp from unit 1.
    glUseProgram(m_PresentProgram);
    glUniform1i(glGetUniformLocation(m_PresentProgram, "uImage"), 0);
    glUniform1i(glGetUniformLocation(m_PresentProgram, "uRamp"), 1);
    glGenVertexArrays(1, &m_PresentVao);
    if (!MakeTargets()) return false;
    UploadRamp();
    ResetStates();
    glEnable(GL_PROGRAM_POINT_SIZE);
    m_Link->cache.Invalidate();
    return glGetError() == GL_NO_ERROR;
  }

  // IDevice ------------------------------------------------------------
  HRESULT TestCooperativeLevel() override { return D3D_OK; }

  HRESULT Reset(D3DPRESENT_PARAMETERS* params) override {
    if (!params) return D3DERR_INVALIDCALL;
    m_Params = *params;
    m_Link->cache.Invalidate();
    if (!MakeTargets()) return D3DERR_NOTAVAILABLE;
    ResetStates();
    return D3D_OK;
  }

  // A state set to the value it has changes nothing the next draw sends.
  HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override {
    DWORD now = 0;
    if (m_States.GetRender(state, &now) == D3D_OK && now == value) return D3D_OK;
    Bump(m_Versions.states);
    // The texture factor, changed from draw to draw by sprites, is only a
    // uniform: the program stays.
    if (state != D3DRS_TEXTUREFACTOR) Bump(m_KeyStates);
    return m_States.SetRender(state, value);
  }
  HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override { return m_States.GetRender(state, value); }
  HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override {
    return m_States.SetSampler(sampler, type, value);
  }
  HRESULT GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) override {
    return m_States.GetSampler(sampler, type, value);
  }
  HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override {
    DWORD now = 0;
    if (m_States.GetStage(stage, type, &now) == D3D_OK && now == value) return D3D_OK;
    Bump(m_Versions.states);
    Bump(m_KeyStates);
    return m_States.SetStage(stage, type, value);
  }
  HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override {
    return m_States.GetStage(stage, type, value);
  }

  HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DXMATRIX* matrix) override {
    if (!matrix) return D3DERR_INVALIDCALL;
    if (state == D3DTS_VIEW) {
      m_View = *matrix;
      Bump(m_Versions.view);
    } else if (state == D3DTS_PROJECTION) {
      m_Proj = *matrix;
      Bump(m_Versions.proj);
    } else if (state >= D3DTS_TEXTURE0 && state < D3DTS_TEXTURE0 + MAX_TEXTURE_STAGES) {
      m_TexMat[state - D3DTS_TEXTURE0] = *matrix;
      Bump(m_Versions.texMats);
    } else if (state == D3DTS_WORLD) {
      m_World = *matrix;
      Bump(m_Versions.world);
    } else if (state > D3DTS_WORLD && state < D3DTS_WORLD + 256) {
      // Further world matrices (vertex blending) are kept but not used: skinning is done on the CPU.
    } else {
      return D3DERR_INVALIDCALL;
    }
    return D3D_OK;
  }
  HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DXMATRIX* matrix) override {
    if (!matrix) return D3DERR_INVALIDCALL;
    if (state == D3DTS_VIEW) *matrix = m_View;
    else if (state == D3DTS_PROJECTION) *matrix = m_Proj;
    else if (state == D3DTS_WORLD) *matrix = m_World;
    else if (state >= D3DTS_TEXTURE0 && state < D3DTS_TEXTURE0 + MAX_TEXTURE_STAGES) *matrix = m_TexMat[state - D3DTS_TEXTURE0];
    else D3DXMatrixIdentity(matrix);
    return D3D_OK;
  }
  HRESULT SetLight(DWORD index, const D3DLIGHT9* light) override {
    if (!light) return D3DERR_INVALIDCALL;
    m_Lights[index].light = *light;
    Bump(m_Versions.lights);
    return D3D_OK;
  }
  HRESULT GetLight(DWORD index, D3DLIGHT9* light) override {
    auto it = m_Lights.find(index);
    if (!light || it == m_Lights.end()) return D3DERR_INVALIDCALL;
    *light = it->second.light;
    return D3D_OK;
  }
  HRESULT LightEnable(DWORD index, BOOL enable) override {
    LightSlot& slot = m_Lights[index];  // a light never set is a default white directional one
    Bump(m_Versions.lights);
    if (enable && !slot.on && m_LightsOn.size() >= MAX_ACTIVE_LIGHTS) return D3DERR_INVALIDCALL;
    const auto at = std::lower_bound(m_LightsOn.begin(), m_LightsOn.end(), index);
    if (enable && !slot.on) m_LightsOn.insert(at, index);
    if (!enable && slot.on) m_LightsOn.erase(at);
    slot.on = enable != 0;
    return D3D_OK;
  }
  HRESULT GetLightEnable(DWORD index, BOOL* enable) override {
    auto it = m_Lights.find(index);
    if (!enable || it == m_Lights.end()) return D3DERR_INVALIDCALL;
    *enable = it->second.on ? 1 : 0;
    return D3D_OK;
  }
  HRESULT SetMaterial(const D3DMATERIAL9* material) override {
    if (!material) return D3DERR_INVALIDCALL;
    m_Material = *material;
    Bump(m_Versions.material);
    return D3D_OK;
  }
  HRESULT GetMaterial(D3DMATERIAL9* material) override {
    if (!material) return D3DERR_INVALIDCALL;
    *material = m_Material;
    return D3D_OK;
  }
  HRESULT SetViewport(const D3DVIEWPORT9* viewport) override {
    if (!viewport || viewport->Width == 0 || viewport->Height == 0 ||
        uint64_t(viewport->X) + viewport->Width > m_Params.BackBufferWidth ||
        uint64_t(viewport->Y) + viewport->Height > m_Params.BackBufferHeight)
      return D3DERR_INVALIDCALL;
    m_Viewport = *viewport;
    Bump(m_Versions.viewport);
    return D3D_OK;
  }
  HRESULT GetViewport(D3DVIEWPORT9* viewport) override {
    if (!viewport) return D3DERR_INVALIDCALL;
    *viewport = m_Viewport;
    return D3D_OK;
  }

  HRESULT CreateTexture(uint32_t width, uint32_t height, uint32_t levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                        ITexture** texture) override {
    if (!texture) return D3DERR_INVALIDCALL;
    *texture = nullptr;
    auto* made = new GlTexture(m_Link, width, height, levels, usage, format, pool);
    if (!made->Valid()) {
      made->Release();
      return D3DERR_INVALIDCALL;
    }
    *texture = made;
    return D3D_OK;
  }
  HRESULT CreateVertexBuffer(uint32_t length, DWORD usage, DWORD fvf, D3DPOOL pool, IVertexBuffer** buffer) override {
    if (!buffer) return D3DERR_INVALIDCALL;
    *buffer = nullptr;
    if (!ValidBufferRequest(length, pool)) return D3DERR_INVALIDCALL;
    *buffer = new GlVertexBuffer(m_Link, length, usage, fvf, pool);
    return D3D_OK;
  }
  HRESULT CreateIndexBuffer(uint32_t length, DWORD usage, D3DFORMAT format, D3DPOOL pool, IIndexBuffer** buffer) override {
    if (!buffer) return D3DERR_INVALIDCALL;
    *buffer = nullptr;
    if (!ValidBufferRequest(length, pool) || (format != D3DFMT_INDEX16 && format != D3DFMT_INDEX32))
      return D3DERR_INVALIDCALL;
    *buffer = new GlIndexBuffer(m_Link, length, usage, format, pool);
    return D3D_OK;
  }

  HRESULT SetTexture(DWORD stage, ITexture* texture) override {
    if (stage >= MAX_TEXTURE_STAGES) return D3DERR_INVALIDCALL;
    m_Bound.SetTexture(stage, texture);
    return D3D_OK;
  }
  HRESULT GetTexture(DWORD stage, ITexture** texture) override {
    if (!texture || stage >= MAX_TEXTURE_STAGES) return D3DERR_INVALIDCALL;
    *texture = m_Bound.textures[stage];
    if (*texture) (*texture)->AddRef();
    return D3D_OK;
  }
  HRESULT SetFVF(DWORD fvf) override {
    if (m_LayoutKnown && m_Bound.fvf == fvf) return D3D_OK;
    m_Bound.fvf = fvf;
    m_Layout = DescribeFVF(fvf);
    m_LayoutKnown = true;
    return D3D_OK;
  }
  HRESULT SetStreamSource(uint32_t stream, IVertexBuffer* buffer, uint32_t offset, uint32_t stride) override {
    if (stream != 0) return D3DERR_INVALIDCALL;
    m_Bound.SetStream(buffer, offset, stride);
    return D3D_OK;
  }
  HRESULT SetIndices(IIndexBuffer* buffer) override {
    m_Bound.SetIndices(buffer);
    return D3D_OK;
  }

  HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, uint32_t startVertex, uint32_t primitiveCount) override {
    const uint32_t count = PrimitiveVertexCount(type, primitiveCount);
    if (!Stream() || count == 0 || !DrawFits(Stream()->Bytes().size(), m_Bound.streamOffset, m_Bound.streamStride, startVertex, count))
      return D3DERR_INVALIDCALL;
    if (!Prepare()) return D3DERR_INVALIDCALL;
    const uint32_t first = BindStream();
    DrawArrays(PrimitiveMode(type), GLint(first + startVertex), GLsizei(count));
    ++m_Link->cache.Counters().draws;
    return D3D_OK;
  }

  HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, int32_t baseVertex, uint32_t minIndex, uint32_t vertexCount,
                               uint32_t startIndex, uint32_t primitiveCount) override {
    const uint32_t count = PrimitiveVertexCount(type, primitiveCount);
    if (!Stream() || !Indices() || count == 0 || baseVertex < 0) return D3DERR_INVALIDCALL;
    const uint32_t size = Indices()->IndexSize();
    // Every index must name a vertex inside the stream.
    if (m_Bound.streamStride == 0 || Stream()->Bytes().size() < m_Bound.streamOffset) return D3DERR_INVALIDCALL;
    const uint64_t vertices = (Stream()->Bytes().size() - m_Bound.streamOffset) / m_Bound.streamStride;
    if (!DrawFits(Indices()->Bytes().size(), 0, size, startIndex, count)) return D3DERR_INVALIDCALL;
    uint32_t lowest = 0, highest = 0;
    IndexRange(Indices()->Bytes().data() + size_t(startIndex) * size, count, size, &lowest, &highest);
    if (uint64_t(highest) + uint64_t(baseVertex) >= vertices) return D3DERR_INVALIDCALL;
    if (!Prepare()) return D3DERR_INVALIDCALL;
    const uint32_t first = BindStream();
    Indices()->Bind(size);
    // The range spares the driver a pass over the indices.
    DrawElements(PrimitiveMode(type), lowest, highest, GLsizei(count), size,
                 Indices()->Offset() + size_t(startIndex) * size, GLint(first) + baseVertex);
    ++m_Link->cache.Counters().draws;
    return D3D_OK;
  }

  HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* data, uint32_t stride) override {
    const uint32_t count = PrimitiveVertexCount(type, primitiveCount);
    if (!data || stride == 0 || count == 0) return D3DERR_INVALIDCALL;
    if (!Prepare()) return D3DERR_INVALIDCALL;
    const GLint first = StreamVertices(data, size_t(count) * stride, stride);
    DrawArrays(PrimitiveMode(type), first, GLsizei(count));
    ++m_Link->cache.Counters().draws;
    return D3D_OK;
  }

  HRESULT DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t minIndex, uint32_t vertexCount, uint32_t primitiveCount,
                                 const void* indices, D3DFORMAT indexFormat, const void* data, uint32_t stride) override {
    const uint32_t count = PrimitiveVertexCount(type, primitiveCount);
    if (!indices || !data || stride == 0 || count == 0) return D3DERR_INVALIDCALL;
    if (indexFormat != D3DFMT_INDEX16 && indexFormat != D3DFMT_INDEX32) return D3DERR_INVALIDCALL;
    const uint32_t size = indexFormat == D3DFMT_INDEX32 ? 4 : 2;
    uint32_t lowest = 0, highest = 0;
    IndexRange(static_cast<const uint8_t*>(indices), count, size, &lowest, &highest);
    if (highest >= uint64_t(minIndex) + vertexCount) return D3DERR_INVALIDCALL;
    if (!Prepare()) return D3DERR_INVALIDCALL;
    const GLint first = StreamVertices(data, (size_t(highest) + 1) * stride, stride);
    m_Link->cache.BindElementBuffer(m_StreamIndices.Id());
    m_Link->cache.Changing();
    const size_t at = m_StreamIndices.Write(GL_ELEMENT_ARRAY_BUFFER, indices, size_t(count) * size, size);
    ++m_Link->cache.Counters().bufferUploads;
    DrawElements(PrimitiveMode(type), lowest, highest, GLsizei(count), size, at, first);
    ++m_Link->cache.Counters().draws;
    return D3D_OK;
  }

  HRESULT Clear(DWORD count, const RECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) override {
    if ((flags & D3DCLEAR_ZBUFFER) && !m_Params.EnableAutoDepthStencil) return D3DERR_INVALIDCALL;
    gl::StateCache& cache = m_Link->cache;
    cache.Changing();
    cache.BindFramebuffer(m_Target);
    float c[4];
    ColorToVec(color, c);
    glClearColor(c[0], c[1], c[2], c[3]);
    glClearDepth(z);
    glClearStencil(GLint(stencil));
    cache.ColorMask(15);
    cache.DepthMask(true);
    GLbitfield bits = 0;
    if (flags & D3DCLEAR_TARGET) bits |= GL_COLOR_BUFFER_BIT;
    // No draw tests the stencil, so it is cleared with the depth: the two
    // share their storage, and clearing both is the driver's plain fill. A
    // depth buffer that holds the cleared value everywhere and that no draw
    // has written since is left as it is.
    const bool wholeTarget = (count == 0 || !rects) && m_Viewport.X == 0 && m_Viewport.Y == 0 &&
                             m_Viewport.Width == m_Params.BackBufferWidth &&
                             m_Viewport.Height == m_Params.BackBufferHeight;
    const bool depthClean = wholeTarget && !m_DepthWritten && m_DepthClearedTo == z && !(flags & D3DCLEAR_STENCIL);
    if ((flags & D3DCLEAR_ZBUFFER) && !depthClean) bits |= GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT;
    if (flags & D3DCLEAR_STENCIL) bits |= GL_STENCIL_BUFFER_BIT;
    if (flags & D3DCLEAR_ZBUFFER) {
      m_DepthWritten = !wholeTarget;
      m_DepthClearedTo = z;
    }
    auto clearRect = [&](int32_t l, int32_t t, int32_t r, int32_t b) {
      l = std::max<int32_t>(l, int32_t(m_Viewport.X));
      t = std::max<int32_t>(t, int32_t(m_Viewport.Y));
      r = std::min<int32_t>(r, int32_t(m_Viewport.X + m_Viewport.Width));
      b = std::min<int32_t>(b, int32_t(m_Viewport.Y + m_Viewport.Height));
      if (r <= l || b <= t) return;
      // The whole target is cleared without a scissor: the driver's fast clear.
      const bool whole = l == 0 && t == 0 && uint32_t(r) == m_Params.BackBufferWidth &&
                         uint32_t(b) == m_Params.BackBufferHeight;
      cache.Enable(GL_SCISSOR_TEST, !whole);
      if (!whole) glScissor(l, GLint(m_Params.BackBufferHeight) - b, r - l, b - t);
      glClear(bits);
    };
    if (count == 0 || !rects) {
      clearRect(int32_t(m_Viewport.X), int32_t(m_Viewport.Y), int32_t(m_Viewport.X + m_Viewport.Width),
                int32_t(m_Viewport.Y + m_Viewport.Height));
    } else {
      for (DWORD i = 0; i < count; ++i) clearRect(rects[i].left, rects[i].top, rects[i].right, rects[i].bottom);
    }
    cache.Enable(GL_SCISSOR_TEST, false);
    return D3D_OK;
  }

  HRESULT BeginScene() override {
    if (m_InScene) return D3DERR_INVALIDCALL;
    m_InScene = true;
    return D3D_OK;
  }
  HRESULT EndScene() override {
    if (!m_InScene) return D3DERR_INVALIDCALL;
    m_InScene = false;
    return D3D_OK;
  }

  HRESULT Present() override {
    gl::StateCache& cache = m_Link->cache;
    cache.Changing();
    m_LastFrame = cache.Counters();
    int dw = 0, dh = 0;
    GLuint screen = 0;
    if (!m_Context->DrawableSize(&dw, &dh)) {
      dw = int(m_ScreenWidth);
      dh = int(m_ScreenHeight);
      screen = m_ScreenFbo;
    }
    // Scaled to fit with the aspect kept: black bars on the long sides.
    const int bw = int(m_Params.BackBufferWidth), bh = int(m_Params.BackBufferHeight);
    const double scale = std::min(double(dw) / bw, double(dh) / bh);
    const int w = int(std::lround(bw * scale)), h = int(std::lround(bh * scale));
    const int x = (dw - w) / 2, y = (dh - h) / 2;
    cache.Enable(GL_SCISSOR_TEST, false);
    cache.ColorMask(15);
    if (m_Target != m_Fbo) {
      if (DrawsOnScreen()) {
        // The frame was drawn on the screen itself.
        m_Context->Swap();
        return Presented();
      }
      // The window or the ramp changed during the frame: the picture takes
      // the long way.
      glBindFramebuffer(GL_READ_FRAMEBUFFER, m_Target);
      glBindFramebuffer(GL_DRAW_FRAMEBUFFER, m_Fbo);
      glBlitFramebuffer(0, 0, bw, bh, 0, 0, bw, bh, GL_COLOR_BUFFER_BIT, GL_NEAREST);
      cache.ForgetFramebuffer();
    }
    cache.BindFramebuffer(screen);
    if (w != dw || h != dh) {
      glClearColor(0, 0, 0, 1);
      glClear(GL_COLOR_BUFFER_BIT);
    }
    if (m_RampIdentity && w == bw && h == bh) {
      // Nothing to scale and nothing to look up: a copy.
      glBindFramebuffer(GL_READ_FRAMEBUFFER, m_Fbo);
      glBlitFramebuffer(0, 0, w, h, x, y, x + w, y + h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
      cache.ForgetFramebuffer();
    } else {
      cache.Enable(GL_DEPTH_TEST, false);
      cache.Enable(GL_BLEND, false);
      cache.Enable(GL_CULL_FACE, false);
      cache.PolygonMode(GL_FILL);
      cache.Viewport(x, y, w, h);
      cache.UseProgram(m_PresentProgram);
      cache.BindTexture(0, m_ColorTexture);
      cache.BindSampler(0, 0);
      cache.BindTexture(1, m_RampTexture);
      cache.BindSampler(1, 0);
      cache.BindVertexArray(m_PresentVao);
      glDrawArrays(GL_TRIANGLES, 0, 3);
      cache.BindVertexArray(m_Vao);
    }
    m_Context->Swap();
    return Presented();
  }

  // After a Present: the next frame's target, the counters of a new frame.
  HRESULT Presented() {
    m_Link->arena.EndFrame();
    // A new target or a window of a new size may hold any depth.
    const GLuint target = m_Target;
    int dw = 0, dh = 0;
    m_Context->DrawableSize(&dw, &dh);
    ChooseTarget();
    if (target != m_Target || dw != m_DrawableWidth || dh != m_DrawableHeight) m_DepthWritten = true;
    m_DrawableWidth = dw;
    m_DrawableHeight = dh;
    m_Link->cache.BindFramebuffer(m_Target);
    m_Link->cache.Counters() = DeviceFrameCounters();
    return glGetError() == GL_NO_ERROR ? D3D_OK : E_FAIL;
  }

  // A window the size of the back buffer, shown without a ramp, is drawn
  // on directly: the final pass would only copy.
  bool DrawsOnScreen() {
    int dw = 0, dh = 0;
    return m_RampIdentity && m_Context->DrawableSize(&dw, &dh) && dw == int(m_Params.BackBufferWidth) &&
           dh == int(m_Params.BackBufferHeight);
  }
  void ChooseTarget() { m_Target = DrawsOnScreen() ? 0 : m_Fbo; }

  DeviceFrameCounters GetFrameCounters() const override { return m_LastFrame; }

  void SetGammaRamp(uint32_t, DWORD, const D3DGAMMARAMP* ramp) override {
    if (!ramp) return;
    m_Gamma = *ramp;
    UploadRamp();
  }
  void GetGammaRamp(uint32_t, D3DGAMMARAMP* ramp) override {
    if (ramp) *ramp = m_Gamma;
  }

  bool ReadBackBuffer(std::vector<uint32_t>& argb, uint32_t* width, uint32_t* height) override {
    return ReadTarget(m_Target, m_Params.BackBufferWidth, m_Params.BackBufferHeight, argb, width, height);
  }
  // Sends the draws still waiting to go to GL.
  void SendWaitingDraws() { FlushDraws(); }
  // What the last Present showed (off-screen devices only).
  bool ReadScreen(std::vector<uint32_t>& argb, uint32_t* width, uint32_t* height) {
    return m_ScreenFbo && ReadTarget(m_ScreenFbo, m_ScreenWidth, m_ScreenHeight, argb, width, height);
  }

 protected:
  ~GlDevice() override {
    m_Context->MakeCurrent();
    m_Bound.Clear();
    for (auto& p : m_Programs) glDeleteProgram(p.second.id);
    glDeleteProgram(m_PresentProgram);
    DeleteTargets();
    m_StreamVertices.Delete();
    m_StreamIndices.Delete();
    m_Link->arena.Delete();
    m_Matrices.Delete();
    m_Link->cache.DrawsPending(false);
    m_Link->cache.SetDrawFlush(nullptr);
    glDeleteSamplers(GLsizei(MAX_TEXTURE_STAGES), m_Samplers);
    glDeleteTextures(1, &m_RampTexture);
    glDeleteVertexArrays(1, &m_Vao);
    glDeleteVertexArrays(1, &m_PresentVao);
    m_Link->alive = false;
  }

 private:
  struct LightSlot {
    D3DLIGHT9 light = DefaultLight();
    bool on = false;
    static D3DLIGHT9 DefaultLight() {
      D3DLIGHT9 l;
      l.Type = D3DLIGHT_DIRECTIONAL;
      l.Diffuse = D3DCOLORVALUE{1, 1, 1, 0};
      l.Direction = D3DVECTOR(0, 0, 1);
      return l;
    }
  };

  GlTexture* Texture(int stage) const { return static_cast<GlTexture*>(m_Bound.textures[stage]); }
  GlVertexBuffer* Stream() const { return static_cast<GlVertexBuffer*>(m_Bound.stream); }
  GlIndexBuffer* Indices() const { return static_cast<GlIndexBuffer*>(m_Bound.indices); }

  bool ReadTarget(GLuint fbo, uint32_t w, uint32_t h, std::vector<uint32_t>& argb, uint32_t* width,
                  uint32_t* height) {
    m_Link->cache.Changing();
    std::vector<uint32_t> raw(size_t(w) * h);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, GLsizei(w), GLsizei(h), GL_BGRA, GL_UNSIGNED_BYTE, raw.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, m_Fbo);
    m_Link->cache.ForgetFramebuffer();
    argb.resize(raw.size());
    for (uint32_t y = 0; y < h; ++y)  // GL rows run bottom-up
      std::memcpy(&argb[size_t(y) * w], &raw[size_t(h - 1 - y) * w], size_t(w) * 4);
    if (width) *width = w;
    if (height) *height = h;
    return glGetError() == GL_NO_ERROR;
  }

  void DeleteTargets() {
    if (m_Fbo) glDeleteFramebuffers(1, &m_Fbo);
    if (m_ScreenFbo) glDeleteFramebuffers(1, &m_ScreenFbo);
    if (m_ColorTexture) glDeleteTextures(1, &m_ColorTexture);
    if (m_ScreenTexture) glDeleteTextures(1, &m_ScreenTexture);
    if (m_DepthBuffer) glDeleteRenderbuffers(1, &m_DepthBuffer);
    m_Fbo = m_ScreenFbo = m_ColorTexture = m_ScreenTexture = m_DepthBuffer = 0;
  }

  // The back buffer and the off-screen screen; GL bindings are all known
  // again afterwards.
  bool MakeTargets() {
    m_DepthWritten = true;
    const bool made = MakeTargetObjects();
    ChooseTarget();
    m_Link->cache.Invalidate();
    return made;
  }

  bool MakeTargetObjects() {
    m_Link->cache.Changing();
    DeleteTargets();
    const GLsizei w = GLsizei(std::max(1u, m_Params.BackBufferWidth)), h = GLsizei(std::max(1u, m_Params.BackBufferHeight));
    m_Params.BackBufferWidth = uint32_t(w);
    m_Params.BackBufferHeight = uint32_t(h);
    glGenTextures(1, &m_ColorTexture);
    glBindTexture(GL_TEXTURE_2D, m_ColorTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glGenRenderbuffers(1, &m_DepthBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, m_DepthBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, w, h);
    glGenFramebuffers(1, &m_Fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, m_Fbo);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, m_ColorTexture, 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, m_DepthBuffer);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) return false;
    int dw, dh;
    if (!m_Context->DrawableSize(&dw, &dh)) {
      m_ScreenWidth = m_Context->screenWidth ? m_Context->screenWidth : uint32_t(w);
      m_ScreenHeight = m_Context->screenHeight ? m_Context->screenHeight : uint32_t(h);
      glGenTextures(1, &m_ScreenTexture);
      glBindTexture(GL_TEXTURE_2D, m_ScreenTexture);
      glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, GLsizei(m_ScreenWidth), GLsizei(m_ScreenHeight), 0, GL_BGRA,
                   GL_UNSIGNED_BYTE, nullptr);
      glGenFramebuffers(1, &m_ScreenFbo);
      glBindFramebuffer(GL_FRAMEBUFFER, m_ScreenFbo);
      glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, m_ScreenTexture, 0);
      if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) return false;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, m_Fbo);
    return true;
  }

  // The display takes the high byte of each ramp entry.
  void UploadRamp() {
    m_Link->cache.Changing();
    std::vector<uint8_t> texels(256 * 3);
    m_RampIdentity = true;
    for (int i = 0; i < 256; ++i) {
      texels[i * 3] = uint8_t(m_Gamma.red[i] >> 8);
      texels[i * 3 + 1] = uint8_t(m_Gamma.green[i] >> 8);
      texels[i * 3 + 2] = uint8_t(m_Gamma.blue[i] >> 8);
      for (int c = 0; c < 3; ++c) m_RampIdentity = m_RampIdentity && texels[i * 3 + c] == i;
    }
    m_Link->cache.BindTexture(1, m_RampTexture);
    m_Link->cache.ActiveUnit(1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, 256, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  }

  void ResetStates() {
    for (uint64_t* v : {&m_Versions.world, &m_Versions.view, &m_Versions.proj, &m_Versions.viewport,
                        &m_Versions.lights, &m_Versions.material, &m_Versions.states, &m_Versions.texMats})
      Bump(*v);
    m_States.SetDefaults();
    m_Bound.Clear();
    m_Layout = VertexLayout();
    m_LayoutKnown = false;
    Bump(m_KeyStates);
    D3DXMatrixIdentity(&m_World);
    D3DXMatrixIdentity(&m_View);
    D3DXMatrixIdentity(&m_Proj);
    for (D3DXMATRIX& m : m_TexMat) D3DXMatrixIdentity(&m);
    m_Lights.clear();
    m_LightsOn.clear();
    m_Material = D3DMATERIAL9();
    m_Viewport = D3DVIEWPORT9();
    m_Viewport.Width = m_Params.BackBufferWidth;
    m_Viewport.Height = m_Params.BackBufferHeight;
    m_InScene = false;
  }

  // The key of the program the current states need.
  gl::PipelineKey MakeKey() const {
    gl::PipelineKey k;
    const DWORD* rs = m_States.render;
    const VertexLayout& l = m_Layout;
    k.screenSpace = l.screenSpace;
    k.matrixRing = m_Matrices.Ready() && !l.screenSpace;
    k.hasNormal = l.normal >= 0;
    k.hasDiffuse = l.diffuse >= 0;
    k.hasSpecular = l.specular >= 0;
    k.lighting = rs[D3DRS_LIGHTING] && !l.screenSpace;
    if (k.lighting) {
      uint32_t n = 0;
      for (DWORD index : m_LightsOn) k.lightTypes[n++] = uint8_t(m_Lights.at(index).light.Type);
      const bool colorVertex = rs[D3DRS_COLORVERTEX] != 0;
      auto source = [&](DWORD v) { return uint8_t(colorVertex && v <= 2 ? v : 0); };
      k.diffuseSource = source(rs[D3DRS_DIFFUSEMATERIALSOURCE]);
      k.ambientSource = source(rs[D3DRS_AMBIENTMATERIALSOURCE]);
      k.specularSource = source(rs[D3DRS_SPECULARMATERIALSOURCE]);
      k.emissiveSource = source(rs[D3DRS_EMISSIVEMATERIALSOURCE]);
      k.localViewer = rs[D3DRS_LOCALVIEWER] != 0;
    }
    k.specularEnable = rs[D3DRS_SPECULARENABLE] != 0;
    if (rs[D3DRS_FOGENABLE]) {
      const DWORD mode = rs[D3DRS_FOGTABLEMODE] != D3DFOG_NONE ? rs[D3DRS_FOGTABLEMODE] : rs[D3DRS_FOGVERTEXMODE];
      if (mode >= D3DFOG_EXP && mode <= D3DFOG_LINEAR && !l.screenSpace) k.fogMode = uint8_t(mode);
      else if (mode == D3DFOG_NONE && l.specular >= 0) k.fogMode = 4;
      k.rangeFog = rs[D3DRS_RANGEFOGENABLE] && rs[D3DRS_FOGTABLEMODE] == D3DFOG_NONE;
    }
    if (rs[D3DRS_ALPHATESTENABLE] && rs[D3DRS_ALPHAFUNC] != D3DCMP_ALWAYS)
      k.alphaTestFunc = uint8_t(std::min<DWORD>(rs[D3DRS_ALPHAFUNC], 8));
    k.pointSize = 1;
    for (int i = 0; i < gl::kMaxStages; ++i) {
      const DWORD* ts = m_States.stage[i];
      if (ts[D3DTSS_COLOROP] == D3DTOP_DISABLE || ts[D3DTSS_COLOROP] == 0) break;
      gl::StageKey& s = k.stages[i];
      s.colorOp = uint8_t(ts[D3DTSS_COLOROP]);
      s.alphaOp = uint8_t(ts[D3DTSS_ALPHAOP]);
      s.colorArg[0] = uint8_t(ts[D3DTSS_COLORARG0]);
      s.colorArg[1] = uint8_t(ts[D3DTSS_COLORARG1]);
      s.colorArg[2] = uint8_t(ts[D3DTSS_COLORARG2]);
      s.alphaArg[0] = uint8_t(ts[D3DTSS_ALPHAARG0]);
      s.alphaArg[1] = uint8_t(ts[D3DTSS_ALPHAARG1]);
      s.alphaArg[2] = uint8_t(ts[D3DTSS_ALPHAARG2]);
      s.resultTemp = ts[D3DTSS_RESULTARG] == D3DTA_TEMP;
      s.hasTexture = Texture(i) != nullptr;
      const DWORD index = ts[D3DTSS_TEXCOORDINDEX];
      s.coordSet = uint8_t(index & 7);
      s.coordFloats = l.texCount > int(s.coordSet) ? uint8_t(l.texFloats[s.coordSet]) : 0;
      s.coordGen = l.screenSpace ? 0 : uint8_t(std::min<DWORD>((index >> 16) & 0xFFFF, 4));
      const DWORD ttff = ts[D3DTSS_TEXTURETRANSFORMFLAGS];
      s.transformCount = l.screenSpace ? 0 : uint8_t(std::min<DWORD>(ttff & 0xFF, 4));
      s.projected = (ttff & D3DTTFF_PROJECTED) != 0;
      k.stageCount = uint8_t(i + 1);
    }
    return k;
  }

  Program* GetProgram(const gl::PipelineKey& key) {
    static_assert(std::has_unique_object_representations<gl::PipelineKey>::value, "keys compare as bytes");
    // Most draws use the program of the draw before: no key string is made then.
    if (m_LastProgram && std::memcmp(&key, &m_LastKey, sizeof key) == 0) return m_LastProgram;
    Program* program = FindOrMakeProgram(key);
    m_LastKey = key;
    m_LastProgram = program;
    return program;
  }

  Program* FindOrMakeProgram(const gl::PipelineKey& key) {
    const std::string bytes = key.Bytes();
    auto it = m_Programs.find(bytes);
    if (it != m_Programs.end()) return it->second.id ? &it->second : nullptr;
    Program p;
    p.id = LinkProgram(gl::VertexShaderSource(key), gl::FragmentShaderSource(key));
    if (p.id) {
      p.Find(p.worldView, "uWorldView", 16);
      p.Find(p.proj, "uProj", 16);
      p.Find(p.normalMat, "uNormalMat", 9);
      p.Find(p.viewport, "uViewport", 4);
      p.Find(p.matDiffuse, "uMatDiffuse", 4);
      p.Find(p.matAmbient, "uMatAmbient", 4);
      p.Find(p.matSpecular, "uMatSpecular", 4);
      p.Find(p.matEmissive, "uMatEmissive", 4);
      p.Find(p.matPower, "uMatPower", 1);
      p.Find(p.ambient, "uAmbient", 4);
      p.Find(p.lightPos, "uLightPos", 8 * 3);
      p.Find(p.lightDir, "uLightDir", 8 * 3);
      p.Find(p.lightDiffuse, "uLightDiffuse", 8 * 4);
      p.Find(p.lightSpecular, "uLightSpecular", 8 * 4);
      p.Find(p.lightAmbient, "uLightAmbient", 8 * 4);
      p.Find(p.lightAtt, "uLightAtt", 8 * 4);
      p.Find(p.lightSpot, "uLightSpot", 8 * 4);
      p.Find(p.texMat, "uTexMat", 8 * 16);
      p.Find(p.pointSize, "uPointSize", 1);
      p.Find(p.tfactor, "uTFactor", 4);
      p.Find(p.constant, "uConst", 8 * 4);
      p.Find(p.alphaRef, "uAlphaRef", 1);
      p.Find(p.fog, "uFog", 4);
      p.Find(p.fogColor, "uFogColor", 4);
      m_Link->cache.UseProgram(p.id);
      const GLint units[8] = {0, 1, 2, 3, 4, 5, 6, 7};
      const GLint tex = glGetUniformLocation(p.id, "uTex");
      if (tex >= 0) glUniform1iv(tex, 8, units);
      const GLint matrices = glGetUniformLocation(p.id, "uMatrices");
      if (matrices >= 0) glUniform1i(matrices, GLint(gl::MatrixRing::kUnit));
      p.matrixBase = glGetUniformLocation(p.id, "uMatrixBase");
    }
    auto& stored = m_Programs[bytes] = std::move(p);
    return stored.id ? &stored : nullptr;
  }

  void ApplyFixedStates() {
    gl::StateCache& c = m_Link->cache;
    const DWORD* rs = m_States.render;
    c.BindFramebuffer(m_Target);
    c.Viewport(GLint(m_Viewport.X), GLint(m_Params.BackBufferHeight) - GLint(m_Viewport.Y + m_Viewport.Height),
               GLsizei(m_Viewport.Width), GLsizei(m_Viewport.Height));
    c.DepthRange(m_Viewport.MinZ, m_Viewport.MaxZ);
    c.Enable(GL_DEPTH_TEST, rs[D3DRS_ZENABLE] != 0);
    c.DepthFunc(CompareFunc(rs[D3DRS_ZFUNC]));
    c.DepthMask(rs[D3DRS_ZWRITEENABLE] != 0);
    if (rs[D3DRS_ZENABLE] && rs[D3DRS_ZWRITEENABLE]) m_DepthWritten = true;
    // The picture keeps its orientation on screen, so a winding seen as
    // clockwise is clockwise for GL too; front faces are counter-clockwise.
    c.FrontFace(GL_CCW);
    switch (rs[D3DRS_CULLMODE]) {
      case D3DCULL_CW: c.Enable(GL_CULL_FACE, true); c.CullFace(GL_BACK); break;
      case D3DCULL_CCW: c.Enable(GL_CULL_FACE, true); c.CullFace(GL_FRONT); break;
      default: c.Enable(GL_CULL_FACE, false); break;
    }
    if (rs[D3DRS_ALPHABLENDENABLE]) {
      c.Enable(GL_BLEND, true);
      GLenum s, d, sa, da;
      BlendPair(rs[D3DRS_SRCBLEND], rs[D3DRS_DESTBLEND], &s, &d);
      if (rs[D3DRS_SEPARATEALPHABLENDENABLE]) {
        BlendPair(rs[D3DRS_SRCBLENDALPHA], rs[D3DRS_DESTBLENDALPHA], &sa, &da);
        c.BlendFunc(s, d, sa, da);
        c.BlendEquation(BlendOp(rs[D3DRS_BLENDOP]), BlendOp(rs[D3DRS_BLENDOPALPHA]));
      } else {
        c.BlendFunc(s, d, s, d);
        c.BlendEquation(BlendOp(rs[D3DRS_BLENDOP]), BlendOp(rs[D3DRS_BLENDOP]));
      }
      float color[4];
      ColorToVec(rs[D3DRS_BLENDFACTOR], color);
      c.BlendColor(color);
    } else {
      c.Enable(GL_BLEND, false);
    }
    c.ColorMask(rs[D3DRS_COLORWRITEENABLE] & 15);
    c.PolygonMode(rs[D3DRS_FILLMODE] == D3DFILL_POINT       ? GL_POINT
                  : rs[D3DRS_FILLMODE] == D3DFILL_WIREFRAME ? GL_LINE
                                                            : GL_FILL);
    c.Enable(GL_SCISSOR_TEST, false);
  }

  // The sampler states of a stage, sent when they differ from the last sent.
  void ApplySampler(uint32_t i, GlTexture* texture) {
    const DWORD* ss = m_States.sampler[i];
    const bool mipmapped = texture && texture->LevelCountForSampling() > 1;
    SamplerSent& sent = m_SamplerSent[i];
    if (sent.known && sent.mipmapped == mipmapped && std::memcmp(sent.states, ss, sizeof sent.states) == 0) return;
    m_Link->cache.Changing();
    sent.known = true;
    sent.mipmapped = mipmapped;
    std::memcpy(sent.states, ss, sizeof sent.states);
    const GLuint s = m_Samplers[i];
    glSamplerParameteri(s, GL_TEXTURE_WRAP_S, GLint(AddressMode(ss[D3DSAMP_ADDRESSU])));
    glSamplerParameteri(s, GL_TEXTURE_WRAP_T, GLint(AddressMode(ss[D3DSAMP_ADDRESSV])));
    float border[4];
    ColorToVec(ss[D3DSAMP_BORDERCOLOR], border);
    glSamplerParameterfv(s, GL_TEXTURE_BORDER_COLOR, border);
    const bool magLinear = ss[D3DSAMP_MAGFILTER] >= D3DTEXF_LINEAR;
    const bool minLinear = ss[D3DSAMP_MINFILTER] >= D3DTEXF_LINEAR;
    const DWORD mip = mipmapped ? ss[D3DSAMP_MIPFILTER] : D3DTEXF_NONE;
    GLenum minFilter;
    if (mip == D3DTEXF_NONE) minFilter = minLinear ? GL_LINEAR : GL_NEAREST;
    else if (mip == D3DTEXF_POINT) minFilter = minLinear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    else minFilter = minLinear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    glSamplerParameteri(s, GL_TEXTURE_MAG_FILTER, magLinear ? GL_LINEAR : GL_NEAREST);
    glSamplerParameteri(s, GL_TEXTURE_MIN_FILTER, GLint(minFilter));
    glSamplerParameterf(s, GL_TEXTURE_MIN_LOD, float(ss[D3DSAMP_MAXMIPLEVEL]));
    glSamplerParameterf(s, GL_TEXTURE_LOD_BIAS, DwordToFloat(ss[D3DSAMP_MIPMAPLODBIAS]));
  }

  // Sets everything a draw needs except the vertex attributes; each value
  // goes to GL only when it differs from what GL holds.
  bool Prepare() {
    if (m_Layout.position < 0) return false;  // no vertex format with a position
    // The key is made again only when something it is made from changed:
    // a state other than the texture factor, the lights, the vertex format,
    // or which stages have a texture.
    uint32_t textured = 0;
    for (uint32_t i = 0; i < MAX_TEXTURE_STAGES; ++i) textured |= Texture(int(i)) ? 1u << i : 0u;
    if (!m_LastProgram || m_KeyMadeAt.states != m_KeyStates || m_KeyMadeAt.lights != m_Versions.lights ||
        m_KeyMadeAt.fvf != m_Bound.fvf || m_KeyMadeAt.textured != textured) {
      m_KeyMadeAt = KeyInputs{m_KeyStates, m_Versions.lights, m_Bound.fvf, textured};
      if (!GetProgram(MakeKey())) {
        m_LastProgram = nullptr;
        return false;
      }
    }
    Program* p = m_LastProgram;
    const gl::PipelineKey& key = m_LastKey;
    gl::StateCache& c = m_Link->cache;
    ApplyFixedStates();
    c.UseProgram(p->id);
    c.BindVertexArray(m_Vao);

    auto vec4 = [&](Uniform& u, const float* v) {
      if (p->Changed(u, v)) c.Changing(), glUniform4fv(u.location, GLsizei(u.floats / 4), v);
    };
    auto vec3 = [&](Uniform& u, const float* v) {
      if (p->Changed(u, v)) c.Changing(), glUniform3fv(u.location, GLsizei(u.floats / 3), v);
    };
    auto mat4 = [&](Uniform& u, const float* v) {
      if (p->Changed(u, v)) c.Changing(), glUniformMatrix4fv(u.location, GLsizei(u.floats / 16), GL_FALSE, v);
    };
    auto scalar = [&](Uniform& u, float v) {
      if (p->Changed(u, &v)) c.Changing(), glUniform1f(u.location, v);
    };

    // Each group of uniforms is looked at only when what it is made from
    // changed since the program last had it.
    const UniformVersions& v = m_Versions;
    UniformVersions& seen = p->seen;
    if (key.matrixRing) {
      // The matrices are made again when the world, the view or the need
      // of a normal matrix changed; a program that does not light keeps a
      // zero normal matrix, as its uniform would be. Every draw has an
      // entry of its own, so that draws in a row read entries in a row.
      const bool normal = key.lighting && key.hasNormal;
      if (!m_SlotValid || m_SlotWorld != v.world || m_SlotView != v.view || m_SlotNormal != normal) {
        D3DXMATRIX worldView;
        D3DXMatrixMultiply(&worldView, &m_World, &m_View);
        float* t = m_SlotTexels;
        std::memcpy(t, &worldView.m[0][0], 64);
        std::memset(t + 16, 0, 48);
        if (normal) {
          D3DXMATRIX inverse;
          if (!D3DXMatrixInverse(&inverse, nullptr, &worldView)) D3DXMatrixIdentity(&inverse);
          // The transpose of the inverse's upper 3x3, column by column.
          for (int c = 0; c < 3; ++c)
            for (int r = 0; r < 3; ++r) t[16 + 4 * c + r] = inverse.m[r][c];
        }
        m_SlotValid = true;
        m_SlotWorld = v.world;
        m_SlotView = v.view;
        m_SlotNormal = normal;
      }
      if (m_Matrices.AtPartStart()) FlushDraws();
      m_Slot = m_Matrices.Write(m_SlotTexels);
    } else if (seen.world != v.world || seen.view != v.view) {
      D3DXMATRIX worldView;
      D3DXMatrixMultiply(&worldView, &m_World, &m_View);
      mat4(p->worldView, &worldView.m[0][0]);
      if (key.lighting && p->normalMat.location >= 0) {
        D3DXMATRIX inverse;
        if (!D3DXMatrixInverse(&inverse, nullptr, &worldView)) D3DXMatrixIdentity(&inverse);
        // The transpose of the inverse's upper 3x3, column by column.
        const float n[9] = {inverse.m[0][0], inverse.m[1][0], inverse.m[2][0], inverse.m[0][1], inverse.m[1][1],
                            inverse.m[2][1], inverse.m[0][2], inverse.m[1][2], inverse.m[2][2]};
        if (p->Changed(p->normalMat, n)) c.Changing(), glUniformMatrix3fv(p->normalMat.location, 1, GL_FALSE, n);
      }
    }
    if (seen.proj != v.proj) mat4(p->proj, &m_Proj.m[0][0]);
    if (seen.viewport != v.viewport) {
      const float vp[4] = {float(m_Viewport.X), float(m_Viewport.Y), float(m_Viewport.Width),
                           float(m_Viewport.Height)};
      vec4(p->viewport, vp);
    }
    if (key.lighting && seen.material != v.material) {
      vec4(p->matDiffuse, &m_Material.Diffuse.r);
      vec4(p->matAmbient, &m_Material.Ambient.r);
      vec4(p->matSpecular, &m_Material.Specular.r);
      vec4(p->matEmissive, &m_Material.Emissive.r);
      scalar(p->matPower, m_Material.Power);
    }
    if (key.lighting && (seen.lights != v.lights || seen.view != v.view)) {
      float pos[8][3] = {}, dir[8][3] = {}, dif[8][4] = {}, spe[8][4] = {}, amb[8][4] = {}, att[8][4] = {}, spot[8][4] = {};
      uint32_t n2 = 0;
      for (DWORD index : m_LightsOn) {
        const D3DLIGHT9& L = m_Lights.at(index).light;
        D3DXVECTOR3 wp(L.Position.x, L.Position.y, L.Position.z), wd(L.Direction.x, L.Direction.y, L.Direction.z), t;
        D3DXVec3TransformCoord(&t, &wp, &m_View);
        pos[n2][0] = t.x, pos[n2][1] = t.y, pos[n2][2] = t.z;
        D3DXVec3TransformNormal(&t, &wd, &m_View);
        D3DXVec3Normalize(&t, &t);
        dir[n2][0] = t.x, dir[n2][1] = t.y, dir[n2][2] = t.z;
        std::memcpy(dif[n2], &L.Diffuse, 16);
        std::memcpy(spe[n2], &L.Specular, 16);
        std::memcpy(amb[n2], &L.Ambient, 16);
        att[n2][0] = L.Attenuation0, att[n2][1] = L.Attenuation1, att[n2][2] = L.Attenuation2, att[n2][3] = L.Range;
        spot[n2][0] = std::cos(L.Theta * 0.5f), spot[n2][1] = std::cos(L.Phi * 0.5f), spot[n2][2] = L.Falloff;
        ++n2;
      }
      vec3(p->lightPos, &pos[0][0]);
      vec3(p->lightDir, &dir[0][0]);
      vec4(p->lightDiffuse, &dif[0][0]);
      vec4(p->lightSpecular, &spe[0][0]);
      vec4(p->lightAmbient, &amb[0][0]);
      vec4(p->lightAtt, &att[0][0]);
      vec4(p->lightSpot, &spot[0][0]);
    }
    if (seen.texMats != v.texMats && p->texMat.location >= 0) {
      float texMats[8][16];
      for (int i = 0; i < 8; ++i) std::memcpy(texMats[i], &m_TexMat[i].m[0][0], 64);
      mat4(p->texMat, &texMats[0][0]);
    }
    if (seen.states != v.states) {
      const DWORD* rs = m_States.render;
      if (key.lighting) {
        float ambient[4];
        ColorToVec(rs[D3DRS_AMBIENT], ambient);
        vec4(p->ambient, ambient);
      }
      scalar(p->pointSize, DwordToFloat(rs[D3DRS_POINTSIZE]));
      float tf[4];
      ColorToVec(rs[D3DRS_TEXTUREFACTOR], tf);
      vec4(p->tfactor, tf);
      if (p->constant.location >= 0) {
        float constants[8][4];
        for (int i = 0; i < 8; ++i) ColorToVec(m_States.stage[i][D3DTSS_CONSTANT], constants[i]);
        vec4(p->constant, &constants[0][0]);
      }
      scalar(p->alphaRef, float(rs[D3DRS_ALPHAREF] & 0xFF));
      const float fog[4] = {DwordToFloat(rs[D3DRS_FOGSTART]), DwordToFloat(rs[D3DRS_FOGEND]),
                            DwordToFloat(rs[D3DRS_FOGDENSITY]), 0.0f};
      vec4(p->fog, fog);
      float fogColor[4];
      ColorToVec(rs[D3DRS_FOGCOLOR], fogColor);
      vec4(p->fogColor, fogColor);
    }
    seen = v;

    for (int i = 0; i < key.stageCount; ++i) {
      if (!key.stages[i].hasTexture) continue;
      Texture(i)->Bind(i);
      ApplySampler(uint32_t(i), Texture(i));
      c.BindSampler(i, m_Samplers[i]);
    }
    return true;
  }

  // The draw calls: with a matrix ring they wait to go to GL together.
  void DrawArrays(GLenum mode, GLint first, GLsizei count) {
    if (m_Matrices.Ready()) m_Batch.Arrays(m_Link->cache, m_LastProgram, m_Slot, mode, first, count);
    else glDrawArrays(mode, first, count);
  }
  // The range spares the driver a pass over the indices.
  void DrawElements(GLenum mode, uint32_t lowest, uint32_t highest, GLsizei count, uint32_t size, size_t at,
                    GLint baseVertex) {
    const GLenum type = size == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT;
    if (m_Matrices.Ready())
      m_Batch.Elements(m_Link->cache, m_LastProgram, m_Slot, mode, type, at, count, baseVertex);
    else
      glDrawRangeElementsBaseVertex(mode, lowest, highest, count, type, reinterpret_cast<const void*>(at), baseVertex);
  }
  void FlushDraws() { m_Batch.Flush(m_Link->cache); }

  // Binds the stream's buffer and points the attributes at it; returns the
  // number of the stream's first vertex in that buffer. Streams that start
  // a whole number of vertices into their buffer share the attributes of
  // every other stream there: only the first vertex differs.
  uint32_t BindStream() {
    GlVertexBuffer* stream = Stream();
    const uint32_t stride = m_Bound.streamStride;
    stream->Bind(stride ? stride : 1);
    const size_t start = stream->Offset() + m_Bound.streamOffset;
    if (stride && start % stride == 0) {
      SetAttributes(stream->Id(), 0, stride);
      return uint32_t(start / stride);
    }
    SetAttributes(stream->Id(), uint32_t(start), stride);
    return 0;
  }

  // Streams vertices handed over by pointer and points the attributes at
  // them; returns the number of the first vertex.
  GLint StreamVertices(const void* data, size_t bytes, uint32_t stride) {
    m_Link->cache.Changing();
    m_Link->cache.BindArrayBuffer(m_StreamVertices.Id());
    const size_t at = m_StreamVertices.Write(GL_ARRAY_BUFFER, data, bytes, stride);
    ++m_Link->cache.Counters().bufferUploads;
    SetAttributes(m_StreamVertices.Id(), 0, stride);
    return GLint(at / stride);
  }

  // Points the vertex attributes at the bound array buffer, unless they
  // point there already.
  void SetAttributes(GLuint buffer, uint32_t offset, uint32_t stride) {
    gl::StateCache& c = m_Link->cache;
    if (c.AttributesMatch(buffer, offset, stride, m_Bound.fvf)) return;
    c.AttributesSet(buffer, offset, stride, m_Bound.fvf);
    const VertexLayout& l = m_Layout;
    auto pointer = [&](GLuint index, int at, GLint size, GLenum type, bool normalized) {
      if (at < 0) {
        glDisableVertexAttribArray(index);
        return;
      }
      glEnableVertexAttribArray(index);
      glVertexAttribPointer(index, size, type, normalized ? GL_TRUE : GL_FALSE, GLsizei(stride),
                            reinterpret_cast<const void*>(size_t(offset) + size_t(at)));
    };
    pointer(0, l.position, l.positionFloats ? l.positionFloats : 3, GL_FLOAT, false);
    pointer(1, l.normal, 3, GL_FLOAT, false);
    pointer(2, l.diffuse, GL_BGRA, GL_UNSIGNED_BYTE, true);
    pointer(3, l.specular, GL_BGRA, GL_UNSIGNED_BYTE, true);
    if (l.diffuse < 0) glVertexAttrib4f(2, 1, 1, 1, 1);
    if (l.specular < 0) glVertexAttrib4f(3, 0, 0, 0, 0);
    for (int i = 0; i < 8; ++i) pointer(GLuint(4 + i), l.texCoord[i], l.texFloats[i] ? l.texFloats[i] : 2, GL_FLOAT, false);
  }

  struct SamplerSent {
    DWORD states[SAMPLER_STATE_COUNT] = {};
    bool mipmapped = false, known = false;
  };

  std::shared_ptr<GlContext> m_Context;
  std::shared_ptr<DeviceLink> m_Link;
  D3DPRESENT_PARAMETERS m_Params;
  DeviceStates m_States;
  D3DXMATRIX m_World, m_View, m_Proj, m_TexMat[MAX_TEXTURE_STAGES];
  // Every light index ever given (the engine never gives one out twice, so
  // this only grows), and the indices of those that are on, ascending: the
  // order of the program's lights. A draw walks only the lights that are on.
  std::map<DWORD, LightSlot> m_Lights;
  std::vector<DWORD> m_LightsOn;  // at most MAX_ACTIVE_LIGHTS
  D3DMATERIAL9 m_Material;
  D3DVIEWPORT9 m_Viewport;
  D3DGAMMARAMP m_Gamma;
  DeviceBindings m_Bound;
  VertexLayout m_Layout;
  std::unordered_map<std::string, Program> m_Programs;
  gl::PipelineKey m_LastKey;
  Program* m_LastProgram = nullptr;  // the program of m_LastKey (entries of m_Programs stay put)
  SamplerSent m_SamplerSent[MAX_TEXTURE_STAGES];
  gl::StreamBuffer m_StreamVertices, m_StreamIndices;
  DeviceFrameCounters m_LastFrame;
  UniformVersions m_Versions;
  // What the last key was made from.
  struct KeyInputs {
    uint64_t states = 0, lights = 0;
    DWORD fvf = 0;
    uint32_t textured = 0;
  };
  KeyInputs m_KeyMadeAt;
  gl::MatrixRing m_Matrices;
  // The ring entry of the last draw and the versions it was written from.
  uint32_t m_Slot = 0;
  bool m_SlotValid = false, m_SlotNormal = false;
  float m_SlotTexels[gl::MatrixRing::kTexels * 4] = {};
  DrawBatch m_Batch;
  uint64_t m_SlotWorld = 0, m_SlotView = 0;
  uint64_t m_KeyStates = 0;  // bumped by every state change the key may follow
  bool m_LayoutKnown = false;
  uint64_t m_NextVersion = 1;
  void Bump(uint64_t& version) { version = m_NextVersion++; }
  bool m_RampIdentity = true;
  GLuint m_Vao = 0, m_PresentVao = 0;
  GLuint m_Samplers[MAX_TEXTURE_STAGES] = {};
  GLuint m_Target = 0;  // the framebuffer drawn into: the back buffer's, or the window's
  GLuint m_Fbo = 0, m_ColorTexture = 0, m_DepthBuffer = 0, m_ScreenFbo = 0, m_ScreenTexture = 0;
  uint32_t m_ScreenWidth = 0, m_ScreenHeight = 0;
  GLuint m_RampTexture = 0, m_PresentProgram = 0;
  bool m_InScene = false;
  // Whether a draw may have written depth since the last clear of the
  // whole depth buffer, and the value that clear wrote.
  bool m_DepthWritten = true;
  float m_DepthClearedTo = 1.0f;
  int m_DrawableWidth = 0, m_DrawableHeight = 0;
};

// ---- Systems ----

class GlSystem final : public IGraphicsSystem {
 public:
  explicit GlSystem(bool offscreen) : m_Offscreen(offscreen) {}
  bool Init(std::string* why, uint32_t screenWidth = 0, uint32_t screenHeight = 0) {
    if (m_Offscreen) {
      std::unique_ptr<GlContext> context = MakeEglContext(why);
      if (!context) return false;
      context->screenWidth = std::min(screenWidth, 8192u);
      context->screenHeight = std::min(screenHeight, 8192u);
      m_Context = std::move(context);
      const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
      if (!version) {
        if (why) *why = "no OpenGL version";
        return false;
      }
    }
    return true;
  }

  HRESULT GetDeviceCaps(D3DCAPS9* caps) override {
    if (!caps) return D3DERR_INVALIDCALL;
    *caps = D3DCAPS9();
    caps->DevCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT;
    caps->MaxActiveLights = MAX_ACTIVE_LIGHTS;
    caps->MaxTextureWidth = caps->MaxTextureHeight = 8192;
    caps->MaxSimultaneousTextures = MAX_TEXTURE_STAGES;
    return D3D_OK;
  }
  HRESULT GetAdapterDisplayMode(D3DDISPLAYMODE* mode) override {
    if (!mode) return D3DERR_INVALIDCALL;
    *mode = D3DDISPLAYMODE{800, 600, 60, D3DFMT_X8R8G8B8};
    SDL_DisplayMode desktop;
    if (!m_Offscreen && SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
      mode->Width = uint32_t(desktop.w);
      mode->Height = uint32_t(desktop.h);
      mode->RefreshRate = uint32_t(desktop.refresh_rate);
    }
    return D3D_OK;
  }
  // Full screen is the desktop with the back buffer scaled to fit, so every
  // usual size is offered in every colour format the engine asks for.
  uint32_t GetAdapterModeCount(D3DFORMAT format) override { return IsOffered(format) ? uint32_t(Sizes().size()) : 0; }
  HRESULT EnumAdapterModes(D3DFORMAT format, uint32_t index, D3DDISPLAYMODE* mode) override {
    if (!mode || !IsOffered(format) || index >= Sizes().size()) return D3DERR_INVALIDCALL;
    *mode = D3DDISPLAYMODE{Sizes()[index].first, Sizes()[index].second, 60, format};
    return D3D_OK;
  }

  HRESULT CreateDevice(HWND window, DWORD, D3DPRESENT_PARAMETERS* params, IDevice** device) override {
    if (!params || !device) return D3DERR_INVALIDCALL;
    *device = nullptr;
    std::shared_ptr<GlContext> context = m_Context;
    if (!context) {
      auto* sdlWindow = static_cast<SDL_Window*>(sdl::GetSdlWindow(window));
      if (!sdlWindow) return D3DERR_INVALIDCALL;
      SDL_GLContext gl = SDL_GL_CreateContext(sdlWindow);
      if (!gl) {
        LogError(std::string("OpenGL 3.3 core context: ") + SDL_GetError());
        return D3DERR_NOTAVAILABLE;
      }
      SDL_GL_SetSwapInterval(params->PresentationInterval == D3DPRESENT_INTERVAL_IMMEDIATE ? 0 : 1);
      context = std::make_shared<SdlContext>(sdlWindow, gl);
    }
    auto* made = new GlDevice(context, *params);
    if (!made->Init()) {
      made->Release();
      LogError("the OpenGL device could not be set up");
      return D3DERR_NOTAVAILABLE;
    }
    *device = made;
    return D3D_OK;
  }

 private:
  static bool IsOffered(D3DFORMAT f) {
    return f == D3DFMT_A8R8G8B8 || f == D3DFMT_X8R8G8B8 || f == D3DFMT_R5G6B5 || f == D3DFMT_X1R5G5B5 ||
           f == D3DFMT_A1R5G5B5;
  }
  static const std::vector<std::pair<uint32_t, uint32_t>>& Sizes() {
    static const std::vector<std::pair<uint32_t, uint32_t>> sizes = {
        {640, 480}, {800, 600}, {1024, 768}, {1280, 720}, {1280, 1024}, {1600, 900}, {1920, 1080}};
    return sizes;
  }

  bool m_Offscreen;
  std::shared_ptr<GlContext> m_Context;
};

}  // namespace

IGraphicsSystem* CreateGlGraphicsSystem() {
  auto* system = new GlSystem(false);
  if (!system->Init(nullptr)) {
    system->Release();
    return nullptr;
  }
  return system;
}

IGraphicsSystem* CreateOffscreenGlGraphicsSystem(std::string* why, uint32_t screenWidth, uint32_t screenHeight) {
  auto* system = new GlSystem(true);
  if (!system->Init(why, screenWidth, screenHeight)) {
    system->Release();
    return nullptr;
  }
  return system;
}

}  // namespace detail

bool ReadPresentedImage(IDevice* device, std::vector<uint32_t>& argb, uint32_t* width, uint32_t* height) {
  auto* gl = dynamic_cast<detail::GlDevice*>(device);
  return gl && gl->ReadScreen(argb, width, height);
}

bool FinishDeviceWork(IDevice* device) {
  auto* gl = dynamic_cast<detail::GlDevice*>(device);
  if (!gl) return false;
  gl->SendWaitingDraws();
  glFinish();
  return true;
}

std::string GetRendererName(IDevice* device) {
  if (!dynamic_cast<detail::GlDevice*>(device)) return std::string();
  const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  return std::string(renderer ? renderer : "?") + "; " + (version ? version : "?");
}

}  // namespace platform
