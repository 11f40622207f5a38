#pragma once
// Writers for render-state block files and test images, so tests and the
// demo data generator make their own files.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace formats {

// A render-state block file: five sections of (number, value) pairs.
struct StateBlockFile {
  std::vector<std::pair<uint32_t, uint32_t>> renderStates;
  std::vector<std::pair<uint32_t, uint32_t>> samplerStates[2];
  std::vector<std::pair<uint32_t, uint32_t>> stageStates[2];
};
// The file's bytes: for each section a u32 count and the u32 pairs, little-endian.
std::string StateBlockFileBytes(const StateBlockFile& file);

// A test picture: width x height packed ARGB words, rows top to bottom.
struct TestPicture {
  uint32_t width = 0, height = 0;
  std::vector<uint32_t> argb;
  TestPicture() = default;
  TestPicture(uint32_t w, uint32_t h, uint32_t fill = 0xFF000000u) : width(w), height(h), argb(size_t(w) * h, fill) {}
  uint32_t& At(uint32_t x, uint32_t y) { return argb[size_t(y) * width + x]; }
};
// PNG bytes: RGBA with alpha, or RGB without (withAlpha false).
std::string PngBytes(const TestPicture& picture, bool withAlpha = true);
// Grey PNG (8-bit, from the green channel), with or without an alpha channel.
std::string GrayPngBytes(const TestPicture& picture, bool withAlpha = false);
// Uncompressed TGA bytes: 32 bits (with alpha) or 24 bits; rows stored bottom-up.
std::string TgaBytes(const TestPicture& picture, bool withAlpha);
// Baseline JPEG bytes at the given quality.
std::string JpegBytes(const TestPicture& picture, int quality = 95);

}  // namespace formats
