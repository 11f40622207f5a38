#pragma once
// The level's lights by name. Names are upper-cased, so they ignore case;
// the lights themselves are made and owned by the scene manager.
#include <map>
#include <string>

#include "platform/Math.h"

namespace Nembra {
class CLight;
}

class CLightRegistry {
 public:
  CLightRegistry() = default;
  CLightRegistry(const CLightRegistry&) = delete;
  CLightRegistry& operator=(const CLightRegistry&) = delete;

  // A new light of that kind under the name; nothing when the name is taken
  // or there is no scene.
  void AddPointLight(const std::string& name);
  void AddSpotLight(const std::string& name);
  void AddDirectionalLight(const std::string& name);
  // Deletes the light through the scene manager and forgets the name.
  void RemoveLight(const std::string& name);

  // Each setter changes the light and commits it; unknown names do nothing.
  void TurnOnLight(const std::string& name, bool on);
  void SetLightDiffuse(const std::string& name, float r, float g, float b, float a);
  void SetLightRange(const std::string& name, float range);
  void SetLightAttenuation(const std::string& name, float a0, float a1, float a2);
  void SetLightFalloff(const std::string& name, float falloff);
  void SetLightInnerCone(const std::string& name, float angle);
  void SetLightOuterCone(const std::string& name, float angle);
  void SetLightPosition(const std::string& name, float x, float y, float z);
  void SetLightTarget(const std::string& name, float x, float y, float z);

  // Deletes every registered light through the scene manager.
  void ClearLights();

  Nembra::CLight* Find(const std::string& name) const;
  size_t Count() const { return m_Lights.size(); }

 private:
  template <class Make>
  void Add(const std::string& name, Make make);

  std::map<std::string, Nembra::CLight*> m_Lights;
};
