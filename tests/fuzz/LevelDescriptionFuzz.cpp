// Fuzz target of the level description and document list reader: any bytes,
// read as Level4's description and as the document list; the playing game then
// prepares its map from them as a level's start does and opens its PDA on the
// GPS, the e-mail with its attachments and the network documents, a frame each,
// drawn, and saves. Seeds: a description as the data generator writes it (with
// a document section, so the same bytes serve as the document list), and the
// rectangles at the ends of the int range that once overflowed the map's and an
// attachment's drawing.
#include <cstddef>
#include <cstdint>

#include "frontend/pda/PDA.h"
#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSeeds.h"
#include "game/app/App.h"
#include "game/level/LevelDescriptions.h"
#include "tools/formats/TextFiles.h"

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

namespace {

using formats::Section;

std::vector<uint8_t> Description(const std::wstring& mapRect, const std::wstring& imageRect) {
  const std::vector<Section<std::wstring>> sections = {
      {L"LEVEL_DESC",
       {{L"ScriptFile", L"Level4.lua"},
        {L"StartComic", L"null"},
        {L"EndComic", L"null"},
        {L"ShowPDA", L"TRUE"},
        {L"EmailFile", L"Mail_Level4_EN.txt"},
        {L"MapTexture", L"MapLevel4.png"},
        {L"MapRect", mapRect},
        {L"AttachmentCount", L"1"}}},
      {L"ENABLED_FILES", {{L"File0", L"TRUE"}, {L"File1", L"TRUE"}}},
      {L"ATTACHMENT_0",
       {{L"Type", L"IMAGE"},
        {L"Title", L"Floor plan"},
        {L"TextFile", L"Attachment_Level4_EN.txt"},
        {L"ImageFile", L"Attachment_Level4.png"},
        {L"ImageRect", imageRect},
        {L"ImagePos", L"204,200"}}},
      {L"FILE_0",
       {{L"Type", L"IMAGE"}, {L"Title", L"Plan"}, {L"ImageFile", L"Attachment_Level4.png"}, {L"ImageRect", imageRect}}},
  };
  return SeedBytes(formats::KeyValueFileBytes(sections));
}

}  // namespace

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  return {Description(L"0,0,512,256", L"0,0,480,200"),
          Description(L"-2147483648,-2147483648,2147483647,2147483647", L"2147483647,0,-2147483648,200"),
          Description(L"2147483647,2147483647,-2147483648,-2147483648", L"-2147483648,-2147483648,2147483647,2147483647")};
}
