#pragma once
// frontend/hud/: the HUD of the playing states: the level's HUD calls, the
// layout, the player view and the full-screen flashes, banners and titles;
// its widgets in widgets/. It may call what frontend/ may call.
//
// The HUD as the level reaches it: the level's HUD calls (key items,
// counters, message box, count-down, banners) handed to the HUD widgets.
// The widgets belong to the application; null widgets are skipped.
#include "game/level/LevelHost.h"

class CGUIBanner;
class CGUICounters;
class CGUIDigitalTimer;
class CGUIKeyItems;
class CGUIMessageBox;

struct GUI_LEVEL_WIDGETS {
  CGUIKeyItems* keyItems = nullptr;
  CGUICounters* counters = nullptr;
  CGUIMessageBox* messageBox = nullptr;
  CGUIDigitalTimer* digitalTimer = nullptr;
  CGUIBanner* objectiveBanner = nullptr;
  CGUIBanner* weaponUpBanner = nullptr;
};

class CGUILevelHud : public CLevelHud {
 public:
  explicit CGUILevelHud(const GUI_LEVEL_WIDGETS& widgets) : m_W(widgets) {}

  void ResetKeyItems() override;
  void SetAccessCard(bool shown) override;
  void SetConnectors(bool shown) override;
  void SetCheckpoint(bool shown) override;
  void SetMemoryCard(bool shown) override;

  void ResetCounters() override;
  // Counts from scripts arrive as numbers truncated to integers; a negative
  // one is taken as its unsigned 32-bit value, as the counters store it.
  void ShowItems(int count) override;
  void ShowGenerators(int count) override;
  void ShowReceptors(int count) override;
  void AddItem() override;
  void AddGenerator() override;
  void AddReceptor() override;
  void ShowCounterTimer(CLevelTimer* timer, float value) override;
  void StartStopCounterTimer() override;

  void ShowMessageBox(bool show, float seconds) override;
  void HideMessageBox() override;
  void SetMessageText(const std::wstring& text) override;
  void SetMessageBackground(const std::string& imageFile, int x, int y, int width, int height) override;

  void ShowDigitalTimer(CLevelTimer* timer, float value) override;
  void HideDigitalTimer() override;

  void ShowObjectiveBanner() override;
  void ShowWeaponUpBanner() override;

 private:
  GUI_LEVEL_WIDGETS m_W;
};
