#pragma once
// The localised texts: one table from text id to text, filled from the
// language's section of "Texts.dat" in the data folder. In a text, '$'
// stands for a line break and '@' followed by an action name for the name
// of the key bound to that action.
#include <string>
#include <unordered_map>

namespace Nembra {

extern std::unordered_map<std::wstring, std::wstring> g_TextTable;
// The language last loaded ("ENG" until then).
extern std::wstring g_LanguageCode;

class CTextTable {
 public:
  // Records the language and merges its texts into the table: ids it
  // lacks keep their earlier texts. A missing file or section changes no text.
  static void Load(const std::wstring& language);
  // Loads the current language again (after the key bindings change).
  static void Reload();
};

// The text of an id, or ">> ERROR : Unknown Text ID <<".
std::wstring GetText(const std::string& id);

}  // namespace Nembra
