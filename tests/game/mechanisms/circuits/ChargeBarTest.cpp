// Where a charge bar lands on the screen: the camera looks at the origin
// from (0, -1500, 600); a point in front of it lands inside the 800 x 600
// viewport, one behind it lands nowhere (not at its mirrored place).
#include <gtest/gtest.h>

#include "game/actors/EntitySceneFixture.h"
#include "game/mechanisms/circuits/ChargeBar.h"

namespace {

class ChargeBarTest : public entitytest::EntitySceneTest {};

TEST_F(ChargeBarTest, APointInFrontLandsOnScreenAndOneBehindTheCameraNowhere) {
  Frame();  // the camera's matrices
  D3DXVECTOR3 screen(-1, -1, -1);
  ASSERT_TRUE(ChargeBar::Project(D3DXVECTOR3(0, 0, 0), screen));
  EXPECT_NEAR(screen.x, 400.0f, 1.0f);
  EXPECT_NEAR(screen.y, 300.0f, 1.0f);
  // Straight behind the camera, on the line through the origin.
  D3DXVECTOR3 untouched(7, 7, 7);
  EXPECT_FALSE(ChargeBar::Project(D3DXVECTOR3(0, -3000, 1200), untouched));
  EXPECT_FALSE(ChargeBar::Project(D3DXVECTOR3(200, -2500, 1000), untouched));
  EXPECT_EQ(untouched, D3DXVECTOR3(7, 7, 7));
}

}  // namespace
