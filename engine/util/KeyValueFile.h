#pragma once
// UTF-16LE key/value files ("Texts.dat", "Language.dat", level
// descriptions): the same grammar as the settings files, in wide text, with
// a byte-order mark (FF FE) first and LF line ends. Also the wide-text
// helpers that other readers of UTF-16 files use.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/util/SectionedFile.h"

namespace Nembra {

using KeyValueRecord = SectionedRecord<std::wstring>;

class CKeyValueFile : public CSectionedFile<CKeyValueFile, std::wstring> {
 public:
  // A file's records from its bytes (the first two taken as the byte-order
  // mark), and the bytes Save writes.
  static std::vector<KeyValueRecord> FromBytes(const uint8_t* data, size_t size);
  static std::vector<uint8_t> ToBytes(const std::vector<KeyValueRecord>& records);
  // The first two bytes are taken as the byte-order mark (a warning is
  // logged when they are not FF FE). False when the file can't be read.
  static bool Load(std::string file, std::vector<KeyValueRecord>& records);
  // Replaces the file as a whole; false (and the old file kept) when it
  // can't be written.
  static bool Save(std::string file, const std::vector<KeyValueRecord>& records);
  // The key records (commented-out ones included) of every part of the
  // section, in file order; empty when the file can't be read.
  static std::vector<KeyValueRecord> GetSectionKeys(std::wstring section, std::string file);
};

// Opens a UTF-16 file. A read mode ('r' first) skips the two BOM bytes and
// gives null for a missing file; any other mode writes the BOM.
FILE* OpenUnicodeFile(const std::string& path, const std::string& mode);
// The whole text after the BOM, up to the first U+0000; "Invalid File Name"
// when the file does not exist.
std::wstring ReadUnicodeTextFile(const std::string& path);
// The file's length in bytes, BOM included; leaves the position after the BOM.
int UnicodeFileByteSize(FILE* file);
// The number of code units after the BOM (0 for a file shorter than a BOM);
// leaves the position after the BOM.
int UnicodeFileCharCount(FILE* file);

// Narrow strings are UTF-8.
std::wstring MultiByteToWide(const std::string& text);
std::string WideToMultiByte(const std::wstring& text);

}  // namespace Nembra
