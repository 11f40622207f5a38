#include <cstring>
#include <tuple>

#include "engine/scene/SceneManager.h"
#include "game/GameTestSupport.h"
#include "game/triggers/TriggerFile.h"
#include "game/triggers/TriggerManager.h"
#include "tools/formats/TriggerFile.h"

namespace {

using formats::TriggerFileRecord;
using Bytes = std::vector<uint8_t>;

Bytes Hex(const char* text) {
  Bytes out;
  for (const char* p = text; *p;) {
    if (*p == ' ') {
      ++p;
      continue;
    }
    out.push_back(static_cast<uint8_t>(std::stoi(std::string(p, 2), nullptr, 16)));
    p += 2;
  }
  return out;
}

void Append(Bytes& out, const Bytes& more) { out.insert(out.end(), more.begin(), more.end()); }
void AppendText(Bytes& out, const char* text) { out.insert(out.end(), text, text + std::strlen(text) + 1); }

bool Parse(const Bytes& bytes, std::vector<TRIGGER_RECORD>& records) {
  return ParseTriggerFile(bytes.data(), bytes.size(), records);
}

// The goal circle as a level editor writes it: one walk-in circle "GOAL"
// of radius 150 at (1000, 0, 0) running Tut_Goal.lua.
Bytes GoalFileBytes() {
  Bytes b = Hex("01000000 00000000 0C000000");
  AppendText(b, "Tut_Goal.lua");
  Append(b, Hex("04000000"));
  AppendText(b, "GOAL");
  Append(b, Hex("00007A44 00000000 00000000 01000000 00001643 00000000"));
  return b;
}

// Every field of a record: shape, script, name, place, enabled, type, then
// radius or width and height.
auto Fields(const TRIGGER_RECORD& r) {
  return std::make_tuple(r.circle, r.script, r.name, r.x, r.y, r.z, r.enabled, r.type, r.radius, r.width, r.height);
}

TEST(TriggerFileFormat, TheWriterAndTheReaderAgreeOnThePinnedBytes) {
  const Bytes expected = GoalFileBytes();
  ASSERT_EQ(expected.size(), 58u);
  EXPECT_EQ(formats::TriggerFileBytes(
                {TriggerFileRecord::MakeCircle("Tut_Goal.lua", "GOAL", 1000.0f, 0.0f, 0.0f, 150.0f)}),
            expected);
  std::vector<TRIGGER_RECORD> records;
  ASSERT_TRUE(Parse(expected, records));
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(Fields(records[0]), std::make_tuple(true, std::string("Tut_Goal.lua"), std::string("GOAL"), 1000.0f,
                                                0.0f, 0.0f, true, 0u, 150.0f, 0.0f, 0.0f));
}

TEST(TriggerFileFormat, ParsesARectangleWithOddShapeEnabledAndTypeValues) {
  // Shape 7 is a rectangle, enabled 2 is off, type 5 is walk-in; an empty
  // script name and trailing bytes are accepted.
  Bytes b = Hex("01000000 07000000 00000000 00 03000000");
  AppendText(b, "Box");
  Append(b, Hex("000080BF 00002041 0000C842 02000000 00004842 0000A040 05000000 DEADBEEF"));
  std::vector<TRIGGER_RECORD> records;
  ASSERT_TRUE(Parse(b, records));
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(Fields(records[0]), std::make_tuple(false, std::string(), std::string("Box"), -1.0f, 10.0f, 100.0f,
                                                false, 0u, 0.0f, 50.0f, 5.0f));
}

std::vector<TriggerFileRecord> EveryVariety() {
  return {
      TriggerFileRecord::MakeCircle("a.lua", "Walk", 1.5f, -2.0f, 3.0f, 10.0f),
      TriggerFileRecord::MakeCircle("b.lua", "ActCircle", 0.0f, 0.0f, 0.0f, 0.5f, TriggerFileRecord::Action, false),
      TriggerFileRecord::MakeRectangle("c.lua", "Rect", -100.0f, 50.0f, 0.0f, 20.0f, 30.0f),
      TriggerFileRecord::MakeRectangle("", "ActRect", 7.0f, 8.0f, 9.0f, 1.0f, 2.0f, TriggerFileRecord::Action, false),
      TriggerFileRecord::MakeCircle(std::string(4096, 's'), "", 0.0f, 0.0f, 0.0f, 1.0f),
  };
}

TEST(TriggerFileFormat, EveryRecordVarietyRoundTrips) {
  const std::vector<TriggerFileRecord> written = EveryVariety();
  std::vector<TRIGGER_RECORD> read;
  ASSERT_TRUE(Parse(formats::TriggerFileBytes(written), read));
  ASSERT_EQ(read.size(), written.size());
  for (size_t i = 0; i < read.size(); ++i) {
    const TriggerFileRecord& w = written[i];
    const bool circle = w.shape == TriggerFileRecord::Circle;
    EXPECT_EQ(Fields(read[i]), std::make_tuple(circle, w.script, w.name, w.x, w.y, w.z, w.enabled,
                                               static_cast<uint32_t>(w.type), circle ? w.radius : 0.0f,
                                               circle ? 0.0f : w.width, circle ? 0.0f : w.height))
        << i;
  }
  std::vector<TRIGGER_RECORD> none;
  EXPECT_TRUE(Parse(formats::TriggerFileBytes({}), none));
  EXPECT_TRUE(none.empty());
}

TEST(TriggerFileFormat, EveryTruncationFailsAndKeepsTheWholeRecordsBefore) {
  const std::vector<TriggerFileRecord> written = EveryVariety();
  const Bytes full = formats::TriggerFileBytes(written);
  // Where each record ends, to know how many whole records a cut keeps.
  std::vector<size_t> ends;
  for (size_t n = 1; n <= written.size(); ++n) {
    std::vector<TriggerFileRecord> prefix(written.begin(), written.begin() + n);
    ends.push_back(formats::TriggerFileBytes(prefix).size());
  }
  for (size_t cut = 0; cut < full.size(); ++cut) {
    const Bytes part(full.begin(), full.begin() + cut);
    std::vector<TRIGGER_RECORD> records;
    std::string error;
    ASSERT_FALSE(ParseTriggerFile(part.data(), part.size(), records, &error)) << cut;
    EXPECT_FALSE(error.empty());
    size_t whole = 0;
    while (whole < ends.size() && ends[whole] <= cut) ++whole;
    ASSERT_EQ(records.size(), whole) << cut;
  }
}

// Writes count, then a record whose script length field is `length`.
Bytes WithLengthField(int32_t count, uint32_t length) {
  Bytes b = formats::TriggerFileBytes(
      {TriggerFileRecord::MakeCircle("first.lua", "FIRST", 0.0f, 0.0f, 0.0f, 1.0f)});
  const uint32_t c = static_cast<uint32_t>(count);
  for (int i = 0; i < 4; ++i) b[i] = static_cast<uint8_t>(c >> (8 * i));
  Append(b, Hex("00000000"));
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(length >> (8 * i)));
  AppendText(b, "x.lua");
  return b;
}

TEST(TriggerFileFormat, HugeAndNegativeCountsAndLengthsFailCleanly) {
  std::vector<TRIGGER_RECORD> records;
  EXPECT_FALSE(Parse(Hex("FFFFFFFF"), records));
  EXPECT_TRUE(records.empty());
  EXPECT_FALSE(Parse(Hex("00000080 00000000"), records));  // INT32_MIN
  EXPECT_TRUE(records.empty());
  // A huge count over one record: that record, then a clean stop.
  Bytes huge = GoalFileBytes();
  huge[0] = 0xFF, huge[1] = 0xFF, huge[2] = 0xFF, huge[3] = 0x7F;
  EXPECT_FALSE(Parse(huge, records));
  EXPECT_EQ(records.size(), 1u);
  EXPECT_LT(records.capacity(), 16u);  // nothing reserved from the count
  for (uint32_t length : {0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 4097u, 6u}) {
    SCOPED_TRACE(length);
    records.clear();
    EXPECT_FALSE(Parse(WithLengthField(2, length), records));
    ASSERT_EQ(records.size(), 1u);  // the record before the damage stays
    EXPECT_EQ(records[0].name, "FIRST");
  }
  // The right length parses on (the record is then cut short).
  records.clear();
  EXPECT_FALSE(Parse(WithLengthField(2, 5u), records));
  EXPECT_EQ(records.size(), 1u);
}

TEST(TriggerFileFormat, StringsNeedTheirTerminatingZero) {
  Bytes b = GoalFileBytes();
  b[12 + 12] = 'X';  // the 0 after "Tut_Goal.lua"
  std::vector<TRIGGER_RECORD> records;
  std::string error;
  EXPECT_FALSE(ParseTriggerFile(b.data(), b.size(), records, &error));
  EXPECT_NE(error.find("terminated"), std::string::npos);
  // A 0 inside the string ends it there.
  b = GoalFileBytes();
  b[12 + 3] = 0;
  ASSERT_TRUE(Parse(b, records));
  EXPECT_EQ(records[0].script, "Tut");
}

class TriggerLoadTest : public gametest::ScriptedTest {
 protected:
  void SetUp() override {
    ScriptedTest::SetUp();
    Nembra::g_pSceneManager = new Nembra::CSceneManager;
  }
  void TearDown() override {
    triggers.Clear();
    delete Nembra::g_pSceneManager;
    Nembra::g_pSceneManager = nullptr;
    ScriptedTest::TearDown();
  }
  CTriggerManager triggers;
};

TEST_F(TriggerLoadTest, LoadsFromTheDataFolderAndAppends) {
  const Bytes first = formats::TriggerFileBytes(EveryVariety());
  WriteData("Level_Triggers.dat", std::string(first.begin(), first.end()));
  const Bytes second = GoalFileBytes();
  WriteData("More_Triggers.dat", std::string(second.begin(), second.end()));
  EXPECT_TRUE(triggers.LoadTriggers("level_triggers.DAT"));
  EXPECT_EQ(triggers.CircularCount(), 3u);
  EXPECT_EQ(triggers.RectangularCount(), 2u);
  ASSERT_NE(triggers.FindRectangular("actrect"), nullptr);
  EXPECT_FALSE(triggers.FindRectangular("actrect")->IsEnabled());
  EXPECT_EQ(triggers.FindRectangular("actrect")->GetType(), Nembra::TRIGGER_ACTION);
  EXPECT_FLOAT_EQ(triggers.FindRectangular("rect")->GetMinX(), -110.0f);
  EXPECT_TRUE(triggers.LoadTriggers("More_Triggers.dat"));
  EXPECT_EQ(triggers.CircularCount(), 4u);
  EXPECT_TRUE(errors.empty());
  EXPECT_FALSE(triggers.LoadTriggers("Absent_Triggers.dat"));
  EXPECT_EQ(errors.size(), 1u);
  EXPECT_EQ(triggers.CircularCount(), 4u);
}

TEST_F(TriggerLoadTest, ADamagedFileKeepsTheTriggersBeforeTheDamage) {
  const Bytes full = formats::TriggerFileBytes(EveryVariety());
  const Bytes cut(full.begin(), full.end() - 3);
  WriteData("Cut.dat", std::string(cut.begin(), cut.end()));
  EXPECT_FALSE(triggers.LoadTriggers("Cut.dat"));
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("record 4"), std::string::npos) << errors[0];
  EXPECT_EQ(triggers.CircularCount() + triggers.RectangularCount(), 4u);
}

}  // namespace
