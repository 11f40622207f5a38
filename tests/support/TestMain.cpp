// Test programs run on the headless backend unless a test chooses otherwise.
#include <gtest/gtest.h>

#include "platform/Platform.h"

int main(int argc, char** argv) {
  platform::SetBackend(platform::Backend::Headless);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
