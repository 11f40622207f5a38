#include <gtest/gtest.h>

#include <string>

#include "engine/app/Engine.h"
#include "engine/resources/FactoryRef.h"
#include "engine/resources/Texture.h"
#include "platform/Files.h"
#include "support/TempDir.h"
#include "tests/engine/GraphicsTestSupport.h"
#include "tools/formats/GraphicsFiles.h"

using namespace platform;
using Nembra::CTexture;
using Nembra::CTextureFactory;
using Nembra::CTextureSet;

namespace {

class TextureTest : public testsupport::FactoryFolderTest<CTextureFactory> {
 protected:
  TextureTest() : FactoryFolderTest(&Nembra::g_TextureDirectory) {}
  void WritePng(const std::string& name, uint32_t size, uint32_t argb = 0xFFFFFFFFu, bool alpha = false) {
    WriteFile(name, formats::PngBytes(formats::TestPicture(size, size, argb), alpha));
  }
  // Number of CreateTexture calls the device saw since the log was cleared.
  size_t CreateCalls() {
    size_t n = 0;
    for (const std::string& line : Device()->Log()) n += line.rfind("CreateTexture", 0) == 0;
    return n;
  }
};

formats::TestPicture Picture(uint32_t w, uint32_t h, uint32_t argb) { return formats::TestPicture(w, h, argb); }

// The 32-bit texel at (x, y) of the top level.
uint32_t Texel(CTexture& t, int x = 0, int y = 0) {
  D3DLOCKED_RECT locked;
  if (!t.GetTexture() || t.GetTexture()->LockRect(0, &locked, nullptr, D3DLOCK_READONLY) != D3D_OK) return 0xDEADu;
  uint32_t v = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(locked.pBits) + y * locked.Pitch)[x];
  t.GetTexture()->UnlockRect(0);
  return v;
}

TEST_F(TextureTest, SizesRoundUpToPowersOfTwoAndFormatsFollowThePixelLayout) {
  WriteFile("Wall.png", formats::PngBytes(Picture(100, 60, 0xFF336699u), false));
  WritePng("Glass.png", 16, 0xFF336699u, true);  // alpha channel, all opaque
  WriteFile("Grey.png", formats::GrayPngBytes(Picture(8, 8, 0xFF808080u)));
  WriteFile("Photo.jpg", formats::JpegBytes(Picture(33, 17, 0xFF204060u)));
  WriteFile("Icon.tga", formats::TgaBytes(Picture(4, 4, 0x80FF0000u), true));
  WriteFile("Flat.tga", formats::TgaBytes(Picture(4, 4, 0xFFFF0000u), false));
  CTexture* wall = m_Factory->Get("wall.png");
  ASSERT_NE(wall->GetTexture(), nullptr);
  EXPECT_EQ(wall->GetWidth(), 128u);
  EXPECT_EQ(wall->GetHeight(), 64u);
  EXPECT_EQ(wall->GetDesc().Format, D3DFMT_X8R8G8B8);
  EXPECT_FALSE(wall->HasAlphaFormat());
  EXPECT_EQ(wall->GetTexture()->GetLevelCount(), 8u);  // 128x64 down to 1x1
  struct Case {
    const char* name;
    D3DFORMAT format;
    bool alpha;
    uint32_t width;
  } cases[] = {{"GLASS.PNG", D3DFMT_A8R8G8B8, true, 16},
               {"grey.png", D3DFMT_L8, false, 8},
               {"Photo.JPG", D3DFMT_X8R8G8B8, false, 64},
               {"icon.tga", D3DFMT_A8R8G8B8, true, 4},
               {"flat.tga", D3DFMT_X8R8G8B8, false, 4}};
  for (const Case& c : cases) {
    CTexture* t = m_Factory->Get(c.name);
    ASSERT_NE(t->GetTexture(), nullptr) << c.name;
    EXPECT_EQ(t->GetDesc().Format, c.format) << c.name;
    EXPECT_EQ(t->HasAlphaFormat(), c.alpha) << c.name;
    EXPECT_EQ(t->GetWidth(), c.width) << c.name;
  }
}

// A 2x1 16-bit TGA; attributeBits 1 makes the top bit alpha.
std::string Tga16(int attributeBits) {
  std::string t(18, '\0');
  t[2] = 2;
  t[12] = 2;
  t[14] = 1;
  t[16] = 16;
  t[17] = char(attributeBits);
  t += std::string("\x1F\x80\xE0\x03", 4);  // opaque blue, transparent green
  return t;
}

TEST_F(TextureTest, HasAlphaFormatFollowsTheLoadedFormat) {
  WriteFile("Alpha16.tga", Tga16(1));
  WriteFile("Plain16.tga", Tga16(0));
  WriteFile("GreyAlpha.png", formats::GrayPngBytes(Picture(4, 4, 0x80808080u), true));
  CTexture* alpha16 = m_Factory->Get("alpha16.tga");
  CTexture* plain16 = m_Factory->Get("plain16.tga");
  CTexture* greyAlpha = m_Factory->Get("greyalpha.png");
  // Grey with alpha is A8L8: not one of the alpha formats the renderer sorts by.
  const std::pair<CTexture*, D3DFORMAT> rows[] = {
      {alpha16, D3DFMT_A1R5G5B5}, {plain16, D3DFMT_X1R5G5B5}, {greyAlpha, D3DFMT_A8L8}};
  for (const auto& [t, format] : rows) {
    EXPECT_EQ(t->GetDesc().Format, format);
    EXPECT_EQ(t->HasAlphaFormat(), t == alpha16) << format;
  }
  EXPECT_FALSE(CTexture().HasAlphaFormat());  // nothing loaded: format 0
  // The 16-bit texels keep their colour and their alpha bit.
  D3DLOCKED_RECT locked;
  ASSERT_EQ(alpha16->GetTexture()->LockRect(0, &locked, nullptr, 0), D3D_OK);
  const uint8_t* bytes = static_cast<const uint8_t*>(locked.pBits);
  EXPECT_EQ(bytes[0] | (bytes[1] << 8), 0x801F);
  EXPECT_EQ(bytes[2] | (bytes[3] << 8), 0x03E0);
  alpha16->GetTexture()->UnlockRect(0);
  // DXT formats are not stored by the layer: no texture can be made in one.
  ITexture* dxt = nullptr;
  EXPECT_NE(Device()->CreateTexture(4, 4, 1, 0, D3DFMT_DXT5, D3DPOOL_MANAGED, &dxt), D3D_OK);
  EXPECT_EQ(dxt, nullptr);
}

TEST_F(TextureTest, NamesAreCaseInsensitiveAndCounted) {
  WritePng("Rock.png", 8, 0xFF101010u);
  CTexture* lower = m_Factory->Get("rock.png");
  CTexture* upper = m_Factory->Get("ROCK.PNG");
  ASSERT_EQ(lower, upper);
  EXPECT_NE(lower, m_Factory->GetDefault());
  EXPECT_EQ(lower->GetName(), "ROCK.PNG");
  EXPECT_EQ(lower->GetRefCount(), 2u);
  m_Factory->Release("Rock.Png");
  EXPECT_EQ(m_Factory->Find("rock.png"), lower);
  EXPECT_EQ(lower->GetRefCount(), 1u);
  m_Factory->Release("rock.PNG");
  EXPECT_EQ(m_Factory->Find("rock.png"), nullptr);
  // Releasing a name that is not held changes nothing.
  const size_t count = m_Factory->GetCount();
  m_Factory->Release("rock.png");
  m_Factory->Release("never.png");
  EXPECT_EQ(m_Factory->GetCount(), count);
}

TEST_F(TextureTest, AHolderGivesItsReferenceBackOnReplaceResetAndDestruction) {
  WritePng("Rock.png", 8, 0xFF101010u);
  WritePng("Sand.png", 8, 0xFF202020u);
  CTexture* rock = m_Factory->Get("Rock.png");
  {
    Nembra::CFactoryRef<CTextureFactory> held(m_Factory);
    EXPECT_EQ(held.Take("rock.png"), rock);
    EXPECT_EQ(rock->GetRefCount(), 2u);
    held.Take("Rock.png");  // the same again: one reference still
    EXPECT_EQ(rock->GetRefCount(), 2u);
    held.Take("Sand.png");
    EXPECT_EQ(rock->GetRefCount(), 1u);
    held.Reset();
    EXPECT_EQ(m_Factory->Find("Sand.png"), nullptr);
    EXPECT_EQ(held.Hold("Rock.png", m_Factory->GetSingleLevel("Rock.png")), rock);
    held.Hold("Missing.png", nullptr);  // holds nothing, gives the rock back
    EXPECT_EQ(rock->GetRefCount(), 1u);
    held.Take("Rock.png");
  }
  EXPECT_EQ(rock->GetRefCount(), 1u);
  // A holder whose factory went gives nothing back to the next one.
  CTextureFactory* first = m_Factory;
  auto* held = new Nembra::CFactoryRef<CTextureFactory>(m_Factory);
  held->Take("Rock.png");
  m_Factory = new CTextureFactory();
  CTexture* again = m_Factory->Get("Rock.png");
  delete held;
  EXPECT_EQ(again->GetRefCount(), 1u);
  delete first;
}

TEST_F(TextureTest, FailedLoadGivesTheDefaultAndIsTriedAgain) {
  CTexture* missing = m_Factory->Get("Later.png");
  EXPECT_EQ(missing, m_Factory->GetDefault());
  EXPECT_EQ(missing->GetName(), "__DEFAULT__");
  EXPECT_EQ(missing->GetTexture(), nullptr);
  EXPECT_EQ(m_Factory->GetDefault()->GetRefCount(), 0u);
  EXPECT_EQ(m_Factory->Find("later.png"), nullptr);
  m_Factory->Release("later.png");  // nothing held: nothing happens
  EXPECT_EQ(m_Factory->GetDefault()->GetRefCount(), 0u);
  // The file appears: the next request reads it.
  WritePng("LATER.png", 2, 0xFFFFFFFFu);
  CTexture* loaded = m_Factory->Get("later.png");
  EXPECT_NE(loaded, m_Factory->GetDefault());
  EXPECT_NE(loaded->GetTexture(), nullptr);
  // A damaged file also gives the default.
  WriteFile("Broken.png", formats::PngBytes(Picture(8, 8, 0xFFFFFFFFu)).substr(0, 40));
  EXPECT_EQ(m_Factory->Get("broken.png"), m_Factory->GetDefault());
}

TEST_F(TextureTest, DefaultEntryIsCountedButNeverErased) {
  CTexture* def = m_Factory->Get("__default__");
  ASSERT_EQ(def, m_Factory->GetDefault());
  EXPECT_EQ(def->GetRefCount(), 1u);
  m_Factory->Release("__DEFAULT__");
  EXPECT_EQ(def->GetRefCount(), 0u);
  m_Factory->Release("__DEFAULT__");
  EXPECT_EQ(m_Factory->Find("__DEFAULT__"), def);
  EXPECT_EQ(def->GetRefCount(), 0u);
}

TEST_F(TextureTest, FolderPartIsKeptInTheKeyButOnlyTheFileIsRead) {
  WritePng("Tile.png", 4, 0xFF00FF00u);
  CTexture* viaFolder = m_Factory->Get("Sub\\Folder\\tile.png");
  ASSERT_NE(viaFolder, m_Factory->GetDefault());
  EXPECT_EQ(viaFolder->GetName(), "SUB\\FOLDER\\TILE.PNG");
  CTexture* bare = m_Factory->Get("tile.png");
  EXPECT_NE(bare, viaFolder);  // a separate resource from the same file
  EXPECT_EQ(bare->GetWidth(), viaFolder->GetWidth());
}

TEST_F(TextureTest, MipChainFallsBackToOneLevel) {
  WritePng("Chain.png", 16, 0xFF0000FFu);
  headless::Controls().failTextureCreationWithLevels = 1;  // only single-level textures
  Device()->ClearLog();
  CTexture* t = m_Factory->Get("chain.png");
  ASSERT_NE(t, m_Factory->GetDefault());
  EXPECT_EQ(t->GetTexture()->GetLevelCount(), 1u);
  EXPECT_EQ(CreateCalls(), 2u);
  // Unreadable for the device at all: two attempts, then the default.
  headless::Controls().failTextureCreation = true;
  Device()->ClearLog();
  EXPECT_EQ(m_Factory->Get("chain2.png"), m_Factory->GetDefault());  // missing file: nothing to create
  WritePng("Chain3.png", 16, 0xFF0000FFu);
  EXPECT_EQ(m_Factory->Get("chain3.png"), m_Factory->GetDefault());
  EXPECT_EQ(CreateCalls(), 2u);
  // A single-level request that fails makes one attempt.
  Device()->ClearLog();
  EXPECT_EQ(m_Factory->GetSingleLevel("chain3.png"), m_Factory->GetDefault());
  EXPECT_EQ(CreateCalls(), 1u);
}

TEST_F(TextureTest, SingleLevelRequestThenNormalParametersAgain) {
  WritePng("Font.png", 32, 0xFFFFFFFFu);
  WritePng("Other.png", 32, 0xFFFFFFFFu);
  m_Factory->m_Filter = 7;
  CTexture* font = m_Factory->GetSingleLevel("font.png");
  EXPECT_EQ(font->GetTexture()->GetLevelCount(), 1u);
  EXPECT_EQ(m_Factory->m_Filter, D3DX_DEFAULT);
  EXPECT_EQ(m_Factory->m_MipLevels, 0u);
  EXPECT_EQ(m_Factory->m_MipFilter, D3DX_DEFAULT);
  EXPECT_EQ(m_Factory->Get("other.png")->GetTexture()->GetLevelCount(), 6u);
}

TEST_F(TextureTest, PixelsArriveTopRowFirstAndStretched) {
  formats::TestPicture p(2, 2, 0);
  p.At(0, 0) = 0xFFFF0000u;
  p.At(1, 0) = 0xFF00FF00u;
  p.At(0, 1) = 0xFF0000FFu;
  p.At(1, 1) = 0xFFFFFFFFu;
  WriteFile("Quad.tga", formats::TgaBytes(p, true));
  CTexture* t = m_Factory->Get("quad.tga");
  ASSERT_NE(t->GetTexture(), nullptr);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Texel(*t, i % 2, i / 2), p.At(i % 2, i / 2)) << i;
}

TEST_F(TextureTest, SolidColourTexture) {
  // {r, g, b, a} and the texel; fractions outside 0..1 are held at the ends instead of wrapping.
  const struct { float c[4]; uint32_t texel; } rows[] = {
      {{1, 1, 1, 1}, 0xFFFFFFFFu}, {{1, 0, 0, 0.5f}, 0x7FFF0000u}, {{2.0f, -1.0f, 0.5f, 1.5f}, 0xFFFF007Fu}};
  for (const auto& r : rows) {
    CTexture t;
    ASSERT_TRUE(t.CreateSolidColor(r.c[0], r.c[1], r.c[2], r.c[3]));
    EXPECT_EQ(t.GetWidth(), 1u);
    EXPECT_EQ(t.GetDesc().Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(Texel(t), r.texel);
  }
  CTexture red;
  ASSERT_TRUE(red.CreateSolidColor(1, 0, 0, 0.5f));
  headless::Controls().failTextureCreation = true;
  EXPECT_FALSE(red.CreateSolidColor(1, 1, 1, 1));
  EXPECT_EQ(red.GetTexture(), nullptr);
  EXPECT_EQ(red.GetWidth(), 0u);
}

TEST_F(TextureTest, TextureSets) {
  WritePng("A.png", 4, 0xFFFFFFFFu);
  WritePng("B.png", 4, 0xFFFFFFFFu);
  WritePng("C.png", 4, 0x80FFFFFFu, true);
  CTexture *a = m_Factory->Get("a.png"), *b = m_Factory->Get("b.png"), *c = m_Factory->Get("c.png");
  CTextureSet empty;
  EXPECT_TRUE(empty.IsOpaque());
  EXPECT_EQ(empty.GetName(), "");
  empty.Resize(0);
  EXPECT_EQ(empty.GetCount(), 0u);
  CTextureSet ab, ab2, ba;
  for (CTextureSet* s : {&ab, &ab2, &ba}) s->Resize(2);
  ab.SetTexture(0, a), ab.SetTexture(1, b);
  ab2.SetTexture(0, a), ab2.SetTexture(1, b);
  ba.SetTexture(0, b), ba.SetTexture(1, a);
  EXPECT_TRUE(ab.Equals(&ab2));
  EXPECT_FALSE(ab.Equals(&ba));
  EXPECT_FALSE(ab.Equals(nullptr));
  EXPECT_FALSE(ab.Equals(&empty));
  EXPECT_FALSE(ab.SetTexture(2, a));  // outside the set
  EXPECT_TRUE(ab.IsOpaque());
  EXPECT_EQ(ab.GetName(), "A.PNGB.PNG");
  ab.SetTexture(1, c);
  EXPECT_EQ(ab.GetName(), "A.PNGC.PNG");
  EXPECT_FALSE(ab.IsOpaque());
  // Apply binds each place to its stage, straight to the device.
  ab.Apply();
  EXPECT_EQ(Device()->BoundTexture(0), a->GetTexture());
  EXPECT_EQ(Device()->BoundTexture(1), c->GetTexture());
  empty.Apply();
  EXPECT_EQ(Device()->BoundTexture(0), nullptr);
  EXPECT_EQ(Device()->BoundTexture(1), c->GetTexture());
  // The default texture and an empty place unbind their stage.
  CTextureSet holes;
  holes.Resize(2);
  holes.SetTexture(0, m_Factory->GetDefault());
  holes.Apply();
  EXPECT_EQ(Device()->BoundTexture(0), nullptr);
  EXPECT_EQ(Device()->BoundTexture(1), nullptr);
}

TEST_F(TextureTest, FactoryGivesItsDeviceObjectsBack) {
  WritePng("Leak.png", 4, 0xFFFFFFFFu);
  const uint32_t before = Device()->LiveTextures();
  m_Factory->Get("leak.png");
  EXPECT_EQ(Device()->LiveTextures(), before + 1);
  m_Factory->Release("leak.png");
  EXPECT_EQ(Device()->LiveTextures(), before);
  m_Factory->Get("leak.png");
  delete m_Factory;
  m_Factory = nullptr;
  EXPECT_EQ(Device()->LiveTextures(), before);
}

}  // namespace
