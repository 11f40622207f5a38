#pragma once
// The running game: the current level and the player, held by value, the
// on-screen cursor and the sounds the world plays. One instance, reached
// through g_pGameWorld; it is the level's host.
#include <string>

#include "engine/sprites/Sprite2D.h"
#include "game/Level.h"
#include "game/LevelHost.h"
#include "game/Player.h"

namespace Nembra {
class CCamera;
class CSound;
}  // namespace Nembra

class CGameWorld : public CLevelHost {
 public:
  static constexpr float START_YAW = 2.3561945f;  // 3 pi / 4
  static constexpr const char* WALL_HIT_SOUND = "WeaponMiss.wav";

  // Registers itself as g_pGameWorld and hosts its level.
  CGameWorld();
  ~CGameWorld() override;
  CGameWorld(const CGameWorld&) = delete;
  CGameWorld& operator=(const CGameWorld&) = delete;

  // Keeps the camera and loads the cursor and the sounds; false for a null
  // camera.
  bool Init(Nembra::CCamera* camera);
  // The player's start-up reset, its skinned mesh, into the scene at the
  // origin with its speed, standing.
  bool LoadPlayer(const std::string& meshName, float r, float g, float b, float a);
  // At a level's start: the player respawned, the mouse cleared, the
  // cursor and the camera back at their starting places.
  void Reset();
  // The wall-hit sound of the player's shot.
  void PlayWallHitSound();

  // CLevelHost.
  void ResetWorld() override { Reset(); }
  void RespawnPlayer(bool keepWeaponPower) override;
  void MovePlayerTo(const D3DXVECTOR3& position) override;
  void ClearRadiation() override { m_Player.SetRadiation(0.0f); }
  void OnLightsDeleted() override {}

  CLevel& GetLevel() { return m_Level; }
  CPlayer& GetPlayer() { return m_Player; }
  Nembra::CCamera* GetCamera() const { return m_pCamera; }
  Nembra::CStatic2DSprite& GetCursor() { return m_Cursor; }
  float GetCameraYaw() const { return m_CameraYaw; }
  // The sound a wall hit plays (a factory resource, not owned); tests put their own.
  Nembra::CSound* GetWallHitSound() const { return m_pWallHitSound; }
  void SetWallHitSound(Nembra::CSound* sound) { m_pWallHitSound = sound; }

 private:
  Nembra::CCamera* m_pCamera = nullptr;
  Nembra::CStatic2DSprite m_Cursor;
  std::string m_CursorTexture;
  CLevel m_Level;
  CPlayer m_Player;
  D3DXVECTOR3 m_ScreenCentre{400.0f, 300.0f, 0.0f};
  float m_CameraYaw = START_YAW;
  float m_TargetYaw = START_YAW;
  Nembra::CSound* m_pAbilitySound = nullptr;
  Nembra::CSound* m_pWallHitSound = nullptr;
};

extern CGameWorld* g_pGameWorld;

// Runs a script file of the script folder through the game's Lua host.
bool RunScriptFile(const std::string& fileName);
