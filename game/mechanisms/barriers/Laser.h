#pragma once
// A laser beam between an emitter and a receiver; it may slide to and fro,
// blink by a list of durations, hurt, kill or run a script.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/effects/Beam.h"
#include "engine/scene/StaticSprite.h"
#include "game/actors/Entity.h"
#include "game/mechanisms/LevelObject.h"

class CLaser : public CEntity {
 public:
  static constexpr float RADIUS = 15.0f;
  static constexpr float BEAM_WIDTH = 10.0f;

  static constexpr float EMITTER_HEIGHT = 120.0f;
  static constexpr float PLAYER_TEST_RADIUS = 10.0f;
  // A 100-second frame over millisecond durations.
  static constexpr int32_t MAX_TOGGLES_PER_FRAME = 100000;

  CLaser();
  ~CLaser() override;
  CLaser(const CLaser&) = delete;
  CLaser& operator=(const CLaser&) = delete;

  // The laser, then its emitter and receiver under it.
  void AddToScene(Nembra::CSceneNode* parent = nullptr) override;
  // Slides, blinks, cuts the beam at the first wall and hurts the player
  // standing in it.
  void Step() override;

  // Switches the laser off (and runs its script when it has one).
  void Deactivate() override;

  // Builds emitter, receiver, beam and path from the fields; may be called
  // again on the same laser.
  void Build();
  // Back as at the level's start.
  void Reset();

  // The record's fields.
  struct SETTINGS {
    bool initiallyOn = true;
    int32_t type = 0;  // 0 hurt, 1 kill, 2 script
    std::string scriptFile;
    bool emitterVariant = false;  // true: the destructible emitter
    bool initiallyStopped = true;
    float range = 0.0f;
    float initialOffset = 0.0f;
    float speed = 0.0f;
    bool initiallyIntermittent = false;
    std::string durationsFile;
    D3DXVECTOR3 farEnd{0.0f, 0.0f, 0.0f};
  };
  void SetSettings(const SETTINGS& settings);

  bool IsOn() const { return m_On; }
  void SetOn(bool on) { m_On = on; }
  bool IsIntermittent() const { return m_Intermittent; }
  void SetIntermittent(bool intermittent) { m_Intermittent = intermittent; }
  bool IsStopped() const { return m_Stopped; }
  void SetStopped(bool stopped) { m_Stopped = stopped; }
  float GetLaserSpeed() const { return m_LaserSpeed; }
  void SetLaserSpeed(float speed) { m_LaserSpeed = speed; }
  // The destructible flag the player's shot reads: the emitter variant.
  bool IsDestructible() const { return m_EmitterVariant; }
  int32_t GetType() const { return m_Type; }
  float GetRange() const { return m_Range; }
  float GetInitialOffset() const { return m_InitialOffset; }
  const D3DXVECTOR3& GetFarEnd() const { return m_FarEnd; }
  const std::string& GetScriptFile() const { return m_ScriptFile; }
  const std::string& GetDurationsFile() const { return m_DurationsFile; }
  bool IsInitiallyOn() const { return m_InitiallyOn; }
  float GetOffset() const { return m_Offset; }
  float GetDamagePerSecond() const { return m_DamagePerSecond; }
  const std::vector<float>& GetDurations() const { return m_Durations; }
  const std::string& GetBeamTexture() const { return m_BeamTexture; }
  Nembra::CBeam& GetBeam() { return m_Beam; }
  const D3DXVECTOR3& GetDirection() const { return m_BeamDirection; }
  float GetLength() const { return m_Length; }

 protected:
  Nembra::CBeam m_Beam;
  Nembra::CStatic3DSprite m_Emitter;
  Nembra::CStatic3DSprite m_Receiver;
  float m_MoveSign = 1.0f;
  D3DXVECTOR3 m_StartPosition{0.0f, 0.0f, 0.0f};
  D3DXVECTOR3 m_MoveAxis{0.0f, 0.0f, 0.0f};
  float m_DamagePerSecond = 0.0f;
  std::vector<float> m_Durations;
  int32_t m_Type = 0;
  D3DXVECTOR3 m_FarEnd{0.0f, 0.0f, 0.0f};
  D3DXVECTOR3 m_BeamDirection{0.0f, 0.0f, 0.0f};
  float m_Length = 0.0f;
  float m_BeamWidth = BEAM_WIDTH;
  std::string m_ScriptFile;
  std::string m_BeamTexture;
  bool m_EmitterVariant = false;
  bool m_InitiallyStopped = true;
  bool m_Stopped = true;
  float m_Range = 0.0f;
  float m_InitialOffset = 0.0f;
  float m_Offset = 0.0f;
  float m_LaserSpeed = 0.0f;
  bool m_InitiallyIntermittent = false;
  bool m_Intermittent = false;
  bool m_InitiallyOn = true;
  bool m_On = true;
  std::string m_DurationsFile;
  int32_t m_DurationIndex = 0;
  int32_t m_DurationCount = 0;
  float m_BlinkTimer = 0.0f;

 private:
  void Blink(float dt);
  bool m_Built = false;  // a laser only looked up by name stays where it is put
  CHeldMesh m_EmitterMesh;
  CHeldMesh m_ReceiverMesh;
};
