#pragma once
// A block pushed by shots along a straight track between two points.
#include <array>
#include <list>
#include <string>
#include <vector>

#include "engine/scene/StaticSprite.h"
#include "game/actors/Movement.h"
#include "game/mechanisms/LevelObject.h"

class CPushable : public CStaticSpriteMovingEntity {
 public:
  static constexpr float PART_HEIGHT = 156.0f;
  static constexpr float PUSH_SPEED = 30.0f;

  CPushable() = default;
  ~CPushable() override;

  // Reads the parts file ("%f\n%i\n" part height and count, then count
  // times "%s\n%f" mesh name and position); false when it cannot be read.
  bool LoadFrames(const std::string& fileName);
  // The block's world transform and shapes from its two stored points.
  void UpdateTransform();
  void PushForward();
  void PushBackward();
  // Slides, stops short of walls, crushes enemies, opens grates and rolls
  // its parts.
  void Step() override;
  // The block, then its parts under it.
  void AddToScene(Nembra::CSceneNode* parent = nullptr) override;
  float GetAcceleration() const { return m_Acceleration; }
  float GetPartHeight() const { return m_PartHeight; }
  std::list<Nembra::CStatic3DSprite>& GetParts() { return m_Parts; }
  bool LoadMesh(const std::string& name);

  // The block's own shapes: 0 registered under class 0, 1 under class 1.
  CCollisionShape& GetCollisionShape(int index) { return m_CollisionShapes[static_cast<size_t>(index)]; }
  CCollisionShape& GetFrontShape() { return m_FurtherShapes[0]; }
  CCollisionShape& GetBackShape() { return m_FurtherShapes[1]; }

  void SetTrack(const D3DXVECTOR3& startPoint, const D3DXVECTOR3& endPoint) {
    m_StartPoint = startPoint;
    m_EndPoint = endPoint;
  }
  void SetSize(float length, float width, float startOffset) {
    m_Length = length;
    m_Width = width;
    m_StartOffset = startOffset;
  }
  void SetNames(const std::string& first, const std::string& second) {
    m_FirstName = first;
    m_SecondName = second;
  }
  const D3DXVECTOR3& GetStartPoint() const { return m_StartPoint; }
  const D3DXVECTOR3& GetEndPoint() const { return m_EndPoint; }
  float GetLength() const { return m_Length; }
  float GetWidth() const { return m_Width; }
  float GetStartOffset() const { return m_StartOffset; }

 protected:
  float m_Acceleration = 0.0f;
  std::list<Nembra::CStatic3DSprite> m_Parts;
  float m_PartHeight = PART_HEIGHT;
  D3DXVECTOR3 m_StartPoint{0.0f, 0.0f, 0.0f};
  D3DXVECTOR3 m_EndPoint{0.0f, 0.0f, 0.0f};
  float m_Width = 0.0f;
  float m_Length = 0.0f;
  float m_StartOffset = 0.0f;
  std::array<CCollisionShape, 2> m_CollisionShapes;
  std::array<CCollisionShape, 2> m_FurtherShapes;
  std::array<std::vector<float>, 4> m_Arrays;
  std::string m_FirstName;
  std::string m_SecondName;

 private:
  // Body outline (class 0), grown outline (class 1) and the two faces, at
  // the block's position.
  void BuildShapes();
  void ReleaseParts();

  CHeldMesh m_Mesh;
  std::list<CHeldMesh> m_PartMeshes;
};
