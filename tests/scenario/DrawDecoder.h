#pragma once
// Turns what the recording device was asked to draw back into what a
// person would see: screen sprites (texture, source rectangle, screen
// rectangle, colour) and lines of bitmap-font text (font, text, position,
// colour), in drawing order.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/HeadlessGraphics.h"

namespace scenario {

struct SpriteRecord {
  size_t order = 0;                       // place among all decoded draws of the frame
  platform::ITexture* texture = nullptr;  // device texture drawn from
  int srcLeft = 0, srcTop = 0, srcRight = 0, srcBottom = 0;  // texels of the texture
  float left = 0, top = 0, right = 0, bottom = 0;             // screen pixels covered
  uint32_t color = 0;                                         // packed ARGB tint

  float Width() const { return right - left; }
  float Height() const { return bottom - top; }
  int SourceWidth() const { return srcRight - srcLeft; }
  int SourceHeight() const { return srcBottom - srcTop; }
  float Alpha() const { return float(color >> 24) / 255.0f; }
};

struct TextRecord {
  size_t order = 0;
  std::string font;   // the font's factory key (upper case)
  std::wstring text;  // one drawn line; U+FFFD for a glyph the font has no record of
  int x = 0, y = 0;   // pen start of the line (its left edge) and its top
  int width = 0;      // sum of the glyph advances
  uint32_t color = 0; // packed ARGB
};

struct DecodedFrame {
  std::vector<SpriteRecord> sprites;
  std::vector<TextRecord> texts;
  size_t undecoded = 0;  // draws that are neither sprites nor known bitmap-font text
  bool complete = true;  // false when the device kept fewer draws than were made

  // Every line with exactly this text.
  std::vector<const TextRecord*> FindText(const std::wstring& text) const;
  // Every line containing the text.
  std::vector<const TextRecord*> FindTextContaining(const std::wstring& part) const;
  // Every sprite drawn from the texture with this source rectangle's top-left corner.
  std::vector<const SpriteRecord*> FindSprites(platform::ITexture* texture, int srcLeft, int srcTop) const;
  std::vector<const SpriteRecord*> FindSprites(platform::ITexture* texture) const;
};

class DrawDecoder {
 public:
  // Fonts are recognised by their atlas among the bitmap fonts the font
  // factory holds under these names (looked up again while not loaded).
  explicit DrawDecoder(std::vector<std::string> fontNames);
  ~DrawDecoder();
  DrawDecoder(const DrawDecoder&) = delete;
  DrawDecoder& operator=(const DrawDecoder&) = delete;

  // Decodes the draws the device logged since its last ClearLog. The text
  // colour is the texture factor in force, followed through the log from
  // its value at the ClearLog (initialTextureFactor).
  DecodedFrame Decode(const platform::headless::RecordingDevice& device, uint32_t initialTextureFactor);

 private:
  struct Font;
  const Font* FontOf(platform::ITexture* atlas);
  std::vector<std::string> m_Names;
  std::vector<Font*> m_Fonts;  // one per name, rebuilt when the factory's font changes
};

// The device texture the texture factory holds under a name (null when not loaded).
platform::ITexture* TextureOf(const std::string& name);

}  // namespace scenario
