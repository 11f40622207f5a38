#include "scenario/RouteDriver.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/app/Mouse.h"
#include "engine/scene/Camera.h"
#include "game/world/GameWorld.h"
#include "platform/Input.h"

namespace scenario {

namespace {

constexpr int kWalkKeys[4] = {platform::DIK_W, platform::DIK_S, platform::DIK_A, platform::DIK_D};
constexpr float kScreenW = 800.0f, kScreenH = 600.0f;
// How far ahead of the player the cursor points while it walks.
constexpr float kFacingLead = 250.0f;
// Fighting may stretch a step's time limit by this much at most.
constexpr float kMostFightSeconds = 40.0f;
// A finish point reached must end the level within this time.
constexpr float kFinishGrace = 5.0f;

float Distance2D(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return std::hypot(a.x - b.x, a.y - b.y); }

std::string Point(float x, float y) {
  char text[64];
  std::snprintf(text, sizeof text, "(%.0f, %.0f)", x, y);
  return text;
}

// The eight walking directions: the keys held and the turn from the
// camera's forward (left of it is a positive turn).
struct WalkChoice {
  bool keys[4];  // W, S, A, D
  float angle;
};
constexpr float kQuarter = 0.7853982f;
constexpr WalkChoice kChoices[8] = {
    {{true, false, false, false}, 0.0f},           {{true, false, true, false}, kQuarter},
    {{false, false, true, false}, 2.0f * kQuarter}, {{false, true, true, false}, 3.0f * kQuarter},
    {{false, true, false, false}, 4.0f * kQuarter}, {{false, true, false, true}, -3.0f * kQuarter},
    {{false, false, false, true}, -2.0f * kQuarter}, {{true, false, false, true}, -kQuarter},
};

// The choice's direction on the ground, from the camera's forward `f`.
D3DXVECTOR3 DirectionOf(const WalkChoice& c, const D3DXVECTOR3& f) {
  const float cs = std::cos(c.angle), sn = std::sin(c.angle);
  return D3DXVECTOR3(f.x * cs - f.y * sn, f.x * sn + f.y * cs, 0.0f);
}

}  // namespace

bool SteerCursor(FrameInput& input, int x, int y, int maxPixels) {
  const Nembra::CMouse* mouse = Nembra::g_pMouse;
  if (!mouse) return false;
  const float speed = mouse->GetSpeed() > 0.0f ? mouse->GetSpeed() : 1.0f;
  auto units = [&](int pixels) {
    pixels = std::max(-maxPixels, std::min(maxPixels, pixels));
    if (pixels == 0) return 0;
    // The cursor moves by the units times the speed, truncated: a unit too
    // few never moves it, so at least one unit goes out.
    const int u = static_cast<int>(std::lround(float(pixels) / speed));
    return u != 0 ? u : (pixels > 0 ? 1 : -1);
  };
  const int dx = units(x - mouse->GetX()), dy = units(y - mouse->GetY());
  if (dx == 0 && dy == 0) return true;
  input.MoveBy(dx, dy);
  return false;
}

RouteDriver::RouteDriver(std::vector<Step> route) : RouteDriver(std::move(route), Settings()) {}

RouteDriver::RouteDriver(std::vector<Step> route, const Settings& settings)
    : m_Route(std::move(route)), m_Settings(settings) {}

const char* RouteDriver::KindName(int kind) {
  switch (kind) {
    case Step::WALK: return "WALK";
    case Step::ACTION: return "ACTION";
    case Step::SHOOT: return "SHOOT";
    case Step::FIGHT: return "FIGHT";
    case Step::WAIT: return "WAIT";
    case Step::HAZARD: return "HAZARD";
    case Step::FINISH: return "FINISH";
    default: return "?";
  }
}

std::string RouteDriver::Where() const {
  std::string text;
  if (m_Index < m_Route.size()) {
    const Step& s = m_Route[m_Index];
    text = "step " + std::to_string(m_Index + 1) + " of " + std::to_string(m_Route.size()) + " (" +
           KindName(s.kind) + " " + Point(s.x, s.y) + (s.note && *s.note ? std::string(", ") + s.note : "") + ")";
  } else {
    text = "after the last of " + std::to_string(m_Route.size()) + " steps";
  }
  if (g_pGameWorld) {
    const D3DXVECTOR3& p = g_pGameWorld->GetPlayer().GetPosition();
    text += "; player at " + Point(p.x, p.y);
  }
  return text;
}

void RouteDriver::Fail(const std::string& why) {
  if (m_Failure.empty()) m_Failure = Where() + ": " + why;
}

void RouteDriver::BeginStep() {
  m_StepStarted = true;
  m_StepTime = 0.0f;
  m_StepShots = 0;
  m_ActionSent = false;
  m_SegmentStart = g_pGameWorld ? g_pGameWorld->GetPlayer().GetPosition() : D3DXVECTOR3(0.0f, 0.0f, 0.0f);
  const Step& s = m_Route[m_Index];
  float walk = 0.0f;
  if (s.kind == Step::WALK || s.kind == Step::ACTION || s.kind == Step::HAZARD || s.kind == Step::FINISH)
    walk = std::hypot(s.x - m_SegmentStart.x, s.y - m_SegmentStart.y) / CPlayer::SPEED;
  m_StepLimit = 3.0f * walk + m_Settings.slackSeconds + std::max(0.0f, s.seconds);
}

void RouteDriver::Advance() {
  ++m_Index;
  m_StepStarted = false;
}

void RouteDriver::Restarted() {
  if (m_Index < m_Route.size() && m_Route[m_Index].kind == Step::HAZARD) {
    ++m_PlannedDeaths;
    Advance();
  } else {
    m_StepStarted = false;  // the step again, from the start point
  }
}

void RouteDriver::Hold(FrameInput& in, int key, bool down) {
  for (int i = 0; i < 4; ++i) {
    if (kWalkKeys[i] != key || m_Keys[i] == down) continue;
    m_Keys[i] = down;
    if (down)
      in.KeyDown(key);
    else
      in.KeyUp(key);
  }
}

FrameInput RouteDriver::ReleaseAll() {
  FrameInput in;
  for (int key : kWalkKeys) Hold(in, key, false);
  if (m_ButtonDown >= 0) in.Release(m_ButtonDown);
  if (m_ActionDown) in.KeyUp(platform::DIK_SPACE);
  m_ButtonDown = -1;
  m_ActionDown = false;
  return in;
}

void RouteDriver::Walk(FrameInput& in, const D3DXVECTOR3& want) {
  const float length = std::hypot(want.x, want.y);
  const WalkChoice* best = nullptr;
  if (length > 1e-3f && g_pGameWorld) {
    const D3DXVECTOR3 f = g_pGameWorld->GetStoredCameraForward();
    float bestDot = -2.0f;
    for (const WalkChoice& c : kChoices) {
      const D3DXVECTOR3 d = DirectionOf(c, f);
      const float dot = (d.x * want.x + d.y * want.y) / length;
      if (dot > bestDot) {
        bestDot = dot;
        best = &c;
      }
    }
  }
  for (int i = 0; i < 4; ++i) Hold(in, kWalkKeys[i], best && best->keys[i]);
}

bool RouteDriver::ScreenOf(const D3DXVECTOR3& world, float* sx, float* sy) const {
  const Nembra::CCamera* camera = g_pGameWorld ? g_pGameWorld->GetCamera() : nullptr;
  if (!camera) return false;
  const platform::D3DVIEWPORT9 viewport{0, 0, 800, 600, 0.0f, 1.0f};
  const D3DXMATRIX identity;
  D3DXVECTOR3 s;
  D3DXVec3Project(&s, &world, &viewport, &camera->GetProjection(), &camera->GetView(), &identity);
  if (!std::isfinite(s.x) || !std::isfinite(s.y)) return false;
  *sx = s.x;
  *sy = s.y;
  return true;
}

bool RouteDriver::Aim(FrameInput& in, const D3DXVECTOR3& point) {
  const D3DXVECTOR3 onPlane(point.x, point.y, CGameWorld::AIM_HEIGHT);
  float sx = 0.0f, sy = 0.0f;
  if (!ScreenOf(onPlane, &sx, &sy)) return false;
  sx = std::max(0.0f, std::min(kScreenW - 1.0f, sx));
  sy = std::max(0.0f, std::min(kScreenH - 1.0f, sy));
  SteerCursor(in, int(std::lround(sx)), int(std::lround(sy)), 80);
  return Distance2D(g_pGameWorld->GetAimPoint(), onPlane) <= m_Settings.aimTolerance;
}

void RouteDriver::FireAt(FrameInput& in, const D3DXVECTOR3& point, int button) {
  const bool onTarget = Aim(in, point);
  if (onTarget && m_SinceShot >= m_Settings.fireInterval && m_ButtonDown < 0) {
    in.Press(button);
    m_ButtonDown = button;
    m_SinceShot = 0;
    ++m_ShotsFired;
    ++m_StepShots;
  }
}

bool RouteDriver::NearestEnemy(float range, Target* out) const {
  if (!g_pGameWorld) return false;
  const D3DXVECTOR3& p = g_pGameWorld->GetPlayer().GetPosition();
  float best = range;
  bool found = false;
  for (CEnemy* e : g_pGameWorld->GetLevel().GetEnemies()) {
    if (!e || !e->IsActive() || e->IsDead() || e->IsDying()) continue;
    const float d = Distance2D(e->GetPosition(), p);
    if (d > best) continue;
    best = d;
    found = true;
    out->position = e->GetPosition();
    // Shots of the enemy's own colour do nothing: the left button fires
    // blue, for red enemies; the right one red, for blue ones.
    out->button = e->GetColour() == 1 ? 1 : 0;
  }
  return found;
}

bool RouteDriver::WalkTo(FrameInput& in, float x, float y) {
  const D3DXVECTOR3& p = g_pGameWorld->GetPlayer().GetPosition();
  const D3DXVECTOR3 end(x, y, p.z);
  if (Distance2D(p, end) <= m_Settings.reach) {
    Walk(in, D3DXVECTOR3(0.0f, 0.0f, 0.0f));
    return true;
  }
  const float sx = end.x - m_SegmentStart.x, sy = end.y - m_SegmentStart.y;
  const float length = std::hypot(sx, sy);
  D3DXVECTOR3 want(end.x - p.x, end.y - p.y, 0.0f);
  if (length > 1e-3f) {
    const float ux = sx / length, uy = sy / length;
    // Above 0: the player stands left of the line.
    const float side = ux * (p.y - m_SegmentStart.y) - uy * (p.x - m_SegmentStart.x);
    if (std::fabs(side) > m_Settings.lookAhead * 0.4f) {
      // Far off the line (pushed by something): back to it, a little ahead.
      const float along = (p.x - m_SegmentStart.x) * ux + (p.y - m_SegmentStart.y) * uy;
      const float t = std::max(0.0f, std::min(length, along + m_Settings.lookAhead));
      want = D3DXVECTOR3(m_SegmentStart.x + ux * t - p.x, m_SegmentStart.y + uy * t - p.y, 0.0f);
    } else {
      // On the line: of the two walking directions either side of it, the
      // one that brings the player back across it, so the eight directions
      // zig-zag within a step of the line.
      const float heading = std::atan2(uy, ux);
      want = D3DXVECTOR3(ux, uy, 0.0f);
      float right = -10.0f, left = 10.0f;
      D3DXVECTOR3 toRight = want, toLeft = want;
      const D3DXVECTOR3 f = g_pGameWorld->GetStoredCameraForward();
      for (const WalkChoice& c : kChoices) {
        const D3DXVECTOR3 dir = DirectionOf(c, f);
        const float r = std::remainder(std::atan2(dir.y, dir.x) - heading, 6.2831853f);
        if (r <= 0.0f && r > right) {
          right = r;
          toRight = dir;
        }
        if (r >= 0.0f && r < left) {
          left = r;
          toLeft = dir;
        }
      }
      if (std::fabs(right) < 0.01f)
        want = toRight;
      else if (std::fabs(left) < 0.01f)
        want = toLeft;
      else
        want = side > 0.0f ? toRight : toLeft;
    }
  }
  Walk(in, want);
  Target enemy;
  if (NearestEnemy(m_Settings.fightRange, &enemy)) {
    // Fighting on the move: the player faces the enemy and fires, and the
    // step gets the time back.
    FireAt(in, enemy.position, enemy.button);
    if (m_StepLimit < 1e6f && m_StepTime < kMostFightSeconds) m_StepLimit += m_Settings.frameTime;
  } else {
    // Facing the way to the point.
    const float wl = Distance2D(end, p);
    Aim(in, D3DXVECTOR3(p.x + (end.x - p.x) / wl * kFacingLead, p.y + (end.y - p.y) / wl * kFacingLead, p.z));
  }
  return false;
}

FrameInput RouteDriver::Next() {
  FrameInput in;
  // A click lasts one frame; the Action key too.
  if (m_ButtonDown >= 0) in.Release(m_ButtonDown);
  if (m_ActionDown) in.KeyUp(platform::DIK_SPACE);
  m_ButtonDown = -1;
  m_ActionDown = false;
  ++m_SinceShot;
  const D3DXVECTOR3 still(0.0f, 0.0f, 0.0f);
  if (!g_pGameWorld || Failed() || Done() || !g_pGameWorld->GetPlayer().IsActive()) {
    Walk(in, still);
    return in;
  }
  if (!m_StepStarted) BeginStep();
  m_StepTime += m_Settings.frameTime;
  const Step& s = m_Route[m_Index];
  const size_t index = m_Index;
  switch (s.kind) {
    case Step::WALK:
      if (WalkTo(in, s.x, s.y)) Advance();
      break;
    case Step::ACTION:
      if (!m_ActionSent) {
        if (WalkTo(in, s.x, s.y)) {
          in.KeyDown(platform::DIK_SPACE);
          m_ActionDown = true;
          m_ActionSent = true;
        }
      } else {
        Walk(in, still);
        Advance();  // the key goes up with the next frame
      }
      break;
    case Step::SHOOT: {
      Walk(in, still);
      const int button = s.colour == 1 ? 1 : 0;
      if (m_StepShots < s.shots) {
        FireAt(in, D3DXVECTOR3(s.x, s.y, s.z), button);
      } else if (m_SinceShot >= m_Settings.fireInterval) {
        Advance();
      }
      break;
    }
    case Step::FIGHT: {
      Walk(in, still);
      Target enemy;
      if (m_StepTime >= s.seconds || !NearestEnemy(s.radius, &enemy))
        Advance();
      else
        FireAt(in, enemy.position, enemy.button);
      break;
    }
    case Step::WAIT: {
      // Standing is no reason not to shoot back.
      Walk(in, still);
      Target enemy;
      if (m_StepTime >= s.seconds)
        Advance();
      else if (NearestEnemy(m_Settings.fightRange, &enemy))
        FireAt(in, enemy.position, enemy.button);
      break;
    }
    case Step::HAZARD:
      // Walks in and stays; the death ends the step (Restarted).
      WalkTo(in, s.x, s.y);
      break;
    case Step::FINISH:
      if (WalkTo(in, s.x, s.y)) {
        // Standing on the goal; the level ends from it.
        if (m_StepLimit > m_StepTime + kFinishGrace) m_StepLimit = m_StepTime + kFinishGrace;
      }
      break;
    default:
      Advance();
      break;
  }
  if (index == m_Index && m_StepTime > m_StepLimit) {
    char text[96];
    std::snprintf(text, sizeof text, "not done within %.1f s", m_StepLimit);
    Fail(s.kind == Step::FINISH ? std::string(text) + " (the level did not end)"
         : s.kind == Step::HAZARD ? std::string(text) + " (the player did not die)"
                                  : std::string(text));
  }
  return in;
}

}  // namespace scenario
