// Materials, subset set-up from side files, and simple and skinned meshes
// through their factories.
#include <gtest/gtest.h>

#include "engine/MeshTestSupport.h"

using namespace Nembra;
using formats::XFileDesc;
using formats::XMeshDesc;

namespace {

// A quad of two triangles; material 0 opaque with a texture, material 1 with
// a diffuse alpha of 0.5 and no texture.
XFileDesc TwoMaterialQuad(const std::string& texture = "Wall.png") {
  XMeshDesc m = formats::QuadMesh(10.0f);
  formats::XMaterialDesc opaque, clear;
  opaque.Face = {1, 0, 0, 1};
  opaque.Texture = texture;
  clear.Face = {0, 0, 1, 0.5f};
  m.Materials = {opaque, clear};
  m.FaceMaterials = {0, 1};
  XFileDesc f;
  f.Meshes.push_back(m);
  return f;
}

class MeshTest : public testsupport::MeshEngineTest {
 protected:
  void WriteQuad(const std::string& texture = "Wall.png") {
    WriteData("Meshes/Quad.x", formats::XFileText(TwoMaterialQuad(texture)));
  }
  void WriteTexture(const std::string& name, bool alpha) {
    formats::TestPicture pic(4, 4, 0xFF808080u);
    WriteData("Materials/" + name, formats::PngBytes(pic, alpha));
  }
};

}  // namespace

TEST_F(MeshTest, MaterialDefaultsFileAndOpaqueFlag) {
  CMaterial fresh;
  EXPECT_EQ(fresh.GetMaterial().Diffuse.r, 0.5f);
  EXPECT_EQ(fresh.GetMaterial().Ambient.a, 1.0f);
  EXPECT_EQ(fresh.GetMaterial().Emissive.a, 0.0f);
  EXPECT_TRUE(fresh.IsOpaque());
  platform::D3DMATERIAL9 m;
  m.Diffuse = m.Ambient = m.Specular = {1, 1, 1, 1};
  m.Emissive = {0, 0, 0, 1};
  fresh.SetFromD3DX(m);
  EXPECT_TRUE(fresh.IsOpaque());
  m.Specular.a = 0.9f;  // any alpha other than 1 makes it transparent
  fresh.SetFromD3DX(m);
  EXPECT_FALSE(fresh.IsOpaque());
  m.Specular.a = 1.0f;
  fresh.SetFromD3DX(m);
  EXPECT_FALSE(fresh.IsOpaque());  // never set again
  platform::D3DMATERIAL9 file;
  file.Diffuse = {0.25f, 0.5f, 0.75f, 1};
  file.Power = 12;
  WriteData("Materials/Red.mat", formats::MaterialFileBytes(file));
  CMaterial* red = g_pMaterialFactory->Get("red.mat");
  ASSERT_NE(red, g_pMaterialFactory->GetDefault());
  EXPECT_EQ(red->GetMaterial().Diffuse.b, 0.75f);
  EXPECT_EQ(red->GetMaterial().Power, 12.0f);
  // A short file keeps the values it does not reach.
  WriteData("Materials/Short.mat", formats::MaterialFileBytes(file).substr(0, 8));
  CMaterial* shortOne = g_pMaterialFactory->Get("Short.mat");
  EXPECT_EQ(shortOne->GetMaterial().Diffuse.g, 0.5f);
  EXPECT_EQ(shortOne->GetMaterial().Diffuse.b, 0.5f);  // new material's value
  EXPECT_EQ(g_pMaterialFactory->Get("missing.mat"), g_pMaterialFactory->GetDefault());
  // Generated names never touch the file system.
  CMaterial* gen = g_pMaterialFactory->Get("auto_thing");
  EXPECT_EQ(gen->GetName(), "AUTO_THING");
  EXPECT_EQ(gen->GetRefCount(), 1u);
}

TEST_F(MeshTest, TwoMaterialQuadGetsGeneratedMaterialsAndFittingBlocks) {
  WriteQuad();
  WriteTexture("Wall.png", false);
  CSimpleMesh* mesh = g_pSimpleMeshFactory->Get("quad.X");
  ASSERT_NE(mesh, nullptr);
  ASSERT_EQ(mesh->GetSubsets().size(), 2u);
  const CMeshSubset& s0 = mesh->GetSubsets()[0];
  const CMeshSubset& s1 = mesh->GetSubsets()[1];
  EXPECT_EQ(s0.GetName() + " " + s1.GetName(), "QUAD.X0 QUAD.X1");
  EXPECT_EQ(s0.GetMaterial()->GetName() + " " + s1.GetMaterial()->GetName(), "AUTO_QUAD_0 AUTO_QUAD_1");
  EXPECT_TRUE(s0.GetMaterial()->IsOpaque());
  EXPECT_FALSE(s1.GetMaterial()->IsOpaque());
  EXPECT_EQ(s1.GetMaterial()->GetMaterial().Diffuse.a, 0.5f);
  EXPECT_EQ(s0.GetShader(), g_pShaderFactory->GetDefault());
  EXPECT_EQ(s1.GetShader(), g_pShaderFactory->GetDefaultTransparent());
  EXPECT_EQ(s0.GetTextureNames(), "WALL.PNG");
  EXPECT_EQ(s1.GetTextureNames(), "__DEFAULT__");  // no texture: the empty default
  EXPECT_TRUE(s0.IsOpaque());
  // Each generated material is held once, by its subset.
  EXPECT_EQ(s0.GetMaterial()->GetRefCount(), 1u);
  // Bounding sphere around the 10 x 10 quad.
  EXPECT_EQ(mesh->GetBoundingSphereCenter(), D3DXVECTOR3(5, 5, 0));
  EXPECT_NEAR(mesh->GetBoundingSphereRadius(), 7.0711f, 1e-3f);
  EXPECT_EQ(mesh->GetBoundingBoxMin(), D3DXVECTOR3(0, 0, 0));
  EXPECT_EQ(mesh->GetBoundingBoxMax(), D3DXVECTOR3(10, 10, 0));
  // The second request shares it.
  EXPECT_EQ(g_pSimpleMeshFactory->Get("QUAD.X"), mesh);
  // Drawing a subset reaches the device.
  Device()->ClearLog();
  s1.Draw();
  EXPECT_EQ(Device()->Stats().draws, 1u);
}

TEST_F(MeshTest, TransparentTextureMakesTheSubsetTransparent) {
  WriteQuad("Glass.png");
  WriteTexture("Glass.png", true);
  CSimpleMesh* mesh = g_pSimpleMeshFactory->Get("Quad.x");
  ASSERT_NE(mesh, nullptr);
  const CMeshSubset& s0 = mesh->GetSubsets()[0];
  EXPECT_TRUE(s0.GetMaterial()->IsOpaque());
  EXPECT_FALSE(s0.IsOpaque());
  EXPECT_EQ(s0.GetShader(), g_pShaderFactory->GetDefaultTransparent());
}

TEST_F(MeshTest, SideFiles) {
  WriteQuad();
  // A new mesh factory, with the side file of the last block gone.
  const auto fresh = [&](const char* sideFile) {
    delete g_pSimpleMeshFactory;
    g_pSimpleMeshFactory = new CSimpleMeshFactory();
    platform::RemoveFile(m_Dir.File(sideFile));
    platform::ClearPathCache();
  };
  {  // .ush: every subset gets a block of its own, a copy of the fitting default
    WriteData("Materials/QUAD.ush", "");
    CSimpleMesh* mesh = g_pSimpleMeshFactory->Get("Quad.x");
    ASSERT_NE(mesh, nullptr);
    CShader* b0 = mesh->GetSubsets()[0].GetShader();
    CShader* b1 = mesh->GetSubsets()[1].GetShader();
    EXPECT_EQ(b0->GetName(), "AUTO_QUAD0");
    EXPECT_EQ(b1->GetName(), "AUTO_QUAD1");
    CShader* transparent = g_pShaderFactory->GetDefaultTransparent();
    CShader* opaque = g_pShaderFactory->GetDefault();
    for (uint32_t rs : {platform::D3DRS_ALPHABLENDENABLE, platform::D3DRS_ZWRITEENABLE}) {
      EXPECT_EQ(b0->GetRenderState(rs).value, opaque->GetRenderState(rs).value);
      EXPECT_EQ(b1->GetRenderState(rs).value, transparent->GetRenderState(rs).value);
    }
    // Changing one mesh's own block leaves the shared defaults alone.
    b0->SetRenderState(platform::D3DRS_ZWRITEENABLE, 0);
    EXPECT_NE(opaque->GetRenderState(platform::D3DRS_ZWRITEENABLE).value, 0u);
    fresh("Materials/QUAD.ush");
  }
  {  // .srf for subset 1: left without material and block
    WriteData("Materials/QUAD1.srf", "");
    CSimpleMesh* mesh = g_pSimpleMeshFactory->Get("Quad.x");
    ASSERT_EQ(mesh->GetSubsets().size(), 2u);
    EXPECT_TRUE(mesh->GetSubsets()[0].IsSetUp());
    EXPECT_FALSE(mesh->GetSubsets()[1].IsSetUp());
    EXPECT_EQ(mesh->GetSubsets()[1].GetMaterial(), nullptr);
    EXPECT_EQ(g_pMaterialFactory->Find("AUTO_QUAD_1"), nullptr);
    // Only the subset that was set up reaches the device.
    Device()->ClearLog();
    for (const CMeshSubset& s : mesh->GetSubsets()) s.Draw();
    EXPECT_EQ(Device()->Stats().draws, 1u);
    fresh("Materials/QUAD1.srf");
  }
  {  // .rfx next to the texture: a reflection map in stage 1, sphere-mapped
    WriteTexture("Wall.png", false);
    WriteTexture("Env.png", false);
    WriteData("Materials/Wall.png.rfx", "Env.png\r\nignored second line\r\n");
    CSimpleMesh* mesh = g_pSimpleMeshFactory->Get("Quad.x");
    const CMeshSubset& s0 = mesh->GetSubsets()[0];
    EXPECT_EQ(s0.GetTextures().GetCount(), 2u);
    EXPECT_EQ(s0.GetTextureNames(), "WALL.PNGENV.PNG");
    EXPECT_EQ(s0.GetShader()->GetName(), "AUTO_QUAD_REFLEX_0");
    EXPECT_EQ(s0.GetShader()->GetTextureStageState(1, platform::D3DTSS_COLOROP).value, platform::D3DTOP_MODULATE);
    EXPECT_EQ(s0.GetShader()->GetTextureStageState(1, platform::D3DTSS_TEXCOORDINDEX).value,
              platform::D3DTSS_TCI_SPHEREMAP);
    EXPECT_TRUE(s0.GetShader()->GetTextureStageState(1, platform::D3DTSS_TEXCOORDINDEX).defined);
    // Subset 1 has no texture, so no reflection.
    EXPECT_EQ(mesh->GetSubsets()[1].GetTextures().GetCount(), 1u);
    fresh("Materials/Wall.png.rfx");
  }
  {  // .MP: no subsets at all
    WriteData("Materials/QUAD.MP", "");
    CSimpleMesh* mesh = g_pSimpleMeshFactory->Get("Quad.x");
    ASSERT_NE(mesh, nullptr);
    EXPECT_TRUE(mesh->GetSubsets().empty());
  }
}

TEST_F(MeshTest, MeshWithoutMaterialsHasOneDefaultSubset) {
  XFileDesc f;
  f.Meshes.push_back(formats::QuadMesh(2.0f));
  WriteData("Meshes/Plain.x", formats::XFileBinary(f));
  CSimpleMesh* mesh = g_pSimpleMeshFactory->Get("Plain.x");
  ASSERT_NE(mesh, nullptr);
  ASSERT_EQ(mesh->GetSubsets().size(), 1u);
  const CMeshSubset& s = mesh->GetSubsets()[0];
  EXPECT_EQ(s.GetMaterial(), g_pMaterialFactory->GetDefault());
  EXPECT_EQ(s.GetShader(), g_pShaderFactory->GetDefault());
  EXPECT_EQ(s.GetTextures().GetCount(), 0u);
  EXPECT_TRUE(s.IsOpaque());
}

TEST_F(MeshTest, DestroyedMeshesGiveBackEveryReference) {
  WriteQuad();
  WriteTexture("Wall.png", false);
  ASSERT_NE(g_pSimpleMeshFactory->Get("Quad.x"), nullptr);
  EXPECT_NE(g_pMaterialFactory->Find("AUTO_QUAD_0"), nullptr);
  EXPECT_NE(g_pTextureFactory->Find("WALL.PNG"), nullptr);
  delete g_pSimpleMeshFactory;
  g_pSimpleMeshFactory = new CSimpleMeshFactory();
  EXPECT_EQ(g_pMaterialFactory->Find("AUTO_QUAD_0"), nullptr);
  EXPECT_EQ(g_pMaterialFactory->Find("AUTO_QUAD_1"), nullptr);
  EXPECT_EQ(g_pTextureFactory->Find("WALL.PNG"), nullptr);
  EXPECT_EQ(g_pShaderFactory->GetDefault()->GetRefCount(), 0u);
}

TEST_F(MeshTest, FailedLoadsAnswerNullAndAreTriedAgain) {
  EXPECT_EQ(g_pSimpleMeshFactory->Get("none.x"), nullptr);
  EXPECT_EQ(g_pSimpleMeshFactory->GetCount(), 0u);
  WriteData("Meshes/Broken.x", "xof 0303txt 0032\nMesh { 3; 0;0;0;; }");
  EXPECT_EQ(g_pSimpleMeshFactory->Get("broken.x"), nullptr);
  EXPECT_EQ(g_pSkinnedMeshFactory->Get("broken.x"), nullptr);
  EXPECT_EQ(g_pSkinnedMeshFactory->GetCount(), 0u);
  WriteQuad();
  WriteData("Meshes/Broken.x", formats::XFileText(TwoMaterialQuad()));
  EXPECT_NE(g_pSimpleMeshFactory->Get("broken.x"), nullptr);
}
