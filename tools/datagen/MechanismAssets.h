#pragma once
// Names and sizes of the level mechanisms' demo assets that more than one
// asset group uses (meshes, the side files that name them, the textures the
// particle files name).
namespace datagen {

// The breakable door: "Door.X" and its description.
constexpr float DOOR_WIDTH = 300.0f;
constexpr float DOOR_DEPTH = 40.0f;
constexpr float DOOR_HEIGHT = 300.0f;
// The sliding (open/close) door: "SlidingDoor.X" and its description.
constexpr float SLIDING_DOOR_WIDTH = 400.0f;
constexpr float SLIDING_DOOR_DEPTH = 40.0f;
constexpr float SLIDING_DOOR_HEIGHT = 320.0f;

// The wire grate: across x, its depth along y.
constexpr float GRATE_WIDTH = 300.0f;
constexpr float GRATE_DEPTH = 20.0f;
constexpr float GRATE_HEIGHT = 260.0f;
constexpr float GRATE_POST = 30.0f;  // width of each end post

// The pushable block: from its position forward along +x.
constexpr float PUSHABLE_LENGTH = 200.0f;
constexpr float PUSHABLE_WIDTH = 150.0f;
constexpr float PUSHABLE_HEIGHT = 120.0f;
constexpr float PUSHABLE_WHEEL_RADIUS = 30.0f;  // also the parts' height

// Generators and wave-weapon stations: the bounding-sphere radius the
// game's shapes and waves use.
constexpr float STATION_RADIUS = 110.0f;

// Particle textures of the mechanisms' effects.
constexpr const char* FLARE_TEXTURE = "MechanismFlare.tga";
constexpr const char* SPARK_TEXTURE = "MechanismSpark.tga";

}  // namespace datagen
