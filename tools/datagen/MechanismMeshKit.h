#pragma once
// A small kit for the level mechanisms' demo meshes: flat-shaded boxes,
// prisms and wedges, each face with vertices of its own (its normal and its
// colour), coloured per vertex. Faces go to one of the mesh's materials, so
// a mesh has exactly as many subsets as materials it is given.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/formats/XFileWriter.h"

namespace datagen {

// An opaque RGB colour, or with alpha.
inline D3DCOLORVALUE Rgb(float r, float g, float b, float a = 1.0f) { return {r, g, b, a}; }

// The machines' two shared paints: dark housings and bare steel.
inline const D3DCOLORVALUE DARK = Rgb(0.18f, 0.18f, 0.2f);
inline const D3DCOLORVALUE STEEL = Rgb(0.55f, 0.58f, 0.62f);

// Axis of a prism.
enum class Axis { X, Y, Z };

class MeshKit {
 public:
  // One material per subset; the first is added by the constructor (white,
  // opaque). Material colours multiply nothing here: the vertex colours
  // give each face its colour.
  MeshKit();
  // Adds a material with the given face colour; returns its index.
  uint32_t AddMaterial(const D3DCOLORVALUE& face);
  // Faces added from now on go to this material.
  void UseMaterial(uint32_t material) { m_Material = material; }

  // A convex polygon (corners counter-clockwise seen from outside).
  void Polygon(const std::vector<D3DXVECTOR3>& corners, const D3DCOLORVALUE& colour);
  // An axis-aligned box between two corners.
  void Box(const D3DXVECTOR3& low, const D3DXVECTOR3& high, const D3DCOLORVALUE& colour);
  // A closed prism with `sides` sides about an axis: its centre line runs
  // from `start` along the axis for `length`, corners at `radius`, the
  // first corner at `phase` radians. Caps take capColour; with a stripe
  // colour every other side takes it.
  void Prism(Axis axis, const D3DXVECTOR3& start, float length, float radius, int sides, float phase,
             const D3DCOLORVALUE& colour, const D3DCOLORVALUE& capColour, const D3DCOLORVALUE* stripe = nullptr);
  // A double pyramid (a gem) about the z axis: `sides` corners at `radius`
  // in the plane z = centre.z, tips `halfHeight` above and below.
  void Gem(const D3DXVECTOR3& centre, float radius, float halfHeight, int sides, const D3DCOLORVALUE& upper,
           const D3DCOLORVALUE& lower);

  // Scales every position about the origin.
  void Scale(float factor);
  // Centre and radius as the engine's bounding sphere takes them: the mean
  // of the vertices and the farthest vertex from it.
  void BoundingSphere(D3DXVECTOR3* centre, float* radius) const;

  const formats::XMeshDesc& Mesh() const { return m_Mesh; }
  formats::XMeshDesc& Mesh() { return m_Mesh; }
  // The mesh alone in a binary .X file.
  std::string FileBytes(const std::string& meshName) const;

 private:
  formats::XMeshDesc m_Mesh;
  uint32_t m_Material = 0;
};

// How a roof looks: a slab 20 thick, then beams across it (along x) every
// `spacing`, the first half a spacing in, each `inset` short of the slab's
// sides, 2 x `beamHalfWidth` wide and `beamHeight` high.
struct ROOF_STYLE {
  D3DCOLORVALUE slab;
  D3DCOLORVALUE beam;
  float spacing;
  float inset;
  float beamHalfWidth;
  float beamHeight;
};

// A roof over room `room` of a demo level, on its walls, in level
// coordinates, as a binary .X file.
std::string RoofOverRoom(const char* levelName, size_t room, const ROOF_STYLE& style, const std::string& meshName);

// The .X file image of the desc, binary and compressed.
std::string BinaryXFile(const formats::XFileDesc& file);

}  // namespace datagen
