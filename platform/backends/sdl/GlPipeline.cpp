#include "platform/backends/sdl/GlPipeline.h"

#include <sstream>

namespace platform {
namespace gl {

namespace {

const char* kVertexHeader = R"(#version 330 core
layout(location = 0) in vec4 aPos;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec4 aDiffuse;
layout(location = 3) in vec4 aSpecular;
layout(location = 4) in vec4 aTex0;
layout(location = 5) in vec4 aTex1;
layout(location = 6) in vec4 aTex2;
layout(location = 7) in vec4 aTex3;
layout(location = 8) in vec4 aTex4;
layout(location = 9) in vec4 aTex5;
layout(location = 10) in vec4 aTex6;
layout(location = 11) in vec4 aTex7;
uniform mat4 uWorldView;
uniform mat4 uProj;
uniform mat3 uNormalMat;
uniform vec4 uViewport;    // x, y, width, height
uniform vec4 uMatDiffuse, uMatAmbient, uMatSpecular, uMatEmissive;
uniform float uMatPower;
uniform vec4 uAmbient;
uniform vec3 uLightPos[8];
uniform vec3 uLightDir[8];
uniform vec4 uLightDiffuse[8], uLightSpecular[8], uLightAmbient[8];
uniform vec4 uLightAtt[8];   // a0, a1, a2, range
uniform vec4 uLightSpot[8];  // cos(theta / 2), cos(phi / 2), falloff
uniform mat4 uTexMat[8];
uniform float uPointSize;
out vec4 vDiffuse;
out vec4 vSpecular;
out float vFogDepth;
)";

const char* TexInput(int set) {
  static const char* names[8] = {"aTex0", "aTex1", "aTex2", "aTex3", "aTex4", "aTex5", "aTex6", "aTex7"};
  return names[set & 7];
}

std::string Source(int which) {
  switch (which) {
    case 1: return "aDiffuse";
    case 2: return "aSpecular";
    default: return "";
  }
}

}  // namespace

std::string VertexShaderSource(const PipelineKey& k) {
  std::ostringstream s;
  if (k.matrixRing) {
    // The draw number needs its extension right after the version line.
    const std::string header = kVertexHeader;
    const size_t line = header.find('\n') + 1;
    s << header.substr(0, line) << "#extension GL_ARB_shader_draw_parameters : require\n" << header.substr(line)
      << "uniform samplerBuffer uMatrices;\nuniform int uMatrixBase;\n";
  } else {
    s << kVertexHeader;
  }
  const char* worldView = k.matrixRing ? "ringWorldView" : "uWorldView";
  const char* normalMat =
      k.matrixRing
          ? "mat3(texelFetch(uMatrices, m + 4).xyz, texelFetch(uMatrices, m + 5).xyz, texelFetch(uMatrices, m + 6).xyz)"
          : "uNormalMat";
  // One output per stage in use: a software renderer sets up every
  // output of every triangle.
  for (int i = 0; i < k.stageCount; ++i) s << "out vec4 vTex" << i << ";\n";
  s << "void main() {\n";
  if (k.screenSpace) {
    s << "  float w = aPos.w != 0.0 ? 1.0 / aPos.w : 1.0;\n"
         "  vec2 ndc = vec2((aPos.x - uViewport.x + 0.5) / uViewport.z * 2.0 - 1.0,\n"
         "                  1.0 - (aPos.y - uViewport.y + 0.5) / uViewport.w * 2.0);\n"
         "  gl_Position = vec4(ndc * w, (aPos.z * 2.0 - 1.0) * w, w);\n"
         "  vec3 P = vec3(0.0);\n  vec3 N = vec3(0.0, 0.0, 1.0);\n";
  } else {
    if (k.matrixRing)
      s << "  int m = (uMatrixBase + gl_DrawIDARB) * 7;\n"
           "  mat4 ringWorldView = mat4(texelFetch(uMatrices, m), texelFetch(uMatrices, m + 1),\n"
           "                            texelFetch(uMatrices, m + 2), texelFetch(uMatrices, m + 3));\n";
    s << "  vec4 view = " << worldView << " * vec4(aPos.xyz, 1.0);\n"
         "  vec4 clip = uProj * view;\n"
         "  clip.x += clip.w / uViewport.z;\n"
         "  clip.y -= clip.w / uViewport.w;\n"
         "  clip.z = 2.0 * clip.z - clip.w;\n"
         "  gl_Position = clip;\n"
         "  vec3 P = view.xyz;\n";
    if (k.hasNormal) s << "  vec3 N = normalize(" << normalMat << " * aNormal);\n";
    else s << "  vec3 N = vec3(0.0);\n";
  }
  s << "  vec4 inDiffuse = " << (k.hasDiffuse ? "aDiffuse" : "vec4(1.0)") << ";\n";
  s << "  vec4 inSpecular = " << (k.hasSpecular ? "aSpecular" : "vec4(0.0)") << ";\n";
  if (k.lighting && !k.screenSpace) {
    auto src = [&](int which, const char* material) {
      const std::string v = Source(which);
      if (which == 1 && k.hasDiffuse) return v;
      if (which == 2 && k.hasSpecular) return v;
      return std::string(material);
    };
    s << "  vec4 md = " << src(k.diffuseSource, "uMatDiffuse") << ";\n"
      << "  vec4 ma = " << src(k.ambientSource, "uMatAmbient") << ";\n"
      << "  vec4 ms = " << src(k.specularSource, "uMatSpecular") << ";\n"
      << "  vec4 me = " << src(k.emissiveSource, "uMatEmissive") << ";\n"
      << "  vec3 dsum = vec3(0.0), asum = vec3(0.0), ssum = vec3(0.0);\n"
      << "  vec3 E = " << (k.localViewer ? "normalize(-P)" : "vec3(0.0, 0.0, 1.0)") << ";\n";
    for (uint32_t i = 0; i < MAX_ACTIVE_LIGHTS; ++i) {
      const int type = k.lightTypes[i];
      if (!type) continue;
      s << "  {\n";
      if (type == D3DLIGHT_DIRECTIONAL) {
        s << "    vec3 L = -uLightDir[" << i << "];\n    float f = 1.0;\n";
      } else {
        s << "    vec3 Ld = uLightPos[" << i << "] - P;\n"
          << "    float d = length(Ld);\n"
          << "    vec3 L = d > 0.0 ? Ld / d : vec3(0.0, 0.0, 1.0);\n"
          << "    vec4 at = uLightAtt[" << i << "];\n"
          << "    float f = d > at.w ? 0.0 : 1.0 / max(at.x + at.y * d + at.z * d * d, 1e-6);\n";
        if (type == D3DLIGHT_SPOT) {
          s << "    vec4 sp = uLightSpot[" << i << "];\n"
            << "    float rho = dot(-L, uLightDir[" << i << "]);\n"
            << "    float spot = rho > sp.x ? 1.0 : (rho <= sp.y ? 0.0 : pow(clamp((rho - sp.y) / max(sp.x - sp.y, 1e-6), 0.0, 1.0), sp.z));\n"
            << "    f *= spot;\n";
        }
      }
      s << "    float nl = max(dot(N, L), 0.0);\n"
        << "    asum += uLightAmbient[" << i << "].rgb * f;\n"
        << "    dsum += uLightDiffuse[" << i << "].rgb * nl * f;\n";
      if (k.specularEnable)
        s << "    if (nl > 0.0) ssum += uLightSpecular[" << i << "].rgb * pow(max(dot(N, normalize(E + L)), 0.0), uMatPower) * f;\n";
      s << "  }\n";
    }
    s << "  vDiffuse = vec4(clamp(me.rgb + ma.rgb * (uAmbient.rgb + asum) + md.rgb * dsum, 0.0, 1.0), clamp(md.a, 0.0, 1.0));\n"
      << "  vSpecular = vec4(clamp(ms.rgb * ssum, 0.0, 1.0), inSpecular.a);\n";
  } else {
    s << "  vDiffuse = inDiffuse;\n  vSpecular = inSpecular;\n";
  }
  s << "  vFogDepth = " << (k.rangeFog ? "length(P)" : "abs(P.z)") << ";\n";
  if (k.pointSize) s << "  gl_PointSize = uPointSize;\n";
  for (int i = 0; i < k.stageCount; ++i) {
    const StageKey& st = k.stages[i];
    s << "  {\n    vec4 c;\n";
    switch (st.coordGen) {
      case 1: s << "    c = vec4(N, 1.0);\n"; break;
      case 2: s << "    c = vec4(P, 1.0);\n"; break;
      case 3: s << "    c = vec4(reflect(normalize(P), N), 1.0);\n"; break;
      case 4:
        s << "    vec3 R = reflect(normalize(P), N);\n"
             "    float m = 2.0 * sqrt(R.x * R.x + R.y * R.y + (R.z + 1.0) * (R.z + 1.0));\n"
             "    c = vec4(R.x / m + 0.5, -R.y / m + 0.5, 1.0, 0.0);\n";
        break;
      default:
        switch (st.coordFloats) {
          case 0: s << "    c = vec4(0.0, 0.0, 1.0, 0.0);\n"; break;
          case 1: s << "    c = vec4(" << TexInput(st.coordSet) << ".x, 1.0, 0.0, 0.0);\n"; break;
          case 2: s << "    c = vec4(" << TexInput(st.coordSet) << ".xy, 1.0, 0.0);\n"; break;
          case 3: s << "    c = vec4(" << TexInput(st.coordSet) << ".xyz, 1.0);\n"; break;
          default: s << "    c = " << TexInput(st.coordSet) << ";\n"; break;
        }
    }
    if (st.transformCount) s << "    c = uTexMat[" << i << "] * c;\n";
    s << "    vTex" << i << " = c;\n  }\n";
  }
  s << "}\n";
  return s.str();
}

namespace {

std::string Arg(const PipelineKey& k, int stage, uint8_t arg, bool alpha) {
  std::string v;
  switch (arg & D3DTA_SELECTMASK) {
    case D3DTA_DIFFUSE: v = "vDiffuse"; break;
    case D3DTA_CURRENT: v = "cur"; break;
    case D3DTA_TEXTURE: v = "t" + std::to_string(stage); break;
    case D3DTA_TFACTOR: v = "uTFactor"; break;
    case D3DTA_SPECULAR: v = "vSpecular"; break;
    case D3DTA_TEMP: v = "tmp"; break;
    case D3DTA_CONSTANT: v = "uConst[" + std::to_string(stage) + "]"; break;
    default: v = "cur"; break;
  }
  if (arg & D3DTA_ALPHAREPLICATE) v = "vec4(" + v + ".a)";
  if (arg & D3DTA_COMPLEMENT) v = "(vec4(1.0) - " + v + ")";
  return v;
}

// The expression of one stage operation on the channels in sw (".rgb" or ".a").
std::string Op(const PipelineKey& k, int stage, uint8_t op, const uint8_t args[3], const char* sw, bool alpha) {
  const std::string a0 = "(" + Arg(k, stage, args[0], alpha) + ")" + sw;
  const std::string a1 = "(" + Arg(k, stage, args[1], alpha) + ")" + sw;
  const std::string a2 = "(" + Arg(k, stage, args[2], alpha) + ")" + sw;
  const std::string t = "t" + std::to_string(stage);
  switch (op) {
    case D3DTOP_SELECTARG1: return a1;
    case D3DTOP_SELECTARG2: return a2;
    case D3DTOP_MODULATE: return a1 + " * " + a2;
    case D3DTOP_MODULATE2X: return a1 + " * " + a2 + " * 2.0";
    case D3DTOP_MODULATE4X: return a1 + " * " + a2 + " * 4.0";
    case D3DTOP_ADD: return a1 + " + " + a2;
    case D3DTOP_ADDSIGNED: return a1 + " + " + a2 + " - 0.5";
    case D3DTOP_ADDSIGNED2X: return "(" + a1 + " + " + a2 + " - 0.5) * 2.0";
    case D3DTOP_SUBTRACT: return a1 + " - " + a2;
    case D3DTOP_ADDSMOOTH: return a1 + " + " + a2 + " - " + a1 + " * " + a2;
    case D3DTOP_BLENDDIFFUSEALPHA: return "mix(" + a2 + ", " + a1 + ", vDiffuse.a)";
    case D3DTOP_BLENDTEXTUREALPHA: return "mix(" + a2 + ", " + a1 + ", " + t + ".a)";
    case D3DTOP_BLENDFACTORALPHA: return "mix(" + a2 + ", " + a1 + ", uTFactor.a)";
    case D3DTOP_BLENDCURRENTALPHA: return "mix(" + a2 + ", " + a1 + ", cur.a)";
    case D3DTOP_BLENDTEXTUREALPHAPM: return a1 + " + " + a2 + " * (1.0 - " + t + ".a)";
    case 18: return alpha ? a1 : a1 + " + (" + Arg(k, stage, args[1], true) + ").a * " + a2;  // MODULATEALPHA_ADDCOLOR
    case 19: return alpha ? a1 : a1 + " * " + a2 + " + (" + Arg(k, stage, args[1], true) + ").a";  // MODULATECOLOR_ADDALPHA
    case 20: return alpha ? a1 : "(1.0 - (" + Arg(k, stage, args[1], true) + ").a) * " + a2 + " + " + a1;
    case 21: return alpha ? a1 : "(1.0 - " + a1 + ") * " + a2 + " + (" + Arg(k, stage, args[1], true) + ").a";
    case D3DTOP_DOTPRODUCT3: {
      const std::string d = "clamp(dot((" + Arg(k, stage, args[1], false) + ").rgb - 0.5, (" +
                            Arg(k, stage, args[2], false) + ").rgb - 0.5) * 4.0, 0.0, 1.0)";
      return alpha ? d : "vec3(" + d + ")";
    }
    case D3DTOP_MULTIPLYADD: return a0 + " + " + a1 + " * " + a2;
    case D3DTOP_LERP: return "mix(" + a2 + ", " + a1 + ", " + a0 + ")";
    default: return a1;  // bump mapping and pre-modulation: the first argument
  }
}

// Whether an operation reads the stage's texture through the arguments it
// uses or through its own blend factor.
bool ReadsTexture(uint8_t op, const uint8_t args[3]) {
  auto texture = [](uint8_t arg) { return (arg & D3DTA_SELECTMASK) == D3DTA_TEXTURE; };
  switch (op) {
    case D3DTOP_DISABLE: return false;
    case D3DTOP_SELECTARG1: return texture(args[1]);
    case D3DTOP_SELECTARG2: return texture(args[2]);
    case D3DTOP_BLENDTEXTUREALPHA:
    case D3DTOP_BLENDTEXTUREALPHAPM: return true;
    case D3DTOP_MULTIPLYADD:
    case D3DTOP_LERP: return texture(args[0]) || texture(args[1]) || texture(args[2]);
    default: return texture(args[1]) || texture(args[2]);
  }
}

bool Modulates(uint8_t op) {
  return op == D3DTOP_MODULATE || op == D3DTOP_MODULATE2X || op == D3DTOP_MODULATE4X;
}

const char* Compare(uint8_t func) {
  switch (func) {
    case D3DCMP_NEVER: return "false";
    case D3DCMP_LESS: return "a < ref";
    case D3DCMP_EQUAL: return "a == ref";
    case D3DCMP_LESSEQUAL: return "a <= ref";
    case D3DCMP_GREATER: return "a > ref";
    case D3DCMP_NOTEQUAL: return "a != ref";
    case D3DCMP_GREATEREQUAL: return "a >= ref";
    default: return "true";
  }
}

}  // namespace

std::string FragmentShaderSource(const PipelineKey& k) {
  std::ostringstream s;
  s << "#version 330 core\n"
       "in vec4 vDiffuse;\nin vec4 vSpecular;\nin float vFogDepth;\n"
       "uniform sampler2D uTex[8];\nuniform vec4 uTFactor;\nuniform vec4 uConst[8];\n"
       "uniform float uAlphaRef;\nuniform vec4 uFog;\nuniform vec4 uFogColor;\n"
       "out vec4 fragColor;\n";
  for (int i = 0; i < k.stageCount; ++i)
    if (k.stages[i].hasTexture) s << "in vec4 vTex" << i << ";\n";
  s << "void main() {\n  vec4 cur = vDiffuse;\n  vec4 tmp = vec4(0.0);\n";
  for (int i = 0; i < k.stageCount; ++i) {
    const StageKey& st = k.stages[i];
    const std::string t = "t" + std::to_string(i);
    if (st.hasTexture) {
      std::string coord = "vTex" + std::to_string(i);
      if (st.projected && st.transformCount >= 2) {
        const char* w = st.transformCount == 2 ? ".y" : st.transformCount == 3 ? ".z" : ".w";
        coord = coord + ".xy / " + coord + w;
      } else {
        coord += ".xy";
      }
      s << "  vec4 " << t << " = texture(uTex[" << i << "], " << coord << ");\n";
    } else {
      s << "  vec4 " << t << " = vec4(1.0);\n";
    }
    // A stage that reads a texture it does not have passes on what it was
    // given (the diffuse colour at the first stage), channel by channel;
    // a modulation by the missing texture multiplies by one, so a factor
    // the stage modulates with (a fade's alpha) still applies.
    const bool colorPasses = !st.hasTexture && ReadsTexture(st.colorOp, st.colorArg) && !Modulates(st.colorOp);
    const bool alphaPasses = !st.hasTexture && ReadsTexture(st.alphaOp, st.alphaArg) && !Modulates(st.alphaOp);
    const std::string target = st.resultTemp ? "tmp" : "cur";
    if (colorPasses)
      s << "  {\n    vec3 rgb = cur.rgb;\n";
    else
      s << "  {\n    vec3 rgb = clamp(" << Op(k, i, st.colorOp, st.colorArg, ".rgb", false) << ", 0.0, 1.0);\n";
    if (st.alphaOp == D3DTOP_DISABLE || alphaPasses)
      s << "    float a = cur.a;\n";
    else
      s << "    float a = clamp(" << Op(k, i, st.alphaOp, st.alphaArg, ".a", true) << ", 0.0, 1.0);\n";
    s << "    " << target << " = vec4(rgb, a);\n  }\n";
  }
  if (k.specularEnable) s << "  cur.rgb = clamp(cur.rgb + vSpecular.rgb, 0.0, 1.0);\n";
  switch (k.fogMode) {
    case 1: s << "  float fog = exp(-uFog.z * vFogDepth);\n"; break;
    case 2: s << "  float fog = exp(-(uFog.z * vFogDepth) * (uFog.z * vFogDepth));\n"; break;
    case 3: s << "  float fog = (uFog.y - vFogDepth) / max(uFog.y - uFog.x, 1e-6);\n"; break;
    case 4: s << "  float fog = vSpecular.a;\n"; break;
    default: break;
  }
  if (k.fogMode) s << "  cur.rgb = mix(uFogColor.rgb, cur.rgb, clamp(fog, 0.0, 1.0));\n";
  if (k.alphaTestFunc)
    s << "  { float a = floor(cur.a * 255.0 + 0.5); float ref = uAlphaRef;\n    if (!(" << Compare(k.alphaTestFunc)
      << ")) discard; }\n";
  s << "  fragColor = cur;\n}\n";
  return s.str();
}

}  // namespace gl
}  // namespace platform
