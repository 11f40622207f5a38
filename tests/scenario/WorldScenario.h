#pragma once
// The screen scenario's engine with the game's world on top (Lua host,
// camera, level and player) and one playing frame in the game's order: the
// world's frame (input, follow camera, player step and light, level update),
// the scene's update and drawing, the sound layer. Scripted input drives the
// player (Next()); Walk, Stand and Aim steer it directly and turn the input
// handling off for good.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/scene/Camera.h"
#include "engine/sound/WaveSound.h"
#include "game/enemies/Enemy.h"
#include "game/world/GameWorld.h"
#include "scenario/ScreenScenario.h"

namespace scenario {

// A standing enemy of a colour, radius and soul value for scenarios before
// the real enemy types: it never moves, takes shots by the polarity rule
// and dies through the enemy's own path.
class TestEnemy : public CEnemy {
 public:
  TestEnemy(uint32_t colour, float radius, uint32_t energyValue, uint32_t health = 1);
  void Kill() override;
  void OnShotHit(const CBullet& shot) override;
  uint32_t GetEnergyValue() override { return m_EnergyValue; }
  void OnWaveHit(uint32_t colour) override {
    if (colour != m_Colour) Kill();
  }
  int ShotHits() const { return m_ShotHits; }

 private:
  uint32_t m_EnergyValue;
  int m_ShotHits = 0;
};

// A sound that counts the times it was started (the real one stays silent).
class CountingSound : public Nembra::CWaveSound {
 public:
  bool Play(bool /*stopFirst*/) override {
    ++plays;
    return true;
  }
  int plays = 0;
};

class WorldScenario {
 public:
  struct Options : ScenarioOptions {
    Options() { frameTime = 0.02f; }
    bool loadPlayer = true;  // "Player.X" loaded into the scene at the origin
  };

  WorldScenario();
  explicit WorldScenario(const Options& options);
  ~WorldScenario();
  WorldScenario(const WorldScenario&) = delete;
  WorldScenario& operator=(const WorldScenario&) = delete;

  bool Ready() const { return m_Ready; }
  const std::string& Problem() const { return m_Problem; }
  ScreenScenario& Screen() { return *m_Screen; }
  CGameWorld& World() { return *m_World; }
  CLevel& Level() { return m_World->GetLevel(); }
  CPlayer& Player() { return m_World->GetPlayer(); }
  Nembra::CCamera& Camera() { return m_Camera; }
  FrameInput& Next() { return m_Screen->Next(); }
  int FrameNumber() const { return m_Screen->FrameNumber(); }

  // One playing frame; `overlay` draws after the scene (may be empty).
  void Frame(const std::function<void()>& overlay = nullptr);
  void Run(int frames);
  // Runs until the predicate holds after a frame; false when it never did.
  bool RunUntil(const std::function<bool()>& done, int maxFrames);
  bool SteeredDirectly() const { return m_Steered; }
  // How long the last frame's world update took, in seconds (wall clock;
  // for benchmarks only, never for the simulation).
  double LastLevelUpdateSeconds() const { return m_LevelUpdateSeconds; }
  // GL only: one frame kept as test-images/<name>.png.
  bool Capture(const std::string& name);

  // The player without input: placed (world matrices refreshed), facing a
  // yaw, walking along a direction, standing, aiming. Walking, standing and
  // aiming steer the player directly from then on: the frames skip the
  // input handling and the camera stays where it is.
  void PlacePlayer(const D3DXVECTOR3& position, float yaw = 0.0f);
  void Walk(const D3DXVECTOR3& direction);
  void Stand();
  void Aim(const D3DXVECTOR3& direction);

  // A static wall (an open polyline) of a collision class.
  void AddWall(int collisionClass, const std::vector<D3DXVECTOR3>& vertices);
  // A standing test enemy at a place, in the scene; the level owns it.
  TestEnemy& AddEnemy(const D3DXVECTOR3& position, uint32_t colour, float radius = 50.0f,
                      uint32_t energyValue = 5, uint32_t health = 1);
  // Writes a script into the script folder (writable data only).
  bool WriteScript(const std::string& name, const std::string& text);
  // An action trigger 5000 units round the origin whose script counts the
  // uses of the action key; ActionUses reads the count (writable data only).
  bool CountActionUses();
  int ActionUses() const;

  // The counting sounds put in place of the player's, the weapon's and the
  // world's.
  CountingSound hurt, collect, blueShot, redShot, noCharge, ordinary, wallHit;

 private:
  void Start();
  void PlayingFrame();

  Options m_Options;
  std::unique_ptr<ScreenScenario> m_Screen;
  Nembra::CCamera m_Camera;
  std::unique_ptr<CGameWorld> m_World;
  bool m_Ready = false;
  std::string m_Problem;
  double m_LevelUpdateSeconds = 0.0;
  bool m_Steered = false;
};

}  // namespace scenario
