// Level4 on the OpenGL device, the follow camera at four places of the route, every terrain face in view
// lit: the start beside the kill laser with the targets up, the broken west door, the north room's lit
// circuit and the east room past the grate.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend_images/PictureProbes.h"
#include "game/demo/DemoLevelStart.h"
#include "game/playthrough/Level4Route.h"

using namespace level4test;

namespace {

int Lit(const std::vector<uint32_t>& pixels) { return probe::LitProbes(pixels, 20, 0x18); }
// How many probed pixels are mostly red.
int RedProbes(const std::vector<uint32_t>& pixels) {
  int red = 0;
  for (int y = 20; y < 600; y += 20)
    for (int x = 20; x < 800; x += 20) {
      const uint32_t c = pixels[size_t(y) * 800 + size_t(x)];
      red += probe::R(c) > 150 && probe::R(c) > probe::G(c) + 80 && probe::R(c) > probe::B(c) + 80 ? 1 : 0;
    }
  return red;
}

}  // namespace

TEST(Level4Images, TheRouteSeenByTheFollowCamera) {
  AppScenario a(Level4Options(true));
  if (!a.Ready()) GTEST_SKIP() << a.Problem();
  ASSERT_TRUE(ToLevel4(a));
  a.Run(10);
  ASSERT_TRUE(a.Capture("level4_01_start"));
  EXPECT_TRUE(demolevel::EveryFaceLit(a, "Level4"));
  EXPECT_GT(Lit(a.Pixels()), 900) << "the west room fills the view";
  EXPECT_GT(RedProbes(a.Pixels()), 0) << "the kill laser's red beam";

  const datagen::DEMO_LEVEL_CONTENT content = datagen::DemoLevelContent("Level4");
  RouteRunner run(a);
  const std::vector<std::pair<std::string, std::string>> pictures = {
      {"break it red", "level4_02_west_door_broken"},
      {"the second connector lights the receptor", "level4_03_circuit_lit"},
      {"destroy the passage laser's emitter", "level4_04_east_room"},
  };
  size_t next = 0;
  for (const DEMO_ROUTE_STEP& step : content.route) {
    if (step.kind == DEMO_ROUTE_STEP::FINISH) break;
    ASSERT_TRUE(run.Take(step)) << step.note;
    if (next < pictures.size() && pictures[next].first == step.note) {
      ASSERT_TRUE(run.Run(1.0f));
      ASSERT_TRUE(a.Capture(pictures[next].second));
      EXPECT_GT(Lit(a.Pixels()), 900) << pictures[next].second;
      EXPECT_TRUE(demolevel::EveryFaceLit(a, "Level4")) << pictures[next].second;
      ++next;
    }
  }
  EXPECT_EQ(next, pictures.size());
}
