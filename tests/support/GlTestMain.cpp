// Picture programs run on the SDL and OpenGL backend.
#include <gtest/gtest.h>

#include "platform/Platform.h"

int main(int argc, char** argv) {
  platform::SetBackend(platform::Backend::SdlGl);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
