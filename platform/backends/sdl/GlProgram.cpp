#include "platform/backends/sdl/GlProgram.h"

#include <algorithm>

#include "platform/Log.h"

namespace platform {
namespace detail {

namespace {

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

}  // namespace

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

}  // namespace detail
}  // namespace platform
