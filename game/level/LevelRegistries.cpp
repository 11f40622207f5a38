// The level's registries by name: sprites, animated sprites, markers,
// lasers, timers and objectives.
#include "engine/resources/Mesh.h"
#include "engine/resources/SkinnedMesh.h"
#include "game/level/Level.h"

namespace {

// Gives a sprite's mesh back, once: the sprite lets go of it first.
void ReleaseMesh(NAMED_SPRITE& entry) {
  entry.sprite.SetMesh(nullptr);
  entry.mesh.Reset();
}


void Place(Nembra::CSceneNode& node, float x, float y, float z, float angle) {
  node.SetPosition(x, y, z);
  node.SetRotationZ(angle);
}

}  // namespace

void CLevel::AddSprite(const std::string& name, const std::string& meshFile, float x, float y, float z,
                       float angle) {
  auto inserted = m_Sprites.try_emplace(name);
  if (!inserted.second) return;
  NAMED_SPRITE& entry = inserted.first->second;
  if (Nembra::CSimpleMesh* mesh = entry.mesh.Take(meshFile)) entry.sprite.SetMesh(mesh);
  Place(entry.sprite, x, y, z, angle);
  if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->AddNode(&entry.sprite);
}

void CLevel::ChangeSpriteMesh(const std::string& name, const std::string& meshFile) {
  auto it = m_Sprites.find(name);
  if (it == m_Sprites.end()) return;
  NAMED_SPRITE& entry = it->second;
  ReleaseMesh(entry);
  if (Nembra::CSimpleMesh* mesh = entry.mesh.Take(meshFile)) entry.sprite.SetMesh(mesh);
}

void CLevel::RemoveSprite(const std::string& name) {
  auto it = m_Sprites.find(name);
  if (it == m_Sprites.end()) return;
  ReleaseMesh(it->second);
  if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->RemoveNode(&it->second.sprite);
}

void CLevel::ClearNamedSprites() {
  for (auto& entry : m_Sprites) {
    if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->RemoveNode(&entry.second.sprite);
    ReleaseMesh(entry.second);
  }
  m_Sprites.clear();
}

void CLevel::AddAnimatedSprite(const std::string& name, const std::string& meshFile, float x, float y, float z,
                               float angle, const std::string& animation, bool loop,
                               const std::string& endScript) {
  auto inserted = m_AnimatedSprites.try_emplace(name);
  if (!inserted.second) return;
  NAMED_ANIMATED_SPRITE& entry = inserted.first->second;
  if (Nembra::CSkinnedMesh* mesh = entry.mesh.Take(meshFile)) entry.sprite.SetMesh(mesh);
  Place(entry.sprite, x, y, z, angle);
  if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->AddNode(&entry.sprite);
  entry.sprite.GetBoundingSphere().radius = ANIMATED_SPRITE_BOUNDS;
  entry.sprite.SetAnimation(animation, loop);
  entry.endScript = endScript;
}

void CLevel::ChangeSpriteAnimation(const std::string& name, const std::string& animation, int loop) {
  auto it = m_AnimatedSprites.find(name);
  if (it != m_AnimatedSprites.end()) it->second.sprite.SetAnimation(animation, loop != 0);
}

void CLevel::ClearAnimatedSprites() {
  m_AnimatedSprites.clear();  // each sprite goes before its mesh is given back
}

void CLevel::AddMarker(const std::string& name, float x, float y, float z, float size,
                       const std::string& imageFile) {
  auto inserted = m_Markers.try_emplace(name);
  if (!inserted.second) return;
  CMarker& marker = inserted.first->second;
  marker.Create(x, y, z, size, imageFile, 0);
  marker.AddToScene();
}

void CLevel::RemoveMarker(const std::string& name) {
  auto it = m_Markers.find(name);
  if (it != m_Markers.end()) it->second.RemoveFromScene();
}

void CLevel::ActivateMarker(const std::string& name, bool active) {
  auto it = m_Markers.find(name);
  if (it != m_Markers.end()) it->second.Activate(active);
}

CLaser& CLevel::GetLaser(const std::string& name) { return m_Lasers.try_emplace(name).first->second; }

CLevelTimer& CLevel::GetTimer(const std::string& name) { return m_Timers.try_emplace(name).first->second; }

void CLevel::AddObjective(const std::string& name, const std::wstring& text) {
  m_Objectives[name].text = text;
  m_ObjectiveOrder.push_back(name);
}

void CLevel::SetObjectiveComplete(const std::string& name, bool complete) {
  auto it = m_Objectives.find(name);
  if (it == m_Objectives.end() || it->second.complete) return;
  it->second.complete = complete;
  if (!complete) return;
  ++m_CompletedObjectives;
  if (m_CompletedObjectives == static_cast<int>(m_Objectives.size())) m_Finished = true;
}

bool CLevel::GetObjectiveComplete(const std::string& name) const {
  auto it = m_Objectives.find(name);
  return it != m_Objectives.end() && it->second.complete;
}

void CLevel::GetObjectives(std::list<OBJECTIVE*>& out) {
  out.clear();
  for (const std::string& name : m_ObjectiveOrder) {
    auto it = m_Objectives.find(name);
    if (it != m_Objectives.end()) out.push_back(&it->second);
  }
}
