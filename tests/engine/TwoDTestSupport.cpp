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

std::string HeadlessEngine::WriteTexture(const std::string& name, int width, int height, uint32_t rgba) {
  formats::RgbaImage image;
  image.width = width;
  image.height = height;
  for (int i = 0; i < width * height; ++i)
    for (int c = 0; c < 4; ++c) image.pixels.push_back(static_cast<uint8_t>(rgba >> (24 - 8 * c)));
  formats::WritePng(m_Dir.File("Materials/" + name), image);
  platform::ClearPathCache();
  return name;
}

void HeadlessEngine::WriteBitmapFont(const std::string& name, uint32_t lineHeight,
                                     const std::vector<formats::GlyphRecord>& glyphs, int atlasWidth,
                                     int atlasHeight) {
  formats::RgbaImage atlas;
  atlas.width = atlasWidth;
  atlas.height = atlasHeight;
  atlas.pixels.assign(static_cast<size_t>(atlasWidth) * atlasHeight * 4, 255);
  formats::WritePng(m_Dir.File(name + ".png"), atlas);
  formats::WritePng(m_Dir.File("Materials/" + name + ".png"), atlas);
  WriteGlyphTableBytes(name, formats::GlyphTableBytes(lineHeight, glyphs));
}

void HeadlessEngine::WriteGlyphTableBytes(const std::string& name, const std::string& bytes) {
  m_Dir.Write(name + ".dat", bytes);
  platform::ClearPathCache();
}

}  // namespace twodtest
