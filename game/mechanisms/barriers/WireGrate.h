#pragma once
// A wire grate: closed it blocks, blown open by an explosion it lets
// characters through its opened outline.
#include <array>
#include <string>

#include "game/actors/Entity.h"
#include "game/mechanisms/LevelObject.h"

class CWireGrate : public CStaticSpriteEntity {
 public:
  static constexpr float RADIUS = 60.0f;

  CWireGrate();
  ~CWireGrate() override;

  // Closed again (closed boxes back, opened shapes out) when it was
  // broken; in every case the closed mesh.
  void Reset();
  // Blows a closed grate open: closed boxes out, opened shapes in, the
  // explosion, the opened mesh and the script. Nothing once it is open.
  void Break();
  // Reads the description file (meshes, effect, box sizes, the breakable
  // flag and the two opened-shape files); false when it cannot be read
  // whole. The sprite takes the closed mesh either way, and a box size that
  // no description has given is the closed mesh's width or depth.
  bool LoadFromFile(const std::string& fileName);
  // The closed grate's box 0 (width x offset) and box 1 (depth grown by 170).
  void BuildCollisionBoxes();

  CCollisionShape& GetCollisionBox(int index) { return m_ClosedBoxes[static_cast<size_t>(index)]; }
  // The opened outline: 0, 1 from the first file, 2, 3 from the second.
  CCollisionShape& GetOpenedShape(int index) { return m_OpenedShapes[static_cast<size_t>(index)]; }
  const std::string& GetOpenedShapesFileA() const { return m_OpenedShapesFileA; }
  const std::string& GetOpenedShapesFileB() const { return m_OpenedShapesFileB; }
  const std::string& GetScriptFile() const { return m_ScriptFile; }
  void SetScriptFile(const std::string& file) { m_ScriptFile = file; }
  bool IsBreakable() const { return m_Breakable; }
  const std::string& GetExplosionEffectFile() const { return m_ExplosionEffectFile; }
  const std::string& GetClosedMesh() const { return m_ClosedMesh; }
  const std::string& GetOpenedMesh() const { return m_OpenedMesh; }
  float GetClosedBoxWidth() const { return m_ClosedBoxWidth; }
  float GetClosedBoxOffset() const { return m_ClosedBoxOffset; }

 protected:
  std::string m_OpenedMesh = "WireGrateOpened.X";
  std::string m_ClosedMesh = "WireGrate.X";
  float m_ClosedBoxWidth = 0.0f;
  float m_ClosedBoxOffset = 0.0f;
  std::array<CCollisionShape, 4> m_OpenedShapes;
  COLLISION_BOXES m_ClosedBoxes;
  std::string m_ScriptFile;
  std::string m_ExplosionEffectFile;
  bool m_Breakable = false;  // description field 6
  std::string m_OpenedShapesFileA;
  std::string m_OpenedShapesFileB;

 private:
  void TakeMesh(const std::string& name);
  // The description's fields, as far as the file holds them; how many were
  // read (0 when it cannot be read).
  int ReadDescription(const std::string& fileName);

  CHeldMesh m_Mesh;
};
