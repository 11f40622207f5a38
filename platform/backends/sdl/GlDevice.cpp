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
#include "platform/backends/sdl/GlState.h"

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

// What objects made by the device share with it: whether it still exists,
// and what it has bound (a deleted name must not stay known as bound).
struct DeviceLink {
  bool alive = true;
  gl::StateCache cache;
};

class GlTexture final : public MemoryTexture {
 public:
  GlTexture(std::shared_ptr<DeviceLink> link, uint32_t w, uint32_t h, uint32_t levels, DWORD usage, D3DFORMAT format,
            D3DPOOL pool)
      : MemoryTexture(w, h, levels, usage, format, pool), m_Link(std::move(link)) {}
  // Binds the texture to a unit, uploading what changed.
  void Bind(int unit) {
    gl::StateCache& cache = m_Link->cache;
    if (!m_Id) {
      glGenTextures(1, &m_Id);
      cache.BindTexture(unit, m_Id);
      cache.ActiveUnit(unit);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, GLint(m_Levels.size()) - 1);
    } else {
      cache.BindTexture(unit, m_Id);
    }
    if (m_Uploaded == m_Version) return;
    cache.ActiveUnit(unit);
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
    if (m_Id && m_Link->alive) {
      m_Link->cache.ForgetTexture(m_Id);
      glDeleteTextures(1, &m_Id);
    }
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
  void Bind(DeviceLink& link, GLenum target, const std::vector<uint8_t>& bytes, uint64_t version, DWORD usage) {
    if (!id) glGenBuffers(1, &id);
    if (target == GL_ARRAY_BUFFER) link.cache.BindArrayBuffer(id);
    else link.cache.BindElementBuffer(id);
    if (uploaded != version) {
      glBufferData(target, GLsizeiptr(bytes.size()), bytes.data(),
                   (usage & D3DUSAGE_DYNAMIC) ? GL_DYNAMIC_DRAW : GL_STATIC_DRAW);
      uploaded = version;
      ++link.cache.Counters().bufferUploads;
    }
  }
  void Delete(DeviceLink& link) {
    if (id && link.alive) {
      link.cache.ForgetBuffer(id);
      glDeleteBuffers(1, &id);
    }
  }
};

// A vertex or index buffer kept in memory and mirrored in a GL buffer.
template <class Base, GLenum Target>
class GlBuffer final : public Base {
 public:
  // kind: the vertex format of a vertex buffer, the index format of an index buffer.
  GlBuffer(std::shared_ptr<DeviceLink> link, uint32_t length, DWORD usage, uint32_t kind, D3DPOOL pool)
      : Base(length, usage, kind, pool), m_Link(std::move(link)) {}
  void Bind() { m_Buffer.Bind(*m_Link, Target, this->m_Bytes, this->m_Version, this->m_Usage); }
  GLuint Id() const { return m_Buffer.id; }

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

// The lowest and highest of count indices of size bytes each.
void IndexRange(const uint8_t* indices, uint32_t count, uint32_t size, uint32_t* lowest, uint32_t* highest) {
  uint32_t lo = UINT32_MAX, hi = 0;
  if (size == 4) {
    for (uint32_t i = 0; i < count; ++i) {
      uint32_t v;
      std::memcpy(&v, indices + size_t(i) * 4, 4);
      lo = std::min(lo, v);
      hi = std::max(hi, v);
    }
  } else {
    for (uint32_t i = 0; i < count; ++i) {
      uint16_t v;
      std::memcpy(&v, indices + size_t(i) * 2, 2);
      lo = std::min<uint32_t>(lo, v);
      hi = std::max<uint32_t>(hi, v);
    }
  }
  *lowest = count ? lo : 0;
  *highest = hi;
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

// A uniform of a generated program: where it is, and where the program's
// copy of its last values starts.
struct Uniform {
  GLint location = -1;
  uint32_t at = 0, floats = 0;
  bool known = false;
};

// When each group of values that uniforms are made from last changed on the
// device: a program whose copy is as new needs none of them again.
struct UniformVersions {
  uint64_t world = 0, view = 0, proj = 0, viewport = 0, lights = 0, material = 0, states = 0, texMats = 0;
};

// A generated program, its uniforms and the values they hold, so that a
// value is sent only when it changes.
struct Program {
  GLuint id = 0;
  UniformVersions seen;  // the device's versions when the uniforms were last set
  Uniform worldView, proj, normalMat, viewport, matDiffuse, matAmbient, matSpecular, matEmissive, matPower, ambient;
  Uniform lightPos, lightDir, lightDiffuse, lightSpecular, lightAmbient, lightAtt, lightSpot, texMat, pointSize;
  Uniform tfactor, constant, alphaRef, fog, fogColor;
  std::vector<float> values;

  void Find(Uniform& u, const char* name, uint32_t floats) {
    u.location = glGetUniformLocation(id, name);
    if (u.location < 0) return;
    u.at = uint32_t(values.size());
    u.floats = floats;
    values.resize(values.size() + floats);
  }
  // True when v differs from what the uniform holds; v is then noted as held.
  bool Changed(Uniform& u, const float* v) {
    if (u.location < 0) return false;
    float* held = &values[u.at];
    if (u.known && std::memcmp(held, v, size_t(u.floats) * sizeof(float)) == 0) return false;
    std::memcpy(held, v, size_t(u.floats) * sizeof(float));
    u.known = true;
    return true;
  }
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

  HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override {
    Bump(m_Versions.states);
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
    Bump(m_Versions.states);
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
    SetAttributes(Stream()->Id(), m_Bound.streamOffset, m_Bound.streamStride);
    glDrawArrays(PrimitiveMode(type), GLint(startVertex), GLsizei(count));
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
    Stream()->Bind();
    Indices()->Bind();
    SetAttributes(Stream()->Id(), m_Bound.streamOffset, m_Bound.streamStride);
    // The range spares the driver a pass over the indices.
    glDrawRangeElementsBaseVertex(PrimitiveMode(type), lowest, highest, GLsizei(count),
                                  size == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
                                  reinterpret_cast<const void*>(size_t(startIndex) * size), baseVertex);
    ++m_Link->cache.Counters().draws;
    return D3D_OK;
  }

  HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* data, uint32_t stride) override {
    const uint32_t count = PrimitiveVertexCount(type, primitiveCount);
    if (!data || stride == 0 || count == 0) return D3DERR_INVALIDCALL;
    if (!Prepare()) return D3DERR_INVALIDCALL;
    const GLint first = StreamVertices(data, size_t(count) * stride, stride);
    glDrawArrays(PrimitiveMode(type), first, GLsizei(count));
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
    const size_t at = m_StreamIndices.Write(GL_ELEMENT_ARRAY_BUFFER, indices, size_t(count) * size, size);
    ++m_Link->cache.Counters().bufferUploads;
    glDrawRangeElementsBaseVertex(PrimitiveMode(type), lowest, highest, GLsizei(count),
                                  size == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT, reinterpret_cast<const void*>(at), first);
    ++m_Link->cache.Counters().draws;
    return D3D_OK;
  }

  HRESULT Clear(DWORD count, const RECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) override {
    if ((flags & D3DCLEAR_ZBUFFER) && !m_Params.EnableAutoDepthStencil) return D3DERR_INVALIDCALL;
    gl::StateCache& cache = m_Link->cache;
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
    if (flags & D3DCLEAR_ZBUFFER) bits |= GL_DEPTH_BUFFER_BIT;
    if (flags & D3DCLEAR_STENCIL) bits |= GL_STENCIL_BUFFER_BIT;
    cache.Enable(GL_SCISSOR_TEST, true);
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
    ChooseTarget();
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
    const bool made = MakeTargetObjects();
    ChooseTarget();
    m_Link->cache.Invalidate();
    return made;
  }

  bool MakeTargetObjects() {
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
    const gl::PipelineKey key = MakeKey();
    Program* p = GetProgram(key);
    if (!p) return false;
    gl::StateCache& c = m_Link->cache;
    ApplyFixedStates();
    c.UseProgram(p->id);
    c.BindVertexArray(m_Vao);

    auto vec4 = [&](Uniform& u, const float* v) {
      if (p->Changed(u, v)) glUniform4fv(u.location, GLsizei(u.floats / 4), v);
    };
    auto vec3 = [&](Uniform& u, const float* v) {
      if (p->Changed(u, v)) glUniform3fv(u.location, GLsizei(u.floats / 3), v);
    };
    auto mat4 = [&](Uniform& u, const float* v) {
      if (p->Changed(u, v)) glUniformMatrix4fv(u.location, GLsizei(u.floats / 16), GL_FALSE, v);
    };
    auto scalar = [&](Uniform& u, float v) {
      if (p->Changed(u, &v)) glUniform1f(u.location, v);
    };

    // Each group of uniforms is looked at only when what it is made from
    // changed since the program last had it.
    const UniformVersions& v = m_Versions;
    UniformVersions& seen = p->seen;
    if (seen.world != v.world || seen.view != v.view) {
      D3DXMATRIX worldView;
      D3DXMatrixMultiply(&worldView, &m_World, &m_View);
      mat4(p->worldView, &worldView.m[0][0]);
      if (key.lighting && p->normalMat.location >= 0) {
        D3DXMATRIX inverse;
        if (!D3DXMatrixInverse(&inverse, nullptr, &worldView)) D3DXMatrixIdentity(&inverse);
        // The transpose of the inverse's upper 3x3, column by column.
        const float n[9] = {inverse.m[0][0], inverse.m[1][0], inverse.m[2][0], inverse.m[0][1], inverse.m[1][1],
                            inverse.m[2][1], inverse.m[0][2], inverse.m[1][2], inverse.m[2][2]};
        if (p->Changed(p->normalMat, n)) glUniformMatrix3fv(p->normalMat.location, 1, GL_FALSE, n);
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
      for (const auto& entry : m_Lights) {
        if (!entry.second.on || n2 >= MAX_ACTIVE_LIGHTS) continue;
        const D3DLIGHT9& L = entry.second.light;
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

  // Streams vertices handed over by pointer and points the attributes at
  // them; returns the number of the first vertex.
  GLint StreamVertices(const void* data, size_t bytes, uint32_t stride) {
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
  std::map<DWORD, LightSlot> m_Lights;
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
