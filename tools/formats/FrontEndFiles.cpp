#include "tools/formats/FrontEndFiles.h"

#include "tools/formats/TextFiles.h"

namespace formats {

std::string LogoListText(const std::vector<LogoItem>& logos) {
  std::string out = std::to_string(logos.size()) + "\r\n";
  for (const LogoItem& logo : logos)
    out += logo.image + "\r\n" + std::to_string(logo.width) + "\r\n" + std::to_string(logo.height) + "\r\n" +
           logo.seconds + "\r\n";
  return out;
}

std::string CreditsFileBytes(const std::vector<std::wstring>& lines) {
  std::wstring text;
  for (const std::wstring& line : lines) text += line + L"\r\n";
  return Utf16FileBytes(text);
}

std::string ComicDescriptionText(const std::vector<ComicPageItem>& pages) {
  std::vector<Section<std::string>> sections;
  sections.push_back({"InitComic", {{"PagesCount", std::to_string(pages.size())}}});
  for (size_t n = 0; n < pages.size(); ++n) {
    const std::string page = "Page_" + std::to_string(n);
    sections.push_back(
        {page, {{"ImageFile", pages[n].image}, {"BalloonsCount", std::to_string(pages[n].balloons.size())}}});
    for (size_t m = 0; m < pages[n].balloons.size(); ++m) {
      const ComicBalloonItem& balloon = pages[n].balloons[m];
      sections.push_back({page + "_Balloon_" + std::to_string(m),
                          {{"IdText", balloon.textId},
                           {"TextPos", std::to_string(balloon.x) + "," + std::to_string(balloon.y)}}});
    }
  }
  return SettingsFileText(sections);
}

}  // namespace formats
