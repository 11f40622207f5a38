#pragma once
// One instance of a skinned mesh in the world: its own clone of the mesh's
// animation controller, one animation set played at a time (looping or
// once), key-frame callbacks, bone lookups and nodes that follow bones.
// Because the frames belong to the shared mesh, each sprite writes its pose
// into them just before it is drawn.
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/resources/SkinnedMesh.h"
#include "engine/scene/Sprite3D.h"
#include "platform/Math.h"
#include "platform/mesh/XAnimation.h"

namespace Nembra {

class CAnimated3DSprite : public C3DSprite {
 public:
  // No mesh yet: a bounding radius of 100.
  CAnimated3DSprite();
  ~CAnimated3DSprite() override;
  // A copy plays on a clone of the other's controller (same sets, callback
  // keys, tracks and time), with the same set and flags; it starts with an
  // empty bone cache and no attached nodes.
  CAnimated3DSprite(const CAnimated3DSprite& other);
  CAnimated3DSprite& operator=(const CAnimated3DSprite& other);

  // Gives the sprite a mesh and a fresh clone of its controller. A sprite
  // that had a set playing keeps playing it, looping, from the same track
  // position (replayed without callbacks). Bone matrices handed out before
  // follow the new mesh's frames of the same names; one whose name the new
  // mesh lacks keeps its last matrix. Null only stores null.
  void SetMesh(CSkinnedMesh* mesh);
  // Plays the named set from its start on the other track; the old track
  // stops. An unknown name leaves the sprite without a set (and is
  // reported as missing, as are unknown names below).
  void SetAnimation(const std::string& name, bool loop);
  // Plays the other sprite's set with its loop flag at its track position,
  // without callbacks.
  void SyncAnimation(const CAnimated3DSprite& other);
  // Replaces the named set of this sprite's controller by a copy carrying
  // these callback keys (times in the set's ticks). Unknown names change nothing.
  void SetAnimationCallbacks(const std::string& name, const std::vector<platform::D3DXKEY_CALLBACK>& keys);

  // The combined matrix of the named frame as of the last pose; the pointer
  // stays valid until ClearBoneCache (see there). Null when the mesh has no
  // such frame.
  D3DXMATRIX* GetBoneMatrix(const std::string& name);
  // Later lookups make new records. A matrix handed out before stays valid
  // (and keeps following its bone) for as long as a node attached to this
  // sprite's bones reads it; the others are freed.
  void ClearBoneCache();
  // Nodes updated after every pose (CSceneNode::AttachToBone adds them);
  // the sprite never deletes them. A node destroyed while attached takes
  // itself out (ForgetNode); the sprite, destroyed first, lets go of every
  // node still reading one of its bones (DropBone).
  void AttachNode(CSceneNode* node);
  void DetachNode(CSceneNode* node) { m_AttachedNodes.remove(node); }
  void ForgetNode(CSceneNode* node);
  void ClearAttachedNodes() { m_AttachedNodes.clear(); }
  const std::list<CSceneNode*>& GetAttachedNodes() const { return m_AttachedNodes; }

  // The 3D sprite's culling and submission; a culled sprite still keeps
  // its animation time.
  void OnUpdate() override;
  // Time tracking, then submission to the renderer's animated-sprite queues.
  void Draw() override;

  // Once per frame: the clock and the elapsed time move on by the frame
  // time unless paused or a one-shot set is finished; a one-shot set past
  // its period is marked finished and held at its last pose. For a sprite
  // being drawn, the callback keys between where its track stood and that
  // last pose still fire (the frame's own advance no longer moves it).
  void UpdateTime(bool drawn = true);
  // The renderer's time step: AdvanceTime by the frame time (0 once a
  // one-shot set is finished) with the callback handler; nothing when paused.
  void Advance();
  // Writes this sprite's pose into the shared frames (zero advance, no
  // callbacks), updates the frames from the node's world matrix, refreshes
  // the bone cache and updates the attached nodes.
  void Pose();
  // Advance, then the frame update, cache refresh and attached updates. A
  // paused sprite is posed again instead (its time stays frozen), since
  // other sprites of its mesh may have posed the shared frames since.
  void AdvanceAndPose();
  // Applies the mesh's state block and draws it (after Pose).
  void DrawMesh();

  CSkinnedMesh* GetMesh() const { return m_pMesh; }
  platform::ID3DXAnimationController* GetController() const { return m_pAnimController; }
  platform::ID3DXAnimationSet* GetCurrentSet() const { return m_pCurrentSet; }
  uint32_t GetCurrentTrack() const { return m_CurrentTrack; }
  bool IsLooping() const { return m_Loop != 0; }
  bool IsFinished() const { return m_Finished != 0; }
  float GetElapsed() const { return m_Elapsed; }
  double GetClock() const { return m_Clock; }
  // Position of the current track (seconds).
  double GetTrackPosition() const;

  // Set directly by the owner.
  bool m_Paused = false;
  platform::ID3DXAnimationCallbackHandler* m_pCallbackHandler = nullptr;

 private:
  struct BONE_RECORD {
    FRAME* frame = nullptr;
    D3DXMATRIX matrix;
    std::string name;
  };
  void RebindBones();
  // Frees the retired records that no bone user of this sprite reads.
  void FreeUnreadBones();
  // Reports a set this sprite's mesh does not have (the sprite has a mesh).
  void ReportMissingAnimation(const std::string& name) const;
  void RefreshBonesAndNodes();
  void CopyAnimation(const CAnimated3DSprite& other);

  CSkinnedMesh* m_pMesh = nullptr;
  platform::ID3DXAnimationController* m_pAnimController = nullptr;
  double m_Clock = 0;
  uint32_t m_CurrentTrack = 0;
  platform::ID3DXAnimationSet* m_pCurrentSet = nullptr;
  uint8_t m_Loop = 0;
  uint8_t m_Finished = 0;
  float m_Elapsed = 0;
  std::unordered_map<std::string, std::unique_ptr<BONE_RECORD>> m_BoneCache;
  std::vector<std::unique_ptr<BONE_RECORD>> m_RetiredBones;
  std::list<CSceneNode*> m_AttachedNodes;
  // Every node attached to a bone of this sprite, updated or not.
  std::vector<CSceneNode*> m_BoneUsers;
};

}  // namespace Nembra
