#include "frontend/GUIPlayerView.h"

namespace {

// The game world's player. Until the world is part of the game this view
// reads an absent world: no health, no charges, level 1, never healed.
class CWorldPlayerView : public CHudPlayerView {
 public:
  HUD_PLAYER_VALUES Read() const override { return HUD_PLAYER_VALUES(); }
  bool TakeHealedFlag() override { return false; }
};

CWorldPlayerView s_WorldView;
CHudPlayerView* s_pView = &s_WorldView;
HUD_LAST_SEEN s_LastSeen;

}  // namespace

CHudPlayerView& GetHudPlayerView() { return *s_pView; }

void SetHudPlayerView(CHudPlayerView* view) { s_pView = view ? view : &s_WorldView; }

HUD_LAST_SEEN& HudLastSeen() { return s_LastSeen; }
