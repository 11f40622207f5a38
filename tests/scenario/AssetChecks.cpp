#include "scenario/AssetChecks.h"

#include <map>
#include <set>

#include "engine/fonts/GlyphTable.h"
#include "platform/Files.h"
#include "platform/Image.h"
#include "platform/Text.h"

namespace assetcheck {

namespace {

std::map<std::string, LayoutSource>& Layouts() {
  static std::map<std::string, LayoutSource> layouts;
  return layouts;
}
std::map<std::string, TextSource>& Texts() {
  static std::map<std::string, TextSource> texts;
  return texts;
}

std::string Hex(unsigned v) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", v);
  return text;
}

std::string Describe(const ImageRect& r) {
  return (r.what.empty() ? std::string() : r.what + ": ") + r.image + " (" + std::to_string(r.rect.left) + ", " +
         std::to_string(r.rect.top) + ")-(" + std::to_string(r.rect.right) + ", " + std::to_string(r.rect.bottom) +
         ")";
}

}  // namespace

Registration::Registration(const char* name, LayoutSource layout) { Layouts()[name] = std::move(layout); }
Registration::Registration(const char* name, TextSource texts) { Texts()[name] = std::move(texts); }

template <class Map>
std::vector<std::string> NamesOf(const Map& map) {
  std::vector<std::string> names;
  for (const auto& entry : map) names.push_back(entry.first);
  return names;
}
std::vector<std::string> LayoutNames() { return NamesOf(Layouts()); }
std::vector<std::string> TextNames() { return NamesOf(Texts()); }

std::vector<std::string> CheckRects(const std::string& dataFolder, const std::vector<ImageRect>& rects) {
  std::vector<std::string> faults;
  std::map<std::string, platform::Image> images;
  for (const ImageRect& r : rects) {
    auto it = images.find(r.image);
    if (it == images.end()) {
      platform::Image image;
      std::string error;
      if (!platform::LoadImageFile(dataFolder + r.image, image, &error)) {
        faults.push_back(Describe(r) + ": image not readable (" + error + ")");
        continue;
      }
      it = images.emplace(r.image, std::move(image)).first;
    }
    const platform::Image& image = it->second;
    const platform::RECT& q = r.rect;
    if (q.left < 0 || q.top < 0 || q.right <= q.left || q.bottom <= q.top || q.right > int32_t(image.width) ||
        q.bottom > int32_t(image.height)) {
      faults.push_back(Describe(r) + ": outside the " + std::to_string(image.width) + "x" +
                       std::to_string(image.height) + " image or empty");
      continue;
    }
    bool seen = false;
    for (int32_t y = q.top; y < q.bottom && !seen; ++y)
      for (int32_t x = q.left; x < q.right && !seen; ++x)
        seen = (image.argb[size_t(y) * image.width + size_t(x)] >> 24) != 0;
    if (!seen) faults.push_back(Describe(r) + ": fully transparent");
  }
  return faults;
}

std::vector<std::string> CheckFont(const std::string& dataFolder, const std::string& font,
                                   const std::vector<std::wstring>& texts) {
  std::vector<std::string> faults;
  std::vector<uint8_t> bytes;
  Nembra::GLYPH_TABLE table;
  if (!platform::ReadWholeFile(dataFolder + font + ".dat", bytes) ||
      !Nembra::ReadGlyphTable(bytes.data(), bytes.size(), table)) {
    faults.push_back(font + ": glyph table missing or damaged");
    return faults;
  }
  if (table.truncated || table.dropped) faults.push_back(font + ": glyph table cut short or with damaged records");
  platform::Image atlas;
  std::string error;
  if (!platform::LoadImageFile(dataFolder + font + ".png", atlas, &error) || atlas.argb.empty()) {
    faults.push_back(font + ": atlas not readable (" + error + ")");
    return faults;
  }
  if ((atlas.argb[0] >> 24) != 0) faults.push_back(font + ": atlas texel (0, 0) is not transparent");
  std::set<wchar_t> codes;
  for (const Nembra::GLYPH_TABLE_ENTRY& g : table.glyphs) {
    codes.insert(static_cast<wchar_t>(g.code));
    const int left = g.x - 5, right = g.x + g.width + 5, bottom = g.y + int(table.lineHeight);
    if (left < 0 || g.y < 0 || right > int(atlas.width) || bottom > int(atlas.height))
      faults.push_back(font + ": glyph " + Hex(g.code) + " reaches outside the atlas");
  }
  std::set<wchar_t> missing;
  for (const std::wstring& text : texts)
    for (wchar_t c : text)
      if (c != L'\n' && c != L'\r' && !codes.count(c)) missing.insert(c);
  for (wchar_t c : missing) faults.push_back(font + ": no glyph for " + Hex(unsigned(c)));
  return faults;
}

std::vector<std::string> CheckLayouts(const std::string& dataFolder) {
  std::vector<std::string> faults;
  for (const auto& [name, source] : Layouts())
    for (const std::string& fault : CheckRects(dataFolder, source())) faults.push_back(name + ": " + fault);
  return faults;
}

std::vector<std::string> CheckFontCoverage(const std::string& dataFolder, const std::vector<std::string>& fonts) {
  std::vector<std::wstring> all;
  std::vector<std::string> faults;
  for (const auto& [name, source] : Texts()) {
    std::vector<std::wstring> texts = source(dataFolder);
    if (texts.empty()) faults.push_back(name + ": no texts found");
    all.insert(all.end(), texts.begin(), texts.end());
  }
  for (const std::string& font : fonts)
    for (const std::string& fault : CheckFont(dataFolder, font, all)) faults.push_back(fault);
  return faults;
}

}  // namespace assetcheck
