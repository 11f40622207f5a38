// The karvessa program's body.
#include "game/app/AppMain.h"

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "game/app/App.h"
#include "platform/Window.h"

int RunKarvessa(const KarvessaRunOptions& options) {
  if (!Nembra::InitializeEngine()) {
    platform::ShowMessageBox(Nembra::INIT_ERROR_TEXT, Nembra::INIT_ERROR_TITLE);
    Nembra::ShutdownEngine();
    return 1;
  }
  CApp* app = new CApp(options.dataFolder);
  app->SetTimeLimit(options.timeLimitSeconds);
  Nembra::APPLICATION_PARAMS params;
  params.SetTitle("Project Karvessa");
  params.windowed = options.windowed;
  params.width = 800;
  params.height = 600;
  params.bitsPerPixel = 32;
  int code = Nembra::RunApplication(*app, params);
  if (code == 0) code = app->GetExitCode();
  delete app;
  return code;
}
