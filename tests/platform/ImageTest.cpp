// Image decoding: PNG, TGA and JPEG layouts, damaged files, and files that
// promise more than they hold (huge headers in every JPEG coding, scans cut
// short, valid files larger than any texture), refused before their pixels are made.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

// libjpeg's header needs FILE and size_t first.
#include <jpeglib.h>

#include "platform/Image.h"
#include "tools/formats/GraphicsFiles.h"

using namespace platform;

namespace {

Image Checker(uint32_t w, uint32_t h) {
  Image image;
  image.width = w;
  image.height = h;
  image.argb.resize(size_t(w) * h);
  for (uint32_t y = 0; y < h; ++y)
    for (uint32_t x = 0; x < w; ++x) image.argb[size_t(y) * w + x] = ((x + y) & 1) ? 0xFF0000FFu : 0x80FF8000u;
  return image;
}

// An 18-byte TGA header: image type, width, height, bits per pixel, descriptor.
std::string TgaHeader(char type, int w, int h, char bits, char descriptor = 0) {
  std::string tga(18, '\0');
  tga[2] = type;
  tga[12] = char(w & 0xFF);
  tga[13] = char(w >> 8);
  tga[14] = char(h & 0xFF);
  tga[15] = char(h >> 8);
  tga[16] = bits;
  tga[17] = descriptor;
  return tga;
}

bool Decode(const std::string& bytes, Image& image, std::string* error = nullptr) {
  return DecodeImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), image, error);
}

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

TEST(ImageTest, PngRoundTripKeepsPixelsAndReportsTheLayout) {
  const Image source = Checker(5, 3);
  std::vector<uint8_t> png;
  ASSERT_TRUE(EncodePng(source, png));
  Image decoded;
  ASSERT_TRUE(DecodeImage(png.data(), png.size(), decoded));
  EXPECT_EQ(decoded.width, 5u);
  EXPECT_EQ(decoded.height, 3u);
  EXPECT_EQ(decoded.argb, source.argb);
  EXPECT_EQ(decoded.format, D3DFMT_A8R8G8B8);

  // Without an alpha channel: X8R8G8B8, every pixel opaque.
  ASSERT_TRUE(EncodePng(source, png, true));
  ASSERT_TRUE(DecodeImage(png.data(), png.size(), decoded));
  EXPECT_EQ(decoded.format, D3DFMT_X8R8G8B8);
  EXPECT_EQ(decoded.Pixel(0, 0), 0xFFFF8000u);
  EXPECT_EQ(decoded.Pixel(1, 0), 0xFF0000FFu);
}

TEST(ImageTest, TgaOrientationsAndRunLengths) {
  // 2x2, 24 bits, stored bottom-up: the first stored row is the bottom one.
  std::string tga = TgaHeader(2, 2, 2, 24);
  tga += std::string("\x00\x00\xFF" "\x00\xFF\x00", 6);  // bottom: red, green
  tga += std::string("\xFF\x00\x00" "\xFF\xFF\xFF", 6);  // top: blue, white
  Image image;
  ASSERT_TRUE(Decode(tga, image));
  EXPECT_EQ(image.format, D3DFMT_X8R8G8B8);
  EXPECT_EQ(image.Pixel(0, 0), 0xFF0000FFu);
  EXPECT_EQ(image.Pixel(1, 0), 0xFFFFFFFFu);
  EXPECT_EQ(image.Pixel(0, 1), 0xFFFF0000u);
  EXPECT_EQ(image.Pixel(1, 1), 0xFF00FF00u);

  // Top-down with a run: 32 bits, one run of 3 and one raw pixel.
  std::string rle = TgaHeader(10, 4, 1, 32, 0x28);  // top-down, 8 alpha bits
  rle += std::string("\x82\x10\x20\x30\x40", 5);
  rle += std::string("\x00\x01\x02\x03\x04", 5);
  ASSERT_TRUE(Decode(rle, image));
  EXPECT_EQ(image.format, D3DFMT_A8R8G8B8);
  EXPECT_EQ(image.Pixel(2, 0), 0x40302010u);
  EXPECT_EQ(image.Pixel(3, 0), 0x04030201u);

  // A run longer than the image is refused, not written past the end.
  std::string overrun = rle;
  overrun[18] = char(0xFF);
  EXPECT_FALSE(Decode(overrun, image));
  EXPECT_EQ(image.width, 0u);
}

TEST(ImageTest, TgaColourMapIndicesCountFromTheFirstEntry) {
  // 3x1 colour-mapped, 32-bit map of two entries numbered from 5.
  std::string tga = TgaHeader(1, 3, 1, 8, 0x20);  // top-down
  tga[1] = 1;
  tga[3] = 5;  // first entry
  tga[5] = 2;  // map length
  tga[7] = 32;
  tga += std::string("\x00\x00\xFF\x80" "\xFF\x00\x00\xFF", 8);  // half-clear red, blue
  tga += std::string("\x06\x05\x06", 3);
  Image image;
  ASSERT_TRUE(Decode(tga, image));
  EXPECT_EQ(image.Pixel(0, 0), 0xFF0000FFu);
  EXPECT_EQ(image.Pixel(1, 0), 0x80FF0000u);
  EXPECT_EQ(image.format, D3DFMT_A8R8G8B8);  // the map carries alpha
  // An index below the first entry names no colour.
  tga[tga.size() - 1] = 4;
  EXPECT_FALSE(Decode(tga, image));
}

TEST(ImageTest, HeadersPromisingHugeImagesAreRefusedBeforeThePixelsAreMade) {
  // A small PNG whose header is changed to 16384 x 16384: the data cannot
  // hold that many rows, so it fails at once, not after making 1 GiB of pixels.
  std::vector<uint8_t> png;
  ASSERT_TRUE(EncodePng(Checker(4, 4), png));
  std::string bytes(png.begin(), png.end());
  const std::string side("\x00\x00\x40\x00", 4);
  bytes.replace(16, 4, side);
  bytes.replace(20, 4, side);
  const uint32_t crc = uint32_t(crc32(0, reinterpret_cast<const Bytef*>(bytes.data() + 12), 17));
  for (int i = 0; i < 4; ++i) bytes[29 + i] = char(crc >> (24 - 8 * i));
  Image image;
  std::string error;
  EXPECT_FALSE(Decode(bytes, image, &error));
  EXPECT_EQ(error, "PNG data cut short");

  // A JPEG whose frame header says 16384 x 16384.
  std::string jpeg = formats::JpegBytes(formats::TestPicture(16, 16, 0xFF808080u));
  const size_t frame = jpeg.find("\xFF\xC0");
  ASSERT_NE(frame, std::string::npos);
  jpeg.replace(frame + 5, 4, std::string("\x40\x00\x40\x00", 4));
  EXPECT_FALSE(Decode(jpeg, image, &error));
  EXPECT_EQ(error, "JPEG data cut short");

  // The same for a TGA, raw and run-length coded.
  for (char type : {char(2), char(10)}) {
    const std::string tga = TgaHeader(type, 0x4000, 0x4000, 32) + std::string(64, '\x7F');
    EXPECT_FALSE(Decode(tga, image, &error));
    EXPECT_EQ(error, "TGA header promises more pixels than the file holds") << int(type);
  }
}

TEST(ImageTest, DamagedAndUnknownFilesFailCleanly) {
  Image image;
  std::string error;
  const Image source = Checker(32, 32);
  std::vector<uint8_t> png;
  ASSERT_TRUE(EncodePng(source, png));
  // Every cut of the PNG either fails or (never) succeeds with the full size.
  for (size_t cut : {size_t(8), size_t(20), size_t(33), png.size() / 2, png.size() - 13}) {
    EXPECT_FALSE(DecodeImage(png.data(), cut, image, &error)) << cut;
    EXPECT_FALSE(error.empty());
  }
  // A TGA header that promises more pixels than the file holds.
  EXPECT_FALSE(Decode(TgaHeader(2, 0xFF, 0xFF, 32) + "abcd", image));
  // A truncated JPEG and plain junk.
  EXPECT_FALSE(Decode(std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10), image));
  EXPECT_FALSE(Decode("this is not an image at all", image));
  EXPECT_FALSE(DecodeImage(nullptr, 0, image));
  EXPECT_FALSE(LoadImageFile("/no/such/file.png", image, &error));
}

TEST(ImageTest, PowerOfTwoAndStretching) {
  for (auto [in, out] : {std::pair<uint32_t, uint32_t>{0, 1}, {1, 1}, {60, 64}, {64, 64}, {100, 128}})
    EXPECT_EQ(NextPowerOfTwo(in), out) << in;
  // A two-colour image stretched keeps its colours at the ends and blends between.
  Image image;
  image.width = 2;
  image.height = 1;
  image.argb = {0xFF000000u, 0xFFFFFFFFu};
  const Image wide = ResizeImage(image, 8, 4);
  ASSERT_EQ(wide.argb.size(), 32u);
  EXPECT_EQ(wide.Pixel(0, 0), 0xFF000000u);
  EXPECT_EQ(wide.Pixel(7, 3), 0xFFFFFFFFu);
  const uint32_t middle = wide.Pixel(4, 2) & 0xFF;
  EXPECT_GT(middle, 0x40u);
  EXPECT_LT(middle, 0xC0u);
  // Shrinking by more than half averages.
  const Image small = ResizeImage(Checker(8, 8), 1, 1);
  EXPECT_NEAR(int((small.Pixel(0, 0) >> 24) & 255), (0xFF + 0x80) / 2, 1);
}

TEST(ImageTest, PixelPackingRoundTrips) {
  const uint32_t pixels[3] = {0xFFFF0000u, 0x00FFFFFFu, 0x80404040u};
  struct Case {
    D3DFORMAT format;
    uint32_t expected[3];
  } cases[] = {
      {D3DFMT_A8R8G8B8, {0xFFFF0000u, 0x00FFFFFFu, 0x80404040u}},
      {D3DFMT_X8R8G8B8, {0xFFFF0000u, 0xFFFFFFFFu, 0xFF404040u}},
      {D3DFMT_A1R5G5B5, {0xFFFF0000u, 0x00FFFFFFu, 0xFF414141u}},
      {D3DFMT_R5G6B5, {0xFFFF0000u, 0xFFFFFFFFu, 0xFF414041u}},
      {D3DFMT_A4R4G4B4, {0xFFFF0000u, 0x00FFFFFFu, 0x88444444u}},
      {D3DFMT_A8L8, {0xFF4D4D4Du, 0x00FFFFFFu, 0x80404040u}},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes(3 * FormatBytesPerPixel(c.format));
    ASSERT_TRUE(PackPixels(pixels, 3, c.format, bytes.data())) << c.format;
    uint32_t back[3];
    ASSERT_TRUE(UnpackPixels(bytes.data(), 3, c.format, back)) << c.format;
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(back[i], c.expected[i]) << c.format << " pixel " << i;
    }
  }
  uint8_t out[4];
  EXPECT_FALSE(PackPixels(pixels, 1, D3DFMT_DXT1, out));
}

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

}  // namespace
