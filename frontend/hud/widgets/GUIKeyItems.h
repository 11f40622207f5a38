#pragma once
// The key-item row at the top right: up to four icons (access card,
// connectors, checkpoint, memory card) that scripts switch on and off. The
// icons line up from right to left in the order they are switched on (an
// icon switched on takes the first slot left free), over a strip as long as
// the number shown, and flash when switched on.
#include <cstdint>

#include "engine/sprites/Sprite2D.h"
#include "frontend/hud/GUIFlash.h"

class CGUIKeyItems {
 public:
  enum ITEM { ACCESS_CARD = 0, CONNECTORS, CHECKPOINT, MEMORY_CARD, ITEM_COUNT };

  // Takes the atlas for each sprite and lays the row out, every icon off.
  void Init();
  void SetAccessCard(bool on) { Set(ACCESS_CARD, on); }
  void SetConnectors(bool on) { Set(CONNECTORS, on); }
  void SetCheckpoint(bool on) { Set(CHECKPOINT, on); }
  void SetMemoryCard(bool on) { Set(MEMORY_CARD, on); }
  // Every icon off (level start).
  void Reset();
  // Once per frame in the image batch: the strip, the icons, the flashes.
  void Update();
  // Lets go of the sprites; the atlas references stay with the factory.
  void Release();

  bool IsOn(ITEM item) const { return m_Icons[item].m_Visible; }
  uint32_t GetShownCount() const { return m_ShownCount; }
  const Nembra::CStatic2DSprite& Icon(ITEM item) const { return m_Icons[item]; }
  const CGUIFlash& Flash(ITEM item) const { return m_Flashes[item]; }

 private:
  void Set(ITEM item, bool on);

  Nembra::CStatic2DSprite m_Strips[3];
  Nembra::CStatic2DSprite m_Icons[ITEM_COUNT];
  CGUIFlash m_Flashes[ITEM_COUNT];
  uint32_t m_ShownCount = 0;
};
