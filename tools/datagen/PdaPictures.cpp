// The pictures the level descriptions and the document list name: a GPS
// map per level drawn from its room layout, and the images of the image
// documents and of the e-mails' image attachments: plans drawn from the
// levels' own layouts and contents, Level4's circuit, a camera still.
#include <algorithm>
#include <map>
#include <variant>

#include "tools/datagen/DataGen.h"
#include "tools/datagen/DemoLevelContents.h"
#include "tools/datagen/DemoLevels.h"
#include "tools/datagen/LevelLayouts.h"
#include "tools/datagen/PdaPaint.h"
#include "tools/datagen/WordPainter.h"

namespace {

using namespace datagen::paint;

// The maps fill the GPS window: 512 x 256 texels.
constexpr int MAP_W = 512, MAP_H = 256;
// Document and attachment pictures: the viewer shows their top-left 480 x
// 200 texels; the texture is a power of two in each direction, which the
// texture loader takes as it stands.
constexpr int PICTURE_W = 480, PICTURE_H = 200;
constexpr int TEXTURE_W = 512, TEXTURE_H = 256;

TestPicture Map(const datagen::LEVEL_LAYOUT& layout) {
  TestPicture p(MAP_W, MAP_H, Argb(255, 8, 30, 22));
  for (int x = 0; x < MAP_W; x += 32) Fill(p, x, 0, 1, MAP_H, Argb(255, 16, 52, 38));
  for (int y = 0; y < MAP_H; y += 32) Fill(p, 0, y, MAP_W, 1, Argb(255, 16, 52, 38));
  float minX = 1e9f, minY = 1e9f, maxX = -1e9f, maxY = -1e9f;
  for (const datagen::LAYOUT_BOX& b : layout.rooms) {
    minX = std::min(minX, b.minX);
    minY = std::min(minY, b.minY);
    maxX = std::max(maxX, b.maxX);
    maxY = std::max(maxY, b.maxY);
  }
  // World x to the right, world y up; a margin of 16 texels.
  const float scale = std::min(float(MAP_W - 32) / (maxX - minX), float(MAP_H - 32) / (maxY - minY));
  const float offX = (float(MAP_W) - (maxX - minX) * scale) * 0.5f;
  const float offY = (float(MAP_H) - (maxY - minY) * scale) * 0.5f;
  auto box = [&](const datagen::LAYOUT_BOX& b, uint32_t fill) {
    const int x0 = int(offX + (b.minX - minX) * scale), x1 = int(offX + (b.maxX - minX) * scale);
    const int y0 = int(offY + (maxY - b.maxY) * scale), y1 = int(offY + (maxY - b.minY) * scale);
    Fill(p, x0, y0, x1 - x0, y1 - y0, fill);
  };
  for (const datagen::LAYOUT_BOX& b : layout.rooms)
    box({b.minX - 40, b.minY - 40, b.maxX + 40, b.maxY + 40}, Argb(255, 90, 220, 150));
  for (const datagen::LAYOUT_BOX& b : layout.rooms) box(b, Argb(255, 20, 80, 56));
  for (const datagen::LAYOUT_BOX& b : layout.pillars) box(b, Argb(255, 90, 220, 150));
  const float sx = offX + (layout.playerStart.x - minX) * scale, sy = offY + (maxY - layout.playerStart.y) * scale;
  Disc(p, sx, sy, 5.0f, Argb(255, 255, 210, 60));
  Ring(p, sx, sy, 9.0f, 1.5f, Argb(255, 255, 210, 60));
  return p;
}

// ---- The documents' pictures: plans drawn from the levels' own layouts ----

const uint32_t INK = Argb(255, 190, 225, 255), INK_DIM = Argb(255, 60, 110, 160);
const uint32_t FLOOR = Argb(255, 24, 58, 92), YELLOW = Argb(255, 255, 210, 60);
const uint32_t RED = Argb(255, 240, 70, 60), BLUE = Argb(255, 80, 160, 255), GREEN = Argb(255, 90, 230, 130);

// A blueprint sheet: the visible 480 x 200 with a frame and a faint grid.
TestPicture Sheet() {
  TestPicture p(TEXTURE_W, TEXTURE_H, Argb(255, 12, 22, 34));
  Panel(p, 0, 0, PICTURE_W, PICTURE_H, 6, Argb(255, 18, 36, 58), Argb(255, 8, 16, 28), Argb(255, 79, 163, 224), 2);
  for (int x = 20; x < PICTURE_W - 8; x += 20) Fill(p, x, 6, 1, PICTURE_H - 12, Argb(255, 20, 42, 66));
  for (int y = 20; y < PICTURE_H - 8; y += 20) Fill(p, 6, y, PICTURE_W - 12, 1, Argb(255, 20, 42, 66));
  return p;
}

// World (x right, y up) to sheet texels, fitting the world box into the sheet box.
struct PlanView {
  float minX, maxY, scale, offX, offY;
  PlanView(const datagen::LAYOUT_BOX& world, int x, int y, int w, int h) {
    scale = std::min(float(w) / (world.maxX - world.minX), float(h) / (world.maxY - world.minY));
    minX = world.minX;
    maxY = world.maxY;
    offX = float(x) + (float(w) - (world.maxX - world.minX) * scale) * 0.5f;
    offY = float(y) + (float(h) - (world.maxY - world.minY) * scale) * 0.5f;
  }
  float X(float wx) const { return offX + (wx - minX) * scale; }
  float Y(float wy) const { return offY + (maxY - wy) * scale; }
};

datagen::LAYOUT_BOX Bounds(const datagen::LEVEL_LAYOUT& layout) {
  datagen::LAYOUT_BOX b = layout.rooms.front();
  for (const datagen::LAYOUT_BOX& r : layout.rooms)
    b = {std::min(b.minX, r.minX), std::min(b.minY, r.minY), std::max(b.maxX, r.maxX), std::max(b.maxY, r.maxY)};
  return b;
}

// The walkable cells as floor, walls wherever floor meets rock (pillars too).
void DrawPlan(TestPicture& p, const datagen::LEVEL_LAYOUT& layout, const PlanView& v) {
  const datagen::LAYOUT_GRID g = datagen::MakeLayoutGrid(layout);
  const float c = datagen::LAYOUT_CELL;
  for (int j = 0; j < g.height; ++j)
    for (int i = 0; i < g.width; ++i) {
      if (!g.At(i, j)) continue;
      const D3DXVECTOR3 lo = g.Corner(i, j);
      const int x0 = int(v.X(lo.x)), x1 = int(v.X(lo.x + c)), y0 = int(v.Y(lo.y + c)), y1 = int(v.Y(lo.y));
      if (x1 <= 0 || y1 <= 0 || x0 >= PICTURE_W || y0 >= PICTURE_H) continue;
      Fill(p, std::max(x0, 4), std::max(y0, 4), std::min(x1, PICTURE_W - 4) - std::max(x0, 4),
           std::min(y1, PICTURE_H - 4) - std::max(y0, 4), FLOOR);
    }
  auto wall = [&](float ax, float ay, float bx, float by) {
    const float x0 = v.X(ax), y0 = v.Y(ay), x1 = v.X(bx), y1 = v.Y(by);
    if (std::max(x0, x1) < 4 || std::min(x0, x1) > PICTURE_W - 4 || std::max(y0, y1) < 4 ||
        std::min(y0, y1) > PICTURE_H - 4)
      return;
    Line(p, std::clamp(x0, 4.0f, PICTURE_W - 5.0f), std::clamp(y0, 4.0f, PICTURE_H - 5.0f),
         std::clamp(x1, 4.0f, PICTURE_W - 5.0f), std::clamp(y1, 4.0f, PICTURE_H - 5.0f), 2.0f, INK);
  };
  for (int j = 0; j < g.height; ++j)
    for (int i = 0; i < g.width; ++i) {
      if (!g.At(i, j)) continue;
      const D3DXVECTOR3 lo = g.Corner(i, j);
      if (!g.At(i - 1, j)) wall(lo.x, lo.y, lo.x, lo.y + c);
      if (!g.At(i + 1, j)) wall(lo.x + c, lo.y, lo.x + c, lo.y + c);
      if (!g.At(i, j - 1)) wall(lo.x, lo.y, lo.x + c, lo.y);
      if (!g.At(i, j + 1)) wall(lo.x, lo.y + c, lo.x + c, lo.y + c);
    }
  // The start: a yellow point with a ring.
  Disc(p, v.X(layout.playerStart.x), v.Y(layout.playerStart.y), 4.0f, YELLOW);
  Ring(p, v.X(layout.playerStart.x), v.Y(layout.playerStart.y), 8.0f, 1.5f, YELLOW);
}

// A north arrow and a scale bar of 1000 world units.
void Compass(TestPicture& p, const PlanView& v) {
  Line(p, 462, 36, 462, 14, 2.0f, INK);
  Line(p, 462, 12, 456, 22, 2.0f, INK);
  Line(p, 462, 12, 468, 22, 2.0f, INK);
  const float bar = 1000.0f * v.scale;
  Fill(p, 16, PICTURE_H - 16, int(bar), 3, YELLOW);
  Fill(p, 16, PICTURE_H - 20, 2, 10, YELLOW);
  Fill(p, 16 + int(bar) - 2, PICTURE_H - 20, 2, 10, YELLOW);
}

void Marker(TestPicture& p, const PlanView& v, float x, float y, uint32_t color) {
  Ring(p, v.X(x), v.Y(y), 7.0f, 2.0f, color);
  Disc(p, v.X(x), v.Y(y), 3.0f, color);
}
void Terminal(TestPicture& p, const PlanView& v, float x, float y) {
  Panel(p, int(v.X(x)) - 6, int(v.Y(y)) - 5, 12, 10, 2, Argb(255, 40, 200, 220), Argb(255, 20, 120, 150), INK);
}
// A door across a corridor: a bar, along x (across a north-south way) or along y.
void Door(TestPicture& p, const PlanView& v, float x, float y, bool alongX, uint32_t color) {
  const float h = 180.0f;
  if (alongX)
    Line(p, v.X(x - h), v.Y(y), v.X(x + h), v.Y(y), 4.0f, color);
  else
    Line(p, v.X(x), v.Y(y - h), v.X(x), v.Y(y + h), 4.0f, color);
}

TestPicture TutorialPlan() {
  namespace t = datagen::tutorial;
  const datagen::LEVEL_LAYOUT& layout = *datagen::FindLevelLayout("LevelTutorial");
  TestPicture p = Sheet();
  const PlanView v(Bounds(layout), 16, 16, PICTURE_W - 48, PICTURE_H - 32);
  DrawPlan(p, layout, v);
  Marker(p, v, t::SHOOTING_SPOT_X, t::BOX_Y, Argb(255, 200, 150, 90));  // the box
  Marker(p, v, t::SHOOTING_SPOT_X, t::BARREL_Y, RED);                   // the barrel
  Marker(p, v, t::ITEM_X, 0.0f, BLUE);                                  // the upgrade
  Terminal(p, v, t::TERMINAL_X, t::TERMINAL_Y);
  Marker(p, v, t::EXIT_X, t::EXIT_Y, GREEN);
  Compass(p, v);
  return p;
}

// Level4's places from its items file: the doors, the lasers, the terminal,
// the circuit and the exit.
void Level4Features(TestPicture& p, const PlanView& v, bool circuitOnly) {
  namespace l4 = datagen::level4;
  const ITEMS_FILE items = l4::Items();
  if (!circuitOnly) {
    for (const LASER_RECORD& l : items.lasers)
      Line(p, v.X(l.pair.position.x), v.Y(l.pair.position.y), v.X(l.farEnd.x), v.Y(l.farEnd.y), 2.5f,
           l.type == 1 ? RED : Argb(255, 255, 150, 60));
    for (const DOOR_RECORD& d : items.doors) Door(p, v, d.pair.position.x, d.pair.position.y, false, RED);
    for (const OPEN_CLOSE_DOOR_RECORD& d : items.openCloseDoors)
      Door(p, v, d.pair.position.x, d.pair.position.y, false, YELLOW);
    for (const ROOF_RECORD& r : items.roofs)
      for (const ROOF_DOOR_ENTRY& d : r.doors)
        if (d.kind == 1) Door(p, v, d.openClose.pair.position.x, d.openClose.pair.position.y, true, YELLOW);
    Terminal(p, v, 0.0f, 850.0f);
    Marker(p, v, l4::GOAL_X, l4::GOAL_Y, GREEN);
  }
  // The circuit: nodes by id, wires drawn square (first across, then along).
  std::map<int, D3DXVECTOR3> connectors, circuits;
  for (const CIRCUIT_OBJECT_RECORD& c : items.circuitObjects)
    if (c.IsReceptor()) circuits[c.receptor.id] = c.receptor.pair.position;
  std::vector<D3DXVECTOR3> generators;
  auto place = [&](const NODE_REFERENCE& n) -> D3DXVECTOR3 {
    if (const auto* c = std::get_if<NEW_CONNECTOR_REFERENCE>(&n.target)) return connectors[c->id] = c->position;
    if (const auto* c = std::get_if<CONNECTOR_ID_REFERENCE>(&n.target)) return connectors[c->id];
    if (const auto* c = std::get_if<CIRCUIT_ID_REFERENCE>(&n.target)) return circuits[c->id];
    if (const auto* g = std::get_if<NEW_GENERATOR_REFERENCE>(&n.target)) {
      generators.push_back(g->generator.pair.position);
      return circuits[g->generator.id] = g->generator.pair.position;
    }
    if (const auto* r = std::get_if<NEW_RECEPTOR_REFERENCE>(&n.target))
      return circuits[r->receptor.id] = r->receptor.pair.position;
    return D3DXVECTOR3(0, 0, 0);
  };
  const float w = circuitOnly ? 4.0f : 2.0f;
  for (const LINK_RECORD& l : items.links) {
    const D3DXVECTOR3 a = place(l.first), b = place(l.second);
    Line(p, v.X(a.x), v.Y(a.y), v.X(b.x), v.Y(a.y), w, Argb(255, 150, 215, 255));
    Line(p, v.X(b.x), v.Y(a.y), v.X(b.x), v.Y(b.y), w, Argb(255, 150, 215, 255));
  }
  const float r = circuitOnly ? 14.0f : 6.0f;
  for (const auto& c : connectors) {
    const int s = int(r * 0.8f);
    Panel(p, int(v.X(c.second.x)) - s, int(v.Y(c.second.y)) - s, 2 * s, 2 * s, 2, FLOOR, FLOOR, INK, 2);
  }
  for (const auto& c : circuits) {
    const bool generator = std::find(generators.begin(), generators.end(), c.second) != generators.end();
    Disc(p, v.X(c.second.x), v.Y(c.second.y), r, generator ? BLUE : Argb(255, 30, 60, 110));
    Ring(p, v.X(c.second.x), v.Y(c.second.y), r + 3.0f, 2.0f, generator ? INK : BLUE);
    if (!generator) {  // the receptor: a lamp's cross
      Line(p, v.X(c.second.x) - r * 0.6f, v.Y(c.second.y) - r * 0.6f, v.X(c.second.x) + r * 0.6f,
           v.Y(c.second.y) + r * 0.6f, 2.0f, BLUE);
      Line(p, v.X(c.second.x) - r * 0.6f, v.Y(c.second.y) + r * 0.6f, v.X(c.second.x) + r * 0.6f,
           v.Y(c.second.y) - r * 0.6f, 2.0f, BLUE);
    }
  }
}

// The terminal's schematic: the whole level, every room inside the sheet,
// with the terminal in the hub, the gates, the lasers and the circuit of
// the north room the terminal opens the way to.
TestPicture Level4TerminalSchematic() {
  const datagen::LEVEL_LAYOUT& layout = *datagen::FindLevelLayout("Level4");
  TestPicture p = Sheet();
  const PlanView v(Bounds(layout), 16, 12, PICTURE_W - 48, PICTURE_H - 24);
  DrawPlan(p, layout, v);
  Level4Features(p, v, false);
  Compass(p, v);
  return p;
}

// The circuit alone, large: generator, sockets and receptor with their wires.
TestPicture Level4Circuit() {
  TestPicture p = Sheet();
  const PlanView v({-700, 1800, 700, 2700}, 40, 24, PICTURE_W - 80, PICTURE_H - 48);
  Level4Features(p, v, true);
  return p;
}

TestPicture Level8Plan() {
  const datagen::LEVEL_LAYOUT& layout = *datagen::FindLevelLayout("Level8");
  namespace l8 = datagen::level8;
  TestPicture p = Sheet();
  const PlanView v(Bounds(layout), 16, 12, PICTURE_W - 48, PICTURE_H - 24);
  DrawPlan(p, layout, v);
  Marker(p, v, l8::BLUE_STATION_X, l8::BLUE_STATION_Y, BLUE);
  Marker(p, v, l8::RED_STATION_X, l8::RED_STATION_Y, RED);
  Terminal(p, v, l8::CONSOLE_X, l8::CONSOLE_Y);
  Marker(p, v, -l8::NEST_X, 0.0f, Argb(255, 200, 80, 200));
  Marker(p, v, l8::NEST_X, 0.0f, Argb(255, 200, 80, 200));
  // The core: rings round the goal.
  for (float r : {6.0f, 11.0f, 16.0f}) Ring(p, v.X(l8::GOAL_X), v.Y(l8::GOAL_Y), r, 2.0f, GREEN);
  Compass(p, v);
  return p;
}

// A still of a surveillance camera: a corridor in perspective, a shape at
// its end, scan lines and the camera's stamp.
TestPicture SurveillancePhoto() {
  TestPicture p(TEXTURE_W, TEXTURE_H, Argb(255, 0, 0, 0));
  const float cx = 250.0f, cy = 95.0f;
  for (int y = 0; y < PICTURE_H; ++y)
    for (int x = 0; x < PICTURE_W; ++x) {
      const float dx = std::abs(float(x) - cx) / 240.0f, dy = std::abs(float(y) - cy) / 105.0f;
      const float depth = std::max(dx, dy);  // 0 far, 1 near
      int g = int(20.0f + 70.0f * depth);
      if (dy > dx && y > cy) g += 12;        // the floor a little brighter
      if (std::abs(dx - dy) < 0.012f) g += 40;  // the corridor's edges
      if (int(depth * 12.0f) != int((depth + 0.01f) * 12.0f)) g += 18;  // wall panels
      g += int((uint32_t(x * 73 + y * 151) * 2654435761u >> 27) % 9);     // noise
      if (y % 3 == 0) g -= 8;
      g = std::clamp(g, 0, 255);
      p.At(uint32_t(x), uint32_t(y)) = Argb(255, g * 3 / 4, g, g * 3 / 4);
    }
  // A crouched shape with glowing eyes at the corridor's end.
  Disc(p, cx + 14.0f, cy + 14.0f, 14.0f, Argb(255, 10, 16, 10));
  Disc(p, cx + 26.0f, cy + 2.0f, 8.0f, Argb(255, 10, 16, 10));
  Disc(p, cx + 23.0f, cy + 1.0f, 1.6f, Argb(255, 220, 255, 200));
  Disc(p, cx + 29.0f, cy + 1.0f, 1.6f, Argb(255, 220, 255, 200));
  Fill(p, 14, 12, 10, 10, RED);  // recording
  datagen::PaintText(p, L"CAM 7   B   03:12", {30, 8, 200, 20}, 0xD0FFD0, 16);
  return p;
}

bool WritePdaPictures(const datagen::Output& out) {
  bool ok = true;
  for (const datagen::LEVEL_LAYOUT& layout : datagen::DemoLevelLayouts())
    for (const datagen::DemoLevel& level : datagen::DEMO_LEVELS)
      if (layout.name == level.name) ok &= out.Write(level.mapTexture, formats::PngBytes(Map(layout), false));
  // Documents 2, 5, 8 and 11: the training hall's plan, the circuit of
  // Level4's north room, a surveillance still and the core's map.
  const TestPicture documents[] = {TutorialPlan(), Level4Circuit(), SurveillancePhoto(), Level8Plan()};
  for (int n = 0; n < datagen::DEMO_DOCUMENT_COUNT; ++n)
    if (datagen::DocumentIsImage(n))
      ok &= out.Write(datagen::DocumentImageName(n), formats::PngBytes(documents[n / 3], false));
  // Each level's attachment: Level4's terminal schematic, the others their plans.
  const TestPicture attachments[] = {TutorialPlan(), Level4TerminalSchematic(), Level8Plan()};
  for (int i = 0; i < 3; ++i)
    ok &= out.Write(datagen::AttachmentImageName(datagen::DEMO_LEVELS[i]), formats::PngBytes(attachments[i], false));
  return ok;
}

}  // namespace

DATAGEN_GROUP("pda pictures", WritePdaPictures);
