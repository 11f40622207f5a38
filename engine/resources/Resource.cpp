#include "engine/resources/Resource.h"

#include "engine/app/GraphicsDevice.h"

namespace Nembra {

CVolatileResource::~CVolatileResource() {
  if (g_pGraphicsDevice) g_pGraphicsDevice->ForgetVolatileResource(this);
}

}  // namespace Nembra
