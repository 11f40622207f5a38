// The widgets, the count-down and a flash on the OpenGL device, probed by pixel; scripted input as SDL events.
#include <gtest/gtest.h>

#include "PictureProbes.h"
#include "engine/app/Application.h"
#include "engine/app/Keyboard.h"
#include "engine/app/Mouse.h"
#include "frontend/FrontendTestSupport.h"
#include "frontend/hud/widgets/GUIDigitalTimer.h"
#include "frontend/hud/GUIFlash.h"
#include "frontend/WidgetGallery.h"

using namespace fetest;
using namespace probe;

namespace {

// The script reaches the engine through SDL events on the real window, as through the headless devices.
TEST(FrontendPictures, ScriptedInputArrivesAsSdlEvents) {
  ScreenScenario s(Gl());
  if (!s.Ready()) GTEST_SKIP() << s.Problem();
  s.Script({FrameInput().MoveTo(321, 123).Type(L"Ab\u00f1\u0416"),
            FrameInput().KeyDown(platform::DIK_RETURN).Press(0).Wheel(1),
            FrameInput().KeyUp(platform::DIK_RETURN).Release(0)});
  s.Frame(nullptr);
  EXPECT_EQ(std::make_pair(Nembra::g_pMouse->GetX(), Nembra::g_pMouse->GetY()), std::make_pair(321, 123));
  EXPECT_EQ(Nembra::g_pApplication->GetTypedText(), L"Ab\u00f1\u0416");
  s.Frame(nullptr);
  EXPECT_TRUE(Nembra::g_pKeyboard->WasKeyPressed(platform::DIK_RETURN) && Nembra::g_pMouse->WasButtonPressed(0));
  EXPECT_EQ(Nembra::g_pMouse->GetDZ(), 120);
  EXPECT_EQ(Nembra::g_pApplication->GetTypedText(), L"Ab\u00f1\u0416\r");
  s.Frame(nullptr);
  EXPECT_EQ(Nembra::g_pKeyboard->GetReleasedKey(), platform::DIK_RETURN);
  EXPECT_TRUE(Nembra::g_pMouse->WasClickedInRegion(0, 321, 123, 1, 1));
}

TEST(FrontendPictures, WidgetGallery) {
  ScreenScenario s(Writable(true));
  if (!s.Ready()) GTEST_SKIP() << s.Problem();
  ASSERT_TRUE(gallery::WriteAtlas(s.DataFolder()));
  gallery::Gallery g;
  g.Build();
  // The pointer rests on the last button, so its hover image and hint show.
  auto frame = [&] { ScreenScenario::TwoPass([&] { g.Images(); }, [&] { g.Texts(); }); };
  s.Next().MoveTo(150, 310);
  s.Frame(frame);
  ASSERT_TRUE(s.CaptureFrame("frontend_widget_gallery", frame));
  // Button states by colour away from the captions (normal, disabled, highlighted, hovered), a caption.
  const uint32_t states[] = {gallery::kNormalColor, gallery::kDisabledColor, gallery::kHoverColor, gallery::kHoverColor};
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(Near(s.PixelAt(85, 105 + 60 * i), states[i])) << i;
  EXPECT_GT(White(s, 100, 108, 200, 132), 20);
  // The slider filled over its first quarter; the exclusive group with only its second item checked.
  for (auto [x, colour] : {std::pair<int, uint32_t>{425, gallery::kFillColor}, {445, gallery::kFillColor},
                           {455, gallery::kBackColor}, {530, gallery::kBackColor}})
    EXPECT_TRUE(Near(s.PixelAt(x, 118), colour)) << x;
  for (auto [y, colour] : {std::pair<int, uint32_t>{208, gallery::kBoxColor}, {248, gallery::kCheckColor},
                           {288, gallery::kBoxColor}})
    EXPECT_TRUE(Near(s.PixelAt(428, y), colour)) << y;
  // Labels right of the boxes; the hint on the status line and nothing between.
  EXPECT_GT(White(s, 441, 240, 600, 258), 20);
  EXPECT_GT(White(s, 250, 548, 550, 572), 40);
  EXPECT_EQ(White(s, 0, 420, 800, 540), 0);
}

TEST(FrontendPictures, CountDownAndFlashMidWay) {
  ScreenScenario s(Writable(true));
  if (!s.Ready()) GTEST_SKIP() << s.Problem();
  ASSERT_TRUE(gallery::WriteAtlas(s.DataFolder()));
  // The icon and its flash centred on (200, 300), the flash halfway through.
  Nembra::CStatic2DSprite icon;
  icon.SetTexture(gallery::Atlas());
  icon.SetSourceRect(Nembra::MakeRect(128, 16, 23, 23));
  icon.m_Center = D3DXVECTOR3(11, 11, 0);
  icon.SetPosition(D3DXVECTOR3(200, 300, 0));
  CGUIFlash flash;
  flash.m_Sprite = icon;
  flash.m_Timer = 0.2f + s.FrameTime();  // one frame's time is taken before the picture
  CGUIDigitalTimer display;
  CLevelTimer watch;
  RunTimerTo(watch, 24.5f);
  display.Show(&watch, 100.0f);
  auto frame = [&] { ScreenScenario::TwoPass([&] { icon.Draw(), flash.Update(); }, [&] { display.Draw(); }); };
  s.Frame(frame);
  ASSERT_TRUE(s.CaptureFrame("frontend_countdown_and_flash", frame));
  // "1 : 15 : 30" in white around x 400 near the top; nothing far from it.
  EXPECT_GT(White(s, 330, 10, 470, 40), 60);
  EXPECT_EQ(White(s, 0, 0, 300, 60) + White(s, 500, 0, 800, 60), 0);
  // The flash five times the icon (115 pixels) at half opacity over black; the icon itself in the middle.
  EXPECT_NEAR(G(s.PixelAt(200 - 40, 300)), G(gallery::kFillColor) / 2, 12);
  EXPECT_TRUE(Near(s.PixelAt(200, 300), gallery::kFillColor, 30));
  EXPECT_TRUE(Near(s.PixelAt(200 - 70, 300), 0xFF000000u));
}

}  // namespace
