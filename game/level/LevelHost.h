#pragma once
// What the level needs of the parts around it: the game world (reset, the
// player, the shared meshes) and the HUD. The owner of a level sets a host;
// without one every call does nothing and every shared mesh is null.
#include <cstdint>
#include <string>

#include "platform/Math.h"

namespace Nembra {
class CSimpleMesh;
class CSkinnedMesh;
}  // namespace Nembra
class CLevelTimer;

// Every HUD call a level object makes. The defaults do nothing.
class CLevelHud {
 public:
  virtual ~CLevelHud() = default;

  // Key-item row.
  virtual void ResetKeyItems() {}
  virtual void SetAccessCard(bool /*shown*/) {}
  virtual void SetConnectors(bool /*shown*/) {}
  virtual void SetCheckpoint(bool /*shown*/) {}
  virtual void SetMemoryCard(bool /*shown*/) {}

  // Counters panel.
  virtual void ResetCounters() {}
  virtual void ShowItems(int /*count*/) {}
  virtual void ShowGenerators(int /*count*/) {}
  virtual void ShowReceptors(int /*count*/) {}
  virtual void AddItem() {}
  virtual void AddGenerator() {}
  virtual void AddReceptor() {}
  virtual void ShowCounterTimer(CLevelTimer* /*timer*/, float /*value*/) {}
  virtual void StartStopCounterTimer() {}

  // Message box: Show(true, s) shows it for s seconds with a fade-in,
  // Show(false, s) starts fading it out; Hide clears it at once.
  virtual void ShowMessageBox(bool /*show*/, float /*seconds*/) {}
  virtual void HideMessageBox() {}
  virtual void SetMessageText(const std::wstring& /*text*/) {}
  virtual void SetMessageBackground(const std::string& /*imageFile*/, int /*x*/, int /*y*/, int /*width*/,
                                    int /*height*/) {}

  // Digital timer.
  virtual void ShowDigitalTimer(CLevelTimer* /*timer*/, float /*value*/) {}
  virtual void HideDigitalTimer() {}

  // Banners.
  virtual void ShowObjectiveBanner() {}
  virtual void ShowWeaponUpBanner() {}
};

// The game world's side of the level.
class CLevelHost {
 public:
  virtual ~CLevelHost() = default;

  // The world's reset when a level starts: the player respawned, the mouse
  // state cleared.
  virtual void ResetWorld() {}
  // Respawns the player; keepWeaponPower keeps the weapon's power as it was.
  virtual void RespawnPlayer(bool /*keepWeaponPower*/) {}
  // Puts the player at a place (a checkpoint).
  virtual void MovePlayerTo(const D3DXVECTOR3& /*position*/) {}
  // Clears the radiation the scripts raise.
  virtual void ClearRadiation() {}
  // Every light of the scene was deleted (the world drops its own).
  virtual void OnLightsDeleted() {}

  // The HUD; null: none.
  virtual CLevelHud* GetHud() { return nullptr; }

  // The shared meshes, held by the world (callers never release them).
  // Colour 1 is blue, any other value red.
  virtual Nembra::CSimpleMesh* GetItemMesh(int32_t /*kind*/, int32_t /*subKind*/) { return nullptr; }
  virtual Nembra::CSimpleMesh* GetBoxMesh(int32_t /*requiredPower*/) { return nullptr; }
  virtual Nembra::CSimpleMesh* GetBarrelMesh() { return nullptr; }
  virtual Nembra::CSimpleMesh* GetGeneratorMesh(uint32_t /*colour*/) { return nullptr; }
  virtual Nembra::CSimpleMesh* GetGeneratorBarMesh(uint32_t /*colour*/) { return nullptr; }
  virtual Nembra::CSimpleMesh* GetReceptorOffMesh(uint32_t /*colour*/) { return nullptr; }
  virtual Nembra::CSimpleMesh* GetConnectorOffMesh() { return nullptr; }
  virtual Nembra::CSimpleMesh* GetWaveWeaponMesh(uint32_t /*colour*/) { return nullptr; }
  virtual Nembra::CSkinnedMesh* GetTargetMesh(uint32_t /*colour*/) { return nullptr; }
};
