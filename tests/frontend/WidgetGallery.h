#pragma once
// A test atlas for the screen widgets and a gallery of them: buttons in
// each state, a slider, an exclusive check-box group. The headless widget
// tests and the gallery picture use the same images and places.
#include <string>

#include "engine/fonts/BitmapFont.h"
#include "engine/resources/Texture.h"
#include "engine/util/Utilities.h"
#include "frontend/FontNames.h"
#include "frontend/widgets/PDAButton.h"
#include "frontend/widgets/PDARadioGroup.h"
#include "frontend/widgets/PDASlideBar.h"
#include "tools/formats/GraphicsFiles.h"
#include "tools/formats/TextFiles.h"

namespace gallery {

constexpr const char* kAtlas = "WidgetGallery.png";
// Regions of the 256 x 128 atlas.
inline Nembra::RECT Normal() { return Nembra::MakeRect(0, 0, 120, 40); }
inline Nembra::RECT Hover() { return Nembra::MakeRect(0, 40, 120, 40); }
inline Nembra::RECT Disabled() { return Nembra::MakeRect(0, 80, 120, 40); }
inline Nembra::RECT SliderBack() { return Nembra::MakeRect(128, 0, 120, 16); }
inline Nembra::RECT SliderFill() { return Nembra::MakeRect(128, 16, 120, 16); }
inline Nembra::RECT Box() { return Nembra::MakeRect(128, 40, 16, 16); }
inline Nembra::RECT Check() { return Nembra::MakeRect(144, 40, 16, 16); }

constexpr uint32_t kNormalColor = 0xFF2050A0u, kHoverColor = 0xFF40A0F0u, kDisabledColor = 0xFF606060u;
constexpr uint32_t kBackColor = 0xFF303030u, kFillColor = 0xFF30C050u, kBoxColor = 0xFFE0E0E0u,
                   kCheckColor = 0xFFE03030u;

// Writes the atlas into the data folder's texture folder.
inline bool WriteAtlas(const std::string& dataFolder) {
  formats::TestPicture p(256, 128, 0x00000000u);
  auto fill = [&](const Nembra::RECT& r, uint32_t color, bool border) {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) {
        const bool edge = x == r.left || y == r.top || x == r.right - 1 || y == r.bottom - 1;
        p.At(uint32_t(x), uint32_t(y)) = border && edge ? 0xFFFFFFFFu : color;
      }
  };
  fill(Normal(), kNormalColor, true);
  fill(Hover(), kHoverColor, true);
  fill(Disabled(), kDisabledColor, true);
  fill(SliderBack(), kBackColor, false);
  fill(SliderFill(), kFillColor, false);
  fill(Box(), kBoxColor, true);
  // The check: a red square inside a clear border, so the box shows around it.
  fill(Check(), 0x00000000u, false);
  fill(Nembra::MakeRect(147, 43, 10, 10), kCheckColor, false);
  return formats::WriteBytes(dataFolder + kAtlas, formats::PngBytes(p));
}

inline Nembra::CTexture* Atlas() { return Nembra::g_pTextureFactory->GetSingleLevel(kAtlas); }

// A button with the three images at (x, y) and a hit rectangle of its size.
inline void MakeButton(CPDAButton& b, int x, int y, const wchar_t* caption, const wchar_t* hint) {
  Nembra::CTexture* atlas = Atlas();
  b.SetNormalImage(atlas, Normal());
  b.SetHoverImage(atlas, Hover());
  b.SetDisabledImage(atlas, Disabled());
  b.SetPosition(D3DXVECTOR3(float(x), float(y), 0.0f));
  b.m_Rect = Nembra::MakeRect(x, y, 120, 40);
  b.m_pFont = Nembra::g_pBitmapFontFactory->Get(FONT_PDA_STD_ITALIC);
  b.m_Caption = caption;
  b.m_Hint = hint;
}

// A slider with its background at (x, y), the fill on it, active over both.
inline void MakeSlider(CPDASlideBar& s, int x, int y) {
  Nembra::CTexture* atlas = Atlas();
  s.SetBackgroundImage(atlas, SliderBack());
  s.SetFillImage(atlas, SliderFill());
  s.SetPosition(D3DXVECTOR3(float(x), float(y), 0.0f), D3DXVECTOR3(float(x), float(y), 0.0f));
  s.m_Rect = Nembra::MakeRect(x, y, 120, 16);
}

// An item with its box at (x, y) and a hit rectangle of the box.
inline CPDARadioItem* AddItem(CPDARadioGroup& g, int x, int y, const wchar_t* label) {
  Nembra::CTexture* atlas = Atlas();
  CPDARadioItem* item = g.AddItem();
  item->SetBoxImage(atlas, Box());
  item->SetCheckImage(atlas, Check());
  item->m_pBox->SetPosition(D3DXVECTOR3(float(x), float(y), 0.0f));
  item->m_pCheck->SetPosition(D3DXVECTOR3(float(x), float(y), 0.0f));
  item->m_Position = D3DXVECTOR3(float(x), float(y), 0.0f);
  item->m_Rect = Nembra::MakeRect(x, y, 16, 16);
  item->m_Label = label;
  item->m_pFont = Nembra::g_pBitmapFontFactory->Get(FONT_PDA_STD);
  return item;
}

// Every widget in one of its states, as the gallery picture shows them.
struct Gallery {
  CPDAButton normal, disabled, highlighted, hovered;
  CPDASlideBar slider;
  CPDARadioGroup group;

  void Build() {
    MakeButton(normal, 80, 100, L"Normal", L"A normal button");
    MakeButton(disabled, 80, 160, L"Disabled", L"Never shown");
    disabled.m_Enabled = false;
    MakeButton(highlighted, 80, 220, L"Highlighted", L"Waiting for a key");
    highlighted.m_Highlight = true;
    MakeButton(hovered, 80, 280, L"Hovered", L"The pointer is on this button");
    MakeSlider(slider, 420, 110);
    slider.SetValue(0.25f);
    group.m_Exclusive = true;
    AddItem(group, 420, 200, L"First choice");
    AddItem(group, 420, 240, L"Second choice \u00f1 \u0416");
    AddItem(group, 420, 280, L"Third choice");
    group.Select(1);
  }
  void Images() {
    normal.Update();
    disabled.Update();
    highlighted.Update();
    hovered.Update();
    slider.DrawAndUpdate();
    group.Update();
  }
  void Texts() {
    normal.Draw();
    disabled.Draw();
    highlighted.Draw();
    hovered.Draw();
    for (int i = 0; i < group.GetCount(); ++i) group.GetItem(i)->DrawLabel();
  }
};

}  // namespace gallery
