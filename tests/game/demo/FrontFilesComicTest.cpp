// Comic descriptions from their bytes: pages and balloons as written, every
// count clamped, and what a count names that the file lacks named and left out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend/comic/ComicDescription.h"
#include "support/MissingLog.h"
#include "tools/formats/FrontEndFiles.h"

namespace {

COMIC_DESC Read(const std::string& text, const std::string& name = "Comic.dat") {
  return ReadComicDescription(reinterpret_cast<const uint8_t*>(text.data()), text.size(), name);
}

// A two-page comic as the level designers' tools wrote them.
const std::string TWO_PAGES =
    "[InitComic]\r\nPagesCount=2\r\n"
    "[Page_0]\r\nImageFile=Comics\\Intro_0.jpg\r\nBalloonsCount=2\r\n"
    "[Page_0_Balloon_0]\r\nIdText=COMIC_INTRO_0_0\r\nTextPos=400,520\r\n"
    "[Page_0_Balloon_1]\r\nIdText=COMIC_INTRO_0_1\r\nTextPos=150,40\r\n"
    "[Page_1]\r\nImageFile=Comics\\Intro_1.jpg\r\nBalloonsCount=1\r\n"
    "[Page_1_Balloon_0]\r\nIdText=COMIC_INTRO_1_0\r\nTextPos=-20, 300\r\n";

}  // namespace

TEST(FrontFilesComics, PagesAndBalloonsAsWritten) {
  const COMIC_DESC comic = Read(TWO_PAGES);
  ASSERT_EQ(comic.pages.size(), 2u);
  EXPECT_EQ(comic.pages[0].imageFile, "Comics\\Intro_0.jpg");
  ASSERT_EQ(comic.pages[0].balloons.size(), 2u);
  EXPECT_EQ(comic.pages[0].balloons[0].textId, "COMIC_INTRO_0_0");
  EXPECT_FLOAT_EQ(comic.pages[0].balloons[0].x, 400.0f);
  EXPECT_FLOAT_EQ(comic.pages[0].balloons[0].y, 520.0f);
  EXPECT_EQ(comic.pages[0].balloons[1].textId, "COMIC_INTRO_0_1");
  EXPECT_FLOAT_EQ(comic.pages[0].balloons[1].x, 150.0f);
  EXPECT_FLOAT_EQ(comic.pages[0].balloons[1].y, 40.0f);
  ASSERT_EQ(comic.pages[1].balloons.size(), 1u);
  EXPECT_FLOAT_EQ(comic.pages[1].balloons[0].x, -20.0f);
  EXPECT_FLOAT_EQ(comic.pages[1].balloons[0].y, 300.0f);

  // The generator's writer gives the same description.
  const std::string written = formats::ComicDescriptionText(
      {{"Comics\\Intro_0.jpg", {{"COMIC_INTRO_0_0", 400, 520}, {"COMIC_INTRO_0_1", 150, 40}}},
       {"Comics\\Intro_1.jpg", {{"COMIC_INTRO_1_0", -20, 300}}}});
  const COMIC_DESC again = Read(written);
  ASSERT_EQ(again.pages.size(), 2u);
  EXPECT_EQ(again.pages[1].imageFile, "Comics\\Intro_1.jpg");
  EXPECT_EQ(again.pages[0].balloons[1].textId, "COMIC_INTRO_0_1");
  EXPECT_FLOAT_EQ(again.pages[1].balloons[0].x, -20.0f);
}

TEST(FrontFilesComics, CountsAreClampedAndAMissingPositionReadsZero) {
  EXPECT_TRUE(Read("").pages.empty());
  EXPECT_TRUE(Read("[InitComic]\r\nPagesCount=0\r\n").pages.empty());
  EXPECT_TRUE(Read("[InitComic]\r\nPagesCount=-5\r\n").pages.empty());
  EXPECT_TRUE(Read("[InitComic]\r\nPagesCount=-2147483648\r\n").pages.empty());
  EXPECT_TRUE(LoadComicDescription("/nonexistent/comic.dat").pages.empty());

  // Only the pages and balloons the file has are read; those past the
  // clamped counts are not.
  for (const char* count : {"65", "1000", "2147483647", "99999999999999"}) {
    const COMIC_DESC comic = Read(std::string("[InitComic]\r\nPagesCount=") + count +
                                  "\r\n[Page_1]\r\nImageFile=b.jpg\r\nBalloonsCount=" + count +
                                  "\r\n[Page_1_Balloon_31]\r\nIdText=LAST\r\n[Page_1_Balloon_32]\r\nIdText=CUT\r\n"
                                  "[Page_64]\r\nImageFile=beyond.jpg\r\nBalloonsCount=0\r\n");
    ASSERT_EQ(comic.pages.size(), 1u) << count;
    EXPECT_EQ(comic.pages[0].imageFile, "b.jpg");
    ASSERT_EQ(comic.pages[0].balloons.size(), 1u) << count;
    EXPECT_EQ(comic.pages[0].balloons[0].textId, "LAST");
    EXPECT_FLOAT_EQ(comic.pages[0].balloons[0].x, 0.0f) << "no position reads (0, 0)";
    EXPECT_FLOAT_EQ(comic.pages[0].balloons[0].y, 0.0f);
  }
  // Balloon positions are held to what a screen can hold.
  const COMIC_DESC far = Read("[InitComic]\r\nPagesCount=1\r\n[Page_0]\r\nImageFile=a.jpg\r\nBalloonsCount=1\r\n"
                              "[Page_0_Balloon_0]\r\nIdText=X\r\nTextPos=2147483647,-2147483648\r\n");
  EXPECT_EQ(far.pages[0].balloons[0].x, 1048576.0f);
  EXPECT_EQ(far.pages[0].balloons[0].y, -1048576.0f);
  const COMIC_DESC negative =
      Read("[InitComic]\r\nPagesCount=1\r\n[Page_0]\r\nImageFile=a.jpg\r\nBalloonsCount=-3\r\n");
  ASSERT_EQ(negative.pages.size(), 1u);
  EXPECT_TRUE(negative.pages[0].balloons.empty());

  // Truncations of a good description never read more than it holds.
  for (size_t cut = 0; cut <= TWO_PAGES.size(); ++cut) {
    const COMIC_DESC comic = Read(TWO_PAGES.substr(0, cut));
    ASSERT_LE(comic.pages.size(), 2u) << cut;
    for (const COMIC_PAGE_DESC& page : comic.pages) {
      EXPECT_LE(page.balloons.size(), 2u) << cut;
    }
  }
}

// A description cut after its first page, as a damaged copy of ComicEnd.dat:
// each page or balloon its counts name and it lacks is named once, with the
// file, and only the whole ones are read.
TEST(FrontFilesComics, WhatTheCountsNameAndTheFileLacksIsNamedAndLeftOut) {
  testsupport::MissingLog log;
  const std::string whole = formats::ComicDescriptionText(
      {{"End_0.jpg", {{"END_0_0", 400, 40}, {"END_0_1", 100, 300}}}, {"End_1.jpg", {{"END_1_0", 400, 500}}},
       {"End_2.jpg", {}}});
  const std::string cut = whole.substr(0, whole.find("[Page_0_Balloon_1]"));
  const COMIC_DESC comic = Read(cut, "ComicEnd.dat");
  ASSERT_EQ(comic.pages.size(), 1u);
  EXPECT_EQ(comic.pages[0].imageFile, "End_0.jpg");
  ASSERT_EQ(comic.pages[0].balloons.size(), 1u);
  EXPECT_EQ(comic.pages[0].balloons[0].textId, "END_0_0");
  EXPECT_FLOAT_EQ(comic.pages[0].balloons[0].x, 400.0f);
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{
                             "missing: section [Page_0_Balloon_1] of comic ComicEnd.dat (BalloonsCount 2)",
                             "missing: section [Page_1] of comic ComicEnd.dat (PagesCount 3)",
                             "missing: section [Page_2] of comic ComicEnd.dat (PagesCount 3)"}));
  log.Clear();
  EXPECT_EQ(Read(cut, "ComicEnd.dat").pages.size(), 1u);
  EXPECT_TRUE(log.Lines().empty()) << "said once a run";

  // A page with no image and a balloon with no text id are left out too; the
  // whole ones after them are kept, in order.
  const COMIC_DESC gaps = Read(
      "[InitComic]\r\nPagesCount=3\r\n"
      "[Page_0]\r\nBalloonsCount=1\r\n[Page_0_Balloon_0]\r\nIdText=A\r\nTextPos=1,2\r\n"
      "[Page_1]\r\nImageFile=b.jpg\r\nBalloonsCount=2\r\n[Page_1_Balloon_0]\r\nTextPos=5,6\r\n"
      "[Page_1_Balloon_1]\r\nIdText=B\r\nTextPos=3,4\r\n"
      "[Page_2]\r\nImageFile=c.jpg\r\nBalloonsCount=0\r\n",
      "ComicTutorial.dat");
  ASSERT_EQ(gaps.pages.size(), 2u);
  EXPECT_EQ(gaps.pages[0].imageFile, "b.jpg");
  ASSERT_EQ(gaps.pages[0].balloons.size(), 1u);
  EXPECT_EQ(gaps.pages[0].balloons[0].textId, "B");
  EXPECT_FLOAT_EQ(gaps.pages[0].balloons[0].x, 3.0f);
  EXPECT_EQ(gaps.pages[1].imageFile, "c.jpg");
  EXPECT_EQ(log.Lines(),
            (std::vector<std::string>{"missing: key ImageFile of [Page_0] in comic ComicTutorial.dat",
                                      "missing: key IdText of [Page_1_Balloon_0] in comic ComicTutorial.dat"}));

  // A whole description says nothing.
  log.Clear();
  const COMIC_DESC again = Read(whole, "ComicWhole.dat");
  EXPECT_EQ(again.pages.size(), 3u);
  EXPECT_EQ(again.pages[0].balloons.size(), 2u);
  EXPECT_TRUE(log.Lines().empty());
}
