// The screen widgets driven through scripted frames, read back from the recording device.
#include <gtest/gtest.h>

#include "FrontendTestSupport.h"
#include "WidgetGallery.h"
#include "engine/sound/WaveSound.h"
#include "tools/formats/SoundFiles.h"

using namespace fetest;

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

class Widgets : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(s.Ready()) << s.Problem();
    ASSERT_TRUE(gallery::WriteAtlas(s.DataFolder()));
    formats::Tone tone;
    tone.seconds = 5.0;
    ASSERT_TRUE(formats::WriteBytes(s.DataFolder() + "Click.wav", formats::WaveToneBytes(tone)));
    atlas = gallery::Atlas()->GetTexture();
    sound = Nembra::g_pWaveSoundFactory->Get("Click.wav");
    ASSERT_TRUE(atlas && sound && sound->IsLoaded());
  }
  size_t Drawn(const Nembra::RECT& region) const { return s.Last().FindSprites(atlas, region.left, region.top).size(); }
  int Voices() const { return sound->GetAudioPath()->VoiceCount(); }
  // Frames of a button (update, then its texts) with these inputs, one a frame.
  void Frames(CPDAButton& b, const std::vector<FrameInput>& inputs = {FrameInput()}) {
    s.Script(inputs);
    s.Run(int(inputs.size()), [&] { ScreenScenario::TwoPass([&] { b.Update(); }, [&] { b.Draw(); }); });
  }
  void Slide(CPDASlideBar& bar, const FrameInput& input = FrameInput()) {
    s.Script({input});
    s.Frame([&] { ScreenScenario::TwoPass([&] { bar.DrawAndUpdate(); }, nullptr); });
  }

  ScreenScenario s{Writable()};
  platform::ITexture* atlas = nullptr;
  Nembra::CWaveSound* sound = nullptr;
};

FrameInput In() { return FrameInput(); }

TEST_F(Widgets, AClickNeedsPressAndReleaseInsideAndLastsOneFrame) {
  CountingButton b;
  gallery::MakeButton(b, 100, 100, L"", L"");
  // Pressed outside and released inside, then pressed inside and released outside: no click.
  Frames(b, {In().MoveTo(50, 50).Press(), In().MoveTo(150, 120), In().Release(), In().Press(), In().MoveTo(300, 300),
             In().Release()});
  EXPECT_FALSE(b.WasClicked());
  // Pressed inside, moved to the last pixel inside, released: a click in the release frame only.
  Frames(b, {In().MoveTo(101, 101).Press()});
  EXPECT_FALSE(b.WasClicked());
  Frames(b, {In().MoveTo(219, 139), In().Release()});
  EXPECT_TRUE(b.WasClicked());
  EXPECT_TRUE(b.WasClicked());  // until the next Update
  EXPECT_EQ(b.clicks, 1);
  Frames(b);
  EXPECT_FALSE(b.WasClicked());
  EXPECT_EQ(b.clicks, 1);
  EXPECT_EQ(b.noClicks, s.FrameNumber() - 1);
  // The right and bottom edges lie outside.
  Frames(b, {In().MoveTo(220, 120).Press(), In().Release()});
  EXPECT_EQ(b.clicks, 1);
}

TEST_F(Widgets, AClickPlaysTheClickSound) {
  CPDAButton b;
  gallery::MakeButton(b, 100, 100, L"", L"");
  b.m_pClickSound = sound;
  Frames(b, {In().MoveTo(150, 120).Press()});
  EXPECT_EQ(Voices(), 0);
  Frames(b, {In().Release()});
  EXPECT_EQ(Voices(), 1);
}

TEST_F(Widgets, ImagesFollowTheStateAndTextsLieOverThem) {
  CountingButton b;
  gallery::MakeButton(b, 100, 100, L"Go", L"Start the game");
  Frames(b, {In().MoveTo(10, 10)});
  ASSERT_EQ(s.Last().sprites.size(), 1u);
  const scenario::SpriteRecord& image = s.Last().sprites[0];
  EXPECT_EQ(SrcOf(image), (Src{0, 0, 120, 40}));
  EXPECT_EQ(BoxOf(image), (Box{100, 100, 120, 40}));
  EXPECT_EQ(image.color, 0xFFFFFFFFu);
  // The caption: centred on the button's middle and height, white, over the image; no hint.
  auto caption = s.Last().FindText(L"Go");
  ASSERT_EQ(caption.size(), 1u);
  Nembra::CBitmapFont* font = Nembra::g_pBitmapFontFactory->Get(FONT_PDA_STD_ITALIC);
  EXPECT_EQ(caption[0]->font, "PDA_STD_ITALIC");
  EXPECT_EQ(AtOf(*caption[0]),
            (At{160 - font->GetTextWidth(L"Go") / 2, int(100 + (40 - font->GetLineHeight()) * 0.5f)}));
  EXPECT_EQ(caption[0]->color, 0xFFFFFFFFu);
  EXPECT_GT(caption[0]->order, image.order);
  EXPECT_TRUE(s.Last().FindText(L"Start the game").empty());
  EXPECT_EQ(b.noHovers, 1);
  EXPECT_EQ(b.hovers, 0);

  // Hovered: the hover image and the hint centred at (400, 550).
  Frames(b, {In().MoveTo(150, 110)});
  EXPECT_EQ(Drawn(gallery::Hover()), 1u);
  EXPECT_EQ(Drawn(gallery::Normal()), 0u);
  EXPECT_EQ(b.hovers, 1);
  auto hint = s.Last().FindText(L"Start the game");
  ASSERT_EQ(hint.size(), 1u);
  EXPECT_EQ(AtOf(*hint[0]), (At{400 - font->GetTextWidth(L"Start the game") / 2, 550}));

  // An empty caption and hint draw no text.
  b.m_Caption.clear();
  b.m_Hint.clear();
  Frames(b);
  EXPECT_TRUE(s.Last().texts.empty());
}

TEST_F(Widgets, HiddenButtonsDrawNothingAndCallNoHook) {
  CountingButton b;
  gallery::MakeButton(b, 100, 100, L"Hidden", L"Hint");
  b.m_Visible = false;
  Frames(b, {In().MoveTo(150, 110).Press(), In().Release()});
  EXPECT_FALSE(b.WasClicked());
  EXPECT_TRUE(s.Last().sprites.empty());
  EXPECT_TRUE(s.Last().texts.empty());
  EXPECT_EQ(b.hovers + b.noHovers + b.clicks + b.noClicks, 0);
}

TEST_F(Widgets, DisabledButtonsShowTheirDisabledImageAndNeverHoverHintOrClick) {
  CountingButton b;
  gallery::MakeButton(b, 100, 100, L"Off", L"Hint");
  b.m_Enabled = false;
  Frames(b, {In().MoveTo(150, 110).Press(), In().Release()});
  EXPECT_EQ(Drawn(gallery::Disabled()), 1u);
  EXPECT_EQ(Drawn(gallery::Hover()), 0u);
  EXPECT_FALSE(b.WasClicked());
  EXPECT_EQ(b.hovers + b.clicks, 0);
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
  Frames(plain);
  EXPECT_EQ(Drawn(gallery::Normal()), 1u);
  EXPECT_EQ(s.Last().sprites.size(), 1u);
}

TEST_F(Widgets, HighlightedButtonsHoverEveryFrameAndClickOnlyWhenEnabled) {
  CountingButton b;
  gallery::MakeButton(b, 100, 100, L"", L"");
  b.m_Highlight = true;
  b.m_Enabled = false;
  Frames(b, {In().MoveTo(500, 500), In(), In()});
  EXPECT_EQ(b.hovers, 3);
  EXPECT_EQ(Drawn(gallery::Hover()), 1u);
  Frames(b, {In().MoveTo(150, 110).Press(), In().Release()});
  EXPECT_EQ(b.hovers, 5);
  EXPECT_EQ(b.clicks, 0);
  b.m_Enabled = true;
  Frames(b, {In().Press(), In().Release()});
  EXPECT_EQ(b.clicks, 1);
  EXPECT_EQ(b.hovers, 7);
  EXPECT_EQ(b.noHovers, 0);
}

TEST_F(Widgets, SliderFollowsThePointerInsideItsRectangleOnly) {
  CPDASlideBar slider;
  gallery::MakeSlider(slider, 200, 300);  // fill 120 pixels wide from x 200
  slider.m_pReleaseSound = sound;
  Slide(slider, In().MoveTo(200, 305).Press());  // the fill's left edge
  EXPECT_FLOAT_EQ(slider.GetValue(), 0.0f);
  Slide(slider, In().MoveTo(230, 305));
  EXPECT_FLOAT_EQ(slider.GetValue(), 0.25f);
  // The fill is drawn before the drag step: the next frame shows a quarter of its 120 pixels.
  Slide(slider);
  auto fill = s.Last().FindSprites(atlas, gallery::SliderFill().left, gallery::SliderFill().top);
  ASSERT_EQ(fill.size(), 1u);
  EXPECT_FLOAT_EQ(fill[0]->Width(), 30.0f);
  EXPECT_EQ(s.Last().sprites[0].srcTop, gallery::SliderBack().top);  // background first
  // The last pixel inside gives 119 / 120; outside the rectangle the value freezes.
  for (int x : {319, 400, 150}) {
    Slide(slider, In().MoveTo(x, 305));
    EXPECT_FLOAT_EQ(slider.GetValue(), 119.0f / 120.0f) << x;
  }
  Slide(slider, In().Release());
  EXPECT_EQ(Voices(), 0);  // released outside: silent

  // At and past the fill's right edge the value is 1, left of it 0 (a rectangle wider than the fill).
  slider.m_Rect = Nembra::MakeRect(190, 300, 200, 16);
  Slide(slider, In().MoveTo(320, 305).Press());
  EXPECT_FLOAT_EQ(slider.GetValue(), 1.0f);
  Slide(slider, In().MoveTo(380, 305));
  EXPECT_FLOAT_EQ(slider.GetValue(), 1.0f);
  Slide(slider, In().MoveTo(195, 305));
  EXPECT_FLOAT_EQ(slider.GetValue(), 0.0f);
  Slide(slider, In().Release());
  EXPECT_EQ(Voices(), 1);  // released inside: the sound

  // Disabled: no drag; hidden: nothing drawn.
  slider.m_Enabled = false;
  Slide(slider, In().MoveTo(260, 305).Press());
  EXPECT_FLOAT_EQ(slider.GetValue(), 0.0f);
  slider.m_Visible = false;
  Slide(slider);
  EXPECT_TRUE(s.Last().sprites.empty());
}

TEST_F(Widgets, RadioGroupsSelectByClickExclusiveOrNot) {
  CPDARadioGroup group;
  gallery::AddItem(group, 100, 100, L"One");
  gallery::AddItem(group, 100, 140, L"Two");
  EXPECT_EQ(group.GetSelected(), 2);  // none selected: the count
  auto frames = [&](const std::vector<FrameInput>& inputs) {
    s.Script(inputs);
    s.Run(int(inputs.size()), [&] {
      ScreenScenario::TwoPass([&] { group.Update(); },
                              [&] {
                                for (int i = 0; i < group.GetCount(); ++i) group.GetItem(i)->DrawLabel();
                              });
    });
  };
  auto click = [&](int x, int y) { frames({In().MoveTo(x, y).Press(), In().Release()}); };

  // Plain group: clicks add to the selection; a click on a selected item keeps it.
  group.Select(0);
  click(105, 145);
  EXPECT_TRUE(group.GetItem(0)->m_Selected && group.GetItem(1)->m_Selected);
  EXPECT_EQ(group.GetSelected(), 0);
  click(105, 145);
  EXPECT_TRUE(group.GetItem(1)->m_Selected);
  EXPECT_EQ(Drawn(gallery::Box()), 2u);
  EXPECT_EQ(Drawn(gallery::Check()), 2u);
  // Labels: 5 pixels right of the box, left-aligned, vertically centred on it.
  auto label = s.Last().FindText(L"Two");
  ASSERT_EQ(label.size(), 1u);
  Nembra::CBitmapFont* font = Nembra::g_pBitmapFontFactory->Get(FONT_PDA_STD);
  EXPECT_EQ(AtOf(*label[0]), (At{100 + 16 + 5, int(140 + (16 - font->GetLineHeight()) * 0.5f)}));

  // Exclusive: a click leaves only that item selected.
  group.m_Exclusive = true;
  click(105, 105);
  EXPECT_TRUE(group.GetItem(0)->m_Selected);
  EXPECT_FALSE(group.GetItem(1)->m_Selected);
  EXPECT_EQ(Drawn(gallery::Check()), 2u);  // the click frame drew before applying it
  frames({In()});
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
  click(105, 105);
  EXPECT_EQ(group.GetSelected(), 0);
  group.Select(1);
  group.m_Visible = false;
  frames({In()});
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
  for (int i = 0; i < CPDARadioGroup::MAX_ITEMS; ++i) EXPECT_NE(group.AddItem(), nullptr);
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
  Frames(b, {In().MoveTo(20, 30).Press(), In().Release()});
  EXPECT_TRUE(b.WasClicked());
  EXPECT_TRUE(s.Last().texts.empty());
}

}  // namespace
