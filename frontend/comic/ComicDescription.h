#pragma once
// A comic's description: an 8-bit sectioned settings file with
// [InitComic] PagesCount, per page n [Page_n] ImageFile and BalloonsCount,
// and per balloon m of page n [Page_n_Balloon_m] IdText (a text id) and
// TextPos ("x,y": the balloon text is centred on x, y is its top).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Counts beyond these are cut to them; negative counts read as 0.
constexpr int32_t COMIC_MAX_PAGES = 64;
constexpr int32_t COMIC_MAX_BALLOONS = 32;

struct COMIC_BALLOON_DESC {
  std::string textId;
  float x = 0.0f;
  float y = 0.0f;
};

struct COMIC_PAGE_DESC {
  std::string imageFile;  // data folder + name, shown as 800x600
  std::vector<COMIC_BALLOON_DESC> balloons;
};

struct COMIC_DESC {
  std::vector<COMIC_PAGE_DESC> pages;
};

// Only the whole pages and balloons are read, in file order: a page whose
// section or image name the file lacks, or a balloon whose section or text
// id it lacks, is left out and reported once a run, naming the description
// by name and the section ("missing: section [Page_2] of comic ComicEnd.dat
// (PagesCount 3)"). No file or no [InitComic] gives no pages; a balloon
// without TextPos is at (0, 0).
COMIC_DESC ReadComicDescription(const uint8_t* data, size_t size, const std::string& name);

// The same from a file, named in reports without its folder; a file that
// can't be read gives a comic of no pages.
COMIC_DESC LoadComicDescription(const std::string& file);
