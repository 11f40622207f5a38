#pragma once
// Named, reference-counted resources, one store per kind. Code asks a
// factory for a resource by its file name; the first request loads it, later
// requests share it and count references. Names are case-insensitive: the
// key is an upper-cased copy of the name. A request that cannot be met gives
// the factory's default entry (null for factories without one) and is not
// remembered, so the next request tries the file again. Such a request is
// reported as missing (engine/util/MissingReports.h) under the factory's
// kind, unless the name is one made in code ("AUTO_...").
//
// A resource kind T derives from CResource and is default-constructible;
// the factory holds it by value inside its map node, so its address stays
// valid until the entry is erased.
#include <string>
#include <unordered_map>

#include "engine/app/Engine.h"
#include "engine/resources/Resource.h"
#include "engine/util/MissingReports.h"
#include "platform/Text.h"

namespace Nembra {

template <class T>
class CFactory {
 public:
  CFactory() = default;
  CFactory(const CFactory&) = delete;
  CFactory& operator=(const CFactory&) = delete;

  // Loads the resource under the key (already upper-cased), inserting it
  // with FindOrInsert; true when it loaded. Called only by Get.
  virtual bool Load(const std::string& key) = 0;
  // Destroys every held resource, defaults included.
  virtual ~CFactory() { m_Resources.clear(); }
  // The folder Load reads from.
  virtual std::string GetDirectory() const { return g_DataDirectory; }
  // The word a failed request is reported under ("texture", "sound", ...);
  // null when this kind reports nothing, or while no request could load
  // (a factory whose device is absent).
  virtual const char* GetMissingKind() const { return nullptr; }

  // The resource of that name, loaded when needed; the default entry when
  // it cannot be loaded (its count is not raised then).
  T* Get(const std::string& name) {
    const std::string key = MakeKey(name);
    auto it = m_Resources.find(key);
    if (it != m_Resources.end()) {
      it->second.SetRefCount(it->second.GetRefCount() + 1);
      return &it->second;
    }
    if (!Load(key)) {
      m_Resources.erase(key);  // a failed load leaves nothing behind
      const char* kind = GetMissingKind();
      if (kind && !IsGeneratedName(key)) ReportMissing(std::string(kind) + " " + name);
      return m_pDefault;
    }
    it = m_Resources.find(key);
    return it != m_Resources.end() ? &it->second : m_pDefault;
  }

  // Gives back one reference; the last one erases the entry (never a
  // default entry). Unknown names and entries at count 0 change nothing.
  void Release(const std::string& name) {
    auto it = m_Resources.find(MakeKey(name));
    if (it == m_Resources.end()) return;
    T& resource = it->second;
    if (resource.GetRefCount() == 0) return;
    resource.SetRefCount(resource.GetRefCount() - 1);
    if (resource.GetRefCount() == 0 && !IsDefaultEntry(&resource)) m_Resources.erase(it);
  }

  // The entry for a key, inserting a default-constructed resource when absent.
  T& FindOrInsert(const std::string& key) { return m_Resources.try_emplace(key).first->second; }
  T& operator[](const std::string& key) { return FindOrInsert(key); }
  // Looks a name up without counting or loading; null when absent.
  T* Find(const std::string& name) {
    auto it = m_Resources.find(MakeKey(name));
    return it != m_Resources.end() ? &it->second : nullptr;
  }
  size_t GetCount() const { return m_Resources.size(); }
  T* GetDefault() const { return m_pDefault; }

  // The key of a name: its ASCII upper-case copy.
  static std::string MakeKey(const std::string& name) { return platform::AsciiUpper(name); }
  // The file part of a key: the text after its last backslash.
  static std::string FilePart(const std::string& key) {
    const size_t slash = key.find_last_of('\\');
    return slash == std::string::npos ? key : key.substr(slash + 1);
  }
  // The path Load reads for a key: the directory followed by the key's file part.
  std::string PathFor(const std::string& key) const { return GetDirectory() + FilePart(key); }
  // Whether a key names a resource made in code ("AUTO_..."), never read from a file.
  static bool IsGeneratedName(const std::string& key) { return key.compare(0, 5, "AUTO_") == 0; }

 protected:
  // Erases the entry of a key (used by Load after a failure).
  void Erase(const std::string& key) { m_Resources.erase(key); }
  virtual bool IsDefaultEntry(const T* resource) const { return resource == m_pDefault; }
  // Makes a default entry: name set, count 0.
  T* MakeDefaultEntry(const std::string& name) {
    T& entry = FindOrInsert(name);
    entry.SetName(name);
    entry.SetRefCount(0);
    return &entry;
  }

  std::unordered_map<std::string, T> m_Resources;
  T* m_pDefault = nullptr;
};

}  // namespace Nembra
