#include "platform/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <random>

#include "platform/Log.h"
#include "platform/Text.h"

namespace platform {
namespace {

// Directory listings by native directory path: lower-cased name -> on-disk name.
struct Listing {
  std::map<std::string, std::string> byLower;
};
std::map<std::string, Listing>& Cache() {
  static std::map<std::string, Listing> cache;
  return cache;
}
std::mutex g_cacheMutex;

bool ReadListing(const std::string& dir, Listing& out) {
  DIR* d = opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return false;
  out.byLower.clear();
  while (dirent* e = readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    std::string lower = AsciiLower(name);
    // Exact spelling wins when two entries differ only by case.
    auto it = out.byLower.find(lower);
    if (it == out.byLower.end()) out.byLower.emplace(lower, name);
  }
  closedir(d);
  return true;
}

// Finds the on-disk spelling of one component in a directory; refreshes
// the cached listing once when the name is not in it.
bool FindComponent(const std::string& dir, const std::string& component, std::string& found) {
  std::lock_guard<std::mutex> lock(g_cacheMutex);
  const std::string lower = AsciiLower(component);
  auto& cache = Cache();
  auto it = cache.find(dir);
  if (it != cache.end()) {
    auto hit = it->second.byLower.find(lower);
    if (hit != it->second.byLower.end()) {
      found = hit->second;
      return true;
    }
  }
  Listing listing;
  if (!ReadListing(dir, listing)) return false;
  auto hit = listing.byLower.find(lower);
  bool ok = hit != listing.byLower.end();
  if (ok) found = hit->second;
  cache[dir] = std::move(listing);
  return ok;
}

std::string Join(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  if (dir == "/") return "/" + name;
  return dir + "/" + name;
}

}  // namespace

std::string ResolvePath(const std::string& name) {
  std::string path = name;
  for (char& c : path)
    if (c == '\\') c = '/';
  while (path.size() >= 2 && path[0] == '.' && path[1] == '/') path.erase(0, 2);
  if (path.empty()) return path;

  // Split into components.
  std::vector<std::string> parts;
  bool absolute = path[0] == '/';
  size_t start = absolute ? 1 : 0;
  while (start <= path.size()) {
    size_t slash = path.find('/', start);
    if (slash == std::string::npos) slash = path.size();
    std::string part = path.substr(start, slash - start);
    if (!part.empty() && part != ".") parts.push_back(part);
    start = slash + 1;
  }

  std::string current = absolute ? "/" : "";
  bool existing = true;
  for (const std::string& part : parts) {
    std::string next = part;
    if (existing && part != "..") {
      std::string found;
      if (FindComponent(current, part, found))
        next = found;
      else
        existing = false;
    }
    current = Join(current == "/" ? std::string("/") : current, next);
    if (current.size() > 1 && current[0] == '/' && current[1] == '/') current.erase(0, 1);
  }
  return current;
}

void ClearPathCache() {
  std::lock_guard<std::mutex> lock(g_cacheMutex);
  Cache().clear();
}

bool FileExists(const std::string& name) {
  std::string path = ResolvePath(name);
  if (path.empty()) return false;
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  return access(path.c_str(), R_OK) == 0;
}

bool DirectoryExists(const std::string& name) {
  std::string path = ResolvePath(name);
  if (path.empty()) path = ".";
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool RemoveFile(const std::string& name) {
  std::string path = ResolvePath(name);
  if (path.empty()) return false;
  bool ok = unlink(path.c_str()) == 0;
  if (ok) ClearPathCache();
  return ok;
}

bool MakeDirectories(const std::string& name) {
  std::string path = ResolvePath(name);
  if (path.empty()) return true;
  std::string partial;
  size_t pos = 0;
  while (pos != std::string::npos) {
    pos = path.find('/', pos + 1);
    partial = path.substr(0, pos);
    if (partial.empty()) continue;
    if (mkdir(partial.c_str(), 0777) != 0 && errno != EEXIST) return false;
  }
  ClearPathCache();
  return DirectoryExists(path);
}

FILE* OpenFile(const std::string& name, const char* mode) {
  std::string path = ResolvePath(name);
  if (path.empty()) return nullptr;
  FILE* f = std::fopen(path.c_str(), mode);
  if (f && mode && (mode[0] == 'w' || mode[0] == 'a')) ClearPathCache();
  return f;
}

bool ReadWholeFile(const std::string& name, std::vector<uint8_t>& out) {
  FILE* f = OpenFile(name, "rb");
  if (!f) return false;
  out.clear();
  uint8_t buffer[65536];
  bool ok = true;
  for (;;) {
    size_t n = std::fread(buffer, 1, sizeof buffer, f);
    out.insert(out.end(), buffer, buffer + n);
    if (n < sizeof buffer) {
      ok = !std::ferror(f);
      break;
    }
  }
  std::fclose(f);
  return ok;
}

bool WriteFileAtomic(const std::string& name, const void* data, size_t size) {
  const std::string path = ResolvePath(name);
  if (path.empty()) return false;
  std::string dir = ".";
  std::string base = path;
  size_t slash = path.rfind('/');
  if (slash != std::string::npos) {
    dir = slash == 0 ? "/" : path.substr(0, slash);
    base = path.substr(slash + 1);
  }
  static std::mt19937 gen{std::random_device{}()};
  const std::string temp = Join(dir == "." ? "" : dir, "." + base + ".tmp" + std::to_string(gen() % 1000000));

  FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) {
    LogError("cannot write '" + name + "': " + std::strerror(errno));
    return false;
  }
  bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
  ok = (std::fflush(f) == 0) && ok;
  ok = (fsync(fileno(f)) == 0) && ok;
  ok = (std::fclose(f) == 0) && ok;
  if (ok) {
    struct stat st;
    ok = stat(temp.c_str(), &st) == 0 && static_cast<size_t>(st.st_size) == size;
  }
  if (ok) ok = std::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) {
    LogError("cannot write '" + name + "': " + std::strerror(errno));
    std::remove(temp.c_str());
    return false;
  }
  ClearPathCache();
  // The new name is on the disk only once the folder is: without this a
  // power cut could bring the old file back.
  const int folder = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0 || fsync(folder) != 0)
    LogWarning("'" + name + "' written, but its folder could not be synced: " + std::strerror(errno));
  if (folder >= 0) close(folder);
  return true;
}

bool IsAtomicWriteTemporary(const std::string& name) {
  // "." + the file's name + ".tmp" + digits.
  const size_t tmp = name.rfind(".tmp");
  if (name.size() < 2 || name[0] != '.' || tmp == std::string::npos || tmp < 2 || tmp + 4 == name.size())
    return false;
  for (size_t i = tmp + 4; i < name.size(); ++i)
    if (name[i] < '0' || name[i] > '9') return false;
  return true;
}

int RemoveAtomicWriteTemporaries(const std::string& folder) {
  const std::string dir = ResolvePath(folder);
  DIR* d = opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return 0;
  std::vector<std::string> stale;
  while (dirent* e = readdir(d))
    if (IsAtomicWriteTemporary(e->d_name)) stale.push_back(Join(dir, e->d_name));
  closedir(d);
  int removed = 0;
  for (const std::string& path : stale) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    if (unlink(path.c_str()) == 0) {
      ++removed;
      LogInfo("removed '" + path + "', left by a save that did not finish");
    } else {
      LogWarning("cannot remove '" + path + "', left by a save that did not finish: " + std::strerror(errno));
    }
  }
  if (removed > 0) ClearPathCache();
  return removed;
}

}  // namespace platform
