#pragma once
// The headless graphics device: no pixels, but it keeps every state it was
// given and counts and logs the calls, so tests of any subsystem can check
// what reached the device. It never fails unless a test tells it to.
//
// How a test uses it:
//   platform::headless::ResetGraphics();                  // fresh controls and log
//   ... the code under test creates its device through CreateGraphicsSystem ...
//   platform::headless::RecordingDevice* d = platform::headless::CurrentDevice();
//   EXPECT_EQ(d->Stats().draws, 1u);
//   EXPECT_EQ(d->RenderState(platform::D3DRS_ZWRITEENABLE), 0u);
//   EXPECT_EQ(d->BoundTexture(0), someTexture);
//   d->ClearLog();                                         // forget calls so far
//   d->LoseDevice();                                       // simulate a loss
// Failures are set through Controls() before (or after) the device exists.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Graphics.h"
#include "platform/backends/DeviceStates.h"

namespace platform {
namespace headless {

// What the headless system and device are told to do.
struct GraphicsControls {
  bool failSystemCreation = false;    // CreateGraphicsSystem answers null
  bool failDeviceCreation = false;    // CreateDevice fails
  int failResets = 0;                 // the next n Reset calls fail
  bool failSetRenderState = false;    // every state setter fails (sampler and stage too)
  bool failTextureCreation = false;   // CreateTexture fails
  int failTextureCreationWithLevels = -1;  // CreateTexture fails when asked for more than this many levels (-1: never)
  bool failBufferCreation = false;    // CreateVertexBuffer / CreateIndexBuffer fail
  bool failSetTransform = false;     // SetTransform fails
  bool failBeginScene = false;
  bool failEndScene = false;
  bool failPresent = false;
  // Display modes the adapter offers (width, height, format); the current
  // desktop mode is the first entry of this list.
  std::vector<D3DDISPLAYMODE> displayModes = {
      {800, 600, 60, D3DFMT_X8R8G8B8}, {800, 600, 60, D3DFMT_A8R8G8B8},
      {800, 600, 60, D3DFMT_R5G6B5},   {1024, 768, 60, D3DFMT_X8R8G8B8}};
  DWORD devCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT;
};

// Counts since creation or the last ClearLog.
struct GraphicsStats {
  uint32_t renderStateCalls = 0;
  uint32_t samplerStateCalls = 0;
  uint32_t stageStateCalls = 0;
  uint32_t draws = 0;  // every Draw* call that succeeded
  uint32_t primitives = 0;
  uint32_t textureBinds = 0;
  uint32_t transformCalls = 0;
  uint32_t lightCalls = 0;  // SetLight and LightEnable
  uint32_t materialCalls = 0;
  uint32_t clears = 0;
  uint32_t beginScenes = 0;
  uint32_t endScenes = 0;
  uint32_t presents = 0;
  uint32_t resets = 0;  // Reset calls, failed ones included
  uint32_t gammaRamps = 0;
  uint32_t locks = 0;
};

// One draw as the device saw it.
struct DrawRecord {
  D3DPRIMITIVETYPE type = 0;
  uint32_t primitiveCount = 0;
  bool indexed = false;
  bool userPointer = false;  // DrawPrimitiveUP / DrawIndexedPrimitiveUP
  DWORD fvf = 0;
  ITexture* texture0 = nullptr;  // bound to stage 0 at the time
  ITexture* texture1 = nullptr;
  DWORD alphaBlend = 0, srcBlend = 0, destBlend = 0, zWrite = 0, cull = 0, lighting = 0;
  DWORD textureFactor = 0;
  D3DXMATRIX world;
  std::vector<uint8_t> vertices;  // the vertices the draw read (up to 64 KiB)
};

class RecordingDevice : public IDevice {
 public:
  // Every state as last set (the platform's defaults before).
  DWORD RenderState(D3DRENDERSTATETYPE state) const;
  DWORD SamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type) const;
  DWORD StageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type) const;
  ITexture* BoundTexture(DWORD stage) const;
  D3DXMATRIX Transform(D3DTRANSFORMSTATETYPE state) const;
  const D3DMATERIAL9& Material() const { return m_Material; }
  D3DLIGHT9 Light(DWORD index) const;
  bool LightEnabled(DWORD index) const;
  const D3DGAMMARAMP& GammaRamp() const { return m_Gamma; }
  const D3DPRESENT_PARAMETERS& PresentParameters() const { return m_Params; }
  D3DCOLOR LastClearColor() const { return m_LastClearColor; }
  DWORD LastClearFlags() const { return m_LastClearFlags; }
  float LastClearZ() const { return m_LastClearZ; }
  bool InScene() const { return m_InScene; }

  const GraphicsStats& Stats() const { return m_Stats; }
  // What was kept is bounded (the first 100000 log lines and state calls of
  // each kind, 10000 draws, 64 MiB of their vertices); Stats counts everything.
  // One line per call: "SetRenderState 27 1", "DrawPrimitive 5 2", ...
  const std::vector<std::string>& Log() const { return m_Log; }
  const std::vector<DrawRecord>& Draws() const { return m_Draws; }
  // Every (state, value) pair in call order, for each kind of state.
  const std::vector<std::pair<DWORD, DWORD>>& RenderStateCalls() const { return m_RenderStateCalls; }
  // (sampler << 16 | type, value) and (stage << 16 | type, value).
  const std::vector<std::pair<DWORD, DWORD>>& SamplerStateCalls() const { return m_SamplerStateCalls; }
  const std::vector<std::pair<DWORD, DWORD>>& StageStateCalls() const { return m_StageStateCalls; }
  void ClearLog();

  // Device loss: TestCooperativeLevel reports DEVICELOST until
  // MakeResettable(), then DEVICENOTRESET until a Reset succeeds.
  void LoseDevice();
  void MakeResettable();
  bool IsLost() const { return m_Lost != 0; }

  // Number of live objects made by this device (textures, buffers).
  uint32_t LiveTextures() const { return m_LiveTextures; }
  uint32_t LiveBuffers() const { return m_LiveBuffers; }

  // IDevice
  HRESULT TestCooperativeLevel() override;
  HRESULT Reset(D3DPRESENT_PARAMETERS* params) override;
  HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
  HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
  HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override;
  HRESULT GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) override;
  HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
  HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override;
  HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DXMATRIX* matrix) override;
  HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DXMATRIX* matrix) override;
  HRESULT SetLight(DWORD index, const D3DLIGHT9* light) override;
  HRESULT GetLight(DWORD index, D3DLIGHT9* light) override;
  HRESULT LightEnable(DWORD index, BOOL enable) override;
  HRESULT GetLightEnable(DWORD index, BOOL* enable) override;
  HRESULT SetMaterial(const D3DMATERIAL9* material) override;
  HRESULT GetMaterial(D3DMATERIAL9* material) override;
  HRESULT SetViewport(const D3DVIEWPORT9* viewport) override;
  HRESULT GetViewport(D3DVIEWPORT9* viewport) override;
  HRESULT CreateTexture(uint32_t width, uint32_t height, uint32_t levels, DWORD usage, D3DFORMAT format,
                        D3DPOOL pool, ITexture** texture) override;
  HRESULT CreateVertexBuffer(uint32_t length, DWORD usage, DWORD fvf, D3DPOOL pool,
                             IVertexBuffer** buffer) override;
  HRESULT CreateIndexBuffer(uint32_t length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                            IIndexBuffer** buffer) override;
  HRESULT SetTexture(DWORD stage, ITexture* texture) override;
  HRESULT GetTexture(DWORD stage, ITexture** texture) override;
  HRESULT SetFVF(DWORD fvf) override;
  HRESULT SetStreamSource(uint32_t stream, IVertexBuffer* buffer, uint32_t offset, uint32_t stride) override;
  HRESULT SetIndices(IIndexBuffer* buffer) override;
  HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, uint32_t startVertex, uint32_t primitiveCount) override;
  HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, int32_t baseVertex, uint32_t minIndex,
                               uint32_t vertexCount, uint32_t startIndex, uint32_t primitiveCount) override;
  HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* vertices,
                          uint32_t stride) override;
  HRESULT DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t minIndex, uint32_t vertexCount,
                                 uint32_t primitiveCount, const void* indices, D3DFORMAT indexFormat,
                                 const void* vertices, uint32_t stride) override;
  HRESULT Clear(DWORD count, const RECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) override;
  HRESULT BeginScene() override;
  HRESULT EndScene() override;
  HRESULT Present() override;
  void SetGammaRamp(uint32_t swapChain, DWORD flags, const D3DGAMMARAMP* ramp) override;
  void GetGammaRamp(uint32_t swapChain, D3DGAMMARAMP* ramp) override;
  bool ReadBackBuffer(std::vector<uint32_t>& argb, uint32_t* width, uint32_t* height) override;

  explicit RecordingDevice(const D3DPRESENT_PARAMETERS& params);
  ~RecordingDevice() override;

  // Used by the device's own objects, which do not keep the device alive:
  // the link reads null once the device is gone.
  std::shared_ptr<RecordingDevice*> Link() const { return m_Self; }
  void ObjectMade(bool texture) { texture ? ++m_LiveTextures : ++m_LiveBuffers; }
  void ObjectGone(bool texture) { texture ? --m_LiveTextures : --m_LiveBuffers; }
  void CountLock() { ++m_Stats.locks; }

 private:
  void ResetStates();
  void Record(const std::string& line);
  HRESULT RecordDraw(D3DPRIMITIVETYPE type, uint32_t primitiveCount, bool indexed, bool userPointer,
                     const uint8_t* vertices, size_t bytes, const char* name);
  bool Lost() const { return m_Lost != 0; }

  detail::DeviceStates m_States;
  detail::DeviceBindings m_Bound;
  std::map<D3DTRANSFORMSTATETYPE, D3DXMATRIX> m_Transforms;
  std::map<DWORD, D3DLIGHT9> m_Lights;
  std::map<DWORD, bool> m_LightOn;
  uint32_t m_LightsOnCount = 0;  // entries of m_LightOn that are true
  D3DMATERIAL9 m_Material;
  D3DVIEWPORT9 m_Viewport;
  D3DGAMMARAMP m_Gamma;
  D3DPRESENT_PARAMETERS m_Params;
  D3DCOLOR m_LastClearColor = 0;
  DWORD m_LastClearFlags = 0;
  float m_LastClearZ = 0;
  bool m_InScene = false;
  int m_Lost = 0;  // 0 fine, 1 lost, 2 lost and resettable
  GraphicsStats m_Stats;
  std::vector<std::string> m_Log;
  std::vector<DrawRecord> m_Draws;
  size_t m_DrawVertexBytes = 0;  // vertex bytes kept in m_Draws
  std::vector<std::pair<DWORD, DWORD>> m_RenderStateCalls, m_SamplerStateCalls, m_StageStateCalls;
  uint32_t m_LiveTextures = 0, m_LiveBuffers = 0;
  std::shared_ptr<RecordingDevice*> m_Self;
};

// The controls of the headless system (shared by every system and device it makes).
GraphicsControls& Controls();
// The device made last by a headless system, while it lives; null otherwise.
RecordingDevice* CurrentDevice();
// Fresh controls; the current device (if any) keeps living.
void ResetGraphics();
// The headless system regardless of the chosen backend.
IGraphicsSystem* CreateHeadlessGraphicsSystem();

}  // namespace headless
}  // namespace platform
