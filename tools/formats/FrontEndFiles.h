#pragma once
// Writers for the front end's text files: the logo list, the credits texts
// and the comic descriptions. The demo data generator and the tests make
// these files with them.
#include <string>
#include <vector>

namespace formats {

// One logo of "Logos.dat"; seconds as written ("2.5").
struct LogoItem {
  std::string image;
  int width = 0;
  int height = 0;
  std::string seconds;
};

// "Logos.dat": the count, then name, width, height and seconds, one item a
// line, CR LF line ends.
std::string LogoListText(const std::vector<LogoItem>& logos);

// A credits text: UTF-16LE with its byte-order mark, each line ending in
// CR LF. Headings start with "+".
std::string CreditsFileBytes(const std::vector<std::wstring>& lines);

struct ComicBalloonItem {
  std::string textId;
  int x = 0;
  int y = 0;
};

struct ComicPageItem {
  std::string image;
  std::vector<ComicBalloonItem> balloons;
};

// A comic description: [InitComic] PagesCount, [Page_n] ImageFile and
// BalloonsCount, [Page_n_Balloon_m] IdText and TextPos ("x,y").
std::string ComicDescriptionText(const std::vector<ComicPageItem>& pages);

}  // namespace formats
