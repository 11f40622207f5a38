#include "game/world/GameGlobals.h"

float g_Enemy1Speed = TuningDefaults::ENEMY1_SPEED;
float g_Enemy1RangeSq = TuningDefaults::ENEMY1_RANGE_SQ;
float g_Enemy2Speed = TuningDefaults::ENEMY2_SPEED;
float g_Enemy2RangeSq = TuningDefaults::ENEMY2_RANGE_SQ;
float g_Enemy3Speed = TuningDefaults::ENEMY3_SPEED;
float g_Enemy3RangeSq = TuningDefaults::ENEMY3_RANGE_SQ;
float g_Enemy6Speed = TuningDefaults::ENEMY6_SPEED;
float g_Enemy6RangeSq = TuningDefaults::ENEMY6_RANGE_SQ;
float g_EnemyGeneratorRearmTime = TuningDefaults::GENERATOR_REARM_TIME;

int g_Boss0Health = TuningDefaults::BOSS0_HEALTH;
int g_Boss1Health = TuningDefaults::BOSS1_HEALTH;
int g_WaveShockPower = TuningDefaults::WAVE_SHOCK_POWER;

std::string g_AbilityScriptFile;
Nembra::CAudiereSound* g_pCurrentMusic = nullptr;

void RestoreTuningDefaults() {
  g_Enemy6Speed = TuningDefaults::ENEMY6_SPEED;
  g_Enemy6RangeSq = TuningDefaults::ENEMY6_RANGE_SQ;
  g_Enemy3Speed = TuningDefaults::ENEMY3_SPEED;
  g_Enemy3RangeSq = TuningDefaults::ENEMY3_RANGE_SQ;
  g_Enemy2Speed = TuningDefaults::ENEMY2_SPEED;
  g_Enemy2RangeSq = TuningDefaults::ENEMY2_RANGE_SQ;
  g_Enemy1Speed = TuningDefaults::ENEMY1_SPEED;
  g_Enemy1RangeSq = TuningDefaults::ENEMY1_RANGE_SQ;
  g_EnemyGeneratorRearmTime = TuningDefaults::GENERATOR_REARM_TIME;
}
