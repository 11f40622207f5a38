#pragma once
// The trigger file: little-endian records.
//   int32 count (0 or less: no records)
//   per record: int32 shape (0 circle, other values rectangle),
//     string script, string name, 3 x f32 centre, int32 enabled (1 = on),
//     f32 radius (circle) or 2 x f32 width, height (rectangle),
//     int32 type (1 action, other values walk-in)
// A string is an int32 length n followed by n + 1 bytes, the last a 0.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct TRIGGER_RECORD {
  bool circle = true;
  std::string script;
  std::string name;
  float x = 0.0f, y = 0.0f, z = 0.0f;
  bool enabled = false;
  float radius = 0.0f;              // circle
  float width = 0.0f, height = 0.0f;  // rectangle
  uint32_t type = 0;                // 0 walk-in, 1 action
};

// Longest string a trigger file may hold (terminating 0 not counted).
constexpr int32_t TRIGGER_FILE_MAX_STRING = 4096;

// Parses the bytes into records. Stops at the first record that is cut
// short or malformed (a negative or too long string, a string without its
// terminating 0, a negative count): the records before it are kept in
// `records`, the result is false and `error` says where it stopped.
// Nothing is allocated from a count read from the bytes.
bool ParseTriggerFile(const uint8_t* data, size_t size, std::vector<TRIGGER_RECORD>& records,
                      std::string* error = nullptr);
