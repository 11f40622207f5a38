#include "engine/scene/GeometrySet.h"

#include <algorithm>
#include <cmath>

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

CGeometrySet::~CGeometrySet() {
  if (m_Submitted && g_pGeometrySetRegistry) g_pGeometrySetRegistry->Withdraw(this);
}

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
void CStaticBillboardGeometrySet::ApplyOwnStates() { m_Owner->ApplyColor(); }

CPlaneSpriteGeometrySet::CPlaneSpriteGeometrySet(CPlaneSprite* owner) : m_Owner(owner) {}
void CPlaneSpriteGeometrySet::Draw() { m_Owner->DrawQuad(); }
void CPlaneSpriteGeometrySet::ApplyOwnStates() { m_Owner->ApplyColor(); }

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
  set->m_Submitted = true;
  return true;
}

bool CGeometrySetRegistry::Enqueue(Queue queue, CGeometrySet* set, float key) {
  if (!set) return false;
  std::vector<QueueEntry>& entries = m_Queues[queue];
  entries.push_back(QueueEntry{key, uint32_t(entries.size()), set});
  set->m_Submitted = true;
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
  const bool transparent = (mesh && mesh->IsTransparent()) || sprite->GetRenderEffect();
  (transparent ? m_TransparentAnimated : m_OpaqueAnimated).push_back(sprite);
  return true;
}

void CGeometrySetRegistry::ForgetAnimatedSprite(CAnimated3DSprite* sprite) {
  for (std::vector<CAnimated3DSprite*>* list : {&m_OpaqueAnimated, &m_TransparentAnimated}) {
    if (m_DrawingAnimated)
      std::replace(list->begin(), list->end(), sprite, static_cast<CAnimated3DSprite*>(nullptr));
    else
      list->erase(std::remove(list->begin(), list->end(), sprite), list->end());
  }
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

void CGeometrySetRegistry::Withdraw(const CGeometrySet* set) {
  for (auto& queue : m_Queues)
    queue.erase(std::remove_if(queue.begin(), queue.end(), [set](const QueueEntry& e) { return e.set == set; }),
                queue.end());
  for (auto& block : m_Batches)
    for (auto& material : block.second.materials)
      for (auto& textures : material.second.textures) {
        std::vector<CGeometrySet*>& sets = textures.second.sets;
        sets.erase(std::remove(sets.begin(), sets.end(), set), sets.end());
      }
}

// ---- Inspection --------------------------------------------------------------

void CGeometrySetRegistry::CountBatches(size_t* blocks, size_t* materials, size_t* textures, size_t* sets) const {
  *blocks = *materials = *textures = *sets = 0;
  for (const auto& block : m_Batches) {
    size_t blockSets = 0;
    for (const auto& material : block.second.materials) {
      size_t materialSets = 0;
      for (const auto& batch : material.second.textures) {
        materialSets += batch.second.sets.size();
        *textures += batch.second.sets.empty() ? 0 : 1;
      }
      *materials += materialSets ? 1 : 0;
      blockSets += materialSets;
    }
    *blocks += blockSets ? 1 : 0;
    *sets += blockSets;
  }
}

// ---- The render pass -----------------------------------------------------------

namespace {

// A skinned mesh inside its sprite's effect bracket.
void DrawSkinned(CAnimated3DSprite* sprite, CSkinnedMesh* mesh) {
  CRenderEffect* effect = sprite->GetRenderEffect();
  if (effect) effect->Begin();
  mesh->Draw();
  if (effect) effect->End();
}

void DrawSet(CGeometrySet* set, platform::IDevice* device) {
  set->ApplyOwnStates();
  if (set->renderEffect) set->renderEffect->Begin();
  if (device) device->SetTransform(platform::D3DTS_WORLD, set->worldMatrix ? set->worldMatrix : &IdentityMatrix());
  set->Draw();
  if (set->renderEffect) set->renderEffect->End();
}

}  // namespace

void CGeometrySetRegistry::DrawAnimated() {
  m_DrawingAnimated = true;
  for (size_t i = 0; i < m_OpaqueAnimated.size(); ++i) {
    CAnimated3DSprite* sprite = m_OpaqueAnimated[i];
    if (!sprite || !sprite->IsVisible()) continue;
    sprite->AdvanceAndPose();
    CSkinnedMesh* mesh = sprite->GetMesh();
    if (!mesh) continue;
    if (CShader* block = mesh->GetShader()) block->Apply(false);
    DrawSkinned(sprite, mesh);
  }
  m_OpaqueAnimated.clear();
  m_DrawingAnimated = false;
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
        for (CGeometrySet* set : textures.sets) {
          set->m_Submitted = false;
          DrawSet(set, device);
        }
        textures.sets.clear();
      }
    }
  }
}

void CGeometrySetRegistry::DrawTransparentAnimated() {
  m_DrawingAnimated = true;
  for (int pass = 0; pass < 2; ++pass) {
    const platform::DWORD cull = pass == 0 ? platform::D3DCULL_CCW : platform::D3DCULL_CW;
    for (size_t i = 0; i < m_TransparentAnimated.size(); ++i) {
      CAnimated3DSprite* sprite = m_TransparentAnimated[i];
      if (!sprite || !sprite->IsVisible()) continue;
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
  m_DrawingAnimated = false;
}

void CGeometrySetRegistry::DrawQueues() {
  platform::IDevice* device = GetSceneDevice();
  CMaterial* lastMaterial = nullptr;
  const CTextureSet* lastTextures = nullptr;
  // A block applied right before, with nothing drawn since that may have
  // changed the device's states, need not be applied again.
  const CShader* lastBlock = nullptr;
  // The set before changed only the texture factor after lastBlock: that
  // entry is all the block has to send again.
  bool factorLeft = false;
  for (auto& queue : m_Queues) {
    std::sort(queue.begin(), queue.end(), [](const QueueEntry& a, const QueueEntry& b) {
      return a.key < b.key || (a.key == b.key && a.order < b.order);
    });
    for (const QueueEntry& entry : queue) {
      CGeometrySet* set = entry.set;
      if (set->stateBlock && set->stateBlock != lastBlock) set->stateBlock->Apply(false);
      else if (set->stateBlock && factorLeft) set->stateBlock->ApplyRenderState(platform::D3DRS_TEXTUREFACTOR);
      factorLeft = !set->renderEffect && set->LeavesOnlyTextureFactor();
      lastBlock = (set->renderEffect || (set->ChangesStates() && !factorLeft)) ? nullptr : set->stateBlock;
      if (set->material != lastMaterial) {
        if (set->material) set->material->Apply();
        lastMaterial = set->material;
      }
      if (set->textureSet && !set->textureSet->Equals(lastTextures)) {
        set->textureSet->Apply();
        lastTextures = set->textureSet;
      }
      set->m_Submitted = false;
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
