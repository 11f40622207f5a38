// "Logos.dat" read from its bytes: the way the formatted reader takes the
// items, and what a damaged list gives.
#include <gtest/gtest.h>

#include <string>

#include "frontend/screens/LogoList.h"

namespace {

std::vector<LOGO_ENTRY> Read(const std::string& text) {
  return ReadLogoList(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

// As a text editor on the original platform writes it.
const std::string TWO_LOGOS =
    "2\r\nLogo_Studio.png\r\n512\r\n256\r\n2.5\r\nlogos\\Engine logo.tga\r\n300\r\n200\r\n0\r\n";

}  // namespace

TEST(FrontFilesLogos, ItemsAreReadLineByLine) {
  const auto logos = Read(TWO_LOGOS);
  ASSERT_EQ(logos.size(), 2u);
  EXPECT_EQ(logos[0].image, "Logo_Studio.png");
  EXPECT_EQ(logos[0].width, 512);
  EXPECT_EQ(logos[0].height, 256);
  EXPECT_FLOAT_EQ(logos[0].seconds, 2.5f);
  EXPECT_EQ(logos[1].image, "logos\\Engine logo.tga") << "the rest of the line, blanks included";
  EXPECT_EQ(logos[1].width, 300);
  EXPECT_EQ(logos[1].height, 200);
  EXPECT_FLOAT_EQ(logos[1].seconds, 0.0f);

  // Bare line feeds, blank lines and blanks between items read the same;
  // a name never starts with a blank, trailing blanks stay in it.
  const auto loose = Read("\n 1 \n\n\n   a.png  \n\t640 480\n\n  1e1");
  ASSERT_EQ(loose.size(), 1u);
  EXPECT_EQ(loose[0].image, "a.png  ");
  EXPECT_EQ(loose[0].width, 640);
  EXPECT_EQ(loose[0].height, 480);
  EXPECT_FLOAT_EQ(loose[0].seconds, 10.0f);

  // A count larger than the list: only the whole logos.
  const auto more = Read("5\r\nx.png\r\n1\r\n2\r\n.5\r\n");
  ASSERT_EQ(more.size(), 1u);
  EXPECT_FLOAT_EQ(more[0].seconds, 0.5f);
  // A count smaller than the list: only that many.
  EXPECT_EQ(Read("1" + TWO_LOGOS.substr(1)).size(), 1u);
  // A name line of any length is kept whole.
  const std::string longName(100000, 'n');
  const auto huge = Read("1\n" + longName + "\n1\n1\n1\n");
  ASSERT_EQ(huge.size(), 1u);
  EXPECT_EQ(huge[0].image, longName);
  // Sizes past what an image can have are held to it.
  const auto wide = Read("1\nw.png\n2147483647\n1048577\n1\n");
  ASSERT_EQ(wide.size(), 1u);
  EXPECT_EQ(wide[0].width, 1 << 20);
  EXPECT_EQ(wide[0].height, 1 << 20);
}

TEST(FrontFilesLogos, DamagedListsGiveNoLogoOrOnlyWholeOnes) {
  for (const char* text : {"", "\r\n", "x\r\nLogo.png\r\n1\r\n1\r\n1\r\n", "-1\r\nLogo.png\r\n1\r\n1\r\n1\r\n",
                           "0\r\nLogo.png\r\n1\r\n1\r\n1\r\n", "-2147483648\n", "+\n"})
    EXPECT_TRUE(Read(text).empty()) << "'" << text << "'";
  // A name cut to nothing by a NUL byte is no name.
  EXPECT_TRUE(Read(std::string("1\n\0abc\n1\n1\n1\n", 14)).empty());
  const auto cut = Read(std::string("1\nab\0c\n1\n1\n1\n", 14));
  ASSERT_EQ(cut.size(), 1u);
  EXPECT_EQ(cut[0].image, "ab");

  // Huge counts allocate nothing from the count.
  for (const char* count : {"2147483647", "99999999999999999999", "4294967296"}) {
    const auto logos = Read(std::string(count) + TWO_LOGOS.substr(1));
    EXPECT_EQ(logos.size(), 2u) << count;
    EXPECT_LE(logos.capacity(), 4u) << count;
  }

  // A logo with an item missing or unreadable ends the list.
  const std::string first = "3\nfirst.png\n10\n10\n1\n";
  for (const char* rest :
       {"second.png\n10\n10\n", "second.png\n-10\n10\n1\n", "second.png\n10\nten\n1\n", "second.png\n10\n10\ninf\n",
        "second.png\n10\n10\nnan\n", "second.png\n10\n10\n1e999\n", "second.png\n10\n10\n-\n", "\n\n\n"}) {
    const auto logos = Read(first + rest);
    ASSERT_EQ(logos.size(), 1u) << rest;
    EXPECT_EQ(logos[0].image, "first.png");
  }

  // Every truncation of a good list gives a prefix of it: never more logos,
  // never a name or size from the wrong place.
  const auto whole = Read(TWO_LOGOS);
  for (size_t cut = 0; cut <= TWO_LOGOS.size(); ++cut) {
    const auto logos = Read(TWO_LOGOS.substr(0, cut));
    ASSERT_LE(logos.size(), whole.size()) << cut;
    for (size_t i = 0; i < logos.size(); ++i) {
      EXPECT_EQ(logos[i].image, whole[i].image) << cut;
      EXPECT_EQ(logos[i].width, whole[i].width) << cut;
      EXPECT_EQ(logos[i].height, whole[i].height) << cut;
    }
  }
  EXPECT_TRUE(LoadLogoList("/nonexistent/Logos.dat").empty());
}
