#pragma once
// game/collision/: collision shapes, the collision-shape file and the
// registry the level queries. It may call files/, engine/ and platform/.
//
// The level's collision shapes, sorted into three collision classes, and its
// one query: the nearest contact of a moving sphere's path with the shapes of
// a class. Walls come from collision files and stay put; level objects
// register the shapes they own while they stand and withdraw them when they
// break, open or close. The level embeds one registry and forwards to it.
#include <list>
#include <string>

#include "game/collision/CollisionShape.h"
#include "game/files/LevelFileRecords.h"

// The collision classes, as scripts know them.
constexpr int COL_TIGHT = 0;      // shots, lasers, pushable blocks
constexpr int COL_CHARACTER = 1;  // walking enemies and the player
constexpr int COL_PLAYER = 2;     // the player only
constexpr int COLLISION_CLASS_COUNT = 3;

class CCollisionRegistry {
 public:
  // Reads a collision file (data folder + name) and appends its shapes to
  // the static shapes of the class. False, with nothing added, when the
  // class is not 0..2 or the file cannot be read or is damaged.
  bool LoadCollision(const std::string& fileName, int collisionClass);
  // Appends a copy of every shape of a parsed file; false for a bad class.
  bool AddStaticShapes(const COLLISION_FILE& file, int collisionClass);

  // Appends a level object's shape to the class's object shapes (twice when
  // given twice). Nothing for a class outside 0..2.
  void AddCollisionShape(CCollisionShape* shape, int collisionClass);
  // Erases the first registration of the shape; nothing when there is none.
  void RemoveCollisionShape(CCollisionShape* shape, int collisionClass);

  // Nearest hit of the path from -> to with the class's static shapes and,
  // when includeObjects is set, its object shapes. distance is set to the
  // largest float first; hit and normal are written only on a hit. Ties go
  // to the first shape met: static shapes in load order, then object shapes
  // in registration order. False for a class outside 0..2.
  bool CheckCollision(const float from[3], const float to[3], float radius, float hit[3], float& distance,
                      float normal[3], int collisionClass, bool includeObjects) const;

  // Destroys the static shapes and forgets the object shapes of every class.
  void Clear();

  // The shapes of a class (empty lists for a class outside 0..2).
  const std::list<CCollisionShape>& GetStaticShapes(int collisionClass) const;
  const std::list<CCollisionShape*>& GetObjectShapes(int collisionClass) const;

  static bool IsValidClass(int collisionClass) {
    return collisionClass >= 0 && collisionClass < COLLISION_CLASS_COUNT;
  }

 private:
  std::list<CCollisionShape> m_StaticShapes[COLLISION_CLASS_COUNT];
  std::list<CCollisionShape*> m_ObjectShapes[COLLISION_CLASS_COUNT];
};
