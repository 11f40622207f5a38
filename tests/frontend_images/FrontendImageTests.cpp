// Pictures of the front end's screens drawn by the OpenGL device in a real
// window (Mesa under Xvfb in CI), kept under the build's test-images/
// folder and probed by pixel. Each skips without a display.
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/app/Application.h"
#include "engine/app/Keyboard.h"
#include "engine/app/Mouse.h"
#include "frontend/hud/widgets/GUIDigitalTimer.h"
#include "frontend/hud/GUIFlash.h"
#include "frontend/WidgetGallery.h"
#include "scenario/ScreenScenario.h"
#include "frontend/LevelTimerSupport.h"

using scenario::ScreenScenario;

namespace {

ScreenScenario::Options GlWritable() {
  ScreenScenario::Options o;
  o.gl = true;
  o.writableData = true;
  return o;
}

int Channel(uint32_t c, int shift) { return int((c >> shift) & 0xFF); }
::testing::AssertionResult Near(uint32_t actual, uint32_t expected, int tolerance = 8) {
  for (int shift : {16, 8, 0})
    if (std::abs(Channel(actual, shift) - Channel(expected, shift)) > tolerance)
      return ::testing::AssertionFailure() << std::hex << "pixel " << actual << ", expected " << expected;
  return ::testing::AssertionSuccess();
}
// White-ish pixels (text) in a box.
int WhitePixels(const ScreenScenario& s, int x0, int y0, int x1, int y1) {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      const uint32_t c = s.PixelAt(x, y);
      if (Channel(c, 16) > 200 && Channel(c, 8) > 200 && Channel(c, 0) > 200) ++n;
    }
  return n;
}

// The script reaches the engine through SDL events on the real window,
// as it reaches it through the headless devices.
TEST(FrontendPictures, ScriptedInputArrivesAsSdlEvents) {
  ScreenScenario::Options options;
  options.gl = true;
  ScreenScenario s(options);
  if (!s.Ready()) GTEST_SKIP() << s.Problem();
  s.Script({scenario::FrameInput().MoveTo(321, 123).Type(L"Ab\u00f1\u0416"),
            scenario::FrameInput().KeyDown(platform::DIK_RETURN).Press(0).Wheel(1),
            scenario::FrameInput().KeyUp(platform::DIK_RETURN).Release(0)});
  s.Frame(nullptr);
  EXPECT_EQ(Nembra::g_pMouse->GetX(), 321);
  EXPECT_EQ(Nembra::g_pMouse->GetY(), 123);
  EXPECT_EQ(Nembra::g_pApplication->GetTypedText(), L"Ab\u00f1\u0416");
  s.Frame(nullptr);
  EXPECT_TRUE(Nembra::g_pKeyboard->WasKeyPressed(platform::DIK_RETURN));
  EXPECT_TRUE(Nembra::g_pMouse->WasButtonPressed(0));
  EXPECT_EQ(Nembra::g_pMouse->GetDZ(), 120);
  EXPECT_EQ(Nembra::g_pApplication->GetTypedText(), L"Ab\u00f1\u0416\r");
  s.Frame(nullptr);
  EXPECT_EQ(Nembra::g_pKeyboard->GetReleasedKey(), platform::DIK_RETURN);
  EXPECT_TRUE(Nembra::g_pMouse->WasClickedInRegion(0, 321, 123, 1, 1));
}

TEST(FrontendPictures, WidgetGallery) {
  ScreenScenario s(GlWritable());
  if (!s.Ready()) GTEST_SKIP() << s.Problem();
  ASSERT_TRUE(gallery::WriteAtlas(s.DataFolder()));
  gallery::Gallery g;
  g.Build();
  // The pointer rests on the last button, so its hover image and hint show.
  s.Next().MoveTo(150, 310);
  s.Frame([&] { ScreenScenario::TwoPass([&] { g.Images(); }, [&] { g.Texts(); }); });
  ASSERT_TRUE(s.CaptureFrame("frontend_widget_gallery",
                             [&] { ScreenScenario::TwoPass([&] { g.Images(); }, [&] { g.Texts(); }); }));

  // Button states by colour, away from the captions.
  EXPECT_TRUE(Near(s.PixelAt(85, 105), gallery::kNormalColor));
  EXPECT_TRUE(Near(s.PixelAt(85, 165), gallery::kDisabledColor));
  EXPECT_TRUE(Near(s.PixelAt(85, 225), gallery::kHoverColor));  // highlighted
  EXPECT_TRUE(Near(s.PixelAt(85, 285), gallery::kHoverColor));  // hovered
  // Captions: white text in the middle of each button.
  EXPECT_GT(WhitePixels(s, 100, 108, 200, 132), 20);
  // The slider: filled over its first quarter, background after.
  EXPECT_TRUE(Near(s.PixelAt(425, 118), gallery::kFillColor));
  EXPECT_TRUE(Near(s.PixelAt(445, 118), gallery::kFillColor));
  EXPECT_TRUE(Near(s.PixelAt(455, 118), gallery::kBackColor));
  EXPECT_TRUE(Near(s.PixelAt(530, 118), gallery::kBackColor));
  // The exclusive group: only the second item checked.
  EXPECT_TRUE(Near(s.PixelAt(428, 208), gallery::kBoxColor));
  EXPECT_TRUE(Near(s.PixelAt(428, 248), gallery::kCheckColor));
  EXPECT_TRUE(Near(s.PixelAt(428, 288), gallery::kBoxColor));
  // Labels right of the boxes; the hint on the status line.
  EXPECT_GT(WhitePixels(s, 441, 240, 600, 258), 20);
  EXPECT_GT(WhitePixels(s, 250, 548, 550, 572), 40);
  EXPECT_EQ(WhitePixels(s, 0, 420, 800, 540), 0);
}


TEST(FrontendPictures, CountDownAndFlashMidWay) {
  ScreenScenario s(GlWritable());
  if (!s.Ready()) GTEST_SKIP() << s.Problem();
  ASSERT_TRUE(gallery::WriteAtlas(s.DataFolder()));
  // The icon and its flash, centred on (200, 300); the flash halfway through.
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
  hudtest::RunTimerTo(watch, 24.5f);
  display.Show(&watch, 100.0f);
  auto frame = [&] {
    ScreenScenario::TwoPass(
        [&] {
          icon.Draw();
          flash.Update();
        },
        [&] { display.Draw(); });
  };
  s.Frame(frame);
  ASSERT_TRUE(s.CaptureFrame("frontend_countdown_and_flash", frame));
  // "1 : 15 : 30" in white around x 400 near the top; nothing far from it.
  EXPECT_GT(WhitePixels(s, 330, 10, 470, 40), 60);
  EXPECT_EQ(WhitePixels(s, 0, 0, 300, 60), 0);
  EXPECT_EQ(WhitePixels(s, 500, 0, 800, 60), 0);
  // The flash: five times the icon (115 pixels) at half opacity over black,
  // and the icon itself in full colour in the middle.
  const uint32_t half = s.PixelAt(200 - 40, 300);
  EXPECT_NEAR(Channel(half, 8), Channel(gallery::kFillColor, 8) / 2, 12);
  EXPECT_TRUE(Near(s.PixelAt(200, 300), gallery::kFillColor, 30));
  EXPECT_TRUE(Near(s.PixelAt(200 - 70, 300), 0xFF000000u));
}

}  // namespace
