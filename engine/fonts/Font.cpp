#include "engine/fonts/Font.h"

#include <cstring>

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"

namespace Nembra {

CFontFactory* g_pFontFactory = nullptr;

namespace {
// Spanish letters, punctuation and signs, one byte each in Windows-1252.
const char kPreloadText[] =
    "\xF1\xD1\xE1\xE9\xED\xF3\xFA\xC1\xC9\xCD\xD3\xDA"
    ".,;:-_[]()\xBF?\xA1!|\""
    "@#\xB7$%&/\\='"
    "{}*^+<>";
static_assert(sizeof(kPreloadText) - 1 == 45, "the preload text has 45 characters");
}  // namespace

CFont::~CFont() {
  if (m_Registered && g_pGraphicsDevice) g_pGraphicsDevice->RemoveVolatileResource(this);
  if (m_pFont) m_pFont->Release();
}

platform::D3DXFONT_DESC CFont::MakeDesc(const std::string& face, uint32_t height, int style) {
  platform::D3DXFONT_DESC desc;
  desc.Height = -static_cast<int32_t>(height);
  desc.Width = 0;
  desc.Weight = (style & STYLE_BOLD) ? platform::FW_BOLD : platform::FW_DONTCARE;
  desc.MipLevels = 1;
  desc.Italic = (style & STYLE_ITALIC) ? 1 : 0;
  desc.Quality = (style & STYLE_ANTIALIASED) ? platform::ANTIALIASED_QUALITY : platform::NONANTIALIASED_QUALITY;
  std::strncpy(desc.FaceName, face.c_str(), sizeof(desc.FaceName) - 1);
  return desc;
}

bool CFont::Create(const std::string& face, uint32_t height, int style) {
  if (!g_pGraphicsDevice || !g_pGraphicsDevice->GetDevice()) return false;
  const platform::D3DXFONT_DESC desc = MakeDesc(face, height, style);
  platform::IFont* made = nullptr;
  if (platform::FAILED(platform::D3DXCreateFontIndirect(g_pGraphicsDevice->GetDevice(), &desc, &made)) || !made) return false;
  if (m_pFont) m_pFont->Release();
  m_pFont = made;
  const APPLICATION_PARAMS defaults;
  const APPLICATION_PARAMS& params = g_pApplication ? g_pApplication->GetParams() : defaults;
  m_Rect = MakeRect(0, 0, params.width, params.height);
  m_pFont->PreloadCharacters('a', 'z');
  m_pFont->PreloadCharacters('A', 'Z');
  m_pFont->PreloadCharacters('0', '9');
  m_pFont->PreloadTextA(kPreloadText, -1);
  return true;
}

void CFont::SetPosition(int x, int y) {
  const int width = m_Rect.right - m_Rect.left, height = m_Rect.bottom - m_Rect.top;
  m_Rect = MakeRect(x, y, width, height);
}

void CFont::SetColor(const D3DXCOLOR& color) { m_Color = PackColor(color.r, color.g, color.b, color.a); }

void CFont::OnLostDevice() {
  if (m_pFont) m_pFont->OnLostDevice();
}

void CFont::OnResetDevice() {
  if (m_pFont) m_pFont->OnResetDevice();
}

CFontFactory::CFontFactory() {
  m_pDefault = MakeDefaultEntry(DEFAULT_RESOURCE_NAME);
  m_pDefault->Create("Verdana", 12, 0);
  m_pDefault->SetColor(D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f));
}

bool CFontFactory::Load(const std::string& key) {
  CFont& font = FindOrInsert(key);
  font.SetName(key);
  font.SetRefCount(1);
  if (g_pGraphicsDevice) font.SetRegistered(g_pGraphicsDevice->AddVolatileResource(&font));
  return true;
}

}  // namespace Nembra
