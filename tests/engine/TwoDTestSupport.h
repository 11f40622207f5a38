#pragma once
// A headless engine for 2D tests: application window, device wrapper on
// the recording device, texture factory, data folders in a temporary
// folder; bitmap-font files written on demand.
#include <string>
#include <vector>

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/fonts/BitmapFont.h"
#include "engine/fonts/Font.h"
#include "engine/resources/Texture.h"
#include "platform/Files.h"
#include "platform/HeadlessGraphics.h"
#include "platform/backends/headless/Headless.h"
#include "support/TempDir.h"
#include "tools/formats/BitmapFontFiles.h"
#include "tools/formats/TextFiles.h"

namespace twodtest {

// The sprite batch's screen-space vertex (position, rhw, colour, u, v).
struct SPRITE_VERTEX {
  float x, y, z, rhw;
  D3DCOLOR colour;
  float u, v;
};

class HeadlessEngine {
 public:
  HeadlessEngine() {
    platform::headless::ResetEvents();
    platform::headless::ResetGraphics();
    Nembra::SetDataDirectory(m_Dir.Path() + "/");
    Nembra::APPLICATION_PARAMS params;
    if (!m_App.Init(params)) return;
    Nembra::g_pGraphicsDevice = new Nembra::CGraphicsDevice();
    if (!Nembra::g_pGraphicsDevice->Create(m_App.GetWindow(), params)) return;
    Nembra::g_pTextureFactory = new Nembra::CTextureFactory();
    Nembra::g_pBitmapFontFactory = new Nembra::CBitmapFontFactory();
    m_Ok = platform::headless::CurrentDevice() != nullptr;
  }
  ~HeadlessEngine() {
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
  bool ok() const { return m_Ok; }
  platform::headless::RecordingDevice& Rec() { return *platform::headless::CurrentDevice(); }
  const testsupport::TempDir& Dir() const { return m_Dir; }
  // Writes an image of one ARGB colour into the texture folder; returns its name.
  std::string WriteTexture(const std::string& name, int width, int height, uint32_t argb) {
    formats::WriteBytes(m_Dir.File("Materials/" + name),
                        formats::PngBytes(formats::TestPicture(uint32_t(width), uint32_t(height), argb)));
    platform::ClearPathCache();
    return name;
  }
  // Writes NAME.dat and NAME.png (in the font folder and, for the texture
  // factory, in the texture folder).
  void WriteBitmapFont(const std::string& name, uint32_t lineHeight, const std::vector<formats::GlyphRecord>& glyphs,
                       int atlasWidth = 64, int atlasHeight = 64) {
    const std::string png =
        formats::PngBytes(formats::TestPicture(uint32_t(atlasWidth), uint32_t(atlasHeight), 0xFFFFFFFFu));
    formats::WriteBytes(m_Dir.File(name + ".png"), png);
    formats::WriteBytes(m_Dir.File("Materials/" + name + ".png"), png);
    WriteGlyphTableBytes(name, formats::GlyphTableBytes(lineHeight, glyphs));
  }
  void WriteGlyphTableBytes(const std::string& name, const std::string& bytes) {
    m_Dir.Write(name + ".dat", bytes);
    platform::ClearPathCache();
  }
  // Vertices of a sprite draw.
  static const SPRITE_VERTEX* SpriteVertices(const platform::headless::DrawRecord& d) {
    return reinterpret_cast<const SPRITE_VERTEX*>(d.vertices.data());
  }

 private:
  testsupport::TempDir m_Dir;
  Nembra::CApplication m_App;
  bool m_Ok = false;
};

}  // namespace twodtest
