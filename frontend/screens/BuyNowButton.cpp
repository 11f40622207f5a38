#include "frontend/screens/BuyNowButton.h"

#include "engine/resources/Texture.h"
#include "frontend/screens/BuyNow.h"

CBuyNowButton* g_pBuyNowButton = nullptr;

CBuyNowButton::CBuyNowButton(Nembra::CTexture* texture, const Nembra::RECT& normal, const Nembra::RECT& hover,
                             const Nembra::RECT& screen, CBuyNowBehavior* behaviour)
    : m_pBehavior(behaviour), m_ScreenRect(screen) {
  SetNormalImage(texture, normal);
  SetHoverImage(texture, hover);
  m_Rect = m_ScreenRect;
  SetPosition(screen.left, screen.top);
}

CBuyNowButton::CBuyNowButton(const std::string& textureName, const Nembra::RECT& normal, const Nembra::RECT& hover,
                             const Nembra::RECT& screen, CBuyNowBehavior* behaviour)
    : CBuyNowButton(nullptr, normal, hover, screen, behaviour) {
  Nembra::CTexture* texture = m_Texture.Hold(
      textureName, Nembra::g_pTextureFactory ? Nembra::g_pTextureFactory->GetSingleLevel(textureName) : nullptr);
  SetNormalImage(texture, normal);
  SetHoverImage(texture, hover);
}

void CBuyNowButton::SetPosition(int x, int y) {
  m_ScreenRect.right += x - m_ScreenRect.left;
  m_ScreenRect.bottom += y - m_ScreenRect.top;
  m_ScreenRect.left = x;
  m_ScreenRect.top = y;
  m_Rect = m_ScreenRect;
  CPDAButton::SetPosition(D3DXVECTOR3(static_cast<float>(x), static_cast<float>(y), 0.0f));
}

void CBuyNowButton::Update() {
  CPDAButton::Update();
  if (WasClicked() && m_pBehavior) m_pBehavior->Execute();
}

std::unique_ptr<CBuyNowButton> CreateBuyNowButton() {
  return std::make_unique<CBuyNowButton>(std::string(BUYNOW_BUTTON_TEXTURE), Nembra::RECT{0, 0, 196, 71},
                                         Nembra::RECT{0, 71, 196, 142}, Nembra::RECT{0, 0, 196, 71},
                                         &g_BuyNowAction);
}

void ReleaseBuyNowButton(std::unique_ptr<CBuyNowButton>& button) { button.reset(); }

void UpdateBuyNowButtonAt(int x, int y) {
  if (!g_pBuyNowButton) return;
  g_pBuyNowButton->SetPosition(x, y);
  g_pBuyNowButton->Update();
}
