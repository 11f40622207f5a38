#include "engine/util/ConfigFile.h"

#include <cstdint>

#include "platform/Files.h"

namespace Nembra {

std::vector<ConfigRecord> CConfigFile::FromBytes(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  // An editor may have put a UTF-8 byte-order mark in front.
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  return SectionedText<std::string>::Parse(text);
}

std::string CConfigFile::ToBytes(const std::vector<ConfigRecord>& records) {
  return SectionedText<std::string>::Serialize(records, "\r\n");
}

bool CConfigFile::Load(std::string file, std::vector<ConfigRecord>& records) {
  std::vector<uint8_t> bytes;
  if (!platform::ReadWholeFile(file, bytes)) return false;
  records = FromBytes(bytes.data(), bytes.size());
  return true;
}

bool CConfigFile::Save(std::string file, const std::vector<ConfigRecord>& records) {
  return platform::WriteFileAtomic(file, ToBytes(records));
}

}  // namespace Nembra
