// Circuits read from an items file: a generator's flow, connectors put in
// and taken out with the Action key, receptors lighting when every link
// carries their colour, and the restart.
#include <algorithm>

#include "engine/resources/Texture.h"
#include "engine/scene/Light.h"
#include "game/mechanisms/MechanismsTwoFixture.h"

namespace {

using mechtwo::At;

size_t Lights() { return Nembra::g_pSceneManager->GetLights().size(); }

GENERATOR_RECORD GeneratorRecord(int32_t id, int32_t colour, float x, float y) {
  GENERATOR_RECORD g;
  g.polarity = colour;
  g.capacity = 3;
  g.id = id;
  g.pair = At(x, y);
  return g;
}

RECEPTOR_RECORD ReceptorRecord(int32_t id, int32_t colour, float x, float y, const std::string& script) {
  RECEPTOR_RECORD r;
  r.colour = colour;
  r.id = id;
  r.scriptFile = script;
  r.pair = At(x, y);
  return r;
}

LINK_RECORD Link(const NODE_REFERENCE& a, const NODE_REFERENCE& b) {
  LINK_RECORD link;
  link.first = a;
  link.second = b;
  return link;
}

class CircuitTest : public mechtwo::MechanismsTwoTest {
 protected:
  void SetUp() override {
    mechtwo::MechanismsTwoTest::SetUp();
    WriteCounter("ReceptorOn.lua");
    level->EnableCircuits(true);
  }
  CCircuitConnector& Connector(int32_t id) {
    for (CCircuitConnector& c : level->GetConnectors())
      if (c.GetId() == id) return c;
    ADD_FAILURE() << "no connector " << id;
    return level->GetConnectors().front();
  }
  CCircuitReceptor& Receptor(int32_t id) {
    for (CCircuitReceptor& r : level->GetReceptors())
      if (r.GetId() == id) return r;
    ADD_FAILURE() << "no receptor " << id;
    return level->GetReceptors().front();
  }
  // The Action key pressed standing at the connector (or beside it).
  void Action(CCircuitConnector& c, float dx = 0.0f) {
    level->UpdateCircuits(c.GetPosition() + D3DXVECTOR3(dx, 0.0f, 0.0f));
  }
  // Fills every generator and lets the circuit generators start.
  void StartGenerators() {
    level->FillAllGenerators();
    Step();
  }
  // Generator 100 (red) at the origin; connectors 1 (300, 0), 2 (600, 0),
  // 3 (600, 300); receptor 200 (red) at (900, 0) fed by 2 and 3.
  void LoadTwoLinkReceptor() {
    ITEMS_FILE file;
    file.links.push_back(Link(NODE_REFERENCE::NewGenerator(GeneratorRecord(100, 0, 0, 0)),
                              NODE_REFERENCE::NewConnector(1, D3DXVECTOR3(300, 0, 0))));
    file.links.push_back(Link(NODE_REFERENCE::Connector(1), NODE_REFERENCE::NewConnector(2, D3DXVECTOR3(600, 0, 0))));
    file.links.push_back(Link(NODE_REFERENCE::Connector(1), NODE_REFERENCE::NewConnector(3, D3DXVECTOR3(600, 300, 0))));
    file.links.push_back(Link(NODE_REFERENCE::Connector(2),
                              NODE_REFERENCE::NewReceptor(ReceptorRecord(200, 0, 900, 0, "ReceptorOn.lua"))));
    file.links.push_back(Link(NODE_REFERENCE::Connector(3), NODE_REFERENCE::Circuit(200)));
    ASSERT_TRUE(Load(file));
  }
};

TEST_F(CircuitTest, AFullGeneratorStartsTheFlowAndTheSocketOffersItself) {
  LoadTwoLinkReceptor();
  CCircuitConnector& c1 = Connector(1);
  EXPECT_FALSE(c1.GetSocketMarker().IsShown());
  EXPECT_EQ(level->GetLinks().front().GetColour(), CCircuitLink::NO_COLOUR);
  Step();
  EXPECT_FALSE(level->GetCircuitGenerators().front().IsPlaced());
  StartGenerators();
  EXPECT_TRUE(level->GetCircuitGenerators().front().IsPlaced());
  EXPECT_TRUE(level->GetLinks().front().IsFlowing());
  EXPECT_TRUE(level->GetLinks().front().visible);
  EXPECT_EQ(level->GetLinks().front().GetColour(), 0u);
  EXPECT_TRUE(c1.GetSocketMarker().IsShown());
  EXPECT_FALSE(Connector(2).GetSocketMarker().IsShown());
  // Each red link holds the red flow texture until the level lets it go.
  auto refs = [] { return Nembra::g_pTextureFactory->Find("FlowRed.jpg")->GetRefCount(); };
  EXPECT_EQ(refs(), uint32_t(std::count_if(level->GetLinks().begin(), level->GetLinks().end(),
                                           [](const CCircuitLink& l) { return l.GetColour() == 0u; })));
  level->Unload();
  EXPECT_EQ(Nembra::g_pTextureFactory->Find("FlowRed.jpg"), nullptr);
}

TEST_F(CircuitTest, TheReceptorLightsOnlyWhenBothLinksCarryItsColourOnEveryActivation) {
  LoadTwoLinkReceptor();
  const size_t dark = Lights();
  StartGenerators();
  const size_t lights = Lights();
  CCircuitReceptor& receptor = Receptor(200);
  Action(Connector(1));
  EXPECT_TRUE(Connector(1).IsPlaced());
  EXPECT_EQ(Connector(1).GetColour(), 0u);
  EXPECT_EQ(Cues("ConnectorInsertRemove.wav"), 1);
  Action(Connector(2));
  EXPECT_FALSE(receptor.IsReceptorActive());  // one link of two
  Action(Connector(3));
  ASSERT_TRUE(receptor.IsReceptorActive());
  EXPECT_EQ(Lights(), lights + 1);
  ASSERT_NE(receptor.GetLamp(), nullptr);
  EXPECT_FLOAT_EQ(receptor.GetLamp()->GetPosition().z, 150.0f);
  EXPECT_EQ(Count("ReceptorOn.lua"), 1);
  EXPECT_EQ(level->GetActiveReceptors(), 1);
  EXPECT_TRUE(Connector(2).IsLocked());   // the first link's neighbour
  EXPECT_FALSE(Connector(3).IsLocked());

  // Taking 3 out darkens it; putting it back lights it and runs the script again.
  Action(Connector(3));
  EXPECT_FALSE(Connector(3).IsPlaced());
  EXPECT_FALSE(receptor.IsReceptorActive());
  EXPECT_EQ(Lights(), lights);
  EXPECT_EQ(level->GetActiveReceptors(), 0);
  Action(Connector(3));
  EXPECT_TRUE(receptor.IsReceptorActive());
  EXPECT_EQ(Count("ReceptorOn.lua"), 2);
  EXPECT_EQ(Lights(), lights + 1);

  // The locked connector stays, silently.
  const int sounds = Cues("ConnectorInsertRemove.wav") + Cues("ConnectorIncorrect.wav");
  Action(Connector(2));
  EXPECT_TRUE(Connector(2).IsPlaced());
  EXPECT_EQ(Cues("ConnectorInsertRemove.wav") + Cues("ConnectorIncorrect.wav"), sounds);

  // Restart: all dark and empty.
  level->Restart();
  EXPECT_FALSE(receptor.IsReceptorActive());
  EXPECT_EQ(Lights(), dark);  // the generator's light went too
  EXPECT_EQ(level->GetActiveReceptors(), 0);
  for (CCircuitConnector& c : level->GetConnectors()) {
    EXPECT_FALSE(c.IsPlaced());
    EXPECT_FALSE(c.IsLocked());
    EXPECT_FALSE(c.GetSocketMarker().IsShown());
  }
  for (CCircuitLink& link : level->GetLinks()) {
    EXPECT_FALSE(link.IsFlowing());
    EXPECT_FALSE(link.visible);
  }
  EXPECT_FALSE(level->GetCircuitGenerators().front().IsPlaced());
  EXPECT_EQ(level->GetGenerators().front().GetCharge(), 0u);
}

TEST_F(CircuitTest, ARestartLeavesNoLinkWithAColourSoATwoLinkReceptorNeedsBothAgain) {
  LoadTwoLinkReceptor();
  StartGenerators();
  for (int id : {1, 2, 3}) Action(Connector(id));
  ASSERT_TRUE(Receptor(200).IsReceptorActive());
  level->Restart();
  for (CCircuitLink& link : level->GetLinks()) EXPECT_EQ(link.GetColour(), CCircuitLink::NO_COLOUR);
  StartGenerators();
  Action(Connector(1));
  Action(Connector(2));
  EXPECT_FALSE(Receptor(200).IsReceptorActive());  // the link from 3 carried nothing since
  Action(Connector(3));
  EXPECT_TRUE(Receptor(200).IsReceptorActive());
}

TEST_F(CircuitTest, APlacedConnectorAndACircuitGeneratorKeepTheirLookWhenFlowReachesThem) {
  // Red generator 100 feeds 1; blue generator 101 on 1's other side starts later.
  ITEMS_FILE file;
  file.links.push_back(Link(NODE_REFERENCE::NewGenerator(GeneratorRecord(100, 0, 0, 0)),
                            NODE_REFERENCE::NewConnector(1, D3DXVECTOR3(300, 0, 0))));
  file.links.push_back(Link(NODE_REFERENCE::NewGenerator(GeneratorRecord(101, 1, 600, 0)),
                            NODE_REFERENCE::Connector(1)));
  ASSERT_TRUE(Load(file));
  CCircuitGenerator& red = level->GetCircuitGenerators().front();
  CCircuitGenerator& blue = level->GetCircuitGenerators().back();
  red.GetGenerator()->Fill();
  Step();
  Action(Connector(1));
  ASSERT_TRUE(Connector(1).IsPlaced());
  // The red flow reached the waiting blue generator: it stays as it was.
  EXPECT_FALSE(blue.IsPlaced());
  EXPECT_EQ(blue.GetSprite().GetMesh(), nullptr);
  const Nembra::CSimpleMesh* placed = Connector(1).GetSprite().GetMesh();
  blue.GetGenerator()->Fill();
  Step();
  ASSERT_TRUE(blue.IsPlaced());
  // The blue flow reached the placed connector: still red, no socket offered.
  EXPECT_EQ(Connector(1).GetSprite().GetMesh(), placed);
  EXPECT_EQ(Connector(1).GetColour(), 0u);
  EXPECT_FALSE(Connector(1).GetSocketMarker().IsShown());
}

TEST_F(CircuitTest, ARemovalThatCutsAPlacedNeighbourFromEveryGeneratorIsRefused) {
  LoadTwoLinkReceptor();
  StartGenerators();
  Action(Connector(1));
  Action(Connector(2));
  Action(Connector(1));  // 2 hangs on 1 only
  EXPECT_TRUE(Connector(1).IsPlaced());
  EXPECT_EQ(Cues("ConnectorIncorrect.wav"), 1);
  for (CCircuitConnector& c : level->GetConnectors()) {
    EXPECT_FALSE(c.IsVisited());
  }
  Action(Connector(2));  // its neighbours: 1 fed by the generator, the receptor unplaced
  EXPECT_FALSE(Connector(2).IsPlaced());
  EXPECT_EQ(Cues("ConnectorInsertRemove.wav"), 3);
}

TEST_F(CircuitTest, AnotherBranchAllowsTheRemoval) {
  // Generator at the origin feeding 1 and 3; both feed 2.
  ITEMS_FILE file;
  file.links.push_back(Link(NODE_REFERENCE::NewGenerator(GeneratorRecord(100, 1, 0, 0)),
                            NODE_REFERENCE::NewConnector(1, D3DXVECTOR3(300, 0, 0))));
  file.links.push_back(Link(NODE_REFERENCE::Circuit(100), NODE_REFERENCE::NewConnector(3, D3DXVECTOR3(0, 300, 0))));
  file.links.push_back(Link(NODE_REFERENCE::Connector(1), NODE_REFERENCE::NewConnector(2, D3DXVECTOR3(300, 300, 0))));
  file.links.push_back(Link(NODE_REFERENCE::Connector(3), NODE_REFERENCE::Connector(2)));
  ASSERT_TRUE(Load(file));
  StartGenerators();
  Action(Connector(1));
  Action(Connector(3));
  Action(Connector(2));
  ASSERT_TRUE(Connector(2).IsPlaced());
  EXPECT_EQ(Connector(2).GetColour(), 1u);
  Action(Connector(1));  // 2 is still fed through 3
  EXPECT_FALSE(Connector(1).IsPlaced());
  Action(Connector(3));  // now 2 would be cut
  EXPECT_TRUE(Connector(3).IsPlaced());
  EXPECT_EQ(Cues("ConnectorIncorrect.wav"), 1);
}

TEST_F(CircuitTest, ASocketFedByBothColoursOrByNoneRefusesTheConnector) {
  ITEMS_FILE file;
  file.links.push_back(Link(NODE_REFERENCE::NewGenerator(GeneratorRecord(100, 0, 0, 0)),
                            NODE_REFERENCE::NewConnector(1, D3DXVECTOR3(300, 0, 0))));
  file.links.push_back(Link(NODE_REFERENCE::NewGenerator(GeneratorRecord(101, 1, 600, 0)),
                            NODE_REFERENCE::Connector(1)));
  file.links.push_back(Link(NODE_REFERENCE::Connector(1), NODE_REFERENCE::NewConnector(2, D3DXVECTOR3(300, 600, 0))));
  ASSERT_TRUE(Load(file));
  Action(Connector(1));  // no flow yet
  EXPECT_FALSE(Connector(1).IsPlaced());
  EXPECT_EQ(Cues("ConnectorIncorrect.wav"), 1);
  StartGenerators();
  Action(Connector(1));  // red and blue
  EXPECT_FALSE(Connector(1).IsPlaced());
  EXPECT_FALSE(Connector(1).GetSocketMarker().IsShown());
  EXPECT_EQ(Cues("ConnectorIncorrect.wav"), 2);
  EXPECT_EQ(Cues("ConnectorInsertRemove.wav"), 0);
}

TEST_F(CircuitTest, AThreeLinkReceptorCutAndFedAgainHasOneLamp) {
  ITEMS_FILE file;
  file.links.push_back(Link(NODE_REFERENCE::NewGenerator(GeneratorRecord(100, 1, 0, 0)),
                            NODE_REFERENCE::NewConnector(1, D3DXVECTOR3(300, 0, 0))));
  file.links.push_back(Link(NODE_REFERENCE::Circuit(100), NODE_REFERENCE::NewConnector(2, D3DXVECTOR3(0, 300, 0))));
  file.links.push_back(Link(NODE_REFERENCE::Circuit(100), NODE_REFERENCE::NewConnector(3, D3DXVECTOR3(0, -300, 0))));
  file.links.push_back(Link(NODE_REFERENCE::Connector(1),
                            NODE_REFERENCE::NewReceptor(ReceptorRecord(200, 1, 600, 0, "ReceptorOn.lua"))));
  file.links.push_back(Link(NODE_REFERENCE::Connector(2), NODE_REFERENCE::Circuit(200)));
  file.links.push_back(Link(NODE_REFERENCE::Connector(3), NODE_REFERENCE::Circuit(200)));
  ASSERT_TRUE(Load(file));
  const size_t dark = Lights();
  StartGenerators();
  const size_t lights = Lights();
  for (int id : {1, 2, 3}) Action(Connector(id));
  ASSERT_TRUE(Receptor(200).IsReceptorActive());
  EXPECT_EQ(Lights(), lights + 1);
  // Two links cut and fed again, twice: the receptor sees its colour on
  // every link again each time, and never doubles its lamp.
  for (int round = 0; round < 2; ++round) {
    Action(Connector(2));
    Action(Connector(3));
    Action(Connector(2));
    Action(Connector(3));
  }
  EXPECT_TRUE(Receptor(200).IsReceptorActive());
  EXPECT_EQ(Lights(), lights + 1);
  EXPECT_EQ(level->GetActiveReceptors(), 1);
  level->Restart();
  EXPECT_EQ(Lights(), dark);
}

TEST_F(CircuitTest, TheActionKeyReachesConnectorsStrictlyInsideEightyUnits) {
  LoadTwoLinkReceptor();
  StartGenerators();
  Action(Connector(1), 80.0f);
  EXPECT_FALSE(Connector(1).IsPlaced());
  Action(Connector(1), 79.0f);
  EXPECT_TRUE(Connector(1).IsPlaced());
  level->EnableCircuits(false);
  Action(Connector(1));
  EXPECT_TRUE(Connector(1).IsPlaced());  // disabled: only the action triggers
}

TEST_F(CircuitTest, TwoConnectorsInReachToggleInOnePressTheSecondSeeingTheFirst) {
  ITEMS_FILE file;
  file.links.push_back(Link(NODE_REFERENCE::NewGenerator(GeneratorRecord(100, 0, 0, 0)),
                            NODE_REFERENCE::NewConnector(1, D3DXVECTOR3(300, 0, 0))));
  file.links.push_back(Link(NODE_REFERENCE::Connector(1), NODE_REFERENCE::NewConnector(2, D3DXVECTOR3(340, 0, 0))));
  ASSERT_TRUE(Load(file));
  StartGenerators();
  level->UpdateCircuits(D3DXVECTOR3(320.0f, 0.0f, 0.0f));
  EXPECT_TRUE(Connector(1).IsPlaced());
  EXPECT_TRUE(Connector(2).IsPlaced());  // fed by 1 within the same press
  // Pressed again: 1 cannot go (2 hangs on it), then 2 goes.
  level->UpdateCircuits(D3DXVECTOR3(320.0f, 0.0f, 0.0f));
  EXPECT_TRUE(Connector(1).IsPlaced());
  EXPECT_FALSE(Connector(2).IsPlaced());
  EXPECT_EQ(Cues("ConnectorIncorrect.wav"), 1);
}

TEST_F(CircuitTest, APlacedConnectorWhoseLinksLeadOnlyToUnplacedObjectsIsRemoved) {
  ITEMS_FILE file;
  file.links.push_back(Link(NODE_REFERENCE::NewConnector(1, D3DXVECTOR3(300, 0, 0)),
                            NODE_REFERENCE::NewConnector(2, D3DXVECTOR3(600, 0, 0))));
  ASSERT_TRUE(Load(file));
  level->GetLinks().front().SetFlow(1);  // a flow from elsewhere
  Action(Connector(1));
  ASSERT_TRUE(Connector(1).IsPlaced());
  Action(Connector(1));
  EXPECT_FALSE(Connector(1).IsPlaced());
}

TEST_F(CircuitTest, TheActionTriggersFireAfterTheConnectors) {
  LoadTwoLinkReceptor();
  StartGenerators();
  WriteScript("Act.lua", "IncVar(\"Act\")\n");
  level->GetTriggerManager().AddCircularTrigger("Act.lua", "act", D3DXVECTOR3(300.0f, 0.0f, 0.0f), true, 100.0f, 1);
  Action(Connector(1));
  EXPECT_TRUE(Connector(1).IsPlaced());
  EXPECT_EQ(Count("Act"), 1);
  level->EnableCircuits(false);
  Action(Connector(1));
  EXPECT_EQ(Count("Act"), 2);
}

}  // namespace
