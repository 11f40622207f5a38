#pragma once
// The graphics device the engine draws with. It keeps the engine's numbers
// for everything a data file or the engine's code stores: render states
// 7..209, sampler states 1..13, texture-stage states 1..32, vertex-format
// bits, texture-format codes, primitive types, blend factors and so on.
//
// Conventions: matrices are row-vector matrices (p x M); clip-space depth is
// 0..1 (converted to the GL range only in the generated vertex shader);
// screen-space (XYZRHW) vertices have pixel centres at integer coordinates;
// colours are packed ARGB words; texture v = 0 is the image's top row.
//
// Objects (device, buffers, textures, sprite) are reference counted: the
// creator holds one reference and gives it back with Release(); the device
// holds its own reference to every bound texture and buffer.
//
// Backends: CreateGraphicsSystem() answers the recording device on the
// headless backend (see platform/HeadlessGraphics.h) and the OpenGL 3.3 core
// device on the SDL window otherwise; CreateOffscreenGraphicsSystem() gives
// the GL device on an EGL surfaceless context (for image tests).
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Math.h"
#include "platform/Rect.h"
#include "platform/Window.h"

namespace platform {

using HRESULT = int32_t;
using DWORD = uint32_t;
using BOOL = int32_t;

constexpr HRESULT D3D_OK = 0;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT D3DERR_DEVICELOST = static_cast<HRESULT>(0x88760868u);
constexpr HRESULT D3DERR_DEVICENOTRESET = static_cast<HRESULT>(0x88760869u);
constexpr HRESULT D3DERR_NOTAVAILABLE = static_cast<HRESULT>(0x8876086Au);
constexpr HRESULT D3DERR_INVALIDCALL = static_cast<HRESULT>(0x8876086Cu);
constexpr HRESULT D3DERR_OUTOFVIDEOMEMORY = static_cast<HRESULT>(0x8876017Cu);
inline bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
inline bool FAILED(HRESULT hr) { return hr < 0; }


// ---- Formats -------------------------------------------------------------
using D3DFORMAT = uint32_t;
constexpr D3DFORMAT D3DFMT_UNKNOWN = 0;
constexpr D3DFORMAT D3DFMT_R8G8B8 = 20;
constexpr D3DFORMAT D3DFMT_A8R8G8B8 = 21;
constexpr D3DFORMAT D3DFMT_X8R8G8B8 = 22;
constexpr D3DFORMAT D3DFMT_R5G6B5 = 23;
constexpr D3DFORMAT D3DFMT_X1R5G5B5 = 24;
constexpr D3DFORMAT D3DFMT_A1R5G5B5 = 25;
constexpr D3DFORMAT D3DFMT_A4R4G4B4 = 26;
constexpr D3DFORMAT D3DFMT_R3G3B2 = 27;
constexpr D3DFORMAT D3DFMT_A8 = 28;
constexpr D3DFORMAT D3DFMT_X4R4G4B4 = 30;
constexpr D3DFORMAT D3DFMT_A8B8G8R8 = 32;
constexpr D3DFORMAT D3DFMT_X8B8G8R8 = 33;
constexpr D3DFORMAT D3DFMT_L8 = 50;
constexpr D3DFORMAT D3DFMT_A8L8 = 51;
constexpr D3DFORMAT D3DFMT_D24S8 = 75;
constexpr D3DFORMAT D3DFMT_D24X8 = 77;
constexpr D3DFORMAT D3DFMT_D16 = 80;
constexpr D3DFORMAT D3DFMT_INDEX16 = 101;
constexpr D3DFORMAT D3DFMT_INDEX32 = 102;
constexpr D3DFORMAT MakeFourCC(char a, char b, char c, char d) {
  return uint32_t(uint8_t(a)) | (uint32_t(uint8_t(b)) << 8) | (uint32_t(uint8_t(c)) << 16) |
         (uint32_t(uint8_t(d)) << 24);
}
constexpr D3DFORMAT D3DFMT_DXT1 = MakeFourCC('D', 'X', 'T', '1');
constexpr D3DFORMAT D3DFMT_DXT3 = MakeFourCC('D', 'X', 'T', '3');
constexpr D3DFORMAT D3DFMT_DXT5 = MakeFourCC('D', 'X', 'T', '5');
// Bytes per pixel of the uncompressed colour formats the layer stores
// (A8R8G8B8, X8R8G8B8, R5G6B5, X1R5G5B5, A1R5G5B5, A4R4G4B4, X4R4G4B4, A8,
// L8, A8L8, R8G8B8); 0 for any other format.
uint32_t FormatBytesPerPixel(D3DFORMAT format);

// ---- Usage, pools, locks -------------------------------------------------
constexpr DWORD D3DUSAGE_RENDERTARGET = 0x1;
constexpr DWORD D3DUSAGE_DEPTHSTENCIL = 0x2;
constexpr DWORD D3DUSAGE_WRITEONLY = 0x8;
constexpr DWORD D3DUSAGE_DYNAMIC = 0x200;
using D3DPOOL = uint32_t;
constexpr D3DPOOL D3DPOOL_DEFAULT = 0;
constexpr D3DPOOL D3DPOOL_MANAGED = 1;
constexpr D3DPOOL D3DPOOL_SYSTEMMEM = 2;
constexpr D3DPOOL D3DPOOL_SCRATCH = 3;
constexpr DWORD D3DLOCK_READONLY = 0x10;
constexpr DWORD D3DLOCK_NOOVERWRITE = 0x1000;
constexpr DWORD D3DLOCK_DISCARD = 0x2000;

// ---- Render states (D3DRENDERSTATETYPE) ----------------------------------
using D3DRENDERSTATETYPE = uint32_t;
constexpr D3DRENDERSTATETYPE D3DRS_ZENABLE = 7, D3DRS_FILLMODE = 8, D3DRS_SHADEMODE = 9,
    D3DRS_ZWRITEENABLE = 14, D3DRS_ALPHATESTENABLE = 15, D3DRS_LASTPIXEL = 16, D3DRS_SRCBLEND = 19,
    D3DRS_DESTBLEND = 20, D3DRS_CULLMODE = 22, D3DRS_ZFUNC = 23, D3DRS_ALPHAREF = 24,
    D3DRS_ALPHAFUNC = 25, D3DRS_DITHERENABLE = 26, D3DRS_ALPHABLENDENABLE = 27, D3DRS_FOGENABLE = 28,
    D3DRS_SPECULARENABLE = 29, D3DRS_FOGCOLOR = 34, D3DRS_FOGTABLEMODE = 35, D3DRS_FOGSTART = 36,
    D3DRS_FOGEND = 37, D3DRS_FOGDENSITY = 38, D3DRS_RANGEFOGENABLE = 48, D3DRS_STENCILENABLE = 52,
    D3DRS_STENCILFAIL = 53, D3DRS_STENCILZFAIL = 54, D3DRS_STENCILPASS = 55, D3DRS_STENCILFUNC = 56,
    D3DRS_STENCILREF = 57, D3DRS_STENCILMASK = 58, D3DRS_STENCILWRITEMASK = 59,
    D3DRS_TEXTUREFACTOR = 60, D3DRS_WRAP0 = 128, D3DRS_WRAP1 = 129, D3DRS_WRAP2 = 130,
    D3DRS_WRAP3 = 131, D3DRS_WRAP4 = 132, D3DRS_WRAP5 = 133, D3DRS_WRAP6 = 134, D3DRS_WRAP7 = 135,
    D3DRS_CLIPPING = 136, D3DRS_LIGHTING = 137, D3DRS_AMBIENT = 139, D3DRS_FOGVERTEXMODE = 140,
    D3DRS_COLORVERTEX = 141, D3DRS_LOCALVIEWER = 142, D3DRS_NORMALIZENORMALS = 143,
    D3DRS_DIFFUSEMATERIALSOURCE = 145, D3DRS_SPECULARMATERIALSOURCE = 146,
    D3DRS_AMBIENTMATERIALSOURCE = 147, D3DRS_EMISSIVEMATERIALSOURCE = 148, D3DRS_VERTEXBLEND = 151,
    D3DRS_CLIPPLANEENABLE = 152, D3DRS_POINTSIZE = 154, D3DRS_POINTSIZE_MIN = 155,
    D3DRS_POINTSPRITEENABLE = 156, D3DRS_POINTSCALEENABLE = 157, D3DRS_POINTSCALE_A = 158,
    D3DRS_POINTSCALE_B = 159, D3DRS_POINTSCALE_C = 160, D3DRS_MULTISAMPLEANTIALIAS = 161,
    D3DRS_MULTISAMPLEMASK = 162, D3DRS_PATCHEDGESTYLE = 163, D3DRS_DEBUGMONITORTOKEN = 165,
    D3DRS_POINTSIZE_MAX = 166, D3DRS_INDEXEDVERTEXBLENDENABLE = 167, D3DRS_COLORWRITEENABLE = 168,
    D3DRS_TWEENFACTOR = 170, D3DRS_BLENDOP = 171, D3DRS_POSITIONDEGREE = 172,
    D3DRS_NORMALDEGREE = 173, D3DRS_SCISSORTESTENABLE = 174, D3DRS_SLOPESCALEDEPTHBIAS = 175,
    D3DRS_ANTIALIASEDLINEENABLE = 176, D3DRS_MINTESSELLATIONLEVEL = 178,
    D3DRS_MAXTESSELLATIONLEVEL = 179, D3DRS_ADAPTIVETESS_X = 180, D3DRS_ADAPTIVETESS_Y = 181,
    D3DRS_ADAPTIVETESS_Z = 182, D3DRS_ADAPTIVETESS_W = 183, D3DRS_ENABLEADAPTIVETESSELLATION = 184,
    D3DRS_TWOSIDEDSTENCILMODE = 185, D3DRS_CCW_STENCILFAIL = 186, D3DRS_CCW_STENCILZFAIL = 187,
    D3DRS_CCW_STENCILPASS = 188, D3DRS_CCW_STENCILFUNC = 189, D3DRS_COLORWRITEENABLE1 = 190,
    D3DRS_COLORWRITEENABLE2 = 191, D3DRS_COLORWRITEENABLE3 = 192, D3DRS_BLENDFACTOR = 193,
    D3DRS_SRGBWRITEENABLE = 194, D3DRS_DEPTHBIAS = 195, D3DRS_WRAP8 = 198, D3DRS_WRAP9 = 199,
    D3DRS_WRAP10 = 200, D3DRS_WRAP11 = 201, D3DRS_WRAP12 = 202, D3DRS_WRAP13 = 203,
    D3DRS_WRAP14 = 204, D3DRS_WRAP15 = 205, D3DRS_SEPARATEALPHABLENDENABLE = 206,
    D3DRS_SRCBLENDALPHA = 207, D3DRS_DESTBLENDALPHA = 208, D3DRS_BLENDOPALPHA = 209;
constexpr uint32_t RENDER_STATE_COUNT = 210;  // numbers 0..209

// ---- Sampler states (D3DSAMPLERSTATETYPE) --------------------------------
using D3DSAMPLERSTATETYPE = uint32_t;
constexpr D3DSAMPLERSTATETYPE D3DSAMP_ADDRESSU = 1, D3DSAMP_ADDRESSV = 2, D3DSAMP_ADDRESSW = 3,
    D3DSAMP_BORDERCOLOR = 4, D3DSAMP_MAGFILTER = 5, D3DSAMP_MINFILTER = 6, D3DSAMP_MIPFILTER = 7,
    D3DSAMP_MIPMAPLODBIAS = 8, D3DSAMP_MAXMIPLEVEL = 9, D3DSAMP_MAXANISOTROPY = 10,
    D3DSAMP_SRGBTEXTURE = 11, D3DSAMP_ELEMENTINDEX = 12, D3DSAMP_DMAPOFFSET = 13;
constexpr uint32_t SAMPLER_STATE_COUNT = 14;  // numbers 0..13

// ---- Texture-stage states (D3DTEXTURESTAGESTATETYPE) ---------------------
using D3DTEXTURESTAGESTATETYPE = uint32_t;
constexpr D3DTEXTURESTAGESTATETYPE D3DTSS_COLOROP = 1, D3DTSS_COLORARG1 = 2, D3DTSS_COLORARG2 = 3,
    D3DTSS_ALPHAOP = 4, D3DTSS_ALPHAARG1 = 5, D3DTSS_ALPHAARG2 = 6, D3DTSS_BUMPENVMAT00 = 7,
    D3DTSS_BUMPENVMAT01 = 8, D3DTSS_BUMPENVMAT10 = 9, D3DTSS_BUMPENVMAT11 = 10,
    D3DTSS_TEXCOORDINDEX = 11, D3DTSS_BUMPENVLSCALE = 22, D3DTSS_BUMPENVLOFFSET = 23,
    D3DTSS_TEXTURETRANSFORMFLAGS = 24, D3DTSS_COLORARG0 = 26, D3DTSS_ALPHAARG0 = 27,
    D3DTSS_RESULTARG = 28, D3DTSS_CONSTANT = 32;
constexpr uint32_t STAGE_STATE_COUNT = 33;  // numbers 0..32
constexpr uint32_t MAX_TEXTURE_STAGES = 8;
// Texture-coordinate generation, in the high word of TEXCOORDINDEX.
constexpr DWORD D3DTSS_TCI_PASSTHRU = 0x00000, D3DTSS_TCI_CAMERASPACENORMAL = 0x10000,
    D3DTSS_TCI_CAMERASPACEPOSITION = 0x20000, D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR = 0x30000,
    D3DTSS_TCI_SPHEREMAP = 0x40000;
// TEXTURETRANSFORMFLAGS.
constexpr DWORD D3DTTFF_DISABLE = 0, D3DTTFF_COUNT1 = 1, D3DTTFF_COUNT2 = 2, D3DTTFF_COUNT3 = 3,
    D3DTTFF_COUNT4 = 4, D3DTTFF_PROJECTED = 256;

// Stage operations (D3DTEXTUREOP).
constexpr DWORD D3DTOP_DISABLE = 1, D3DTOP_SELECTARG1 = 2, D3DTOP_SELECTARG2 = 3,
    D3DTOP_MODULATE = 4, D3DTOP_MODULATE2X = 5, D3DTOP_MODULATE4X = 6, D3DTOP_ADD = 7,
    D3DTOP_ADDSIGNED = 8, D3DTOP_ADDSIGNED2X = 9, D3DTOP_SUBTRACT = 10, D3DTOP_ADDSMOOTH = 11,
    D3DTOP_BLENDDIFFUSEALPHA = 12, D3DTOP_BLENDTEXTUREALPHA = 13, D3DTOP_BLENDFACTORALPHA = 14,
    D3DTOP_BLENDTEXTUREALPHAPM = 15, D3DTOP_BLENDCURRENTALPHA = 16, D3DTOP_PREMODULATE = 17,
    D3DTOP_DOTPRODUCT3 = 24, D3DTOP_MULTIPLYADD = 25, D3DTOP_LERP = 26;
// Stage arguments (D3DTA_*).
constexpr DWORD D3DTA_SELECTMASK = 0x0F, D3DTA_DIFFUSE = 0, D3DTA_CURRENT = 1, D3DTA_TEXTURE = 2,
    D3DTA_TFACTOR = 3, D3DTA_SPECULAR = 4, D3DTA_TEMP = 5, D3DTA_CONSTANT = 6,
    D3DTA_COMPLEMENT = 0x10, D3DTA_ALPHAREPLICATE = 0x20;

// Blend factors, blend operations, comparisons, culling, fog, material sources.
constexpr DWORD D3DBLEND_ZERO = 1, D3DBLEND_ONE = 2, D3DBLEND_SRCCOLOR = 3,
    D3DBLEND_INVSRCCOLOR = 4, D3DBLEND_SRCALPHA = 5, D3DBLEND_INVSRCALPHA = 6,
    D3DBLEND_DESTALPHA = 7, D3DBLEND_INVDESTALPHA = 8, D3DBLEND_DESTCOLOR = 9,
    D3DBLEND_INVDESTCOLOR = 10, D3DBLEND_SRCALPHASAT = 11, D3DBLEND_BOTHSRCALPHA = 12,
    D3DBLEND_BOTHINVSRCALPHA = 13, D3DBLEND_BLENDFACTOR = 14, D3DBLEND_INVBLENDFACTOR = 15;
constexpr DWORD D3DBLENDOP_ADD = 1, D3DBLENDOP_SUBTRACT = 2, D3DBLENDOP_REVSUBTRACT = 3,
    D3DBLENDOP_MIN = 4, D3DBLENDOP_MAX = 5;
constexpr DWORD D3DCMP_NEVER = 1, D3DCMP_LESS = 2, D3DCMP_EQUAL = 3, D3DCMP_LESSEQUAL = 4,
    D3DCMP_GREATER = 5, D3DCMP_NOTEQUAL = 6, D3DCMP_GREATEREQUAL = 7, D3DCMP_ALWAYS = 8;
constexpr DWORD D3DCULL_NONE = 1, D3DCULL_CW = 2, D3DCULL_CCW = 3;
constexpr DWORD D3DFILL_POINT = 1, D3DFILL_WIREFRAME = 2, D3DFILL_SOLID = 3;
constexpr DWORD D3DFOG_NONE = 0, D3DFOG_EXP = 1, D3DFOG_EXP2 = 2, D3DFOG_LINEAR = 3;
constexpr DWORD D3DMCS_MATERIAL = 0, D3DMCS_COLOR1 = 1, D3DMCS_COLOR2 = 2;
constexpr DWORD D3DZB_FALSE = 0, D3DZB_TRUE = 1;
constexpr DWORD D3DTEXF_NONE = 0, D3DTEXF_POINT = 1, D3DTEXF_LINEAR = 2, D3DTEXF_ANISOTROPIC = 3;
constexpr DWORD D3DTADDRESS_WRAP = 1, D3DTADDRESS_MIRROR = 2, D3DTADDRESS_CLAMP = 3,
    D3DTADDRESS_BORDER = 4, D3DTADDRESS_MIRRORONCE = 5;

// Float states carry the float's bits.
inline DWORD FloatToDword(float f) {
  DWORD d;
  static_assert(sizeof d == sizeof f, "float size");
  __builtin_memcpy(&d, &f, sizeof d);
  return d;
}
inline float DwordToFloat(DWORD d) {
  float f;
  __builtin_memcpy(&f, &d, sizeof f);
  return f;
}

// ---- Transforms ----------------------------------------------------------
using D3DTRANSFORMSTATETYPE = uint32_t;
constexpr D3DTRANSFORMSTATETYPE D3DTS_VIEW = 2, D3DTS_PROJECTION = 3, D3DTS_TEXTURE0 = 16,
    D3DTS_TEXTURE1 = 17, D3DTS_WORLD = 256;
constexpr D3DTRANSFORMSTATETYPE D3DTS_WORLDMATRIX(uint32_t index) { return 256 + index; }

// ---- Vertex formats (FVF bits) -------------------------------------------
constexpr DWORD D3DFVF_XYZ = 0x002, D3DFVF_XYZRHW = 0x004, D3DFVF_XYZB1 = 0x006,
    D3DFVF_XYZB2 = 0x008, D3DFVF_XYZB3 = 0x00A, D3DFVF_XYZB4 = 0x00C, D3DFVF_XYZB5 = 0x00E,
    D3DFVF_XYZW = 0x4002, D3DFVF_POSITION_MASK = 0x400E, D3DFVF_NORMAL = 0x010,
    D3DFVF_PSIZE = 0x020, D3DFVF_DIFFUSE = 0x040, D3DFVF_SPECULAR = 0x080,
    D3DFVF_TEXCOUNT_MASK = 0xF00, D3DFVF_TEXCOUNT_SHIFT = 8, D3DFVF_TEX0 = 0x000,
    D3DFVF_TEX1 = 0x100, D3DFVF_TEX2 = 0x200, D3DFVF_TEX3 = 0x300, D3DFVF_TEX4 = 0x400,
    D3DFVF_TEX5 = 0x500, D3DFVF_TEX6 = 0x600, D3DFVF_TEX7 = 0x700, D3DFVF_TEX8 = 0x800,
    D3DFVF_LASTBETA_UBYTE4 = 0x1000, D3DFVF_LASTBETA_D3DCOLOR = 0x8000;
// Size bits of texture-coordinate set i (2 floats when clear).
constexpr DWORD D3DFVF_TEXCOORDSIZE1(int i) { return 3u << (i * 2 + 16); }
constexpr DWORD D3DFVF_TEXCOORDSIZE2(int i) { return 0u; }
constexpr DWORD D3DFVF_TEXCOORDSIZE3(int i) { return 1u << (i * 2 + 16); }
constexpr DWORD D3DFVF_TEXCOORDSIZE4(int i) { return 2u << (i * 2 + 16); }

// Where each part of a vertex lies (byte offsets, -1 when absent).
struct VertexLayout {
  uint32_t stride = 0;
  int position = -1;     // 3 floats (or 4 with XYZRHW / XYZW)
  int positionFloats = 0;
  int blendWeights = -1;  // floats after the position
  int blendCount = 0;
  int normal = -1;
  int pointSize = -1;
  int diffuse = -1;   // packed ARGB
  int specular = -1;  // packed ARGB
  int texCount = 0;
  int texCoord[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
  int texFloats[8] = {0, 0, 0, 0, 0, 0, 0, 0};
  bool screenSpace = false;  // XYZRHW: already transformed
};
// Layout of a vertex format; stride 0 for a format without a position.
VertexLayout DescribeFVF(DWORD fvf);
// Size of one vertex of the format, in bytes (0 for an invalid format).
uint32_t GetFVFVertexSize(DWORD fvf);

// ---- Primitives, clearing ------------------------------------------------
using D3DPRIMITIVETYPE = uint32_t;
constexpr D3DPRIMITIVETYPE D3DPT_POINTLIST = 1, D3DPT_LINELIST = 2, D3DPT_LINESTRIP = 3,
    D3DPT_TRIANGLELIST = 4, D3DPT_TRIANGLESTRIP = 5, D3DPT_TRIANGLEFAN = 6;
// Vertices (or indices) used by count primitives of a type.
uint32_t PrimitiveVertexCount(D3DPRIMITIVETYPE type, uint32_t primitiveCount);
constexpr DWORD D3DCLEAR_TARGET = 1, D3DCLEAR_ZBUFFER = 2, D3DCLEAR_STENCIL = 4;

// ---- Records -------------------------------------------------------------
using D3DLIGHTTYPE = uint32_t;
constexpr D3DLIGHTTYPE D3DLIGHT_POINT = 1, D3DLIGHT_SPOT = 2, D3DLIGHT_DIRECTIONAL = 3;
constexpr uint32_t MAX_ACTIVE_LIGHTS = 8;

struct D3DLIGHT9 {
  D3DLIGHTTYPE Type = D3DLIGHT_DIRECTIONAL;
  D3DCOLORVALUE Diffuse, Specular, Ambient;
  ::D3DVECTOR Position, Direction;
  float Range = 0, Falloff = 0, Attenuation0 = 0, Attenuation1 = 0, Attenuation2 = 0, Theta = 0,
        Phi = 0;
};

struct D3DMATERIAL9 {
  D3DCOLORVALUE Diffuse, Ambient, Specular, Emissive;
  float Power = 0;
};

struct D3DVIEWPORT9 {
  DWORD X = 0, Y = 0, Width = 0, Height = 0;
  float MinZ = 0, MaxZ = 1;
};

struct D3DGAMMARAMP {
  uint16_t red[256], green[256], blue[256];
};
constexpr DWORD D3DSGR_NO_CALIBRATION = 0;

using D3DRESOURCETYPE = uint32_t;
constexpr D3DRESOURCETYPE D3DRTYPE_SURFACE = 1, D3DRTYPE_TEXTURE = 3;

struct D3DSURFACE_DESC {
  D3DFORMAT Format = 0;
  D3DRESOURCETYPE Type = 0;
  DWORD Usage = 0;
  D3DPOOL Pool = 0;
  uint32_t MultiSampleType = 0;
  DWORD MultiSampleQuality = 0;
  uint32_t Width = 0, Height = 0;
};

struct D3DLOCKED_RECT {
  int32_t Pitch = 0;
  void* pBits = nullptr;
};

struct D3DDISPLAYMODE {
  uint32_t Width = 0, Height = 0, RefreshRate = 0;
  D3DFORMAT Format = 0;
};

constexpr DWORD D3DSWAPEFFECT_DISCARD = 1;
constexpr DWORD D3DPRESENT_INTERVAL_DEFAULT = 0;
constexpr DWORD D3DPRESENT_INTERVAL_IMMEDIATE = 0x80000000u;
constexpr DWORD D3DCREATE_SOFTWARE_VERTEXPROCESSING = 0x20;
constexpr DWORD D3DCREATE_HARDWARE_VERTEXPROCESSING = 0x40;
constexpr DWORD D3DDEVCAPS_HWTRANSFORMANDLIGHT = 0x10000;

struct D3DPRESENT_PARAMETERS {
  uint32_t BackBufferWidth = 0, BackBufferHeight = 0;
  D3DFORMAT BackBufferFormat = 0;
  uint32_t BackBufferCount = 0;
  uint32_t MultiSampleType = 0;
  DWORD MultiSampleQuality = 0;
  DWORD SwapEffect = 0;
  HWND hDeviceWindow = nullptr;
  BOOL Windowed = 0;
  BOOL EnableAutoDepthStencil = 0;
  D3DFORMAT AutoDepthStencilFormat = 0;
  DWORD Flags = 0;
  uint32_t FullScreen_RefreshRateInHz = 0;
  DWORD PresentationInterval = 0;
};

struct D3DCAPS9 {
  DWORD DevCaps = 0;
  uint32_t MaxActiveLights = 0;
  uint32_t MaxTextureWidth = 0, MaxTextureHeight = 0;
  uint32_t MaxSimultaneousTextures = 0;
};

// ---- Objects -------------------------------------------------------------
class IUnknownObject {
 public:
  IUnknownObject() = default;
  IUnknownObject(const IUnknownObject&) = delete;
  IUnknownObject& operator=(const IUnknownObject&) = delete;
  uint32_t AddRef() { return ++m_References; }
  // Gives back one reference; the object is deleted with the last one.
  uint32_t Release();

 protected:
  virtual ~IUnknownObject() = default;

 private:
  uint32_t m_References = 1;
};

class IVertexBuffer : public IUnknownObject {
 public:
  // offset and size in bytes; size 0 locks to the end.
  virtual HRESULT Lock(uint32_t offset, uint32_t size, void** data, DWORD flags) = 0;
  virtual HRESULT Unlock() = 0;
  virtual uint32_t GetLength() const = 0;
  virtual DWORD GetFVF() const = 0;
  virtual DWORD GetUsage() const = 0;
  virtual D3DPOOL GetPool() const = 0;
};

class IIndexBuffer : public IUnknownObject {
 public:
  virtual HRESULT Lock(uint32_t offset, uint32_t size, void** data, DWORD flags) = 0;
  virtual HRESULT Unlock() = 0;
  virtual uint32_t GetLength() const = 0;
  virtual D3DFORMAT GetFormat() const = 0;  // D3DFMT_INDEX16 or D3DFMT_INDEX32
};

class ITexture : public IUnknownObject {
 public:
  virtual uint32_t GetLevelCount() const = 0;
  virtual HRESULT GetLevelDesc(uint32_t level, D3DSURFACE_DESC* desc) const = 0;
  // rect null: the whole level. The bits are in the texture's format, rows
  // top to bottom, Pitch bytes apart.
  virtual HRESULT LockRect(uint32_t level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) = 0;
  virtual HRESULT UnlockRect(uint32_t level) = 0;
};

// What the device asked of the driver during one frame (from one Present to
// the next): draw calls, and the programs, textures and buffers it bound.
// Buffer uploads count the buffers whose bytes were sent again.
struct DeviceFrameCounters {
  uint32_t draws = 0;
  uint32_t programBinds = 0;
  uint32_t textureBinds = 0;
  uint32_t bufferBinds = 0;
  uint32_t bufferUploads = 0;
};

class IDevice : public IUnknownObject {
 public:
  // D3D_OK, D3DERR_DEVICELOST or D3DERR_DEVICENOTRESET.
  virtual HRESULT TestCooperativeLevel() = 0;
  // Default-pool buffers must be released before; every state goes back
  // to its default.
  virtual HRESULT Reset(D3DPRESENT_PARAMETERS* params) = 0;

  virtual HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) = 0;
  virtual HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) = 0;
  virtual HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) = 0;
  virtual HRESULT GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) = 0;
  virtual HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) = 0;
  virtual HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) = 0;

  virtual HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DXMATRIX* matrix) = 0;
  virtual HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DXMATRIX* matrix) = 0;
  virtual HRESULT SetLight(DWORD index, const D3DLIGHT9* light) = 0;
  virtual HRESULT GetLight(DWORD index, D3DLIGHT9* light) = 0;
  virtual HRESULT LightEnable(DWORD index, BOOL enable) = 0;
  virtual HRESULT GetLightEnable(DWORD index, BOOL* enable) = 0;
  virtual HRESULT SetMaterial(const D3DMATERIAL9* material) = 0;
  virtual HRESULT GetMaterial(D3DMATERIAL9* material) = 0;
  virtual HRESULT SetViewport(const D3DVIEWPORT9* viewport) = 0;
  virtual HRESULT GetViewport(D3DVIEWPORT9* viewport) = 0;

  virtual HRESULT CreateTexture(uint32_t width, uint32_t height, uint32_t levels, DWORD usage,
                                D3DFORMAT format, D3DPOOL pool, ITexture** texture) = 0;
  virtual HRESULT CreateVertexBuffer(uint32_t length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                     IVertexBuffer** buffer) = 0;
  virtual HRESULT CreateIndexBuffer(uint32_t length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                    IIndexBuffer** buffer) = 0;

  // Null unbinds the stage.
  virtual HRESULT SetTexture(DWORD stage, ITexture* texture) = 0;
  // The texture bound to a stage, with a reference added (null when none).
  virtual HRESULT GetTexture(DWORD stage, ITexture** texture) = 0;
  virtual HRESULT SetFVF(DWORD fvf) = 0;
  virtual HRESULT SetStreamSource(uint32_t stream, IVertexBuffer* buffer, uint32_t offset,
                                  uint32_t stride) = 0;
  virtual HRESULT SetIndices(IIndexBuffer* buffer) = 0;

  virtual HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, uint32_t startVertex, uint32_t primitiveCount) = 0;
  virtual HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, int32_t baseVertex, uint32_t minIndex,
                                       uint32_t vertexCount, uint32_t startIndex,
                                       uint32_t primitiveCount) = 0;
  virtual HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* vertices,
                                  uint32_t stride) = 0;
  virtual HRESULT DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t minIndex, uint32_t vertexCount,
                                         uint32_t primitiveCount, const void* indices, D3DFORMAT indexFormat,
                                         const void* vertices, uint32_t stride) = 0;

  // rects: null clears the whole viewport.
  virtual HRESULT Clear(DWORD count, const RECT* rects, DWORD flags, D3DCOLOR color, float z,
                        DWORD stencil) = 0;
  virtual HRESULT BeginScene() = 0;
  virtual HRESULT EndScene() = 0;
  // Shows the back buffer; the gamma ramp is applied here.
  virtual HRESULT Present() = 0;
  virtual void SetGammaRamp(uint32_t swapChain, DWORD flags, const D3DGAMMARAMP* ramp) = 0;
  virtual void GetGammaRamp(uint32_t swapChain, D3DGAMMARAMP* ramp) = 0;

  // Reads the back buffer as packed ARGB words, rows top to bottom (for
  // tests and screenshots). False when the backend has no pixels.
  virtual bool ReadBackBuffer(std::vector<uint32_t>& argb, uint32_t* width, uint32_t* height) = 0;
  // The counters of the frame that the last Present ended; all zero on a
  // device that does not count.
  virtual DeviceFrameCounters GetFrameCounters() const { return DeviceFrameCounters(); }
};

// The adapter and the device factory (one adapter, number 0).
class IGraphicsSystem : public IUnknownObject {
 public:
  virtual HRESULT GetDeviceCaps(D3DCAPS9* caps) = 0;
  virtual HRESULT GetAdapterDisplayMode(D3DDISPLAYMODE* mode) = 0;
  virtual uint32_t GetAdapterModeCount(D3DFORMAT format) = 0;
  virtual HRESULT EnumAdapterModes(D3DFORMAT format, uint32_t index, D3DDISPLAYMODE* mode) = 0;
  // window: the window the device shows in (may be null offscreen).
  virtual HRESULT CreateDevice(HWND window, DWORD behaviour, D3DPRESENT_PARAMETERS* params,
                               IDevice** device) = 0;
};

// The system of the current backend; null when it cannot be made.
IGraphicsSystem* CreateGraphicsSystem();
// The GL device without a window (EGL surfaceless). Present draws on an
// off-screen "screen" of screenWidth x screenHeight (0: the back buffer's
// size), scaled to fit with black bars like a full-screen window.
// Null, with the reason in *why, when no GL 3.3 core context can be made.
IGraphicsSystem* CreateOffscreenGraphicsSystem(std::string* why = nullptr, uint32_t screenWidth = 0,
                                               uint32_t screenHeight = 0);
// What the last Present showed on an off-screen GL device (after scaling and
// the gamma ramp), rows top to bottom; false for other devices.
bool ReadPresentedImage(IDevice* device, std::vector<uint32_t>& argb, uint32_t* width, uint32_t* height);

// ---- Textures from files and the sprite ----------------------------------
constexpr DWORD D3DX_DEFAULT = 0xFFFFFFFFu;
constexpr DWORD D3DX_DEFAULT_NONPOW2 = 0xFFFFFFFEu;
constexpr DWORD D3DX_FILTER_NONE = 1, D3DX_FILTER_POINT = 2, D3DX_FILTER_LINEAR = 3,
    D3DX_FILTER_TRIANGLE = 4, D3DX_FILTER_BOX = 5;

// Loads an image file (PNG, JPEG, TGA; the name goes through the path
// resolver) into a new texture. width / height D3DX_DEFAULT: the file's
// size rounded up to powers of two, the image stretched to fit;
// D3DX_DEFAULT_NONPOW2 keeps the file's size. mipLevels 0 or D3DX_DEFAULT:
// a full chain. format D3DFMT_UNKNOWN: the file's pixel layout. A non-zero
// colour key turns texels of that ARGB colour transparent black.
HRESULT CreateTextureFromFileEx(IDevice* device, const std::string& path, uint32_t width, uint32_t height,
                                uint32_t mipLevels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                DWORD filter, DWORD mipFilter, D3DCOLOR colorKey, ITexture** texture);

constexpr DWORD D3DXSPRITE_ALPHABLEND = 0x10;

// The 2D sprite batcher: textured rectangles in screen pixels.
class ISprite : public IUnknownObject {
 public:
  virtual HRESULT Begin(DWORD flags) = 0;
  // src null: the whole texture. center: the point of the source rectangle
  // placed at position (both may be null). The transform set by
  // SetTransform applies to the placed rectangle.
  virtual HRESULT Draw(ITexture* texture, const RECT* src, const D3DXVECTOR3* center,
                       const D3DXVECTOR3* position, D3DCOLOR color) = 0;
  virtual HRESULT SetTransform(const D3DXMATRIX* transform) = 0;
  virtual HRESULT Flush() = 0;
  virtual HRESULT End() = 0;
  virtual HRESULT OnLostDevice() = 0;
  virtual HRESULT OnResetDevice() = 0;
};
HRESULT CreateSprite(IDevice* device, ISprite** sprite);

}  // namespace platform
