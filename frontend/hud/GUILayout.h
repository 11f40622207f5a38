#pragma once
// Where the HUD's pictures lie: every region of the atlas "GUI.png" and
// the word images of the per-language atlases "GUI_Texts_EN/ES/RU.tga".
// The widgets take their source rectangles from here and the demo-data
// generator paints its atlases from the same tables.
#include <cstddef>

namespace gui_layout {

// A rectangle of an atlas: left, top, width and height in texels.
struct REGION {
  int x, y, width, height;
};

// What a region of "GUI.png" holds, so the generator knows how to paint it.
enum class REGION_KIND { FRAME, BAR, BLINK_BAR, FLASH, ICON, STRIP, PORTRAIT, GLOW };

struct NAMED_REGION {
  const char* name;
  REGION_KIND kind;
  REGION rect;
  unsigned tint;  // 0xRRGGBB the generator paints the region in
};

constexpr const char* GUI_ATLAS = "GUI.png";
constexpr int GUI_ATLAS_SIZE = 1024;

// Gauges and weapon panel.
constexpr REGION HEALTH_FRAME{71, 139, 180, 35};
constexpr REGION HEALTH_BAR{71, 174, 107, 17};
constexpr REGION HEALTH_BLINK_BAR{71, 212, 107, 17};
constexpr REGION HEALTH_FLASH{308, 0, 23, 23};
constexpr REGION ABILITY_FRAME{71, 257, 631, 35};
constexpr REGION ABILITY_BAR{71, 191, 571, 17};
constexpr REGION ABILITY_BLINK_BAR{71, 240, 571, 17};
constexpr REGION ABILITY_FLASH{308, 23, 23, 23};
constexpr REGION WEAPON_FRAME{0, 35, 71, 177};
constexpr REGION WEAPON_BLUE_BAR{196, 0, 17, 94};
constexpr REGION WEAPON_RED_BAR{213, 0, 17, 94};
constexpr REGION WEAPON_LEVEL2_ICON{22, 223, 14, 17};
constexpr REGION WEAPON_LEVEL2_FLASH{22, 251, 14, 17};
constexpr REGION WEAPON_LEVEL3_ICON{44, 212, 19, 28};
constexpr REGION WEAPON_LEVEL3_FLASH{44, 240, 19, 28};

// Key items: strips for one, two and three icons; icons and flashes in the
// order access card, connectors, checkpoint, memory card.
constexpr REGION KEY_STRIPS[3] = {{149, 432, 120, 35}, {149, 467, 120, 35}, {149, 502, 120, 35}};
constexpr REGION KEY_ICONS[4] = {{331, 26, 25, 26}, {331, 0, 25, 26}, {331, 52, 25, 26}, {331, 78, 25, 26}};
constexpr REGION KEY_FLASHES[4] = {{308, 69, 23, 23}, {308, 46, 23, 23}, {308, 92, 23, 23}, {308, 115, 23, 23}};

// Counter rows: items, timer, generators, receptors.
constexpr REGION COUNTER_STRIPS[4] = {{0, 327, 140, 35}, {0, 362, 140, 35}, {0, 397, 140, 35}, {0, 432, 140, 35}};
constexpr REGION COUNTER_FLASHES[4] = {{285, 46, 23, 23}, {285, 69, 23, 23}, {285, 92, 23, 23}, {285, 115, 23, 23}};

// Message box.
constexpr REGION MESSAGE_FRAME{149, 292, 715, 139};
constexpr REGION MESSAGE_PORTRAIT{0, 467, 89, 89};
constexpr REGION MESSAGE_GLOW{273, 436, 709, 133};

// Every region of "GUI.png", for the generator and the data checks.
constexpr NAMED_REGION GUI_REGIONS[] = {
    {"health frame", REGION_KIND::FRAME, HEALTH_FRAME, 0x3A4A5A},
    {"health bar", REGION_KIND::BAR, HEALTH_BAR, 0x30D040},
    {"health blink bar", REGION_KIND::BLINK_BAR, HEALTH_BLINK_BAR, 0xFFFFFF},
    {"health flash", REGION_KIND::FLASH, HEALTH_FLASH, 0x80FF90},
    {"ability frame", REGION_KIND::FRAME, ABILITY_FRAME, 0x3A4A5A},
    {"ability bar", REGION_KIND::BAR, ABILITY_BAR, 0xB07414},  // deep enough under the white "100%"
    {"ability blink bar", REGION_KIND::BLINK_BAR, ABILITY_BLINK_BAR, 0x8C4C10},
    {"ability flash", REGION_KIND::FLASH, ABILITY_FLASH, 0xFFE070},
    {"weapon frame", REGION_KIND::FRAME, WEAPON_FRAME, 0x3A4A5A},
    {"weapon blue bar", REGION_KIND::BAR, WEAPON_BLUE_BAR, 0x3070FF},
    {"weapon red bar", REGION_KIND::BAR, WEAPON_RED_BAR, 0xFF3030},
    {"weapon level-2 icon", REGION_KIND::ICON, WEAPON_LEVEL2_ICON, 0xF0A020},
    {"weapon level-2 flash", REGION_KIND::FLASH, WEAPON_LEVEL2_FLASH, 0xFFD080},
    {"weapon level-3 icon", REGION_KIND::ICON, WEAPON_LEVEL3_ICON, 0xF04020},
    {"weapon level-3 flash", REGION_KIND::FLASH, WEAPON_LEVEL3_FLASH, 0xFF9080},
    {"key strip 1", REGION_KIND::STRIP, KEY_STRIPS[0], 0x2A3A4A},
    {"key strip 2", REGION_KIND::STRIP, KEY_STRIPS[1], 0x2A3A4A},
    {"key strip 3", REGION_KIND::STRIP, KEY_STRIPS[2], 0x2A3A4A},
    {"access-card icon", REGION_KIND::ICON, KEY_ICONS[0], 0x40A0FF},
    {"connectors icon", REGION_KIND::ICON, KEY_ICONS[1], 0xA060FF},
    {"checkpoint icon", REGION_KIND::ICON, KEY_ICONS[2], 0x40E080},
    {"memory-card icon", REGION_KIND::ICON, KEY_ICONS[3], 0xFF8040},
    {"access-card flash", REGION_KIND::FLASH, KEY_FLASHES[0], 0xA0D0FF},
    {"connectors flash", REGION_KIND::FLASH, KEY_FLASHES[1], 0xD0B0FF},
    {"checkpoint flash", REGION_KIND::FLASH, KEY_FLASHES[2], 0xA0FFC0},
    {"memory-card flash", REGION_KIND::FLASH, KEY_FLASHES[3], 0xFFC0A0},
    {"items strip", REGION_KIND::STRIP, COUNTER_STRIPS[0], 0xFF8040},
    {"timer strip", REGION_KIND::STRIP, COUNTER_STRIPS[1], 0x40C0FF},
    {"generators strip", REGION_KIND::STRIP, COUNTER_STRIPS[2], 0xF0E040},
    {"receptors strip", REGION_KIND::STRIP, COUNTER_STRIPS[3], 0x60FF60},
    {"items flash", REGION_KIND::FLASH, COUNTER_FLASHES[0], 0xFFC0A0},
    {"timer flash", REGION_KIND::FLASH, COUNTER_FLASHES[1], 0xA0E0FF},
    {"generators flash", REGION_KIND::FLASH, COUNTER_FLASHES[2], 0xFFF0A0},
    {"receptors flash", REGION_KIND::FLASH, COUNTER_FLASHES[3], 0xB0FFB0},
    {"message frame", REGION_KIND::FRAME, MESSAGE_FRAME, 0x203040},
    {"default portrait", REGION_KIND::PORTRAIT, MESSAGE_PORTRAIT, 0x708090},
    {"message glow", REGION_KIND::GLOW, MESSAGE_GLOW, 0x80C0FF},
};
constexpr size_t GUI_REGION_COUNT = sizeof GUI_REGIONS / sizeof GUI_REGIONS[0];

// ---------------------------------------------------------------- word images

enum TEXT_LANGUAGE { TEXT_EN = 0, TEXT_ES = 1, TEXT_RU = 2, TEXT_LANGUAGE_COUNT = 3 };
enum TEXT_IMAGE { TEXT_OBJECTIVE_COMPLETE = 0, TEXT_DEATH_TITLE, TEXT_MISSION_COMPLETE, TEXT_WEAPON_UP, TEXT_IMAGE_COUNT };

struct WORD_IMAGE {
  REGION rect;
  int centerX, centerY;
};

constexpr const char* TEXT_ATLASES[TEXT_LANGUAGE_COUNT] = {"GUI_Texts_EN.tga", "GUI_Texts_ES.tga", "GUI_Texts_RU.tga"};
constexpr int TEXT_ATLAS_WIDTH = 512;
constexpr int TEXT_ATLAS_HEIGHT = 256;

// [language][image].
constexpr WORD_IMAGE WORD_IMAGES[TEXT_LANGUAGE_COUNT][TEXT_IMAGE_COUNT] = {
    {{{0, 0, 489, 31}, 244, 15}, {{0, 31, 350, 31}, 175, 15}, {{0, 62, 435, 31}, 217, 15}, {{0, 94, 229, 31}, 114, 15}},
    {{{0, 0, 466, 31}, 233, 15}, {{0, 31, 355, 31}, 177, 15}, {{0, 62, 412, 31}, 206, 15}, {{0, 94, 175, 31}, 87, 15}},
    {{{0, 0, 389, 34}, 194, 17}, {{0, 34, 453, 34}, 226, 17}, {{0, 68, 460, 34}, 230, 17}, {{0, 102, 206, 30}, 103, 15}},
};

// The two 10 x 10 patches every text atlas carries: a half-transparent
// black backdrop and an opaque black one, scaled over the whole screen.
constexpr REGION DIM_PATCH{0, 186, 10, 10};
constexpr REGION BLACK_PATCH{10, 186, 10, 10};

}  // namespace gui_layout
