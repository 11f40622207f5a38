// Fuzz target of the image readers (PNG, JPEG, TGA): any bytes are refused or
// give an image whose pixels match its size, within the largest texture. Seeds:
// PNG, JPEG and TGA files from the image writers, JPEGs in the codings other
// producers use (progressive, arithmetic), and the damaged kinds once accepted:
// an arithmetic JPEG whose header promises a huge picture, a JPEG cut short
// inside its scan.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

// libjpeg's header needs FILE and size_t first.
#include <cstdio>
#include <jpeglib.h>

#include "fuzz/FuzzSeeds.h"
#include "platform/Image.h"
#include "tools/formats/GraphicsFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::Image image;
  std::string error;
  if (!platform::DecodeImage(data, size, image, &error)) {
    if (error.empty() || !image.argb.empty()) __builtin_trap();
    return 0;
  }
  if (image.width == 0 || image.height == 0 || uint64_t(image.width) * image.height > uint64_t(8192) * 8192 ||
      image.argb.size() != size_t(image.width) * image.height)
    __builtin_trap();
  return 0;
}

namespace {

formats::TestPicture Picture(uint32_t w, uint32_t h) {
  formats::TestPicture p(w, h);
  uint32_t state = 7;
  for (uint32_t& c : p.argb) {
    state = state * 214013u + 2531011u;
    c = 0x80000000u | (state >> 8);
  }
  return p;
}

std::string Jpeg(const formats::TestPicture& picture, bool arithmetic, bool progressive) {
  std::vector<uint8_t> rgb;
  for (uint32_t c : picture.argb) {
    rgb.push_back(static_cast<uint8_t>(c >> 16));
    rgb.push_back(static_cast<uint8_t>(c >> 8));
    rgb.push_back(static_cast<uint8_t>(c));
  }
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  jpeg_mem_dest(&info, &out, &outSize);
  info.image_width = picture.width;
  info.image_height = picture.height;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  if (progressive) jpeg_simple_progression(&info);
  info.arith_code = arithmetic ? TRUE : FALSE;
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = &rgb[size_t(info.next_scanline) * picture.width * 3];
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string bytes(reinterpret_cast<const char*>(out), outSize);
  std::free(out);
  return bytes;
}

}  // namespace

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  const formats::TestPicture small = Picture(16, 8);
  std::vector<std::vector<uint8_t>> seeds = {
      SeedBytes(formats::PngBytes(small, true)),   SeedBytes(formats::PngBytes(small, false)),
      SeedBytes(formats::GrayPngBytes(small)),     SeedBytes(formats::GrayPngBytes(small, true)),
      SeedBytes(formats::TgaBytes(small, true)),   SeedBytes(formats::TgaBytes(small, false)),
      SeedBytes(formats::JpegBytes(small)),        SeedBytes(Jpeg(small, false, true)),
      SeedBytes(Jpeg(small, true, false)),         SeedBytes(Jpeg(small, true, true))};
  // An arithmetic JPEG whose frame header says 16000 x 16000.
  std::string huge = Jpeg(small, true, false);
  const size_t frame = huge.find("\xFF\xC9");
  if (frame != std::string::npos) huge.replace(frame + 5, 4, std::string("\x3E\x80\x3E\x80", 4));
  seeds.push_back(SeedBytes(huge));
  // A JPEG cut inside its scan.
  const std::string whole = Jpeg(Picture(64, 64), false, false);
  seeds.push_back(SeedBytes(whole.substr(0, whole.size() * 2 / 3)));
  return seeds;
}
