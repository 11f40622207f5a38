#pragma once
// Plays a level as a person at the keyboard and mouse would: each frame it
// reads the game (player, enemies, cursor, camera) and answers with that
// frame's input only. It walks the route (DEMO_ROUTE_STEP list) in straight
// lines with the eight W/A/S/D directions, turns with relative mouse motion,
// fights the enemies met with the weapon of the other colour, presses Action
// and stands; it writes no game state. SteerCursor, shared with the front-end
// screens, moves the cursor onto a point with relative motion.
#include <string>
#include <vector>

#include "platform/Math.h"
#include "scenario/ScreenScenario.h"
#include "tools/datagen/DemoLevelContent.h"

namespace scenario {

// Relative motion that brings the cursor towards (x, y), at most `maxPixels`
// a frame on each axis; true (and nothing added) once it is there.
bool SteerCursor(FrameInput& input, int x, int y, int maxPixels = 48);

class RouteDriver {
 public:
  using Step = datagen::DEMO_ROUTE_STEP;

  struct Settings {
    float frameTime = 0.016f;
    float reach = 24.0f;         // a waypoint counts as reached this close
    float lookAhead = 160.0f;    // pushed off its line, the walk rejoins it this far ahead
    float fightRange = 950.0f;   // enemies met on the way are fought this near (a shot flies 1000)
    float aimTolerance = 40.0f;  // the aim point this close to the target fires
    int fireInterval = 8;        // frames from one shot to the next
    float slackSeconds = 12.0f;  // each step's time limit: three times its walk plus this
  };

  explicit RouteDriver(std::vector<Step> route);
  RouteDriver(std::vector<Step> route, const Settings& settings);

  // This frame's input, from the game as it stands.
  FrameInput Next();

  // Every step taken (the last one's goal reached: the level should end).
  bool Done() const { return m_Index >= m_Route.size(); }
  bool Failed() const { return !m_Failure.empty(); }
  const std::string& Failure() const { return m_Failure; }
  size_t StepIndex() const { return m_Index; }
  size_t StepCount() const { return m_Route.size(); }
  // The step being taken (null once every step is).
  const Step* Current() const { return m_Index < m_Route.size() ? &m_Route[m_Index] : nullptr; }
  // "step 3 of 7 (WALK to (x, y), note); player at (x, y)".
  std::string Where() const;
  // The level started again after the planned death: the walk goes on
  // with the step after the hazard, from wherever the player now stands.
  void Restarted();
  // Input that lets go of every key and button the driver holds.
  FrameInput ReleaseAll();
  // The planned deaths the route asked for so far.
  int PlannedDeaths() const { return m_PlannedDeaths; }
  int ShotsFired() const { return m_ShotsFired; }

  static const char* KindName(int kind);

 private:
  struct Target {
    D3DXVECTOR3 position;
    int button;
  };
  void BeginStep();
  void Advance();
  void Fail(const std::string& why);
  // Hold exactly the keys of the direction nearest `want` (none for a zero vector).
  void Walk(FrameInput& in, const D3DXVECTOR3& want);
  void Hold(FrameInput& in, int key, bool down);
  // Steers the cursor onto the ground point at aim height; true when the aim is on it.
  bool Aim(FrameInput& in, const D3DXVECTOR3& point);
  // Clicks the button once the aim is on the point and the last shot is far enough back.
  void FireAt(FrameInput& in, const D3DXVECTOR3& point, int button);
  // The nearest live enemy within the range, and the button whose shots hurt it.
  bool NearestEnemy(float range, Target* out) const;
  // The walk along the current segment: true once (x, y) is reached.
  bool WalkTo(FrameInput& in, float x, float y);
  bool ScreenOf(const D3DXVECTOR3& world, float* sx, float* sy) const;

  std::vector<Step> m_Route;
  Settings m_Settings;
  size_t m_Index = 0;
  std::string m_Failure;
  D3DXVECTOR3 m_SegmentStart{0.0f, 0.0f, 0.0f};
  float m_StepTime = 0.0f, m_StepLimit = 0.0f;
  bool m_StepStarted = false;
  int m_StepShots = 0;
  bool m_ActionSent = false;
  bool m_Keys[4] = {false, false, false, false};  // W, S, A, D held
  int m_ButtonDown = -1;                          // the mouse button held since the last frame
  bool m_ActionDown = false;
  int m_SinceShot = 1000;
  int m_PlannedDeaths = 0;
  int m_ShotsFired = 0;
};

}  // namespace scenario
