#include "platform/Image.h"

#include <png.h>
#include <setjmp.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

// libjpeg's header needs FILE and size_t first.
#include <jpeglib.h>
#include <jerror.h>

#include "platform/Files.h"

namespace platform {

namespace {
constexpr uint32_t kMaxSide = 16384;
// The largest texture the device makes: no image holds more pixels.
constexpr uint64_t kMaxPixels = uint64_t(8192) * 8192;

bool TooManyPixels(uint32_t w, uint32_t h) { return uint64_t(w) * h > kMaxPixels; }

void SetError(std::string* error, const std::string& text) {
  if (error) *error = text;
}

uint32_t Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) { return (a << 24) | (r << 16) | (g << 8) | b; }

// ---- PNG ----
struct PngReader {
  const uint8_t* data;
  size_t size;
  size_t pos;
};

void PngRead(png_structp png, png_bytep out, png_size_t count) {
  auto* r = static_cast<PngReader*>(png_get_io_ptr(png));
  if (count > r->size - r->pos) png_error(png, "file ends early");
  std::memcpy(out, r->data + r->pos, count);
  r->pos += count;
}

void PngError(png_structp png, png_const_charp message) {
  auto* error = static_cast<std::string*>(png_get_error_ptr(png));
  if (error) *error = message;
  png_longjmp(png, 1);
}
void PngWarning(png_structp, png_const_charp) {}

bool DecodePng(const uint8_t* data, size_t size, Image& out, std::string* error) {
  std::string message = "damaged PNG";
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &message, PngError, PngWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  PngReader reader{data, size, 0};
  std::vector<uint8_t> pixels;
  std::vector<png_bytep> rows;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    SetError(error, message);
    return false;
  }
  png_set_read_fn(png, &reader, PngRead);
  png_set_user_limits(png, kMaxSide, kMaxSide);
  png_read_info(png, info);
  const uint32_t w = png_get_image_width(png, info), h = png_get_image_height(png, info);
  const int colorType = png_get_color_type(png, info);
  const int depth = png_get_bit_depth(png, info);
  // Deflate packs at most 1032 bytes into one: a file too small for the
  // rows its header promises is damaged, refused before the pixels are made.
  if ((png_get_rowbytes(png, info) + 1) * h / 1032 > size) png_error(png, "PNG data cut short");
  if (TooManyPixels(w, h)) png_error(png, "PNG too large");
  const bool hasTrns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  const bool gray = (colorType & PNG_COLOR_MASK_COLOR) == 0;
  const bool alpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0 || hasTrns;
  if (depth == 16) png_set_strip_16(png);
  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (gray && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (hasTrns) png_set_tRNS_to_alpha(png);
  if (gray) png_set_gray_to_rgb(png);
  if (!alpha) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != size_t(w) * 4) png_error(png, "unexpected PNG layout");
  pixels.resize(size_t(w) * h * 4);
  rows.resize(h);
  for (uint32_t y = 0; y < h; ++y) rows[y] = pixels.data() + size_t(y) * w * 4;
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);

  out.width = w;
  out.height = h;
  out.argb.resize(size_t(w) * h);
  for (size_t i = 0; i < out.argb.size(); ++i) {
    const uint8_t* p = &pixels[i * 4];
    out.argb[i] = Argb(alpha ? p[3] : 255, p[0], p[1], p[2]);
  }
  if (gray) out.format = alpha ? D3DFMT_A8L8 : D3DFMT_L8;
  else out.format = alpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
  return true;
}

// ---- JPEG ----
struct JpegError {
  jpeg_error_mgr manager;
  jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void JpegFail(j_common_ptr info) {
  auto* e = reinterpret_cast<JpegError*>(info->err);
  info->err->format_message(info, e->message);
  longjmp(e->jump, 1);
}
// Warnings are not shown, but scan data that ends early is damage: libjpeg
// would make up the rest of the image.
void JpegWarning(j_common_ptr info, int level) {
  if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) info->err->error_exit(info);
}

bool DecodeJpeg(const uint8_t* data, size_t size, Image& out, std::string* error) {
  jpeg_decompress_struct info;
  JpegError e;
  info.err = jpeg_std_error(&e.manager);
  e.manager.error_exit = JpegFail;
  e.manager.emit_message = JpegWarning;
  e.message[0] = 0;
  std::vector<uint8_t> row;
  if (setjmp(e.jump)) {
    jpeg_destroy_decompress(&info);
    SetError(error, std::string("damaged JPEG: ") + e.message);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
  jpeg_read_header(&info, TRUE);
  if (info.image_width > kMaxSide || info.image_height > kMaxSide) {
    jpeg_destroy_decompress(&info);
    SetError(error, "JPEG too large");
    return false;
  }
  // Every coding spends more than half a bit on an 8x8 block of a real
  // picture, so a file far smaller than its size promises is damaged.
  if (size_t(info.image_width) * info.image_height / 1024 > size) {
    jpeg_destroy_decompress(&info);
    SetError(error, "JPEG data cut short");
    return false;
  }
  if (TooManyPixels(info.image_width, info.image_height)) {
    jpeg_destroy_decompress(&info);
    SetError(error, "JPEG too large");
    return false;
  }
  const bool gray = info.jpeg_color_space == JCS_GRAYSCALE;
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  const uint32_t w = info.output_width, h = info.output_height;
  out.width = w;
  out.height = h;
  out.argb.assign(size_t(w) * h, 0);
  row.resize(size_t(w) * 3);
  while (info.output_scanline < h) {
    const uint32_t y = info.output_scanline;
    JSAMPROW rowPtr = row.data();
    jpeg_read_scanlines(&info, &rowPtr, 1);
    for (uint32_t x = 0; x < w; ++x)
      out.argb[size_t(y) * w + x] = Argb(255, row[x * 3], row[x * 3 + 1], row[x * 3 + 2]);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  out.format = gray ? D3DFMT_L8 : D3DFMT_X8R8G8B8;
  return true;
}

// ---- TGA ----
bool DecodeTga(const uint8_t* data, size_t size, Image& out, std::string* error) {
  if (size < 18) {
    SetError(error, "TGA header cut short");
    return false;
  }
  const uint8_t idLength = data[0], mapType = data[1], type = data[2];
  const uint32_t mapFirst = data[3] | (data[4] << 8), mapLength = data[5] | (data[6] << 8);
  const uint32_t mapEntryBits = data[7];
  const uint32_t w = data[12] | (data[13] << 8), h = data[14] | (data[15] << 8);
  const uint32_t bits = data[16], descriptor = data[17];
  const bool rle = type == 9 || type == 10 || type == 11;
  const uint32_t base = type & 7;
  if ((base != 1 && base != 2 && base != 3) || w == 0 || h == 0 || w > kMaxSide || h > kMaxSide) {
    SetError(error, "unsupported TGA");
    return false;
  }
  size_t pos = 18 + size_t(idLength);
  std::vector<uint32_t> palette;
  if (mapType == 1) {
    const uint32_t entryBytes = (mapEntryBits + 7) / 8;
    if (entryBytes < 2 || entryBytes > 4 || pos + size_t(mapLength) * entryBytes > size) {
      SetError(error, "damaged TGA colour map");
      return false;
    }
    for (uint32_t i = 0; i < mapLength; ++i, pos += entryBytes) {
      const uint8_t* p = data + pos;
      if (entryBytes == 2) {
        const uint32_t v = p[0] | (p[1] << 8);
        palette.push_back(Argb(255, ((v >> 10) & 31) * 255 / 31, ((v >> 5) & 31) * 255 / 31, (v & 31) * 255 / 31));
      } else {
        palette.push_back(Argb(entryBytes == 4 ? p[3] : 255, p[2], p[1], p[0]));
      }
    }
  }
  const uint32_t bytesPer = (bits + 7) / 8;
  const uint32_t alphaBits = descriptor & 15;
  if ((base == 2 && bits != 15 && bits != 16 && bits != 24 && bits != 32) || (base == 3 && bits != 8 && bits != 16) ||
      (base == 1 && (bits != 8 || palette.empty()))) {
    SetError(error, "unsupported TGA pixel size");
    return false;
  }
  auto decode = [&](const uint8_t* p, uint32_t* argb) -> bool {
    if (base == 1) {
      // Stored indices count from the colour map's first entry.
      if (p[0] < mapFirst || p[0] - mapFirst >= palette.size()) return false;
      *argb = palette[p[0] - mapFirst];
    } else if (base == 3) {
      *argb = Argb(bits == 16 ? p[1] : 255, p[0], p[0], p[0]);
    } else if (bytesPer == 2) {
      const uint32_t v = p[0] | (p[1] << 8);
      const uint32_t a = (bits == 16 && alphaBits > 0) ? ((v & 0x8000) ? 255 : 0) : 255;
      *argb = Argb(a, ((v >> 10) & 31) * 255 / 31, ((v >> 5) & 31) * 255 / 31, (v & 31) * 255 / 31);
    } else {
      *argb = Argb(bytesPer == 4 ? p[3] : 255, p[2], p[1], p[0]);
    }
    return true;
  };
  const size_t count = size_t(w) * h;
  // A header that promises more pixels than the bytes left can hold (a run
  // packet covers at most 128 pixels) is refused before anything is made.
  const size_t left = size - std::min(size, pos);
  if ((!rle && count > left / bytesPer) || (rle && count > left / (1 + bytesPer) * 128 + 128)) {
    SetError(error, "TGA header promises more pixels than the file holds");
    return false;
  }
  if (TooManyPixels(w, h)) {
    SetError(error, "TGA too large");
    return false;
  }
  std::vector<uint32_t> pixels(count);
  size_t i = 0;
  while (i < count) {
    if (rle) {
      if (pos >= size) break;
      const uint8_t header = data[pos++];
      const size_t run = (header & 0x7F) + 1u;
      if (run > count - i) {
        SetError(error, "damaged TGA run");
        return false;
      }
      if (header & 0x80) {
        if (pos + bytesPer > size) break;
        uint32_t argb;
        if (!decode(data + pos, &argb)) break;
        pos += bytesPer;
        for (size_t k = 0; k < run; ++k) pixels[i++] = argb;
      } else {
        if (pos + run * bytesPer > size) break;
        for (size_t k = 0; k < run; ++k, pos += bytesPer)
          if (!decode(data + pos, &pixels[i++])) {
            SetError(error, "damaged TGA pixel");
            return false;
          }
      }
    } else {
      if (pos + bytesPer > size) break;
      if (!decode(data + pos, &pixels[i])) break;
      ++i;
      pos += bytesPer;
    }
  }
  if (i < count) {
    SetError(error, "TGA pixels cut short");
    return false;
  }
  // Rows are stored bottom-up unless bit 5 of the descriptor says top-down.
  const bool topDown = (descriptor & 0x20) != 0, rightToLeft = (descriptor & 0x10) != 0;
  out.width = w;
  out.height = h;
  out.argb.resize(count);
  for (uint32_t y = 0; y < h; ++y)
    for (uint32_t x = 0; x < w; ++x) {
      const uint32_t sy = topDown ? y : h - 1 - y, sx = rightToLeft ? w - 1 - x : x;
      out.argb[size_t(y) * w + x] = pixels[size_t(sy) * w + sx];
    }
  if (base == 3) out.format = bits == 16 ? D3DFMT_A8L8 : D3DFMT_L8;
  else if (base == 1) out.format = mapEntryBits == 32 ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
  else if (bits == 32) out.format = D3DFMT_A8R8G8B8;
  else if (bits == 24) out.format = D3DFMT_X8R8G8B8;
  else out.format = (bits == 16 && alphaBits > 0) ? D3DFMT_A1R5G5B5 : D3DFMT_X1R5G5B5;
  return true;
}

void PngWrite(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}
void PngFlush(png_structp) {}
}  // namespace

bool DecodeImage(const uint8_t* data, size_t size, Image& out, std::string* error) {
  out = Image();
  if (!data || size < 4) {
    SetError(error, "file too short");
    return false;
  }
  bool ok;
  if (size >= 8 && png_sig_cmp(const_cast<png_bytep>(data), 0, 8) == 0) ok = DecodePng(data, size, out, error);
  else if (data[0] == 0xFF && data[1] == 0xD8) ok = DecodeJpeg(data, size, out, error);
  else ok = DecodeTga(data, size, out, error);
  if (!ok) out = Image();
  return ok;
}

bool LoadImageFile(const std::string& name, Image& out, std::string* error) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(name, bytes)) {
    SetError(error, "cannot open");
    return false;
  }
  return DecodeImage(bytes.data(), bytes.size(), out, error);
}

bool EncodePng(const Image& image, std::vector<uint8_t>& out, bool opaque) {
  out.clear();
  if (image.width == 0 || image.height == 0 || image.argb.size() != size_t(image.width) * image.height) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  std::vector<uint8_t> row;
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    out.clear();
    return false;
  }
  png_set_write_fn(png, &out, PngWrite, PngFlush);
  const int channels = opaque ? 3 : 4;
  png_set_IHDR(png, info, image.width, image.height, 8, opaque ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGBA,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  row.resize(size_t(image.width) * channels);
  for (uint32_t y = 0; y < image.height; ++y) {
    for (uint32_t x = 0; x < image.width; ++x) {
      const uint32_t p = image.Pixel(x, y);
      uint8_t* o = &row[size_t(x) * channels];
      o[0] = (p >> 16) & 255;
      o[1] = (p >> 8) & 255;
      o[2] = p & 255;
      if (!opaque) o[3] = p >> 24;
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

bool SavePng(const std::string& path, const Image& image, bool opaque) {
  std::vector<uint8_t> bytes;
  return EncodePng(image, bytes, opaque) && WriteFileAtomic(path, bytes);
}

uint32_t NextPowerOfTwo(uint32_t n) {
  uint32_t p = 1;
  while (p < n && p < 0x80000000u) p <<= 1;
  return p;
}

Image ResizeImage(const Image& image, uint32_t width, uint32_t height) {
  Image out;
  out.width = width;
  out.height = height;
  out.format = image.format;
  out.argb.assign(size_t(width) * height, 0);
  if (image.width == 0 || image.height == 0 || width == 0 || height == 0) return out;
  const float sx = float(image.width) / float(width), sy = float(image.height) / float(height);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      float acc[4] = {0, 0, 0, 0};
      if (sx > 2.0f || sy > 2.0f) {
        // Box average over the source texels the destination texel covers.
        const uint32_t x0 = uint32_t(x * sx), x1 = std::max(x0 + 1, std::min(image.width, uint32_t((x + 1) * sx)));
        const uint32_t y0 = uint32_t(y * sy), y1 = std::max(y0 + 1, std::min(image.height, uint32_t((y + 1) * sy)));
        float n = 0;
        for (uint32_t yy = y0; yy < y1; ++yy)
          for (uint32_t xx = x0; xx < x1; ++xx) {
            const uint32_t p = image.Pixel(xx, yy);
            for (int c = 0; c < 4; ++c) acc[c] += float((p >> (24 - 8 * c)) & 255);
            n += 1;
          }
        for (float& a : acc) a /= n;
      } else {
        // Bilinear between texel centres, edges clamped.
        const float fx = std::max(0.0f, (x + 0.5f) * sx - 0.5f), fy = std::max(0.0f, (y + 0.5f) * sy - 0.5f);
        const uint32_t ix = std::min(uint32_t(fx), image.width - 1), iy = std::min(uint32_t(fy), image.height - 1);
        const uint32_t jx = std::min(ix + 1, image.width - 1), jy = std::min(iy + 1, image.height - 1);
        const float tx = fx - float(ix), ty = fy - float(iy);
        const uint32_t p00 = image.Pixel(ix, iy), p10 = image.Pixel(jx, iy), p01 = image.Pixel(ix, jy),
                       p11 = image.Pixel(jx, jy);
        for (int c = 0; c < 4; ++c) {
          const int shift = 24 - 8 * c;
          const float a = float((p00 >> shift) & 255) * (1 - tx) + float((p10 >> shift) & 255) * tx;
          const float b = float((p01 >> shift) & 255) * (1 - tx) + float((p11 >> shift) & 255) * tx;
          acc[c] = a * (1 - ty) + b * ty;
        }
      }
      uint32_t p = 0;
      for (int c = 0; c < 4; ++c) p |= uint32_t(std::min(255.0f, acc[c] + 0.5f)) << (24 - 8 * c);
      out.argb[size_t(y) * width + x] = p;
    }
  }
  return out;
}

bool PackPixels(const uint32_t* argb, size_t count, D3DFORMAT format, uint8_t* out) {
  for (size_t i = 0; i < count; ++i) {
    const uint32_t p = argb[i];
    const uint32_t a = p >> 24, r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
    const uint32_t l = (r * 77 + g * 150 + b * 29 + 128) >> 8;
    uint32_t v;
    switch (format) {
      case D3DFMT_A8R8G8B8:
      case D3DFMT_X8R8G8B8:
        v = format == D3DFMT_X8R8G8B8 ? (p | 0xFF000000u) : p;
        std::memcpy(out + i * 4, &v, 4);
        break;
      case D3DFMT_R8G8B8:
        out[i * 3] = uint8_t(b); out[i * 3 + 1] = uint8_t(g); out[i * 3 + 2] = uint8_t(r);
        break;
      case D3DFMT_R5G6B5: v = ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3); goto two;
      case D3DFMT_X1R5G5B5: v = 0x8000 | ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3); goto two;
      case D3DFMT_A1R5G5B5: v = (a >= 128 ? 0x8000 : 0) | ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3); goto two;
      case D3DFMT_A4R4G4B4: v = ((a >> 4) << 12) | ((r >> 4) << 8) | ((g >> 4) << 4) | (b >> 4); goto two;
      case D3DFMT_X4R4G4B4: v = 0xF000 | ((r >> 4) << 8) | ((g >> 4) << 4) | (b >> 4); goto two;
      case D3DFMT_A8L8: v = (a << 8) | l; goto two;
      case D3DFMT_L8: out[i] = uint8_t(l); break;
      case D3DFMT_A8: out[i] = uint8_t(a); break;
      default: return false;
      two:
        out[i * 2] = uint8_t(v & 255);
        out[i * 2 + 1] = uint8_t(v >> 8);
        break;
    }
  }
  return true;
}

bool UnpackPixels(const uint8_t* in, size_t count, D3DFORMAT format, uint32_t* argb) {
  auto five = [](uint32_t v) { return (v & 31) * 255 / 31; };
  for (size_t i = 0; i < count; ++i) {
    uint32_t v = 0;
    switch (format) {
      case D3DFMT_A8R8G8B8: std::memcpy(&v, in + i * 4, 4); argb[i] = v; break;
      case D3DFMT_X8R8G8B8: std::memcpy(&v, in + i * 4, 4); argb[i] = v | 0xFF000000u; break;
      case D3DFMT_R8G8B8: argb[i] = Argb(255, in[i * 3 + 2], in[i * 3 + 1], in[i * 3]); break;
      case D3DFMT_R5G6B5:
        v = in[i * 2] | (in[i * 2 + 1] << 8);
        argb[i] = Argb(255, five(v >> 11), ((v >> 5) & 63) * 255 / 63, five(v));
        break;
      case D3DFMT_X1R5G5B5:
      case D3DFMT_A1R5G5B5:
        v = in[i * 2] | (in[i * 2 + 1] << 8);
        argb[i] = Argb(format == D3DFMT_X1R5G5B5 || (v & 0x8000) ? 255 : 0, five(v >> 10), five(v >> 5), five(v));
        break;
      case D3DFMT_A4R4G4B4:
      case D3DFMT_X4R4G4B4:
        v = in[i * 2] | (in[i * 2 + 1] << 8);
        argb[i] = Argb(format == D3DFMT_X4R4G4B4 ? 255 : ((v >> 12) & 15) * 17, ((v >> 8) & 15) * 17,
                       ((v >> 4) & 15) * 17, (v & 15) * 17);
        break;
      case D3DFMT_A8L8: argb[i] = Argb(in[i * 2 + 1], in[i * 2], in[i * 2], in[i * 2]); break;
      case D3DFMT_L8: argb[i] = Argb(255, in[i], in[i], in[i]); break;
      case D3DFMT_A8: argb[i] = Argb(in[i], 0, 0, 0); break;
      default: return false;
    }
  }
  return true;
}

}  // namespace platform
