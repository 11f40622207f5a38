#pragma once
// Where the PDA's pictures lie in its two atlases, "PDA.png" and
// "PDA2.png" (both 1024 x 1024), and where they go on the screen. The
// screens cut their images from these places, the data generator paints
// them there and the data checks look at every one.
#include <array>
#include <vector>

#include "engine/util/Utilities.h"

namespace pda {

constexpr const char* ATLAS = "PDA.png";
constexpr const char* ATLAS2 = "PDA2.png";
constexpr int ATLAS_SIZE = 1024;
constexpr const char* POINTER_IMAGE = "MousePointer.tga";
constexpr const char* CLICK_SOUND = "PDA_ButtonClick.wav";

// A piece of one of the atlases: which one, and x, y, width, height.
struct Piece {
  int atlas;  // 1 "PDA.png", 2 "PDA2.png"
  int x, y, w, h;
  Nembra::RECT Rect() const { return Nembra::MakeRect(x, y, w, h); }
};

// ---- "PDA.png" ----
constexpr Piece FRAME{1, 0, 0, 800, 600};
// The frame's screen, on which lie the title, the application window, the
// logged-in line, the status lamp and the frame buttons; the dialogs'
// backdrop dims exactly this rectangle.
constexpr int SCREEN_X = 180, SCREEN_Y = 109, SCREEN_W = 529, SCREEN_H = 382;
// The application window: every application's background covers it and
// the frame is see-through over it.
constexpr int WINDOW_X = 181, WINDOW_Y = 155, WINDOW_W = 527, WINDOW_H = 270;
// One texel of plain panel colour, stretched over the window.
constexpr Piece PANEL_TEXEL{1, 365, 605, 1, 1};
// One texel of the dimming backdrop behind modal panels.
constexpr Piece BACKDROP_TEXEL{1, 343, 616, 1, 1};
constexpr Piece OBJECTIVES_BACKGROUND{1, 360, 600, 527, 270};
constexpr Piece STATUS{1, 534, 425, 86, 21};
constexpr int STATUS_X = 535, STATUS_Y = 458;
constexpr Piece DIALOG_BUTTON{1, 81, 600, 123, 41};
constexpr Piece DIALOG_BUTTON_HOVER{1, 204, 600, 123, 41};
constexpr Piece DIALOG_PANEL{1, 0, 654, 360, 218};
constexpr Piece PROGRESS_FRAME{1, 0, 872, 250, 24};
constexpr Piece PROGRESS_FILL{1, 0, 896, 240, 14};
constexpr Piece LOGIN_DELETE{1, 829, 527, 23, 23};
constexpr Piece LOGIN_DELETE_HOVER{1, 806, 527, 23, 23};
constexpr Piece LOGIN_DELETE_DISABLED{1, 852, 527, 23, 23};
constexpr Piece LOGIN_ACCEPT{1, 829, 550, 23, 23};
constexpr Piece LOGIN_ACCEPT_HOVER{1, 806, 550, 23, 23};
constexpr Piece LOGIN_ACCEPT_DISABLED{1, 852, 550, 23, 23};

// The frame buttons: key, place, and their three images.
struct FrameButton {
  int key;
  int x, y;
  Piece normal, hover, disabled;
  const char* hint;
};
constexpr int FRAME_BUTTON_SIZE = 27;
constexpr std::array<FrameButton, 5> FRAME_BUTTONS{{
    {1, 191, 454, {1, 0, 627, 27, 27}, {1, 0, 600, 27, 27}, {1, 806, 573, 27, 27}, "TXT_HINT_SYSTEM_OFF"},
    {2, 226, 454, {1, 27, 627, 27, 27}, {1, 27, 600, 27, 27}, {1, 833, 573, 27, 27}, "TXT_HINT_CHANGE_PROFILE"},
    {3, 260, 454, {1, 54, 627, 27, 27}, {1, 54, 600, 27, 27}, {1, 860, 573, 27, 27}, "TXT_HINT_LEVEL_RESET"},
    {6, 671, 118, {2, 108, 164, 27, 27}, {2, 108, 191, 27, 27}, {2, 135, 191, 27, 27}, "TXT_HINT_CLOSE_APP"},
    {7, 671, 454, {1, 887, 627, 27, 27}, {1, 887, 600, 27, 27}, {1, 887, 573, 27, 27}, "TXT_HINT_GAME_INIT"},
}};

// ---- "PDA2.png" ----
constexpr Piece PROFILE_BUTTON{2, 0, 0, 379, 41};
constexpr Piece PROFILE_BUTTON_HOVER{2, 0, 41, 379, 41};
constexpr Piece DESKTOP_BUTTON{2, 0, 82, 491, 41};
constexpr Piece DESKTOP_BUTTON_HOVER{2, 0, 123, 491, 41};
// The desktop's application buttons lie at this x, and their pieces (and
// hit rectangles) run past the screen's right edge; the face painted at the
// left of each piece keeps as much screen right of it as left, and the rest
// of the piece is see-through.
constexpr int DESKTOP_BUTTON_X = 220;
constexpr int DESKTOP_BUTTON_FACE_W = SCREEN_W - 2 * (DESKTOP_BUTTON_X - SCREEN_X);
static_assert(DESKTOP_BUTTON_FACE_W <= DESKTOP_BUTTON.w && DESKTOP_BUTTON_HOVER.w == DESKTOP_BUTTON.w);
// Icons of network, e-mail, GPS and configuration.
constexpr std::array<Piece, 4> DESKTOP_ICONS{{{2, 0, 164, 27, 27}, {2, 27, 164, 27, 27}, {2, 54, 164, 27, 27},
                                              {2, 81, 164, 27, 27}}};
constexpr Piece MAIL_ICON = DESKTOP_ICONS[1];
constexpr Piece SCROLL_ARROW{2, 135, 169, 9, 5};
constexpr Piece SCROLL_ARROW_HOVER{2, 135, 164, 9, 5};
constexpr Piece VIEWER_CLOSE{2, 10, 191, 10, 10};
constexpr Piece VIEWER_CLOSE_HOVER{2, 0, 191, 10, 10};
constexpr std::array<Piece, 3> ATTACHMENT_BUTTONS{{{2, 144, 369, 163, 33}, {2, 144, 402, 165, 33},
                                                   {2, 144, 435, 163, 33}}};
constexpr std::array<Piece, 3> ATTACHMENT_BUTTONS_HOVER{{{2, 144, 270, 163, 33}, {2, 144, 303, 165, 33},
                                                         {2, 144, 336, 163, 33}}};
constexpr std::array<int, 3> ATTACHMENT_X{193, 361, 531};
constexpr int ATTACHMENT_Y = 166;
constexpr Piece MAIL_BACKGROUND{2, 491, 0, 527, 270};
constexpr Piece MAIL_OVERLAY{2, 491, 270, 527, 270};
constexpr Piece SLIDER_BACK{2, 0, 468, 138, 12};
constexpr Piece SLIDER_FILL{2, 0, 480, 130, 4};
constexpr Piece CHECK_BOX{2, 144, 468, 16, 16};
constexpr Piece CHECK_MARK{2, 160, 468, 16, 16};
constexpr Piece CONFIG_BUTTON{2, 0, 622, 161, 41};
constexpr Piece CONFIG_BUTTON_HOVER{2, 0, 581, 161, 41};
constexpr Piece CONFIG_BUTTON_DISABLED{2, 0, 684, 161, 41};
constexpr Piece KEY_ROW_HOVER{2, 0, 663, 254, 21};
constexpr Piece CONFIG_PANEL{2, 492, 794, 496, 213};
constexpr Piece DOCUMENT_ROW{2, 0, 540, 223, 41};
constexpr Piece DOCUMENT_ROW_HOVER{2, 0, 499, 223, 41};
constexpr Piece VIEWER_PANEL{2, 491, 540, 510, 254};

// Every piece above, for the generator and the data checks.
inline std::vector<Piece> AllPieces() {
  std::vector<Piece> all{FRAME, PANEL_TEXEL, BACKDROP_TEXEL, OBJECTIVES_BACKGROUND, STATUS, DIALOG_BUTTON,
                         DIALOG_BUTTON_HOVER, DIALOG_PANEL, PROGRESS_FRAME, PROGRESS_FILL, LOGIN_DELETE,
                         LOGIN_DELETE_HOVER, LOGIN_DELETE_DISABLED, LOGIN_ACCEPT, LOGIN_ACCEPT_HOVER,
                         LOGIN_ACCEPT_DISABLED, PROFILE_BUTTON, PROFILE_BUTTON_HOVER, DESKTOP_BUTTON,
                         DESKTOP_BUTTON_HOVER, SCROLL_ARROW, SCROLL_ARROW_HOVER, VIEWER_CLOSE, VIEWER_CLOSE_HOVER,
                         MAIL_BACKGROUND, MAIL_OVERLAY, SLIDER_BACK, SLIDER_FILL, CHECK_BOX, CHECK_MARK,
                         CONFIG_BUTTON, CONFIG_BUTTON_HOVER, CONFIG_BUTTON_DISABLED, KEY_ROW_HOVER, CONFIG_PANEL,
                         DOCUMENT_ROW, DOCUMENT_ROW_HOVER, VIEWER_PANEL};
  for (const FrameButton& b : FRAME_BUTTONS) all.insert(all.end(), {b.normal, b.hover, b.disabled});
  all.insert(all.end(), DESKTOP_ICONS.begin(), DESKTOP_ICONS.end());
  all.insert(all.end(), ATTACHMENT_BUTTONS.begin(), ATTACHMENT_BUTTONS.end());
  all.insert(all.end(), ATTACHMENT_BUTTONS_HOVER.begin(), ATTACHMENT_BUTTONS_HOVER.end());
  return all;
}

}  // namespace pda
