// What the PDA reads of the game world: the objectives of a level.
#include <list>

#include "frontend/pda/apps/PDAAppObjectives.h"
#include "game/level/Level.h"
#include "game/world/GameWorld.h"

std::vector<PDAObjective> LevelObjectives(CLevel& level) {
  std::list<OBJECTIVE*> objectives;
  level.GetObjectives(objectives);
  std::vector<PDAObjective> list;
  for (const OBJECTIVE* objective : objectives) list.push_back({objective->text, objective->complete});
  return list;
}

std::vector<PDAObjective> CurrentLevelObjectives() {
  if (!g_pGameWorld) return {};
  return LevelObjectives(g_pGameWorld->GetLevel());
}
