#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "engine/util/Utilities.h"
#include "support/TempDir.h"

using namespace Nembra;

namespace {
std::vector<int> Quad(const int* q) { return std::vector<int>(q, q + 4); }
std::vector<long> Sides(const RECT& r) { return {long(r.left), long(r.top), long(r.right), long(r.bottom)}; }
}  // namespace

TEST(Rectangles, RightAndBottomEdgesAreOutside) {
  EXPECT_EQ(Sides(MakeRect(3, 4, 10, 20)), (std::vector<long>{3, 4, 13, 24}));
  EXPECT_FALSE(IsPointInRect(10, 10, 0, 0, 10, 20));
  EXPECT_FALSE(IsPointInRect(5, 20, 0, 0, 10, 20));
  EXPECT_TRUE(IsPointInRect(9, 19, 0, 0, 10, 20));
  EXPECT_TRUE(IsPointInRect(0, 0, 0, 0, 10, 20));
  EXPECT_FALSE(IsPointInRect(-1, 0, 0, 0, 10, 20));
  // A rectangle from a script past the int range stops at its ends.
  RECT r = MakeRect(INT32_MAX - 5, INT32_MIN + 1, 10, -10);
  EXPECT_EQ(r.right, INT32_MAX);
  EXPECT_EQ(r.bottom, INT32_MIN);
  EXPECT_EQ(MakeRect(-7, 0, INT32_MAX, 0).right, INT32_MAX - 7);
}

TEST(Angles, PolarAndSphericalConversions) {
  float x = 0, y = 0, radius = -1, angle = -1;
  CartesianToPolar(&x, &y, &radius, &angle);
  EXPECT_EQ(radius, 0.0f);
  EXPECT_EQ(angle, 0.0f);
  y = 1;
  CartesianToPolar(&x, &y, &radius, &angle);
  EXPECT_FLOAT_EQ(angle, 1.5707964f);
  EXPECT_FLOAT_EQ(radius, 1.0f);
  x = -3;
  y = -4;
  CartesianToPolar(&x, &y, &radius, &angle);
  EXPECT_FLOAT_EQ(radius, 5.0f);
  float bx = 0, by = 0;
  PolarToCartesian(&radius, &angle, &bx, &by);
  EXPECT_NEAR(bx, -3.0f, 1e-5f);
  EXPECT_NEAR(by, -4.0f, 1e-5f);
  float length = 0, azimuth = -1, elevation = 42.0f;
  D3DXVECTOR3 flat(3, 4, 0);
  CartesianToSpherical(&flat, &length, &azimuth, &elevation);
  EXPECT_FLOAT_EQ(length, 5.0f);
  EXPECT_FLOAT_EQ(azimuth, std::atan2(4.0f, 3.0f));
  EXPECT_EQ(elevation, 42.0f) << "elevation is left alone when z <= 0";
  D3DXVECTOR3 up(0, 0, 2);
  CartesianToSpherical(&up, &length, &azimuth, &elevation);
  EXPECT_EQ(azimuth, 0.0f);
  EXPECT_EQ(elevation, 0.0f);
  D3DXVECTOR3 slope(0, -1, 1);
  CartesianToSpherical(&slope, &length, &azimuth, &elevation);
  EXPECT_FLOAT_EQ(elevation, 1.5707964f - std::atan(1.0f));
}

TEST(SphereSweep, ContactDistanceAndMovement) {
  const D3DXVECTOR3 start(0, 0, 0), end(10, 0, 0);
  float distance = -1;
  D3DXVECTOR3 result(9, 9, 9);
  ASSERT_TRUE(SweepSphereAgainstSphere(start, end, 1.0f, D3DXVECTOR3(5, 0, 0), 1.0f, &distance, &result));
  EXPECT_FLOAT_EQ(distance, 3.0f);
  EXPECT_EQ(result, D3DXVECTOR3(3, 0, 0));
  // Passes beside.
  EXPECT_FALSE(SweepSphereAgainstSphere(start, end, 1.0f, D3DXVECTOR3(5, 3, 0), 1.0f, &distance, &result));
  // Behind the mover.
  EXPECT_FALSE(SweepSphereAgainstSphere(start, end, 1.0f, D3DXVECTOR3(-5, 0, 0), 1.0f, &distance, &result));
  // Out of reach of this move.
  EXPECT_FALSE(SweepSphereAgainstSphere(start, end, 1.0f, D3DXVECTOR3(20, 0, 0), 1.0f, &distance, &result));
  // Touching only past the end of the move.
  EXPECT_FALSE(SweepSphereAgainstSphere(start, D3DXVECTOR3(2.5f, 0, 0), 1.0f, D3DXVECTOR3(5, 0, 0), 1.0f,
                                        &distance, &result));
  // Already overlapping away from the origin: no movement, so a caller that
  // adds the result to its position stays where it is.
  const D3DXVECTOR3 away(100, 50, 0);
  ASSERT_TRUE(SweepSphereAgainstSphere(away, away + D3DXVECTOR3(10, 0, 0), 1.0f, D3DXVECTOR3(101, 50, 0), 1.0f,
                                       &distance, &result));
  EXPECT_EQ(distance, 0.0f);
  EXPECT_EQ(result, D3DXVECTOR3(0, 0, 0));
  // A mover that does not move and does not overlap never hits.
  EXPECT_FALSE(SweepSphereAgainstSphere(start, start, 1.0f, D3DXVECTOR3(5, 0, 0), 1.0f, &distance, &result));
}

TEST(SphereSweep, TouchingExactlyAtTheEndOfTheMoveIsAHit) {
  float distance = -1;
  D3DXVECTOR3 result(9, 9, 9);
  // Head on: the gap (5 - 2) is exactly the move's length.
  ASSERT_TRUE(SweepSphereAgainstSphere(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(3, 0, 0), 1.0f, D3DXVECTOR3(5, 0, 0),
                                       1.0f, &distance, &result));
  EXPECT_EQ(distance, 3.0f);
  EXPECT_EQ(result, D3DXVECTOR3(3, 0, 0));
  // Glancing: the centres start sqrt(73) apart, more than the move plus the
  // radii, but the contact point lies exactly at the move's end, 4 along.
  distance = -1;
  ASSERT_TRUE(SweepSphereAgainstSphere(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(4, 0, 0), 2.0f, D3DXVECTOR3(8, 3, 0),
                                       3.0f, &distance, &result));
  EXPECT_EQ(distance, 4.0f);
  EXPECT_EQ(result, D3DXVECTOR3(4, 0, 0));
  // A hair shorter, and neither touches.
  EXPECT_FALSE(SweepSphereAgainstSphere(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(2.999f, 0, 0), 1.0f,
                                        D3DXVECTOR3(5, 0, 0), 1.0f, &distance, &result));
  EXPECT_FALSE(SweepSphereAgainstSphere(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(3.999f, 0, 0), 2.0f,
                                        D3DXVECTOR3(8, 3, 0), 3.0f, &distance, &result));
}

TEST(ConvexPolygon, InsideOutsideAndOnEdge) {
  const std::vector<D3DXVECTOR3> triangle = {{0, 0, 7}, {10, 0, 7}, {0, 10, 7}};
  EXPECT_TRUE(IsPointInConvexPolygon(triangle, 1, 1));
  EXPECT_FALSE(IsPointInConvexPolygon(triangle, 6, 6));
  EXPECT_TRUE(IsPointInConvexPolygon(triangle, 5, 0));
  EXPECT_TRUE(IsPointInConvexPolygon(triangle, 5, 5)) << "on the closing diagonal";
  EXPECT_FALSE(IsPointInConvexPolygon(triangle, -1, 1));
  // The other winding works the same way.
  const std::vector<D3DXVECTOR3> reversed = {{0, 10, 0}, {10, 0, 0}, {0, 0, 0}};
  EXPECT_TRUE(IsPointInConvexPolygon(reversed, 1, 1));
  EXPECT_FALSE(IsPointInConvexPolygon(reversed, 6, 6));
  EXPECT_TRUE(IsPointInConvexPolygon({}, 123, 456));
}

TEST(FileNames, LastComponentAndBaseName) {
  EXPECT_EQ(GetFileName("Data\\Meshes\\Ene3.X"), "Ene3.X");
  EXPECT_EQ(GetFileName("Ene3.X"), "Ene3.X");
  EXPECT_EQ(GetFileName("Data\\Meshes\\"), "");
  EXPECT_EQ(GetBaseName("Data\\Meshes\\level.part.X"), "level.part");
  EXPECT_EQ(GetBaseName("Data\\Meshes.d\\README"), "README");
  testsupport::TempDir dir;
  dir.Write("Scripts/Init.lua", "x");
  EXPECT_TRUE(FileExists(dir.Path() + "\\SCRIPTS\\init.LUA"));
  EXPECT_FALSE(FileExists(dir.Path() + "\\Scripts\\Missing.lua"));
  EXPECT_TRUE(RemoveFile(dir.Path() + "\\scripts\\INIT.lua"));
  EXPECT_FALSE(FileExists(dir.Path() + "\\Scripts\\Init.lua"));
  EXPECT_FALSE(RemoveFile(dir.Path() + "\\Scripts\\Init.lua"));
}

TEST(StringConversion, IntegersWithAtoiGrammarAndNoOverflow) {
  const std::pair<const char*, int> rows[] = {{"  -42abc", -42}, {"+7", 7}, {"abc", 0}, {"", 0},
                                              {"99999999999999999999", INT_MAX}, {"-99999999999999999999", INT_MIN},
                                              {"-2147483648", INT_MIN}};
  for (const auto& [text, value] : rows) EXPECT_EQ(StringToInt(text), value) << text;
  EXPECT_EQ(WStringToInt(L" 123 "), 123);
  EXPECT_EQ(IntToString(-2147483647 - 1), "-2147483648");
  EXPECT_EQ(IntToWString(905), L"905");
}

TEST(StringConversion, UpperCaseIsAsciiOnly) {
  EXPECT_EQ(ToUpper("Ene3CompletoRojo.X"), "ENE3COMPLETOROJO.X");
  // Bytes of UTF-8 text pass unchanged (no locale, no sign trouble).
  EXPECT_EQ(ToUpper("ma\xC3\xB1""ana\xFF"), "MA\xC3\xB1""ANA\xFF");
  EXPECT_EQ(ToUpperWide(L"nivel \u00f1 z"), L"NIVEL \u00f1 Z");
}

TEST(StringConversion, QuadsAndPointsFromFields) {
  int quad[4] = {9, 9, 9, 9};
  // Missing fields read 0, extra ones are ignored.
  const std::pair<const char*, std::vector<int>> rows[] = {
      {"1,2,3,4", {1, 2, 3, 4}}, {"10,-20", {10, -20, 0, 0}}, {"1,2,3,4,5,6", {1, 2, 3, 4}}, {"", {0, 0, 0, 0}}};
  for (const auto& [text, want] : rows) {
    StringToIntQuad(text, quad);
    EXPECT_EQ(Quad(quad), want) << text;
  }
  WStringToIntQuad(L"5, 6 ,x,8", quad);
  EXPECT_EQ(Quad(quad), (std::vector<int>{5, 6, 0, 8}));
  D3DXVECTOR3 point(1, 1, 1);
  StringToPoint("12,-7", &point);
  EXPECT_EQ(point, D3DXVECTOR3(12, -7, 0));
  StringToPoint("12", &point);
  EXPECT_EQ(point, D3DXVECTOR3(12, 0, 0));
  WStringToPoint(L"3,4,5", &point);
  EXPECT_EQ(point, D3DXVECTOR3(3, 4, 0));
}
