#include "frontend/screens/CreditsText.h"

#include "platform/Files.h"
#include "platform/Text.h"

namespace {

CREDIT_LINE MakeLine(std::wstring text) {
  CREDIT_LINE line;
  if (!text.empty() && text[0] == L'+') {
    text.erase(0, 1);
    line.red = CREDITS_HEADING_RED;
    line.green = CREDITS_HEADING_GREEN;
    line.blue = CREDITS_HEADING_BLUE;
  }
  line.text = std::move(text);
  return line;
}

bool IsLineFeed(const uint8_t* unit) { return unit[0] == 10 && unit[1] == 0; }

}  // namespace

std::vector<CREDIT_LINE> ReadCreditLines(const uint8_t* data, size_t size) {
  std::vector<CREDIT_LINE> lines;
  if (!data || size < 4) return lines;
  const uint8_t* units = data + 2;
  const size_t count = (size - 2) / 2;
  size_t pos = 0;
  while (pos < count) {
    const size_t start = pos;
    while (pos < count && !IsLineFeed(units + 2 * pos)) ++pos;
    lines.push_back(MakeLine(platform::Utf16LeToWide(units + 2 * start, 2 * (pos - start))));
    while (pos < count && IsLineFeed(units + 2 * pos)) ++pos;
  }
  return lines;
}

std::vector<CREDIT_LINE> LoadCreditLines(const std::string& file) {
  std::vector<uint8_t> bytes;
  if (!platform::ReadWholeFile(file, bytes)) return {};
  return ReadCreditLines(bytes.data(), bytes.size());
}
