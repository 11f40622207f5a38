// Pushable blocks: pushed by shots from either end, slowing to a stop,
// stopped short of walls, crushing enemies, opening grates, rolling their
// parts, and back on their track after a restart.
#include "game/enemies/Enemy.h"
#include "game/mechanisms/MechanismFixture.h"

namespace {

using mechtest::At;
using mechtest::Grate;

constexpr float LENGTH = 200.0f;
constexpr float WIDTH = 150.0f;

PUSHABLE_RECORD Block(const D3DXVECTOR3& start, const D3DXVECTOR3& end, float startOffset = 0.0f) {
  PUSHABLE_RECORD block;
  block.meshFile = "Pushable.X";
  block.length = LENGTH;
  block.width = WIDTH;
  block.startOffset = startOffset;
  block.firstName = "BlockA";
  block.secondName = "BlockB";
  block.startPoint = start;
  block.endPoint = end;
  block.partsFile = "Pushable_Parts.txt";
  return block;
}

// An enemy that takes the damage it is dealt and is dying at 0 health.
class CrushableEnemy : public CEnemy {
 public:
  explicit CrushableEnemy(uint32_t health, bool dying = false) {
    m_MaxHealth = m_Health = health;
    m_Dying = dying ? 1 : 0;
    SetRadius(40.0f);
  }
  void Damage(uint32_t amount) override {
    ++hits;
    TakeDamage(amount);
    if (IsDead()) m_Dying = 1;
  }
  int hits = 0;
};

class PushableTest : public mechtest::MechanismTest {
 protected:
  CPushable& LoadOne(const PUSHABLE_RECORD& record) {
    ITEMS_FILE file;
    file.pushables.push_back(record);
    EXPECT_TRUE(Load(file));
    return level->GetPushables().front();
  }
  // A thin wall across x at that x.
  void AddWall(float x) {
    COLLISION_FILE file;
    file.shapes.push_back(formats::ClosedShape({D3DXVECTOR3(x, -500.0f, 0.0f), D3DXVECTOR3(x + 50.0f, -500.0f, 0.0f),
                                                D3DXVECTOR3(x + 50.0f, 500.0f, 0.0f), D3DXVECTOR3(x, 500.0f, 0.0f)}));
    ASSERT_TRUE(level->GetCollision().AddStaticShapes(file, COL_TIGHT));
  }
  // Steps until the block rests (at most 100 frames); the frames taken.
  int SlideOut(CPushable& block) {
    int frames = 0;
    do {
      Step();
      ++frames;
    } while (block.GetSpeed() != 0.0f && frames < 100);
    return frames;
  }
  CrushableEnemy* AddEnemy(const D3DXVECTOR3& at, uint32_t health, bool dying = false) {
    auto* enemy = new CrushableEnemy(health, dying);
    level->GetEnemies().push_back(enemy);
    enemy->SetPosition(at);
    enemy->UpdateWorldMatrix();
    return enemy;
  }
};

TEST_F(PushableTest, AShotFromBehindSlidesItNineUnitsAndOneFromTheFrontBringsItBack) {
  CPushable& block = LoadOne(Block(D3DXVECTOR3(300.0f, 0.0f, 0.0f), D3DXVECTOR3(1300.0f, 0.0f, 0.0f)));
  EXPECT_FLOAT_EQ(block.GetPosition().x, 300.0f);
  EXPECT_EQ(block.GetParts().size(), 2u);
  EXPECT_FLOAT_EQ(block.GetPartHeight(), 30.0f);
  Shoot(0, 1, D3DXVECTOR3(1.0f, 0.0f, 0.0f));
  for (int i = 0; i < 10 && block.GetSpeed() == 0.0f; ++i) Step();
  ASSERT_GT(block.GetSpeed(), 0.0f);
  EXPECT_LT(block.GetAcceleration(), 0.0f);
  const int frames = SlideOut(block);
  EXPECT_NEAR(frames, 30, 1);  // 0.6 s
  EXPECT_NEAR(block.GetPosition().x, 309.0f, 0.05f);
  // The shapes went with it.
  EXPECT_NEAR(block.GetCollisionShape(0).GetBoundsCentre().x, 309.0f + LENGTH / 2, 0.05f);
  EXPECT_NEAR(block.GetFrontShape().GetVertices()[0].x, 309.0f, 0.05f);
  Steps(10);
  EXPECT_NEAR(block.GetPosition().x, 309.0f, 0.05f);  // at rest

  block.PushBackward();
  SlideOut(block);
  EXPECT_NEAR(block.GetPosition().x, 300.0f, 0.05f);
}

TEST_F(PushableTest, AShotOnTheFrontFacePushesItBackward) {
  CPushable& block = LoadOne(Block(D3DXVECTOR3(-600.0f, 0.0f, 0.0f), D3DXVECTOR3(400.0f, 0.0f, 0.0f)));
  Shoot(1, 1, D3DXVECTOR3(-1.0f, 0.0f, 0.0f));
  for (int i = 0; i < 10 && block.GetSpeed() == 0.0f; ++i) Step();
  EXPECT_LT(block.GetSpeed(), 0.0f);
  SlideOut(block);
  EXPECT_NEAR(block.GetPosition().x, -609.0f, 0.05f);
}

TEST_F(PushableTest, WallsStopItShortOfThem) {
  CPushable& block = LoadOne(Block(D3DXVECTOR3(0.0f, 0.0f, 0.0f), D3DXVECTOR3(1000.0f, 0.0f, 0.0f)));
  AddWall(LENGTH + 1.5f);
  block.PushForward();
  Step();
  EXPECT_EQ(block.GetSpeed(), 0.0f);
  EXPECT_EQ(block.GetPosition().x, 0.0f);
  level->Unload();

  // Frames of 0.1 s: the first travel, 3 - 25 x 0.01 = 2.75, sweeps the probes
  // onto the wall 2.5 ahead of them. They lead the front by 1 and the block
  // stops 1 short of the hit: 2 in all.
  CPushable& second = LoadOne(Block(D3DXVECTOR3(0.0f, 0.0f, 0.0f), D3DXVECTOR3(1000.0f, 0.0f, 0.0f)));
  AddWall(LENGTH + 3.5f);
  second.PushForward();
  Nembra::g_FrameTime = 0.1f;
  second.Step();
  Nembra::g_FrameTime = FRAME_TIME;
  EXPECT_EQ(second.GetSpeed(), 0.0f);
  EXPECT_NEAR(LENGTH + 3.5f - (second.GetPosition().x + LENGTH), 2.0f, 0.01f);
}

TEST_F(PushableTest, ItCrushesEnemiesInItsPathButLeavesDyingOnes) {
  CPushable& block = LoadOne(Block(D3DXVECTOR3(0.0f, 0.0f, 0.0f), D3DXVECTOR3(1000.0f, 0.0f, 0.0f)));
  CrushableEnemy* strong = AddEnemy(D3DXVECTOR3(LENGTH + 45.0f, 0.0f, 0.0f), 5000);
  CrushableEnemy* dying = AddEnemy(D3DXVECTOR3(LENGTH + 45.0f, 60.0f, 0.0f), 10, true);
  CrushableEnemy* aside = AddEnemy(D3DXVECTOR3(LENGTH + 45.0f, 400.0f, 0.0f), 10);
  block.PushForward();
  // Step the block alone: the enemies' own steps are no part of this.
  for (int i = 0; i < 30; ++i) block.Step();
  EXPECT_EQ(strong->hits, 1);
  EXPECT_EQ(strong->GetHealth(), 0u);
  EXPECT_EQ(dying->hits, 0);
  EXPECT_EQ(aside->hits, 0);
}

TEST_F(PushableTest, ItOpensAGrateItRunsIntoWithABurstAtTheGrate) {
  ITEMS_FILE file;
  file.pushables.push_back(Block(D3DXVECTOR3(0.0f, 0.0f, 0.0f), D3DXVECTOR3(1000.0f, 0.0f, 0.0f)));
  file.wireGrates.push_back(Grate(At(LENGTH + 75.0f, 0.0f, 0.0f, 1.5707964f)));
  ASSERT_TRUE(Load(file));
  CPushable& block = level->GetPushables().front();
  CWireGrate& grate = level->GetWireGrates().front();
  block.PushForward();
  SlideOut(block);
  EXPECT_FALSE(grate.IsActive());
  const auto bursts = EffectsOf<Nembra::CPushableCollisionEffect>();
  ASSERT_EQ(bursts.size(), 1u);
  EXPECT_FLOAT_EQ(bursts[0]->WorldPosition().x, LENGTH + 75.0f);
}

TEST_F(PushableTest, PartsRollBySpeedTimesFrameTimeOverTheirHeight) {
  CPushable& block = LoadOne(Block(D3DXVECTOR3(0.0f, 0.0f, 0.0f), D3DXVECTOR3(1000.0f, 0.0f, 0.0f)));
  block.PushForward();
  block.Step();
  // After the frame the speed is 30 - 50 x 0.02 = 29.
  const float expected = 29.0f * 0.02f / 30.0f * 100.0f;
  ASSERT_EQ(block.GetParts().size(), 2u);
  for (Nembra::CStatic3DSprite& part : block.GetParts()) {
    EXPECT_NEAR(part.GetRotation().x, expected, 1e-4f);
    EXPECT_EQ(part.GetRotation().y, 0.0f);
    EXPECT_FLOAT_EQ(part.GetPosition().z, 30.0f);
  }
}

TEST_F(PushableTest, ARestartPutsItBackWithTheSameRegisteredShapes) {
  CPushable& block = LoadOne(Block(D3DXVECTOR3(0.0f, 0.0f, 0.0f), D3DXVECTOR3(0.0f, 1000.0f, 0.0f), 100.0f));
  EXPECT_FLOAT_EQ(block.GetPosition().y, 100.0f);
  EXPECT_NEAR(block.GetRotation().z, 1.5707964f, 1e-5f);
  const auto tight = ShapeList(COL_TIGHT), character = ShapeList(COL_CHARACTER);
  const auto vertices = block.GetCollisionShape(1).GetVertices();
  ASSERT_EQ(vertices.size(), 5u);
  // The grown outline: 60 beyond each end and each side.
  EXPECT_NEAR(block.GetCollisionShape(1).GetBoundsCentre().y, 100.0f + LENGTH / 2, 1e-3f);
  block.PushForward();
  SlideOut(block);
  EXPECT_NEAR(block.GetPosition().y, 109.0f, 0.05f);
  level->Restart();
  EXPECT_FLOAT_EQ(block.GetPosition().y, 100.0f);
  EXPECT_EQ(block.GetSpeed(), 0.0f);
  EXPECT_EQ(ShapeList(COL_TIGHT), tight);
  EXPECT_EQ(ShapeList(COL_CHARACTER), character);
  for (size_t i = 0; i < vertices.size(); ++i) {
    EXPECT_NEAR(block.GetCollisionShape(1).GetVertices()[i].x, vertices[i].x, 1e-3f);
    EXPECT_NEAR(block.GetCollisionShape(1).GetVertices()[i].y, vertices[i].y, 1e-3f);
  }
}

}  // namespace
