#include "frontend/hud/widgets/GUICounters.h"

#include <cmath>

#include "engine/fonts/BitmapFont.h"
#include "engine/resources/Texture.h"
#include "frontend/FontNames.h"
#include "frontend/hud/GUISprites.h"
#include "game/level/LevelTimer.h"

using namespace gui_layout;

namespace {
constexpr int ROW_STEP = 40;
// Far beyond any level's time the count stops growing, so integers stay in range.
constexpr float LONGEST_TIME = 1.0e9f;

std::wstring TwoDigits(int value) { return (value < 10 ? L"0" : L"") + std::to_wstring(value); }
}  // namespace

void CGUICounters::Init() {
  if (Nembra::g_pTextureFactory) m_Texture.Hold(GUI_ATLAS, Nembra::g_pTextureFactory->GetSingleLevel(GUI_ATLAS));
  for (int i = 0; i < ROW_COUNT; ++i) {
    COUNTER_ROW& row = m_Rows[i];
    PlaceSprite(row.icon, m_Texture.Get(), COUNTER_STRIPS[i], 4.0f, 4.0f);
    PlaceFlash(row.flash, m_Texture.Get(), COUNTER_FLASHES[i], 21.0f, 21.0f, 11.0f, 11.0f);
    row.visible = false;
    row.complete = false;
  }
  m_ShownRows = 0;
  m_Font.Take(FONT_GUI_BIG_NUMBERS);
}

void CGUICounters::Stack(ROW which, bool wasVisible) {
  COUNTER_ROW& row = m_Rows[which];
  row.visible = true;
  const int top = ROW_STEP * static_cast<int>(m_ShownRows);
  row.icon.SetPosition(D3DXVECTOR3(4.0f, static_cast<float>(4 + top), 0.0f));
  row.flash.m_Sprite.SetPosition(D3DXVECTOR3(21.0f, static_cast<float>(21 + top), 0.0f));
  row.textX = 41;
  row.textY = static_cast<uint32_t>(7 + top);
  // A row shown again moves to the next free slot without taking it.
  if (!wasVisible) ++m_ShownRows;
}

void CGUICounters::ShowCount(ROW which, uint32_t total) {
  COUNTER_ROW& row = m_Rows[which];
  const bool wasVisible = row.visible;
  row.total = total;
  row.count = 0;
  Stack(which, wasVisible);
}

void CGUICounters::ShowTimer(const CLevelTimer* timer, float limit) {
  COUNTER_ROW& row = m_Rows[TIMER];
  const bool wasVisible = row.visible;
  row.timeLimit = limit;
  row.timeLeft = limit;
  row.timer = timer;
  Stack(TIMER, wasVisible);
}

void CGUICounters::Add(ROW which) {
  COUNTER_ROW& row = m_Rows[which];
  row.flash.Start();
  ++row.count;
  if (row.count == row.total) row.complete = true;
}

void CGUICounters::Reset() {
  for (COUNTER_ROW& row : m_Rows) {
    row.visible = false;
    row.complete = false;
    row.timer = nullptr;
  }
  m_ShownRows = 0;
}

void CGUICounters::Update() {
  for (int i = 0; i < ROW_COUNT; ++i) {
    COUNTER_ROW& row = m_Rows[i];
    if (!row.visible) continue;
    row.icon.Draw();
    row.flash.Update();
    if (i != TIMER) continue;
    // The row reads its timer only while shown; a row without one counts nothing off.
    float left = row.timeLimit - (row.timer ? row.timer->GetTime() : 0.0f);
    if (!(left > 0.0f)) {
      left = 0.0f;
      row.complete = true;
    }
    row.timeLeft = left;
  }
}

std::wstring CGUICounters::FormatTimeLeft(float t) {
  if (!(t > 0.0f)) t = 0.0f;
  if (t > LONGEST_TIME) t = LONGEST_TIME;
  const float whole = std::floor(t);
  const int total = static_cast<int>(whole);
  const std::wstring sixtieths = TwoDigits(static_cast<int>(std::floor(60.0f * (t - whole))));
  if (t < 60.0f) return std::to_wstring(total) + L" : " + sixtieths;
  const int minutes = total / 60;
  return std::to_wstring(minutes) + L" : " + TwoDigits(total - 60 * minutes) + L" : " + sixtieths;
}

std::wstring CGUICounters::RowText(ROW which) const {
  const COUNTER_ROW& row = m_Rows[which];
  if (which == TIMER) return FormatTimeLeft(row.timeLeft);
  return std::to_wstring(row.count) + L" / " + std::to_wstring(row.total);
}

void CGUICounters::Draw() {
  Nembra::CBitmapFont* font = m_Font.Get();
  if (!font) return;
  font->m_Centered = false;
  for (int i = 0; i < ROW_COUNT; ++i) {
    const COUNTER_ROW& row = m_Rows[i];
    if (!row.visible) continue;
    const int x = static_cast<int>(row.textX);
    const int y = static_cast<int>(row.textY);
    if (row.complete)
      font->DrawText(RowText(static_cast<ROW>(i)), x, y, 1.0f, 210.0f / 255.0f, 0.0f, 1.0f);
    else
      font->DrawText(RowText(static_cast<ROW>(i)), x, y, 1.0f, 1.0f, 1.0f, 1.0f);
  }
}

void CGUICounters::Release() {
  m_Texture.Reset();
  m_Font.Reset();
  for (COUNTER_ROW& row : m_Rows) row = COUNTER_ROW();
  m_ShownRows = 0;
}
