#include "engine/util/Utilities.h"

#include <climits>
#include <cmath>

#include "platform/Files.h"
#include "platform/Saturate.h"
#include "platform/Text.h"

namespace Nembra {

namespace {

const float HALF_PI = 1.5707964f;

bool IsBlank(wchar_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// atoi's grammar without its undefined overflow: the value saturates.
template <typename Char>
int ParseInt(const Char* p, const Char* end) {
  while (p < end && IsBlank(static_cast<wchar_t>(*p))) ++p;
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  long long value = 0;
  for (; p < end && *p >= '0' && *p <= '9'; ++p) {
    value = value * 10 + (*p - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  return platform::ClampToInt32(negative ? -value : value);
}

// Splits at commas and converts the first `count` fields; the rest stay 0.
void ParseIntFields(const std::string& text, int* out, int count) {
  size_t pos = 0;
  bool more = true;
  for (int i = 0; i < count; ++i) {
    if (!more) {
      out[i] = 0;
      continue;
    }
    size_t comma = text.find(',', pos);
    if (comma == std::string::npos) {
      comma = text.size();
      more = false;
    }
    out[i] = ParseInt(text.data() + pos, text.data() + comma);
    pos = comma + 1;
  }
}

}  // namespace

RECT MakeRect(int x, int y, int width, int height) {
  RECT r;
  r.left = x;
  r.top = y;
  r.right = platform::AddSaturated(x, width);
  r.bottom = platform::AddSaturated(y, height);
  return r;
}

bool IsPointInRect(int x, int y, int left, int top, int right, int bottom) {
  return left <= x && x < right && top <= y && y < bottom;
}

void CartesianToPolar(const float* x, const float* y, float* radius, float* angle) {
  *radius = std::sqrt(*x * *x + *y * *y);
  *angle = (*x == 0.0f && *y == 0.0f) ? 0.0f : std::atan2(*y, *x);
}

void PolarToCartesian(const float* radius, const float* angle, float* x, float* y) {
  *x = std::cos(*angle) * *radius;
  *y = std::sin(*angle) * *radius;
}

void CartesianToSpherical(const D3DXVECTOR3* v, float* length, float* azimuth, float* elevation) {
  *length = D3DXVec3Length(v);
  *azimuth = (v->x == 0.0f && v->y == 0.0f) ? 0.0f : std::atan2(v->y, v->x);
  if (v->z > 0.0f) *elevation = v->y == 0.0f ? 0.0f : HALF_PI - std::atan(v->z / std::fabs(v->y));
}

bool SweepSphereAgainstSphere(const D3DXVECTOR3& start, const D3DXVECTOR3& end, const float movingRadius,
                              const D3DXVECTOR3& centre, const float radius, float* distance,
                              D3DXVECTOR3* result) {
  const D3DXVECTOR3 e = centre - start;
  const D3DXVECTOR3 d = end - start;
  const float r = movingRadius + radius;
  const float lengthE = D3DXVec3Length(&e);
  if (lengthE < r) {
    *distance = 0.0f;
    *result = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    return true;
  }
  const float lengthD = D3DXVec3Length(&d);
  if (lengthE - r > lengthD) return false;
  if (D3DXVec3Dot(&e, &d) <= 0.0f) return false;
  const D3DXVECTOR3 n = d / lengthD;  // lengthD > 0 here: the dot product was positive
  const float t = D3DXVec3Dot(&n, &e);
  const float d2 = D3DXVec3LengthSq(&e) - t * t;
  if (r * r < d2) return false;
  const float along = t - std::sqrt(r * r - d2);
  if (along > lengthD) return false;
  *distance = along;
  *result = n * along;
  return true;
}

bool IsPointInConvexPolygon(const std::vector<D3DXVECTOR3>& points, float x, float y) {
  int reference = 0;
  const size_t count = points.size();
  for (size_t i = 0; i < count; ++i) {
    const D3DXVECTOR3& a = points[i];
    const D3DXVECTOR3& b = points[(i + 1) % count];
    const float side = (y - a.y) * (b.x - a.x) - (b.y - a.y) * (x - a.x);
    const int sign = side > 0.0f ? 1 : (side < 0.0f ? -1 : 0);
    if (sign == 0) continue;
    if (reference == 0)
      reference = sign;
    else if (sign != reference)
      return false;
  }
  return true;
}

bool FileExists(const std::string& path) { return platform::FileExists(path); }

bool RemoveFile(const std::string& path) { return platform::RemoveFile(path); }

std::string GetFileName(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string GetBaseName(const std::string& path) {
  std::string name = GetFileName(path);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

int StringToInt(const std::string& text) { return ParseInt(text.data(), text.data() + text.size()); }

int WStringToInt(const std::wstring& text) { return ParseInt(text.data(), text.data() + text.size()); }

std::string IntToString(int value) { return std::to_string(value); }

std::wstring IntToWString(int value) { return std::to_wstring(value); }

std::string ToUpper(const std::string& text) { return platform::AsciiUpper(text); }

std::wstring ToUpperWide(const std::wstring& text) {
  std::wstring out(text);
  for (wchar_t& c : out)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  return out;
}

void StringToIntQuad(const std::string& text, int out[4]) { ParseIntFields(text, out, 4); }

void StringToPoint(const std::string& text, D3DXVECTOR3* out) {
  int xy[2];
  ParseIntFields(text, xy, 2);
  *out = D3DXVECTOR3(static_cast<float>(xy[0]), static_cast<float>(xy[1]), 0.0f);
}

void WStringToIntQuad(const std::wstring& text, int out[4]) { StringToIntQuad(platform::WideToUtf8(text), out); }

void WStringToPoint(const std::wstring& text, D3DXVECTOR3* out) { StringToPoint(platform::WideToUtf8(text), out); }

}  // namespace Nembra
