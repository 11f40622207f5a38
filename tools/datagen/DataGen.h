#pragma once
// The demo-data generator: every asset group lives in a source file of its
// own and registers one function with DATAGEN_GROUP. The program runs the
// groups in name order, so two runs write the same bytes.
#include <cstdint>
#include <string>
#include <vector>

namespace datagen {

class Output {
 public:
  explicit Output(std::string root) : m_Root(std::move(root)) {}
  // Folder the data goes to (no trailing slash).
  const std::string& Root() const { return m_Root; }
  // Full path of a file inside the data folder ('/' separated, folders made).
  std::string Path(const std::string& relative) const;
  // Writes a file under the data folder; false (and a log line) on failure.
  bool Write(const std::string& relative, const std::vector<uint8_t>& bytes) const;
  bool Write(const std::string& relative, const std::string& bytes) const;
  // Writes only when the file does not exist yet (files the game rewrites).
  bool WriteIfAbsent(const std::string& relative, const std::string& bytes) const;

 private:
  std::string m_Root;
};

using GroupFunction = bool (*)(const Output& out);

struct GroupRegistration {
  GroupRegistration(const char* name, GroupFunction fn);
};

// Runs every registered group in name order; false when any fails.
bool RunAllGroups(const Output& out);

}  // namespace datagen

#define DATAGEN_CONCAT2(a, b) a##b
#define DATAGEN_CONCAT(a, b) DATAGEN_CONCAT2(a, b)
#define DATAGEN_GROUP(name, fn) \
  static ::datagen::GroupRegistration DATAGEN_CONCAT(s_DatagenGroup, __LINE__)(name, fn)
