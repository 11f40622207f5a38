#pragma once
// One reference to a factory's resource, held by name and given back when
// the holder is destroyed, resets or takes another: a class that keeps
// these as members cannot forget a release. The holder reaches its factory
// through the factory's global, and gives back only to the factory it took
// from: once that one is deleted (its global null or another) nothing is
// released.
#include <string>
#include <utility>

namespace Nembra {

template <class Factory>
class CFactoryRef {
 public:
  using Resource = std::remove_pointer_t<decltype(std::declval<Factory&>().Find(std::string()))>;

  // The factory's global, such as g_pTextureFactory.
  explicit CFactoryRef(Factory* const& factory) : m_pGlobal(&factory) {}
  ~CFactoryRef() { Reset(); }
  CFactoryRef(const CFactoryRef&) = delete;
  CFactoryRef& operator=(const CFactoryRef&) = delete;

  // Takes the resource of that name (null without a factory), then gives
  // back the one held before.
  Resource* Take(const std::string& name) {
    Factory* factory = *m_pGlobal;
    return Hold(name, factory ? factory->Get(name) : nullptr);
  }
  // Keeps a reference the caller took under that name (for the factories'
  // own ways of taking, such as a single-level texture); null holds nothing.
  Resource* Hold(const std::string& name, Resource* resource) {
    Factory* from = *m_pGlobal;
    Reset();
    m_Name = name;
    m_pResource = resource;
    m_pFrom = resource ? from : nullptr;
    return resource;
  }
  // Gives the reference back.
  void Reset() {
    if (m_pResource && m_pFrom && *m_pGlobal == m_pFrom) m_pFrom->Release(m_Name);
    m_pResource = nullptr;
    m_pFrom = nullptr;
    m_Name.clear();
  }

  Resource* Get() const { return m_pResource; }
  const std::string& GetName() const { return m_Name; }

 private:
  Factory* const* m_pGlobal;
  Factory* m_pFrom = nullptr;
  std::string m_Name;
  Resource* m_pResource = nullptr;
};

}  // namespace Nembra
