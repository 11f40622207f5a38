#include "tools/formats/TriggerFile.h"

#include <cstring>

namespace formats {

namespace {

void PutInt(std::vector<uint8_t>& out, int32_t value) {
  const uint32_t bits = static_cast<uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(bits >> shift));
}

void PutFloat(std::vector<uint8_t>& out, float value) {
  int32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  PutInt(out, bits);
}

void PutString(std::vector<uint8_t>& out, const std::string& text) {
  PutInt(out, static_cast<int32_t>(text.size()));
  out.insert(out.end(), text.begin(), text.end());
  out.push_back(0);
}

}  // namespace

TriggerFileRecord TriggerFileRecord::MakeCircle(std::string script, std::string name, float x, float y, float z,
                                                float radius, Type type, bool enabled) {
  TriggerFileRecord r;
  r.shape = Circle;
  r.script = std::move(script);
  r.name = std::move(name);
  r.x = x;
  r.y = y;
  r.z = z;
  r.radius = radius;
  r.type = type;
  r.enabled = enabled;
  return r;
}

TriggerFileRecord TriggerFileRecord::MakeRectangle(std::string script, std::string name, float x, float y,
                                                   float z, float width, float height, Type type, bool enabled) {
  TriggerFileRecord r = MakeCircle(std::move(script), std::move(name), x, y, z, 0.0f, type, enabled);
  r.shape = Rectangle;
  r.width = width;
  r.height = height;
  return r;
}

std::vector<uint8_t> TriggerFileBytes(const std::vector<TriggerFileRecord>& records) {
  std::vector<uint8_t> out;
  PutInt(out, static_cast<int32_t>(records.size()));
  for (const TriggerFileRecord& r : records) {
    PutInt(out, r.shape);
    PutString(out, r.script);
    PutString(out, r.name);
    PutFloat(out, r.x);
    PutFloat(out, r.y);
    PutFloat(out, r.z);
    PutInt(out, r.enabled ? 1 : 0);
    if (r.shape == TriggerFileRecord::Circle) {
      PutFloat(out, r.radius);
    } else {
      PutFloat(out, r.width);
      PutFloat(out, r.height);
    }
    PutInt(out, r.type);
  }
  return out;
}

}  // namespace formats
