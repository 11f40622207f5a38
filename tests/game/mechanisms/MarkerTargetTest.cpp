// Pulsing markers (the scripts' billboards and the sockets' flat ones) and
// pop-up targets shot down by the other colour.
#include <cmath>
#include <memory>
#include <set>
#include <vector>

#include "engine/resources/Shader.h"
#include "engine/resources/SkinnedMesh.h"
#include "engine/resources/Texture.h"
#include "game/mechanisms/MechanismsTwoFixture.h"

namespace {

using mechtwo::At;

class MarkerTest : public mechtwo::MechanismsTwoTest {};

TEST_F(MarkerTest, APulseFadesInFiftyFramesToScaleOneAndAHalfThenWaitsFiftyAndStartsAgain) {
  level->AddMarker("M", 100.0f, 0.0f, 0.0f, 60.0f, "MarkerSmall.tga");
  CMarker& marker = level->GetMarkers().at("M");
  Steps(5);
  EXPECT_EQ(marker.GetPulseAlpha(), 255);  // still until switched on
  level->ActivateMarker("M", true);
  int zeroFrame = -1;
  for (int frame = 1; frame <= 60 && zeroFrame < 0; ++frame) {
    Step();
    if (marker.GetPulseAlpha() == 0) zeroFrame = frame;
  }
  EXPECT_EQ(zeroFrame, 50);
  EXPECT_NEAR(marker.GetPulseScale(), 1.5f, 1e-3f);
  EXPECT_EQ(marker.GetEffectColour() >> 24, 0u);
  EXPECT_NEAR(marker.GetEffectSprite().GetScale().x, 1.5f, 1e-3f);
  int restartFrame = -1;
  for (int frame = 1; frame <= 60 && restartFrame < 0; ++frame) {
    Step();
    if (marker.GetPulseAlpha() == 255) restartFrame = frame;
  }
  EXPECT_NEAR(restartFrame, 50, 1);
  Step();
  EXPECT_LT(marker.GetPulseAlpha(), 255);  // the next pulse runs
}

// The texture factors of the frame's draws at the marker's place: the
// steady billboard's first, then the effect copy's (equal distances keep
// the order they were added in).
std::vector<D3DCOLOR> FactorsAt(const platform::headless::RecordingDevice& device, float x) {
  std::vector<D3DCOLOR> factors;
  for (const auto& draw : device.Draws())
    if (std::abs(draw.world._41 - x) < 0.01f && std::abs(draw.world._42) < 0.01f) factors.push_back(draw.textureFactor);
  return factors;
}

TEST_F(MarkerTest, TheCopyIsDrawnWithThePulsingAlphaAsItsTextureFactor) {
  level->AddMarker("M", 100.0f, 0.0f, 0.0f, 60.0f, "MarkerSmall.tga");
  CMarker& marker = level->GetMarkers().at("M");
  level->ActivateMarker("M", true);
  std::vector<int> alphas;
  for (int frame = 1; frame <= 50; ++frame) {
    level->Update();
    Nembra::g_pSceneManager->Update();
    Nembra::g_pSceneManager->Render();
    const std::vector<D3DCOLOR> factors = FactorsAt(*device, 100.0f);
    device->ClearLog();
    ASSERT_EQ(factors.size(), 2u) << frame;
    EXPECT_EQ(factors[0], 0xFFFFFFFFu) << frame;  // the steady one stays whole
    EXPECT_EQ(factors[1] & 0x00FFFFFFu, 0x00FFFFFFu) << frame;
    EXPECT_EQ(factors[1], marker.GetEffectSprite().GetColor()) << frame;
    EXPECT_EQ(static_cast<int>(factors[1] >> 24), marker.GetPulseAlpha()) << frame;
    alphas.push_back(static_cast<int>(factors[1] >> 24));
  }
  // 256 units a second at 0.02 s: 250 after the first frame, about half
  // way at the 25th, none at the 50th, never rising.
  EXPECT_EQ(alphas.front(), 250);
  EXPECT_NEAR(alphas[24], 127, 1);
  EXPECT_EQ(alphas.back(), 0);
  for (size_t i = 1; i < alphas.size(); ++i) EXPECT_LE(alphas[i], alphas[i - 1]) << i;
  // Switched off, the copy is drawn opaque again.
  level->ActivateMarker("M", false);
  level->Update();
  Nembra::g_pSceneManager->Update();
  Nembra::g_pSceneManager->Render();
  EXPECT_EQ(FactorsAt(*device, 100.0f), (std::vector<D3DCOLOR>{0xFFFFFFFFu, 0xFFFFFFFFu}));
  device->ClearLog();
}

TEST_F(MarkerTest, ANameInUseMakesNoSecondMarker) {
  level->AddMarker("M", 100.0f, 0.0f, 0.0f, 60.0f, "MarkerSmall.tga");
  level->AddMarker("M", 900.0f, 0.0f, 0.0f, 10.0f, "MarkerSmall.tga");
  ASSERT_EQ(level->GetMarkers().size(), 1u);
  EXPECT_EQ(level->GetMarkers().at("M").GetPosition().x, 100.0f);
  EXPECT_EQ(level->GetMarkers().at("M").GetRadius(), 120.0f);
}

TEST_F(MarkerTest, SwitchedOffMidPulseTheBillboardCopyIsOpaqueAtScaleOneAndThePlaneCopyKeepsItsLook) {
  level->AddMarker("M", 100.0f, 0.0f, 0.0f, 60.0f, "MarkerSmall.tga");
  CMarker& marker = level->GetMarkers().at("M");
  CPlaneMarker plane;
  plane.Create(0.0f, 0.0f, 30.0f, 70.0f, "MarkerSmall.tga", 0);
  plane.AddToScene();
  marker.Activate(true);
  plane.Activate(true);
  for (int i = 0; i < 20; ++i) {
    Step();
    plane.Step();
  }
  const D3DCOLOR planeColour = plane.GetEffectColour();
  const float planeScale = plane.GetEffectSprite().GetScale().x;
  EXPECT_LT(planeColour >> 24, 255u);
  EXPECT_GT(planeScale, 1.1f);
  marker.Activate(false);
  plane.Activate(false);
  Steps(10);
  for (int i = 0; i < 10; ++i) plane.Step();
  EXPECT_EQ(marker.GetEffectColour(), 0xFFFFFFFFu);
  EXPECT_EQ(marker.GetEffectSprite().GetScale(), D3DXVECTOR3(1.0f, 1.0f, 1.0f));
  EXPECT_EQ(plane.GetEffectColour(), planeColour);
  EXPECT_EQ(plane.GetEffectSprite().GetScale().x, planeScale);
  plane.RemoveFromScene();
}

TEST_F(MarkerTest, TenMarkersHaveTenEffectBlocks) {
  std::set<std::string> names;
  for (int i = 0; i < 10; ++i) {
    const std::string name = "M" + std::to_string(i);
    level->AddMarker(name, 100.0f * static_cast<float>(i), 0.0f, 0.0f, 60.0f, "MarkerSmall.tga");
    names.insert(level->GetMarkers().at(name).GetEffectBlockName());
  }
  EXPECT_EQ(names.size(), 10u);
  EXPECT_EQ(names.begin()->rfind("AUTO_MARKER_EFFECT_SHADER", 0), 0u);
  // Every block of both kinds starts from the transparent default: it
  // blends, additively (source alpha onto one).
  using namespace platform;
  auto image = [] { return Nembra::g_pTextureFactory->Find("MarkerSmall.tga")->GetRefCount(); };
  const uint32_t images = image();
  auto plane = std::make_unique<CPlaneMarker>();
  plane->Create(0.0f, 0.0f, 30.0f, 70.0f, "MarkerSmall.tga", 0);
  const std::string planeBlock = plane->GetEffectBlockName();
  for (const std::string& name : {std::string("AUTO_MARKER_SHADER"), *names.begin(),
                                  std::string("AUTO_PLANE_MARKER_SHADER"), planeBlock}) {
    Nembra::CShader* block = Nembra::g_pShaderFactory->Find(name);
    ASSERT_NE(block, nullptr) << name;
    EXPECT_EQ(block->GetRenderState(D3DRS_ALPHABLENDENABLE).value, 1u) << name;
    EXPECT_EQ(block->GetRenderState(D3DRS_SRCBLEND).value, uint32_t(D3DBLEND_SRCALPHA)) << name;
    EXPECT_EQ(block->GetRenderState(D3DRS_DESTBLEND).value, uint32_t(D3DBLEND_ONE)) << name;
  }
  // A marker holds its image and both blocks until it goes.
  EXPECT_EQ(image(), images + 1);
  plane.reset();
  EXPECT_EQ(image(), images);
  EXPECT_EQ(Nembra::g_pShaderFactory->Find(planeBlock), nullptr);
  EXPECT_EQ(Nembra::g_pShaderFactory->Find("AUTO_PLANE_MARKER_SHADER"), nullptr);
}

class TargetTest : public mechtwo::MechanismsTwoTest {
 protected:
  CTarget& LoadTarget(int32_t colour, int32_t limit) {
    WriteCounter("TargetDown.lua");
    TARGET_RECORD record;
    record.name = "t1";
    record.colour = colour;
    record.hitLimit = limit;
    record.scriptFile = "TargetDown.lua";
    record.pair = At(500.0f, 0.0f);
    ITEMS_FILE file;
    file.targets.push_back(record);
    EXPECT_TRUE(Load(file));
    CTarget& target = level->GetTargets().front();
    mesh = Nembra::g_pSkinnedMeshFactory->Get(colour ? "TargetBlue.X" : "TargetRed.X");
    target.SetMesh(mesh);
    target.LoadResources();
    return target;
  }
  void TearDown() override {
    if (mesh) Nembra::g_pSkinnedMeshFactory->Release(mesh->GetName());
    mechtwo::MechanismsTwoTest::TearDown();
  }
  int Registered(CTarget& t) { return Registrations(&t.GetCollisionBox(0), 0) + Registrations(&t.GetCollisionBox(1), 1); }
  int FramesUntilUp(CTarget& t) {
    for (int frame = 1; frame <= 200; ++frame) {
      Step();
      if (t.GetState() == CTarget::STATE_UP) return frame;
    }
    return -1;
  }
  Nembra::CSkinnedMesh* mesh = nullptr;
};

TEST_F(TargetTest, ATargetIsDownAndUnregisteredUntilItPopsUpThenRegisteredOnce) {
  CTarget& target = LoadTarget(1, 1);
  EXPECT_EQ(target.GetName(), "T1");
  EXPECT_FALSE(target.IsActive());
  EXPECT_FALSE(target.GetSprite().IsVisible());
  EXPECT_EQ(Registered(target), 0);
  Hit(0);
  EXPECT_EQ(target.GetDamage(), 0);
  target.PopUp();
  target.PopUp();
  EXPECT_EQ(target.GetState(), CTarget::STATE_RISING);
  EXPECT_TRUE(target.IsActive());
  EXPECT_EQ(Registered(target), 2);
  EXPECT_GT(FramesUntilUp(target), 0);
  target.PopUp();  // up: nothing changes
  EXPECT_EQ(target.GetState(), CTarget::STATE_UP);
  EXPECT_EQ(Registered(target), 2);
}

TEST_F(TargetTest, LimitFivePowerTwoFallsOnTheThirdOtherColourShotAndTheOwnColourNeverCounts) {
  CTarget& target = LoadTarget(1, 5);
  target.PopUp();
  Hit(0, 2);  // hit while rising
  EXPECT_EQ(target.GetState(), CTarget::STATE_RISING);
  EXPECT_EQ(target.GetDamage(), 2);
  for (int i = 0; i < 4; ++i) Hit(1, 2);
  EXPECT_EQ(target.GetDamage(), 2);
  Hit(0, 2);
  EXPECT_TRUE(target.IsActive());
  Hit(0, 2);
  EXPECT_EQ(target.GetState(), CTarget::STATE_DOWN);
  EXPECT_FALSE(target.IsActive());
  EXPECT_EQ(Registered(target), 0);
  EXPECT_EQ(CountEffects<Nembra::CDoorExplosionEffect>(), 1u);
  EXPECT_EQ(Cues("DoorExplosion.wav"), 1);
  EXPECT_EQ(Count("TargetDown.lua"), 1);
  EXPECT_TRUE(target.IsVanishing());
}

TEST_F(TargetTest, RaisedAgainAfterTheFadeOneHitDownsIt) {
  CTarget& target = LoadTarget(0, 3);
  target.PopUp();
  for (int i = 0; i < 3; ++i) Hit(1);
  ASSERT_EQ(target.GetState(), CTarget::STATE_DOWN);
  Steps(10);  // the fade (2048 a second) is over
  EXPECT_FALSE(target.IsVanishing());
  EXPECT_FALSE(target.GetSprite().IsVisible());
  target.PopUp();
  EXPECT_TRUE(target.GetSprite().IsVisible());
  Hit(1);
  EXPECT_EQ(target.GetState(), CTarget::STATE_DOWN);
  EXPECT_EQ(Count("TargetDown.lua"), 2);
}

TEST_F(TargetTest, RaisedDuringTheFadeItStaysVisible) {
  CTarget& target = LoadTarget(0, 1);
  target.PopUp();
  Hit(1);
  ASSERT_TRUE(target.IsVanishing());
  target.PopUp();
  EXPECT_FALSE(target.IsVanishing());
  Steps(20);
  EXPECT_TRUE(target.GetSprite().IsVisible());
  EXPECT_TRUE(target.IsActive());
}

TEST_F(TargetTest, RestartPutsItDownUnregisteredWithNoDamage) {
  CTarget& target = LoadTarget(0, 5);
  target.PopUp();
  Hit(1, 2);
  level->Restart();
  EXPECT_EQ(target.GetState(), CTarget::STATE_DOWN);
  EXPECT_EQ(target.GetDamage(), 0);
  EXPECT_EQ(Registered(target), 0);
  EXPECT_FALSE(target.GetSprite().IsVisible());
  level->Restart();
  EXPECT_EQ(Registered(target), 0);
}

}  // namespace

// A script raises a target by its name in any case; other names do nothing.
TEST_F(TargetTest, AScriptPopsUpTheTargetItNames) {
  CTarget& target = LoadTarget(0, 1);
  WriteScript("Other.lua", "PopUpTarget('t2')\nPopUpTarget()\nPopUpTarget(1)\n");
  WriteScript("Raise.lua", "PopUpTarget('t1')\n");
  ASSERT_TRUE(g_GameScript.RunFile("Other.lua"));
  EXPECT_FALSE(target.IsActive());
  EXPECT_EQ(Registered(target), 0);
  ASSERT_TRUE(g_GameScript.RunFile("Raise.lua"));
  EXPECT_EQ(target.GetState(), CTarget::STATE_RISING);
  EXPECT_EQ(Registered(target), 2);
}
