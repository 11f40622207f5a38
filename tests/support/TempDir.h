#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return m_Path; }
  // Path of a file inside, with '/'.
  std::string File(const std::string& name) const { return m_Path + "/" + name; }
  // Writes bytes to a file inside (folders made as needed); returns its path.
  std::string Write(const std::string& name, const std::string& bytes) const;
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const;

 private:
  std::string m_Path;
};

std::string ReadFileBytes(const std::string& path);

// Folder where image tests write the PNGs a person can look at.
std::string TestImageDir();
// Saves packed ARGB pixels as TestImageDir()/<name>.png; false when it could not.
bool SavePicture(const std::string& name, const std::vector<uint32_t>& argb, uint32_t w = 800, uint32_t h = 600);

}  // namespace testsupport
