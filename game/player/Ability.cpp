#include "game/player/Ability.h"

#include <algorithm>
#include <cmath>

#include "engine/app/Application.h"
#include "engine/sound/AudiereSound.h"
#include "game/level/Level.h"
#include "game/world/GameGlobals.h"
#include "game/world/GameWorld.h"

CAbility::CAbility() {
  if (Nembra::g_pAudiereSoundFactory) m_pReadySound = Nembra::g_pAudiereSoundFactory->Get("AbilityReady.wav");
}

void CAbility::Update() {
  if (!m_Enabled) return;
  if (m_Charge < FULL) {
    m_Fraction += m_Rate * Nembra::g_FrameTime;
    const float whole = std::floor(m_Fraction);
    if (whole >= 1.0f) {
      // A long frame may bring more than the meter holds.
      const uint64_t sum = uint64_t(m_Charge) + (whole >= float(FULL) ? uint64_t(FULL) : uint64_t(whole));
      m_Charge = static_cast<uint32_t>(std::min<uint64_t>(sum, FULL + 1));
      m_Fraction -= whole;
      if (m_Charge > FULL) {
        m_Charge = FULL;
        m_Fraction = 0.0f;
      }
    }
    return;
  }
  if (!m_ReadyPlayed) {
    if (m_pReadySound) m_pReadySound->Play(false);
    m_ReadyPlayed = 1;
  }
}

void CAbility::AddCharge(uint32_t amount) {
  const uint64_t sum = uint64_t(m_Charge) + uint64_t(amount);
  m_Charge = static_cast<uint32_t>(std::min<uint64_t>(sum, FULL));
}

void CAbility::Reset() {
  m_Fraction = 0.0f;
  m_Charge = 0;
  m_ReadyPlayed = 0;
}

void CAbility::Use() {
  Reset();
  if (!g_AbilityScriptFile.empty()) RunScriptFile(g_AbilityScriptFile);
  // Two waves at once from the player's place.
  if (CLevel* level = CLevel::Current(); level && g_pGameWorld) {
    const D3DXVECTOR3 at = g_pGameWorld->GetPlayer().GetWorldPosition();
    level->AddAbilityEffect(at);
    level->AddAbilityEffect(at);
  }
}
