// The game's script functions seen from Lua: what is registered, and the
// values they leave in the world, the level, the player and the HUD.
#include <cmath>
#include <set>
#include <tuple>

#include "engine/resources/SkinnedMesh.h"
#include "engine/scene/Light.h"
#include "game/effects/ParticleEffect.h"
#include "game/script/ScriptBindings.h"
#include "game/script/ScriptBindingsSupport.h"
#include "game/script/ScriptVariables.h"
#include "game/world/GameGlobals.h"
#include "platform/Files.h"
#include "tools/formats/LevelFiles.h"

namespace {

using scripttest::ScriptFunctionNames;
using scripttest::ScriptWorld;

// The names of the function globals of a state.
std::set<std::string> FunctionGlobals(lua_State* state) {
  std::set<std::string> names;
  lua_pushnil(state);
  while (lua_next(state, LUA_GLOBALSINDEX)) {
    if (lua_isfunction(state, -1) && lua_type(state, -2) == LUA_TSTRING) names.insert(lua_tostring(state, -2));
    lua_pop(state, 1);
  }
  return names;
}

class ScriptBindingsWorld : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(s.w.Ready()) << s.w.Problem(); }
  ScriptWorld s;
};

TEST(ScriptBindings, TheTableHoldsSixConstantsAndTheFunctionsInOrder) {
  size_t constants = 0, functions = 0;
  const SCRIPT_CONSTANT* c = GameScriptConstants(constants);
  const SCRIPT_FUNCTION* f = GameScriptFunctions(functions);
  ASSERT_EQ(constants, 6u);
  ASSERT_EQ(functions, 110u);
  ASSERT_EQ(ScriptFunctionNames().size(), 110u);
  const char* constantNames[] = {"PI", "COL_TIGHT", "COL_CHARACTER", "COL_PLAYER", "SEX_MALE", "SEX_FEMALE"};
  for (size_t i = 0; i < constants; ++i) EXPECT_STREQ(c[i].name, constantNames[i]);
  lua_CFunction removeSprite = nullptr, removeAnimated = nullptr;
  for (size_t i = 0; i < functions; ++i) {
    EXPECT_EQ(f[i].name, ScriptFunctionNames()[i]) << i;
    if (std::string(f[i].name) == "RemoveSprite") removeSprite = f[i].function;
    if (std::string(f[i].name) == "RemoveAnimatedSprite") removeAnimated = f[i].function;
  }
  EXPECT_NE(removeSprite, removeAnimated);  // separate natives
}

TEST_F(ScriptBindingsWorld, AScriptSeesEveryFunctionAndTheExactConstants) {
  std::string code = "missing = 0\n";
  for (const std::string& name : ScriptFunctionNames())
    code += "if type(" + name + ") ~= \"function\" then missing = missing + 1 end\n";
  code +=
      "pi_exact = (PI == 3.1415927410125732)\n"
      "others = (COL_TIGHT == 0 and COL_CHARACTER == 1 and COL_PLAYER == 2 and SEX_MALE == 0 and SEX_FEMALE == 1)\n";
  ASSERT_TRUE(s.Run(code));
  EXPECT_EQ(s.Number("missing"), 0.0);
  EXPECT_TRUE(s.Bool("pi_exact"));
  EXPECT_TRUE(s.Bool("others"));
  // No function global beyond the game's and the base library's.
  lua_State* base = luaL_newstate();
  luaL_openlibs(base);
  std::set<std::string> known = FunctionGlobals(base);
  lua_close(base);
  known.insert(ScriptFunctionNames().begin(), ScriptFunctionNames().end());
  for (const std::string& name : FunctionGlobals(g_GameScript.GetState())) EXPECT_TRUE(known.count(name)) << name;
  // Registering again changes nothing.
  ASSERT_TRUE(g_GameScript.Open());
  ASSERT_TRUE(s.Run(code));
  EXPECT_EQ(s.Number("missing"), 0.0);
  EXPECT_EQ(lua_gettop(g_GameScript.GetState()), 0);
}

TEST_F(ScriptBindingsWorld, EnemyTuningKeepsTypesApartAndSquaresRanges) {
  namespace T = TuningDefaults;
  const auto speeds = [] { return std::make_tuple(g_Enemy1Speed, g_Enemy2Speed, g_Enemy3Speed, g_Enemy6Speed); };
  RestoreTuningDefaults();
  ASSERT_TRUE(s.Run("SetEnemyMaxDist(1, 1500)\nSetEnemySpeed(4, 100)\n"));
  EXPECT_EQ(g_Enemy1RangeSq, 2250000.0f);
  EXPECT_EQ(speeds(), std::make_tuple(T::ENEMY1_SPEED, T::ENEMY2_SPEED, T::ENEMY3_SPEED, T::ENEMY6_SPEED));
  ASSERT_TRUE(s.Run("SetEnemySpeed(2, 300)\nSetEnemySpeed(1, 0/0)\nSetEnemyGeneratorTimer(1/0)\n"
                    "SetBoss0Health(-5)\nSetBoss1Health(1e12)\nSetWaveShockPower(7.9)\nSetEnemyCount(-3)"));
  EXPECT_EQ(speeds(), std::make_tuple(T::ENEMY1_SPEED, 300.0f, T::ENEMY3_SPEED, T::ENEMY6_SPEED));
  EXPECT_EQ(g_EnemyGeneratorRearmTime, T::GENERATOR_REARM_TIME);
  EXPECT_EQ(std::make_tuple(g_Boss0Health, g_Boss1Health, g_WaveShockPower), std::make_tuple(0, 2147483647, 7));
  EXPECT_EQ(s.w.Level().GetWantedEnemyCount(), 0);
  RestoreTuningDefaults();
  g_Boss0Health = T::BOSS0_HEALTH;
  g_Boss1Health = T::BOSS1_HEALTH;
  g_WaveShockPower = T::WAVE_SHOCK_POWER;
}

TEST_F(ScriptBindingsWorld, WeaponAndAbilityChargesStayInTheirMeters) {
  CWeapon& weapon = s.w.Player().GetWeapon();
  const auto charges = [&] { return std::make_pair(weapon.GetCharge(CWeapon::RED), weapon.GetCharge(CWeapon::BLUE)); };
  weapon.SetCharge(CWeapon::RED, 0);
  weapon.SetCharge(CWeapon::BLUE, 0);
  ASSERT_TRUE(s.Run("SetWeaponCharge(0.5)"));
  EXPECT_EQ(charges(), std::make_pair(50u, 50u));
  ASSERT_TRUE(s.Run("SetWeaponCharge(0.5)\nSetWeaponCharge(-1)\nSetWeaponCharge(0/0)"));
  EXPECT_EQ(charges(), std::make_pair(weapon.GetMaxCharge(), weapon.GetMaxCharge()));
  weapon.SetCharge(CWeapon::RED, 10);
  ASSERT_TRUE(s.Run("SetWeaponCharge(-1)"));
  EXPECT_EQ(weapon.GetCharge(CWeapon::RED), 10u);

  CAbility& ability = s.w.Player().GetAbility();
  const std::pair<const char*, uint32_t> settings[] = {{"SetAbilityCharge(0.999)", 99u},
                                                       {"SetAbilityCharge(1.5)", CAbility::FULL},
                                                       {"SetAbilityCharge(-0.5)", 0u},
                                                       {"SetAbilityCharge(0.3) SetAbilityCharge(0.1)", 10u}};
  for (const auto& [code, charge] : settings) {
    ASSERT_TRUE(s.Run(code));
    EXPECT_EQ(ability.GetCharge(), charge) << code;
  }
  // A lower charge starts the meter over: no fraction kept, the ready sound due again.
  ASSERT_TRUE(s.Run("SetAbilityCharge(1)"));
  ability.Update();
  ASSERT_TRUE(ability.WasReadySoundPlayed());
  ASSERT_TRUE(s.Run("SetAbilityCharge(0.5)"));
  EXPECT_FALSE(ability.WasReadySoundPlayed());
  ability.Update();
  ASSERT_GT(ability.GetFraction(), 0.0f);
  ASSERT_TRUE(s.Run("SetAbilityCharge(0.2)"));
  EXPECT_EQ(ability.GetFraction(), 0.0f);
  EXPECT_EQ(ability.GetCharge(), 20u);
  // Reset keeps the enabled flag and lets the ready sound play again.
  ASSERT_TRUE(s.Run("SetAbilityCharge(1)\nEnableAbility(false)"));
  ability.Update();
  ASSERT_TRUE(s.Run("ResetPlayerAbility()"));
  EXPECT_EQ(ability.GetCharge(), 0u);
  EXPECT_FALSE(ability.IsEnabled());
  EXPECT_FALSE(ability.WasReadySoundPlayed());
  ASSERT_TRUE(s.Run("EnableAbility(true)\nEnableWeapon(false)\nSetOrdinaryWeapon(true)"));
  EXPECT_TRUE(ability.IsEnabled());
  EXPECT_FALSE(weapon.IsEnabled());
  EXPECT_TRUE(weapon.IsOrdinary());

  // The ordinary weapon fires a flash at the hand: no charge, no shot.
  ASSERT_TRUE(s.Run("EnableWeapon(true)"));
  const auto before = charges();
  const size_t effects = s.w.Level().GetEffects().size();
  const D3DXVECTOR3 hand = s.w.Player().GetHand().GetWorldPosition();
  s.w.Next().Press(1);
  s.w.Frame();
  EXPECT_EQ(s.w.ordinary.plays, 1);
  EXPECT_TRUE(s.w.Level().GetBullets().empty());
  EXPECT_EQ(charges(), before);
  ASSERT_EQ(s.w.Level().GetEffects().size(), effects + 1);
  const auto* flash = dynamic_cast<const Nembra::COrdinaryWeaponEffect*>(s.w.Level().GetEffects().back());
  ASSERT_NE(flash, nullptr);
  EXPECT_EQ(flash->GetPosition(), hand);
}

TEST_F(ScriptBindingsWorld, PlayerStateFollowsTheScript) {
  CPlayer& player = s.w.Player();
  ASSERT_TRUE(s.Run("SetPlayerSex(SEX_FEMALE)"));
  EXPECT_FALSE(player.IsMale());
  ASSERT_TRUE(s.Run("SetPlayerSex(0)\nSetPlayerSex(7)"));
  EXPECT_FALSE(player.IsMale());
  ASSERT_TRUE(s.Run("SetPlayerSex(0)"));
  EXPECT_TRUE(player.IsMale());

  ASSERT_TRUE(s.Run("SetPlayerPos(120, -40)\nSetPlayerRot(1.5)\nSetPlayerPos(0/0, 5)\nSetPlayerRot(1/0)\n"
                    "SetRadiation(2.5)\nPlayerCanWalk(false)\nSetAbilityScript(\"Power.lua\")"));
  EXPECT_EQ(player.GetPosition(), D3DXVECTOR3(120, -40, 0));
  EXPECT_EQ(player.GetRotation().z, 1.5f);
  EXPECT_EQ(player.GetRadiation(), 2.5f);
  EXPECT_FALSE(player.CanWalk());
  EXPECT_EQ(g_AbilityScriptFile, "Power.lua");
  g_AbilityScriptFile.clear();

  player.Damage(120.0f, false);
  ASSERT_LT(player.GetHealth(), player.GetMaxHealth());
  player.TakeHealed();
  ASSERT_TRUE(s.Run("ResetPlayerHealth()"));
  EXPECT_EQ(player.GetHealth(), player.GetMaxHealth());
  EXPECT_FALSE(player.TakeHealed());  // no flash of the gauge
}

TEST(ScriptBindings, ColoursKeepTheLowEightBitsOfEachComponent) {
  lua_State* state = luaL_newstate();
  for (double v : {256.0, -1.0, 1.0, std::nan("")}) lua_pushnumber(state, v);
  const D3DXCOLOR colour = ScriptBinding::LuaToColour(state, 1);
  EXPECT_EQ(std::make_tuple(colour.r, colour.g, colour.a), std::make_tuple(0.0f, 1.0f, 1.0f));
  EXPECT_EQ(double(colour.b), 0.003921568859368563);
  EXPECT_EQ(ScriptBinding::LuaToColour(state, 2).b, 0.0f);  // NaN reads 0
  lua_close(state);
}

TEST_F(ScriptBindingsWorld, NamedLightsTakeTheirColoursWhateverTheCase) {
  ASSERT_TRUE(s.Run("LightAddPoint(\"L\")\nLightSetDiffuseColor(\"l\", 1, 0, 0)"));
  Nembra::CLight* light = s.w.Level().GetLights().Find("L");
  ASSERT_NE(light, nullptr);
  EXPECT_EQ(double(light->GetRecord().Diffuse.r), 0.003921568859368563);
  EXPECT_EQ(light->GetRecord().Diffuse.g, 0.0f);
  EXPECT_EQ(light->GetRecord().Diffuse.a, 1.0f);
  ASSERT_TRUE(s.Run("LightSetRange(\"L\", 0/0)\nLightSetRange(\"L\", 800)\nLightSetPos(\"L\", 1, 1/0, 3)"));
  EXPECT_EQ(light->GetRecord().Range, 800.0f);
}

TEST(ScriptBindings, ATimerEventRunsOnceWhenItsTimeIsReached) {
  ScriptWorld s(0.25f);
  ASSERT_TRUE(s.w.Ready()) << s.w.Problem();
  g_ScriptVars.clear();
  ASSERT_TRUE(s.w.WriteScript("e.lua", "IncVar(\"E\")\nat = GetTimerTime(\"T\")\n"));
  ASSERT_TRUE(s.Run("CreateTimer(\"T\")\nRegisterTimerEvent(\"T\", 1, \"e.lua\")\nStartTimer(\"T\")"));
  int ranAt = -1;
  for (int frame = 1; frame <= 8; ++frame) {
    s.w.Frame();
    if (ranAt < 0 && VarTableGet("E") == 1) ranAt = frame;
  }
  EXPECT_EQ(ranAt, 4);
  EXPECT_EQ(VarTableGet("E"), 1);
  EXPECT_EQ(s.Number("at"), 1.0);
  g_ScriptVars.clear();
}

TEST_F(ScriptBindingsWorld, CollisionFilesGoOnlyToAValidClass) {
  COLLISION_FILE file;
  file.shapes = {SHAPE_RECORD{{{50, -10, 0}, {50, 10, 0}}}};
  ASSERT_TRUE(platform::WriteFileAtomic(Nembra::g_DataDirectory + "Walls.dat", formats::CollisionFileBytes(file)));
  platform::ClearPathCache();
  const CCollisionRegistry& registry = s.w.Level().GetCollision();
  const auto sizes = [&] {
    return std::vector<size_t>{registry.GetStaticShapes(0).size(), registry.GetStaticShapes(1).size(),
                               registry.GetStaticShapes(2).size()};
  };
  std::vector<size_t> expected = sizes();
  ASSERT_TRUE(s.Run("LoadCollision(\"Walls.dat\", 3)\nLoadCollision(\"Walls.dat\", -1)\n"
                    "LoadCollision(\"Walls.dat\", 1e12)"));
  EXPECT_EQ(sizes(), expected);
  ASSERT_TRUE(s.Run("LoadCollision(\"Walls.dat\", COL_PLAYER)"));
  ++expected[2];
  EXPECT_EQ(sizes(), expected);
}

TEST_F(ScriptBindingsWorld, BombsAtAPointAndAtThePlayer) {
  ASSERT_TRUE(s.Run("DetonateBomb(10, 20, 0)"));
  CBomb* bomb = s.w.Level().GetBomb();
  ASSERT_NE(bomb, nullptr);
  EXPECT_EQ(bomb->GetPosition(), D3DXVECTOR3(10, 20, 0));
  EXPECT_EQ(bomb->GetFuse(), 3.0f);
  ASSERT_TRUE(s.Run("DetonateBomb(1/0, 0, 0)"));
  EXPECT_EQ(s.w.Level().GetBomb(), bomb) << "a non-finite place is refused";

  s.w.PlacePlayer(D3DXVECTOR3(300, -200, 0));
  ASSERT_TRUE(s.Run("Level12Explosion()"));
  EXPECT_FALSE(s.w.Player().IsActive());
  bomb = s.w.Level().GetBomb();
  ASSERT_NE(bomb, nullptr);
  EXPECT_EQ(bomb->GetPosition(), D3DXVECTOR3(300, -200, 0));
  EXPECT_EQ(bomb->GetFuse(), 0.0f);
}

TEST_F(ScriptBindingsWorld, RemovingAnAnimatedSpriteGivesBackItsMesh) {
  ASSERT_TRUE(s.Run("AddAnimatedSprite(\"A\", \"Player.X\", 0, 0, 0, 0, \"Idle\", true, \"\")"));
  auto& sprites = s.w.Level().GetAnimatedSprites();
  ASSERT_EQ(sprites.count("A"), 1u);
  Nembra::CSkinnedMesh* mesh = Nembra::g_pSkinnedMeshFactory->Find("Player.X");
  ASSERT_NE(mesh, nullptr);
  const auto count = mesh->GetRefCount();
  ASSERT_NE(sprites.at("A").sprite.GetParent(), nullptr);
  ASSERT_TRUE(s.Run("RemoveSprite(\"A\")"));
  EXPECT_EQ(mesh->GetRefCount(), count) << "RemoveSprite reaches static sprites only";
  ASSERT_TRUE(s.Run("RemoveAnimatedSprite(\"a\")\nRemoveAnimatedSprite(\"A\")\nRemoveAnimatedSprite(\"A\")"));
  EXPECT_EQ(mesh->GetRefCount(), count - 1);
  ASSERT_EQ(sprites.count("A"), 1u) << "the entry stays";
  EXPECT_EQ(sprites.at("A").sprite.GetParent(), nullptr);
}

TEST_F(ScriptBindingsWorld, QueriesAnswerWithTheirDefaults) {
  s.w.Level().GetOpenCloseDoors().emplace_back().SetName("Door1");
  testing::internal::CaptureStderr();
  ASSERT_TRUE(s.Run("lang = GetLanguage()\nobj = GetObjectiveComplete(\"nope\")\n"
                    "nope = IsDoorOpen(\"nope\")\nshut = IsDoorOpen(\"door1\")\nShowDebugMessage(\"hi\")\n"
                    "AddObjective(\"O\", \"key\")\nSetObjectiveComplete(\"O\", true)\n"
                    "done = GetObjectiveComplete(\"O\")\nother = GetObjectiveComplete(\"o\")"));
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(s.Number("lang"), 1.0);
  for (const char* no : {"obj", "nope", "shut", "other"}) EXPECT_FALSE(s.Bool(no)) << no;  // objectives: exact names
  EXPECT_TRUE(s.Bool("done"));
  EXPECT_NE(err.find("Script - Debug Message"), std::string::npos);
  EXPECT_NE(err.find("hi"), std::string::npos);
}

TEST_F(ScriptBindingsWorld, HudCallsReachTheSeam) {
  scripttest::RecordingHud hud;
  s.w.World().SetHud(&hud);
  ASSERT_TRUE(s.Run("GUITurnOnAccessCard(true)\nGUIItemsShow(-4)\nGUIItemsAddOne()\nGUIItemsAddOne()\n"
                    "GUITimerShow(\"T\", 30)\nGUIShowMessage(\"k\", \"Back.png\", 1, 2, 300.7, 1e12)\n"
                    "GUIShowObjectiveComplete()"));
  EXPECT_TRUE(hud.accessCard);
  EXPECT_EQ(hud.items, 2);
  EXPECT_EQ(hud.counterTimer, &s.w.Level().GetTimers().at("T"));
  EXPECT_EQ(hud.counterValue, 30.0f);
  EXPECT_TRUE(hud.messageShown);
  EXPECT_EQ(hud.messageSeconds, 7.0f);
  EXPECT_EQ(hud.background, "Back.png");
  EXPECT_EQ(hud.rect[2], 300);
  EXPECT_EQ(hud.rect[3], 1 << 20) << "held to what an image can have";
  EXPECT_EQ(hud.banners, 1);
  ASSERT_TRUE(s.Run("GUIShowMessageTimer(\"k\", \"\", 0, 0, 1, 1, 0/0)\nGUIHideMessage()"));
  EXPECT_FALSE(hud.messageShown);
  ASSERT_TRUE(s.Run("GUIShowMessageTimer(\"k\", \"\", 0, 0, 1, 1, 2.5)"));
  EXPECT_EQ(hud.messageSeconds, 2.5f);
  s.w.World().SetHud(nullptr);
}

TEST_F(ScriptBindingsWorld, LevelFlagsAndGroupsFollowTheScript) {
  CLevel& level = s.w.Level();
  CEnemyGenerator& g1 = level.GetEnemyGenerators().emplace_back();
  g1.SetGroup("G1");
  CEnemyGenerator& g2 = level.GetEnemyGenerators().emplace_back();
  g2.SetGroup("G2");
  ASSERT_TRUE(s.Run("EnableEnemyGroup(\"G1\", false)\nEnableEnemyGroup(\"g2\", false)\n"
                    "EnableCircuit(true)\nEnableEnemyGenerationRadius(1)\nSetEnemyCount(6.9)\n"
                    "SetInitScript(\"Init.lua\")\nSetFinishScript(nil)"));
  EXPECT_FALSE(g1.IsEnabled());
  EXPECT_TRUE(g2.IsEnabled()) << "groups compare exactly";
  EXPECT_TRUE(level.AreCircuitsEnabled());
  EXPECT_TRUE(level.IsGenerationRadiusOn());
  EXPECT_EQ(level.GetWantedEnemyCount(), 6);
  EXPECT_EQ(level.GetInitScript(), "Init.lua");
  EXPECT_EQ(level.GetFinishScript(), "");
}

TEST_F(ScriptBindingsWorld, CameraRotationSetsBothYawsAndIgnoresNonFiniteAngles) {
  ASSERT_TRUE(s.Run("SetCameraRot(1.25)"));
  EXPECT_FLOAT_EQ(s.w.World().GetCameraYaw(), 1.25f);
  EXPECT_FLOAT_EQ(s.w.World().GetTargetYaw(), 1.25f);
  ASSERT_TRUE(s.Run("SetCameraRot(0/0)\nSetCameraRot(1/0)\nSetCameraRot()"));
  EXPECT_FLOAT_EQ(s.w.World().GetCameraYaw(), 0.0f);  // a missing angle reads 0
  ASSERT_TRUE(s.Run("SetCameraRot(-2)\nSetCameraRot(0/0)"));
  EXPECT_FLOAT_EQ(s.w.World().GetTargetYaw(), -2.0f);
}

}  // namespace
