#pragma once
// game/world/: the running game that holds the level and the player,
// the game's globals, the input action numbers and the light registry.
// It may call the level, the player, script/, engine/ and platform/.
//
// The running game: the current level and the player, held by value, the
// meshes shared by every level object of a kind, the on-screen cursor, the
// light that travels with the player and the follow camera. One instance,
// reached through g_pGameWorld; it is the level's host.
#include <string>

#include "platform/Graphics.h"

#include "engine/resources/FactoryRef.h"
#include "engine/resources/SkinnedMesh.h"
#include "engine/resources/Texture.h"
#include "engine/sound/WaveSound.h"
#include "engine/sprites/Sprite2D.h"
#include "game/level/Level.h"
#include "game/level/LevelHost.h"
#include "game/player/Player.h"

namespace Nembra {
class CCamera;
class CPointLight;
class CResource;
class CSound;
}  // namespace Nembra

class CGameWorld : public CLevelHost {
 public:
  static constexpr float START_YAW = 2.3561945f;  // 3 pi / 4
  static constexpr const char* WALL_HIT_SOUND = "WeaponMiss.wav";
  static constexpr const char* ABILITY_SOUND = "Ability.wav";
  static constexpr const char* CURSOR_TEXTURE = "Mouse.tga";
  // Mesh slots 1 to 29; slot 6 stays empty.
  static constexpr int MESH_SLOTS = 29;
  static constexpr int TARGET_BLUE_SLOT = 26, TARGET_RED_SLOT = 27;
  // The file of a slot (empty for slot 6 and out of range).
  static const char* MeshFile(int slot);
  // The height of the plane the cursor points at.
  static constexpr float AIM_HEIGHT = 120.0f;
  // Where the camera stands from its target, by the yaw.
  static constexpr float CAMERA_DISTANCE = 765.0f, CAMERA_HEIGHT = 1020.0f;

  // Registers itself as g_pGameWorld and hosts its level.
  CGameWorld();
  ~CGameWorld() override;
  CGameWorld(const CGameWorld&) = delete;
  CGameWorld& operator=(const CGameWorld&) = delete;

  // Keeps the camera and loads the cursor, the shared meshes and the
  // sounds; false for a null camera (nothing else done).
  bool Init(Nembra::CCamera* camera);
  // The player's start-up reset, its skinned mesh, into the scene at the
  // origin with its speed, standing; the player light lit in its colour.
  // The world keeps one player light: made when it has none, else set again.
  bool LoadPlayer(const std::string& meshName, float r, float g, float b, float a);
  void SetPlayerMesh(const std::string& meshName);
  // At a level's start: the player respawned, the mouse cleared, the
  // cursor and the camera back at their starting places.
  void Reset();
  // Both yaws back to the start, then the level restarts.
  void ResetCamera();
  // The world's frame: input (a living player only), the player's step,
  // the player light, the level's update.
  void UpdateCamera();
  // The cursor, while the player is active.
  void Render();
  // Reads the device's viewport, projection and view.
  void CaptureViewTransforms();
  // The point at the aim height under a screen point.
  D3DXVECTOR3 ScreenToWorldRay(const D3DXVECTOR3& screen);
  // The camera's viewing direction flattened onto the ground, unit length.
  D3DXVECTOR3 GetCameraForward() const;

  // The player's input and the follow camera (every frame the player lives).
  void HandleInput();
  void UpdateWheelCamera();
  void UpdateEdgeCamera();
  // The player faces the aim point; the shot leaves from the hand towards
  // it, or, with the aim within 60 units of the hand, along the line from
  // the player's centre through the hand.
  void FaceAndAim(const D3DXVECTOR3& aim);
  // The wall-hit sound of the player's shot.
  void PlayWallHitSound();

  // CLevelHost.
  void ResetWorld() override { Reset(); }
  void RespawnPlayer(bool keepWeaponPower) override;
  void MovePlayerTo(const D3DXVECTOR3& position) override;
  void ClearRadiation() override { m_Player.SetRadiation(0.0f); }
  void OnLightsDeleted() override { m_pPlayerLight = nullptr; }
  // The HUD the level's objects and scripts reach (the application's widgets;
  // none until it sets them).
  CLevelHud* GetHud() override { return m_pHud; }
  void SetHud(CLevelHud* hud) { m_pHud = hud; }

  // The shared meshes; colour 1 is blue, any other red.
  Nembra::CSimpleMesh* GetItemMesh(int32_t kind, int32_t level) override;
  Nembra::CSimpleMesh* GetBoxMesh(int32_t kind) override;
  Nembra::CSimpleMesh* GetBarrelMesh() override { return Simple(24); }
  Nembra::CSimpleMesh* GetGeneratorMesh(uint32_t colour) override { return Simple(colour == 1 ? 11 : 12); }
  Nembra::CSimpleMesh* GetGeneratorBarMesh(uint32_t colour) override { return Simple(colour == 1 ? 13 : 14); }
  Nembra::CSimpleMesh* GetReceptorOnMesh(uint32_t colour) { return Simple(colour == 1 ? 19 : 20); }
  Nembra::CSimpleMesh* GetReceptorOffMesh(uint32_t colour) override { return Simple(colour == 1 ? 21 : 22); }
  Nembra::CSimpleMesh* GetConnectorOffMesh() override { return Simple(15); }
  Nembra::CSimpleMesh* GetConnectorOnMesh() { return Simple(16); }
  Nembra::CSimpleMesh* GetConnectorBlueMesh() { return Simple(17); }
  Nembra::CSimpleMesh* GetConnectorRedMesh() { return Simple(18); }
  Nembra::CSimpleMesh* GetWaveWeaponMesh(uint32_t colour) override { return Simple(colour == 1 ? 28 : 29); }
  Nembra::CSkinnedMesh* GetTargetMesh(uint32_t colour) override;
  // Any slot as loaded (null when empty or out of range).
  Nembra::CResource* GetMeshSlot(int slot) const;

  CLevel& GetLevel() { return m_Level; }
  CPlayer& GetPlayer() { return m_Player; }
  Nembra::CCamera* GetCamera() const { return m_pCamera; }
  Nembra::CStatic2DSprite& GetCursor() { return m_Cursor; }
  float GetCameraYaw() const { return m_CameraYaw; }
  float GetTargetYaw() const { return m_TargetYaw; }
  // Both yaws (the scripts turn the camera).
  void SetCameraYaw(float yaw) { m_CameraYaw = m_TargetYaw = yaw; }
  const D3DXVECTOR3& GetAimPoint() const { return m_AimPoint; }
  const D3DXVECTOR3& GetStoredCameraForward() const { return m_CameraForward; }
  const D3DXVECTOR3& GetScreenCentre() const { return m_ScreenCentre; }
  Nembra::CPointLight* GetPlayerLight() const { return m_pPlayerLight; }
  // True: the wheel turns the camera; false: the screen edges do.
  bool GetCameraMode() const { return m_CameraMode; }
  void SetCameraMode(bool wheel) { m_CameraMode = wheel; }
  Nembra::CSound* GetAbilitySound() const { return m_pAbilitySound; }
  void SetAbilitySound(Nembra::CSound* sound) { m_pAbilitySound = sound; }
  // The sound a wall hit plays (the factory's, held by the world); tests put their own.
  Nembra::CSound* GetWallHitSound() const { return m_pWallHitSound; }
  void SetWallHitSound(Nembra::CSound* sound) { m_pWallHitSound = sound; }

 private:
  Nembra::CSimpleMesh* Simple(int slot) const;
  void LoadMeshes();
  // The player's sprite shows the named mesh, held until another replaces it.
  void ShowPlayerMesh(const std::string& meshName);
  // Subset 1 of the generators and wave weapons writes no depth.
  void PatchDepthWrite(int slot);
  // The look-at point: eased towards the cursor while the player's screen
  // position passed its mode's test, else snapped above the player.
  void FollowCamera(bool onScreen, const D3DXVECTOR3& playerOnScreen);
  // The yaw eased, the camera placed from its target, applied, captured.
  void PlaceCamera();
  D3DXVECTOR3 PlayerOnScreen() const;
  void MovePlayer();
  // The action key: the circuits and action triggers near the player.
  void UseAction();

  Nembra::CCamera* m_pCamera = nullptr;
  // The shared meshes by slot (the two targets skinned) and the world's
  // sounds, held for the world's life: given back after the level and the
  // player are gone.
  CHeldMesh m_Meshes[MESH_SLOTS + 1];
  Nembra::CFactoryRef<Nembra::CSkinnedMeshFactory> m_BlueTarget{Nembra::g_pSkinnedMeshFactory};
  Nembra::CFactoryRef<Nembra::CSkinnedMeshFactory> m_RedTarget{Nembra::g_pSkinnedMeshFactory};
  Nembra::CFactoryRef<Nembra::CWaveSoundFactory> m_HeldAbilitySound{Nembra::g_pWaveSoundFactory};
  Nembra::CFactoryRef<Nembra::CWaveSoundFactory> m_HeldWallHitSound{Nembra::g_pWaveSoundFactory};
  Nembra::CStatic2DSprite m_Cursor;
  Nembra::CFactoryRef<Nembra::CTextureFactory> m_CursorTexture{Nembra::g_pTextureFactory};
  D3DXVECTOR3 m_AimPoint{0.0f, 0.0f, 0.0f};
  Nembra::CFactoryRef<Nembra::CSkinnedMeshFactory> m_PlayerMesh{Nembra::g_pSkinnedMeshFactory};  // outlives the player
  CLevel m_Level;
  CPlayer m_Player;
  Nembra::CPointLight* m_pPlayerLight = nullptr;
  D3DXVECTOR3 m_ScreenCentre{400.0f, 300.0f, 0.0f};
  float m_CameraYaw = START_YAW;
  float m_TargetYaw = START_YAW;
  D3DXVECTOR3 m_CameraForward{0.0f, -1.0f, 0.0f};
  platform::D3DVIEWPORT9 m_Viewport{0, 0, 800, 600, 0.0f, 1.0f};
  D3DXMATRIX m_Projection;
  D3DXMATRIX m_View;
  Nembra::CSound* m_pAbilitySound = nullptr;
  Nembra::CSound* m_pWallHitSound = nullptr;
  bool m_CameraMode = true;
  CLevelHud* m_pHud = nullptr;
};

extern CGameWorld* g_pGameWorld;

// The player's world position; the origin while there is no game world.
D3DXVECTOR3 PlayerWorldPosition();

// Runs a script file of the script folder through the game's Lua host.
bool RunScriptFile(const std::string& fileName);
