#pragma once
// The program's body: the engine started, the game's application made and
// run, everything given back. The karvessa program calls it on the SDL
// backend; tests call it in-process on either backend.
#include <string>

struct KarvessaRunOptions {
  std::string dataFolder = ".\\DataDEMO\\";
  bool windowed = false;  // the program runs full screen
  // Above 0: the run quits by itself after this many seconds of frames.
  float timeLimitSeconds = 0.0f;
};

// The process's exit code: 0 for a run that ended normally, 1 when the
// engine or the game could not start or a level could not be run.
int RunKarvessa(const KarvessaRunOptions& options);
