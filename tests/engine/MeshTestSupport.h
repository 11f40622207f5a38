#pragma once
// Engine mesh tests: a headless device wrapper, the graphics factories and a
// data folder of the test's own.
#include <gtest/gtest.h>

#include "engine/app/Engine.h"
#include "engine/resources/Material.h"
#include "engine/resources/Mesh.h"
#include "engine/resources/Shader.h"
#include "engine/resources/SkinnedMesh.h"
#include "engine/resources/Texture.h"
#include "engine/GraphicsTestSupport.h"
#include "platform/Files.h"
#include "support/TempDir.h"
#include "tools/formats/GraphicsFiles.h"
#include "tools/formats/TextFiles.h"
#include "tools/formats/XFileWriter.h"

namespace testsupport {

class MeshEngineTest : public HeadlessGraphicsTest {
 protected:
  void SetUp() override {
    HeadlessGraphicsTest::SetUp();
    ASSERT_TRUE(Create());
    m_OldData = Nembra::g_DataDirectory;
    Nembra::SetDataDirectory(m_Dir.Path() + "/");
    Nembra::g_pTextureFactory = new Nembra::CTextureFactory();
    Nembra::g_pMaterialFactory = new Nembra::CMaterialFactory();
    Nembra::g_pShaderFactory = new Nembra::CShaderFactory();
    Nembra::g_pSimpleMeshFactory = new Nembra::CSimpleMeshFactory();
    Nembra::g_pSkinnedMeshFactory = new Nembra::CSkinnedMeshFactory();
  }
  void TearDown() override {
    // The engine's shutdown deletes the factories and the skinning
    // matrices; the device wrapper belongs to the base fixture.
    Nembra::g_pGraphicsDevice = nullptr;
    Nembra::ShutdownEngine();
    Nembra::g_pGraphicsDevice = m_Wrapper;
    Nembra::SetDataDirectory(m_OldData);
    HeadlessGraphicsTest::TearDown();
  }
  // Writes a file under the data folder ("Meshes/A.X", "Materials/B.png").
  void WriteData(const std::string& name, const std::string& bytes) {
    ASSERT_TRUE(formats::WriteBytes(m_Dir.File(name), bytes));
    platform::ClearPathCache();
  }
  TempDir m_Dir;
  std::string m_OldData;
};

}  // namespace testsupport
