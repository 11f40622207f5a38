#include "frontend/hud/widgets/GUIKeyItems.h"

#include "engine/resources/Texture.h"
#include "frontend/hud/GUISprites.h"

using namespace gui_layout;

namespace {
// Where the icons sit after Init (they move when switched on) and the
// right-most slot; each further icon is one slot to the left.
constexpr float ICON_X[CGUIKeyItems::ITEM_COUNT] = {682.0f, 710.0f, 738.0f, 766.0f};
constexpr int FIRST_SLOT_X = 766;
constexpr int SLOT_STEP = 28;
constexpr float ICON_Y = 10.0f;
constexpr float FLASH_Y = 21.0f;
constexpr int FLASH_OFFSET = 12;

// The first slot from the right in which no icon that is on stands; with
// no gap left by an icon switched off, the slot after the last one on.
int FirstFreeSlotX(const Nembra::CStatic2DSprite (&icons)[CGUIKeyItems::ITEM_COUNT]) {
  for (int x = FIRST_SLOT_X;; x -= SLOT_STEP) {
    bool taken = false;
    for (const Nembra::CStatic2DSprite& icon : icons)
      taken = taken || (icon.m_Visible && static_cast<int>(icon.m_Position.x) == x);
    if (!taken) return x;  // found at the latest one slot past the icons that are on
  }
}

Nembra::CTexture* TakeAtlas() {
  return Nembra::g_pTextureFactory ? Nembra::g_pTextureFactory->Get(GUI_ATLAS) : nullptr;
}
}  // namespace

void CGUIKeyItems::Init() {
  for (int i = 0; i < 3; ++i) PlaceSprite(m_Strips[i], TakeAtlas(), KEY_STRIPS[i], 676.0f, 4.0f);
  for (int i = 0; i < ITEM_COUNT; ++i) {
    PlaceSprite(m_Icons[i], TakeAtlas(), KEY_ICONS[i], ICON_X[i], ICON_Y);
    m_Icons[i].m_Visible = false;
    PlaceFlash(m_Flashes[i], TakeAtlas(), KEY_FLASHES[i], ICON_X[i] + FLASH_OFFSET, FLASH_Y, 11.0f, 11.0f);
  }
  m_ShownCount = 0;
}

void CGUIKeyItems::Set(ITEM item, bool on) {
  Nembra::CStatic2DSprite& icon = m_Icons[item];
  if (on && icon.m_Visible) {
    // Already on: it keeps its slot and only flashes again.
    m_Flashes[item].Start();
    return;
  }
  if (!on) {
    // Only an icon that was on gives its slot back.
    if (icon.m_Visible && m_ShownCount > 0) --m_ShownCount;
    icon.m_Visible = false;
    return;
  }
  icon.SetX(FirstFreeSlotX(m_Icons));
  icon.m_Visible = true;
  ++m_ShownCount;
  m_Flashes[item].m_Sprite.SetX(static_cast<int>(icon.m_Position.x) + FLASH_OFFSET);
  m_Flashes[item].Start();
}

void CGUIKeyItems::Reset() {
  for (Nembra::CStatic2DSprite& icon : m_Icons) icon.m_Visible = false;
  m_ShownCount = 0;
}

void CGUIKeyItems::Update() {
  if (m_ShownCount >= 1 && m_ShownCount <= 3) m_Strips[m_ShownCount - 1].Draw();
  for (Nembra::CStatic2DSprite& icon : m_Icons) icon.Draw();
  for (CGUIFlash& flash : m_Flashes) flash.Update();
}

void CGUIKeyItems::Release() {
  for (Nembra::CStatic2DSprite& s : m_Strips) s = Nembra::CStatic2DSprite();
  for (Nembra::CStatic2DSprite& s : m_Icons) {
    s = Nembra::CStatic2DSprite();
    s.m_Visible = false;
  }
  for (CGUIFlash& f : m_Flashes) f = CGUIFlash();
  m_ShownCount = 0;
}
