#include "game/enemies/EnemyGenerator.h"

#include "engine/app/Application.h"

CEnemyGenerator::CEnemyGenerator() { m_BoundingSphere.radius = BOUNDS_RADIUS; }

void CEnemyGenerator::SetOption(int index, int type, int percent, bool randomFacing) {
  OPTION& option = m_Options[static_cast<size_t>(index)];
  option.type = static_cast<uint32_t>(type);
  option.percent = percent;
  option.randomFacing = randomFacing ? 1 : 0;
}

void CEnemyGenerator::UpdateTimer() {
  m_RearmTimer -= Nembra::g_FrameTime;
  if (m_RearmTimer < 0.0f) m_RearmTimer = 0.0f;
}

CEnemy* CEnemyGenerator::SpawnEnemy() { return nullptr; }
