#pragma once
#include <string>

namespace Nembra {

// Base of every named resource; factories set the name when they load it.
class CResource {
 public:
  CResource() = default;
  virtual ~CResource() = default;
  const std::string& GetName() const { return m_Name; }
  void SetName(const std::string& name) { m_Name = name; }

 protected:
  std::string m_Name;
};

// A resource holding device objects that must be released before and
// rebuilt after a device reset. It registers itself with the device
// wrapper, which calls these around every reset.
class CVolatileResource : public CResource {
 public:
  virtual void OnLostDevice() = 0;
  virtual void OnResetDevice() = 0;
};

}  // namespace Nembra
