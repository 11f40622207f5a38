#pragma once
// The credits texts ("Credits_EN.txt", "Credits_ES.txt", "Credits_RU.txt"):
// UTF-16 little-endian text after a two-byte byte-order sign, lines ending
// with the unit 10. A unit 13 before it stays in the line, so CR LF files
// keep their empty lines as lines holding a lone CR, while runs of bare
// line feeds count as one break. A line starting with "+" is a heading:
// the "+" is dropped and the line is gold.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct CREDIT_LINE {
  float red = 1.0f;
  float green = 1.0f;
  float blue = 1.0f;
  float alpha = 1.0f;
  std::wstring text;

  // A heading's colour differs from the exact white of every other line.
  bool IsHeading() const { return !(red == 1.0f && green == 1.0f && blue == 1.0f && alpha == 1.0f); }
};

// (218, 174, 0) of 255.
constexpr float CREDITS_HEADING_RED = 0.854902f;
constexpr float CREDITS_HEADING_GREEN = 0.68235296f;
constexpr float CREDITS_HEADING_BLUE = 0.0f;

// The lines of the file's bytes (the first two bytes are skipped unseen,
// an odd last byte is dropped). Text that begins with line feeds starts
// with one empty line.
std::vector<CREDIT_LINE> ReadCreditLines(const uint8_t* data, size_t size);

// The same from a file; a file that can't be read gives no lines.
std::vector<CREDIT_LINE> LoadCreditLines(const std::string& file);
