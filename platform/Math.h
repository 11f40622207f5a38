#pragma once
// Vector, matrix, quaternion, plane and colour helpers with the names and
// results the engine relies on: row vectors (a point is transformed as
// p x M), right-handed camera helpers, depth 0..1 in clip space.
#include <cstdint>

using D3DCOLOR = uint32_t;
namespace platform {
struct D3DVIEWPORT9;
}

#define D3DCOLOR_ARGB(a, r, g, b)                                                             \
  ((D3DCOLOR)((((uint32_t)(a) & 0xffu) << 24) | (((uint32_t)(r) & 0xffu) << 16) | \
              (((uint32_t)(g) & 0xffu) << 8) | ((uint32_t)(b) & 0xffu)))
#define D3DCOLOR_XRGB(r, g, b) D3DCOLOR_ARGB(0xff, r, g, b)

// The one float -> packed colour conversion: a channel is 255 at 1 or
// more, 0 at 0 or less, otherwise the integer part of c x 255 + 0.5.
inline uint32_t ColorChannelToByte(float c) {
  if (c >= 1.0f) return 255;
  if (!(c > 0.0f)) return 0;
  return static_cast<uint32_t>(c * 255.0f + 0.5f);
}
inline D3DCOLOR PackColor(float r, float g, float b, float a) {
  return (ColorChannelToByte(a) << 24) | (ColorChannelToByte(r) << 16) | (ColorChannelToByte(g) << 8) |
         ColorChannelToByte(b);
}

struct D3DCOLORVALUE {
  float r = 0, g = 0, b = 0, a = 0;
};

struct D3DXCOLOR {
  float r = 0, g = 0, b = 0, a = 0;
  D3DXCOLOR() = default;
  D3DXCOLOR(float r_, float g_, float b_, float a_) : r(r_), g(g_), b(b_), a(a_) {}
  explicit D3DXCOLOR(D3DCOLOR argb);
  D3DXCOLOR(const D3DCOLORVALUE& v) : r(v.r), g(v.g), b(v.b), a(v.a) {}
  operator D3DCOLOR() const { return PackColor(r, g, b, a); }
  operator D3DCOLORVALUE() const { return D3DCOLORVALUE{r, g, b, a}; }
};

struct D3DXVECTOR2 {
  float x = 0, y = 0;
  D3DXVECTOR2() = default;
  D3DXVECTOR2(float x_, float y_) : x(x_), y(y_) {}
  D3DXVECTOR2 operator+(const D3DXVECTOR2& o) const { return {x + o.x, y + o.y}; }
  D3DXVECTOR2 operator-(const D3DXVECTOR2& o) const { return {x - o.x, y - o.y}; }
  D3DXVECTOR2 operator*(float s) const { return {x * s, y * s}; }
  bool operator==(const D3DXVECTOR2& o) const { return x == o.x && y == o.y; }
  bool operator!=(const D3DXVECTOR2& o) const { return !(*this == o); }
};

struct D3DXVECTOR3 {
  float x = 0, y = 0, z = 0;
  D3DXVECTOR3() = default;
  D3DXVECTOR3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
  D3DXVECTOR3 operator+(const D3DXVECTOR3& o) const { return {x + o.x, y + o.y, z + o.z}; }
  D3DXVECTOR3 operator-(const D3DXVECTOR3& o) const { return {x - o.x, y - o.y, z - o.z}; }
  D3DXVECTOR3 operator-() const { return {-x, -y, -z}; }
  D3DXVECTOR3 operator*(float s) const { return {x * s, y * s, z * s}; }
  D3DXVECTOR3 operator/(float s) const { return {x / s, y / s, z / s}; }
  D3DXVECTOR3& operator+=(const D3DXVECTOR3& o) { x += o.x; y += o.y; z += o.z; return *this; }
  D3DXVECTOR3& operator-=(const D3DXVECTOR3& o) { x -= o.x; y -= o.y; z -= o.z; return *this; }
  D3DXVECTOR3& operator*=(float s) { x *= s; y *= s; z *= s; return *this; }
  D3DXVECTOR3& operator/=(float s) { x /= s; y /= s; z /= s; return *this; }
  bool operator==(const D3DXVECTOR3& o) const { return x == o.x && y == o.y && z == o.z; }
  bool operator!=(const D3DXVECTOR3& o) const { return !(*this == o); }
};
inline D3DXVECTOR3 operator*(float s, const D3DXVECTOR3& v) { return v * s; }

struct D3DXVECTOR4 {
  float x = 0, y = 0, z = 0, w = 0;
  D3DXVECTOR4() = default;
  D3DXVECTOR4(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}
};

struct D3DXQUATERNION {
  float x = 0, y = 0, z = 0, w = 1;
  D3DXQUATERNION() = default;
  D3DXQUATERNION(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}
  bool operator==(const D3DXQUATERNION& o) const { return x == o.x && y == o.y && z == o.z && w == o.w; }
};

struct D3DXPLANE {
  float a = 0, b = 0, c = 0, d = 0;
  D3DXPLANE() = default;
  D3DXPLANE(float a_, float b_, float c_, float d_) : a(a_), b(b_), c(c_), d(d_) {}
};

struct D3DXMATRIX {
  union {
    struct {
      float _11, _12, _13, _14;
      float _21, _22, _23, _24;
      float _31, _32, _33, _34;
      float _41, _42, _43, _44;
    };
    float m[4][4];
  };
  D3DXMATRIX();  // identity
  D3DXMATRIX(float m11, float m12, float m13, float m14, float m21, float m22, float m23, float m24,
             float m31, float m32, float m33, float m34, float m41, float m42, float m43, float m44);
  float& operator()(int row, int col) { return m[row][col]; }
  float operator()(int row, int col) const { return m[row][col]; }
  D3DXMATRIX operator*(const D3DXMATRIX& o) const;
  D3DXMATRIX& operator*=(const D3DXMATRIX& o);
  bool operator==(const D3DXMATRIX& o) const;
  bool operator!=(const D3DXMATRIX& o) const { return !(*this == o); }
};
using D3DMATRIX = D3DXMATRIX;
using D3DVECTOR = D3DXVECTOR3;

// Vectors.
float D3DXVec2Length(const D3DXVECTOR2* v);
float D3DXVec3Length(const D3DXVECTOR3* v);
float D3DXVec3LengthSq(const D3DXVECTOR3* v);
float D3DXVec3Dot(const D3DXVECTOR3* a, const D3DXVECTOR3* b);
D3DXVECTOR3* D3DXVec3Cross(D3DXVECTOR3* out, const D3DXVECTOR3* a, const D3DXVECTOR3* b);
// A zero vector normalises to zero.
D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* out, const D3DXVECTOR3* v);
D3DXVECTOR2* D3DXVec2Normalize(D3DXVECTOR2* out, const D3DXVECTOR2* v);
D3DXVECTOR3* D3DXVec3Lerp(D3DXVECTOR3* out, const D3DXVECTOR3* a, const D3DXVECTOR3* b, float s);
D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m);
D3DXVECTOR3* D3DXVec3TransformNormal(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m);
D3DXVECTOR4* D3DXVec3Transform(D3DXVECTOR4* out, const D3DXVECTOR3* v, const D3DXMATRIX* m);
D3DXVECTOR4* D3DXVec4Transform(D3DXVECTOR4* out, const D3DXVECTOR4* v, const D3DXMATRIX* m);
// A point through world x view x projection (null matrices count as the
// identity) onto the viewport: x = X + (1 + x') Width / 2, y = Y + (1 - y')
// Height / 2, z = MinZ + z' (MaxZ - MinZ). Unproject is the inverse; it
// returns null (out untouched) when the combined matrix is singular or the
// viewport has no area.
D3DXVECTOR3* D3DXVec3Project(D3DXVECTOR3* out, const D3DXVECTOR3* v, const platform::D3DVIEWPORT9* viewport,
                             const D3DXMATRIX* projection, const D3DXMATRIX* view, const D3DXMATRIX* world);
D3DXVECTOR3* D3DXVec3Unproject(D3DXVECTOR3* out, const D3DXVECTOR3* v, const platform::D3DVIEWPORT9* viewport,
                               const D3DXMATRIX* projection, const D3DXMATRIX* view, const D3DXMATRIX* world);

// Matrices.
D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out);
bool D3DXMatrixIsIdentity(const D3DXMATRIX* m);
D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* a, const D3DXMATRIX* b);
D3DXMATRIX* D3DXMatrixTranspose(D3DXMATRIX* out, const D3DXMATRIX* m);
// Returns null (out untouched) for a singular matrix.
D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* out, float* determinant, const D3DXMATRIX* m);
float D3DXMatrixDeterminant(const D3DXMATRIX* m);
D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z);
D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* out, float x, float y, float z);
D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* out, float angle);
D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* out, float angle);
D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* out, float angle);
D3DXMATRIX* D3DXMatrixRotationAxis(D3DXMATRIX* out, const D3DXVECTOR3* axis, float angle);
// Roll about z, then pitch about x, then yaw about y: Rz(roll) x Rx(pitch) x Ry(yaw).
D3DXMATRIX* D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* out, float yaw, float pitch, float roll);
D3DXMATRIX* D3DXMatrixRotationQuaternion(D3DXMATRIX* out, const D3DXQUATERNION* q);
D3DXMATRIX* D3DXMatrixLookAtRH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at,
                               const D3DXVECTOR3* up);
D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at,
                               const D3DXVECTOR3* up);
D3DXMATRIX* D3DXMatrixPerspectiveFovRH(D3DXMATRIX* out, float fovy, float aspect, float zn, float zf);
D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, float fovy, float aspect, float zn, float zf);
D3DXMATRIX* D3DXMatrixOrthoOffCenterLH(D3DXMATRIX* out, float l, float r, float b, float t, float zn, float zf);
// Scaling x rotation x translation.
D3DXMATRIX* D3DXMatrixTransformation(D3DXMATRIX* out, const D3DXVECTOR3* scaling,
                                     const D3DXQUATERNION* rotation, const D3DXVECTOR3* translation);
// Splits a matrix made of scale, rotation and translation; false when a scale is zero.
bool D3DXMatrixDecompose(D3DXVECTOR3* scale, D3DXQUATERNION* rotation, D3DXVECTOR3* translation,
                         const D3DXMATRIX* m);

// Quaternions.
D3DXQUATERNION* D3DXQuaternionIdentity(D3DXQUATERNION* out);
D3DXQUATERNION* D3DXQuaternionNormalize(D3DXQUATERNION* out, const D3DXQUATERNION* q);
D3DXQUATERNION* D3DXQuaternionMultiply(D3DXQUATERNION* out, const D3DXQUATERNION* a, const D3DXQUATERNION* b);
D3DXQUATERNION* D3DXQuaternionRotationAxis(D3DXQUATERNION* out, const D3DXVECTOR3* axis, float angle);
D3DXQUATERNION* D3DXQuaternionRotationMatrix(D3DXQUATERNION* out, const D3DXMATRIX* m);
D3DXQUATERNION* D3DXQuaternionRotationYawPitchRoll(D3DXQUATERNION* out, float yaw, float pitch, float roll);
D3DXQUATERNION* D3DXQuaternionSlerp(D3DXQUATERNION* out, const D3DXQUATERNION* a, const D3DXQUATERNION* b,
                                    float t);
float D3DXQuaternionDot(const D3DXQUATERNION* a, const D3DXQUATERNION* b);

// Planes (a x + b y + c z + d = 0).
D3DXPLANE* D3DXPlaneNormalize(D3DXPLANE* out, const D3DXPLANE* p);
float D3DXPlaneDotCoord(const D3DXPLANE* p, const D3DXVECTOR3* v);
float D3DXPlaneDotNormal(const D3DXPLANE* p, const D3DXVECTOR3* v);
D3DXPLANE* D3DXPlaneFromPointNormal(D3DXPLANE* out, const D3DXVECTOR3* point, const D3DXVECTOR3* normal);
D3DXPLANE* D3DXPlaneFromPoints(D3DXPLANE* out, const D3DXVECTOR3* a, const D3DXVECTOR3* b, const D3DXVECTOR3* c);

constexpr float D3DX_PI = 3.141592654f;
inline float D3DXToRadian(float degrees) { return degrees * (D3DX_PI / 180.0f); }
inline float D3DXToDegree(float radians) { return radians * (180.0f / D3DX_PI); }
