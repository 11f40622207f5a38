#pragma once
// A level's route walked lap after lap on one attempt, as the timedemo plays
// it: the route driver's steps without those that would end the run (the
// goal that finishes the level, the walk into a hazard to die), each lap from
// wherever the last one ended, after the keys it held went up. The route is
// written for a fresh attempt, and the level is never started again, so the
// laps keep the player playing as an attempt starts it: full health every
// frame, and full charges for the weapon at the start of each lap (both
// through the game's script functions); the route spends charges lap after
// lap that no attempt gives back.
#include <memory>
#include <string>
#include <vector>

#include "scenario/RouteDriver.h"

namespace scenario {

class RouteLaps {
 public:
  explicit RouteLaps(const std::string& levelName);
  bool Empty() const { return m_Route.empty(); }
  // This frame's input from the game as it stands; a new lap begins once the
  // last one is done or has failed.
  FrameInput Next();
  // The laps begun.
  int Laps() const { return m_Laps; }
  // One line for each lap that failed: "lap 6: step 1 of 10 (...); player at (x, y): not done ...".
  const std::vector<std::string>& Failures() const { return m_Failures; }
  // The lap's step and the player's place.
  std::string Where() const { return m_Driver ? m_Driver->Where() : std::string(); }

 private:
  std::vector<RouteDriver::Step> m_Route;
  std::unique_ptr<RouteDriver> m_Driver;
  int m_Laps = 0;
  std::vector<std::string> m_Failures;
};

}  // namespace scenario
