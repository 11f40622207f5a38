// Writers of the level's binary files.
#include "tools/formats/LevelFiles.h"

#include <cstring>

namespace formats {

void LevelFileBytes::Int(int32_t value) {
  uint32_t u;
  std::memcpy(&u, &value, 4);
  for (int i = 0; i < 4; ++i) m_Bytes.push_back(uint8_t(u >> (8 * i)));
}

void LevelFileBytes::Count(size_t count) {
  m_LengthOffsets.push_back(m_Bytes.size());
  Int(int32_t(count));
}

void LevelFileBytes::Float(float value) {
  int32_t bits;
  std::memcpy(&bits, &value, 4);
  Int(bits);
}

void LevelFileBytes::Vector(const D3DXVECTOR3& value) {
  Float(value.x);
  Float(value.y);
  Float(value.z);
}

void LevelFileBytes::String(const std::string& value) {
  Count(value.size());
  m_Bytes.insert(m_Bytes.end(), value.begin(), value.end());
  m_Bytes.push_back(0);
}

void LevelFileBytes::Pair(const LEVEL_PAIR& pair) {
  Vector(pair.orientation);
  Vector(pair.position);
}

void WriteShapeRecord(LevelFileBytes& out, const SHAPE_RECORD& shape) {
  out.Count(shape.vertices.size());
  for (const D3DXVECTOR3& v : shape.vertices) out.Vector(v);
}

void WriteItemRecord(LevelFileBytes& out, const ITEM_RECORD& item) {
  out.Int(item.kind);
  if (ItemKindHasMeshFile(item.kind)) out.String(item.meshFile);
  if (ItemKindHasSubKind(item.kind)) out.Int(item.subKind);
  out.String(item.scriptFile);
  out.Pair(item.pair);
}

namespace {

void WriteReceptor(LevelFileBytes& out, const RECEPTOR_RECORD& r) {
  out.Int(r.colour);
  out.Int(r.unused);
  out.Int(r.id);
  out.String(r.scriptFile);
  out.Pair(r.pair);
}

void WriteGenerator(LevelFileBytes& out, const GENERATOR_RECORD& g) {
  out.Int(g.polarity);
  out.Int(g.capacity);
  out.Int(g.id);
  out.String(g.scriptFile);
  out.Pair(g.pair);
}

void WriteDoor(LevelFileBytes& out, const DOOR_RECORD& d) {
  out.Int(d.chargeNeeded);
  out.String(d.scriptFile);
  out.String(d.descriptionFile);
  out.Pair(d.pair);
}

void WriteOpenCloseDoor(LevelFileBytes& out, const OPEN_CLOSE_DOOR_RECORD& d) {
  out.String(d.name);
  out.String(d.openScript);
  out.String(d.closeScript);
  out.String(d.descriptionFile);
  out.Int(d.enabled);
  out.Pair(d.pair);
}

// A selector as written when it must be non-zero: the record's own value,
// or 1 when the record left it 0.
int32_t NonZero(int32_t value) { return value != 0 ? value : 1; }

template <typename Record, typename WriteRecord>
void Section(LevelFileBytes& out, const std::vector<Record>& records, WriteRecord write) {
  out.Count(records.size());
  for (const Record& r : records) write(out, r);
}

}  // namespace

void WriteNodeReference(LevelFileBytes& out, const NODE_REFERENCE& ref) {
  if (const auto* c = std::get_if<NEW_CONNECTOR_REFERENCE>(&ref.target)) {
    out.Int(0);
    out.Int(NonZero(ref.b));
    out.Int(c->id);
    out.Vector(c->unused);
    out.Vector(c->position);
  } else if (const auto* e = std::get_if<CONNECTOR_ID_REFERENCE>(&ref.target)) {
    out.Int(0);
    out.Int(0);
    out.Int(e->id);
  } else if (const auto* i = std::get_if<CIRCUIT_ID_REFERENCE>(&ref.target)) {
    out.Int(NonZero(ref.a));
    out.Int(0);
    out.Int(i->id);
  } else if (const auto* g = std::get_if<NEW_GENERATOR_REFERENCE>(&ref.target)) {
    out.Int(NonZero(ref.a));
    out.Int(NonZero(ref.b));
    out.Int(0);
    WriteGenerator(out, g->generator);
  } else if (const auto* r = std::get_if<NEW_RECEPTOR_REFERENCE>(&ref.target)) {
    out.Int(NonZero(ref.a));
    out.Int(NonZero(ref.b));
    out.Int(NonZero(ref.c));
    WriteReceptor(out, r->receptor);
  }
}

void WriteCollisionFile(LevelFileBytes& out, const COLLISION_FILE& file) {
  out.Count(file.shapes.size());
  for (const SHAPE_RECORD& s : file.shapes) WriteShapeRecord(out, s);
}

void WriteWireGrateShapeFile(LevelFileBytes& out, const WIRE_GRATE_SHAPE_FILE& file) {
  out.Int(file.leading);
  for (const SHAPE_RECORD& s : file.shapes) WriteShapeRecord(out, s);
}

void WriteEnemyGeneratorFile(LevelFileBytes& out, const ENEMY_GENERATOR_FILE& file) {
  out.Count(file.generators.size());
  for (const ENEMY_GENERATOR_RECORD& g : file.generators) {
    for (const ENEMY_GENERATOR_OPTION& o : g.options) {
      out.Int(o.type);
      out.Int(o.percent);
      out.Int(o.randomFacing);
    }
    out.Vector(g.position);
    out.Float(g.facing);
    out.String(g.group);
  }
}

void WriteItemsFile(LevelFileBytes& out, const ITEMS_FILE& f) {
  Section(out, f.items, WriteItemRecord);
  Section(out, f.boxes, [](LevelFileBytes& o, const BOX_RECORD& b) {
    o.Int(b.requiredPower);
    o.Int(b.itemCount);
    if (b.HoldsItem()) WriteItemRecord(o, b.item);
    o.String(b.scriptFile);
    o.Pair(b.pair);
  });
  Section(out, f.circuitObjects, [](LevelFileBytes& o, const CIRCUIT_OBJECT_RECORD& c) {
    o.Int(c.flag);
    if (c.IsReceptor())
      WriteReceptor(o, c.receptor);
    else
      WriteGenerator(o, c.generator);
  });
  Section(out, f.doors, WriteDoor);
  Section(out, f.openCloseDoors, WriteOpenCloseDoor);
  Section(out, f.roofs, [](LevelFileBytes& o, const ROOF_RECORD& r) {
    o.String(r.meshFile);
    o.Count(r.doors.size());
    for (const ROOF_DOOR_ENTRY& d : r.doors) {
      o.Int(d.kind);
      if (d.kind == 0) WriteDoor(o, d.door);
      if (d.kind == 1) WriteOpenCloseDoor(o, d.openClose);
    }
    o.Pair(r.pair);
  });
  Section(out, f.links, [](LevelFileBytes& o, const LINK_RECORD& l) {
    WriteNodeReference(o, l.first);
    WriteNodeReference(o, l.second);
    o.Vector(l.unused1);
    o.Vector(l.unused2);
  });
  Section(out, f.wireGrates, [](LevelFileBytes& o, const WIRE_GRATE_RECORD& w) {
    o.String(w.descriptionFile);
    o.String(w.scriptFile);
    o.Pair(w.pair);
  });
  Section(out, f.barrels, [](LevelFileBytes& o, const BARREL_RECORD& b) { o.Pair(b.pair); });
  Section(out, f.targets, [](LevelFileBytes& o, const TARGET_RECORD& t) {
    o.String(t.name);
    o.Int(t.colour);
    o.Int(t.hitLimit);
    o.String(t.scriptFile);
    o.Pair(t.pair);
  });
  Section(out, f.pushables, [](LevelFileBytes& o, const PUSHABLE_RECORD& p) {
    o.String(p.meshFile);
    o.Float(p.length);
    o.Float(p.width);
    o.Float(p.startOffset);
    o.String(p.firstName);
    o.String(p.secondName);
    o.Vector(p.startPoint);
    o.Vector(p.endPoint);
    o.String(p.partsFile);
    o.Pair(p.pair);
  });
  Section(out, f.lasers, [](LevelFileBytes& o, const LASER_RECORD& l) {
    o.String(l.name);
    o.Int(l.initiallyOn);
    o.Int(l.type);
    o.String(l.scriptFile);
    o.Int(l.emitterVariant);
    o.Int(l.initiallyStopped);
    o.Float(l.range);
    o.Float(l.initialOffset);
    o.Float(l.speed);
    o.Int(l.initiallyIntermittent);
    o.String(l.durationsFile);
    o.Vector(l.farEnd);
    o.Pair(l.pair);
  });
  Section(out, f.waveWeapons, [](LevelFileBytes& o, const WAVE_WEAPON_RECORD& w) {
    o.Int(w.colour);
    o.Int(w.capacity);
    o.String(w.name);
    o.String(w.scriptFile);
    o.Pair(w.pair);
  });
}

SHAPE_RECORD ClosedShape(const std::vector<D3DXVECTOR3>& points) {
  SHAPE_RECORD shape;
  shape.vertices = points;
  if (!points.empty()) shape.vertices.push_back(points.front());
  return shape;
}

}  // namespace formats
