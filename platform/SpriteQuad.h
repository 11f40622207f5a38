#pragma once
// The geometry of one screen sprite: the source rectangle of a texture,
// shifted so that the centre point lands on the position, then carried to
// the screen by the sprite transform (row vectors, p x M).
#include "platform/Math.h"
#include "platform/Rect.h"

namespace platform {

// Screen-space vertex of the sprite batcher (pre-transformed position,
// diffuse colour, one texture coordinate).
struct SPRITE_VERTEX {
  float x, y, z, rhw;
  D3DCOLOR colour;
  float u, v;
};

// Fills the corners top-left, top-right, bottom-left, bottom-right. The
// source rectangle is in texels of a texture textureWidth x textureHeight
// (null: the whole texture); centre and position may be null (zero).
// Positions are moved by half a pixel up and left so that texels land on
// pixels one to one. False when the rectangle is empty or the texture has
// no size: nothing is to be drawn.
bool BuildSpriteQuad(const D3DXMATRIX& transform, const RECT* source, int textureWidth, int textureHeight,
                     const D3DXVECTOR3* centre, const D3DXVECTOR3* position, D3DCOLOR colour,
                     SPRITE_VERTEX out[4]);

}  // namespace platform
