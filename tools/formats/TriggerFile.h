#pragma once
// Writer of level trigger files: int32 count, then per trigger an int32
// shape (0 circle, 1 rectangle), the script and the name as strings (int32
// length n, n bytes, a 0 byte), the centre as three floats, int32 enabled
// (1/0), the radius (circle) or width and height (rectangle), and int32
// type (0 walk-in, 1 action). Little-endian throughout.
#include <cstdint>
#include <string>
#include <vector>

namespace formats {

struct TriggerFileRecord {
  enum Shape : int32_t { Circle = 0, Rectangle = 1 };
  enum Type : int32_t { WalkIn = 0, Action = 1 };

  Shape shape = Circle;
  std::string script;
  std::string name;
  float x = 0.0f, y = 0.0f, z = 0.0f;
  bool enabled = true;
  float radius = 0.0f;                // circle
  float width = 0.0f, height = 0.0f;  // rectangle
  Type type = WalkIn;

  static TriggerFileRecord MakeCircle(std::string script, std::string name, float x, float y, float z,
                                      float radius, Type type = WalkIn, bool enabled = true);
  static TriggerFileRecord MakeRectangle(std::string script, std::string name, float x, float y, float z,
                                         float width, float height, Type type = WalkIn, bool enabled = true);
};

std::vector<uint8_t> TriggerFileBytes(const std::vector<TriggerFileRecord>& records);

}  // namespace formats
