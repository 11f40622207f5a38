#include "frontend/comic/ComicDescription.h"

#include <map>
#include <utility>

#include "engine/util/SectionedFile.h"
#include "engine/util/Utilities.h"
#include "platform/Files.h"
#include "platform/Saturate.h"

namespace {

// The first value of every section and key, as a settings lookup answers.
class ValueTable {
 public:
  explicit ValueTable(const std::string& text) {
    for (const auto& record : Nembra::SectionedText<std::string>::Parse(text))
      if (!record.IsTextOnly() && !record.key.empty())
        m_Values.emplace(std::make_pair(record.section, record.key), record.value);
  }
  std::string Get(const std::string& section, const char* key) const {
    auto it = m_Values.find(std::make_pair(section, std::string(key)));
    return it == m_Values.end() ? std::string() : it->second;
  }
  int32_t GetCount(const std::string& section, const char* key, int32_t limit) const {
    const int value = Nembra::StringToInt(Get(section, key));
    return value < 0 ? 0 : (value > limit ? limit : value);
  }

 private:
  std::map<std::pair<std::string, std::string>, std::string> m_Values;
};

}  // namespace

COMIC_DESC ReadComicDescription(const uint8_t* data, size_t size) {
  COMIC_DESC comic;
  if (!data || size == 0) return comic;
  std::string text(reinterpret_cast<const char*>(data), size);
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  const ValueTable values(text);

  const int32_t pageCount = values.GetCount("InitComic", "PagesCount", COMIC_MAX_PAGES);
  comic.pages.resize(static_cast<size_t>(pageCount));
  for (int32_t n = 0; n < pageCount; ++n) {
    COMIC_PAGE_DESC& page = comic.pages[static_cast<size_t>(n)];
    const std::string section = "Page_" + std::to_string(n);
    page.imageFile = values.Get(section, "ImageFile");
    const int32_t balloonCount = values.GetCount(section, "BalloonsCount", COMIC_MAX_BALLOONS);
    page.balloons.resize(static_cast<size_t>(balloonCount));
    for (int32_t m = 0; m < balloonCount; ++m) {
      COMIC_BALLOON_DESC& balloon = page.balloons[static_cast<size_t>(m)];
      const std::string balloonSection = section + "_Balloon_" + std::to_string(m);
      balloon.textId = values.Get(balloonSection, "IdText");
      D3DXVECTOR3 point(0.0f, 0.0f, 0.0f);
      Nembra::StringToPoint(values.Get(balloonSection, "TextPos"), &point);
      balloon.x = platform::ClampPixelPosition(point.x);  // a place on the screen
      balloon.y = platform::ClampPixelPosition(point.y);
    }
  }
  return comic;
}

COMIC_DESC LoadComicDescription(const std::string& file) {
  std::vector<uint8_t> bytes;
  if (!platform::ReadWholeFile(file, bytes)) return {};
  return ReadComicDescription(bytes.data(), bytes.size());
}
