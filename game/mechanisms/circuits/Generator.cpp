#include "game/mechanisms/circuits/Generator.h"

#include "engine/scene/Light.h"
#include "game/actors/Bullet.h"
#include "game/effects/ParticleEffect.h"
#include "game/level/Level.h"
#include "game/mechanisms/SoundCue.h"
#include "game/mechanisms/circuits/ChargeBar.h"
#include "game/mechanisms/circuits/ColourLight.h"
#include "game/script/GameScript.h"

CGenerator::CGenerator() { SetRadius(RADIUS); }

// The light belongs to the scene manager, which deletes every light when a
// level is unloaded, before its objects go.
CGenerator::~CGenerator() = default;

// The bar sprite goes under the generator, so it is drawn with it.
void CGenerator::AddToScene(Nembra::CSceneNode* parent) {
  CStaticSpriteEntity::AddToScene(parent);
  if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->AddNode(&m_BarSprite, this);
  TakeBarEffect();
}

void CGenerator::RemoveFromScene() {
  if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->RemoveNode(&m_BarSprite);
  CStaticSpriteEntity::RemoveFromScene();
}

void CGenerator::TakeBarEffect() {
  CLevel* level = CLevel::Current();
  m_pBarEffect = level ? level->AddGenBarEffect(m_Colour) : nullptr;
  if (m_pBarEffect) m_pBarEffect->SetPosition(GetPosition().x, GetPosition().y, 0.0f);
  UpdateBar();
}

float CGenerator::GetBarHeight() const {
  if (m_Capacity == 0) return BAR_HEIGHT;
  return BAR_HEIGHT * static_cast<float>(m_Charge) / static_cast<float>(m_Capacity);
}

void CGenerator::UpdateBar() {
  const float height = GetBarHeight();
  if (m_pBarEffect) m_pBarEffect->SetHeight(height);
  D3DXVECTOR3 at = m_BarSprite.GetPosition();
  at.z = height;
  m_BarSprite.SetPosition(at);
}

void CGenerator::LightUp() {
  DeleteColourLight(m_pLight);
  m_pLight = MakeColourLight(GetWorldPosition() + D3DXVECTOR3(0.0f, 0.0f, LIGHT_HEIGHT), m_Colour);
}

void CGenerator::Fill() {
  m_Charge = m_Capacity;
  LightUp();
  UpdateBar();
}

void CGenerator::LoadResources() {
  m_CorrectSound.Take("GeneratorCorrect.wav");
  m_IncorrectSound.Take("GeneratorIncorrect.wav");
  ChargeBar::Load(m_FrameSprite, m_FillSprite, m_pFont, m_Colour);
}

void CGenerator::OnHit(const CBullet& shot) { OnHit(shot.GetColour(), shot.GetPower()); }

void CGenerator::OnHit(uint32_t colour, uint32_t power) {
  if (colour != m_Colour || m_Charge == m_Capacity) {
    m_IncorrectSound.Play();
    return;
  }
  const uint64_t charged = static_cast<uint64_t>(m_Charge) + power;
  m_Charge = charged >= m_Capacity ? m_Capacity : static_cast<uint32_t>(charged);
  if (m_Charge == m_Capacity) {
    LightUp();
    if (!m_ScriptFile.empty()) g_GameScript.RunFile(m_ScriptFile);
  }
  UpdateBar();
  m_CorrectSound.Play();
}

void CGenerator::DrawBar() {
  if (!m_Sprite.IsVisible()) return;
  ChargeBar::Draw(m_FrameSprite, m_FillSprite, m_pFont, GetWorldPosition(), m_Charge, m_Capacity);
}

// The restart deleted every effect, the old bar included: a new one is
// taken.
void CGenerator::Reset() {
  DeleteColourLight(m_pLight);
  m_Charge = 0;
  TakeBarEffect();
}

void CGenerator::BuildCollisionBoxes() {
  CollisionShapes::BuildGeneratorShape(m_CollisionBoxes[0], GetPosition(), GetRadius(), false);
  CollisionShapes::BuildGeneratorShape(m_CollisionBoxes[1], GetPosition(), GetRadius(), true);
}
