#pragma once
// Conversions between narrow (UTF-8) strings, wide strings and UTF-16LE
// bytes. wchar_t holds one code point here; UTF-16 surrogate pairs are
// joined on reading and split on writing.
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);

// Decodes UTF-16LE code units (no BOM handling); an odd last byte is dropped.
std::wstring Utf16LeToWide(const uint8_t* bytes, size_t size);
// Encodes as UTF-16LE code units (no BOM).
std::vector<uint8_t> WideToUtf16Le(const std::wstring& text);

// ASCII-only, locale-independent case folding.
char AsciiToUpper(char c);
char AsciiToLower(char c);
std::string AsciiUpper(std::string text);
std::string AsciiLower(std::string text);
bool EqualsIgnoreCase(const std::string& a, const std::string& b);

}  // namespace platform
