// The route driver on a bare world, through the game's own input handling:
// straight walks out of eight directions, the player facing the way it
// walks, fights with the weapon of the other colour, counted shots, one
// Action per step, the planned death, and a step that cannot be done
// failing with its name and the player's place.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "scenario/RouteDriver.h"
#include "scenario/WorldScenario.h"

namespace {

using Step = datagen::DEMO_ROUTE_STEP;

Step Make(Step::Kind kind, float x, float y) {
  Step s;
  s.kind = kind;
  s.x = x;
  s.y = y;
  return s;
}

// A bare world at the driver's 0.016 s frames (with scripts: on a data copy
// that counts the uses of the action key), one frame run.
template <bool kScripted>
class DriverWorld : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(w.Ready()) << w.Problem();
    if (kScripted) {
      ASSERT_TRUE(w.CountActionUses());
    }
    w.Frame();
  }
  static scenario::WorldScenario::Options Sixteen() {
    scenario::WorldScenario::Options o;
    o.frameTime = 0.016f;
    o.writableData = kScripted;
    return o;
  }
  static scenario::RouteDriver::Settings DriverSettings() {
    scenario::RouteDriver::Settings s;
    s.frameTime = 0.016f;
    return s;
  }
  // Runs the driver until every step is taken (or it fails); false on a
  // failure or when the frames run out.
  bool Drive(scenario::RouteDriver& d, int maxFrames, const std::function<void()>& eachFrame = nullptr) {
    for (int i = 0; i < maxFrames && !d.Done() && !d.Failed(); ++i) {
      w.Next() = d.Next();
      w.Frame();
      if (eachFrame) eachFrame();
    }
    return d.Done() && !d.Failed();
  }
  scenario::WorldScenario w{Sixteen()};
};
using RouteDriver = DriverWorld<false>;
using RouteDriverScripted = DriverWorld<true>;

float DistanceToSegment(const D3DXVECTOR3& p, float ax, float ay, float bx, float by) {
  const float vx = bx - ax, vy = by - ay;
  const float t = std::max(0.0f, std::min(1.0f, ((p.x - ax) * vx + (p.y - ay) * vy) / (vx * vx + vy * vy)));
  return std::hypot(p.x - (ax + t * vx), p.y - (ay + t * vy));
}

TEST_F(RouteDriver, WalksStraightLinesFacingTheWayItGoes) {
  // Neither leg lies along one of the eight walking directions.
  scenario::RouteDriver d({Make(Step::WALK, 700, 300), Make(Step::WALK, 200, 900)}, DriverSettings());
  float worst = 0.0f, worstFacing = 0.0f;
  int frames = 0, legStart = 0;
  size_t leg = 0;
  ASSERT_TRUE(Drive(d, 2000, [&] {
    ++frames;
    if (d.StepIndex() != leg) {
      leg = d.StepIndex();
      legStart = frames;
    }
    const D3DXVECTOR3& p = w.Player().GetPosition();
    const bool first = d.StepIndex() == 0;
    worst = std::max(worst, first ? DistanceToSegment(p, 0, 0, 700, 300) : DistanceToSegment(p, 700, 300, 200, 900));
    // Well inside a leg the player faces along it (the cursor leads it).
    const float ex = first ? 700.0f - p.x : 200.0f - p.x, ey = first ? 300.0f - p.y : 900.0f - p.y;
    if (std::hypot(ex, ey) > 300.0f && frames - legStart > 15) {
      float diff = std::fabs(std::remainder(w.Player().GetRotation().z - std::atan2(ey, ex), 6.2831853f));
      worstFacing = std::max(worstFacing, diff);
    }
  })) << d.Failure();
  // A waypoint counts as reached 24 units short; the next leg starts there.
  EXPECT_LT(worst, 30.0f) << "the walk left its line";
  EXPECT_LT(worstFacing, 0.35f) << "the player did not face the way it walked";
  EXPECT_LT(std::hypot(w.Player().GetPosition().x - 200.0f, w.Player().GetPosition().y - 900.0f), 25.0f);
  // 760 + 781 units at 550 a second are 175 frames; the zig-zag costs a little.
  EXPECT_LT(frames, 230);
  EXPECT_EQ(d.ShotsFired(), 0);
}

TEST_F(RouteDriver, FightsEachEnemyWithTheOtherColour) {
  w.AddEnemy({450, 0, 0}, 0, 50.0f, 5, 3);  // red: only blue shots hurt it
  w.AddEnemy({0, 450, 0}, 1, 50.0f, 5, 3);  // blue
  Step fight = Make(Step::FIGHT, 0, 0);
  fight.radius = 800.0f;
  fight.seconds = 20.0f;
  scenario::RouteDriver d({fight}, DriverSettings());
  ASSERT_TRUE(Drive(d, 2000)) << d.Failure();
  // Both dead (the test enemy leaves the level at once): three blue shots
  // at the red enemy, three red ones at the blue.
  EXPECT_TRUE(w.Level().GetEnemies().empty());
  EXPECT_GE(w.blueShot.plays, 3);
  EXPECT_GE(w.redShot.plays, 3);
  EXPECT_EQ(w.blueShot.plays + w.redShot.plays, d.ShotsFired());
}

TEST_F(RouteDriverScripted, ShootsTheCountedShotsOfTheRouteColourAndPressesActionOnce) {
  Step shoot = Make(Step::SHOOT, 500, -200);
  shoot.shots = 4;
  shoot.colour = 1;  // red
  scenario::RouteDriver d({shoot, Make(Step::ACTION, 300, 0), Make(Step::WAIT, 0, 0)}, DriverSettings());
  ASSERT_TRUE(Drive(d, 1000)) << d.Failure();
  EXPECT_EQ(w.redShot.plays, 4);
  EXPECT_EQ(w.blueShot.plays, 0);
  EXPECT_EQ(w.ActionUses(), 1);
  EXPECT_GT(w.Player().GetShotDirection().x, 0.0f) << "the shots left towards the aim point";
}

TEST_F(RouteDriver, ThePlannedDeathMovesOnAndABlockedStepFailsNamingItself) {
  // A wall across the way to the second point.
  w.AddWall(0, {{400, -2000, 0}, {400, 2000, 0}});
  w.AddWall(1, {{400, -2000, 0}, {400, 2000, 0}});
  Step hazard = Make(Step::HAZARD, 0, 200);
  hazard.note = "the pit";
  Step walk = Make(Step::WALK, 900, 0);
  walk.note = "beyond the wall";
  scenario::RouteDriver d({hazard, walk}, DriverSettings());
  // The hazard step stays until the player dies; no death, no progress.
  for (int i = 0; i < 100; ++i) {
    w.Next() = d.Next();
    w.Frame();
  }
  EXPECT_EQ(d.StepIndex(), 0u);
  ASSERT_NE(d.Current(), nullptr);
  EXPECT_EQ(d.Current()->kind, Step::HAZARD);
  d.Restarted();
  EXPECT_EQ(d.PlannedDeaths(), 1);
  EXPECT_EQ(d.StepIndex(), 1u);
  EXPECT_FALSE(Drive(d, 3000));
  ASSERT_TRUE(d.Failed());
  EXPECT_NE(d.Failure().find("step 2 of 2 (WALK (900, 0), beyond the wall)"), std::string::npos) << d.Failure();
  EXPECT_NE(d.Failure().find("player at ("), std::string::npos) << d.Failure();
  EXPECT_LT(w.Player().GetPosition().x, 400.0f);
  // Afterwards it lets go of whatever it holds.
  EXPECT_TRUE(d.ReleaseAll().keysDown.empty());
}

}  // namespace
