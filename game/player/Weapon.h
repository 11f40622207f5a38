#pragma once
// The player's two-colour weapon: a charge of shots per colour, refilled by
// souls, the power of its shots and the sounds of firing. It has no visual;
// it hangs under the player.
#include <cstdint>

#include "game/actors/Entity.h"

namespace Nembra {
class CSound;
}

class CWeapon : public CEntity {
 public:
  static constexpr uint32_t MAX_CHARGE = 100;
  static constexpr int RED = 0;
  static constexpr int BLUE = 1;

  // The shot sounds: blue, red, empty, ordinary mode and the miss sound
  // (loaded, never played).
  void LoadSounds();
  // Power 1, both charges full, ordinary mode off.
  void Reset();
  // Colour 1 is blue, any other red; the charge stops at the maximum.
  void AddCharge(int colour, uint32_t amount);
  // Spends one charge of the colour and asks the level for the shot; an
  // empty colour only plays the empty sound.
  void Fire(const int& colour);

  uint32_t GetCharge(int colour) const { return colour == BLUE ? m_BlueCharge : m_RedCharge; }
  void SetCharge(int colour, uint32_t charge);
  uint32_t GetMaxCharge() const { return m_MaxCharge; }
  uint32_t GetPower() const { return m_Power; }
  void SetPower(uint32_t power) { m_Power = power; }
  bool IsEnabled() const { return m_Enabled != 0; }
  void Enable(bool enabled) { m_Enabled = enabled ? 1 : 0; }
  bool IsOrdinary() const { return m_Ordinary != 0; }
  void SetOrdinary(bool ordinary) { m_Ordinary = ordinary ? 1 : 0; }

  // The sounds in use (factory resources, not owned); tests put their own.
  void SetSounds(Nembra::CSound* blue, Nembra::CSound* red, Nembra::CSound* noCharge, Nembra::CSound* ordinary) {
    m_pBlueSound = blue;
    m_pRedSound = red;
    m_pNoChargeSound = noCharge;
    m_pOrdinarySound = ordinary;
  }

 private:
  Nembra::CSound* m_pBlueSound = nullptr;
  Nembra::CSound* m_pRedSound = nullptr;
  Nembra::CSound* m_pNoChargeSound = nullptr;
  Nembra::CSound* m_pOrdinarySound = nullptr;
  Nembra::CSound* m_pMissSound = nullptr;
  uint8_t m_Enabled = 1;
  uint8_t m_Ordinary = 0;
  uint32_t m_MaxCharge = MAX_CHARGE;
  uint32_t m_RedCharge = MAX_CHARGE;
  uint32_t m_BlueCharge = MAX_CHARGE;
  uint32_t m_Power = 1;
};
