// The scene drawn by the OpenGL device (Mesa's software renderer in CI):
// an opaque mesh, a transparent mesh, an upright and a screen-facing
// billboard and a plane sprite under a point light, seen from two camera
// positions. Each view is kept as a PNG under the test-image folder and
// probed at the projected places of the objects. Exits 77 (skipped) when
// there is no display to open the window on.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/app/Application.h"
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
#include "platform/Platform.h"
#include "support/Display.h"
#include "support/TempDir.h"
#include "tools/formats/GraphicsFiles.h"
#include "tools/formats/XFileWriter.h"

using namespace Nembra;

namespace {

class ImageApp : public CApplication {
 public:
  bool created = false;
  bool OnInit() override {
    created = g_pGraphicsDevice->Create(GetWindow(), GetParams());
    return created;
  }
};

int g_Failures = 0;

void Check(bool ok, const std::string& what) {
  std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
  if (!ok) ++g_Failures;
}

struct Pixel {
  int r, g, b;
};
Pixel Split(uint32_t argb) { return {int((argb >> 16) & 255), int((argb >> 8) & 255), int(argb & 255)}; }

// Where a world point lands on the 800 x 600 target.
bool Project(const CCamera& camera, const D3DXVECTOR3& p, int* x, int* y) {
  D3DXMATRIX vp;
  D3DXMatrixMultiply(&vp, &camera.GetView(), &camera.GetProjection());
  D3DXVECTOR4 clip;
  D3DXVec3Transform(&clip, &p, &vp);
  if (clip.w <= 0.0f) return false;
  *x = int((clip.x / clip.w + 1.0f) * 0.5f * 800.0f);
  *y = int((1.0f - clip.y / clip.w) * 0.5f * 600.0f);
  return *x >= 0 && *x < 800 && *y >= 0 && *y < 600;
}

// A square of size x size in the x-y plane from the origin, facing +z, cut
// into cells so that the per-vertex light shows its fall-off.
formats::XMeshDesc Grid(float size, int cells) {
  formats::XMeshDesc mesh;
  mesh.Name = "Grid";
  const float step = size / cells;
  for (int j = 0; j <= cells; ++j)
    for (int i = 0; i <= cells; ++i) {
      mesh.Positions.push_back({i * step, j * step, 0.0f});
      mesh.Normals.push_back({0.0f, 0.0f, 1.0f});
    }
  for (int j = 0; j < cells; ++j)
    for (int i = 0; i < cells; ++i) {
      const uint32_t a = uint32_t(j * (cells + 1) + i), b = a + 1, c = a + uint32_t(cells + 1), d = c + 1;
      mesh.Faces.push_back({a, b, d});
      mesh.Faces.push_back({a, d, c});
    }
  mesh.NormalFaces = mesh.Faces;
  return mesh;
}

// One frame of the scene; the back buffer read before it is shown.
bool RenderAndRead(std::vector<uint32_t>* argb) {
  g_pGraphicsDevice->BeginScene();
  g_pSceneManager->Update();
  g_pSceneManager->Render();
  uint32_t w = 0, h = 0;
  const bool read = g_pGraphicsDevice->GetDevice()->ReadBackBuffer(*argb, &w, &h) && w == 800 && h == 600;
  g_pGraphicsDevice->Present();
  return read;
}

std::string SolidPng(uint32_t argb) { return formats::PngBytes(formats::TestPicture(8, 8, argb), true); }

}  // namespace

int main() {
  if (!testsupport::HaveDisplay()) return testsupport::SKIPPED;
  platform::SetBackend(platform::Backend::SdlGl);
  testsupport::TempDir data;
  InitializeEngine();
  {
    ImageApp app;
    APPLICATION_PARAMS params;
    params.SetTitle("Karvessa scene image");
    params.windowed = true;
    params.bitsPerPixel = 32;
    if (!app.Init(params)) {
      std::printf("the window or the device could not be made: skipped\n");
      ShutdownEngine();
      return 77;
    }
    SetDataDirectory(data.Path() + "/");

    // Data: a white floor, a half-transparent red wall, and three textures.
    formats::XMeshDesc floor = Grid(400.0f, 16);
    formats::XMaterialDesc white;
    white.Face = {1, 1, 1, 1};
    floor.Materials = {white};
    floor.FaceMaterials.assign(floor.Faces.size(), 0);
    formats::XMeshDesc wall = floor;
    wall.Materials[0].Face = {1, 0, 0, 0.5f};
    for (auto* mesh : {&floor, &wall}) {
      formats::XFileDesc file;
      file.Meshes.push_back(*mesh);
      data.Write(std::string("Meshes/") + (mesh == &floor ? "Floor.x" : "Wall.x"), formats::XFileText(file));
    }
    data.Write("Materials/Green.png", SolidPng(0xFF00FF00u));
    data.Write("Materials/Yellow.png", SolidPng(0xFFFFFF00u));
    data.Write("Materials/Magenta.png", SolidPng(0xFFFF00FFu));

    CShader* quads = g_pShaderFactory->Get("AUTO_IMAGE_QUADS");
    *quads = *g_pShaderFactory->GetDefaultTransparent();
    quads->SetRenderState(platform::D3DRS_LIGHTING, 0);
    quads->SetRenderState(platform::D3DRS_CULLMODE, platform::D3DCULL_NONE);
    CShader* wallBlock = g_pShaderFactory->GetDefaultTransparent();
    wallBlock->SetRenderState(platform::D3DRS_CULLMODE, platform::D3DCULL_NONE);
    g_pShaderFactory->GetDefault()->SetRenderState(platform::D3DRS_AMBIENT, 0xFF202020u);
    wallBlock->SetRenderState(platform::D3DRS_AMBIENT, 0xFF202020u);
    // The lit colour's alpha (the material's 0.5) reaches the blend.
    wallBlock->SetTextureStageState(0, platform::D3DTSS_ALPHAOP, platform::D3DTOP_MODULATE);

    CSceneManager& scene = *g_pSceneManager;
    CCamera camera;
    camera.SetAspect(800.0f / 600.0f);
    scene.AddTargetNode(&camera);
    scene.SetCamera(&camera);
    scene.SetClearColor(D3DXCOLOR(0.0f, 0.0f, 0.25f, 1.0f));

    CStatic3DSprite floorSprite, wallSprite;
    floorSprite.SetMesh(g_pSimpleMeshFactory->Get("Floor.x"));
    floorSprite.SetPosition(-200, -200, 0);
    wallSprite.SetMesh(g_pSimpleMeshFactory->Get("Wall.x"));
    wallSprite.SetRotation(0, D3DX_PI / 2.0f, 0);  // stand the quad up in the x-z plane
    wallSprite.SetScale(0.3f);
    wallSprite.SetPosition(-60, -150, 0);
    scene.AddNode(&floorSprite);
    scene.AddNode(&wallSprite);

    auto billboard = [&](CStaticBillboard& b, const char* texture, bool upright, float w, float h) {
      BILLBOARD_DESC d;
      d.width = w;
      d.height = h;
      d.upright = upright ? 1 : 0;
      d.texture = g_pTextureFactory->Get(texture);
      d.stateBlock = quads;
      b.Create(d);
      b.GetBoundingSphere().radius = std::max(w, h);
      scene.AddNode(&b);
    };
    CStaticBillboard uprightBoard, facingBoard;
    billboard(uprightBoard, "Green.png", true, 60, 100);
    uprightBoard.SetPosition(-130, 60, 0);
    billboard(facingBoard, "Yellow.png", false, 50, 50);
    facingBoard.SetPosition(130, 60, 90);
    CPlaneSprite plane;
    PLANE_SPRITE_DESC pd;
    pd.width = 80;
    pd.height = 80;
    pd.texture = g_pTextureFactory->Get("Magenta.png");
    pd.stateBlock = quads;
    plane.Create(pd);
    plane.GetBoundingSphere().radius = 80;
    plane.SetPosition(-230, 100, 80);
    scene.AddNode(&plane);

    CPointLight* light = scene.CreatePointLight();
    light->SetPosition(0, -250, 150);
    light->SetRange(1000);
    light->SetAttenuation(1.0f, 0.0f, 0.0f);
    light->SetDiffuseColor(D3DXCOLOR(1, 1, 1, 1));
    light->Commit();

    struct View {
      const char* name;
      D3DXVECTOR3 eye;
    };
    const View views[] = {{"scene-front", {0, -600, 250}}, {"scene-side", {550, -300, 300}}};
    for (const View& view : views) {
      camera.SetPosition(view.eye);
      camera.GetTarget().SetPosition(0, 0, 40);
      std::vector<uint32_t> argb;
      const bool read = RenderAndRead(&argb);
      Check(read, std::string(view.name) + ": back buffer read");
      if (!read) continue;
      testsupport::SavePicture(view.name, argb);

      auto at = [&](const D3DXVECTOR3& p, const char* what) {
        int x = 0, y = 0;
        const bool inside = Project(camera, p, &x, &y);
        Check(inside, std::string(view.name) + ": " + what + " is on screen");
        return inside ? Split(argb[size_t(y) * 800 + size_t(x)]) : Pixel{-1, -1, -1};
      };
      const Pixel corner = Split(argb[5]);
      Check(corner.r < 10 && corner.g < 10 && std::abs(corner.b - 64) < 8, std::string(view.name) + ": clear colour");
      // The floor is bright near the light and darker far from it.
      const Pixel lit = at({100, -180, 0}, "floor near the light");
      const Pixel dim = at({150, 180, 0}, "floor far from the light");
      Check(lit.r > 170 && std::abs(lit.r - lit.g) < 12 && std::abs(lit.r - lit.b) < 12,
            std::string(view.name) + ": the floor near the light is lit white");
      Check(dim.r < lit.r - 40, std::string(view.name) + ": the light falls off across the floor");
      const Pixel green = at({-130, 60, 50}, "upright billboard");
      Check(green.g > 200 && green.r < 60 && green.b < 60, std::string(view.name) + ": upright billboard is green");
      const Pixel yellow = at({130, 60, 90}, "screen-facing billboard");
      Check(yellow.r > 200 && yellow.g > 200 && yellow.b < 60,
            std::string(view.name) + ": screen-facing billboard is yellow");
      const Pixel magenta = at({-230, 100, 80}, "plane sprite");
      Check(magenta.r > 200 && magenta.b > 200 && magenta.g < 60, std::string(view.name) + ": plane sprite is magenta");
      if (view.name != std::string("scene-front")) continue;
      // The wall in front of the floor: red blended over what lies behind
      // it (neither pure red nor the background).
      const Pixel wallPixel = at({0, -150, 40}, "transparent wall");
      Check(wallPixel.r > wallPixel.g + 40 && wallPixel.r < 250 && (wallPixel.g > 20 || wallPixel.b > 20),
            "transparent wall blends red over what is behind it");
    }
    scene.DeleteAllLights();
  }
  ShutdownEngine();
  std::printf("%d failures\n", g_Failures);
  return g_Failures == 0 ? 0 : 2;
}
