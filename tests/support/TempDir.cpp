#include "support/TempDir.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/Image.h"

namespace fs = std::filesystem;

namespace testsupport {

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "karvessa-test-XXXXXX").string();
  char* made = mkdtemp(pattern.data());
  m_Path = made ? made : pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::permissions(m_Path, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(m_Path, ec);
}

std::string TempDir::Write(const std::string& name, const std::string& bytes) const {
  std::string path = File(name);
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

std::string TempDir::Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
  return Write(name, std::string(bytes.begin(), bytes.end()));
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string TestImageDir() {
  const char* env = std::getenv("KARVESSA_TEST_IMAGE_DIR");
  std::string dir = env && *env ? env : "test-images";
  std::error_code ec;
  fs::create_directories(dir, ec);
  return dir;
}

bool SavePicture(const std::string& name, const std::vector<uint32_t>& argb, uint32_t w, uint32_t h) {
  platform::Image image;
  image.width = w;
  image.height = h;
  image.argb = argb;
  return platform::SavePng(TestImageDir() + "/" + name + ".png", image, true);
}

}  // namespace testsupport
