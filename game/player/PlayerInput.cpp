// The player's input and the follow camera: restart, the cursor and the
// aim point on the ground, facing, the shot's direction, eight-way walking
// relative to the camera, both colours of fire, the action and the ability,
// the camera key; and the two camera modes, turned by the mouse wheel or by
// holding the cursor at a screen edge.
#include <cmath>

#include "engine/app/InputMapper.h"
#include "engine/app/Mouse.h"
#include "engine/scene/Camera.h"
#include "engine/sound/WaveSound.h"
#include "frontend/ProfileStore.h"
#include "game/world/GameWorld.h"
#include "game/world/InputActions.h"

namespace {

constexpr float QUARTER_PI = 0.7853982f;
constexpr float HALF_PI = 1.5707964f;
constexpr float THREE_QUARTER_PI = 2.3561945f;
constexpr float WHEEL_TURN = 0.39269909f;  // pi / 8 a frame the wheel moves
constexpr float EDGE_TURN = 0.06f;
constexpr float EASE = 0.2f;               // of the way to the target yaw, each frame
constexpr float CURSOR_LEAD = 0.4f;        // of the way from the player to the cursor
constexpr float FOLLOW_RATE = 5.0f;        // per second, towards that point
constexpr float HAND_AIM_RANGE_SQ = 3600.0f;
constexpr float EDGE_MARGIN = 250.0f;

bool Down(int action) { return Nembra::g_pInputMapper && Nembra::g_pInputMapper->IsActionDown(action); }
bool Pressed(int action) { return Nembra::g_pInputMapper && Nembra::g_pInputMapper->WasActionPressed(action); }

D3DXVECTOR3 Rotated(const D3DXVECTOR3& v, float angle) {
  D3DXMATRIX rotation;
  D3DXMatrixRotationZ(&rotation, angle);
  D3DXVECTOR3 out;
  D3DXVec3TransformCoord(&out, &v, &rotation);
  return out;
}

}  // namespace

void CGameWorld::HandleInput() {
  Nembra::CMouse* mouse = Nembra::g_pMouse;
  // 1. Restart, on every frame the key is held.
  if (Down(KMP_RESTART)) {
    m_CameraYaw = m_TargetYaw = START_YAW;
    m_Level.Restart();
  }
  // 2, 3. The cursor and the point of the ground under it.
  if (mouse) m_Cursor.SetPosition(D3DXVECTOR3(float(mouse->GetX()), float(mouse->GetY()), 0.0f));
  m_AimPoint = ScreenToWorldRay(m_Cursor.GetPosition());
  // 4. The camera.
  if (m_pCamera) {
    if (m_CameraMode)
      UpdateWheelCamera();
    else
      UpdateEdgeCamera();
  }
  // 5, 6. Facing the aim point; the shot's direction.
  FaceAndAim(m_AimPoint);
  // 7. The camera's forward on the ground.
  m_CameraForward = GetCameraForward();
  // 8, 9. Walking.
  MovePlayer();
  // 10. Blue, then red: both may fire in one frame.
  if (Pressed(KMP_SHOOT_BLUE)) m_Player.GetWeapon().Fire(CWeapon::BLUE);
  if (Pressed(KMP_SHOOT_RED)) m_Player.GetWeapon().Fire(CWeapon::RED);
  // 11. The action key works the circuits and action triggers near the player.
  if (Pressed(KMP_ACTION)) UseAction();
  // 12. The ability, only with a full meter.
  if (Pressed(KMP_ABILITY) && m_Player.GetAbility().GetCharge() == 100) {
    if (m_pAbilitySound) m_pAbilitySound->Play(false);
    m_Player.GetAbility().Use();
  }
  // 13. The camera key switches the mode and saves it with the profile.
  if (Pressed(KMP_CAMERA)) {
    m_CameraMode = !m_CameraMode;
    g_ProfileStore.GetCurrentProfile().cameraType = m_CameraMode ? 0 : 1;
    g_ProfileStore.SaveCurrentProfile();
  }
}

void CGameWorld::FaceAndAim(const D3DXVECTOR3& aim) {
  const D3DXVECTOR3 p = m_Player.GetPosition();
  m_Player.SetRotationZ(std::atan2(aim.y - p.y, aim.x - p.x));
  const D3DXVECTOR3 hand = m_Player.GetHand().WorldPosition();
  const D3DXVECTOR3 toAim = aim - hand;
  const float distanceSq = toAim.x * toAim.x + toAim.y * toAim.y + toAim.z * toAim.z;
  // Too close to the hand, the shot leaves along the line from the
  // player's centre through the hand.
  const float angle = distanceSq <= HAND_AIM_RANGE_SQ ? std::atan2(hand.y - p.y, hand.x - p.x)
                                                      : std::atan2(toAim.y, toAim.x);
  m_Player.SetShotDirection(D3DXVECTOR3(std::cos(angle), std::sin(angle), 0.0f));
}

void CGameWorld::MovePlayer() {
  D3DXVECTOR3 m(0.0f, 0.0f, 0.0f);
  if (m_Player.CanWalk()) {
    const D3DXVECTOR3& f = m_CameraForward;
    const bool left = Down(KMP_LEFT), right = Down(KMP_RIGHT);
    // Up wins over down, left over right.
    if (Down(KMP_UP)) {
      m = left ? Rotated(f, QUARTER_PI) : right ? Rotated(f, -QUARTER_PI) : f;
    } else if (Down(KMP_DOWN)) {
      m = left ? Rotated(f, THREE_QUARTER_PI) : right ? Rotated(f, -THREE_QUARTER_PI) : -f;
    } else if (left) {
      m = Rotated(f, HALF_PI);
    } else if (right) {
      m = Rotated(f, -HALF_PI);
    }
  }
  if (m.x == 0.0f && m.y == 0.0f && m.z == 0.0f) {
    m_Player.SetMoving(false);
  } else {
    m_Player.SetMoving(true);
    m_Player.SetDirection(m);
  }
}

D3DXVECTOR3 CGameWorld::PlayerOnScreen() const {
  const D3DXMATRIX world;  // identity
  const D3DXVECTOR3 p = m_Player.GetPosition();
  D3DXVECTOR3 s;
  D3DXVec3Project(&s, &p, &m_Viewport, &m_Projection, &m_View, &world);
  return s;
}

void CGameWorld::UpdateWheelCamera() {
  const D3DXVECTOR3 s = PlayerOnScreen();
  const bool onScreen = s.x >= 0.0f && s.x <= 2.0f * m_ScreenCentre.x && s.y >= 0.0f && s.y <= 2.0f * m_ScreenCentre.y;
  FollowCamera(onScreen, s);
  const int32_t wheel = Nembra::g_pMouse ? Nembra::g_pMouse->GetDZ() : 0;
  if (wheel > 0) m_TargetYaw -= WHEEL_TURN;
  if (wheel < 0) m_TargetYaw += WHEEL_TURN;
  PlaceCamera();
}

void CGameWorld::UpdateEdgeCamera() {
  const D3DXVECTOR3 s = PlayerOnScreen();
  const bool onScreen = s.x >= -EDGE_MARGIN && s.x <= 2.0f * m_ScreenCentre.x + EDGE_MARGIN && s.y >= -EDGE_MARGIN &&
                        s.y <= 2.0f * m_ScreenCentre.y + EDGE_MARGIN;
  Nembra::CMouse* mouse = Nembra::g_pMouse;
  if (onScreen && mouse) {
    // The strips are pixels of an 800 x 600 screen; the cursor is pulled a
    // tenth of the way back out of the strip while the camera turns.
    const int32_t x = mouse->GetX();
    if (mouse->IsInRegion(0, 0, 100, 600)) {
      m_TargetYaw -= EDGE_TURN;
      mouse->SetPosition(int32_t(float(x) + float(110 - x) / 100.0f * 10.0f), mouse->GetY(), mouse->GetZ());
    } else if (mouse->IsInRegion(700, 0, 100, 600)) {
      m_TargetYaw += EDGE_TURN;
      mouse->SetPosition(int32_t(float(x) - float(x - 690) / 100.0f * 10.0f), mouse->GetY(), mouse->GetZ());
    }
  }
  FollowCamera(onScreen, s);
  PlaceCamera();
}

void CGameWorld::FollowCamera(bool onScreen, const D3DXVECTOR3& playerOnScreen) {
  if (onScreen) {
    const D3DXVECTOR3 s(playerOnScreen.x, playerOnScreen.y, 0.0f);
    const D3DXVECTOR3 cursor = Nembra::g_pMouse
                                   ? D3DXVECTOR3(float(Nembra::g_pMouse->GetX()), float(Nembra::g_pMouse->GetY()), 0.0f)
                                   : s;
    const D3DXVECTOR3 lead = s + CURSOR_LEAD * (cursor - s);
    const D3DXVECTOR3 look = m_ScreenCentre + FOLLOW_RATE * Nembra::g_FrameTime * (lead - m_ScreenCentre);
    m_pCamera->GetTarget().SetPosition(ScreenToWorldRay(look));
  } else {
    m_pCamera->GetTarget().SetPosition(m_Player.GetPosition() + D3DXVECTOR3(0.0f, 0.0f, AIM_HEIGHT));
  }
}

void CGameWorld::PlaceCamera() {
  m_CameraYaw += (m_TargetYaw - m_CameraYaw) * EASE;
  const D3DXVECTOR3 offset(CAMERA_DISTANCE * std::sin(m_CameraYaw), CAMERA_DISTANCE * std::cos(m_CameraYaw),
                           CAMERA_HEIGHT);
  m_pCamera->SetPosition(m_pCamera->GetTarget().GetPosition() + offset);
  m_pCamera->Apply();
  CaptureViewTransforms();
}
