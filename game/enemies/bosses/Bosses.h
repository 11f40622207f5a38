#pragma once
// game/enemies/bosses/: the two bosses and their shots. It may call enemies/
// and what enemies/ may call.
//
// The two bosses and their shots. The level makes the bosses for the two
// boss levels and owns them through its enemy list.
#include "game/enemies/bosses/Boss0.h"
#include "game/enemies/bosses/Boss1.h"
