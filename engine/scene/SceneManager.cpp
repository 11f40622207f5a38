#include "engine/scene/SceneManager.h"

#include <algorithm>

#include "engine/scene/Camera.h"
#include "engine/scene/GeometrySet.h"
#include "engine/scene/Light.h"
#include "engine/scene/RenderEffect.h"
#include "engine/scene/SceneDevice.h"

namespace Nembra {

CSceneManager* g_pSceneManager = nullptr;

CSceneManager::CSceneManager() {
  m_Root = new CSceneNode;
  m_Root->SetPosition(0.0f, 0.0f, 0.0f);
  m_Root->SetRotation(0.0f, 0.0f, 0.0f);
  m_Root->SetScale(1.0f, 1.0f, 1.0f);
  m_Root->UpdateWorldMatrix();
}

CSceneManager::~CSceneManager() {
  // Lights first: each unlinks itself from the tree while the root exists.
  for (CLight* light : m_Lights) delete light;
  m_Lights.clear();
  delete m_Root;
  m_Root = nullptr;
}

bool CSceneManager::AddNode(CSceneNode* node, CSceneNode* parent) {
  if (!node) return false;
  CSceneNode* under = parent ? parent : m_Root;
  under->AddChild(node);
  return node->GetParent() == under;  // false when it would have gone below itself
}

bool CSceneManager::AddTargetNode(CTargetNode* node, CSceneNode* parent) {
  if (!node || !AddNode(node, parent)) return false;
  return AddNode(&node->GetTarget(), parent);
}

bool CSceneManager::RemoveNode(CSceneNode* node) {
  if (!node) return false;
  if (node->GetParent()) node->GetParent()->RemoveChild(node);
  return true;
}

bool CSceneManager::SetCamera(CCamera* camera) {
  if (!camera) return false;
  m_Camera = camera;
  return true;
}

void CSceneManager::SetClearColor(const D3DXCOLOR& color) {
  if (g_pGraphicsDevice) g_pGraphicsDevice->SetClearColor(color.r, color.g, color.b, color.a);
}

void CSceneManager::Update() {
  CRenderEffect::NextFrame();
  m_Root->Update();
  for (CLight* light : m_Lights) light->OnFrame();
  RelightWaitingLights();
}

// Lights the device refused while all its slots were taken get a slot as
// soon as one is free, in light-list order.
void CSceneManager::RelightWaitingLights() {
  uint32_t lit = 0;
  for (const CLight* light : m_Lights) lit += light->IsLit() ? 1 : 0;
  for (CLight* light : m_Lights) {
    if (lit >= platform::MAX_ACTIVE_LIGHTS) return;
    if (light->IsOn() && light->IsRegistered() && !light->IsLit() && light->TryLight()) ++lit;
  }
}

bool CSceneManager::Render() {
  if (m_Camera) m_Camera->Apply();
  return g_pGeometrySetRegistry ? g_pGeometrySetRegistry->RenderBatches() : true;
}

template <class T>
T* CSceneManager::CreateLight(CSceneNode* parent) {
  T* light = new T;
  m_Lights.push_back(light);
  light->SetIndex(m_NextLightIndex++);
  light->Enable();
  if (!AddTargetNode(light, parent)) return nullptr;
  return light;
}

CDirectionalLight* CSceneManager::CreateDirectionalLight(CSceneNode* parent) {
  return CreateLight<CDirectionalLight>(parent);
}
CPointLight* CSceneManager::CreatePointLight(CSceneNode* parent) { return CreateLight<CPointLight>(parent); }
CSpotLight* CSceneManager::CreateSpotLight(CSceneNode* parent) { return CreateLight<CSpotLight>(parent); }

void CSceneManager::UnlinkLight(CLight* light) {
  CSceneNode& target = light->GetTarget();
  if (target.GetParent()) target.GetParent()->RemoveChild(&target);
  if (light->GetParent()) light->GetParent()->RemoveChild(light);
}

void CSceneManager::DeleteLight(CLight* light) {
  // Only lights this manager made and still owns.
  auto it = std::find(m_Lights.begin(), m_Lights.end(), light);
  if (!light || it == m_Lights.end()) return;
  light->Disable();
  UnlinkLight(light);
  m_Lights.erase(it);
  delete light;
}

void CSceneManager::DeleteAllLights() {
  for (CLight* light : m_Lights) {
    light->Disable();
    UnlinkLight(light);
    delete light;
  }
  m_Lights.clear();
  m_Root->ClearChildListsRecursive();
}

void CSceneManager::RestoreLights() {
  for (CLight* light : m_Lights) light->Restore();
}

}  // namespace Nembra
