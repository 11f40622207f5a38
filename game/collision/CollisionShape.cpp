// Collision shapes: bounds, edges, the segment test and the built shapes.
#include "game/collision/CollisionShape.h"

#include <cmath>

#include "engine/util/Utilities.h"
#include "game/files/LevelFileReader.h"
#include "game/files/LevelFiles.h"

namespace {
constexpr float kLargestFloat = 3.4028235e38f;

D3DXMATRIX RotationThenTranslation(const D3DXVECTOR3& position, float angle) {
  D3DXMATRIX rotation, translation, m;
  D3DXMatrixRotationZ(&rotation, angle);
  D3DXMatrixTranslation(&translation, position.x, position.y, position.z);
  D3DXMatrixMultiply(&m, &rotation, &translation);
  return m;
}
}  // namespace

void CCollisionShape::Load(const SHAPE_RECORD& record) {
  m_Vertices = record.vertices;
  ComputeBounds();
}

bool CCollisionShape::Load(CLevelFileReader& reader) {
  SHAPE_RECORD record;
  if (!ReadShapeRecord(reader, record)) return false;
  Load(record);
  return true;
}

void CCollisionShape::ComputeBounds() {
  if (m_Vertices.empty()) {
    m_BoundsCentre = D3DXVECTOR3();
    m_BoundsRadius = 0.0f;
    m_Edges.clear();
    return;
  }
  float minX = kLargestFloat, minY = kLargestFloat, maxX = -kLargestFloat, maxY = -kLargestFloat;
  for (const D3DXVECTOR3& v : m_Vertices) {
    if (v.x < minX) minX = v.x;
    if (v.x > maxX) maxX = v.x;
    if (v.y < minY) minY = v.y;
    if (v.y > maxY) maxY = v.y;
  }
  m_BoundsCentre = D3DXVECTOR3(minX + (maxX - minX) * 0.5f, minY + (maxY - minY) * 0.5f, 0.0f);
  float largest = -kLargestFloat;
  for (const D3DXVECTOR3& v : m_Vertices) {
    const D3DXVECTOR3 d = v - m_BoundsCentre;
    const float squared = d.x * d.x + d.y * d.y + d.z * d.z;
    if (squared > largest) largest = squared;
  }
  m_BoundsRadius = std::sqrt(largest);
  BuildEdges();
}

void CCollisionShape::BuildEdges() {
  m_Edges.clear();
  if (m_Vertices.size() < 2) return;
  m_Edges.reserve(m_Vertices.size() - 1);
  for (size_t i = 0; i + 1 < m_Vertices.size(); ++i) {
    COLLISION_EDGE e;
    e.start = m_Vertices[i];
    e.end = m_Vertices[i + 1];
    e.direction = e.end - e.start;
    if (e.direction.y != 0.0f) {
      float length, angle;
      Nembra::CartesianToPolar(&e.direction.x, &e.direction.y, &length, &angle);
      const float turned = angle + D3DX_PI * 0.5f;
      e.normal = D3DXVECTOR3(std::cos(turned), std::sin(turned), 0.0f);
    } else {
      e.normal = e.direction.x >= 0.0f ? D3DXVECTOR3(0.0f, -1.0f, 0.0f) : D3DXVECTOR3(0.0f, 1.0f, 0.0f);
    }
    m_Edges.push_back(e);
  }
}

bool CCollisionShape::IntersectSphere(const float from[3], const float to[3], float /*radius*/, float hit[3],
                                      float& distance, float normal[3]) const {
  const float rx = to[0] - from[0], ry = to[1] - from[1], rz = to[2] - from[2];
  const COLLISION_EDGE* nearest = nullptr;
  float nearestSquared = 0.0f, point[3] = {0.0f, 0.0f, 0.0f};
  for (const COLLISION_EDGE& e : m_Edges) {
    const float sx = e.direction.x, sy = e.direction.y;
    const float d = sx * ry - rx * sy;
    if (d == 0.0f) continue;
    const float dx = e.start.x - from[0], dy = e.start.y - from[1];
    const float t = (sx * dy - dx * sy) / d;
    const float u = (dy * rx - dx * ry) / d;
    if (!(t >= 0.0f && t <= 1.0f && u >= 0.0f && u <= 1.0f)) continue;
    const float p[3] = {from[0] + rx * t, from[1] + ry * t, from[2] + rz * t};
    const float ox = p[0] - from[0], oy = p[1] - from[1], oz = p[2] - from[2];
    const float squared = ox * ox + oy * oy + oz * oz;
    if (!nearest || squared < nearestSquared) {
      nearest = &e;
      nearestSquared = squared;
      point[0] = p[0];
      point[1] = p[1];
      point[2] = p[2];
    }
  }
  if (!nearest) return false;
  hit[0] = point[0];
  hit[1] = point[1];
  hit[2] = point[2];
  distance = std::sqrt(nearestSquared);
  normal[0] = nearest->normal.x;
  normal[1] = nearest->normal.y;
  normal[2] = nearest->normal.z;
  return true;
}

void CCollisionShape::BuildBox(const D3DXVECTOR3& centre, float width, float depth, float angle) {
  m_Vertices.clear();
  const float hx = width * 0.5f, hy = depth * 0.5f;
  const D3DXVECTOR3 corners[5] = {{hx, hy, 0}, {-hx, hy, 0}, {-hx, -hy, 0}, {hx, -hy, 0}, {hx, hy, 0}};
  const D3DXMATRIX m = RotationThenTranslation(centre, angle);
  for (const D3DXVECTOR3& c : corners) {
    D3DXVECTOR3 v;
    D3DXVec3TransformCoord(&v, &c, &m);
    m_Vertices.push_back(v);
  }
  ComputeBounds();
}

void CCollisionShape::BuildOctagon(const D3DXVECTOR3& centre, float radius) {
  m_Vertices.clear();
  const float R = radius * 1.5f, h = R * 0.5f;
  const D3DXVECTOR3 points[9] = {{R, 0, 0},  {h, h, 0},   {0, R, 0},  {-h, h, 0}, {-R, 0, 0},
                                 {-h, -h, 0}, {0, -R, 0}, {h, -h, 0}, {R, 0, 0}};
  for (const D3DXVECTOR3& p : points) m_Vertices.push_back(p + centre);
  ComputeBounds();
}

void CCollisionShape::MoveTo(const D3DXVECTOR3& position, float angle) {
  m_BoundsCentre = position;
  const D3DXMATRIX m = RotationThenTranslation(position, angle);
  for (D3DXVECTOR3& v : m_Vertices) {
    const D3DXVECTOR3 local = v;
    D3DXVec3TransformCoord(&v, &local, &m);
  }
  BuildEdges();
}

namespace CollisionShapes {

void BuildBoxShape(CCollisionShape& shape, const D3DXVECTOR3& position, float angle, float radius, bool grown) {
  const float side = 2.0f * (grown ? radius + BOX_MARGIN : radius);
  shape.BuildBox(position, side, side, angle);
}

void BuildGeneratorShape(CCollisionShape& shape, const D3DXVECTOR3& position, float radius, bool grown) {
  shape.BuildOctagon(position, grown ? radius + GENERATOR_MARGIN : radius);
}

void BuildWaveWeaponShape(CCollisionShape& shape, const D3DXVECTOR3& position, float radius, bool grown) {
  shape.BuildOctagon(position, grown ? radius + WAVE_WEAPON_MARGIN : radius);
}

void BuildBarrelShape(CCollisionShape& shape, const D3DXVECTOR3& worldPosition, float radius, bool grown) {
  shape.BuildOctagon(worldPosition, grown ? radius + BARREL_MARGIN : radius);
}

void BuildDoorShape(CCollisionShape& shape, const D3DXVECTOR3& position, float angle, float width, float depth,
                    bool grown) {
  shape.BuildBox(position, width, grown ? depth + DOOR_MARGIN : depth, angle);
}

void BuildWireGrateShape(CCollisionShape& shape, const D3DXVECTOR3& position, float angle, float width,
                         float depth, bool grown) {
  shape.BuildBox(position, width, grown ? depth + WIRE_GRATE_MARGIN : depth, angle);
}

void BuildTargetShape(CCollisionShape& shape, const D3DXVECTOR3& position, float angle, bool grown) {
  shape.BuildBox(position, TARGET_WIDTH, grown ? TARGET_GROWN_DEPTH : TARGET_DEPTH, angle);
}

}  // namespace CollisionShapes
