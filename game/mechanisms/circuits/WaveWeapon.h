#pragma once
// A wave-weapon station: charged by shots of its colour; full, it lights
// and runs its script. Its screen fill shrinks to the charge; an explosion
// puts it out of play until the restart.
#include <cstdint>
#include <string>

#include "game/mechanisms/circuits/ChargedObject.h"

class CBullet;

class CWaveWeapon : public CChargedObject {
 public:
  static constexpr float EXPLOSION_HEIGHT = 100.0f;

  CWaveWeapon() { m_FillShowsCharge = true; }
  ~CWaveWeapon() override = default;

  void AddToScene(Nembra::CSceneNode* parent = nullptr) override;
  // Its light removed, its charge bar made again, charge 0.
  void Reset();
  void OnBulletHit(const CBullet& shot);
  // The shot's colour and power (what OnBulletHit reads of a shot).
  void OnBulletHit(uint32_t colour, uint32_t power) { TakeShot(colour, power); }
  void Explode();
  // Octagons of radius r and r + 60 (built, registered by the station).
  void BuildCollisionBoxes();

  const std::string& GetName() const { return m_Name; }
  void SetName(const std::string& name) { m_Name = name; }
  int32_t GetColour() const { return static_cast<int32_t>(m_Colour); }
  void SetColour(int32_t colour) { m_Colour = static_cast<uint32_t>(colour); }
  Nembra::CStatic2DSprite& GetScreenFill() { return m_ScreenFill; }

 private:
  std::string m_Name;
};
