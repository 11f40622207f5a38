#pragma once
// Temporary: the device calls of the scene until the device wrapper lands.
#include "platform/Math.h"
namespace Nembra { namespace scenedevice {
enum Transform { TRANSFORM_VIEW = 2, TRANSFORM_PROJECTION = 3, TRANSFORM_WORLD = 256 };
inline bool SetTransform(Transform, const D3DXMATRIX&) { return true; }
}}
