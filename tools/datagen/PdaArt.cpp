// The PDA's pictures: the frame and its widgets in "PDA.png" and
// "PDA2.png" at the places of the PDA layout table, and the click sound.
// (The mouse pointer is the front end's.)
#include "frontend/pda/PDALayout.h"
#include "tools/datagen/DataGen.h"
#include "tools/datagen/PdaPaint.h"
#include "tools/datagen/SoundLevels.h"
#include "tools/formats/SoundFiles.h"

namespace {

using namespace datagen::paint;
using pda::Piece;

const uint32_t BODY_TOP = Argb(255, 58, 63, 72), BODY_BOTTOM = Argb(255, 30, 33, 39);
const uint32_t BEZEL = Argb(255, 18, 20, 24), SCREEN_COLOUR = Argb(255, 10, 24, 38);
const uint32_t PANEL = Argb(255, 15, 34, 54), PANEL_LIGHT = Argb(255, 28, 58, 90);
const uint32_t ACCENT = Argb(255, 79, 163, 224), ACCENT_BRIGHT = Argb(255, 150, 215, 255);
const uint32_t DIM = Argb(255, 70, 76, 86), DIM_DARK = Argb(255, 44, 48, 55);
const uint32_t CLEAR = 0x00000000u;

// A button face in a piece: normal, lit (hover) or dim (disabled).
enum class Face { Normal, Lit, Dim };
void ButtonFace(TestPicture& p, const Piece& piece, Face face, int radius) {
  const uint32_t top = face == Face::Lit ? Argb(255, 60, 130, 200) : face == Face::Dim ? DIM : PANEL_LIGHT;
  const uint32_t bottom = face == Face::Lit ? Argb(255, 30, 80, 140) : face == Face::Dim ? DIM_DARK : PANEL;
  const uint32_t border = face == Face::Lit ? ACCENT_BRIGHT : face == Face::Dim ? Argb(255, 96, 100, 108) : ACCENT;
  Panel(p, piece.x, piece.y, piece.w, piece.h, radius, top, bottom, border);
}
uint32_t SymbolColour(Face face) {
  return face == Face::Lit ? 0xFFFFFFFFu : face == Face::Dim ? Argb(255, 120, 124, 130) : ACCENT_BRIGHT;
}

// The symbols of the frame buttons and the desktop icons, centred in a piece.
void Power(TestPicture& p, float cx, float cy, uint32_t c) {
  Ring(p, cx, cy, 8.0f, 2.2f, c);
  Fill(p, int(cx) - 2, int(cy) - 11, 4, 4, CLEAR);
  Line(p, cx, cy - 10.0f, cx, cy - 1.0f, 2.4f, c);
}
void Person(TestPicture& p, float cx, float cy, uint32_t c) {
  Disc(p, cx, cy - 4.0f, 4.0f, c);
  Panel(p, int(cx) - 7, int(cy) + 2, 14, 7, 3, c, c, c);
}
void Restart(TestPicture& p, float cx, float cy, uint32_t c) {
  Ring(p, cx, cy, 8.0f, 2.2f, c);
  Fill(p, int(cx) + 1, int(cy) - 9, 9, 6, CLEAR);
  Line(p, cx + 1.0f, cy - 10.0f, cx + 6.0f, cy - 6.0f, 2.2f, c);
  Line(p, cx + 1.0f, cy - 3.0f, cx + 6.0f, cy - 6.0f, 2.2f, c);
}
void Cross(TestPicture& p, float cx, float cy, float r, uint32_t c, float width) {
  Line(p, cx - r, cy - r, cx + r, cy + r, width, c);
  Line(p, cx - r, cy + r, cx + r, cy - r, width, c);
}
void Play(TestPicture& p, float cx, float cy, uint32_t c) {
  for (int i = 0; i < 14; ++i) Line(p, cx - 5.0f, cy - 7.0f + float(i) * 0.5f, cx + 7.0f, cy, 1.2f, c);
  for (int i = 0; i < 14; ++i) Line(p, cx - 5.0f, cy + 7.0f - float(i) * 0.5f, cx + 7.0f, cy, 1.2f, c);
}
void Tick(TestPicture& p, float cx, float cy, uint32_t c) {
  Line(p, cx - 6.0f, cy, cx - 2.0f, cy + 5.0f, 2.6f, c);
  Line(p, cx - 2.0f, cy + 5.0f, cx + 7.0f, cy - 6.0f, 2.6f, c);
}
void Waves(TestPicture& p, float cx, float cy, uint32_t c) {
  Disc(p, cx, cy + 7.0f, 2.5f, c);
  for (float r : {6.0f, 10.0f, 14.0f}) {
    for (int a = -40; a <= 40; a += 2) {
      const float t = float(a) * 3.14159265f / 180.0f;
      Disc(p, cx + r * std::sin(t), cy + 7.0f - r * std::cos(t), 1.1f, c);
    }
  }
}
void Envelope(TestPicture& p, float cx, float cy, uint32_t c) {
  Panel(p, int(cx) - 10, int(cy) - 7, 20, 14, 1, CLEAR, CLEAR, c, 2);
  Line(p, cx - 9.0f, cy - 6.0f, cx, cy + 1.0f, 2.0f, c);
  Line(p, cx + 9.0f, cy - 6.0f, cx, cy + 1.0f, 2.0f, c);
}
void Target(TestPicture& p, float cx, float cy, uint32_t c) {
  Ring(p, cx, cy, 9.0f, 2.0f, c);
  Disc(p, cx, cy, 2.5f, c);
  for (float s : {-1.0f, 1.0f}) {
    Line(p, cx + s * 12.0f, cy, cx + s * 6.0f, cy, 2.0f, c);
    Line(p, cx, cy + s * 12.0f, cx, cy + s * 6.0f, 2.0f, c);
  }
}
void Gear(TestPicture& p, float cx, float cy, uint32_t c) {
  for (int i = 0; i < 8; ++i) {
    const float t = float(i) * 3.14159265f / 4.0f;
    Line(p, cx, cy, cx + 11.0f * std::cos(t), cy + 11.0f * std::sin(t), 3.5f, c);
  }
  Disc(p, cx, cy, 8.0f, c);
  Disc(p, cx, cy, 3.5f, PANEL);
}

using Symbol = void (*)(TestPicture&, float, float, uint32_t);
void SymbolButton(TestPicture& p, const Piece& piece, Face face, Symbol symbol) {
  ButtonFace(p, piece, face, 6);
  symbol(p, float(piece.x) + float(piece.w) * 0.5f, float(piece.y) + float(piece.h) * 0.5f, SymbolColour(face));
}

// ---- "PDA.png" ----

void Frame(TestPicture& p) {
  using namespace pda;
  // The case, its screen bezel and the screen around the application window.
  Panel(p, 0, 0, 800, 600, 0, Argb(255, 20, 22, 26), Argb(255, 12, 13, 16), Argb(255, 20, 22, 26));
  Panel(p, 120, 60, 660, 470, 48, BODY_TOP, BODY_BOTTOM, Argb(255, 100, 108, 120), 3);
  // The screen is the rectangle the dialogs' backdrop dims: the title, the
  // application window, the logged-in line, the status lamp and the frame
  // buttons lie on it; the bezel around it.
  Panel(p, SCREEN_X - 8, SCREEN_Y - 8, SCREEN_W + 16, SCREEN_H + 16, 10, BEZEL, BEZEL, Argb(255, 8, 9, 11), 2);
  Fill(p, SCREEN_X, SCREEN_Y, SCREEN_W, SCREEN_H, SCREEN_COLOUR);
  Fill(p, SCREEN_X + 6, 148, SCREEN_W - 12, 2, ACCENT);  // under the title
  // The application window and the status lamp's hole are see-through.
  Fill(p, WINDOW_X, WINDOW_Y, WINDOW_W, WINDOW_H, CLEAR);
  Fill(p, STATUS_X, STATUS_Y, STATUS.w, STATUS.h, CLEAR);
  // Seats of the frame buttons and the status lamp along the screen's foot.
  for (const FrameButton& b : FRAME_BUTTONS)
    if (b.y > 400) Panel(p, b.x - 3, b.y - 3, 33, 33, 8, BEZEL, BEZEL, Argb(255, 90, 96, 106));
  Panel(p, STATUS_X - 3, STATUS_Y - 3, STATUS.w + 6, STATUS.h + 6, 6, CLEAR, CLEAR, Argb(255, 90, 96, 106), 3);
  // A speaker grille below the bezel and a maker's strip above it.
  for (int i = 0; i < 6; ++i) Fill(p, 330 + 22 * i, SCREEN_Y + SCREEN_H + 16, 14, 3, Argb(255, 22, 24, 28));
  for (int i = 0; i < 6; ++i) Fill(p, 330 + 22 * i, SCREEN_Y + SCREEN_H + 24, 14, 3, Argb(255, 22, 24, 28));
  Fill(p, 380, 76, 130, 4, Argb(255, 80, 86, 96));
  // The status lamp: a plate with three charge bars.
  Panel(p, STATUS.x, STATUS.y, STATUS.w, STATUS.h, 4, Argb(255, 14, 40, 26), Argb(255, 8, 24, 16),
        Argb(255, 60, 160, 90));
  for (int i = 0; i < 3; ++i) Fill(p, STATUS.x + 8 + 14 * i, STATUS.y + 6, 10, 9, Argb(255, 90, 230, 120));
  Fill(p, STATUS.x + 52, STATUS.y + 9, 26, 3, Argb(255, 90, 230, 120));
}

void PdaAtlas(TestPicture& p) {
  using namespace pda;
  Frame(p);
  // The objectives' background: a panel with faint ruled lines; its corner
  // (texel (365, 605)) is the plain panel colour the other backgrounds use.
  const Piece& o = OBJECTIVES_BACKGROUND;
  Fill(p, o.x, o.y, o.w, o.h, PANEL);
  // The rules lie between the list's lines (30 apart from y 179 on the
  // screen, the background's top at y 155), never through one.
  for (int y = o.y + 48; y < o.y + o.h - 4; y += 30) Fill(p, o.x + 20, y, o.w - 40, 1, Argb(255, 30, 56, 84));
  Fill(p, o.x + 2, o.y + o.h - 3, o.w - 4, 1, Argb(255, 30, 56, 84));
  Fill(p, PANEL_TEXEL.x, PANEL_TEXEL.y, 1, 1, PANEL);
  Fill(p, BACKDROP_TEXEL.x, BACKDROP_TEXEL.y, 1, 1, Argb(170, 0, 0, 0));
  ButtonFace(p, DIALOG_BUTTON, Face::Normal, 8);
  ButtonFace(p, DIALOG_BUTTON_HOVER, Face::Lit, 8);
  const Piece& d = DIALOG_PANEL;
  Panel(p, d.x, d.y, d.w, d.h, 10, PANEL_LIGHT, PANEL, ACCENT, 2);
  Fill(p, d.x + 8, d.y + 36, d.w - 16, 2, ACCENT);
  Panel(p, PROGRESS_FRAME.x, PROGRESS_FRAME.y, PROGRESS_FRAME.w, PROGRESS_FRAME.h, 4, BEZEL, BEZEL, ACCENT, 2);
  Panel(p, PROGRESS_FILL.x, PROGRESS_FILL.y, PROGRESS_FILL.w, PROGRESS_FILL.h, 0, Argb(255, 120, 240, 150),
        Argb(255, 30, 150, 70), Argb(255, 120, 240, 150));
  const Symbol frameSymbols[] = {Power, Person, Restart, nullptr, Play};
  for (size_t i = 0; i < FRAME_BUTTONS.size(); ++i) {
    const FrameButton& b = FRAME_BUTTONS[i];
    if (!frameSymbols[i]) continue;  // the close button lies in "PDA2.png"
    SymbolButton(p, b.normal, Face::Normal, frameSymbols[i]);
    SymbolButton(p, b.hover, Face::Lit, frameSymbols[i]);
    SymbolButton(p, b.disabled, Face::Dim, frameSymbols[i]);
  }
  auto cross = [](TestPicture& q, float cx, float cy, uint32_t c) { Cross(q, cx, cy, 5.0f, c, 2.6f); };
  SymbolButton(p, LOGIN_DELETE, Face::Normal, cross);
  SymbolButton(p, LOGIN_DELETE_HOVER, Face::Lit, cross);
  SymbolButton(p, LOGIN_DELETE_DISABLED, Face::Dim, cross);
  SymbolButton(p, LOGIN_ACCEPT, Face::Normal, Tick);
  SymbolButton(p, LOGIN_ACCEPT_HOVER, Face::Lit, Tick);
  SymbolButton(p, LOGIN_ACCEPT_DISABLED, Face::Dim, Tick);
}

// ---- "PDA2.png" ----

void Pda2Atlas(TestPicture& p) {
  using namespace pda;
  const uint32_t slot = Argb(150, 20, 50, 80), slotLit = Argb(220, 40, 100, 160);
  Panel(p, PROFILE_BUTTON.x, PROFILE_BUTTON.y, PROFILE_BUTTON.w, PROFILE_BUTTON.h, 6, slot, slot, ACCENT);
  Panel(p, PROFILE_BUTTON_HOVER.x, PROFILE_BUTTON_HOVER.y, PROFILE_BUTTON_HOVER.w, PROFILE_BUTTON_HOVER.h, 6,
        slotLit, slotLit, ACCENT_BRIGHT);
  // The desktop's buttons: the face ends inside the screen, the piece's rest stays clear.
  Panel(p, DESKTOP_BUTTON.x, DESKTOP_BUTTON.y, DESKTOP_BUTTON_FACE_W, DESKTOP_BUTTON.h, 6, slot, slot, ACCENT);
  Panel(p, DESKTOP_BUTTON_HOVER.x, DESKTOP_BUTTON_HOVER.y, DESKTOP_BUTTON_FACE_W, DESKTOP_BUTTON_HOVER.h, 6,
        slotLit, slotLit, ACCENT_BRIGHT);
  const Symbol icons[] = {Waves, Envelope, Target, Gear};
  for (size_t i = 0; i < DESKTOP_ICONS.size(); ++i) SymbolButton(p, DESKTOP_ICONS[i], Face::Normal, icons[i]);
  auto bigCross = [](TestPicture& q, float cx, float cy, uint32_t c) { Cross(q, cx, cy, 6.0f, c, 2.6f); };
  const FrameButton& close = FRAME_BUTTONS[3];
  SymbolButton(p, close.normal, Face::Normal, bigCross);
  SymbolButton(p, close.hover, Face::Lit, bigCross);
  SymbolButton(p, close.disabled, Face::Dim, bigCross);
  // The scroll arrow points up; the down button shows it upside down.
  for (const Piece* a : {&SCROLL_ARROW, &SCROLL_ARROW_HOVER}) {
    const uint32_t c = a == &SCROLL_ARROW ? ACCENT : 0xFFFFFFFFu;
    for (int row = 0; row < a->h; ++row) Fill(p, a->x + 4 - row, a->y + row, 2 * row + 1, 1, c);
  }
  auto smallCross = [](TestPicture& q, float cx, float cy, uint32_t c) { Cross(q, cx, cy, 3.0f, c, 1.8f); };
  SymbolButton(p, VIEWER_CLOSE, Face::Normal, smallCross);
  SymbolButton(p, VIEWER_CLOSE_HOVER, Face::Lit, smallCross);
  for (size_t i = 0; i < ATTACHMENT_BUTTONS.size(); ++i) {
    ButtonFace(p, ATTACHMENT_BUTTONS[i], Face::Normal, 5);
    ButtonFace(p, ATTACHMENT_BUTTONS_HOVER[i], Face::Lit, 5);
  }
  // The mail: a panel with the text area; the overlay covers the text's
  // way in and out (above y 215 and below y 405 on the screen).
  const Piece& m = MAIL_BACKGROUND;
  Fill(p, m.x, m.y, m.w, m.h, PANEL);
  // The text area holds the whole wrap width (x 200 to 670 on the screen,
  // with the blank a line may keep); the scroll column takes the arrows at x 677.
  Panel(p, m.x + 8, m.y + 56, m.w - 42, m.h - 62, 6, Argb(255, 10, 26, 42), Argb(255, 10, 26, 42), PANEL_LIGHT);
  Panel(p, m.x + m.w - 33, m.y + 56, 24, m.h - 62, 6, Argb(255, 10, 26, 42), Argb(255, 10, 26, 42), PANEL_LIGHT);
  const Piece& v = MAIL_OVERLAY;
  Fill(p, v.x, v.y, v.w, 60, PANEL);
  Fill(p, v.x + 8, v.y + 56, v.w - 42, 4, Argb(255, 28, 58, 90));
  Fill(p, v.x, v.y + 250, v.w, 20, PANEL);
  Fill(p, v.x + 8, v.y + 250, v.w - 42, 2, Argb(255, 28, 58, 90));
  Panel(p, SLIDER_BACK.x, SLIDER_BACK.y, SLIDER_BACK.w, SLIDER_BACK.h, 4, BEZEL, BEZEL, ACCENT);
  Panel(p, SLIDER_FILL.x, SLIDER_FILL.y, SLIDER_FILL.w, SLIDER_FILL.h, 0, ACCENT_BRIGHT, ACCENT, ACCENT_BRIGHT);
  Panel(p, CHECK_BOX.x, CHECK_BOX.y, CHECK_BOX.w, CHECK_BOX.h, 3, BEZEL, BEZEL, ACCENT_BRIGHT, 2);
  Panel(p, CHECK_MARK.x + 4, CHECK_MARK.y + 4, 8, 8, 2, Argb(255, 120, 240, 150), Argb(255, 60, 190, 100),
        Argb(255, 120, 240, 150));
  ButtonFace(p, CONFIG_BUTTON, Face::Normal, 8);
  ButtonFace(p, CONFIG_BUTTON_HOVER, Face::Lit, 8);
  ButtonFace(p, CONFIG_BUTTON_DISABLED, Face::Dim, 8);
  Panel(p, KEY_ROW_HOVER.x, KEY_ROW_HOVER.y, KEY_ROW_HOVER.w, KEY_ROW_HOVER.h, 4, Argb(150, 60, 130, 200),
        Argb(150, 40, 100, 170), ACCENT_BRIGHT);
  const Piece& c = CONFIG_PANEL;
  Panel(p, c.x, c.y, c.w, c.h, 8, Argb(255, 18, 40, 64), PANEL, PANEL_LIGHT, 2);
  Fill(p, c.x + 300, c.y + 10, 2, 140, PANEL_LIGHT);    // keys | camera
  Fill(p, c.x + 10, c.y + 154, c.w - 20, 2, PANEL_LIGHT);  // sliders below
  Panel(p, DOCUMENT_ROW.x, DOCUMENT_ROW.y, DOCUMENT_ROW.w, DOCUMENT_ROW.h, 6, slot, slot, ACCENT);
  Panel(p, DOCUMENT_ROW_HOVER.x, DOCUMENT_ROW_HOVER.y, DOCUMENT_ROW_HOVER.w, DOCUMENT_ROW_HOVER.h, 6, slotLit,
        slotLit, ACCENT_BRIGHT);
  const Piece& w = VIEWER_PANEL;
  Panel(p, w.x, w.y, w.w, w.h, 8, Argb(255, 18, 40, 64), Argb(255, 12, 28, 46), ACCENT, 2);
  Fill(p, w.x + 8, w.y + 22, w.w - 16, 1, ACCENT);
}

bool WritePdaArt(const datagen::Output& out) {
  TestPicture atlas(pda::ATLAS_SIZE, pda::ATLAS_SIZE, CLEAR);
  PdaAtlas(atlas);
  TestPicture atlas2(pda::ATLAS_SIZE, pda::ATLAS_SIZE, CLEAR);
  Pda2Atlas(atlas2);
  formats::Tone click;
  click.frequency = 1800.0;
  click.seconds = 0.04;
  click.amplitude = datagen::PeakOf(datagen::SoundLevel::Effect);
  click.sampleRate = 22050;
  return out.Write(pda::ATLAS, formats::PngBytes(atlas)) &&
         out.Write(pda::ATLAS2, formats::PngBytes(atlas2)) &&
         out.Write(pda::CLICK_SOUND, formats::WaveToneBytes(click));
}

}  // namespace

DATAGEN_GROUP("pda art", WritePdaArt);
