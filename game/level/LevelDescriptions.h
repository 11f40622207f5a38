#pragma once
// Per-level descriptions (script, comics, PDA e-mail and attachments, map,
// enabled network documents) and the twelve PDA documents, read from the
// data folder's UTF-16 key/value files of the current language:
// "LevelTutorial", "Level4" and "Level8" into records 0 to 2 and "Files"
// into the documents, each name followed by "_EN", "_ES" or "_RU" and ".dat".
// A reload overwrites what its files hold and keeps the rest.
#include <array>
#include <cstdint>
#include <string>

constexpr int LEVEL_DESCRIPTION_COUNT = 15;
constexpr int PDA_DOCUMENT_COUNT = 12;
constexpr int LEVEL_ATTACHMENT_COUNT = 3;

enum : int32_t { PDA_DOCUMENT_TEXT = 0, PDA_DOCUMENT_IMAGE = 1 };

class CPDADocument {
 public:
  std::wstring title;
  std::wstring textFile;
  std::wstring imageFile;
  int32_t imageRect[4] = {0, 0, 480, 200};  // left, top, right, bottom
  float imagePos[3] = {204.0f, 200.0f, 0.0f};
  int32_t type = PDA_DOCUMENT_TEXT;
  std::wstring text;  // the whole text of the text file
  bool enabled = false;
};

class CLevelDescription {
 public:
  explicit CLevelDescription(int32_t slot = 0) : index(slot) {}

  std::wstring startComic = L"null";
  std::wstring endComic = L"null";
  bool showPDA = true;
  bool enabledDocuments[PDA_DOCUMENT_COUNT] = {};
  std::wstring emailFile;
  std::wstring emailText;
  std::wstring mapTexture;
  int32_t mapRect[4] = {0, 0, 0, 0};
  std::wstring scriptFile;
  int32_t attachmentCount = 0;
  CPDADocument attachments[LEVEL_ATTACHMENT_COUNT];
  bool flagA = false;  // the Level8 record
  bool flagB = false;  // the LevelTutorial record
  bool read = false;
  int32_t index;
};

extern std::array<CLevelDescription, LEVEL_DESCRIPTION_COUNT> g_LevelDescriptions;
extern std::array<CPDADocument, PDA_DOCUMENT_COUNT> g_PDADocuments;

// Parses the three level files and the document file of that language; a
// file that is not there is reported as missing (once a run), naming the
// language asked for.
void LoadLevelDescriptions(const std::wstring& languageCode);
// The level file of a level number in a language ("Level4_ES.dat"); empty
// for a number no file describes.
std::string LevelDescriptionFileName(uint32_t levelNumber, const std::wstring& languageCode);
// Fills the record from a level file in the data folder; does nothing and
// answers false when the file does not exist. The File keys of
// [ENABLED_FILES] the file lacks (read as false) and the attachment
// sections its AttachmentCount names and it lacks are reported once a run
// with the file's name; the attachments it has fill the first places and
// the count then names only them.
bool ParseLevelDescription(CLevelDescription& record, const std::string& fileName, int32_t index);
// Fills the documents from a document file in the data folder; does nothing
// and answers false when the file does not exist.
bool ParseDocumentList(const std::string& fileName);

// The record of a level number. A number outside the table gives a record
// holding the defaults (fresh on every such call), never anything outside.
CLevelDescription& GetLevelDescription(uint32_t levelNumber);
// Each document's enabled flag from that level's enabled documents.
void ApplyLevelDocumentFlags(uint32_t levelNumber);
// Clears the read flags of records 0 to 13.
void ClearLevelReadFlags();
