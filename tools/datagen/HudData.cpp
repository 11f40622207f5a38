// The HUD's pictures and sounds: the atlas "GUI.png" with every region the
// widgets draw, the word atlases of the three languages, the banner sounds,
// the mission-complete music and the portraits of the demo messages.
#include <cstring>
#include <string>

#include "frontend/hud/GUILayout.h"
#include "tools/datagen/DataGen.h"
#include "tools/datagen/HudPainter.h"
#include "tools/datagen/HudPictures.h"
#include "tools/datagen/SoundLevels.h"
#include "tools/formats/GraphicsFiles.h"
#include "tools/formats/SoundFiles.h"

using namespace gui_layout;

namespace {

// Darker troughs the bars run in, relative to their frames.
struct TROUGH {
  const char* frame;
  REGION rect;
};
const TROUGH kTroughs[] = {
    {"health frame", {35, 9, 107, 17}},
    {"ability frame", {24, 10, 571, 17}},
    {"weapon frame", {9, 48, 17, 94}},
    {"weapon frame", {45, 48, 17, 94}},
};
// The window the portrait shows through, relative to the message frame.
constexpr REGION PORTRAIT_WINDOW{11, 39, 89, 89};
// The symbol on each icon.
struct SYMBOL {
  const char* region;
  const wchar_t* text;
};
const SYMBOL kSymbols[] = {
    {"weapon level-2 icon", L"2"}, {"weapon level-3 icon", L"3"}, {"access-card icon", L"A"},
    {"connectors icon", L"C"},     {"checkpoint icon", L"P"},     {"memory-card icon", L"M"},
    {"items strip", L"I"},         {"timer strip", L"T"},         {"generators strip", L"G"},
    {"receptors strip", L"R"},     {"health frame", L"+"},        {"ability frame", L"*"},
};
const wchar_t* SymbolOf(const char* name) {
  for (const SYMBOL& s : kSymbols)
    if (std::strcmp(s.region, name) == 0) return s.text;
  return nullptr;
}

void PaintRegion(datagen::Painter& p, const NAMED_REGION& r) {
  const REGION& g = r.rect;
  switch (r.kind) {
    case REGION_KIND::FRAME:
      p.Fill(g.x, g.y, g.width, g.height, 0xB0000000u | r.tint);
      p.Outline(g.x, g.y, g.width, g.height, 0xFFB8C8D8u, 2);
      for (const TROUGH& t : kTroughs)
        if (std::strcmp(t.frame, r.name) == 0) {
          p.Fill(g.x + t.rect.x - 1, g.y + t.rect.y - 1, t.rect.width + 2, t.rect.height + 2, 0xFF101820u);
          p.Fill(g.x + t.rect.x, g.y + t.rect.y, t.rect.width, t.rect.height, 0xE0202830u);
        }
      if (g.width == MESSAGE_FRAME.width) {
        const REGION& w = PORTRAIT_WINDOW;
        p.Outline(g.x + w.x - 2, g.y + w.y - 2, w.width + 4, w.height + 4, 0xFFB8C8D8u, 2);
        p.Fill(g.x + w.x, g.y + w.y, w.width, w.height, 0x00000000u);
        p.Fill(g.x + 8, g.y + 8, g.width - 16, 20, 0xC0405870u);  // title band
      }
      break;
    case REGION_KIND::BAR:
      p.Gradient(g.x, g.y, g.width, g.height, r.tint);
      break;
    case REGION_KIND::BLINK_BAR:
      p.Gradient(g.x, g.y, g.width, g.height, r.tint, 0xC0);
      break;
    case REGION_KIND::FLASH:
      p.Glow(g.x, g.y, g.width, g.height, r.tint);
      break;
    case REGION_KIND::ICON:
      p.Fill(g.x, g.y, g.width, g.height, 0xFF000000u | r.tint);
      p.Outline(g.x, g.y, g.width, g.height, 0xFF202020u, 1);
      break;
    case REGION_KIND::STRIP:
      p.Fill(g.x, g.y, g.width, g.height, 0xB0000000u | 0x2A3A4A);
      p.Outline(g.x, g.y, g.width, g.height, 0xFFB8C8D8u, 2);
      if (g.width == 140) p.Fill(g.x + 4, g.y + 4, 27, 27, 0xFF000000u | r.tint);  // the counter's own icon
      break;
    case REGION_KIND::PORTRAIT:
      datagen::PaintPortrait(p, g.x, g.y, g.width, r.tint, 0xFFD0A080u);
      break;
    case REGION_KIND::GLOW:
      p.EdgeGlow(g.x, g.y, g.width, g.height, r.tint, 10);
      break;
  }
  if (const wchar_t* symbol = SymbolOf(r.name)) {
    const bool strip = r.kind == REGION_KIND::STRIP && g.width == 140;
    const bool gauge = r.kind == REGION_KIND::FRAME;
    if (strip)
      p.Words(symbol, g.x + 4, g.y + 4, 27, 27, 0xFFFFFF);
    else if (gauge && r.rect.width == 180)
      p.Words(symbol, g.x + 6, g.y + 6, 24, 23, 0x80FF90);
    else if (gauge)
      p.Words(symbol, g.x + g.width - 30, g.y + 6, 24, 23, 0xFFE070);
    else
      p.Words(symbol, g.x, g.y, g.width, g.height, 0xFFFFFF);
  }
}

// Key strips show as many slots as icons, from the right.
void PaintKeyStrip(datagen::Painter& p, const REGION& g, int icons) {
  const int width = 28 * icons + 10;
  p.Fill(g.x + g.width - width, g.y, width, g.height, 0xB02A3A4Au);
  p.Outline(g.x + g.width - width, g.y, width, g.height, 0xFFB8C8D8u, 2);
}

bool WriteGuiAtlas(const datagen::Output& out) {
  formats::TestPicture atlas(GUI_ATLAS_SIZE, GUI_ATLAS_SIZE, 0x00000000u);
  datagen::Painter p(atlas);
  for (const NAMED_REGION& r : GUI_REGIONS) {
    if (std::strncmp(r.name, "key strip", 9) == 0)
      PaintKeyStrip(p, r.rect, r.name[10] - '0');
    else
      PaintRegion(p, r);
  }
  return out.Write(GUI_ATLAS, formats::PngBytes(atlas));
}

// The words of each atlas in the order of the word images.
const wchar_t* const kWords[TEXT_LANGUAGE_COUNT][TEXT_IMAGE_COUNT] = {
    {L"OBJECTIVE COMPLETE", L"YOU ARE DEAD", L"MISSION COMPLETE", L"WEAPON UPGRADED"},
    {L"OBJETIVO CUMPLIDO", L"HAS MUERTO", L"MISI\u00D3N CUMPLIDA", L"ARMA MEJORADA"},
    {L"\u0417\u0410\u0414\u0410\u0427\u0410 \u0412\u042B\u041F\u041E\u041B\u041D\u0415\u041D\u0410",
     L"\u0412\u042B \u041F\u041E\u0413\u0418\u0411\u041B\u0418",
     L"\u041C\u0418\u0421\u0421\u0418\u042F \u0412\u042B\u041F\u041E\u041B\u041D\u0415\u041D\u0410",
     L"\u041E\u0420\u0423\u0416\u0418\u0415 \u0423\u041B\u0423\u0427\u0428\u0415\u041D\u041E"},
};
const uint32_t kWordColours[TEXT_IMAGE_COUNT] = {0x60FF80, 0xFF4030, 0xFFD040, 0x60C0FF};

bool WriteTextAtlases(const datagen::Output& out) {
  for (int lang = 0; lang < TEXT_LANGUAGE_COUNT; ++lang) {
    formats::TestPicture atlas(TEXT_ATLAS_WIDTH, TEXT_ATLAS_HEIGHT, 0x00000000u);
    datagen::Painter p(atlas);
    for (int i = 0; i < TEXT_IMAGE_COUNT; ++i) {
      const REGION& g = WORD_IMAGES[lang][i].rect;
      // A faint plate so the whole word image reads as one piece.
      p.Fill(g.x, g.y, g.width, g.height, 0x30000000u);
      if (!p.Words(kWords[lang][i], g.x, g.y, g.width, g.height, kWordColours[i])) return false;
    }
    p.Fill(DIM_PATCH.x, DIM_PATCH.y, DIM_PATCH.width, DIM_PATCH.height, 0x80000000u);
    p.Fill(BLACK_PATCH.x, BLACK_PATCH.y, BLACK_PATCH.width, BLACK_PATCH.height, 0xFF000000u);
    if (!out.Write(TEXT_ATLASES[lang], formats::TgaBytes(atlas, true))) return false;
  }
  return true;
}

bool WriteHudSounds(const datagen::Output& out) {
  formats::Tone objective;
  objective.frequency = 880.0;
  objective.seconds = 0.6;
  objective.amplitude = datagen::PeakOf(datagen::SoundLevel::Effect);
  formats::Tone weapon = objective;
  weapon.frequency = 660.0;
  weapon.seconds = 0.5;
  return out.Write("ObjectiveComplete2.wav", formats::WaveToneBytes(objective)) &&
         out.Write("WeaponUp2.wav", formats::WaveToneBytes(weapon));
}

bool WriteHudData(const datagen::Output& out) {
  return WriteGuiAtlas(out) && WriteTextAtlases(out) && WriteHudSounds(out) && datagen::WritePortraits(out);
}

}  // namespace

DATAGEN_GROUP("hud", WriteHudData);
