#include "game/actors/Bullet.h"

#include "engine/app/Application.h"
#include "engine/scene/SceneManager.h"
#include "game/level/Level.h"
#include "game/world/GameWorld.h"

namespace {

const char* BeamTexture(uint32_t colour, uint32_t power) {
  static const char* const kBlue[3] = {"PlayerBlueShot1.tga", "PlayerBlueShot2.tga", "PlayerBlueShot3.tga"};
  static const char* const kRed[3] = {"PlayerRedShot1.tga", "PlayerRedShot2.tga", "PlayerRedShot3.tga"};
  if (power < 1 || power > 3) return nullptr;
  return colour != 0 ? kBlue[power - 1] : kRed[power - 1];
}

// The hand's height: where the beam is drawn above the shot's path.
float HandHeight() {
  if (!g_pGameWorld) return 0.0f;
  return g_pGameWorld->GetPlayer().GetHand().WorldPosition().z;
}

}  // namespace

void CBullet::Init(const int& colour, const float start[3], const float direction[3], const uint32_t& power) {
  m_Colour = static_cast<uint32_t>(colour);
  SetPosition(start[0], start[1], start[2]);
  SetDirection(D3DXVECTOR3(direction[0], direction[1], direction[2]));
  m_Power = power;
  const char* texture = BeamTexture(m_Colour, m_Power);
  m_HasBeam = texture != nullptr;
  if (m_HasBeam) m_Beam.Create(texture, BEAM_LENGTH, BEAM_WIDTH, D3DXVECTOR3(1.0f, 0.0f, 0.0f), true);
  m_Beam.direction = m_Direction;
}

void CBullet::AddToScene(Nembra::CSceneNode* parent) {
  CEntity::AddToScene(parent);
  if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->AddNode(&m_Beam, this);
  m_Beam.SetPosition(0.0f, 0.0f, HandHeight());
  m_Beam.UpdateWorldMatrix();
}

void CBullet::ShapeBeam() {
  if (m_Distance < BEAM_LENGTH) {
    m_Beam.length = m_Distance + BEAM_LEAD;
    m_Beam.halfWidth = BEAM_HALF_WIDTH;
  } else if (m_Distance > BEAM_LENGTH) {
    m_Beam.length = BEAM_LENGTH;
    m_Beam.halfWidth = BEAM_HALF_WIDTH;
  }
  if (m_HasBeam) m_Beam.Draw();
}

void CBullet::Step() {
  CEntity::Step();
  ShapeBeam();
  if (m_Finished) {
    m_Active = 0;
    return;
  }
  const float step = m_Speed * Nembra::g_FrameTime;
  const D3DXVECTOR3 start = WorldPosition();
  D3DXVECTOR3 best = start + m_Direction * step;
  const bool found = FindHit(start, best);
  SetPosition(best);
  UpdateWorldMatrix();
  if (!found) {
    m_Distance += step;
    if (m_Distance >= RANGE) m_Finished = 1;
    return;
  }
  m_Finished = 1;
  ApplyHit();
}

bool CBullet::FindHit(const D3DXVECTOR3& start, D3DXVECTOR3& best) {
  m_LastHit = Hit::None;
  m_pHitObject = nullptr;
  CLevel* level = CLevel::Current();
  if (!level) return false;
  bool found = false;
  float hit[3], normal[3], distance = 0.0f;
  if (level->CheckCollision(&start.x, &best.x, RADIUS, hit, distance, normal, 0, false)) {
    best = D3DXVECTOR3(hit[0], hit[1], hit[2]);
    found = true;
    m_LastHit = Hit::Wall;
  }
  D3DXVECTOR3 d = best - start;
  float bestSq = D3DXVec3LengthSq(&d);

  // A shape on the path up to best, no farther than what was found so far.
  auto shape = [&](CCollisionShape& s, Hit kind, CEntity* object) {
    float point[3], n[3], dist = 0.0f;
    if (!s.IntersectSphere(&start.x, &best.x, RADIUS, point, dist, n)) return false;
    const float sq = dist * dist;
    if (sq > bestSq) return false;
    best = D3DXVECTOR3(point[0], point[1], point[2]);
    bestSq = sq;
    found = true;
    m_LastHit = kind;
    m_pHitObject = object;
    return true;
  };
  // A sphere on the path; best stays where it is.
  auto sphere = [&](CEntity& e, Hit kind) {
    D3DXVECTOR3 contact;
    float sq = 0.0f;
    if (!e.Collide(start, best, RADIUS, contact, sq) || sq > bestSq) return false;
    bestSq = sq;
    found = true;
    m_LastHit = kind;
    m_pHitObject = &e;
    return true;
  };

  for (CBox& box : level->GetBoxes())
    if (box.IsActive()) shape(box.GetCollisionBox(0), Hit::Box, &box);
  for (CDoor& door : level->GetDoors())
    if (door.IsActive()) shape(door.GetCollisionBox(0), Hit::Door, &door);
  for (CWireGrate& grate : level->GetWireGrates()) {
    if (grate.IsActive()) {
      shape(grate.GetCollisionBox(0), grate.IsBreakable() ? Hit::WireGrate : Hit::Wall, &grate);
    } else if (!shape(grate.GetOpenedShape(0), Hit::Wall, &grate)) {
      // An opened grate is a wall to a shot: breaking it again would
      // register its shapes twice.
      shape(grate.GetOpenedShape(1), Hit::Wall, &grate);
    }
  }
  for (COpenCloseDoor& door : level->GetOpenCloseDoors())
    if (door.IsEnabled() && door.GetState() != 2) shape(door.GetCollisionBox(0), Hit::Wall, &door);
  for (CTarget& target : level->GetTargets())
    if (target.IsActive()) shape(target.GetCollisionBox(0), Hit::Target, &target);
  for (CPushable& block : level->GetPushables()) {
    if (!block.IsActive()) continue;
    bool crossed = false;
    for (int face = 0; face < 2 && !crossed; ++face) {
      CCollisionShape& s = face == 0 ? block.GetFrontShape() : block.GetBackShape();
      float point[3], n[3], dist = 0.0f;
      if (s.GetEdges().empty() || !s.IntersectSphere(&start.x, &best.x, RADIUS, point, dist, n)) continue;
      crossed = true;
      const D3DXVECTOR3& e = s.GetEdges().front().direction;
      const float side = m_Direction.x * e.y - m_Direction.y * e.x;
      if (side > 0.0f) {
        shape(s, face == 0 ? Hit::PushForward : Hit::PushBackward, &block);
      } else {
        // Met from behind: stopped where it starts.
        best = start;
        bestSq = 0.0f;
        found = true;
        m_LastHit = Hit::Wall;
        m_pHitObject = &block;
      }
    }
    if (!crossed) shape(block.GetCollisionShape(0), Hit::Wall, &block);
  }
  for (CEnemy* enemy : level->GetEnemies())
    if (enemy->IsActive() && !enemy->IsDying()) sphere(*enemy, Hit::Enemy);
  for (CBarrel& barrel : level->GetBarrels())
    if (barrel.IsActive()) shape(barrel.GetCollisionBox(0), Hit::Barrel, &barrel);
  for (CGenerator& generator : level->GetGenerators())
    if (generator.GetCharge() < generator.GetCapacity())
      shape(generator.GetCollisionBox(0), Hit::Generator, &generator);
  for (CWaveWeapon& station : level->GetWaveWeapons())
    if (station.IsActive() && station.GetCharge() < station.GetCapacity())
      shape(station.GetCollisionBox(0), Hit::WaveWeapon, &station);
  for (auto& entry : level->GetLasers()) {
    CLaser& laser = entry.second;
    if (!laser.IsDestructible()) continue;
    D3DXVECTOR3 contact;
    float sq = 0.0f;
    if (!laser.Collide(start, best, RADIUS, contact, sq)) continue;
    // A destructible laser takes the shot whatever lies nearer.
    found = true;
    m_LastHit = Hit::Laser;
    m_pHitObject = &laser;
  }
  return found;
}

void CBullet::ApplyHit() {
  CLevel* level = CLevel::Current();
  if (!level) return;
  switch (m_LastHit) {
    case Hit::Box: {
      CBox& box = static_cast<CBox&>(*m_pHitObject);
      if (box.GetRequiredPower() > m_Power) return;  // stopped, nothing more
      box.OnHit(m_Power);
      level->AddBulletWallHitEffect(*this);
      return;
    }
    case Hit::Door:
      static_cast<CDoor&>(*m_pHitObject).OnShotHit(*this);
      level->AddBulletWallHitEffect(*this);
      return;
    case Hit::Wall:
      level->AddBulletWallHitEffect(*this);
      return;
    case Hit::WireGrate:
      level->BreakWireGrate(static_cast<CWireGrate&>(*m_pHitObject));
      return;
    case Hit::Enemy:
      static_cast<CEnemy&>(*m_pHitObject).OnShotHit(*this);
      return;
    case Hit::Barrel:
      static_cast<CBarrel&>(*m_pHitObject).Explode();
      return;
    case Hit::Generator:
      static_cast<CGenerator&>(*m_pHitObject).OnHit(*this);
      return;
    case Hit::WaveWeapon:
      static_cast<CWaveWeapon&>(*m_pHitObject).OnBulletHit(*this);
      return;
    case Hit::Target:
      static_cast<CTarget&>(*m_pHitObject).OnShotHit(*this);
      return;
    case Hit::PushForward:
      static_cast<CPushable&>(*m_pHitObject).PushForward();
      return;
    case Hit::PushBackward:
      static_cast<CPushable&>(*m_pHitObject).PushBackward();
      return;
    case Hit::Laser: {
      CLaser& laser = static_cast<CLaser&>(*m_pHitObject);
      laser.Deactivate();
      level->AddSparkEffect(laser.WorldPosition() + D3DXVECTOR3(0.0f, 0.0f, 120.0f));
      return;
    }
    case Hit::None:
      return;
  }
}

namespace Nembra {

CBulletWallHitEffect::CBulletWallHitEffect(const CBullet& shot) {
  CreateEmitter(shot.GetColour() != 0 ? "ImpactoBalaAzul.pfx" : "ImpactoBalaRoja.pfx");
  // The beam's world matrix is a frame old when the shot has moved since.
  CBullet& moved = const_cast<CBullet&>(shot);
  moved.GetBeam().UpdateWorldMatrix();
  SetPosition(moved.GetBeam().GetWorldPosition());
}

}  // namespace Nembra
