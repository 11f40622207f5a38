#pragma once
// Engine start-up and shutdown, and the engine-wide defaults that exist
// before the application is made.
#include <string>
#include <vector>

namespace Nembra {

// Names of the factories' default entries.
extern const char* const DEFAULT_RESOURCE_NAME;              // "__DEFAULT__"
extern const char* const DEFAULT_TRANSPARENT_RESOURCE_NAME;  // "__DEFAULT_TRANSPARENT__"

// Language codes.
extern const wchar_t* const LANGUAGE_ENGLISH;  // "ENG"
extern const wchar_t* const LANGUAGE_SPANISH;  // "SPA"
extern const wchar_t* const LANGUAGE_RUSSIAN;  // "RUS"

// Files and images that differ by language come in this order: English,
// Spanish, Russian. A code other than "SPA" and "RUS" (an empty or unknown
// one included) counts as English.
enum LanguageIndex : int { LANGUAGE_INDEX_ENGLISH = 0, LANGUAGE_INDEX_SPANISH = 1, LANGUAGE_INDEX_RUSSIAN = 2 };
LanguageIndex LanguageIndexOf(const std::wstring& code);
// "ENG", "SPA" or "RUS".
bool IsLanguageCode(const std::wstring& code);
// The file-name suffix of a language: "_EN", "_ES" or "_RU".
const char* LanguageSuffixOf(const std::wstring& code);

// Data folders. Every name ends with a backslash; the path resolver turns
// them into native paths. The game sets them all from its data folder.
extern std::string g_DataDirectory;            // ".\Data\"
extern std::string g_LanguageDirectory;        // copy of the data folder
extern std::string g_ScriptDirectory;          // data + "Scripts\"
extern std::string g_BitmapFontDirectory;      // copy of the data folder
extern std::string g_3DWaveSoundDirectory;     // data + "3D wave sounds\"
extern std::string g_StreamingSoundDirectory;  // data + "Sounds\"
extern std::string g_WaveSoundDirectory;       // data + "Wave sounds\"
extern std::string g_AudiereSoundDirectory;    // "Sounds\"
extern std::string g_SkinnedMeshDirectory;     // data + "Meshes\"
extern std::string g_SimpleMeshDirectory;      // data + "Meshes\"
extern std::string g_TextureDirectory;         // data + "Materials\"
extern std::string g_MaterialDirectory;        // data + "Materials\"
extern std::string g_ShaderDirectory;          // data + "Materials\"

// Sets the data folder and every directory derived from it.
void SetDataDirectory(const std::string& dataDirectory);

// Every folder a resource factory or the text table reads from: all of the
// above but the data folder itself and the script folder. The game points
// them all at its data folder.
std::vector<std::string*> ResourceDirectories();

// Creates the engine singletons in their fixed order, then sets up the
// particle random table; its result is the result. A singleton that cannot
// be allocated stays null.
bool InitializeEngine();
// Deletes them in the reverse dependency order; tolerates null pointers
// and a second call.
void ShutdownEngine();

}  // namespace Nembra
