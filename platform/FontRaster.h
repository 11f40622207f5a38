#pragma once
// Glyph rasterising with FreeType. The engine's face names (Verdana and
// the like) are served by DejaVu Sans from the system's font folder; bold
// and italic pick the matching style file.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// One rendered glyph: 8-bit coverage rows, placed relative to the pen on
// the baseline (left = pixels right of the pen, top = pixels above the
// baseline), and the pen advance in whole pixels.
struct GlyphImage {
  int width = 0;
  int height = 0;
  int left = 0;
  int top = 0;
  int advance = 0;
  std::vector<uint8_t> coverage;  // width x height, row by row
};

class FontFace {
 public:
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  // Opens the font file at an em size of pixelHeight pixels, slanted to
  // the right when asked (italic made from an upright face); null (with a
  // log line) when the file cannot be read or the size is not positive.
  static std::unique_ptr<FontFace> OpenFile(const std::string& path, int pixelHeight, bool slanted = false);
  // The stand-in for a system face name: DejaVu Sans in the style asked
  // for. Without the oblique files (a separate package) italic is made by
  // slanting the upright face of the same weight.
  static std::unique_ptr<FontFace> OpenSystem(const std::string& faceName, int pixelHeight, bool bold,
                                              bool italic);
  // The file OpenSystem uses for a style.
  static std::string SystemFontFile(bool bold, bool italic);

  // Renders one character; false when the face has no glyph for it (the
  // image then holds the face's missing-glyph box, if any).
  bool Render(char32_t code, bool antialiased, GlyphImage& out);
  bool HasGlyph(char32_t code) const;

  int Ascent() const { return m_Ascent; }    // pixels above the baseline
  int Descent() const { return m_Descent; }  // pixels below it (positive)
  int LineHeight() const { return m_Ascent + m_Descent; }
  int PixelHeight() const { return m_PixelHeight; }

 private:
  FontFace() = default;
  struct Impl;
  Impl* m_Impl = nullptr;
  int m_Ascent = 0;
  int m_Descent = 0;
  int m_PixelHeight = 0;
};

}  // namespace platform
