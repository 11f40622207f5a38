#pragma once
// Level4's route followed in an application scenario (RouteRun.h) at 0.05 s
// frames, a shot at the nearest enemy within 900 every fourth frame; shared
// by the headless test and the pictures.
#include <functional>
#include <list>

#include "game/playthrough/RouteRun.h"

namespace level4test {

using datagen::DEMO_ROUTE_STEP;
using routetest::Level;
using routetest::Player;
using scenario::AppScenario;

template <class T>
inline T* Find(std::list<T>& list, const std::function<bool(T&)>& match) {
  for (T& object : list)
    if (match(object)) return &object;
  return nullptr;
}

class RouteRunner : public routetest::RouteRun {
 public:
  static constexpr float kFrameTime = 0.05f;
  explicit RouteRunner(AppScenario& a) : RouteRun(a, {kFrameTime, 4, 900.0f, 6}) {}
};

inline AppScenario::Options Level4Options(bool gl = false) {
  AppScenario::Options o;
  o.gl = gl;
  o.frameTime = RouteRunner::kFrameTime;
  return o;
}

// Login at Level4's index, the desktop's start button, its start comic, then play.
inline bool ToLevel4(AppScenario& a) {
  if (!apptest::ToLogin(a)) return false;
  apptest::ChooseProfile(a, 1);
  if (a.App().GetState() != CApp::STATE_DESKTOP) return false;
  g_pPDA->m_ResultCode = PDA_RESULT_START_GAME;
  a.Frame();
  for (int i = 0; i < 20 && a.App().GetState() != CApp::STATE_COMIC; ++i) a.Frame();
  if (a.App().GetState() != CApp::STATE_COMIC) return false;
  g_pComicViewer->finished = 1;
  a.Frame();
  return a.App().GetState() == CApp::STATE_PLAYING;
}

}  // namespace level4test
