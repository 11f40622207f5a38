#include "engine/util/SectionedFile.h"

#include <sys/stat.h>

#include "platform/Files.h"

namespace Nembra {

namespace {

template <typename Str>
Str Trim(const Str& text) {
  using Char = typename Str::value_type;
  const Char blanks[] = {' ', '\t', '\n', '\r', 0};
  const size_t first = text.find_first_not_of(blanks);
  if (first == Str::npos) return Str();
  const size_t last = text.find_last_not_of(blanks);
  return text.substr(first, last - first + 1);
}

// A section line starts with '['; a key line has a non-empty key before its
// first '='.
template <typename Str>
bool IsRecordLine(const Str& line) {
  if (!line.empty() && line[0] == '[') return true;
  const size_t equals = line.find('=');
  return equals != Str::npos && equals > 0;
}

// Whether a line starts with a byte-order mark, which the readers drop
// there (the 8-bit reader at the file's start, the UTF-16 reader at any
// line's start).
bool StartsWithMark(const std::string& text, size_t at) { return text.compare(at, 3, "\xEF\xBB\xBF") == 0; }
bool StartsWithMark(const std::wstring& text, size_t at) {
  return at < text.size() && static_cast<uint32_t>(text[at]) == 0xFEFF;
}

}  // namespace

bool AnythingExistsAt(const std::string& file) {
  struct stat st;
  return lstat(platform::ResolvePath(file).c_str(), &st) == 0;
}

template <typename Str>
std::vector<typename SectionedText<Str>::Record> SectionedText<Str>::Parse(const Str& text) {
  std::vector<Record> records;
  Str pending;  // comment text waiting for the next record
  Str section;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == Str::npos) end = text.size();
    Str line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && static_cast<uint32_t>(line[0]) == 0xFEFF) line.erase(0, 1);
    line = Trim(line);
    if (line.empty()) continue;

    Record record;
    if (line[0] == '#' || line[0] == ';') {
      Str rest = Trim(line.substr(1));
      if (!IsRecordLine(rest)) {
        pending += line;
        pending += Char('\n');
        continue;
      }
      record.commentChar = line[0];
      line = rest;
    } else if (!IsRecordLine(line)) {
      // Fits no kind of line: kept as text where it stood.
      pending += line;
      pending += Char('\n');
      continue;
    }

    if (line[0] == '[') {
      Str name = line.substr(1);
      const size_t close = name.find(']');
      if (close != Str::npos) name.erase(close);
      section = name;
      record.section = name;
    } else {
      const size_t equals = line.find('=');
      record.section = section;
      record.key = line.substr(0, equals);
      record.value = line.substr(equals + 1);
    }
    record.comments.swap(pending);
    records.push_back(std::move(record));
  }
  if (!pending.empty()) {
    Record tail;
    tail.commentChar = 0;
    tail.comments.swap(pending);
    records.push_back(std::move(tail));
  }
  return records;
}

template <typename Str>
Str SectionedText<Str>::Serialize(const std::vector<Record>& records, const Str& lineEnd) {
  Str out;
  for (const Record& record : records) {
    bool lineStart = true;
    for (size_t i = 0; i < record.comments.size(); ++i) {
      const Char c = record.comments[i];
      // A comment line is written as it was read; one that starts with a
      // mark gets a blank first (dropped by the reader's trim), so the mark
      // stays part of the comment when it is read again.
      if (lineStart && StartsWithMark(record.comments, i)) out += Char(' ');
      lineStart = c == '\n';
      if (c == '\n')
        out += lineEnd;
      else
        out += c;
    }
    if (record.IsTextOnly()) continue;
    out += record.commentChar;
    if (record.key.empty()) {
      out += Char('[');
      out += record.section;
      out += Char(']');
    } else {
      out += record.key;
      out += Char('=');
      out += record.value;
    }
    out += lineEnd;
  }
  return out;
}

template <typename Str>
std::vector<typename SectionedText<Str>::Record> SectionedText<Str>::Find(const std::vector<Record>& records,
                                                                          const Str& key, const Str& section) {
  std::vector<Record> found;
  for (const Record& record : records)
    if (!record.IsTextOnly() && record.section == section && record.key == key) found.push_back(record);
  return found;
}

template <typename Str>
bool SectionedText<Str>::HasSection(const std::vector<Record>& records, const Str& section) {
  for (const Record& record : records)
    if (!record.IsTextOnly() && record.section == section) return true;
  return false;
}

template <typename Str>
bool SectionedText<Str>::HasRecord(const std::vector<Record>& records, const Str& key, const Str& section) {
  for (const Record& record : records)
    if (!record.IsTextOnly() && record.section == section && record.key == key) return true;
  return false;
}

template <typename Str>
void SectionedText<Str>::Set(std::vector<Record>& records, const Str& key, const Str& value, const Str& section) {
  Record added;
  added.section = section;
  added.key = key;
  added.value = value;

  size_t firstOfSection = records.size();
  for (size_t i = 0; i < records.size(); ++i) {
    Record& record = records[i];
    if (record.IsTextOnly() || record.section != section) continue;
    if (firstOfSection == records.size()) firstOfSection = i;
    if (record.key == key) {
      record.value = value;
      return;
    }
  }
  if (firstOfSection < records.size()) {
    // The new key becomes the first of its section.
    records.insert(records.begin() + static_cast<std::ptrdiff_t>(firstOfSection) + 1, added);
    return;
  }
  // A new section goes at the end, before any closing comment text.
  auto at = records.end();
  if (!records.empty() && records.back().IsTextOnly()) --at;
  Record header;
  header.section = section;
  at = records.insert(at, header);
  records.insert(at + 1, added);
}

template class SectionedText<std::string>;
template class SectionedText<std::wstring>;

}  // namespace Nembra
