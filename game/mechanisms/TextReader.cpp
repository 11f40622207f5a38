#include "game/mechanisms/TextReader.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// The value of a digit in the base, -1 for anything else.
int Digit(uint8_t c, int base) {
  int d = -1;
  if (c >= '0' && c <= '9') d = c - '0';
  if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
  return d < base ? d : -1;
}

// Sign, digits, an optional fraction and exponent; NaN when the word is
// anything else.
float ParseFloat(const std::string& word) {
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

}  // namespace

bool CTextReader::Word(std::string& out, size_t limit) {
  SkipSpace();
  if (m_Pos >= m_Size) return false;
  const size_t start = m_Pos;
  while (m_Pos < m_Size && !IsSpace(m_Data[m_Pos])) {
    if (m_Data[m_Pos] == 0 || m_Pos - start >= limit) return false;
    ++m_Pos;
  }
  out.assign(reinterpret_cast<const char*>(m_Data + start), m_Pos - start);
  return true;
}

bool CTextReader::Line(size_t max, std::string& out) {
  size_t end = m_Pos;
  while (end < m_Size && m_Data[end] != '\n' && m_Data[end] != 0) ++end;
  const size_t length = end - m_Pos;
  if (length == 0 || length > max) return false;
  out.assign(reinterpret_cast<const char*>(m_Data + m_Pos), length);
  if (!out.empty() && out.back() == '\r') out.pop_back();  // a line ended the other way
  if (out.empty()) return false;
  m_Pos = end;
  return true;
}

bool CTextReader::Float(float& out) {
  std::string word;
  if (!Word(word, 64)) return false;
  const float value = ParseFloat(word);
  if (!std::isfinite(value)) return false;
  out = value;
  return true;
}

bool CTextReader::Int(int32_t& out) {
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

bool CTextReader::IntAnyBase(int32_t& out) {
  SkipSpace();
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

bool CTextReader::LeadingFloat(float& out) {
  char text[64];
  if (!Token(text, sizeof text)) return false;
  char* end = nullptr;
  errno = 0;
  const float value = std::strtof(text, &end);
  if (end == text || !std::isfinite(value)) return false;
  m_Pos -= std::strlen(end);  // give back what the number did not take
  out = value;
  return true;
}

bool CTextReader::LeadingInt(int32_t& out) {
  char text[64];
  if (!Token(text, sizeof text)) return false;
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text, &end, 10);
  if (end == text || errno == ERANGE || value > INT32_MAX || value < INT32_MIN) return false;
  m_Pos -= std::strlen(end);
  out = static_cast<int32_t>(value);
  return true;
}

bool CTextReader::Token(char* text, size_t room) {
  SkipSpace();
  size_t n = 0;
  while (m_Pos < m_Size && n + 1 < room && m_Data[m_Pos] != 0 && !IsSpace(m_Data[m_Pos]))
    text[n++] = static_cast<char>(m_Data[m_Pos++]);
  text[n] = '\0';
  return n > 0;
}
