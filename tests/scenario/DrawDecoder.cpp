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

template <class T = float>
T At(const std::vector<uint8_t>& bytes, size_t offset) {
  T v{};
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

namespace {
template <class Record, class Pred>
std::vector<const Record*> Matching(const std::vector<Record>& records, Pred pred) {
  std::vector<const Record*> found;
  for (const Record& r : records)
    if (pred(r)) found.push_back(&r);
  return found;
}
}  // namespace

std::vector<const TextRecord*> DecodedFrame::FindText(const std::wstring& text) const {
  return Matching(texts, [&](const TextRecord& t) { return t.text == text; });
}

std::vector<const TextRecord*> DecodedFrame::FindTextContaining(const std::wstring& part) const {
  return Matching(texts, [&](const TextRecord& t) { return t.text.find(part) != std::wstring::npos; });
}

std::vector<const SpriteRecord*> DecodedFrame::FindSprites(platform::ITexture* texture, int srcLeft,
                                                           int srcTop) const {
  return Matching(sprites, [&](const SpriteRecord& s) {
    return s.texture == texture && s.srcLeft == srcLeft && s.srcTop == srcTop;
  });
}

std::vector<const SpriteRecord*> DecodedFrame::FindSprites(platform::ITexture* texture) const {
  return Matching(sprites, [&](const SpriteRecord& s) { return s.texture == texture; });
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
        s.left = At(d.vertices, tl) + 0.5f;
        s.top = At(d.vertices, tl + 4) + 0.5f;
        s.right = At(d.vertices, br) + 0.5f;
        s.bottom = At(d.vertices, br + 4) + 0.5f;
        s.color = At<uint32_t>(d.vertices, tl + 16);
        s.srcLeft = Round(At(d.vertices, tl + 20) * float(desc.Width));
        s.srcTop = Round(At(d.vertices, tl + 24) * float(desc.Height));
        s.srcRight = Round(At(d.vertices, br + 20) * float(desc.Width));
        s.srcBottom = Round(At(d.vertices, br + 24) * float(desc.Height));
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
      t.x = Round(At(d.vertices, 0) - 0.5f) + Nembra::CBitmapFont::GLYPH_MARGIN;
      t.y = Round(At(d.vertices, kTextStride + 4) - 0.5f);
      for (size_t q = 0; q + 6 * kTextStride <= d.vertices.size(); q += 6 * kTextStride) {
        const float u = At(d.vertices, q + kTextStride + 16), v = At(d.vertices, q + kTextStride + 20);
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
