// Entities in the scene: their visuals coming and going with them, missing
// meshes and emitters, the active flag, the world matrix and the sphere test.
#include <memory>
#include <type_traits>

#include "engine/particles/ParticleEmitter.h"
#include "game/actors/Entity.h"
#include "game/actors/EntitySceneFixture.h"
#include "game/actors/Movement.h"

using entitytest::EntitySceneTest;
using entitytest::IsListedUnder;
using Nembra::CSceneNode;

static_assert(!std::is_copy_constructible_v<CEntity> && !std::is_copy_assignable_v<CEntity>,
              "entities own their visuals and are built in place");
static_assert(!std::is_copy_constructible_v<CStaticSpriteMovingEntity>, "visual kinds are not copied either");

namespace {

// A point emitter that emits nothing and stops after `duration` seconds.
Nembra::CParticleEmitter* QuietEmitter(float duration) {
  Nembra::CParticleEmitter* emitter = Nembra::MakeParticleEmitter(Nembra::EMITTER_POINT).release();
  Nembra::EMITTER_PARAMS params;
  params.duration = duration;
  params.emissionRate = 0.0f;
  emitter->SetParams(params);
  emitter->InitPool();
  return emitter;
}

// Adds the entity under the parent, takes it out and adds it again; the
// visual must be under the entity whenever the entity is in the scene.
template <class Entity>
void CheckVisualComesBack(Entity& entity, CSceneNode& visual, CSceneNode* parent, bool visualLeavesFirst) {
  SCOPED_TRACE(typeid(Entity).name());
  CSceneNode* expectedParent = parent ? parent : Nembra::g_pSceneManager->GetRoot();
  for (int round = 0; round < 2; ++round) {
    entity.AddToScene(parent);
    EXPECT_EQ(entity.GetParent(), expectedParent);
    EXPECT_TRUE(IsListedUnder(entity, expectedParent));
    EXPECT_EQ(visual.GetParent(), &entity);
    ASSERT_EQ(entity.GetChildren().size(), 1u);
    EXPECT_EQ(entity.GetChildren().front(), &visual);

    entity.RemoveFromScene();
    EXPECT_EQ(entity.GetParent(), nullptr);
    EXPECT_FALSE(IsListedUnder(entity, expectedParent));
    EXPECT_TRUE(entity.GetChildren().empty());
    // Kinds that take their visual out first leave it without parent; the
    // others leave it pointing at the entity, out of every child list.
    EXPECT_EQ(visual.GetParent(), visualLeavesFirst ? nullptr : &entity);
  }
}

}  // namespace

using EntityScene = EntitySceneTest;

TEST_F(EntityScene, EveryVisualKindGetsItsVisualBackWhenAddedAgain) {
  CSceneNode holder;
  Nembra::g_pSceneManager->AddNode(&holder);
  for (CSceneNode* parent : {static_cast<CSceneNode*>(nullptr), &holder}) {
    CStaticSpriteEntity fixedSprite;
    CheckVisualComesBack(fixedSprite, fixedSprite.GetSprite(), parent, true);
    CAnimatedSpriteEntity fixedAnimated;
    CheckVisualComesBack(fixedAnimated, fixedAnimated.GetSprite(), parent, false);
    CParticleSystemEntity fixedParticles;
    fixedParticles.SetEmitter(QuietEmitter(1.0f));
    CheckVisualComesBack(fixedParticles, *fixedParticles.GetEmitter(), parent, true);
    CStaticSpriteMovingEntity movingSprite;
    CheckVisualComesBack(movingSprite, movingSprite.GetSprite(), parent, true);
    CAnimatedSpriteMovingEntity movingAnimated;
    ASSERT_NE(movingAnimated.GetSprite(), nullptr);
    CheckVisualComesBack(movingAnimated, *movingAnimated.GetSprite(), parent, false);
    CParticleSystemMovingEntity movingParticles;
    movingParticles.SetEmitter(QuietEmitter(1.0f));
    CheckVisualComesBack(movingParticles, *movingParticles.GetEmitter(), parent, true);
  }
  // A visual kind destroyed while in the scene leaves nothing behind in it.
  {
    CParticleSystemMovingEntity inScene;
    inScene.SetEmitter(QuietEmitter(1.0f));
    inScene.AddToScene(&holder);
    CStaticSpriteEntity alsoInScene;
    alsoInScene.AddToScene(&holder);
    EXPECT_EQ(holder.GetChildren().size(), 2u);
    Frame();
  }
  EXPECT_TRUE(holder.GetChildren().empty());
  Frame();
}

TEST_F(EntityScene, MeshlessAndSpritelessKindsReportFailureAndStayUsable) {
  CStaticSpriteEntity fixedSprite;
  EXPECT_FALSE(fixedSprite.SetMesh(nullptr));
  CAnimatedSpriteEntity fixedAnimated;
  EXPECT_FALSE(fixedAnimated.SetMesh(nullptr));

  CAnimatedSpriteMovingEntity moving;
  Nembra::CAnimated3DSprite* first = moving.GetSprite();
  ASSERT_NE(first, nullptr);
  EXPECT_FLOAT_EQ(first->GetBoundingSphere().radius, 100.0f);  // a default sprite
  EXPECT_FALSE(moving.SetMesh(nullptr));
  moving.DestroySprite();
  EXPECT_EQ(moving.GetSprite(), nullptr);
  EXPECT_FALSE(moving.SetMesh(nullptr));
  moving.AddToScene();  // the entity alone
  EXPECT_TRUE(moving.GetChildren().empty());
  moving.CreateSprite();
  moving.AddSpriteToScene();
  EXPECT_EQ(moving.GetSprite()->GetParent(), &moving);
  Frame();
  moving.RemoveFromScene();
}

TEST_F(EntityScene, ParticleEntityWithoutEmitterIsHandledAndFinishesAtOnce) {
  auto effect = std::make_unique<CParticleSystemEntity>();
  EXPECT_EQ(effect->GetEmitter(), nullptr);
  EXPECT_FALSE(effect->CreateEmitter("Missing.pfx"));
  EXPECT_EQ(effect->GetEmitter(), nullptr);
  EXPECT_TRUE(effect->IsActive());
  effect->AddToScene();
  EXPECT_EQ(effect->GetParent(), Root());
  EXPECT_TRUE(effect->GetChildren().empty());
  Frame();
  effect->StepEffect();
  EXPECT_FALSE(effect->IsActive());
  effect->RemoveFromScene();
  EXPECT_EQ(effect->GetParent(), nullptr);
  effect.reset();
  EXPECT_EQ(Root()->GetChildren().size(), 2u);  // the camera and its target only

  CParticleSystemMovingEntity moving;
  moving.AddToScene();
  moving.Step();
  moving.RemoveFromScene();
}

TEST_F(EntityScene, ParticleEffectStaysActiveUntilItsEmitterHasFinished) {
  CParticleSystemEntity effect;
  effect.SetEmitter(QuietEmitter(0.09f));  // stops past 0.09 s, with no particle left
  effect.AddToScene();
  int frames = 0;
  while (effect.IsActive() && frames < 100) {
    effect.StepEffect();
    Frame();  // the scene pass runs the emitter
    ++frames;
  }
  // Emission stops in the fifth simulated frame (0.1 s); the step after it
  // sees the finished flag.
  EXPECT_EQ(frames, 6);
  EXPECT_TRUE(effect.GetEmitter()->IsFinished());
  effect.RemoveFromScene();

  // A new emitter given while in the scene goes under the entity at once.
  CParticleSystemEntity swapped;
  swapped.AddToScene();
  swapped.SetEmitter(QuietEmitter(1.0f));
  EXPECT_EQ(swapped.GetEmitter()->GetParent(), &swapped);
  swapped.SetEmitter(nullptr);
  EXPECT_TRUE(swapped.GetChildren().empty());
}

TEST_F(EntityScene, ActiveFlagAndDeactivate) {
  CEntity entity;
  EXPECT_TRUE(entity.IsActive());
  entity.Deactivate();
  EXPECT_FALSE(entity.IsActive());
  entity.AddToScene();
  EXPECT_EQ(entity.GetParent(), Root());  // deactivating removes nothing
  entity.Deactivate();
  EXPECT_EQ(entity.GetParent(), Root());
  entity.RemoveFromScene();
}

TEST_F(EntityScene, StepRefreshesTheWorldMatrix) {
  CSceneNode parent;
  parent.SetPosition(100.0f, 0.0f, 0.0f);
  CEntity entity;
  Nembra::g_pSceneManager->AddNode(&parent);
  entity.AddToScene(&parent);
  entity.SetPosition(-40.0f, 5.0f, 0.0f);
  EXPECT_EQ(entity.WorldPosition(), D3DXVECTOR3(100.0f, 0.0f, 0.0f));  // not yet
  entity.Step();
  EXPECT_EQ(entity.WorldPosition(), D3DXVECTOR3(60.0f, 5.0f, 0.0f));
  EXPECT_EQ(entity.GetWorldPosition(), entity.WorldPosition());
}

// Collide is pure geometry: no scene needed.
TEST(EntityCollide, ZeroLengthMoveTouchesExactlyWhenTheSpheresOverlap) {
  CEntity target;
  target.SetRadius(20.0f);
  target.SetPosition(60.0f, 0.0f, 0.0f);
  target.Step();

  const D3DXVECTOR3 untouched(-1.0f, -2.0f, -3.0f);
  struct Case {
    float x;
    bool contact;
  };
  // Sum of radii 30: centres 29.99 apart overlap, 30 apart only touch.
  for (const Case& c : {Case{31.0f, true}, Case{30.01f, true}, Case{30.0f, false}, Case{29.0f, false},
                        Case{60.0f, true}, Case{100.0f, false}}) {
    SCOPED_TRACE(c.x);
    const D3DXVECTOR3 at(c.x, 0.0f, 0.0f);
    D3DXVECTOR3 hit = untouched;
    float distanceSquared = -5.0f;
    EXPECT_EQ(target.Collide(at, at, 10.0f, hit, distanceSquared), c.contact);
    if (c.contact) {
      EXPECT_EQ(distanceSquared, 0.0f);
      EXPECT_EQ(hit, at);
    } else {
      EXPECT_EQ(hit, untouched);
      EXPECT_EQ(distanceSquared, -5.0f);
    }
  }
}

TEST(EntityCollide, SweptContactIsMeasuredFromTheStart) {
  // The target's world position comes through its parent.
  CSceneNode parent;
  parent.SetPosition(100.0f, 0.0f, 0.0f);
  parent.UpdateWorldMatrix();
  CEntity target;
  parent.AddChild(&target);
  target.SetRadius(20.0f);
  target.GetBoundingSphere().center = D3DXVECTOR3(0.0f, 0.0f, 500.0f);  // plays no part
  target.SetPosition(-40.0f, 0.0f, 0.0f);
  target.Step();

  D3DXVECTOR3 hit;
  float distanceSquared = 0.0f;
  ASSERT_TRUE(target.Collide(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(100, 0, 0), 10.0f, hit, distanceSquared));
  EXPECT_FLOAT_EQ(distanceSquared, 900.0f);
  EXPECT_NEAR(hit.x, 30.0f, 1e-4f);
  EXPECT_EQ(hit.y, 0.0f);
  EXPECT_EQ(hit.z, 0.0f);

  // From elsewhere the contact point follows the start, not the target.
  ASSERT_TRUE(target.Collide(D3DXVECTOR3(60, -100, 0), D3DXVECTOR3(60, 100, 0), 10.0f, hit, distanceSquared));
  EXPECT_FLOAT_EQ(distanceSquared, 70.0f * 70.0f);
  EXPECT_NEAR(hit.x, 60.0f, 1e-4f);
  EXPECT_NEAR(hit.y, -30.0f, 1e-4f);

  // Falling short, passing beside and moving away leave the outputs as they were.
  const D3DXVECTOR3 before = hit;
  EXPECT_FALSE(target.Collide(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(29, 0, 0), 10.0f, hit, distanceSquared));
  EXPECT_FALSE(target.Collide(D3DXVECTOR3(0, 31, 0), D3DXVECTOR3(100, 31, 0), 10.0f, hit, distanceSquared));
  EXPECT_FALSE(target.Collide(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(-100, 0, 0), 10.0f, hit, distanceSquared));
  EXPECT_EQ(hit, before);
  EXPECT_FLOAT_EQ(distanceSquared, 70.0f * 70.0f);
}
