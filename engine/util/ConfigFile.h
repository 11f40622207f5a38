#pragma once
// The game's 8-bit sectioned settings files ("ConfigDefault.dat",
// "ConfigLastUsed.dat", profile settings, "Buynow.dat", comic descriptions).
// Every operation takes the file's full path and reads the whole file;
// a change rewrites it. Lines end with CR LF when written.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/util/SectionedFile.h"

namespace Nembra {

using ConfigRecord = SectionedRecord<std::string>;

class CConfigFile : public CSectionedFile<CConfigFile, std::string> {
 public:
  // A file's records from its bytes, and the bytes Save writes.
  static std::vector<ConfigRecord> FromBytes(const uint8_t* data, size_t size);
  static std::string ToBytes(const std::vector<ConfigRecord>& records);
  // False when the file can't be read (records untouched).
  static bool Load(std::string file, std::vector<ConfigRecord>& records);
  // Replaces the file as a whole; false (and the old file kept) when it
  // can't be written.
  static bool Save(std::string file, const std::vector<ConfigRecord>& records);
};

}  // namespace Nembra
