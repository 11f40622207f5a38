// What the PDA takes from the generated data, registered with the data
// checks: every piece of its two atlases, and every text of the text table
// in the three languages (the fonts must cover them all).
#include <gtest/gtest.h>

#include "engine/util/KeyValueFile.h"
#include "frontend/pda/PDALayout.h"
#include "scenario/AssetChecks.h"

namespace {

ASSET_LAYOUT("PDA atlases", [] {
  std::vector<assetcheck::ImageRect> rects;
  for (const pda::Piece& p : pda::AllPieces())
    rects.push_back({p.atlas == 2 ? pda::ATLAS2 : pda::ATLAS, p.Rect(),
                     "piece at " + std::to_string(p.x) + "," + std::to_string(p.y)});
  return rects;
});

ASSET_TEXTS("text table", [](const std::string& data) {
  std::vector<std::wstring> texts;
  for (const wchar_t* language : {L"ENG", L"SPA", L"RUS"})
    for (const Nembra::KeyValueRecord& r : Nembra::CKeyValueFile::GetSectionKeys(language, data + "Texts.dat"))
      texts.push_back(r.value);
  return texts;
});

TEST(PdaData, TheTextTableHoldsEveryPdaTextInEachLanguage) {
  const std::string file = std::string(KARVESSA_DEMO_DATA_DIR) + "/Texts.dat";
  for (const wchar_t* language : {L"ENG", L"SPA", L"RUS"}) {
    const auto records = Nembra::CKeyValueFile::GetSectionKeys(language, file);
    for (const char* id : {"TXT_YES", "TXT_CONFIRM_DELETE_PROFILE", "TXT_FILE_LOCKED", "TXT_CONFIG_ABILITY",
                           "TXT_DECRYPT_READY", "TXT_LOGGED_IN_AS"}) {
      const std::string narrow(id);
      const std::wstring wide(narrow.begin(), narrow.end());
      bool found = false;
      for (const auto& r : records) found = found || (r.key == wide && !r.value.empty());
      EXPECT_TRUE(found) << id;
    }
  }
}

}  // namespace
