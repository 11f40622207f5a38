#pragma once
// Image files: PNG (libpng), JPEG (libjpeg) and TGA. Decoded images are
// kept as packed ARGB words, rows top to bottom, together with the format
// code that matches the file's pixel layout.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Graphics.h"

namespace platform {

struct Image {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint32_t> argb;  // width x height, rows top to bottom
  // The layout of the file's pixels: A8R8G8B8 with an alpha channel (even
  // when every pixel is opaque), X8R8G8B8 for colour without alpha, L8 for
  // grey, A8L8 for grey with alpha, A1R5G5B5 / X1R5G5B5 / R5G6B5 for 16-bit
  // TGA files.
  D3DFORMAT format = D3DFMT_UNKNOWN;

  uint32_t Pixel(uint32_t x, uint32_t y) const { return argb[size_t(y) * width + x]; }
};

// Decodes an image from memory (kind found from the bytes). False, with a
// reason in *error, for an unknown or damaged image; never reads outside
// the bytes given. Images wider or taller than 16384 pixels, or of more
// pixels than an 8192 x 8192 texture, are refused.
bool DecodeImage(const uint8_t* data, size_t size, Image& out, std::string* error = nullptr);
// Reads a data file through the path resolver and decodes it.
bool LoadImageFile(const std::string& name, Image& out, std::string* error = nullptr);

// Writes an image as a PNG (8-bit RGBA, or RGB when opaque is set).
bool EncodePng(const Image& image, std::vector<uint8_t>& out, bool opaque = false);
bool SavePng(const std::string& path, const Image& image, bool opaque = false);

// The smallest power of two >= n (1 for 0).
uint32_t NextPowerOfTwo(uint32_t n);
// Stretches an image to a new size (bilinear between texel centres; a box
// average when shrinking by more than half).
Image ResizeImage(const Image& image, uint32_t width, uint32_t height);

// Converts between packed ARGB words and the bytes of a texture format
// (see FormatBytesPerPixel). False for a format the layer does not store.
bool PackPixels(const uint32_t* argb, size_t count, D3DFORMAT format, uint8_t* out);
bool UnpackPixels(const uint8_t* in, size_t count, D3DFORMAT format, uint32_t* argb);

}  // namespace platform
