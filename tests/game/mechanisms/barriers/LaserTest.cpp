// Lasers: the beam cut at a wall, the damage to the player standing in it,
// sliding and its reflection, blinking by a durations file (and files that
// give nothing to blink by), the scripts' switches and the destructible
// emitter.
#include "engine/app/Application.h"
#include "game/mechanisms/MechanismsTwoFixture.h"
#include "platform/Log.h"

namespace {

using mechtwo::At;

class LaserTest : public mechtwo::MechanismsTwoTest {
 protected:
  // A laser from (0, 0) to (1000, 0).
  CLaser& LoadLaser(int32_t type = 0, const std::string& durations = "", int32_t intermittent = 0,
                    int32_t stopped = 1, float range = 0.0f, float speed = 0.0f, int32_t variant = 0,
                    const std::string& script = "", const D3DXVECTOR3& from = D3DXVECTOR3(0, 0, 0),
                    const D3DXVECTOR3& to = D3DXVECTOR3(1000, 0, 0)) {
    LASER_RECORD record;
    record.name = "Beam";
    record.type = type;
    record.scriptFile = script;
    record.emitterVariant = variant;
    record.initiallyStopped = stopped;
    record.range = range;
    record.speed = speed;
    record.initiallyIntermittent = intermittent;
    record.durationsFile = durations;
    record.farEnd = to;
    record.pair = At(from.x, from.y);
    ITEMS_FILE file;
    file.lasers.push_back(record);
    EXPECT_TRUE(Load(file));
    return level->GetLasers().at("Beam");
  }
  // Health the player loses over half a second standing at the point.
  uint32_t LossOverHalfASecond(const D3DXVECTOR3& at) {
    PlacePlayer(at);
    const uint32_t before = Player().GetHealth();
    Steps(25);
    return before - Player().GetHealth();
  }
  void StepLaser(CLaser& laser, float seconds) {
    const float saved = Nembra::g_FrameTime;
    Nembra::g_FrameTime = seconds;
    laser.Step();
    Nembra::g_FrameTime = saved;
  }
  // Toggles of the beam over a number of frames.
  int Toggles(CLaser& laser, int frames) {
    int toggles = 0;
    bool on = laser.IsOn();
    for (int i = 0; i < frames; ++i) {
      laser.Step();
      if (laser.IsOn() != on) ++toggles;
      on = laser.IsOn();
    }
    return toggles;
  }
};

TEST_F(LaserTest, BuildSetsTheBeamTheMeshesAndTheDamageByType) {
  CLaser& laser = LoadLaser(1);
  EXPECT_EQ(laser.GetLength(), 1000.0f);
  EXPECT_EQ(laser.GetDirection(), D3DXVECTOR3(1.0f, 0.0f, 0.0f));
  EXPECT_EQ(laser.GetDamagePerSecond(), 350.0f);
  EXPECT_EQ(laser.GetBeamTexture(), "LaserKill.tga");
  EXPECT_TRUE(laser.GetBeam().visible);
  EXPECT_EQ(laser.GetBeam().GetPosition(), D3DXVECTOR3(0.0f, 0.0f, 120.0f));
  // A second build of the same name rebuilds in place.
  laser.Build();
  EXPECT_EQ(level->GetLasers().size(), 1u);
  EXPECT_EQ(laser.GetLength(), 1000.0f);
  // A type outside the three does nothing to anyone.
  level->Unload();
  CLaser& odd = LoadLaser(7);
  EXPECT_EQ(odd.GetDamagePerSecond(), 0.0f);
  EXPECT_EQ(odd.GetBeamTexture(), "");
}

TEST_F(LaserTest, TheBeamHurtsByTypeAndAWallCutsIt) {
  const uint32_t expected[] = {50, 175, 0};
  for (int32_t type = 0; type < 3; ++type) {
    SCOPED_TRACE(type);
    level->Unload();
    Player().Heal(1.0f);
    LoadLaser(type);
    EXPECT_NEAR(static_cast<double>(LossOverHalfASecond(D3DXVECTOR3(500.0f, 20.0f, 0.0f))), expected[type], 1.0);
  }
  level->Unload();
  Player().Heal(1.0f);
  CLaser& laser = LoadLaser(0);
  CCollisionShape wall;
  wall.BuildBox(D3DXVECTOR3(300.0f, 0.0f, 0.0f), 400.0f, 20.0f, D3DX_PI / 2.0f);
  level->AddCollisionShape(&wall, 0);
  EXPECT_EQ(LossOverHalfASecond(D3DXVECTOR3(500.0f, 20.0f, 0.0f)), 0u);
  EXPECT_NEAR(laser.GetBeam().length, 290.0f, 1.0f);
  EXPECT_NEAR(static_cast<double>(LossOverHalfASecond(D3DXVECTOR3(150.0f, 20.0f, 0.0f))), 50.0, 1.0);
  level->RemoveCollisionShape(&wall, 0);
}

TEST_F(LaserTest, ASlidingLaserCrossesItsRangeInAHundredFramesAndReflectsTheOvershoot) {
  CLaser& laser = LoadLaser(0, "", 0, 0, 100.0f, 50.0f);
  for (int i = 0; i < 100; ++i) laser.Step();
  EXPECT_NEAR(laser.GetOffset(), 100.0f, 1e-3f);
  laser.Step();
  EXPECT_NEAR(laser.GetOffset(), 99.0f, 1e-3f);
  EXPECT_NEAR(laser.GetPosition().y, -99.0f, 1e-3f);  // along (dir.y, -dir.x)
  StepLaser(laser, 2.5f);  // 125 back: past 0, reflected to 26
  EXPECT_NEAR(laser.GetOffset(), 26.0f, 1e-3f);
  level->Restart();
  EXPECT_EQ(laser.GetOffset(), 0.0f);
  EXPECT_EQ(laser.GetPosition(), D3DXVECTOR3(0.0f, 0.0f, 0.0f));
}

TEST_F(LaserTest, ALongFramePassesSeveralDurationsEachTogglingOnce) {
  WriteData("Dur.txt", "3\n0.1\n0.2\n0.3\n");
  CLaser& laser = LoadLaser(0, "Dur.txt", 1);
  EXPECT_EQ(laser.GetDurations(), (std::vector<float>{0.1f, 0.2f, 0.3f}));
  EXPECT_TRUE(laser.IsOn());
  StepLaser(laser, 0.65f);
  EXPECT_FALSE(laser.IsOn());  // three toggles
  EXPECT_FALSE(laser.GetBeam().visible);
  // At 0.02 s a frame: toggles after 0.1, 0.3 and 0.6 s, then 0.7.
  level->Restart();
  laser.SetOn(true);
  EXPECT_EQ(Toggles(laser, 33), 3);
  // A duration is over once the time reaches it, not only past it.
  level->Restart();
  laser.SetOn(true);
  StepLaser(laser, 0.1f);
  EXPECT_FALSE(laser.IsOn());
}

// A long frame toggles once for each duration it passes and the time past
// the last of them counts toward the next, up to 100000 toggles in a frame
// (a 100-second frame over millisecond durations): past that the time left
// is dropped and the next frame starts the current duration afresh. Eighths
// and sixteenths of a second keep every sum exact.
TEST_F(LaserTest, ALongFrameTogglesOnceForEachDurationUpToAHundredThousandAndDropsTheRest) {
  WriteData("Dur.txt", "2\n0.125\n0.375\n");
  CLaser& laser = LoadLaser(0, "Dur.txt", 1);
  ASSERT_TRUE(laser.IsOn());
  // 2000 rounds of 0.5 s are 4000 toggles, the 0.125 one more, and 0.0625 s
  // of the 0.375 is left.
  StepLaser(laser, 1000.1875f);
  EXPECT_FALSE(laser.IsOn());
  EXPECT_FALSE(laser.GetBeam().visible);
  for (int i = 0; i < 4; ++i) StepLaser(laser, 0.0625f);
  EXPECT_FALSE(laser.IsOn()) << "0.3125 s of the 0.375";
  StepLaser(laser, 0.0625f);
  EXPECT_TRUE(laser.IsOn());
  EXPECT_TRUE(laser.GetBeam().visible);

  // 100000 toggles exactly: the 0.0625 s left still counts.
  level->Restart();
  ASSERT_TRUE(laser.IsOn());
  StepLaser(laser, 25000.0625f);
  EXPECT_TRUE(laser.IsOn());
  StepLaser(laser, 0.0625f);
  EXPECT_FALSE(laser.IsOn()) << "the 0.125 is over";

  // One duration more is due: the frame stops at 100000 toggles and drops
  // the 0.1875 s left, so the 0.125 starts again from nothing.
  level->Restart();
  ASSERT_TRUE(laser.IsOn());
  StepLaser(laser, 25000.1875f);
  EXPECT_TRUE(laser.IsOn()) << "the 100001st toggle came in the same frame";
  StepLaser(laser, 0.0625f);
  EXPECT_TRUE(laser.IsOn()) << "the time past the 100000th toggle was kept";
  StepLaser(laser, 0.0625f);
  EXPECT_FALSE(laser.IsOn());
}

TEST_F(LaserTest, AFrameLongerThanTheTimerCanCountInItsDurationsEndsAndBlinkingGoesOn) {
  WriteData("Dur.txt", "2\n0.1\n0.3\n");
  CLaser& laser = LoadLaser(0, "Dur.txt", 1);
  StepLaser(laser, 1.0e7f);  // 0.1 s is below half a float step at 1e7 s
  EXPECT_TRUE(laser.IsOn()) << "the time left is dropped";
  EXPECT_EQ(Toggles(laser, 22), 2);  // then after 0.1 and 0.4 s, as from the start
}

TEST_F(LaserTest, SwitchingABlinkingLaserOffStopsTheBlinkingAndOnAgainItIsSteady) {
  WriteData("Dur.txt", "2\n0.1\n0.1\n");
  CLaser& laser = LoadLaser(0, "Dur.txt", 1);
  EXPECT_GT(Toggles(laser, 20), 0);
  laser.SetOn(false);  // what the off switch does
  laser.SetIntermittent(false);
  EXPECT_EQ(Toggles(laser, 50), 0);
  laser.SetOn(true);
  EXPECT_EQ(Toggles(laser, 50), 0);
  EXPECT_TRUE(laser.GetBeam().visible);
}

TEST_F(LaserTest, DurationFilesWithNothingToBlinkByLeaveTheBeamSteady) {
  const char* files[] = {"0\n", "2 0 0\n", "-5\n", "", "3\n-1\n0\nabc\n", "1 1e-10"};
  std::string log;
  platform::SetLogHook([&log](platform::LogLevel, const std::string& line) { log += line + "\n"; });
  for (const char* text : files) {
    SCOPED_TRACE(text);
    level->Unload();
    WriteData("Dur.txt", text);
    CLaser& laser = LoadLaser(0, "Dur.txt", 1);
    EXPECT_TRUE(laser.GetDurations().empty());
    EXPECT_EQ(Toggles(laser, 100), 0);
  }
  platform::SetLogHook(nullptr);
  EXPECT_NE(log.find("Dur.txt: 1 duration(s) below a millisecond"), std::string::npos) << log;
  level->Unload();
  CLaser& missing = LoadLaser(0, "NoSuchDurations.txt", 1);
  EXPECT_EQ(Toggles(missing, 100), 0);
  // A laser made by a script's lookup, made to blink, has nothing to blink by.
  CLaser& fresh = level->GetLaser("Unnamed");
  fresh.SetIntermittent(true);
  EXPECT_EQ(Toggles(fresh, 10), 0);
}

TEST_F(LaserTest, AShotDestructibleEmitterRunsItsScriptHidesTheBeamAndRestartBringsItBack) {
  WriteCounter("LaserOff.lua");
  // Across the shot's way along +x.
  CLaser& laser = LoadLaser(0, "", 0, 1, 0.0f, 0.0f, 1, "LaserOff.lua", D3DXVECTOR3(500, 0, 0),
                            D3DXVECTOR3(500, 1000, 0));
  Step();
  ASSERT_TRUE(laser.IsDestructible());
  Hit(0);
  EXPECT_FALSE(laser.IsActive());
  EXPECT_FALSE(laser.GetBeam().visible);
  EXPECT_EQ(Count("LaserOff.lua"), 1);
  laser.Deactivate();  // already off: no second run
  EXPECT_EQ(Count("LaserOff.lua"), 1);
  level->Restart();
  EXPECT_TRUE(laser.IsActive());
  EXPECT_TRUE(laser.GetBeam().visible);
}

}  // namespace
