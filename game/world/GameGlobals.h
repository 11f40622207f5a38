#pragma once
// Values shared by the level, the enemy types and the scripts: the tuning
// values a level may change (restored to their defaults whenever a level is
// prepared), the bosses' health and the wave's power against the second
// boss, the script the ability runs and the music now playing.
#include <string>

namespace Nembra {
class CAudiereSound;
}

// Walking speeds (units per second) and squared chase ranges of the enemy
// types 1, 2, 3 and 6.
extern float g_Enemy1Speed;
extern float g_Enemy1RangeSq;
extern float g_Enemy2Speed;
extern float g_Enemy2RangeSq;
extern float g_Enemy3Speed;
extern float g_Enemy3RangeSq;
extern float g_Enemy6Speed;
extern float g_Enemy6RangeSq;
// Seconds an enemy generator waits after it has spawned.
extern float g_EnemyGeneratorRearmTime;

// Health given to the two bosses when they are made, and the damage the
// energy wave deals to the second boss. Scripts set them; levels never reset
// them.
extern int g_Boss0Health;
extern int g_Boss1Health;
extern int g_WaveShockPower;

// The script file the player's ability runs; empty for none.
extern std::string g_AbilityScriptFile;
// The streamed music now playing; null until music plays. Not owned: the
// streaming-sound factory holds it.
extern Nembra::CAudiereSound* g_pCurrentMusic;

namespace TuningDefaults {
constexpr float ENEMY1_SPEED = 580.0f;
constexpr float ENEMY1_RANGE_SQ = 2.25e6f;  // 1500 squared
constexpr float ENEMY2_SPEED = 80.0f;
constexpr float ENEMY2_RANGE_SQ = 360000.0f;  // 600 squared
constexpr float ENEMY3_SPEED = 80.0f;
constexpr float ENEMY3_RANGE_SQ = 9e6f;  // 3000 squared
constexpr float ENEMY6_SPEED = 300.0f;
constexpr float ENEMY6_RANGE_SQ = 1.44e6f;  // 1200 squared
constexpr float GENERATOR_REARM_TIME = 30.0f;
constexpr int BOSS0_HEALTH = 100;
constexpr int BOSS1_HEALTH = 1550;
constexpr int WAVE_SHOCK_POWER = 1450;
}  // namespace TuningDefaults

// Puts the nine per-level tuning values back to their defaults.
void RestoreTuningDefaults();
