#pragma once
// Scene nodes: the base of everything placed in the 3D world. A node keeps
// its own position, rotation and scale, builds its local matrix
// (scale x rotation x translation) and its world matrix (local x the
// parent's world), and is linked into a tree of non-owning pointers.
#include <list>
#include <string>

#include "platform/Math.h"

namespace Nembra {

class CAnimated3DSprite;

class CBoundingVolume {
 public:
  virtual ~CBoundingVolume() = default;
  virtual bool Contains(const D3DXVECTOR3& point) const = 0;
};

class CBoundingSphere : public CBoundingVolume {
 public:
  bool Contains(const D3DXVECTOR3& point) const override;

  D3DXVECTOR3 center;  // relative to the node's world position
  float radius = 0.0f;
};

class CSceneNode {
 public:
  CSceneNode();
  // A copy takes the placement and the bounding sphere, never the links:
  // it starts outside the tree, without parent, children or bone.
  CSceneNode(const CSceneNode& other);
  CSceneNode& operator=(const CSceneNode& other);
  // Unlinks the node from its parent's child list and leaves every node
  // that still names it as parent without a parent.
  virtual ~CSceneNode();

  // Per-frame hook (culling, submission, camera and light refresh...).
  virtual void OnUpdate() {}
  // The per-frame pass of this subtree.
  virtual void Update();

  void UpdateWorldMatrix();
  D3DXMATRIX GetWorldMatrix() const;
  // The origin transformed by the stored world matrix (that of the last
  // UpdateWorldMatrix), also kept in a cache.
  D3DXVECTOR3 GetWorldPosition();
  // Sums of the rotation components up to the root.
  float GetWorldRotationX() const;
  float GetWorldRotationY() const;
  float GetWorldRotationZ() const;

  CBoundingSphere& GetBoundingSphere() { return m_BoundingSphere; }
  const CBoundingSphere& GetBoundingSphere() const { return m_BoundingSphere; }

  // Any change flag of this node or of an ancestor.
  bool HasChanged() const;
  // This node's translation changed, or anything of an ancestor.
  bool HasMoved() const;

  // Appends the child (taking it out of its previous parent's list first).
  // A node is never added below itself (nothing happens).
  void AddChild(CSceneNode* child);
  // Empties the child lists of the child and of all its descendants (they
  // keep their parent pointers), then unlinks the child from this node.
  void RemoveChild(CSceneNode* child);
  // From now on the node's world matrix is the named bone of the sprite.
  bool AttachToBone(CAnimated3DSprite* owner, const std::string& boneName);
  // The linking part of AttachToBone: becomes a child of the owner (when
  // given), driven by the given matrix. False for a null matrix.
  bool AttachToMatrix(CSceneNode* owner, const D3DXMATRIX* boneMatrix);

  // Setters: store the value and raise the matching change flag.
  void SetPosition(const D3DXVECTOR3& p) { m_Position = p; m_TranslationChanged = true; }
  void SetPosition(float x, float y, float z) { SetPosition(D3DXVECTOR3(x, y, z)); }
  void SetRotation(const D3DXVECTOR3& r) { m_Rotation = r; m_RotationChanged = true; }
  void SetRotation(float yaw, float pitch, float roll) { SetRotation(D3DXVECTOR3(yaw, pitch, roll)); }
  void SetScale(const D3DXVECTOR3& s) { m_Scale = s; m_ScaleChanged = true; }
  void SetScale(float x, float y, float z) { SetScale(D3DXVECTOR3(x, y, z)); }
  void SetScale(float s) { SetScale(D3DXVECTOR3(s, s, s)); }
  void SetRotationX(float a) { m_Rotation.x = a; m_RotationChanged = true; }
  void SetRotationY(float a) { m_Rotation.y = a; m_RotationChanged = true; }
  void SetRotationZ(float a) { m_Rotation.z = a; m_RotationChanged = true; }

  const D3DXVECTOR3& GetPosition() const { return m_Position; }
  const D3DXVECTOR3& GetRotation() const { return m_Rotation; }
  const D3DXVECTOR3& GetScale() const { return m_Scale; }
  const D3DXMATRIX& GetLocalMatrix() const { return m_LocalMatrix; }
  D3DXMATRIX* GetLocalMatrixSlot() { return &m_LocalMatrix; }
  const D3DXMATRIX& GetStoredWorldMatrix() const { return m_WorldMatrix; }
  const D3DXMATRIX* GetWorldMatrixSlot() const { return &m_WorldMatrix; }

  bool IsTranslationChanged() const { return m_TranslationChanged; }
  bool IsRotationChanged() const { return m_RotationChanged; }
  bool IsScaleChanged() const { return m_ScaleChanged; }
  void ClearChangeFlags();

  CSceneNode* GetParent() const { return m_Parent; }
  const std::list<CSceneNode*>& GetChildren() const { return m_Children; }
  bool IsBoneDriven() const { return m_BoneDriven; }
  const D3DXMATRIX* GetBoneMatrix() const { return m_BoneMatrix; }
  // The sprite whose bone drives this node (set by AttachToBone).
  CAnimated3DSprite* GetBoneOwner() const { return m_BoneOwner; }
  // Called by a sprite going away: the node stops reading its bone.
  void DropBone();

  // Empties the child lists of this node and of every node below it; the
  // nodes keep their parent pointers.
  void ClearChildListsRecursive();

 protected:
  D3DXVECTOR3 m_Position;
  D3DXVECTOR3 m_Rotation;  // x yaw (about y), y pitch (about x), z roll (about z)
  D3DXVECTOR3 m_Scale{1.0f, 1.0f, 1.0f};
  bool m_TranslationChanged = true;
  bool m_RotationChanged = true;
  bool m_ScaleChanged = true;
  D3DXMATRIX m_ScaleMatrix;
  D3DXMATRIX m_RotationMatrix;
  D3DXMATRIX m_TranslationMatrix;
  D3DXMATRIX m_LocalMatrix;
  D3DXMATRIX m_WorldMatrix;
  CBoundingSphere m_BoundingSphere;
  CSceneNode* m_Parent = nullptr;
  std::list<CSceneNode*> m_Children;
  D3DXVECTOR3 m_WorldPosition;
  const D3DXMATRIX* m_BoneMatrix = nullptr;
  bool m_BoneDriven = false;
  CAnimated3DSprite* m_BoneOwner = nullptr;

 private:
  void SetParent(CSceneNode* parent);
  void ClearFlagsRecursive();
  // Takes this node out of its parent's child list, when it is in it.
  void Unlist();

  // Where this node stands in its parent's child list (valid while listed),
  // so that it leaves the list at once, however long the list is.
  std::list<CSceneNode*>::iterator m_ChildEntry;
  bool m_Listed = false;
  // Every node whose parent pointer names this one (in the child list or
  // not), so that destruction can leave none of them dangling: a chain
  // through the dependents themselves.
  CSceneNode* m_FirstDependent = nullptr;
  CSceneNode* m_PrevDependent = nullptr;
  CSceneNode* m_NextDependent = nullptr;
};

// A node that carries a second node, its target (cameras and lights look
// at it). The target is updated by the owner's OnUpdate.
class CTargetNode : public CSceneNode {
 public:
  CTargetNode() = default;
  CTargetNode(const CTargetNode& other) = default;
  CTargetNode& operator=(const CTargetNode& other) = default;
  ~CTargetNode() override = default;

  void OnUpdate() override;

  CSceneNode& GetTarget() { return m_Target; }
  const CSceneNode& GetTarget() const { return m_Target; }

 protected:
  CSceneNode m_Target;
};

}  // namespace Nembra
