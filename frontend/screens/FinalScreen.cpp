#include "frontend/screens/FinalScreen.h"

#include "engine/app/Engine.h"
#include "engine/app/Mouse.h"
#include "engine/resources/Texture.h"
#include "frontend/screens/BuyNowButton.h"

namespace {

constexpr const char* kScreen = "BuyNowScreen.jpg";
constexpr const char* kPointer = "MousePointer2.tga";

void SetUpPointer(Nembra::CStatic2DSprite& pointer) {
  if (Nembra::g_pTextureFactory) pointer.SetTexture(Nembra::g_pTextureFactory->Get(kPointer));
  pointer.SetSourceRect(Nembra::MakeRect(0, 0, 32, 32));
  pointer.m_Center = D3DXVECTOR3(2.0f, 2.0f, 0.0f);
}

void DrawPointer(Nembra::CStatic2DSprite& pointer) {
  if (Nembra::g_pMouse)
    pointer.SetPosition(D3DXVECTOR3(float(Nembra::g_pMouse->GetX()), float(Nembra::g_pMouse->GetY()), 0.0f));
  pointer.Draw();
}

Nembra::CTexture* SingleLevel(const std::string& name) {
  return Nembra::g_pTextureFactory ? Nembra::g_pTextureFactory->GetSingleLevel(name) : nullptr;
}

}  // namespace

void CFinalScreen::Init(const std::wstring& language) {
  m_BackgroundTexture.Hold(kScreen, SingleLevel(kScreen));
  SetUpPointer(m_Pointer);
  m_Background.SetTexture(m_BackgroundTexture.Get());
  m_Background.SetSourceRect(Nembra::MakeRect(0, 0, 800, 600));
  const std::string finalName = std::string("Final") + Nembra::LanguageSuffixOf(language) + ".png";
  m_FinalTexture.Hold(finalName, SingleLevel(finalName));
  const float centreY[3] = {30.0f, 22.0f, 22.0f};
  const float positionY[3] = {190.0f, 300.0f, 370.0f};
  for (int i = 0; i < 3; ++i) {
    m_Strips[i].SetTexture(m_FinalTexture.Get());
    m_Strips[i].SetSourceRect(Nembra::MakeRect(0, 60 * i, 512, 60));
    m_Strips[i].m_Center = D3DXVECTOR3(256.0f, centreY[i], 0.0f);
    m_Strips[i].SetPosition(D3DXVECTOR3(400.0f, positionY[i], 0.0f));
  }
}

void CFinalScreen::Update() {
  m_Background.Draw();
  for (Nembra::CStatic2DSprite& strip : m_Strips) strip.Draw();
  UpdateBuyNowButtonAt(BUYNOW_SCREEN_X, BUYNOW_SCREEN_Y);
  DrawPointer(m_Pointer);
}

void CFinalScreen::Release() {
  m_BackgroundTexture.Reset();
  m_FinalTexture.Reset();
  m_Background = Nembra::CStatic2DSprite();
  for (Nembra::CStatic2DSprite& strip : m_Strips) strip = Nembra::CStatic2DSprite();
  m_Pointer = Nembra::CStatic2DSprite();
}

CBuyNowScreen::CBuyNowScreen() {
  m_Texture.Hold(kScreen, SingleLevel(kScreen));
  SetUpPointer(m_Pointer);
  m_Background.SetTexture(m_Texture.Get());
  m_Background.SetSourceRect(Nembra::MakeRect(0, 0, 800, 600));
  m_Strip.SetTexture(m_Texture.Get());
  m_Strip.SetSourceRect(Nembra::MakeRect(0, 600, 800, 135));
}

CBuyNowScreen::~CBuyNowScreen() = default;

void CBuyNowScreen::Render() {
  m_Background.Draw();
  m_Strip.Draw();
  UpdateBuyNowButtonAt(BUYNOW_SCREEN_X, BUYNOW_SCREEN_Y);
  DrawPointer(m_Pointer);
}
