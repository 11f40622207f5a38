#include "frontend/hud/GUILevelHud.h"

#include <cstdint>

#include "engine/util/Utilities.h"
#include "frontend/hud/GUIBanner.h"
#include "frontend/hud/widgets/GUICounters.h"
#include "frontend/hud/widgets/GUIDigitalTimer.h"
#include "frontend/hud/widgets/GUIKeyItems.h"
#include "frontend/hud/widgets/GUIMessageBox.h"

void CGUILevelHud::ResetKeyItems() {
  if (m_W.keyItems) m_W.keyItems->Reset();
}
void CGUILevelHud::SetAccessCard(bool shown) {
  if (m_W.keyItems) m_W.keyItems->SetAccessCard(shown);
}
void CGUILevelHud::SetConnectors(bool shown) {
  if (m_W.keyItems) m_W.keyItems->SetConnectors(shown);
}
void CGUILevelHud::SetCheckpoint(bool shown) {
  if (m_W.keyItems) m_W.keyItems->SetCheckpoint(shown);
}
void CGUILevelHud::SetMemoryCard(bool shown) {
  if (m_W.keyItems) m_W.keyItems->SetMemoryCard(shown);
}

void CGUILevelHud::ResetCounters() {
  if (m_W.counters) m_W.counters->Reset();
}
void CGUILevelHud::ShowItems(int count) {
  if (m_W.counters) m_W.counters->ShowItems(static_cast<uint32_t>(count));
}
void CGUILevelHud::ShowGenerators(int count) {
  if (m_W.counters) m_W.counters->ShowGenerators(static_cast<uint32_t>(count));
}
void CGUILevelHud::ShowReceptors(int count) {
  if (m_W.counters) m_W.counters->ShowReceptors(static_cast<uint32_t>(count));
}
void CGUILevelHud::AddItem() {
  if (m_W.counters) m_W.counters->AddItem();
}
void CGUILevelHud::AddGenerator() {
  if (m_W.counters) m_W.counters->AddGenerator();
}
void CGUILevelHud::AddReceptor() {
  if (m_W.counters) m_W.counters->AddReceptor();
}
void CGUILevelHud::ShowCounterTimer(CLevelTimer* timer, float value) {
  if (m_W.counters) m_W.counters->ShowTimer(timer, value);
}
void CGUILevelHud::StartStopCounterTimer() {
  if (m_W.counters) m_W.counters->StartStopTimer();
}

void CGUILevelHud::ShowMessageBox(bool show, float seconds) {
  if (m_W.messageBox) m_W.messageBox->Show(show, seconds);
}
void CGUILevelHud::HideMessageBox() {
  if (m_W.messageBox) m_W.messageBox->Hide();
}
void CGUILevelHud::SetMessageText(const std::wstring& text) {
  if (m_W.messageBox) m_W.messageBox->SetText(text);
}
void CGUILevelHud::SetMessageBackground(const std::string& imageFile, int x, int y, int width, int height) {
  if (m_W.messageBox) m_W.messageBox->SetBackground(imageFile, Nembra::MakeRect(x, y, width, height));
}

void CGUILevelHud::ShowDigitalTimer(CLevelTimer* timer, float value) {
  if (m_W.digitalTimer) m_W.digitalTimer->Show(timer, value);
}
void CGUILevelHud::HideDigitalTimer() {
  if (m_W.digitalTimer) m_W.digitalTimer->Hide();
}

void CGUILevelHud::ShowObjectiveBanner() {
  if (m_W.objectiveBanner) m_W.objectiveBanner->Show();
}
void CGUILevelHud::ShowWeaponUpBanner() {
  if (m_W.weaponUpBanner) m_W.weaponUpBanner->Show();
}
