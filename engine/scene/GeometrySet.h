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
#include <list>
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
  virtual ~CGeometrySet() = default;
  virtual void Draw() = 0;

  const D3DXMATRIX* worldMatrix = nullptr;  // not owned
  CShader* stateBlock = nullptr;
  CMaterial* material = nullptr;
  const CTextureSet* textureSet = nullptr;
  bool batchable = false;
  CRenderEffect* renderEffect = nullptr;  // not owned
};

// The engine's identity matrix, for sets whose vertices are in world space.
const D3DXMATRIX& IdentityMatrix();

// One subset of a static sprite's mesh, drawn with the sprite's matrix.
class CStaticSpriteGeometrySet : public CGeometrySet {
 public:
  CStaticSpriteGeometrySet() = default;
  CStaticSpriteGeometrySet(CMeshSubset* subset, const D3DXMATRIX* world);
  void Draw() override;
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

 private:
  CStaticBillboard* m_Owner;
};

class CPlaneSpriteGeometrySet : public CGeometrySet {
 public:
  explicit CPlaneSpriteGeometrySet(CPlaneSprite* owner);
  void Draw() override;

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
  bool SubmitBillboard(CStaticBillboard* billboard);
  bool SubmitPlaneSprite(CPlaneSprite* sprite);
  // Emitters and beams hand in their node (for the distance) and their set.
  bool SubmitParticleSystem(CSceneNode* emitter, CGeometrySet* set);
  bool SubmitBeam(CSceneNode* beam, CGeometrySet* set);

  // Draws and empties everything; always true.
  bool RenderBatches();

  // Batches keep their entries (and room) from frame to frame; a batch with
  // nothing submitted is skipped.
  // Inspection, for tests and statistics.
  size_t GetQueueSize(Queue queue) const { return m_Queues[queue].size(); }
  // Batches holding at least one set.
  size_t GetStateBlockBatchCount() const;
  size_t GetMaterialBatchCount() const;
  size_t GetTextureBatchCount() const;
  size_t GetBatchedSetCount() const;
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

  bool Enqueue(Queue queue, CGeometrySet* set, float key);
  void DrawAnimated();
  void DrawBatches();
  void DrawTransparentAnimated();
  void DrawQueues();

  std::unordered_map<std::string, StateBlockBatch> m_Batches;
  // Each queue is kept in submission order and sorted by key (stably, so
  // equal distances keep that order) when drawn; the vectors keep their
  // room from frame to frame.
  std::vector<std::pair<float, CGeometrySet*>> m_Queues[QUEUE_COUNT];
  std::list<CAnimated3DSprite*> m_OpaqueAnimated;
  std::list<CAnimated3DSprite*> m_TransparentAnimated;
};

extern CGeometrySetRegistry* g_pGeometrySetRegistry;

}  // namespace Nembra
