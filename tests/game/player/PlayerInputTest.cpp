// The player's input through scripted keys and buttons: walking relative to
// the camera, the shot's direction by the hand, both colours of fire, the
// action, ability, camera and restart keys, and a dead player.
#include <cmath>

#include "engine/resources/SkinnedMesh.h"
#include "engine/scene/Light.h"
#include "engine/scene/SceneManager.h"
#include "frontend/ProfileStore.h"
#include "game/enemies/EnemyScenarioSupport.h"
#include "platform/Input.h"

namespace {

using PlayerInput = enemytest::Scene;
using PlayerInputOwnData = enemytest::WritableScene;
using enemytest::ExpectNear;
using namespace platform;

constexpr float S = 0.70710677f;

// A key let go for a frame, then pressed again for one.
void Repress(scenario::WorldScenario& w, int key) {
  w.Next().KeyUp(key);
  w.Frame();
  w.Next().KeyDown(key);
  w.Frame();
}

// One frame with exactly these movement keys held.
void Hold(scenario::WorldScenario& w, std::initializer_list<int> keys) {
  scenario::FrameInput& in = w.Next();
  for (int k : {DIK_W, DIK_S, DIK_A, DIK_D}) in.KeyUp(k);
  for (int k : keys) in.KeyDown(k);
  w.Frame();
}

TEST_F(PlayerInput, WalksEightWaysRelativeToTheCameraUpWinningOverDownAndLeftOverRight) {
  CPlayer& p = w.Player();
  w.Frame();
  const D3DXVECTOR3 f(-S, S, 0);
  ExpectNear(w.World().GetStoredCameraForward(), f, 1e-5f, "forward at the start yaw");
  struct Case {
    std::initializer_list<int> keys;
    D3DXVECTOR3 m;
    const char* name;
  };
  const Case cases[] = {
      {{DIK_W}, f, "W"},
      {{DIK_W, DIK_A}, {-1, 0, 0}, "W+A"},
      {{DIK_W, DIK_D}, {0, 1, 0}, "W+D"},
      {{DIK_S}, {S, -S, 0}, "S"},
      {{DIK_S, DIK_A}, {0, -1, 0}, "S+A"},
      {{DIK_S, DIK_D}, {1, 0, 0}, "S+D"},
      {{DIK_A}, {-S, -S, 0}, "A"},
      {{DIK_D}, {S, S, 0}, "D"},
      {{DIK_W, DIK_S}, f, "W+S"},
      {{DIK_A, DIK_D}, {-S, -S, 0}, "A+D"},
  };
  for (const Case& c : cases) {
    Hold(w, c.keys);
    EXPECT_TRUE(p.IsMoving()) << c.name;
    ExpectNear(p.GetDirection(), c.m, 1e-5f, c.name);
  }
  // No key: standing, the direction kept.
  const D3DXVECTOR3 last = p.GetDirection();
  Hold(w, {});
  EXPECT_FALSE(p.IsMoving());
  EXPECT_EQ(p.GetDirection(), last);
  // Walking forbidden: the keys do nothing.
  p.SetCanWalk(false);
  Hold(w, {DIK_D});
  EXPECT_FALSE(p.IsMoving());
  EXPECT_EQ(p.GetDirection(), last);
}

TEST_F(PlayerInput, FiftyFramesOfForwardCarryThePlayer550UnitsAlongTheCamera) {
  w.Next().KeyDown(DIK_W);
  w.Run(50);
  const D3DXVECTOR3 p = w.Player().GetPosition();
  EXPECT_NEAR(p.x, -550.0f * S, 0.01f);
  EXPECT_NEAR(p.y, 550.0f * S, 0.01f);
  EXPECT_EQ(p.z, 0.0f);
  // The camera keeps the yaw it started with: forward is still f.
  ExpectNear(w.World().GetStoredCameraForward(), {-S, S, 0}, 1e-5f, "forward");
}

TEST_F(PlayerInput, CloseToTheHandTheShotLeavesThroughTheHandFartherTowardsTheAim) {
  CPlayer& p = w.Player();
  w.PlacePlayer({0, 0, 0}, 0.0f);
  const D3DXVECTOR3 hand = p.GetHand().WorldPosition();
  D3DXVECTOR3 through(hand.x, hand.y, 0.0f);
  D3DXVec3Normalize(&through, &through);
  ASSERT_GT(std::hypot(hand.x, hand.y), 1.0f);

  w.World().FaceAndAim(hand + D3DXVECTOR3(0, 59, 0));
  ExpectNear(p.GetShotDirection(), through, 1e-5f, "59 units");
  w.World().FaceAndAim(hand + D3DXVECTOR3(0, 40, -40));  // 56.6 in space
  ExpectNear(p.GetShotDirection(), through, 1e-5f, "56.6 units");
  w.World().FaceAndAim(hand + D3DXVECTOR3(0, 61, 0));
  ExpectNear(p.GetShotDirection(), {0, 1, 0}, 1e-5f, "61 units");
  w.World().FaceAndAim(hand + D3DXVECTOR3(0, 50, -40));  // 64 in space, 50 on the ground
  ExpectNear(p.GetShotDirection(), {0, 1, 0}, 1e-5f, "64 units");
  // The player faces the aim point.
  w.World().FaceAndAim({-100, 0, 120});
  EXPECT_NEAR(p.GetRotation().z, 3.14159265f, 1e-5f);
}

TEST_F(PlayerInput, BothButtonsFireBlueFirstAndAHeldButtonFiresOnce) {
  CWeapon& weapon = w.Player().GetWeapon();
  auto expectCharges = [&](uint32_t blue, uint32_t red) {
    EXPECT_EQ(weapon.GetCharge(CWeapon::BLUE), blue);
    EXPECT_EQ(weapon.GetCharge(CWeapon::RED), red);
  };
  w.Next().Press(0).Press(1);
  w.Frame();
  expectCharges(99, 99);
  ASSERT_EQ(w.Level().GetBullets().size(), 2u);
  EXPECT_EQ(w.Level().GetBullets().front().GetColour(), uint32_t(CWeapon::BLUE));
  EXPECT_EQ(w.Level().GetBullets().back().GetColour(), uint32_t(CWeapon::RED));
  EXPECT_EQ(w.blueShot.plays, 1);
  EXPECT_EQ(w.redShot.plays, 1);
  w.Run(10);  // still held
  expectCharges(99, 99);
  w.Next().Release(0);
  w.Frame();
  w.Next().Press(0);
  w.Frame();
  expectCharges(98, 99);
}

TEST_F(PlayerInputOwnData, ActionOncePerPressAbilityOnlyWithAFullMeter) {
  ASSERT_TRUE(w.CountActionUses());
  scenario::CountingSound ability;
  w.World().SetAbilitySound(&ability);
  w.Next().KeyDown(DIK_SPACE);
  w.Run(5);
  EXPECT_EQ(w.ActionUses(), 1);
  Repress(w, DIK_SPACE);
  EXPECT_EQ(w.ActionUses(), 2);

  CAbility& meter = w.Player().GetAbility();
  meter.AddCharge(99);
  w.Next().KeyDown(DIK_E);
  w.Frame();
  EXPECT_EQ(ability.plays, 0);
  EXPECT_EQ(meter.GetCharge(), 99u);
  meter.AddCharge(1);
  ASSERT_EQ(meter.GetCharge(), 100u);
  w.Frame();  // held, not pressed
  EXPECT_EQ(ability.plays, 0);
  Repress(w, DIK_E);
  EXPECT_EQ(ability.plays, 1);
  EXPECT_EQ(meter.GetCharge(), 0u);
}

TEST_F(PlayerInputOwnData, TheCameraKeySwitchesTheModeAndSavesItWithTheProfileEachPress) {
  g_ProfileStore = CProfileStore();
  ASSERT_TRUE(g_ProfileStore.CreateProfile(L"Ann", 2));
  g_ProfileStore.m_CurrentProfile = 2;
  const std::string settings = CProfileStore::SettingsFileName(2);
  auto savedType = [&] {
    ProfileRecord record;
    record.inUse = 1;
    record.cameraType = 7;
    record.LoadSettings(settings);
    return record.cameraType;
  };
  ASSERT_TRUE(w.World().GetCameraMode());
  ASSERT_EQ(savedType(), 0u);
  for (bool mode : {false, true, false}) {
    w.Next().KeyDown(DIK_F4);
    w.Frame();
    w.Frame();  // held: no second switch
    EXPECT_EQ(w.World().GetCameraMode(), mode);
    EXPECT_EQ(g_ProfileStore.GetCurrentProfile().cameraType, mode ? 0u : 1u);
    EXPECT_EQ(savedType(), mode ? 0u : 1u);
    w.Next().KeyUp(DIK_F4);
    w.Frame();
  }
  // Applying a profile sets the mode from its type; other types keep it.
  for (const auto& [type, mode] : {std::pair{0u, true}, std::pair{1u, false}, std::pair{2u, false}}) {
    g_ProfileStore.GetCurrentProfile().cameraType = type;
    ApplyCurrentProfile();
    EXPECT_EQ(w.World().GetCameraMode(), mode) << type;
  }
  g_ProfileStore = CProfileStore();
}

TEST_F(PlayerInput, RestartHeldRestartsEveryFrameWithOnePlayerLight) {
  CPlayer& p = w.Player();
  Nembra::CSceneManager& scene = *Nembra::g_pSceneManager;
  w.Frame();
  ASSERT_EQ(scene.GetLights().size(), 1u);
  Nembra::CPointLight* light = w.World().GetPlayerLight();
  ASSERT_NE(light, nullptr);
  w.Next().KeyDown(DIK_F1);
  int restarts = 0;
  for (int i = 0; i < 10; ++i) {
    p.Damage(50.0f, false);
    w.World().SetCameraYaw(1.0f);
    // The init script of a real level loads the player again at each start.
    w.World().LoadPlayer("Player.X", 1, 1, 1, 1);
    w.Frame();
    if (p.GetHealth() == CPlayer::MAX_HEALTH) ++restarts;
  }
  EXPECT_EQ(restarts, 10);
  EXPECT_NEAR(w.World().GetCameraYaw(), CGameWorld::START_YAW, 1e-6f);
  EXPECT_EQ(scene.GetLights().size(), 1u);
  EXPECT_EQ(w.World().GetPlayerLight(), light);
  int listed = 0;
  for (Nembra::CSceneNode* child : scene.GetRoot()->GetChildren()) listed += child == &p;
  EXPECT_EQ(listed, 1);
  ASSERT_NE(p.GetSprite()->GetMesh(), nullptr);
  EXPECT_EQ(p.GetSprite()->GetMesh()->GetRefCount(), 1u) << "loaded again and again, the mesh is held once";
  // Released: no more restarts.
  w.Next().KeyUp(DIK_F1);
  w.Frame();
  p.Damage(50.0f, false);
  w.Frame();
  EXPECT_EQ(p.GetHealth(), 250u);

  // Unloading deletes every light; the world forgets its own and goes on.
  w.Level().Unload();
  EXPECT_EQ(w.World().GetPlayerLight(), nullptr);
  w.Frame();
  w.World().LoadPlayer("Player.X", 1, 0, 0, 1);
  ASSERT_NE(w.World().GetPlayerLight(), nullptr);
  EXPECT_EQ(scene.GetLights().size(), 1u);
  EXPECT_EQ(w.World().GetPlayerLight()->GetRecord().Diffuse.g, 0.0f);
}

TEST(PlayerInputWithoutPlayer, AWorldWhoseLevelNeverLoadedThePlayerRunsWithoutALight) {
  scenario::WorldScenario::Options options;
  options.loadPlayer = false;
  scenario::WorldScenario w(options);
  ASSERT_TRUE(w.Ready());
  EXPECT_EQ(w.World().GetPlayerLight(), nullptr);
  w.Next().KeyDown(DIK_W).MoveTo(600, 100);
  w.Run(5);
  EXPECT_EQ(w.World().GetPlayerLight(), nullptr);
}

TEST_F(PlayerInput, ADeadPlayerTakesNoInputTheCameraStaysAndNoCursorIsDrawn) {
  CPlayer& p = w.Player();
  auto drawWorld = [&] { w.World().Render(); };
  w.Frame(drawWorld);
  ASSERT_EQ(w.Screen().Last().sprites.size(), 1u);
  EXPECT_EQ(w.Screen().Last().sprites[0].left, 400.0f - 8.0f);
  EXPECT_EQ(w.Screen().Last().sprites[0].top, 150.0f - 8.0f);

  p.Deactivate();
  const D3DXVECTOR3 camera = w.Camera().GetPosition();
  const D3DXVECTOR3 target = w.Camera().GetTarget().GetPosition();
  w.Level().GetBullets().emplace_back();
  w.Level().GetBullets().back().Deactivate();
  w.Next().KeyDown(DIK_W).Press(0).Wheel(1).MoveTo(50, 300);
  w.Frame(drawWorld);
  w.Frame(drawWorld);
  EXPECT_TRUE(w.Screen().Last().sprites.empty());
  EXPECT_EQ(p.GetPosition(), D3DXVECTOR3(0, 0, 0));
  EXPECT_EQ(p.GetWeapon().GetCharge(CWeapon::BLUE), 100u);
  EXPECT_EQ(w.Camera().GetPosition(), camera);
  EXPECT_EQ(w.Camera().GetTarget().GetPosition(), target);
  EXPECT_NEAR(w.World().GetTargetYaw(), CGameWorld::START_YAW, 1e-6f);
  // The level went on: the inactive shot was cleared away.
  EXPECT_TRUE(w.Level().GetBullets().empty());
}

}  // namespace
