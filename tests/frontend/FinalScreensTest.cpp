// The final and purchase screens: what they draw where, the textures they
// give back, and the buy-now button on the purchase screen refusing
// addresses that are not web pages while the game still ends.
#include <gtest/gtest.h>

#include <fstream>

#include "engine/app/Application.h"
#include "engine/resources/Texture.h"
#include "frontend/screens/BuyNow.h"
#include "frontend/screens/BuyNowButton.h"
#include "frontend/screens/FinalScreen.h"
#include "platform/Files.h"
#include "platform/Log.h"
#include "platform/Window.h"
#include "scenario/ScreenScenario.h"

using scenario::FrameInput;
using scenario::ScreenScenario;

namespace {

ScreenScenario::Options Writable() {
  ScreenScenario::Options o;
  o.writableData = true;
  return o;
}

struct ButtonScope {
  std::unique_ptr<CBuyNowButton> button = CreateBuyNowButton();
  ButtonScope() { g_pBuyNowButton = button.get(); }
  ~ButtonScope() {
    ReleaseBuyNowButton(button);
    g_pBuyNowButton = nullptr;
  }
};

}  // namespace

TEST(FinalScreen, DrawsPictureStripsButtonAndPointerAndGivesItsTexturesBack) {
  ScreenScenario s(Writable());
  ASSERT_TRUE(s.Ready()) << s.Problem();
  ButtonScope scope;
  for (const auto& [language, image] : {std::pair<const wchar_t*, const char*>{L"ENG", "Final_EN.png"},
                                        {L"SPA", "Final_ES.png"}, {L"RUS", "Final_RU.png"}, {L"XYZ", "Final_EN.png"}}) {
    CFinalScreen screen;
    screen.Init(language);
    EXPECT_EQ(screen.GetFinalImage(), image);
    s.Next().MoveTo(50, 60);
    s.Frame([&] { ScreenScenario::TwoPass([&] { screen.Update(); }, nullptr); });
    const auto& sprites = s.Last().sprites;
    ASSERT_EQ(sprites.size(), 6u) << "picture, three strips, button, pointer";
    EXPECT_EQ(sprites[0].Width(), 800.0f);
    EXPECT_EQ(sprites[0].Height(), 600.0f);
    const float tops[3] = {190.0f - 30.0f, 300.0f - 22.0f, 370.0f - 22.0f};
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(sprites[1 + i].texture, scenario::TextureOf(image));
      EXPECT_EQ(sprites[1 + i].srcTop, 60 * i);
      EXPECT_EQ(sprites[1 + i].left, 144.0f);
      EXPECT_EQ(sprites[1 + i].top, tops[i]);
    }
    EXPECT_EQ(sprites[4].left, 593.0f);
    EXPECT_EQ(sprites[4].top, 518.0f);
    EXPECT_EQ(sprites[5].left, 48.0f) << "the pointer's tip on the mouse";
    screen.Release();
    EXPECT_EQ(Nembra::g_pTextureFactory->Find(image), nullptr);
    EXPECT_EQ(Nembra::g_pTextureFactory->Find("BuyNowScreen.jpg"), nullptr);
  }
}

TEST(PurchaseScreen, StripCoversTheTopRowsAndRefusedAddressesStillEndTheGame) {
  ScreenScenario s(Writable());
  ASSERT_TRUE(s.Ready()) << s.Problem();
  ButtonScope scope;
  platform::SetLogHook([](platform::LogLevel, const std::string&) {});
  for (const char* url : {"file:///x", "javascript:alert(1)", "run.exe", "; rm -rf ~", "", "https://example.org/"}) {
    std::ofstream(s.DataFolder() + "Buynow.dat", std::ios::binary) << "[Buynow]\r\nURL=" << url << "\r\n";
    platform::ClearPathCache();
    Nembra::g_pApplication->WindowProc(Nembra::g_pApplication->GetWindow(), platform::WM_ACTIVATE, 1, 0);
    ASSERT_TRUE(Nembra::g_pApplication->IsActive());
    CBuyNowScreen screen;
    auto frame = [&] { ScreenScenario::TwoPass([&] { screen.Render(); }, nullptr); };
    s.Script({FrameInput().MoveTo(690, 550), FrameInput().Press(0), FrameInput().Release(0)});
    s.Frame(frame);
    const auto& sprites = s.Last().sprites;
    ASSERT_EQ(sprites.size(), 4u);
    EXPECT_EQ(sprites[1].srcTop, 600);
    EXPECT_EQ(sprites[1].srcBottom, 735);
    EXPECT_EQ(sprites[1].top, 0.0f);
    EXPECT_EQ(sprites[1].bottom, 135.0f);
    EXPECT_EQ(sprites[1].Width(), 800.0f);
    EXPECT_EQ(sprites[2].srcTop, 71) << "the button hovered";
    s.Frame(frame);
    s.Frame(frame);
    EXPECT_EQ(g_BuyNowAction.LastAddress(), url);
    EXPECT_EQ(g_BuyNowAction.LastOpened(), std::string(url) == "https://example.org/") << url;
    EXPECT_FALSE(Nembra::g_pApplication->IsActive()) << url;
  }
  platform::SetLogHook(nullptr);
}
