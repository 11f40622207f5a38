// Parsers of the collision, wire-grate shape, enemy-generator and items
// files over the bounded reader.
#include "game/files/LevelFiles.h"

#include <string>
#include <utility>

#include "platform/Log.h"

namespace {

// Smallest size of each record on disk (an empty string is 5 bytes), the
// bound a count is checked against before any record is read.
constexpr size_t kPairBytes = 24;
constexpr size_t kStringBytes = 5;
constexpr size_t kShapeBytes = 4;
constexpr size_t kGeneratorBytes = 9 * 4 + 12 + 4 + kStringBytes;
constexpr size_t kItemBytes = 4 + kStringBytes + kPairBytes;
constexpr size_t kBoxBytes = 8 + kStringBytes + kPairBytes;
constexpr size_t kCircuitObjectBytes = 4 + 12 + kStringBytes + kPairBytes;
constexpr size_t kDoorBytes = 4 + 2 * kStringBytes + kPairBytes;
constexpr size_t kOpenCloseDoorBytes = 4 * kStringBytes + 4 + kPairBytes;
constexpr size_t kRoofBytes = kStringBytes + 4 + kPairBytes;
constexpr size_t kRoofDoorBytes = 4;
constexpr size_t kLinkBytes = 2 * 12 + 24;
constexpr size_t kWireGrateBytes = 2 * kStringBytes + kPairBytes;
constexpr size_t kBarrelBytes = kPairBytes;
constexpr size_t kTargetBytes = 8 + 2 * kStringBytes + kPairBytes;
constexpr size_t kPushableBytes = 4 * kStringBytes + 12 + 24 + kPairBytes;
constexpr size_t kLaserBytes = 5 * 4 + 12 + 2 * kStringBytes + 12 + kPairBytes + kStringBytes;
constexpr size_t kWaveWeaponBytes = 8 + 2 * kStringBytes + kPairBytes;

bool ReadPair(CLevelFileReader& r, LEVEL_PAIR& pair) {
  return r.ReadVector(pair.orientation) && r.ReadVector(pair.position);
}

bool ReadItem(CLevelFileReader& r, ITEM_RECORD& item) {
  if (!r.ReadInt(item.kind)) return false;
  if (ItemKindHasMeshFile(item.kind) && !r.ReadString(item.meshFile)) return false;
  if (ItemKindHasSubKind(item.kind) && !r.ReadInt(item.subKind)) return false;
  return r.ReadString(item.scriptFile) && ReadPair(r, item.pair);
}

bool ReadBox(CLevelFileReader& r, BOX_RECORD& box) {
  if (!r.ReadInt(box.requiredPower) || !r.ReadInt(box.itemCount)) return false;
  if (box.HoldsItem() && !ReadItem(r, box.item)) return false;
  return r.ReadString(box.scriptFile) && ReadPair(r, box.pair);
}

bool ReadReceptor(CLevelFileReader& r, RECEPTOR_RECORD& receptor) {
  return r.ReadInt(receptor.colour) && r.ReadInt(receptor.unused) && r.ReadInt(receptor.id) &&
         r.ReadString(receptor.scriptFile) && ReadPair(r, receptor.pair);
}

bool ReadGenerator(CLevelFileReader& r, GENERATOR_RECORD& generator) {
  return r.ReadInt(generator.polarity) && r.ReadInt(generator.capacity) && r.ReadInt(generator.id) &&
         r.ReadString(generator.scriptFile) && ReadPair(r, generator.pair);
}

bool ReadCircuitObject(CLevelFileReader& r, CIRCUIT_OBJECT_RECORD& object) {
  if (!r.ReadInt(object.flag)) return false;
  return object.IsReceptor() ? ReadReceptor(r, object.receptor) : ReadGenerator(r, object.generator);
}

bool ReadDoor(CLevelFileReader& r, DOOR_RECORD& door) {
  return r.ReadInt(door.chargeNeeded) && r.ReadString(door.scriptFile) && r.ReadString(door.descriptionFile) &&
         ReadPair(r, door.pair);
}

bool ReadOpenCloseDoor(CLevelFileReader& r, OPEN_CLOSE_DOOR_RECORD& door) {
  return r.ReadString(door.name) && r.ReadString(door.openScript) && r.ReadString(door.closeScript) &&
         r.ReadString(door.descriptionFile) && r.ReadInt(door.enabled) && ReadPair(r, door.pair);
}

bool ReadRoof(CLevelFileReader& r, ROOF_RECORD& roof) {
  int32_t n;
  if (!r.ReadString(roof.meshFile) || !r.ReadCount(n)) return false;
  if (n < 0) {
    r.Fail();
    return false;
  }
  if (!r.Expect(n, kRoofDoorBytes)) return false;
  for (int32_t i = 0; i < n; ++i) {
    ROOF_DOOR_ENTRY entry;
    if (!r.ReadInt(entry.kind)) return false;
    if (entry.kind == 0 && !ReadDoor(r, entry.door)) return false;
    if (entry.kind == 1 && !ReadOpenCloseDoor(r, entry.openClose)) return false;
    roof.doors.push_back(std::move(entry));
  }
  return ReadPair(r, roof.pair);
}

bool ReadNodeReference(CLevelFileReader& r, NODE_REFERENCE& ref) {
  if (!r.ReadInt(ref.a) || !r.ReadInt(ref.b)) return false;
  if (ref.a == 0 && ref.b != 0) {
    NEW_CONNECTOR_REFERENCE connector;
    if (!r.ReadInt(connector.id) || !r.ReadVector(connector.unused) || !r.ReadVector(connector.position))
      return false;
    ref.target = connector;
  } else if (ref.a == 0) {
    CONNECTOR_ID_REFERENCE connector;
    if (!r.ReadInt(connector.id)) return false;
    ref.target = connector;
  } else if (ref.b == 0) {
    CIRCUIT_ID_REFERENCE circuit;
    if (!r.ReadInt(circuit.id)) return false;
    ref.target = circuit;
  } else {
    if (!r.ReadInt(ref.c)) return false;
    if (ref.c == 0) {
      NEW_GENERATOR_REFERENCE generator;
      if (!ReadGenerator(r, generator.generator)) return false;
      ref.target = std::move(generator);
    } else {
      NEW_RECEPTOR_REFERENCE receptor;
      if (!ReadReceptor(r, receptor.receptor)) return false;
      ref.target = std::move(receptor);
    }
  }
  return true;
}

bool ReadLink(CLevelFileReader& r, LINK_RECORD& link) {
  return ReadNodeReference(r, link.first) && ReadNodeReference(r, link.second) && r.ReadVector(link.unused1) &&
         r.ReadVector(link.unused2);
}

bool ReadWireGrate(CLevelFileReader& r, WIRE_GRATE_RECORD& grate) {
  return r.ReadString(grate.descriptionFile) && r.ReadString(grate.scriptFile) && ReadPair(r, grate.pair);
}

bool ReadBarrel(CLevelFileReader& r, BARREL_RECORD& barrel) { return ReadPair(r, barrel.pair); }

bool ReadTarget(CLevelFileReader& r, TARGET_RECORD& target) {
  return r.ReadString(target.name) && r.ReadInt(target.colour) && r.ReadInt(target.hitLimit) &&
         r.ReadString(target.scriptFile) && ReadPair(r, target.pair);
}

bool ReadPushable(CLevelFileReader& r, PUSHABLE_RECORD& block) {
  return r.ReadString(block.meshFile) && r.ReadFloat(block.length) && r.ReadFloat(block.width) &&
         r.ReadFloat(block.startOffset) && r.ReadString(block.firstName) && r.ReadString(block.secondName) &&
         r.ReadVector(block.startPoint) && r.ReadVector(block.endPoint) && r.ReadString(block.partsFile) &&
         ReadPair(r, block.pair);
}

bool ReadLaser(CLevelFileReader& r, LASER_RECORD& laser) {
  return r.ReadString(laser.name) && r.ReadInt(laser.initiallyOn) && r.ReadInt(laser.type) &&
         r.ReadString(laser.scriptFile) && r.ReadInt(laser.emitterVariant) && r.ReadInt(laser.initiallyStopped) &&
         r.ReadFloat(laser.range) && r.ReadFloat(laser.initialOffset) && r.ReadFloat(laser.speed) &&
         r.ReadInt(laser.initiallyIntermittent) && r.ReadString(laser.durationsFile) &&
         r.ReadVector(laser.farEnd) && ReadPair(r, laser.pair);
}

bool ReadWaveWeapon(CLevelFileReader& r, WAVE_WEAPON_RECORD& station) {
  return r.ReadInt(station.colour) && r.ReadInt(station.capacity) && r.ReadString(station.name) &&
         r.ReadString(station.scriptFile) && ReadPair(r, station.pair);
}

bool ReadEnemyGenerator(CLevelFileReader& r, ENEMY_GENERATOR_RECORD& generator) {
  for (ENEMY_GENERATOR_OPTION& option : generator.options)
    if (!r.ReadInt(option.type) || !r.ReadInt(option.percent) || !r.ReadInt(option.randomFacing)) return false;
  return r.ReadVector(generator.position) && r.ReadFloat(generator.facing) && r.ReadString(generator.group);
}

// An items-file section: a count (0 or less: no records) and its records.
template <typename Record, typename ReadRecord>
bool ReadSection(CLevelFileReader& r, std::vector<Record>& list, size_t minBytes, ReadRecord read) {
  int32_t count;
  if (!r.ReadCount(count) || !r.Expect(count, minBytes)) return false;
  for (int32_t i = 0; i < count; ++i) {
    Record record;
    if (!read(r, record)) return false;
    list.push_back(std::move(record));
  }
  return true;
}

// A file's leading count when a negative one is a damaged file.
bool ReadFileCount(CLevelFileReader& r, int32_t& count, size_t minBytes) {
  if (!r.ReadCount(count)) return false;
  if (count < 0) r.Fail();
  return r.Expect(count, minBytes);
}

// Bytes after the last record (padding from another tool) are left unread,
// with one warning. After a negative count they are the records that count
// skipped: the count was damaged.
template <typename File>
bool Finish(CLevelFileReader& r, File& parsed, File& out, size_t* errorOffset, const char* kind) {
  if (r.Failed() || (r.Remaining() > 0 && r.SawNegativeCount())) {
    if (errorOffset) *errorOffset = r.Offset();
    return false;
  }
  if (r.Remaining() > 0)
    platform::LogWarning(std::string(kind) + " file: " + std::to_string(r.Remaining()) +
                         " bytes after the last record at offset " + std::to_string(r.Offset()) + " ignored");
  out = std::move(parsed);
  return true;
}

}  // namespace

bool ReadShapeRecord(CLevelFileReader& reader, SHAPE_RECORD& shape) {
  int32_t n;
  if (!reader.ReadInt(n)) return false;
  if (n > LEVEL_FILE_MAX_VERTICES) {
    reader.Fail();
    return false;
  }
  shape.vertices.clear();
  if (n < 0) reader.NoteNegativeCount();
  if (n < 1) return true;
  if (!reader.Expect(n, 12)) return false;
  shape.vertices.resize(size_t(n));
  for (D3DXVECTOR3& v : shape.vertices)
    if (!reader.ReadVector(v)) return false;
  return true;
}

bool ParseCollisionFile(const uint8_t* data, size_t size, COLLISION_FILE& file, size_t* errorOffset) {
  CLevelFileReader r(data, size);
  COLLISION_FILE parsed;
  int32_t count;
  if (ReadFileCount(r, count, kShapeBytes)) {
    for (int32_t i = 0; i < count; ++i) {
      SHAPE_RECORD shape;
      if (!ReadShapeRecord(r, shape)) break;
      parsed.shapes.push_back(std::move(shape));
    }
  }
  return Finish(r, parsed, file, errorOffset, "collision");
}

bool ParseWireGrateShapeFile(const uint8_t* data, size_t size, WIRE_GRATE_SHAPE_FILE& file, size_t* errorOffset) {
  CLevelFileReader r(data, size);
  WIRE_GRATE_SHAPE_FILE parsed;
  if (r.ReadInt(parsed.leading)) {
    for (SHAPE_RECORD& shape : parsed.shapes)
      if (!ReadShapeRecord(r, shape)) break;
  }
  return Finish(r, parsed, file, errorOffset, "wire grate shape");
}

bool ParseEnemyGeneratorFile(const uint8_t* data, size_t size, ENEMY_GENERATOR_FILE& file, size_t* errorOffset) {
  CLevelFileReader r(data, size);
  ENEMY_GENERATOR_FILE parsed;
  int32_t count;
  if (r.ReadCount(count)) {
    if (count < 1) r.Fail();
    if (r.Expect(count, kGeneratorBytes)) {
      for (int32_t i = 0; i < count; ++i) {
        ENEMY_GENERATOR_RECORD generator;
        if (!ReadEnemyGenerator(r, generator)) break;
        parsed.generators.push_back(std::move(generator));
      }
    }
  }
  return Finish(r, parsed, file, errorOffset, "enemy generator");
}

bool ParseItemsFile(const uint8_t* data, size_t size, ITEMS_FILE& file, size_t* errorOffset) {
  CLevelFileReader r(data, size);
  ITEMS_FILE f;
  (void)(ReadSection(r, f.items, kItemBytes, ReadItem) && ReadSection(r, f.boxes, kBoxBytes, ReadBox) &&
         ReadSection(r, f.circuitObjects, kCircuitObjectBytes, ReadCircuitObject) &&
         ReadSection(r, f.doors, kDoorBytes, ReadDoor) &&
         ReadSection(r, f.openCloseDoors, kOpenCloseDoorBytes, ReadOpenCloseDoor) &&
         ReadSection(r, f.roofs, kRoofBytes, ReadRoof) && ReadSection(r, f.links, kLinkBytes, ReadLink) &&
         ReadSection(r, f.wireGrates, kWireGrateBytes, ReadWireGrate) &&
         ReadSection(r, f.barrels, kBarrelBytes, ReadBarrel) && ReadSection(r, f.targets, kTargetBytes, ReadTarget) &&
         ReadSection(r, f.pushables, kPushableBytes, ReadPushable) &&
         ReadSection(r, f.lasers, kLaserBytes, ReadLaser) &&
         ReadSection(r, f.waveWeapons, kWaveWeaponBytes, ReadWaveWeapon));
  return Finish(r, f, file, errorOffset, "items");
}
