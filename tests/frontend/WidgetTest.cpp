// The screen widgets driven through scripted frames on the demo data, with
// what they drew read back from the recording device.
#include <gtest/gtest.h>

#include "WidgetGallery.h"
#include "engine/sound/WaveSound.h"
#include "scenario/ScreenScenario.h"
#include "tools/formats/SoundFiles.h"

using scenario::ScreenScenario;

namespace {

// A button that counts its hooks.
class CountingButton : public CPDAButton {
 public:
  void OnHover() override { ++hovers; }
  void OnNoHover() override { ++noHovers; }
  void OnClick() override {
    ++clicks;
    CPDAButton::OnClick();
  }
  void OnNoClick() override { ++noClicks; }
  int hovers = 0, noHovers = 0, clicks = 0, noClicks = 0;
};

ScreenScenario::Options Writable() {
  ScreenScenario::Options o;
  o.writableData = true;
  return o;
}

class Widgets : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(s.Ready()) << s.Problem();
    ASSERT_TRUE(gallery::WriteAtlas(s.DataFolder()));
    formats::Tone tone;
    tone.seconds = 5.0;
    ASSERT_TRUE(formats::WriteBytes(s.DataFolder() + "Click.wav", formats::WaveToneBytes(tone)));
    atlas = gallery::Atlas()->GetTexture();
    ASSERT_NE(atlas, nullptr);
  }

  // Sprites of one atlas region drawn in the last frame.
  size_t Drawn(const Nembra::RECT& region) const { return s.Last().FindSprites(atlas, region.left, region.top).size(); }

  ScreenScenario s{Writable()};
  platform::ITexture* atlas = nullptr;
};

TEST_F(Widgets, AClickNeedsPressAndReleaseInsideAndLastsOneFrame) {
  CountingButton b;
  gallery::MakeButton(b, 100, 100, L"", L"");
  auto frame = [&] { ScreenScenario::TwoPass([&] { b.Update(); }, [&] { b.Draw(); }); };

  // Pressed outside, moved in, released inside: no click.
  s.Next().MoveTo(50, 50).Press();
  s.Frame(frame);
  s.Next().MoveTo(150, 120);
  s.Frame(frame);
  s.Next().Release();
  s.Frame(frame);
  EXPECT_FALSE(b.WasClicked());
  // Pressed inside, moved out, released outside: no click.
  s.Next().Press();
  s.Frame(frame);
  s.Next().MoveTo(300, 300);
  s.Frame(frame);
  s.Next().Release();
  s.Frame(frame);
  EXPECT_FALSE(b.WasClicked());
  // Pressed inside and released inside after a move inside: a click in the release frame only.
  s.Next().MoveTo(101, 101).Press();
  s.Frame(frame);
  EXPECT_FALSE(b.WasClicked());
  s.Next().MoveTo(219, 139);  // the last pixel inside
  s.Frame(frame);
  s.Next().Release();
  s.Frame(frame);
  EXPECT_TRUE(b.WasClicked());
  EXPECT_TRUE(b.WasClicked());  // until the next Update
  EXPECT_EQ(b.clicks, 1);
  s.Frame(frame);
  EXPECT_FALSE(b.WasClicked());
  EXPECT_EQ(b.clicks, 1);
  EXPECT_EQ(b.noClicks, s.FrameNumber() - 1);
  // The right and bottom edges lie outside.
  s.Next().MoveTo(220, 120).Press();
  s.Frame(frame);
  s.Next().Release();
  s.Frame(frame);
  EXPECT_EQ(b.clicks, 1);
}

TEST_F(Widgets, AClickPlaysTheClickSound) {
  CPDAButton b;
  gallery::MakeButton(b, 100, 100, L"", L"");
  Nembra::CWaveSound* sound = Nembra::g_pWaveSoundFactory->Get("Click.wav");
  ASSERT_TRUE(sound && sound->IsLoaded());
  b.m_pClickSound = sound;
  auto frame = [&] { ScreenScenario::TwoPass([&] { b.Update(); }, nullptr); };
  s.Next().MoveTo(150, 120).Press();
  s.Frame(frame);
  EXPECT_EQ(sound->GetAudioPath()->VoiceCount(), 0);
  s.Next().Release();
  s.Frame(frame);
  EXPECT_EQ(sound->GetAudioPath()->VoiceCount(), 1);
}

TEST_F(Widgets, ImagesFollowTheStateAndTextsLieOverThem) {
  CountingButton b;
  gallery::MakeButton(b, 100, 100, L"Go", L"Start the game");
  auto frame = [&] { ScreenScenario::TwoPass([&] { b.Update(); }, [&] { b.Draw(); }); };

  s.Next().MoveTo(10, 10);
  s.Frame(frame);
  ASSERT_EQ(s.Last().sprites.size(), 1u);
  const scenario::SpriteRecord& image = s.Last().sprites[0];
  EXPECT_EQ(image.srcLeft, 0);
  EXPECT_EQ(image.srcTop, 0);
  EXPECT_EQ(image.SourceWidth(), 120);
  EXPECT_EQ(image.SourceHeight(), 40);
  EXPECT_FLOAT_EQ(image.left, 100.0f);
  EXPECT_FLOAT_EQ(image.top, 100.0f);
  EXPECT_FLOAT_EQ(image.right, 220.0f);
  EXPECT_EQ(image.color, 0xFFFFFFFFu);
  // The caption: centred on the button's middle, vertically centred on its height, white, over the image.
  auto caption = s.Last().FindText(L"Go");
  ASSERT_EQ(caption.size(), 1u);
  Nembra::CBitmapFont* font = Nembra::g_pBitmapFontFactory->Get(FONT_PDA_STD_ITALIC);
  EXPECT_EQ(caption[0]->font, "PDA_STD_ITALIC");
  EXPECT_EQ(caption[0]->x, 160 - font->GetTextWidth(L"Go") / 2);
  EXPECT_EQ(caption[0]->y, int(100 + (40 - font->GetLineHeight()) * 0.5f));
  EXPECT_EQ(caption[0]->color, 0xFFFFFFFFu);
  EXPECT_GT(caption[0]->order, image.order);
  EXPECT_TRUE(s.Last().FindText(L"Start the game").empty());
  EXPECT_EQ(b.noHovers, 1);
  EXPECT_EQ(b.hovers, 0);

  // Hovered: the hover image and the hint centred at (400, 550).
  s.Next().MoveTo(150, 110);
  s.Frame(frame);
  EXPECT_EQ(Drawn(gallery::Hover()), 1u);
  EXPECT_EQ(Drawn(gallery::Normal()), 0u);
  EXPECT_EQ(b.hovers, 1);
  auto hint = s.Last().FindText(L"Start the game");
  ASSERT_EQ(hint.size(), 1u);
  EXPECT_EQ(hint[0]->x, 400 - font->GetTextWidth(L"Start the game") / 2);
  EXPECT_EQ(hint[0]->y, 550);

  // An empty caption and hint draw no text.
  b.m_Caption.clear();
  b.m_Hint.clear();
  s.Frame(frame);
  EXPECT_TRUE(s.Last().texts.empty());
}

TEST_F(Widgets, HiddenButtonsDrawNothingAndCallNoHook) {
  CountingButton b;
  gallery::MakeButton(b, 100, 100, L"Hidden", L"Hint");
  b.m_Visible = false;
  auto frame = [&] { ScreenScenario::TwoPass([&] { b.Update(); }, [&] { b.Draw(); }); };
  s.Next().MoveTo(150, 110).Press();
  s.Frame(frame);
  s.Next().Release();
  s.Frame(frame);
  EXPECT_FALSE(b.WasClicked());
  EXPECT_TRUE(s.Last().sprites.empty());
  EXPECT_TRUE(s.Last().texts.empty());
  EXPECT_EQ(b.hovers + b.noHovers + b.clicks + b.noClicks, 0);
}

TEST_F(Widgets, DisabledButtonsShowTheirDisabledImageAndNeverHoverHintOrClick) {
  CountingButton b;
  gallery::MakeButton(b, 100, 100, L"Off", L"Hint");
  b.m_Enabled = false;
  auto frame = [&] { ScreenScenario::TwoPass([&] { b.Update(); }, [&] { b.Draw(); }); };
  s.Next().MoveTo(150, 110).Press();
  s.Frame(frame);
  s.Next().Release();
  s.Frame(frame);
  EXPECT_EQ(Drawn(gallery::Disabled()), 1u);
  EXPECT_EQ(Drawn(gallery::Hover()), 0u);
  EXPECT_FALSE(b.WasClicked());
  EXPECT_EQ(b.hovers, 0);
  EXPECT_EQ(b.clicks, 0);
  EXPECT_EQ(b.noHovers, 2);
  EXPECT_EQ(s.Last().FindText(L"Off").size(), 1u);  // the caption stays
  EXPECT_TRUE(s.Last().FindText(L"Hint").empty());

  // Without a disabled image the normal one is shown.
  CountingButton plain;
  plain.SetNormalImage(gallery::Atlas(), gallery::Normal());
  plain.SetHoverImage(gallery::Atlas(), gallery::Hover());
  plain.SetPosition(D3DXVECTOR3(100, 100, 0));
  plain.m_Rect = Nembra::MakeRect(100, 100, 120, 40);
  plain.m_Enabled = false;
  s.Frame([&] { ScreenScenario::TwoPass([&] { plain.Update(); }, nullptr); });
  EXPECT_EQ(Drawn(gallery::Normal()), 1u);
  EXPECT_EQ(s.Last().sprites.size(), 1u);
}

TEST_F(Widgets, HighlightedButtonsHoverEveryFrameAndClickOnlyWhenEnabled) {
  CountingButton b;
  gallery::MakeButton(b, 100, 100, L"", L"");
  b.m_Highlight = true;
  b.m_Enabled = false;
  auto frame = [&] { ScreenScenario::TwoPass([&] { b.Update(); }, nullptr); };
  s.Next().MoveTo(500, 500);
  s.Run(3, frame);
  EXPECT_EQ(b.hovers, 3);
  EXPECT_EQ(Drawn(gallery::Hover()), 1u);
  s.Next().MoveTo(150, 110).Press();
  s.Frame(frame);
  s.Next().Release();
  s.Frame(frame);
  EXPECT_EQ(b.hovers, 5);
  EXPECT_EQ(b.clicks, 0);
  b.m_Enabled = true;
  s.Next().Press();
  s.Frame(frame);
  s.Next().Release();
  s.Frame(frame);
  EXPECT_EQ(b.clicks, 1);
  EXPECT_EQ(b.hovers, 7);
  EXPECT_EQ(b.noHovers, 0);
}

TEST_F(Widgets, SliderFollowsThePointerInsideItsRectangleOnly) {
  CPDASlideBar slider;
  gallery::MakeSlider(slider, 200, 300);  // fill 120 pixels wide from x 200
  Nembra::CWaveSound* sound = Nembra::g_pWaveSoundFactory->Get("Click.wav");
  slider.m_pReleaseSound = sound;
  auto frame = [&] { ScreenScenario::TwoPass([&] { slider.DrawAndUpdate(); }, nullptr); };

  s.Next().MoveTo(200, 305).Press();  // the fill's left edge
  s.Frame(frame);
  EXPECT_FLOAT_EQ(slider.GetValue(), 0.0f);
  s.Next().MoveTo(230, 305);
  s.Frame(frame);
  EXPECT_FLOAT_EQ(slider.GetValue(), 0.25f);
  // The fill is drawn before the drag step, so the next frame shows the
  // value: a quarter of its 120 pixels.
  s.Frame(frame);
  auto fill = s.Last().FindSprites(atlas, gallery::SliderFill().left, gallery::SliderFill().top);
  ASSERT_EQ(fill.size(), 1u);
  EXPECT_FLOAT_EQ(fill[0]->Width(), 30.0f);
  EXPECT_EQ(s.Last().sprites[0].srcTop, gallery::SliderBack().top);  // background first
  s.Next().MoveTo(319, 305);  // last pixel inside: 119 / 120
  s.Frame(frame);
  EXPECT_FLOAT_EQ(slider.GetValue(), 119.0f / 120.0f);
  // Outside the active rectangle the value freezes, wherever the pointer goes.
  s.Next().MoveTo(400, 305);
  s.Frame(frame);
  EXPECT_FLOAT_EQ(slider.GetValue(), 119.0f / 120.0f);
  s.Next().MoveTo(150, 305);
  s.Frame(frame);
  EXPECT_FLOAT_EQ(slider.GetValue(), 119.0f / 120.0f);
  s.Next().Release();
  s.Frame(frame);
  EXPECT_EQ(sound->GetAudioPath()->VoiceCount(), 0);  // released outside: silent

  // At and past the fill's right edge the value is 1: a rectangle wider than the fill.
  slider.m_Rect = Nembra::MakeRect(190, 300, 200, 16);
  s.Next().MoveTo(320, 305).Press();
  s.Frame(frame);
  EXPECT_FLOAT_EQ(slider.GetValue(), 1.0f);
  s.Next().MoveTo(380, 305);
  s.Frame(frame);
  EXPECT_FLOAT_EQ(slider.GetValue(), 1.0f);
  s.Next().MoveTo(195, 305);  // left of the fill, inside the rectangle
  s.Frame(frame);
  EXPECT_FLOAT_EQ(slider.GetValue(), 0.0f);
  s.Next().Release();
  s.Frame(frame);
  EXPECT_EQ(sound->GetAudioPath()->VoiceCount(), 1);  // released inside: the sound

  // Disabled: no drag; hidden: nothing drawn.
  slider.m_Enabled = false;
  s.Next().MoveTo(260, 305).Press();
  s.Frame(frame);
  EXPECT_FLOAT_EQ(slider.GetValue(), 0.0f);
  slider.m_Visible = false;
  s.Frame(frame);
  EXPECT_TRUE(s.Last().sprites.empty());
}

TEST_F(Widgets, RadioGroupsSelectByClickExclusiveOrNot) {
  CPDARadioGroup group;
  gallery::AddItem(group, 100, 100, L"One");
  gallery::AddItem(group, 100, 140, L"Two");
  EXPECT_EQ(group.GetSelected(), 2);  // none selected: the count
  auto frame = [&] {
    ScreenScenario::TwoPass([&] { group.Update(); },
                            [&] {
                              for (int i = 0; i < group.GetCount(); ++i) group.GetItem(i)->DrawLabel();
                            });
  };
  auto click = [&](int x, int y) {
    s.Next().MoveTo(x, y).Press();
    s.Frame(frame);
    s.Next().Release();
    s.Frame(frame);
  };

  // Plain group: clicks add to the selection; a click on a selected item keeps it.
  group.Select(0);
  click(105, 145);
  EXPECT_TRUE(group.GetItem(0)->m_Selected);
  EXPECT_TRUE(group.GetItem(1)->m_Selected);
  EXPECT_EQ(group.GetSelected(), 0);
  click(105, 145);
  EXPECT_TRUE(group.GetItem(1)->m_Selected);
  EXPECT_EQ(Drawn(gallery::Box()), 2u);
  EXPECT_EQ(Drawn(gallery::Check()), 2u);
  // Labels: 5 pixels right of the box, left-aligned, vertically centred on it.
  auto label = s.Last().FindText(L"Two");
  ASSERT_EQ(label.size(), 1u);
  Nembra::CBitmapFont* font = Nembra::g_pBitmapFontFactory->Get(FONT_PDA_STD);
  EXPECT_EQ(label[0]->x, 100 + 16 + 5);
  EXPECT_EQ(label[0]->y, int(140 + (16 - font->GetLineHeight()) * 0.5f));

  // Exclusive: a click leaves only that item selected.
  group.m_Exclusive = true;
  click(105, 105);
  EXPECT_TRUE(group.GetItem(0)->m_Selected);
  EXPECT_FALSE(group.GetItem(1)->m_Selected);
  EXPECT_EQ(Drawn(gallery::Check()), 2u);  // the click frame drew before applying it
  s.Frame(frame);
  EXPECT_EQ(Drawn(gallery::Check()), 1u);
  group.Select(1);
  EXPECT_EQ(group.GetSelected(), 1);
  EXPECT_FALSE(group.GetItem(0)->m_Selected);

  // Disabled: drawn, clicks not applied. Hidden: nothing drawn, nothing applied.
  group.m_Enabled = false;
  click(105, 105);
  EXPECT_EQ(group.GetSelected(), 1);
  EXPECT_EQ(Drawn(gallery::Box()), 2u);
  group.m_Enabled = true;
  group.m_Visible = false;
  click(105, 105);
  EXPECT_EQ(group.GetSelected(), 1);
  EXPECT_TRUE(s.Last().sprites.empty());

  // A click seen while visible is not applied again once the group is hidden.
  group.m_Visible = true;
  s.Next().MoveTo(105, 105).Press();
  s.Frame(frame);
  s.Next().Release();
  s.Frame(frame);
  EXPECT_EQ(group.GetSelected(), 0);
  group.Select(1);
  group.m_Visible = false;
  s.Frame(frame);
  EXPECT_EQ(group.GetSelected(), 1);
}

TEST_F(Widgets, SelectOutsideTheItemsAndClearedGroupsSelectNothing) {
  CPDARadioGroup group;
  group.m_Exclusive = true;
  gallery::AddItem(group, 100, 100, L"One");
  gallery::AddItem(group, 100, 140, L"Two");
  group.Select(1);
  group.Select(2);  // a stored choice beyond the items
  EXPECT_EQ(group.GetSelected(), 2);
  group.Select(0);
  group.Select(-1);
  EXPECT_EQ(group.GetSelected(), 2);

  group.Clear();
  EXPECT_EQ(group.GetCount(), 0);
  EXPECT_EQ(group.GetSelected(), 0);
  s.Next().MoveTo(105, 105).Press();
  s.Frame([&] { ScreenScenario::TwoPass([&] { group.Update(); }, nullptr); });
  group.Select(7);
  EXPECT_EQ(group.GetSelected(), 0);
  EXPECT_TRUE(s.Last().sprites.empty());
  // The group fills again after a clear, up to six items.
  for (int i = 0; i < CPDARadioGroup::MAX_ITEMS; ++i) {
    EXPECT_NE(group.AddItem(), nullptr);
  }
  EXPECT_EQ(group.AddItem(), nullptr);
  EXPECT_EQ(group.GetCount(), 6);
}

TEST_F(Widgets, ImageSettersRefuseNullTexturesAndEmptyRectangles) {
  CPDAButton b;
  EXPECT_FALSE(b.SetNormalImage(nullptr, gallery::Normal()));
  ASSERT_NE(b.GetNormalImage(), nullptr);  // the new sprite stays, without a texture
  EXPECT_FALSE(b.SetHoverImage(gallery::Atlas(), Nembra::RECT()));
  EXPECT_TRUE(b.SetDisabledImage(gallery::Atlas(), gallery::Disabled()));
  b.SetPosition(D3DXVECTOR3(10, 20, 0));
  EXPECT_FLOAT_EQ(b.GetDisabledImage()->m_Position.x, 10.0f);
  EXPECT_FLOAT_EQ(b.GetNormalImage()->m_Position.y, 20.0f);
  // With no font a button still clicks; it writes nothing.
  b.m_Rect = Nembra::MakeRect(10, 20, 50, 50);
  b.m_Caption = L"x";
  s.Next().MoveTo(20, 30).Press();
  s.Frame([&] { ScreenScenario::TwoPass([&] { b.Update(); }, [&] { b.Draw(); }); });
  s.Next().Release();
  s.Frame([&] { ScreenScenario::TwoPass([&] { b.Update(); }, [&] { b.Draw(); }); });
  EXPECT_TRUE(b.WasClicked());
  EXPECT_TRUE(s.Last().texts.empty());
}

}  // namespace
