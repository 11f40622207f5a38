#pragma once
// The scene manager (g_pSceneManager): owns the root node and the lights,
// holds the active camera and runs the two per-frame passes: Update
// (transforms, hooks, culling and submission) and Render (camera, then the
// batch renderer).
#include <cstdint>
#include <list>

#include "engine/scene/SceneNode.h"

namespace Nembra {

class CCamera;
class CLight;
class CDirectionalLight;
class CPointLight;
class CSpotLight;

class CSceneManager {
 public:
  CSceneManager();
  ~CSceneManager();
  CSceneManager(const CSceneManager&) = delete;
  CSceneManager& operator=(const CSceneManager&) = delete;

  // Adds the node under the parent (or under the root when null); a node
  // that already has a parent is moved. False for a null node, and (nothing
  // done) when the parent is the node itself or one of its descendants.
  bool AddNode(CSceneNode* node, CSceneNode* parent = nullptr);
  // The node and then its target, both under the same parent.
  bool AddTargetNode(CTargetNode* node, CSceneNode* parent = nullptr);
  bool RemoveNode(CSceneNode* node);

  bool SetCamera(CCamera* camera);
  // A camera that goes away stops being the active one (the scene then has
  // no camera until the next SetCamera).
  void ForgetCamera(const CCamera* camera) {
    if (m_Camera == camera) m_Camera = nullptr;
  }
  CCamera* GetCamera() const { return m_Camera; }
  void SetClearColor(const D3DXCOLOR& color);

  // The tree's update, the lights' frame hooks, then lights that are on
  // but were refused by the device ask again while it has a slot free.
  void Update();
  bool Render();

  CDirectionalLight* CreateDirectionalLight(CSceneNode* parent = nullptr);
  CPointLight* CreatePointLight(CSceneNode* parent = nullptr);
  CSpotLight* CreateSpotLight(CSceneNode* parent = nullptr);
  void DeleteLight(CLight* light);
  // Deletes every light and empties the whole tree's child lists.
  void DeleteAllLights();
  // After a device reset.
  void RestoreLights();

  CSceneNode* GetRoot() const { return m_Root; }
  const std::list<CLight*>& GetLights() const { return m_Lights; }
  uint32_t GetNextLightIndex() const { return m_NextLightIndex; }

 private:
  template <class T>
  T* CreateLight(CSceneNode* parent);
  void UnlinkLight(CLight* light);
  void RelightWaitingLights();

  CSceneNode* m_Root = nullptr;
  std::list<CLight*> m_Lights;
  uint32_t m_NextLightIndex = 0;
  CCamera* m_Camera = nullptr;
};

extern CSceneManager* g_pSceneManager;

}  // namespace Nembra
