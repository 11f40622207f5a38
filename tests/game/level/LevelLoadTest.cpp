// The level files turned into the level's objects.
#include "fuzz/LevelFileSamples.h"
#include "game/files/LevelBytes.h"
#include "game/level/LevelFixture.h"
#include "tools/formats/LevelFiles.h"

namespace {

using leveltest::LevelTest;

constexpr size_t ROOT_CHILDREN = 17;  // where Take() puts the root's children

class LevelLoadTest : public LevelTest {
 protected:
  // The sizes of the level's object lists, the root's children and the object shapes of each class.
  std::vector<size_t> Take() {
    CLevel& l = *level;
    std::vector<size_t> s{l.GetItems().size(),          l.GetBoxes().size(),      l.GetGenerators().size(),
                          l.GetDoors().size(),          l.GetOpenCloseDoors().size(), l.GetRoofs().size(),
                          l.GetLinks().size(),          l.GetConnectors().size(), l.GetCircuitGenerators().size(),
                          l.GetReceptors().size(),      l.GetWireGrates().size(), l.GetBarrels().size(),
                          l.GetTargets().size(),        l.GetPushables().size(),  l.GetLasers().size(),
                          l.GetWaveWeapons().size(),    l.GetEnemyGenerators().size(), RootChildren()};
    for (int c = 0; c < COLLISION_CLASS_COUNT; ++c) s.push_back(l.GetCollision().GetObjectShapes(c).size());
    return s;
  }
  static int Registrations(const std::list<CCollisionShape*>& list, const CCollisionShape* shape) {
    int n = 0;
    for (const CCollisionShape* s : list)
      if (s == shape) ++n;
    return n;
  }
};

TEST_F(LevelLoadTest, TheTestLevelFillsEveryList) {
  auto sample = levelsamples::TestLevelItems();
  sample.openCloseDoors[0].enabled = 2;  // only 1 sets the flag
  WriteBytes("Test_Items.dat", formats::ItemsFileBytes(sample));
  ASSERT_TRUE(level->LoadItems("Test_Items.dat"));
  // Receptors and generators: section 3's and a new one in a link; doors and
  // open/close doors: one under the roof; a connector stays though its link is
  // skipped. Links: the section-3 generator is never bound to a circuit, so a
  // link naming its id finds nothing; a link to id 99 neither. Shapes: boxes 2,
  // generators 2, doors 2, open/close doors 2, grate 1, barrels 2, block 1;
  // never targets or stations.
  std::vector<size_t> expected = {5, 2, 2, 2, 2, 1, 2, 2, 1, 2, 1, 2, 1, 1, 2, 1, 0, 0, 12, 12, 0};
  expected[ROOT_CHILDREN] = RootChildren();
  EXPECT_EQ(Take(), expected);
  const auto& tight = level->GetCollision().GetObjectShapes(COL_TIGHT);
  const auto& character = level->GetCollision().GetObjectShapes(COL_CHARACTER);
  for (CBox& box : level->GetBoxes()) {
    EXPECT_EQ(std::make_tuple(Registrations(tight, &box.GetCollisionBox(0)),
                              Registrations(character, &box.GetCollisionBox(1)),
                              Registrations(tight, &box.GetCollisionBox(1))),
              std::make_tuple(1, 1, 0));
  }
  CTarget& target = level->GetTargets().front();
  EXPECT_EQ(Registrations(tight, &target.GetCollisionBox(0)), 0);
  EXPECT_EQ(target.GetCollisionBox(0).GetVertices().size(), 5u);  // built
  EXPECT_EQ(std::make_pair(target.GetName(), target.GetColour()), std::make_pair(std::string("LEFT"), 1));
  CWaveWeapon& station = level->GetWaveWeapons().front();
  EXPECT_EQ(Registrations(tight, &station.GetCollisionBox(0)), 0);
  EXPECT_FALSE(station.GetCollisionBox(0).GetVertices().empty());
  // Fields and places.
  CItem& first = level->GetItems().front();
  EXPECT_EQ(first.GetScriptFile(), "Secret.lua");
  EXPECT_EQ(first.GetPosition(), D3DXVECTOR3(100, 100, 0));
  EXPECT_EQ(first.GetMarker().GetPosition(), D3DXVECTOR3(100, 150, 5));
  CBox& holding = level->GetBoxes().back();
  EXPECT_EQ(std::make_tuple(holding.HoldsItem(), holding.GetRequiredPower(), holding.GetItem().GetKind(),
                            holding.GetItem().GetSubKind()),
            std::make_tuple(true, 3u, 2, 3));
  EXPECT_FALSE(level->GetBoxes().front().HoldsItem());
  EXPECT_EQ(level->GetOpenCloseDoors().front().GetName(), "GATE");
  EXPECT_FALSE(level->GetOpenCloseDoors().front().IsEnabled());
  EXPECT_TRUE(level->GetOpenCloseDoors().back().IsEnabled());
  CRoof& roof = level->GetRoofs().front();
  EXPECT_EQ(roof.GetPosition(), D3DXVECTOR3(0, 0, 0));
  EXPECT_EQ(level->GetDoors().back().GetRoof(), &roof);
  EXPECT_EQ(level->GetOpenCloseDoors().back().GetRoof(), &roof);
  EXPECT_EQ(level->GetDoors().front().GetRoof(), nullptr);
  CLaser& beam = level->GetLaser("Beam1");
  EXPECT_EQ(beam.GetLaserSpeed(), 80.0f);  // the second record's values
  EXPECT_TRUE(beam.IsDestructible());
  EXPECT_EQ(beam.GetPosition(), D3DXVECTOR3(500, 0, 0));
  EXPECT_TRUE(entitytest::IsListedUnder(beam, Root()));
  CPushable& block = level->GetPushables().front();
  EXPECT_EQ(block.GetLength(), 300.0f);
  EXPECT_EQ(block.GetEndPoint(), D3DXVECTOR3(3200, 0, 0));
  // Link entries on both ends.
  CCircuitConnector& connector = level->GetConnectors().front();
  EXPECT_EQ(connector.GetId(), 30);
  ASSERT_EQ(connector.GetLinks().size(), 2u);
  CCircuitReceptor& receptor = level->GetReceptors().front();
  ASSERT_EQ(receptor.GetLinks().size(), 1u);
  EXPECT_EQ(receptor.GetLinks().front().other, &connector);
  EXPECT_EQ(receptor.GetLinks().front().link, connector.GetLinks().front().link);
  CCircuitGenerator& circuit = level->GetCircuitGenerators().front();
  ASSERT_NE(circuit.GetGenerator(), nullptr);
  EXPECT_EQ(std::make_pair(circuit.GetGenerator()->GetId(), circuit.GetColour()), std::make_pair(11, 1u));
  EXPECT_EQ(circuit.GetPosition(), D3DXVECTOR3(1300, 200, 0));
  ASSERT_EQ(circuit.GetLinks().size(), 1u);
  EXPECT_EQ(circuit.GetLinks().front().other, &connector);
  EXPECT_TRUE(level->GetConnectors().back().GetLinks().empty() && level->GetReceptors().back().GetLinks().empty());
}

TEST_F(LevelLoadTest, ACircuitReferenceFindsAReceptorAndACircuitGeneratorById) {
  ITEMS_FILE f;
  CIRCUIT_OBJECT_RECORD receptor;
  receptor.flag = 1;
  receptor.receptor = levelsamples::Receptor(20, 0, 0, 0);
  f.circuitObjects = {receptor};
  using N = NODE_REFERENCE;
  const auto Link = [](const N& first, const N& second) {
    LINK_RECORD record;
    record.first = first;
    record.second = second;
    return record;
  };
  const D3DXVECTOR3 at(0, 0, 0);
  f.links = {Link(N::NewConnector(1, at), N::NewGenerator(levelsamples::Generator(11, 0, 100, 0))),
             Link(N::NewConnector(2, at), N::Circuit(11)),  // to the generator
             Link(N::NewConnector(3, at), N::Circuit(20)),  // to the receptor
             Link(N::Connector(3), N::Connector(1))};       // between existing ones
  ASSERT_TRUE(level->LoadItems(f));
  ASSERT_EQ(level->GetLinks().size(), 4u);
  auto link = level->GetLinks().begin();
  ++link;
  EXPECT_EQ(link->GetSecond(), &level->GetCircuitGenerators().front());
  ++link;
  EXPECT_EQ(link->GetSecond(), &level->GetReceptors().front());
  ++link;
  EXPECT_EQ(link->GetFirst()->GetId(), 3);
  EXPECT_EQ(link->GetSecond()->GetId(), 1);
  EXPECT_EQ(level->GetCircuitGenerators().front().GetLinks().size(), 2u);
}

TEST_F(LevelLoadTest, ATruncatedFileLeavesTheLevelAsItWas) {
  WriteBytes("Test_Items.dat", formats::ItemsFileBytes(levelsamples::TestLevelItems()));
  ASSERT_TRUE(level->LoadItems("Test_Items.dat"));
  const std::vector<size_t> before = Take();
  std::vector<uint8_t> bytes = formats::ItemsFileBytes(levelsamples::TestLevelItems());
  for (size_t cut : {size_t(0), size_t(3), bytes.size() / 2, bytes.size() - 1}) {
    WriteBytes("Short.dat", std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(cut)));
    EXPECT_FALSE(level->LoadItems("Short.dat")) << cut;
    EXPECT_EQ(Take(), before) << cut;
  }
  EXPECT_FALSE(level->LoadItems("Missing.dat"));
  EXPECT_EQ(Take(), before);
  // Loading appends: a second read doubles the objects.
  ASSERT_TRUE(level->LoadItems("Test_Items.dat"));
  EXPECT_EQ(level->GetItems().size(), 10u);
  EXPECT_EQ(level->GetLasers().size(), 2u);  // named: refilled, not doubled
}

TEST_F(LevelLoadTest, AnAllZeroItemsFileLoadsNothing) {
  WriteBytes("Empty.dat", std::vector<uint8_t>(52, 0));
  EXPECT_TRUE(level->LoadItems("Empty.dat"));
  EXPECT_EQ(RootChildren(), baseRootChildren);
  EXPECT_TRUE(level->GetItems().empty());
}

TEST_F(LevelLoadTest, EnemyGeneratorsTakeTheirOptionsPlaceAndGroup) {
  WriteBytes("Gen.dat", formats::EnemyGeneratorFileBytes(levelsamples::TestGenerators()));
  ASSERT_TRUE(level->LoadEnemyGenerators("Gen.dat"));
  ASSERT_EQ(level->GetEnemyGenerators().size(), 2u);
  CEnemyGenerator& a = level->GetEnemyGenerators().front();
  EXPECT_EQ(std::make_tuple(a.GetOption(0).type, a.GetOption(0).percent, a.GetOption(0).randomFacing),
            std::make_tuple(1u, 50, 1));
  EXPECT_EQ(a.GetOption(2).randomFacing, 0);  // only exactly 1 turns it on
  EXPECT_EQ(a.GetPosition(), D3DXVECTOR3(100, 200, 0));
  EXPECT_EQ(a.GetRotation().z, 1.5f);
  EXPECT_EQ(a.GetGroup(), "North");
  EXPECT_TRUE(a.IsEnabled());
  EXPECT_EQ(a.GetParent(), nullptr);  // never in the scene
  for (const char* count : {"00000000", "ffffffff"}) {
    WriteBytes("Bad.dat", levelbytes::Hex(count));
    EXPECT_FALSE(level->LoadEnemyGenerators("Bad.dat")) << count;
  }
  EXPECT_EQ(level->GetEnemyGenerators().size(), 2u);
}

TEST_F(LevelLoadTest, CollisionFilesGoToTheirClassAndBadClassesAreRefused) {
  WriteBytes("Col.dat", formats::CollisionFileBytes(levelsamples::TestCollision()));
  EXPECT_TRUE(level->LoadCollision("Col.dat", COL_PLAYER));
  EXPECT_EQ(level->GetCollision().GetStaticShapes(COL_PLAYER).size(), 3u);
  EXPECT_FALSE(level->LoadCollision("Col.dat", 3));
  EXPECT_FALSE(level->LoadCollision("Col.dat", -1));
  float from[3] = {0, -300, 0}, to[3] = {0, 300, 0}, hit[3] = {}, normal[3] = {};
  float distance = 0.0f;
  EXPECT_TRUE(level->CheckCollision(from, to, 1.0f, hit, distance, normal, COL_PLAYER, true));
  EXPECT_EQ(hit[1], -100.0f);
  EXPECT_FALSE(level->CheckCollision(from, to, 1.0f, hit, distance, normal, COL_TIGHT, true));
}

}  // namespace
