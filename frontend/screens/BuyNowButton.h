#pragma once
// The buy-now button: a push button that runs its behaviour (the purchase
// page and the end of the game) when clicked. One button lives for the
// whole run (g_pBuyNowButton); every screen that shows it moves it to its
// own place each frame and updates it there.
#include <memory>
#include <string>

#include "engine/resources/FactoryRef.h"
#include "engine/resources/Texture.h"
#include "frontend/widgets/PDAButton.h"

class CBuyNowBehavior;

// Where the screens put the button's top-left corner.
constexpr int BUYNOW_MENU_X = 600, BUYNOW_MENU_Y = 4;
constexpr int BUYNOW_MISSION_X = 302, BUYNOW_MISSION_Y = 480;
constexpr int BUYNOW_SCREEN_X = 593, BUYNOW_SCREEN_Y = 518;
constexpr const char* BUYNOW_BUTTON_TEXTURE = "BuyNowButton.png";

class CBuyNowButton : public CPDAButton {
 public:
  // Images cut from the texture (normal and hover source rectangles as
  // left, top, right, bottom), the screen rectangle the button covers and
  // the behaviour run on a click (not owned).
  CBuyNowButton(Nembra::CTexture* texture, const Nembra::RECT& normal, const Nembra::RECT& hover,
                const Nembra::RECT& screen, CBuyNowBehavior* behaviour);
  // The same with the texture taken by name (one mip level) and given back
  // when the button goes.
  CBuyNowButton(const std::string& textureName, const Nembra::RECT& normal, const Nembra::RECT& hover,
                const Nembra::RECT& screen, CBuyNowBehavior* behaviour);

  // Moves the button's top-left corner; its size never changes.
  void SetPosition(int x, int y);
  // The button's update (draws, hover, click); a click runs the behaviour.
  void Update() override;

  const Nembra::RECT& GetScreenRect() const { return m_ScreenRect; }
  CBuyNowBehavior* GetBehavior() const { return m_pBehavior; }

 private:
  using CPDAButton::SetPosition;
  CBuyNowBehavior* m_pBehavior;
  Nembra::RECT m_ScreenRect;
  Nembra::CFactoryRef<Nembra::CTextureFactory> m_Texture{Nembra::g_pTextureFactory};
};

// The button of the run, made by the application at start-up; screens
// draw nothing for it while it is null.
extern CBuyNowButton* g_pBuyNowButton;

// The button as the application makes it: "BuyNowButton.png" (one mip
// level), normal (0, 0, 196, 71), hover (0, 71, 196, 142), screen
// (0, 0, 196, 71), running g_BuyNowAction. The button gives its texture
// back when it goes, as when ReleaseBuyNowButton drops it.
std::unique_ptr<CBuyNowButton> CreateBuyNowButton();
void ReleaseBuyNowButton(std::unique_ptr<CBuyNowButton>& button);

// Moves g_pBuyNowButton (when there is one) and updates it.
void UpdateBuyNowButtonAt(int x, int y);
