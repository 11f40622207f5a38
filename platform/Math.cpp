#include "platform/Math.h"

#include "platform/Graphics.h"

#include <cmath>

D3DXCOLOR::D3DXCOLOR(D3DCOLOR argb)
    : r(((argb >> 16) & 0xff) / 255.0f),
      g(((argb >> 8) & 0xff) / 255.0f),
      b((argb & 0xff) / 255.0f),
      a(((argb >> 24) & 0xff) / 255.0f) {}

D3DXMATRIX::D3DXMATRIX()
    : _11(1), _12(0), _13(0), _14(0), _21(0), _22(1), _23(0), _24(0), _31(0), _32(0), _33(1), _34(0), _41(0),
      _42(0), _43(0), _44(1) {}

D3DXMATRIX::D3DXMATRIX(float m11, float m12, float m13, float m14, float m21, float m22, float m23, float m24,
                       float m31, float m32, float m33, float m34, float m41, float m42, float m43, float m44)
    : _11(m11), _12(m12), _13(m13), _14(m14), _21(m21), _22(m22), _23(m23), _24(m24), _31(m31), _32(m32),
      _33(m33), _34(m34), _41(m41), _42(m42), _43(m43), _44(m44) {}

D3DXMATRIX D3DXMATRIX::operator*(const D3DXMATRIX& o) const {
  D3DXMATRIX r;
  D3DXMatrixMultiply(&r, this, &o);
  return r;
}

D3DXMATRIX& D3DXMATRIX::operator*=(const D3DXMATRIX& o) {
  D3DXMATRIX r;
  D3DXMatrixMultiply(&r, this, &o);
  *this = r;
  return *this;
}

bool D3DXMATRIX::operator==(const D3DXMATRIX& o) const {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      if (m[i][j] != o.m[i][j]) return false;
  return true;
}

float D3DXVec2Length(const D3DXVECTOR2* v) { return std::sqrt(v->x * v->x + v->y * v->y); }
float D3DXVec3LengthSq(const D3DXVECTOR3* v) { return v->x * v->x + v->y * v->y + v->z * v->z; }
float D3DXVec3Length(const D3DXVECTOR3* v) { return std::sqrt(D3DXVec3LengthSq(v)); }
float D3DXVec3Dot(const D3DXVECTOR3* a, const D3DXVECTOR3* b) { return a->x * b->x + a->y * b->y + a->z * b->z; }

D3DXVECTOR3* D3DXVec3Cross(D3DXVECTOR3* out, const D3DXVECTOR3* a, const D3DXVECTOR3* b) {
  D3DXVECTOR3 r(a->y * b->z - a->z * b->y, a->z * b->x - a->x * b->z, a->x * b->y - a->y * b->x);
  *out = r;
  return out;
}

D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* out, const D3DXVECTOR3* v) {
  float len = D3DXVec3Length(v);
  if (len == 0.0f) {
    *out = D3DXVECTOR3(0, 0, 0);
  } else {
    *out = D3DXVECTOR3(v->x / len, v->y / len, v->z / len);
  }
  return out;
}

D3DXVECTOR2* D3DXVec2Normalize(D3DXVECTOR2* out, const D3DXVECTOR2* v) {
  float len = D3DXVec2Length(v);
  *out = len == 0.0f ? D3DXVECTOR2(0, 0) : D3DXVECTOR2(v->x / len, v->y / len);
  return out;
}

D3DXVECTOR3* D3DXVec3Lerp(D3DXVECTOR3* out, const D3DXVECTOR3* a, const D3DXVECTOR3* b, float s) {
  *out = D3DXVECTOR3(a->x + s * (b->x - a->x), a->y + s * (b->y - a->y), a->z + s * (b->z - a->z));
  return out;
}

D3DXVECTOR4* D3DXVec3Transform(D3DXVECTOR4* out, const D3DXVECTOR3* v, const D3DXMATRIX* m) {
  D3DXVECTOR4 r(v->x * m->_11 + v->y * m->_21 + v->z * m->_31 + m->_41,
                v->x * m->_12 + v->y * m->_22 + v->z * m->_32 + m->_42,
                v->x * m->_13 + v->y * m->_23 + v->z * m->_33 + m->_43,
                v->x * m->_14 + v->y * m->_24 + v->z * m->_34 + m->_44);
  *out = r;
  return out;
}

D3DXVECTOR4* D3DXVec4Transform(D3DXVECTOR4* out, const D3DXVECTOR4* v, const D3DXMATRIX* m) {
  D3DXVECTOR4 r(v->x * m->_11 + v->y * m->_21 + v->z * m->_31 + v->w * m->_41,
                v->x * m->_12 + v->y * m->_22 + v->z * m->_32 + v->w * m->_42,
                v->x * m->_13 + v->y * m->_23 + v->z * m->_33 + v->w * m->_43,
                v->x * m->_14 + v->y * m->_24 + v->z * m->_34 + v->w * m->_44);
  *out = r;
  return out;
}

D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m) {
  D3DXVECTOR4 r;
  D3DXVec3Transform(&r, v, m);
  if (r.w != 0.0f && r.w != 1.0f) {
    *out = D3DXVECTOR3(r.x / r.w, r.y / r.w, r.z / r.w);
  } else {
    *out = D3DXVECTOR3(r.x, r.y, r.z);
  }
  return out;
}

D3DXVECTOR3* D3DXVec3TransformNormal(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m) {
  D3DXVECTOR3 r(v->x * m->_11 + v->y * m->_21 + v->z * m->_31, v->x * m->_12 + v->y * m->_22 + v->z * m->_32,
                v->x * m->_13 + v->y * m->_23 + v->z * m->_33);
  *out = r;
  return out;
}

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out) {
  *out = D3DXMATRIX();
  return out;
}

bool D3DXMatrixIsIdentity(const D3DXMATRIX* m) { return *m == D3DXMATRIX(); }

D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* a, const D3DXMATRIX* b) {
  D3DXMATRIX r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      r.m[i][j] = a->m[i][0] * b->m[0][j] + a->m[i][1] * b->m[1][j] + a->m[i][2] * b->m[2][j] +
                  a->m[i][3] * b->m[3][j];
  *out = r;
  return out;
}

D3DXMATRIX* D3DXMatrixTranspose(D3DXMATRIX* out, const D3DXMATRIX* m) {
  D3DXMATRIX r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) r.m[i][j] = m->m[j][i];
  *out = r;
  return out;
}

float D3DXMatrixDeterminant(const D3DXMATRIX* mat) {
  // The inverse works the determinant out on the way; it is rarely needed alone.
  float det = 0.0f;
  D3DXMATRIX unused;
  D3DXMatrixInverse(&unused, &det, mat);
  return det;
}

D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* out, float* determinant, const D3DXMATRIX* mat) {
  const float(*m)[4] = mat->m;
  float s0 = m[0][0] * m[1][1] - m[1][0] * m[0][1];
  float s1 = m[0][0] * m[1][2] - m[1][0] * m[0][2];
  float s2 = m[0][0] * m[1][3] - m[1][0] * m[0][3];
  float s3 = m[0][1] * m[1][2] - m[1][1] * m[0][2];
  float s4 = m[0][1] * m[1][3] - m[1][1] * m[0][3];
  float s5 = m[0][2] * m[1][3] - m[1][2] * m[0][3];
  float c5 = m[2][2] * m[3][3] - m[3][2] * m[2][3];
  float c4 = m[2][1] * m[3][3] - m[3][1] * m[2][3];
  float c3 = m[2][1] * m[3][2] - m[3][1] * m[2][2];
  float c2 = m[2][0] * m[3][3] - m[3][0] * m[2][3];
  float c1 = m[2][0] * m[3][2] - m[3][0] * m[2][2];
  float c0 = m[2][0] * m[3][1] - m[3][0] * m[2][1];
  float det = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
  if (determinant) *determinant = det;
  if (det == 0.0f || !std::isfinite(det)) return nullptr;
  float inv = 1.0f / det;
  D3DXMATRIX r;
  r.m[0][0] = (m[1][1] * c5 - m[1][2] * c4 + m[1][3] * c3) * inv;
  r.m[0][1] = (-m[0][1] * c5 + m[0][2] * c4 - m[0][3] * c3) * inv;
  r.m[0][2] = (m[3][1] * s5 - m[3][2] * s4 + m[3][3] * s3) * inv;
  r.m[0][3] = (-m[2][1] * s5 + m[2][2] * s4 - m[2][3] * s3) * inv;
  r.m[1][0] = (-m[1][0] * c5 + m[1][2] * c2 - m[1][3] * c1) * inv;
  r.m[1][1] = (m[0][0] * c5 - m[0][2] * c2 + m[0][3] * c1) * inv;
  r.m[1][2] = (-m[3][0] * s5 + m[3][2] * s2 - m[3][3] * s1) * inv;
  r.m[1][3] = (m[2][0] * s5 - m[2][2] * s2 + m[2][3] * s1) * inv;
  r.m[2][0] = (m[1][0] * c4 - m[1][1] * c2 + m[1][3] * c0) * inv;
  r.m[2][1] = (-m[0][0] * c4 + m[0][1] * c2 - m[0][3] * c0) * inv;
  r.m[2][2] = (m[3][0] * s4 - m[3][1] * s2 + m[3][3] * s0) * inv;
  r.m[2][3] = (-m[2][0] * s4 + m[2][1] * s2 - m[2][3] * s0) * inv;
  r.m[3][0] = (-m[1][0] * c3 + m[1][1] * c1 - m[1][2] * c0) * inv;
  r.m[3][1] = (m[0][0] * c3 - m[0][1] * c1 + m[0][2] * c0) * inv;
  r.m[3][2] = (-m[3][0] * s3 + m[3][1] * s1 - m[3][2] * s0) * inv;
  r.m[3][3] = (m[2][0] * s3 - m[2][1] * s1 + m[2][2] * s0) * inv;
  *out = r;
  return out;
}

D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z) {
  *out = D3DXMATRIX();
  out->_41 = x;
  out->_42 = y;
  out->_43 = z;
  return out;
}

D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* out, float x, float y, float z) {
  *out = D3DXMATRIX();
  out->_11 = x;
  out->_22 = y;
  out->_33 = z;
  return out;
}

D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* out, float angle) {
  float c = std::cos(angle), s = std::sin(angle);
  *out = D3DXMATRIX();
  out->_22 = c;
  out->_23 = s;
  out->_32 = -s;
  out->_33 = c;
  return out;
}

D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* out, float angle) {
  float c = std::cos(angle), s = std::sin(angle);
  *out = D3DXMATRIX();
  out->_11 = c;
  out->_13 = -s;
  out->_31 = s;
  out->_33 = c;
  return out;
}

D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* out, float angle) {
  float c = std::cos(angle), s = std::sin(angle);
  *out = D3DXMATRIX();
  out->_11 = c;
  out->_12 = s;
  out->_21 = -s;
  out->_22 = c;
  return out;
}

D3DXMATRIX* D3DXMatrixRotationAxis(D3DXMATRIX* out, const D3DXVECTOR3* axis, float angle) {
  D3DXVECTOR3 n;
  D3DXVec3Normalize(&n, axis);
  float c = std::cos(angle), s = std::sin(angle), t = 1.0f - c;
  *out = D3DXMATRIX();
  out->_11 = t * n.x * n.x + c;
  out->_12 = t * n.x * n.y + s * n.z;
  out->_13 = t * n.x * n.z - s * n.y;
  out->_21 = t * n.x * n.y - s * n.z;
  out->_22 = t * n.y * n.y + c;
  out->_23 = t * n.y * n.z + s * n.x;
  out->_31 = t * n.x * n.z + s * n.y;
  out->_32 = t * n.y * n.z - s * n.x;
  out->_33 = t * n.z * n.z + c;
  return out;
}

D3DXMATRIX* D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* out, float yaw, float pitch, float roll) {
  D3DXMATRIX rz, rx, ry, t;
  D3DXMatrixRotationZ(&rz, roll);
  D3DXMatrixRotationX(&rx, pitch);
  D3DXMatrixRotationY(&ry, yaw);
  D3DXMatrixMultiply(&t, &rz, &rx);
  D3DXMatrixMultiply(out, &t, &ry);
  return out;
}

D3DXMATRIX* D3DXMatrixRotationQuaternion(D3DXMATRIX* out, const D3DXQUATERNION* q) {
  const float x = q->x, y = q->y, z = q->z, w = q->w;
  *out = D3DXMATRIX();
  out->_11 = 1.0f - 2.0f * (y * y + z * z);
  out->_12 = 2.0f * (x * y + z * w);
  out->_13 = 2.0f * (x * z - y * w);
  out->_21 = 2.0f * (x * y - z * w);
  out->_22 = 1.0f - 2.0f * (x * x + z * z);
  out->_23 = 2.0f * (y * z + x * w);
  out->_31 = 2.0f * (x * z + y * w);
  out->_32 = 2.0f * (y * z - x * w);
  out->_33 = 1.0f - 2.0f * (x * x + y * y);
  return out;
}

static D3DXMATRIX* LookAt(D3DXMATRIX* out, const D3DXVECTOR3& x, const D3DXVECTOR3& y, const D3DXVECTOR3& z,
                          const D3DXVECTOR3* eye) {
  *out = D3DXMATRIX(x.x, y.x, z.x, 0, x.y, y.y, z.y, 0, x.z, y.z, z.z, 0, -D3DXVec3Dot(&x, eye),
                    -D3DXVec3Dot(&y, eye), -D3DXVec3Dot(&z, eye), 1);
  return out;
}

D3DXMATRIX* D3DXMatrixLookAtRH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at,
                               const D3DXVECTOR3* up) {
  D3DXVECTOR3 z = *eye - *at, x, y;
  D3DXVec3Normalize(&z, &z);
  D3DXVec3Cross(&x, up, &z);
  D3DXVec3Normalize(&x, &x);
  D3DXVec3Cross(&y, &z, &x);
  return LookAt(out, x, y, z, eye);
}

D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at,
                               const D3DXVECTOR3* up) {
  D3DXVECTOR3 z = *at - *eye, x, y;
  D3DXVec3Normalize(&z, &z);
  D3DXVec3Cross(&x, up, &z);
  D3DXVec3Normalize(&x, &x);
  D3DXVec3Cross(&y, &z, &x);
  return LookAt(out, x, y, z, eye);
}

D3DXMATRIX* D3DXMatrixPerspectiveFovRH(D3DXMATRIX* out, float fovy, float aspect, float zn, float zf) {
  float yScale = 1.0f / std::tan(fovy / 2.0f);
  float xScale = yScale / aspect;
  *out = D3DXMATRIX(xScale, 0, 0, 0, 0, yScale, 0, 0, 0, 0, zf / (zn - zf), -1, 0, 0, zn * zf / (zn - zf), 0);
  return out;
}

D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, float fovy, float aspect, float zn, float zf) {
  float yScale = 1.0f / std::tan(fovy / 2.0f);
  float xScale = yScale / aspect;
  *out = D3DXMATRIX(xScale, 0, 0, 0, 0, yScale, 0, 0, 0, 0, zf / (zf - zn), 1, 0, 0, -zn * zf / (zf - zn), 0);
  return out;
}

D3DXMATRIX* D3DXMatrixOrthoOffCenterLH(D3DXMATRIX* out, float l, float r, float b, float t, float zn, float zf) {
  *out = D3DXMATRIX(2.0f / (r - l), 0, 0, 0, 0, 2.0f / (t - b), 0, 0, 0, 0, 1.0f / (zf - zn), 0,
                    (l + r) / (l - r), (t + b) / (b - t), zn / (zn - zf), 1);
  return out;
}

D3DXMATRIX* D3DXMatrixTransformation(D3DXMATRIX* out, const D3DXVECTOR3* scaling, const D3DXQUATERNION* rotation,
                                     const D3DXVECTOR3* translation) {
  D3DXMATRIX s, r, t;
  if (scaling) D3DXMatrixScaling(&s, scaling->x, scaling->y, scaling->z);
  if (rotation) D3DXMatrixRotationQuaternion(&r, rotation);
  if (translation) D3DXMatrixTranslation(&t, translation->x, translation->y, translation->z);
  D3DXMATRIX sr = s * r;
  *out = sr * t;
  return out;
}

bool D3DXMatrixDecompose(D3DXVECTOR3* scale, D3DXQUATERNION* rotation, D3DXVECTOR3* translation,
                         const D3DXMATRIX* m) {
  D3DXVECTOR3 rows[3] = {{m->_11, m->_12, m->_13}, {m->_21, m->_22, m->_23}, {m->_31, m->_32, m->_33}};
  D3DXVECTOR3 s(D3DXVec3Length(&rows[0]), D3DXVec3Length(&rows[1]), D3DXVec3Length(&rows[2]));
  if (translation) *translation = D3DXVECTOR3(m->_41, m->_42, m->_43);
  if (scale) *scale = s;
  if (s.x == 0 || s.y == 0 || s.z == 0) return false;
  D3DXMATRIX r(rows[0].x / s.x, rows[0].y / s.x, rows[0].z / s.x, 0, rows[1].x / s.y, rows[1].y / s.y,
               rows[1].z / s.y, 0, rows[2].x / s.z, rows[2].y / s.z, rows[2].z / s.z, 0, 0, 0, 0, 1);
  if (rotation) D3DXQuaternionRotationMatrix(rotation, &r);
  return true;
}

D3DXQUATERNION* D3DXQuaternionIdentity(D3DXQUATERNION* out) {
  *out = D3DXQUATERNION(0, 0, 0, 1);
  return out;
}

float D3DXQuaternionDot(const D3DXQUATERNION* a, const D3DXQUATERNION* b) {
  return a->x * b->x + a->y * b->y + a->z * b->z + a->w * b->w;
}

D3DXQUATERNION* D3DXQuaternionNormalize(D3DXQUATERNION* out, const D3DXQUATERNION* q) {
  float len = std::sqrt(D3DXQuaternionDot(q, q));
  if (len == 0.0f) {
    *out = D3DXQUATERNION(0, 0, 0, 0);
  } else {
    *out = D3DXQUATERNION(q->x / len, q->y / len, q->z / len, q->w / len);
  }
  return out;
}

// The product applies a first, then b (as the matrices of a x b do).
D3DXQUATERNION* D3DXQuaternionMultiply(D3DXQUATERNION* out, const D3DXQUATERNION* a, const D3DXQUATERNION* b) {
  D3DXQUATERNION r(b->w * a->x + b->x * a->w + b->y * a->z - b->z * a->y,
                   b->w * a->y - b->x * a->z + b->y * a->w + b->z * a->x,
                   b->w * a->z + b->x * a->y - b->y * a->x + b->z * a->w,
                   b->w * a->w - b->x * a->x - b->y * a->y - b->z * a->z);
  *out = r;
  return out;
}

D3DXQUATERNION* D3DXQuaternionRotationAxis(D3DXQUATERNION* out, const D3DXVECTOR3* axis, float angle) {
  D3DXVECTOR3 n;
  D3DXVec3Normalize(&n, axis);
  float s = std::sin(angle * 0.5f);
  *out = D3DXQUATERNION(n.x * s, n.y * s, n.z * s, std::cos(angle * 0.5f));
  return out;
}

D3DXQUATERNION* D3DXQuaternionRotationMatrix(D3DXQUATERNION* out, const D3DXMATRIX* m) {
  float trace = m->_11 + m->_22 + m->_33;
  D3DXQUATERNION q;
  if (trace > 0.0f) {
    float s = std::sqrt(trace + 1.0f) * 2.0f;
    q.w = 0.25f * s;
    q.x = (m->_23 - m->_32) / s;
    q.y = (m->_31 - m->_13) / s;
    q.z = (m->_12 - m->_21) / s;
  } else if (m->_11 > m->_22 && m->_11 > m->_33) {
    float s = std::sqrt(1.0f + m->_11 - m->_22 - m->_33) * 2.0f;
    q.w = (m->_23 - m->_32) / s;
    q.x = 0.25f * s;
    q.y = (m->_12 + m->_21) / s;
    q.z = (m->_31 + m->_13) / s;
  } else if (m->_22 > m->_33) {
    float s = std::sqrt(1.0f + m->_22 - m->_11 - m->_33) * 2.0f;
    q.w = (m->_31 - m->_13) / s;
    q.x = (m->_12 + m->_21) / s;
    q.y = 0.25f * s;
    q.z = (m->_23 + m->_32) / s;
  } else {
    float s = std::sqrt(1.0f + m->_33 - m->_11 - m->_22) * 2.0f;
    q.w = (m->_12 - m->_21) / s;
    q.x = (m->_31 + m->_13) / s;
    q.y = (m->_23 + m->_32) / s;
    q.z = 0.25f * s;
  }
  *out = q;
  return out;
}

D3DXQUATERNION* D3DXQuaternionRotationYawPitchRoll(D3DXQUATERNION* out, float yaw, float pitch, float roll) {
  D3DXMATRIX m;
  D3DXMatrixRotationYawPitchRoll(&m, yaw, pitch, roll);
  return D3DXQuaternionRotationMatrix(out, &m);
}

D3DXQUATERNION* D3DXQuaternionSlerp(D3DXQUATERNION* out, const D3DXQUATERNION* a, const D3DXQUATERNION* b,
                                    float t) {
  float cosom = D3DXQuaternionDot(a, b);
  float sign = 1.0f;
  if (cosom < 0.0f) {
    cosom = -cosom;
    sign = -1.0f;
  }
  float s0, s1;
  if (1.0f - cosom > 1e-6f) {
    float omega = std::acos(cosom);
    float sinom = std::sin(omega);
    s0 = std::sin((1.0f - t) * omega) / sinom;
    s1 = std::sin(t * omega) / sinom;
  } else {
    s0 = 1.0f - t;
    s1 = t;
  }
  s1 *= sign;
  *out = D3DXQUATERNION(s0 * a->x + s1 * b->x, s0 * a->y + s1 * b->y, s0 * a->z + s1 * b->z, s0 * a->w + s1 * b->w);
  return out;
}

D3DXPLANE* D3DXPlaneNormalize(D3DXPLANE* out, const D3DXPLANE* p) {
  float len = std::sqrt(p->a * p->a + p->b * p->b + p->c * p->c);
  if (len == 0.0f) {
    *out = D3DXPLANE(0, 0, 0, 0);
  } else {
    *out = D3DXPLANE(p->a / len, p->b / len, p->c / len, p->d / len);
  }
  return out;
}

float D3DXPlaneDotCoord(const D3DXPLANE* p, const D3DXVECTOR3* v) { return p->a * v->x + p->b * v->y + p->c * v->z + p->d; }
float D3DXPlaneDotNormal(const D3DXPLANE* p, const D3DXVECTOR3* v) { return p->a * v->x + p->b * v->y + p->c * v->z; }

D3DXPLANE* D3DXPlaneFromPointNormal(D3DXPLANE* out, const D3DXVECTOR3* point, const D3DXVECTOR3* normal) {
  *out = D3DXPLANE(normal->x, normal->y, normal->z, -D3DXVec3Dot(point, normal));
  return out;
}

D3DXPLANE* D3DXPlaneFromPoints(D3DXPLANE* out, const D3DXVECTOR3* a, const D3DXVECTOR3* b, const D3DXVECTOR3* c) {
  D3DXVECTOR3 e1 = *b - *a, e2 = *c - *a, n;
  D3DXVec3Cross(&n, &e1, &e2);
  D3DXVec3Normalize(&n, &n);
  return D3DXPlaneFromPointNormal(out, a, &n);
}

namespace {

// world x view x projection, null matrices skipped.
D3DXMATRIX CombinedTransform(const D3DXMATRIX* projection, const D3DXMATRIX* view, const D3DXMATRIX* world) {
  D3DXMATRIX m;
  D3DXMatrixIdentity(&m);
  if (world) m = *world;
  if (view) D3DXMatrixMultiply(&m, &m, view);
  if (projection) D3DXMatrixMultiply(&m, &m, projection);
  return m;
}

}  // namespace

D3DXVECTOR3* D3DXVec3Project(D3DXVECTOR3* out, const D3DXVECTOR3* v, const platform::D3DVIEWPORT9* viewport,
                             const D3DXMATRIX* projection, const D3DXMATRIX* view, const D3DXMATRIX* world) {
  const D3DXMATRIX m = CombinedTransform(projection, view, world);
  D3DXVECTOR3 p;
  D3DXVec3TransformCoord(&p, v, &m);
  if (viewport) {
    const float width = static_cast<float>(viewport->Width), height = static_cast<float>(viewport->Height);
    p.x = static_cast<float>(viewport->X) + (1.0f + p.x) * width * 0.5f;
    p.y = static_cast<float>(viewport->Y) + (1.0f - p.y) * height * 0.5f;
    p.z = viewport->MinZ + p.z * (viewport->MaxZ - viewport->MinZ);
  }
  *out = p;
  return out;
}

D3DXVECTOR3* D3DXVec3Unproject(D3DXVECTOR3* out, const D3DXVECTOR3* v, const platform::D3DVIEWPORT9* viewport,
                               const D3DXMATRIX* projection, const D3DXMATRIX* view, const D3DXMATRIX* world) {
  const D3DXMATRIX m = CombinedTransform(projection, view, world);
  D3DXMATRIX inverse;
  if (!D3DXMatrixInverse(&inverse, nullptr, &m)) return nullptr;
  D3DXVECTOR3 p = *v;
  if (viewport) {
    const float depth = viewport->MaxZ - viewport->MinZ;
    if (viewport->Width == 0 || viewport->Height == 0 || depth == 0.0f) return nullptr;
    p.x = (v->x - static_cast<float>(viewport->X)) * 2.0f / static_cast<float>(viewport->Width) - 1.0f;
    p.y = 1.0f - (v->y - static_cast<float>(viewport->Y)) * 2.0f / static_cast<float>(viewport->Height);
    p.z = (v->z - viewport->MinZ) / depth;
  }
  D3DXVec3TransformCoord(out, &p, &inverse);
  return out;
}
