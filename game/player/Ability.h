#pragma once
// The player's ability meter: it fills slowly over time and, once full, may
// be released, which empties it and runs the level's ability script.
#include <cstdint>

namespace Nembra {
class CAudiereSound;
}

class CAbility {
 public:
  static constexpr uint32_t FULL = 100;
  static constexpr float RATE = 1.5f;  // charge per second

  // Takes the ready sound from the audiere sound factory (none: silent).
  CAbility();
  virtual ~CAbility() = default;
  CAbility(const CAbility&) = delete;
  CAbility& operator=(const CAbility&) = delete;

  // Fills by the rate over the frame time; once full, the ready sound plays
  // once per filling.
  void Update();
  // The charge grows by the amount, never beyond full.
  void AddCharge(uint32_t amount);
  // Empty, the ready sound not played; the enabled flag stays.
  void Reset();
  // Empties the meter and runs the ability script when there is one.
  virtual void Use();

  uint32_t GetCharge() const { return m_Charge; }
  float GetFraction() const { return m_Fraction; }
  bool IsEnabled() const { return m_Enabled != 0; }
  void Enable(bool enabled) { m_Enabled = enabled ? 1 : 0; }
  bool WasReadySoundPlayed() const { return m_ReadyPlayed != 0; }
  Nembra::CAudiereSound* GetReadySound() const { return m_pReadySound; }

 private:
  uint8_t m_Enabled = 1;
  uint8_t m_ReadyPlayed = 0;
  Nembra::CAudiereSound* m_pReadySound = nullptr;
  float m_Fraction = 0.0f;
  uint32_t m_Charge = 0;
  float m_Rate = RATE;
};
