#pragma once
// Geometry sets and the frame's render pass. Nothing in the world is drawn
// where it is updated: during the scene update every visible drawable
// submits what it wants drawn to g_pGeometrySetRegistry, and the scene
// manager's Render then draws everything in one pass in a fixed order:
//   1. clear the target and the depth buffer;
//   2. opaque animated sprites;
//   3. opaque static geometry batched by state block, material and texture
//      set (each applied once per batch);
//   4. transparent animated sprites, twice (counter-clockwise culling, then
//      clockwise);
//   5. four queues, each from the farthest to the nearest: static-sprite
//      subsets that are not batched and plane sprites; beams; particle
//      systems; billboards.
// The registry owns nothing it is given; every queue is emptied once drawn.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Math.h"

namespace Nembra {

class CShader;
class CMaterial;
class CTextureSet;
class CRenderEffect;
class CMeshSubset;
class CSceneNode;
class CStatic3DSprite;
class CAnimated3DSprite;
class CStaticBillboard;
class CPlaneSprite;

// One drawable piece: its world matrix, state block, material, texture set
// and optional render effect.
class CGeometrySet {
 public:
  CGeometrySet() = default;
  // A copy is a set of its own: it is not waiting to be drawn.
  CGeometrySet(const CGeometrySet& other) { CopyFields(other); }
  CGeometrySet& operator=(const CGeometrySet& other) {
    CopyFields(other);
    return *this;
  }
  // A set that goes away while submitted is taken out of the frame's
  // batches and queues, so the render pass never draws a destroyed set.
  virtual ~CGeometrySet();
  virtual void Draw() = 0;
  // Whether Draw may leave device states other than its block's behind;
  // the sorted walk then applies the next block even when it is the same.
  virtual bool ChangesStates() const { return true; }
  // States of the drawable's own, set after its block (and material and
  // textures) and before its render effect, which may change them again.
  virtual void ApplyOwnStates() {}
  // Whether the texture factor is the only state the set leaves behind
  // (through ApplyOwnStates): the next set of the same block then needs
  // only that state of its block again.
  virtual bool LeavesOnlyTextureFactor() const { return false; }

  const D3DXMATRIX* worldMatrix = nullptr;  // not owned
  CShader* stateBlock = nullptr;
  CMaterial* material = nullptr;
  const CTextureSet* textureSet = nullptr;
  bool batchable = false;
  CRenderEffect* renderEffect = nullptr;  // not owned

 private:
  friend class CGeometrySetRegistry;
  void CopyFields(const CGeometrySet& other) {
    worldMatrix = other.worldMatrix;
    stateBlock = other.stateBlock;
    material = other.material;
    textureSet = other.textureSet;
    batchable = other.batchable;
    renderEffect = other.renderEffect;
  }
  bool m_Submitted = false;  // in the registry until the next render pass
};

// The engine's identity matrix, for sets whose vertices are in world space.
const D3DXMATRIX& IdentityMatrix();

// One subset of a static sprite's mesh, drawn with the sprite's matrix.
class CStaticSpriteGeometrySet : public CGeometrySet {
 public:
  CStaticSpriteGeometrySet() = default;
  CStaticSpriteGeometrySet(CMeshSubset* subset, const D3DXMATRIX* world);
  void Draw() override;
  bool ChangesStates() const override { return false; }
  CMeshSubset* GetSubset() const { return m_Subset; }
  // A subset left without material and state block is never drawn.
  bool IsDrawable() const;

 private:
  CMeshSubset* m_Subset = nullptr;
};

class CStaticBillboardGeometrySet : public CGeometrySet {
 public:
  explicit CStaticBillboardGeometrySet(CStaticBillboard* owner);
  void Draw() override;
  // The sprite's colour as the texture factor, left behind for the next
  // set, so the next set's block is applied again.
  void ApplyOwnStates() override;
  bool LeavesOnlyTextureFactor() const override { return true; }

 private:
  CStaticBillboard* m_Owner;
};

class CPlaneSpriteGeometrySet : public CGeometrySet {
 public:
  explicit CPlaneSpriteGeometrySet(CPlaneSprite* owner);
  void Draw() override;
  // The sprite's colour as the texture factor, left behind for the next
  // set, so the next set's block is applied again.
  void ApplyOwnStates() override;
  bool LeavesOnlyTextureFactor() const override { return true; }

 private:
  CPlaneSprite* m_Owner;
};

class CGeometrySetRegistry {
 public:
  enum Queue { QUEUE_TRANSPARENT = 0, QUEUE_BEAMS, QUEUE_PARTICLES, QUEUE_BILLBOARDS, QUEUE_COUNT };

  CGeometrySetRegistry() = default;
  CGeometrySetRegistry(const CGeometrySetRegistry&) = delete;
  CGeometrySetRegistry& operator=(const CGeometrySetRegistry&) = delete;

  // Files the set in the batch tree under its state block's, material's and
  // texture set's names. False (nothing filed) for a null set.
  bool AddSet(CGeometrySet* set);
  // Batchable subsets without an effect go to the batch tree, the others to
  // the transparent queue with the sprite's key (keeping subset order).
  bool SubmitStaticSprite(CStatic3DSprite* sprite);
  bool SubmitAnimatedSprite(CAnimated3DSprite* sprite);
  // Takes a sprite out of this frame's queues (it is being destroyed).
  void ForgetAnimatedSprite(CAnimated3DSprite* sprite);
  bool SubmitBillboard(CStaticBillboard* billboard);
  bool SubmitPlaneSprite(CPlaneSprite* sprite);
  // Emitters and beams hand in their node (for the distance) and their set.
  bool SubmitParticleSystem(CSceneNode* emitter, CGeometrySet* set);
  bool SubmitBeam(CSceneNode* beam, CGeometrySet* set);

  // Draws and empties everything; always true.
  bool RenderBatches();
  // Takes every entry of the set out of the batches and queues.
  void Withdraw(const CGeometrySet* set);

  // Batches keep their entries (and room) from frame to frame; a batch with
  // nothing submitted is skipped.
  // Inspection, for tests and statistics.
  size_t GetQueueSize(Queue queue) const { return m_Queues[queue].size(); }
  // Batches holding at least one set, at each level, and the sets in them.
  void CountBatches(size_t* blocks, size_t* materials, size_t* textures, size_t* sets) const;
  size_t GetStateBlockBatchCount() const { return Count(0); }
  size_t GetMaterialBatchCount() const { return Count(1); }
  size_t GetTextureBatchCount() const { return Count(2); }
  size_t GetBatchedSetCount() const { return Count(3); }

  size_t GetOpaqueAnimatedCount() const { return m_OpaqueAnimated.size(); }
  size_t GetTransparentAnimatedCount() const { return m_TransparentAnimated.size(); }

  // The sort key of a drawable: minus its squared distance from the active
  // camera's node (0 without an active camera).
  static float SortKey(CSceneNode* node);

 private:
  struct TextureBatch {
    const CTextureSet* textureSet = nullptr;
    std::vector<CGeometrySet*> sets;  // submission order; emptied once drawn
  };
  struct MaterialBatch {
    CMaterial* material = nullptr;
    std::unordered_map<std::string, TextureBatch> textures;
  };
  struct StateBlockBatch {
    CShader* stateBlock = nullptr;
    std::unordered_map<std::string, MaterialBatch> materials;
  };

  size_t Count(int level) const {
    size_t n[4];
    CountBatches(&n[0], &n[1], &n[2], &n[3]);
    return n[level];
  }
  bool Enqueue(Queue queue, CGeometrySet* set, float key);
  void DrawAnimated();
  void DrawBatches();
  void DrawTransparentAnimated();
  void DrawQueues();

  std::unordered_map<std::string, StateBlockBatch> m_Batches;
  // Each queue is kept in submission order and sorted by key, then by that
  // order (so equal distances keep it), when drawn; the vectors keep their
  // room from frame to frame.
  struct QueueEntry {
    float key;
    uint32_t order;  // submission order, for equal keys
    CGeometrySet* set;
  };
  std::vector<QueueEntry> m_Queues[QUEUE_COUNT];
  // Animated sprites in submission order; the vectors keep their room, and
  // a sprite forgotten while its list is being drawn leaves a null behind.
  std::vector<CAnimated3DSprite*> m_OpaqueAnimated;
  std::vector<CAnimated3DSprite*> m_TransparentAnimated;
  bool m_DrawingAnimated = false;
};

extern CGeometrySetRegistry* g_pGeometrySetRegistry;

}  // namespace Nembra
