// Seeds of the level description fuzz target: a description as the data
// generator writes it (with a document section, so the same bytes serve as
// the document list), and the rectangles at the ends of the int range that
// once overflowed the map's and an attachment's drawing.
#include "fuzz/FuzzSeeds.h"
#include "tools/formats/TextFiles.h"

namespace {

using formats::Section;

std::vector<uint8_t> Description(const std::wstring& mapRect, const std::wstring& imageRect) {
  const std::vector<Section<std::wstring>> sections = {
      {L"LEVEL_DESC",
       {{L"ScriptFile", L"Level4.lua"},
        {L"StartComic", L"null"},
        {L"EndComic", L"null"},
        {L"ShowPDA", L"TRUE"},
        {L"EmailFile", L"Mail_Level4_EN.txt"},
        {L"MapTexture", L"MapLevel4.png"},
        {L"MapRect", mapRect},
        {L"AttachmentCount", L"1"}}},
      {L"ENABLED_FILES", {{L"File0", L"TRUE"}, {L"File1", L"TRUE"}}},
      {L"ATTACHMENT_0",
       {{L"Type", L"IMAGE"},
        {L"Title", L"Floor plan"},
        {L"TextFile", L"Attachment_Level4_EN.txt"},
        {L"ImageFile", L"Attachment_Level4.png"},
        {L"ImageRect", imageRect},
        {L"ImagePos", L"204,200"}}},
      {L"FILE_0",
       {{L"Type", L"IMAGE"}, {L"Title", L"Plan"}, {L"ImageFile", L"Attachment_Level4.png"}, {L"ImageRect", imageRect}}},
  };
  const std::string bytes = formats::KeyValueFileBytes(sections);
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  return {Description(L"0,0,512,256", L"0,0,480,200"),
          Description(L"-2147483648,-2147483648,2147483647,2147483647", L"2147483647,0,-2147483648,200"),
          Description(L"2147483647,2147483647,-2147483648,-2147483648", L"-2147483648,-2147483648,2147483647,2147483647")};
}
