#pragma once
// The grammar shared by the 8-bit settings files and the UTF-16 key/value
// files: "[section]" lines, key=value lines, comment lines starting with
// '#' or ';', and section or key lines commented out with one of those.
// The two file kinds differ only in their bytes (see ConfigFile.h and
// KeyValueFile.h); everything here works on decoded text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Log.h"

namespace Nembra {

// One meaningful line of a file.
template <typename Str>
struct SectionedRecord {
  using Char = typename Str::value_type;
  // Comment lines (and lines that fit no other kind) standing above this
  // line, each followed by '\n'.
  Str comments;
  // ' ' for a live line; '#' or ';' for a commented-out one; 0 for a record
  // that only carries text (the comment lines at the end of a file).
  Char commentChar = ' ';
  Str section;  // for a section line its own name
  Str key;      // empty for a section line
  Str value;

  bool IsTextOnly() const { return commentChar == 0; }
  bool operator==(const SectionedRecord& o) const {
    return comments == o.comments && commentChar == o.commentChar && section == o.section && key == o.key &&
           value == o.value;
  }
  bool operator!=(const SectionedRecord& o) const { return !(*this == o); }
};

template <typename Str>
class SectionedText {
 public:
  using Record = SectionedRecord<Str>;
  using Char = typename Str::value_type;

  static std::vector<Record> Parse(const Str& text);
  // Every line, comment lines included, ends with lineEnd.
  static Str Serialize(const std::vector<Record>& records, const Str& lineEnd);

  static std::vector<Record> Find(const std::vector<Record>& records, const Str& key, const Str& section);
  static bool HasSection(const std::vector<Record>& records, const Str& section);
  static bool HasRecord(const std::vector<Record>& records, const Str& key, const Str& section);
  // Sets the first record of this section and key, adding it (and the
  // section) when missing.
  static void Set(std::vector<Record>& records, const Str& key, const Str& value, const Str& section);
};

extern template class SectionedText<std::string>;
extern template class SectionedText<std::wstring>;

// True when the name resolves to anything on disk (a file that can't be
// read, a folder...).
bool AnythingExistsAt(const std::string& file);

// The operations both file kinds offer by name. Derived provides
// Load (file, records), Save (file, records), and FromBytes (data, size)
// and ToBytes (records), the records of some bytes and the bytes Save writes.
template <typename Derived, typename Str>
class CSectionedFile {
 public:
  using Record = SectionedRecord<Str>;

  // Whether the file can hold this key and value in this section: written
  // and read again, it gives them back. False for line breaks, a key that
  // is empty, holds '=' or would read as a comment or a section, a section
  // name holding ']', blanks the reader trims away and text the file's
  // encoding can't carry.
  static bool CanHold(const Str& key, const Str& value, const Str& section) {
    if (key.empty()) return false;
    Record header;
    header.section = section;
    Record line = header;
    line.key = key;
    line.value = value;
    const std::vector<Record> written = {header, line};
    const auto bytes = Derived::ToBytes(written);
    return Derived::FromBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()) == written;
  }

  // Every record of this section and key, in file order; empty when none or
  // when the file can't be read.
  static std::vector<Record> GetRecords(Str key, Str section, std::string file) {
    std::vector<Record> records;
    if (!Derived::Load(file, records)) return {};
    return SectionedText<Str>::Find(records, key, section);
  }

  // The value of the first such record; empty when none.
  static Str GetValue(Str key, Str section, std::string file) {
    std::vector<Record> found = GetRecords(key, section, file);
    return found.empty() ? Str() : found.front().value;
  }

  // Changes (or adds) the value and saves the file; a missing file is
  // created. False, with the file unchanged, when the key, value or section
  // could not be read back (see SectionedText::CanHold), when an existing
  // file can't be read or when the save fails.
  static bool SetValue(Str key, Str value, Str section, std::string file) {
    if (!CanHold(key, value, section)) return false;
    return Rewrite(file, [&](std::vector<Record>& records) { SectionedText<Str>::Set(records, key, value, section); });
  }

  // Reads the file (a missing one starts empty), lets edit change its
  // records and saves the file once. False, with the file unchanged and the
  // failure logged, when a file that is there can't be read (it is never
  // replaced by what little is known of it) or when the save fails.
  template <typename Edit>
  [[nodiscard]] static bool Rewrite(const std::string& file, Edit edit) {
    std::vector<Record> records;
    if (!Derived::Load(file, records)) {
      if (AnythingExistsAt(file)) {
        platform::LogError("'" + file + "' can't be read; not replaced");
        return false;
      }
      records.clear();
    }
    edit(records);
    if (Derived::Save(file, records)) return true;
    platform::LogError("'" + file + "' not saved");
    return false;
  }

  // False when the file can't be read.
  static bool SectionExists(Str section, std::string file) {
    std::vector<Record> records;
    return Derived::Load(file, records) && SectionedText<Str>::HasSection(records, section);
  }

  static bool RecordExists(Str key, Str section, std::string file) {
    std::vector<Record> records;
    return Derived::Load(file, records) && SectionedText<Str>::HasRecord(records, key, section);
  }
};

}  // namespace Nembra
