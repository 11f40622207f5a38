#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/app/Engine.h"
#include "engine/resources/Shader.h"
#include "engine/resources/Texture.h"
#include "tests/engine/GraphicsTestSupport.h"

using namespace platform;
using Nembra::CGraphicsDevice;

namespace {

class GraphicsDeviceTest : public testsupport::HeadlessGraphicsTest {};

// A volatile resource that writes what it is told into a shared journal.
class JournalResource : public Nembra::CVolatileResource {
 public:
  JournalResource(std::vector<std::string>* journal, std::string name) : m_Journal(journal), m_Label(std::move(name)) {}
  void OnLostDevice() override { m_Journal->push_back(m_Label + " lost"); }
  void OnResetDevice() override { m_Journal->push_back(m_Label + " reset"); }

 private:
  std::vector<std::string>* m_Journal;
  std::string m_Label;
};

TEST_F(GraphicsDeviceTest, CachedStatesReachTheDeviceOnlyWhenChangedOrForced) {
  ASSERT_TRUE(Create());
  auto* d = Device();
  d->ClearLog();
  EXPECT_TRUE(m_Wrapper->SetRenderState(D3DRS_ALPHABLENDENABLE, 1));
  EXPECT_TRUE(m_Wrapper->SetRenderState(D3DRS_ALPHABLENDENABLE, 1));
  EXPECT_EQ(d->Stats().renderStateCalls, 1u);
  EXPECT_TRUE(m_Wrapper->SetRenderState(D3DRS_ALPHABLENDENABLE, 1, true));
  EXPECT_EQ(d->Stats().renderStateCalls, 2u);
  EXPECT_EQ(d->RenderState(D3DRS_ALPHABLENDENABLE), 1u);
  // The same for sampler and stage states, per sampler and per stage.
  EXPECT_TRUE(m_Wrapper->SetSamplerState(1, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR));
  EXPECT_TRUE(m_Wrapper->SetSamplerState(1, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR));
  EXPECT_TRUE(m_Wrapper->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR));
  EXPECT_EQ(d->Stats().samplerStateCalls, 2u);
  EXPECT_TRUE(m_Wrapper->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_ADD));
  EXPECT_TRUE(m_Wrapper->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_ADD));
  EXPECT_TRUE(m_Wrapper->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_ADD, true));
  EXPECT_EQ(d->Stats().stageStateCalls, 2u);
  EXPECT_EQ(d->StageState(0, D3DTSS_COLOROP), D3DTOP_ADD);
}

TEST_F(GraphicsDeviceTest, FailedSetLeavesTheCacheSoTheNextSetTriesAgain) {
  ASSERT_TRUE(Create());
  auto* d = Device();
  headless::Controls().failSetRenderState = true;
  EXPECT_FALSE(m_Wrapper->SetRenderState(D3DRS_ZWRITEENABLE, 0));
  EXPECT_FALSE(m_Wrapper->GetStateCache().GetRenderState(D3DRS_ZWRITEENABLE).value == 0);
  headless::Controls().failSetRenderState = false;
  d->ClearLog();
  EXPECT_TRUE(m_Wrapper->SetRenderState(D3DRS_ZWRITEENABLE, 0));
  EXPECT_EQ(d->Stats().renderStateCalls, 1u);
  EXPECT_EQ(d->RenderState(D3DRS_ZWRITEENABLE), 0u);
}

TEST_F(GraphicsDeviceTest, SettersWithoutDeviceFailAndNumbersOutsideTheCacheStillReachTheDevice) {
  EXPECT_FALSE(m_Wrapper->SetRenderState(D3DRS_LIGHTING, 0));
  EXPECT_EQ(m_Wrapper->CheckDevice(), CGraphicsDevice::DEVICE_NONE);
  EXPECT_EQ(m_Wrapper->Reset(), CGraphicsDevice::RESET_NONE);
  ASSERT_TRUE(Create());
  auto* d = Device();
  d->ClearLog();
  // Sampler 3 is beyond the cache: never filtered, never stored.
  EXPECT_TRUE(m_Wrapper->SetSamplerState(3, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP));
  EXPECT_TRUE(m_Wrapper->SetSamplerState(3, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP));
  EXPECT_EQ(d->Stats().samplerStateCalls, 2u);
}

TEST_F(GraphicsDeviceTest, CreateSendsEveryCachedStateOnceAndMakesTheSprite) {
  ASSERT_TRUE(Create());
  auto* d = Device();
  ASSERT_NE(d, nullptr);
  EXPECT_NE(m_Wrapper->GetSprite(), nullptr);
  // 103 render states, 13 sampler states of samplers 0 and 1, 18 stage states of stages 0 and 1.
  const auto& stats = d->Stats();
  EXPECT_EQ(std::vector<uint32_t>({stats.renderStateCalls, stats.samplerStateCalls, stats.stageStateCalls}),
            std::vector<uint32_t>({103, 26, 36}));
  // Present parameters of a windowed device with a depth buffer, in the desktop's format.
  const D3DPRESENT_PARAMETERS& pp = d->PresentParameters();
  EXPECT_EQ(std::vector<uint64_t>({pp.BackBufferWidth, pp.BackBufferHeight, uint64_t(pp.BackBufferFormat),
                                   pp.BackBufferCount, uint64_t(pp.SwapEffect), uint64_t(pp.Windowed),
                                   uint64_t(pp.EnableAutoDepthStencil), uint64_t(pp.AutoDepthStencilFormat),
                                   uint64_t(pp.PresentationInterval)}),
            std::vector<uint64_t>({800, 600, D3DFMT_X8R8G8B8, 1, D3DSWAPEFFECT_DISCARD, 1, 1, D3DFMT_D16,
                                   D3DPRESENT_INTERVAL_IMMEDIATE}));
}

TEST_F(GraphicsDeviceTest, AWrapperSendsItsCacheToItsOwnDeviceNotTheEngineOne) {
  // Not the engine's wrapper: creation and reset must still reach this device.
  Nembra::g_pGraphicsDevice = nullptr;
  ASSERT_TRUE(Create());
  EXPECT_EQ(Device()->Stats().renderStateCalls, 103u);
  m_Wrapper->SetRenderState(D3DRS_ZWRITEENABLE, 0);
  Device()->ClearLog();
  EXPECT_EQ(m_Wrapper->Reset(), CGraphicsDevice::RESET_DONE);
  EXPECT_EQ(Device()->Stats().renderStateCalls, 103u);
  EXPECT_EQ(Device()->RenderState(D3DRS_ZWRITEENABLE), 0u);
}

TEST_F(GraphicsDeviceTest, CreatingTwiceResetsTheDeviceAndKeepsOneSprite) {
  ASSERT_TRUE(Create());
  platform::ISprite* sprite = m_Wrapper->GetSprite();
  auto* device = Device();
  ASSERT_TRUE(Create());
  EXPECT_EQ(m_Wrapper->GetSprite(), sprite);
  EXPECT_EQ(Device(), device);
  EXPECT_EQ(device->Stats().resets, 1u);
}

TEST_F(GraphicsDeviceTest, CreationFailures) {
  // No graphics system: false, silently.
  headless::Controls().failSystemCreation = true;
  EXPECT_FALSE(Create());
  EXPECT_TRUE(headless::MessageBoxes().empty());
  // No device: the sprite cannot be made, "Error fatal".
  headless::ResetGraphics();
  headless::Controls().failDeviceCreation = true;
  EXPECT_FALSE(Create());
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(headless::MessageBoxes()[0].first, "Error fatal");
  EXPECT_EQ(headless::MessageBoxes()[0].second, "Error");
  EXPECT_EQ(m_Wrapper->GetDevice(), nullptr);
}

TEST_F(GraphicsDeviceTest, FullScreenFormatChoice) {
  headless::Controls().displayModes = {{800, 600, 60, D3DFMT_X8R8G8B8}, {800, 600, 60, D3DFMT_A8R8G8B8},
                                       {640, 480, 60, D3DFMT_R5G6B5},   {800, 600, 75, D3DFMT_X1R5G5B5},
                                       {800, 600, 60, D3DFMT_A1R5G5B5}};
  ASSERT_TRUE(Create());
  // A8R8G8B8 comes first for 32 bits even when X8R8G8B8 is offered too.
  EXPECT_EQ(m_Wrapper->FindFullscreenFormat(800, 600, 32), D3DFMT_A8R8G8B8);
  // R5G6B5 exists only at another size: the next 16-bit format is taken.
  EXPECT_EQ(m_Wrapper->FindFullscreenFormat(800, 600, 16), D3DFMT_X1R5G5B5);
  EXPECT_EQ(m_Wrapper->FindFullscreenFormat(640, 480, 16), D3DFMT_R5G6B5);
  EXPECT_EQ(m_Wrapper->FindFullscreenFormat(640, 480, 32), 0u);
  EXPECT_EQ(m_Wrapper->FindFullscreenFormat(800, 600, 24), 0u);
  EXPECT_TRUE(m_Wrapper->HasDisplayMode(800, 600, D3DFMT_A1R5G5B5));
  EXPECT_FALSE(m_Wrapper->HasDisplayMode(800, 601, D3DFMT_A1R5G5B5));
}

TEST_F(GraphicsDeviceTest, FullScreenDeviceUsesTheChosenFormatAndNeedsOne) {
  EXPECT_FALSE(Create(false, 24));  // no format for 24 bits: no device
  EXPECT_EQ(m_Wrapper->GetDevice(), nullptr);
  ASSERT_TRUE(Create(false, 32));
  EXPECT_EQ(Device()->PresentParameters().BackBufferFormat, D3DFMT_A8R8G8B8);
  EXPECT_EQ(Device()->PresentParameters().Windowed, 0);
}

TEST_F(GraphicsDeviceTest, ClearPacksTheClearColour) {
  ASSERT_TRUE(Create());
  m_Wrapper->SetClearColor(1.5f, -0.2f, 0.5f, 1.0f);
  EXPECT_EQ(m_Wrapper->Clear(), D3D_OK);
  EXPECT_EQ(Device()->LastClearColor(), 0xFFFF0080u);
  EXPECT_EQ(Device()->LastClearFlags(), D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
  EXPECT_EQ(Device()->LastClearZ(), 1.0f);
  // The default clear colour is opaque black.
  CGraphicsDevice fresh;
  EXPECT_EQ(PackColor(fresh.GetClearColor().r, fresh.GetClearColor().g, fresh.GetClearColor().b,
                      fresh.GetClearColor().a),
            0xFF000000u);
}

TEST_F(GraphicsDeviceTest, ClearWithoutDepthBufferClearsOnlyTheTarget) {
  ASSERT_TRUE(Create(true, 32, false));
  EXPECT_EQ(m_Wrapper->Clear(), D3D_OK);
  EXPECT_EQ(Device()->LastClearFlags(), D3DCLEAR_TARGET);
}

TEST_F(GraphicsDeviceTest, GammaRampEntries) {
  // {gamma, channel, entry, value}
  const struct { float gamma; uint16_t (D3DGAMMARAMP::*channel)[256]; int entry; int value; } rows[] = {
      {1.0f, &D3DGAMMARAMP::red, 0, 0},         {1.0f, &D3DGAMMARAMP::red, 255, 65280},
      {1.0f, &D3DGAMMARAMP::green, 128, 32768}, {1.5f, &D3DGAMMARAMP::red, 0, 32768},
      {1.5f, &D3DGAMMARAMP::blue, 200, 65535},  {1.5f, &D3DGAMMARAMP::green, 127, 32512 + 32768},
      {0.25f, &D3DGAMMARAMP::red, 0, 0},        {0.25f, &D3DGAMMARAMP::red, 255, 65280 - 49152}};
  for (const auto& r : rows) {
    D3DGAMMARAMP ramp;
    CGraphicsDevice::BuildGammaRamp(r.gamma, &ramp);
    EXPECT_EQ((ramp.*r.channel)[r.entry], r.value) << r.gamma << " entry " << r.entry;
  }
  // Through the device, and back to the saved ramp.
  m_Wrapper->SetGamma(1.5f);  // no device: nothing happens
  ASSERT_TRUE(Create());
  m_Wrapper->SetGamma(1.5f);
  EXPECT_EQ(Device()->GammaRamp().red[0], 32768);
  m_Wrapper->RestoreGamma();
  EXPECT_EQ(Device()->GammaRamp().red[0], 0);
  EXPECT_EQ(Device()->GammaRamp().red[255], 65535);
}

TEST_F(GraphicsDeviceTest, ResetProtocolWithLossFailureAndRetry) {
  ASSERT_TRUE(Create());
  auto* d = Device();
  std::vector<std::string> journal;
  JournalResource a(&journal, "a"), b(&journal, "b");
  ASSERT_TRUE(m_Wrapper->AddVolatileResource(&a));
  ASSERT_TRUE(m_Wrapper->AddVolatileResource(&b));
  int lightRestores = 0;
  m_Wrapper->SetRestoreLightsCallback([&] { ++lightRestores; });
  EXPECT_EQ(m_Wrapper->CheckDevice(), CGraphicsDevice::DEVICE_READY);
  m_Wrapper->SetRenderState(D3DRS_ZWRITEENABLE, 0);
  d->LoseDevice();
  EXPECT_EQ(m_Wrapper->CheckDevice(), CGraphicsDevice::DEVICE_LOST);
  d->MakeResettable();
  EXPECT_EQ(m_Wrapper->CheckDevice(), CGraphicsDevice::DEVICE_NOT_RESET);
  // The first reset fails: the resources are released and stay so.
  headless::Controls().failResets = 1;
  EXPECT_EQ(m_Wrapper->Reset(), CGraphicsDevice::RESET_FAILED);
  EXPECT_EQ(journal, (std::vector<std::string>{"a lost", "b lost"}));
  EXPECT_EQ(lightRestores, 0);
  EXPECT_EQ(m_Wrapper->CheckDevice(), CGraphicsDevice::DEVICE_NOT_RESET);
  // A resource listed while the device is down is released by the retry
  // too, before the device resets; then all are restored in order.
  JournalResource c(&journal, "c");
  ASSERT_TRUE(m_Wrapper->AddVolatileResource(&c));
  journal.clear();
  d->ClearLog();
  EXPECT_EQ(m_Wrapper->Reset(), CGraphicsDevice::RESET_DONE);
  EXPECT_EQ(journal, (std::vector<std::string>{"a lost", "b lost", "c lost", "a reset", "b reset", "c reset"}));
  m_Wrapper->RemoveVolatileResource(&c);
  EXPECT_EQ(lightRestores, 1);
  EXPECT_EQ(m_Wrapper->CheckDevice(), CGraphicsDevice::DEVICE_READY);
  // The device forgot its states; the cache sent them all again, the changed one included.
  EXPECT_EQ(d->Stats().renderStateCalls, 103u);
  EXPECT_EQ(d->RenderState(D3DRS_ZWRITEENABLE), 0u);
  // A second reset releases and restores again.
  journal.clear();
  EXPECT_EQ(m_Wrapper->Reset(), CGraphicsDevice::RESET_DONE);
  EXPECT_EQ(journal, (std::vector<std::string>{"a lost", "b lost", "a reset", "b reset"}));
  m_Wrapper->RemoveVolatileResource(&a);
  m_Wrapper->RemoveVolatileResource(&b);
}

TEST_F(GraphicsDeviceTest, CreateDeviceOnAnExistingDeviceReportsTheReset) {
  ASSERT_TRUE(Create());
  Nembra::APPLICATION_PARAMS params;
  headless::Controls().failResets = 1;
  EXPECT_FALSE(m_Wrapper->CreateDevice(&m_Window, params));
  EXPECT_TRUE(m_Wrapper->CreateDevice(&m_Window, params));
  EXPECT_EQ(Device()->Stats().resets, 2u);
}

TEST_F(GraphicsDeviceTest, VolatileResourceList) {
  std::vector<std::string> journal;
  JournalResource a(&journal, "a"), b(&journal, "b");
  EXPECT_FALSE(m_Wrapper->AddVolatileResource(nullptr));
  EXPECT_FALSE(m_Wrapper->RemoveVolatileResource(nullptr));
  EXPECT_TRUE(m_Wrapper->RemoveVolatileResource(&a));  // not listed: still true
  m_Wrapper->AddVolatileResource(&a);
  m_Wrapper->AddVolatileResource(&b);
  m_Wrapper->AddVolatileResource(&a);
  EXPECT_TRUE(m_Wrapper->RemoveVolatileResource(&a));  // the first entry only
  ASSERT_EQ(m_Wrapper->GetVolatileResources().size(), 2u);
  EXPECT_EQ(m_Wrapper->GetVolatileResources()[0], &b);
  EXPECT_EQ(m_Wrapper->GetVolatileResources()[1], &a);
}

TEST_F(GraphicsDeviceTest, DestroyedResourcesLeaveTheList) {
  ASSERT_TRUE(Create());
  std::vector<std::string> journal;
  JournalResource kept(&journal, "kept");
  m_Wrapper->AddVolatileResource(&kept);
  {
    JournalResource gone(&journal, "gone");
    m_Wrapper->AddVolatileResource(&gone);
    m_Wrapper->AddVolatileResource(&gone);  // listed twice: both entries go
  }
  ASSERT_EQ(m_Wrapper->GetVolatileResources().size(), 1u);
  EXPECT_EQ(m_Wrapper->Reset(), CGraphicsDevice::RESET_DONE);
  EXPECT_EQ(journal, (std::vector<std::string>{"kept lost", "kept reset"}));
}

TEST_F(GraphicsDeviceTest, SceneAndPresent) {
  EXPECT_FALSE(m_Wrapper->BeginScene());
  EXPECT_FALSE(m_Wrapper->Present());
  ASSERT_TRUE(Create());
  EXPECT_TRUE(m_Wrapper->BeginScene());
  EXPECT_TRUE(m_Wrapper->Present());
  EXPECT_EQ(Device()->Stats().presents, 1u);
  // EndScene failing: no Present.
  EXPECT_TRUE(m_Wrapper->BeginScene());
  headless::Controls().failEndScene = true;
  EXPECT_FALSE(m_Wrapper->Present());
  EXPECT_EQ(Device()->Stats().presents, 1u);
  headless::Controls().failEndScene = false;
  Device()->EndScene();
  EXPECT_TRUE(m_Wrapper->BeginScene());
  headless::Controls().failPresent = true;
  EXPECT_FALSE(m_Wrapper->Present());
}

TEST_F(GraphicsDeviceTest, SpriteBatchDrawsBlendedQuadsAndGivesItsStatesBack) {
  ASSERT_TRUE(Create());
  auto* d = Device();
  ITexture* texture = nullptr;
  ASSERT_EQ(d->CreateTexture(64, 32, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture), D3D_OK);
  m_Wrapper->SetRenderState(D3DRS_ZENABLE, 1);
  d->ClearLog();
  ASSERT_TRUE(m_Wrapper->BeginSprite(D3DXSPRITE_ALPHABLEND));
  RECT src{0, 0, 32, 32};
  D3DXVECTOR3 center(16, 16, 0), position(100, 50, 0);
  EXPECT_EQ(m_Wrapper->GetSprite()->Draw(texture, &src, &center, &position, 0x80FFFFFFu), D3D_OK);
  EXPECT_EQ(m_Wrapper->GetSprite()->Draw(texture, nullptr, nullptr, nullptr, 0xFFFFFFFFu), D3D_OK);
  m_Wrapper->EndSprite();
  ASSERT_EQ(d->Draws().size(), 1u);  // one texture, one draw
  const auto& draw = d->Draws()[0];
  EXPECT_EQ(draw.primitiveCount, 4u);
  EXPECT_EQ(draw.fvf, D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1);
  EXPECT_EQ(std::vector<DWORD>({draw.alphaBlend, draw.srcBlend, draw.destBlend}),
            std::vector<DWORD>({1u, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA}));
  EXPECT_EQ(draw.texture0, texture);
  // First vertex: the top-left corner, centre subtracted, on pixel edges.
  ASSERT_GE(draw.vertices.size(), 28u);
  float xyzw[4];
  std::memcpy(xyzw, draw.vertices.data(), sizeof xyzw);
  EXPECT_FLOAT_EQ(xyzw[0], 100 - 16 - 0.5f);
  EXPECT_FLOAT_EQ(xyzw[1], 50 - 16 - 0.5f);
  // The states are what they were before the batch, and the texture is unbound.
  EXPECT_EQ(std::vector<DWORD>({d->RenderState(D3DRS_ZENABLE), d->RenderState(D3DRS_ALPHABLENDENABLE),
                                 d->RenderState(D3DRS_LIGHTING)}),
            std::vector<DWORD>({1u, 0u, 1u}));
  EXPECT_EQ(d->BoundTexture(0), nullptr);
  texture->Release();
}

}  // namespace
