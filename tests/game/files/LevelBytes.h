#pragma once
// Literal file bytes for the level-file tests, written as hex pairs with
// 'quoted' ASCII text between them; blanks are ignored.
#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

namespace levelbytes {

inline std::vector<uint8_t> Hex(const std::string& text) {
  std::vector<uint8_t> bytes;
  const auto digit = [](char c) { return std::isdigit(uint8_t(c)) ? c - '0' : std::toupper(uint8_t(c)) - 'A' + 10; };
  for (size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (std::isspace(uint8_t(c))) {
      ++i;
    } else if (c == '\'') {
      const size_t end = text.find('\'', i + 1);
      bytes.insert(bytes.end(), text.begin() + long(i) + 1, text.begin() + long(end));
      i = end + 1;
    } else {
      bytes.push_back(uint8_t(digit(text[i]) * 16 + digit(text[i + 1])));
      i += 2;
    }
  }
  return bytes;
}

}  // namespace levelbytes
