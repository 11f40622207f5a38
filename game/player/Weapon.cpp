#include "game/player/Weapon.h"

#include <algorithm>

#include "engine/sound/WaveSound.h"
#include "game/level/Level.h"

namespace {
Nembra::CSound* WaveSound(const char* name) {
  return Nembra::g_pWaveSoundFactory ? Nembra::g_pWaveSoundFactory->Get(name) : nullptr;
}
void PlayOnce(Nembra::CSound* sound) {
  if (sound) sound->Play(false);
}
}  // namespace

void CWeapon::LoadSounds() {
  m_pBlueSound = WaveSound("WeaponBlueShot.wav");
  m_pRedSound = WaveSound("WeaponRedShot.wav");
  m_pNoChargeSound = WaveSound("WeaponNoBullets.wav");
  m_pOrdinarySound = WaveSound("Arma 0.wav");
  m_pMissSound = WaveSound("WeaponMiss.wav");
}

void CWeapon::Reset() {
  m_Power = 1;
  m_RedCharge = m_MaxCharge;
  m_BlueCharge = m_MaxCharge;
  m_Ordinary = 0;
}

void CWeapon::SetCharge(int colour, uint32_t charge) {
  (colour == BLUE ? m_BlueCharge : m_RedCharge) = std::min(charge, m_MaxCharge);
}

void CWeapon::AddCharge(int colour, uint32_t amount) {
  uint32_t& charge = colour == BLUE ? m_BlueCharge : m_RedCharge;
  // In 64 bits: an amount near the top of the range must not wrap below the cap.
  const uint64_t sum = uint64_t(charge) + uint64_t(amount);
  charge = static_cast<uint32_t>(std::min<uint64_t>(sum, m_MaxCharge));
}

void CWeapon::Fire(const int& colour) {
  if (!m_Enabled) return;
  if (m_Ordinary) {
    // The ordinary weapon: a flash at the hand, no charge and no shot.
    PlayOnce(m_pOrdinarySound);
    if (CLevel* level = CLevel::Current()) level->AddOrdinaryWeaponEffect(true, colour);
    return;
  }
  uint32_t& charge = colour == BLUE ? m_BlueCharge : m_RedCharge;
  if (charge == 0) {
    PlayOnce(m_pNoChargeSound);
    return;
  }
  --charge;
  PlayOnce(colour == BLUE ? m_pBlueSound : m_pRedSound);
  if (CLevel* level = CLevel::Current()) level->AddBullet(colour, m_Power);
}
