#pragma once
// Free helpers shared across the engine: rectangles, angles, a sphere
// sweep, a point-in-polygon test, file tests and string/number conversions.
#include <string>
#include <vector>

#include "platform/Math.h"
#include "platform/Rect.h"

namespace Nembra {

using platform::RECT;

// Right and bottom stop at the ends of the int range.
RECT MakeRect(int x, int y, int width, int height);
// left <= x < right and top <= y < bottom.
bool IsPointInRect(int x, int y, int left, int top, int right, int bottom);

void CartesianToPolar(const float* x, const float* y, float* radius, float* angle);
void PolarToCartesian(const float* radius, const float* angle, float* x, float* y);
// The elevation is written only when v.z > 0.
void CartesianToSpherical(const D3DXVECTOR3* v, float* length, float* azimuth, float* elevation);

// Sweeps a sphere of movingRadius from start to end against a resting
// sphere. On a hit, distance is how far along the move the first contact
// lies and result the movement from start to that contact (zero when the
// spheres already overlap at the start), so callers add result to the
// mover's position.
bool SweepSphereAgainstSphere(const D3DXVECTOR3& start, const D3DXVECTOR3& end, const float movingRadius,
                              const D3DXVECTOR3& centre, const float radius, float* distance,
                              D3DXVECTOR3* result);

// Only x and y of the points count; a point on an edge is inside; an empty
// polygon contains every point.
bool IsPointInConvexPolygon(const std::vector<D3DXVECTOR3>& points, float x, float y);

// Data names go through the platform's path resolver.
bool FileExists(const std::string& path);
bool RemoveFile(const std::string& path);
// What follows the last '\' (or '/'); the whole path when there is none.
std::string GetFileName(const std::string& path);
// The file name without its last dot and what follows.
std::string GetBaseName(const std::string& path);

// Optional blanks, an optional sign and the leading digits; 0 when there are
// none. Values beyond the int range are clamped to it.
int StringToInt(const std::string& text);
int WStringToInt(const std::wstring& text);
std::string IntToString(int value);
std::wstring IntToWString(int value);

// ASCII-only upper case, the same in every locale (the basis of resource keys).
std::string ToUpper(const std::string& text);
std::wstring ToUpperWide(const std::wstring& text);

// "a,b,c,d" into four integers and "x,y" into (x, y, 0). Missing fields read
// 0 and fields past the last one are ignored.
void StringToIntQuad(const std::string& text, int out[4]);
void StringToPoint(const std::string& text, D3DXVECTOR3* out);
void WStringToIntQuad(const std::wstring& text, int out[4]);
void WStringToPoint(const std::wstring& text, D3DXVECTOR3* out);

}  // namespace Nembra
