// The grate description and the parts file: literal files as a C program
// writes them, our writers' round trip, and damaged input that keeps the
// defaults; the objects' loaders on missing and odd files.
#include <gtest/gtest.h>

#include <string>

#include "game/mechanisms/MechanismFiles.h"
#include "game/mechanisms/MechanismFixture.h"
#include "tools/formats/MechanismFiles.h"

namespace {

using MechanismFiles::ParsePushableParts;
using MechanismFiles::ParseWireGrateDescription;
using MechanismFiles::PUSHABLE_PARTS;
using MechanismFiles::WIRE_GRATE_DESCRIPTION;

int ParseGrate(const std::string& text, WIRE_GRATE_DESCRIPTION& out) {
  return ParseWireGrateDescription(reinterpret_cast<const uint8_t*>(text.data()), text.size(), out);
}
bool ParseParts(const std::string& text, PUSHABLE_PARTS& out) {
  return ParsePushableParts(reinterpret_cast<const uint8_t*>(text.data()), text.size(), out);
}

// As fprintf with "%s\n" and "%f\n" writes it, with Windows line ends.
const char kGrate[] =
    "Reja.X\r\nRejaAbierta.X\r\nRejaExplosion.pfx\r\n240.000000\r\n16.500000\r\n1\r\n"
    "Reja_Col0.dat\r\nReja_Col1.dat\r\n";

TEST(WireGrateDescription, ReadsEveryFieldOfALiteralFile) {
  WIRE_GRATE_DESCRIPTION d;
  EXPECT_EQ(ParseGrate(kGrate, d), 8);
  EXPECT_EQ(d.closedMesh, "Reja.X");
  EXPECT_EQ(d.openedMesh, "RejaAbierta.X");
  EXPECT_EQ(d.explosionEffectFile, "RejaExplosion.pfx");
  EXPECT_FLOAT_EQ(d.closedBoxWidth, 240.0f);
  EXPECT_FLOAT_EQ(d.closedBoxDepth, 16.5f);
  EXPECT_TRUE(d.breakable);
  EXPECT_EQ(d.openedShapesFileA, "Reja_Col0.dat");
  EXPECT_EQ(d.openedShapesFileB, "Reja_Col1.dat");
  // Only 1 is breakable.
  std::string two = kGrate;
  two.replace(two.find("\r\n1\r\n"), 5, "\r\n2\r\n");
  WIRE_GRATE_DESCRIPTION other;
  EXPECT_EQ(ParseGrate(two, other), 8);
  EXPECT_FALSE(other.breakable);
}

TEST(WireGrateDescription, OurWriterWritesWhatItReads) {
  WIRE_GRATE_DESCRIPTION d;
  d.closedMesh = "A.X";
  d.explosionEffectFile = "E.pfx";
  d.closedBoxWidth = 300.0f;
  d.closedBoxDepth = 20.0f;
  d.breakable = true;
  d.openedShapesFileA = "S0.dat";
  d.openedShapesFileB = "S1.dat";
  const std::string text = formats::WireGrateDescriptionText(d);
  EXPECT_EQ(text, "A.X\nWireGrateOpened.X\nE.pfx\n300.000000\n20.000000\n1\nS0.dat\nS1.dat\n");
  WIRE_GRATE_DESCRIPTION back;
  EXPECT_EQ(ParseGrate(text, back), 8);
  EXPECT_EQ(back.openedShapesFileB, "S1.dat");
}

TEST(WireGrateDescription, ADamagedFileKeepsTheFieldsItCouldNotRead) {
  const std::string whole = kGrate;
  // Cut after each field: the rest keep their defaults.
  size_t cut = 0;
  for (int fields = 0; fields < 8; ++fields) {
    WIRE_GRATE_DESCRIPTION d;
    EXPECT_EQ(ParseGrate(whole.substr(0, cut), d), fields);
    if (fields < 1) {
      EXPECT_EQ(d.closedMesh, "WireGrate.X");
    }
    if (fields < 2) {
      EXPECT_EQ(d.openedMesh, "WireGrateOpened.X");
    }
    if (fields < 4) {
      EXPECT_EQ(d.closedBoxWidth, 0.0f);
    }
    if (fields < 6) {
      EXPECT_FALSE(d.breakable);
    }
    if (fields < 8) {
      EXPECT_TRUE(d.openedShapesFileB.empty());
    }
    cut = whole.find('\n', cut) + 1;
  }
  WIRE_GRATE_DESCRIPTION d;
  EXPECT_EQ(ParseGrate("A.X B.X C.pfx wide 20 1 S0 S1", d), 3);  // not a number
  EXPECT_EQ(d.closedBoxWidth, 0.0f);
  EXPECT_EQ(ParseGrate("A.X B.X C.pfx 1e39 20 1 S0 S1", d), 3);  // not a float
  EXPECT_EQ(ParseGrate("A.X B.X C.pfx nan 20 1 S0 S1", d), 3);
  EXPECT_EQ(ParseGrate("A.X B.X C.pfx 1 2 99999999999 S0 S1", d), 5);  // beyond int32
  const std::string longName(300, 'n');
  WIRE_GRATE_DESCRIPTION named;
  EXPECT_EQ(ParseGrate(longName + "\nB.X\n", named), 0);
  EXPECT_EQ(named.closedMesh, "WireGrate.X");
  EXPECT_EQ(ParseGrate(std::string(259, 'n') + "\n", named), 1);  // 259 bytes still fit
  EXPECT_EQ(named.closedMesh.size(), 259u);
  EXPECT_EQ(ParseGrate(std::string("A.X\0B.X\n", 8), named), 0);
  EXPECT_EQ(ParseWireGrateDescription(nullptr, 10, named), 0);
}

const char kParts[] = "156.000000\n3\nRueda1.X\n-50.000000\nRueda2.X\n0.000000\nRueda3.X\n50.500000\n";

TEST(PushableParts, ReadsALiteralFile) {
  PUSHABLE_PARTS p;
  ASSERT_TRUE(ParseParts(kParts, p));
  EXPECT_FLOAT_EQ(p.partHeight, 156.0f);
  ASSERT_EQ(p.parts.size(), 3u);
  EXPECT_EQ(p.parts[2].meshFile, "Rueda3.X");
  EXPECT_FLOAT_EQ(p.parts[2].x, 50.5f);
  EXPECT_FLOAT_EQ(p.parts[0].x, -50.0f);
  const std::string written = formats::PushablePartsText(p);
  EXPECT_EQ(written, kParts);
}

TEST(PushableParts, TheCountIsReadAsAnIntegerOfAnyBaseAsCReadsIt) {
  std::string eight = "10\n010\n";
  for (int i = 0; i < 8; ++i) eight += "P.X " + std::to_string(i) + "\n";
  const std::pair<std::string, size_t> cases[] = {
      {"10\n0x2\nA.X\n1\nB.X\n2\n", 2u}, {"10\n0X1\nA.X 1\n", 1u}, {eight, 8u}, {"10\n+1\nA.X 1\n", 1u}};
  for (const auto& c : cases) {
    PUSHABLE_PARTS p;
    EXPECT_TRUE(ParseParts(c.first, p)) << c.first;
    EXPECT_EQ(p.parts.size(), c.second) << c.first;
  }
  PUSHABLE_PARTS p;
  EXPECT_TRUE(ParseParts("10\n08\nA.X 1\n", p));  // octal 0, and the "8" stays unread
  EXPECT_TRUE(p.parts.empty());
}

TEST(PushableParts, BadCountsShortFilesAndLongNamesGiveNoParts) {
  const std::string bad[] = {
      "156\n-1\n",
      "156\n1000000000\nA.X\n1\n",
      "156\n257\n",
      "156\n2\nA.X\n1\n",  // one part short
      "156\n1\nA.X\n",     // no x
      "156\n1\nA.X\nleft\n",
      "tall\n1\nA.X\n1\n",
      "156\n1.5\nA.X\n1\n",
      "156\n1\n" + std::string(300, 'a') + "\n1\n",
      "",
  };
  for (const std::string& text : bad) {
    PUSHABLE_PARTS p;
    p.partHeight = 12.0f;
    EXPECT_FALSE(ParseParts(text, p)) << text.substr(0, 40);
    EXPECT_TRUE(p.parts.empty());
    EXPECT_EQ(p.partHeight, 12.0f);
  }
  PUSHABLE_PARTS many;
  std::string text = "10\n256\n";
  for (int i = 0; i < 256; ++i) text += "P.X " + std::to_string(i) + "\n";
  EXPECT_TRUE(ParseParts(text, many));
  EXPECT_EQ(many.parts.size(), 256u);
}

class MechanismLoaderTest : public mechtest::MechanismTest {};

TEST_F(MechanismLoaderTest, AMissingOrShortPartsFileGivesABlockWithoutParts) {
  CPushable block;
  EXPECT_FALSE(block.LoadFrames("NoSuchParts.txt"));
  EXPECT_TRUE(block.GetParts().empty());
  EXPECT_FLOAT_EQ(block.GetPartHeight(), 156.0f);
  WriteData("Short.txt", "40\n2\nPushableWheel1.X\n5\n");
  platform::ClearPathCache();
  EXPECT_FALSE(block.LoadFrames("Short.txt"));
  EXPECT_TRUE(block.GetParts().empty());
  EXPECT_TRUE(block.LoadFrames("Pushable_Parts.txt"));
  EXPECT_EQ(block.GetParts().size(), 2u);
  EXPECT_NE(block.GetParts().front().GetMesh(), nullptr);
}

TEST_F(MechanismLoaderTest, APartHeightOfZeroRollsNothing) {
  WriteData("Flat.txt", "0\n1\nPushableWheel1.X\n10\n");
  platform::ClearPathCache();
  CPushable block;
  ASSERT_TRUE(block.LoadFrames("Flat.txt"));
  block.SetSize(200.0f, 150.0f, 0.0f);
  block.SetTrack(D3DXVECTOR3(0.0f, 0.0f, 0.0f), D3DXVECTOR3(100.0f, 0.0f, 0.0f));
  block.UpdateTransform();
  block.PushForward();
  for (int i = 0; i < 5; ++i) block.Step();
  EXPECT_EQ(block.GetParts().front().GetRotation().x, 0.0f);
  EXPECT_GT(block.GetPosition().x, 0.0f);
}

TEST_F(MechanismLoaderTest, AGrateDescriptionThatEndsEarlyKeepsTheRestAsItWas) {
  WriteData("Half_Desc.txt", "WireGrateOpened.X\nWireGrate.X\nSpark.pfx\n120.5\n");
  platform::ClearPathCache();
  CWireGrate grate;
  EXPECT_FALSE(grate.LoadFromFile("Half_Desc.txt"));
  EXPECT_EQ(grate.GetClosedMesh(), "WireGrateOpened.X");
  EXPECT_EQ(grate.GetExplosionEffectFile(), "Spark.pfx");
  EXPECT_FLOAT_EQ(grate.GetClosedBoxWidth(), 120.5f);
  EXPECT_FLOAT_EQ(grate.GetClosedBoxOffset(), 20.0f);  // not given: as deep as the closed mesh stands
  EXPECT_FALSE(grate.IsBreakable());
  EXPECT_NE(grate.GetSprite().GetMesh(), nullptr);  // the closed mesh at once
  EXPECT_FALSE(grate.LoadFromFile("Missing_Desc.txt"));
  EXPECT_EQ(grate.GetClosedMesh(), "WireGrateOpened.X");
}

}  // namespace
