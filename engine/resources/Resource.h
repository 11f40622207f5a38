#pragma once
#include <cstdint>
#include <string>

namespace Nembra {

// Base of every named resource; factories set the name when they load it.
class CResource {
 public:
  CResource() = default;
  virtual ~CResource() = default;
  const std::string& GetName() const { return m_Name; }
  void SetName(const std::string& name) { m_Name = name; }
  // References counted by the factory that holds the resource (0 for one
  // that no factory counts).
  uint32_t GetRefCount() const { return m_RefCount; }
  void SetRefCount(uint32_t count) { m_RefCount = count; }

 protected:
  std::string m_Name;
  uint32_t m_RefCount = 0;
};

// A resource holding device objects that must be released before and
// rebuilt after a device reset. It registers itself with the device
// wrapper, which calls these around every reset; it leaves the wrapper's
// list when it is destroyed, so the list never holds a dead resource.
class CVolatileResource : public CResource {
 public:
  ~CVolatileResource() override;
  virtual void OnLostDevice() = 0;
  virtual void OnResetDevice() = 0;
};

}  // namespace Nembra
