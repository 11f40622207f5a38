#include "engine/scene/GeometrySet.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "engine/resources/Material.h"
#include "engine/resources/SkinnedMesh.h"
#include "engine/resources/Shader.h"
#include "engine/resources/Texture.h"
#include "engine/scene/Animated3DSprite.h"
#include "engine/scene/Billboard.h"
#include "engine/scene/Camera.h"
#include "engine/scene/RenderEffect.h"
#include "engine/scene/SceneDevice.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/StaticSprite.h"

namespace Nembra {

CGeometrySetRegistry* g_pGeometrySetRegistry = nullptr;

namespace {

// An animated sprite that is a 3D sprite has the owner's visible switch and
// may carry a render effect; one that is not is always drawn, plainly.
template <class T>
bool IsShown(T* sprite) {
  if constexpr (std::is_base_of<C3DSprite, T>::value) return sprite->IsVisible();
  return true;
}
template <class T>
CRenderEffect* EffectOf(T* sprite) {
  if constexpr (std::is_base_of<C3DSprite, T>::value) return sprite->GetRenderEffect();
  return nullptr;
}

}  // namespace

const D3DXMATRIX& IdentityMatrix() {
  static const D3DXMATRIX identity;
  return identity;
}

CStaticSpriteGeometrySet::CStaticSpriteGeometrySet(CMeshSubset* subset, const D3DXMATRIX* world) : m_Subset(subset) {
  worldMatrix = world;
  if (subset) {
    stateBlock = subset->GetShader();
    material = subset->GetMaterial();
    textureSet = &subset->GetTextures();
    batchable = subset->IsOpaque();
  }
}

bool CStaticSpriteGeometrySet::IsDrawable() const { return m_Subset && m_Subset->IsSetUp(); }

void CStaticSpriteGeometrySet::Draw() {
  if (m_Subset) m_Subset->Draw();
}

CStaticBillboardGeometrySet::CStaticBillboardGeometrySet(CStaticBillboard* owner) : m_Owner(owner) {}
void CStaticBillboardGeometrySet::Draw() { m_Owner->DrawQuad(); }

CPlaneSpriteGeometrySet::CPlaneSpriteGeometrySet(CPlaneSprite* owner) : m_Owner(owner) {}
void CPlaneSpriteGeometrySet::Draw() { m_Owner->DrawQuad(); }

// ---- Submission ------------------------------------------------------------

float CGeometrySetRegistry::SortKey(CSceneNode* node) {
  CCamera* camera = g_pSceneManager ? g_pSceneManager->GetCamera() : nullptr;
  if (!camera || !node) return 0.0f;
  const D3DXVECTOR3 d = camera->GetWorldPosition() - node->GetWorldPosition();
  const float key = -(d.x * d.x + d.y * d.y + d.z * d.z);
  // A distance that is not a number sorts as the farthest.
  return std::isnan(key) ? -INFINITY : key;
}

static const std::string& NameOf(const CResource* resource) {
  static const std::string none;
  return resource ? resource->GetName() : none;
}

bool CGeometrySetRegistry::AddSet(CGeometrySet* set) {
  if (!set) return false;
  StateBlockBatch& block = m_Batches[NameOf(set->stateBlock)];
  block.stateBlock = set->stateBlock;
  MaterialBatch& material = block.materials[NameOf(set->material)];
  material.material = set->material;
  static const std::string noTextures;
  TextureBatch& textures = material.textures[set->textureSet ? set->textureSet->GetName() : noTextures];
  textures.textureSet = set->textureSet;
  textures.sets.push_back(set);
  return true;
}

bool CGeometrySetRegistry::Enqueue(Queue queue, CGeometrySet* set, float key) {
  if (!set) return false;
  m_Queues[queue].emplace_back(key, set);
  return true;
}

bool CGeometrySetRegistry::SubmitStaticSprite(CStatic3DSprite* sprite) {
  if (!sprite) return false;
  bool keyed = false;
  float key = 0.0f;
  for (CStaticSpriteGeometrySet& set : sprite->GetSubsetSets()) {
    if (!set.IsDrawable()) continue;
    if (set.batchable && !set.renderEffect) {
      AddSet(&set);
    } else {
      if (!keyed) {
        key = SortKey(sprite);
        keyed = true;
      }
      Enqueue(QUEUE_TRANSPARENT, &set, key);
    }
  }
  return true;
}

bool CGeometrySetRegistry::SubmitAnimatedSprite(CAnimated3DSprite* sprite) {
  if (!sprite) return false;
  CSkinnedMesh* mesh = sprite->GetMesh();
  const bool transparent = (mesh && mesh->IsTransparent()) || EffectOf(sprite);
  (transparent ? m_TransparentAnimated : m_OpaqueAnimated).push_back(sprite);
  return true;
}

bool CGeometrySetRegistry::SubmitBillboard(CStaticBillboard* billboard) {
  if (!billboard || !billboard->GetGeometrySet()) return false;
  return Enqueue(QUEUE_BILLBOARDS, billboard->GetGeometrySet(), SortKey(billboard));
}

bool CGeometrySetRegistry::SubmitPlaneSprite(CPlaneSprite* sprite) {
  if (!sprite || !sprite->GetGeometrySet()) return false;
  return Enqueue(QUEUE_TRANSPARENT, sprite->GetGeometrySet(), SortKey(sprite));
}

bool CGeometrySetRegistry::SubmitParticleSystem(CSceneNode* emitter, CGeometrySet* set) {
  if (!emitter || !set) return false;
  if (set->batchable) return AddSet(set);
  return Enqueue(QUEUE_PARTICLES, set, SortKey(emitter));
}

bool CGeometrySetRegistry::SubmitBeam(CSceneNode* beam, CGeometrySet* set) {
  if (!beam || !set) return false;
  if (set->batchable) return AddSet(set);
  return Enqueue(QUEUE_BEAMS, set, SortKey(beam));
}

// ---- Inspection --------------------------------------------------------------

size_t CGeometrySetRegistry::GetStateBlockBatchCount() const {
  size_t n = 0;
  for (const auto& block : m_Batches) {
    bool any = false;
    for (const auto& material : block.second.materials)
      for (const auto& textures : material.second.textures) any = any || !textures.second.sets.empty();
    n += any ? 1 : 0;
  }
  return n;
}

size_t CGeometrySetRegistry::GetMaterialBatchCount() const {
  size_t n = 0;
  for (const auto& block : m_Batches)
    for (const auto& material : block.second.materials) {
      bool any = false;
      for (const auto& textures : material.second.textures) any = any || !textures.second.sets.empty();
      n += any ? 1 : 0;
    }
  return n;
}

size_t CGeometrySetRegistry::GetTextureBatchCount() const {
  size_t n = 0;
  for (const auto& block : m_Batches)
    for (const auto& material : block.second.materials)
      for (const auto& textures : material.second.textures) n += textures.second.sets.empty() ? 0 : 1;
  return n;
}

size_t CGeometrySetRegistry::GetBatchedSetCount() const {
  size_t n = 0;
  for (const auto& block : m_Batches)
    for (const auto& material : block.second.materials)
      for (const auto& textures : material.second.textures) n += textures.second.sets.size();
  return n;
}

// ---- The render pass -----------------------------------------------------------

namespace {

// A skinned mesh inside its sprite's effect bracket.
void DrawSkinned(CAnimated3DSprite* sprite, CSkinnedMesh* mesh) {
  CRenderEffect* effect = EffectOf(sprite);
  if (effect) effect->Begin();
  mesh->Draw();
  if (effect) effect->End();
}

void DrawSet(CGeometrySet* set, platform::IDevice* device) {
  if (set->renderEffect) set->renderEffect->Begin();
  if (device) device->SetTransform(platform::D3DTS_WORLD, set->worldMatrix ? set->worldMatrix : &IdentityMatrix());
  set->Draw();
  if (set->renderEffect) set->renderEffect->End();
}

}  // namespace

void CGeometrySetRegistry::DrawAnimated() {
  for (CAnimated3DSprite* sprite : m_OpaqueAnimated) {
    if (!IsShown(sprite)) continue;
    sprite->AdvanceAndPose();
    CSkinnedMesh* mesh = sprite->GetMesh();
    if (!mesh) continue;
    if (CShader* block = mesh->GetShader()) block->Apply(false);
    DrawSkinned(sprite, mesh);
  }
  m_OpaqueAnimated.clear();
}

void CGeometrySetRegistry::DrawBatches() {
  platform::IDevice* device = GetSceneDevice();
  for (auto& blockEntry : m_Batches) {
    StateBlockBatch& block = blockEntry.second;
    bool blockApplied = false;
    for (auto& materialEntry : block.materials) {
      MaterialBatch& material = materialEntry.second;
      bool materialApplied = false;
      for (auto& textureEntry : material.textures) {
        TextureBatch& textures = textureEntry.second;
        if (textures.sets.empty()) continue;
        if (!blockApplied) {
          if (block.stateBlock) block.stateBlock->Apply(false);
          blockApplied = true;
        }
        if (!materialApplied) {
          if (material.material) material.material->Apply();
          materialApplied = true;
        }
        if (textures.textureSet) textures.textureSet->Apply();
        for (CGeometrySet* set : textures.sets) DrawSet(set, device);
        textures.sets.clear();
      }
    }
  }
}

void CGeometrySetRegistry::DrawTransparentAnimated() {
  for (int pass = 0; pass < 2; ++pass) {
    const platform::DWORD cull = pass == 0 ? platform::D3DCULL_CCW : platform::D3DCULL_CW;
    for (CAnimated3DSprite* sprite : m_TransparentAnimated) {
      if (!IsShown(sprite)) continue;
      if (pass == 0) sprite->Advance();
      sprite->Pose();
      CSkinnedMesh* mesh = sprite->GetMesh();
      if (!mesh) continue;
      if (CShader* block = mesh->GetShader()) {
        // Written into the mesh's (possibly shared) block, as the blocks
        // keep the last culling they were drawn with.
        block->SetRenderState(platform::D3DRS_CULLMODE, cull);
        block->Apply(false);
      }
      DrawSkinned(sprite, mesh);
    }
  }
  m_TransparentAnimated.clear();
}

void CGeometrySetRegistry::DrawQueues() {
  platform::IDevice* device = GetSceneDevice();
  CMaterial* lastMaterial = nullptr;
  const CTextureSet* lastTextures = nullptr;
  for (auto& queue : m_Queues) {
    std::stable_sort(queue.begin(), queue.end(),
                     [](const std::pair<float, CGeometrySet*>& a, const std::pair<float, CGeometrySet*>& b) {
                       return a.first < b.first;
                     });
    for (const auto& entry : queue) {
      CGeometrySet* set = entry.second;
      if (set->stateBlock) set->stateBlock->Apply(false);
      if (set->material != lastMaterial) {
        if (set->material) set->material->Apply();
        lastMaterial = set->material;
      }
      if (set->textureSet && !set->textureSet->Equals(lastTextures)) {
        set->textureSet->Apply();
        lastTextures = set->textureSet;
      }
      DrawSet(set, device);
    }
    queue.clear();
  }
}

bool CGeometrySetRegistry::RenderBatches() {
  if (g_pGraphicsDevice) g_pGraphicsDevice->Clear();
  DrawAnimated();
  DrawBatches();
  DrawTransparentAnimated();
  DrawQueues();
  return true;
}

}  // namespace Nembra
