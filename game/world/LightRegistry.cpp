#include "game/world/LightRegistry.h"

#include "engine/scene/Light.h"
#include "engine/scene/SceneManager.h"
#include "platform/Text.h"

using Nembra::g_pSceneManager;

template <class Make>
void CLightRegistry::Add(const std::string& name, Make make) {
  const std::string key = platform::AsciiUpper(name);
  if (m_Lights.count(key) != 0 || !g_pSceneManager) return;
  if (Nembra::CLight* light = make()) m_Lights.emplace(key, light);
}

void CLightRegistry::AddPointLight(const std::string& name) {
  Add(name, [] { return g_pSceneManager->CreatePointLight(nullptr); });
}

void CLightRegistry::AddSpotLight(const std::string& name) {
  Add(name, [] { return g_pSceneManager->CreateSpotLight(nullptr); });
}

void CLightRegistry::AddDirectionalLight(const std::string& name) {
  Add(name, [] { return g_pSceneManager->CreateDirectionalLight(nullptr); });
}

Nembra::CLight* CLightRegistry::Find(const std::string& name) const {
  auto it = m_Lights.find(platform::AsciiUpper(name));
  return it != m_Lights.end() ? it->second : nullptr;
}

void CLightRegistry::RemoveLight(const std::string& name) {
  auto it = m_Lights.find(platform::AsciiUpper(name));
  if (it == m_Lights.end()) return;
  if (g_pSceneManager) g_pSceneManager->DeleteLight(it->second);
  m_Lights.erase(it);
}

void CLightRegistry::TurnOnLight(const std::string& name, bool on) {
  Nembra::CLight* light = Find(name);
  if (!light) return;
  if (on)
    light->Enable();
  else
    light->Disable();
  light->Commit();
}

void CLightRegistry::SetLightDiffuse(const std::string& name, float r, float g, float b, float a) {
  if (Nembra::CLight* light = Find(name)) {
    light->SetDiffuseColor(D3DXCOLOR(r, g, b, a));
    light->Commit();
  }
}

void CLightRegistry::SetLightRange(const std::string& name, float range) {
  if (Nembra::CLight* light = Find(name)) {
    light->SetRange(range);
    light->Commit();
  }
}

void CLightRegistry::SetLightAttenuation(const std::string& name, float a0, float a1, float a2) {
  if (Nembra::CLight* light = Find(name)) {
    light->SetAttenuation(a0, a1, a2);
    light->Commit();
  }
}

void CLightRegistry::SetLightFalloff(const std::string& name, float falloff) {
  if (Nembra::CLight* light = Find(name)) {
    light->SetFalloff(falloff);
    light->Commit();
  }
}

void CLightRegistry::SetLightInnerCone(const std::string& name, float angle) {
  if (Nembra::CLight* light = Find(name)) {
    light->SetSpotAngles(angle, light->GetRecord().Phi);
    light->Commit();
  }
}

void CLightRegistry::SetLightOuterCone(const std::string& name, float angle) {
  if (Nembra::CLight* light = Find(name)) {
    light->SetSpotAngles(light->GetRecord().Theta, angle);
    light->Commit();
  }
}

void CLightRegistry::SetLightPosition(const std::string& name, float x, float y, float z) {
  if (Nembra::CLight* light = Find(name)) {
    light->SetPosition(x, y, z);
    light->Commit();
  }
}

void CLightRegistry::SetLightTarget(const std::string& name, float x, float y, float z) {
  if (Nembra::CLight* light = Find(name)) {
    light->GetTarget().SetPosition(x, y, z);
    light->Commit();
  }
}

void CLightRegistry::ClearLights() {
  if (g_pSceneManager)
    for (auto& entry : m_Lights) g_pSceneManager->DeleteLight(entry.second);
  m_Lights.clear();
}
