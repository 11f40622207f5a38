// The generated characters as the game's code uses them: each loads; its sets
// carry the names, lengths, ticks and key frames the code waits for; the bones
// the code attaches to stand where the fighting needs them; every set moves.
#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <vector>

#include "assets/AssetTestSupport.h"
#include "engine/resources/SkinnedMesh.h"
#include "engine/scene/Animated3DSprite.h"

using namespace Nembra;

namespace {

struct ExpectedSet {
  const char* name;
  double seconds;  // 0: any length
  bool once;
  std::vector<float> keys;  // callback key times, ticks
};

struct ExpectedCharacter {
  const char* file;
  float radius;  // collision radius the code gives the character (after its scaling)
  float scale;   // the code's scaling of the model
  std::vector<ExpectedSet> sets;
  std::vector<const char*> bones;
};

const std::vector<ExpectedSet> CLAW_SETS = {{"Ene1Reposo", 0, false, {}}, {"Ene1CaminarAdelante", 0, false, {}},
                                            {"Ene1Golpe1", 0.6, true, {700, 1800}}, {"Ene1Golpe2", 0.6, true, {}}};
const std::vector<ExpectedSet> COCOON_SETS = {{"Ene2Quieto", 0, false, {}}, {"Ene2Golpe1", 1.0, false, {1000}},
                                              {"Ene2DesMutarCapullo", 0, true, {}}, {"Ene2MutarCapullo", 0, true, {}}};
const std::vector<ExpectedSet> SHOOTER_SETS = {
    {"Ene3Reposo", 0, false, {}}, {"Ene3CaminarAdelante", 0, false, {}}, {"Ene3Golpe1", 1.0, true, {0}}};
const std::vector<ExpectedSet> BEAM_SETS = {
    {"Ene8Reposo", 0, false, {}}, {"Ene8CaminarAdelante", 0, false, {}}, {"Ene8Golpe1", 0.5, true, {300}}};
const std::vector<ExpectedSet> HORN_SETS = {{"Ene6Reposo", 0, false, {}}, {"Ene6CaminarAdelante", 0, false, {}},
                                            {"Ene6GolpeCuerno", 0.6, true, {1400}},
                                            {"Ene6GolpeEscupir", 0.8, true, {2200}}};
const std::vector<ExpectedSet> FIRST_BOSS_SETS = {
    {"Ene3Reposo", 0, false, {}},           {"Reposo", 0, false, {}},
    {"CaminarAdelante", 0, false, {}},      {"DisparoIzquierdo", 1.0, true, {3000}},
    {"DisparoDerecho", 1.0, true, {3000}},  {"Habilidad", 4.0, true, {17000}}};
const std::vector<ExpectedSet> SECOND_BOSS_SETS = {
    {"Reposo", 0, false, {}}, {"Bola", 1.0, true, {0}}, {"Laser", 1.0, true, {0}}};

const std::vector<ExpectedCharacter>& Characters() {
  static const std::vector<ExpectedCharacter> all = {
      {"Player.X", 50, 1,
       {{"ParadoDisparando", 0, false, {}}, {"CorrerAdelante", 0, false, {}}, {"CorrerIzquierda", 0, false, {}},
        {"CorrerAtras", 0, false, {}}, {"CorrerDerecha", 0, false, {}}, {"Muerte", 0, true, {}}},
       {"Ayudante"}},
      {"Ene1CompletoRojo.X", 50, 1, CLAW_SETS, {"Bip01_R_Hand", "Bip01_L_Hand"}},
      {"Ene1CompletoAzul.X", 50, 1, CLAW_SETS, {"Bip01_R_Hand", "Bip01_L_Hand"}},
      {"Ene7CompletoRojo.X", 50, 1, CLAW_SETS, {"Bip01_R_Hand", "Bip01_L_Hand"}},
      {"Ene7CompletoAzul.X", 50, 1, CLAW_SETS, {"Bip01_R_Hand", "Bip01_L_Hand"}},
      {"Ene2CompletoRojo.X", 80, 1, COCOON_SETS, {"Mano_Derecha", "Mano_Izquierda", "Ombligo"}},
      {"Ene2CompletoAzul.X", 80, 1, COCOON_SETS, {"Mano_Derecha", "Mano_Izquierda", "Ombligo"}},
      {"Ene3CompletoRojo.X", 100, 1, SHOOTER_SETS, {"Bip01_R_Finger0"}},
      {"Ene3CompletoAzul.X", 100, 1, SHOOTER_SETS, {"Bip01_R_Finger0"}},
      {"Ene8CompletoRojo.X", 100, 1.3f, BEAM_SETS, {"Ayudante"}},
      {"Ene8CompletoAzul.X", 100, 1.3f, BEAM_SETS, {"Ayudante"}},
      {"Ene6CompletoRojo.X", 70, 1, HORN_SETS, {"Boca", "Cuerno"}},
      {"Ene6CompletoAzul.X", 70, 1, HORN_SETS, {"Boca", "Cuerno"}},
      {"IntermedioCompletoRojo.X", 100, 1, FIRST_BOSS_SETS, {"Bip01_L_Hand", "Bip01_R_Hand"}},
      {"IntermedioCompletoAzul.X", 100, 1, FIRST_BOSS_SETS, {"Bip01_L_Hand", "Bip01_R_Hand"}},
      {"FinalCompletoRojo.X", 280, 2, SECOND_BOSS_SETS, {"Bip01_Ponytail2", "Ayudante_01", "Ayudante_02"}},
      {"FinalCompletoAzul.X", 280, 2, SECOND_BOSS_SETS, {"Bip01_Ponytail2", "Ayudante_01", "Ayudante_02"}},
      {"Splat.X", 0, 1, {{"Spread", 1.0, true, {}}}, {}},
  };
  return all;
}

struct Counter : platform::ID3DXAnimationCallbackHandler {
  std::vector<void*> calls;
  platform::HRESULT HandleCallback(uint32_t, void* data) override {
    calls.push_back(data);
    return platform::S_OK;
  }
};

class CharacterFiles : public assettest::DemoAssetTest {
 protected:
  void TearDown() override {
    g_FrameTime = m_SavedFrameTime;
    DemoAssetTest::TearDown();
  }
  CSkinnedMesh* Load(const char* file) {
    CSkinnedMesh* mesh = g_pSkinnedMeshFactory->Get(file);
    return mesh == g_pSkinnedMeshFactory->GetDefault() ? nullptr : mesh;
  }
  // One frame as the renderer runs it.
  void Frame(CAnimated3DSprite& s, float dt) {
    g_FrameTime = dt;
    s.UpdateTime();
    s.AdvanceAndPose();
  }
  // Where a bone stands `seconds` into a set (model space).
  // With `local`, a point held by the bone at that offset from it.
  D3DXVECTOR3 BoneAt(CAnimated3DSprite& s, const char* set, bool loop, double seconds, const char* bone,
                     const D3DXVECTOR3& local = D3DXVECTOR3(0, 0, 0)) {
    s.SetAnimation(set, loop);
    Frame(s, static_cast<float>(seconds));
    const D3DXMATRIX* m = s.GetBoneMatrix(bone);
    EXPECT_NE(m, nullptr) << bone;
    D3DXVECTOR3 out(0, 0, 0);
    if (m) D3DXVec3TransformCoord(&out, &local, m);
    return out;
  }
  float m_SavedFrameTime = g_FrameTime;
};

}  // namespace

TEST_F(CharacterFiles, SetsHaveTheirNamesLengthsTicksAndKeyFrames) {
  for (const ExpectedCharacter& c : Characters()) {
    SCOPED_TRACE(c.file);
    CSkinnedMesh* mesh = Load(c.file);
    ASSERT_NE(mesh, nullptr);
    EXPECT_FALSE(mesh->IsTransparent());
    platform::ID3DXAnimationController* controller = mesh->GetAnimationController();
    ASSERT_NE(controller, nullptr);
    EXPECT_EQ(controller->GetNumAnimationSets(), c.sets.size());
    for (const ExpectedSet& want : c.sets) {
      SCOPED_TRACE(want.name);
      platform::ID3DXAnimationSet* set = nullptr;
      ASSERT_EQ(controller->GetAnimationSetByName(want.name, &set), platform::S_OK);
      EXPECT_EQ(set->GetSourceTicksPerSecond(), 4800.0);
      const double period = set->GetPeriod();
      EXPECT_GT(period, 0.2);
      EXPECT_LT(period, 5.0);
      if (want.seconds > 0) {
        EXPECT_NEAR(period, want.seconds, 1e-6);
      }
      for (float key : want.keys) {
        // A one-shot set runs on past its last key; a looping one reaches it.
        if (want.once)
          EXPECT_LT(key, period * 4800.0) << key;
        else
          EXPECT_LE(key, period * 4800.0) << key;
        bool keyFrame = false;
        for (const platform::AnimationChannel& channel : set->Keys()->Channels)
          for (const auto& rotation : channel.Rotation) keyFrame |= rotation.first == key;
        EXPECT_TRUE(keyFrame) << "a key frame at " << key;
      }
      set->Release();
    }
    for (const char* bone : c.bones) EXPECT_NE(mesh->FindFrame(bone), nullptr) << bone;
  }
}

TEST_F(CharacterFiles, FootprintMatchesTheCollisionRadius) {
  for (const ExpectedCharacter& c : Characters()) {
    if (c.radius <= 0) continue;
    SCOPED_TRACE(c.file);
    CSkinnedMesh* mesh = Load(c.file);
    ASSERT_NE(mesh, nullptr);
    // The bind pose's sphere, as the code scales the model: about the
    // body the collision sphere stands for, with head and limbs.
    const float sphere = mesh->GetBoundingSphereRadius() * c.scale;
    EXPECT_GT(sphere, c.radius * 0.8f);
    EXPECT_LT(sphere, c.radius * 2.6f);
  }
}

TEST_F(CharacterFiles, CallbackKeysFireOncePerPass) {
  for (const ExpectedCharacter& c : Characters()) {
    SCOPED_TRACE(c.file);
    CSkinnedMesh* mesh = Load(c.file);
    ASSERT_NE(mesh, nullptr);
    for (const ExpectedSet& want : c.sets) {
      if (want.keys.empty()) continue;
      SCOPED_TRACE(want.name);
      CAnimated3DSprite sprite;
      sprite.SetMesh(mesh);
      Counter counter;
      sprite.m_pCallbackHandler = &counter;
      std::vector<platform::D3DXKEY_CALLBACK> keys;
      int marks[8] = {};
      for (size_t i = 0; i < want.keys.size(); ++i) keys.push_back({want.keys[i], &marks[i]});
      sprite.SetAnimationCallbacks(want.name, keys);
      sprite.SetAnimation(want.name, !want.once);
      // A one-shot set played to its end and beyond; a looping set for
      // just under one pass.
      const int frames = want.once ? static_cast<int>(want.seconds / 0.02) + 20 : static_cast<int>(want.seconds / 0.02) - 1;
      for (int f = 0; f < frames; ++f) Frame(sprite, 0.02f);
      ASSERT_EQ(counter.calls.size(), want.keys.size());
      for (size_t i = 0; i < want.keys.size(); ++i) EXPECT_EQ(counter.calls[i], &marks[i]);
      EXPECT_TRUE(!want.once || sprite.IsFinished()) << "a one-shot set ends";
    }
  }
}

TEST_F(CharacterFiles, StrikingHandsHornAndMouthStandWhereTheBlowsLand) {
  for (const char* file : {"Ene1CompletoRojo.X", "Ene1CompletoAzul.X", "Ene7CompletoRojo.X", "Ene7CompletoAzul.X"}) {
    SCOPED_TRACE(file);
    CAnimated3DSprite sprite;
    sprite.SetMesh(Load(file));
    for (const char* set : {"Ene1Golpe1", "Ene1Golpe2"})
      for (double t : {0.0, 0.146, 0.3, 0.375, 0.59}) {
        SCOPED_TRACE(std::string(set) + " at " + std::to_string(t));
        const D3DXVECTOR3 right = BoneAt(sprite, set, false, t, "Bip01_R_Hand");
        const D3DXVECTOR3 left = BoneAt(sprite, set, false, t, "Bip01_L_Hand");
        for (const D3DXVECTOR3& hand : {right, left}) {
          EXPECT_NEAR(hand.x, 120.0f, 12.0f);
          EXPECT_NEAR(hand.z, 100.0f, 12.0f);
        }
        EXPECT_LT(right.y, -10.0f);
        EXPECT_GT(left.y, 10.0f);
      }
  }
  for (const char* file : {"Ene6CompletoRojo.X", "Ene6CompletoAzul.X"}) {
    SCOPED_TRACE(file);
    CAnimated3DSprite sprite;
    sprite.SetMesh(Load(file));
    for (double t : {0.0, 0.15, 0.2917, 0.45, 0.6}) {
      const D3DXVECTOR3 horn = BoneAt(sprite, "Ene6GolpeCuerno", false, t, "Cuerno");
      EXPECT_NEAR(horn.x, 100.0f, 16.0f) << t;
      EXPECT_NEAR(horn.y, 0.0f, 1.0f) << t;
      EXPECT_NEAR(horn.z, 100.0f, 12.0f) << t;
    }
    const D3DXVECTOR3 mouth = BoneAt(sprite, "Ene6Reposo", true, 0.0, "Boca");
    EXPECT_GT(mouth.x, 60.0f);
    EXPECT_NEAR(mouth.z, 120.0f, 5.0f);
  }
}

TEST_F(CharacterFiles, MuzzlesAndHandsSitWhereShotsLeave) {
  CAnimated3DSprite player;
  player.SetMesh(Load("Player.X"));
  for (const char* set : {"ParadoDisparando", "CorrerAdelante", "CorrerIzquierda", "CorrerAtras", "CorrerDerecha"}) {
    const D3DXVECTOR3 hand = BoneAt(player, set, true, 0.2, "Ayudante");
    EXPECT_LT(hand.y, -15.0f) << set << ": the right hand";
    EXPECT_GT(hand.x, 30.0f) << set << ": held ahead";
    EXPECT_GT(hand.z, 100.0f) << set;
  }
  EXPECT_LT(BoneAt(player, "Muerte", false, 2.0, "Head").z, 60.0f) << "lying on the floor";

  CAnimated3DSprite cocoon;
  cocoon.SetMesh(Load("Ene2CompletoRojo.X"));
  const char* nodes[3] = {"Mano_Derecha", "Mano_Izquierda", "Ombligo"};
  D3DXVECTOR3 at[3];
  for (int i = 0; i < 3; ++i) {
    at[i] = BoneAt(cocoon, "Ene2Golpe1", true, 1000.0 / 4800.0, nodes[i]);
    EXPECT_GT(std::hypot(at[i].x, at[i].y), 40.0f) << nodes[i] << ": off the centre";
  }
  for (int i = 0; i < 3; ++i)
    for (int j = i + 1; j < 3; ++j)
      EXPECT_GT(std::hypot(at[i].x - at[j].x, at[i].y - at[j].y), 40.0f) << nodes[i] << " " << nodes[j];
  EXPECT_LT(at[0].y, 0.0f);
  EXPECT_GT(at[1].y, 0.0f);

  for (const char* file : {"Ene3CompletoRojo.X", "Ene8CompletoAzul.X"}) {
    CAnimated3DSprite shooter;
    shooter.SetMesh(Load(file));
    const char* set = file[3] == '3' ? "Ene3Golpe1" : "Ene8Golpe1";
    const char* bone = file[3] == '3' ? "Bip01_R_Finger0" : "Ayudante";
    const D3DXVECTOR3 muzzle = BoneAt(shooter, set, false, file[3] == '3' ? 0.0 : 300.0 / 4800.0, bone);
    EXPECT_GT(muzzle.x, 40.0f) << file << ": the gun points ahead when it fires";
    EXPECT_GT(muzzle.z, 40.0f) << file;
  }

  CAnimated3DSprite first;
  first.SetMesh(Load("IntermedioCompletoAzul.X"));
  EXPECT_GT(BoneAt(first, "Ene3Reposo", true, 0.5, "Bip01_L_Hand").y, 50.0f);
  EXPECT_LT(BoneAt(first, "Ene3Reposo", true, 0.5, "Bip01_R_Hand").y, -50.0f);
  EXPECT_GT(BoneAt(first, "DisparoIzquierdo", false, 0.625, "Bip01_L_Hand").x, 60.0f) << "pointing ahead";
  EXPECT_GT(BoneAt(first, "DisparoDerecho", false, 0.625, "Bip01_R_Hand").x, 60.0f) << "pointing ahead";

  CAnimated3DSprite second;
  second.SetMesh(Load("FinalCompletoRojo.X"));
  const D3DXVECTOR3 tail = BoneAt(second, "Reposo", true, 0.3, "Bip01_Ponytail2");
  EXPECT_LT(tail.x, 0.0f);
  EXPECT_GT(tail.z, 200.0f);
  const D3DXVECTOR3 laser1 = BoneAt(second, "Laser", false, 0.0, "Ayudante_01");
  const D3DXVECTOR3 laser2 = BoneAt(second, "Laser", false, 0.0, "Ayudante_02");
  EXPECT_GT(laser1.y, 80.0f);
  EXPECT_LT(laser2.y, -80.0f);
  EXPECT_GT(laser1.x, 40.0f);
}

TEST_F(CharacterFiles, EverySetMovesTheFigureDifferently) {
  for (const ExpectedCharacter& c : Characters()) {
    SCOPED_TRACE(c.file);
    CSkinnedMesh* mesh = Load(c.file);
    ASSERT_NE(mesh, nullptr);
    CAnimated3DSprite sprite;
    sprite.SetMesh(mesh);
    // Every frame's place at two moments of each set.
    std::vector<std::string> frames;
    std::vector<std::vector<D3DXVECTOR3>> poses;
    std::function<void(const platform::D3DXFRAME*)> collect = [&](const platform::D3DXFRAME* f) {
      for (; f; f = f->pFrameSibling) {
        if (f->Name) frames.push_back(f->Name);
        collect(f->pFrameFirstChild);
      }
    };
    collect(mesh->GetRootFrame());
    for (const ExpectedSet& want : c.sets) {
      platform::ID3DXAnimationSet* set = nullptr;
      ASSERT_EQ(mesh->GetAnimationController()->GetAnimationSetByName(want.name, &set), platform::S_OK);
      const double period = set->GetPeriod();
      set->Release();
      std::vector<D3DXVECTOR3> pose;
      // A point a little off each bone shows turns and scaling too.
      for (double at : {0.25, 0.5})
        for (const std::string& frame : frames)
          pose.push_back(BoneAt(sprite, want.name, !want.once, period * at, frame.c_str(), D3DXVECTOR3(20, 20, 20)));
      // Within the set something moves.
      float within = 0;
      for (size_t i = 0; i < frames.size(); ++i) {
        const D3DXVECTOR3 d = pose[i] - pose[i + frames.size()];
        within = std::max(within, D3DXVec3Length(&d));
      }
      EXPECT_GT(within, 3.0f) << want.name << " moves";
      poses.push_back(pose);
    }
    for (size_t a = 0; a < poses.size(); ++a)
      for (size_t b = a + 1; b < poses.size(); ++b) {
        float apart = 0;
        for (size_t i = 0; i < poses[a].size(); ++i) {
          const D3DXVECTOR3 d = poses[a][i] - poses[b][i];
          apart = std::max(apart, D3DXVec3Length(&d));
        }
        EXPECT_GT(apart, 5.0f) << c.sets[a].name << " and " << c.sets[b].name;
      }
  }
}
