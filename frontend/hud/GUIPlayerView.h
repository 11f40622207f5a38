#pragma once
// What the HUD's gauges read of the player each frame, and the one place
// that reads it from the game world (g_pGameWorld's player). Nothing else in
// the HUD touches the world. Another view can be put in its place (a
// replay, a preview of the HUD with chosen values); null puts the world's
// back.
#include <cstdint>

struct HUD_PLAYER_VALUES {
  uint32_t health = 0;
  uint32_t maxHealth = 0;
  uint32_t abilityCharge = 0;    // 0..100
  float abilityFraction = 0.0f;  // towards the next point
  uint32_t maxCharge = 0;        // of either shot colour
  uint32_t redCharge = 0;
  uint32_t blueCharge = 0;
  uint32_t weaponLevel = 1;      // 1..3
};

class CHudPlayerView {
 public:
  virtual ~CHudPlayerView() = default;
  virtual HUD_PLAYER_VALUES Read() const = 0;
  // The player-healed flag, read and cleared.
  virtual bool TakeHealedFlag() = 0;
};

// The view the gauges read now.
CHudPlayerView& GetHudPlayerView();
// Makes view the one the gauges read (not owned; null: the game world's).
void SetHudPlayerView(CHudPlayerView* view);

// The values the gauges saw in the frame before, one record for the whole
// run of the game: they outlive levels, so each level starts with one blink.
struct HUD_LAST_SEEN {
  float healthRatio = 0.0f;
  uint32_t abilityCharge = 0;
  uint32_t weaponLevel = 1;
};
HUD_LAST_SEEN& HudLastSeen();
