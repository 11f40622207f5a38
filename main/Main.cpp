// The karvessa program: the game in its window, from the data folder
// beside the working folder. KARVESSA_TIME_LIMIT (seconds) ends a run by
// itself, for unattended runs.
#include <cstdlib>

#include "game/app/AppMain.h"
#include "platform/Platform.h"

int main() {
  platform::SetBackend(platform::Backend::SdlGl);
  KarvessaRunOptions options;
  if (const char* limit = std::getenv("KARVESSA_TIME_LIMIT")) options.timeLimitSeconds = std::strtof(limit, nullptr);
  return RunKarvessa(options);
}
