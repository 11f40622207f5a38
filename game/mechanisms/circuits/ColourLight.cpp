#include "game/mechanisms/circuits/ColourLight.h"

#include "engine/scene/Light.h"
#include "engine/scene/SceneManager.h"

Nembra::CPointLight* MakeColourLight(const D3DXVECTOR3& at, uint32_t colour) {
  if (!Nembra::g_pSceneManager) return nullptr;
  Nembra::CPointLight* light = Nembra::g_pSceneManager->CreatePointLight(nullptr);
  if (!light) return nullptr;
  constexpr float LOW = 30.0f / 255.0f;
  light->SetPosition(at);
  light->SetDiffuseColor(colour == 1 ? D3DXCOLOR(LOW, LOW, 1.0f, 1.0f) : D3DXCOLOR(1.0f, LOW, LOW, 1.0f));
  light->SetRange(400.0f);
  light->SetAttenuation(0.5f, 0.0005f, 0.0000005f);
  light->Commit();
  return light;
}

void DeleteColourLight(Nembra::CPointLight*& light) {
  if (light && Nembra::g_pSceneManager) Nembra::g_pSceneManager->DeleteLight(light);
  light = nullptr;
}
