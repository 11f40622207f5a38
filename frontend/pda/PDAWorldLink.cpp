// What the PDA reads of the game world.
#include "frontend/pda/PDAAppObjectives.h"

std::vector<PDAObjective> CurrentLevelObjectives() {
  // The game world and its level are not part of the build yet; until they
  // are, no level is loaded and the list is empty.
  return {};
}
