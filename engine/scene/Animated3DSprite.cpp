#include "engine/scene/Animated3DSprite.h"

#include <algorithm>

#include "engine/app/Application.h"
#include "engine/resources/Shader.h"
#include "engine/scene/GeometrySet.h"
#include "engine/util/MissingReports.h"

namespace Nembra {

using namespace platform;

CAnimated3DSprite::CAnimated3DSprite() { m_BoundingSphere.radius = 100.0f; }

CAnimated3DSprite::CAnimated3DSprite(const CAnimated3DSprite& other) : C3DSprite(other) { CopyAnimation(other); }

CAnimated3DSprite& CAnimated3DSprite::operator=(const CAnimated3DSprite& other) {
  if (this != &other) {
    C3DSprite::operator=(other);
    CopyAnimation(other);
  }
  return *this;
}

void CAnimated3DSprite::CopyAnimation(const CAnimated3DSprite& other) {
  SafeRelease(m_pCurrentSet);
  SafeRelease(m_pAnimController);
  ClearBoneCache();  // matrices handed out stay valid
  m_AttachedNodes.clear();
  m_pMesh = other.m_pMesh;
  if (m_pMesh) RebindBones();
  if (ID3DXAnimationController* c = other.m_pAnimController)
    c->CloneAnimationController(c->GetMaxNumAnimationOutputs(), c->GetMaxNumAnimationSets(), c->GetMaxNumTracks(),
                                c->GetMaxNumEvents(), &m_pAnimController);
  m_pCurrentSet = other.m_pCurrentSet;
  if (m_pCurrentSet) m_pCurrentSet->AddRef();
  m_Clock = other.m_Clock;
  m_CurrentTrack = other.m_CurrentTrack;
  m_Loop = other.m_Loop;
  m_Finished = other.m_Finished;
  m_Elapsed = other.m_Elapsed;
  m_Paused = other.m_Paused;
  m_pCallbackHandler = other.m_pCallbackHandler;
}

CAnimated3DSprite::~CAnimated3DSprite() {
  // A sprite submitted this frame and destroyed before the render pass must
  // not be drawn from freed memory.
  if (g_pGeometrySetRegistry) g_pGeometrySetRegistry->ForgetAnimatedSprite(this);
  for (CSceneNode* node : m_BoneUsers) node->DropBone();
  SafeRelease(m_pCurrentSet);
  SafeRelease(m_pAnimController);
}

double CAnimated3DSprite::GetTrackPosition() const {
  D3DXTRACK_DESC desc;
  if (!m_pAnimController || FAILED(m_pAnimController->GetTrackDesc(m_CurrentTrack, &desc))) return 0;
  return desc.Position;
}

void CAnimated3DSprite::SetMesh(CSkinnedMesh* mesh) {
  m_pMesh = mesh;
  if (!mesh) return;
  m_BoundingSphere.center = mesh->GetBoundingSphereCenter();
  m_BoundingSphere.radius = mesh->GetBoundingSphereRadius();
  RebindBones();
  std::string setName;
  double position = 0;
  if (m_pAnimController) {
    position = GetTrackPosition();
    if (m_pCurrentSet) setName = m_pCurrentSet->GetName();
    SafeRelease(m_pAnimController);
  }
  ID3DXAnimationController* source = mesh->GetAnimationController();
  if (!source) return;
  if (FAILED(source->CloneAnimationController(source->GetMaxNumAnimationOutputs(), source->GetMaxNumAnimationSets(),
                                              source->GetMaxNumTracks(), source->GetMaxNumEvents(),
                                              &m_pAnimController)))
    return;
  for (uint32_t t = 0; t < m_pAnimController->GetMaxNumTracks(); ++t) m_pAnimController->SetTrackEnable(t, false);
  if (!setName.empty()) {
    // The same set, looping, from where it was; the replay fires no keys.
    SetAnimation(setName, true);
    m_pAnimController->SetTrackPosition(m_CurrentTrack, position);
    m_pAnimController->AdvanceTime(0, nullptr);
  }
}

void CAnimated3DSprite::AttachNode(CSceneNode* node) {
  if (!node) return;
  m_AttachedNodes.push_back(node);
  if (std::find(m_BoneUsers.begin(), m_BoneUsers.end(), node) == m_BoneUsers.end()) m_BoneUsers.push_back(node);
  // The node may have let go of a retired bone for this one.
  FreeUnreadBones();
}

void CAnimated3DSprite::ForgetNode(CSceneNode* node) {
  m_AttachedNodes.remove(node);
  m_BoneUsers.erase(std::remove(m_BoneUsers.begin(), m_BoneUsers.end(), node), m_BoneUsers.end());
}

void CAnimated3DSprite::RebindBones() {
  // A bone the new mesh lacks lets go of the old mesh's frame (which may
  // be freed with it); its record keeps the last matrix it had.
  auto rebind = [this](BONE_RECORD& record) { record.frame = m_pMesh->FindFrame(record.name); };
  for (auto& entry : m_BoneCache) rebind(*entry.second);
  for (auto& record : m_RetiredBones) rebind(*record);
}

void CAnimated3DSprite::SetAnimation(const std::string& name, bool loop) {
  m_Elapsed = 0;
  const uint32_t newTrack = m_CurrentTrack == 0 ? 1 : 0;
  const uint32_t oldTrack = m_CurrentTrack;
  m_Loop = loop ? 1 : 0;
  m_Finished = 0;
  SafeRelease(m_pCurrentSet);
  if (m_pAnimController) m_pAnimController->GetAnimationSetByName(name.c_str(), &m_pCurrentSet);
  if (!m_pCurrentSet && m_pMesh) ReportMissingAnimation(name);
  if (!m_pAnimController) return;
  m_pAnimController->SetTrackAnimationSet(newTrack, m_pCurrentSet);
  m_pAnimController->SetTrackEnable(newTrack, true);
  m_pAnimController->SetTrackSpeed(newTrack, 1.0f);
  m_pAnimController->SetTrackWeight(newTrack, 1.0f);
  m_pAnimController->SetTrackPosition(newTrack, 0.0);
  m_pAnimController->SetTrackEnable(oldTrack, false);
  m_pAnimController->SetTrackSpeed(oldTrack, 0.0f);
  m_pAnimController->SetTrackWeight(oldTrack, 0.0f);
  m_CurrentTrack = newTrack;
}

void CAnimated3DSprite::ReportMissingAnimation(const std::string& name) const {
  ReportMissing("animation " + name + " in " + m_pMesh->GetName());
}

void CAnimated3DSprite::SyncAnimation(const CAnimated3DSprite& other) {
  if (!other.m_pCurrentSet || !m_pAnimController) return;
  SetAnimation(other.m_pCurrentSet->GetName(), other.m_Loop != 0);
  m_pAnimController->SetTrackPosition(m_CurrentTrack, other.GetTrackPosition());
  m_pAnimController->AdvanceTime(0, nullptr);
  m_Elapsed = other.m_Elapsed;
  m_Finished = other.m_Finished;
}

void CAnimated3DSprite::SetAnimationCallbacks(const std::string& name, const std::vector<D3DXKEY_CALLBACK>& keys) {
  ID3DXAnimationSet* old = nullptr;
  if (!m_pAnimController || FAILED(m_pAnimController->GetAnimationSetByName(name.c_str(), &old)) || !old) {
    if (m_pMesh) ReportMissingAnimation(name);
    return;
  }
  ID3DXBuffer* compressed = nullptr;
  ID3DXCompressedAnimationSet* replacement = nullptr;
  if (SUCCEEDED(old->Compress(D3DXCOMPRESS_DEFAULT, 0.5f, nullptr, &compressed)) &&
      SUCCEEDED(D3DXCreateCompressedAnimationSet(old->GetName(), old->GetSourceTicksPerSecond(),
                                                 old->GetPlaybackType(), compressed, (uint32_t)keys.size(),
                                                 keys.data(), &replacement))) {
    m_pAnimController->UnregisterAnimationSet(old);
    m_pAnimController->RegisterAnimationSet(replacement);
  }
  SafeRelease(compressed);
  SafeRelease(replacement);
  SafeRelease(old);
}

D3DXMATRIX* CAnimated3DSprite::GetBoneMatrix(const std::string& name) {
  auto it = m_BoneCache.find(name);
  if (it != m_BoneCache.end()) return &it->second->matrix;
  if (!m_pMesh) return nullptr;
  FRAME* frame = m_pMesh->FindFrame(name);
  if (!frame) {
    ReportMissing("bone " + name + " in " + m_pMesh->GetName());
    return nullptr;
  }
  auto record = std::make_unique<BONE_RECORD>();
  record->frame = frame;
  record->matrix = frame->CombinedTransformationMatrix;
  record->name = name;
  D3DXMATRIX* out = &record->matrix;
  m_BoneCache.emplace(name, std::move(record));
  return out;
}

void CAnimated3DSprite::ClearBoneCache() {
  for (auto& entry : m_BoneCache) m_RetiredBones.push_back(std::move(entry.second));
  m_BoneCache.clear();
  FreeUnreadBones();
}

void CAnimated3DSprite::FreeUnreadBones() {
  auto unread = [this](const std::unique_ptr<BONE_RECORD>& record) {
    return std::none_of(m_BoneUsers.begin(), m_BoneUsers.end(), [&](const CSceneNode* node) {
      return node->GetBoneOwner() == this && node->GetBoneMatrix() == &record->matrix;
    });
  };
  m_RetiredBones.erase(std::remove_if(m_RetiredBones.begin(), m_RetiredBones.end(), unread), m_RetiredBones.end());
}

void CAnimated3DSprite::UpdateTime(bool drawn) {
  if (!(m_Loop || !m_Finished) || m_Paused) return;
  m_Clock += g_FrameTime;
  m_Elapsed += g_FrameTime;
  if (!m_Loop && m_pCurrentSet && m_pCurrentSet->GetPeriod() < m_Elapsed) {
    m_Finished = 1;
    if (!m_pAnimController) return;
    const double end = m_pCurrentSet->GetPeriod() - 0.000001;
    const double position = GetTrackPosition();
    if (drawn && m_pCallbackHandler && end > position) m_pAnimController->AdvanceTime(end - position, m_pCallbackHandler);
    m_pAnimController->SetTrackPosition(m_CurrentTrack, end);
  }
}

void CAnimated3DSprite::OnUpdate() {
  C3DSprite::OnUpdate();
  if (m_Culled) UpdateTime(false);
}

void CAnimated3DSprite::Draw() {
  UpdateTime();
  if (g_pGeometrySetRegistry) g_pGeometrySetRegistry->SubmitAnimatedSprite(this);
}

void CAnimated3DSprite::Advance() {
  if (m_Paused || !m_pAnimController) return;
  double dt = (m_Loop || !m_Finished) ? g_FrameTime : 0.0;
  // A one-shot set stops at its last pose: a step landing exactly on its
  // end (not yet past it, so not finished) must not wrap to the first.
  if (!m_Loop && m_pCurrentSet && dt > 0) {
    const double end = m_pCurrentSet->GetPeriod() - 0.000001;
    dt = std::max(0.0, std::min(dt, end - GetTrackPosition()));
  }
  m_pAnimController->AdvanceTime(dt, m_pCallbackHandler);
}

void CAnimated3DSprite::RefreshBonesAndNodes() {
  if (!m_pMesh) return;
  m_pMesh->UpdateFrames(GetWorldMatrixSlot());
  auto refresh = [](BONE_RECORD& record) {
    if (record.frame) record.matrix = record.frame->CombinedTransformationMatrix;
  };
  for (auto& entry : m_BoneCache) refresh(*entry.second);
  for (auto& record : m_RetiredBones) refresh(*record);
  for (CSceneNode* node : m_AttachedNodes) node->Update();
}

void CAnimated3DSprite::Pose() {
  if (m_pAnimController) m_pAnimController->AdvanceTime(0, nullptr);
  RefreshBonesAndNodes();
}

void CAnimated3DSprite::AdvanceAndPose() {
  // A paused sprite does not move on, but the shared frames hold the pose
  // of whichever sprite of this mesh was drawn last: write its own again.
  if (m_Paused) {
    Pose();
    return;
  }
  Advance();
  RefreshBonesAndNodes();
}

void CAnimated3DSprite::DrawMesh() {
  if (!m_pMesh) return;
  if (CShader* block = m_pMesh->GetShader()) block->Apply(false);
  m_pMesh->Draw();
}

}  // namespace Nembra
