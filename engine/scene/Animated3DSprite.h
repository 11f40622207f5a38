#pragma once
// One instance of a skinned mesh in the world: its own clone of the mesh's
// animation controller, one animation set played at a time (looping or
// once), key-frame callbacks, bone lookups and nodes that follow bones.
// Because the frames belong to the shared mesh, each sprite writes its pose
// into them just before it is drawn.
//
// The scene-graph side is kept to what the animation needs: the sprite has
// a world matrix set by its owner, and attached objects implement
// IBoneAttached (the scene's nodes do, so AttachToBone can add them).
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/resources/SkinnedMesh.h"
#include "platform/Math.h"
#include "platform/mesh/XAnimation.h"

namespace Nembra {

// An object whose transform follows a bone; updated after every pose.
class IBoneAttached {
 public:
  virtual ~IBoneAttached() = default;
  virtual void Update() = 0;
};

class CAnimated3DSprite {
 public:
  CAnimated3DSprite() = default;
  virtual ~CAnimated3DSprite();
  CAnimated3DSprite(const CAnimated3DSprite&) = delete;
  CAnimated3DSprite& operator=(const CAnimated3DSprite&) = delete;

  // Gives the sprite a mesh and a fresh clone of its controller. A sprite
  // that had a set playing keeps playing it, looping, from the same track
  // position (replayed without callbacks). Null only stores null.
  void SetMesh(CSkinnedMesh* mesh);
  // Plays the named set from its start on the other track; the old track
  // stops. An unknown name leaves the sprite without a set.
  void SetAnimation(const std::string& name, bool loop);
  // Plays the other sprite's set with its loop flag at its track position,
  // without callbacks.
  void SyncAnimation(const CAnimated3DSprite& other);
  // Replaces the named set of this sprite's controller by a copy carrying
  // these callback keys (times in the set's ticks). Unknown names change nothing.
  void SetAnimationCallbacks(const std::string& name, const std::vector<platform::D3DXKEY_CALLBACK>& keys);

  // The combined matrix of the named frame as of the last pose; the pointer
  // stays valid for the sprite's life. Null when the mesh has no such frame.
  D3DXMATRIX* GetBoneMatrix(const std::string& name);
  // Later lookups make new records; matrices handed out before stay valid
  // (and keep following their bones) until the sprite is destroyed.
  void ClearBoneCache();
  void AttachNode(IBoneAttached* node) { m_AttachedNodes.push_back(node); }
  void DetachNode(IBoneAttached* node) { m_AttachedNodes.remove(node); }
  void ClearAttachedNodes() { m_AttachedNodes.clear(); }
  const std::list<IBoneAttached*>& GetAttachedNodes() const { return m_AttachedNodes; }

  // Once per frame: the clock and the elapsed time move on by the frame
  // time unless paused or a one-shot set is finished; a one-shot set past
  // its period is marked finished and held at its last pose.
  void UpdateTime();
  // The renderer's time step: AdvanceTime by the frame time (0 once a
  // one-shot set is finished) with the callback handler; nothing when paused.
  void Advance();
  // Writes this sprite's pose into the shared frames (zero advance, no
  // callbacks), updates the frames from the world matrix, refreshes the
  // bone cache and updates the attached nodes.
  void Pose();
  // Advance, then the frame update, cache refresh and attached updates.
  void AdvanceAndPose();
  // Applies the mesh's state block and draws it (after Pose).
  void DrawMesh();

  void SetWorldMatrix(const D3DXMATRIX& world) { m_World = world; }
  const D3DXMATRIX& GetWorldMatrix() const { return m_World; }
  float GetBoundingRadius() const { return m_BoundingRadius; }

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
  };
  void RefreshBonesAndNodes();

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
  std::list<IBoneAttached*> m_AttachedNodes;
  D3DXMATRIX m_World;
  float m_BoundingRadius = 100.0f;
};

}  // namespace Nembra
