#pragma once
// The text files that describe two mechanisms to their loaders, parsed from
// bytes in memory: the wire grate's description and the pushable block's
// parts file. Both read whitespace-separated fields in a fixed order; a
// name is at most MAX_NAME bytes. A file that ends early, or holds a field
// that is not what it should be, stops the reading there: the fields read
// so far are kept, the rest keep the values they came with.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace MechanismFiles {

constexpr size_t MAX_NAME = 259;
constexpr int32_t MAX_PARTS = 256;

// Field order of a grate description: closed mesh, opened mesh, explosion
// particle file, closed box width, closed box depth, breakable flag (1),
// opened shapes of class 0, opened shapes of class 1.
struct WIRE_GRATE_DESCRIPTION {
  std::string closedMesh = "WireGrate.X";
  std::string openedMesh = "WireGrateOpened.X";
  std::string explosionEffectFile;
  float closedBoxWidth = 0.0f;
  float closedBoxDepth = 0.0f;
  bool breakable = false;
  std::string openedShapesFileA;
  std::string openedShapesFileB;
};

// Parts file: part height, part count (0..MAX_PARTS), then per part the
// mesh name and its x along the block.
struct PUSHABLE_PART {
  std::string meshFile;
  float x = 0.0f;
};

struct PUSHABLE_PARTS {
  float partHeight = 156.0f;
  std::vector<PUSHABLE_PART> parts;
};

// The number of fields read (0..8); `out` holds them over its old values.
int ParseWireGrateDescription(const uint8_t* data, size_t size, WIRE_GRATE_DESCRIPTION& out);
// True when the height, the count and every part were read. Otherwise
// `out` is left as it came: a short or damaged parts file gives no parts.
bool ParsePushableParts(const uint8_t* data, size_t size, PUSHABLE_PARTS& out);

}  // namespace MechanismFiles
