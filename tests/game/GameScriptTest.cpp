#include <gtest/gtest.h>

#include "game/GameScript.h"

TEST(GameScript, OpensAndCloses) {
  CGameScript script;
  ASSERT_TRUE(script.Open());
  EXPECT_NE(script.GetState(), nullptr);
  script.Close();
  EXPECT_FALSE(script.IsOpen());
}
