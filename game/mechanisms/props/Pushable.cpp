#include "game/mechanisms/props/Pushable.h"

#include <cmath>

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "game/level/Level.h"
#include "game/mechanisms/MechanismFiles.h"
#include "platform/Files.h"

namespace {
constexpr float PUSH_ACCELERATION = 50.0f;
constexpr float WALL_GAP = 1.0f;       // kept before a wall; the probes start this far out
constexpr float PROBE_RADIUS = 10.0f;  // of the sweeps against enemies and grates
constexpr float GROWN_MARGIN = 60.0f;  // of the class-1 outline, all round
constexpr float ROLL_FACTOR = 100.0f;
constexpr float PROBE_STEPS[5] = {0.0f, -1.0f, 1.0f, -0.5f, 0.5f};

// A closed outline through four corners.
void BuildOutline(CCollisionShape& shape, const D3DXVECTOR3 (&corners)[4]) {
  shape.ClearVertices();
  for (const D3DXVECTOR3& corner : corners) shape.AddVertex(corner);
  shape.AddVertex(corners[0]);
  shape.ComputeBounds();
}

void BuildEdge(CCollisionShape& shape, const D3DXVECTOR3& from, const D3DXVECTOR3& to) {
  shape.ClearVertices();
  shape.AddVertex(from);
  shape.AddVertex(to);
  shape.ComputeBounds();
}
}  // namespace

CPushable::~CPushable() {
  SetMesh(nullptr);
  ReleaseParts();
}

void CPushable::ReleaseParts() {
  for (Nembra::CStatic3DSprite& part : m_Parts) part.SetMesh(nullptr);
  m_Parts.clear();
  m_PartMeshes.clear();
}

bool CPushable::LoadFrames(const std::string& fileName) {
  ReleaseParts();
  std::vector<uint8_t> bytes;
  MechanismFiles::PUSHABLE_PARTS parts;
  parts.partHeight = m_PartHeight;
  if (!platform::ReadWholeFile(Nembra::g_DataDirectory + fileName, bytes) ||
      !MechanismFiles::ParsePushableParts(bytes.data(), bytes.size(), parts))
    return false;
  m_PartHeight = parts.partHeight;
  for (const MechanismFiles::PUSHABLE_PART& record : parts.parts) {
    Nembra::CStatic3DSprite& part = m_Parts.emplace_back();
    part.SetMesh(m_PartMeshes.emplace_back().Take(record.meshFile));
    part.SetPosition(record.x, 0.0f, m_PartHeight);
  }
  return true;
}

void CPushable::AddToScene(Nembra::CSceneNode* parent) {
  CStaticSpriteMovingEntity::AddToScene(parent);
  if (!Nembra::g_pSceneManager) return;
  for (Nembra::CStatic3DSprite& part : m_Parts) Nembra::g_pSceneManager->AddNode(&part, this);
}

void CPushable::UpdateTransform() {
  SetDirection(m_EndPoint - m_StartPoint);
  SetPosition(m_StartPoint + m_Direction * m_StartOffset);
  SetRotationZ(m_Heading);
  m_Speed = 0.0f;
  m_Acceleration = 0.0f;
  UpdateWorldMatrix();
  BuildShapes();
}

void CPushable::BuildShapes() {
  const D3DXVECTOR3 rear = GetPosition();
  const D3DXVECTOR3 along = m_Direction;
  const D3DXVECTOR3 side(-along.y, along.x, 0.0f);
  const D3DXVECTOR3 front = rear + along * m_Length;
  const D3DXVECTOR3 half = side * (m_Width * 0.5f);
  const D3DXVECTOR3 body[4] = {rear - half, front - half, front + half, rear + half};
  BuildOutline(m_CollisionShapes[0], body);
  const D3DXVECTOR3 grownHalf = side * (m_Width * 0.5f + GROWN_MARGIN);
  const D3DXVECTOR3 grownRear = rear - along * GROWN_MARGIN, grownFront = front + along * GROWN_MARGIN;
  const D3DXVECTOR3 grown[4] = {grownRear - grownHalf, grownFront - grownHalf, grownFront + grownHalf,
                                grownRear + grownHalf};
  BuildOutline(m_CollisionShapes[1], grown);
  // A shot crossing the rear face along +side pushes the block forward,
  // one crossing the front face along -side pushes it back.
  BuildEdge(m_FurtherShapes[0], rear - half, rear + half);
  BuildEdge(m_FurtherShapes[1], front + half, front - half);
}

void CPushable::PushForward() {
  m_Speed = PUSH_SPEED;
  m_Acceleration = -PUSH_ACCELERATION;
}

void CPushable::PushBackward() {
  m_Speed = -PUSH_SPEED;
  m_Acceleration = PUSH_ACCELERATION;
}

void CPushable::Step() {
  CEntity::Step();
  if (m_Speed == 0.0f) return;
  const float t = Nembra::g_FrameTime;
  float travel = m_Speed * t + 0.5f * m_Acceleration * t * t;
  const D3DXVECTOR3 side(-m_Direction.y, m_Direction.x, 0.0f);
  const D3DXVECTOR3 position = GetPosition();
  const D3DXVECTOR3 lead =
      travel > 0.0f ? position + m_Direction * (m_Length + WALL_GAP) : position - m_Direction * WALL_GAP;
  D3DXVECTOR3 probes[5];
  for (int k = 0; k < 5; ++k) probes[k] = lead + side * (PROBE_STEPS[k] * m_Width * 0.5f);

  CLevel* level = CLevel::Current();
  if (level) {
    // Walls and the objects' shapes: the nearest hit of the five sweeps.
    float nearest = -1.0f;
    for (const D3DXVECTOR3& probe : probes) {
      const D3DXVECTOR3 end = probe + m_Direction * travel;
      float hit[3], normal[3], distance = 0.0f;
      if (level->CheckCollision(&probe.x, &end.x, 0.0f, hit, distance, normal, COL_TIGHT, true) &&
          (nearest < 0.0f || distance < nearest))
        nearest = distance;
    }
    if (nearest >= 0.0f) {
      const float allowed = nearest > WALL_GAP ? nearest - WALL_GAP : 0.0f;
      travel = travel > 0.0f ? allowed : -allowed;
      m_Speed = 0.0f;
    }
    // The block crushes what it runs over.
    for (CEnemy* enemy : level->GetEnemies()) {
      if (!enemy->IsActive() || enemy->IsDying()) continue;
      for (const D3DXVECTOR3& probe : probes) {
        D3DXVECTOR3 contact;
        float distanceSquared = 0.0f;
        if (enemy->Collide(probe, probe + m_Direction * travel, PROBE_RADIUS, contact, distanceSquared)) {
          enemy->Damage(enemy->GetHealth());
          break;
        }
      }
    }
  }

  SetPosition(position + m_Direction * travel);
  UpdateWorldMatrix();
  BuildShapes();

  const float speed = m_Speed + m_Acceleration * t;
  m_Speed = (speed > 0.0f) != (m_Speed > 0.0f) || m_Speed == 0.0f ? 0.0f : speed;

  if (m_PartHeight != 0.0f && std::isfinite(m_PartHeight)) {
    const float roll = m_Speed * t / m_PartHeight * ROLL_FACTOR;
    for (Nembra::CStatic3DSprite& part : m_Parts) part.SetRotationX(part.GetRotation().x + roll);
  }

  if (!level) return;
  for (CWireGrate& grate : level->GetWireGrates()) {
    if (!grate.IsActive()) continue;
    for (const D3DXVECTOR3& probe : probes) {
      D3DXVECTOR3 contact;
      float distanceSquared = 0.0f;
      if (grate.Collide(probe, probe + m_Direction * travel, PROBE_RADIUS, contact, distanceSquared)) {
        grate.Break();
        level->AddPushableCollisionEffect(grate.WorldPosition());
        break;
      }
    }
  }
}

bool CPushable::LoadMesh(const std::string& name) {
  SetMesh(nullptr);
  Nembra::CSimpleMesh* mesh = m_Mesh.Take(name);
  return mesh != nullptr && SetMesh(mesh);
}
