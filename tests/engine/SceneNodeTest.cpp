#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/scene/SceneNode.h"

using namespace Nembra;

namespace {

D3DXVECTOR3 Transform(const D3DXVECTOR3& p, const D3DXMATRIX& m) {
  D3DXVECTOR3 out;
  D3DXVec3TransformCoord(&out, &p, &m);
  return out;
}

void ExpectNear(const D3DXVECTOR3& a, const D3DXVECTOR3& b, float tol = 1e-4f) {
  EXPECT_NEAR(a.x, b.x, tol);
  EXPECT_NEAR(a.y, b.y, tol);
  EXPECT_NEAR(a.z, b.z, tol);
}

bool Lists(const CSceneNode& parent, const CSceneNode* child) {
  const auto& c = parent.GetChildren();
  return std::find(c.begin(), c.end(), child) != c.end();
}

}  // namespace

TEST(SceneNode, FreshNodeIsIdentityWithAllFlagsUntilItsFirstUpdate) {
  CSceneNode node;
  EXPECT_TRUE(node.IsTranslationChanged() && node.IsRotationChanged() && node.IsScaleChanged());
  EXPECT_TRUE(D3DXMatrixIsIdentity(&node.GetLocalMatrix()));
  node.Update();
  EXPECT_TRUE(D3DXMatrixIsIdentity(&node.GetLocalMatrix()));
  EXPECT_TRUE(D3DXMatrixIsIdentity(&node.GetStoredWorldMatrix()));
  EXPECT_FALSE(node.IsTranslationChanged() || node.IsRotationChanged() || node.IsScaleChanged());
  EXPECT_FALSE(node.HasChanged());
  node.SetScale(3.0f);
  EXPECT_TRUE(node.IsScaleChanged());
  EXPECT_FALSE(node.IsTranslationChanged());
}

TEST(SceneNode, LocalMatrixIsScaleThenRotationThenTranslation) {
  CSceneNode roll;
  roll.SetRotation(0.0f, 0.0f, D3DX_PI / 2.0f);
  roll.Update();
  // Roll turns about z: x goes to y.
  ExpectNear(Transform({1, 0, 0}, roll.GetStoredWorldMatrix()), {0, 1, 0});
  CSceneNode yaw;
  yaw.SetRotation(D3DX_PI / 2.0f, 0.0f, 0.0f);
  yaw.Update();
  // Yaw turns about y: the y axis stays, x goes to -z.
  ExpectNear(Transform({0, 1, 0}, yaw.GetStoredWorldMatrix()), {0, 1, 0});
  ExpectNear(Transform({1, 0, 0}, yaw.GetStoredWorldMatrix()), {0, 0, -1});
  CSceneNode all;
  all.SetScale(2.0f, 2.0f, 2.0f);
  all.SetRotation(0.0f, 0.0f, D3DX_PI / 2.0f);
  all.SetPosition(10.0f, 0.0f, 0.0f);
  all.Update();
  ExpectNear(Transform({1, 0, 0}, all.GetStoredWorldMatrix()), {10, 2, 0});
  // A later change rebuilds only what changed, but the product is redone.
  all.SetPosition(0.0f, 0.0f, 5.0f);
  all.Update();
  ExpectNear(Transform({1, 0, 0}, all.GetStoredWorldMatrix()), {0, 2, 5});
}

TEST(SceneNode, WorldMatrixFollowsParentsEvenBeforeTheyAreUpdated) {
  CSceneNode parent, child;
  parent.AddChild(&child);
  parent.SetPosition(100.0f, 0.0f, 0.0f);
  child.SetPosition(0.0f, 5.0f, 0.0f);
  child.UpdateWorldMatrix();  // parent not updated yet: its local matrix is stale
  ExpectNear(child.GetWorldPosition(), {0, 5, 0});
  parent.UpdateWorldMatrix();
  child.UpdateWorldMatrix();
  ExpectNear(child.GetWorldPosition(), {100, 5, 0});
  parent.SetRotation(0.0f, 0.0f, D3DX_PI / 2.0f);
  parent.Update();
  ExpectNear(child.GetWorldPosition(), {95, 0, 0});
  EXPECT_FALSE(child.HasChanged());
}

TEST(SceneNode, WorldPositionIsTheLastUpdatedOne) {
  CSceneNode node;
  node.Update();
  node.SetPosition(7.0f, 8.0f, 9.0f);
  ExpectNear(node.GetWorldPosition(), {0, 0, 0});
  node.Update();
  ExpectNear(node.GetWorldPosition(), {7, 8, 9});
}

TEST(SceneNode, WorldRotationsAreSumsUpTheChain) {
  CSceneNode root, parent, child;
  root.AddChild(&parent);
  parent.AddChild(&child);
  root.SetRotation(0.1f, 0.0f, 0.0f);
  parent.SetRotationZ(0.25f);
  child.SetRotationZ(0.5f);
  child.SetRotationY(0.3f);
  EXPECT_FLOAT_EQ(child.GetWorldRotationZ(), 0.75f);
  EXPECT_FLOAT_EQ(child.GetWorldRotationY(), 0.3f);
  EXPECT_FLOAT_EQ(child.GetWorldRotationX(), 0.1f);
}

TEST(SceneNode, ChangeAndMoveFlagsSeeAncestors) {
  CSceneNode root, parent, child;
  root.AddChild(&parent);
  parent.AddChild(&child);
  root.Update();
  EXPECT_FALSE(child.HasMoved());
  parent.SetScale(2.0f);
  EXPECT_TRUE(child.HasMoved());
  EXPECT_TRUE(child.HasChanged());
  EXPECT_FALSE(parent.HasMoved());  // its own translation did not change
  root.Update();
  EXPECT_FALSE(child.HasMoved());
  CSceneNode lone;
  lone.Update();
  lone.SetRotationZ(1.0f);
  EXPECT_FALSE(lone.HasMoved());
  EXPECT_TRUE(lone.HasChanged());
  lone.SetPosition(1.0f, 0.0f, 0.0f);
  EXPECT_TRUE(lone.HasMoved());
}

namespace {
// Records what it saw from its hook, while its ancestors' flags are still set.
class ProbeNode : public CSceneNode {
 public:
  void OnUpdate() override {
    ++calls;
    sawMove = HasMoved();
  }
  int calls = 0;
  bool sawMove = false;
};
}  // namespace

TEST(SceneNode, UpdateRunsHooksDepthFirstAndClearsFlagsAtTheEnd) {
  CSceneNode root, parent;
  ProbeNode child, boneChild;
  root.AddChild(&parent);
  parent.AddChild(&child);
  root.Update();
  EXPECT_EQ(child.calls, 1);
  parent.SetPosition(1.0f, 0.0f, 0.0f);
  root.Update();
  EXPECT_TRUE(child.sawMove);
  EXPECT_FALSE(parent.IsTranslationChanged());
  // A bone-driven child is skipped by its parent's loop, but its flags are
  // cleared with the rest of the subtree.
  D3DXMATRIX bone;
  D3DXMatrixTranslation(&bone, 1.0f, 2.0f, 3.0f);
  ASSERT_TRUE(boneChild.AttachToMatrix(&parent, &bone));
  boneChild.SetPosition(50.0f, 50.0f, 50.0f);
  root.Update();
  EXPECT_EQ(boneChild.calls, 0);
  EXPECT_FALSE(boneChild.IsTranslationChanged());
}

namespace {
// Takes itself out of the tree from its own hook (an object that is done).
class LeavingNode : public ProbeNode {
 public:
  void OnUpdate() override {
    ProbeNode::OnUpdate();
    if (GetParent()) GetParent()->RemoveChild(this);
  }
};
}  // namespace

TEST(SceneNode, AChildLeavingTheTreeFromItsHookKeepsThePassWhole) {
  CSceneNode root;
  ProbeNode before, after;
  LeavingNode leaving;
  root.AddChild(&before);
  root.AddChild(&leaving);
  root.AddChild(&after);
  root.Update();
  EXPECT_EQ(std::vector<int>({before.calls, leaving.calls, after.calls}), std::vector<int>({1, 1, 1}));
  ASSERT_EQ(root.GetChildren().size(), 2u);
  EXPECT_EQ(root.GetChildren().back(), &after);
  EXPECT_EQ(leaving.GetParent(), nullptr);
  root.Update();
  EXPECT_EQ(leaving.calls, 1);
  EXPECT_EQ(after.calls, 2);
}

TEST(SceneNode, BoneDrivenNodeIsTheBoneMatrix) {
  CSceneNode owner, attached, below;
  owner.SetPosition(100.0f, 0.0f, 0.0f);
  owner.Update();
  D3DXMATRIX bone;
  D3DXMatrixTranslation(&bone, 1.0f, 2.0f, 3.0f);
  EXPECT_FALSE(attached.AttachToMatrix(&owner, nullptr));
  EXPECT_EQ(attached.GetParent(), nullptr);
  ASSERT_TRUE(attached.AttachToMatrix(&owner, &bone));
  EXPECT_EQ(attached.GetParent(), &owner);
  EXPECT_TRUE(attached.IsBoneDriven());
  attached.SetPosition(500.0f, 500.0f, 500.0f);
  attached.AddChild(&below);
  below.SetPosition(0.0f, 0.0f, 10.0f);
  attached.Update();
  EXPECT_EQ(attached.GetStoredWorldMatrix(), bone);
  ExpectNear(attached.GetWorldPosition(), {1, 2, 3});
  ExpectNear(below.GetWorldPosition(), {1, 2, 13});
  // The bone moves: the node follows without its own change.
  D3DXMatrixTranslation(&bone, -4.0f, 0.0f, 0.0f);
  attached.Update();
  ExpectNear(attached.GetWorldPosition(), {-4, 0, 0});
}

TEST(SceneNode, RemoveChildEmptiesTheSubtreeListsAndKeepsParentPointers) {
  CSceneNode root, child, grand1, grand2, greatGrand;
  root.AddChild(&child);
  child.AddChild(&grand1);
  child.AddChild(&grand2);
  grand1.AddChild(&greatGrand);
  child.SetPosition(10.0f, 0.0f, 0.0f);
  grand1.SetPosition(0.0f, 1.0f, 0.0f);
  root.RemoveChild(&child);
  EXPECT_TRUE(root.GetChildren().empty());
  EXPECT_TRUE(child.GetChildren().empty());
  EXPECT_TRUE(grand1.GetChildren().empty());
  using Parents = std::vector<const CSceneNode*>;
  EXPECT_EQ(Parents({child.GetParent(), grand1.GetParent(), grand2.GetParent(), greatGrand.GetParent()}),
            Parents({nullptr, &child, &child, &grand1}));
  // Their world matrices still follow the old chain.
  child.UpdateWorldMatrix();
  grand1.UpdateWorldMatrix();
  ExpectNear(grand1.GetWorldPosition(), {10, 1, 0});
}

TEST(SceneNode, AddingANodeWithAParentMovesIt) {
  CSceneNode a, b, node;
  a.AddChild(&node);
  b.AddChild(&node);
  EXPECT_FALSE(Lists(a, &node));
  EXPECT_TRUE(Lists(b, &node));
  EXPECT_EQ(node.GetParent(), &b);
  b.AddChild(&node);
  EXPECT_EQ(b.GetChildren().size(), 1u);
  // Removing it through a node that is not its parent changes nothing.
  CSceneNode grand;
  node.AddChild(&grand);
  a.RemoveChild(&node);
  EXPECT_EQ(node.GetParent(), &b);
  EXPECT_TRUE(Lists(b, &node));
  EXPECT_TRUE(Lists(node, &grand));
  // A node never goes below itself or below one of its descendants.
  node.AddChild(&node);
  grand.AddChild(&b);
  EXPECT_EQ(node.GetChildren().size(), 1u);
  EXPECT_EQ(node.GetParent(), &b);
  EXPECT_EQ(b.GetParent(), nullptr);
  EXPECT_TRUE(grand.GetChildren().empty());
  b.Update();  // would never end on a loop
  // Also not below a node taken out with it, which still names it as parent.
  b.RemoveChild(&node);
  ASSERT_EQ(grand.GetParent(), &node);
  grand.AddChild(&node);
  EXPECT_TRUE(grand.GetChildren().empty());
  EXPECT_EQ(node.GetParent(), nullptr);
  grand.Update();
}

TEST(SceneNode, DestroyedNodesUnlinkThemselves) {
  CSceneNode root, detachedGrandchild;
  auto *node = new CSceneNode, *child = new CSceneNode;
  root.AddChild(node);
  node->AddChild(child);
  child->AddChild(&detachedGrandchild);
  node->RemoveChild(child);  // the grandchild keeps its parent pointer only
  node->AddChild(child);
  delete child;
  EXPECT_TRUE(node->GetChildren().empty());
  EXPECT_EQ(detachedGrandchild.GetParent(), nullptr);
  delete node;
  EXPECT_TRUE(root.GetChildren().empty());
  root.Update();  // nothing dangles
  detachedGrandchild.UpdateWorldMatrix();
  // Deleting a parent leaves its children whole and parentless.
  auto* parent = new CSceneNode;
  CSceneNode kid;
  parent->SetPosition(5.0f, 0.0f, 0.0f);
  parent->AddChild(&kid);
  delete parent;
  EXPECT_EQ(kid.GetParent(), nullptr);
  kid.Update();
  ExpectNear(kid.GetWorldPosition(), {0, 0, 0});
}

TEST(SceneNode, CopiesStartOutsideTheTree) {
  CSceneNode root, original;
  root.AddChild(&original);
  original.SetPosition(1.0f, 2.0f, 3.0f);
  original.GetBoundingSphere().radius = 4.0f;
  {
    CSceneNode copy(original);
    EXPECT_EQ(copy.GetParent(), nullptr);
    EXPECT_EQ(copy.GetPosition(), D3DXVECTOR3(1, 2, 3));
    EXPECT_EQ(copy.GetBoundingSphere().radius, 4.0f);
    EXPECT_TRUE(copy.IsTranslationChanged());
  }
  EXPECT_TRUE(Lists(root, &original));
  CSceneNode other;
  root.AddChild(&other);
  other = original;
  EXPECT_EQ(other.GetParent(), &root);
  EXPECT_EQ(root.GetChildren().size(), 2u);
}

TEST(SceneNode, TargetNodeUpdatesItsTarget) {
  CTargetNode node;
  node.GetTarget().SetPosition(3.0f, 0.0f, 0.0f);
  node.Update();
  ExpectNear(node.GetTarget().GetWorldPosition(), {3, 0, 0});
  EXPECT_FALSE(node.GetTarget().IsTranslationChanged());
}

TEST(BoundingSphere, ContainsItsSurface) {
  CBoundingSphere s;
  s.center = {1, 0, 0};
  s.radius = 2.0f;
  EXPECT_TRUE(s.Contains({3, 0, 0}) && s.Contains({1, 0, 0}));
  EXPECT_FALSE(s.Contains({3.01f, 0, 0}));
  CBoundingSphere zero;
  EXPECT_TRUE(zero.Contains({0, 0, 0}));
  EXPECT_FALSE(zero.Contains({0, 0, 0.001f}));
}
