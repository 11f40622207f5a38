// The logo list and the credits texts in the three languages.
#include "tools/datagen/DataGen.h"
#include "tools/formats/FrontEndFiles.h"

namespace {

// The two start-up logos; their images belong to the logo artwork.
std::string Logos() {
  return formats::LogoListText({
      {"Logo_Studio.png", 512, 256, "2.0"},
      {"Logo_Nembra.png", 512, 256, "2.0"},
  });
}

// Roles and names per language; "+" marks a heading, "" an empty line.
std::vector<std::wstring> EnglishCredits() {
  return {L"+PROJECT KARVESSA",
          L"",
          L"+Game design",
          L"Alba Moreno",
          L"Ilya Sokolov",
          L"",
          L"+Programming",
          L"I\u00F1igo Salda\u00F1a",
          L"Daria Volkova",
          L"Tom\u00E1s Rivera",
          L"",
          L"+Art",
          L"Luc\u00EDa Prieto",
          L"Pavel Orlov",
          L"",
          L"+Music and sound",
          L"Marta Gil",
          L"",
          L"+Thanks",
          L"Everyone who played the demo",
          L"",
          L"+",
          L"Thank you for playing!"};
}

std::vector<std::wstring> SpanishCredits() {
  return {L"+PROJECT KARVESSA",
          L"",
          L"+Dise\u00F1o del juego",
          L"Alba Moreno",
          L"Ilya Sokolov",
          L"",
          L"+Programaci\u00F3n",
          L"I\u00F1igo Salda\u00F1a",
          L"Daria Volkova",
          L"Tom\u00E1s Rivera",
          L"",
          L"+Gr\u00E1ficos",
          L"Luc\u00EDa Prieto",
          L"Pavel Orlov",
          L"",
          L"+M\u00FAsica y sonido",
          L"Marta Gil",
          L"",
          L"+Agradecimientos",
          L"A todos los que jugaron la demo",
          L"",
          L"+",
          L"\u00A1Gracias por jugar!"};
}

std::vector<std::wstring> RussianCredits() {
  return {
      L"+PROJECT KARVESSA",
      L"",
      L"+\u0414\u0438\u0437\u0430\u0439\u043D \u0438\u0433\u0440\u044B",
      L"\u0410\u043B\u044C\u0431\u0430 \u041C\u043E\u0440\u0435\u043D\u043E",
      L"\u0418\u043B\u044C\u044F \u0421\u043E\u043A\u043E\u043B\u043E\u0432",
      L"",
      L"+\u041F\u0440\u043E\u0433\u0440\u0430\u043C\u043C\u0438\u0440\u043E\u0432\u0430\u043D\u0438\u0435",
      L"\u0418\u043D\u044C\u0438\u0433\u043E \u0421\u0430\u043B\u044C\u0434\u0430\u043D\u044C\u044F",
      L"\u0414\u0430\u0440\u044C\u044F \u0412\u043E\u043B\u043A\u043E\u0432\u0430",
      L"\u0422\u043E\u043C\u0430\u0441 \u0420\u0438\u0432\u0435\u0440\u0430",
      L"",
      L"+\u0413\u0440\u0430\u0444\u0438\u043A\u0430",
      L"\u041B\u0443\u0441\u0438\u044F \u041F\u0440\u0438\u0435\u0442\u043E",
      L"\u041F\u0430\u0432\u0435\u043B \u041E\u0440\u043B\u043E\u0432",
      L"",
      L"+\u041C\u0443\u0437\u044B\u043A\u0430 \u0438 \u0437\u0432\u0443\u043A",
      L"\u041C\u0430\u0440\u0442\u0430 \u0425\u0438\u043B\u044C",
      L"",
      L"+\u0411\u043B\u0430\u0433\u043E\u0434\u0430\u0440\u043D\u043E\u0441\u0442\u0438",
      L"\u0412\u0441\u0435\u043C, \u043A\u0442\u043E \u0438\u0433\u0440\u0430\u043B \u0432 \u0434\u0435\u043C\u043E",
      L"",
      L"+",
      L"\u0421\u043F\u0430\u0441\u0438\u0431\u043E \u0437\u0430 \u0438\u0433\u0440\u0443!"};
}

bool WriteFrontEndTexts(const datagen::Output& out) {
  bool ok = out.Write("Logos.dat", Logos());
  ok = out.Write("Credits_EN.txt", formats::CreditsFileBytes(EnglishCredits())) && ok;
  ok = out.Write("Credits_ES.txt", formats::CreditsFileBytes(SpanishCredits())) && ok;
  ok = out.Write("Credits_RU.txt", formats::CreditsFileBytes(RussianCredits())) && ok;
  return ok;
}

}  // namespace

DATAGEN_GROUP("frontend-texts", WriteFrontEndTexts);
