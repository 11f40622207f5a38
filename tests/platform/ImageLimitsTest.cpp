// Image files that promise more than they hold: JPEGs in every coding
// (Huffman and arithmetic, sequential and progressive) whose header claims a
// huge picture, JPEGs cut short inside a scan, and valid files larger than
// any texture. Each is refused before its pixels are made.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

// libjpeg's header needs FILE and size_t first.
#include <jpeglib.h>

#include "platform/Image.h"

using namespace platform;

namespace {

// A picture of noise (so no coding packs it tightly), written by libjpeg
// with the given coding options.
std::string NoiseJpeg(uint32_t w, uint32_t h, bool arithmetic, bool progressive) {
  std::vector<uint8_t> rgb(size_t(w) * h * 3);
  uint32_t state = 1;
  for (uint8_t& c : rgb) {
    state = state * 214013u + 2531011u;
    c = static_cast<uint8_t>(state >> 16);
  }
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  jpeg_mem_dest(&info, &out, &outSize);
  info.image_width = w;
  info.image_height = h;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 90, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  info.arith_code = arithmetic ? TRUE : FALSE;
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < h) {
    JSAMPROW row = &rgb[size_t(info.next_scanline) * w * 3];
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string bytes(reinterpret_cast<const char*>(out), outSize);
  std::free(out);
  return bytes;
}

// Offset of the frame header (SOFn) found by walking the marker segments.
size_t FrameHeader(const std::string& jpeg) {
  size_t at = 2;
  while (at + 4 <= jpeg.size() && static_cast<uint8_t>(jpeg[at]) == 0xFF) {
    const uint8_t marker = static_cast<uint8_t>(jpeg[at + 1]);
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) return at;
    at += 2 + (static_cast<uint8_t>(jpeg[at + 2]) << 8 | static_cast<uint8_t>(jpeg[at + 3]));
  }
  return std::string::npos;
}

bool Decode(const std::string& bytes, Image& image, std::string* error = nullptr) {
  return DecodeImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), image, error);
}

void PutBig(std::string& out, uint32_t v) {
  for (int i = 3; i >= 0; --i) out += static_cast<char>(v >> (8 * i));
}

void PngChunk(std::string& png, const char* type, const std::string& data) {
  PutBig(png, static_cast<uint32_t>(data.size()));
  const std::string body = std::string(type, 4) + data;
  png += body;
  PutBig(png, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()), body.size())));
}

// A valid one-bit grey PNG of one colour, as any PNG writer makes it: a few
// kilobytes however large the picture.
std::string FlatPng(uint32_t w, uint32_t h) {
  std::string png("\x89PNG\r\n\x1A\n", 8);
  std::string header;
  PutBig(header, w);
  PutBig(header, h);
  header += std::string("\x01\x00\x00\x00\x00", 5);  // depth 1, grey, deflate, filter 0, no interlace
  PngChunk(png, "IHDR", header);
  const std::string raw(size_t(h) * ((w + 7) / 8 + 1), '\0');  // filter byte 0 and black pixels per row
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::string packed(packedSize, '\0');
  compress2(reinterpret_cast<Bytef*>(&packed[0]), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
            static_cast<uLong>(raw.size()), 9);
  packed.resize(packedSize);
  PngChunk(png, "IDAT", packed);
  PngChunk(png, "IEND", "");
  return png;
}

// A valid run-length coded 32-bit TGA of one colour.
std::string FlatRleTga(uint32_t w, uint32_t h) {
  std::string tga(18, '\0');
  tga[2] = 10;
  tga[12] = static_cast<char>(w);
  tga[13] = static_cast<char>(w >> 8);
  tga[14] = static_cast<char>(h);
  tga[15] = static_cast<char>(h >> 8);
  tga[16] = 32;
  tga[17] = 8;
  const uint64_t pixels = uint64_t(w) * h;
  const std::string run("\xFF\x10\x20\x30\xFF", 5);  // 128 pixels of one colour
  tga.reserve(18 + pixels / 128 * 5 + 10);
  for (uint64_t i = 0; i < pixels / 128; ++i) tga += run;
  for (uint64_t i = pixels / 128 * 128; i < pixels; ++i) tga += std::string("\x00\x10\x20\x30\xFF", 5);
  return tga;
}

}  // namespace

TEST(ImageLimits, JpegHeadersPromisingHugePicturesAreRefusedInEveryCoding) {
  struct Coding {
    bool arithmetic, progressive;
  };
  for (const Coding c : {Coding{false, false}, Coding{true, false}, Coding{false, true}, Coding{true, true}}) {
    SCOPED_TRACE(std::string(c.arithmetic ? "arithmetic" : "Huffman") + (c.progressive ? " progressive" : ""));
    std::string jpeg = NoiseJpeg(32, 32, c.arithmetic, c.progressive);
    Image image;
    ASSERT_TRUE(Decode(jpeg, image));
    EXPECT_EQ(image.width, 32u);
    const size_t frame = FrameHeader(jpeg);
    ASSERT_NE(frame, std::string::npos);
    // 8000 x 8000 is within the largest texture, but not from a few
    // hundred bytes: refused at once, not decoded into 256 MB.
    jpeg.replace(frame + 5, 4, std::string("\x1F\x40\x1F\x40", 4));
    std::string error;
    EXPECT_FALSE(Decode(jpeg, image, &error));
    EXPECT_EQ(error, "JPEG data cut short");
    EXPECT_TRUE(image.argb.empty());
  }
}

TEST(ImageLimits, JpegCutShortInsideAScanIsDamaged) {
  for (bool progressive : {false, true}) {
    const std::string jpeg = NoiseJpeg(96, 96, false, progressive);
    Image image;
    ASSERT_TRUE(Decode(jpeg, image));
    for (size_t cut : {jpeg.size() * 6 / 10, jpeg.size() - 200, jpeg.size() - 3}) {
      std::string error;
      EXPECT_FALSE(Decode(jpeg.substr(0, cut), image, &error)) << cut << (progressive ? " progressive" : "");
      EXPECT_NE(error.find("Premature end"), std::string::npos) << error;
    }
  }
}

TEST(ImageLimits, NoImageHoldsMorePixelsThanTheLargestTexture) {
  Image image;
  std::string error;
  // Valid files of 8200 x 8200 pixels: a 9 KB PNG and a 2.6 MB TGA.
  const std::string png = FlatPng(8200, 8200);
  EXPECT_LT(png.size(), 64u * 1024);
  EXPECT_FALSE(Decode(png, image, &error));
  EXPECT_EQ(error, "PNG too large");
  EXPECT_FALSE(Decode(FlatRleTga(8200, 8200), image, &error));
  EXPECT_EQ(error, "TGA too large");
  EXPECT_TRUE(image.argb.empty());
  // Long thin pictures within the pixel limit still load.
  ASSERT_TRUE(Decode(FlatPng(16384, 2), image, &error)) << error;
  EXPECT_EQ(image.width, 16384u);
  EXPECT_EQ(image.Pixel(100, 1), 0xFF000000u);
  ASSERT_TRUE(Decode(FlatRleTga(2, 16384), image, &error)) << error;
  EXPECT_EQ(image.Pixel(1, 16383), 0xFF302010u);
}
