#pragma once
// The energy generator: shots of its colour charge it; full, it lights up
// and runs its script. Its bar sprite rises with the charge.
#include <cstdint>

#include "engine/scene/StaticSprite.h"
#include "game/mechanisms/circuits/ChargedObject.h"

class CBullet;

class CGenerator : public CChargedObject {
 public:
  CGenerator() = default;
  ~CGenerator() override;

  void AddToScene(Nembra::CSceneNode* parent = nullptr) override;
  void RemoveFromScene() override;

  void Fill();
  void OnHit(const CBullet& shot);
  // The shot's colour and power (what OnHit reads of a shot).
  void OnHit(uint32_t colour, uint32_t power) { TakeShot(colour, power); }
  // Empty again: charge 0, its light deleted, and no bar effect (the level
  // deletes the effects before it resets the generators).
  void Reset();
  // Octagons of radius r and r + 30 about the generator.
  void BuildCollisionBoxes();

  bool SetBarMesh(Nembra::CSimpleMesh* mesh) { return m_BarSprite.SetMesh(mesh); }
  Nembra::CStatic3DSprite& GetBarSprite() { return m_BarSprite; }
  int32_t GetId() const { return m_Id; }
  void SetId(int32_t id) { m_Id = id; }
  uint32_t GetColour() const { return m_Colour; }
  void SetColour(uint32_t colour) { m_Colour = colour; }

 protected:
  // The particle bar and the bar sprite at the charge's height.
  void ShowCharge() override;

  Nembra::CStatic3DSprite m_BarSprite;
  int32_t m_Id = 0;
};
