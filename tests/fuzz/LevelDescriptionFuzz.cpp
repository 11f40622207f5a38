// Fuzz target of the level description and document list reader: any bytes,
// read as Level4's description and as the document list; the playing game
// then opens its PDA on them, the GPS with
// the map's rectangle, the e-mail with its attachments and the network
// documents, a frame each, drawn, and saves.
#include <cstddef>
#include <cstdint>

#include "engine/resources/Texture.h"
#include "engine/util/KeyValueFile.h"
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
  const CLevelDescription& level = GetLevelDescription(1);
  // The map as the application sets it up when the level starts.
  g_pPDA->m_Map.SetTexture(Nembra::g_pTextureFactory->GetSingleLevel(Nembra::WideToMultiByte(level.mapTexture)));
  g_pPDA->m_Map.SetSourceRect(platform::RECT{level.mapRect[0], level.mapRect[1], level.mapRect[2], level.mapRect[3]});
  app.ChangeState(CApp::STATE_INGAME_PDA);
  for (int pda : {PDA_APP_GPS, PDA_APP_EMAIL, PDA_APP_NETWORK, PDA_APP_OBJECTIVES}) {
    g_pPDA->SetCurrentApp(pda);
    fuzzgame::PlayDrawSave();
  }
  app.ChangeState(CApp::STATE_PLAYING);
  return 0;
}
