#include "frontend/screens/LogoList.h"

#include <algorithm>
#include <charconv>
#include <climits>

#include "platform/Files.h"
#include "platform/Saturate.h"

namespace {

// Formatted reading of the text the way the C library's scanner reads a
// text-mode file: CR LF counts as one line break.
class TextScanner {
 public:
  TextScanner(const uint8_t* data, size_t size) {
    if (!data) return;
    m_Text.reserve(size);
    for (size_t i = 0; i < size; ++i)
      if (!(data[i] == '\r' && i + 1 < size && data[i + 1] == '\n')) m_Text += static_cast<char>(data[i]);
  }

  void SkipBlanks() {
    while (m_Pos < m_Text.size() && IsBlank(m_Text[m_Pos])) ++m_Pos;
  }

  // Blanks, an optional sign and at least one digit; beyond the int range
  // the value stops at its end.
  bool ReadInt(int32_t& out) {
    SkipBlanks();
    size_t pos = m_Pos;
    bool negative = false;
    if (pos < m_Text.size() && (m_Text[pos] == '+' || m_Text[pos] == '-')) negative = m_Text[pos++] == '-';
    const size_t digits = pos;
    int64_t value = 0;
    while (pos < m_Text.size() && IsDigit(m_Text[pos])) {
      if (value <= INT_MAX) value = value * 10 + (m_Text[pos] - '0');
      ++pos;
    }
    if (pos == digits) return false;
    if (negative) value = -value;
    out = static_cast<int32_t>(value > INT_MAX ? INT_MAX : (value < INT_MIN ? INT_MIN : value));
    m_Pos = pos;
    return true;
  }

  // Blanks, then a decimal number: sign, digits, point, digits, exponent.
  // Infinities, NaNs and values beyond a float fail.
  bool ReadFloat(float& out) {
    SkipBlanks();
    size_t pos = m_Pos;
    const size_t start = pos;
    if (pos < m_Text.size() && (m_Text[pos] == '+' || m_Text[pos] == '-')) ++pos;
    const size_t mantissa = pos;
    size_t digits = 0;
    while (pos < m_Text.size() && IsDigit(m_Text[pos])) ++pos, ++digits;
    if (pos < m_Text.size() && m_Text[pos] == '.') {
      ++pos;
      while (pos < m_Text.size() && IsDigit(m_Text[pos])) ++pos, ++digits;
    }
    if (digits == 0) return false;
    if (pos < m_Text.size() && (m_Text[pos] == 'e' || m_Text[pos] == 'E')) {
      size_t exp = pos + 1;
      if (exp < m_Text.size() && (m_Text[exp] == '+' || m_Text[exp] == '-')) ++exp;
      if (exp < m_Text.size() && IsDigit(m_Text[exp])) {
        while (exp < m_Text.size() && IsDigit(m_Text[exp])) ++exp;
        pos = exp;
      }
    }
    float value = 0.0f;
    const char* first = m_Text.data() + mantissa;
    const char* last = m_Text.data() + pos;
    const auto result = std::from_chars(first, last, value);
    if (result.ec != std::errc() || result.ptr != last) return false;
    out = m_Text[start] == '-' ? -value : value;
    m_Pos = pos;
    return true;
  }

  // The rest of the line, at least one character; the line break stays.
  // A NUL byte ends the text (a line starting with one holds nothing).
  bool ReadRestOfLine(std::string& out) {
    size_t end = m_Text.find('\n', m_Pos);
    if (end == std::string::npos) end = m_Text.size();
    std::string line = m_Text.substr(m_Pos, end - m_Pos);
    line.erase(std::min(line.find('\0'), line.size()));
    if (line.empty()) return false;
    out = std::move(line);
    m_Pos = end;
    return true;
  }

 private:
  static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

  std::string m_Text;
  size_t m_Pos = 0;
};

}  // namespace

std::vector<LOGO_ENTRY> ReadLogoList(const uint8_t* data, size_t size) {
  std::vector<LOGO_ENTRY> logos;
  TextScanner scanner(data, size);
  int32_t count = 0;
  if (!scanner.ReadInt(count) || count <= 0) return logos;
  scanner.SkipBlanks();
  for (int32_t i = 0; i < count; ++i) {
    LOGO_ENTRY logo;
    if (!scanner.ReadRestOfLine(logo.image) || !scanner.ReadInt(logo.width) || !scanner.ReadInt(logo.height) ||
        !scanner.ReadFloat(logo.seconds) || logo.width < 0 || logo.height < 0)
      break;
    logo.width = platform::ClampPixelCoordinate(logo.width);  // what an image can have
    logo.height = platform::ClampPixelCoordinate(logo.height);
    scanner.SkipBlanks();
    logos.push_back(std::move(logo));
  }
  return logos;
}

std::vector<LOGO_ENTRY> LoadLogoList(const std::string& file) {
  std::vector<uint8_t> bytes;
  if (!platform::ReadWholeFile(file, bytes)) return {};
  return ReadLogoList(bytes.data(), bytes.size());
}
