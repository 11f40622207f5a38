#include "engine/util/ConfigFile.h"

#include <cstdint>

#include "platform/Files.h"

namespace Nembra {

bool CConfigFile::Load(std::string file, std::vector<ConfigRecord>& records) {
  std::vector<uint8_t> bytes;
  if (!platform::ReadWholeFile(file, bytes)) return false;
  std::string text(bytes.begin(), bytes.end());
  // An editor may have put a UTF-8 byte-order mark in front.
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  records = SectionedText<std::string>::Parse(text);
  return true;
}

bool CConfigFile::Save(std::string file, const std::vector<ConfigRecord>& records) {
  return platform::WriteFileAtomic(file, SectionedText<std::string>::Serialize(records, "\r\n"));
}

}  // namespace Nembra
