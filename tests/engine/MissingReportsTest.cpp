// What the data lacks is reported once, as "missing: <what>": textures,
// meshes and skinned meshes answered by their factory's default, particle
// files that cannot be read, and bones and animation sets a sprite's mesh
// does not have. Text ids, glyphs and sounds are tested with their kinds.
#include <gtest/gtest.h>

#include <memory>

#include "engine/MeshTestSupport.h"
#include "engine/particles/ParticleEmitter.h"
#include "engine/particles/ParticleFile.h"
#include "engine/scene/Animated3DSprite.h"
#include "support/MissingLog.h"
#include "tools/formats/DemoMeshes.h"
#include "tools/formats/PfxFile.h"

using namespace Nembra;
using Lines = std::vector<std::string>;

namespace {

class MissingReportsTest : public testsupport::MeshEngineTest {
 protected:
  void WriteTexture(const std::string& name) {
    WriteData("Materials/" + name, formats::PngBytes(formats::TestPicture(4, 4, 0xFF808080u), false));
  }
  void WritePfx(const std::string& name, const std::string& texture) {
    formats::PfxFile f;
    f.texture = texture;
    const std::vector<uint8_t> bytes = formats::PfxFileBytes(f);
    WriteData(name, std::string(bytes.begin(), bytes.end()));
  }
  testsupport::MissingLog m_Log;
};

TEST_F(MissingReportsTest, TextureServedByTheDefaultIsReportedOnceUnderItsRequestedName) {
  WriteTexture("Wall.png");
  CTexture* wall = g_pTextureFactory->Get("wall.png");
  EXPECT_NE(wall, g_pTextureFactory->GetDefault());
  EXPECT_EQ(g_pTextureFactory->Get("Foo.tga"), g_pTextureFactory->GetDefault());
  EXPECT_EQ(g_pTextureFactory->Get("Foo.tga"), g_pTextureFactory->GetDefault());  // asked again: tried, not logged
  EXPECT_EQ(g_pTextureFactory->Get("Sub\\Bar.png"), g_pTextureFactory->GetDefault());
  EXPECT_EQ(m_Log.Lines(), (Lines{"missing: texture Foo.tga", "missing: texture Sub\\Bar.png"}));
  // A file that turns up later loads; the report is not repeated either way.
  WriteTexture("Foo.tga");
  EXPECT_NE(g_pTextureFactory->Get("Foo.tga"), g_pTextureFactory->GetDefault());
  EXPECT_EQ(m_Log.Lines().size(), 2u);
  EXPECT_EQ(GetMissingReportCount(), 2u);
}

TEST_F(MissingReportsTest, NamesMadeInCodeAndPresentResourcesReportNothing) {
  WriteTexture("Wall.png");
  WriteData("Meshes/Bar.x", formats::XFileText(formats::BentBarFile()));
  EXPECT_NE(g_pTextureFactory->Get("WALL.PNG"), nullptr);
  EXPECT_NE(g_pSkinnedMeshFactory->Get("bar.X"), nullptr);
  EXPECT_EQ(g_pTextureFactory->Get("AUTO_SHADOW"), g_pTextureFactory->GetDefault());
  EXPECT_EQ(g_pSimpleMeshFactory->Get("AUTO_QUAD"), nullptr);
  EXPECT_EQ(g_pSkinnedMeshFactory->Get("AUTO_RIG"), nullptr);
  EXPECT_TRUE(m_Log.Lines().empty()) << m_Log.Lines().front();
}

TEST_F(MissingReportsTest, MeshesThatCannotLoadAreReportedByKind) {
  WriteData("Meshes/Broken.x", "xof 0303txt 0032\nMesh { 3; 0;0;0;; }");
  EXPECT_EQ(g_pSimpleMeshFactory->Get("Rock.X"), nullptr);
  EXPECT_EQ(g_pSkinnedMeshFactory->Get("Ene6.X"), nullptr);
  EXPECT_EQ(g_pSkinnedMeshFactory->Get("Ene6.X"), nullptr);
  EXPECT_EQ(g_pSimpleMeshFactory->Get("Broken.x"), nullptr);  // damaged counts as missing too
  EXPECT_EQ(m_Log.Lines(),
            (Lines{"missing: mesh Rock.X", "missing: skinned mesh Ene6.X", "missing: mesh Broken.x"}));
}

TEST_F(MissingReportsTest, ParticleFilesMissingOrDamagedAreReportedOnce) {
  WriteTexture("Spark.png");
  WritePfx("Sparks.pfx", "Spark.png");
  WritePfx("Smoke.pfx", "Smoke.png");  // its texture is the missing part
  WriteData("Cut.pfx", std::string(3, '\x01'));
  std::unique_ptr<CParticleEmitter> sparks(CreateParticleEmitter("Sparks.pfx"));
  EXPECT_NE(sparks, nullptr);
  EXPECT_TRUE(m_Log.Lines().empty());
  EXPECT_EQ(CreateParticleEmitter("Nowhere.pfx"), nullptr);
  EXPECT_EQ(CreateParticleEmitter("Nowhere.pfx"), nullptr);
  EXPECT_EQ(CreateParticleEmitter("Cut.pfx"), nullptr);
  std::unique_ptr<CParticleEmitter> smoke(CreateParticleEmitter("Smoke.pfx"));
  EXPECT_NE(smoke, nullptr);  // drawn with the default texture
  ASSERT_EQ(m_Log.Lines().size(), 3u);
  EXPECT_EQ(m_Log.Lines()[0], "missing: particle system Nowhere.pfx");
  EXPECT_EQ(m_Log.Lines()[1].rfind("missing: particle system Cut.pfx (damaged: ", 0), 0u) << m_Log.Lines()[1];
  EXPECT_EQ(m_Log.Lines()[2], "missing: texture Smoke.png");
}

TEST_F(MissingReportsTest, UnknownBonesAndAnimationSetsAreReportedWithTheirMesh) {
  WriteData("Meshes/Bar.x", formats::XFileText(formats::BentBarFile()));
  CSkinnedMesh* mesh = g_pSkinnedMeshFactory->Get("Bar.x");
  ASSERT_NE(mesh, nullptr);
  CAnimated3DSprite a, b;
  a.SetMesh(mesh);
  b.SetMesh(mesh);
  a.SetAnimation("Bend", true);
  EXPECT_NE(a.GetBoneMatrix("Upper"), nullptr);
  EXPECT_TRUE(m_Log.Lines().empty());
  a.SetAnimation("Reposo", true);
  EXPECT_EQ(a.GetCurrentSet(), nullptr);
  EXPECT_EQ(a.GetBoneMatrix("Boca"), nullptr);
  CSceneNode hand;
  EXPECT_FALSE(hand.AttachToBone(&b, "Boca"));  // a second sprite of the mesh: same report
  b.SetAnimation("Reposo", false);
  a.SetAnimationCallbacks("Golpe", {});
  EXPECT_EQ(m_Log.Lines(), (Lines{"missing: animation Reposo in BAR.X", "missing: bone Boca in BAR.X",
                                  "missing: animation Golpe in BAR.X"}));
  // A sprite without a mesh has nothing to look in: its mesh's own request
  // was the report.
  CAnimated3DSprite empty;
  empty.SetAnimation("Walk", true);
  EXPECT_EQ(empty.GetBoneMatrix("Hand"), nullptr);
  EXPECT_EQ(m_Log.Lines().size(), 3u);
}

TEST_F(MissingReportsTest, EngineStartForgetsEarlierReports) {
  EXPECT_EQ(g_pTextureFactory->Get("Foo.tga"), g_pTextureFactory->GetDefault());
  ResetMissingReports();
  EXPECT_EQ(GetMissingReportCount(), 0u);
  EXPECT_EQ(g_pTextureFactory->Get("Foo.tga"), g_pTextureFactory->GetDefault());
  EXPECT_EQ(m_Log.Lines(), (Lines{"missing: texture Foo.tga", "missing: texture Foo.tga"}));
  EXPECT_EQ(CharacterCodeName(L'\u0416'), "U+0416");
  EXPECT_EQ(CharacterCodeName(L'a'), "U+0061");
}

}  // namespace
