#pragma once
// System fonts: a font object of the platform layer with the rectangle,
// format and colour its text is drawn with. Shared by name through
// g_pFontFactory, which the application makes in its Init.
#include <cstdint>
#include <string>

#include "engine/resources/Factory.h"
#include "engine/resources/Resource.h"
#include "engine/util/Utilities.h"
#include "platform/SystemFont.h"

namespace Nembra {

class CFont : public CVolatileResource {
 public:
  // Style bits of Create.
  static constexpr int STYLE_BOLD = 1, STYLE_ITALIC = 2, STYLE_ANTIALIASED = 4;

  CFont() = default;
  ~CFont() override;
  // A font owns its font object and device registration: no copies.
  CFont(const CFont&) = delete;
  CFont& operator=(const CFont&) = delete;

  // Makes the font object (height in pixels, style bits above), sets the
  // rectangle to the application's screen and preloads the common
  // characters; false when there is no device or the font cannot be made.
  bool Create(const std::string& face, uint32_t height, int style);
  // Moves the rectangle's top-left corner, keeping its size.
  void SetPosition(int x, int y);
  void SetColor(const D3DXCOLOR& color);

  void OnLostDevice() override;
  void OnResetDevice() override;

  // The description Create asks the platform for.
  static platform::D3DXFONT_DESC MakeDesc(const std::string& face, uint32_t height, int style);

  platform::IFont* GetD3DXFont() const { return m_pFont; }
  const RECT& GetRect() const { return m_Rect; }
  uint32_t GetFormat() const { return m_Format; }
  D3DCOLOR GetColor() const { return m_Color; }
  // Remembers that the device lists this font, so it leaves the list when destroyed.
  void SetRegistered(bool registered) { m_Registered = registered; }

 private:
  platform::IFont* m_pFont = nullptr;
  RECT m_Rect;
  uint32_t m_Format = platform::DT_NOCLIP;
  D3DCOLOR m_Color = 0xFFFFFFFFu;
  bool m_Registered = false;
};

class CFontFactory : public CFactory<CFont> {
 public:
  // Makes the default entry: Verdana 12, white (not listed for resets).
  CFontFactory();
  // Always true: an empty font under the name, listed for device resets;
  // the caller calls Create next.
  bool Load(const std::string& key) override;
};

extern CFontFactory* g_pFontFactory;

}  // namespace Nembra
