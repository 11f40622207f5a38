#include "tools/formats/TextFiles.h"

#include <cstdio>
#include <filesystem>

#include "platform/Text.h"

namespace formats {

std::string Utf16FileBytes(const std::wstring& text) {
  std::string out("\xFF\xFE", 2);
  std::vector<uint8_t> units = platform::WideToUtf16Le(text);
  out.append(units.begin(), units.end());
  return out;
}

std::string SettingsFileText(const std::vector<Section<std::string>>& sections) {
  std::string out;
  for (const auto& section : sections) {
    out += "[" + section.name + "]\r\n";
    for (const auto& kv : section.keys) out += kv.first + "=" + kv.second + "\r\n";
  }
  return out;
}

std::string KeyValueFileBytes(const std::vector<Section<std::wstring>>& sections) {
  std::wstring text;
  for (const auto& section : sections) {
    text += L"[" + section.name + L"]\n";
    for (const auto& kv : section.keys) text += kv.first + L"=" + kv.second + L"\n";
  }
  return Utf16FileBytes(text);
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
  std::error_code ec;
  std::filesystem::path p(path);
  if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path(), ec);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fclose(f) == 0 && ok;
  return ok;
}

}  // namespace formats
