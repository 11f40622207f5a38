// The level files pinned by their bytes: collision, enemy-generator,
// wire-grate shape and items files written out by hand, read into records,
// and the writer giving the same bytes back; the test level round-trips.
#include <gtest/gtest.h>

#include <cmath>

#include "fuzz/LevelFileSamples.h"
#include "game/collision/CollisionShape.h"
#include "game/files/LevelFiles.h"
#include "game/files/LevelBytes.h"
#include "tools/formats/LevelFiles.h"

using levelbytes::Hex;

namespace {

// Floats used below: 0000803F 1.0, 00000040 2.0, 0000003F 0.5, 00002041 10.0,
// 00004842 50.0, 00005C42 55.0, 0000C842 100.0, 00001643 150.0, 00004843 200.0,
// 00009643 300.0, and negatives with the top bit set (0000C8C2 -100.0).
const char* const kZeroPair = "00000000 00000000 00000000 00000000 00000000 00000000";

TEST(LevelFiles, CollisionFileOfOneClosedSquareIsSixtyEightBytes) {
  const std::vector<uint8_t> literal = Hex(
      "01000000 05000000"
      " 0000C842 0000C842 00000000"
      " 0000C8C2 0000C842 00000000"
      " 0000C8C2 0000C8C2 00000000"
      " 0000C842 0000C8C2 00000000"
      " 0000C842 0000C842 00000000");
  ASSERT_EQ(literal.size(), 68u);
  COLLISION_FILE square;
  square.shapes.push_back(formats::ClosedShape({{100, 100, 0}, {-100, 100, 0}, {-100, -100, 0}, {100, -100, 0}}));
  EXPECT_EQ(formats::CollisionFileBytes(square), literal);

  COLLISION_FILE read;
  ASSERT_TRUE(ParseCollisionFile(literal, read));
  ASSERT_EQ(read.shapes.size(), 1u);
  const CCollisionShape shape(read.shapes[0]);
  ASSERT_EQ(shape.GetVertices().size(), 5u);
  EXPECT_EQ(shape.GetVertices()[2], D3DXVECTOR3(-100, -100, 0));
  EXPECT_EQ(shape.GetEdges().size(), 4u);
  EXPECT_FLOAT_EQ(shape.GetBoundsRadius(), 100.0f * std::sqrt(2.0f));
}

TEST(LevelFiles, EnemyGeneratorFilePinnedAndCountsBelowOneRejected) {
  const std::vector<uint8_t> literal = Hex(
      "01000000"
      " 01000000 32000000 01000000  03000000 1E000000 00000000  00000000 14000000 02000000"
      " 0000C842 00004843 00000000  0000803F  05000000 'North' 00");
  ENEMY_GENERATOR_FILE read;
  ASSERT_TRUE(ParseEnemyGeneratorFile(literal, read));
  ASSERT_EQ(read.generators.size(), 1u);
  const ENEMY_GENERATOR_RECORD& g = read.generators[0];
  const int options[3][3] = {{1, 50, 1}, {3, 30, 0}, {0, 20, 2}};
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(std::make_tuple(g.options[i].type, g.options[i].percent, g.options[i].randomFacing),
              std::make_tuple(options[i][0], options[i][1], options[i][2])) << i;
  EXPECT_EQ(std::make_tuple(g.position.x, g.position.y, g.facing, g.group),
            std::make_tuple(100.0f, 200.0f, 1.0f, "North"));
  EXPECT_EQ(formats::EnemyGeneratorFileBytes(read), literal);

  for (const char* count : {"00000000", "FFFFFFFF"}) {
    ENEMY_GENERATOR_FILE untouched = read;
    EXPECT_FALSE(ParseEnemyGeneratorFile(Hex(count), untouched)) << count;
    std::vector<uint8_t> withRecord = literal;
    const std::vector<uint8_t> c = Hex(count);
    std::copy(c.begin(), c.end(), withRecord.begin());
    EXPECT_FALSE(ParseEnemyGeneratorFile(withRecord, untouched)) << count;
    EXPECT_EQ(untouched.generators.size(), 1u);
  }
}

TEST(LevelFiles, WireGrateShapeFileIsALeadingIntAndTwoShapes) {
  const std::vector<uint8_t> literal = Hex(
      "02000000"
      " 02000000 000048C2 00002041 00000000 00004842 00002041 00000000"
      " 01000000 00000000 00000000 00000000");
  WIRE_GRATE_SHAPE_FILE read;
  ASSERT_TRUE(ParseWireGrateShapeFile(literal, read));
  EXPECT_EQ(read.leading, 2);
  ASSERT_EQ(read.shapes[0].vertices.size(), 2u);
  EXPECT_EQ(std::make_tuple(read.shapes[0].vertices[0].x, read.shapes[0].vertices[1].y),
            std::make_tuple(-50.0f, 10.0f));
  EXPECT_EQ(read.shapes[1].vertices.size(), 1u);
  EXPECT_EQ(formats::WireGrateShapeFileBytes(read), literal);
  // One shape only: short.
  EXPECT_FALSE(ParseWireGrateShapeFile(Hex("02000000 01000000 00000000 00000000 00000000"), read));
}

TEST(LevelFiles, AllZeroItemsFileHoldsNothing) {
  const std::vector<uint8_t> zeros(52, 0);
  ITEMS_FILE read;
  ASSERT_TRUE(ParseItemsFile(zeros, read));
  EXPECT_TRUE(read.items.empty() && read.links.empty() && read.waveWeapons.empty());
  EXPECT_EQ(formats::ItemsFileBytes(ITEMS_FILE()), zeros);
  // Negative section counts mean no records, as 0 does.
  std::vector<uint8_t> negative = zeros;
  for (size_t i = 0; i < 4; ++i) negative[12 + i] = 0xFF;
  EXPECT_TRUE(ParseItemsFile(negative, read));
  // Twelve sections are not enough; a fourteenth is left unread.
  EXPECT_FALSE(ParseItemsFile(std::vector<uint8_t>(48, 0), read));
  EXPECT_TRUE(ParseItemsFile(std::vector<uint8_t>(56, 0), read));
}

// One record in every section, the door kinds of a roof, and all five forms
// of a node reference, written as the level editor writes them.
std::vector<uint8_t> HandWrittenItems() {
  const std::string zp = kZeroPair;
  return Hex(
      // 1 items: a kind 0 with its mesh, a kind 1 with its sub-kind
      "02000000"
      " 00000000 07000000 'Crate.X' 00 00000000 00"
      "   00000000 00000000 00000000 0000C842 00004843 00000000"
      " 01000000 02000000 05000000 'H.lua' 00 " + zp +
      // 2 boxes: required power 3, n = 2, a kind 4 item, script, turned by 1.0
      " 01000000"
      " 03000000 02000000 04000000 00000000 00 " + zp +
      "   05000000 'B.lua' 00 00000000 00000000 0000803F 00000000 00000000 00000000"
      // 3 circuit objects: a receptor (flag 1), a generator (flag 0)
      " 02000000"
      " 01000000 01000000 09000000 14000000 00000000 00 " + zp +
      " 00000000 01000000 0A000000 0A000000 05000000 'G.lua' 00 " + zp +
      // 4 doors
      " 01000000 04000000 00000000 00 05000000 'D.txt' 00 " + zp +
      // 5 open/close doors: name, open script, close script, description, enabled
      " 01000000 04000000 'gate' 00 00000000 00 00000000 00 05000000 'S.txt' 00 01000000 " + zp +
      // 6 roofs: one door entry of kind 2 (nothing follows it), position (55, 0, 0)
      " 01000000 03000000 'R.X' 00 01000000 02000000"
      "   00000000 00000000 00000000 00005C42 00000000 00000000"
      // 7 links
      " 03000000"
      //   new connector 30 at (100, 0, 0)  <->  receptor or generator 99
      "   00000000 01000000 1E000000 00000000 00000000 00000000 0000C842 00000000 00000000"
      "   01000000 00000000 63000000 " + zp +
      //   connector 30  <->  new generator (polarity 0, capacity 5, id 11)
      "   00000000 00000000 1E000000"
      "   01000000 01000000 00000000 00000000 05000000 0B000000 00000000 00 " + zp + " " + zp +
      //   receptor or generator 10  <->  new receptor (colour 0, id 21)
      "   01000000 00000000 0A000000"
      "   01000000 01000000 01000000 00000000 00000000 15000000 00000000 00 " + zp + " " + zp +
      // 8 wire grates
      " 01000000 05000000 'W.txt' 00 00000000 00 " + zp +
      // 9 barrels: at (0, -100, 0)
      " 01000000 00000000 00000000 00000000 00000000 0000C8C2 00000000"
      // 10 targets: name, colour 5, hit limit 3, script
      " 01000000 04000000 'left' 00 05000000 03000000 00000000 00 " + zp +
      // 11 pushables: mesh, length 300, width 150, start offset 0.5, names,
      //    start (0, 0, 0), end (100, 0, 0), parts file, unused pair
      " 01000000 03000000 'P.X' 00 00009643 00001643 0000003F 01000000 'F' 00 00000000 00"
      "   00000000 00000000 00000000 0000C842 00000000 00000000 00000000 00 " + zp +
      // 12 lasers: name, on 1, type 2, script, emitter variant 1, stopped 0,
      //    range 100, offset 0.5, speed 2, intermittent 1, durations, far end (0, 200, 0)
      " 01000000 02000000 'L1' 00 01000000 02000000 00000000 00 01000000 00000000"
      "   0000C842 0000003F 00000040 01000000 00000000 00 00000000 00004843 00000000 " + zp +
      // 13 wave weapons: colour 1, capacity 12
      " 01000000 01000000 0C000000 00000000 00 00000000 00 " + zp);
}

TEST(LevelFiles, HandWrittenItemsFileReadsFieldByFieldAndWritesBackTheSameBytes) {
  const std::vector<uint8_t> literal = HandWrittenItems();
  ITEMS_FILE f;
  ASSERT_TRUE(ParseItemsFile(literal, f));
  const auto counts = std::vector<size_t>{f.items.size(),    f.boxes.size(),      f.circuitObjects.size(),
                                          f.doors.size(),    f.openCloseDoors.size(), f.roofs.size(),
                                          f.links.size(),    f.wireGrates.size(), f.barrels.size(),
                                          f.targets.size(),  f.pushables.size(),  f.lasers.size(),
                                          f.waveWeapons.size()};
  ASSERT_EQ(counts, (std::vector<size_t>{2, 1, 2, 1, 1, 1, 3, 1, 1, 1, 1, 1, 1}));
  EXPECT_EQ(std::make_tuple(f.items[0].kind, f.items[0].meshFile, f.items[0].pair.position.y),
            std::make_tuple(0, "Crate.X", 200.0f));
  EXPECT_EQ(std::make_tuple(f.items[1].subKind, f.items[1].scriptFile), std::make_tuple(2, "H.lua"));
  const BOX_RECORD& box = f.boxes[0];
  EXPECT_TRUE(box.HoldsItem());
  EXPECT_EQ(std::make_tuple(box.requiredPower, box.itemCount, box.item.kind, box.scriptFile, box.pair.orientation.z),
            std::make_tuple(3, 2, 4, "B.lua", 1.0f));
  const auto& receptor = f.circuitObjects[0];
  EXPECT_TRUE(receptor.IsReceptor());
  EXPECT_EQ(std::make_tuple(receptor.receptor.colour, receptor.receptor.unused, receptor.receptor.id),
            std::make_tuple(1, 9, 20));
  const auto& generator = f.circuitObjects[1];
  EXPECT_FALSE(generator.IsReceptor());
  EXPECT_EQ(std::make_tuple(generator.generator.polarity, generator.generator.capacity, generator.generator.scriptFile),
            std::make_tuple(1, 10, "G.lua"));
  EXPECT_EQ(std::make_tuple(f.doors[0].chargeNeeded, f.doors[0].descriptionFile), std::make_tuple(4, "D.txt"));
  EXPECT_EQ(std::make_tuple(f.openCloseDoors[0].name, f.openCloseDoors[0].descriptionFile, f.openCloseDoors[0].enabled),
            std::make_tuple("gate", "S.txt", 1));
  ASSERT_EQ(f.roofs[0].doors.size(), 1u);
  EXPECT_EQ(std::make_tuple(f.roofs[0].doors[0].kind, f.roofs[0].pair.position.x), std::make_tuple(2, 55.0f));
  const auto* connector = std::get_if<NEW_CONNECTOR_REFERENCE>(&f.links[0].first.target);
  ASSERT_NE(connector, nullptr);
  EXPECT_EQ(std::make_tuple(connector->id, connector->position.x), std::make_tuple(30, 100.0f));
  ASSERT_NE(std::get_if<CIRCUIT_ID_REFERENCE>(&f.links[0].second.target), nullptr);
  EXPECT_EQ(std::get<CIRCUIT_ID_REFERENCE>(f.links[0].second.target).id, 99);
  EXPECT_EQ(std::get<CONNECTOR_ID_REFERENCE>(f.links[1].first.target).id, 30);
  const GENERATOR_RECORD& made = std::get<NEW_GENERATOR_REFERENCE>(f.links[1].second.target).generator;
  EXPECT_EQ(std::make_tuple(made.id, made.capacity), std::make_tuple(11, 5));
  EXPECT_EQ(std::get<CIRCUIT_ID_REFERENCE>(f.links[2].first.target).id, 10);
  EXPECT_EQ(std::get<NEW_RECEPTOR_REFERENCE>(f.links[2].second.target).receptor.id, 21);
  EXPECT_EQ(f.wireGrates[0].descriptionFile, "W.txt");
  EXPECT_EQ(f.barrels[0].pair.position.y, -100.0f);
  EXPECT_EQ(std::make_tuple(f.targets[0].name, f.targets[0].colour, f.targets[0].hitLimit),
            std::make_tuple("left", 5, 3));
  const auto& p = f.pushables[0];
  EXPECT_EQ(std::make_tuple(p.length, p.width, p.startOffset, p.firstName, p.endPoint.x),
            std::make_tuple(300.0f, 150.0f, 0.5f, "F", 100.0f));
  const LASER_RECORD& l = f.lasers[0];
  EXPECT_EQ(std::make_tuple(l.name, l.initiallyOn, l.type, l.emitterVariant, l.initiallyStopped),
            std::make_tuple("L1", 1, 2, 1, 0));
  EXPECT_EQ(std::make_tuple(l.range, l.initialOffset, l.speed, l.initiallyIntermittent, l.farEnd.y),
            std::make_tuple(100.0f, 0.5f, 2.0f, 1, 200.0f));
  EXPECT_EQ(std::make_tuple(f.waveWeapons[0].colour, f.waveWeapons[0].capacity), std::make_tuple(1, 12));
  EXPECT_EQ(formats::ItemsFileBytes(f), literal);
}

TEST(LevelFiles, TestLevelRoundTripsThroughWriterAndReader) {
  const ITEMS_FILE level = levelsamples::TestLevelItems();
  const std::vector<uint8_t> bytes = formats::ItemsFileBytes(level);
  ITEMS_FILE read;
  ASSERT_TRUE(ParseItemsFile(bytes, read));
  EXPECT_EQ(formats::ItemsFileBytes(read), bytes);
  EXPECT_EQ(read.items.size(), 5u);
  EXPECT_EQ(std::make_tuple(read.items[4].kind, read.items[4].scriptFile), std::make_tuple(7, ""));  // unknown kind
  ASSERT_EQ(read.boxes.size(), 2u);
  EXPECT_FALSE(read.boxes[0].HoldsItem());  // n = 0: no item record
  EXPECT_EQ(std::make_tuple(read.boxes[1].itemCount, read.boxes[1].item.subKind, read.boxes[1].scriptFile),
            std::make_tuple(2, 3, "BoxBroken.lua"));  // n = 2: one item record
  ASSERT_EQ(read.roofs[0].doors.size(), 3u);
  const ROOF_RECORD& roof = read.roofs[0];
  EXPECT_EQ(std::make_tuple(roof.doors[0].door.descriptionFile, roof.doors[1].kind, roof.doors[2].openClose.name,
                            roof.pair.position.z),
            std::make_tuple("DoorA.txt", 2, "Hatch", 77.0f));
  ASSERT_EQ(read.links.size(), 4u);
  // New connector, connector by id, receptor or generator by id, new generator, new receptor.
  EXPECT_EQ(std::make_tuple(read.links[0].first.target.index(), read.links[1].first.target.index(),
                            read.links[0].second.target.index(), read.links[1].second.target.index(),
                            read.links[2].second.target.index()),
            std::make_tuple(0u, 1u, 2u, 3u, 4u));
  EXPECT_EQ(read.links[1].unused1.z, 3.0f);
  EXPECT_EQ(std::get<CIRCUIT_ID_REFERENCE>(read.links[3].second.target).id, 99);
  // The same laser name twice: both records are kept, in file order.
  ASSERT_EQ(read.lasers.size(), 3u);
  EXPECT_EQ(read.lasers[0].name, read.lasers[1].name);
  EXPECT_EQ(read.lasers[1].speed, 80.0f);
  EXPECT_EQ(std::make_tuple(read.targets[0].name, read.pushables[0].partsFile, read.waveWeapons[0].scriptFile),
            std::make_tuple("left", "BlockParts.txt", "WaveFull.lua"));

  COLLISION_FILE walls;
  ASSERT_TRUE(ParseCollisionFile(formats::CollisionFileBytes(levelsamples::TestCollision()), walls));
  EXPECT_EQ(walls.shapes.size(), 3u);
  ENEMY_GENERATOR_FILE generators;
  ASSERT_TRUE(ParseEnemyGeneratorFile(formats::EnemyGeneratorFileBytes(levelsamples::TestGenerators()), generators));
  EXPECT_EQ(std::make_tuple(generators.generators[1].options[0].type, generators.generators[1].group),
            std::make_tuple(8, ""));
}

TEST(LevelFiles, RoofDoorOfAnotherKindTakesOnlyItsFourBytes) {
  // Kinds 2 and -5 between a breakable door and nothing else; the pair
  // follows the last kind at once.
  const std::string zp = kZeroPair;
  std::vector<uint8_t> bytes = Hex(std::string("00000000 00000000 00000000 00000000 00000000") +
                                   " 01000000 00000000 00 02000000 02000000 FBFFFFFF " + zp +
                                   " 00000000 00000000 00000000 00000000 00000000 00000000 00000000");
  ITEMS_FILE f;
  ASSERT_TRUE(ParseItemsFile(bytes, f));
  ASSERT_EQ(f.roofs.size(), 1u);
  ASSERT_EQ(f.roofs[0].doors.size(), 2u);
  EXPECT_EQ(f.roofs[0].doors[1].kind, -5);
  // A byte more is left unread; a byte less and the file no longer fits.
  bytes.push_back(0);
  EXPECT_TRUE(ParseItemsFile(bytes, f));
  bytes.resize(bytes.size() - 2);
  EXPECT_FALSE(ParseItemsFile(bytes, f));
}

TEST(LevelFiles, StringsNeedTheirZeroAndStayWithinTheLimit) {
  // A 4,095-character name (4,096 bytes with its zero) is the longest.
  const auto generatorsWithGroup = [](const std::string& group) {
    ENEMY_GENERATOR_FILE f;
    f.generators.resize(1);
    f.generators[0].group = group;
    return formats::EnemyGeneratorFileBytes(f);
  };
  ENEMY_GENERATOR_FILE read;
  EXPECT_TRUE(ParseEnemyGeneratorFile(generatorsWithGroup(std::string(4095, 'g')), read));
  EXPECT_EQ(read.generators[0].group.size(), 4095u);
  EXPECT_FALSE(ParseEnemyGeneratorFile(generatorsWithGroup(std::string(4096, 'g')), read));
  // The value ends at the first zero; n + 1 bytes without one are damaged.
  std::vector<uint8_t> bytes = generatorsWithGroup("abcd");
  bytes[bytes.size() - 3] = 0;
  ASSERT_TRUE(ParseEnemyGeneratorFile(bytes, read));
  EXPECT_EQ(read.generators[0].group, "ab");
  bytes = generatorsWithGroup("abcd");
  bytes.back() = 'e';
  EXPECT_FALSE(ParseEnemyGeneratorFile(bytes, read));
}

}  // namespace
