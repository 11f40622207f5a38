// Writes "Texts.dat" from every registered contribution.
#include "tools/datagen/GameTexts.h"

#include <cstdio>
#include <map>
#include <set>

#include "tools/datagen/DataGen.h"
#include "tools/formats/TextFiles.h"

namespace datagen {

namespace {
std::map<std::string, TextContribution>& Contributions() {
  static std::map<std::string, TextContribution> contributions;
  return contributions;
}
}  // namespace

TextsRegistration::TextsRegistration(const char* name, TextContribution fn) { Contributions()[name] = fn; }

std::vector<GameText> AllGameTexts() {
  std::vector<GameText> all;
  for (const auto& entry : Contributions()) {
    const std::vector<GameText> texts = entry.second();
    all.insert(all.end(), texts.begin(), texts.end());
  }
  return all;
}

namespace {

bool WriteTextTable(const Output& out) {
  using formats::Section;
  Section<std::wstring> eng{L"ENG", {}}, spa{L"SPA", {}}, rus{L"RUS", {}};
  std::set<std::string> seen;
  for (const GameText& text : AllGameTexts()) {
    if (!seen.insert(text.id).second) {
      std::fprintf(stderr, "datagen: text id %s given twice\n", text.id.c_str());
      return false;
    }
    const std::wstring id(text.id.begin(), text.id.end());
    eng.keys.emplace_back(id, text.english);
    spa.keys.emplace_back(id, text.spanish);
    rus.keys.emplace_back(id, text.russian);
  }
  return out.Write("Texts.dat", formats::TextTableFileBytes({eng, spa, rus}));
}

}  // namespace

}  // namespace datagen

DATAGEN_GROUP("texts", datagen::WriteTextTable);
