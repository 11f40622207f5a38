// One frame of scene update and render pass on the OpenGL device (Mesa's
// software renderer under Xvfb in CI), next to a floor: the same quads and
// billboards, with the same textures and as many draw calls, drawn by a
// minimal hand-written GL 3.3 path in the same window. The ratio of the two
// is the figure that holds across machines. Needs a display; without one it
// says so and runs nothing.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "SceneBenchScene.h"
#include "engine/app/Application.h"
#include "engine/scene/SceneManager.h"
#include "platform/Platform.h"

namespace {


class BenchApp : public Nembra::CApplication {
 public:
  bool OnInit() override { return Nembra::g_pGraphicsDevice->Create(GetWindow(), GetParams()); }
};

platform::IDevice* Device() { return Nembra::g_pGraphicsDevice->GetDevice(); }

void EngineFrame(scenebench::Scene& scene) {
  Nembra::g_pGraphicsDevice->BeginScene();
  scene.Frame();
  Nembra::g_pGraphicsDevice->Present();
}

// The device's counters of the last frame, as benchmark figures.
void ReportCounters(benchmark::State& state, const platform::DeviceFrameCounters& c) {
  state.counters["draws"] = c.draws;
  state.counters["programs"] = c.programBinds;
  state.counters["textures"] = c.textureBinds;
  state.counters["buffers"] = c.bufferBinds;
  state.counters["uploads"] = c.bufferUploads;
}

void SceneFrameOnGl(benchmark::State& state) {
  scenebench::Scene scene(int(state.range(0)));
  EngineFrame(scene);  // loads what the first frame needs
  for (auto _ : state) EngineFrame(scene);
  scene.Report(state);
  ReportCounters(state, Device()->GetFrameCounters());
}
BENCHMARK(SceneFrameOnGl)
    ->Arg(0)->Arg(25)->Arg(100)->Arg(200)->Arg(1000)->Arg(5000)
    ->Unit(benchmark::kMillisecond);

// The same frame after many lights have come and gone, as over many level
// starts (each gives out new light indices; the old ones are switched off
// and never given out again): 200 objects, then that many indices behind.
void SceneFrameOnGlAfterLightsCameAndWent(benchmark::State& state) {
  for (int64_t i = 0; i < state.range(0); ++i)
    Nembra::g_pSceneManager->DeleteLight(Nembra::g_pSceneManager->CreatePointLight());
  scenebench::Scene scene(200);
  EngineFrame(scene);
  for (auto _ : state) EngineFrame(scene);
  scene.Report(state);
  state.counters["stale_lights"] = double(state.range(0));
  ReportCounters(state, Device()->GetFrameCounters());
}
BENCHMARK(SceneFrameOnGlAfterLightsCameAndWent)->Arg(0)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// ---- The floor ----

const char* kFloorVertex = R"(#version 330 core
layout(location = 0) in vec3 aPos;
layout(location = 1) in vec2 aUv;
uniform mat4 uViewProj;
out vec2 vUv;
void main() {
  vec4 c = uViewProj * vec4(aPos, 1.0);
  c.z = 2.0 * c.z - c.w;
  gl_Position = c;
  vUv = aUv;
}
)";
const char* kFloorFragment = R"(#version 330 core
in vec2 vUv;
uniform sampler2D uTex;
out vec4 fragColor;
void main() { fragColor = texture(uTex, vUv); }
)";

GLuint Compile(GLenum type, const char* text) {
  GLuint s = glCreateShader(type);
  glShaderSource(s, 1, &text, nullptr);
  glCompileShader(s);
  return s;
}

// Its own context on the device's window, so that neither disturbs the
// other's state; the device's context is current again when it goes.
class Floor {
 public:
  Floor(int count, const D3DXMATRIX& view, const D3DXMATRIX& proj) {
    m_Window = SDL_GL_GetCurrentWindow();
    m_DeviceContext = SDL_GL_GetCurrentContext();
    const int interval = SDL_GL_GetSwapInterval();
    m_Context = SDL_GL_CreateContext(m_Window);
    if (!m_Context) return;
    SDL_GL_SetSwapInterval(interval);
    SDL_GL_GetDrawableSize(m_Window, &m_Width, &m_Height);

    m_Program = glCreateProgram();
    const GLuint vs = Compile(GL_VERTEX_SHADER, kFloorVertex), fs = Compile(GL_FRAGMENT_SHADER, kFloorFragment);
    glAttachShader(m_Program, vs);
    glAttachShader(m_Program, fs);
    glLinkProgram(m_Program);
    glDeleteShader(vs);
    glDeleteShader(fs);
    glUseProgram(m_Program);
    glUniform1i(glGetUniformLocation(m_Program, "uTex"), 0);
    D3DXMATRIX viewProj;
    D3DXMatrixMultiply(&viewProj, &view, &proj);
    glUniformMatrix4fv(glGetUniformLocation(m_Program, "uViewProj"), 1, GL_FALSE, &viewProj.m[0][0]);

    // The tiles and the marker, as the scene's data has them.
    glGenTextures(5, m_Textures);
    for (int t = 0; t < 5; ++t) {
      const std::vector<uint32_t> texels(16 * 16, t < 4 ? 0xFF406080u + 0x101010u * uint32_t(t) : 0x80FFFFFFu);
      glBindTexture(GL_TEXTURE_2D, m_Textures[t]);
      glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 16, 16, 0, GL_BGRA, GL_UNSIGNED_BYTE, texels.data());
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    }

    // Every quad in world space in one static buffer, six vertices each:
    // the props by texture, then the billboards facing the camera. Quads
    // wholly outside the view are left out, as the scene culls them.
    auto visible = [&](const float c[4][3]) {
      int outside[6] = {};
      const float* m = &viewProj.m[0][0];
      for (int k = 0; k < 4; ++k) {
        float clip[4];
        for (int j = 0; j < 4; ++j) clip[j] = c[k][0] * m[j] + c[k][1] * m[4 + j] + c[k][2] * m[8 + j] + m[12 + j];
        outside[0] += clip[0] < -clip[3];
        outside[1] += clip[0] > clip[3];
        outside[2] += clip[1] < -clip[3];
        outside[3] += clip[1] > clip[3];
        outside[4] += clip[2] < 0.0f;
        outside[5] += clip[2] > clip[3];
      }
      for (int o : outside)
        if (o == 4) return false;
      return true;
    };
    std::vector<float> v;
    auto quad = [&](const float c[4][3], const float uv[4][2]) {
      if (!visible(c)) return false;
      for (int i : {0, 1, 2, 0, 2, 3}) v.insert(v.end(), {c[i][0], c[i][1], c[i][2], uv[i][0], uv[i][1]});
      return true;
    };
    const float uv[4][2] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    for (int t = 0; t < 4; ++t) {
      for (int i = 0; i < count; ++i) {
        if ((i % scenebench::MESH_COUNT) % 4 != t) continue;
        const float x = float((i * 37) % 80) * 20.0f - 800.0f, y = float((i * 53) % 80) * 20.0f - 800.0f;
        const float size = 20.0f + float(i % scenebench::MESH_COUNT), a = 0.1f * float(i % 7);
        const float ca = std::cos(a), sa = std::sin(a);
        const float local[4][2] = {{0, 0}, {size, 0}, {size, size}, {0, size}};
        float c[4][3];
        for (int k = 0; k < 4; ++k) {
          c[k][0] = local[k][0] * ca - local[k][1] * sa + x;
          c[k][1] = local[k][0] * sa + local[k][1] * ca + y;
          c[k][2] = 0.0f;
        }
        if (quad(c, uv)) ++m_Props[t];
      }
    }
    const float right[3] = {view._11, view._21, view._31}, up[3] = {view._12, view._22, view._32};
    for (int i = 0; i < count; ++i) {
      const float centre[3] = {float((i * 37) % 80) * 20.0f - 790.0f, float((i * 53) % 80) * 20.0f - 790.0f, 30.0f};
      const float sx[4] = {-8, 8, 8, -8}, sy[4] = {-8, -8, 8, 8};
      float c[4][3];
      for (int k = 0; k < 4; ++k)
        for (int d = 0; d < 3; ++d) c[k][d] = centre[d] + right[d] * sx[k] + up[d] * sy[k];
      if (quad(c, uv)) ++m_Boards;
    }
    glGenVertexArrays(1, &m_Vao);
    glBindVertexArray(m_Vao);
    glGenBuffers(1, &m_Vbo);
    glBindBuffer(GL_ARRAY_BUFFER, m_Vbo);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(v.size() * sizeof(float)), v.data(), GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 20, nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 20, reinterpret_cast<const void*>(12));
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glViewport(0, 0, m_Width, m_Height);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  }
  ~Floor() {
    if (!m_Context) return;
    glDeleteBuffers(1, &m_Vbo);
    glDeleteVertexArrays(1, &m_Vao);
    glDeleteTextures(5, m_Textures);
    glDeleteProgram(m_Program);
    SDL_GL_MakeCurrent(m_Window, m_DeviceContext);
    SDL_GL_DeleteContext(m_Context);
  }
  bool Valid() const { return m_Context && glGetError() == GL_NO_ERROR; }
  int Draws() const { return m_Props[0] + m_Props[1] + m_Props[2] + m_Props[3] + m_Boards; }

  void Frame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    int first = 0;
    for (int t = 0; t < 4; ++t) {
      if (m_Props[t]) glBindTexture(GL_TEXTURE_2D, m_Textures[t]);
      for (int i = 0; i < m_Props[t]; ++i, first += 6) glDrawArrays(GL_TRIANGLES, first, 6);
    }
    glEnable(GL_BLEND);
    glDepthMask(GL_FALSE);
    glBindTexture(GL_TEXTURE_2D, m_Textures[4]);
    for (int i = 0; i < m_Boards; ++i, first += 6) glDrawArrays(GL_TRIANGLES, first, 6);
    SDL_GL_SwapWindow(m_Window);
  }

 private:
  int m_Props[4] = {}, m_Boards = 0;  // quads drawn per tile texture, billboards drawn
  SDL_Window* m_Window = nullptr;
  SDL_GLContext m_DeviceContext = nullptr, m_Context = nullptr;
  int m_Width = 800, m_Height = 600;
  GLuint m_Program = 0, m_Vao = 0, m_Vbo = 0, m_Textures[5] = {};
};

void FloorFrameOnGl(benchmark::State& state) {
  const int count = int(state.range(0));
  D3DXMATRIX view, proj;
  {
    // The camera of the engine's frame.
    scenebench::Scene scene(count);
    EngineFrame(scene);
    Device()->GetTransform(platform::D3DTS_VIEW, &view);
    Device()->GetTransform(platform::D3DTS_PROJECTION, &proj);
  }
  Floor floor(count, view, proj);
  if (!floor.Valid()) {
    state.SkipWithError("the floor's GL path could not be set up");
    return;
  }
  for (auto _ : state) floor.Frame();
  state.counters["objects"] = 2 * count;
  state.counters["draws"] = floor.Draws();
}
BENCHMARK(FloorFrameOnGl)
    ->Arg(0)->Arg(25)->Arg(100)->Arg(200)->Arg(1000)->Arg(5000)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
    std::printf("no display: nothing measured\n");
    return 0;
  }
  platform::SetBackend(platform::Backend::SdlGl);
  Nembra::InitializeEngine();
  int result = 0;
  {
    BenchApp app;
    Nembra::APPLICATION_PARAMS params;
    params.SetTitle("Karvessa scene benchmark");
    params.windowed = true;
    params.bitsPerPixel = 32;
    if (!app.Init(params)) {
      std::printf("the window or the device could not be made\n");
      result = 1;
    } else {
      scenebench::WriteData();
      benchmark::Initialize(&argc, argv);
      benchmark::RunSpecifiedBenchmarks();
      benchmark::Shutdown();
    }
  }
  Nembra::ShutdownEngine();
  return result;
}
