#pragma once
// The demo's three levels and the names their data files share: the
// description files name the scripts, comics, map pictures and texts that
// other asset groups write.
#include <string>

namespace datagen {

struct DemoLanguage {
  const char* suffix;  // file suffix: "_EN", "_ES", "_RU"
  int index;           // 0 English, 1 Spanish, 2 Russian
};
inline constexpr DemoLanguage DEMO_LANGUAGES[] = {{"_EN", 0}, {"_ES", 1}, {"_RU", 2}};

struct DemoLevel {
  const char* name;        // "LevelTutorial": <name>_Triggers.dat, <name><suffix>.dat, <name>.lua
  const char* startComic;  // comic description file, or "null"
  const char* endComic;
  const char* mapTexture;  // GPS map picture
  const char* mapRect;     // the part of the map picture shown, in texels: left,top,right,bottom
  int enabledDocuments;    // documents 0 .. n-1 become readable in this level
};
inline constexpr DemoLevel DEMO_LEVELS[] = {
    {"LevelTutorial", "ComicTutorial.dat", "null", "MapTutorial.png", "0,0,512,256", 4},
    {"Level4", "ComicLevel4.dat", "null", "MapLevel4.png", "0,0,512,256", 8},
    {"Level8", "null", "ComicEnd.dat", "MapLevel8.png", "0,0,512,256", 12},
};

// File names here are ASCII; the description files hold them as wide text.
inline std::wstring WideName(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

inline std::string LevelScriptName(const DemoLevel& level) { return std::string(level.name) + ".lua"; }
// The e-mail of a level and its one attachment, per language.
inline std::string MailTextName(const DemoLevel& level, const DemoLanguage& language) {
  return std::string("Mail_") + level.name + language.suffix + ".txt";
}
inline std::string AttachmentTextName(const DemoLevel& level, const DemoLanguage& language) {
  return std::string("Attachment_") + level.name + language.suffix + ".txt";
}
inline std::string AttachmentImageName(const DemoLevel& level) {
  return std::string("Attachment_") + level.name + ".png";
}

// The twelve network documents: text files per language; image documents
// also show a picture.
constexpr int DEMO_DOCUMENT_COUNT = 12;
inline std::string DocumentTextName(int n, const DemoLanguage& language) {
  return "Document" + std::to_string(n) + language.suffix + ".txt";
}
inline bool DocumentIsImage(int n) { return n % 3 == 2; }
inline std::string DocumentImageName(int n) { return "Document" + std::to_string(n) + ".png"; }

}  // namespace datagen
