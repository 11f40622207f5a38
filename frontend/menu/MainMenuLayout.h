#pragma once
// The main menu's layout, shared by the menu and the data generator that
// draws its word atlases: where each button and slider label stands on the
// screen in each language, and where its word images lie in the atlas.
//
// "GUI_Main_Menu.png" holds the English and Spanish words, and
// "GUI_Main_Menu_Ruso.png" the Russian ones; both are 1024 x 1024. Each
// button has three images of its on-screen size side by side (normal,
// hover, flash) in a row of its own; each slider label has one image.
#include <cstdint>
#include <string>

#include "engine/app/Engine.h"

enum MenuLanguage : int {
  MENU_ENG = Nembra::LANGUAGE_INDEX_ENGLISH,
  MENU_SPA = Nembra::LANGUAGE_INDEX_SPANISH,
  MENU_RUS = Nembra::LANGUAGE_INDEX_RUSSIAN,
  MENU_LANGUAGE_COUNT = 3
};

// The buttons in the order the menu holds them.
enum MenuButtonId : int {
  MENU_START = 0,
  MENU_LANGUAGE,
  MENU_CONFIGURATION,
  MENU_DEFAULT,
  MENU_SAVE,
  MENU_CREDITS,
  MENU_EXIT,
  MENU_ENGLISH,
  MENU_SPANISH,
  MENU_YES,
  MENU_NO,
  MENU_BUTTON_COUNT
};

enum MenuLabelId : int { MENU_LABEL_GAMMA = 0, MENU_LABEL_MUSIC, MENU_LABEL_EFFECTS, MENU_LABEL_COUNT };

// x, y, width, height.
struct MenuBox {
  int32_t x, y, w, h;
};

constexpr const char* MENU_ATLAS = "GUI_Main_Menu.png";
constexpr const char* MENU_ATLAS_RUSSIAN = "GUI_Main_Menu_Ruso.png";
constexpr const char* MENU_CONFIG_ATLAS = "GUI_Main_Config.png";
constexpr const char* MENU_BACKGROUND = "GUI_Main_Background.jpg";
constexpr const char* MENU_BACKGROUND_RUSSIAN = "GUI_Main_Background_RU.jpg";
// The background of a language code: the Russian one for "RUS", else the other.
inline const char* MenuBackgroundOf(const std::wstring& code) {
  return code == Nembra::LANGUAGE_RUSSIAN ? MENU_BACKGROUND_RUSSIAN : MENU_BACKGROUND;
}
constexpr int MENU_ATLAS_SIZE = 1024;

// Buttons on the screen, per language. The Russian menu hides the
// language, English and Spanish buttons; their boxes there only size the
// word images.
constexpr MenuBox MENU_SCREEN_BOXES[MENU_LANGUAGE_COUNT][MENU_BUTTON_COUNT] = {
    {{681, 247, 96, 43}, {561, 312, 216, 43}, {595, 379, 190, 43}, {178, 460, 114, 28}, {390, 460, 63, 28},
     {604, 448, 173, 43}, {688, 518, 89, 43}, {309, 345, 181, 43}, {309, 415, 184, 43}, {322, 518, 75, 43},
     {429, 519, 74, 43}},
    {{644, 247, 133, 43}, {614, 312, 163, 43}, {565, 379, 214, 43}, {178, 460, 101, 28}, {355, 460, 127, 28},
     {571, 448, 206, 43}, {662, 518, 115, 43}, {309, 345, 182, 43}, {309, 415, 185, 43}, {322, 519, 41, 43},
     {429, 518, 74, 43}},
    {{685, 314, 96, 43}, {561, 312, 216, 43}, {570, 379, 216, 43}, {150, 460, 157, 28}, {380, 460, 111, 28},
     {590, 448, 173, 43}, {654, 518, 112, 43}, {309, 345, 181, 43}, {309, 415, 184, 43}, {322, 518, 50, 43},
     {429, 519, 67, 43}},
};

// Label positions (left, top) beside the sliders, the same in every language.
constexpr int32_t MENU_LABEL_X = 130;
constexpr int32_t MENU_LABEL_Y[MENU_LABEL_COUNT] = {300, 350, 400};
constexpr int32_t MENU_LABEL_W = 100, MENU_LABEL_H = 25;

// Atlas cells: three columns of 256 pixels for the button images, rows of
// 44; Spanish rows follow the English ones. Labels stand in the fourth
// column, rows of 30.
constexpr int32_t MENU_CELL_W = 256, MENU_ROW_H = 44, MENU_LABEL_ROW_H = 30;

// Image 0 normal, 1 hover, 2 flash.
constexpr MenuBox MenuWordSource(int language, int button, int image) {
  return MenuBox{image * MENU_CELL_W, (language == MENU_SPA ? MENU_BUTTON_COUNT * MENU_ROW_H : 0) + button * MENU_ROW_H,
                 MENU_SCREEN_BOXES[language][button].w, MENU_SCREEN_BOXES[language][button].h};
}

constexpr MenuBox MenuLabelSource(int language, int label) {
  return MenuBox{3 * MENU_CELL_W, (language == MENU_SPA ? MENU_LABEL_COUNT * MENU_LABEL_ROW_H : 0) + label * MENU_LABEL_ROW_H,
                 MENU_LABEL_W, MENU_LABEL_H};
}

// The configuration atlas: the panel strip, the slider bar and its fill.
constexpr MenuBox MENU_PANEL_STRIP = {25, 7, 470, 1};
constexpr MenuBox MENU_SLIDER_BAR = {123, 18, 266, 25};
constexpr MenuBox MENU_SLIDER_FILL = {133, 48, 246, 8};
