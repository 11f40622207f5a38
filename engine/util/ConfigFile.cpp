#include "engine/util/ConfigFile.h"

#include <cstdint>

#include "platform/Files.h"

namespace Nembra {

bool CConfigFile::Load(std::string file, std::vector<ConfigRecord>& records) {
  std::vector<uint8_t> bytes;
  if (!platform::ReadWholeFile(file, bytes)) return false;
  records = SectionedText<std::string>::Parse(std::string(bytes.begin(), bytes.end()));
  return true;
}

bool CConfigFile::Save(std::string file, const std::vector<ConfigRecord>& records) {
  return platform::WriteFileAtomic(file, SectionedText<std::string>::Serialize(records, "\r\n"));
}

}  // namespace Nembra
