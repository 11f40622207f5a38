// The GL device on an off-screen context, read back and probed pixel by pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <string>
#include <vector>

#include "platform/Graphics.h"
#include "platform/Image.h"
#include "support/OffscreenDeviceTest.h"

using namespace platform;

namespace {

struct ScreenVertex {
  float x, y, z, rhw;
  D3DCOLOR color;
  float u, v;
};
constexpr DWORD kScreenFVF = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

struct LitVertex {
  float x, y, z;
  float nx, ny, nz;
};
constexpr DWORD kLitFVF = D3DFVF_XYZ | D3DFVF_NORMAL;
// A quad from (-1, -1) to (1, 1) at z = 0 facing +z, as a strip.
constexpr LitVertex kUnitQuad[4] = {{-1, -1, 0, 0, 0, 1}, {-1, 1, 0, 0, 0, 1}, {1, -1, 0, 0, 0, 1}, {1, 1, 0, 0, 0, 1}};

// The corners of a square of `size` at (left, top) in screen space, as a strip.
void FillSquare(ScreenVertex* v, float left, float top, float size, D3DCOLOR c, bool textured = false) {
  const float t = textured ? 1.0f : 0.0f;
  v[0] = {left, top, 0.5f, 1, c, 0, 0};
  v[1] = {left + size, top, 0.5f, 1, c, t, 0};
  v[2] = {left, top + size, 0.5f, 1, c, 0, t};
  v[3] = {left + size, top + size, 0.5f, 1, c, t, t};
}

D3DLIGHT9 WhiteLight(D3DLIGHTTYPE type) {
  D3DLIGHT9 light;
  light.Type = type;
  light.Diffuse = D3DCOLORVALUE{1, 1, 1, 1};
  return light;
}

class GlRenderTest : public testsupport::OffscreenDeviceTest {
 protected:
  void DrawScreenQuad(float left, float top, float right, float bottom, D3DCOLOR color) {
    // Pixel centres lie at integer coordinates: edges at -0.5 cover whole pixels.
    const ScreenVertex v[4] = {{left - 0.5f, top - 0.5f, 0.5f, 1, color, 0, 0},
                               {right - 0.5f, top - 0.5f, 0.5f, 1, color, 1, 0},
                               {left - 0.5f, bottom - 0.5f, 0.5f, 1, color, 0, 1},
                               {right - 0.5f, bottom - 0.5f, 0.5f, 1, color, 1, 1}};
    m_Device->SetFVF(kScreenFVF);
    ASSERT_EQ(m_Device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof(ScreenVertex)), D3D_OK);
  }

  ITexture* MakeTexture(uint32_t w, uint32_t h, const std::vector<uint32_t>& argb) {
    ITexture* t = nullptr;
    EXPECT_EQ(m_Device->CreateTexture(w, h, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t), D3D_OK);
    D3DLOCKED_RECT locked;
    EXPECT_EQ(t->LockRect(0, &locked, nullptr, 0), D3D_OK);
    for (uint32_t y = 0; y < h; ++y)
      std::memcpy(static_cast<uint8_t*>(locked.pBits) + size_t(y) * locked.Pitch, &argb[size_t(y) * w], w * 4);
    t->UnlockRect(0);
    return t;
  }

  // A managed vertex buffer holding the screen-space vertices, the device's
  // vertex format set to theirs; null when it could not be made.
  IVertexBuffer* MakeScreenBuffer(const std::vector<ScreenVertex>& vertices) {
    IVertexBuffer* vb = nullptr;
    const uint32_t bytes = uint32_t(vertices.size() * sizeof(ScreenVertex));
    if (m_Device->CreateVertexBuffer(bytes, 0, kScreenFVF, D3DPOOL_MANAGED, &vb) != D3D_OK) return nullptr;
    void* at = nullptr;
    if (vb->Lock(0, 0, &at, 0) != D3D_OK) {
      vb->Release();
      return nullptr;
    }
    std::memcpy(at, vertices.data(), bytes);
    vb->Unlock();
    m_Device->SetFVF(kScreenFVF);
    return vb;
  }

  void DrawLit(D3DPRIMITIVETYPE type, uint32_t count, const LitVertex* v) {
    m_Device->SetFVF(kLitFVF);
    ASSERT_EQ(m_Device->DrawPrimitiveUP(type, count, v, sizeof(LitVertex)), D3D_OK);
  }
  void Flat() {
    m_Device->SetRenderState(D3DRS_LIGHTING, 0);
    m_Device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  }
  void ColourStage(DWORD stage, DWORD op, DWORD arg1, DWORD arg2) {
    m_Device->SetTextureStageState(stage, D3DTSS_COLOROP, op);
    m_Device->SetTextureStageState(stage, D3DTSS_COLORARG1, arg1);
    m_Device->SetTextureStageState(stage, D3DTSS_COLORARG2, arg2);
  }
  void Blend(DWORD src, DWORD dest) {
    m_Device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    m_Device->SetRenderState(D3DRS_SRCBLEND, src);
    m_Device->SetRenderState(D3DRS_DESTBLEND, dest);
  }
  struct Probe {
    int x, y;
    uint32_t colour;
    int tolerance = 6;
  };
  void ExpectPixels(std::initializer_list<Probe> probes) {
    for (const Probe& p : probes) EXPECT_TRUE(Near(At(p.x, p.y), p.colour, p.tolerance)) << p.x << "," << p.y;
  }

  // A 4 x 4 quad at z = 0 facing the camera, split into n x n cells so
  // per-vertex light shows, as a triangle list.
  static std::vector<LitVertex> Grid(int n) {
    std::vector<LitVertex> grid;
    for (int j = 0; j < n; ++j)
      for (int i = 0; i < n; ++i) {
        const float x0 = -2 + 4.0f * i / n, x1 = -2 + 4.0f * (i + 1) / n;
        const float y0 = -2 + 4.0f * j / n, y1 = -2 + 4.0f * (j + 1) / n;
        const LitVertex q[6] = {{x0, y0, 0, 0, 0, 1}, {x0, y1, 0, 0, 0, 1}, {x1, y0, 0, 0, 0, 1},
                                {x1, y0, 0, 0, 0, 1}, {x0, y1, 0, 0, 0, 1}, {x1, y1, 0, 0, 0, 1}};
        grid.insert(grid.end(), q, q + 6);
      }
    return grid;
  }

  // The camera, a white material, no culling, and the grid to light.
  std::vector<LitVertex> WhiteGridBeforeTheCamera(int n) {
    SetCamera();
    D3DMATERIAL9 material;
    material.Diffuse = D3DCOLORVALUE{1, 1, 1, 1};
    m_Device->SetMaterial(&material);
    m_Device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    return Grid(n);
  }

  void SetCamera() {
    D3DXMATRIX view, proj, world;
    D3DXVECTOR3 eye(0, 0, 5), at(0, 0, 0), up(0, 1, 0);
    D3DXMatrixLookAtRH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovRH(&proj, D3DX_PI / 4, 800.0f / 600.0f, 1.0f, 100.0f);
    D3DXMatrixIdentity(&world);
    m_Device->SetTransform(D3DTS_VIEW, &view);
    m_Device->SetTransform(D3DTS_PROJECTION, &proj);
    m_Device->SetTransform(D3DTS_WORLD, &world);
  }
};

TEST_F(GlRenderTest, TexturedQuadModulatedByVertexColourThenBlendedQuadOverIt) {
  // Top row red, green; bottom row blue, white.
  ITexture* texture = MakeTexture(2, 2, {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu});
  Flat();
  m_Device->SetTexture(0, texture);
  ColourStage(0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
  ASSERT_EQ(m_Device->BeginScene(), D3D_OK);
  DrawScreenQuad(100, 100, 300, 300, 0xFF808080u);

  // Half-transparent blue over the bottom-right quarter and the background.
  m_Device->SetTexture(0, nullptr);
  Blend(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
  m_Device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
  m_Device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
  DrawScreenQuad(250, 250, 400, 400, 0x800000FFu);
  ASSERT_EQ(m_Device->EndScene(), D3D_OK);
  Capture("textured_and_blended_quads");

  // The image's top row is at the top of the quad, each texel modulated by grey.
  ExpectPixels({{150, 150, 0xFF800000u}, {250, 150, 0xFF008000u}, {150, 240, 0xFF000080u},
                {240, 240, 0xFF808080u}});
  // Whole pixels: 100..299 are covered, 99 and 300 are not.
  ExpectPixels({{99, 150, 0xFF000000u, 0}, {100, 150, 0xFF800000u}, {150, 99, 0xFF000000u, 0},
                {150, 100, 0xFF800000u}, {299, 150, 0xFF008000u}, {150, 300, 0xFF000000u, 0}});
  // Blended: half of blue plus half of what was there.
  ExpectPixels({{275, 275, 0xFF4040BFu}, {350, 350, 0xFF000080u}});
  texture->Release();
}

TEST_F(GlRenderTest, GreyQuadLitByADirectionalLight) {
  SetCamera();
  D3DMATERIAL9 material;
  material.Diffuse = D3DCOLORVALUE{0.5f, 0.5f, 0.5f, 1.0f};
  m_Device->SetMaterial(&material);
  D3DLIGHT9 light = WhiteLight(D3DLIGHT_DIRECTIONAL);
  light.Direction = D3DVECTOR(0, 0, -1);  // straight onto the quad
  m_Device->SetLight(0, &light);
  m_Device->LightEnable(0, 1);
  m_Device->SetRenderState(D3DRS_LIGHTING, 1);
  m_Device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  const LitVertex* quad = kUnitQuad;
  DrawLit(D3DPT_TRIANGLESTRIP, 2, quad);
  Capture("lit_quad_head_on");
  // Centred on the screen, diffuse x N.L = 0.5.
  ExpectPixels({{400, 300, 0xFF808080u}, {20, 20, 0xFF000000u, 0}});

  // The light tilted by 60 degrees: N.L = 0.5, so a quarter of white. Ambient adds.
  light.Direction = D3DVECTOR(0, std::sin(D3DX_PI / 3), -std::cos(D3DX_PI / 3));
  m_Device->SetLight(0, &light);
  m_Device->SetRenderState(D3DRS_AMBIENT, 0xFF202020u);
  material.Ambient = D3DCOLORVALUE{1, 1, 1, 1};
  m_Device->SetMaterial(&material);
  m_Device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
  DrawLit(D3DPT_TRIANGLESTRIP, 2, quad);
  Capture("lit_quad_tilted_light");
  EXPECT_TRUE(Near(At(400, 300), 0xFF606060u));  // 0x20 ambient + 0.25 x 255

  // Lighting off: the vertices carry no colour, so they are white.
  m_Device->SetRenderState(D3DRS_LIGHTING, 0);
  DrawLit(D3DPT_TRIANGLESTRIP, 2, quad);
  Capture("unlit_quad");
  EXPECT_TRUE(Near(At(400, 300), 0xFFFFFFFFu));
}

TEST_F(GlRenderTest, CullModesDecideWhichWindingIsDrawn) {
  m_Device->SetRenderState(D3DRS_LIGHTING, 0);
  // Left triangle clockwise on screen, right triangle counter-clockwise.
  const ScreenVertex cw[3] = {{100, 100, 0.5f, 1, 0xFFFF0000u, 0, 0},
                              {300, 100, 0.5f, 1, 0xFFFF0000u, 0, 0},
                              {100, 300, 0.5f, 1, 0xFFFF0000u, 0, 0}};
  const ScreenVertex ccw[3] = {{500, 100, 0.5f, 1, 0xFF00FF00u, 0, 0},
                               {500, 300, 0.5f, 1, 0xFF00FF00u, 0, 0},
                               {700, 100, 0.5f, 1, 0xFF00FF00u, 0, 0}};
  m_Device->SetFVF(kScreenFVF);
  struct Case {
    DWORD cull;
    bool cwDrawn, ccwDrawn;
    const char* name;
  } cases[] = {{D3DCULL_CCW, true, false, "cull_ccw"},
               {D3DCULL_CW, false, true, "cull_cw"},
               {D3DCULL_NONE, true, true, "cull_none"}};
  for (const Case& c : cases) {
    m_Device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    m_Device->SetRenderState(D3DRS_CULLMODE, c.cull);
    ASSERT_EQ(m_Device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, cw, sizeof(ScreenVertex)), D3D_OK);
    ASSERT_EQ(m_Device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, ccw, sizeof(ScreenVertex)), D3D_OK);
    Capture(c.name);
    EXPECT_TRUE(Near(At(150, 150), c.cwDrawn ? 0xFFFF0000u : 0xFF000000u, 0)) << c.name;
    EXPECT_TRUE(Near(At(550, 150), c.ccwDrawn ? 0xFF00FF00u : 0xFF000000u, 0)) << c.name;
  }

  // The same through the camera: seen from +z with y up, this triangle turns
  // counter-clockwise on screen, so the default mode (CCW) removes it.
  SetCamera();
  const LitVertex world[3] = {{-1, -1, 0, 0, 0, 1}, {1, -1, 0, 0, 0, 1}, {-1, 1, 0, 0, 0, 1}};
  for (const Case& c : cases) {
    m_Device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
    m_Device->SetRenderState(D3DRS_CULLMODE, c.cull);
    DrawLit(D3DPT_TRIANGLELIST, 1, world);
    Capture(std::string("camera_") + c.name);
    // Lighting is off and the vertices carry no colour: white where drawn.
    EXPECT_TRUE(Near(At(360, 330), c.ccwDrawn ? 0xFFFFFFFFu : 0xFF000000u, 0)) << c.name;
  }
}

TEST_F(GlRenderTest, DepthTestWriteAndAlphaTest) {
  Flat();
  auto quad = [&](float z, D3DCOLOR color, float left) {
    const ScreenVertex v[4] = {{left, 100, z, 1, color, 0, 0},
                               {left + 100, 100, z, 1, color, 0, 0},
                               {left, 200, z, 1, color, 0, 0},
                               {left + 100, 200, z, 1, color, 0, 0}};
    m_Device->SetFVF(kScreenFVF);
    ASSERT_EQ(m_Device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof(ScreenVertex)), D3D_OK);
  };
  quad(0.2f, 0xFFFF0000u, 100);  // near
  quad(0.8f, 0xFF00FF00u, 100);  // far: hidden
  m_Device->SetRenderState(D3DRS_ZWRITEENABLE, 0);
  quad(0.2f, 0xFFFF0000u, 300);
  m_Device->SetRenderState(D3DRS_ZWRITEENABLE, 1);
  quad(0.8f, 0xFF00FF00u, 300);  // nothing was written in front of it
  m_Device->SetRenderState(D3DRS_ZENABLE, 0);
  quad(0.9f, 0xFF0000FFu, 500);
  // Alpha test: alpha 0x40 fails "greater than 0x80", 0xC0 passes.
  m_Device->SetRenderState(D3DRS_ALPHATESTENABLE, 1);
  m_Device->SetRenderState(D3DRS_ALPHAREF, 0x80);
  m_Device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
  m_Device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
  m_Device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
  quad(0.5f, 0x40FFFFFFu, 500);
  quad(0.5f, 0xC0FFFF00u, 650);
  Capture("depth_and_alpha_test");
  ExpectPixels({{150, 150, 0xFFFF0000u, 0}, {350, 150, 0xFF00FF00u, 0}, {550, 150, 0xFF0000FFu, 0},
                {700, 150, 0xFFFFFF00u, 0}});
  // The next frame's clear empties the depth this one wrote: a far quad
  // where the near one was is drawn; so is one after a frame that wrote no
  // depth at all.
  m_Device->SetRenderState(D3DRS_ALPHATESTENABLE, 0);
  m_Device->SetRenderState(D3DRS_ZENABLE, 1);
  for (int frame = 0; frame < 3; ++frame) {
    ASSERT_EQ(m_Device->Present(), D3D_OK);
    ASSERT_EQ(m_Device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0), D3D_OK);
    if (frame == 1) continue;
    quad(0.8f, 0xFF00FF00u, 100);
    quad(0.2f, 0xFFFF0000u, 300);
    Capture("depth_cleared_next_frame");
    EXPECT_TRUE(Near(At(150, 150), 0xFF00FF00u, 0)) << frame;
  }
}

TEST_F(GlRenderTest, StageOperationsWithTextureFactorAndModifiers) {
  Flat();
  m_Device->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFF204060u);
  struct Case {
    DWORD op, arg1, arg2;
    D3DCOLOR diffuse, expected;
  } cases[] = {
      {D3DTOP_ADD, D3DTA_TFACTOR, D3DTA_DIFFUSE, 0xFF101010u, 0xFF305070u},
      {D3DTOP_SELECTARG1, D3DTA_TFACTOR | D3DTA_COMPLEMENT, D3DTA_DIFFUSE, 0xFF000000u, 0xFFDFBF9Fu},
      {D3DTOP_MODULATE2X, D3DTA_TFACTOR, D3DTA_DIFFUSE, 0xFF808080u, 0xFF204060u},
      {D3DTOP_SUBTRACT, D3DTA_DIFFUSE, D3DTA_TFACTOR, 0xFF808080u, 0xFF604020u},
      {D3DTOP_SELECTARG2, D3DTA_TFACTOR, D3DTA_DIFFUSE | D3DTA_ALPHAREPLICATE, 0x80000000u, 0xFF808080u},
  };
  int column = 0;
  for (const Case& c : cases) {
    ColourStage(0, c.op, c.arg1, c.arg2);
    DrawScreenQuad(float(20 + column * 150), 20, float(120 + column * 150), 120, c.diffuse);
    ++column;
  }
  // A second stage that adds the factor to what the first made.
  m_Device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
  m_Device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
  ColourStage(1, D3DTOP_ADD, D3DTA_CURRENT, D3DTA_TFACTOR);
  DrawScreenQuad(20, 200, 120, 300, 0xFF101010u);
  Capture("stage_operations");
  column = 0;
  for (const Case& c : cases) {
    EXPECT_TRUE(Near(At(70 + column * 150, 70), c.expected, 3)) << "operation " << c.op;
    ++column;
  }
  EXPECT_TRUE(Near(At(70, 250), 0xFF305070u, 3));
}

// The pulsing copy of a marker: its alpha is four times the texture
// factor's alpha times the source's (a quarter-alpha image), blended
// additively over black, so the factor's alpha sets the brightness.
TEST_F(GlRenderTest, TextureFactorAlphaScalesAnAdditiveQuadFourfold) {
  Flat();
  Blend(D3DBLEND_SRCALPHA, D3DBLEND_ONE);
  m_Device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
  m_Device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
  m_Device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE4X);
  m_Device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TFACTOR);
  m_Device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
  const DWORD factors[] = {0xFFFFFFFFu, 0x80FFFFFFu, 0x40FFFFFFu, 0x20FFFFFFu, 0x00FFFFFFu};
  for (int i = 0; i < 5; ++i) {
    m_Device->SetRenderState(D3DRS_TEXTUREFACTOR, factors[i]);
    DrawScreenQuad(float(20 + i * 150), 20, float(120 + i * 150), 120, 0x40FFFFFFu);
  }
  Capture("texture_factor_alpha");
  // 4 x (a / 255) x (64 / 255), clamped to 1, of white over black.
  ExpectPixels({{70, 70, 0xFFFFFFFFu, 3}, {220, 70, 0xFF818181u, 3}, {370, 70, 0xFF404040u, 3},
                {520, 70, 0xFF202020u, 3}, {670, 70, 0xFF000000u, 0}});
}

TEST_F(GlRenderTest, LinearFogTowardsTheFogColour) {
  SetCamera();
  Flat();
  m_Device->SetRenderState(D3DRS_FOGENABLE, 1);
  m_Device->SetRenderState(D3DRS_FOGTABLEMODE, D3DFOG_LINEAR);
  m_Device->SetRenderState(D3DRS_FOGCOLOR, 0xFF0000FFu);
  m_Device->SetRenderState(D3DRS_FOGSTART, FloatToDword(3.0f));
  m_Device->SetRenderState(D3DRS_FOGEND, FloatToDword(7.0f));
  // A white quad at z = 0, 5 units from the eye: half way into the fog.
  const LitVertex* quad = kUnitQuad;
  DrawLit(D3DPT_TRIANGLESTRIP, 2, quad);
  Capture("linear_fog");
  EXPECT_TRUE(Near(At(400, 300), 0xFF8080FFu, 4));
}

TEST_F(GlRenderTest, PresentAppliesTheGammaRamp) {
  DrawScreenQuad(0, 0, 400, 600, 0xFF000000u);
  m_Device->SetRenderState(D3DRS_LIGHTING, 0);
  m_Device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF404040u, 1.0f, 0);
  D3DGAMMARAMP ramp;
  for (int i = 0; i < 256; ++i) {
    const int v = std::min(65535, i * 256 + 32768);
    ramp.red[i] = ramp.green[i] = uint16_t(v);
    ramp.blue[i] = uint16_t(i * 257);  // blue unchanged
  }
  m_Device->SetGammaRamp(0, D3DSGR_NO_CALIBRATION, &ramp);
  ASSERT_EQ(m_Device->Present(), D3D_OK);
  std::vector<uint32_t> screen;
  uint32_t w = 0, h = 0;
  ASSERT_TRUE(ReadPresentedImage(m_Device, screen, &w, &h));
  ASSERT_EQ(w, 800u);
  testsupport::KeepPicture("gamma_present", screen, w, h);
  // 0x40 -> 0x40 x 256 + 32768 = 49152 -> 0xBF for red and green.
  EXPECT_TRUE(Near(screen[300 * 800 + 400], 0xFFBFBF40u, 2));
  // The back buffer itself is untouched by the ramp.
  ASSERT_TRUE(m_Device->ReadBackBuffer(m_Pixels, &w, &h));
  EXPECT_TRUE(Near(At(400, 300), 0xFF404040u, 0));
}

TEST_F(GlRenderTest, PointAndSpotLightsFallOff) {
  const int n = 40;
  const std::vector<LitVertex> grid = WhiteGridBeforeTheCamera(n);

  // A point light one unit in front of the centre, range 1.5, attenuation 1/(1 + d).
  D3DLIGHT9 point = WhiteLight(D3DLIGHT_POINT);
  point.Position = D3DVECTOR(0, 0, 1);
  point.Range = 1.5f;
  point.Attenuation0 = point.Attenuation1 = 1.0f;
  m_Device->SetLight(0, &point);
  m_Device->LightEnable(0, 1);
  DrawLit(D3DPT_TRIANGLELIST, n * n * 2, grid.data());
  Capture("point_light");
  // Centre: N.L = 1, d = 1: 1 / (1 + 1) = half.
  EXPECT_TRUE(Near(At(400, 300), 0xFF808080u, 8));
  // Outside the range (corners of the quad): dark.
  EXPECT_TRUE(Near(At(270, 170), 0xFF000000u, 2));

  // A spot light pointing at the centre with a narrow cone: bright inside, dark outside.
  m_Device->LightEnable(0, 0);
  D3DLIGHT9 spot = WhiteLight(D3DLIGHT_SPOT);
  spot.Position = D3DVECTOR(0, 0, 3);
  spot.Direction = D3DVECTOR(0, 0, -1);
  spot.Range = 100.0f;
  spot.Attenuation0 = 1.0f;
  spot.Theta = 0.2f;
  spot.Phi = 0.3f;
  spot.Falloff = 1.0f;
  m_Device->SetLight(1, &spot);
  m_Device->LightEnable(1, 1);
  m_Device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
  DrawLit(D3DPT_TRIANGLELIST, n * n * 2, grid.data());
  Capture("spot_light");
  EXPECT_GT(At(400, 300) & 0xFF, 0xE0u);
  EXPECT_TRUE(Near(At(400 + 120, 300), 0xFF000000u, 2));

  // At most eight on at once, however many were switched on and off before.
  for (DWORD i = 100; i < 5100; ++i) {
    m_Device->LightEnable(i, 1);
    m_Device->LightEnable(i, 0);
  }
  for (DWORD i = 2; i < 9; ++i) EXPECT_EQ(m_Device->LightEnable(i, 1), D3D_OK);
  EXPECT_EQ(m_Device->LightEnable(9, 1), D3DERR_INVALIDCALL);
  EXPECT_EQ(m_Device->LightEnable(0, 0), D3D_OK);  // off already: still eight on
  EXPECT_EQ(m_Device->LightEnable(8, 1), D3D_OK);  // on already
  EXPECT_EQ(m_Device->LightEnable(9, 1), D3DERR_INVALIDCALL);
  EXPECT_EQ(m_Device->LightEnable(2, 0), D3D_OK);
  EXPECT_EQ(m_Device->LightEnable(9, 1), D3D_OK);
}

TEST_F(GlRenderTest, LightIndicesGivenOutAndSwitchedOffChangeNeitherTheProgramNorThePicture) {
  const int n = 40;
  const std::vector<LitVertex> grid = WhiteGridBeforeTheCamera(n);
  // A dim red directional light along the view, and a green point light in front of the centre.
  D3DLIGHT9 directional = WhiteLight(D3DLIGHT_DIRECTIONAL);
  directional.Diffuse = D3DCOLORVALUE{0.5f, 0, 0, 1};
  directional.Direction = D3DVECTOR(0, 0, -1);
  D3DLIGHT9 point = WhiteLight(D3DLIGHT_POINT);
  point.Diffuse = D3DCOLORVALUE{0, 1, 0, 1};
  point.Position = D3DVECTOR(0, 0, 1);
  point.Range = 3.0f;
  point.Attenuation0 = point.Attenuation1 = 1.0f;

  ASSERT_EQ(m_Device->Present(), D3D_OK);  // the counting starts here
  m_Device->SetLight(0, &directional);
  m_Device->SetLight(1, &point);
  m_Device->LightEnable(0, 1);
  m_Device->LightEnable(1, 1);
  DrawLit(D3DPT_TRIANGLELIST, n * n * 2, grid.data());
  Capture("lights_two_given_out");
  const std::vector<uint32_t> alone = m_Pixels;
  // The centre: red 1/2 from the directional light, green 1 / (1 + 1) from the point light one unit away.
  EXPECT_TRUE(Near(At(400, 300), 0xFF808000u, 8)) << std::hex << At(400, 300);

  // Thousands of indices given out, each switched on and off, as lights come
  // and go over many level starts; then the same two kinds on, at the last
  // two indices, the later one switched on first.
  m_Device->LightEnable(0, 0);
  m_Device->LightEnable(1, 0);
  for (DWORD i = 2; i < 6000; ++i) {
    m_Device->SetLight(i, i % 2 ? &point : &directional);
    m_Device->LightEnable(i, 1);
    m_Device->LightEnable(i, 0);
  }
  m_Device->SetLight(6001, &point);
  m_Device->SetLight(6000, &directional);
  m_Device->LightEnable(6001, 1);
  m_Device->LightEnable(6000, 1);
  m_Device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
  DrawLit(D3DPT_TRIANGLELIST, n * n * 2, grid.data());
  Capture("lights_two_of_thousands");
  EXPECT_TRUE(m_Pixels == alone) << "the same picture";
  ASSERT_EQ(m_Device->Present(), D3D_OK);
  const DeviceFrameCounters c = m_Device->GetFrameCounters();
  EXPECT_EQ(c.draws, 2u);
  EXPECT_EQ(c.programBinds, 1u) << "the program of the two lights serves both draws";
}

TEST_F(GlRenderTest, SpritesLandOnWholePixels) {
  std::vector<uint32_t> texels(4 * 4, 0xFFFFFFFFu);
  texels[0] = 0xFFFF0000u;  // top-left texel red
  ITexture* texture = MakeTexture(4, 4, texels);
  ISprite* sprite = nullptr;
  ASSERT_EQ(CreateSprite(m_Device, &sprite), D3D_OK);
  ASSERT_EQ(sprite->Begin(D3DXSPRITE_ALPHABLEND), D3D_OK);
  D3DXMATRIX scale;
  D3DXMatrixScaling(&scale, 10, 10, 1);
  sprite->SetTransform(&scale);
  D3DXVECTOR3 position(10, 20, 0);  // scaled: placed at (100, 200), 40 x 40 pixels
  ASSERT_EQ(sprite->Draw(texture, nullptr, nullptr, &position, 0xFFFFFFFFu), D3D_OK);
  ASSERT_EQ(sprite->End(), D3D_OK);
  DWORD lighting = 0;
  m_Device->GetRenderState(D3DRS_LIGHTING, &lighting);
  EXPECT_EQ(lighting, 1u);  // the sprite gave its states back
  Capture("sprite");
  // texel centre (linear filter)
  ExpectPixels({{99, 205, 0xFF000000u, 0}, {100, 200, 0xFFFF0000u, 0}, {104, 204, 0xFFFF0000u, 0},
                {125, 225, 0xFFFFFFFFu, 0}, {139, 239, 0xFFFFFFFFu, 0}, {140, 239, 0xFF000000u, 0},
                {139, 240, 0xFF000000u, 0}});
  sprite->Release();
  texture->Release();
}

TEST_F(GlRenderTest, AStageWithoutItsTextureHandsOnWhatItWasGiven) {
  // Over white, with the default stage operations (colour: texture times
  // current; alpha: the texture's) and no texture bound: the half-transparent
  // red of the vertices and of the material comes through, blended.
  m_Device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFFFFFFu, 1.0f, 0);
  Flat();
  Blend(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
  DrawScreenQuad(100, 100, 300, 300, 0x80FF0000u);

  SetCamera();
  D3DMATERIAL9 material;
  material.Diffuse = D3DCOLORVALUE{1.0f, 0.0f, 0.0f, 0.5f};
  material.Emissive = D3DCOLORVALUE{1.0f, 0.0f, 0.0f, 0.0f};
  m_Device->SetMaterial(&material);
  m_Device->SetRenderState(D3DRS_LIGHTING, 1);
  m_Device->SetRenderState(D3DRS_ZENABLE, 0);
  const LitVertex quad[4] = {{0.5f, -1, 0, 0, 0, 1}, {0.5f, 1, 0, 0, 0, 1}, {2, -1, 0, 0, 0, 1}, {2, 1, 0, 0, 0, 1}};
  DrawLit(D3DPT_TRIANGLESTRIP, 2, quad);

  // A later stage that reads its missing texture passes the first stage's
  // result on; one that reads only the factor still applies it.
  m_Device->SetRenderState(D3DRS_LIGHTING, 0);
  m_Device->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
  m_Device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
  m_Device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
  ColourStage(1, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_CURRENT);
  DrawScreenQuad(100, 400, 200, 500, 0xFF2080C0u);
  m_Device->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFF808080u);
  m_Device->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_TFACTOR);
  DrawScreenQuad(300, 400, 400, 500, 0xFF2080C0u);
  Capture("untextured_stages_pass_through");
  ExpectPixels({{200, 200, 0xFFFF8080u, 3}, {20, 200, 0xFFFFFFFFu, 0}, {560, 300, 0xFFFF8080u, 3},
                {150, 450, 0xFF2080C0u, 1}, {350, 450, 0xFF104060u, 2}});
}

TEST_F(GlRenderTest, ThreeDimensionalEdgesFollowThePixelCentres) {
  // Identity transforms: positions are clip coordinates. Pixel centres lie
  // at integers, so edges half way between them, at 99.5 and 199.5 on the
  // screen, cover exactly the pixels 100 to 199 in both directions.
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  m_Device->SetTransform(D3DTS_WORLD, &identity);
  m_Device->SetTransform(D3DTS_VIEW, &identity);
  m_Device->SetTransform(D3DTS_PROJECTION, &identity);
  Flat();
  auto x = [](float pixel) { return pixel / 400.0f - 1.0f; };
  auto y = [](float pixel) { return 1.0f - pixel / 300.0f; };
  const LitVertex quad[4] = {{x(99.5f), y(99.5f), 0.5f, 0, 0, 1},
                             {x(199.5f), y(99.5f), 0.5f, 0, 0, 1},
                             {x(99.5f), y(199.5f), 0.5f, 0, 0, 1},
                             {x(199.5f), y(199.5f), 0.5f, 0, 0, 1}};
  DrawLit(D3DPT_TRIANGLESTRIP, 2, quad);
  Capture("edges_on_pixel_centres");
  for (int i : {100, 150, 199}) {
    EXPECT_TRUE(Near(At(99, i), 0xFF000000u, 0)) << i;
    EXPECT_TRUE(Near(At(100, i), 0xFFFFFFFFu, 0)) << i;
    EXPECT_TRUE(Near(At(199, i), 0xFFFFFFFFu, 0)) << i;
    EXPECT_TRUE(Near(At(200, i), 0xFF000000u, 0)) << i;
    EXPECT_TRUE(Near(At(i, 99), 0xFF000000u, 0)) << i;
    EXPECT_TRUE(Near(At(i, 100), 0xFFFFFFFFu, 0)) << i;
    EXPECT_TRUE(Near(At(i, 199), 0xFFFFFFFFu, 0)) << i;
    EXPECT_TRUE(Near(At(i, 200), 0xFF000000u, 0)) << i;
  }
}

TEST_F(GlRenderTest, AFrameCountsItsDrawsAndBindsOnlyWhatChanged) {
  ITexture* red = MakeTexture(1, 1, {0xFFFF0000u});
  ITexture* green = MakeTexture(1, 1, {0xFF00FF00u});
  m_Device->SetRenderState(D3DRS_LIGHTING, 0);
  m_Device->SetTexture(0, red);
  ASSERT_EQ(m_Device->Present(), D3D_OK);  // the counting starts here
  for (int i = 0; i < 3; ++i) DrawScreenQuad(float(10 + 20 * i), 10, float(20 + 20 * i), 20, 0xFFFFFFFFu);
  m_Device->SetTexture(0, green);
  DrawScreenQuad(100, 10, 110, 20, 0xFFFFFFFFu);
  m_Device->SetTexture(0, red);
  DrawScreenQuad(120, 10, 130, 20, 0xFFFFFFFFu);
  ASSERT_EQ(m_Device->Present(), D3D_OK);
  DeviceFrameCounters c = m_Device->GetFrameCounters();
  EXPECT_EQ(c.draws, 5u);
  EXPECT_EQ(c.programBinds, 1u);
  EXPECT_EQ(c.textureBinds, 3u);
  EXPECT_EQ(c.bufferBinds, 1u);  // the stream buffer, once
  EXPECT_EQ(c.bufferUploads, 5u);
  // A frame with nothing drawn counts nothing.
  ASSERT_EQ(m_Device->Present(), D3D_OK);
  c = m_Device->GetFrameCounters();
  EXPECT_EQ(c.draws + c.programBinds + c.textureBinds + c.bufferBinds + c.bufferUploads, 0u);
  red->Release();
  green->Release();
}

// Draws from one vertex buffer in a row, with nothing changed between them
// but their mode: each keeps its own. A red square drawn as a strip and two
// green triangles drawn as a list, side by side, in both orders (a picture
// each). The list drawn as a strip would gain triangles between its two; the
// square drawn as a list would lose its second half.
TEST_F(GlRenderTest, AStripAndAListWithNothingChangedBetweenKeepTheirOwnModes) {
  Flat();
  std::vector<ScreenVertex> v(10);
  FillSquare(v.data(), 100, 100, 100, 0xFFFF0000u);
  const D3DCOLOR g = 0xFF00FF00u;
  v[4] = {300, 100, 0.5f, 1, g, 0, 0}, v[5] = {400, 100, 0.5f, 1, g, 0, 0}, v[6] = {300, 200, 0.5f, 1, g, 0, 0};
  v[7] = {450, 100, 0.5f, 1, g, 0, 0}, v[8] = {500, 100, 0.5f, 1, g, 0, 0}, v[9] = {450, 150, 0.5f, 1, g, 0, 0};
  IVertexBuffer* vb = MakeScreenBuffer(v);
  ASSERT_NE(vb, nullptr);
  m_Device->SetStreamSource(0, vb, 0, sizeof(ScreenVertex));
  for (bool stripFirst : {true, false}) {
    SCOPED_TRACE(stripFirst ? "strip, then list" : "list, then strip");
    ASSERT_EQ(m_Device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0), D3D_OK);
    for (int draw = 0; draw < 2; ++draw) {
      if ((draw == 0) == stripFirst)
        ASSERT_EQ(m_Device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
      else
        ASSERT_EQ(m_Device->DrawPrimitive(D3DPT_TRIANGLELIST, 4, 2), D3D_OK);
    }
    Capture(stripFirst ? "strip_then_list_in_their_own_modes" : "list_then_strip_in_their_own_modes");
    // Both halves of the square, both triangles, and nothing between or beside them.
    ExpectPixels({{120, 160, 0xFFFF0000u, 0}, {180, 180, 0xFFFF0000u, 0}, {320, 120, 0xFF00FF00u, 0},
                  {460, 110, 0xFF00FF00u, 0}, {425, 110, 0xFF000000u, 0}, {380, 180, 0xFF000000u, 0},
                  {250, 150, 0xFF000000u, 0}});
  }
  m_Device->SetStreamSource(0, nullptr, 0, 0);
  vb->Release();
}

// A texture set between two draws from one vertex buffer that would
// otherwise go together: the first is drawn with the texture it was given.
// Three squares with white vertices, textured red, green and blue, drawn
// twice: the second time the textures are on GL already, so nothing but the
// change of texture sends a waiting draw on.
TEST_F(GlRenderTest, ATextureSetBetweenTwoDrawsLeavesTheFirstWithItsOwn) {
  const D3DCOLOR colours[3] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu};
  ITexture* textures[3];
  for (int i = 0; i < 3; ++i) textures[i] = MakeTexture(1, 1, {colours[i]});
  Flat();
  std::vector<ScreenVertex> v(12);
  for (int i = 0; i < 3; ++i) FillSquare(&v[size_t(i) * 4], 99.5f + 200.0f * float(i), 99.5f, 100, 0xFFFFFFFFu, true);
  IVertexBuffer* vb = MakeScreenBuffer(v);
  ASSERT_NE(vb, nullptr);
  m_Device->SetStreamSource(0, vb, 0, sizeof(ScreenVertex));
  for (int pass = 0; pass < 2; ++pass) {
    ASSERT_EQ(m_Device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0), D3D_OK);
    for (uint32_t i = 0; i < 3; ++i) {
      m_Device->SetTexture(0, textures[i]);
      ASSERT_EQ(m_Device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 4 * i, 2), D3D_OK);
    }
  }
  Capture("texture_set_between_draws");
  m_Device->SetStreamSource(0, nullptr, 0, 0);
  m_Device->SetTexture(0, nullptr);
  vb->Release();
  for (ITexture* texture : textures) texture->Release();
  ExpectPixels({{150, 150, colours[0], 0}, {350, 150, colours[1], 0}, {550, 150, colours[2], 0},
                {250, 150, 0xFF000000u, 0}});
}

TEST_F(GlRenderTest, ObjectsMadeAfterOthersWereReleasedAreBoundAfresh) {
  // A released texture's or buffer's name may come back for the next one:
  // the new object must still be bound and uploaded.
  Flat();
  const D3DCOLOR colours[3] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu};
  for (int i = 0; i < 3; ++i) {
    ITexture* texture = MakeTexture(1, 1, {colours[i]});
    IVertexBuffer* vb = nullptr;
    ASSERT_EQ(m_Device->CreateVertexBuffer(4 * sizeof(ScreenVertex), 0, kScreenFVF, D3DPOOL_MANAGED, &vb), D3D_OK);
    ScreenVertex* v = nullptr;
    ASSERT_EQ(vb->Lock(0, 0, reinterpret_cast<void**>(&v), 0), D3D_OK);
    const float left = 99.5f + 100.0f * float(i);
    FillSquare(v, left, 99.5f, 50, 0xFFFFFFFFu, true);
    vb->Unlock();
    m_Device->SetTexture(0, texture);
    m_Device->SetFVF(kScreenFVF);
    m_Device->SetStreamSource(0, vb, 0, sizeof(ScreenVertex));
    ASSERT_EQ(m_Device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    m_Device->SetStreamSource(0, nullptr, 0, 0);
    m_Device->SetTexture(0, nullptr);
    vb->Release();
    texture->Release();
  }
  Capture("objects_after_released_ones");
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(Near(At(125 + 100 * i, 125), colours[i], 0)) << i;
  }
}

TEST_F(GlRenderTest, StreamedGeometryLargerThanTheStreamAndManySmallDraws) {
  Flat();
  m_Device->SetFVF(kScreenFVF);
  // 3 MiB of vertices in one draw: all but the last triangle are empty.
  std::vector<ScreenVertex> many(3 * 1024 * 1024 / sizeof(ScreenVertex) / 3 * 3, ScreenVertex{0, 0, 0.5f, 1, 0, 0, 0});
  const size_t n = many.size();
  many[n - 3] = {400, 400, 0.5f, 1, 0xFFFF00FFu, 0, 0};
  many[n - 2] = {600, 400, 0.5f, 1, 0xFFFF00FFu, 0, 0};
  many[n - 1] = {400, 580, 0.5f, 1, 0xFFFF00FFu, 0, 0};
  ASSERT_EQ(m_Device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, uint32_t(n / 3), many.data(), sizeof(ScreenVertex)),
            D3D_OK);
  // Thousands of small indexed draws go round the stream many times over.
  const uint16_t indices[6] = {0, 1, 2, 2, 1, 3};
  for (int i = 0; i < 6000; ++i) {
    const float x = 20.0f + float(i % 60) * 5.0f, y = 20.0f + float(i / 60 % 60) * 5.0f;
    const D3DCOLOR c = 0xFF000000u | (uint32_t(i % 60) * 4) << 16 | uint32_t(i / 60 % 60) * 4;
    const ScreenVertex v[4] = {{x - 0.5f, y - 0.5f, 0.5f, 1, c, 0, 0}, {x + 3.5f, y - 0.5f, 0.5f, 1, c, 0, 0},
                               {x - 0.5f, y + 3.5f, 0.5f, 1, c, 0, 0}, {x + 3.5f, y + 3.5f, 0.5f, 1, c, 0, 0}};
    ASSERT_EQ(m_Device->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 4, 2, indices, D3DFMT_INDEX16, v,
                                               sizeof(ScreenVertex)),
              D3D_OK);
  }
  Capture("streamed_geometry");
  EXPECT_TRUE(Near(At(450, 450), 0xFFFF00FFu, 0));
  for (int i : {0, 61, 1234, 3599}) {
    const int x = 20 + i % 60 * 5, y = 20 + i / 60 % 60 * 5;
    EXPECT_TRUE(Near(At(x + 1, y + 1), 0xFF000000u | (uint32_t(i % 60) * 4) << 16 | uint32_t(i / 60 % 60) * 4, 0))
        << i;
    EXPECT_TRUE(Near(At(x + 4, y + 1), 0xFF000000u, 0)) << i;
  }
}

TEST(GlPresentTest, WideScreenShowsTheBackBufferBetweenBlackBars) {
  std::string why;
  IGraphicsSystem* system = CreateOffscreenGraphicsSystem(&why, 1000, 600);
  if (!system) GTEST_SKIP() << "No OpenGL 3.3 context available (" << why << "): image test skipped";
  D3DPRESENT_PARAMETERS pp;
  pp.BackBufferWidth = 800;
  pp.BackBufferHeight = 600;
  IDevice* device = nullptr;
  ASSERT_EQ(system->CreateDevice(nullptr, 0, &pp, &device), D3D_OK);
  device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF0000u, 1.0f, 0);
  ASSERT_EQ(device->Present(), D3D_OK);
  std::vector<uint32_t> screen;
  uint32_t w = 0, h = 0;
  ASSERT_TRUE(ReadPresentedImage(device, screen, &w, &h));
  ASSERT_EQ(w, 1000u);
  ASSERT_EQ(h, 600u);
  testsupport::KeepPicture("wide_screen_bars", screen, w, h);
  // 800 x 600 scaled by 1 into 1000 x 600: 100 black columns on each side.
  EXPECT_EQ(screen[300 * 1000 + 50] & 0xFFFFFFu, 0u);
  EXPECT_EQ(screen[300 * 1000 + 99] & 0xFFFFFFu, 0u);
  EXPECT_EQ(screen[300 * 1000 + 100] & 0xFFFFFFu, 0xFF0000u);
  EXPECT_EQ(screen[0 * 1000 + 899] & 0xFFFFFFu, 0xFF0000u);
  EXPECT_EQ(screen[599 * 1000 + 900] & 0xFFFFFFu, 0u);
  device->Release();
  system->Release();
}

TEST_F(GlRenderTest, BufferDrawsAndBadRangesAreRefused) {
  Flat();
  IVertexBuffer* vb = nullptr;
  ASSERT_EQ(m_Device->CreateVertexBuffer(4 * sizeof(ScreenVertex), D3DUSAGE_WRITEONLY, kScreenFVF, D3DPOOL_MANAGED, &vb),
            D3D_OK);
  IIndexBuffer* ib = nullptr;
  ASSERT_EQ(m_Device->CreateIndexBuffer(6 * 2, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED, &ib), D3D_OK);
  ScreenVertex* v = nullptr;
  ASSERT_EQ(vb->Lock(0, 0, reinterpret_cast<void**>(&v), 0), D3D_OK);
  FillSquare(v, 99.5f, 99.5f, 100, 0xFF00FFFFu);
  vb->Unlock();
  uint16_t* idx = nullptr;
  ASSERT_EQ(ib->Lock(0, 0, reinterpret_cast<void**>(&idx), 0), D3D_OK);
  const uint16_t indices[6] = {0, 1, 2, 2, 1, 3};
  std::memcpy(idx, indices, sizeof indices);
  ib->Unlock();
  m_Device->SetFVF(kScreenFVF);
  m_Device->SetStreamSource(0, vb, 0, sizeof(ScreenVertex));
  m_Device->SetIndices(ib);
  EXPECT_EQ(m_Device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3D_OK);
  EXPECT_EQ(m_Device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 1, 0, 4, 0, 2), D3DERR_INVALIDCALL);  // index 3 + 1
  EXPECT_EQ(m_Device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 3, 2), D3DERR_INVALIDCALL);
  EXPECT_EQ(m_Device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 1, 2), D3DERR_INVALIDCALL);
  m_Device->SetFVF(D3DFVF_DIFFUSE);  // no position: nothing to draw
  EXPECT_EQ(m_Device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3DERR_INVALIDCALL);
  Capture("buffer_draws");
  ExpectPixels({{150, 150, 0xFF00FFFFu, 0}, {250, 150, 0xFF000000u, 0}});
  // Buffers written again after a draw (static and dynamic ones): each
  // draw shows the vertices it was given, the draws before the new ones.
  IVertexBuffer* dynamic = nullptr;
  ASSERT_EQ(m_Device->CreateVertexBuffer(4 * sizeof(ScreenVertex), D3DUSAGE_DYNAMIC, kScreenFVF, D3DPOOL_DEFAULT,
                                         &dynamic),
            D3D_OK);
  m_Device->SetFVF(kScreenFVF);
  for (IVertexBuffer* buffer : {vb, dynamic}) {
    for (int i = 0; i < 3; ++i) {
      const float left = 299.5f + 100.0f * float(i), top = buffer == vb ? 99.5f : 299.5f;
      const D3DCOLOR c = 0xFF000000u | 0xFFu << (8 * i);
      ASSERT_EQ(buffer->Lock(0, 0, reinterpret_cast<void**>(&v), 0), D3D_OK);
      FillSquare(v, left, top, 50, c);
      buffer->Unlock();
      m_Device->SetStreamSource(0, buffer, 0, sizeof(ScreenVertex));
      ASSERT_EQ(m_Device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3D_OK);
    }
  }
  Capture("buffers_written_again");
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(Near(At(325 + 100 * i, 125), 0xFF000000u | 0xFFu << (8 * i), 0)) << i;
    EXPECT_TRUE(Near(At(325 + 100 * i, 325), 0xFF000000u | 0xFFu << (8 * i), 0)) << i;
  }
  m_Device->SetStreamSource(0, nullptr, 0, 0);
  dynamic->Release();
  vb->Release();
  ib->Release();
}

}  // namespace
