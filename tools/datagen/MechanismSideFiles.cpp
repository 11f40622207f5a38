// The text and shape files that describe mechanisms to their loaders: the
// two door descriptions (mesh line, box width, box depth), the wire grate's
// description and its two opened-shape files, the pushable block's parts
// file and a laser's blink durations.
#include <string>
#include <vector>

#include "game/files/LevelFileRecords.h"
#include "tools/datagen/DataGen.h"
#include "tools/datagen/MechanismAssets.h"
#include "tools/formats/DoorLaserTexts.h"
#include "tools/formats/LevelFiles.h"
#include "tools/formats/MechanismFiles.h"

namespace {

// A closed outline (first corner repeated last) of an axis-aligned rectangle.
SHAPE_RECORD Outline(float minX, float minY, float maxX, float maxY) {
  SHAPE_RECORD shape;
  shape.vertices = {{maxX, maxY, 0}, {minX, maxY, 0}, {minX, minY, 0}, {maxX, minY, 0}, {maxX, maxY, 0}};
  return shape;
}

// The opened grate keeps its two end posts. Class 0 outlines the posts;
// class 1 grows them by the characters' margins: 60 along the grate and 85
// on each face, as the closed grate's class-1 box is 170 deeper.
std::vector<uint8_t> OpenedGrateShapes(bool characterClass) {
  const float hw = datagen::GRATE_WIDTH / 2, inner = hw - datagen::GRATE_POST, hd = datagen::GRATE_DEPTH / 2;
  const float grow = characterClass ? 60.0f : 0.0f, deeper = characterClass ? 85.0f : 0.0f;
  WIRE_GRATE_SHAPE_FILE file;
  file.leading = 2;
  file.shapes[0] = Outline(-hw - grow, -hd - deeper, -inner + grow, hd + deeper);
  file.shapes[1] = Outline(inner - grow, -hd - deeper, hw + grow, hd + deeper);
  return formats::WireGrateShapeFileBytes(file);
}

std::string GrateDescription() {
  MechanismFiles::WIRE_GRATE_DESCRIPTION grate;
  grate.closedMesh = "WireGrate.X";
  grate.openedMesh = "WireGrateOpened.X";
  grate.explosionEffectFile = "WireGrateExplosion.pfx";
  grate.closedBoxWidth = datagen::GRATE_WIDTH;
  grate.closedBoxDepth = datagen::GRATE_DEPTH;
  grate.breakable = true;
  grate.openedShapesFileA = "WireGrate_Opened0.dat";
  grate.openedShapesFileB = "WireGrate_Opened1.dat";
  return formats::WireGrateDescriptionText(grate);
}

// Part height, part count, then each part's mesh and its x along the block.
std::string PushableParts() {
  MechanismFiles::PUSHABLE_PARTS parts;
  parts.partHeight = datagen::PUSHABLE_WHEEL_RADIUS;
  parts.parts = {{"PushableWheel1.X", datagen::PUSHABLE_LENGTH * 0.25f},
                 {"PushableWheel2.X", datagen::PUSHABLE_LENGTH * 0.75f}};
  return formats::PushablePartsText(parts);
}

bool WriteSideFiles(const datagen::Output& out) {
  bool ok =
      out.Write("Door_Desc.txt", formats::DoorDescriptionText("Door.X", datagen::DOOR_WIDTH, datagen::DOOR_DEPTH));
  ok &= out.Write("SlidingDoor_Desc.txt", formats::DoorDescriptionText("SlidingDoor.X", datagen::SLIDING_DOOR_WIDTH,
                                                                       datagen::SLIDING_DOOR_DEPTH));
  ok &= out.Write("WireGrate_Desc.txt", GrateDescription());
  ok &= out.Write("WireGrate_Opened0.dat", OpenedGrateShapes(false));
  ok &= out.Write("WireGrate_Opened1.dat", OpenedGrateShapes(true));
  ok &= out.Write("Pushable_Parts.txt", PushableParts());
  // On 1.5 s, off 0.5 s, on 1 s, off 0.5 s.
  ok &= out.Write("Laser_Durations.txt", formats::DurationsText({1.5f, 0.5f, 1.0f, 0.5f}));
  return ok;
}

}  // namespace

DATAGEN_GROUP("mechanism-side-files", WriteSideFiles);
