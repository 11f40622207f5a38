#pragma once
// A table of precomputed random numbers, so that particle emission costs
// one array read per draw.
#include <cstdint>
#include <memory>

namespace Nembra {

class CRandomTable {
 public:
  // Fills count values uniform in [min, max]; false for a count of 0 (the
  // old table is then kept).
  bool Init(uint32_t count, float min, float max);
  // The next value, wrapping to the first after the last; 0 from an empty table.
  float Next() {
    if (m_Count == 0) return 0.0f;
    if (m_Next >= m_Count) m_Next = 0;
    return m_Values[m_Next++];
  }
  float GetRange() const { return m_Range; }
  uint32_t GetCount() const { return m_Count; }
  uint32_t GetNextIndex() const { return m_Next; }
  void Rewind() { m_Next = 0; }

 private:
  std::unique_ptr<float[]> m_Values;
  uint32_t m_Count = 0;
  uint32_t m_Next = 0;
  float m_Range = 0.0f;
};

// The engine's table; engine start-up fills it with 2,000,000 values in [-1, 1].
extern CRandomTable g_ParticleRandom;
constexpr uint32_t PARTICLE_RANDOM_COUNT = 2000000;

}  // namespace Nembra
