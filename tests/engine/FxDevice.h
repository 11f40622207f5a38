#pragma once
// A headless window and device wrapper for the effect, emitter and beam
// tests: the recording device shows what reached it.
#include <gtest/gtest.h>

#include "engine/app/Application.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/resources/Shader.h"
#include "engine/resources/Texture.h"
#include "platform/HeadlessGraphics.h"
#include "platform/Window.h"

namespace fxtest {

class DeviceFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::ResetGraphics();
    platform::RegisterWindowClass("FXTEST", &platform::DefWindowProc);
    m_Window = platform::CreateAppWindow("FXTEST", "fx", 0, 0, 0, 800, 600);
    ASSERT_NE(m_Window, nullptr);
    m_Device = new Nembra::CGraphicsDevice();
    Nembra::g_pGraphicsDevice = m_Device;
    Nembra::APPLICATION_PARAMS params;
    params.bitsPerPixel = 32;
    ASSERT_TRUE(m_Device->Create(m_Window, params));
    m_Recorder = platform::headless::CurrentDevice();
    ASSERT_NE(m_Recorder, nullptr);
    if (!Nembra::g_pTextureFactory) m_Textures = Nembra::g_pTextureFactory = new Nembra::CTextureFactory();
    if (!Nembra::g_pShaderFactory) m_Shaders = Nembra::g_pShaderFactory = new Nembra::CShaderFactory();
  }
  void TearDown() override {
    if (m_Shaders) {
      delete m_Shaders;
      Nembra::g_pShaderFactory = nullptr;
    }
    if (m_Textures) {
      delete m_Textures;
      Nembra::g_pTextureFactory = nullptr;
    }
    delete m_Device;
    Nembra::g_pGraphicsDevice = nullptr;
    if (m_Window) platform::DestroyWindow(m_Window);
    platform::UnregisterWindowClass("FXTEST");
  }

  platform::HWND m_Window = nullptr;
  Nembra::CGraphicsDevice* m_Device = nullptr;
  platform::headless::RecordingDevice* m_Recorder = nullptr;
  Nembra::CTextureFactory* m_Textures = nullptr;
  Nembra::CShaderFactory* m_Shaders = nullptr;
};

}  // namespace fxtest
