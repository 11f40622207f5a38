#include <string>

#include "platform/Graphics.h"

namespace platform {
namespace detail {
IGraphicsSystem* CreateGlGraphicsSystem() { return nullptr; }
IGraphicsSystem* CreateOffscreenGlGraphicsSystem(std::string* why) {
  if (why) *why = "not built";
  return nullptr;
}
}  // namespace detail
}  // namespace platform
