#include "tools/formats/GraphicsFiles.h"

#include <png.h>
#include <setjmp.h>

#include <cstdio>

#include <jpeglib.h>

namespace formats {

namespace {
void PutU32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void PutPairs(std::string& out, const std::vector<std::pair<uint32_t, uint32_t>>& pairs) {
  PutU32(out, static_cast<uint32_t>(pairs.size()));
  for (const auto& p : pairs) {
    PutU32(out, p.first);
    PutU32(out, p.second);
  }
}

void Append(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}
void NoFlush(png_structp) {}

// colorType: PNG colour type; channel picks per pixel.
std::string Png(const TestPicture& picture, int colorType, int channels) {
  std::string out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  std::vector<uint8_t> row(size_t(picture.width) * channels);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return std::string();
  }
  png_set_write_fn(png, &out, Append, NoFlush);
  png_set_IHDR(png, info, picture.width, picture.height, 8, colorType, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (uint32_t y = 0; y < picture.height; ++y) {
    for (uint32_t x = 0; x < picture.width; ++x) {
      const uint32_t p = picture.argb[size_t(y) * picture.width + x];
      const uint8_t a = p >> 24, r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
      uint8_t* o = &row[size_t(x) * channels];
      switch (channels) {
        case 1: o[0] = g; break;
        case 2: o[0] = g; o[1] = a; break;
        case 3: o[0] = r; o[1] = g; o[2] = b; break;
        default: o[0] = r; o[1] = g; o[2] = b; o[3] = a; break;
      }
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}
}  // namespace

std::string StateBlockFileBytes(const StateBlockFile& file) {
  std::string out;
  PutPairs(out, file.renderStates);
  for (const auto& s : file.samplerStates) PutPairs(out, s);
  for (const auto& s : file.stageStates) PutPairs(out, s);
  return out;
}

std::string PngBytes(const TestPicture& picture, bool withAlpha) {
  return withAlpha ? Png(picture, PNG_COLOR_TYPE_RGBA, 4) : Png(picture, PNG_COLOR_TYPE_RGB, 3);
}

std::string GrayPngBytes(const TestPicture& picture, bool withAlpha) {
  return withAlpha ? Png(picture, PNG_COLOR_TYPE_GRAY_ALPHA, 2) : Png(picture, PNG_COLOR_TYPE_GRAY, 1);
}

std::string TgaBytes(const TestPicture& picture, bool withAlpha) {
  std::string out(18, '\0');
  out[2] = 2;  // uncompressed true colour
  out[12] = char(picture.width & 255);
  out[13] = char(picture.width >> 8);
  out[14] = char(picture.height & 255);
  out[15] = char(picture.height >> 8);
  out[16] = char(withAlpha ? 32 : 24);
  out[17] = char(withAlpha ? 8 : 0);  // alpha bits; rows bottom-up
  for (uint32_t y = picture.height; y-- > 0;)
    for (uint32_t x = 0; x < picture.width; ++x) {
      const uint32_t p = picture.argb[size_t(y) * picture.width + x];
      out.push_back(char(p & 255));
      out.push_back(char((p >> 8) & 255));
      out.push_back(char((p >> 16) & 255));
      if (withAlpha) out.push_back(char(p >> 24));
    }
  return out;
}

std::string JpegBytes(const TestPicture& picture, int quality) {
  jpeg_compress_struct info;
  jpeg_error_mgr err;
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = picture.width;
  info.image_height = picture.height;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(size_t(picture.width) * 3);
  while (info.next_scanline < info.image_height) {
    for (uint32_t x = 0; x < picture.width; ++x) {
      const uint32_t p = picture.argb[size_t(info.next_scanline) * picture.width + x];
      row[x * 3] = (p >> 16) & 255;
      row[x * 3 + 1] = (p >> 8) & 255;
      row[x * 3 + 2] = p & 255;
    }
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&info, &r, 1);
  }
  jpeg_finish_compress(&info);
  std::string out(reinterpret_cast<const char*>(buffer), size);
  jpeg_destroy_compress(&info);
  free(buffer);
  return out;
}

}  // namespace formats
