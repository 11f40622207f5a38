#include "frontend/comic/ComicViewer.h"

#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/app/Keyboard.h"
#include "engine/app/Mouse.h"
#include "engine/fonts/BitmapFont.h"
#include "engine/resources/Texture.h"
#include "engine/util/TextTable.h"
#include "frontend/FontNames.h"
#include "frontend/comic/ComicDescription.h"
#include "platform/Saturate.h"

CComicViewer* g_pComicViewer = nullptr;

namespace {

constexpr const char* kButtons = "Play.png";
constexpr const char* kButtonsHover = "Play2.png";
constexpr const char* kPointer = "MousePointer.tga";

// Keys that turn forwards and backwards.
constexpr int kRight = 205, kPad6 = 77, kEnter = 28;
constexpr int kLeft = 203, kPad4 = 75, kBackspace = 14;

bool Pressed(int code) { return Nembra::g_pKeyboard && Nembra::g_pKeyboard->WasKeyPressed(code); }

void LayButton(CPDAButton& button, Nembra::CTexture* normal, Nembra::CTexture* hover, int sx, int sy, int x, int y) {
  button.SetNormalImage(normal, Nembra::MakeRect(sx, sy, 16, 16));
  button.SetHoverImage(hover, Nembra::MakeRect(sx, sy, 16, 16));
  button.m_Rect = Nembra::MakeRect(x, y, 16, 16);
  button.SetPosition(D3DXVECTOR3(float(x), float(y), 0.0f));
}

}  // namespace

CComic::CComic(const std::string& file) { Load(file); }

void CComic::Load(const std::string& file) {
  const COMIC_DESC desc = LoadComicDescription(Nembra::g_DataDirectory + file);
  m_PageCount = static_cast<int32_t>(desc.pages.size());
  m_Pages.resize(desc.pages.size());
  m_pFont = m_Font.Take(FONT_GUI_COMIC);
  m_PageTextures.clear();
  for (size_t n = 0; n < desc.pages.size(); ++n) {
    CComicPage& page = m_Pages[n];
    page.m_ImageFile = desc.pages[n].imageFile;
    page.m_pTexture = m_PageTextures.emplace_back(Nembra::g_pTextureFactory)
                          .Hold(page.m_ImageFile, Nembra::g_pTextureFactory
                                                      ? Nembra::g_pTextureFactory->GetSingleLevel(page.m_ImageFile)
                                                      : nullptr);
    page.m_Sprite.SetTexture(page.m_pTexture);
    page.m_Sprite.SetSourceRect(Nembra::MakeRect(0, 0, 800, 600));
    page.m_Sprite.SetPosition(D3DXVECTOR3(0.0f, 0.0f, 0.0f));
    for (const COMIC_BALLOON_DESC& b : desc.pages[n].balloons) {
      CComicBalloon balloon;
      balloon.m_TextId = b.textId;
      balloon.m_pFont = m_pFont;
      balloon.m_Position = D3DXVECTOR3(b.x, b.y, 0.0f);
      page.m_Balloons.push_back(balloon);
    }
  }
  m_CurrentPage = 0;
  m_PreviousPage = -1;
  m_Fade = 0.0f;
}

void CComic::DrawPage(const CComicPage& page, float alpha) {
  Nembra::CGraphicsDevice* device = Nembra::g_pGraphicsDevice;
  if (!device) return;
  if (device->BeginSprite(platform::D3DXSPRITE_ALPHABLEND)) {
    Nembra::CStatic2DSprite sprite = page.m_Sprite;
    sprite.m_Color = D3DXCOLOR(1.0f, 1.0f, 1.0f, alpha);
    sprite.Draw();
    device->EndSprite();
  }
  if (device->BeginSprite(platform::D3DXSPRITE_ALPHABLEND)) {
    for (const CComicBalloon& balloon : page.m_Balloons) {
      if (!balloon.m_pFont) continue;
      balloon.m_pFont->m_Centered = true;
      const int x = platform::TruncateToInt32(balloon.m_Position.x);
      const int y = platform::TruncateToInt32(balloon.m_Position.y);
      balloon.m_pFont->DrawText(Nembra::GetText(balloon.m_TextId), x, y, 0.0f, 0.0f, 0.0f, alpha);
    }
    device->EndSprite();
  }
}

void CComic::Render() {
  if (m_CurrentPage < m_Pages.size()) DrawPage(m_Pages[m_CurrentPage], 1.0f);
}

void CComic::RenderTransition(float alpha) {
  if (alpha == 0.0f || m_PreviousPage < 0 || size_t(m_PreviousPage) >= m_Pages.size()) return;
  DrawPage(m_Pages[size_t(m_PreviousPage)], alpha);
}

void CComic::TurnTo(uint32_t page) {
  m_PreviousPage = static_cast<int32_t>(m_CurrentPage);
  m_CurrentPage = page;
  m_Fade = 1.0f;
}

CComicViewer::CComicViewer() {
  if (Nembra::CTextureFactory* factory = Nembra::g_pTextureFactory) {
    m_ButtonTexture.Hold(kButtons, factory->GetSingleLevel(kButtons));
    m_HoverTexture.Hold(kButtonsHover, factory->GetSingleLevel(kButtonsHover));
    m_Pointer.SetTexture(m_PointerTexture.Take(kPointer));
  }
  Nembra::CTexture* normal = m_ButtonTexture.Get();
  Nembra::CTexture* hover = m_HoverTexture.Get();
  LayButton(m_Previous, normal, hover, 0, 16, 729, 5);
  LayButton(m_Next, normal, hover, 0, 0, 750, 5);
  LayButton(m_Close, normal, hover, 16, 0, 779, 5);
  m_Pointer.SetSourceRect(Nembra::MakeRect(0, 0, 32, 32));
  m_Pointer.m_Center = D3DXVECTOR3(2.0f, 2.0f, 0.0f);
}

CComicViewer::~CComicViewer() { CloseComic(); }

void CComicViewer::OpenComic(const std::string& file) {
  CloseComic();
  m_pComic = std::make_unique<CComic>(file);
}

void CComicViewer::CloseComic() { m_pComic.reset(); }

void CComicViewer::Render() {
  if (m_pComic && m_pComic->m_Fade > 0.0f) {
    m_pComic->m_Fade -= Nembra::g_FrameTime;
    if (m_pComic->m_Fade <= 0.0f) m_pComic->m_Fade = 0.0f;
  }
  if (m_pComic) {
    m_pComic->Render();
    m_pComic->RenderTransition(m_pComic->m_Fade);
  }
  Nembra::CGraphicsDevice* device = Nembra::g_pGraphicsDevice;
  if (device && device->BeginSprite(platform::D3DXSPRITE_ALPHABLEND)) {
    m_Previous.Update();
    m_Next.Update();
    m_Close.Update();
    if (Nembra::g_pMouse)
      m_Pointer.SetPosition(D3DXVECTOR3(float(Nembra::g_pMouse->GetX()), float(Nembra::g_pMouse->GetY()), 0.0f));
    m_Pointer.Draw();
    device->EndSprite();
  }
  HandleInput();
}

void CComicViewer::HandleInput() {
  const int32_t count = m_pComic ? m_pComic->m_PageCount : 0;
  const uint32_t current = m_pComic ? m_pComic->m_CurrentPage : 0;
  const bool hasPrevious = count > 0 && current != 0;
  const bool hasNext = count > 0 && current + 1 < uint32_t(count);
  // Visibility counts from the next frame: a click of this frame was
  // recorded by the buttons as they were drawn.
  const bool previousClicked = m_Previous.WasClicked() && hasPrevious;
  const bool nextClicked = m_Next.WasClicked() && hasNext;
  m_Previous.m_Visible = hasPrevious;
  m_Next.m_Visible = hasNext;
  if (previousClicked) {
    m_pComic->TurnTo(current - 1);
    return;
  }
  if (nextClicked) {
    m_pComic->TurnTo(current + 1);
    return;
  }
  if (m_Close.WasClicked()) {
    finished = 1;
    return;
  }
  const int wheel = Nembra::g_pMouse ? Nembra::g_pMouse->GetDZ() : 0;
  if (Pressed(kRight) || Pressed(kPad6) || Pressed(kEnter) || wheel > 0) {
    if (hasNext) m_pComic->TurnTo(current + 1);
  } else if (Pressed(kLeft) || Pressed(kPad4) || Pressed(kBackspace) || wheel < 0) {
    if (hasPrevious) m_pComic->TurnTo(current - 1);
  }
}
