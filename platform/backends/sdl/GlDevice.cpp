// The OpenGL 3.3 core device: every draw goes through a program generated
// for the fixed-function states in use (cached by key). The scene is drawn
// into an off-screen back buffer; Present draws it to the window (or to an
// off-screen "screen") scaled with black bars, through the gamma ramp.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>
#include <EGL/egl.h>
#include <EGL/eglext.h>
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

#include "platform/Graphics.h"
#include "platform/Image.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/backends/DeviceStates.h"
#include "platform/backends/MemoryResources.h"
#include "platform/backends/sdl/GlPipeline.h"

namespace platform {
namespace detail {

namespace {

// ---- Contexts ----

class GlContext {
 public:
  virtual ~GlContext() = default;
  virtual bool MakeCurrent() = 0;
  virtual void Swap() {}
  // Size of the window's drawable; false when there is no window.
  virtual bool DrawableSize(int* w, int* h) { return false; }
  // Without a window: the size of the off-screen screen (0: the back buffer's).
  uint32_t screenWidth = 0, screenHeight = 0;
};

class SdlContext final : public GlContext {
 public:
  SdlContext(SDL_Window* window, SDL_GLContext context) : m_Window(window), m_Context(context) {}
  ~SdlContext() override { SDL_GL_DeleteContext(m_Context); }
  bool MakeCurrent() override { return SDL_GL_MakeCurrent(m_Window, m_Context) == 0; }
  void Swap() override { SDL_GL_SwapWindow(m_Window); }
  bool DrawableSize(int* w, int* h) override {
    SDL_GL_GetDrawableSize(m_Window, w, h);
    return true;
  }

 private:
  SDL_Window* m_Window;
  SDL_GLContext m_Context;
};

class EglContext final : public GlContext {
 public:
  EglContext(EGLDisplay display, EGLContext context) : m_Display(display), m_Context(context) {}
  ~EglContext() override {
    eglMakeCurrent(m_Display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(m_Display, m_Context);
  }
  bool MakeCurrent() override { return eglMakeCurrent(m_Display, EGL_NO_SURFACE, EGL_NO_SURFACE, m_Context) == EGL_TRUE; }

 private:
  EGLDisplay m_Display;
  EGLContext m_Context;
};

std::unique_ptr<GlContext> MakeEglContext(std::string* why) {
  static EGLDisplay display = EGL_NO_DISPLAY;
  static bool tried = false;
  static std::string failure;
  if (!tried) {
    tried = true;
    display = eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    EGLint major = 0, minor = 0;
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, &major, &minor)) {
      display = EGL_NO_DISPLAY;
      failure = "no EGL surfaceless display";
    } else if (!eglBindAPI(EGL_OPENGL_API)) {
      display = EGL_NO_DISPLAY;
      failure = "EGL cannot bind desktop OpenGL";
    }
  }
  if (display == EGL_NO_DISPLAY) {
    if (why) *why = failure;
    return nullptr;
  }
  eglBindAPI(EGL_OPENGL_API);
  const EGLint attributes[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_CONTEXT_MINOR_VERSION, 3,
                               EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT, EGL_NONE};
  EGLConfig config = nullptr;
  EGLContext context = eglCreateContext(display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attributes);
  if (context == EGL_NO_CONTEXT) {
    const EGLint wanted[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    EGLint count = 0;
    if (eglChooseConfig(display, wanted, &config, 1, &count) && count > 0)
      context = eglCreateContext(display, config, EGL_NO_CONTEXT, attributes);
  }
  if (context == EGL_NO_CONTEXT) {
    if (why) *why = "no OpenGL 3.3 core context through EGL";
    return nullptr;
  }
  auto made = std::make_unique<EglContext>(display, context);
  if (!made->MakeCurrent()) {
    if (why) *why = "the EGL context cannot be made current";
    return nullptr;
  }
  return made;
}

// ---- Objects ----

struct DeviceLink {
  bool alive = true;
};

class GlTexture final : public MemoryTexture {
 public:
  GlTexture(std::shared_ptr<DeviceLink> link, uint32_t w, uint32_t h, uint32_t levels, DWORD usage, D3DFORMAT format,
            D3DPOOL pool)
      : MemoryTexture(w, h, levels, usage, format, pool), m_Link(std::move(link)) {}
  // Binds the texture to the active unit, uploading what changed.
  void Bind() {
    if (!m_Id) {
      glGenTextures(1, &m_Id);
      glBindTexture(GL_TEXTURE_2D, m_Id);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, GLint(m_Levels.size()) - 1);
    } else {
      glBindTexture(GL_TEXTURE_2D, m_Id);
    }
    if (m_Uploaded == m_Version) return;
    std::vector<uint32_t> argb;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    for (size_t i = 0; i < m_Levels.size(); ++i) {
      const Level& l = m_Levels[i];
      argb.resize(size_t(l.width) * l.height);
      UnpackPixels(l.bytes.data(), argb.size(), m_Format, argb.data());
      glTexImage2D(GL_TEXTURE_2D, GLint(i), GL_RGBA8, GLsizei(l.width), GLsizei(l.height), 0, GL_BGRA,
                   GL_UNSIGNED_BYTE, argb.data());
    }
    m_Uploaded = m_Version;
  }
  uint32_t LevelCountForSampling() const { return uint32_t(m_Levels.size()); }

 protected:
  ~GlTexture() override {
    if (m_Id && m_Link->alive) glDeleteTextures(1, &m_Id);
  }

 private:
  std::shared_ptr<DeviceLink> m_Link;
  GLuint m_Id = 0;
  uint64_t m_Uploaded = 0;
};

// A GL buffer object that follows the bytes of a memory buffer.
struct GlBufferObject {
  GLuint id = 0;
  uint64_t uploaded = 0;
  void Bind(GLenum target, const std::vector<uint8_t>& bytes, uint64_t version, DWORD usage) {
    if (!id) glGenBuffers(1, &id);
    glBindBuffer(target, id);
    if (uploaded != version) {
      glBufferData(target, GLsizeiptr(bytes.size()), bytes.data(),
                   (usage & D3DUSAGE_DYNAMIC) ? GL_DYNAMIC_DRAW : GL_STATIC_DRAW);
      uploaded = version;
    }
  }
  void Delete(const DeviceLink& link) {
    if (id && link.alive) glDeleteBuffers(1, &id);
  }
};

// A vertex or index buffer kept in memory and mirrored in a GL buffer.
template <class Base, GLenum Target>
class GlBuffer final : public Base {
 public:
  // kind: the vertex format of a vertex buffer, the index format of an index buffer.
  GlBuffer(std::shared_ptr<DeviceLink> link, uint32_t length, DWORD usage, uint32_t kind, D3DPOOL pool)
      : Base(length, usage, kind, pool), m_Link(std::move(link)) {}
  void Bind() { m_Buffer.Bind(Target, this->m_Bytes, this->m_Version, this->m_Usage); }

 protected:
  ~GlBuffer() override { m_Buffer.Delete(*m_Link); }

 private:
  std::shared_ptr<DeviceLink> m_Link;
  GlBufferObject m_Buffer;
};
using GlVertexBuffer = GlBuffer<MemoryVertexBuffer, GL_ARRAY_BUFFER>;
using GlIndexBuffer = GlBuffer<MemoryIndexBuffer, GL_ELEMENT_ARRAY_BUFFER>;

// ---- Helpers ----

GLenum BlendFactor(DWORD f) {
  switch (f) {
    case D3DBLEND_ZERO: return GL_ZERO;
    case D3DBLEND_ONE: return GL_ONE;
    case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
    case D3DBLEND_SRCALPHASAT: return GL_SRC_ALPHA_SATURATE;
    case D3DBLEND_BLENDFACTOR: return GL_CONSTANT_COLOR;
    case D3DBLEND_INVBLENDFACTOR: return GL_ONE_MINUS_CONSTANT_COLOR;
    default: return GL_ONE;
  }
}

void BlendPair(DWORD src, DWORD dst, GLenum* s, GLenum* d) {
  if (src == D3DBLEND_BOTHSRCALPHA) {
    *s = GL_SRC_ALPHA;
    *d = GL_ONE_MINUS_SRC_ALPHA;
  } else if (src == D3DBLEND_BOTHINVSRCALPHA) {
    *s = GL_ONE_MINUS_SRC_ALPHA;
    *d = GL_SRC_ALPHA;
  } else {
    *s = BlendFactor(src);
    *d = BlendFactor(dst);
  }
}

GLenum BlendOp(DWORD op) {
  switch (op) {
    case D3DBLENDOP_SUBTRACT: return GL_FUNC_SUBTRACT;
    case D3DBLENDOP_REVSUBTRACT: return GL_FUNC_REVERSE_SUBTRACT;
    case D3DBLENDOP_MIN: return GL_MIN;
    case D3DBLENDOP_MAX: return GL_MAX;
    default: return GL_FUNC_ADD;
  }
}

GLenum CompareFunc(DWORD f) {
  switch (f) {
    case D3DCMP_NEVER: return GL_NEVER;
    case D3DCMP_LESS: return GL_LESS;
    case D3DCMP_EQUAL: return GL_EQUAL;
    case D3DCMP_LESSEQUAL: return GL_LEQUAL;
    case D3DCMP_GREATER: return GL_GREATER;
    case D3DCMP_NOTEQUAL: return GL_NOTEQUAL;
    case D3DCMP_GREATEREQUAL: return GL_GEQUAL;
    default: return GL_ALWAYS;
  }
}

GLenum AddressMode(DWORD a) {
  switch (a) {
    case D3DTADDRESS_MIRROR: return GL_MIRRORED_REPEAT;
    case D3DTADDRESS_CLAMP: return GL_CLAMP_TO_EDGE;
    case D3DTADDRESS_BORDER: return GL_CLAMP_TO_BORDER;
    case D3DTADDRESS_MIRRORONCE: return GL_MIRRORED_REPEAT;
    default: return GL_REPEAT;
  }
}

GLenum PrimitiveMode(D3DPRIMITIVETYPE t) {
  switch (t) {
    case D3DPT_POINTLIST: return GL_POINTS;
    case D3DPT_LINELIST: return GL_LINES;
    case D3DPT_LINESTRIP: return GL_LINE_STRIP;
    case D3DPT_TRIANGLESTRIP: return GL_TRIANGLE_STRIP;
    case D3DPT_TRIANGLEFAN: return GL_TRIANGLE_FAN;
    default: return GL_TRIANGLES;
  }
}

void ColorToVec(D3DCOLOR c, float out[4]) {
  out[0] = float((c >> 16) & 255) / 255.0f;
  out[1] = float((c >> 8) & 255) / 255.0f;
  out[2] = float(c & 255) / 255.0f;
  out[3] = float(c >> 24) / 255.0f;
}

GLuint CompileShader(GLenum type, const std::string& source, std::string* log) {
  GLuint shader = glCreateShader(type);
  const char* text = source.c_str();
  glShaderSource(shader, 1, &text, nullptr);
  glCompileShader(shader);
  GLint ok = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    char buffer[2048];
    glGetShaderInfoLog(shader, sizeof buffer, nullptr, buffer);
    if (log) *log = buffer;
    glDeleteShader(shader);
    return 0;
  }
  return shader;
}

GLuint LinkProgram(const std::string& vs, const std::string& fs) {
  std::string log;
  GLuint v = CompileShader(GL_VERTEX_SHADER, vs, &log);
  if (!v) {
    LogError("vertex shader: " + log);
    return 0;
  }
  GLuint f = CompileShader(GL_FRAGMENT_SHADER, fs, &log);
  if (!f) {
    LogError("fragment shader: " + log);
    glDeleteShader(v);
    return 0;
  }
  GLuint p = glCreateProgram();
  glAttachShader(p, v);
  glAttachShader(p, f);
  glLinkProgram(p);
  glDeleteShader(v);
  glDeleteShader(f);
  GLint ok = 0;
  glGetProgramiv(p, GL_LINK_STATUS, &ok);
  if (!ok) {
    char buffer[2048];
    glGetProgramInfoLog(p, sizeof buffer, nullptr, buffer);
    LogError(std::string("shader link: ") + buffer);
    glDeleteProgram(p);
    return 0;
  }
  return p;
}

// Uniform locations of a generated program.
struct Program {
  GLuint id = 0;
  GLint worldView, proj, normalMat, viewport, matDiffuse, matAmbient, matSpecular, matEmissive, matPower, ambient;
  GLint lightPos, lightDir, lightDiffuse, lightSpecular, lightAmbient, lightAtt, lightSpot, texMat, pointSize;
  GLint tex, tfactor, constant, alphaRef, fog, fogColor;
};

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
    glGenBuffers(1, &m_StreamVbo);
    glGenBuffers(1, &m_StreamIbo);
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
    return glGetError() == GL_NO_ERROR;
  }

  // IDevice ------------------------------------------------------------
  HRESULT TestCooperativeLevel() override { return D3D_OK; }

  HRESULT Reset(D3DPRESENT_PARAMETERS* params) override {
    if (!params) return D3DERR_INVALIDCALL;
    m_Params = *params;
    if (!MakeTargets()) return D3DERR_NOTAVAILABLE;
    ResetStates();
    return D3D_OK;
  }

  HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override { return m_States.SetRender(state, value); }
  HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override { return m_States.GetRender(state, value); }
  HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override {
    return m_States.SetSampler(sampler, type, value);
  }
  HRESULT GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) override {
    return m_States.GetSampler(sampler, type, value);
  }
  HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override {
    return m_States.SetStage(stage, type, value);
  }
  HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override {
    return m_States.GetStage(stage, type, value);
  }

  HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DXMATRIX* matrix) override {
    if (!matrix) return D3DERR_INVALIDCALL;
    if (state == D3DTS_VIEW) m_View = *matrix;
    else if (state == D3DTS_PROJECTION) m_Proj = *matrix;
    else if (state >= D3DTS_TEXTURE0 && state < D3DTS_TEXTURE0 + MAX_TEXTURE_STAGES) m_TexMat[state - D3DTS_TEXTURE0] = *matrix;
    else if (state == D3DTS_WORLD) m_World = *matrix;
    else if (state > D3DTS_WORLD && state < D3DTS_WORLD + 256) {
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
    if (enable && !slot.on) {
      uint32_t on = 0;
      for (const auto& l : m_Lights) on += l.second.on;
      if (on >= MAX_ACTIVE_LIGHTS) return D3DERR_INVALIDCALL;
    }
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
  HRESULT SetFVF(DWORD fvf) override {
    m_Bound.fvf = fvf;
    m_Layout = DescribeFVF(fvf);
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
    Stream()->Bind();
    SetAttributes(m_Bound.streamOffset, m_Bound.streamStride);
    glDrawArrays(PrimitiveMode(type), GLint(startVertex), GLsizei(count));
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
    if (!IndexedDrawFits(Indices()->Bytes(), size, startIndex, count, baseVertex, vertices)) return D3DERR_INVALIDCALL;
    if (!Prepare()) return D3DERR_INVALIDCALL;
    Stream()->Bind();
    Indices()->Bind();
    SetAttributes(m_Bound.streamOffset, m_Bound.streamStride);
    glDrawElementsBaseVertex(PrimitiveMode(type), GLsizei(count), size == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
                             reinterpret_cast<const void*>(size_t(startIndex) * size), baseVertex);
    return D3D_OK;
  }

  HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* data, uint32_t stride) override {
    const uint32_t count = PrimitiveVertexCount(type, primitiveCount);
    if (!data || stride == 0 || count == 0) return D3DERR_INVALIDCALL;
    if (!Prepare()) return D3DERR_INVALIDCALL;
    glBindBuffer(GL_ARRAY_BUFFER, m_StreamVbo);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(size_t(count) * stride), data, GL_STREAM_DRAW);
    SetAttributes(0, stride);
    glDrawArrays(PrimitiveMode(type), 0, GLsizei(count));
    return D3D_OK;
  }

  HRESULT DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t minIndex, uint32_t vertexCount, uint32_t primitiveCount,
                                 const void* indices, D3DFORMAT indexFormat, const void* data, uint32_t stride) override {
    const uint32_t count = PrimitiveVertexCount(type, primitiveCount);
    if (!indices || !data || stride == 0 || count == 0) return D3DERR_INVALIDCALL;
    if (indexFormat != D3DFMT_INDEX16 && indexFormat != D3DFMT_INDEX32) return D3DERR_INVALIDCALL;
    const uint32_t size = indexFormat == D3DFMT_INDEX32 ? 4 : 2;
    const uint64_t highest = HighestIndex(static_cast<const uint8_t*>(indices), count, size);
    if (highest >= uint64_t(minIndex) + vertexCount) return D3DERR_INVALIDCALL;
    if (!Prepare()) return D3DERR_INVALIDCALL;
    glBindBuffer(GL_ARRAY_BUFFER, m_StreamVbo);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr((highest + 1) * stride), data, GL_STREAM_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_StreamIbo);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(size_t(count) * size), indices, GL_STREAM_DRAW);
    SetAttributes(0, stride);
    glDrawElements(PrimitiveMode(type), GLsizei(count), size == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT, nullptr);
    if (Indices()) Indices()->Bind();
    return D3D_OK;
  }

  HRESULT Clear(DWORD count, const RECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) override {
    if ((flags & D3DCLEAR_ZBUFFER) && !m_Params.EnableAutoDepthStencil) return D3DERR_INVALIDCALL;
    glBindFramebuffer(GL_FRAMEBUFFER, m_Fbo);
    float c[4];
    ColorToVec(color, c);
    glClearColor(c[0], c[1], c[2], c[3]);
    glClearDepth(z);
    glClearStencil(GLint(stencil));
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    GLbitfield bits = 0;
    if (flags & D3DCLEAR_TARGET) bits |= GL_COLOR_BUFFER_BIT;
    if (flags & D3DCLEAR_ZBUFFER) bits |= GL_DEPTH_BUFFER_BIT;
    if (flags & D3DCLEAR_STENCIL) bits |= GL_STENCIL_BUFFER_BIT;
    glEnable(GL_SCISSOR_TEST);
    auto clearRect = [&](int32_t l, int32_t t, int32_t r, int32_t b) {
      l = std::max<int32_t>(l, int32_t(m_Viewport.X));
      t = std::max<int32_t>(t, int32_t(m_Viewport.Y));
      r = std::min<int32_t>(r, int32_t(m_Viewport.X + m_Viewport.Width));
      b = std::min<int32_t>(b, int32_t(m_Viewport.Y + m_Viewport.Height));
      if (r <= l || b <= t) return;
      glScissor(l, GLint(m_Params.BackBufferHeight) - b, r - l, b - t);
      glClear(bits);
    };
    if (count == 0 || !rects) {
      clearRect(int32_t(m_Viewport.X), int32_t(m_Viewport.Y), int32_t(m_Viewport.X + m_Viewport.Width),
                int32_t(m_Viewport.Y + m_Viewport.Height));
    } else {
      for (DWORD i = 0; i < count; ++i) clearRect(rects[i].left, rects[i].top, rects[i].right, rects[i].bottom);
    }
    glDisable(GL_SCISSOR_TEST);
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
    int dw = 0, dh = 0;
    GLuint target = 0;
    if (!m_Context->DrawableSize(&dw, &dh)) {
      dw = int(m_ScreenWidth);
      dh = int(m_ScreenHeight);
      target = m_ScreenFbo;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, target);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glViewport(0, 0, dw, dh);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    // Scaled to fit with the aspect kept: black bars on the long sides.
    const double bw = m_Params.BackBufferWidth, bh = m_Params.BackBufferHeight;
    const double scale = std::min(dw / bw, dh / bh);
    const int w = int(std::lround(bw * scale)), h = int(std::lround(bh * scale));
    glViewport((dw - w) / 2, (dh - h) / 2, w, h);
    glUseProgram(m_PresentProgram);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, m_ColorTexture);
    glBindSampler(0, 0);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, m_RampTexture);
    glBindSampler(1, 0);
    glBindVertexArray(m_PresentVao);
    glDrawArrays(GL_TRIANGLES, 0, 3);
    glBindVertexArray(m_Vao);
    m_Context->Swap();
    glBindFramebuffer(GL_FRAMEBUFFER, m_Fbo);
    return glGetError() == GL_NO_ERROR ? D3D_OK : E_FAIL;
  }

  void SetGammaRamp(uint32_t, DWORD, const D3DGAMMARAMP* ramp) override {
    if (!ramp) return;
    m_Gamma = *ramp;
    UploadRamp();
  }
  void GetGammaRamp(uint32_t, D3DGAMMARAMP* ramp) override {
    if (ramp) *ramp = m_Gamma;
  }

  bool ReadBackBuffer(std::vector<uint32_t>& argb, uint32_t* width, uint32_t* height) override {
    return ReadTarget(m_Fbo, m_Params.BackBufferWidth, m_Params.BackBufferHeight, argb, width, height);
  }
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
    glDeleteBuffers(1, &m_StreamVbo);
    glDeleteBuffers(1, &m_StreamIbo);
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
    std::vector<uint32_t> raw(size_t(w) * h);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, GLsizei(w), GLsizei(h), GL_BGRA, GL_UNSIGNED_BYTE, raw.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, m_Fbo);
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

  bool MakeTargets() {
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

  void UploadRamp() {
    std::vector<uint16_t> texels(256 * 3);
    for (int i = 0; i < 256; ++i) {
      texels[i * 3] = m_Gamma.red[i];
      texels[i * 3 + 1] = m_Gamma.green[i];
      texels[i * 3 + 2] = m_Gamma.blue[i];
    }
    glBindTexture(GL_TEXTURE_2D, m_RampTexture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB16, 256, 1, 0, GL_RGB, GL_UNSIGNED_SHORT, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  }

  void ResetStates() {
    m_States.SetDefaults();
    m_Bound.Clear();
    m_Layout = VertexLayout();
    D3DXMatrixIdentity(&m_World);
    D3DXMatrixIdentity(&m_View);
    D3DXMatrixIdentity(&m_Proj);
    for (D3DXMATRIX& m : m_TexMat) D3DXMatrixIdentity(&m);
    m_Lights.clear();
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
    k.hasNormal = l.normal >= 0;
    k.hasDiffuse = l.diffuse >= 0;
    k.hasSpecular = l.specular >= 0;
    k.lighting = rs[D3DRS_LIGHTING] && !l.screenSpace;
    if (k.lighting) {
      uint32_t n = 0;
      for (const auto& entry : m_Lights) {
        if (!entry.second.on || n >= MAX_ACTIVE_LIGHTS) continue;
        k.lightTypes[n++] = uint8_t(entry.second.light.Type);
      }
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

  const Program* GetProgram(const gl::PipelineKey& key) {
    static_assert(std::has_unique_object_representations<gl::PipelineKey>::value, "keys compare as bytes");
    // Most draws use the program of the draw before: no key string is made then.
    if (m_LastProgram && std::memcmp(&key, &m_LastKey, sizeof key) == 0) return m_LastProgram;
    const Program* program = FindOrMakeProgram(key);
    m_LastKey = key;
    m_LastProgram = program;
    return program;
  }

  const Program* FindOrMakeProgram(const gl::PipelineKey& key) {
    const std::string bytes = key.Bytes();
    auto it = m_Programs.find(bytes);
    if (it != m_Programs.end()) return it->second.id ? &it->second : nullptr;
    Program p;
    p.id = LinkProgram(gl::VertexShaderSource(key), gl::FragmentShaderSource(key));
    if (p.id) {
      auto loc = [&](const char* name) { return glGetUniformLocation(p.id, name); };
      p.worldView = loc("uWorldView");
      p.proj = loc("uProj");
      p.normalMat = loc("uNormalMat");
      p.viewport = loc("uViewport");
      p.matDiffuse = loc("uMatDiffuse");
      p.matAmbient = loc("uMatAmbient");
      p.matSpecular = loc("uMatSpecular");
      p.matEmissive = loc("uMatEmissive");
      p.matPower = loc("uMatPower");
      p.ambient = loc("uAmbient");
      p.lightPos = loc("uLightPos");
      p.lightDir = loc("uLightDir");
      p.lightDiffuse = loc("uLightDiffuse");
      p.lightSpecular = loc("uLightSpecular");
      p.lightAmbient = loc("uLightAmbient");
      p.lightAtt = loc("uLightAtt");
      p.lightSpot = loc("uLightSpot");
      p.texMat = loc("uTexMat");
      p.pointSize = loc("uPointSize");
      p.tex = loc("uTex");
      p.tfactor = loc("uTFactor");
      p.constant = loc("uConst");
      p.alphaRef = loc("uAlphaRef");
      p.fog = loc("uFog");
      p.fogColor = loc("uFogColor");
      glUseProgram(p.id);
      const GLint units[8] = {0, 1, 2, 3, 4, 5, 6, 7};
      if (p.tex >= 0) glUniform1iv(p.tex, 8, units);
    }
    auto& stored = m_Programs[bytes] = p;
    return stored.id ? &stored : nullptr;
  }

  void ApplyFixedStates() {
    const DWORD* rs = m_States.render;
    glBindFramebuffer(GL_FRAMEBUFFER, m_Fbo);
    glViewport(GLint(m_Viewport.X), GLint(m_Params.BackBufferHeight) - GLint(m_Viewport.Y + m_Viewport.Height),
               GLsizei(m_Viewport.Width), GLsizei(m_Viewport.Height));
    glDepthRange(m_Viewport.MinZ, m_Viewport.MaxZ);
    if (rs[D3DRS_ZENABLE]) glEnable(GL_DEPTH_TEST);
    else glDisable(GL_DEPTH_TEST);
    glDepthFunc(CompareFunc(rs[D3DRS_ZFUNC]));
    glDepthMask(rs[D3DRS_ZWRITEENABLE] ? GL_TRUE : GL_FALSE);
    // The picture keeps its orientation on screen, so a winding seen as
    // clockwise is clockwise for GL too; front faces are counter-clockwise.
    glFrontFace(GL_CCW);
    switch (rs[D3DRS_CULLMODE]) {
      case D3DCULL_CW: glEnable(GL_CULL_FACE); glCullFace(GL_BACK); break;
      case D3DCULL_CCW: glEnable(GL_CULL_FACE); glCullFace(GL_FRONT); break;
      default: glDisable(GL_CULL_FACE); break;
    }
    if (rs[D3DRS_ALPHABLENDENABLE]) {
      glEnable(GL_BLEND);
      GLenum s, d, sa, da;
      BlendPair(rs[D3DRS_SRCBLEND], rs[D3DRS_DESTBLEND], &s, &d);
      if (rs[D3DRS_SEPARATEALPHABLENDENABLE]) {
        BlendPair(rs[D3DRS_SRCBLENDALPHA], rs[D3DRS_DESTBLENDALPHA], &sa, &da);
        glBlendFuncSeparate(s, d, sa, da);
        glBlendEquationSeparate(BlendOp(rs[D3DRS_BLENDOP]), BlendOp(rs[D3DRS_BLENDOPALPHA]));
      } else {
        glBlendFunc(s, d);
        glBlendEquation(BlendOp(rs[D3DRS_BLENDOP]));
      }
      float c[4];
      ColorToVec(rs[D3DRS_BLENDFACTOR], c);
      glBlendColor(c[0], c[1], c[2], c[3]);
    } else {
      glDisable(GL_BLEND);
    }
    const DWORD mask = rs[D3DRS_COLORWRITEENABLE];
    glColorMask(mask & 1 ? GL_TRUE : GL_FALSE, mask & 2 ? GL_TRUE : GL_FALSE, mask & 4 ? GL_TRUE : GL_FALSE,
                mask & 8 ? GL_TRUE : GL_FALSE);
    glPolygonMode(GL_FRONT_AND_BACK, rs[D3DRS_FILLMODE] == D3DFILL_POINT       ? GL_POINT
                                     : rs[D3DRS_FILLMODE] == D3DFILL_WIREFRAME ? GL_LINE
                                                                               : GL_FILL);
    glDisable(GL_SCISSOR_TEST);
  }

  void ApplySampler(uint32_t i, GlTexture* texture) {
    const DWORD* ss = m_States.sampler[i];
    const GLuint s = m_Samplers[i];
    glSamplerParameteri(s, GL_TEXTURE_WRAP_S, GLint(AddressMode(ss[D3DSAMP_ADDRESSU])));
    glSamplerParameteri(s, GL_TEXTURE_WRAP_T, GLint(AddressMode(ss[D3DSAMP_ADDRESSV])));
    float border[4];
    ColorToVec(ss[D3DSAMP_BORDERCOLOR], border);
    glSamplerParameterfv(s, GL_TEXTURE_BORDER_COLOR, border);
    const bool magLinear = ss[D3DSAMP_MAGFILTER] >= D3DTEXF_LINEAR;
    const bool minLinear = ss[D3DSAMP_MINFILTER] >= D3DTEXF_LINEAR;
    const DWORD mip = texture && texture->LevelCountForSampling() > 1 ? ss[D3DSAMP_MIPFILTER] : D3DTEXF_NONE;
    GLenum minFilter;
    if (mip == D3DTEXF_NONE) minFilter = minLinear ? GL_LINEAR : GL_NEAREST;
    else if (mip == D3DTEXF_POINT) minFilter = minLinear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    else minFilter = minLinear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    glSamplerParameteri(s, GL_TEXTURE_MAG_FILTER, magLinear ? GL_LINEAR : GL_NEAREST);
    glSamplerParameteri(s, GL_TEXTURE_MIN_FILTER, GLint(minFilter));
    glSamplerParameterf(s, GL_TEXTURE_MIN_LOD, float(ss[D3DSAMP_MAXMIPLEVEL]));
    glSamplerParameterf(s, GL_TEXTURE_LOD_BIAS, DwordToFloat(ss[D3DSAMP_MIPMAPLODBIAS]));
  }

  // Sets everything a draw needs except the vertex attributes.
  bool Prepare() {
    if (m_Layout.position < 0) return false;  // no vertex format with a position
    const gl::PipelineKey key = MakeKey();
    const Program* p = GetProgram(key);
    if (!p) return false;
    ApplyFixedStates();
    glUseProgram(p->id);
    glBindVertexArray(m_Vao);

    D3DXMATRIX worldView;
    D3DXMatrixMultiply(&worldView, &m_World, &m_View);
    glUniformMatrix4fv(p->worldView, 1, GL_FALSE, &worldView.m[0][0]);
    glUniformMatrix4fv(p->proj, 1, GL_FALSE, &m_Proj.m[0][0]);
    const float vp[4] = {float(m_Viewport.X), float(m_Viewport.Y), float(m_Viewport.Width), float(m_Viewport.Height)};
    glUniform4fv(p->viewport, 1, vp);
    if (key.lighting) {
      D3DXMATRIX inverse;
      if (!D3DXMatrixInverse(&inverse, nullptr, &worldView)) D3DXMatrixIdentity(&inverse);
      const float n[9] = {inverse.m[0][0], inverse.m[0][1], inverse.m[0][2], inverse.m[1][0], inverse.m[1][1],
                          inverse.m[1][2], inverse.m[2][0], inverse.m[2][1], inverse.m[2][2]};
      glUniformMatrix3fv(p->normalMat, 1, GL_TRUE, n);
      glUniform4fv(p->matDiffuse, 1, &m_Material.Diffuse.r);
      glUniform4fv(p->matAmbient, 1, &m_Material.Ambient.r);
      glUniform4fv(p->matSpecular, 1, &m_Material.Specular.r);
      glUniform4fv(p->matEmissive, 1, &m_Material.Emissive.r);
      glUniform1f(p->matPower, m_Material.Power);
      float ambient[4];
      ColorToVec(m_States.render[D3DRS_AMBIENT], ambient);
      glUniform4fv(p->ambient, 1, ambient);
      float pos[8][3] = {}, dir[8][3] = {}, dif[8][4] = {}, spe[8][4] = {}, amb[8][4] = {}, att[8][4] = {}, spot[8][4] = {};
      uint32_t n2 = 0;
      for (const auto& entry : m_Lights) {
        if (!entry.second.on || n2 >= MAX_ACTIVE_LIGHTS) continue;
        const D3DLIGHT9& L = entry.second.light;
        D3DXVECTOR3 wp(L.Position.x, L.Position.y, L.Position.z), wd(L.Direction.x, L.Direction.y, L.Direction.z), v;
        D3DXVec3TransformCoord(&v, &wp, &m_View);
        pos[n2][0] = v.x, pos[n2][1] = v.y, pos[n2][2] = v.z;
        D3DXVec3TransformNormal(&v, &wd, &m_View);
        D3DXVec3Normalize(&v, &v);
        dir[n2][0] = v.x, dir[n2][1] = v.y, dir[n2][2] = v.z;
        std::memcpy(dif[n2], &L.Diffuse, 16);
        std::memcpy(spe[n2], &L.Specular, 16);
        std::memcpy(amb[n2], &L.Ambient, 16);
        att[n2][0] = L.Attenuation0, att[n2][1] = L.Attenuation1, att[n2][2] = L.Attenuation2, att[n2][3] = L.Range;
        spot[n2][0] = std::cos(L.Theta * 0.5f), spot[n2][1] = std::cos(L.Phi * 0.5f), spot[n2][2] = L.Falloff;
        ++n2;
      }
      glUniform3fv(p->lightPos, 8, &pos[0][0]);
      glUniform3fv(p->lightDir, 8, &dir[0][0]);
      glUniform4fv(p->lightDiffuse, 8, &dif[0][0]);
      glUniform4fv(p->lightSpecular, 8, &spe[0][0]);
      glUniform4fv(p->lightAmbient, 8, &amb[0][0]);
      glUniform4fv(p->lightAtt, 8, &att[0][0]);
      glUniform4fv(p->lightSpot, 8, &spot[0][0]);
    }
    float texMats[8][16];
    for (int i = 0; i < 8; ++i) std::memcpy(texMats[i], &m_TexMat[i].m[0][0], 64);
    glUniformMatrix4fv(p->texMat, 8, GL_FALSE, &texMats[0][0]);
    glUniform1f(p->pointSize, DwordToFloat(m_States.render[D3DRS_POINTSIZE]));
    float tf[4];
    ColorToVec(m_States.render[D3DRS_TEXTUREFACTOR], tf);
    glUniform4fv(p->tfactor, 1, tf);
    float constants[8][4];
    for (int i = 0; i < 8; ++i) ColorToVec(m_States.stage[i][D3DTSS_CONSTANT], constants[i]);
    glUniform4fv(p->constant, 8, &constants[0][0]);
    glUniform1f(p->alphaRef, float(m_States.render[D3DRS_ALPHAREF] & 0xFF));
    const float fog[4] = {DwordToFloat(m_States.render[D3DRS_FOGSTART]), DwordToFloat(m_States.render[D3DRS_FOGEND]),
                          DwordToFloat(m_States.render[D3DRS_FOGDENSITY]), 0.0f};
    glUniform4fv(p->fog, 1, fog);
    float fogColor[4];
    ColorToVec(m_States.render[D3DRS_FOGCOLOR], fogColor);
    glUniform4fv(p->fogColor, 1, fogColor);

    for (int i = 0; i < key.stageCount; ++i) {
      if (!key.stages[i].hasTexture) continue;
      glActiveTexture(GL_TEXTURE0 + GLenum(i));
      Texture(i)->Bind();
      ApplySampler(uint32_t(i), Texture(i));
      glBindSampler(GLuint(i), m_Samplers[i]);
    }
    glActiveTexture(GL_TEXTURE0);
    return true;
  }

  void SetAttributes(uint32_t offset, uint32_t stride) {
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

  std::shared_ptr<GlContext> m_Context;
  std::shared_ptr<DeviceLink> m_Link;
  D3DPRESENT_PARAMETERS m_Params;
  DeviceStates m_States;
  D3DXMATRIX m_World, m_View, m_Proj, m_TexMat[MAX_TEXTURE_STAGES];
  std::map<DWORD, LightSlot> m_Lights;
  D3DMATERIAL9 m_Material;
  D3DVIEWPORT9 m_Viewport;
  D3DGAMMARAMP m_Gamma;
  DeviceBindings m_Bound;
  VertexLayout m_Layout;
  std::unordered_map<std::string, Program> m_Programs;
  gl::PipelineKey m_LastKey;
  const Program* m_LastProgram = nullptr;  // the program of m_LastKey (entries of m_Programs stay put)
  GLuint m_Vao = 0, m_PresentVao = 0, m_StreamVbo = 0, m_StreamIbo = 0;
  GLuint m_Samplers[MAX_TEXTURE_STAGES] = {};
  GLuint m_Fbo = 0, m_ColorTexture = 0, m_DepthBuffer = 0, m_ScreenFbo = 0, m_ScreenTexture = 0;
  uint32_t m_ScreenWidth = 0, m_ScreenHeight = 0;
  GLuint m_RampTexture = 0, m_PresentProgram = 0;
  bool m_InScene = false;
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

}  // namespace platform
