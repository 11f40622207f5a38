#pragma once
// Bitmap fonts: an atlas texture (the font name plus ".png") and a glyph
// table (the font name plus ".dat"). Text is drawn as screen-space quads
// from the font's own dynamic vertex buffer, one draw per line, optionally
// centred on x and wrapped at spaces. Fonts are shared through
// g_pBitmapFontFactory; a font the factory cannot load is answered with
// its empty default font, which measures 0 and draws nothing.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/resources/Factory.h"
#include "engine/resources/Resource.h"
#include "platform/Graphics.h"

namespace Nembra {

class CTexture;

class CBitmapFont : public CVolatileResource {
 public:
  struct GLYPH {
    int32_t width = 0;
    float uLeft = 0.0f, vTop = 0.0f, uRight = 0.0f, vBottom = 0.0f;
  };

  static constexpr uint32_t VERTEX_COUNT = 6145;
  static constexpr uint32_t VERTEX_SIZE = 24;
  static constexpr uint32_t FVF = platform::D3DFVF_XYZRHW | platform::D3DFVF_TEX1;
  static constexpr size_t MAX_LINE_CHARACTERS = 1024;
  static constexpr int GLYPH_MARGIN = 5;

  CBitmapFont() = default;
  ~CBitmapFont() override;
  // A font owns its vertex buffer and device registration: no copies.
  CBitmapFont(const CBitmapFont&) = delete;
  CBitmapFont& operator=(const CBitmapFont&) = delete;

  // Atlas from the texture factory (single mip level), glyph table from
  // the data folder, then the vertex buffer; false when the atlas or the
  // table cannot be had.
  bool Load(const std::string& name);
  // Draws the text from (x, y) in the colour; always true.
  bool DrawText(const std::wstring& text, const int& x, const int& y, float r, float g, float b, float a);
  // Sum of the advance widths (0 for characters without a record).
  int GetTextWidth(const std::wstring& text) const;
  // The lines DrawText makes of the text: a break at every line feed and,
  // with a wrap width above 0, at a space whose following word would pass
  // the wrap width (the space is dropped); a longer word is not broken.
  std::vector<std::wstring> WrapLines(const std::wstring& text, int wrapWidth) const;
  // Total line advance of the last DrawText.
  int GetDrawnHeight() const { return m_DrawnHeight; }
  int GetLineHeight() const { return m_LineHeight; }
  const GLYPH& GetGlyph(wchar_t c) const;
  // GetGlyph for a character being drawn: one without a record is reported
  // as a missing glyph.
  const GLYPH& GetDrawnGlyph(wchar_t c) const;
  bool HasVertexBuffer() const { return m_pVertexBuffer != nullptr; }

  void OnLostDevice() override;
  void OnResetDevice() override;

  // Settings callers change before drawing (the font is shared, so each
  // caller sets what it needs every time).
  bool m_Centered = false;  // each line centred on the x given to DrawText
  int m_WrapWidth = 0;      // > 0: lines break at spaces to stay within this width
  int m_LineAdvance = 0;    // vertical step between lines (the line height after loading)

 private:
  void CreateVertexBuffer();
  void ReleaseVertexBuffer();
  void DrawLine(int x, int y);
  int WordWidth(const std::wstring& text, size_t from) const;

  CTexture* m_pTexture = nullptr;
  std::string m_TextureName;
  platform::IVertexBuffer* m_pVertexBuffer = nullptr;
  std::unordered_map<wchar_t, GLYPH> m_Glyphs;
  int m_LineHeight = 0;
  GLYPH m_DefaultGlyph;
  int m_DrawnHeight = 0;
  bool m_Registered = false;
  bool m_Drawing = false;  // DrawText has set the device up for this call
  std::wstring m_Line;  // the line DrawLine draws
};

class CBitmapFontFactory : public CFactory<CBitmapFont> {
 public:
  // Makes the empty default font.
  CBitmapFontFactory();
  bool Load(const std::string& key) override;
  std::string GetDirectory() const override;
  const char* GetMissingKind() const override { return "font"; }
};

extern CBitmapFontFactory* g_pBitmapFontFactory;

}  // namespace Nembra
