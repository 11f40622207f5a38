// Meshes on the GL device: the bent bar skinned on the processor, and a textured mesh.
#include <gtest/gtest.h>

#include "platform/XTestSupport.h"
#include "support/OffscreenDeviceTest.h"
#include "tools/formats/DemoMeshes.h"
#include "tools/formats/GraphicsFiles.h"
#include "tools/formats/XFileWriter.h"

using namespace platform;

namespace {

class XMeshImageTest : public testsupport::OffscreenDeviceTest {
 protected:
  void SetUp() override {
    OffscreenDeviceTest::SetUp();
    if (!m_Device) return;
    m_Device->SetRenderState(D3DRS_LIGHTING, 0);
    m_Device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  }
  void Camera(const D3DXVECTOR3& eye, const D3DXVECTOR3& at, const D3DXVECTOR3& up) {
    D3DXMatrixLookAtRH(&m_View, &eye, &at, &up);
    D3DXMatrixPerspectiveFovRH(&m_Proj, D3DX_PI / 4, 800.0f / 600.0f, 1.0f, 1000.0f);
    D3DXMATRIX world;
    m_Device->SetTransform(D3DTS_VIEW, &m_View);
    m_Device->SetTransform(D3DTS_PROJECTION, &m_Proj);
    m_Device->SetTransform(D3DTS_WORLD, &world);
  }
  // The pixel a world point lands on.
  uint32_t PixelOf(const D3DXVECTOR3& p) const {
    D3DXMATRIX vp = m_View * m_Proj;
    D3DXVECTOR3 ndc;
    D3DXVec3TransformCoord(&ndc, &p, &vp);
    int x = (int)((ndc.x + 1) * 0.5f * 800), y = (int)((1 - ndc.y) * 0.5f * 600);
    EXPECT_TRUE(x >= 0 && x < 800 && y >= 0 && y < 600) << "probe off screen";
    x = std::min(std::max(x, 0), 799);
    y = std::min(std::max(y, 0), 599);
    return m_Pixels[(size_t)y * 800 + x];
  }
  // Each world point's pixel is white (or black) within 8.
  void ExpectWhite(std::initializer_list<D3DXVECTOR3> white, std::initializer_list<D3DXVECTOR3> black) {
    for (const D3DXVECTOR3& p : white) EXPECT_TRUE(Near(PixelOf(p), 0xFFFFFFFFu, 8)) << p.x << "," << p.y << "," << p.z;
    for (const D3DXVECTOR3& p : black) EXPECT_TRUE(Near(PixelOf(p), 0xFF000000u, 8)) << p.x << "," << p.y << "," << p.z;
  }
  // The hierarchy posed at `position` of "Bend", skinned and drawn seen from +x (+y to the right).
  void DrawBent(xtest::Hierarchy& h, double position, const char* picture) {
    ASSERT_EQ(h.hr, S_OK);
    h.Play(0, "Bend");
    h.controller->SetTrackPosition(0, position);
    h.controller->AdvanceTime(0, nullptr);
    ID3DXMesh* skinned = xtest::SkinnedCopy(h);
    Camera(D3DXVECTOR3(400, -20, 50), D3DXVECTOR3(0, -20, 50), D3DXVECTOR3(0, 0, 1));
    ASSERT_EQ(m_Device->BeginScene(), D3D_OK);
    EXPECT_EQ(skinned->DrawSubset(0), S_OK);
    ASSERT_EQ(m_Device->EndScene(), D3D_OK);
    Capture(picture);
    skinned->Release();
  }
  D3DXMATRIX m_View, m_Proj;
};

}  // namespace

TEST_F(XMeshImageTest, BentBarIsDrawnBentAtTheJoint) {
  xtest::Hierarchy h(formats::XFileText(formats::BentBarFile()), m_Device);
  DrawBent(h, 0.5, "mesh_bent_bar");
  // The lower half stands; the upper half lies along -y at the joint's height, not where it stood.
  ExpectWhite({{10, 4, 25}, {10, -40, 54}}, {{10, 4, 90}, {10, -40, 80}});
}

// The bar as an exporter writes it: its upper bone's rotation keys store
// w and the negated vector part; the key at 4800 turns +90 degrees about x.
const char* const kExportedBar =
    "xof 0303txt 0032\n"
    "Frame Root {\n"
    " FrameTransformMatrix { 1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,"
    "0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000;; }\n"
    " Mesh Bar {\n"
    "  9;\n"
    "  10.000000;0.000000;0.000000;,-10.000000;0.000000;0.000000;,0.000000;10.000000;0.000000;,\n"
    "  10.000000;0.000000;50.000000;,-10.000000;0.000000;50.000000;,0.000000;10.000000;50.000000;,\n"
    "  10.000000;0.000000;100.000000;,-10.000000;0.000000;100.000000;,0.000000;10.000000;100.000000;;\n"
    "  6;\n"
    "  4;0,1,4,3;,4;1,2,5,4;,4;2,0,3,5;,4;3,4,7,6;,4;4,5,8,7;,4;5,3,6,8;;\n"
    "  XSkinMeshHeader { 2; 2; 2; }\n"
    "  SkinWeights {\n"
    "   \"Lower\";\n"
    "   6;\n"
    "   0,1,2,3,4,5;\n"
    "   1.000000,1.000000,1.000000,0.500000,0.500000,0.500000;\n"
    "   1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,"
    "0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000;;\n"
    "  }\n"
    "  SkinWeights {\n"
    "   \"Upper\";\n"
    "   6;\n"
    "   3,4,5,6,7,8;\n"
    "   0.500000,0.500000,0.500000,1.000000,1.000000,1.000000;\n"
    "   1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,"
    "0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,-50.000000,1.000000;;\n"
    "  }\n"
    " }\n"
    " Frame Lower {\n"
    "  FrameTransformMatrix { 1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,"
    "0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000;; }\n"
    "  Frame Upper {\n"
    "   FrameTransformMatrix { 1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,"
    "0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,50.000000,1.000000;; }\n"
    "  }\n"
    " }\n"
    "}\n"
    "AnimationSet Bend {\n"
    " Animation {\n"
    "  { Upper }\n"
    "  AnimationKey {\n"
    "   0;\n"
    "   2;\n"
    "   0;4;1.000000,0.000000,0.000000,0.000000;;,\n"
    "   4800;4;0.707107,-0.707107,0.000000,0.000000;;;\n"
    "  }\n"
    "  AnimationKey {\n"
    "   2;\n"
    "   2;\n"
    "   0;3;0.000000,0.000000,50.000000;;,\n"
    "   4800;3;0.000000,0.000000,50.000000;;;\n"
    "  }\n"
    " }\n"
    "}\n";

TEST_F(XMeshImageTest, ExportedBarBendsTheWayItsKeysTurn) {
  xtest::Hierarchy h(kExportedBar, m_Device);
  DrawBent(h, 0.999, "mesh_exported_bar_keys");  // the last key's pose
  // +90 degrees about x takes the upper half's +z to -y: neither straight up nor bent the other way.
  ExpectWhite({{10, 4, 25}, {10, -40, 54}, {10, -20, 54}}, {{10, 4, 90}, {10, 40, 54}, {10, 20, 54}});
}

TEST_F(XMeshImageTest, TexturedMeshShowsItsTextureTheRightWayUp) {
  testsupport::TempDir dir;
  formats::TestPicture pic(2, 2);
  pic.At(0, 0) = 0xFFFF0000u;  // top row red, green; bottom row blue, white
  pic.At(1, 0) = 0xFF00FF00u;
  pic.At(0, 1) = 0xFF0000FFu;
  pic.At(1, 1) = 0xFFFFFFFFu;
  std::string png = dir.Write("Checker.png", formats::PngBytes(pic, false));
  ITexture* texture = nullptr;
  ASSERT_EQ(CreateTextureFromFileEx(m_Device, png, D3DX_DEFAULT, D3DX_DEFAULT, 1, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED,
                                    D3DX_FILTER_POINT, D3DX_FILTER_POINT, 0, &texture),
            D3D_OK);
  formats::XFileDesc file;
  file.Meshes.push_back(formats::QuadMesh(10.0f, true));
  formats::XMaterialDesc m;
  m.Texture = "Checker.png";
  file.Meshes[0].Materials = {m};
  file.Meshes[0].FaceMaterials = {0};
  const std::string bytes = formats::XFileBinary(file);
  ID3DXMesh* mesh = nullptr;
  ASSERT_EQ(D3DXLoadMeshFromXInMemory(bytes.data(), (uint32_t)bytes.size(), D3DXMESH_MANAGED, m_Device, nullptr,
                                      nullptr, nullptr, nullptr, &mesh),
            S_OK);
  Camera(D3DXVECTOR3(5, 5, 20), D3DXVECTOR3(5, 5, 0), D3DXVECTOR3(0, 1, 0));
  m_Device->SetTexture(0, texture);
  m_Device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
  m_Device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
  m_Device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
  m_Device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  ASSERT_EQ(m_Device->BeginScene(), D3D_OK);
  ASSERT_EQ(mesh->DrawSubset(0), S_OK);
  ASSERT_EQ(m_Device->EndScene(), D3D_OK);
  Capture("mesh_textured_quad");
  m_Device->SetTexture(0, nullptr);
  mesh->Release();
  texture->Release();
  EXPECT_TRUE(Near(PixelOf({2.5f, 7.5f, 0}), 0xFFFF0000u, 8));
  EXPECT_TRUE(Near(PixelOf({7.5f, 7.5f, 0}), 0xFF00FF00u, 8));
  EXPECT_TRUE(Near(PixelOf({2.5f, 2.5f, 0}), 0xFF0000FFu, 8));
  EXPECT_TRUE(Near(PixelOf({7.5f, 2.5f, 0}), 0xFFFFFFFFu, 8));
  EXPECT_TRUE(Near(PixelOf({12, 5, 0}), 0xFF000000u, 8));  // beside the quad
}
