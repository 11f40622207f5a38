#include "engine/particles/RandomTable.h"

#include "engine/util/Random.h"

namespace Nembra {

CRandomTable g_ParticleRandom;

bool CRandomTable::Init(uint32_t count, float min, float max) {
  if (count == 0) return false;
  m_Values.reset(new float[count]);
  m_Count = count;
  m_Range = max - min;
  const CRandomRange range(min, max);
  for (uint32_t i = 0; i < count; ++i) m_Values[i] = range.Draw();
  m_Next = 0;
  return true;
}

}  // namespace Nembra
