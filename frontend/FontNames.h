#pragma once
// frontend/: the front end, the HUD and the PDA, by folder: menu/ (the title
// screen), screens/ (logos, credits, final and purchase screens), comic/,
// hud/ (with its widgets in hud/widgets/), pda/ (with its applications in
// pda/apps/) and widgets/ (the buttons, radio groups, slide bars and image
// helpers they all share); here the font names, the settings values and
// the player profiles. It may call game/level/ and game/world/ (what the
// HUD and the PDA show), engine/ and platform/.
//
// The bitmap fonts of the front end, the HUD and the PDA, by the names the
// font factory loads them under.
#include <array>

constexpr const char* FONT_GUI_SMALL_NUMBERS = "GUI_Font_SmallNumbers";
constexpr const char* FONT_GUI_BIG_NUMBERS = "GUI_Font_BigNumbers";
constexpr const char* FONT_GUI_DIGITAL = "GUI_Font_Digital";
constexpr const char* FONT_GUI_MESSAGE = "GUI_Font_Message";
constexpr const char* FONT_GUI_COMIC = "GUI_Font_Comic";
constexpr const char* FONT_PDA_STD = "PDA_Std";
constexpr const char* FONT_PDA_STD_ITALIC = "PDA_Std_Italic";
constexpr const char* FONT_PDA_TITLE = "PDA_Title";

constexpr std::array<const char*, 8> GAME_FONT_NAMES = {
    FONT_GUI_SMALL_NUMBERS, FONT_GUI_BIG_NUMBERS, FONT_GUI_DIGITAL,    FONT_GUI_MESSAGE,
    FONT_GUI_COMIC,         FONT_PDA_STD,         FONT_PDA_STD_ITALIC, FONT_PDA_TITLE};
