#pragma once
// Reading a rendered 800 x 600 picture at the places world points land:
// the projection of a point through a camera, the colour channels of a
// pixel, and the best score of the pixels around a screen point.
#include <algorithm>
#include <cstdint>

#include "engine/scene/Camera.h"
#include "scenario/ScreenScenario.h"

namespace scenario {

// Where a world point lands on the 800 x 600 screen (z is the depth).
inline D3DXVECTOR3 Project(const Nembra::CCamera& camera, const D3DXVECTOR3& p) {
  D3DXMATRIX viewProjection;
  D3DXMatrixMultiply(&viewProjection, &camera.GetView(), &camera.GetProjection());
  D3DXVECTOR3 ndc;
  D3DXVec3TransformCoord(&ndc, &p, &viewProjection);
  return D3DXVECTOR3((ndc.x + 1.0f) * 400.0f, (1.0f - ndc.y) * 300.0f, ndc.z);
}

inline int R(uint32_t c) { return (c >> 16) & 0xFF; }
inline int G(uint32_t c) { return (c >> 8) & 0xFF; }
inline int B(uint32_t c) { return c & 0xFF; }

// The highest score of the pixels within reach of a screen point.
template <class Score>
int BestNear(ScreenScenario& s, const D3DXVECTOR3& at, int reach, Score score) {
  int best = -1000;
  for (int dy = -reach; dy <= reach; ++dy)
    for (int dx = -reach; dx <= reach; ++dx) best = std::max(best, score(s.PixelAt(int(at.x) + dx, int(at.y) + dy)));
  return best;
}

}  // namespace scenario
