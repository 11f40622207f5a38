#pragma once
// Writers for the game's text file formats: 8-bit sectioned settings files,
// UTF-16 key/value files and the text table. Tests and the demo data
// generator make their files with these.
#include <string>
#include <utility>
#include <vector>

namespace formats {

// Bytes of a UTF-16LE file with its BOM (FF FE) followed by the text.
std::string Utf16FileBytes(const std::wstring& text);

// One section of a settings or key/value file, keys in order.
template <typename Str>
struct Section {
  Str name;
  std::vector<std::pair<Str, Str>> keys;
};

// An 8-bit settings file: "[name]" lines and key=value lines, CR LF ends.
std::string SettingsFileText(const std::vector<Section<std::string>>& sections);
// A UTF-16 key/value file (BOM, "[name]" lines, key=value lines, LF ends).
std::string KeyValueFileBytes(const std::vector<Section<std::wstring>>& sections);

// A text table ("Texts.dat"): one section per language code, text ids as
// keys. In a text '$' is a line break and '@' followed by an action name
// the name of its key.
inline std::string TextTableFileBytes(const std::vector<Section<std::wstring>>& languages) {
  return KeyValueFileBytes(languages);
}

// Writes bytes to a file (folders made as needed); false on failure.
bool WriteBytes(const std::string& path, const std::string& bytes);

}  // namespace formats
