#pragma once
// The base of every visible object in the world: during the scene update
// it tests its bounding sphere against the active camera and, when visible
// and in view, submits itself to the batch renderer (Draw).
#include "engine/scene/SceneNode.h"

namespace Nembra {

class CRenderEffect;

class C3DSprite : public CSceneNode {
 public:
  C3DSprite() = default;
  C3DSprite(const C3DSprite&) = default;
  C3DSprite& operator=(const C3DSprite&) = default;
  ~C3DSprite() override = default;

  // Culling, then submission or, for an unseen sprite, the effect's clock.
  void OnUpdate() override;
  // Submits the sprite to the geometry-set registry.
  virtual void Draw() = 0;
  virtual void SetRenderEffect(CRenderEffect* effect) { m_RenderEffect = effect; }

  CRenderEffect* GetRenderEffect() const { return m_RenderEffect; }
  // The effect the sprite is drawn with, wherever the kind keeps it; an
  // unseen sprite advances it so its time runs on.
  virtual CRenderEffect* GetDrawEffect() const { return m_RenderEffect; }
  void SetVisible(bool visible) { m_Visible = visible; }
  bool IsVisible() const { return m_Visible; }
  bool IsCulled() const { return m_Culled; }

  // The frustum test of OnUpdate: the bounding sphere around the world
  // position, its radius scaled by the largest of the node's own scales
  // (in size: a negative scale mirrors).
  // Nothing is culled while there is no active camera.
  bool TestCulled();

 protected:
  bool m_Visible = true;
  CRenderEffect* m_RenderEffect = nullptr;
  bool m_Culled = false;
};

}  // namespace Nembra
