#pragma once
// System fonts for on-screen text, the way the engine asks for them: a
// description (height, weight, italic, quality, face name) and DrawText
// into a rectangle with a colour. Glyphs come from FreeType with DejaVu
// Sans standing in for every face name (bold from weight 600, italic as
// asked, antialiased for ANTIALIASED_QUALITY and above, else one-bit) and
// are cached in a texture; the text is drawn as sprites.
#include <cstdint>

#include "platform/Graphics.h"

namespace platform {

struct D3DXFONT_DESC {
  int32_t Height = 0;  // negative: character (em) height in pixels; positive: cell height
  uint32_t Width = 0;
  uint32_t Weight = 0;  // 700 bold
  uint32_t MipLevels = 0;
  BOOL Italic = 0;
  uint8_t CharSet = 0;
  uint8_t OutputPrecision = 0;
  uint8_t Quality = 0;  // 3 non-antialiased, 4 antialiased
  uint8_t PitchAndFamily = 0;
  char FaceName[32] = {};
};

constexpr uint8_t NONANTIALIASED_QUALITY = 3;
constexpr uint8_t ANTIALIASED_QUALITY = 4;
constexpr uint32_t FW_DONTCARE = 0, FW_NORMAL = 400, FW_BOLD = 700;

// DrawText format flags.
constexpr DWORD DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4,
                DT_BOTTOM = 0x8, DT_SINGLELINE = 0x20, DT_NOCLIP = 0x100, DT_CALCRECT = 0x400;

struct TEXTMETRIC {
  int32_t tmHeight = 0;   // ascent + descent
  int32_t tmAscent = 0;
  int32_t tmDescent = 0;
  int32_t tmAveCharWidth = 0;  // advance of 'x'
  int32_t tmMaxCharWidth = 0;  // widest advance among the cached glyphs' faces ('W' and 'M')
  int32_t tmWeight = 0;
  uint8_t tmItalic = 0;
};

class IFont : public IUnknownObject {
 public:
  virtual HRESULT GetDesc(D3DXFONT_DESC* desc) = 0;
  virtual BOOL GetTextMetrics(TEXTMETRIC* metrics) = 0;
  // Renders the glyphs into the cache ahead of use.
  virtual HRESULT PreloadCharacters(uint32_t first, uint32_t last) = 0;
  // Text in Windows-1252; count -1: up to the terminating 0.
  virtual HRESULT PreloadTextA(const char* text, int count) = 0;
  virtual HRESULT PreloadTextW(const wchar_t* text, int count) = 0;
  // Draws the text in the rectangle: lines split at line feeds, aligned
  // left, centred or right (DT_CENTER, DT_RIGHT), and with DT_SINGLELINE
  // centred vertically or put at the bottom (DT_VCENTER, DT_BOTTOM). With
  // a sprite the glyphs join that sprite's batch (in call order with its
  // other sprites, drawn without its transform); without one the text is
  // drawn at once. DT_CALCRECT draws nothing and sets the rectangle's right
  // and bottom to fit the text. Returns the height of the text in pixels
  // (0 on failure). count -1: up to the terminating 0.
  virtual int DrawTextW(ISprite* sprite, const wchar_t* text, int count, RECT* rect, DWORD format,
                        D3DCOLOR color) = 0;
  virtual int DrawTextA(ISprite* sprite, const char* text, int count, RECT* rect, DWORD format,
                        D3DCOLOR color) = 0;
  virtual HRESULT OnLostDevice() = 0;
  virtual HRESULT OnResetDevice() = 0;
};

// Makes a font on the device; fails for a null device, a height of 0 or
// when no font file can be read.
HRESULT D3DXCreateFontIndirect(IDevice* device, const D3DXFONT_DESC* desc, IFont** font);

// Windows-1252 bytes to characters (the 0x80..0x9F block mapped as Windows does).
wchar_t Windows1252ToWide(uint8_t byte);

}  // namespace platform
