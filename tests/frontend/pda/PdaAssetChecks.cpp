// What the PDA takes from the demo data, registered with the data checks: every piece of its two
// atlases and every text of the table in the three languages; and the texts fit their boxes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "engine/fonts/BitmapFont.h"
#include "engine/util/KeyValueFile.h"
#include "frontend/FontNames.h"
#include "frontend/PdaFixture.h"
#include "frontend/hud/widgets/GUIMessageBox.h"
#include "frontend/pda/PDADialogs.h"
#include "frontend/pda/PDALayout.h"
#include "frontend/pda/PDAResources.h"
#include "frontend/pda/apps/PDAAppObjectives.h"
#include "platform/Image.h"
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
  for (const wchar_t* language : {L"ENG", L"SPA", L"RUS"})
    for (const wchar_t* id : {L"TXT_YES", L"TXT_CONFIRM_DELETE_PROFILE", L"TXT_FILE_LOCKED", L"TXT_CONFIG_ABILITY",
                              L"TXT_DECRYPT_READY", L"TXT_LOGGED_IN_AS"})
      EXPECT_FALSE(Nembra::CKeyValueFile::GetValue(id, language, file).empty()) << std::string(id, id + wcslen(id));
}

// Every text the PDA and the HUD draw in a box of fixed size, in each
// language, measured with the font that draws it: it fits that box.
class TextsInTheirBoxes : public pdatest::PdaTest {
 protected:
  // Lines the font makes of the text at the wrap width; the widest line's
  // advance goes to *widest.
  static int Lines(Nembra::CBitmapFont* font, const std::wstring& text, int wrap, int* widest = nullptr) {
    const std::vector<std::wstring> lines = font->WrapLines(text, wrap);
    if (widest) {
      *widest = 0;
      for (const std::wstring& l : lines) *widest = std::max(*widest, font->GetTextWidth(l));
    }
    return int(lines.size());
  }
  std::vector<Nembra::KeyValueRecord> Texts(const wchar_t* language) const {
    return Nembra::CKeyValueFile::GetSectionKeys(language, std::string(KARVESSA_DEMO_DATA_DIR) + "/Texts.dat");
  }
  // The screen rows of the separator rules on the objectives' background:
  // rows of its piece where most pixels differ from the plain panel texel.
  // The background lies at the application window's top.
  static bool ObjectiveRules(std::vector<int>* rows) {
    platform::Image atlas;
    if (!platform::LoadImageFile(std::string(KARVESSA_DEMO_DATA_DIR) + "/" + pda::ATLAS, atlas)) return false;
    const pda::Piece& o = pda::OBJECTIVES_BACKGROUND;
    const uint32_t panel = atlas.Pixel(uint32_t(pda::PANEL_TEXEL.x), uint32_t(pda::PANEL_TEXEL.y));
    const auto differs = [panel](uint32_t c) {
      for (int shift : {16, 8, 0})
        if (std::abs(int((c >> shift) & 0xFF) - int((panel >> shift) & 0xFF)) > 6) return true;
      return false;
    };
    for (int y = 0; y < o.h; ++y) {
      int marked = 0;
      for (int x = 0; x < o.w; ++x) marked += differs(atlas.Pixel(uint32_t(o.x + x), uint32_t(o.y + y))) ? 1 : 0;
      if (marked * 2 >= o.w) rows->push_back(pda::WINDOW_Y + y);
    }
    return true;
  }
};

TEST_F(TextsInTheirBoxes, InEachLanguage) {
  Nembra::CBitmapFont* italic = pda::Font(FONT_PDA_STD_ITALIC);
  Nembra::CBitmapFont* std = pda::Font(FONT_PDA_STD);
  Nembra::CBitmapFont* small = pda::Font(FONT_GUI_SMALL_NUMBERS);
  Nembra::CBitmapFont* message = pda::Font(FONT_GUI_MESSAGE);
  Nembra::CBitmapFont* comic = pda::Font(FONT_GUI_COMIC);
  ASSERT_TRUE(italic && std && small && message && comic);
  ASSERT_GT(italic->GetTextWidth(L"Ana"), 0);
  for (const wchar_t* language : {L"ENG", L"SPA", L"RUS"}) {
    Language(language);
    const std::string code(language, language + 3);
    int widest = 0;
    for (int n = 0; n < 3; ++n) {
      const CLevelDescription& level = g_LevelDescriptions[n];
      // Attachment titles inside their buttons (163 wide), off the rims.
      for (int a = 0; a < level.attachmentCount; ++a)
        EXPECT_LE(italic->GetTextWidth(level.attachments[a].title), 163 - 12) << code << " level " << n;
      // The mail's lines inside the text area (x 200 to 674).
      Lines(small, level.emailText, 470, &widest);
      EXPECT_LE(widest, 474) << code << " mail of level " << n;
    }
    // Network documents: titles inside their rows, texts within the viewer's lines.
    for (const CPDADocument& d : g_PDADocuments) {
      EXPECT_LE(italic->GetTextWidth(d.title), pda::DOCUMENT_ROW.w - 12) << code;
      EXPECT_LE(Lines(small, d.text, 470, &widest), (CPDAShowFileDialog::BODY_BOTTOM - 191) / 15) << code;
      EXPECT_LE(widest, 474) << code;
    }
    // A level's objectives, all open, within the list's 8 lines of 30 (y 179 to 425).
    std::map<std::wstring, std::vector<PDAObjective>> objectives;
    for (const Nembra::KeyValueRecord& r : Texts(language)) {
      if (r.key.rfind(L"TXT_OBJ_", 0) == 0)
        objectives[r.key.substr(0, r.key.find(L'_', 8))].push_back({r.value, false});
      // Comic balloons: one line inside the balloon's 380 pixels.
      EXPECT_TRUE(r.key.rfind(L"TXT_COMIC_", 0) != 0 || comic->GetTextWidth(r.value) <= 340) << code;
      // Messages within the message box's six lines.
      EXPECT_TRUE(r.key.rfind(L"TXT_MSG_", 0) != 0 || Lines(message, r.value, CGUIMessageBox::WRAP_WIDTH) <= 6) << code;
    }
    // Each entry ("- ", its text, " > ", the status) keeps its status whole on
    // its last line, and no rule of the background runs between its lines:
    // line k starts at y 179 + 30 k; the entries are parted by an empty line.
    std::vector<int> rules;
    ASSERT_TRUE(ObjectiveRules(&rules));
    for (const auto& level : objectives)
      for (bool complete : {false, true}) {
        const std::string which = code + " " + Nembra::WideToMultiByte(level.first) + (complete ? " complete" : " open");
        std::vector<PDAObjective> list = level.second;
        std::wstring built;
        for (PDAObjective& o : list) {
          o.complete = complete;
          built += (built.empty() ? L"" : L"\n\n") + (L"- " + o.text + L" > ") +
                   Nembra::GetText(complete ? "TXT_COMPLETE" : "TXT_INCOMPLETE");
        }
        const std::wstring status = Nembra::GetText(complete ? "TXT_COMPLETE" : "TXT_INCOMPLETE");
        EXPECT_EQ(CPDAAppObjectives::ListText(list), built) << which;
        const std::vector<std::wstring> lines = std->WrapLines(built, 485);
        EXPECT_LE(lines.size(), 8u) << which;
        for (size_t first = 0, end = 0; first < lines.size(); first = end + 1) {
          for (end = first; end < lines.size() && !lines[end].empty();) ++end;
          if (end == first) continue;
          const std::wstring& last = lines[end - 1];
          EXPECT_TRUE(last.size() >= status.size() && last.compare(last.size() - status.size(), status.size(), status) == 0)
              << which << ": the status is not whole at the end of line " << end - 1;
          for (int y : rules)
            EXPECT_FALSE(y > 179 + 30 * int(first) && y < 179 + 30 * int(end - 1))
                << which << ": a rule at y " << y << " runs inside the entry of lines " << first << " to " << end - 1;
        }
      }
    // The logged-in line leaves a name room before the status lamp (x 535).
    EXPECT_LE(std->GetTextWidth(Nembra::GetText("TXT_LOGGED_IN_AS") + L" "), 200) << code;
  }
}

}  // namespace
