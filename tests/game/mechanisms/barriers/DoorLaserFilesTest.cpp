// The door description and durations readers on literal bytes as the level
// editors write them, on damaged, truncated, huge and negative input, and
// against the writer the demo data uses.
#include <gtest/gtest.h>

#include <string>

#include "game/mechanisms/barriers/DoorLaserFiles.h"
#include "tools/formats/DoorLaserTexts.h"

namespace {

using DoorLaserFiles::ParseDoorDescription;
using DoorLaserFiles::ParseDurations;

bool Door(const std::string& text, DOOR_DESCRIPTION& out) {
  return ParseDoorDescription(reinterpret_cast<const uint8_t*>(text.data()), text.size(), out);
}
std::vector<float> Durations(const std::string& text) {
  return ParseDurations(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

TEST(DoorDescriptionTest, ReadsTheMeshLineAndTheTwoSizes) {
  DOOR_DESCRIPTION d;
  ASSERT_TRUE(Door("Puerta Roja.X\n300.000000\n40.5\n", d));
  EXPECT_EQ(d.meshName, "Puerta Roja.X");  // the whole line, spaces kept
  EXPECT_EQ(d.width, 300.0f);
  EXPECT_EQ(d.depth, 40.5f);
  ASSERT_TRUE(Door("Door.X\r\n 250 \t 60", d));  // other line ends, no final newline
  EXPECT_EQ(d.meshName, "Door.X");
  EXPECT_EQ(d.depth, 60.0f);
  ASSERT_TRUE(Door(formats::DoorDescriptionText("SlidingDoor.X", 400.0f, 40.0f), d));
  EXPECT_EQ(d.meshName, "SlidingDoor.X");
  EXPECT_EQ(d.width, 400.0f);
}

TEST(DoorDescriptionTest, AFileNotReadWholeKeepsTheValues) {
  const std::string bad[] = {
      "",                             // empty
      "\n300\n40\n",                  // no mesh line
      "Door.X\n300\n",                // no depth
      "Door.X\n300",                  // truncated
      "Door.X\nwide\n40\n",           // not a number
      "Door.X\n1e39\n40\n",           // not finite
      "Door.X\nnan\n40\n",
      std::string(260, 'a') + "\n1\n1\n",  // a name past 259 bytes
      std::string("Do\0or.X\n1\n1\n", 13),
  };
  for (const std::string& text : bad) {
    SCOPED_TRACE(text.substr(0, 20));
    DOOR_DESCRIPTION d;
    d.meshName = "Kept.X";
    d.width = 7.0f;
    d.depth = 8.0f;
    EXPECT_FALSE(Door(text, d));
    EXPECT_EQ(d.meshName, "Kept.X");
    EXPECT_EQ(d.width, 7.0f);
    EXPECT_EQ(d.depth, 8.0f);
  }
  DOOR_DESCRIPTION d;
  EXPECT_TRUE(Door(std::string(259, 'a') + "\n1\n1\n", d));  // exactly at the cap
}

TEST(DurationsTest, ReadsTheCountedPositiveDurations) {
  EXPECT_EQ(Durations("4\n1.5\n0.5\n1.0\n0.5\n"), (std::vector<float>{1.5f, 0.5f, 1.0f, 0.5f}));
  EXPECT_EQ(Durations("3 0.1 0.2 0.3 0.4"), (std::vector<float>{0.1f, 0.2f, 0.3f}));  // the count rules
  EXPECT_EQ(Durations(formats::DurationsText({0.25f, 2.0f})), (std::vector<float>{0.25f, 2.0f}));
  // Non-positive entries are dropped; a short file keeps what it gave.
  EXPECT_EQ(Durations("4\n0.5\n0\n-1\n0.75\n"), (std::vector<float>{0.5f, 0.75f}));
  EXPECT_EQ(Durations("5\n0.5\n0.25\n"), (std::vector<float>{0.5f, 0.25f}));
  EXPECT_EQ(Durations("3\n0.5\nx\n0.25\n"), (std::vector<float>{0.5f}));
  // Entries below a millisecond are left out too, and counted.
  const std::string shortOnes = "4 1e-10 0.0009 0.001 -1";
  int32_t refused = -1;
  EXPECT_EQ(ParseDurations(reinterpret_cast<const uint8_t*>(shortOnes.data()), shortOnes.size(), &refused),
            (std::vector<float>{0.001f}));
  EXPECT_EQ(refused, 2);
}

TEST(DurationsTest, NothingToBlinkByGivesAnEmptyList) {
  for (const char* text : {"", "0\n", "-5\n", "2 0 0\n", "abc\n", "99999999999\n0.5\n", "1\n", "1 1e-10"})
    EXPECT_TRUE(Durations(text).empty()) << text;
}

TEST(DurationsTest, AHugeCountReadsAtMostTheCapAndAllocatesOnlyWhatIsThere) {
  std::string text = "2147483647\n";
  for (int i = 0; i < 1100; ++i) text += "0.5\n";
  const std::vector<float> read = Durations(text);
  EXPECT_EQ(read.size(), static_cast<size_t>(DoorLaserFiles::MAX_DURATIONS));
  EXPECT_EQ(Durations("2147483647\n0.5\n").size(), 1u);
}

}  // namespace
