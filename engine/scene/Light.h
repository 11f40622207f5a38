#pragma once
// Lights: scene nodes owning one fixed-function light record and a device
// light index. Made and deleted only by the scene manager, which gives each
// the next index, switches it on and links it and its target into the tree.
#include <cstdint>

#include "engine/scene/SceneNode.h"
#include "platform/Graphics.h"

namespace Nembra {

class CLight : public CTargetNode {
 public:
  // Sends the record again when the light or its target moved.
  void OnUpdate() override;
  // The per-frame light hook, run after the whole tree's update.
  virtual void OnFrame() {}

  // Stores the index and gives the record to the device; the light is then
  // registered and off.
  void SetIndex(uint32_t index);
  // Enable asks the device to light the light; the device may refuse (it
  // lights MAX_ACTIVE_LIGHTS at most), and the light then stays on but
  // unlit until TryLight succeeds.
  void Enable();
  void Disable();
  // Asks the device again for a light that is on but unlit; true when lit.
  bool TryLight();
  // Sends the record with the light's current world position and the
  // direction towards its target.
  void Commit();
  // After a device reset: sends the record again and re-enables when on.
  void Restore();

  // Changes to the record; Commit sends them.
  void SetDiffuseColor(const D3DXCOLOR& c) { m_Light.Diffuse = c; }
  void SetSpecularColor(const D3DXCOLOR& c) { m_Light.Specular = c; }
  void SetAmbientColor(const D3DXCOLOR& c) { m_Light.Ambient = c; }
  void SetRange(float range) { m_Light.Range = range; }
  void SetFalloff(float falloff) { m_Light.Falloff = falloff; }
  void SetAttenuation(float a0, float a1, float a2) {
    m_Light.Attenuation0 = a0;
    m_Light.Attenuation1 = a1;
    m_Light.Attenuation2 = a2;
  }
  void SetSpotAngles(float theta, float phi) {
    m_Light.Theta = theta;
    m_Light.Phi = phi;
  }

  const platform::D3DLIGHT9& GetRecord() const { return m_Light; }
  uint32_t GetIndex() const { return m_Index; }
  bool IsRegistered() const { return m_Registered; }
  // Meant to be on (Enable), and lit by the device.
  bool IsOn() const { return m_On; }
  bool IsLit() const { return m_Lit; }

 protected:
  explicit CLight(platform::D3DLIGHTTYPE type);
  // Only the scene manager deletes lights (it keeps the list of them and
  // switches them off first): a light deleted elsewhere would stay listed.
  ~CLight() override = default;
  friend class CSceneManager;

  platform::D3DLIGHT9 m_Light;
  uint32_t m_Index = 0;
  bool m_Registered = false;
  bool m_On = false;
  bool m_Lit = false;
};

class CDirectionalLight : public CLight {
 public:
  CDirectionalLight() : CLight(platform::D3DLIGHT_DIRECTIONAL) {}

 protected:
  ~CDirectionalLight() override = default;
};

class CPointLight : public CLight {
 public:
  CPointLight() : CLight(platform::D3DLIGHT_POINT) {}
  // Switches the light off while its range sphere is out of the camera's
  // view, and on again when it comes back.
  void OnFrame() override;

  // How far beyond its range a light still counts as in view.
  static constexpr float VIEW_MARGIN = 100.0f;

 protected:
  explicit CPointLight(platform::D3DLIGHTTYPE type) : CLight(type) {}
  ~CPointLight() override = default;
};

class CSpotLight : public CPointLight {
 public:
  CSpotLight() : CPointLight(platform::D3DLIGHT_SPOT) {}

 protected:
  ~CSpotLight() override = default;
};

}  // namespace Nembra
