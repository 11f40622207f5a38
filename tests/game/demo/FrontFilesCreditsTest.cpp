// The credits texts from their bytes: UTF-16 lines, headings, and the line
// breaks kept or merged the way the formatted wide reader takes them.
#include <gtest/gtest.h>

#include <string>

#include "frontend/screens/CreditsText.h"

namespace {

std::vector<CREDIT_LINE> Read(const std::string& bytes) {
  return ReadCreditLines(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

// UTF-16LE bytes of ASCII text (each char one unit).
std::string Units(const std::string& ascii) {
  std::string out;
  for (char c : ascii) {
    out += c;
    out += '\0';
  }
  return out;
}

const std::string BOM("\xFF\xFE", 2);

}  // namespace

TEST(FrontFilesCredits, LinesHeadingsAndBreaks) {
  // "+Team" CR LF, CR LF, "Ana" CR LF, "+" CR LF, then the Spanish n with
  // tilde and a Cyrillic letter as one line, ending without a break.
  const std::string bytes = BOM + Units("+Team\r\n\r\nAna\r\n+\r\n") + std::string("\xF1\x00\x14\x04", 4);
  const auto lines = Read(bytes);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0].text, L"Team\r");
  EXPECT_TRUE(lines[0].IsHeading());
  EXPECT_FLOAT_EQ(lines[0].red, 0.854902f);
  EXPECT_FLOAT_EQ(lines[0].green, 0.68235296f);
  EXPECT_FLOAT_EQ(lines[0].blue, 0.0f);
  EXPECT_FLOAT_EQ(lines[0].alpha, 1.0f);
  EXPECT_EQ(lines[1].text, L"\r") << "an empty CR LF line stays, holding its CR";
  EXPECT_FALSE(lines[1].IsHeading());
  EXPECT_EQ(lines[2].text, L"Ana\r");
  EXPECT_FALSE(lines[2].IsHeading());
  EXPECT_EQ(lines[3].text, L"\r") << "'+' alone is an empty heading";
  EXPECT_TRUE(lines[3].IsHeading());
  EXPECT_EQ(lines[4].text, L"\u00F1\u0414") << "the last line needs no break";

  // Bare line feeds: runs of them are one break, so empty lines vanish.
  const auto bare = Read(BOM + Units("a\n\n\nb\n"));
  ASSERT_EQ(bare.size(), 2u);
  EXPECT_EQ(bare[0].text, L"a");
  EXPECT_EQ(bare[1].text, L"b");
  // Breaks before the first line give one empty first line.
  const auto leading = Read(BOM + Units("\n\nc"));
  ASSERT_EQ(leading.size(), 2u);
  EXPECT_EQ(leading[0].text, L"");
  EXPECT_EQ(leading[1].text, L"c");
  // A surrogate pair is one character; the first two bytes are skipped
  // whatever they are; an odd last byte is dropped.
  const auto astral = Read(std::string("\x3F\x00", 2) + std::string("\x3D\xD8\x00\xDE", 4) + "\x41");
  ASSERT_EQ(astral.size(), 1u);
  EXPECT_EQ(astral[0].text, L"\U0001F600");
}

TEST(FrontFilesCredits, ShortAndMissingFilesGiveNoLines) {
  for (size_t size = 0; size <= 3; ++size) {
    EXPECT_TRUE(Read(std::string("\xFF\xFE\x41\x00", size)).empty()) << size;
  }
  EXPECT_TRUE(LoadCreditLines("/nonexistent/Credits_EN.txt").empty());
  // Every truncation of a file reads without harm and never yields more
  // lines than the whole file.
  const std::string bytes = BOM + Units("+A\r\nbb\r\n\r\nccc\r\n");
  const size_t whole = Read(bytes).size();
  for (size_t cut = 0; cut <= bytes.size(); ++cut) {
    EXPECT_LE(Read(bytes.substr(0, cut)).size(), whole) << cut;
  }
}
