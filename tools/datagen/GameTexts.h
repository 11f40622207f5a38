#pragma once
// The one place the text table "Texts.dat" is made from: every asset group
// that brings text ids registers them here in the three languages, and the
// "texts" group writes them all, sorted by id, into one file with the
// sections "ENG", "SPA" and "RUS".
//
//   std::vector<datagen::GameText> HudTexts() { return {{"TXT_OK", L"OK", L"Aceptar", L"..."}}; }
//   DATAGEN_TEXTS(HudTexts);
#include <vector>

#include "tools/datagen/DataGen.h"

namespace datagen {

struct GameText {
  const char* id;
  const wchar_t* english;
  const wchar_t* spanish;
  const wchar_t* russian;
};

using TextsFunction = std::vector<GameText> (*)();

struct TextsRegistration {
  explicit TextsRegistration(TextsFunction fn);
};

// Every registered text, sorted by id (an id registered twice is a fault
// the "texts" group reports).
std::vector<GameText> AllGameTexts();

}  // namespace datagen

#define DATAGEN_TEXTS(fn) \
  static ::datagen::TextsRegistration DATAGEN_CONCAT(s_DatagenTexts, __LINE__)(fn)
