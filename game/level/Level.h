#pragma once
// game/level/: the running level, its loading, per-frame update,
// registries, timers, level descriptions and the spawners of its
// objects. It may call actors/, collision/, files/, triggers/, script/,
// world/, enemies/, mechanisms/, effects/, engine/ and platform/.
//
// The running level: it owns every object of the level being played, the
// collision shapes, triggers, timers, named sprites, markers, lasers,
// lights and objectives, and takes them through the level's life cycle:
// Prepare and Start when a level begins, Restart after death or on request,
// Unload between levels.
//
// Objects held by value are built in place in their lists and never move,
// so pointers into the lists (scene nodes, collision registrations, links)
// stay valid until the element is erased. Enemies, effects and the current
// bomb are heap objects owned through pointers.
#include <cstdint>
#include <list>
#include <map>
#include <new>
#include <utility>
#include <string>

#include "engine/resources/FactoryRef.h"
#include "engine/resources/Mesh.h"
#include "engine/scene/Animated3DSprite.h"
#include "engine/scene/StaticSprite.h"
#include "game/actors/Bullet.h"
#include "game/actors/Energy.h"
#include "game/collision/CollisionRegistry.h"
#include "game/enemies/Enemy.h"
#include "game/enemies/EnemyGenerator.h"
#include "game/enemies/EnemyHornSpit.h"
#include "game/enemies/EnemyKinds.h"
#include "game/enemies/EnemyShots.h"
#include "game/enemies/bosses/Bosses.h"
#include "game/level/LevelHost.h"
#include "game/level/LevelTimer.h"
#include "game/mechanisms/barriers/Door.h"
#include "game/mechanisms/barriers/Laser.h"
#include "game/mechanisms/barriers/Roof.h"
#include "game/mechanisms/barriers/WireGrate.h"
#include "game/mechanisms/circuits/Circuit.h"
#include "game/mechanisms/circuits/Generator.h"
#include "game/mechanisms/circuits/Marker.h"
#include "game/mechanisms/circuits/WaveWeapon.h"
#include "game/mechanisms/props/Barrel.h"
#include "game/mechanisms/props/Box.h"
#include "game/mechanisms/props/Item.h"
#include "game/mechanisms/props/Pushable.h"
#include "game/mechanisms/props/Target.h"
#include "game/triggers/TriggerManager.h"
#include "game/world/LightRegistry.h"

namespace Nembra {
class CExplosionEffect;
}
class CGenBarEffect;
struct ITEMS_FILE;
struct ITEM_RECORD;
struct GENERATOR_RECORD;
struct RECEPTOR_RECORD;
struct DOOR_RECORD;
struct OPEN_CLOSE_DOOR_RECORD;
struct NODE_REFERENCE;
struct LEVEL_PAIR;
struct ENEMY_GENERATOR_FILE;

// A script's objective: its text and whether it is complete.
struct OBJECTIVE {
  std::wstring text;
  bool complete = false;
};

// A sprite placed by a script, with the mesh it holds (which outlives it).
struct NAMED_SPRITE {
  CHeldMesh mesh;
  Nembra::CStatic3DSprite sprite;
};

// An animated sprite placed by a script, the skinned mesh it holds (which
// outlives it) and the script run when its animation ends.
struct NAMED_ANIMATED_SPRITE {
  Nembra::CFactoryRef<Nembra::CSkinnedMeshFactory> mesh{Nembra::g_pSkinnedMeshFactory};
  Nembra::CAnimated3DSprite sprite;
  std::string endScript;
};

class CLevel {
 public:
  // The bosses' init scripts (compared exactly) and where they stand.
  static constexpr const char* BOSS0_SCRIPT = "LevelIntermedio_Init.lua";
  static constexpr const char* BOSS1_SCRIPT = "Level12_Init.lua";
  static constexpr float ANIMATED_SPRITE_BOUNDS = 5000.0f;

  // The newest level made becomes the current one.
  CLevel();
  virtual ~CLevel();
  CLevel(const CLevel&) = delete;
  CLevel& operator=(const CLevel&) = delete;

  // The one live level (the game world's); null when there is none.
  static CLevel* Current() { return s_pCurrent; }
  static void SetCurrent(CLevel* level) { s_pCurrent = level; }

  // The world and HUD the level reaches; null: those calls do nothing.
  void SetHost(CLevelHost* host) { m_pHost = host; }
  CLevelHost* GetHost() const { return m_pHost; }
  // The HUD seam: the host's, or one that does nothing.
  CLevelHud& Hud();

  // ---- Life cycle.
  // Flags and tuning values back to their defaults, then the level script;
  // its result.
  bool Prepare(const std::string& levelScript);
  // World reset, then the init script; false when it cannot run.
  bool Start();
  // Back to the last checkpoint, or the whole level reset in place.
  void Restart();
  // Empties the level for the next one.
  void Unload();
  void SetCheckpoint(float x, float y, float z);
  // A new bomb replaces the current one.
  void AddBomb(float x, float y, float z, int visible, float fuse);
  // ---- The mechanisms' effects: each is a new effect in the effect list
  // and the scene.
  void AddBarrelExplosionEffect(CBarrel& barrel);
  void AddBombExplosionEffect(CBomb& bomb);
  void AddWireGrateExplosionEffect(CWireGrate& grate);
  void AddSparkEffect(const D3DXVECTOR3& position);
  void AddPushableCollisionEffect(const D3DXVECTOR3& position);
  // The terrain mesh; false (and no terrain) when it cannot be had.
  bool LoadTerrain(const std::string& meshFile);
  bool LoadTriggers(const std::string& fileName);

  // ---- Level files.
  // Appends the file's shapes to a class's static shapes; false when the
  // file cannot be read or the class is not 0..2.
  bool LoadCollision(const std::string& fileName, int collisionClass);
  // Builds the objects of an items file; false, with the level unchanged,
  // when the file cannot be read whole.
  bool LoadItems(const std::string& fileName);
  bool LoadItems(const ITEMS_FILE& file);
  // Builds the enemy generators of a file; false, with the level unchanged,
  // when it cannot be read whole or holds none.
  bool LoadEnemyGenerators(const std::string& fileName);
  bool LoadEnemyGenerators(const ENEMY_GENERATOR_FILE& file);

  // ---- Collision registry.
  bool CheckCollision(const float from[3], const float to[3], float radius, float hit[3], float& distance,
                      float normal[3], int collisionClass, bool includeObjects) const {
    return m_Collision.CheckCollision(from, to, radius, hit, distance, normal, collisionClass, includeObjects);
  }
  void AddCollisionShape(CCollisionShape* shape, int collisionClass) {
    m_Collision.AddCollisionShape(shape, collisionClass);
  }
  void RemoveCollisionShape(CCollisionShape* shape, int collisionClass) {
    m_Collision.RemoveCollisionShape(shape, collisionClass);
  }
  CCollisionRegistry& GetCollision() { return m_Collision; }
  const CCollisionRegistry& GetCollision() const { return m_Collision; }

  // ---- Named sprites, animated sprites and markers.
  void AddSprite(const std::string& name, const std::string& meshFile, float x, float y, float z, float angle);
  void ChangeSpriteMesh(const std::string& name, const std::string& meshFile);
  void RemoveSprite(const std::string& name);
  void AddAnimatedSprite(const std::string& name, const std::string& meshFile, float x, float y, float z,
                         float angle, const std::string& animation, bool loop, const std::string& endScript);
  void ChangeSpriteAnimation(const std::string& name, const std::string& animation, int loop);
  void AddMarker(const std::string& name, float x, float y, float z, float size, const std::string& imageFile);
  void RemoveMarker(const std::string& name);
  void ActivateMarker(const std::string& name, bool active);

  // ---- Effects of the mechanisms and the waves. Each new effect goes into
  // the effect list and the scene.
  Nembra::CExplosionEffect* AddExplosionEffect(const float position[3]);
  void AddDoorExplosionEffect(CEntity& entity);
  void AddTargetExplosionEffect(CTarget& target);
  // A new charge bar of the colour, owned by the effect list.
  CGenBarEffect* AddGenBarEffect(uint32_t colour);
  // An energy wave of the colour from a station's position.
  void AddWaveEffect(const float position[3], uint32_t colour);
  // The player's ability wave from the player's world position.
  void AddAbilityEffect(const D3DXVECTOR3& playerPosition);
  // One energy wave from every station, charged or not.
  void ShootWave();
  // The Action key at the player's world position: connectors in reach are
  // put in or taken out (when circuits are enabled), then the action
  // triggers are tested.
  void UpdateCircuits();
  void UpdateCircuits(const D3DXVECTOR3& playerPosition);
  // A placed connector may come out unless that cuts a placed neighbour
  // from every started circuit generator.
  bool IsRemovable(CCircuitConnector& connector);

  // ---- Lasers and timers: made on a miss.
  CLaser& GetLaser(const std::string& name);
  CLevelTimer& GetTimer(const std::string& name);

  // ---- Objectives.
  void AddObjective(const std::string& name, const std::wstring& text);
  void SetObjectiveComplete(const std::string& name, bool complete);
  bool GetObjectiveComplete(const std::string& name) const;
  void GetObjectives(std::list<OBJECTIVE*>& out);

  // ---- Lights.
  CLightRegistry& GetLights() { return m_Lights; }
  void AddPointLight(const std::string& name) { m_Lights.AddPointLight(name); }
  void AddSpotLight(const std::string& name) { m_Lights.AddSpotLight(name); }
  void AddDirectionalLight(const std::string& name) { m_Lights.AddDirectionalLight(name); }
  void RemoveLight(const std::string& name) { m_Lights.RemoveLight(name); }
  void TurnOnLight(const std::string& name, bool on) { m_Lights.TurnOnLight(name, on); }
  void SetLightDiffuse(const std::string& name, float r, float g, float b, float a) {
    m_Lights.SetLightDiffuse(name, r, g, b, a);
  }
  void SetLightRange(const std::string& name, float range) { m_Lights.SetLightRange(name, range); }
  void SetLightAttenuation(const std::string& name, float a0, float a1, float a2) {
    m_Lights.SetLightAttenuation(name, a0, a1, a2);
  }
  void SetLightFalloff(const std::string& name, float v) { m_Lights.SetLightFalloff(name, v); }
  void SetLightInnerCone(const std::string& name, float a) { m_Lights.SetLightInnerCone(name, a); }
  void SetLightOuterCone(const std::string& name, float a) { m_Lights.SetLightOuterCone(name, a); }
  void SetLightPosition(const std::string& name, float x, float y, float z) {
    m_Lights.SetLightPosition(name, x, y, z);
  }
  void SetLightTarget(const std::string& name, float x, float y, float z) {
    m_Lights.SetLightTarget(name, x, y, z);
  }
  void ClearLights() { m_Lights.ClearLights(); }

  // ---- State the scripts and the game read and set.
  bool IsFinished() const { return m_Finished; }
  void SetFinished(bool finished) { m_Finished = finished; }
  const std::string& GetInitScript() const { return m_InitScript; }
  void SetInitScript(const std::string& file) { m_InitScript = file; }
  const std::string& GetFinishScript() const { return m_FinishScript; }
  void SetFinishScript(const std::string& file) { m_FinishScript = file; }
  const std::string& GetTerrainMeshName() const { return m_TerrainMesh.GetName(); }
  Nembra::CStatic3DSprite& GetTerrain() { return m_Terrain; }
  int GetWantedEnemyCount() const { return m_WantedEnemyCount; }
  void SetWantedEnemyCount(int count) { m_WantedEnemyCount = count; }
  bool AreCircuitsEnabled() const { return m_CircuitsEnabled; }
  void EnableCircuits(bool enabled) { m_CircuitsEnabled = enabled; }
  int GetActiveReceptors() const { return m_ActiveReceptors; }
  void AddActiveReceptors(int change) { m_ActiveReceptors += change; }
  bool IsCheckpointSet() const { return m_CheckpointSet; }
  const D3DXVECTOR3& GetCheckpointPosition() const { return m_CheckpointPosition; }
  bool IsGenerationRadiusOn() const { return m_GenerationRadiusOn; }
  void EnableGenerationRadius(bool on) { m_GenerationRadiusOn = on; }
  int GetCompletedObjectives() const { return m_CompletedObjectives; }
  CBomb* GetBomb() const { return m_pBomb; }
  CTriggerManager& GetTriggerManager() { return m_TriggerManager; }

  // ---- The per-frame update.
  // Advances every object of the level by one frame, in a fixed order:
  // erases what has ended, turns dead enemies into souls, drops far enemies
  // and tops the live enemies up through the enemy generators.
  void Update();
  // Fills the spawn candidates: enabled, re-armed generators out of the
  // camera's view and, with the generation radius on, inside the ring
  // around the player.
  void CollectSpawnCandidates();
  // Takes a candidate out of the list (the first one twice as likely as
  // each other); null when there is none or a live enemy stands on it.
  CEnemyGenerator* ChooseGenerator();
  // Whether any slow-down zone holds the point.
  bool IsInSlowDownZone(const D3DXVECTOR3& point) const;
  // A new slow-down zone, in the scene at the root.
  CSlowDowner* AddSlowDowner(const D3DXVECTOR3& position, float baseRadius, float maxScale, float growthRate,
                             float unused);
  void FillAllGenerators();
  // Enables or disables every enemy generator of the group (exact name).
  void EnableEnemyGroup(const std::string& group, bool enable);

  // ---- Spawners of shots and effects.
  // A shot built at the end of its list, initialised with the arguments and
  // put into the scene at the root.
  template <class Shot, class... Args>
  Shot& SpawnShot(std::list<Shot>& list, Args&&... args);
  // An effect made with the arguments, appended to the effect list and put
  // into the scene at the root; null when it could not be made.
  template <class Effect, class... Args>
  Effect* SpawnEffect(Args&&... args);

  // The player's shot of a colour and power, from the player's hand at
  // height 0 along the player's shot direction.
  void AddBullet(int colour, const uint32_t& power);
  // The second boss's lobbed shot: from start along the heading, lifted
  // more the farther the player is from the second position.
  void AddBoss1Bullet(const D3DXVECTOR3& start, const D3DXVECTOR3& bossPosition, float heading, uint32_t power);
  // The second boss's laser shot: from start towards the player, spread by
  // up to 100 units in x and y, measured from the aim origin.
  void AddBoss1Laser(const D3DXVECTOR3& start, const D3DXVECTOR3& aimOrigin, float ignored, uint32_t power);
  // Twelve shots of power 70 around the first boss, 30 degrees apart.
  void AddBoss0AbilityBullet(CBoss0& boss);
  // The first boss's homing shot in its colour, from its firing hand along
  // its facing.
  void AddBoss0Bullet(CBoss0& boss, uint32_t power);
  // The player's shot met a wall: the burst and the wall-hit sound.
  void AddBulletWallHitEffect(const CBullet& shot);

  // ---- Spawners of the enemies' shots and the particle effects.
  // Three flat shots from the cocoon's hands and navel, away from its centre.
  void AddEnemy2Bullets(CEnemy2& enemy, uint32_t power);
  // One shot from the shooter's muzzle along its facing.
  void AddEnemy3Bullet(CEnemy3& enemy, uint32_t power);
  // One beam shot from the muzzle at the player, scattered up to 100 in +x and +y.
  void AddEnemy8Bullet(CEnemy8& enemy, uint32_t power);
  // One gas ball from the horn-and-spit enemy's mouth along its facing,
  // lifted 0.0008 x the player's distance.
  void AddEnemy6Bullet(CEnemy6& enemy, uint32_t power);
  // The gas ball's puddle on the floor and its splash elsewhere.
  void AddEnemy6BulletFloorHitEffect(const CEnemy6Bullet& bullet);
  void AddEnemy6BulletWallHitEffect(const CEnemy6Bullet& bullet);
  void AddEnemy2BulletWallHitEffect(const CEnemy2Bullet& bullet);
  void AddEnemy3BulletWallHitEffect(const CEnemy3Bullet& bullet);
  // The flash of the player's shot (muzzle or emission).
  void AddOrdinaryWeaponEffect(bool muzzle, int colour);
  void AddBoss0BulletWallHitEffect(const CBoss0Bullet& shot);
  void AddBoss0AbilityBulletWallHitEffect(const CBoss0AbilityBullet& shot);
  void AddBoss0KillEffect(CBoss0& boss);
  void AddBoss1BulletWallHitEffect(const CBoss1Bullet& shot);
  void AddBoss1LaserWallHitEffect(const CBoss1Laser& shot);
  void AddBoss1KillEffect(CBoss1& boss);
  // The obstacle spheres (centre x, y, z and radius) the walking enemies
  // steer round (no level file adds any).
  const std::list<const float*>& GetObstacles() const { return m_Obstacles; }
  // An item released by a broken box; the box keeps it.
  void AddBoxItem(CItem* item);
  // A player shot broke a grate.
  void BreakWireGrate(CWireGrate& grate);

  // ---- The lists, for the level's update, the spawners and the tests.
  std::map<std::string, NAMED_SPRITE>& GetSprites() { return m_Sprites; }
  std::map<std::string, NAMED_ANIMATED_SPRITE>& GetAnimatedSprites() { return m_AnimatedSprites; }
  std::map<std::string, CMarker>& GetMarkers() { return m_Markers; }
  std::map<std::string, OBJECTIVE>& GetObjectiveMap() { return m_Objectives; }
  const std::list<std::string>& GetObjectiveOrder() const { return m_ObjectiveOrder; }
  std::list<CItem>& GetItems() { return m_Items; }
  std::list<CBox>& GetBoxes() { return m_Boxes; }
  std::list<CGenerator>& GetGenerators() { return m_Generators; }
  std::list<CDoor>& GetDoors() { return m_Doors; }
  std::list<COpenCloseDoor>& GetOpenCloseDoors() { return m_OpenCloseDoors; }
  std::list<CRoof>& GetRoofs() { return m_Roofs; }
  std::list<CWireGrate>& GetWireGrates() { return m_WireGrates; }
  std::list<CBarrel>& GetBarrels() { return m_Barrels; }
  std::list<CCircuitLink>& GetLinks() { return m_Links; }
  std::list<CCircuitConnector>& GetConnectors() { return m_Connectors; }
  std::list<CCircuitGenerator>& GetCircuitGenerators() { return m_CircuitGenerators; }
  std::list<CCircuitReceptor>& GetReceptors() { return m_Receptors; }
  std::list<CBullet>& GetBullets() { return m_Bullets; }
  std::list<CItem*>& GetReleasedItems() { return m_ReleasedItems; }
  std::list<CTarget>& GetTargets() { return m_Targets; }
  std::list<CPushable>& GetPushables() { return m_Pushables; }
  std::list<CWaveWeapon>& GetWaveWeapons() { return m_WaveWeapons; }
  std::list<CEnemy*>& GetEnemies() { return m_Enemies; }
  std::list<CEnemyGenerator>& GetEnemyGenerators() { return m_EnemyGenerators; }
  std::list<CEnemyGenerator*>& GetSpawnCandidates() { return m_SpawnCandidates; }
  std::list<CEntity*>& GetEffects() { return m_Effects; }
  std::list<CEnemy2Bullet>& GetEnemy2Bullets() { return m_Enemy2Bullets; }
  std::list<CEnemy3Bullet>& GetEnemy3Bullets() { return m_Enemy3Bullets; }
  std::list<CEnemy6Bullet>& GetEnemy6Bullets() { return m_Enemy6Bullets; }
  std::list<CEnemy8Bullet>& GetEnemy8Bullets() { return m_Enemy8Bullets; }
  std::list<CBoss0Bullet>& GetBoss0Bullets() { return m_Boss0Bullets; }
  std::list<CBoss0AbilityBullet>& GetBoss0AbilityBullets() { return m_Boss0AbilityBullets; }
  std::list<CBoss1Bullet>& GetBoss1Bullets() { return m_Boss1Bullets; }
  std::list<CBoss1Laser>& GetBoss1Lasers() { return m_Boss1Lasers; }
  std::list<CSlowDowner>& GetSlowDowners() { return m_SlowDowners; }
  std::list<CEnergy>& GetSouls() { return m_Souls; }
  std::map<std::string, CLevelTimer>& GetTimers() { return m_Timers; }
  std::map<std::string, CLaser>& GetLasers() { return m_Lasers; }

 private:
  void CreateBosses();
  // Step 6 of the update: enemies, souls, generators and the top-up.
  void UpdateEnemies();
  void DeleteBomb();
  void ReleaseTerrain();
  void ClearNamedSprites();
  void ClearAnimatedSprites();
  void ResetObjects();
  template <class List>
  static void RemoveAllFromScene(List& list);
  template <class List>
  static void DeleteAll(List& list);

  // Builders of the level files' objects.
  void ReadItem(CItem& item, const ITEM_RECORD& record);
  CGenerator& BuildGenerator(const GENERATOR_RECORD& record);
  CCircuitReceptor& BuildReceptor(const RECEPTOR_RECORD& record);
  CDoor& BuildDoor(const DOOR_RECORD& record);
  COpenCloseDoor& BuildOpenCloseDoor(const OPEN_CLOSE_DOOR_RECORD& record);
  CCircuitObject* ResolveReference(const NODE_REFERENCE& reference);
  void BuildWireGrateShapes(CWireGrate& grate);

  static CLevel* s_pCurrent;

  bool m_Finished = false;
  std::string m_InitScript;
  std::string m_FinishScript;
  Nembra::CFactoryRef<Nembra::CSimpleMeshFactory> m_TerrainMesh{Nembra::g_pSimpleMeshFactory};  // outlives the sprite
  Nembra::CStatic3DSprite m_Terrain;
  std::map<std::string, NAMED_SPRITE> m_Sprites;
  std::map<std::string, NAMED_ANIMATED_SPRITE> m_AnimatedSprites;
  std::map<std::string, CMarker> m_Markers;
  CCollisionRegistry m_Collision;
  std::map<std::string, OBJECTIVE> m_Objectives;
  std::list<std::string> m_ObjectiveOrder;
  int m_CompletedObjectives = 0;
  std::list<CItem> m_Items;
  std::list<CBox> m_Boxes;
  std::list<CGenerator> m_Generators;
  std::list<CDoor> m_Doors;
  std::list<COpenCloseDoor> m_OpenCloseDoors;
  std::list<CRoof> m_Roofs;
  std::list<CWireGrate> m_WireGrates;
  std::list<CBarrel> m_Barrels;
  std::list<CCircuitLink> m_Links;
  std::list<CCircuitConnector> m_Connectors;
  std::list<CCircuitGenerator> m_CircuitGenerators;
  std::list<CCircuitReceptor> m_Receptors;
  std::list<CBullet> m_Bullets;
  std::list<CItem*> m_ReleasedItems;
  std::list<CTarget> m_Targets;
  std::list<CPushable> m_Pushables;
  std::list<CWaveWeapon> m_WaveWeapons;
  int m_WantedEnemyCount = 0;
  std::list<CEnemy*> m_Enemies;
  std::list<CEnemyGenerator> m_EnemyGenerators;
  std::list<CEnemyGenerator*> m_SpawnCandidates;
  std::list<CEntity*> m_Effects;
  std::list<CEnemy2Bullet> m_Enemy2Bullets;
  std::list<CEnemy3Bullet> m_Enemy3Bullets;
  std::list<CEnemy6Bullet> m_Enemy6Bullets;
  std::list<CEnemy8Bullet> m_Enemy8Bullets;
  std::list<CBoss0Bullet> m_Boss0Bullets;
  std::list<CBoss0AbilityBullet> m_Boss0AbilityBullets;
  std::list<CBoss1Bullet> m_Boss1Bullets;
  std::list<CBoss1Laser> m_Boss1Lasers;
  std::list<CSlowDowner> m_SlowDowners;
  std::list<CEnergy> m_Souls;
  CTriggerManager m_TriggerManager;
  bool m_CircuitsEnabled = false;
  int m_ActiveReceptors = 0;
  bool m_CheckpointSet = false;
  D3DXVECTOR3 m_CheckpointPosition{0.0f, 0.0f, 0.0f};
  std::map<std::string, CLevelTimer> m_Timers;
  std::map<std::string, CLaser> m_Lasers;
  CBomb* m_pBomb = nullptr;
  bool m_GenerationRadiusOn = false;

  CLightRegistry m_Lights;
  CLevelHost* m_pHost = nullptr;
  std::list<const float*> m_Obstacles;
};

// ---------------------------------------------------------------------------

template <class Shot, class... Args>
Shot& CLevel::SpawnShot(std::list<Shot>& list, Args&&... args) {
  Shot& shot = list.emplace_back();
  shot.Init(std::forward<Args>(args)...);
  shot.AddToScene(nullptr);
  return shot;
}

template <class Effect, class... Args>
Effect* CLevel::SpawnEffect(Args&&... args) {
  Effect* effect = new (std::nothrow) Effect(std::forward<Args>(args)...);
  if (!effect) return nullptr;
  m_Effects.push_back(effect);
  effect->AddToScene(nullptr);
  return effect;
}
