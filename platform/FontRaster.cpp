#include "platform/FontRaster.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include "platform/Files.h"
#include "platform/Log.h"

namespace platform {

struct FontFace::Impl {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  std::vector<uint8_t> fileBytes;  // FreeType reads the face from memory
};

namespace {
const char* const kSystemFontFolder = "/usr/share/fonts/truetype/dejavu/";
}

FontFace::~FontFace() {
  if (m_Impl) {
    if (m_Impl->face) FT_Done_Face(m_Impl->face);
    if (m_Impl->library) FT_Done_FreeType(m_Impl->library);
    delete m_Impl;
  }
}

std::string FontFace::SystemFontFile(bool bold, bool italic) {
  std::string file = "DejaVuSans";
  if (bold && italic)
    file += "-BoldOblique";
  else if (bold)
    file += "-Bold";
  else if (italic)
    file += "-Oblique";
  return kSystemFontFolder + file + ".ttf";
}

std::unique_ptr<FontFace> FontFace::OpenSystem(const std::string& faceName, int pixelHeight, bool bold,
                                               bool italic) {
  // Every face name maps to the one family we ship with; the name is kept
  // in the log so a missing font is easy to trace.
  std::unique_ptr<FontFace> face;
  const std::string styled = SystemFontFile(bold, italic);
  if (FileExists(styled)) face = OpenFile(styled, pixelHeight);
  if (!face && italic) face = OpenFile(SystemFontFile(bold, false), pixelHeight, true);
  if (!face) LogError("No font file stands in for face \"" + faceName + "\"");
  return face;
}

std::unique_ptr<FontFace> FontFace::OpenFile(const std::string& path, int pixelHeight, bool slanted) {
  if (pixelHeight <= 0 || pixelHeight > 1024) {
    LogError("Font size out of range: " + std::to_string(pixelHeight));
    return nullptr;
  }
  std::unique_ptr<FontFace> result(new FontFace());
  result->m_Impl = new Impl();
  Impl& impl = *result->m_Impl;
  if (!ReadWholeFile(path, impl.fileBytes) || impl.fileBytes.empty()) {
    LogError("Cannot read font file " + path);
    return nullptr;
  }
  if (FT_Init_FreeType(&impl.library) != 0) {
    LogError("FreeType failed to start");
    return nullptr;
  }
  if (FT_New_Memory_Face(impl.library, impl.fileBytes.data(), static_cast<FT_Long>(impl.fileBytes.size()), 0,
                         &impl.face) != 0) {
    impl.face = nullptr;
    LogError("Not a usable font file: " + path);
    return nullptr;
  }
  FT_Select_Charmap(impl.face, FT_ENCODING_UNICODE);
  if (FT_Set_Pixel_Sizes(impl.face, 0, static_cast<FT_UInt>(pixelHeight)) != 0) {
    LogError("Font " + path + " cannot be set to " + std::to_string(pixelHeight) + " pixels");
    return nullptr;
  }
  if (slanted) {
    // A shear of about 12 degrees, as oblique faces lean.
    FT_Matrix shear;
    shear.xx = 0x10000;
    shear.xy = 0x0366A;
    shear.yx = 0;
    shear.yy = 0x10000;
    FT_Set_Transform(impl.face, &shear, nullptr);
  }
  const FT_Size_Metrics& m = impl.face->size->metrics;
  result->m_Ascent = static_cast<int>((m.ascender + 63) >> 6);
  result->m_Descent = static_cast<int>((-m.descender + 63) >> 6);
  result->m_PixelHeight = pixelHeight;
  return result;
}

bool FontFace::HasGlyph(char32_t code) const { return FT_Get_Char_Index(m_Impl->face, code) != 0; }

bool FontFace::Render(char32_t code, bool antialiased, GlyphImage& out) {
  out = GlyphImage();
  FT_Face face = m_Impl->face;
  const FT_UInt index = FT_Get_Char_Index(face, code);
  FT_Int32 flags = FT_LOAD_RENDER | (antialiased ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO);
  if (FT_Load_Glyph(face, index, flags) != 0) return false;
  FT_GlyphSlot slot = face->glyph;
  const FT_Bitmap& bmp = slot->bitmap;
  out.width = static_cast<int>(bmp.width);
  out.height = static_cast<int>(bmp.rows);
  out.left = slot->bitmap_left;
  out.top = slot->bitmap_top;
  out.advance = static_cast<int>((slot->advance.x + 32) >> 6);
  out.coverage.assign(static_cast<size_t>(out.width) * out.height, 0);
  for (int row = 0; row < out.height; ++row) {
    const uint8_t* src = bmp.buffer + static_cast<ptrdiff_t>(row) * bmp.pitch;
    uint8_t* dst = out.coverage.data() + static_cast<size_t>(row) * out.width;
    if (bmp.pixel_mode == FT_PIXEL_MODE_MONO) {
      for (int col = 0; col < out.width; ++col) dst[col] = (src[col >> 3] & (0x80 >> (col & 7))) ? 255 : 0;
    } else {
      for (int col = 0; col < out.width; ++col) dst[col] = src[col];
    }
  }
  return index != 0;
}

}  // namespace platform
