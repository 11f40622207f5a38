#pragma once
// The counters at the top left: up to four stacked rows (items, timer,
// generators, receptors), each a strip with a number, stacked downwards in
// the order scripts first show them. The counting rows show "count / total"
// and turn gold once the count reaches the total; the timer row counts a
// level timer down.
#include <cstdint>
#include <string>

#include "engine/fonts/BitmapFont.h"
#include "engine/resources/FactoryRef.h"
#include "engine/resources/Texture.h"
#include "engine/sprites/Sprite2D.h"
#include "frontend/hud/GUIFlash.h"

class CLevelTimer;

class CGUICounters {
 public:
  enum ROW { ITEMS = 0, TIMER, GENERATORS, RECEPTORS, ROW_COUNT };

  struct COUNTER_ROW {
    bool visible = false;
    Nembra::CStatic2DSprite icon;
    CGUIFlash flash;
    uint32_t textX = 0, textY = 0;
    uint32_t count = 0;
    uint32_t total = 0;
    bool complete = false;
    const CLevelTimer* timer = nullptr;  // timer row only; not owned
    float timeLimit = 0.0f, timeLeft = 0.0f;
  };

  // Takes the atlas and the big-number font and lays the rows out, all hidden.
  void Init();
  void ShowItems(uint32_t total) { ShowCount(ITEMS, total); }
  void ShowGenerators(uint32_t total) { ShowCount(GENERATORS, total); }
  void ShowReceptors(uint32_t total) { ShowCount(RECEPTORS, total); }
  void AddItem() { Add(ITEMS); }
  void AddGenerator() { Add(GENERATORS); }
  void AddReceptor() { Add(RECEPTORS); }
  // Shows the timer row counting the timer down from the limit (seconds).
  // The timer must stay alive until the next Reset.
  void ShowTimer(const CLevelTimer* timer, float limit);
  // Flashes the timer row's icon; nothing else.
  void StartStopTimer() { m_Rows[TIMER].flash.Start(); }
  // Level start: every row hidden and not complete, the timer dropped.
  void Reset();
  // Once per frame in the image batch: strips, flashes, the timer's time left.
  void Update();
  // Once per frame in the text batch: the numbers.
  void Draw();
  // Gives the atlas and the font back.
  void Release();

  const COUNTER_ROW& Row(ROW row) const { return m_Rows[row]; }
  uint32_t GetShownRows() const { return m_ShownRows; }
  // The text a row shows now.
  std::wstring RowText(ROW row) const;
  // The timer row's text for a time left.
  static std::wstring FormatTimeLeft(float timeLeft);

 private:
  void ShowCount(ROW row, uint32_t total);
  void Stack(ROW row, bool wasVisible);
  void Add(ROW row);

  COUNTER_ROW m_Rows[ROW_COUNT];
  uint32_t m_ShownRows = 0;
  Nembra::CFactoryRef<Nembra::CBitmapFontFactory> m_Font{Nembra::g_pBitmapFontFactory};
  Nembra::CFactoryRef<Nembra::CTextureFactory> m_Texture{Nembra::g_pTextureFactory};
};
