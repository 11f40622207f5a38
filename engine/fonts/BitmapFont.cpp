#include "engine/fonts/BitmapFont.h"

#include <algorithm>
#include <string>
#include <vector>

#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/fonts/GlyphTable.h"
#include "engine/resources/Texture.h"
#include "engine/util/MissingReports.h"
#include "platform/Files.h"
#include "platform/Log.h"
#include "platform/Saturate.h"
#include "platform/SavedStates.h"

namespace Nembra {

using namespace platform;

CBitmapFontFactory* g_pBitmapFontFactory = nullptr;

CBitmapFont::~CBitmapFont() {
  if (m_Registered && g_pGraphicsDevice) g_pGraphicsDevice->RemoveVolatileResource(this);
  ReleaseVertexBuffer();
  if (m_pTexture && g_pTextureFactory) g_pTextureFactory->Release(m_TextureName);
}

bool CBitmapFont::Load(const std::string& name) {
  if (!g_pTextureFactory) return false;
  m_TextureName = name + ".png";
  m_pTexture = g_pTextureFactory->GetSingleLevel(m_TextureName);
  if (!m_pTexture) return false;

  std::vector<uint8_t> bytes;
  GLYPH_TABLE table;
  if (!ReadWholeFile(g_DataDirectory + name + ".dat", bytes)) {
    LogError("Bitmap font " + name + ": glyph table missing");
    return false;
  }
  if (!ReadGlyphTable(bytes.data(), bytes.size(), table)) {
    LogError("Bitmap font " + name + ": glyph table damaged (header cut short or line height out of range)");
    return false;
  }
  if (table.truncated) LogWarning("Bitmap font " + name + ": glyph table cut short; the glyphs present are used");
  if (table.dropped)
    LogWarning("Bitmap font " + name + ": " + std::to_string(table.dropped) + " damaged glyph records left out");

  m_LineHeight = static_cast<int>(table.lineHeight);
  m_LineAdvance = m_LineHeight;
  const float w = static_cast<float>(m_pTexture->GetWidth());
  const float h = static_cast<float>(m_pTexture->GetHeight());
  m_Glyphs.clear();
  for (const GLYPH_TABLE_ENTRY& e : table.glyphs) {
    GLYPH g;
    g.width = e.width;
    if (w > 0.0f && h > 0.0f) {
      g.uLeft = static_cast<float>(e.x - GLYPH_MARGIN) / w;
      g.vTop = static_cast<float>(e.y) / h;
      g.uRight = static_cast<float>(e.x + e.width + GLYPH_MARGIN) / w;
      g.vBottom = g.vTop + static_cast<float>(m_LineHeight) / h;
    }
    m_Glyphs[static_cast<wchar_t>(e.code)] = g;  // a later record of a character wins
  }

  CreateVertexBuffer();
  if (!m_Registered && g_pGraphicsDevice) m_Registered = g_pGraphicsDevice->AddVolatileResource(this);
  return true;
}

void CBitmapFont::CreateVertexBuffer() {
  if (m_pVertexBuffer || !g_pGraphicsDevice || !g_pGraphicsDevice->GetDevice()) return;
  if (FAILED(g_pGraphicsDevice->GetDevice()->CreateVertexBuffer(VERTEX_COUNT * VERTEX_SIZE,
                                                                D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, FVF,
                                                                D3DPOOL_DEFAULT, &m_pVertexBuffer)))
    m_pVertexBuffer = nullptr;
}

void CBitmapFont::ReleaseVertexBuffer() {
  if (m_pVertexBuffer) m_pVertexBuffer->Release();
  m_pVertexBuffer = nullptr;
}

void CBitmapFont::OnLostDevice() { ReleaseVertexBuffer(); }
void CBitmapFont::OnResetDevice() { CreateVertexBuffer(); }

const CBitmapFont::GLYPH& CBitmapFont::GetGlyph(wchar_t c) const {
  auto it = m_Glyphs.find(c);
  return it != m_Glyphs.end() ? it->second : m_DefaultGlyph;
}

const CBitmapFont::GLYPH& CBitmapFont::GetDrawnGlyph(wchar_t c) const {
  auto it = m_Glyphs.find(c);
  if (it != m_Glyphs.end()) return it->second;
  // The default font (a font that did not load) has no glyphs at all; its
  // own request was reported already. A carriage return ends text lines
  // written with CR LF (the credits keep it in the line): no font has one.
  if (GetName() != DEFAULT_RESOURCE_NAME && c != L'\r') ReportMissing("glyph " + CharacterCodeName(c) + " in " + GetName());
  return m_DefaultGlyph;
}

int CBitmapFont::GetTextWidth(const std::wstring& text) const {
  int width = 0;
  for (wchar_t c : text) width = AddSaturated(width, GetGlyph(c).width);
  return width;
}

int CBitmapFont::WordWidth(const std::wstring& text, size_t from) const {
  int width = 0;
  for (size_t i = from; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L' ' || c == L'\n' || c == L'\0') break;
    width = AddSaturated(width, GetGlyph(c).width);
  }
  return width;
}

std::vector<std::wstring> CBitmapFont::WrapLines(const std::wstring& text, int wrapWidth) const {
  std::vector<std::wstring> lines(1);
  int width = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L'\n' || c == L'\0' ||
        (c == L' ' && wrapWidth > 0 && AddSaturated(WordWidth(text, i + 1), width) > wrapWidth)) {
      lines.emplace_back();  // a breaking space is dropped
      width = 0;
    } else {
      lines.back() += c;
      width = AddSaturated(width, GetGlyph(c).width);
    }
  }
  return lines;
}

bool CBitmapFont::DrawText(const std::wstring& text, const int& x, const int& y, float r, float g, float b,
                           float a) {
  m_DrawnHeight = 0;
  const bool canDraw = m_pVertexBuffer && m_pTexture && g_pGraphicsDevice && g_pGraphicsDevice->GetDevice();
  // Text is drawn inside sprite batches: it takes the batch's other states
  // (no depth, no culling) and gives back the ones it changes, so the batch
  // and the device wrapper's record of the states stay as they were.
  SavedStates states(canDraw ? g_pGraphicsDevice->GetDevice() : nullptr);
  if (canDraw) {
    // Sprites queued so far go first, so that text and sprites keep their call order.
    if (g_pGraphicsDevice->GetSprite()) g_pGraphicsDevice->GetSprite()->Flush();
    states.Stage(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    states.Stage(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    states.Stage(0, D3DTSS_COLORARG2, D3DTA_TFACTOR);
    states.Stage(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    states.Stage(0, D3DTSS_ALPHAARG2, D3DTA_TFACTOR);
    states.Stage(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    states.Sampler(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
    states.Render(D3DRS_ALPHABLENDENABLE, 1);
    states.Render(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    states.Render(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    states.Render(D3DRS_TEXTUREFACTOR, PackColor(r, g, b, a));
    IDevice* device = g_pGraphicsDevice->GetDevice();
    device->SetTexture(0, m_pTexture->GetTexture());
    device->SetStreamSource(0, m_pVertexBuffer, 0, VERTEX_SIZE);
    device->SetFVF(FVF);
  }
  int penY = y;
  m_Drawing = canDraw;
  for (const std::wstring& line : WrapLines(text, m_WrapWidth)) {
    int width = 0;
    for (wchar_t c : line) width = AddSaturated(width, GetDrawnGlyph(c).width);
    if (!line.empty()) {
      m_Line = line;
      DrawLine(m_Centered ? AddSaturated(x, -(width / 2)) : x, penY);
    }
    m_DrawnHeight = AddSaturated(m_DrawnHeight, m_LineAdvance);
    penY = AddSaturated(penY, m_LineAdvance);
  }
  m_Drawing = false;
  if (canDraw) {
    // The device lets go of the buffer, so a device loss can free it.
    g_pGraphicsDevice->GetDevice()->SetStreamSource(0, nullptr, 0, 0);
    states.Restore();
  }
  return true;
}

void CBitmapFont::DrawLine(int x, int y) {
  if (!m_Drawing) return;
  const size_t count = std::min(m_Line.size(), MAX_LINE_CHARACTERS);
  float* v = nullptr;
  if (FAILED(m_pVertexBuffer->Lock(0, 0, reinterpret_cast<void**>(&v), D3DLOCK_DISCARD)) || !v) return;
  float penX = static_cast<float>(x) + 0.5f;
  const float top = static_cast<float>(y) + 0.5f;
  const float bottom = top + static_cast<float>(m_LineHeight);
  for (size_t i = 0; i < count; ++i) {
    const GLYPH& g = GetGlyph(m_Line[i]);
    const float left = penX - GLYPH_MARGIN;
    const float right = penX + static_cast<float>(g.width) + GLYPH_MARGIN;
    const float quad[6][4] = {{left, bottom, g.uLeft, g.vBottom}, {left, top, g.uLeft, g.vTop},
                              {right, top, g.uRight, g.vTop},     {left, bottom, g.uLeft, g.vBottom},
                              {right, top, g.uRight, g.vTop},     {right, bottom, g.uRight, g.vBottom}};
    for (const auto& q : quad) {
      *v++ = q[0];
      *v++ = q[1];
      *v++ = 0.0f;
      *v++ = 1.0f;
      *v++ = q[2];
      *v++ = q[3];
    }
    penX += static_cast<float>(g.width);
  }
  m_pVertexBuffer->Unlock();
  g_pGraphicsDevice->GetDevice()->DrawPrimitive(D3DPT_TRIANGLELIST, 0, static_cast<uint32_t>(2 * count));
}

CBitmapFontFactory::CBitmapFontFactory() { m_pDefault = MakeDefaultEntry(DEFAULT_RESOURCE_NAME); }

std::string CBitmapFontFactory::GetDirectory() const { return g_BitmapFontDirectory; }

bool CBitmapFontFactory::Load(const std::string& key) {
  const std::string dir = GetDirectory();
  if (!FileExists(dir + key + ".png") || !FileExists(dir + key + ".dat")) {
    Erase(key);
    return false;
  }
  CBitmapFont& font = FindOrInsert(key);
  font.SetName(key);
  if (!font.Load(key)) LogWarning("Bitmap font " + key + " did not load fully");
  font.SetRefCount(1);
  return true;
}

}  // namespace Nembra
