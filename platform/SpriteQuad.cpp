#include "platform/SpriteQuad.h"

namespace platform {

bool BuildSpriteQuad(const D3DXMATRIX& m, const RECT* source, int textureWidth, int textureHeight,
                     const D3DXVECTOR3* centre, const D3DXVECTOR3* position, D3DCOLOR colour,
                     SPRITE_VERTEX out[4]) {
  if (textureWidth <= 0 || textureHeight <= 0) return false;
  RECT r;
  if (source) {
    r = *source;
  } else {
    r.right = textureWidth;
    r.bottom = textureHeight;
  }
  if (r.right == r.left || r.bottom == r.top) return false;
  const float cx = centre ? centre->x : 0.0f, cy = centre ? centre->y : 0.0f, cz = centre ? centre->z : 0.0f;
  const float px = position ? position->x : 0.0f, py = position ? position->y : 0.0f,
              pz = position ? position->z : 0.0f;
  const float w = static_cast<float>(r.right - r.left), h = static_cast<float>(r.bottom - r.top);
  const float x0 = px - cx, y0 = py - cy, z = pz - cz;
  const float invW = 1.0f / static_cast<float>(textureWidth), invH = 1.0f / static_cast<float>(textureHeight);
  const float u0 = r.left * invW, u1 = r.right * invW, v0 = r.top * invH, v1 = r.bottom * invH;
  const float corners[4][4] = {{x0, y0, u0, v0}, {x0 + w, y0, u1, v0}, {x0, y0 + h, u0, v1}, {x0 + w, y0 + h, u1, v1}};
  for (int i = 0; i < 4; ++i) {
    const float x = corners[i][0], y = corners[i][1];
    const float tx = x * m._11 + y * m._21 + z * m._31 + m._41;
    const float ty = x * m._12 + y * m._22 + z * m._32 + m._42;
    const float tz = x * m._13 + y * m._23 + z * m._33 + m._43;
    out[i].x = tx - 0.5f;
    out[i].y = ty - 0.5f;
    out[i].z = tz;
    out[i].rhw = 1.0f;
    out[i].colour = colour;
    out[i].u = corners[i][2];
    out[i].v = corners[i][3];
  }
  return true;
}

}  // namespace platform
