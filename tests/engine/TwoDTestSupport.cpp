#include "TwoDTestSupport.h"

#include "engine/fonts/BitmapFont.h"
#include "engine/fonts/Font.h"
#include "platform/Files.h"
#include "platform/backends/headless/Headless.h"

namespace twodtest {

HeadlessEngine::HeadlessEngine() {
  platform::headless::ResetEvents();
  platform::headless::ResetGraphics();
  Nembra::SetDataDirectory(m_Dir.Path() + "/");
  Nembra::APPLICATION_PARAMS params;
  params.windowed = true;
  if (!m_App.Init(params)) return;
  Nembra::g_pGraphicsDevice = new Nembra::CGraphicsDevice();
  if (!Nembra::g_pGraphicsDevice->Create(m_App.GetWindow(), params)) return;
  Nembra::g_pTextureFactory = new Nembra::CTextureFactory();
  Nembra::g_pBitmapFontFactory = new Nembra::CBitmapFontFactory();
  m_Ok = platform::headless::CurrentDevice() != nullptr;
}

HeadlessEngine::~HeadlessEngine() {
  delete Nembra::g_pBitmapFontFactory;
  Nembra::g_pBitmapFontFactory = nullptr;
  delete Nembra::g_pFontFactory;
  Nembra::g_pFontFactory = nullptr;
  delete Nembra::g_pTextureFactory;
  Nembra::g_pTextureFactory = nullptr;
  delete Nembra::g_pGraphicsDevice;
  Nembra::g_pGraphicsDevice = nullptr;
  Nembra::SetDataDirectory(".\\Data\\");
  platform::ClearPathCache();
}

std::string HeadlessEngine::WriteTexture(const std::string& name, int width, int height, uint32_t argb) {
  formats::WriteBytes(m_Dir.File("Materials/" + name),
                      formats::PngBytes(formats::TestPicture(static_cast<uint32_t>(width), static_cast<uint32_t>(height), argb)));
  platform::ClearPathCache();
  return name;
}

void HeadlessEngine::WriteBitmapFont(const std::string& name, uint32_t lineHeight,
                                     const std::vector<formats::GlyphRecord>& glyphs, int atlasWidth,
                                     int atlasHeight) {
  const std::string png = formats::PngBytes(
      formats::TestPicture(static_cast<uint32_t>(atlasWidth), static_cast<uint32_t>(atlasHeight), 0xFFFFFFFFu));
  formats::WriteBytes(m_Dir.File(name + ".png"), png);
  formats::WriteBytes(m_Dir.File("Materials/" + name + ".png"), png);
  WriteGlyphTableBytes(name, formats::GlyphTableBytes(lineHeight, glyphs));
}

void HeadlessEngine::WriteGlyphTableBytes(const std::string& name, const std::string& bytes) {
  m_Dir.Write(name + ".dat", bytes);
  platform::ClearPathCache();
}

}  // namespace twodtest
