#include "game/mechanisms/Marker.h"

bool CMarker::Create(float x, float y, float z, float /*size*/, const std::string& /*imageFile*/, int /*mode*/) {
  SetPosition(x, y, z);
  return false;
}

bool CPlaneMarker::Create(float x, float y, float z, float /*size*/, const std::string& /*imageFile*/,
                          int /*mode*/) {
  SetPosition(x, y, z);
  return false;
}
