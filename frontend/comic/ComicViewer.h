#pragma once
// frontend/comic/: the comic between levels: its description file and the
// viewer. It may call the font names, widgets/, engine/ and platform/.
//
// The comic screen: full-screen pages with speech balloons whose texts
// come from the text table, turned with three small buttons (previous,
// next, close), the arrow keys, Enter, Backspace and the mouse wheel. A
// page turn cross-fades from the old page in one second. The comic ends
// only through the close button, which sets finished.
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "engine/fonts/BitmapFont.h"
#include "engine/resources/FactoryRef.h"
#include "engine/resources/Texture.h"
#include "engine/sprites/Sprite2D.h"
#include "frontend/widgets/PDAButton.h"

struct CComicBalloon {
  std::string m_TextId;
  Nembra::CBitmapFont* m_pFont = nullptr;
  D3DXVECTOR3 m_Position{0.0f, 0.0f, 0.0f};
};

struct CComicPage {
  Nembra::CStatic2DSprite m_Sprite;
  std::string m_ImageFile;
  Nembra::CTexture* m_pTexture = nullptr;
  std::vector<CComicBalloon> m_Balloons;
};

class CComic {
 public:
  // Reads the description (data folder + name) and loads the pages.
  explicit CComic(const std::string& file);
  CComic(const CComic&) = delete;
  CComic& operator=(const CComic&) = delete;

  void Load(const std::string& file);
  // The current page and its balloons (nothing for a comic of no pages).
  void Render();
  // The page turned away from, over the current one, at this alpha.
  void RenderTransition(float alpha);
  // Turns to a page, starting the cross-fade from the current one.
  void TurnTo(uint32_t page);

  int32_t GetPageCount() const { return m_PageCount; }
  const std::vector<CComicPage>& GetPages() const { return m_Pages; }

  Nembra::CBitmapFont* m_pFont = nullptr;
  uint32_t m_CurrentPage = 0;
  int32_t m_PreviousPage = -1;
  int32_t m_PageCount = 0;
  float m_Fade = 0.0f;

 private:
  void DrawPage(const CComicPage& page, float alpha);
  // One reference for each page's image and one for the font, given back
  // when the comic goes or loads again.
  std::list<Nembra::CFactoryRef<Nembra::CTextureFactory>> m_PageTextures;
  Nembra::CFactoryRef<Nembra::CBitmapFontFactory> m_Font{Nembra::g_pBitmapFontFactory};
  std::vector<CComicPage> m_Pages;
};

class CComicViewer {
 public:
  // Loads the button images and the pointer and lays the buttons out.
  CComicViewer();
  ~CComicViewer();
  CComicViewer(const CComicViewer&) = delete;
  CComicViewer& operator=(const CComicViewer&) = delete;

  void OpenComic(const std::string& file);
  // Deletes the comic and gives back its page textures and font.
  void CloseComic();
  // One frame: fade, page, transition, buttons and pointer, then input.
  void Render();
  void HandleInput();

  CComic* GetComic() const { return m_pComic.get(); }
  CPDAButton& PreviousButton() { return m_Previous; }
  CPDAButton& NextButton() { return m_Next; }
  CPDAButton& CloseButton() { return m_Close; }

  int32_t finished = 0;

 private:
  Nembra::CFactoryRef<Nembra::CTextureFactory> m_ButtonTexture{Nembra::g_pTextureFactory};
  Nembra::CFactoryRef<Nembra::CTextureFactory> m_HoverTexture{Nembra::g_pTextureFactory};
  Nembra::CFactoryRef<Nembra::CTextureFactory> m_PointerTexture{Nembra::g_pTextureFactory};
  CPDAButton m_Previous, m_Next, m_Close;
  Nembra::CStatic2DSprite m_Pointer;
  std::unique_ptr<CComic> m_pComic;
};

extern CComicViewer* g_pComicViewer;
