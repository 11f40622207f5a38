// The level mechanisms' demo meshes as the engine loads them: subset counts
// (one for objects that fade, two for generators and stations, whose second
// subset the world edits), the stations' bounding radius of 110, sizes that
// fit the objects' collision sizes, red and blue variants that are red and
// blue, and the skinned door's and targets' animation sets.
#include <cmath>
#include <string>
#include <vector>

#include "engine/resources/Shader.h"
#include "game/mechanisms/MechanismAssetsSupport.h"
#include "tools/datagen/LevelLayouts.h"

namespace {

using mechtest::Extent;
using mechtest::MeshExtent;
using Nembra::CSimpleMesh;
using Nembra::CSkinnedMesh;

class MechanismAssetMeshes : public mechtest::DemoDataEngineTest {};

// Mean vertex colour of a mesh loaded with positions, normals and colours.
D3DXVECTOR3 MeanColour(const CSimpleMesh& mesh) {
  platform::ID3DXMesh* m = mesh.GetMesh();
  D3DXVECTOR3 sum(0, 0, 0);
  void* data = nullptr;
  if (m->LockVertexBuffer(0, &data) != platform::D3D_OK) return sum;
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  for (uint32_t i = 0; i < m->GetNumVertices(); ++i) {
    uint32_t argb = 0;
    std::memcpy(&argb, bytes + size_t(i) * m->GetNumBytesPerVertex() + 24, 4);
    sum += D3DXVECTOR3(float((argb >> 16) & 255), float((argb >> 8) & 255), float(argb & 255));
  }
  m->UnlockVertexBuffer();
  return sum / float(m->GetNumVertices());
}

constexpr uint32_t LIT_COLOURED_FVF = platform::D3DFVF_XYZ | platform::D3DFVF_NORMAL | platform::D3DFVF_DIFFUSE;

TEST_F(MechanismAssetMeshes, ObjectMeshesLoadLitAndColouredWithOneSubset) {
  const std::vector<std::string> names = {
      "Barrel.X",         "BombPack.X",       "Box1.X",          "Box2.X",          "Box3.X",
      "Health1.X",        "Health2.X",        "Health3.X",       "WeaponUp2.X",     "WeaponUp3.X",
      "Ability.X",        "WireGrate.X",      "WireGrateOpened.X", "LevelTutorial_Roof.X", "Pushable.X",
      "PushableWheel1.X", "PushableWheel2.X", "Door.X",          "GenBarBlue.X",    "GenBarRed.X",
      "ConnectorOff.X",   "ConnectorOn.X",    "ConnectorRed.X",  "ConnectorBlue.X", "ReceptorOffRed.X",
      "ReceptorOffBlue.X", "ReceptorOnRed.X", "ReceptorOnBlue.X", "LaserEmitterD.X", "LaserEmitterND.X",
      "LaserReceiver.X"};
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    CSimpleMesh* mesh = SimpleMesh(name);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->GetSubsets().size(), 1u);
    EXPECT_EQ(mesh->GetMesh()->GetFVF(), LIT_COLOURED_FVF);
    EXPECT_GT(mesh->GetMesh()->GetNumFaces(), 10u);
    EXPECT_EQ(mesh->GetSubsets()[0].GetShader(), Nembra::g_pShaderFactory->GetDefault()) << "opaque";
  }
}

TEST_F(MechanismAssetMeshes, GeneratorsAndStationsHaveATranslucentSecondSubsetAndRadius110) {
  for (const char* name : {"GeneratorBlue.X", "GeneratorRed.X", "WaveWeaponBlue.X", "WaveWeaponRed.X"}) {
    SCOPED_TRACE(name);
    CSimpleMesh* mesh = SimpleMesh(name);
    ASSERT_NE(mesh, nullptr);
    ASSERT_EQ(mesh->GetSubsets().size(), 2u);
    EXPECT_EQ(mesh->GetSubsets()[0].GetShader(), Nembra::g_pShaderFactory->GetDefault());
    EXPECT_EQ(mesh->GetSubsets()[1].GetShader(), Nembra::g_pShaderFactory->GetDefaultTransparent());
    EXPECT_NEAR(mesh->GetBoundingSphereRadius(), 110.0f, 0.01f);
    const Extent e = MeshExtent(*mesh);
    EXPECT_NEAR(e.low.z, 0.0f, 0.01f) << "stands on the floor";
    EXPECT_NEAR(e.low.x, -e.high.x, 0.5f) << "centred on its position";
  }
}

TEST_F(MechanismAssetMeshes, RedAndBlueVariantsAreRedAndBlue) {
  for (const char* base : {"Generator", "WaveWeapon", "GenBar", "Connector", "ReceptorOn", "ReceptorOff"}) {
    SCOPED_TRACE(base);
    CSimpleMesh* red = SimpleMesh(std::string(base) + "Red.X");
    CSimpleMesh* blue = SimpleMesh(std::string(base) + "Blue.X");
    ASSERT_TRUE(red && blue);
    const D3DXVECTOR3 r = MeanColour(*red), b = MeanColour(*blue);
    EXPECT_GT(r.x, r.z + 15.0f) << "red variant: " << r.x << " " << r.y << " " << r.z;
    EXPECT_GT(b.z, b.x + 15.0f) << "blue variant: " << b.x << " " << b.y << " " << b.z;
    EXPECT_NEAR(r.x, b.z, 12.0f) << "the same design in the other colour";
  }
}

TEST_F(MechanismAssetMeshes, SizesFitTheObjectsCollisionSizes) {
  // Barrel: collision radius 30, bands just outside it.
  Extent e = MeshExtent(*SimpleMesh("Barrel.X"));
  EXPECT_LE(e.Width(), 63.1f);
  EXPECT_GE(e.Width(), 58.0f);
  EXPECT_NEAR(e.low.z, 0.0f, 0.01f);
  // Boxes: radius 90, squares of side 180 standing on the floor.
  for (const char* name : {"Box1.X", "Box2.X", "Box3.X"}) {
    e = MeshExtent(*SimpleMesh(name));
    EXPECT_NEAR(e.Height(), 180.0f, 0.01f) << name;
    EXPECT_NEAR(e.Width(), 182.0f, 0.01f) << name << ": 180 and its bands";
    EXPECT_NEAR(e.low.x, -e.high.x, 0.01f) << name;
  }
  // Items lie within their pick-up radius of 70.
  for (const char* name : {"Health1.X", "Health2.X", "Health3.X", "WeaponUp2.X", "WeaponUp3.X", "Ability.X"}) {
    e = MeshExtent(*SimpleMesh(name));
    EXPECT_LT(std::max(e.Width(), e.Depth()), 140.0f) << name;
    EXPECT_GT(e.low.z, 0.0f) << name << " floats over its marker";
  }
  // Health packs grow with the health they give.
  EXPECT_LT(MeshExtent(*SimpleMesh("Health1.X")).Width(), MeshExtent(*SimpleMesh("Health2.X")).Width());
  EXPECT_LT(MeshExtent(*SimpleMesh("Health2.X")).Width(), MeshExtent(*SimpleMesh("Health3.X")).Width());
  // The roof covers a tutorial room at wall height, in level coordinates.
  const datagen::LEVEL_LAYOUT& tutorial = *datagen::FindLevelLayout("LevelTutorial");
  bool covers = false;
  e = MeshExtent(*SimpleMesh("LevelTutorial_Roof.X"));
  for (const datagen::LAYOUT_BOX& room : tutorial.rooms)
    covers |= e.low.x == room.minX && e.high.x == room.maxX && e.low.y == room.minY && e.high.y == room.maxY;
  EXPECT_TRUE(covers);
  EXPECT_EQ(e.low.z, tutorial.wallHeight);
  // The opened grate keeps the frame's width and loses its upper part.
  const Extent closed = MeshExtent(*SimpleMesh("WireGrate.X")), opened = MeshExtent(*SimpleMesh("WireGrateOpened.X"));
  EXPECT_FLOAT_EQ(opened.Width(), closed.Width());
  EXPECT_GT(SimpleMesh("WireGrate.X")->GetMesh()->GetNumFaces(),
            SimpleMesh("WireGrateOpened.X")->GetMesh()->GetNumFaces());
  // Laser heads sit at the beam's height with a pole down to the floor 120 below.
  for (const char* name : {"LaserEmitterD.X", "LaserEmitterND.X", "LaserReceiver.X"}) {
    e = MeshExtent(*SimpleMesh(name));
    EXPECT_NEAR(e.low.z, -120.0f, 0.01f) << name;
    EXPECT_LT(e.high.z, 30.0f) << name;
  }
}

// The transform of one bone at a time of a set.
D3DXMATRIX BonePose(CSkinnedMesh& mesh, const char* set, const char* bone, double seconds) {
  platform::ID3DXAnimationSet* s = nullptr;
  D3DXMATRIX m;
  if (mesh.GetAnimationController()->GetAnimationSetByName(set, &s) != platform::D3D_OK || !s) {
    ADD_FAILURE() << "no set " << set;
    return m;
  }
  uint32_t index = 0;
  EXPECT_EQ(s->GetAnimationIndexByName(bone, &index), platform::D3D_OK) << set << " keys " << bone;
  D3DXVECTOR3 scale, translation;
  D3DXQUATERNION rotation;
  s->GetSRT(s->GetPeriodicPosition(seconds), index, &scale, &rotation, &translation);
  D3DXMatrixTransformation(&m, &scale, &rotation, &translation);
  s->Release();
  return m;
}

// Materials of every mesh container under a frame: each is a subset drawn.
uint32_t MaterialCount(const platform::D3DXFRAME* frame) {
  if (!frame) return 0;
  uint32_t count = 0;
  for (const platform::D3DXMESHCONTAINER* c = frame->pMeshContainer; c; c = c->pNextMeshContainer)
    count += c->NumMaterials;
  return count + MaterialCount(frame->pFrameSibling) + MaterialCount(frame->pFrameFirstChild);
}

double Period(CSkinnedMesh& mesh, const char* set) {
  platform::ID3DXAnimationSet* s = nullptr;
  if (mesh.GetAnimationController()->GetAnimationSetByName(set, &s) != platform::D3D_OK || !s) return -1.0;
  const double period = s->GetPeriod();
  s->Release();
  return period;
}

TEST_F(MechanismAssetMeshes, SlidingDoorOpensAndClosesInOneSecond) {
  CSkinnedMesh* door = SkinnedMesh("SlidingDoor.X");
  ASSERT_NE(door, nullptr);
  EXPECT_EQ(door->GetAnimationController()->GetNumAnimationSets(), 4u);
  EXPECT_EQ(MaterialCount(door->GetRootFrame()), 1u);
  for (const char* set : {"Closed", "Opening", "Open", "Closing"}) {
    EXPECT_NEAR(Period(*door, set), 1.0, 1e-6) << set;
  }
  // Where each leaf stands: shut at x 0, open when slid 190 aside.
  const auto leafX = [&](const char* set, const char* leaf, double t) { return BonePose(*door, set, leaf, t)._41; };
  for (double t : {0.0, 0.5, 0.999}) {
    EXPECT_FLOAT_EQ(leafX("Closed", "LeftLeaf", t), 0.0f);
    EXPECT_FLOAT_EQ(leafX("Open", "LeftLeaf", t), -190.0f);
    EXPECT_FLOAT_EQ(leafX("Open", "RightLeaf", t), 190.0f);
  }
  EXPECT_FLOAT_EQ(leafX("Opening", "LeftLeaf", 0.0), 0.0f);
  EXPECT_NEAR(leafX("Opening", "LeftLeaf", 0.5), -95.0f, 0.1f);
  EXPECT_NEAR(leafX("Opening", "RightLeaf", 0.999), 190.0f, 0.5f);
  EXPECT_NEAR(leafX("Closing", "RightLeaf", 0.0), 190.0f, 0.01f);
  EXPECT_NEAR(leafX("Closing", "LeftLeaf", 0.999), 0.0f, 0.5f);
}

TEST_F(MechanismAssetMeshes, TargetsLieDownAndRiseInHalfASecond) {
  for (const char* name : {"TargetRed.X", "TargetBlue.X"}) {
    SCOPED_TRACE(name);
    CSkinnedMesh* target = SkinnedMesh(name);
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(target->GetAnimationController()->GetNumAnimationSets(), 2u);
    EXPECT_EQ(MaterialCount(target->GetRootFrame()), 1u) << "one subset: its fade advances once a draw";
    EXPECT_NEAR(Period(*target, "Down"), 0.5, 1e-6);
    EXPECT_NEAR(Period(*target, "Up"), 0.5, 1e-6);
    // The board's top, 100 above its hinge: level with the hinge when down,
    // straight above it when up.
    const auto top = [&](const char* set, double t) {
      const D3DXMATRIX pose = BonePose(*target, set, "Board", t);
      D3DXVECTOR3 p(0, 0, 100), out;
      D3DXVec3TransformCoord(&out, &p, &pose);
      return out;
    };
    EXPECT_NEAR(top("Down", 0.0).z, 20.0f, 0.01f);
    EXPECT_NEAR(top("Down", 0.49).z, 20.0f, 0.01f);
    EXPECT_NEAR(std::abs(top("Down", 0.0).y), 100.0f, 0.01f);
    EXPECT_NEAR(top("Up", 0.0).z, 20.0f, 0.01f);
    EXPECT_GT(top("Up", 0.25).z, 80.0f);
    EXPECT_NEAR(top("Up", 0.5 - 1e-6).z, 120.0f, 0.5f);
  }
}

}  // namespace
