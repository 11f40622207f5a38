#include "platform/SystemFont.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/FontRaster.h"
#include "platform/Log.h"

namespace platform {

wchar_t Windows1252ToWide(uint8_t byte) {
  static const uint16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                     0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  if (byte >= 0x80 && byte < 0xA0) return static_cast<wchar_t>(kHigh[byte - 0x80]);
  return static_cast<wchar_t>(byte);
}

namespace {

constexpr uint32_t kAtlasSize = 512;
constexpr int kPadding = 1;

struct CachedGlyph {
  RECT atlas;  // empty for glyphs without ink (spaces)
  int left = 0, top = 0, advance = 0;
};

class SystemFont final : public IFont {
 public:
  SystemFont(IDevice* device, const D3DXFONT_DESC& desc, std::unique_ptr<FontFace> face)
      : m_Device(device), m_Desc(desc), m_Face(std::move(face)) {
    m_Device->AddRef();
    m_Antialiased = desc.Quality >= ANTIALIASED_QUALITY;
  }

  bool CreateAtlas() {
    if (FAILED(m_Device->CreateTexture(kAtlasSize, kAtlasSize, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &m_Atlas))) {
      m_Atlas = nullptr;
      return false;
    }
    // Start clear: rows beyond the glyphs must not show when filtered.
    D3DLOCKED_RECT locked;
    if (SUCCEEDED(m_Atlas->LockRect(0, &locked, nullptr, 0))) {
      for (uint32_t y = 0; y < kAtlasSize; ++y)
        std::memset(static_cast<uint8_t*>(locked.pBits) + static_cast<size_t>(y) * locked.Pitch, 0, kAtlasSize * 4);
      m_Atlas->UnlockRect(0);
    }
    return true;
  }

  HRESULT GetDesc(D3DXFONT_DESC* desc) override {
    if (!desc) return D3DERR_INVALIDCALL;
    *desc = m_Desc;
    return D3D_OK;
  }

  BOOL GetTextMetrics(TEXTMETRIC* tm) override {
    if (!tm) return 0;
    *tm = TEXTMETRIC();
    tm->tmAscent = m_Face->Ascent();
    tm->tmDescent = m_Face->Descent();
    tm->tmHeight = m_Face->LineHeight();
    tm->tmAveCharWidth = Glyph(U'x') ? Glyph(U'x')->advance : 0;
    for (char32_t c : {U'W', U'M'})
      if (const CachedGlyph* g = Glyph(c)) tm->tmMaxCharWidth = std::max(tm->tmMaxCharWidth, g->advance);
    tm->tmWeight = static_cast<int32_t>(m_Desc.Weight);
    tm->tmItalic = m_Desc.Italic ? 1 : 0;
    return 1;
  }

  HRESULT PreloadCharacters(uint32_t first, uint32_t last) override {
    for (uint32_t c = first; c <= last && c <= 0x10FFFF; ++c) Glyph(c);
    return D3D_OK;
  }

  HRESULT PreloadTextA(const char* text, int count) override {
    if (!text) return D3DERR_INVALIDCALL;
    const size_t n = count < 0 ? std::strlen(text) : static_cast<size_t>(count);
    for (size_t i = 0; i < n; ++i) Glyph(Windows1252ToWide(static_cast<uint8_t>(text[i])));
    return D3D_OK;
  }

  HRESULT PreloadTextW(const wchar_t* text, int count) override {
    if (!text) return D3DERR_INVALIDCALL;
    const size_t n = count < 0 ? std::wcslen(text) : static_cast<size_t>(count);
    for (size_t i = 0; i < n; ++i) Glyph(static_cast<char32_t>(text[i]));
    return D3D_OK;
  }

  int DrawTextA(ISprite* sprite, const char* text, int count, RECT* rect, DWORD format, D3DCOLOR color) override {
    if (!text) return 0;
    const size_t n = count < 0 ? std::strlen(text) : static_cast<size_t>(count);
    std::wstring wide(n, L'\0');
    for (size_t i = 0; i < n; ++i) wide[i] = Windows1252ToWide(static_cast<uint8_t>(text[i]));
    return DrawTextW(sprite, wide.c_str(), static_cast<int>(n), rect, format, color);
  }

  int DrawTextW(ISprite* sprite, const wchar_t* text, int count, RECT* rect, DWORD format,
                D3DCOLOR color) override {
    if (!text || !rect) return 0;
    const size_t n = count < 0 ? std::wcslen(text) : static_cast<size_t>(count);
    // Lines and their widths.
    m_Lines.clear();
    size_t start = 0;
    for (size_t i = 0; i <= n; ++i) {
      if (i == n || (!(format & DT_SINGLELINE) && text[i] == L'\n')) {
        size_t end = i;
        if (end > start && text[end - 1] == L'\r') --end;
        m_Lines.push_back({start, end, LineWidth(text + start, end - start)});
        start = i + 1;
      }
    }
    const int lineHeight = m_Face->LineHeight();
    const int height = lineHeight * static_cast<int>(m_Lines.size());
    int widest = 0;
    for (const Line& l : m_Lines) widest = std::max(widest, l.width);
    if (format & DT_CALCRECT) {
      rect->right = rect->left + widest;
      rect->bottom = rect->top + height;
      return height;
    }
    int top = rect->top;
    if (format & DT_SINGLELINE) {
      if (format & DT_BOTTOM)
        top = rect->bottom - height;
      else if (format & DT_VCENTER)
        top = rect->top + (rect->bottom - rect->top - height) / 2;
    }
    if (!m_Atlas) return height;

    ISprite* target = sprite;
    if (!target) {
      if (!m_OwnSprite && FAILED(CreateSprite(m_Device, &m_OwnSprite))) return 0;
      target = m_OwnSprite;
      if (FAILED(target->Begin(D3DXSPRITE_ALPHABLEND))) return 0;
    }
    const D3DXMATRIX identity;
    target->SetTransform(&identity);
    for (size_t li = 0; li < m_Lines.size(); ++li) {
      const Line& line = m_Lines[li];
      int x = rect->left;
      if (format & DT_RIGHT)
        x = rect->right - line.width;
      else if (format & DT_CENTER)
        x = rect->left + (rect->right - rect->left - line.width) / 2;
      const int baseline = top + static_cast<int>(li) * lineHeight + m_Face->Ascent();
      for (size_t i = line.start; i < line.end; ++i) {
        const CachedGlyph* g = Glyph(static_cast<char32_t>(text[i]));
        if (!g) continue;
        if (g->atlas.right > g->atlas.left) {
          const D3DXVECTOR3 pos(static_cast<float>(x + g->left), static_cast<float>(baseline - g->top), 0.0f);
          target->Draw(m_Atlas, &g->atlas, nullptr, &pos, color);
        }
        x += g->advance;
      }
    }
    if (!sprite) target->End();
    return height;
  }

  HRESULT OnLostDevice() override {
    if (m_OwnSprite) m_OwnSprite->OnLostDevice();
    return D3D_OK;
  }
  HRESULT OnResetDevice() override {
    if (m_OwnSprite) m_OwnSprite->OnResetDevice();
    return D3D_OK;
  }

 protected:
  ~SystemFont() override {
    if (m_OwnSprite) m_OwnSprite->Release();
    if (m_Atlas) m_Atlas->Release();
    m_Device->Release();
  }

 private:
  struct Line {
    size_t start, end;
    int width;
  };

  int LineWidth(const wchar_t* text, size_t n) {
    int width = 0;
    for (size_t i = 0; i < n; ++i)
      if (const CachedGlyph* g = Glyph(static_cast<char32_t>(text[i]))) width += g->advance;
    return width;
  }

  // The cached glyph of a character, rendered on first use; null for
  // control characters. When the atlas is full the glyph keeps its advance
  // (so text still measures and spaces right) but has no image: it is
  // cached all the same, never rendered again on every draw.
  const CachedGlyph* Glyph(char32_t code) {
    if (code < 0x20) return nullptr;
    auto it = m_Glyphs.find(code);
    if (it != m_Glyphs.end()) return &it->second;
    GlyphImage image;
    m_Face->Render(code, m_Antialiased, image);  // a missing glyph renders the face's box
    CachedGlyph g;
    g.left = image.left;
    g.top = image.top;
    g.advance = image.advance;
    if (image.width > 0 && image.height > 0 && !Place(image, g.atlas)) g.atlas = RECT();
    return &m_Glyphs.emplace(code, g).first->second;
  }

  // Shelf packing into the atlas, then an upload of the glyph's texels
  // (white, coverage in alpha).
  bool Place(const GlyphImage& image, RECT& out) {
    if (!m_Atlas) return false;
    const int w = image.width + kPadding, h = image.height + kPadding;
    if (m_ShelfX + w > static_cast<int>(kAtlasSize)) {
      m_ShelfX = kPadding;
      m_ShelfY += m_ShelfHeight;
      m_ShelfHeight = 0;
    }
    if (m_ShelfY + h > static_cast<int>(kAtlasSize) || w > static_cast<int>(kAtlasSize)) {
      if (!m_FullReported) LogWarning("Font glyph cache is full; further characters are not drawn");
      m_FullReported = true;
      return false;
    }
    out.left = m_ShelfX;
    out.top = m_ShelfY;
    out.right = m_ShelfX + image.width;
    out.bottom = m_ShelfY + image.height;
    m_ShelfX += w;
    m_ShelfHeight = std::max(m_ShelfHeight, h);
    D3DLOCKED_RECT locked;
    if (FAILED(m_Atlas->LockRect(0, &locked, &out, 0))) return false;
    for (int y = 0; y < image.height; ++y) {
      uint32_t* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + static_cast<size_t>(y) * locked.Pitch);
      const uint8_t* src = image.coverage.data() + static_cast<size_t>(y) * image.width;
      for (int x = 0; x < image.width; ++x) row[x] = (static_cast<uint32_t>(src[x]) << 24) | 0x00FFFFFFu;
    }
    m_Atlas->UnlockRect(0);
    return true;
  }

  IDevice* m_Device;
  D3DXFONT_DESC m_Desc;
  std::unique_ptr<FontFace> m_Face;
  bool m_Antialiased = false;
  ITexture* m_Atlas = nullptr;
  ISprite* m_OwnSprite = nullptr;
  std::unordered_map<char32_t, CachedGlyph> m_Glyphs;
  std::vector<Line> m_Lines;
  int m_ShelfX = kPadding, m_ShelfY = kPadding, m_ShelfHeight = 0;
  bool m_FullReported = false;
};

}  // namespace

HRESULT D3DXCreateFontIndirect(IDevice* device, const D3DXFONT_DESC* desc, IFont** font) {
  if (!font) return D3DERR_INVALIDCALL;
  *font = nullptr;
  if (!device || !desc || desc->Height == 0) return D3DERR_INVALIDCALL;
  const bool bold = desc->Weight >= 600;
  const bool italic = desc->Italic != 0;
  std::string faceName(desc->FaceName, strnlen(desc->FaceName, sizeof(desc->FaceName)));
  // Sizes beyond any font file's are refused by the face itself.
  const int64_t height = desc->Height;
  const int pixels = static_cast<int>(std::min<int64_t>(height < 0 ? -height : height, 1 << 20));
  std::unique_ptr<FontFace> face = FontFace::OpenSystem(faceName, pixels, bold, italic);
  if (!face) return E_FAIL;
  if (desc->Height > 0 && face->LineHeight() > pixels) {
    // A positive height is the whole cell: shrink the em until the line fits.
    const int em = std::max(1, pixels * pixels / face->LineHeight());
    face = FontFace::OpenSystem(faceName, em, bold, italic);
    if (!face) return E_FAIL;
  }
  SystemFont* made = new SystemFont(device, *desc, std::move(face));
  if (!made->CreateAtlas()) {
    made->Release();
    return E_OUTOFMEMORY;
  }
  *font = made;
  return D3D_OK;
}

}  // namespace platform
