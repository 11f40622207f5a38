// The pictures of the main menu, the logos, the final and purchase screens
// and the pointers, with their words painted per language; and the
// sounds of the menu's buttons.
#include <algorithm>
#include <string>

#include "frontend/menu/MainMenuLayout.h"
#include "tools/datagen/DataGen.h"
#include "tools/datagen/SoundLevels.h"
#include "tools/datagen/WordPainter.h"
#include "tools/formats/SoundFiles.h"

namespace {

using datagen::PaintBox;
using formats::TestPicture;

// Words of the buttons, in the menu's order, and of the slider labels.
const wchar_t* const kButtonWords[MENU_LANGUAGE_COUNT][MENU_BUTTON_COUNT] = {
    {L"START", L"LANGUAGE", L"SETTINGS", L"DEFAULT", L"SAVE", L"CREDITS", L"EXIT", L"ENGLISH", L"SPANISH", L"YES",
     L"NO"},
    {L"EMPEZAR", L"IDIOMA", L"OPCIONES", L"DEFECTO", L"GUARDAR", L"CR\u00C9DITOS", L"SALIR", L"INGL\u00C9S",
     L"ESPA\u00D1OL", L"S\u00CD", L"NO"},
    {L"\u0418\u0413\u0420\u0410\u0422\u042C", L"\u042F\u0417\u042B\u041A",
     L"\u041D\u0410\u0421\u0422\u0420\u041E\u0419\u041A\u0418",
     L"\u0421\u0422\u0410\u041D\u0414\u0410\u0420\u0422", L"\u0421\u041E\u0425\u0420\u0410\u041D\u0418\u0422\u042C",
     L"\u0410\u0412\u0422\u041E\u0420\u042B", L"\u0412\u042B\u0425\u041E\u0414",
     L"\u0410\u041D\u0413\u041B\u0418\u0419\u0421\u041A\u0418\u0419", L"\u0418\u0421\u041F\u0410\u041D\u0421\u041A\u0418\u0419",
     L"\u0414\u0410", L"\u041D\u0415\u0422"},
};
const wchar_t* const kLabelWords[MENU_LANGUAGE_COUNT][MENU_LABEL_COUNT] = {
    {L"Gamma", L"Music", L"Effects"},
    {L"Gamma", L"M\u00FAsica", L"Efectos"},
    {L"\u0413\u0430\u043C\u043C\u0430", L"\u041C\u0443\u0437\u044B\u043A\u0430", L"\u042D\u0444\u0444\u0435\u043A\u0442\u044B"},
};

// Normal words light grey, hovered ones amber, the flash white.
constexpr uint32_t kWordColours[3] = {0xD8D8E0, 0xFFB020, 0xFFFFFF};

PaintBox Box(const MenuBox& b) { return PaintBox{b.x, b.y, b.w, b.h}; }

bool PaintLanguage(TestPicture& atlas, int language) {
  bool ok = true;
  for (int button = 0; button < MENU_BUTTON_COUNT; ++button)
    for (int image = 0; image < 3; ++image)
      ok = datagen::PaintText(atlas, kButtonWords[language][button], Box(MenuWordSource(language, button, image)),
                              kWordColours[image], MenuWordSource(language, button, image).h * 7 / 10, true, true) &&
           ok;
  for (int label = 0; label < MENU_LABEL_COUNT; ++label)
    ok = datagen::PaintText(atlas, kLabelWords[language][label], Box(MenuLabelSource(language, label)), 0xFFFFFF, 18,
                            true, true) &&
         ok;
  return ok;
}

// A menu-style picture: 1024 x 1024, the screen in the top-left 800 x 600.
TestPicture Backdrop(uint32_t top, uint32_t bottom, const std::wstring& title) {
  TestPicture picture(1024, 1024, 0xFF000000u);
  datagen::FillGradient(picture, {0, 0, 800, 600}, top, bottom);
  // A few diagonal light bands across the left half.
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 520; ++x)
      if (((x + y) / 40) % 5 == 0) {
        uint32_t& p = picture.At(uint32_t(x), uint32_t(y));
        uint32_t lighter = 0xFF000000u;
        for (int shift : {16, 8, 0}) lighter |= std::min<uint32_t>(255u, ((p >> shift) & 0xFFu) * 5u / 4u) << shift;
        p = lighter;
      }
  datagen::PaintText(picture, title, {40, 40, 460, 60}, 0xE0E8FF, 44);
  return picture;
}

TestPicture ConfigAtlas() {
  TestPicture atlas(512, 64, 0x00000000u);
  datagen::FillBox(atlas, Box(MENU_PANEL_STRIP), 0xB0102040u);
  datagen::FillBox(atlas, Box(MENU_SLIDER_BAR), 0xFF505868u);
  datagen::FillBox(atlas, {MENU_SLIDER_BAR.x + 2, MENU_SLIDER_BAR.y + 2, MENU_SLIDER_BAR.w - 4, MENU_SLIDER_BAR.h - 4},
                   0xFF20242Cu);
  datagen::FillBox(atlas, Box(MENU_SLIDER_FILL), 0xFF30C0F0u);
  return atlas;
}

// An arrow pointer, tip at (2, 2).
TestPicture Pointer(uint32_t fill) {
  TestPicture p(32, 32, 0x00000000u);
  for (int y = 0; y < 22; ++y)
    for (int x = 0; x <= y * 2 / 3; ++x) {
      const bool edge = x == 0 || x == y * 2 / 3 || y == 21;
      p.At(uint32_t(2 + x), uint32_t(2 + y)) = edge ? 0xFF000000u : fill;
    }
  return p;
}

TestPicture BuyNowButtonImage() {
  TestPicture p(256, 256, 0x00000000u);
  datagen::FillBox(p, {0, 0, 196, 71}, 0xFF1A6E2Au);
  datagen::FillBox(p, {0, 71, 196, 71}, 0xFF2EB84Au);
  datagen::PaintText(p, L"BUY NOW", {0, 0, 196, 71}, 0xFFFFFF, 30);
  datagen::PaintText(p, L"BUY NOW", {0, 71, 196, 71}, 0xFFFF80, 30);
  return p;
}

TestPicture BuyNowScreenImage() {
  TestPicture p = Backdrop(0xFF301808u, 0xFF000000u, L"PROJECT KARVESSA");
  // The strip below the picture, drawn over the screen's top rows.
  datagen::FillGradient(p, {0, 600, 800, 135}, 0xFF802000u, 0xFF401000u);
  datagen::PaintText(p, L"GET THE FULL GAME", {0, 610, 800, 110}, 0xFFFFFF, 56);
  return p;
}

// Three 512 x 60 strips of the final screen's words.
TestPicture FinalImage(const wchar_t* first, const wchar_t* second, const wchar_t* third) {
  TestPicture p(512, 256, 0x00000000u);
  datagen::PaintText(p, first, {0, 0, 512, 60}, 0xFFD040, 44, true, true);
  datagen::PaintText(p, second, {0, 60, 512, 44}, 0xFFFFFF, 26, true, true);
  datagen::PaintText(p, third, {0, 120, 512, 44}, 0xFFFFFF, 26, true, true);
  return p;
}

TestPicture Logo(uint32_t ground, uint32_t ink, const std::wstring& name, const std::wstring& line) {
  TestPicture p(512, 256, 0xFF000000u);
  datagen::FillBox(p, {8, 8, 496, 240}, ground);
  datagen::PaintText(p, name, {8, 40, 496, 110}, ink, 80);
  datagen::PaintText(p, line, {8, 160, 496, 50}, ink, 28, false);
  return p;
}

bool WriteFrontEndImages(const datagen::Output& out) {
  TestPicture latin(MENU_ATLAS_SIZE, MENU_ATLAS_SIZE, 0x00000000u), cyrillic(MENU_ATLAS_SIZE, MENU_ATLAS_SIZE, 0);
  bool ok = PaintLanguage(latin, MENU_ENG) && PaintLanguage(latin, MENU_SPA) && PaintLanguage(cyrillic, MENU_RUS);
  ok = out.Write(MENU_ATLAS, formats::PngBytes(latin)) && ok;
  ok = out.Write(MENU_ATLAS_RUSSIAN, formats::PngBytes(cyrillic)) && ok;
  ok = out.Write(MENU_CONFIG_ATLAS, formats::PngBytes(ConfigAtlas())) && ok;
  ok = out.Write(MENU_BACKGROUND,
                 formats::JpegBytes(Backdrop(0xFF0C2A48u, 0xFF02060Cu, L"PROJECT KARVESSA"), 90)) &&
       ok;
  ok = out.Write(MENU_BACKGROUND_RUSSIAN,
                 formats::JpegBytes(Backdrop(0xFF0C2A48u, 0xFF02060Cu,
                                             L"\u041F\u0420\u041E\u0415\u041A\u0422 KARVESSA"),
                                    90)) &&
       ok;
  ok = out.Write("MousePointer2.tga", formats::TgaBytes(Pointer(0xFFFFFFFFu), true)) && ok;
  ok = out.Write("MousePointer.tga", formats::TgaBytes(Pointer(0xFFFFE060u), true)) && ok;
  ok = out.Write("BuyNowButton.png", formats::PngBytes(BuyNowButtonImage())) && ok;
  ok = out.Write("BuyNowScreen.jpg", formats::JpegBytes(BuyNowScreenImage(), 90)) && ok;
  ok = out.Write("Final_EN.png",
                 formats::PngBytes(FinalImage(L"CONGRATULATIONS!", L"You have finished the demo",
                                              L"The story goes on in the full game"))) &&
       ok;
  ok = out.Write("Final_ES.png",
                 formats::PngBytes(FinalImage(L"\u00A1ENHORABUENA!", L"Has terminado la demo",
                                              L"La historia sigue en el juego completo"))) &&
       ok;
  ok = out.Write("Final_RU.png",
                 formats::PngBytes(FinalImage(
                     L"\u041F\u041E\u0417\u0414\u0420\u0410\u0412\u041B\u042F\u0415\u041C!",
                     L"\u0412\u044B \u043F\u0440\u043E\u0448\u043B\u0438 \u0434\u0435\u043C\u043E",
                     L"\u0418\u0441\u0442\u043E\u0440\u0438\u044F \u043F\u0440\u043E\u0434\u043E\u043B\u0436\u0430"
                     L"\u0435\u0442\u0441\u044F \u0432 \u043F\u043E\u043B\u043D\u043E\u0439 \u0438\u0433\u0440\u0435"))) &&
       ok;
  // The credits' masking band: one opaque black texel stretched over a band.
  ok = out.Write("TP.png", formats::PngBytes(TestPicture(4, 4, 0xFF000000u))) && ok;
  ok = out.Write("Logo_Studio.png",
                 formats::PngBytes(Logo(0xFF1C3C8Cu, 0xFFFFFF, L"KARVESSA", L"a game by the Karvessa team"), false)) &&
       ok;
  ok = out.Write("Logo_Nembra.png",
                 formats::PngBytes(Logo(0xFF8C1C1Cu, 0xFFF0D080, L"NEMBRA", L"engine"), false)) &&
       ok;
  return ok;
}

bool WriteFrontEndSounds(const datagen::Output& out) {
  const double level = datagen::PeakOf(datagen::SoundLevel::Effect);
  formats::Tone click;
  click.frequency = 1200.0;
  click.seconds = 0.05;
  click.amplitude = level;
  formats::Tone hover;
  hover.frequency = 660.0;
  hover.seconds = 0.12;
  hover.amplitude = level;
  formats::Tone slider;
  slider.frequency = 900.0;
  slider.seconds = 0.06;
  slider.amplitude = level;
  bool ok = out.Write("GUI_ButtonClick.WAV", formats::WaveToneBytes(click));
  ok = out.Write("GUI_ButtonEffect.WAV", formats::WaveToneBytes(hover)) && ok;
  ok = out.Write("PDA_ButtonClick.wav", formats::WaveToneBytes(slider)) && ok;
  return ok;
}

}  // namespace

DATAGEN_GROUP("frontend-images", WriteFrontEndImages);
DATAGEN_GROUP("frontend-sounds", WriteFrontEndSounds);
