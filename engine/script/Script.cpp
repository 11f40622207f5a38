#include "engine/script/Script.h"

#include <lua.hpp>

#include <cstdint>
#include <vector>

#include "engine/app/Engine.h"
#include "platform/Files.h"
#include "platform/Log.h"

namespace Nembra {

namespace {

// Libraries every state gets: the base library only (with coroutine).
const lua_CFunction LIBRARY_OPENERS[] = {luaopen_base, nullptr};

std::string PopMessage(lua_State* state) {
  const char* text = lua_tostring(state, -1);
  std::string message = text ? text : "(error object is not a string)";
  lua_pop(state, 1);
  return message;
}

}  // namespace

CScript::~CScript() { Close(); }

bool CScript::Open() {
  Close();
  m_pState = luaL_newstate();
  if (!m_pState) {
    platform::LogError("cannot create a Lua state");
    return false;
  }
  for (const lua_CFunction* opener = LIBRARY_OPENERS; *opener; ++opener) {
    lua_pushcfunction(m_pState, *opener);
    lua_call(m_pState, 0, 0);
    lua_settop(m_pState, 0);
  }
  RegisterFunctions();
  return true;
}

void CScript::Close() {
  if (m_pState) {
    lua_close(m_pState);
    m_pState = nullptr;
  }
}

bool CScript::RunFile(const std::string& name) {
  const std::string path = g_ScriptDirectory + name;
  if (!m_pState) {
    platform::LogError("script '" + path + "' run before the script host was opened");
    return false;
  }
  std::vector<uint8_t> bytes;
  if (!platform::ReadWholeFile(path, bytes)) return Fail("cannot open script '" + path + "'");
  // Scripts are source text. Lua would also take a precompiled chunk, whose
  // loader trusts its bytes: a damaged or foreign one can bring the game down.
  if (!bytes.empty() && bytes[0] == static_cast<uint8_t>(LUA_SIGNATURE[0]))
    return Fail("script '" + path + "' is not source text");
  const int top = lua_gettop(m_pState);
  const std::string chunkName = "@" + name;
  const bool ok = luaL_loadbuffer(m_pState, reinterpret_cast<const char*>(bytes.data()), bytes.size(),
                                  chunkName.c_str()) == 0 &&
                  lua_pcall(m_pState, 0, LUA_MULTRET, 0) == 0;
  if (!ok) Fail("script '" + path + "' failed: " + PopMessage(m_pState));
  lua_settop(m_pState, top);
  return ok;
}

bool CScript::Fail(const std::string& message) {
  platform::LogError(message);
  // Scripts may define _ALERT to see failures. It runs protected: an _ALERT
  // that fails is logged and not alerted again.
  const int top = lua_gettop(m_pState);
  lua_getglobal(m_pState, "_ALERT");
  if (lua_isfunction(m_pState, -1)) {
    lua_pushlstring(m_pState, message.data(), message.size());
    if (lua_pcall(m_pState, 1, 0, 0) != 0) platform::LogError("_ALERT failed: " + PopMessage(m_pState));
  }
  lua_settop(m_pState, top);
  return false;
}

}  // namespace Nembra
