// The ability meter: filling over time, the ready sound once per filling,
// pick-ups, Reset and Use with and without the level's ability script.
#include <lua.hpp>

#include "engine/app/Application.h"
#include "engine/sound/AudiereSound.h"
#include "game/player/Ability.h"
#include "game/script/GameScript.h"
#include "game/world/GameGlobals.h"
#include "game/enemies/EnemyScenarioSupport.h"

namespace {

using Ability = enemytest::Scene;
using AbilityOwnData = enemytest::WritableScene;  // the scenario's frame time is 0.02 s

// Whether the ready sound started since the last look (it is stopped again
// to see the next start).
bool Started(CAbility& ability) {
  Nembra::CAudiereSound* sound = ability.GetReadySound();
  const bool playing = sound && sound->IsPlaying();
  if (playing) sound->Stop();
  return playing;
}

// The scenario gives the engine's silent sound layer.
TEST_F(Ability, FillsInAbout667SecondsAndSoundsOnceOnTheNextUpdate) {
  CAbility ability;
  ASSERT_NE(ability.GetReadySound(), nullptr);
  int fullAt = -1, soundAt = -1, sounds = 0;
  for (int frame = 1; frame <= 3500; ++frame) {
    ability.Update();
    if (fullAt < 0 && ability.GetCharge() == 100) fullAt = frame;
    if (Started(ability) && ++sounds == 1) soundAt = frame;
  }
  EXPECT_GE(fullAt * 0.02f, 66.6f);
  EXPECT_LE(fullAt * 0.02f, 66.8f);
  EXPECT_EQ(soundAt, fullAt + 1);
  EXPECT_EQ(sounds, 1);
  EXPECT_EQ(ability.GetCharge(), 100u);
}

TEST_F(Ability, LongFramesPickUpsDisablingAndReset) {
  CAbility ability;
  ASSERT_NE(ability.GetReadySound(), nullptr);
  Nembra::g_FrameTime = 2.0f;
  ability.Update();
  EXPECT_EQ(ability.GetCharge(), 3u);
  Nembra::g_FrameTime = 0.02f;
  ability.Reset();
  ability.AddCharge(70);
  ability.AddCharge(60);
  EXPECT_EQ(ability.GetCharge(), 100u);
  EXPECT_FALSE(Started(ability));
  ability.Update();
  EXPECT_TRUE(Started(ability));
  ability.Update();
  EXPECT_FALSE(Started(ability));

  ability.Reset();
  ability.AddCharge(10);
  ability.AddCharge(0xFFFFFFFBu);  // a negative amount converted by a caller
  EXPECT_EQ(ability.GetCharge(), 100u);

  ability.Reset();
  ability.Enable(false);
  for (int i = 0; i < 500; ++i) ability.Update();
  EXPECT_EQ(ability.GetCharge(), 0u);
  ability.Reset();
  EXPECT_FALSE(ability.IsEnabled()) << "Reset leaves the enabled flag";
  EXPECT_FALSE(ability.WasReadySoundPlayed());
}

TEST_F(AbilityOwnData, UseEmptiesTheMeterAndRunsTheAbilityScriptOnce) {
  ASSERT_TRUE(w.WriteScript("Power.lua", "used = (used or 0) + 1\n"));
  CAbility& ability = w.Player().GetAbility();
  lua_State* L = g_GameScript.GetState();
  auto used = [&] {
    lua_getglobal(L, "used");
    const double n = lua_tonumber(L, -1);
    lua_pop(L, 1);
    return n;
  };
  ability.AddCharge(100);
  g_AbilityScriptFile.clear();
  ability.Use();
  EXPECT_EQ(ability.GetCharge(), 0u);
  EXPECT_EQ(used(), 0.0);

  ability.AddCharge(100);
  g_AbilityScriptFile = "Power.lua";
  ability.Use();
  EXPECT_EQ(used(), 1.0);
  EXPECT_EQ(ability.GetCharge(), 0u);
  EXPECT_EQ(ability.GetFraction(), 0.0f);
  g_AbilityScriptFile.clear();
}

}  // namespace
