#include "tools/datagen/DataGen.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

namespace datagen {

namespace {
std::map<std::string, GroupFunction>& Groups() {
  static std::map<std::string, GroupFunction> groups;
  return groups;
}
}  // namespace

GroupRegistration::GroupRegistration(const char* name, GroupFunction fn) {
  Groups()[name] = fn;
}

std::string Output::Path(const std::string& relative) const {
  std::filesystem::path p = std::filesystem::path(m_Root) / relative;
  std::error_code ec;
  std::filesystem::create_directories(p.parent_path(), ec);
  return p.string();
}

bool Output::Write(const std::string& relative, const std::vector<uint8_t>& bytes) const {
  return Write(relative, std::string(bytes.begin(), bytes.end()));
}

bool Output::Write(const std::string& relative, const std::string& bytes) const {
  const std::string path = Path(relative);
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  f.close();
  if (!f) {
    std::fprintf(stderr, "datagen: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

bool Output::WriteIfAbsent(const std::string& relative, const std::string& bytes) const {
  std::error_code ec;
  if (std::filesystem::exists(std::filesystem::path(m_Root) / relative, ec)) return true;
  return Write(relative, bytes);
}

bool RunAllGroups(const Output& out) {
  bool ok = true;
  for (const auto& [name, fn] : Groups()) {
    if (!fn(out)) {
      std::fprintf(stderr, "datagen: group %s failed\n", name.c_str());
      ok = false;
    }
  }
  return ok;
}

}  // namespace datagen
