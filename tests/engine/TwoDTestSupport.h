#pragma once
// A headless engine for 2D tests: application window, device wrapper on
// the recording device, texture factory, data folders in a temporary
// folder; bitmap-font files written on demand.
#include <string>
#include <vector>

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/resources/Texture.h"
#include "platform/HeadlessGraphics.h"
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
  HeadlessEngine();
  ~HeadlessEngine();
  bool ok() const { return m_Ok; }
  platform::headless::RecordingDevice& Rec() { return *platform::headless::CurrentDevice(); }
  const testsupport::TempDir& Dir() const { return m_Dir; }
  // Writes an image of one ARGB colour into the texture folder; returns its name.
  std::string WriteTexture(const std::string& name, int width, int height, uint32_t argb);
  // Writes NAME.dat and NAME.png (in the font folder and, for the texture
  // factory, in the texture folder).
  void WriteBitmapFont(const std::string& name, uint32_t lineHeight, const std::vector<formats::GlyphRecord>& glyphs,
                       int atlasWidth = 64, int atlasHeight = 64);
  void WriteGlyphTableBytes(const std::string& name, const std::string& bytes);
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
