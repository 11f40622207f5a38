#pragma once
// A fixture with the headless graphics system and its recording device.
#include <gtest/gtest.h>

#include "platform/Graphics.h"
#include "platform/HeadlessGraphics.h"

namespace platformtest {

class HeadlessDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::ResetGraphics();
    m_System = platform::headless::CreateHeadlessGraphicsSystem();
    ASSERT_NE(m_System, nullptr);
    platform::D3DPRESENT_PARAMETERS pp;
    pp.BackBufferWidth = 800;
    pp.BackBufferHeight = 600;
    pp.BackBufferFormat = platform::D3DFMT_X8R8G8B8;
    pp.Windowed = 1;
    pp.EnableAutoDepthStencil = 1;
    ASSERT_EQ(m_System->CreateDevice(nullptr, 0, &pp, &m_Device), platform::D3D_OK);
    m_Rec = platform::headless::CurrentDevice();
    ASSERT_EQ(static_cast<platform::IDevice*>(m_Rec), m_Device);
  }
  void TearDown() override {
    if (m_Device) m_Device->Release();
    if (m_System) m_System->Release();
    EXPECT_EQ(platform::headless::CurrentDevice(), nullptr);
  }

  platform::IGraphicsSystem* m_System = nullptr;
  platform::IDevice* m_Device = nullptr;
  platform::headless::RecordingDevice* m_Rec = nullptr;
};

}  // namespace platformtest
