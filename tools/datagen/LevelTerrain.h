#pragma once
// The terrain meshes of the demo levels, made from their room layouts: the
// walkable floor in rows of cells, a wall along every outline edge facing
// the walkable side, and a lid on every pillar. Two materials: the floor
// texture and the wall texture, both repeating every TERRAIN_TILE units.
// Header only, so the generator and the tests build the same mesh.
#include <cmath>
#include <string>
#include <vector>

#include "tools/datagen/LevelLayouts.h"
#include "tools/formats/GraphicsFiles.h"
#include "tools/formats/XFileWriter.h"

namespace datagen {

constexpr float TERRAIN_TILE = 400.0f;
constexpr const char* TERRAIN_FLOOR_TEXTURE = "TerrainFloor.png";
constexpr const char* TERRAIN_WALL_TEXTURE = "TerrainWall.png";

inline std::string TerrainMeshName(const LEVEL_LAYOUT& layout) { return layout.name + "_Terrain.X"; }

namespace terrain_detail {

struct Builder {
  formats::XMeshDesc mesh;
  // A quad a, b, c, d (counter-clockwise seen from its front) with its
  // texture coordinates, normal and material.
  void Quad(const D3DXVECTOR3 (&p)[4], const D3DXVECTOR2 (&uv)[4], const D3DXVECTOR3& normal, uint32_t material) {
    const uint32_t base = uint32_t(mesh.Positions.size());
    for (int k = 0; k < 4; ++k) {
      mesh.Positions.push_back(p[k]);
      mesh.TexCoords.push_back(uv[k]);
    }
    const uint32_t n = uint32_t(mesh.Normals.size());
    mesh.Normals.push_back(normal);
    mesh.Faces.push_back({base, base + 1, base + 2});
    mesh.Faces.push_back({base, base + 2, base + 3});
    mesh.NormalFaces.push_back({n, n, n});
    mesh.NormalFaces.push_back({n, n, n});
    mesh.FaceMaterials.push_back(material);
    mesh.FaceMaterials.push_back(material);
  }
  // A horizontal rectangle at height z, facing up.
  void Flat(float x0, float y0, float x1, float y1, float z, uint32_t material) {
    const D3DXVECTOR3 p[4] = {{x0, y0, z}, {x1, y0, z}, {x1, y1, z}, {x0, y1, z}};
    const D3DXVECTOR2 uv[4] = {{x0 / TERRAIN_TILE, -y0 / TERRAIN_TILE},
                               {x1 / TERRAIN_TILE, -y0 / TERRAIN_TILE},
                               {x1 / TERRAIN_TILE, -y1 / TERRAIN_TILE},
                               {x0 / TERRAIN_TILE, -y1 / TERRAIN_TILE}};
    Quad(p, uv, D3DXVECTOR3(0, 0, 1), material);
  }
};

}  // namespace terrain_detail

inline formats::XFileDesc TerrainMeshFile(const LEVEL_LAYOUT& layout) {
  terrain_detail::Builder b;
  b.mesh.Name = layout.name + "_Terrain";
  formats::XMaterialDesc floor;
  floor.Texture = TERRAIN_FLOOR_TEXTURE;
  formats::XMaterialDesc wall;
  wall.Texture = TERRAIN_WALL_TEXTURE;
  b.mesh.Materials = {floor, wall};

  // Floor: each row's runs of walkable cells.
  const LAYOUT_GRID g = MakeLayoutGrid(layout);
  for (int j = 0; j < g.height; ++j)
    for (int i = 0; i < g.width;) {
      if (!g.At(i, j)) {
        ++i;
        continue;
      }
      int end = i;
      while (g.At(end, j)) ++end;
      const D3DXVECTOR3 a = g.Corner(i, j), c = g.Corner(end, j + 1);
      b.Flat(a.x, a.y, c.x, c.y, 0.0f, 0);
      i = end;
    }

  // Walls: every outline edge, the walkable side on its left.
  const float h = layout.wallHeight;
  for (const std::vector<D3DXVECTOR3>& loop : LayoutOutlines(layout)) {
    float along = 0.0f;
    for (size_t k = 0; k < loop.size(); ++k) {
      const D3DXVECTOR3 a = loop[k], e = loop[(k + 1) % loop.size()];
      const D3DXVECTOR3 d = e - a;
      const float length = std::sqrt(d.x * d.x + d.y * d.y);
      const D3DXVECTOR3 normal(-d.y / length, d.x / length, 0.0f);
      const D3DXVECTOR3 p[4] = {{a.x, a.y, 0.0f}, {a.x, a.y, h}, {e.x, e.y, h}, {e.x, e.y, 0.0f}};
      const float u0 = along / TERRAIN_TILE, u1 = (along + length) / TERRAIN_TILE, v = h / TERRAIN_TILE;
      const D3DXVECTOR2 uv[4] = {{u0, v}, {u0, 0.0f}, {u1, 0.0f}, {u1, v}};
      b.Quad(p, uv, normal, 1);
      along += length;
    }
  }

  // Pillar lids.
  for (const LAYOUT_BOX& pillar : layout.pillars) b.Flat(pillar.minX, pillar.minY, pillar.maxX, pillar.maxY, h, 1);

  formats::XFileDesc file;
  file.Meshes.push_back(b.mesh);
  return file;
}

// The floor texture: grey tiles with darker joints. The wall texture: rows
// of offset bricks.
inline formats::TestPicture TerrainFloorPicture() {
  formats::TestPicture p(64, 64, 0xFF8A8F94u);
  for (uint32_t y = 0; y < 64; ++y)
    for (uint32_t x = 0; x < 64; ++x) {
      if (x % 32 == 0 || y % 32 == 0) p.At(x, y) = 0xFF4A4E52u;
      else if (((x / 32) + (y / 32)) % 2 == 1) p.At(x, y) = 0xFF7C8186u;
    }
  return p;
}

inline formats::TestPicture TerrainWallPicture() {
  formats::TestPicture p(64, 64, 0xFF9C5A3Cu);
  for (uint32_t y = 0; y < 64; ++y)
    for (uint32_t x = 0; x < 64; ++x) {
      const uint32_t shift = (y / 16) % 2 == 0 ? 0u : 16u;
      if (y % 16 == 0 || (x + shift) % 32 == 0) p.At(x, y) = 0xFFD8D0C0u;
    }
  return p;
}

}  // namespace datagen
