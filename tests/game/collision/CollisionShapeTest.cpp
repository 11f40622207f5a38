// Collision shapes: the segment test's inclusive ends, parallel and empty
// paths, the nearest crossing, edges and normals, and the built shapes.
#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <tuple>
#include <vector>

#include "game/collision/CollisionShape.h"
#include "game/files/LevelFileReader.h"

namespace {

CCollisionShape Polyline(const std::vector<D3DXVECTOR3>& points) {
  CCollisionShape shape;
  for (const D3DXVECTOR3& p : points) shape.AddVertex(p);
  shape.ComputeBounds();
  return shape;
}

struct Hit {
  bool crossed = false;
  float point[3] = {-7, -7, -7};
  float distance = -7;
  float normal[3] = {-7, -7, -7};
};

Hit Cross(const CCollisionShape& shape, D3DXVECTOR3 from, D3DXVECTOR3 to) {
  Hit h;
  const float f[3] = {from.x, from.y, from.z}, t[3] = {to.x, to.y, to.z};
  h.crossed = shape.IntersectSphere(f, t, 30.0f, h.point, h.distance, h.normal);
  return h;
}

// Within a millionth of the expected point, coordinate by coordinate.
testing::AssertionResult Near(const D3DXVECTOR3& got, const D3DXVECTOR3& want, float tolerance = 1e-6f) {
  if (std::fabs(got.x - want.x) <= tolerance && std::fabs(got.y - want.y) <= tolerance &&
      std::fabs(got.z - want.z) <= tolerance)
    return testing::AssertionSuccess();
  return testing::AssertionFailure() << "(" << got.x << ", " << got.y << ", " << got.z << ") is not (" << want.x
                                     << ", " << want.y << ", " << want.z << ")";
}
testing::AssertionResult Near(const float* got, const D3DXVECTOR3& want) {
  return Near({got[0], got[1], got[2]}, want);
}

// The edge (-5, 0) - (5, 0).
const CCollisionShape kEdge = Polyline({{-5, 0, 0}, {5, 0, 0}});

TEST(CollisionShape, PathAcrossAnEdgeHitsItsMiddleAtTheRightDistance) {
  const Hit h = Cross(kEdge, {0, -10, 0}, {0, 10, 0});
  ASSERT_TRUE(h.crossed);
  EXPECT_TRUE(Near(h.point, {0, 0, 0}));
  EXPECT_FLOAT_EQ(h.distance, 10.0f);
  // Direction (10, 0): y is exactly 0 and x >= 0, so the normal is (0, -1, 0).
  EXPECT_TRUE(Near(h.normal, {0, -1, 0}));
}

TEST(CollisionShape, BothEndsOfPathAndEdgeCount) {
  const struct {
    D3DXVECTOR3 from, to;
    bool crossed;
    float distance, x;
  } rows[] = {{{1, -10, 0}, {1, 0, 0}, true, 10, 1},   // ends on the edge (t = 1)
              {{1, 0, 0}, {1, 10, 0}, true, 0, 1},     // starts on it (t = 0)
              {{-5, -3, 0}, {-5, 3, 0}, true, 3, -5},  // through either end point (u = 0, u = 1)
              {{5, -3, 0}, {5, 3, 0}, true, 3, 5},
              {{5.01f, -3, 0}, {5.01f, 3, 0}, false, 0, 0},  // just past an end
              {{0, -10, 0}, {0, -0.01f, 0}, false, 0, 0}};   // short of the edge
  for (const auto& row : rows) {
    const Hit h = Cross(kEdge, row.from, row.to);
    ASSERT_EQ(h.crossed, row.crossed) << row.from.x << ", " << row.from.y;
    if (!row.crossed) continue;
    EXPECT_FLOAT_EQ(h.distance, row.distance);
    EXPECT_FLOAT_EQ(h.point[0], row.x);
  }
}

TEST(CollisionShape, ParallelAndZeroLengthPathsNeverCrossAndLeaveOutputsAlone) {
  for (const auto& path : std::vector<std::pair<D3DXVECTOR3, D3DXVECTOR3>>{
           {{-10, 1, 0}, {10, 1, 0}},   // parallel beside the edge
           {{-10, 0, 0}, {10, 0, 0}},   // running along it
           {{-2, 0, 0}, {2, 0, 0}},     // inside it
           {{0, 0, 0}, {0, 0, 0}},      // zero length, on the edge
           {{0, 0, 0}, {0, 0, 50}}}) {  // straight up: zero length in the plane
    const Hit h = Cross(kEdge, path.first, path.second);
    EXPECT_FALSE(h.crossed);
    EXPECT_EQ(std::make_tuple(h.point[0], h.distance, h.normal[1]), std::make_tuple(-7.0f, -7.0f, -7.0f));
  }
}

TEST(CollisionShape, HitPointFollowsThePathsHeightAndDistanceIsThreeDimensional) {
  const Hit h = Cross(kEdge, {0, -3, 0}, {0, 1, 40});
  ASSERT_TRUE(h.crossed);
  EXPECT_FLOAT_EQ(h.point[2], 30.0f);  // t = 0.75
  EXPECT_FLOAT_EQ(h.distance, std::sqrt(3.0f * 3.0f + 30.0f * 30.0f));
}

TEST(CollisionShape, NearestOfSeveralCrossingsWinsAndTheEarlierEdgeOnATie) {
  // Two walls across the path, the farther one first in the list.
  CCollisionShape two = Polyline({{-5, 8, 0}, {5, 8, 0}, {5, 3, 0}, {-5, 3, 0}});
  Hit h = Cross(two, {0, 0, 0}, {0, 20, 0});
  ASSERT_TRUE(h.crossed);
  EXPECT_FLOAT_EQ(h.point[1], 3.0f);
  EXPECT_FLOAT_EQ(h.normal[1], 1.0f);  // direction (-10, 0): x < 0 gives (0, 1, 0)
  // A corner crossed exactly: both edges meet at (0, 10); the first one's
  // normal is reported.
  CCollisionShape corner = Polyline({{-10, 0, 0}, {0, 10, 0}, {10, 0, 0}});
  h = Cross(corner, {0, 0, 0}, {0, 20, 0});
  ASSERT_TRUE(h.crossed);
  EXPECT_NEAR(h.point[1], 10.0f, 1e-5f);
  EXPECT_TRUE(Near(h.normal, corner.GetEdges()[0].normal));
  EXPECT_NE(corner.GetEdges()[0].normal.x, corner.GetEdges()[1].normal.x);
}

TEST(CollisionShape, EdgesAndNormalsOfAClosedSquare) {
  // Counter-clockwise: the x-parallel edges get outward normals, the others
  // inward ones (the normal's line is what users rely on).
  CCollisionShape square = Polyline({{1, 1, 0}, {-1, 1, 0}, {-1, -1, 0}, {1, -1, 0}, {1, 1, 0}});
  const auto& e = square.GetEdges();
  ASSERT_EQ(e.size(), 4u);
  const D3DXVECTOR3 expected[4] = {{0, 1, 0}, {1, 0, 0}, {0, -1, 0}, {-1, 0, 0}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(Near(e[i].normal, expected[i])) << i;
    EXPECT_EQ(e[i].direction.x, e[i].end.x - e[i].start.x);
  }
  // A slanted edge: its direction turned a quarter turn counter-clockwise.
  EXPECT_TRUE(Near(Polyline({{0, 0, 0}, {3, 4, 0}}).GetEdges()[0].normal, {-0.8f, 0.6f, 0}));
}

TEST(CollisionShape, SingleVertexAndEmptyShapesHaveNoEdgesAndZeroBounds) {
  CCollisionShape single = Polyline({{5, 6, 7}});
  EXPECT_TRUE(single.GetEdges().empty());
  EXPECT_FALSE(Cross(single, {5, 0, 0}, {5, 10, 0}).crossed);
  CCollisionShape empty = Polyline({});
  EXPECT_TRUE(empty.GetEdges().empty());
  EXPECT_EQ(empty.GetBoundsRadius(), 0.0f);
  EXPECT_TRUE(Near(empty.GetBoundsCentre(), {0, 0, 0}, 0));
  // A shape record with a vertex count of -1 or 0 reads as an empty shape
  // and the reading goes on with the next record.
  const uint8_t bytes[] = {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0x80, 0x3F,
                           0,    0,    0,    0x40, 0, 0, 0, 0};
  CLevelFileReader reader(bytes, sizeof bytes);
  CCollisionShape a = Polyline({{1, 1, 0}, {2, 2, 0}}), b, c;
  ASSERT_TRUE(a.Load(reader));
  EXPECT_TRUE(a.GetVertices().empty());
  EXPECT_TRUE(a.GetEdges().empty());
  EXPECT_EQ(a.GetBoundsRadius(), 0.0f);
  ASSERT_TRUE(b.Load(reader));
  EXPECT_TRUE(b.GetVertices().empty());
  ASSERT_TRUE(c.Load(reader));
  ASSERT_EQ(c.GetVertices().size(), 1u);
  EXPECT_TRUE(Near(c.GetVertices()[0], {1, 2, 0}, 0));
  EXPECT_TRUE(reader.Finished());
  // Past the end: false, the shape keeps what it had.
  EXPECT_FALSE(c.Load(reader));
  EXPECT_EQ(c.GetVertices().size(), 1u);
}

TEST(CollisionShape, BoundsOfAnOffCentreOutline) {
  CCollisionShape s = Polyline({{10, 0, 0}, {30, 0, 0}, {30, 40, 0}, {12, 30, 0}});
  EXPECT_TRUE(Near(s.GetBoundsCentre(), {20, 20, 0}));
  EXPECT_FLOAT_EQ(s.GetBoundsRadius(), std::sqrt(500.0f));
}

TEST(CollisionShape, BoxCornersEdgesAndBounds) {
  CCollisionShape box;
  const D3DXVECTOR3 c(200, -100, 0);
  box.BuildBox(c, 100, 50, 0);
  const auto& v = box.GetVertices();
  ASSERT_EQ(v.size(), 5u);
  const D3DXVECTOR3 corners[5] = {{250, -75, 0}, {150, -75, 0}, {150, -125, 0}, {250, -125, 0}, {250, -75, 0}};
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(Near(v[i], corners[i], 1e-4f)) << i;
  EXPECT_EQ(box.GetEdges().size(), 4u);
  EXPECT_TRUE(Near(box.GetBoundsCentre(), {200, -100, 0}, 1e-4f));
  EXPECT_NEAR(box.GetBoundsRadius(), 55.9017f, 1e-4f);
  // Turned a quarter turn: the width now lies along y.
  box.BuildBox(D3DXVECTOR3(0, 0, 0), 100, 50, D3DX_PI / 2);
  EXPECT_TRUE(Near(box.GetVertices()[0], {-25, 50, 0}, 1e-4f));
}

TEST(CollisionShape, OctagonIsIrregularAtOneAndAHalfRadii) {
  CCollisionShape o;
  o.BuildOctagon(D3DXVECTOR3(1000, 0, 0), 100);
  const auto& v = o.GetVertices();
  ASSERT_EQ(v.size(), 9u);
  const float expected[9][2] = {{150, 0}, {75, 75}, {0, 150}, {-75, 75}, {-150, 0},
                                {-75, -75}, {0, -150}, {75, -75}, {150, 0}};
  for (int i = 0; i < 9; ++i) EXPECT_TRUE(Near(v[i], {1000 + expected[i][0], expected[i][1], 0}, 1e-4f)) << i;
  EXPECT_EQ(o.GetEdges().size(), 8u);
  EXPECT_FLOAT_EQ(o.GetBoundsRadius(), 150.0f);
}

TEST(CollisionShape, MoveToTurnsThenMovesAndKeepsTheRadius) {
  CCollisionShape s = Polyline({{10, 0, 0}, {-10, 0, 0}});
  const float radius = s.GetBoundsRadius();
  s.MoveTo(D3DXVECTOR3(100, 0, 0), D3DX_PI / 2);
  EXPECT_TRUE(Near(s.GetVertices()[0], {100, 10, 0}, 1e-4f));
  EXPECT_TRUE(Near(s.GetVertices()[1], {100, -10, 0}, 1e-4f));
  EXPECT_EQ(s.GetBoundsCentre().x, 100.0f);
  EXPECT_EQ(s.GetBoundsRadius(), radius);
  // The edges follow the moved vertices.
  ASSERT_EQ(s.GetEdges().size(), 1u);
  EXPECT_NEAR(s.GetEdges()[0].start.y, 10.0f, 1e-4f);
  EXPECT_TRUE(Cross(s, {50, 0, 0}, {150, 0, 0}).crossed);
}

TEST(CollisionShape, ObjectShapesUseTheirMargins) {
  using namespace CollisionShapes;
  const D3DXVECTOR3 at(0, 0, 0);
  CCollisionShape s;
  const auto halfX = [&s] { return s.GetVertices()[0].x; };
  const auto halfY = [&s] { return s.GetVertices()[0].y; };
  BuildBoxShape(s, at, 0, 90, false);
  EXPECT_FLOAT_EQ(halfX(), 90.0f);
  BuildBoxShape(s, at, 0, 90, true);
  EXPECT_FLOAT_EQ(halfX(), 150.0f);
  EXPECT_FLOAT_EQ(halfY(), 150.0f);
  BuildGeneratorShape(s, at, 110, true);
  EXPECT_FLOAT_EQ(halfX(), 1.5f * 140.0f);
  BuildWaveWeaponShape(s, at, 110, true);
  EXPECT_FLOAT_EQ(halfX(), 1.5f * 170.0f);
  BuildBarrelShape(s, at, 30, false);
  EXPECT_FLOAT_EQ(halfX(), 45.0f);
  BuildBarrelShape(s, at, 30, true);
  EXPECT_FLOAT_EQ(halfX(), 135.0f);
  BuildDoorShape(s, at, 0, 400, 40, true);
  EXPECT_FLOAT_EQ(halfX(), 200.0f);
  EXPECT_FLOAT_EQ(halfY(), 80.0f);
  BuildWireGrateShape(s, at, 0, 300, 30, true);
  EXPECT_FLOAT_EQ(halfY(), 100.0f);
  BuildTargetShape(s, at, 0, false);
  EXPECT_FLOAT_EQ(halfX(), 50.0f);
  EXPECT_FLOAT_EQ(halfY(), 25.0f);
  BuildTargetShape(s, at, 0, true);
  EXPECT_FLOAT_EQ(halfY(), 85.0f);
}

}  // namespace
