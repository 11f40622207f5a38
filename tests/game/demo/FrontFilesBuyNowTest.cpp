// The purchase action: the address in "Buynow.dat", the addresses that are
// refused, and the game ending either way.
#include <gtest/gtest.h>

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "frontend/screens/BuyNow.h"
#include "platform/Files.h"
#include "platform/Log.h"
#include "platform/Window.h"
#include "support/TempDir.h"

namespace {

class ActiveApp : public Nembra::CApplication {
 public:
  void Activate() { m_Active = true; }
};

std::string Address(const std::string& text) {
  return ReadBuyNowAddress(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

class BuyNowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_OldData = Nembra::g_DataDirectory;
    Nembra::SetDataDirectory(m_Dir.Path() + "\\");
    platform::ClearPathCache();
    platform::headless::ResetEvents();
  }
  void TearDown() override {
    platform::headless::ResetEvents();
    Nembra::SetDataDirectory(m_OldData);
    platform::ClearPathCache();
  }
  // Runs the action with this "Buynow.dat" (none for null); true when the
  // application was told to quit.
  bool Execute(const char* file) {
    if (file) m_Dir.Write("Buynow.dat", file);
    platform::ClearPathCache();
    ActiveApp app;
    app.Activate();
    platform::headless::ResetEvents();
    g_BuyNowAction.Execute();
    platform::MSG msg{};
    bool quit = false;
    while (platform::PeekMessage(&msg)) quit = quit || msg.message == platform::WM_QUIT;
    return quit && !app.IsActive();
  }

  testsupport::TempDir m_Dir;
  std::string m_OldData;
};

}  // namespace

TEST(FrontFilesBuyNow, AddressIsTheUrlOfTheBuynowSection) {
  EXPECT_EQ(Address("[Buynow]\r\nURL=https://example.org/\r\n"), "https://example.org/");
  EXPECT_EQ(Address("\xEF\xBB\xBF[Buynow]\nURL=http://a.b/c?d=1&e=2\n"), "http://a.b/c?d=1&e=2");
  EXPECT_EQ(Address("[Other]\r\nURL=https://x/\r\n[Buynow]\r\nURL= https://y/\t\r\n"), "https://y/")
      << "the first Buynow section's value, blanks around it dropped";
  EXPECT_EQ(Address("[Buynow]\r\nAddress=https://x/\r\n"), "");
  EXPECT_EQ(Address(""), "");

  EXPECT_TRUE(IsPurchaseAddress("https://example.org/"));
  EXPECT_TRUE(IsPurchaseAddress("http://shop.example.com/buy?id=7"));
  for (const char* refused : {"file:///x", "javascript:alert(1)", "run.exe", "; rm -rf ~", "", "https://",
                              "HTTPS://example.org/", "https://x/ y", "https://x/\n", "-https://x/", " https://x/",
                              "ftp://x/", "https://x/\x7F"})
    EXPECT_FALSE(IsPurchaseAddress(refused)) << refused;
}

TEST_F(BuyNowTest, RefusedAddressesStartNothingAndTheGameQuitsAnyway) {
  platform::SetLogHook([](platform::LogLevel, const std::string&) {});
  for (const char* url : {"file:///x", "javascript:alert(1)", "run.exe", "; rm -rf ~", ""}) {
    EXPECT_TRUE(Execute((std::string("[Buynow]\r\nURL=") + url + "\r\n").c_str())) << url;
    EXPECT_EQ(g_BuyNowAction.LastAddress(), url);
    EXPECT_FALSE(g_BuyNowAction.LastOpened()) << url;
  }
  platform::SetLogHook(nullptr);

  EXPECT_TRUE(Execute("[Buynow]\r\nURL=https://example.org/\r\n"));
  EXPECT_EQ(g_BuyNowAction.LastAddress(), "https://example.org/");
  EXPECT_TRUE(g_BuyNowAction.LastOpened());

  // No file: nothing to open, still the end of the game.
  std::remove(m_Dir.File("Buynow.dat").c_str());
  platform::SetLogHook([](platform::LogLevel, const std::string&) {});
  EXPECT_TRUE(Execute(nullptr));
  platform::SetLogHook(nullptr);
  EXPECT_EQ(g_BuyNowAction.LastAddress(), "");
  EXPECT_FALSE(g_BuyNowAction.LastOpened());
}
