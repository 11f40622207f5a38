#include "frontend/hud/GUIPlayerView.h"

#include "game/world/GameWorld.h"

namespace {

// The game world's player; without a world: no health, no charges, level 1,
// never healed.
class CWorldPlayerView : public CHudPlayerView {
 public:
  HUD_PLAYER_VALUES Read() const override {
    HUD_PLAYER_VALUES v;
    if (!g_pGameWorld) return v;
    CPlayer& player = g_pGameWorld->GetPlayer();
    v.health = player.GetHealth();
    v.maxHealth = player.GetMaxHealth();
    v.abilityCharge = player.GetAbility().GetCharge();
    v.abilityFraction = player.GetAbility().GetFraction();
    const CWeapon& weapon = player.GetWeapon();
    v.maxCharge = weapon.GetMaxCharge();
    v.redCharge = weapon.GetCharge(CWeapon::RED);
    v.blueCharge = weapon.GetCharge(CWeapon::BLUE);
    v.weaponLevel = weapon.GetPower();
    return v;
  }
  bool TakeHealedFlag() override { return g_pGameWorld && g_pGameWorld->GetPlayer().TakeHealed(); }
};

CWorldPlayerView s_WorldView;
CHudPlayerView* s_pView = &s_WorldView;
HUD_LAST_SEEN s_LastSeen;

}  // namespace

CHudPlayerView& GetHudPlayerView() { return *s_pView; }

void SetHudPlayerView(CHudPlayerView* view) { s_pView = view ? view : &s_WorldView; }

HUD_LAST_SEEN& HudLastSeen() { return s_LastSeen; }
