// The buy-now button: placed by its top-left corner with its size kept,
// hover image under the pointer, and a click running its behaviour once.
#include <gtest/gtest.h>

#include "engine/resources/Texture.h"
#include "frontend/BuyNow.h"
#include "frontend/BuyNowButton.h"
#include "scenario/ScreenScenario.h"

using scenario::ScreenScenario;

namespace {

struct CountingBehavior : CBuyNowBehavior {
  int runs = 0;
  void Execute() override { ++runs; }
};

void DrawButton(CBuyNowButton& button, int x, int y) {
  ScreenScenario::TwoPass(
      [&] {
        button.SetPosition(x, y);
        button.Update();
      },
      nullptr);
}

}  // namespace

TEST(BuyNowButton, MovesByItsCornerAndKeepsItsSize) {
  ScreenScenario s;
  ASSERT_TRUE(s.Ready()) << s.Problem();
  CountingBehavior behavior;
  CBuyNowButton button(nullptr, {0, 0, 196, 71}, {0, 71, 196, 142}, {10, 20, 206, 91}, &behavior);
  EXPECT_EQ(button.GetScreenRect().left, 10);
  EXPECT_EQ(button.GetScreenRect().bottom, 91);
  EXPECT_EQ(button.m_Rect.right, 206);
  button.SetPosition(BUYNOW_MENU_X, BUYNOW_MENU_Y);
  button.SetPosition(BUYNOW_MENU_X, BUYNOW_MENU_Y);
  const Nembra::RECT menu = button.GetScreenRect();
  EXPECT_EQ(menu.left, 600);
  EXPECT_EQ(menu.top, 4);
  EXPECT_EQ(menu.right, 796);
  EXPECT_EQ(menu.bottom, 75);
  button.SetPosition(BUYNOW_SCREEN_X, BUYNOW_SCREEN_Y);
  EXPECT_EQ(button.GetScreenRect().right - button.GetScreenRect().left, 196);
  EXPECT_EQ(button.GetScreenRect().bottom - button.GetScreenRect().top, 71);
  EXPECT_EQ(button.m_Rect.left, 593);
  EXPECT_EQ(button.m_Rect.bottom, 589);
  EXPECT_EQ(button.GetPosition().x, 593.0f);
  EXPECT_EQ(button.GetPosition().y, 518.0f);
}

TEST(BuyNowButton, HoverShowsTheLowerImageAndAClickRunsTheBehaviourOnce) {
  ScreenScenario s;
  ASSERT_TRUE(s.Ready()) << s.Problem();
  std::unique_ptr<CBuyNowButton> made = CreateBuyNowButton();
  ASSERT_TRUE(made);
  EXPECT_EQ(made->GetBehavior(), &g_BuyNowAction);
  EXPECT_EQ(made->GetHoverImage()->m_SourceRect.top, 71);
  EXPECT_EQ(made->GetHoverImage()->m_SourceRect.bottom, 142);
  platform::ITexture* texture = scenario::TextureOf(BUYNOW_BUTTON_TEXTURE);

  CountingBehavior behavior;
  CBuyNowButton button(made->GetNormalImage()->GetTexture(), {0, 0, 196, 71}, {0, 71, 196, 142}, {0, 0, 196, 71},
                       &behavior);
  s.Next().MoveTo(10, 300);
  s.Frame([&] { DrawButton(button, 593, 518); });
  ASSERT_EQ(s.Last().sprites.size(), 1u);
  EXPECT_EQ(s.Last().sprites[0].srcTop, 0);
  EXPECT_EQ(s.Last().sprites[0].left, 593.0f);
  EXPECT_EQ(s.Last().sprites[0].top, 518.0f);
  EXPECT_EQ(s.Last().sprites[0].Width(), 196.0f);
  if (texture) {
    EXPECT_EQ(s.Last().sprites[0].texture, texture);
  }

  s.Script({scenario::FrameInput().MoveTo(700, 550), scenario::FrameInput().Press(0),
            scenario::FrameInput().Release(0), scenario::FrameInput()});
  s.Frame([&] { DrawButton(button, 593, 518); });
  ASSERT_EQ(s.Last().sprites.size(), 1u);
  EXPECT_EQ(s.Last().sprites[0].srcTop, 71);
  EXPECT_EQ(behavior.runs, 0);
  s.Frame([&] { DrawButton(button, 593, 518); });
  EXPECT_EQ(behavior.runs, 0);
  s.Frame([&] { DrawButton(button, 593, 518); });
  EXPECT_EQ(behavior.runs, 1);
  s.Frame([&] { DrawButton(button, 593, 518); });
  EXPECT_EQ(behavior.runs, 1);

  // Pressed at the menu's place and released after the button moved away
  // from under the pointer: no click.
  s.Script({scenario::FrameInput().MoveTo(650, 30).Press(0), scenario::FrameInput().Release(0)});
  s.Frame([&] { DrawButton(button, 600, 4); });
  s.Frame([&] { DrawButton(button, 593, 518); });
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
