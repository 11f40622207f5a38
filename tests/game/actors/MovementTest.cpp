#include <gtest/gtest.h>

#include <cmath>
#include <list>

#include "engine/app/Application.h"
#include "game/actors/Movement.h"

namespace {

// Movement runs on the engine's frame time; each test sets it and puts the
// old value back.
class Movement : public ::testing::Test {
 protected:
  void SetUp() override {
    m_Saved = Nembra::g_FrameTime;
    Nembra::g_FrameTime = 0.02f;
  }
  void TearDown() override { Nembra::g_FrameTime = m_Saved; }

 private:
  float m_Saved = 0.0f;
};

// A moving entity placed at once (its world matrix refreshed).
class CTestMover : public CMovingEntity {
 public:
  CTestMover(float x, float y, float radius) {
    SetPosition(x, y, 0.0f);
    SetRadius(radius);
    UpdateWorldMatrix();
  }
  // Kinds may report a scaled speed; the step must not use it.
  float GetSpeed() const override { return 2.0f * m_Speed; }
  float Tuning() const { return m_Tuning; }
};

void ExpectVector(const D3DXVECTOR3& v, float x, float y, float z, float tolerance = 1e-5f) {
  EXPECT_NEAR(v.x, x, tolerance);
  EXPECT_NEAR(v.y, y, tolerance);
  EXPECT_NEAR(v.z, z, tolerance);
}

}  // namespace

TEST_F(Movement, ConstructionValues) {
  CMovingEntity e;
  EXPECT_FALSE(e.IsMoving());
  EXPECT_EQ(e.GetSpeed(), 0.0f);
  EXPECT_EQ(e.GetMaxSpeed(), 100.0f);
  EXPECT_EQ(e.GetDirection(), D3DXVECTOR3(1, 0, 0));
  EXPECT_EQ(e.GetHeading(), 0.0f);
  EXPECT_EQ(e.GetSide(), D3DXVECTOR3(0, 1, 0));  // until the first SetDirection
  EXPECT_FLOAT_EQ(CTestMover(0, 0, 1).Tuning(), 0.2f);
  EXPECT_TRUE(e.IsActive());
}

TEST_F(Movement, StepMovesBySpeedTimesFrameTimeOnlyWhileMoving) {
  CTestMover e(0.0f, 0.0f, 10.0f);
  e.SetSpeed(550.0f);
  e.SetDirection(D3DXVECTOR3(0.0f, 1.0f, 0.0f));

  // Moving flag clear: the world matrix is refreshed, nothing moves, and the
  // change flags are left as they were.
  e.SetPosition(5.0f, 0.0f, 0.0f);
  e.Step();
  EXPECT_EQ(e.GetPosition(), D3DXVECTOR3(5.0f, 0.0f, 0.0f));
  EXPECT_EQ(e.WorldPosition(), D3DXVECTOR3(5.0f, 0.0f, 0.0f));
  EXPECT_TRUE(e.IsTranslationChanged());
  e.ClearChangeFlags();
  e.Step();
  EXPECT_FALSE(e.IsTranslationChanged());

  e.SetMoving(true);
  for (int i = 1; i <= 3; ++i) {
    e.Step();
    ExpectVector(e.GetPosition(), 5.0f, 11.0f * i, 0.0f, 1e-4f);  // the speed field, not GetSpeed (1100)
    EXPECT_TRUE(e.IsTranslationChanged());
    // The world matrix follows at the next refresh, one step behind.
    ExpectVector(e.WorldPosition(), 5.0f, 11.0f * (i - 1), 0.0f, 1e-4f);
  }
}

TEST_F(Movement, SetDirectionNormalisesAndKeepsHeadingAndSide) {
  CTestMover e(7.0f, 8.0f, 10.0f);
  e.SetSpeed(30.0f);
  e.SetDirection(D3DXVECTOR3(0.0f, 3.0f, 0.0f));
  ExpectVector(e.GetDirection(), 0.0f, 1.0f, 0.0f);
  EXPECT_FLOAT_EQ(e.GetHeading(), D3DX_PI / 2.0f);
  ExpectVector(e.GetSide(), 1.0f, 0.0f, 0.0f);
  EXPECT_EQ(e.GetSpeed(), 60.0f);
  EXPECT_EQ(e.GetPosition(), D3DXVECTOR3(7.0f, 8.0f, 0.0f));

  e.SetDirection(D3DXVECTOR3(-2.0f, -2.0f, 0.0f));
  EXPECT_FLOAT_EQ(e.GetHeading(), -3.0f * D3DX_PI / 4.0f);
  const float h = std::sqrt(0.5f);
  ExpectVector(e.GetSide(), -h, h, 0.0f);  // to the right of the heading

  // A zero vector has no direction: all three stay.
  const D3DXVECTOR3 direction = e.GetDirection(), side = e.GetSide();
  const float heading = e.GetHeading();
  e.SetDirection(D3DXVECTOR3(0.0f, 0.0f, 0.0f));
  EXPECT_EQ(e.GetDirection(), direction);
  EXPECT_EQ(e.GetSide(), side);
  EXPECT_EQ(e.GetHeading(), heading);
}

TEST_F(Movement, SteeringForceTurnsTheDirectionOnly) {
  CTestMover e(0.0f, 0.0f, 10.0f);
  e.SetSpeed(100.0f);
  e.ApplySteeringForce(D3DXVECTOR3(0.0f, 0.0f, 0.0f));
  EXPECT_EQ(e.GetDirection(), D3DXVECTOR3(1, 0, 0));

  // velocity (100, 0, 0) + 5 x (0, 100, 0) x 0.02 = (100, 10, 0).
  e.ApplySteeringForce(D3DXVECTOR3(0.0f, 100.0f, 0.0f));
  const float n = std::sqrt(100.0f * 100.0f + 10.0f * 10.0f);
  ExpectVector(e.GetDirection(), 100.0f / n, 10.0f / n, 0.0f);
  EXPECT_FLOAT_EQ(e.GetHeading(), std::atan2(10.0f, 100.0f));
  EXPECT_EQ(e.GetSpeed(), 200.0f);

  // Standing still, the direction becomes the force's.
  CTestMover still(0.0f, 0.0f, 10.0f);
  still.ApplySteeringForce(D3DXVECTOR3(0.0f, -0.5f, 0.0f));
  ExpectVector(still.GetDirection(), 0.0f, -1.0f, 0.0f);
  // Standing still without force: a zero velocity leaves the direction.
  still.ApplySteeringForce(D3DXVECTOR3(0.0f, 0.0f, 0.0f));
  ExpectVector(still.GetDirection(), 0.0f, -1.0f, 0.0f);
}

TEST_F(Movement, SeekPursueAndPrediction) {
  CTestMover e(0.0f, 0.0f, 10.0f);
  D3DXVECTOR3 out(9, 9, 9);
  EXPECT_EQ(&e.Seek(out, D3DXVECTOR3(3.0f, 4.0f, 0.0f)), &out);
  ExpectVector(out, 60.0f, 80.0f, 0.0f, 1e-4f);

  // The current velocity is taken off the desired one.
  e.SetSpeed(10.0f);
  e.SetMaxSpeed(50.0f);
  e.Seek(out, D3DXVECTOR3(10.0f, 10.0f, 0.0f));
  ExpectVector(out, 0.0f, 50.0f, 0.0f, 1e-4f);
  // Already heading there at that pace: no force (not a NaN).
  e.Seek(out, D3DXVECTOR3(10.0f, 0.0f, 0.0f));
  EXPECT_EQ(out, D3DXVECTOR3(0, 0, 0));

  CTestMover other(100.0f, 0.0f, 10.0f);
  other.SetSpeed(50.0f);
  other.SetDirection(D3DXVECTOR3(0.0f, 1.0f, 0.0f));
  other.PredictPosition(out, 2.0f);
  ExpectVector(out, 100.0f, 100.0f, 0.0f);
  e.SetSpeed(0.0f);
  e.Pursue(out, &other, 2.0f);
  const float h = 50.0f * std::sqrt(0.5f);
  ExpectVector(out, h, h, 0.0f, 1e-4f);
  e.SeekNode(out, &other);
  ExpectVector(out, 50.0f, 0.0f, 0.0f, 1e-4f);
}

TEST_F(Movement, LocalFrameFollowsDirectionAndSide) {
  CTestMover e(10.0f, 20.0f, 10.0f);
  e.SetDirection(D3DXVECTOR3(0.0f, 1.0f, 0.0f));  // side (1, 0, 0)
  D3DXVECTOR3 local;
  e.ToLocal(local, D3DXVECTOR3(13.0f, 25.0f, 99.0f));
  ExpectVector(local, 5.0f, 3.0f, 0.0f);
  D3DXVECTOR3 world;
  e.LocalToWorldVector(world, D3DXVECTOR3(5.0f, 3.0f, 42.0f));
  ExpectVector(world, 3.0f, 5.0f, 0.0f);  // no translation, local z ignored
}

TEST_F(Movement, AvoidObstaclesPushesAwayFromTheNearestInTheCorridor) {
  // Radius 10, speed 100 along +x: a look-ahead of 1 s gives a box 110 long
  // and a corridor 10 wide on each side. Side vector (0, -1, 0).
  CTestMover e(0.0f, 0.0f, 10.0f);
  e.SetSpeed(100.0f);
  e.SetDirection(D3DXVECTOR3(1.0f, 0.0f, 0.0f));
  ExpectVector(e.GetSide(), 0.0f, -1.0f, 0.0f);
  auto avoid = [&](std::list<const float*> obstacles) {
    D3DXVECTOR3 out(7, 7, 7);
    e.AvoidObstacles(out, 1.0f, obstacles);
    return out;
  };

  const float ahead[4] = {50.0f, 0.0f, 0.0f, 5.0f};        // dead ahead
  const float leftOf[4] = {50.0f, 14.9f, 0.0f, 5.0f};      // l.y = -14.9 (left of the heading)
  const float rightOf[4] = {50.0f, -14.9f, 0.0f, 5.0f};    // l.y = +14.9
  const float touching[4] = {50.0f, 15.0f, 0.0f, 5.0f};    // |l.y| = r + R0
  const float behind[4] = {-5.0f, 0.0f, 0.0f, 5.0f};       // l.x + r = 0
  const float atEnd[4] = {115.0f, 0.0f, 0.0f, 5.0f};       // near edge exactly at the box's end
  const float pastEnd[4] = {115.5f, 0.0f, 0.0f, 5.0f};
  const float overlapping[4] = {5.0f, 0.0f, 0.0f, 5.0f};   // intercept below 0
  const float nearer[4] = {30.0f, -3.0f, 0.0f, 5.0f};

  ExpectVector(avoid({}), 0.0f, 0.0f, 0.0f);
  ExpectVector(avoid({ahead}), 0.0f, 1.0f, 0.0f);    // -side
  ExpectVector(avoid({rightOf}), 0.0f, 1.0f, 0.0f);  // -side, away from it
  ExpectVector(avoid({leftOf}), 0.0f, -1.0f, 0.0f);  // +side
  ExpectVector(avoid({touching}), 0.0f, 0.0f, 0.0f);
  ExpectVector(avoid({behind}), 0.0f, 0.0f, 0.0f);
  ExpectVector(avoid({atEnd}), 0.0f, 1.0f, 0.0f);
  ExpectVector(avoid({pastEnd}), 0.0f, 0.0f, 0.0f);
  ExpectVector(avoid({overlapping}), 0.0f, 0.0f, 0.0f);
  // The nearest intercept wins, whatever the list order: (30, -3) lies on
  // the right (l.y = 3), so the push goes to the left.
  ExpectVector(avoid({leftOf, nearer, touching}), 0.0f, 1.0f, 0.0f);
  ExpectVector(avoid({nearer, leftOf}), 0.0f, 1.0f, 0.0f);
  // Equal intercepts: the first in the list wins.
  ExpectVector(avoid({leftOf, rightOf}), 0.0f, -1.0f, 0.0f);
  ExpectVector(avoid({rightOf, leftOf}), 0.0f, 1.0f, 0.0f);
}

TEST_F(Movement, SeparationSumsUnitAwayVectorsFromCloseNeighbours) {
  CTestMover self(0.0f, 0.0f, 10.0f);
  CTestMover inside(-30.0f, 0.0f, 20.0f);   // limit 80
  CTestMover atLimit(0.0f, 80.0f, 20.0f);   // exactly at the limit
  CTestMover below(0.0f, -40.0f, 5.0f);     // limit 65
  CTestMover sameSpot(0.0f, 0.0f, 10.0f);
  CTestMover far(500.0f, 0.0f, 10.0f);
  D3DXVECTOR3 out(1, 1, 1);

  self.ComputeSeparation(out, {});
  EXPECT_EQ(out, D3DXVECTOR3(0, 0, 0));
  self.ComputeSeparation(out, {&self, &atLimit, &sameSpot, &far});
  EXPECT_EQ(out, D3DXVECTOR3(0, 0, 0));  // no NaN from the coincident one
  self.ComputeSeparation(out, {&self, &inside});
  ExpectVector(out, 1.0f, 0.0f, 0.0f);
  self.ComputeSeparation(out, {&inside, &sameSpot, &self, &below, &atLimit});
  ExpectVector(out, 1.0f, 1.0f, 0.0f);  // not normalised
}
