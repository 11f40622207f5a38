#pragma once
// The device wrapper on the recording device, with texture and shader
// factories, for the effect, emitter and beam tests.
#include <memory>

#include "engine/GraphicsTestSupport.h"
#include "engine/resources/Shader.h"
#include "engine/resources/Texture.h"

namespace fxtest {

class DeviceFixture : public testsupport::HeadlessGraphicsTest {
 protected:
  void SetUp() override {
    HeadlessGraphicsTest::SetUp();
    ASSERT_TRUE(Create());
    m_Device = m_Wrapper;
    m_Recorder = Device();
    ASSERT_NE(m_Recorder, nullptr);
    if (!Nembra::g_pTextureFactory) m_Textures.reset(Nembra::g_pTextureFactory = new Nembra::CTextureFactory());
    if (!Nembra::g_pShaderFactory) m_Shaders.reset(Nembra::g_pShaderFactory = new Nembra::CShaderFactory());
  }
  void TearDown() override {
    if (m_Shaders) m_Shaders.reset(), Nembra::g_pShaderFactory = nullptr;
    if (m_Textures) m_Textures.reset(), Nembra::g_pTextureFactory = nullptr;
    HeadlessGraphicsTest::TearDown();
  }
  Nembra::CGraphicsDevice* m_Device = nullptr;
  platform::headless::RecordingDevice* m_Recorder = nullptr;
  std::unique_ptr<Nembra::CTextureFactory> m_Textures;
  std::unique_ptr<Nembra::CShaderFactory> m_Shaders;
};

}  // namespace fxtest
