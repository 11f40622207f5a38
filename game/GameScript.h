#pragma once
// The game's script object: the engine's Lua host with the game's constants
// and functions registered as globals. Every script file of the game runs
// through the one global instance.
#include "engine/script/Script.h"

class CGameScript : public Nembra::CScript {
 public:
  CGameScript() = default;
  ~CGameScript() override = default;

  // The Lua state, for functions a host or a test registers beside the game's.
  lua_State* GetState() const { return m_pState; }

 protected:
  void RegisterFunctions() override;
};

extern CGameScript g_GameScript;
