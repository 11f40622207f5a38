#include "game/mechanisms/barriers/Door.h"

#include "engine/resources/SkinnedMesh.h"
#include "engine/util/Utilities.h"
#include "game/actors/Bullet.h"
#include "game/level/Level.h"
#include "game/mechanisms/SoundCue.h"
#include "game/mechanisms/barriers/DoorLaserFiles.h"
#include "game/mechanisms/barriers/Roof.h"
#include "game/script/GameScript.h"
#include "platform/Text.h"

namespace {

// A roof fades when its door opens or breaks.
void HideRoof(CRoof* roof) {
  if (roof) roof->Hide();
}

// Box 0 width x depth, box 1 grown for characters, turned with the door.
void BuildDoorBoxes(COLLISION_BOXES& boxes, const D3DXVECTOR3& at, float angle, float width, float depth) {
  CollisionShapes::BuildDoorShape(boxes[0], at, angle, width, depth, false);
  CollisionShapes::BuildDoorShape(boxes[1], at, angle, width, depth, true);
}

}  // namespace

// ---------------------------------------------------------------- breakable

CDoor::CDoor() {
  SetRadius(RADIUS);
  m_Vanish.speed = VANISH_SPEED;
  m_RedTint.Start(D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f), D3DXCOLOR(1.0f, 0.0f, 0.0f, 1.0f), TINT_SECONDS);
  m_BlueTint.Start(D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f), D3DXCOLOR(0.0f, 0.0f, 1.0f, 1.0f), TINT_SECONDS);
}

CDoor::~CDoor() { SetMesh(nullptr); }

bool CDoor::LoadFromFile(const std::string& fileName) {
  DOOR_DESCRIPTION description;
  if (!DoorLaserFiles::ReadDoorDescription(fileName, description)) return false;
  SetMesh(m_Mesh.Take(description.meshName));
  m_Width = description.width;
  m_Depth = description.depth;
  return true;
}

void CDoor::LoadSound() { m_Sound.Take("DoorExplosion.wav"); }

void CDoor::OnShotHit(const CBullet& shot) { OnHit(shot.GetColour(), shot.GetPower()); }

void CDoor::OnHit(uint32_t colour, uint32_t power) {
  if (!m_ColourFixed) {
    m_Colour = colour;
    Nembra::CColorizeEffect& tint = colour == 1 ? m_BlueTint : m_RedTint;
    tint.Restart();
    m_Sprite.SetRenderEffect(&tint);
    m_ColourFixed = 1;
  }
  if (m_Charge < m_ChargeNeeded) {
    if (colour == m_Colour) m_Charge += power;
  } else if (colour != m_Colour) {
    Break();
  }
}

void CDoor::Break() {
  m_Active = 0;
  HideRoof(m_pRoof);
  RemoveBoxesFromLevel(m_CollisionBoxes);
  if (CLevel* level = CLevel::Current()) level->AddDoorExplosionEffect(*this);
  m_Sound.Play();
  m_Breaking = 1;
  m_Vanish.Start(false);
  m_Sprite.SetRenderEffect(&m_Vanish);
  if (!m_ScriptFile.empty()) g_GameScript.RunFile(m_ScriptFile);
}

void CDoor::Step() {
  CStaticSpriteEntity::Step();
  if (m_Breaking && m_Vanish.IsFinished()) {
    m_Sprite.SetRenderEffect(nullptr);
    m_Breaking = 0;
    m_Sprite.SetVisible(false);
  }
}

// Only a broken door gave its boxes back; a standing one keeps them.
void CDoor::Reset() {
  if (!m_Active) {
    AddBoxesToLevel(m_CollisionBoxes);
    m_Active = 1;
  }
  m_Charge = 0;
  m_ColourFixed = 0;
  if (m_pRoof) m_pRoof->Show();
  m_Sprite.SetVisible(true);
  m_Breaking = 0;
  m_Sprite.SetRenderEffect(nullptr);
}

void CDoor::BuildCollisionBoxes() {
  BuildDoorBoxes(m_CollisionBoxes, GetPosition(), GetRotation().z, m_Width, m_Depth);
}

// ---------------------------------------------------------------- open/close

COpenCloseDoor::COpenCloseDoor() { SetRadius(RADIUS); }

COpenCloseDoor::~COpenCloseDoor() { ReleaseMesh(); }

// The sprite lets go of the mesh before it is given back.
void COpenCloseDoor::ReleaseMesh() {
  if (!m_SkinnedMesh.Get()) return;
  m_Sprite.SetMesh(nullptr);
  m_SkinnedMesh.Reset();
}

bool COpenCloseDoor::Load(const std::string& fileName) {
  DOOR_DESCRIPTION description;
  if (!DoorLaserFiles::ReadDoorDescription(fileName, description)) return false;
  ReleaseMesh();
  if (Nembra::CSkinnedMesh* mesh = m_SkinnedMesh.Take(description.meshName)) {
    SetMesh(mesh);
    m_Sprite.GetBoundingSphere().radius = SPRITE_BOUNDS;
  }
  m_Width = description.width;
  m_Depth = description.depth;
  return true;
}

void COpenCloseDoor::Open() {
  if (m_State != STATE_CLOSED && m_State != STATE_CLOSING) return;
  m_State = STATE_OPENING;
  m_Sprite.SetAnimation("Opening", false);
  RemoveBoxesFromLevel(m_CollisionBoxes);
  HideRoof(m_pRoof);
  if (!m_OpenScript.empty()) g_GameScript.RunFile(m_OpenScript);
}

void COpenCloseDoor::Close() {
  if (m_State != STATE_OPEN && m_State != STATE_OPENING) return;
  m_State = STATE_CLOSING;
  m_Sprite.SetAnimation("Closing", false);
  AddBoxesToLevel(m_CollisionBoxes);
  if (!m_CloseScript.empty()) g_GameScript.RunFile(m_CloseScript);
}

void COpenCloseDoor::Step() {
  CAnimatedSpriteEntity::Step();
  if (m_State == STATE_OPENING && m_Sprite.IsFinished()) {
    m_State = STATE_OPEN;
    m_Sprite.SetAnimation("Open", false);
  } else if (m_State == STATE_CLOSING && m_Sprite.IsFinished()) {
    m_State = STATE_CLOSED;
    m_Sprite.SetAnimation("Closed", false);
  }
  if (m_State != STATE_CLOSING && m_State != STATE_CLOSED) return;
  CLevel* level = CLevel::Current();
  if (!level) return;
  const std::vector<D3DXVECTOR3> outline = m_CollisionBoxes[1].GetVertices();
  for (CEnemy* enemy : level->GetEnemies()) {
    if (!enemy || !enemy->IsActive() || enemy->IsDying()) continue;
    const D3DXVECTOR3& at = enemy->GetPosition();
    if (Nembra::IsPointInConvexPolygon(outline, at.x, at.y)) enemy->Damage(enemy->GetHealth());
  }
}

void COpenCloseDoor::SetClosed() {
  if (m_State == STATE_OPEN || m_State == STATE_OPENING) {
    m_State = STATE_CLOSED;
    m_Sprite.SetAnimation("Closed", false);
    AddBoxesToLevel(m_CollisionBoxes);
  }
  if (m_pRoof) m_pRoof->Show();
}

void COpenCloseDoor::SetName(const std::string& name) { m_Name = platform::AsciiUpper(name); }

void COpenCloseDoor::BuildCollisionBoxes() {
  BuildDoorBoxes(m_CollisionBoxes, GetPosition(), GetRotation().z, m_Width, m_Depth);
}
