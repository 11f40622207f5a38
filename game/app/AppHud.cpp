// The application's HUD: the widgets the playing states draw, the seam
// through which the level reaches them, and their two batches of a
// playing frame.
#include "game/app/App.h"

#include "frontend/hud/GUIBanner.h"
#include "frontend/hud/GUILevelHud.h"
#include "frontend/hud/GUIMissionComplete.h"
#include "frontend/hud/GUIPauseTitle.h"
#include "frontend/hud/widgets/GUICounters.h"
#include "frontend/hud/widgets/GUIDigitalTimer.h"
#include "frontend/hud/widgets/GUIGauges.h"
#include "frontend/hud/widgets/GUIKeyItems.h"
#include "frontend/hud/widgets/GUIMessageBox.h"
#include "frontend/hud/widgets/GUIWeaponPanel.h"
#include "game/enemies/Enemy.h"
#include "game/mechanisms/circuits/Generator.h"
#include "game/mechanisms/circuits/WaveWeapon.h"
#include "game/world/GameWorld.h"

void CApp::CreateHud() {
  m_pHealthGauge = new CGUIHealthGauge();
  m_pWeaponPanel = new CGUIWeaponPanel();
  m_pAbilityGauge = new CGUIAbilityGauge();
  m_pKeyItems = new CGUIKeyItems();
  m_pCounters = new CGUICounters();
  m_pMessageBox = new CGUIMessageBox();
  m_pMissionComplete = new CGUIMissionComplete();
  m_pDeathTitle = new CGUIPauseTitle();
  m_pObjectiveBanner = new CGUIBanner();
  m_pWeaponUpBanner = new CGUIBanner();
  m_pFinalScreen = nullptr;
  m_pDigitalTimer = new CGUIDigitalTimer();
  m_pHealthGauge->Init();
  m_pWeaponPanel->Init();
  m_pAbilityGauge->Init();
  m_pKeyItems->Init();
  m_pCounters->Init();
  m_pMessageBox->Init();
  GUI_LEVEL_WIDGETS widgets;
  widgets.keyItems = m_pKeyItems;
  widgets.counters = m_pCounters;
  widgets.messageBox = m_pMessageBox;
  widgets.digitalTimer = m_pDigitalTimer;
  widgets.objectiveBanner = m_pObjectiveBanner;
  widgets.weaponUpBanner = m_pWeaponUpBanner;
  m_pLevelHud = std::make_unique<CGUILevelHud>(widgets);
  if (g_pGameWorld) g_pGameWorld->SetHud(m_pLevelHud.get());
}

void CApp::ReleaseHud() {
  // The world lets go of the seam before the widgets behind it go.
  if (g_pGameWorld) g_pGameWorld->SetHud(nullptr);
  m_pLevelHud.reset();
  ReleaseAndDelete(m_pHealthGauge);
  ReleaseAndDelete(m_pWeaponPanel);
  ReleaseAndDelete(m_pAbilityGauge);
  ReleaseAndDelete(m_pKeyItems);
  ReleaseAndDelete(m_pCounters);
  ReleaseAndDelete(m_pMessageBox);
  ReleaseAndDelete(m_pMissionComplete);
  ReleaseAndDelete(m_pDeathTitle);
  ReleaseAndDelete(m_pObjectiveBanner);
  ReleaseAndDelete(m_pWeaponUpBanner);
}

void CApp::UpdateHudBatch() {
  if (m_pWeaponPanel) m_pWeaponPanel->Update();
  if (m_pHealthGauge) m_pHealthGauge->Update();
  if (m_pAbilityGauge) m_pAbilityGauge->Update();
  if (m_pKeyItems) m_pKeyItems->Update();
  if (m_pCounters) m_pCounters->Update();
  if (m_pObjectiveBanner) m_pObjectiveBanner->Update();
  if (m_pWeaponUpBanner) m_pWeaponUpBanner->Update();
  if (m_pMessageBox) m_pMessageBox->Update();
  if (!g_pGameWorld) return;
  CLevel& level = g_pGameWorld->GetLevel();
  // An enemy's bar shows once a shot or a blow has hit it.
  for (CEnemy* enemy : level.GetEnemies())
    if (enemy && enemy->WasHit()) enemy->DrawHealthBar();
  for (CGenerator& generator : level.GetGenerators())
    if (generator.GetCharge() != 0) generator.DrawBar();
  for (CWaveWeapon& weapon : level.GetWaveWeapons())
    if (weapon.GetCharge() != 0) weapon.DrawBar();
}

void CApp::DrawHudBatch() {
  if (m_pHealthGauge) m_pHealthGauge->Draw();
  if (m_pAbilityGauge) m_pAbilityGauge->Draw();
  if (m_pWeaponPanel) m_pWeaponPanel->Draw();
  if (m_pCounters) m_pCounters->Draw();
  if (m_pMessageBox) m_pMessageBox->Draw();
  if (m_pDigitalTimer) m_pDigitalTimer->Draw();
}
