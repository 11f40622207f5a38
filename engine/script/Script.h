#pragma once
// The Lua host: one Lua state with the base library and whatever the
// derived class registers, running whole script files from the script
// folder.
#include <string>

struct lua_State;

namespace Nembra {

class CScript {
 public:
  CScript() = default;
  virtual ~CScript();
  CScript(const CScript&) = delete;
  CScript& operator=(const CScript&) = delete;

  // Makes a fresh state (closing an open one), opens the base library and
  // calls RegisterFunctions. False when no state could be made.
  bool Open();
  void Close();
  bool IsOpen() const { return m_pState != nullptr; }

  // Runs the script folder's file of that name (extension included). False,
  // with the Lua message in the log, when the file is missing, does not
  // compile or fails while running; the message also goes to the global
  // function _ALERT when the scripts have defined one. The statements that
  // ran keep their effects. The Lua stack is left as it was found.
  bool RunFile(const std::string& name);

 protected:
  // Called at the end of Open, after the libraries; registers the host's
  // functions and constants.
  virtual void RegisterFunctions() {}

  lua_State* m_pState = nullptr;

 private:
  // Logs the message and hands it to the scripts' _ALERT; false.
  bool Fail(const std::string& message);
};

}  // namespace Nembra
