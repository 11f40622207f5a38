#pragma once
// A cursor over the bytes of a small text file held in memory, shared by
// the readers of the mechanisms' side files. White space is the C locale's
// (space, tab, the line ends, vertical tab, form feed). Two ways to read a
// number: a whole word that must be the number and nothing else, or, as a
// stream reads one, the longest start of the next word that is a number,
// the rest left for the next read.
#include <cstddef>
#include <cstdint>
#include <string>

class CTextReader {
 public:
  CTextReader(const uint8_t* data, size_t size) : m_Data(data), m_Size(data ? size : 0) {}

  // The next word, at most `limit` bytes; false at the end, for a longer
  // word or one with a zero byte in it.
  bool Word(std::string& out, size_t limit);
  // The rest of the line, 1 to max bytes (a "\r" before its newline
  // dropped); the newline stays.
  bool Line(size_t max, std::string& out);

  // A word (at most 64 bytes) that is wholly a finite decimal number: a
  // sign, digits, a fraction, an exponent; read without the locale.
  bool Float(float& out);
  // A word (at most 16 bytes) that is wholly a 32-bit decimal integer.
  bool Int(int32_t& out);
  // An integer as C's "%i" reads it: a sign, then hexadecimal after "0x"
  // or "0X", octal after a leading 0, decimal otherwise; the reading stops
  // at the first character that cannot belong to it, which is left for the
  // next field. False without a digit or beyond 32 bits.
  bool IntAnyBase(int32_t& out);

  // Stream reads: the start of the next word (cut to 63 bytes) that strtof
  // (finite) or strtol (decimal, 32 bits) takes.
  bool LeadingFloat(float& out);
  bool LeadingInt(int32_t& out);

 private:
  static bool IsSpace(uint8_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
  void SkipSpace() {
    while (m_Pos < m_Size && IsSpace(m_Data[m_Pos])) ++m_Pos;
  }
  // The next run of bytes up to white space or a zero byte, cut to the
  // room left in the buffer; false when there is none.
  bool Token(char* text, size_t room);

  const uint8_t* m_Data;
  size_t m_Size;
  size_t m_Pos = 0;
};
