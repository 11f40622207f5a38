// The demo levels' terrain meshes: the floor covers exactly the walkable
// cells, a wall stands on every outline edge facing the walkable side, and
// the mesh loads as the level's terrain.
#include <cmath>
#include <fstream>
#include <sstream>

#include "engine/resources/Mesh.h"
#include "game/level/LevelFixture.h"
#include "tools/datagen/LevelTerrain.h"

namespace {

using leveltest::LevelTest;

TEST(LevelTerrain, FloorCoversTheWalkableCellsAndWallsFaceThem) {
  for (const datagen::LEVEL_LAYOUT& layout : datagen::DemoLevelLayouts()) {
    SCOPED_TRACE(layout.name);
    const formats::XFileDesc file = datagen::TerrainMeshFile(layout);
    ASSERT_EQ(file.Meshes.size(), 1u);
    const formats::XMeshDesc& mesh = file.Meshes[0];
    ASSERT_EQ(mesh.Materials.size(), 2u);
    EXPECT_EQ(mesh.Materials[0].Texture, "TerrainFloor.png");
    EXPECT_EQ(mesh.Materials[1].Texture, "TerrainWall.png");
    ASSERT_EQ(mesh.FaceMaterials.size(), mesh.Faces.size());
    ASSERT_EQ(mesh.TexCoords.size(), mesh.Positions.size());

    const datagen::LAYOUT_GRID grid = datagen::MakeLayoutGrid(layout);
    size_t walkable = 0;
    for (uint8_t cell : grid.walkable) walkable += cell;
    size_t outlineEdges = 0;
    for (const auto& loop : datagen::LayoutOutlines(layout)) outlineEdges += loop.size();
    ASSERT_GT(outlineEdges, 0u);

    double floorArea = 0.0;
    size_t wallFaces = 0, lidFaces = 0;
    for (size_t f = 0; f < mesh.Faces.size(); ++f) {
      const D3DXVECTOR3& a = mesh.Positions[mesh.Faces[f][0]];
      const D3DXVECTOR3& b = mesh.Positions[mesh.Faces[f][1]];
      const D3DXVECTOR3& c = mesh.Positions[mesh.Faces[f][2]];
      const D3DXVECTOR3 ab = b - a, ac = c - a;
      D3DXVECTOR3 cross;
      D3DXVec3Cross(&cross, &ab, &ac);
      const D3DXVECTOR3& normal = mesh.Normals[mesh.NormalFaces[f][0]];
      // The winding agrees with the normal: front faces point where it points.
      EXPECT_GT(D3DXVec3Dot(&cross, &normal), 0.0f) << f;
      if (mesh.FaceMaterials[f] == 0) {
        EXPECT_EQ(normal, D3DXVECTOR3(0, 0, 1));
        EXPECT_EQ(a.z, 0.0f);
        floorArea += 0.5 * std::fabs(double(cross.z));
      } else if (normal.z == 0.0f) {
        ++wallFaces;
        EXPECT_NEAR(std::hypot(normal.x, normal.y), 1.0f, 1e-6f);
        // The walkable cell lies on the normal's side of the wall.
        const D3DXVECTOR3 mid = (a + c) * 0.5f + normal * (datagen::LAYOUT_CELL * 0.5f);
        const int i = int(std::floor((mid.x - grid.originX) / datagen::LAYOUT_CELL));
        const int j = int(std::floor((mid.y - grid.originY) / datagen::LAYOUT_CELL));
        EXPECT_TRUE(grid.At(i, j)) << mid.x << "," << mid.y;
      } else {
        ++lidFaces;
        EXPECT_EQ(a.z, layout.wallHeight);
      }
    }
    EXPECT_DOUBLE_EQ(floorArea, double(walkable) * datagen::LAYOUT_CELL * datagen::LAYOUT_CELL);
    EXPECT_EQ(wallFaces, 2 * outlineEdges);
    EXPECT_EQ(lidFaces, 2 * layout.pillars.size());
  }
}

TEST_F(LevelTest, TheGeneratedTerrainLoadsAsTheLevelsTerrain) {
  std::ifstream in(std::string(KARVESSA_DEMO_DATA_DIR) + "/Level4_Terrain.X", std::ios::binary);
  ASSERT_TRUE(in) << "the demo data holds the terrain";
  std::stringstream bytes;
  bytes << in.rdbuf();
  EXPECT_EQ(bytes.str(), formats::XFileText(datagen::TerrainMeshFile(*datagen::FindLevelLayout("Level4"))));
  WriteFile("Meshes/Level4_Terrain.X", bytes.str());
  ASSERT_TRUE(level->LoadTerrain("Level4_Terrain.X"));
  Nembra::CSimpleMesh* mesh = level->GetTerrain().GetMesh();
  ASSERT_NE(mesh, nullptr);
  EXPECT_EQ(mesh->GetSubsets().size(), 2u);
  EXPECT_GT(mesh->GetBoundingSphereRadius(), 2500.0f);
  EXPECT_TRUE(entitytest::IsListedUnder(level->GetTerrain(), Root()));
  EXPECT_EQ(level->GetTerrainMeshName(), "Level4_Terrain.X");
}

}  // namespace
