#pragma once
// "Texts.dat", the one text table of the demo data. Every asset group that
// needs texts registers its ids here with DATAGEN_TEXTS; the "texts" group
// writes them all, one section per language (ENG, SPA, RUS), contributions
// in name order and ids in the order given. An id given twice fails the run.
#include <string>
#include <vector>

namespace datagen {

struct GameText {
  std::string id;
  std::wstring english, spanish, russian;
};

using TextContribution = std::vector<GameText> (*)();

struct TextsRegistration {
  TextsRegistration(const char* name, TextContribution fn);
};

// Every registered text, in the order they are written.
std::vector<GameText> AllGameTexts();

}  // namespace datagen

#define DATAGEN_TEXTS(name, fn) \
  static ::datagen::TextsRegistration DATAGEN_CONCAT(s_DatagenTexts, __LINE__)(name, fn)
