#include "game/mechanisms/MechanismFiles.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace MechanismFiles {

namespace {

// Whitespace-separated words of a byte buffer, read one at a time.
class CWordReader {
 public:
  CWordReader(const uint8_t* data, size_t size) : m_Data(data), m_Size(data ? size : 0) {}

  // The next word, at most `limit` bytes; false at the end, for a longer
  // word or one with a zero byte in it.
  bool Word(std::string& out, size_t limit) {
    while (m_Pos < m_Size && IsSpace(m_Data[m_Pos])) ++m_Pos;
    if (m_Pos >= m_Size) return false;
    const size_t start = m_Pos;
    while (m_Pos < m_Size && !IsSpace(m_Data[m_Pos])) {
      if (m_Data[m_Pos] == 0 || m_Pos - start >= limit) return false;
      ++m_Pos;
    }
    out.assign(reinterpret_cast<const char*>(m_Data + start), m_Pos - start);
    return true;
  }

  // A finite decimal number, read without the locale.
  bool Float(float& out) {
    std::string word;
    if (!Word(word, 64)) return false;
    const float value = ParseFloat(word);
    if (!std::isfinite(value)) return false;
    out = value;
    return true;
  }

  // An integer as C's "%i" reads it: a sign, then hexadecimal after "0x"
  // or "0X", octal after a leading 0, decimal otherwise; the reading stops
  // at the first character that cannot belong to it, which is left for the
  // next field. False without a digit or beyond 32 bits.
  bool IntAnyBase(int32_t& out) {
    while (m_Pos < m_Size && IsSpace(m_Data[m_Pos])) ++m_Pos;
    size_t p = m_Pos;
    bool negative = false;
    if (p < m_Size && (m_Data[p] == '+' || m_Data[p] == '-')) negative = m_Data[p++] == '-';
    int base = 10;
    if (p < m_Size && m_Data[p] == '0') {
      base = 8;
      if (p + 2 < m_Size && (m_Data[p + 1] == 'x' || m_Data[p + 1] == 'X') && Digit(m_Data[p + 2], 16) >= 0) {
        base = 16;
        p += 2;
      }
    }
    const size_t first = p;
    int64_t value = 0;
    for (int d; p < m_Size && (d = Digit(m_Data[p], base)) >= 0; ++p) {
      value = value * base + d;
      if (value > 2147483648LL) return false;
    }
    if (p == first) return false;
    value = negative ? -value : value;
    if (value > 2147483647LL) return false;
    out = static_cast<int32_t>(value);
    m_Pos = p;
    return true;
  }

  bool Int(int32_t& out) {
    std::string word;
    if (!Word(word, 16)) return false;
    size_t i = 0;
    bool negative = false;
    if (word[i] == '+' || word[i] == '-') negative = word[i++] == '-';
    if (i == word.size()) return false;
    int64_t value = 0;
    for (; i < word.size(); ++i) {
      if (word[i] < '0' || word[i] > '9') return false;
      value = value * 10 + (word[i] - '0');
      if (value > 2147483648LL) return false;
    }
    value = negative ? -value : value;
    if (value > 2147483647LL) return false;
    out = static_cast<int32_t>(value);
    return true;
  }

 private:
  static bool IsSpace(uint8_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
  // The value of a digit in the base, -1 for anything else.
  static int Digit(uint8_t c, int base) {
    int d = -1;
    if (c >= '0' && c <= '9') d = c - '0';
    if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    return d < base ? d : -1;
  }

  // Sign, digits, an optional fraction and exponent; NaN when the word is
  // anything else.
  static float ParseFloat(const std::string& word) {
    const char* p = word.c_str();
    double sign = 1.0;
    if (*p == '+' || *p == '-') sign = *p++ == '-' ? -1.0 : 1.0;
    double value = 0.0;
    bool digits = false;
    for (; *p >= '0' && *p <= '9'; ++p, digits = true) value = value * 10.0 + (*p - '0');
    if (*p == '.') {
      double scale = 0.1;
      for (++p; *p >= '0' && *p <= '9'; ++p, digits = true, scale *= 0.1) value += (*p - '0') * scale;
    }
    if (!digits) return NAN;
    if (*p == 'e' || *p == 'E') {
      ++p;
      int expSign = 1;
      if (*p == '+' || *p == '-') expSign = *p++ == '-' ? -1 : 1;
      if (*p < '0' || *p > '9') return NAN;
      int exponent = 0;
      for (; *p >= '0' && *p <= '9'; ++p) exponent = exponent < 1000 ? exponent * 10 + (*p - '0') : exponent;
      value *= std::pow(10.0, expSign * exponent);
    }
    if (*p != 0) return NAN;
    return static_cast<float>(sign * value);
  }

  const uint8_t* m_Data;
  size_t m_Size;
  size_t m_Pos = 0;
};

}  // namespace

int ParseWireGrateDescription(const uint8_t* data, size_t size, WIRE_GRATE_DESCRIPTION& out) {
  CWordReader reader(data, size);
  int32_t flag = 0;
  if (!reader.Word(out.closedMesh, MAX_NAME)) return 0;
  if (!reader.Word(out.openedMesh, MAX_NAME)) return 1;
  if (!reader.Word(out.explosionEffectFile, MAX_NAME)) return 2;
  if (!reader.Float(out.closedBoxWidth)) return 3;
  if (!reader.Float(out.closedBoxDepth)) return 4;
  if (!reader.Int(flag)) return 5;
  out.breakable = flag == 1;
  if (!reader.Word(out.openedShapesFileA, MAX_NAME)) return 6;
  if (!reader.Word(out.openedShapesFileB, MAX_NAME)) return 7;
  return 8;
}

bool ParsePushableParts(const uint8_t* data, size_t size, PUSHABLE_PARTS& out) {
  CWordReader reader(data, size);
  PUSHABLE_PARTS read;
  int32_t count = 0;
  if (!reader.Float(read.partHeight) || !reader.IntAnyBase(count)) return false;
  if (count < 0 || count > MAX_PARTS) return false;
  for (int32_t i = 0; i < count; ++i) {
    PUSHABLE_PART part;
    if (!reader.Word(part.meshFile, MAX_NAME) || !reader.Float(part.x)) return false;
    read.parts.push_back(std::move(part));
  }
  out = std::move(read);
  return true;
}

}  // namespace MechanismFiles
