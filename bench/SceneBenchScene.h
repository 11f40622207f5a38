#pragma once
// The benchmark scene: n static sprites drawn from 20 meshes and n
// billboards, spread over a field in front of the camera, on whatever
// device the engine's device wrapper holds.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/resources/Mesh.h"
#include "engine/resources/Shader.h"
#include "engine/resources/Texture.h"
#include "engine/scene/Billboard.h"
#include "engine/scene/Camera.h"
#include "engine/scene/Light.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/StaticSprite.h"
#include "platform/Files.h"
#include "tools/formats/GraphicsFiles.h"
#include "tools/formats/XFileWriter.h"

namespace scenebench {

constexpr int MESH_COUNT = 20;

// Writes the meshes and textures into a fresh folder and points the data
// directory at it.
inline std::string WriteData() {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "karvessa-scene-bench";
  fs::create_directories(dir / "Meshes");
  fs::create_directories(dir / "Materials");
  for (int m = 0; m < MESH_COUNT; ++m) {
    formats::XMeshDesc mesh = formats::QuadMesh(20.0f + m);
    formats::XMaterialDesc material;
    material.Face = {0.5f + m * 0.02f, 0.6f, 0.7f, 1.0f};
    material.Texture = "Tile" + std::to_string(m % 4) + ".png";
    mesh.Materials = {material};
    mesh.FaceMaterials.assign(mesh.Faces.size(), 0);
    formats::XFileDesc file;
    file.Meshes.push_back(mesh);
    platform::WriteFileAtomic((dir / "Meshes" / ("Prop" + std::to_string(m) + ".x")).string(), formats::XFileText(file));
  }
  for (int t = 0; t < 4; ++t) {
    const std::string png = formats::PngBytes(formats::TestPicture(16, 16, 0xFF406080u + 0x101010u * t), false);
    platform::WriteFileAtomic((dir / "Materials" / ("Tile" + std::to_string(t) + ".png")).string(), png);
  }
  const std::string marker = formats::PngBytes(formats::TestPicture(16, 16, 0x80FFFFFFu), true);
  platform::WriteFileAtomic((dir / "Materials" / "Marker.png").string(), marker);
  const std::string data = dir.string() + "/";
  Nembra::SetDataDirectory(data);
  return data;
}

class Scene {
 public:
  explicit Scene(int count) : m_Sprites(count), m_Boards(count) {
    using namespace Nembra;
    m_Camera.SetAspect(800.0f / 600.0f);
    m_Camera.SetPosition(0.0f, -1500.0f, 600.0f);
    m_Camera.GetTarget().SetPosition(0.0f, 0.0f, 0.0f);
    g_pSceneManager->AddTargetNode(&m_Camera);
    g_pSceneManager->SetCamera(&m_Camera);
    CPointLight* light = g_pSceneManager->CreatePointLight();
    light->SetPosition(0.0f, 0.0f, 300.0f);
    light->SetRange(3000.0f);

    BILLBOARD_DESC desc;
    desc.width = desc.height = 16.0f;
    desc.texture = g_pTextureFactory->Get("Marker.png");
    desc.stateBlock = g_pShaderFactory->GetDefaultTransparent();
    for (int i = 0; i < count; ++i) {
      // A field 1600 wide and 1600 deep in front of the camera.
      const float x = float((i * 37) % 80) * 20.0f - 800.0f;
      const float y = float((i * 53) % 80) * 20.0f - 800.0f;
      m_Sprites[i].SetMesh(g_pSimpleMeshFactory->Get("Prop" + std::to_string(i % MESH_COUNT) + ".x"));
      m_Sprites[i].SetPosition(x, y, 0.0f);
      m_Sprites[i].SetRotationZ(0.1f * float(i % 7));
      g_pSceneManager->AddNode(&m_Sprites[i]);
      desc.upright = uint8_t(i % 2);
      m_Boards[i].Create(desc);
      m_Boards[i].GetBoundingSphere().radius = 16.0f;
      m_Boards[i].SetPosition(x + 10.0f, y + 10.0f, 30.0f);
      g_pSceneManager->AddNode(&m_Boards[i]);
    }
  }
  ~Scene() { Nembra::g_pSceneManager->DeleteAllLights(); }

  // One frame: the scene update (culling and submission) and the render pass.
  void Frame() {
    Nembra::g_pSceneManager->Update();
    Nembra::g_pSceneManager->Render();
  }
  int Objects() const { return int(m_Sprites.size() + m_Boards.size()); }
  // The figures every scene benchmark reports: the object count and the
  // time per object.
  void Report(benchmark::State& state) const {
    state.counters["objects"] = Objects();
    state.counters["per_object"] = benchmark::Counter(
        double(Objects()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  }

 private:
  Nembra::CCamera m_Camera;
  std::vector<Nembra::CStatic3DSprite> m_Sprites;
  std::vector<Nembra::CStaticBillboard> m_Boards;
};

}  // namespace scenebench
