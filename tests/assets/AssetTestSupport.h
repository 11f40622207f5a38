#pragma once
// Tests of the generated demo data through the engine: the engine started
// on the headless backend (recording device, silent sound) with every
// resource folder pointed at the data folder the build wrote, as the game
// points them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/sound/SoundDevice.h"
#include "platform/Files.h"
#include "platform/Platform.h"
#include "platform/Window.h"
#include "platform/backends/headless/Headless.h"

namespace assettest {

inline std::string DataFolder() { return std::string(KARVESSA_DEMO_DATA_DIR) + "/"; }

class DemoAssetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::filesystem::is_directory(KARVESSA_DEMO_DATA_DIR)) << "the build writes " KARVESSA_DEMO_DATA_DIR;
    platform::headless::SetTime(1000);
    platform::RegisterWindowClass("ASSETTEST", platform::DefWindowProc);
    m_Window = platform::CreateAppWindow("ASSETTEST", "assets", 0, 0, 0, 800, 600);
    ASSERT_TRUE(m_Window);
    m_SavedData = Nembra::g_DataDirectory;
    const std::string data = DataFolder();
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
    platform::UnregisterWindowClass("ASSETTEST");
    Nembra::SetDataDirectory(m_SavedData);
    Nembra::g_AudiereSoundDirectory = "Sounds\\";
  }

  platform::HWND m_Window = nullptr;
  std::string m_SavedData;
};

}  // namespace assettest
