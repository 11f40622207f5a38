#pragma once
// The playing world the picture programs draw on the GL device, and its lights.
#include "engine/app/GraphicsDevice.h"
#include "scenario/WorldScenario.h"

namespace imagetest {

// A world on the GL device; without the player when the level's script loads it.
inline scenario::WorldScenario::Options OnGl(bool loadPlayer = true, bool writableData = false) {
  scenario::WorldScenario::Options options;
  options.gl = true;
  options.loadPlayer = loadPlayer;
  options.writableData = writableData;
  return options;
}

// A directional light of the level at a position, pointed at a target.
inline void Sun(CLevel& level, const char* name, const D3DXVECTOR3& at, const D3DXVECTOR3& target = {0, 0, 0}) {
  level.AddDirectionalLight(name);
  level.SetLightPosition(name, at.x, at.y, at.z);
  level.SetLightTarget(name, target.x, target.y, target.z);
}

// The first boss's arena: its floor from the demo data, lit from above and
// to one side, over a near-black clear colour.
inline bool LightTheFirstArena(scenario::WorldScenario& w) {
  Nembra::g_pGraphicsDevice->SetClearColor(0.05f, 0.05f, 0.08f, 1.0f);
  if (!w.Level().LoadTerrain("LevelIntermedio_Terrain.X")) return false;
  Sun(w.Level(), "Hall", {300.0f, 600.0f, 1500.0f});
  return true;
}

}  // namespace imagetest
