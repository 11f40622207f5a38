#pragma once
// The room layouts of the demo levels, the one source of their geometry:
// walkable rooms and corridors are axis-aligned boxes on a 100-unit grid,
// pillars are solid boxes inside them. The collision files are made from
// the outline of the walkable area, the terrain meshes from the same boxes.
// Header only, so every asset group (and the tests) can use it.
#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/Math.h"

namespace datagen {

struct LAYOUT_BOX {
  float minX, minY, maxX, maxY;
};

struct LEVEL_LAYOUT {
  std::string name;                                    // "LevelTutorial", "Level4", "Level8"
  std::vector<LAYOUT_BOX> rooms;                       // walkable floor (rooms and corridors)
  std::vector<LAYOUT_BOX> pillars;                     // solid blocks standing on the floor
  std::vector<std::vector<D3DXVECTOR3>> playerOnlyWalls;  // open polylines only the player meets
  D3DXVECTOR3 playerStart;
  float wallHeight = 400.0f;
};

// Size of the grid every box lies on, and the margin of the walls that
// characters test (class 0 grown into the walkable area).
constexpr float LAYOUT_CELL = 100.0f;
constexpr float CHARACTER_WALL_MARGIN = 60.0f;

inline const std::vector<LEVEL_LAYOUT>& DemoLevelLayouts() {
  static const std::vector<LEVEL_LAYOUT> layouts = {
      // A walk through three rooms: the start, a hall with two pillars, and a
      // last room with an alcove the player may not enter.
      {"LevelTutorial",
       {{-500, -400, 500, 400},
        {500, -200, 1300, 200},
        {1300, -600, 2900, 600},
        {2000, 600, 2400, 1400},
        {1600, 1400, 2800, 2600},
        {2800, 1800, 3200, 2200}},
       {{1800, -300, 2000, -100}, {2200, 100, 2400, 300}},
       {{{2740, 1740, 0}, {2740, 2260, 0}}},
       {0, 0, 0}},
      // A hub with four pillars and a room on each side; the southern room
      // has two alcoves closed to the player.
      {"Level4",
       {{-1000, -1000, 1000, 1000},
        {-1600, -200, -1000, 200},
        {-2600, -600, -1600, 600},
        {1000, -200, 1600, 200},
        {1600, -800, 3000, 800},
        {-200, 1000, 200, 1600},
        {-800, 1600, 800, 2800},
        {-200, -1600, 200, -1000},
        {-600, -2600, 600, -1600},
        {-1000, -2400, -600, -2000},
        {600, -2400, 1000, -2000}},
       {{-600, -600, -400, -400}, {400, -600, 600, -400}, {-600, 400, -400, 600}, {400, 400, 600, 600},
        {2200, -200, 2400, 200}},
       {{{-540, -2460, 0}, {-540, -1940, 0}}, {{540, -2460, 0}, {540, -1940, 0}}},
       {-2100, 0, 0}},
      // An entry room and a corridor into a stepped round arena with four
      // pillars and two alcoves closed to the player (the enemies' nests),
      // and a second corridor north out of the arena into the core room.
      {"Level8",
       {{-500, -3000, 500, -2200},
        {-200, -2200, 200, -1600},
        {-1600, -800, 1600, 800},
        {-1200, -1200, 1200, 1200},
        {-800, -1600, 800, 1600},
        {1600, -200, 2000, 200},
        {-2000, -200, -1600, 200},
        {-200, 1600, 200, 2200},
        {-600, 2200, 600, 3000}},
       {{-700, -700, -500, -500}, {500, -700, 700, -500}, {-700, 500, -500, 700}, {500, 500, 700, 700}},
       {{{1540, -260, 0}, {1540, 260, 0}}, {{-1540, -260, 0}, {-1540, 260, 0}}},
       {0, -2600, 0}},
  };
  return layouts;
}

inline const LEVEL_LAYOUT* FindLevelLayout(const std::string& name) {
  for (const LEVEL_LAYOUT& layout : DemoLevelLayouts())
    if (layout.name == name) return &layout;
  return nullptr;
}

// The layout's cells: walkable where a room covers a cell's centre and no
// pillar does. Cells are counted from the lower-left corner of all rooms,
// with a border of solid cells around them.
struct LAYOUT_GRID {
  float originX = 0.0f, originY = 0.0f;
  int width = 0, height = 0;
  std::vector<uint8_t> walkable;
  bool At(int i, int j) const {
    return i >= 0 && j >= 0 && i < width && j < height && walkable[size_t(j) * size_t(width) + size_t(i)] != 0;
  }
  D3DXVECTOR3 Corner(int i, int j) const {
    return D3DXVECTOR3(originX + float(i) * LAYOUT_CELL, originY + float(j) * LAYOUT_CELL, 0.0f);
  }
};

inline LAYOUT_GRID MakeLayoutGrid(const LEVEL_LAYOUT& layout) {
  LAYOUT_GRID g;
  if (layout.rooms.empty()) return g;
  float minX = layout.rooms[0].minX, minY = layout.rooms[0].minY;
  float maxX = layout.rooms[0].maxX, maxY = layout.rooms[0].maxY;
  for (const LAYOUT_BOX& b : layout.rooms) {
    minX = std::min(minX, b.minX), minY = std::min(minY, b.minY);
    maxX = std::max(maxX, b.maxX), maxY = std::max(maxY, b.maxY);
  }
  g.originX = minX - LAYOUT_CELL;
  g.originY = minY - LAYOUT_CELL;
  g.width = int((maxX - minX) / LAYOUT_CELL) + 2;
  g.height = int((maxY - minY) / LAYOUT_CELL) + 2;
  g.walkable.assign(size_t(g.width) * size_t(g.height), 0);
  const auto covers = [](const LAYOUT_BOX& b, float x, float y) {
    return x > b.minX && x < b.maxX && y > b.minY && y < b.maxY;
  };
  for (int j = 0; j < g.height; ++j)
    for (int i = 0; i < g.width; ++i) {
      const float x = g.originX + (float(i) + 0.5f) * LAYOUT_CELL, y = g.originY + (float(j) + 0.5f) * LAYOUT_CELL;
      bool in = false;
      for (const LAYOUT_BOX& b : layout.rooms) in = in || covers(b, x, y);
      for (const LAYOUT_BOX& b : layout.pillars) in = in && !covers(b, x, y);
      g.walkable[size_t(j) * size_t(g.width) + size_t(i)] = in ? 1 : 0;
    }
  return g;
}

// The outlines of the walkable area as closed loops of corner points (the
// first point not repeated), each walked with the walkable side on its left:
// the outer walls counter-clockwise, pillars clockwise. Loops start at their
// lowest, then leftmost, corner and come in that order, so the result never
// depends on anything but the layout. Empty when two walkable cells touch
// only at a corner (a layout the walls cannot follow).
inline std::vector<std::vector<D3DXVECTOR3>> LayoutOutlines(const LEVEL_LAYOUT& layout) {
  const LAYOUT_GRID g = MakeLayoutGrid(layout);
  // Unit edges between a walkable cell and a solid one, keyed by their start
  // corner (j, i); the walkable cell lies on the left of each.
  using Corner = std::pair<int, int>;  // (j, i): ordered bottom row first
  std::map<Corner, std::vector<Corner>> next;
  for (int j = 0; j < g.height; ++j)
    for (int i = 0; i < g.width; ++i) {
      if (!g.At(i, j)) continue;
      if (!g.At(i, j - 1)) next[{j, i}].push_back({j, i + 1});
      if (!g.At(i + 1, j)) next[{j, i + 1}].push_back({j + 1, i + 1});
      if (!g.At(i, j + 1)) next[{j + 1, i + 1}].push_back({j + 1, i});
      if (!g.At(i - 1, j)) next[{j + 1, i}].push_back({j, i});
    }
  for (const auto& entry : next)
    if (entry.second.size() != 1) return {};
  std::vector<std::vector<D3DXVECTOR3>> loops;
  while (!next.empty()) {
    const Corner start = next.begin()->first;
    std::vector<Corner> path;
    Corner at = start;
    do {
      path.push_back(at);
      const auto it = next.find(at);
      if (it == next.end()) return {};
      const Corner to = it->second.front();
      next.erase(it);
      at = to;
    } while (at != start);
    // Keep only the corners where the direction turns.
    std::vector<D3DXVECTOR3> loop;
    const size_t n = path.size();
    for (size_t k = 0; k < n; ++k) {
      const Corner& a = path[(k + n - 1) % n];
      const Corner& b = path[k];
      const Corner& c = path[(k + 1) % n];
      const bool straight = (b.first - a.first == c.first - b.first) && (b.second - a.second == c.second - b.second);
      if (!straight) loop.push_back(g.Corner(b.second, b.first));
    }
    loops.push_back(loop);
  }
  return loops;
}

// Moves every edge of axis-aligned loops by margin to its left, into the
// walkable side: a corner moves by margin along both its edges' left normals.
inline std::vector<std::vector<D3DXVECTOR3>> GrowIntoWalkable(const std::vector<std::vector<D3DXVECTOR3>>& loops,
                                                              float margin) {
  const auto unit = [](float v) { return v > 0.0f ? 1.0f : (v < 0.0f ? -1.0f : 0.0f); };
  std::vector<std::vector<D3DXVECTOR3>> grown;
  for (const std::vector<D3DXVECTOR3>& loop : loops) {
    const size_t n = loop.size();
    std::vector<D3DXVECTOR3> out;
    for (size_t k = 0; k < n; ++k) {
      const D3DXVECTOR3 in = loop[k] - loop[(k + n - 1) % n], leave = loop[(k + 1) % n] - loop[k];
      // Left normal of an axis-aligned direction (x, y) is (-y, x).
      const float nx = -unit(in.y) - unit(leave.y), ny = unit(in.x) + unit(leave.x);
      out.push_back(D3DXVECTOR3(loop[k].x + nx * margin, loop[k].y + ny * margin, 0.0f));
    }
    grown.push_back(out);
  }
  return grown;
}

}  // namespace datagen
