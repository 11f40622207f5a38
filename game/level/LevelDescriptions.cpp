#include "game/level/LevelDescriptions.h"

#include <algorithm>
#include <vector>

#include "engine/app/Engine.h"
#include "engine/util/KeyValueFile.h"
#include "engine/util/MissingReports.h"
#include "engine/util/Utilities.h"
#include "platform/Saturate.h"

using Nembra::CKeyValueFile;
using Nembra::KeyValueRecord;

namespace {

std::array<CLevelDescription, LEVEL_DESCRIPTION_COUNT> MakeLevelTable() {
  std::array<CLevelDescription, LEVEL_DESCRIPTION_COUNT> table;
  for (int i = 0; i < LEVEL_DESCRIPTION_COUNT; ++i) table[i].index = i;
  return table;
}

// The level files of the demo, in record order.
const char* const LEVEL_FILES[] = {"LevelTutorial", "Level4", "Level8"};

// One file's records, read once; values as CKeyValueFile::GetValue gives them.
class CDescriptionFile {
 public:
  explicit CDescriptionFile(const std::string& path) { CKeyValueFile::Load(path, m_Records); }

  bool HasSection(const std::wstring& section) const {
    return Nembra::SectionedText<std::wstring>::HasSection(m_Records, section);
  }
  bool HasKey(const std::wstring& key, const std::wstring& section) const {
    return Nembra::SectionedText<std::wstring>::HasRecord(m_Records, key, section);
  }

  std::wstring String(const wchar_t* key, const std::wstring& section) const {
    std::vector<KeyValueRecord> found =
        Nembra::SectionedText<std::wstring>::Find(m_Records, key, section);
    return found.empty() ? std::wstring() : found.front().value;
  }
  bool Bool(const wchar_t* key, const std::wstring& section) const {
    return Nembra::ToUpperWide(String(key, section)) == L"TRUE";
  }
  int32_t Int(const wchar_t* key, const std::wstring& section) const {
    return Nembra::WStringToInt(String(key, section));
  }
  // A rectangle of an image: each edge held to what an image can have.
  void IntQuad(const wchar_t* key, const std::wstring& section, int32_t out[4]) const {
    int quad[4] = {0, 0, 0, 0};
    Nembra::WStringToIntQuad(String(key, section), quad);
    for (int i = 0; i < 4; ++i) out[i] = platform::ClampPixelCoordinate(quad[i]);
  }
  void Point(const wchar_t* key, const std::wstring& section, float out[3]) const {
    D3DXVECTOR3 point;
    Nembra::WStringToPoint(String(key, section), &point);
    out[0] = point.x;
    out[1] = point.y;
    out[2] = point.z;
  }

 private:
  std::vector<KeyValueRecord> m_Records;
};

std::string DataPath(const std::wstring& name) {
  return Nembra::g_DataDirectory + Nembra::WideToMultiByte(name);
}

void ReadDocument(const CDescriptionFile& file, const std::wstring& section, CPDADocument& document) {
  document.type = Nembra::ToUpperWide(file.String(L"Type", section)) == L"IMAGE" ? PDA_DOCUMENT_IMAGE
                                                                                 : PDA_DOCUMENT_TEXT;
  document.title = file.String(L"Title", section);
  document.textFile = file.String(L"TextFile", section);
  document.imageFile = file.String(L"ImageFile", section);
  file.IntQuad(L"ImageRect", section, document.imageRect);
  file.Point(L"ImagePos", section, document.imagePos);
  document.text = Nembra::ReadUnicodeTextFile(DataPath(document.textFile));
}

}  // namespace

std::array<CLevelDescription, LEVEL_DESCRIPTION_COUNT> g_LevelDescriptions = MakeLevelTable();
std::array<CPDADocument, PDA_DOCUMENT_COUNT> g_PDADocuments;

bool ParseLevelDescription(CLevelDescription& record, const std::string& fileName, int32_t index) {
  const std::string path = Nembra::g_DataDirectory + fileName;
  if (!Nembra::FileExists(path)) return false;
  const CDescriptionFile file(path);
  const std::wstring level = L"LEVEL_DESC";
  record.index = index;
  record.scriptFile = file.String(L"ScriptFile", level);
  record.startComic = file.String(L"StartComic", level);
  record.endComic = file.String(L"EndComic", level);
  record.showPDA = file.Bool(L"ShowPDA", level);
  record.emailFile = file.String(L"EmailFile", level);
  record.mapTexture = file.String(L"MapTexture", level);
  file.IntQuad(L"MapRect", level, record.mapRect);
  record.attachmentCount = file.Int(L"AttachmentCount", level);
  record.emailText = Nembra::ReadUnicodeTextFile(DataPath(record.emailFile));
  // What the file lacks is named once a run; what it has is kept.
  const std::string described = "level description " + fileName;
  const std::wstring enabled = L"ENABLED_FILES";
  std::vector<std::string> lacking;
  for (int n = 0; n < PDA_DOCUMENT_COUNT; ++n) {
    const std::wstring key = L"File" + std::to_wstring(n);
    if (!file.HasKey(key, enabled)) lacking.push_back(Nembra::WideToMultiByte(key));
    record.enabledDocuments[n] = file.Bool(key.c_str(), enabled);  // a missing key reads false
  }
  Nembra::ReportMissingKeys(described, Nembra::WideToMultiByte(enabled), lacking);
  // A count above three reads three. An attachment section the count names
  // and the file lacks is left out, the later ones taking its place, and the
  // count then names only those read: the PDA never shows an empty one.
  const int32_t named = std::min(record.attachmentCount, int32_t(LEVEL_ATTACHMENT_COUNT));
  int32_t read = 0;
  for (int n = 0; n < named; ++n) {
    const std::wstring section = L"ATTACHMENT_" + std::to_wstring(n);
    if (file.HasSection(section)) {
      ReadDocument(file, section, record.attachments[read++]);
    } else {
      Nembra::ReportMissingSection(described, Nembra::WideToMultiByte(section), "AttachmentCount",
                                   Nembra::WideToMultiByte(file.String(L"AttachmentCount", level)));
    }
  }
  if (read < named) record.attachmentCount = read;
  return true;
}

bool ParseDocumentList(const std::string& fileName) {
  const std::string path = Nembra::g_DataDirectory + fileName;
  if (!Nembra::FileExists(path)) return false;
  const CDescriptionFile file(path);
  for (int n = 0; n < PDA_DOCUMENT_COUNT; ++n)
    ReadDocument(file, L"FILE_" + std::to_wstring(n), g_PDADocuments[n]);
  return true;
}

std::string LevelDescriptionFileName(uint32_t levelNumber, const std::wstring& languageCode) {
  if (levelNumber >= sizeof(LEVEL_FILES) / sizeof(LEVEL_FILES[0])) return std::string();
  return LEVEL_FILES[levelNumber] + std::string(Nembra::LanguageSuffixOf(languageCode)) + ".dat";
}

void LoadLevelDescriptions(const std::wstring& languageCode) {
  const std::string suffix = Nembra::LanguageSuffixOf(languageCode);
  // A file that is not there leaves its record as it was; it is named once a run.
  const std::string language = " (language " + Nembra::WideToMultiByte(languageCode) + ")";
  for (int i = 0; i < 3; ++i) {
    const std::string name = LevelDescriptionFileName(i, languageCode);
    if (!ParseLevelDescription(g_LevelDescriptions[i], name, i))
      Nembra::ReportMissing("level description " + name + language);
  }
  g_LevelDescriptions[0].flagB = true;
  g_LevelDescriptions[2].flagA = true;
  const std::string documents = "Files" + suffix + ".dat";
  if (!ParseDocumentList(documents)) Nembra::ReportMissing("document list " + documents + language);
}

CLevelDescription& GetLevelDescription(uint32_t levelNumber) {
  if (levelNumber < static_cast<uint32_t>(LEVEL_DESCRIPTION_COUNT)) return g_LevelDescriptions[levelNumber];
  static CLevelDescription outside;
  outside = CLevelDescription();
  return outside;
}

void ApplyLevelDocumentFlags(uint32_t levelNumber) {
  const CLevelDescription& level = GetLevelDescription(levelNumber);
  for (int n = 0; n < PDA_DOCUMENT_COUNT; ++n) g_PDADocuments[n].enabled = level.enabledDocuments[n];
}

void ClearLevelReadFlags() {
  for (int i = 0; i < 14; ++i) g_LevelDescriptions[i].read = false;
}
