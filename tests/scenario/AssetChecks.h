#pragma once
// Checks of the generated data every screen relies on, over what the layout
// tables (image rectangles) and text sources registered: every rectangle lies
// inside its image and is not fully transparent; every game font has a glyph
// for every character of every text, inside its atlas, and a clear texel (0, 0).
//   ASSET_LAYOUT("PDA frame", [] { return std::vector<assetcheck::ImageRect>{{"PDA.png", {0, 0, 27, 27}}}; });
//   ASSET_TEXTS("HUD literals", [](const std::string& data) { return std::vector<std::wstring>{L"0 : 00"}; });
#include <functional>
#include <string>
#include <vector>

#include "platform/Rect.h"

namespace assetcheck {

struct ImageRect {
  std::string image;     // file name in the data folder
  platform::RECT rect;   // left, top, right, bottom in the image's pixels
  std::string what;      // how the failure message names it
};

using LayoutSource = std::function<std::vector<ImageRect>()>;
// Texts from the data folder given (ending with '/').
using TextSource = std::function<std::vector<std::wstring>(const std::string& dataFolder)>;

struct Registration {
  Registration(const char* name, LayoutSource layout);
  Registration(const char* name, TextSource texts);
};

// The names registered so far.
std::vector<std::string> LayoutNames();
std::vector<std::string> TextNames();

// One line per fault found; empty when everything holds.
std::vector<std::string> CheckLayouts(const std::string& dataFolder);
std::vector<std::string> CheckFontCoverage(const std::string& dataFolder, const std::vector<std::string>& fonts);

// The checks on explicit lists (what the registered checks run on).
std::vector<std::string> CheckRects(const std::string& dataFolder, const std::vector<ImageRect>& rects);
std::vector<std::string> CheckFont(const std::string& dataFolder, const std::string& font,
                                   const std::vector<std::wstring>& texts);

}  // namespace assetcheck

#define ASSET_CHECK_CONCAT2(a, b) a##b
#define ASSET_CHECK_CONCAT(a, b) ASSET_CHECK_CONCAT2(a, b)
#define ASSET_LAYOUT(name, ...)                                          \
  static ::assetcheck::Registration ASSET_CHECK_CONCAT(s_AssetLayout, __LINE__)( \
      name, ::assetcheck::LayoutSource(__VA_ARGS__))
#define ASSET_TEXTS(name, ...)                                          \
  static ::assetcheck::Registration ASSET_CHECK_CONCAT(s_AssetTexts, __LINE__)( \
      name, ::assetcheck::TextSource(__VA_ARGS__))
