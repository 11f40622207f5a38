#include "game/GameScript.h"

CGameScript g_GameScript;

void CGameScript::RegisterFunctions() {}
