#include "engine/scene/Sprite3D.h"

#include <algorithm>
#include <cmath>

#include "engine/scene/Camera.h"
#include "engine/scene/RenderEffect.h"
#include "engine/scene/SceneManager.h"

namespace Nembra {

bool C3DSprite::TestCulled() {
  // A mirrored sprite (a negative scale) is as large as its unmirrored self.
  const float largest = std::max(std::fabs(m_Scale.x), std::max(std::fabs(m_Scale.y), std::fabs(m_Scale.z)));
  const float radius = m_BoundingSphere.radius * largest;
  const D3DXVECTOR3 centre = GetWorldPosition() + m_BoundingSphere.center;
  CCamera* camera = g_pSceneManager ? g_pSceneManager->GetCamera() : nullptr;
  m_Culled = camera ? !camera->IsSphereVisible(centre, radius) : false;
  return m_Culled;
}

void C3DSprite::OnUpdate() {
  TestCulled();
  if (m_Visible && !m_Culled) {
    Draw();
  } else if (CRenderEffect* effect = GetDrawEffect()) {
    effect->Advance();
  }
}

}  // namespace Nembra
