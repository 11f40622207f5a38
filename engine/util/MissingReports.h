#pragma once
// Reports of what the data lacks: a resource request answered by its
// factory's default, a text id without a text, a bone or an animation set
// asked for by a name the mesh does not have, a character drawn by a
// bitmap font without a glyph for it, a data file the game reads by a
// fixed name (a level description, a credits text). Each is one warning line
// "missing: <what>" (for example "missing: texture Foo.tga"), written once
// per run however often it recurs, so a frame loop asking again each frame
// still logs it once.
#include <cstddef>
#include <string>
#include <vector>

namespace Nembra {

// Logs "missing: " + what the first time that text is reported; true when
// it was logged now.
bool ReportMissing(const std::string& what);
// Forgets what was reported (engine start-up does it, so each run reports afresh).
void ResetMissingReports();
// How many distinct things have been reported since the last reset.
size_t GetMissingReportCount();

// What a description file lacks, named with the file as the reader calls
// it ("comic ComicEnd.dat", "level description Level4_EN.dat"). A section
// its count names: "section [Page_2] of comic ComicEnd.dat (PagesCount 3)",
// the count key and its value as written. Keys of a section: "key ImageFile
// of [Page_1] in comic ComicEnd.dat", or "keys File7, File8 of ...". Once a
// run each, as ReportMissing.
bool ReportMissingSection(const std::string& file, const std::string& section, const std::string& countKey,
                          const std::string& count);
bool ReportMissingKeys(const std::string& file, const std::string& section, const std::vector<std::string>& keys);

// "U+0416": a character code as four or more upper-case hex digits.
std::string CharacterCodeName(wchar_t c);

}  // namespace Nembra
