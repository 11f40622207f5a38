#pragma once
// The two bosses and their shots. The level makes the bosses for the two
// boss levels and owns them through its enemy list.
#include "game/enemies/Boss0.h"
#include "game/enemies/Boss1.h"
