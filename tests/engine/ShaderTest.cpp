#include <gtest/gtest.h>

#include <string>

#include "engine/app/Engine.h"
#include "engine/resources/Shader.h"
#include "platform/Files.h"
#include "support/TempDir.h"
#include "tests/engine/GraphicsTestSupport.h"
#include "tools/formats/GraphicsFiles.h"

using namespace platform;
using Nembra::CShader;
using Nembra::CShaderFactory;

namespace {

// Render, sampler and stage state calls the device saw since its log was cleared.
std::vector<uint32_t> Calls(headless::RecordingDevice* d) {
  return {d->Stats().renderStateCalls, d->Stats().samplerStateCalls, d->Stats().stageStateCalls};
}

class ShaderTest : public testsupport::FactoryFolderTest<CShaderFactory> {
 protected:
  ShaderTest() : FactoryFolderTest(&Nembra::g_ShaderDirectory) {}
};

TEST_F(ShaderTest, DefaultBlockSendsEveryDefinedStateOnceThenNothing) {
  CShader block;
  uint32_t render, sampler, stage;
  block.CountApplied(&render, &sampler, &stage);
  EXPECT_EQ(std::vector<uint32_t>({render, sampler, stage}), std::vector<uint32_t>({103, 26, 36}));
  m_Wrapper->ForgetStateCache();  // a fresh cache
  Device()->ClearLog();
  EXPECT_TRUE(block.Apply(false));
  EXPECT_EQ(Calls(Device()), std::vector<uint32_t>({103, 26, 36}));
  // In increasing order: render states first, from ZENABLE up.
  EXPECT_EQ(Device()->RenderStateCalls().front().first, D3DRS_ZENABLE);
  EXPECT_EQ(Device()->RenderStateCalls().back().first, D3DRS_BLENDOPALPHA);
  // The values of the table reached the device.
  EXPECT_EQ(Device()->RenderState(D3DRS_CULLMODE), D3DCULL_CW);
  EXPECT_EQ(DwordToFloat(Device()->RenderState(D3DRS_POINTSIZE)), 64.0f);
  EXPECT_EQ(Device()->StageState(0, D3DTSS_COLOROP), D3DTOP_MODULATE);
  EXPECT_EQ(Device()->StageState(1, D3DTSS_COLOROP), D3DTOP_DISABLE);
  EXPECT_EQ(Device()->StageState(0, D3DTSS_ALPHAOP), D3DTOP_SELECTARG1);
  EXPECT_EQ(Device()->StageState(1, D3DTSS_TEXCOORDINDEX), 1u);
  EXPECT_EQ(Device()->StageState(0, D3DTSS_COLORARG2), D3DTA_CURRENT);
  Device()->ClearLog();
  EXPECT_TRUE(block.Apply(false));
  EXPECT_EQ(Device()->Log().size(), 0u);
  // Forced, everything again.
  EXPECT_TRUE(block.Apply(true));
  EXPECT_EQ(Device()->Stats().renderStateCalls, 103u);
}

TEST_F(ShaderTest, FactoryDefaultsAndAssignment) {
  CShader* def = m_Factory->Get("__DEFAULT__");
  ASSERT_EQ(def, m_Factory->GetDefault());
  EXPECT_EQ(def->GetSamplerState(1, D3DSAMP_MIPFILTER).value, D3DTEXF_LINEAR);
  EXPECT_EQ(def->GetRenderState(D3DRS_ALPHABLENDENABLE).value, 0u);
  m_Factory->Release("__DEFAULT__");
  m_Factory->Release("__default_transparent__");
  EXPECT_EQ(m_Factory->Find("__DEFAULT_TRANSPARENT__"), m_Factory->GetDefaultTransparent());
  // An "AUTO_" block made from the transparent default applies blending and linear filters.
  CShader* block = m_Factory->Get("AUTO_ENERGY_SHADER");
  *block = *m_Factory->GetDefaultTransparent();
  EXPECT_EQ(block->GetName(), "AUTO_ENERGY_SHADER");  // the name is not copied
  EXPECT_EQ(block->GetRefCount(), 1u);                // nor the count
  block->SetRenderState(D3DRS_ZWRITEENABLE, 0);
  EXPECT_TRUE(block->Apply(false));
  auto* d = Device();
  EXPECT_EQ(d->RenderState(D3DRS_ALPHABLENDENABLE), 1u);
  EXPECT_EQ(d->RenderState(D3DRS_SRCBLEND), D3DBLEND_SRCALPHA);
  EXPECT_EQ(d->RenderState(D3DRS_DESTBLEND), D3DBLEND_INVSRCALPHA);
  EXPECT_EQ(d->RenderState(D3DRS_ZWRITEENABLE), 0u);
  for (DWORD s = 0; s < 2; ++s)
    for (auto filter : {D3DSAMP_MAGFILTER, D3DSAMP_MINFILTER, D3DSAMP_MIPFILTER})
      EXPECT_EQ(d->SamplerState(s, filter), D3DTEXF_LINEAR) << s << " " << filter;
}

TEST_F(ShaderTest, GeneratedNamesNeverTouchTheDisk) {
  // A file of that name exists; a generated name still ignores it.
  formats::StateBlockFile file;
  file.renderStates = {{D3DRS_LIGHTING, 0}};
  WriteFile("AUTO_ENERGY_SHADER", formats::StateBlockFileBytes(file));
  CShader* a = m_Factory->Get("auto_energy_shader");
  ASSERT_NE(a, m_Factory->GetDefault());
  EXPECT_EQ(a->GetRenderState(D3DRS_LIGHTING).value, 1u);
  EXPECT_EQ(a->GetRefCount(), 1u);
  CShader* b = m_Factory->Get("AUTO_Energy_Shader");
  EXPECT_EQ(a, b);
  EXPECT_EQ(a->GetRefCount(), 2u);
  m_Factory->Release("auto_energy_shader");
  m_Factory->Release("auto_energy_shader");
  EXPECT_EQ(m_Factory->Find("AUTO_ENERGY_SHADER"), nullptr);
  // Without any file at all, a generated name is still made.
  EXPECT_NE(m_Factory->Get("AUTO_MARKER"), m_Factory->GetDefault());
}

TEST_F(ShaderTest, FileRoundTripKeepsUnnamedEntriesAndSkipsUndefinedNumbers) {
  formats::StateBlockFile file;
  file.renderStates = {{D3DRS_ALPHABLENDENABLE, 1}, {D3DRS_DESTBLEND, D3DBLEND_ONE}, {3, 77}};
  file.samplerStates[1] = {{D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP}};
  file.stageStates[0] = {{D3DTSS_COLOROP, D3DTOP_ADD}};
  file.stageStates[1] = {{D3DTSS_COLOROP, D3DTOP_MODULATE}, {D3DTSS_COLORARG1, D3DTA_TEXTURE}};
  WriteFile("Glow.blk", formats::StateBlockFileBytes(file));
  CShader* block = m_Factory->Get("glow.blk");
  ASSERT_NE(block, m_Factory->GetDefault());
  EXPECT_EQ(block->GetName(), "GLOW.BLK");
  EXPECT_EQ(block->GetRenderState(D3DRS_DESTBLEND).value, D3DBLEND_ONE);
  EXPECT_EQ(block->GetRenderState(D3DRS_ZENABLE).value, 1u);  // kept from the default table
  EXPECT_EQ(block->GetSamplerState(1, D3DSAMP_ADDRESSU).value, D3DTADDRESS_CLAMP);
  EXPECT_EQ(block->GetSamplerState(0, D3DSAMP_ADDRESSU).value, D3DTADDRESS_WRAP);
  EXPECT_EQ(block->GetTextureStageState(1, D3DTSS_COLOROP).value, D3DTOP_MODULATE);
  // Render state 3 is not one the device defines: stored, never sent.
  const Nembra::STATE_ENTRY undefined = block->GetRenderState(3);
  EXPECT_EQ(undefined.value, 77u);
  EXPECT_EQ(undefined.defined, 1);
  EXPECT_EQ(undefined.applied, 0);
  Device()->ClearLog();
  m_Wrapper->ForgetStateCache();
  block->Apply(false);
  for (const auto& call : Device()->RenderStateCalls()) EXPECT_NE(call.first, 3u);
  EXPECT_EQ(Device()->RenderState(D3DRS_ALPHABLENDENABLE), 1u);
  EXPECT_EQ(Device()->StageState(0, D3DTSS_COLOROP), D3DTOP_ADD);
}

TEST_F(ShaderTest, DamagedFiles) {
  // A count far beyond the file: only the pairs present are read.
  std::string huge;
  auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) huge.push_back(char((v >> (8 * i)) & 255));
  };
  u32(0xFFFFFFF0u);
  u32(D3DRS_CULLMODE);
  u32(D3DCULL_NONE);
  u32(D3DRS_FOGENABLE);  // a pair cut in half
  CShader a;
  ASSERT_TRUE(a.Load(WriteFile("Huge.blk", huge)));
  EXPECT_EQ(a.GetRenderState(D3DRS_CULLMODE).value, D3DCULL_NONE);
  EXPECT_EQ(a.GetRenderState(D3DRS_FOGENABLE).value, 0u);
  // Numbers outside the block are skipped, whatever the section.
  formats::StateBlockFile wild;
  wild.renderStates = {{210, 5}, {0xFFFFFFFFu, 5}, {D3DRS_ZFUNC, D3DCMP_ALWAYS}};
  wild.samplerStates[0] = {{14, 1}, {D3DSAMP_MAXANISOTROPY, 4}};
  wild.stageStates[1] = {{33, 1}, {1000000, 2}, {D3DTSS_RESULTARG, D3DTA_TEMP}};
  CShader b;
  ASSERT_TRUE(b.Load(WriteFile("Wild.blk", formats::StateBlockFileBytes(wild))));
  EXPECT_EQ(b.GetRenderState(D3DRS_ZFUNC).value, D3DCMP_ALWAYS);
  EXPECT_EQ(b.GetSamplerState(0, D3DSAMP_MAXANISOTROPY).value, 4u);
  EXPECT_EQ(b.GetTextureStageState(1, D3DTSS_RESULTARG).value, D3DTA_TEMP);
  EXPECT_EQ(b.GetRenderState(210).defined, 0);
  // A file that ends after the render states keeps what it read.
  formats::StateBlockFile shortFile;
  shortFile.renderStates = {{D3DRS_LIGHTING, 0}};
  std::string bytes = formats::StateBlockFileBytes(shortFile);
  bytes.resize(bytes.size() - 8);  // the four empty counts after it and one more byte
  bytes.pop_back();
  CShader c;
  ASSERT_TRUE(c.Load(WriteFile("Short.blk", bytes)));
  EXPECT_EQ(c.GetRenderState(D3DRS_LIGHTING).value, 0u);
  // An empty file loads as the default table; a missing one fails.
  CShader d;
  EXPECT_TRUE(d.Load(WriteFile("Empty.blk", "")));
  EXPECT_EQ(d.GetRenderState(D3DRS_LIGHTING).value, 1u);
  EXPECT_FALSE(d.Load(m_Dir.File("Materials/None.blk")));
  EXPECT_EQ(m_Factory->Get("none.blk"), m_Factory->GetDefault());
  EXPECT_EQ(m_Factory->Find("none.blk"), nullptr);
}

TEST_F(ShaderTest, WritersIgnoreNumbersOutsideTheBlock) {
  CShader block;
  EXPECT_FALSE(block.SetRenderState(210, 1));
  EXPECT_FALSE(block.SetSamplerState(2, D3DSAMP_ADDRESSU, 1));
  EXPECT_FALSE(block.SetSamplerState(0, 14, 1));
  EXPECT_FALSE(block.SetTextureStageState(0, 33, 1));
  EXPECT_FALSE(block.SetTextureStageState(2, D3DTSS_COLOROP, 1));
  EXPECT_EQ(block.GetRenderState(1000).value, 0u);
  // A written entry keeps its applied flag.
  EXPECT_TRUE(block.SetRenderState(D3DRS_AMBIENT, 0xFF202020u));
  EXPECT_EQ(block.GetRenderState(D3DRS_AMBIENT).applied, 1);
  EXPECT_TRUE(block.SetRenderState(4, 9));
  EXPECT_EQ(block.GetRenderState(4).applied, 0);
}

}  // namespace
