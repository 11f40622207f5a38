// The screen-scenario harness itself: scripted input arrives frame by frame, time is fixed, draws
// decode into what was drawn, runs repeat exactly and private data stays private.
#include <gtest/gtest.h>

#include <filesystem>

#include "FrontendTestSupport.h"
#include "WidgetGallery.h"
#include "engine/app/InputMapper.h"
#include "engine/app/Keyboard.h"
#include "engine/app/Mouse.h"
#include "engine/util/Random.h"
#include "platform/Clock.h"

using namespace fetest;

namespace {

TEST(ScreenScenarioHarness, ScriptedKeysButtonsWheelAndTypedTextArriveInTheirFrame) {
  ScreenScenario s;
  ASSERT_TRUE(s.Ready()) << s.Problem();
  using Nembra::g_pKeyboard;
  using Nembra::g_pMouse;
  s.Script({FrameInput().MoveTo(123, 456).Type(L"An\u00f1"),
            FrameInput().KeyDown(platform::DIK_RETURN).Press(0).Wheel(-2),
            FrameInput().KeyUp(platform::DIK_RETURN).Release(0), FrameInput()});
  auto at = [] { return std::make_pair(g_pMouse->GetX(), g_pMouse->GetY()); };
  s.Frame(nullptr);
  EXPECT_EQ(at(), std::make_pair(123, 456));
  EXPECT_EQ(Nembra::g_pApplication->GetTypedText(), L"An\u00f1");
  s.Frame(nullptr);
  EXPECT_TRUE(Nembra::g_pInputMapper->WasActionPressed(4));  // left button: shoot blue
  EXPECT_TRUE(g_pKeyboard->WasKeyPressed(platform::DIK_RETURN) && g_pMouse->WasButtonPressed(0));
  EXPECT_EQ(g_pMouse->GetDZ(), -240);
  // Enter types its carriage return as the real window does.
  EXPECT_EQ(Nembra::g_pApplication->GetTypedText(), L"An\u00f1\r");
  s.Frame(nullptr);
  EXPECT_EQ(g_pKeyboard->GetReleasedKey(), platform::DIK_RETURN);
  EXPECT_TRUE(g_pMouse->WasClickedInRegion(0, 123, 456, 1, 1));
  EXPECT_EQ(g_pMouse->GetDZ(), 0);
  s.Frame(nullptr);
  EXPECT_EQ(g_pKeyboard->GetReleasedKey(), -1);
  EXPECT_FALSE(g_pMouse->WasAnyButtonReleased());
  // The game's actions on their default keys.
  s.Next().KeyDown(platform::DIK_W);
  s.Frame(nullptr);
  EXPECT_TRUE(Nembra::g_pInputMapper->IsActionDown(0));
  EXPECT_EQ(Nembra::g_pInputMapper->GetMappingName("KMP_CAMERA"), g_pKeyboard->GetKeyName(platform::DIK_F4));
  // Moves are exact, also back and to the screen's last pixel.
  s.Next().MoveTo(799, 0);
  s.Frame(nullptr);
  EXPECT_EQ(at(), std::make_pair(799, 0));
}

TEST(ScreenScenarioHarness, FramesRunOnAFixedTimeAndTheSeededRandomNumbers) {
  ScreenScenario::Options options;
  options.frameTime = 0.02f;
  options.seed = 7;
  ScreenScenario s(options);
  ASSERT_TRUE(s.Ready()) << s.Problem();
  const int first = Nembra::RandomInt(0, 1000000);
  int frames = 0;
  EXPECT_TRUE(s.RunUntil([&] { return frames == 50; }, 100, [&] { ++frames; }));
  EXPECT_EQ(s.FrameNumber(), 50);
  EXPECT_EQ(Nembra::g_FrameTime, 0.02f);
  EXPECT_EQ(platform::GetTickCount(), 1000u);
  EXPECT_FALSE(s.RunUntil([] { return false; }, 3, nullptr));
  Nembra::SeedRandom(7);
  EXPECT_EQ(Nembra::RandomInt(0, 1000000), first);
}

TEST(ScreenScenarioHarness, DecodesSpritesAndTextLinesWithTheirColours) {
  ScreenScenario s(Writable());
  ASSERT_TRUE(s.Ready()) << s.Problem();
  ASSERT_TRUE(gallery::WriteAtlas(s.DataFolder()));
  Nembra::CStatic2DSprite sprite;
  sprite.SetTexture(gallery::Atlas());
  sprite.SetSourceRect(gallery::SliderFill());
  sprite.SetPosition(D3DXVECTOR3(10, 20, 0));
  sprite.m_ScaleX = 0.5f;
  sprite.m_ScaleY = 2.0f;
  sprite.m_Color = D3DXCOLOR(1.0f, 0.0f, 0.0f, 0.5f);
  Nembra::CBitmapFont* font = Nembra::g_pBitmapFontFactory->Get(FONT_PDA_STD);
  s.Frame([&] {
    ScreenScenario::TwoPass([&] { sprite.Draw(); },
                            [&] {
                              font->m_Centered = false;
                              font->m_WrapWidth = 0;
                              font->DrawText(L"Red text", 5, 6, 1.0f, 0.0f, 0.0f, 1.0f);
                              font->m_Centered = true;
                              font->m_WrapWidth = 100;
                              font->m_LineAdvance = 30;
                              font->DrawText(L"wrapped into several lines here", 400, 100, 0.0f, 1.0f, 0.0f, 0.5f);
                              font->m_LineAdvance = font->GetLineHeight();
                              font->m_WrapWidth = 0;
                            });
  });
  const scenario::DecodedFrame& f = s.Last();
  EXPECT_TRUE(f.complete);
  EXPECT_EQ(f.undecoded, 0u);
  ASSERT_EQ(f.sprites.size(), 1u);
  EXPECT_EQ(f.sprites[0].texture, scenario::TextureOf(gallery::kAtlas));
  EXPECT_EQ(SrcOf(f.sprites[0]), (Src{128, 16, 120, 16}));
  EXPECT_EQ(BoxOf(f.sprites[0]), (Box{10, 20, 60, 32}));
  EXPECT_EQ(f.sprites[0].color, 0x80FF0000u);
  ASSERT_GE(f.texts.size(), 3u);
  EXPECT_EQ(f.texts[0].text, L"Red text");
  EXPECT_EQ(AtOf(f.texts[0]), (At{5, 6}));
  EXPECT_EQ(std::make_pair(f.texts[0].color, f.texts[0].width),
            std::make_pair(0xFFFF0000u, font->GetTextWidth(L"Red text")));
  std::wstring joined;
  for (size_t i = 1; i < f.texts.size(); ++i) {
    const scenario::TextRecord& line = f.texts[i];
    EXPECT_LE(line.width, 100);
    EXPECT_EQ(AtOf(line), (At{400 - line.width / 2, 100 + 30 * int(i - 1)}));
    EXPECT_EQ(line.color, 0x8000FF00u);
    joined += (i > 1 ? L" " : L"") + line.text;
  }
  EXPECT_EQ(joined, L"wrapped into several lines here");
  EXPECT_LT(f.sprites[0].order, f.texts[0].order);
}

TEST(ScreenScenarioHarness, TheSameScriptDrawsTheSameFramesTwice) {
  auto run = [] {
    ScreenScenario s(Writable());
    EXPECT_TRUE(s.Ready());
    EXPECT_TRUE(gallery::WriteAtlas(s.DataFolder()));
    gallery::Gallery g;
    g.Build();
    std::vector<std::wstring> trace;
    for (int i = 0; i < 20; ++i) {
      s.Next().MoveTo(100 + 20 * i, 100 + 10 * i);
      if (i == 5) s.Next().Press();
      if (i == 9) s.Next().Release();
      s.Frame([&] { ScreenScenario::TwoPass([&] { g.Images(); }, [&] { g.Texts(); }); });
      std::wstring line;
      for (const auto& sp : s.Last().sprites)
        line += std::to_wstring(sp.srcLeft) + L"," + std::to_wstring(int(sp.left * 100)) + L";";
      for (const auto& t : s.Last().texts) line += t.text + L"@" + std::to_wstring(t.x) + L";";
      line += std::to_wstring(g.slider.GetValue());
      trace.push_back(line);
    }
    return trace;
  };
  const std::vector<std::wstring> first = run();
  EXPECT_EQ(first, run());
  EXPECT_NE(first.front(), first.back());
}

TEST(ScreenScenarioHarness, WritableDataIsAPrivateCopy) {
  std::string copy;
  {
    ScreenScenario s(Writable());
    ASSERT_TRUE(s.Ready()) << s.Problem();
    copy = s.DataFolder();
    EXPECT_NE(copy, std::string(KARVESSA_DEMO_DATA_DIR) + "/");
    EXPECT_TRUE(std::filesystem::exists(copy + "PDA_Std.dat"));
    ASSERT_TRUE(formats::WriteBytes(copy + "Written.txt", "x"));
  }
  EXPECT_FALSE(std::filesystem::exists(copy));
  EXPECT_FALSE(std::filesystem::exists(std::string(KARVESSA_DEMO_DATA_DIR) + "/Written.txt"));
  ScreenScenario plain;
  EXPECT_EQ(plain.DataFolder(), std::string(KARVESSA_DEMO_DATA_DIR) + "/");
}

}  // namespace
