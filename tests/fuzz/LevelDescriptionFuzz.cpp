// Fuzz target of the level description and document list reader: any bytes,
// read as Level4's description and as the document list; the playing game
// then prepares its map from them as a level's start does and opens its PDA
// on the GPS, the e-mail with its attachments and the network documents, a
// frame each, drawn, and saves.
#include <cstddef>
#include <cstdint>

#include "frontend/pda/PDA.h"
#include "fuzz/FuzzGame.h"
#include "game/app/App.h"
#include "game/level/LevelDescriptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CApp& app = fuzzgame::App();
  fuzzgame::PutInGame("Level4_EN.dat", data, size);
  fuzzgame::PutInGame("Files_EN.dat", data, size);
  g_LevelDescriptions[1] = CLevelDescription(1);
  g_PDADocuments.fill(CPDADocument());
  LoadLevelDescriptions(L"ENG");
  app.PrepareMap(1);
  app.ChangeState(CApp::STATE_INGAME_PDA);
  for (int pda : {PDA_APP_GPS, PDA_APP_EMAIL, PDA_APP_NETWORK, PDA_APP_OBJECTIVES}) {
    g_pPDA->SetCurrentApp(pda);
    fuzzgame::PlayDrawSave();
  }
  app.ChangeState(CApp::STATE_PLAYING);
  return 0;
}
