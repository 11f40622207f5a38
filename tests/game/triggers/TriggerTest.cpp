#include "engine/scene/SceneManager.h"
#include "game/GameTestSupport.h"
#include "game/triggers/TriggerManager.h"

namespace {

using Nembra::TRIGGER_ACTION;
using Nembra::TRIGGER_WALK_IN;

// Triggers under a real (headless) scene manager, their scripts counting
// runs in variables.
class TriggerTest : public gametest::ScriptedTest {
 protected:
  void SetUp() override {
    ScriptedTest::SetUp();
    ASSERT_EQ(Nembra::g_pSceneManager, nullptr);
    Nembra::g_pSceneManager = new Nembra::CSceneManager;
    for (const char* name : {"Goal", "Act", "Rect", "Second"}) WriteCounter(name);
  }
  void TearDown() override {
    triggers.Clear();
    delete Nembra::g_pSceneManager;
    Nembra::g_pSceneManager = nullptr;
    ScriptedTest::TearDown();
  }
  size_t RootChildren() const { return Nembra::g_pSceneManager->GetRoot()->GetChildren().size(); }
  void WalkTo(float x, float y, int frames = 1) {
    for (int i = 0; i < frames; ++i) triggers.TestPoint(D3DXVECTOR3(x, y, 0.0f), TRIGGER_WALK_IN);
  }
  void Action(float x, float y) { triggers.TestPoint(D3DXVECTOR3(x, y, 0.0f), TRIGGER_ACTION); }

  CTriggerManager triggers;
  const D3DXVECTOR3 origin{0.0f, 0.0f, 0.0f};
};

TEST_F(TriggerTest, CircleBorderIsInside) {
  Nembra::CCircularTrigger circle("Goal.lua", 0.0f, 0.0f, 0.0f, true, 100.0f, TRIGGER_WALK_IN);
  EXPECT_TRUE(circle.IsInside(D3DXVECTOR3(100.0f, 0.0f, 0.0f)));
  EXPECT_TRUE(circle.IsInside(D3DXVECTOR3(0.0f, -100.0f, 500.0f)));  // z plays no part
  EXPECT_FALSE(circle.IsInside(D3DXVECTOR3(100.01f, 0.0f, 0.0f)));
  EXPECT_TRUE(circle.IsInside(D3DXVECTOR3(70.0f, 70.0f, 0.0f)));
  EXPECT_FALSE(circle.IsInside(D3DXVECTOR3(71.0f, 71.0f, 0.0f)));
  triggers.AddCircularTrigger("Goal.lua", "goal", origin, true, 100.0f, TRIGGER_WALK_IN);
  WalkTo(100.01f, 0.0f);
  EXPECT_EQ(Count("Goal"), 0);
  WalkTo(100.0f, 0.0f);
  EXPECT_EQ(Count("Goal"), 1);
}

TEST_F(TriggerTest, RectangleCoversItsBordersAndNothingMore) {
  Nembra::CRectangularTrigger rect("Rect.lua", 0.0f, 0.0f, 7.0f, true, 200.0f, 100.0f, TRIGGER_WALK_IN);
  EXPECT_FLOAT_EQ(rect.GetMinX(), -100.0f);
  EXPECT_FLOAT_EQ(rect.GetMaxX(), 100.0f);
  EXPECT_FLOAT_EQ(rect.GetMinY(), -50.0f);
  EXPECT_FLOAT_EQ(rect.GetMaxY(), 50.0f);
  EXPECT_TRUE(rect.IsInside(D3DXVECTOR3(-100.0f, -50.0f, 0.0f)));
  EXPECT_TRUE(rect.IsInside(D3DXVECTOR3(100.0f, 50.0f, -3.0f)));
  EXPECT_FALSE(rect.IsInside(D3DXVECTOR3(100.01f, 0.0f, 0.0f)));
  EXPECT_FALSE(rect.IsInside(D3DXVECTOR3(0.0f, 50.01f, 0.0f)));
  EXPECT_FALSE(rect.IsInside(D3DXVECTOR3(0.0f, -50.01f, 0.0f)));
  Nembra::CRectangularTrigger moved("Rect.lua", 1000.0f, -20.0f, 0.0f, true, 10.0f, 4.0f, TRIGGER_WALK_IN);
  EXPECT_TRUE(moved.IsInside(D3DXVECTOR3(1005.0f, -18.0f, 0.0f)));
  EXPECT_FALSE(moved.IsInside(D3DXVECTOR3(1005.0f, -17.9f, 0.0f)));
}

TEST_F(TriggerTest, WalkInFiresOnEntryAndRearmsAfterLeaving) {
  triggers.AddCircularTrigger("Goal.lua", "Goal", origin, true, 100.0f, TRIGGER_WALK_IN);
  WalkTo(500.0f, 0.0f, 3);
  EXPECT_EQ(Count("Goal"), 0);
  WalkTo(10.0f, 0.0f, 50);
  EXPECT_EQ(Count("Goal"), 1);
  EXPECT_TRUE(triggers.FindCircular("goal")->HasFired());
  WalkTo(101.0f, 0.0f);  // one frame outside re-arms
  EXPECT_FALSE(triggers.FindCircular("goal")->HasFired());
  WalkTo(99.0f, 0.0f, 5);
  EXPECT_EQ(Count("Goal"), 2);
  Action(0.0f, 0.0f);  // action tests leave walk-in triggers alone
  EXPECT_EQ(Count("Goal"), 2);
}

TEST_F(TriggerTest, DisabledTriggersNeverFire) {
  triggers.AddCircularTrigger("Goal.lua", "Goal", origin, false, 100.0f, TRIGGER_WALK_IN);
  triggers.AddCircularTrigger("Act.lua", "Act", origin, false, 100.0f, TRIGGER_ACTION);
  WalkTo(0.0f, 0.0f, 10);
  WalkTo(500.0f, 0.0f);
  WalkTo(0.0f, 0.0f);
  Action(0.0f, 0.0f);
  EXPECT_EQ(Count("Goal"), 0);
  EXPECT_EQ(Count("Act"), 0);
}

TEST_F(TriggerTest, ActionTriggersFireOnEveryActionTestInside) {
  triggers.AddRectangularTrigger("Act.lua", "Terminal", origin, true, 200.0f, 100.0f, TRIGGER_ACTION);
  WalkTo(0.0f, 0.0f, 20);
  EXPECT_EQ(Count("Act"), 0);
  for (int i = 0; i < 4; ++i) Action(50.0f, 20.0f);
  EXPECT_EQ(Count("Act"), 4);
  Action(150.0f, 0.0f);
  EXPECT_EQ(Count("Act"), 4);
}

TEST_F(TriggerTest, DuplicateNamesKeepTheFirstOfEachShape) {
  triggers.AddCircularTrigger("Goal.lua", "Door", origin, true, 100.0f, TRIGGER_WALK_IN);
  triggers.AddCircularTrigger("Second.lua", "DOOR", D3DXVECTOR3(900.0f, 0.0f, 0.0f), true, 50.0f,
                              TRIGGER_WALK_IN);
  triggers.AddRectangularTrigger("Rect.lua", "door", D3DXVECTOR3(0.0f, 500.0f, 0.0f), false, 20.0f, 20.0f,
                                 TRIGGER_WALK_IN);
  EXPECT_EQ(triggers.CircularCount(), 1u);
  EXPECT_EQ(triggers.RectangularCount(), 1u);
  EXPECT_EQ(triggers.FindCircular("Door")->GetScript(), "Goal.lua");
  EXPECT_FLOAT_EQ(triggers.FindCircular("Door")->GetRadius(), 100.0f);
  EXPECT_EQ(RootChildren(), 2u);  // the ignored one never reached the scene
  // EnableTrigger reaches both shapes of a name.
  triggers.EnableTrigger("Door", false);
  EXPECT_FALSE(triggers.FindCircular("door")->IsEnabled());
  triggers.EnableTrigger("DoOr", true);
  EXPECT_TRUE(triggers.FindCircular("door")->IsEnabled());
  EXPECT_TRUE(triggers.FindRectangular("door")->IsEnabled());
  triggers.EnableTrigger("nobody", false);  // changes nothing
  EXPECT_TRUE(triggers.FindCircular("door")->IsEnabled());
}

TEST_F(TriggerTest, EnableTriggerFindsUpperCaseNamesAndRearms) {
  triggers.AddCircularTrigger("Goal.lua", "GOAL", origin, true, 100.0f, TRIGGER_WALK_IN);
  WalkTo(0.0f, 0.0f, 3);
  EXPECT_EQ(Count("Goal"), 1);
  triggers.EnableTrigger("goal", true);
  EXPECT_FALSE(triggers.FindCircular("GOAL")->HasFired());
  WalkTo(0.0f, 0.0f, 3);  // still inside, fires again at once
  EXPECT_EQ(Count("Goal"), 2);
}

TEST_F(TriggerTest, ResetRestoresLoadedEnabledFlagsAndKeepsFiredOnes) {
  triggers.AddCircularTrigger("Goal.lua", "Goal", origin, true, 100.0f, TRIGGER_WALK_IN);
  triggers.AddRectangularTrigger("Rect.lua", "Later", D3DXVECTOR3(1000.0f, 0.0f, 0.0f), false, 50.0f, 50.0f,
                                 TRIGGER_WALK_IN);
  WalkTo(0.0f, 0.0f);
  triggers.EnableTrigger("Later", true);
  triggers.EnableTrigger("Goal", false);
  triggers.FindCircular("Goal")->SetFired(true);  // as it was before the switch
  triggers.ResetTriggers();
  EXPECT_TRUE(triggers.FindCircular("Goal")->IsEnabled());
  EXPECT_FALSE(triggers.FindRectangular("Later")->IsEnabled());
  EXPECT_TRUE(triggers.FindCircular("Goal")->HasFired());  // a restart keeps the fired flag
  WalkTo(0.0f, 0.0f, 5);
  EXPECT_EQ(Count("Goal"), 1);  // the player still stands in it: no second run
}

TEST_F(TriggerTest, TriggersHangUnderTheSceneRootWhileTheyExist) {
  triggers.AddCircularTrigger("Goal.lua", "A", D3DXVECTOR3(1.0f, 2.0f, 3.0f), true, 1.0f, TRIGGER_WALK_IN);
  triggers.AddRectangularTrigger("Rect.lua", "B", origin, true, 1.0f, 1.0f, TRIGGER_ACTION);
  EXPECT_EQ(RootChildren(), 2u);
  EXPECT_EQ(triggers.FindCircular("a")->GetParent(), Nembra::g_pSceneManager->GetRoot());
  EXPECT_FLOAT_EQ(triggers.FindCircular("a")->GetPosition().y, 2.0f);
  Nembra::g_pSceneManager->Update();
  triggers.Clear();
  EXPECT_EQ(RootChildren(), 0u);
  EXPECT_EQ(triggers.CircularCount() + triggers.RectangularCount(), 0u);
}

TEST_F(TriggerTest, FailingScriptsCountAsRun) {
  triggers.AddCircularTrigger("Missing.lua", "Goal", origin, true, 100.0f, TRIGGER_WALK_IN);
  WalkTo(0.0f, 0.0f, 3);
  EXPECT_EQ(errors.size(), 1u);
  EXPECT_TRUE(triggers.FindCircular("Goal")->HasFired());
}

// A trigger script that adds and switches triggers while the maps are walked.
CTriggerManager* g_Manager = nullptr;

int AddMany(lua_State*) {
  for (int i = 0; i < 200; ++i) {
    const std::string name = "Added" + std::to_string(i);
    g_Manager->AddCircularTrigger("Second.lua", name, D3DXVECTOR3(0.0f, 0.0f, 0.0f), true, 10.0f, 0);
    g_Manager->AddRectangularTrigger("Second.lua", name, D3DXVECTOR3(0.0f, 0.0f, 0.0f), true, 10.0f, 10.0f, 0);
  }
  g_Manager->EnableTrigger("B", false);
  return 0;
}

TEST_F(TriggerTest, ScriptsMayAddTriggersDuringTheWalk) {
  g_Manager = &triggers;
  lua_register(g_GameScript.GetState(), "AddMany", AddMany);
  WriteScript("Adder.lua", "IncVar(\"Adder\")\nAddMany()\n");
  triggers.AddCircularTrigger("Adder.lua", "B", origin, true, 100.0f, TRIGGER_WALK_IN);
  WalkTo(0.0f, 0.0f);
  EXPECT_EQ(Count("Adder"), 1);
  EXPECT_EQ(triggers.CircularCount(), 201u);
  EXPECT_EQ(triggers.RectangularCount(), 200u);
  // The new circles sort before "B", behind the walk's position, and wait
  // for the next walk; the rectangles, walked after the circles, fire now.
  const int sameWalk = Count("Second");
  EXPECT_EQ(sameWalk, 200);
  WalkTo(0.0f, 0.0f);
  EXPECT_EQ(Count("Second"), 400);  // the circles fire in the next walk
  EXPECT_EQ(Count("Adder"), 1);
  g_Manager = nullptr;
}

}  // namespace
