#pragma once
// The list of start-up logos, "Logos.dat": 8-bit text holding the number
// of logos, then per logo the image file name (the rest of its line), its
// width and height in pixels and the seconds it stays on screen. Blank
// lines and blanks between the items are allowed; a name never begins with
// a blank.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct LOGO_ENTRY {
  std::string image;  // data folder + image is loaded
  int32_t width = 0;
  int32_t height = 0;
  float seconds = 0.0f;
};

// The logos, in file order. A count that is missing, not a number or
// negative gives no logos; a file shorter than its count gives the whole
// logos before the gap (a logo with a missing item, a negative size or an
// unreadable number ends the list). Nothing is allocated from the count.
// Sizes past what an image can have (platform::PIXEL_COORDINATE_LIMIT)
// are held to it.
std::vector<LOGO_ENTRY> ReadLogoList(const uint8_t* data, size_t size);

// The same from a file; a file that can't be read gives no logos.
std::vector<LOGO_ENTRY> LoadLogoList(const std::string& file);
