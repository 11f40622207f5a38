#include "game/mechanisms/barriers/Laser.h"

#include <cmath>

#include "engine/app/Application.h"
#include "game/level/Level.h"
#include "game/mechanisms/barriers/DoorLaserFiles.h"
#include "game/script/GameScript.h"
#include "game/world/GameWorld.h"

namespace {

struct LASER_TYPE {
  float damagePerSecond;
  const char* texture;
};
constexpr LASER_TYPE TYPES[3] = {{100.0f, "LaserHurt.tga"}, {350.0f, "LaserKill.tga"}, {0.0f, "LaserScript.tga"}};

}  // namespace

CLaser::CLaser() { SetRadius(RADIUS); }

CLaser::~CLaser() {
  m_Emitter.SetMesh(nullptr);
  m_Receiver.SetMesh(nullptr);
}

void CLaser::AddToScene(Nembra::CSceneNode* parent) {
  CEntity::AddToScene(parent);
  if (!Nembra::g_pSceneManager) return;
  Nembra::g_pSceneManager->AddNode(&m_Emitter, this);
  Nembra::g_pSceneManager->AddNode(&m_Receiver, this);
}

void CLaser::Build() {
  m_Built = true;
  m_BeamWidth = BEAM_WIDTH;
  m_On = m_InitiallyOn;
  m_Intermittent = m_InitiallyIntermittent;
  m_Stopped = m_InitiallyStopped;
  if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->AddNode(&m_Beam);

  const D3DXVECTOR3 position = GetPosition();
  const D3DXVECTOR3 span = m_FarEnd - position;
  m_Length = D3DXVec3Length(&span);
  m_BeamDirection = m_Length > 0.0f ? span / m_Length : D3DXVECTOR3(0.0f, 0.0f, 0.0f);
  m_MoveAxis = D3DXVECTOR3(m_BeamDirection.y, -m_BeamDirection.x, m_BeamDirection.z);
  m_StartPosition = position;
  m_MoveSign = 1.0f;
  m_Offset = m_InitialOffset;

  const bool flat = m_BeamDirection.x == 0.0f && m_BeamDirection.y == 0.0f;
  const float heading = flat ? 0.0f : std::atan2(m_BeamDirection.y, m_BeamDirection.x);
  m_Emitter.SetMesh(m_EmitterMesh.Take(m_EmitterVariant ? "LaserEmitterD.X" : "LaserEmitterND.X"));
  m_Emitter.SetRotationZ(heading);
  m_Emitter.SetPosition(0.0f, 0.0f, EMITTER_HEIGHT);
  m_Receiver.SetMesh(m_ReceiverMesh.Take("LaserReceiver.X"));
  m_Receiver.SetRotationZ(heading + D3DX_PI);
  m_Receiver.SetPosition(m_BeamDirection * m_Length + D3DXVECTOR3(0.0f, 0.0f, EMITTER_HEIGHT));

  // A type outside the three hurts nobody and has no texture.
  const bool known = m_Type >= 0 && m_Type <= 2;
  m_DamagePerSecond = known ? TYPES[m_Type].damagePerSecond : 0.0f;
  m_BeamTexture = known ? TYPES[m_Type].texture : "";

  m_Beam.SetPosition(position + D3DXVECTOR3(0.0f, 0.0f, EMITTER_HEIGHT));
  m_Beam.Create(m_BeamTexture, m_Length, m_BeamWidth, -m_BeamDirection, true);
  m_Beam.visible = true;

  // A second build reads the list again in place of the first.
  m_Durations = m_DurationsFile.empty() ? std::vector<float>() : DoorLaserFiles::ReadDurations(m_DurationsFile);
  m_DurationCount = static_cast<int32_t>(m_Durations.size());
  m_DurationIndex = 0;
  m_BlinkTimer = 0.0f;
}

// Without durations there is no blinking. The loop ends whatever the list
// holds: a duration too short to change the timer (below half a step of the
// float at the timer's size, after a very long frame) drops the time left,
// and a frame toggles at most MAX_TOGGLES_PER_FRAME times.
void CLaser::Blink(float dt) {
  if (m_Durations.empty()) return;
  m_BlinkTimer += dt;
  for (int32_t toggles = 0; m_Durations[static_cast<size_t>(m_DurationIndex)] <= m_BlinkTimer; ++toggles) {
    const float left = m_BlinkTimer - m_Durations[static_cast<size_t>(m_DurationIndex)];
    if (!(left < m_BlinkTimer) || toggles == MAX_TOGGLES_PER_FRAME) {
      m_BlinkTimer = 0.0f;
      break;
    }
    m_On = !m_On;
    m_BlinkTimer = left;
    if (++m_DurationIndex >= m_DurationCount) m_DurationIndex = 0;
  }
}

void CLaser::Step() {
  if (!IsActive()) return;
  if (!m_Built) {
    CEntity::Step();
    return;
  }
  const float dt = Nembra::g_FrameTime;
  if (!m_Stopped) {
    m_Offset += dt * m_MoveSign * m_LaserSpeed;
    if (m_Offset > m_Range) {
      m_MoveSign = -1.0f;
      m_Offset -= 2.0f * (m_Offset - m_Range);
    } else if (m_Offset < 0.0f) {
      m_MoveSign = 1.0f;
      m_Offset = -m_Offset;
    }
  }
  const D3DXVECTOR3 p = m_StartPosition + m_MoveAxis * m_Offset;
  SetPosition(p);
  if (m_Intermittent) Blink(dt);

  if (m_On) {
    D3DXVECTOR3 e = p + m_BeamDirection * m_Length;
    if (CLevel* level = CLevel::Current()) {
      const float from[3] = {p.x, p.y, p.z};
      const float to[3] = {e.x, e.y, e.z};
      float hit[3] = {0.0f, 0.0f, 0.0f};
      float normal[3] = {0.0f, 0.0f, 0.0f};
      float distance = 0.0f;
      if (level->CheckCollision(from, to, 0.0f, hit, distance, normal, 0, true)) e = D3DXVECTOR3(hit[0], hit[1], hit[2]);
    }
    m_Beam.SetPosition(p + D3DXVECTOR3(0.0f, 0.0f, EMITTER_HEIGHT));
    const D3DXVECTOR3 span = e - p;
    m_Beam.length = D3DXVec3Length(&span);
    if (g_pGameWorld) {
      CPlayer& player = g_pGameWorld->GetPlayer();
      D3DXVECTOR3 contact;
      float distanceSq = 0.0f;
      if (player.Collide(D3DXVECTOR3(p.x, p.y, 0.0f), D3DXVECTOR3(e.x, e.y, 0.0f), PLAYER_TEST_RADIUS, contact,
                         distanceSq))
        player.Damage(m_DamagePerSecond * dt, true);
    }
  }
  m_Beam.visible = m_On;
  CEntity::Step();
}

void CLaser::Reset() {
  if (!m_Built) {
    m_Active = 1;
    return;
  }
  m_Offset = m_InitialOffset;
  m_MoveSign = 1.0f;
  SetPosition(m_StartPosition);
  m_On = m_InitiallyOn;
  m_Stopped = m_InitiallyStopped;
  m_Intermittent = m_InitiallyIntermittent;
  m_Active = 1;
  m_Beam.visible = true;
  if (m_Intermittent) {
    m_DurationIndex = 0;
    m_BlinkTimer = 0.0f;
  }
}

void CLaser::Deactivate() {
  if (IsActive() && !m_ScriptFile.empty()) g_GameScript.RunFile(m_ScriptFile);
  m_Active = 0;
  m_Beam.visible = false;
}

void CLaser::SetSettings(const SETTINGS& s) {
  m_InitiallyOn = s.initiallyOn;
  m_Type = s.type;
  m_ScriptFile = s.scriptFile;
  m_EmitterVariant = s.emitterVariant;
  m_InitiallyStopped = s.initiallyStopped;
  m_Range = s.range;
  m_InitialOffset = s.initialOffset;
  m_LaserSpeed = s.speed;
  m_InitiallyIntermittent = s.initiallyIntermittent;
  m_DurationsFile = s.durationsFile;
  m_FarEnd = s.farEnd;
}
