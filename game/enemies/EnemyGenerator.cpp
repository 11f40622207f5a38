#include "game/enemies/EnemyGenerator.h"

#include <new>

#include "engine/app/Application.h"
#include "engine/util/Random.h"
#include "game/enemies/EnemyHornSpit.h"
#include "game/enemies/EnemyKinds.h"
#include "game/world/GameGlobals.h"

uint8_t CEnemyGenerator::s_NextRed = 0;

namespace {
constexpr float kTwoPi = 6.2831855f;
}

CEnemyGenerator::CEnemyGenerator() { m_BoundingSphere.radius = BOUNDS_RADIUS; }

void CEnemyGenerator::SetOption(int index, int type, int percent, bool randomFacing) {
  OPTION& option = m_Options[static_cast<size_t>(index)];
  option.type = static_cast<uint32_t>(type);
  option.percent = percent;
  option.randomFacing = randomFacing ? 1 : 0;
}

void CEnemyGenerator::UpdateTimer() {
  if (m_RearmTimer == 0.0f) return;
  m_RearmTimer -= Nembra::g_FrameTime;
  if (m_RearmTimer < 0.0f) m_RearmTimer = 0.0f;
}

CEnemy* CEnemyGenerator::SpawnEnemy() {
  const int32_t roll = Nembra::RandomInt(0, 100);
  const OPTION* option = &m_Options[2];
  if (roll <= m_Options[0].percent)
    option = &m_Options[0];
  else if (roll <= int64_t{m_Options[0].percent} + m_Options[1].percent)  // percents from the file: no wrap
    option = &m_Options[1];
  return CreateEnemy(option->type, option->randomFacing != 0);
}

CEnemy* CEnemyGenerator::CreateEnemy(uint32_t type, bool randomFacing) {
  if (type > 8) return nullptr;
  if (type == 0) return CreateEnemy(static_cast<uint32_t>(Nembra::RandomInt(1, 7)), randomFacing);
  const uint32_t colour = s_NextRed ? 0u : 1u;
  CEnemy* enemy = nullptr;
  switch (type) {
    case 1: enemy = new (std::nothrow) CEnemy1(colour); break;
    case 2: enemy = new (std::nothrow) CEnemy2(colour); break;
    case 3: enemy = new (std::nothrow) CEnemy3(colour); break;
    case 7: enemy = new (std::nothrow) CEnemy7(colour); break;
    case 8: enemy = new (std::nothrow) CEnemy8(colour); break;
    default: enemy = new (std::nothrow) CEnemy6(colour); break;
  }
  if (!enemy) return nullptr;
  s_NextRed = s_NextRed ? 0 : 1;
  enemy->SetRotationZ(randomFacing ? Nembra::RandomFloat(0.0f, kTwoPi) : GetRotation().z);
  m_RearmTimer = g_EnemyGeneratorRearmTime;
  return enemy;
}
