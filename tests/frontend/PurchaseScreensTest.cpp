// The buy-now button, the final screen and the purchase screen: places, hover, clicks,
// the textures given back, and addresses that are not web pages refused while the game still ends.
#include <gtest/gtest.h>

#include <fstream>

#include "FrontendTestSupport.h"
#include "engine/resources/Texture.h"
#include "frontend/screens/BuyNow.h"
#include "frontend/screens/BuyNowButton.h"
#include "frontend/screens/FinalScreen.h"
#include "platform/Files.h"
#include "platform/Log.h"
#include "platform/Window.h"

using namespace fetest;

namespace {

struct CountingBehavior : CBuyNowBehavior {
  int runs = 0;
  void Execute() override { ++runs; }
};

// The application's buy-now button for the length of a test.
struct ButtonScope {
  std::unique_ptr<CBuyNowButton> button = CreateBuyNowButton();
  ButtonScope() { g_pBuyNowButton = button.get(); }
  ~ButtonScope() {
    ReleaseBuyNowButton(button);
    g_pBuyNowButton = nullptr;
  }
};

using Rect4 = std::array<int, 4>;
Rect4 Of(const Nembra::RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

TEST(BuyNowButton, MovesByItsCornerAndKeepsItsSize) {
  ScreenScenario s;
  ASSERT_TRUE(s.Ready()) << s.Problem();
  CountingBehavior behavior;
  CBuyNowButton button(nullptr, {0, 0, 196, 71}, {0, 71, 196, 142}, {10, 20, 206, 91}, &behavior);
  EXPECT_EQ(Of(button.GetScreenRect()), (Rect4{10, 20, 206, 91}));
  EXPECT_EQ(button.m_Rect.right, 206);
  button.SetPosition(BUYNOW_MENU_X, BUYNOW_MENU_Y);
  button.SetPosition(BUYNOW_MENU_X, BUYNOW_MENU_Y);
  EXPECT_EQ(Of(button.GetScreenRect()), (Rect4{600, 4, 796, 75}));
  button.SetPosition(BUYNOW_SCREEN_X, BUYNOW_SCREEN_Y);
  EXPECT_EQ(Of(button.GetScreenRect()), (Rect4{593, 518, 593 + 196, 518 + 71}));
  EXPECT_EQ(Of(button.m_Rect), (Rect4{593, 518, 593 + 196, 589}));
  EXPECT_EQ(std::make_pair(button.GetPosition().x, button.GetPosition().y), std::make_pair(593.0f, 518.0f));
}

TEST(BuyNowButton, HoverShowsTheLowerImageAndAClickRunsTheBehaviourOnce) {
  ScreenScenario s;
  ASSERT_TRUE(s.Ready()) << s.Problem();
  std::unique_ptr<CBuyNowButton> made = CreateBuyNowButton();
  ASSERT_TRUE(made);
  EXPECT_EQ(made->GetBehavior(), &g_BuyNowAction);
  EXPECT_EQ(std::make_pair(made->GetHoverImage()->m_SourceRect.top, made->GetHoverImage()->m_SourceRect.bottom),
            std::make_pair(71, 142));
  platform::ITexture* texture = scenario::TextureOf(BUYNOW_BUTTON_TEXTURE);

  CountingBehavior behavior;
  CBuyNowButton button(made->GetNormalImage()->GetTexture(), {0, 0, 196, 71}, {0, 71, 196, 142}, {0, 0, 196, 71},
                       &behavior);
  auto frame = [&](int x, int y) {
    s.Frame([&] { ScreenScenario::TwoPass([&] { button.SetPosition(x, y), button.Update(); }, nullptr); });
  };
  s.Next().MoveTo(10, 300);
  frame(593, 518);
  ASSERT_EQ(s.Last().sprites.size(), 1u);
  EXPECT_EQ(s.Last().sprites[0].srcTop, 0);
  EXPECT_EQ(std::make_tuple(s.Last().sprites[0].left, s.Last().sprites[0].top, s.Last().sprites[0].Width()),
            std::make_tuple(593.0f, 518.0f, 196.0f));
  EXPECT_TRUE(!texture || s.Last().sprites[0].texture == texture);
  // Hovered: the lower image; the click counts in the release's frame, once.
  s.Script({FrameInput().MoveTo(700, 550), FrameInput().Press(0), FrameInput().Release(0), FrameInput()});
  frame(593, 518);
  EXPECT_EQ(s.Last().sprites.at(0).srcTop, 71);
  std::vector<int> runs = {behavior.runs};
  for (int i = 0; i < 3; ++i) frame(593, 518), runs.push_back(behavior.runs);
  EXPECT_EQ(runs, (std::vector<int>{0, 0, 1, 1}));
  // Pressed at the menu's place and released after the button moved away from under the pointer: no click.
  s.Script({FrameInput().MoveTo(650, 30).Press(0), FrameInput().Release(0)});
  frame(600, 4);
  frame(593, 518);
  EXPECT_EQ(behavior.runs, 1);
  ReleaseBuyNowButton(made);
  EXPECT_FALSE(made);
  // A made button gives its texture back when it goes, however it goes.
  const Nembra::CTexture* left = Nembra::g_pTextureFactory->Find(BUYNOW_BUTTON_TEXTURE);
  const uint32_t before = left ? left->GetRefCount() : 0u;
  { std::unique_ptr<CBuyNowButton> dropped = CreateBuyNowButton(); }
  left = Nembra::g_pTextureFactory->Find(BUYNOW_BUTTON_TEXTURE);
  EXPECT_EQ(left ? left->GetRefCount() : 0u, before);
}

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
    EXPECT_EQ(std::make_pair(sprites[0].Width(), sprites[0].Height()), std::make_pair(800.0f, 600.0f));
    const float tops[3] = {190.0f - 30.0f, 300.0f - 22.0f, 370.0f - 22.0f};
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(sprites[1 + i].texture, scenario::TextureOf(image));
      EXPECT_EQ(std::make_tuple(sprites[1 + i].srcTop, sprites[1 + i].left, sprites[1 + i].top),
                std::make_tuple(60 * i, 144.0f, tops[i]));
    }
    EXPECT_EQ(std::make_pair(sprites[4].left, sprites[4].top), std::make_pair(593.0f, 518.0f));
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
    EXPECT_EQ(std::make_pair(sprites[1].srcTop, sprites[1].srcBottom), std::make_pair(600, 735));
    EXPECT_EQ(std::make_tuple(sprites[1].top, sprites[1].bottom, sprites[1].Width()),
              std::make_tuple(0.0f, 135.0f, 800.0f));
    EXPECT_EQ(sprites[2].srcTop, 71) << "the button hovered";
    s.Run(2, frame);
    EXPECT_EQ(g_BuyNowAction.LastAddress(), url);
    EXPECT_EQ(g_BuyNowAction.LastOpened(), std::string(url) == "https://example.org/") << url;
    EXPECT_FALSE(Nembra::g_pApplication->IsActive()) << url;
  }
  platform::SetLogHook(nullptr);
}

}  // namespace
