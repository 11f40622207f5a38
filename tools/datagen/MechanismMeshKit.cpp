#include "tools/datagen/MechanismMeshKit.h"

#include <algorithm>
#include <cmath>

#include "tools/datagen/LevelLayouts.h"

namespace datagen {

MeshKit::MeshKit() { AddMaterial(Rgb(1, 1, 1)); }

uint32_t MeshKit::AddMaterial(const D3DCOLORVALUE& face) {
  formats::XMaterialDesc material;
  material.Face = face;
  material.Power = 8.0f;
  material.Specular = {0.15f, 0.15f, 0.15f};
  m_Mesh.Materials.push_back(material);
  return uint32_t(m_Mesh.Materials.size() - 1);
}

void MeshKit::Polygon(const std::vector<D3DXVECTOR3>& corners, const D3DCOLORVALUE& colour) {
  if (corners.size() < 3) return;
  D3DXVECTOR3 a = corners[1] - corners[0], b = corners[2] - corners[0], n;
  D3DXVec3Cross(&n, &a, &b);
  D3DXVec3Normalize(&n, &n);
  std::vector<uint32_t> face;
  for (const D3DXVECTOR3& p : corners) {
    const uint32_t index = uint32_t(m_Mesh.Positions.size());
    m_Mesh.Positions.push_back(p);
    m_Mesh.Normals.push_back(n);
    m_Mesh.Colors.emplace_back(index, colour);
    face.push_back(index);
  }
  // Triangles keep every subset's faces simple for the loaders.
  for (size_t k = 1; k + 1 < face.size(); ++k) {
    m_Mesh.Faces.push_back({face[0], face[k], face[k + 1]});
    m_Mesh.NormalFaces.push_back({face[0], face[k], face[k + 1]});
    m_Mesh.FaceMaterials.push_back(m_Material);
  }
}

void MeshKit::Box(const D3DXVECTOR3& lo, const D3DXVECTOR3& hi, const D3DCOLORVALUE& c) {
  const float x0 = lo.x, y0 = lo.y, z0 = lo.z, x1 = hi.x, y1 = hi.y, z1 = hi.z;
  Polygon({{x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}}, c);  // top
  Polygon({{x0, y1, z0}, {x1, y1, z0}, {x1, y0, z0}, {x0, y0, z0}}, c);  // bottom
  Polygon({{x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1}}, c);  // -y
  Polygon({{x1, y1, z0}, {x0, y1, z0}, {x0, y1, z1}, {x1, y1, z1}}, c);  // +y
  Polygon({{x0, y1, z0}, {x0, y0, z0}, {x0, y0, z1}, {x0, y1, z1}}, c);  // -x
  Polygon({{x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}, {x1, y0, z1}}, c);  // +x
}

void MeshKit::Prism(Axis axis, const D3DXVECTOR3& start, float length, float radius, int sides, float phase,
                    const D3DCOLORVALUE& colour, const D3DCOLORVALUE& capColour, const D3DCOLORVALUE* stripe) {
  // Local frame: u, v across the axis, w along it (right-handed).
  D3DXVECTOR3 u, v, w;
  switch (axis) {
    case Axis::X: u = {0, 1, 0}, v = {0, 0, 1}, w = {1, 0, 0}; break;
    case Axis::Y: u = {0, 0, 1}, v = {1, 0, 0}, w = {0, 1, 0}; break;
    default: u = {1, 0, 0}, v = {0, 1, 0}, w = {0, 0, 1}; break;
  }
  std::vector<D3DXVECTOR3> low, high;
  for (int k = 0; k < sides; ++k) {
    const float angle = phase + 2.0f * D3DX_PI * float(k) / float(sides);
    const D3DXVECTOR3 p = start + u * (radius * std::cos(angle)) + v * (radius * std::sin(angle));
    low.push_back(p);
    high.push_back(p + w * length);
  }
  for (int k = 0; k < sides; ++k) {
    const int n = (k + 1) % sides;
    Polygon({low[k], low[n], high[n], high[k]}, stripe && k % 2 == 1 ? *stripe : colour);
  }
  Polygon(high, capColour);
  std::reverse(low.begin(), low.end());
  Polygon(low, capColour);
}

void MeshKit::Gem(const D3DXVECTOR3& centre, float radius, float halfHeight, int sides, const D3DCOLORVALUE& upper,
                  const D3DCOLORVALUE& lower) {
  const D3DXVECTOR3 top = centre + D3DXVECTOR3(0, 0, halfHeight), bottom = centre - D3DXVECTOR3(0, 0, halfHeight);
  for (int k = 0; k < sides; ++k) {
    const float a0 = 2.0f * D3DX_PI * float(k) / float(sides), a1 = 2.0f * D3DX_PI * float(k + 1) / float(sides);
    const D3DXVECTOR3 p0 = centre + D3DXVECTOR3(radius * std::cos(a0), radius * std::sin(a0), 0);
    const D3DXVECTOR3 p1 = centre + D3DXVECTOR3(radius * std::cos(a1), radius * std::sin(a1), 0);
    Polygon({p0, p1, top}, upper);
    Polygon({p1, p0, bottom}, lower);
  }
}

void MeshKit::Scale(float factor) {
  for (D3DXVECTOR3& p : m_Mesh.Positions) p *= factor;
}

void MeshKit::BoundingSphere(D3DXVECTOR3* centre, float* radius) const {
  D3DXVECTOR3 sum(0, 0, 0);
  for (const D3DXVECTOR3& p : m_Mesh.Positions) sum += p;
  const D3DXVECTOR3 c = m_Mesh.Positions.empty() ? sum : sum / float(m_Mesh.Positions.size());
  float r2 = 0;
  for (const D3DXVECTOR3& p : m_Mesh.Positions) {
    const D3DXVECTOR3 d = p - c;
    r2 = std::max(r2, D3DXVec3LengthSq(&d));
  }
  *centre = c;
  *radius = std::sqrt(r2);
}

std::string MeshKit::FileBytes(const std::string& meshName) const {
  formats::XFileDesc file;
  file.Meshes.push_back(m_Mesh);
  file.Meshes.back().Name = meshName;
  return BinaryXFile(file);
}

std::string BinaryXFile(const formats::XFileDesc& file) { return formats::XFileCompressed(file); }

std::string RoofOverRoom(const char* levelName, size_t room, const ROOF_STYLE& style, const std::string& meshName) {
  const LEVEL_LAYOUT& level = *FindLevelLayout(levelName);
  const LAYOUT_BOX box = level.rooms[room];
  const float z = level.wallHeight;
  MeshKit kit;
  kit.Box({box.minX, box.minY, z}, {box.maxX, box.maxY, z + 20}, style.slab);
  for (float y = box.minY + style.spacing / 2; y < box.maxY; y += style.spacing)
    kit.Box({box.minX + style.inset, y - style.beamHalfWidth, z + 20},
            {box.maxX - style.inset, y + style.beamHalfWidth, z + 20 + style.beamHeight}, style.beam);
  return kit.FileBytes(meshName);
}

}  // namespace datagen
