#pragma once
// The first boss's arena as picture tests show it: its floor from the demo
// data, lit from above and to one side, over a near-black clear colour.
#include "engine/app/GraphicsDevice.h"
#include "scenario/WorldScenario.h"

namespace imagetest {

inline bool LightTheFirstArena(scenario::WorldScenario& w) {
  Nembra::g_pGraphicsDevice->SetClearColor(0.05f, 0.05f, 0.08f, 1.0f);
  if (!w.Level().LoadTerrain("LevelIntermedio_Terrain.X")) return false;
  w.Level().AddDirectionalLight("Hall");
  w.Level().SetLightPosition("Hall", 300.0f, 600.0f, 1500.0f);
  w.Level().SetLightTarget("Hall", 0.0f, 0.0f, 0.0f);
  return true;
}

}  // namespace imagetest
