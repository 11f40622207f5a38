#pragma once
// The count-down display at the top centre of the screen: the time left
// of a level timer against a limit, as minutes, seconds and sixtieths
// ("1 : 15 : 30"), in the digital font. A script shows it on a level
// timer; it is drawn in the HUD's text batch while shown.
#include <string>

#include "engine/fonts/BitmapFont.h"
#include "engine/resources/FactoryRef.h"

class CLevelTimer;

class CGUIDigitalTimer {
 public:
  // Where the text is centred.
  static constexpr int TEXT_X = 400;
  static constexpr int TEXT_Y = 10;

  // Takes the digital font from the bitmap-font factory; hidden, no timer.
  CGUIDigitalTimer();
  ~CGUIDigitalTimer() = default;
  CGUIDigitalTimer(const CGUIDigitalTimer&) = delete;
  CGUIDigitalTimer& operator=(const CGUIDigitalTimer&) = delete;

  // Shows the time left of a level timer against the limit in seconds.
  // The timer must outlive the display until Hide.
  void Show(const CLevelTimer* timer, float limit);
  // Hides the display and lets go of the timer, so nothing reads it after
  // the level's timers are gone.
  void Hide();
  // Once per frame in the HUD's text batch: while shown, updates the time
  // left and writes it.
  void Draw();
  // Gives the font back to the factory.
  void Release();

  bool IsVisible() const { return m_Visible; }
  float GetTimeLeft() const { return m_TimeLeft; }
  float GetTimeLimit() const { return m_TimeLimit; }

  // The text of a time left: minutes, then seconds and sixtieths in two digits each.
  static std::wstring FormatTime(float timeLeft);

 private:
  const CLevelTimer* m_pTimer = nullptr;
  float m_TimeLimit = 0.0f;
  float m_TimeLeft = 0.0f;
  Nembra::CFactoryRef<Nembra::CBitmapFontFactory> m_Font{Nembra::g_pBitmapFontFactory};
  bool m_Visible = false;
};
