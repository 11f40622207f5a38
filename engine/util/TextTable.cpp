#include "engine/util/TextTable.h"

#include "engine/app/Engine.h"
#include "engine/app/InputMapper.h"
#include "engine/util/KeyValueFile.h"
#include "engine/util/MissingReports.h"

namespace Nembra {

std::unordered_map<std::wstring, std::wstring> g_TextTable;
std::wstring g_LanguageCode = L"ENG";

namespace {

const wchar_t* const UNKNOWN_TEXT_ID = L">> ERROR : Unknown Text ID <<";

bool IsNameChar(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'_';
}

// '$' becomes a line feed; every '@' followed by a name becomes the name of
// the input bound to that action. A '@' without a name stays as it is, and
// so do the tokens while no input mapper exists.
std::wstring ExpandText(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const wchar_t c = text[i];
    if (c == L'$') {
      out += L'\n';
      ++i;
      continue;
    }
    size_t end = i + 1;
    if (c == L'@')
      while (end < text.size() && IsNameChar(text[end])) ++end;
    if (c != L'@' || end == i + 1 || !g_pInputMapper) {
      out += c;
      ++i;
      continue;
    }
    out += g_pInputMapper->GetMappingName(WideToMultiByte(text.substr(i + 1, end - i - 1)));
    i = end;
  }
  return out;
}

}  // namespace

void CTextTable::Load(const std::wstring& language) {
  g_LanguageCode = language;
  for (const KeyValueRecord& record : CKeyValueFile::GetSectionKeys(language, g_DataDirectory + "Texts.dat"))
    g_TextTable[record.key] = ExpandText(record.value);
}

void CTextTable::Reload() { Load(std::wstring(g_LanguageCode)); }

std::wstring GetText(const std::string& id) {
  auto it = g_TextTable.find(MultiByteToWide(id));
  if (it != g_TextTable.end()) return it->second;
  ReportMissing("text " + id);
  return UNKNOWN_TEXT_ID;
}

}  // namespace Nembra
