#pragma once
// The records of the level's binary files (collision shapes, items, enemy
// generators) and of the wire-grate shape files, field by field in file
// order. The game's readers parse a whole file into these; the writers in
// tools/formats turn the same records back into bytes.
//
// Every file is little-endian: int32 is a signed 32-bit integer, float32 an
// IEEE single, a vector three float32 (x, y, z). A string is an int32 n
// followed by n + 1 bytes that hold a zero byte; its value is the bytes up
// to the first zero.
#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "platform/Math.h"

// Limits beyond which a file is rejected.
constexpr int32_t LEVEL_FILE_MAX_RECORDS = 65536;  // per file or per section
constexpr int32_t LEVEL_FILE_MAX_STRING = 4096;    // bytes of a string, its zero included
constexpr int32_t LEVEL_FILE_MAX_VERTICES = 65536; // per shape

// Orientation (rotations about x, y, z) then position, as most records end.
struct LEVEL_PAIR {
  D3DXVECTOR3 orientation;
  D3DXVECTOR3 position;
};

// A polyline: int32 vertex count, then the vertices. A count below 1 is an
// empty shape with no vertex data after it.
struct SHAPE_RECORD {
  std::vector<D3DXVECTOR3> vertices;
};

// Collision file: int32 count, then the shapes.
struct COLLISION_FILE {
  std::vector<SHAPE_RECORD> shapes;
};

// Wire-grate shape file: an int32 the game skips, then exactly two shapes.
struct WIRE_GRATE_SHAPE_FILE {
  int32_t leading = 0;
  std::array<SHAPE_RECORD, 2> shapes;
};

// ---- Enemy-generator file: int32 count (at least 1), then the generators.

struct ENEMY_GENERATOR_OPTION {
  int32_t type = 0;          // 0 random, 1..8
  int32_t percent = 0;
  int32_t randomFacing = 0;  // the enemy faces at random when exactly 1
};

struct ENEMY_GENERATOR_RECORD {
  std::array<ENEMY_GENERATOR_OPTION, 3> options;
  D3DXVECTOR3 position;
  float facing = 0.0f;       // rotation about z
  std::string group;
};

struct ENEMY_GENERATOR_FILE {
  std::vector<ENEMY_GENERATOR_RECORD> generators;
};

// ---- Items file: thirteen sections, each an int32 count and its records
// (a count of 0 or less: no records).

enum ITEMS_SECTION {
  ITEMS_SECTION_ITEMS,
  ITEMS_SECTION_BOXES,
  ITEMS_SECTION_CIRCUIT_OBJECTS,
  ITEMS_SECTION_DOORS,
  ITEMS_SECTION_OPEN_CLOSE_DOORS,
  ITEMS_SECTION_ROOFS,
  ITEMS_SECTION_LINKS,
  ITEMS_SECTION_WIRE_GRATES,
  ITEMS_SECTION_BARRELS,
  ITEMS_SECTION_TARGETS,
  ITEMS_SECTION_PUSHABLES,
  ITEMS_SECTION_LASERS,
  ITEMS_SECTION_WAVE_WEAPONS,
  ITEMS_SECTION_COUNT
};

// Item: int32 kind; kind 0: string mesh file; kinds 1, 2, 3, 5: int32
// sub-kind; other kinds nothing; then string script file and the pair.
struct ITEM_RECORD {
  int32_t kind = 0;
  std::string meshFile;  // kind 0 only
  int32_t subKind = 0;   // kinds 1, 2, 3, 5 only
  std::string scriptFile;
  LEVEL_PAIR pair;
};
inline bool ItemKindHasMeshFile(int32_t kind) { return kind == 0; }
inline bool ItemKindHasSubKind(int32_t kind) { return kind == 1 || kind == 2 || kind == 3 || kind == 5; }

// Box: int32 required power; int32 item count (1 or more: an item record
// follows); string script file; pair.
struct BOX_RECORD {
  int32_t requiredPower = 1;
  int32_t itemCount = 0;
  ITEM_RECORD item;  // when itemCount >= 1
  std::string scriptFile;
  LEVEL_PAIR pair;
  bool HoldsItem() const { return itemCount >= 1; }
};

// Circuit receptor: int32 colour; int32 unused; int32 id; string script
// file; pair.
struct RECEPTOR_RECORD {
  int32_t colour = 0;
  int32_t unused = 0;
  int32_t id = 0;
  std::string scriptFile;
  LEVEL_PAIR pair;
};

// Energy generator: int32 polarity; int32 capacity; int32 id; string script
// file; pair.
struct GENERATOR_RECORD {
  int32_t polarity = 0;
  int32_t capacity = 0;
  int32_t id = 0;
  std::string scriptFile;
  LEVEL_PAIR pair;
};

// Section 3 entry: int32 flag; non-zero: a receptor record, zero: a
// generator record.
struct CIRCUIT_OBJECT_RECORD {
  int32_t flag = 0;
  RECEPTOR_RECORD receptor;    // flag != 0
  GENERATOR_RECORD generator;  // flag == 0
  bool IsReceptor() const { return flag != 0; }
};

// Breakable door: int32 charge needed; string script file; string
// description file; pair.
struct DOOR_RECORD {
  int32_t chargeNeeded = 1;
  std::string scriptFile;
  std::string descriptionFile;
  LEVEL_PAIR pair;
};

// Open/close door: string name; string open script; string close script;
// string description file; int32 enabled (1: enabled); pair.
struct OPEN_CLOSE_DOOR_RECORD {
  std::string name;
  std::string openScript;
  std::string closeScript;
  std::string descriptionFile;
  int32_t enabled = 1;
  LEVEL_PAIR pair;
};

// A roof's door entry: int32 kind; 0: a door record, 1: an open/close door
// record, anything else: nothing more.
struct ROOF_DOOR_ENTRY {
  int32_t kind = 0;
  DOOR_RECORD door;                  // kind 0
  OPEN_CLOSE_DOOR_RECORD openClose;  // kind 1
};

// Roof: string mesh file; int32 n; n door entries; pair (the position is
// read and the roof stands at the origin).
struct ROOF_RECORD {
  std::string meshFile;
  std::vector<ROOF_DOOR_ENTRY> doors;
  LEVEL_PAIR pair;
};

// The five forms of a link's node reference: int32 a, int32 b, then
//   a = 0, b != 0: a new connector (int32 id, vector unused, vector position);
//   a = 0, b = 0: an existing connector (int32 id);
//   a != 0, b = 0: an existing receptor or circuit generator (int32 id);
//   a != 0, b != 0: int32 c; c = 0: a new generator record, else a new
//   receptor record.
struct NEW_CONNECTOR_REFERENCE {
  int32_t id = 0;
  D3DXVECTOR3 unused;
  D3DXVECTOR3 position;
};
struct CONNECTOR_ID_REFERENCE {
  int32_t id = 0;
};
struct CIRCUIT_ID_REFERENCE {
  int32_t id = 0;
};
struct NEW_GENERATOR_REFERENCE {
  GENERATOR_RECORD generator;
};
struct NEW_RECEPTOR_REFERENCE {
  RECEPTOR_RECORD receptor;
};

struct NODE_REFERENCE {
  // The selectors as written (any non-zero value counts as "non-zero").
  int32_t a = 0;
  int32_t b = 0;
  int32_t c = 0;  // only when a and b are both non-zero
  std::variant<NEW_CONNECTOR_REFERENCE, CONNECTOR_ID_REFERENCE, CIRCUIT_ID_REFERENCE, NEW_GENERATOR_REFERENCE,
               NEW_RECEPTOR_REFERENCE>
      target;

  static NODE_REFERENCE NewConnector(int32_t id, const D3DXVECTOR3& position) {
    NODE_REFERENCE r;
    r.a = 0;
    r.b = 1;
    r.target = NEW_CONNECTOR_REFERENCE{id, D3DXVECTOR3(), position};
    return r;
  }
  static NODE_REFERENCE Connector(int32_t id) {
    NODE_REFERENCE r;
    r.target = CONNECTOR_ID_REFERENCE{id};
    return r;
  }
  static NODE_REFERENCE Circuit(int32_t id) {
    NODE_REFERENCE r;
    r.a = 1;
    r.target = CIRCUIT_ID_REFERENCE{id};
    return r;
  }
  static NODE_REFERENCE NewGenerator(const GENERATOR_RECORD& generator) {
    NODE_REFERENCE r;
    r.a = 1;
    r.b = 1;
    r.c = 0;
    r.target = NEW_GENERATOR_REFERENCE{generator};
    return r;
  }
  static NODE_REFERENCE NewReceptor(const RECEPTOR_RECORD& receptor) {
    NODE_REFERENCE r;
    r.a = 1;
    r.b = 1;
    r.c = 1;
    r.target = NEW_RECEPTOR_REFERENCE{receptor};
    return r;
  }
};

// Circuit link: node reference A; node reference B; two unused vectors.
struct LINK_RECORD {
  NODE_REFERENCE first;
  NODE_REFERENCE second;
  D3DXVECTOR3 unused1;
  D3DXVECTOR3 unused2;
};

// Wire grate: string description file; string script file; pair.
struct WIRE_GRATE_RECORD {
  std::string descriptionFile;
  std::string scriptFile;
  LEVEL_PAIR pair;
};

// Barrel: pair.
struct BARREL_RECORD {
  LEVEL_PAIR pair;
};

// Pop-up target: string name; int32 colour; int32 hit limit; string script
// file; pair.
struct TARGET_RECORD {
  std::string name;
  int32_t colour = 0;
  int32_t hitLimit = 1;
  std::string scriptFile;
  LEVEL_PAIR pair;
};

// Pushable block: string mesh file; float32 length, width, start offset;
// string first name; string second name; vector start point; vector end
// point; string parts file; pair (not used).
struct PUSHABLE_RECORD {
  std::string meshFile;
  float length = 0.0f;
  float width = 0.0f;
  float startOffset = 0.0f;
  std::string firstName;
  std::string secondName;
  D3DXVECTOR3 startPoint;
  D3DXVECTOR3 endPoint;
  std::string partsFile;
  LEVEL_PAIR pair;
};

// Laser: string name; int32 initially on; int32 type; string script file;
// int32 emitter variant; int32 initially stopped; float32 range, initial
// offset, speed; int32 initially intermittent; string durations file;
// vector far end; pair (the orientation is not used).
struct LASER_RECORD {
  std::string name;
  int32_t initiallyOn = 1;
  int32_t type = 0;  // 0 hurt, 1 kill, 2 script
  std::string scriptFile;
  int32_t emitterVariant = 0;  // 1: the destructible emitter
  int32_t initiallyStopped = 1;
  float range = 0.0f;
  float initialOffset = 0.0f;
  float speed = 0.0f;
  int32_t initiallyIntermittent = 0;
  std::string durationsFile;
  D3DXVECTOR3 farEnd;
  LEVEL_PAIR pair;
};

// Wave-weapon station: int32 colour; int32 capacity; string name; string
// script file; pair.
struct WAVE_WEAPON_RECORD {
  int32_t colour = 0;
  int32_t capacity = 0;
  std::string name;
  std::string scriptFile;
  LEVEL_PAIR pair;
};

struct ITEMS_FILE {
  std::vector<ITEM_RECORD> items;
  std::vector<BOX_RECORD> boxes;
  std::vector<CIRCUIT_OBJECT_RECORD> circuitObjects;
  std::vector<DOOR_RECORD> doors;
  std::vector<OPEN_CLOSE_DOOR_RECORD> openCloseDoors;
  std::vector<ROOF_RECORD> roofs;
  std::vector<LINK_RECORD> links;
  std::vector<WIRE_GRATE_RECORD> wireGrates;
  std::vector<BARREL_RECORD> barrels;
  std::vector<TARGET_RECORD> targets;
  std::vector<PUSHABLE_RECORD> pushables;
  std::vector<LASER_RECORD> lasers;
  std::vector<WAVE_WEAPON_RECORD> waveWeapons;
};
