// The text table: every registered text id in the three languages.
#include "tools/datagen/GameTexts.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/datagen/DataGen.h"
#include "tools/formats/TextFiles.h"

namespace datagen {

namespace {
std::vector<TextsFunction>& Registry() {
  static std::vector<TextsFunction> functions;
  return functions;
}
}  // namespace

TextsRegistration::TextsRegistration(TextsFunction fn) { Registry().push_back(fn); }

std::vector<GameText> AllGameTexts() {
  std::vector<GameText> all;
  for (TextsFunction fn : Registry()) {
    const std::vector<GameText> part = fn();
    all.insert(all.end(), part.begin(), part.end());
  }
  std::stable_sort(all.begin(), all.end(),
                   [](const GameText& a, const GameText& b) { return std::strcmp(a.id, b.id) < 0; });
  return all;
}

namespace {

bool WriteTextTable(const Output& out) {
  const std::vector<GameText> texts = AllGameTexts();
  for (size_t i = 1; i < texts.size(); ++i)
    if (std::strcmp(texts[i - 1].id, texts[i].id) == 0) {
      std::fprintf(stderr, "datagen: text id %s registered twice\n", texts[i].id);
      return false;
    }
  using Section = formats::Section<std::wstring>;
  Section eng{L"ENG", {}}, spa{L"SPA", {}}, rus{L"RUS", {}};
  for (const GameText& t : texts) {
    const std::string narrow(t.id);
    const std::wstring id(narrow.begin(), narrow.end());
    eng.keys.emplace_back(id, t.english);
    spa.keys.emplace_back(id, t.spanish);
    rus.keys.emplace_back(id, t.russian);
  }
  return out.Write("Texts.dat", formats::TextTableFileBytes({eng, spa, rus}));
}

}  // namespace
}  // namespace datagen

DATAGEN_GROUP("texts", datagen::WriteTextTable);
