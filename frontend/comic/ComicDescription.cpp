#include "frontend/comic/ComicDescription.h"

#include <map>
#include <set>
#include <utility>

#include "engine/util/MissingReports.h"
#include "engine/util/SectionedFile.h"
#include "engine/util/Utilities.h"
#include "platform/Files.h"
#include "platform/Saturate.h"

namespace {

// The first value of every section and key, as a settings lookup answers,
// and the sections the file has.
class ValueTable {
 public:
  explicit ValueTable(const std::string& text) {
    for (const auto& record : Nembra::SectionedText<std::string>::Parse(text)) {
      if (record.IsTextOnly()) continue;
      m_Sections.insert(record.section);
      if (!record.key.empty()) m_Values.emplace(std::make_pair(record.section, record.key), record.value);
    }
  }
  bool Has(const std::string& section) const { return m_Sections.count(section) != 0; }
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
  std::set<std::string> m_Sections;
};

// The value of a key that a counted section must have, or false (and named)
// when the file lacks the section or the key.
bool ReadRequired(const ValueTable& values, const std::string& file, const std::string& section,
                  const char* countKey, const std::string& count, const char* key, std::string& value) {
  if (!values.Has(section)) {
    Nembra::ReportMissingSection(file, section, countKey, count);
    return false;
  }
  value = values.Get(section, key);
  if (value.empty()) {
    Nembra::ReportMissingKeys(file, section, {key});
    return false;
  }
  return true;
}

// A balloon with its section and its text id, or false (and named) when the
// file lacks either.
bool ReadBalloon(const ValueTable& values, const std::string& file, const std::string& section,
                 const std::string& count, COMIC_BALLOON_DESC& balloon) {
  if (!ReadRequired(values, file, section, "BalloonsCount", count, "IdText", balloon.textId)) return false;
  D3DXVECTOR3 point(0.0f, 0.0f, 0.0f);
  Nembra::StringToPoint(values.Get(section, "TextPos"), &point);
  balloon.x = platform::ClampPixelPosition(point.x);  // a place on the screen
  balloon.y = platform::ClampPixelPosition(point.y);
  return true;
}

// A page with its section and its image, and the balloons of it that are
// whole; false (and named) when the file lacks the section or the image.
bool ReadPage(const ValueTable& values, const std::string& file, const std::string& section,
              const std::string& count, COMIC_PAGE_DESC& page) {
  if (!ReadRequired(values, file, section, "PagesCount", count, "ImageFile", page.imageFile)) return false;
  const int32_t balloonCount = values.GetCount(section, "BalloonsCount", COMIC_MAX_BALLOONS);
  const std::string written = values.Get(section, "BalloonsCount");
  for (int32_t m = 0; m < balloonCount; ++m) {
    COMIC_BALLOON_DESC balloon;
    if (ReadBalloon(values, file, section + "_Balloon_" + std::to_string(m), written, balloon))
      page.balloons.push_back(balloon);
  }
  return true;
}

}  // namespace

COMIC_DESC ReadComicDescription(const uint8_t* data, size_t size, const std::string& name) {
  COMIC_DESC comic;
  if (!data || size == 0) return comic;
  std::string text(reinterpret_cast<const char*>(data), size);
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  const ValueTable values(text);

  const std::string file = "comic " + name;
  const int32_t pageCount = values.GetCount("InitComic", "PagesCount", COMIC_MAX_PAGES);
  const std::string written = values.Get("InitComic", "PagesCount");
  for (int32_t n = 0; n < pageCount; ++n) {
    COMIC_PAGE_DESC page;
    if (ReadPage(values, file, "Page_" + std::to_string(n), written, page)) comic.pages.push_back(std::move(page));
  }
  return comic;
}

COMIC_DESC LoadComicDescription(const std::string& file) {
  std::vector<uint8_t> bytes;
  if (!platform::ReadWholeFile(file, bytes)) return {};
  const size_t folder = file.find_last_of("/\\");
  return ReadComicDescription(bytes.data(), bytes.size(), folder == std::string::npos ? file : file.substr(folder + 1));
}
