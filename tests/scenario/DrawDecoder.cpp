#include "scenario/DrawDecoder.h"

#include <cstring>
#include <map>
#include <utility>

#include "engine/fonts/BitmapFont.h"
#include "engine/resources/Texture.h"
#include "platform/Saturate.h"

namespace scenario {

namespace {

using platform::D3DFVF_DIFFUSE;
using platform::D3DFVF_TEX1;
using platform::D3DFVF_XYZRHW;

constexpr platform::DWORD kSpriteFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;
constexpr platform::DWORD kTextFvf = D3DFVF_XYZRHW | D3DFVF_TEX1;
constexpr size_t kSpriteStride = 28;
constexpr size_t kTextStride = 24;

float FloatAt(const std::vector<uint8_t>& bytes, size_t offset) {
  float v = 0;
  std::memcpy(&v, bytes.data() + offset, sizeof v);
  return v;
}
uint32_t WordAt(const std::vector<uint8_t>& bytes, size_t offset) {
  uint32_t v = 0;
  std::memcpy(&v, bytes.data() + offset, sizeof v);
  return v;
}
// Quads far off the screen stop at the ends of the int range.
int Round(float v) { return platform::TruncateToInt32(v >= 0 ? v + 0.5f : v - 0.5f); }

bool IsDrawLine(const std::string& line) { return line.compare(0, 4, "Draw") == 0; }

}  // namespace

struct DrawDecoder::Font {
  std::string name;
  Nembra::CBitmapFont* font = nullptr;
  platform::ITexture* atlas = nullptr;
  std::map<std::pair<float, float>, wchar_t> glyphs;  // (u left, v top) -> character
};

DrawDecoder::DrawDecoder(std::vector<std::string> fontNames)
    : m_Names(std::move(fontNames)), m_Fonts(m_Names.size(), nullptr) {}

DrawDecoder::~DrawDecoder() {
  for (Font* f : m_Fonts) delete f;
}

const DrawDecoder::Font* DrawDecoder::FontOf(platform::ITexture* atlas) {
  if (!atlas || !Nembra::g_pBitmapFontFactory) return nullptr;
  for (size_t i = 0; i < m_Names.size(); ++i) {
    Nembra::CBitmapFont* font = Nembra::g_pBitmapFontFactory->Find(m_Names[i]);
    platform::ITexture* texture = TextureOf(m_Names[i] + ".png");
    if (!font || texture != atlas) continue;
    Font*& entry = m_Fonts[i];
    if (!entry || entry->font != font || entry->atlas != atlas) {
      delete entry;
      entry = new Font();
      entry->name = Nembra::CBitmapFontFactory::MakeKey(m_Names[i]);
      entry->font = font;
      entry->atlas = atlas;
      const Nembra::CBitmapFont::GLYPH* none = &font->GetGlyph(static_cast<wchar_t>(0));
      for (uint32_t c = 1; c < 0x10000; ++c) {
        const Nembra::CBitmapFont::GLYPH& g = font->GetGlyph(static_cast<wchar_t>(c));
        if (&g != none) entry->glyphs.emplace(std::make_pair(g.uLeft, g.vTop), static_cast<wchar_t>(c));
      }
    }
    return entry;
  }
  return nullptr;
}

platform::ITexture* TextureOf(const std::string& name) {
  if (!Nembra::g_pTextureFactory) return nullptr;
  Nembra::CTexture* texture = Nembra::g_pTextureFactory->Find(name);
  return texture ? texture->GetTexture() : nullptr;
}

std::vector<const TextRecord*> DecodedFrame::FindText(const std::wstring& text) const {
  std::vector<const TextRecord*> found;
  for (const TextRecord& t : texts)
    if (t.text == text) found.push_back(&t);
  return found;
}

std::vector<const TextRecord*> DecodedFrame::FindTextContaining(const std::wstring& part) const {
  std::vector<const TextRecord*> found;
  for (const TextRecord& t : texts)
    if (t.text.find(part) != std::wstring::npos) found.push_back(&t);
  return found;
}

std::vector<const SpriteRecord*> DecodedFrame::FindSprites(platform::ITexture* texture, int srcLeft,
                                                           int srcTop) const {
  std::vector<const SpriteRecord*> found;
  for (const SpriteRecord& s : sprites)
    if (s.texture == texture && s.srcLeft == srcLeft && s.srcTop == srcTop) found.push_back(&s);
  return found;
}

std::vector<const SpriteRecord*> DecodedFrame::FindSprites(platform::ITexture* texture) const {
  std::vector<const SpriteRecord*> found;
  for (const SpriteRecord& s : sprites)
    if (s.texture == texture) found.push_back(&s);
  return found;
}

DecodedFrame DrawDecoder::Decode(const platform::headless::RecordingDevice& device, uint32_t initialTextureFactor) {
  DecodedFrame frame;

  // The texture factor in force at each kept draw, from the call log.
  std::vector<uint32_t> factors;
  uint32_t factor = initialTextureFactor;
  const std::string setFactor = "SetRenderState " + std::to_string(platform::D3DRS_TEXTUREFACTOR) + " ";
  for (const std::string& line : device.Log()) {
    if (line.compare(0, setFactor.size(), setFactor) == 0)
      factor = static_cast<uint32_t>(std::stoul(line.substr(setFactor.size())));
    else if (IsDrawLine(line))
      factors.push_back(factor);
  }
  const auto& draws = device.Draws();
  // A draw the device refused is logged but not kept; the pairing then
  // cannot be trusted, and neither can a cut-short record.
  if (factors.size() != draws.size() || draws.size() != device.Stats().draws) frame.complete = false;

  size_t order = 0;
  for (size_t i = 0; i < draws.size(); ++i) {
    const platform::headless::DrawRecord& d = draws[i];
    const bool triangles = d.type == platform::D3DPT_TRIANGLELIST;
    if (triangles && d.fvf == kSpriteFvf && d.texture0 && d.vertices.size() % (6 * kSpriteStride) == 0) {
      platform::D3DSURFACE_DESC desc;
      if (platform::FAILED(d.texture0->GetLevelDesc(0, &desc))) {
        ++frame.undecoded;
        continue;
      }
      for (size_t q = 0; q + 6 * kSpriteStride <= d.vertices.size(); q += 6 * kSpriteStride) {
        // Corners in the order top-left, top-right, bottom-left, -, -, bottom-right.
        const size_t tl = q, br = q + 5 * kSpriteStride;
        SpriteRecord s;
        s.order = order++;
        s.texture = d.texture0;
        s.left = FloatAt(d.vertices, tl) + 0.5f;
        s.top = FloatAt(d.vertices, tl + 4) + 0.5f;
        s.right = FloatAt(d.vertices, br) + 0.5f;
        s.bottom = FloatAt(d.vertices, br + 4) + 0.5f;
        s.color = WordAt(d.vertices, tl + 16);
        s.srcLeft = Round(FloatAt(d.vertices, tl + 20) * float(desc.Width));
        s.srcTop = Round(FloatAt(d.vertices, tl + 24) * float(desc.Height));
        s.srcRight = Round(FloatAt(d.vertices, br + 20) * float(desc.Width));
        s.srcBottom = Round(FloatAt(d.vertices, br + 24) * float(desc.Height));
        frame.sprites.push_back(s);
      }
      continue;
    }
    const Font* font = triangles && d.fvf == kTextFvf ? FontOf(d.texture0) : nullptr;
    if (font && d.vertices.size() % (6 * kTextStride) == 0 && !d.vertices.empty()) {
      TextRecord t;
      t.order = order++;
      t.font = font->name;
      t.color = i < factors.size() ? factors[i] : 0;
      // Each glyph: (left, bottom), (left, top), (right, top), ...; the quad
      // reaches the margin beyond the advance box on either side.
      t.x = Round(FloatAt(d.vertices, 0) - 0.5f) + Nembra::CBitmapFont::GLYPH_MARGIN;
      t.y = Round(FloatAt(d.vertices, kTextStride + 4) - 0.5f);
      for (size_t q = 0; q + 6 * kTextStride <= d.vertices.size(); q += 6 * kTextStride) {
        const float u = FloatAt(d.vertices, q + kTextStride + 16), v = FloatAt(d.vertices, q + kTextStride + 20);
        auto glyph = font->glyphs.find({u, v});
        const wchar_t c = glyph != font->glyphs.end() ? glyph->second : L'\uFFFD';
        t.text += c;
        t.width += font->font->GetGlyph(c).width;
      }
      frame.texts.push_back(std::move(t));
      continue;
    }
    ++frame.undecoded;
  }
  return frame;
}

}  // namespace scenario
