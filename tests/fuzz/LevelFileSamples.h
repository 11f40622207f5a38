#pragma once
// Sample contents of the level files, shared by the level-file tests and
// the fuzz targets' seeds: a test level whose items file uses every section
// and every form of a link's node reference, a collision file, an
// enemy-generator file and a wire-grate shape file.
#include "game/files/LevelFileRecords.h"

namespace levelsamples {

inline LEVEL_PAIR Pair(float heading, float x, float y, float z = 0.0f) {
  return LEVEL_PAIR{D3DXVECTOR3(0.0f, 0.0f, heading), D3DXVECTOR3(x, y, z)};
}

inline ITEM_RECORD Item(int32_t kind, int32_t subKind, const std::string& script, float x, float y) {
  ITEM_RECORD item;
  item.kind = kind;
  if (kind == 0) item.meshFile = "Crate.X";
  item.subKind = ItemKindHasSubKind(kind) ? subKind : 0;
  item.scriptFile = script;
  item.pair = Pair(0.0f, x, y);
  return item;
}

inline GENERATOR_RECORD Generator(int32_t id, int32_t polarity, float x, float y) {
  GENERATOR_RECORD g;
  g.polarity = polarity;
  g.capacity = 10;
  g.id = id;
  g.scriptFile = "GenFull.lua";
  g.pair = Pair(0.0f, x, y);
  return g;
}

inline RECEPTOR_RECORD Receptor(int32_t id, int32_t colour, float x, float y) {
  RECEPTOR_RECORD r;
  r.colour = colour;
  r.unused = 7;
  r.id = id;
  r.scriptFile = "Lamp.lua";
  r.pair = Pair(1.5f, x, y);
  return r;
}

inline DOOR_RECORD Door(float x) {
  DOOR_RECORD d;
  d.chargeNeeded = 4;
  d.scriptFile = "DoorBroken.lua";
  d.descriptionFile = "DoorA.txt";
  d.pair = Pair(0.5f, x, 300.0f);
  return d;
}

inline OPEN_CLOSE_DOOR_RECORD OpenCloseDoor(const std::string& name, float x) {
  OPEN_CLOSE_DOOR_RECORD d;
  d.name = name;
  d.openScript = "Opening.lua";
  d.descriptionFile = "SlideDoor.txt";
  d.pair = Pair(0.0f, x, -300.0f);
  return d;
}

inline LASER_RECORD Laser(const std::string& name, float speed) {
  LASER_RECORD l;
  l.name = name;
  l.type = 1;
  l.emitterVariant = 1;
  l.initiallyStopped = 0;
  l.range = 400.0f;
  l.initialOffset = 100.0f;
  l.speed = speed;
  l.initiallyIntermittent = 1;
  l.durationsFile = "Blink.txt";
  l.farEnd = D3DXVECTOR3(900.0f, 0.0f, 120.0f);
  l.pair = Pair(0.0f, 500.0f, 0.0f);
  return l;
}

// Every section used; section 7 holds links with all five node-reference
// forms, one of them naming an id nothing has.
inline ITEMS_FILE TestLevelItems() {
  ITEMS_FILE f;
  f.items = {Item(0, 0, "Secret.lua", 100, 100), Item(1, 2, "", 200, 100), Item(4, 0, "Checkpoint.lua", 300, 100),
             Item(5, 9, "Note.lua", 400, 100), Item(7, 0, "", 500, 100)};
  BOX_RECORD empty;
  empty.pair = Pair(0.25f, -400, 0);
  BOX_RECORD holding = empty;
  holding.requiredPower = 3;
  holding.itemCount = 2;
  holding.item = Item(2, 3, "Upgrade.lua", -500, 0);
  holding.scriptFile = "BoxBroken.lua";
  holding.pair = Pair(0.0f, -500, 0);
  f.boxes = {empty, holding};
  CIRCUIT_OBJECT_RECORD receptor;
  receptor.flag = 1;
  receptor.receptor = Receptor(20, 1, 1000, 0);
  CIRCUIT_OBJECT_RECORD generator;
  generator.generator = Generator(10, 0, 1000, 500);
  f.circuitObjects = {receptor, generator};
  f.doors = {Door(0.0f)};
  f.openCloseDoors = {OpenCloseDoor("gate", 800.0f)};
  ROOF_RECORD roof;
  roof.meshFile = "RoofA.X";
  ROOF_DOOR_ENTRY breakable;
  breakable.door = Door(1200.0f);
  ROOF_DOOR_ENTRY sliding;
  sliding.kind = 1;
  sliding.openClose = OpenCloseDoor("Hatch", 1400.0f);
  ROOF_DOOR_ENTRY skipped;
  skipped.kind = 2;
  roof.doors = {breakable, skipped, sliding};
  roof.pair = Pair(0.0f, 55.0f, 66.0f, 77.0f);
  f.roofs = {roof};
  LINK_RECORD newConnectorToReceptor;
  newConnectorToReceptor.first = NODE_REFERENCE::NewConnector(30, D3DXVECTOR3(1100, 200, 0));
  newConnectorToReceptor.second = NODE_REFERENCE::Circuit(20);
  LINK_RECORD connectorToNewGenerator;
  connectorToNewGenerator.first = NODE_REFERENCE::Connector(30);
  connectorToNewGenerator.second = NODE_REFERENCE::NewGenerator(Generator(11, 1, 1300, 200));
  connectorToNewGenerator.unused1 = D3DXVECTOR3(1, 2, 3);
  LINK_RECORD generatorToNewReceptor;
  generatorToNewReceptor.first = NODE_REFERENCE::Circuit(10);
  generatorToNewReceptor.second = NODE_REFERENCE::NewReceptor(Receptor(21, 0, 1500, 200));
  generatorToNewReceptor.unused2 = D3DXVECTOR3(4, 5, 6);
  LINK_RECORD toUnknown;
  toUnknown.first = NODE_REFERENCE::NewConnector(31, D3DXVECTOR3(1700, 200, 0));
  toUnknown.second = NODE_REFERENCE::Circuit(99);
  f.links = {newConnectorToReceptor, connectorToNewGenerator, generatorToNewReceptor, toUnknown};
  WIRE_GRATE_RECORD grate;
  grate.descriptionFile = "Grate.txt";
  grate.scriptFile = "GrateBroken.lua";
  grate.pair = Pair(1.0f, 2000, 0);
  f.wireGrates = {grate};
  f.barrels = {BARREL_RECORD{Pair(0.0f, 2100, 100)}, BARREL_RECORD{Pair(0.0f, 2200, 100)}};
  TARGET_RECORD target;
  target.name = "left";
  target.colour = 5;
  target.hitLimit = 3;
  target.scriptFile = "TargetDown.lua";
  target.pair = Pair(0.0f, 2400, 0);
  f.targets = {target};
  PUSHABLE_RECORD block;
  block.meshFile = "Block.X";
  block.length = 300.0f;
  block.width = 150.0f;
  block.startOffset = 75.0f;
  block.firstName = "Front";
  block.secondName = "Back";
  block.startPoint = D3DXVECTOR3(2600, 0, 0);
  block.endPoint = D3DXVECTOR3(3200, 0, 0);
  block.partsFile = "BlockParts.txt";
  block.pair = Pair(0.0f, 9, 9);
  f.pushables = {block};
  f.lasers = {Laser("Beam1", 50.0f), Laser("Beam1", 80.0f), Laser("Beam2", 0.0f)};
  WAVE_WEAPON_RECORD station;
  station.colour = 1;
  station.capacity = 12;
  station.name = "Wave";
  station.scriptFile = "WaveFull.lua";
  station.pair = Pair(0.0f, 3400, 0);
  f.waveWeapons = {station};
  return f;
}

inline COLLISION_FILE TestCollision() {
  COLLISION_FILE f;
  f.shapes.push_back(SHAPE_RECORD{{{100, 100, 0}, {-100, 100, 0}, {-100, -100, 0}, {100, -100, 0}, {100, 100, 0}}});
  f.shapes.push_back(SHAPE_RECORD{{{300, -50, 0}, {300, 50, 0}}});
  f.shapes.push_back(SHAPE_RECORD{{{500, 0, 0}}});
  return f;
}

inline ENEMY_GENERATOR_FILE TestGenerators() {
  ENEMY_GENERATOR_FILE f;
  ENEMY_GENERATOR_RECORD a;
  a.options = {ENEMY_GENERATOR_OPTION{1, 50, 1}, ENEMY_GENERATOR_OPTION{3, 30, 0}, ENEMY_GENERATOR_OPTION{0, 20, 2}};
  a.position = D3DXVECTOR3(100, 200, 0);
  a.facing = 1.5f;
  a.group = "North";
  ENEMY_GENERATOR_RECORD b = a;
  b.options[0].type = 8;
  b.position = D3DXVECTOR3(-300, 0, 0);
  b.group = "";
  f.generators = {a, b};
  return f;
}

inline WIRE_GRATE_SHAPE_FILE TestGrateShapes() {
  WIRE_GRATE_SHAPE_FILE f;
  f.leading = 2;
  f.shapes[0] = SHAPE_RECORD{{{-50, 10, 0}, {50, 10, 0}}};
  f.shapes[1] = SHAPE_RECORD{{{-50, -10, 0}, {50, -10, 0}, {50, -20, 0}}};
  return f;
}

}  // namespace levelsamples
