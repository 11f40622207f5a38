#include "engine/util/KeyValueFile.h"

#include <climits>
#include <cstdint>

#include "platform/Files.h"
#include "platform/Log.h"
#include "platform/Text.h"

namespace Nembra {

namespace {

const char BOM[2] = {'\xFF', '\xFE'};

std::wstring DecodeAfterBom(const std::string& file, const std::vector<uint8_t>& bytes) {
  if (bytes.size() < 2) return std::wstring();
  if (bytes[0] != 0xFF || bytes[1] != 0xFE)
    platform::LogWarning("'" + file + "' does not start with a UTF-16LE byte-order mark");
  return platform::Utf16LeToWide(bytes.data() + 2, bytes.size() - 2);
}

}  // namespace

std::vector<KeyValueRecord> CKeyValueFile::FromBytes(const uint8_t* data, size_t size) {
  if (size < 2) return {};
  return SectionedText<std::wstring>::Parse(platform::Utf16LeToWide(data + 2, size - 2));
}

std::vector<uint8_t> CKeyValueFile::ToBytes(const std::vector<KeyValueRecord>& records) {
  std::vector<uint8_t> bytes(BOM, BOM + 2);
  const std::vector<uint8_t> text = platform::WideToUtf16Le(SectionedText<std::wstring>::Serialize(records, L"\n"));
  bytes.insert(bytes.end(), text.begin(), text.end());
  return bytes;
}

bool CKeyValueFile::Load(std::string file, std::vector<KeyValueRecord>& records) {
  std::vector<uint8_t> bytes;
  if (!platform::ReadWholeFile(file, bytes)) return false;
  if (bytes.size() >= 2 && (bytes[0] != 0xFF || bytes[1] != 0xFE))
    platform::LogWarning("'" + file + "' does not start with a UTF-16LE byte-order mark");
  records = FromBytes(bytes.data(), bytes.size());
  return true;
}

bool CKeyValueFile::Save(std::string file, const std::vector<KeyValueRecord>& records) {
  return platform::WriteFileAtomic(file, ToBytes(records));
}

std::vector<KeyValueRecord> CKeyValueFile::GetSectionKeys(std::wstring section, std::string file) {
  std::vector<KeyValueRecord> records;
  std::vector<KeyValueRecord> keys;
  if (!Load(file, records)) return keys;
  for (KeyValueRecord& record : records)
    if (!record.IsTextOnly() && record.section == section && !record.key.empty()) keys.push_back(std::move(record));
  return keys;
}

FILE* OpenUnicodeFile(const std::string& path, const std::string& mode) {
  const bool reading = !mode.empty() && mode[0] == 'r';
  if (reading && !platform::FileExists(path)) return nullptr;
  FILE* file = platform::OpenFile(path, mode.c_str());
  if (!file) return nullptr;
  if (reading) {
    char skipped[2];
    if (std::fread(skipped, 1, 2, file) != 2) std::clearerr(file);
  } else {
    std::fwrite(BOM, 1, 2, file);
  }
  return file;
}

std::wstring ReadUnicodeTextFile(const std::string& path) {
  if (!platform::FileExists(path)) return L"Invalid File Name";
  std::vector<uint8_t> bytes;
  if (!platform::ReadWholeFile(path, bytes)) return std::wstring();
  std::wstring text = DecodeAfterBom(path, bytes);
  const size_t nul = text.find(L'\0');
  if (nul != std::wstring::npos) text.erase(nul);
  return text;
}

int UnicodeFileByteSize(FILE* file) {
  if (!file || std::fseek(file, 0, SEEK_END) != 0) return 0;
  const long size = std::ftell(file);
  std::fseek(file, size < 2 ? size : 2, SEEK_SET);
  if (size < 0) return 0;
  return size > INT_MAX ? INT_MAX : static_cast<int>(size);
}

int UnicodeFileCharCount(FILE* file) {
  const int bytes = UnicodeFileByteSize(file);
  return bytes < 2 ? 0 : bytes / 2 - 1;
}

std::wstring MultiByteToWide(const std::string& text) { return platform::Utf8ToWide(text); }

std::string WideToMultiByte(const std::wstring& text) { return platform::WideToUtf8(text); }

}  // namespace Nembra
