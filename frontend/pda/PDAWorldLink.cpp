// What the PDA reads of the game world: the objectives of a level.
#include <list>

#include "frontend/pda/PDAAppObjectives.h"
#include "game/Level.h"

std::vector<PDAObjective> LevelObjectives(CLevel& level) {
  std::list<OBJECTIVE*> objectives;
  level.GetObjectives(objectives);
  std::vector<PDAObjective> list;
  for (const OBJECTIVE* objective : objectives) list.push_back({objective->text, objective->complete});
  return list;
}

std::vector<PDAObjective> CurrentLevelObjectives() {
  // The game world that holds the current level is not part of the build
  // yet; until it is, no level is loaded and the list is empty.
  return {};
}
