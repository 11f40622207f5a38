#pragma once
// An open or closed polyline of walls, tested in the ground plane: a mover
// is reduced to the path of its centre, and the shape answers where that
// path first crosses one of its edges and with which edge normal. A closed
// outline repeats its first vertex at the end.
#include <vector>

#include "game/files/LevelFileRecords.h"
#include "platform/Math.h"

class CLevelFileReader;

struct COLLISION_EDGE {
  D3DXVECTOR3 start;
  D3DXVECTOR3 end;
  D3DXVECTOR3 direction;  // end - start
  D3DXVECTOR3 normal;     // unit, z = 0
};

class CCollisionShape {
 public:
  // No vertices, no edges, zero bounds.
  CCollisionShape() = default;
  explicit CCollisionShape(const SHAPE_RECORD& record) { Load(record); }

  // Replaces the vertices by the record's and rebuilds bounds and edges. A
  // record without vertices gives an empty shape.
  void Load(const SHAPE_RECORD& record);
  // Reads one shape record at the reader's position and loads it; false,
  // with the shape unchanged, when the record cannot be read.
  bool Load(CLevelFileReader& reader);

  void AddVertex(const D3DXVECTOR3& vertex) { m_Vertices.push_back(vertex); }
  void ClearVertices() { m_Vertices.clear(); }

  // Bounds from the vertices, then the edges. Without vertices the bounds
  // are zero and there are no edges.
  void ComputeBounds();
  // One edge per consecutive vertex pair.
  void BuildEdges();

  // Nearest crossing of the path from -> to with an edge: hit point (its z
  // follows the path), distance from `from` and the edge's normal. False,
  // with the outputs untouched, when no edge is crossed. The radius does not
  // enter the test: the level's shapes are already grown by the movers' size.
  bool IntersectSphere(const float from[3], const float to[3], float radius, float hit[3], float& distance,
                       float normal[3]) const;

  // A width x depth rectangle turned by angle about z and centred on centre.
  void BuildBox(const D3DXVECTOR3& centre, float width, float depth, float angle);
  // An octagon about centre: R = 1.5 radius on the axes, (R/2, R/2) on the
  // diagonals.
  void BuildOctagon(const D3DXVECTOR3& centre, float radius);
  // Turns the vertices by angle about z and moves them by position (for
  // shapes stored in an object's own coordinates); the bounds centre becomes
  // position and the bounds radius stays.
  void MoveTo(const D3DXVECTOR3& position, float angle);

  const D3DXVECTOR3& GetBoundsCentre() const { return m_BoundsCentre; }
  float GetBoundsRadius() const { return m_BoundsRadius; }
  const std::vector<D3DXVECTOR3>& GetVertices() const { return m_Vertices; }
  const std::vector<COLLISION_EDGE>& GetEdges() const { return m_Edges; }

 private:
  D3DXVECTOR3 m_BoundsCentre;
  float m_BoundsRadius = 0.0f;
  std::vector<D3DXVECTOR3> m_Vertices;
  std::vector<COLLISION_EDGE> m_Edges;
};

// The two shapes each level object builds for itself: box 0 (grown false)
// for collision class 0 and box 1 (grown true) for class 1, the grown one
// larger by the object's character margin.
namespace CollisionShapes {
constexpr float BOX_MARGIN = 60.0f;
constexpr float GENERATOR_MARGIN = 30.0f;
constexpr float WAVE_WEAPON_MARGIN = 60.0f;
constexpr float BARREL_MARGIN = 60.0f;
constexpr float DOOR_MARGIN = 120.0f;
constexpr float WIRE_GRATE_MARGIN = 170.0f;
constexpr float TARGET_WIDTH = 100.0f;
constexpr float TARGET_DEPTH = 50.0f;
constexpr float TARGET_GROWN_DEPTH = 170.0f;

// Box: a square of side 2 r (grown: 2 (r + 60)) at position, turned by angle.
void BuildBoxShape(CCollisionShape& shape, const D3DXVECTOR3& position, float angle, float radius, bool grown);
// Energy generator: an octagon of radius r (grown: r + 30).
void BuildGeneratorShape(CCollisionShape& shape, const D3DXVECTOR3& position, float radius, bool grown);
// Wave-weapon station: an octagon of radius r (grown: r + 60).
void BuildWaveWeaponShape(CCollisionShape& shape, const D3DXVECTOR3& position, float radius, bool grown);
// Barrel: an octagon of radius r (grown: r + 60) at its world position.
void BuildBarrelShape(CCollisionShape& shape, const D3DXVECTOR3& worldPosition, float radius, bool grown);
// Breakable and open/close doors: width x depth (grown: depth + 120).
void BuildDoorShape(CCollisionShape& shape, const D3DXVECTOR3& position, float angle, float width, float depth,
                    bool grown);
// Wire grate: width x depth (grown: depth + 170).
void BuildWireGrateShape(CCollisionShape& shape, const D3DXVECTOR3& position, float angle, float width,
                         float depth, bool grown);
// Pop-up target: 100 x 50 (grown: 100 x 170).
void BuildTargetShape(CCollisionShape& shape, const D3DXVECTOR3& position, float angle, bool grown);
}  // namespace CollisionShapes
