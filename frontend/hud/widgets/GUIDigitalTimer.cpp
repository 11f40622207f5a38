#include "frontend/hud/widgets/GUIDigitalTimer.h"

#include <cmath>

#include "engine/fonts/BitmapFont.h"
#include "frontend/FontNames.h"
#include "game/level/LevelTimer.h"

CGUIDigitalTimer::CGUIDigitalTimer() {
  m_Font.Take(FONT_GUI_DIGITAL);
}

void CGUIDigitalTimer::Show(const CLevelTimer* timer, float limit) {
  m_pTimer = timer;
  m_TimeLimit = limit;
  m_TimeLeft = limit;
  m_Visible = true;
}

void CGUIDigitalTimer::Hide() {
  m_Visible = false;
  m_pTimer = nullptr;
}

void CGUIDigitalTimer::Release() {
  m_Font.Reset();
}

std::wstring CGUIDigitalTimer::FormatTime(float timeLeft) {
  if (!(timeLeft > 0.0f)) timeLeft = 0.0f;
  // Far beyond any level's time the count stops growing, so the integer stays in range.
  if (timeLeft > 1.0e9f) timeLeft = 1.0e9f;
  const int total = static_cast<int>(std::floor(timeLeft));
  const int minutes = total / 60;
  const int seconds = total - 60 * minutes;
  const int sixtieths = static_cast<int>(std::floor(60.0f * (timeLeft - static_cast<float>(total))));
  std::wstring text = std::to_wstring(minutes) + L" : ";
  if (seconds < 10) text += L'0';
  text += std::to_wstring(seconds) + L" : ";
  if (sixtieths < 10) text += L'0';
  text += std::to_wstring(sixtieths);
  return text;
}

void CGUIDigitalTimer::Draw() {
  if (!m_Visible) return;
  float left = m_TimeLimit - (m_pTimer ? m_pTimer->GetTime() : 0.0f);
  if (!(left > 0.0f)) left = 0.0f;
  m_TimeLeft = left;
  Nembra::CBitmapFont* font = m_Font.Get();
  if (!font) return;
  font->m_Centered = true;
  font->DrawText(FormatTime(m_TimeLeft), TEXT_X, TEXT_Y, 1.0f, 1.0f, 1.0f, 1.0f);
}
