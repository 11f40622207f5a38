#include "engine/scene/SceneNode.h"

#include <algorithm>

#include "engine/scene/Animated3DSprite.h"

namespace Nembra {

bool CBoundingSphere::Contains(const D3DXVECTOR3& point) const {
  D3DXVECTOR3 d = point - center;
  return D3DXVec3LengthSq(&d) <= radius * radius;
}

CSceneNode::CSceneNode() = default;

CSceneNode::CSceneNode(const CSceneNode& other)
    : m_Position(other.m_Position),
      m_Rotation(other.m_Rotation),
      m_Scale(other.m_Scale),
      m_TranslationChanged(other.m_TranslationChanged),
      m_RotationChanged(other.m_RotationChanged),
      m_ScaleChanged(other.m_ScaleChanged),
      m_ScaleMatrix(other.m_ScaleMatrix),
      m_RotationMatrix(other.m_RotationMatrix),
      m_TranslationMatrix(other.m_TranslationMatrix),
      m_LocalMatrix(other.m_LocalMatrix),
      m_WorldMatrix(other.m_LocalMatrix),
      m_BoundingSphere(other.m_BoundingSphere),
      m_WorldPosition(other.m_WorldPosition) {}

CSceneNode& CSceneNode::operator=(const CSceneNode& other) {
  if (this == &other) return *this;
  m_Position = other.m_Position;
  m_Rotation = other.m_Rotation;
  m_Scale = other.m_Scale;
  m_TranslationChanged = other.m_TranslationChanged;
  m_RotationChanged = other.m_RotationChanged;
  m_ScaleChanged = other.m_ScaleChanged;
  m_ScaleMatrix = other.m_ScaleMatrix;
  m_RotationMatrix = other.m_RotationMatrix;
  m_TranslationMatrix = other.m_TranslationMatrix;
  m_LocalMatrix = other.m_LocalMatrix;
  m_BoundingSphere = other.m_BoundingSphere;
  // The links of this node stay as they are.
  UpdateWorldMatrix();
  return *this;
}

CSceneNode::~CSceneNode() {
  // The sprite whose bone drives this node must not update it any more.
  if (m_BoneOwner) m_BoneOwner->ForgetNode(this);
  Unlist();
  SetParent(nullptr);
  for (CSceneNode* child : m_Children) child->m_Listed = false;
  m_Children.clear();
  while (m_FirstDependent) m_FirstDependent->SetParent(nullptr);
}

void CSceneNode::Unlist() {
  if (!m_Listed) return;
  m_Parent->m_Children.erase(m_ChildEntry);
  m_Listed = false;
}

void CSceneNode::SetParent(CSceneNode* parent) {
  if (m_Parent == parent) return;
  if (m_Parent) {
    (m_PrevDependent ? m_PrevDependent->m_NextDependent : m_Parent->m_FirstDependent) = m_NextDependent;
    if (m_NextDependent) m_NextDependent->m_PrevDependent = m_PrevDependent;
    m_PrevDependent = m_NextDependent = nullptr;
  }
  m_Parent = parent;
  if (m_Parent) {
    m_NextDependent = m_Parent->m_FirstDependent;
    if (m_NextDependent) m_NextDependent->m_PrevDependent = this;
    m_Parent->m_FirstDependent = this;
  }
}

void CSceneNode::UpdateWorldMatrix() {
  if (m_TranslationChanged) D3DXMatrixTranslation(&m_TranslationMatrix, m_Position.x, m_Position.y, m_Position.z);
  if (m_RotationChanged) D3DXMatrixRotationYawPitchRoll(&m_RotationMatrix, m_Rotation.x, m_Rotation.y, m_Rotation.z);
  if (m_ScaleChanged) D3DXMatrixScaling(&m_ScaleMatrix, m_Scale.x, m_Scale.y, m_Scale.z);
  D3DXMATRIX sr;
  D3DXMatrixMultiply(&sr, &m_ScaleMatrix, &m_RotationMatrix);
  D3DXMatrixMultiply(&m_LocalMatrix, &sr, &m_TranslationMatrix);
  m_WorldMatrix = GetWorldMatrix();
}

D3DXMATRIX CSceneNode::GetWorldMatrix() const {
  if (m_BoneMatrix) return *m_BoneMatrix;
  if (!m_Parent) return m_LocalMatrix;
  D3DXMATRIX parent = m_Parent->GetWorldMatrix();
  D3DXMATRIX out;
  D3DXMatrixMultiply(&out, &m_LocalMatrix, &parent);
  return out;
}

D3DXVECTOR3 CSceneNode::GetWorldPosition() {
  D3DXVECTOR3 origin(0.0f, 0.0f, 0.0f);
  D3DXVec3TransformCoord(&m_WorldPosition, &origin, &m_WorldMatrix);
  return m_WorldPosition;
}

float CSceneNode::GetWorldRotationX() const {
  return m_Rotation.x + (m_Parent ? m_Parent->GetWorldRotationX() : 0.0f);
}
float CSceneNode::GetWorldRotationY() const {
  return m_Rotation.y + (m_Parent ? m_Parent->GetWorldRotationY() : 0.0f);
}
float CSceneNode::GetWorldRotationZ() const {
  return m_Rotation.z + (m_Parent ? m_Parent->GetWorldRotationZ() : 0.0f);
}

bool CSceneNode::HasChanged() const {
  if (m_TranslationChanged || m_RotationChanged || m_ScaleChanged) return true;
  return m_Parent && m_Parent->HasChanged();
}

bool CSceneNode::HasMoved() const {
  if (m_TranslationChanged) return true;
  return m_Parent && m_Parent->HasChanged();
}

void CSceneNode::ClearChangeFlags() {
  m_TranslationChanged = false;
  m_RotationChanged = false;
  m_ScaleChanged = false;
}

void CSceneNode::ClearFlagsRecursive() {
  ClearChangeFlags();
  for (CSceneNode* child : m_Children) child->ClearFlagsRecursive();
}

void CSceneNode::Update() {
  UpdateWorldMatrix();
  OnUpdate();
  // The next entry is taken before a child runs, so a child whose hook
  // takes it out of the tree does not break the walk. Each child clears
  // its own subtree's flags at the end of its update; the ones a bone
  // drives are skipped here and cleared after the walk. So every node of
  // the tree is visited once however deep it lies.
  bool boneDriven = false;
  for (auto it = m_Children.begin(); it != m_Children.end();) {
    CSceneNode* child = *it++;
    if (child->m_BoneDriven) boneDriven = true;
    else child->Update();
  }
  if (boneDriven)
    for (CSceneNode* child : m_Children)
      if (child->m_BoneDriven) child->ClearFlagsRecursive();
  ClearChangeFlags();
}

void CSceneNode::AddChild(CSceneNode* child) {
  if (!child) return;
  // A node never goes below itself: the tree would become a loop that
  // every world-matrix and update walk would follow for ever.
  for (const CSceneNode* n = this; n; n = n->m_Parent)
    if (n == child) return;
  // A node lives in one child list only: adding it elsewhere moves it.
  child->Unlist();
  child->SetParent(this);
  child->m_ChildEntry = m_Children.insert(m_Children.end(), child);
  child->m_Listed = true;
  child->UpdateWorldMatrix();
}

void CSceneNode::ClearChildListsRecursive() {
  for (CSceneNode* child : m_Children) {
    child->ClearChildListsRecursive();
    child->m_Listed = false;
  }
  m_Children.clear();
}

void CSceneNode::RemoveChild(CSceneNode* child) {
  if (!child || child->m_Parent != this) return;  // not one of this node's children
  child->ClearChildListsRecursive();
  child->Unlist();
  child->SetParent(nullptr);
}

bool CSceneNode::AttachToMatrix(CSceneNode* owner, const D3DXMATRIX* boneMatrix) {
  if (!boneMatrix) return false;
  if (owner) owner->AddChild(this);
  m_BoneMatrix = boneMatrix;
  m_BoneDriven = true;
  return true;
}

bool CSceneNode::AttachToBone(CAnimated3DSprite* owner, const std::string& boneName) {
  if (!owner) return false;
  const D3DXMATRIX* bone = owner->GetBoneMatrix(boneName);
  if (!bone) return false;
  // The node becomes the sprite's child, driven by the bone, and joins the
  // nodes the sprite updates after posing.
  if (!AttachToMatrix(owner, bone)) return false;
  if (m_BoneOwner && m_BoneOwner != owner) m_BoneOwner->ForgetNode(this);
  m_BoneOwner = owner;
  owner->AttachNode(this);
  return true;
}

void CSceneNode::DropBone() {
  m_BoneOwner = nullptr;
  m_BoneMatrix = nullptr;
  m_BoneDriven = false;
}

void CTargetNode::OnUpdate() { m_Target.Update(); }

}  // namespace Nembra
