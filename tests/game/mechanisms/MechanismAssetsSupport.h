#pragma once
// The engine on the headless backend with every resource folder pointed at
// the generated demo data, as the game sets them up: meshes, textures,
// sounds and particle files all come from the data folder itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/resources/Mesh.h"
#include "engine/resources/SkinnedMesh.h"
#include "engine/sound/SoundDevice.h"
#include "platform/Files.h"
#include "platform/Window.h"
#include "platform/backends/headless/Headless.h"

namespace mechtest {

// Where the data folder's own files are, '/'-terminated.
inline std::string DemoData() { return std::string(KARVESSA_DEMO_DATA_DIR) + "/"; }

class DemoDataEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::filesystem::is_directory(KARVESSA_DEMO_DATA_DIR)) << "the build writes " KARVESSA_DEMO_DATA_DIR;
    platform::headless::SetTime(1000);
    platform::RegisterWindowClass("MechanismAssets", platform::DefWindowProc);
    m_Window = platform::CreateAppWindow("MechanismAssets", "assets", 0, 0, 0, 800, 600);
    ASSERT_TRUE(m_Window);
    m_SavedData = Nembra::g_DataDirectory;
    const std::string data = DemoData();
    Nembra::SetDataDirectory(data);
    for (std::string* folder : Nembra::ResourceDirectories()) *folder = data;
    platform::ClearPathCache();
    ASSERT_TRUE(Nembra::InitializeEngine());
    Nembra::APPLICATION_PARAMS params;
    params.windowed = true;
    params.bitsPerPixel = 32;
    params.depthBuffer = true;
    ASSERT_TRUE(Nembra::g_pGraphicsDevice->Create(m_Window, params));
    ASSERT_TRUE(Nembra::g_pSoundDevice->Initialize(m_Window, 44100, L""));
  }
  void TearDown() override {
    Nembra::ShutdownEngine();
    if (m_Window) platform::DestroyWindow(m_Window);
    platform::UnregisterWindowClass("MechanismAssets");
    Nembra::SetDataDirectory(m_SavedData);
    Nembra::g_AudiereSoundDirectory = "Sounds\\";
  }

  // The mesh as the factory loads it; null (and a failure) for the default.
  static Nembra::CSimpleMesh* SimpleMesh(const std::string& name) {
    Nembra::CSimpleMesh* mesh = Nembra::g_pSimpleMeshFactory->Get(name);
    EXPECT_NE(Nembra::g_pSimpleMeshFactory->Find(name), nullptr) << name << " did not load";
    return Nembra::g_pSimpleMeshFactory->Find(name) ? mesh : nullptr;
  }
  static Nembra::CSkinnedMesh* SkinnedMesh(const std::string& name) {
    Nembra::CSkinnedMesh* mesh = Nembra::g_pSkinnedMeshFactory->Get(name);
    EXPECT_NE(Nembra::g_pSkinnedMeshFactory->Find(name), nullptr) << name << " did not load";
    return Nembra::g_pSkinnedMeshFactory->Find(name) ? mesh : nullptr;
  }

  platform::HWND m_Window = nullptr;
  std::string m_SavedData;
};

// The axis-aligned extent of a loaded mesh's vertices.
struct Extent {
  D3DXVECTOR3 low{1e30f, 1e30f, 1e30f}, high{-1e30f, -1e30f, -1e30f};
  float Width() const { return high.x - low.x; }
  float Depth() const { return high.y - low.y; }
  float Height() const { return high.z - low.z; }
};

inline Extent MeshExtent(const Nembra::CSimpleMesh& mesh) {
  Extent e;
  platform::ID3DXMesh* m = mesh.GetMesh();
  void* data = nullptr;
  if (!m || m->LockVertexBuffer(0, &data) != platform::D3D_OK || !data) return e;
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  for (uint32_t i = 0; i < m->GetNumVertices(); ++i) {
    D3DXVECTOR3 p;
    std::memcpy(&p, bytes + size_t(i) * m->GetNumBytesPerVertex(), sizeof p);
    e.low = {std::min(e.low.x, p.x), std::min(e.low.y, p.y), std::min(e.low.z, p.z)};
    e.high = {std::max(e.high.x, p.x), std::max(e.high.y, p.y), std::max(e.high.z, p.z)};
  }
  m->UnlockVertexBuffer();
  return e;
}

}  // namespace mechtest
