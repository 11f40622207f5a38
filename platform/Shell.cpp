#include <spawn.h>
#include <sys/wait.h>

#include <string>

#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/Window.h"

extern char** environ;

namespace platform {

bool OpenWebPage(const std::string& url) {
  const bool web = url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0;
  if (!web) {
    LogWarning("refusing to open '" + url + "': only http and https addresses are opened");
    return false;
  }
  if (IsHeadless()) return true;
  // Started without a shell: the address is one argument, never interpreted.
  const char* argv[] = {"xdg-open", url.c_str(), nullptr};
  pid_t pid = 0;
  int rc = posix_spawnp(&pid, "xdg-open", nullptr, nullptr, const_cast<char* const*>(argv), environ);
  if (rc != 0) {
    LogError("cannot start xdg-open");
    return false;
  }
  return true;
}

}  // namespace platform
