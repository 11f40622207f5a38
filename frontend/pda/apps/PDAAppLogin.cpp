#include "frontend/pda/apps/PDAAppLogin.h"

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "engine/app/Keyboard.h"
#include "engine/fonts/BitmapFont.h"
#include "engine/util/SectionedFile.h"
#include "engine/util/TextTable.h"
#include "engine/util/Utilities.h"
#include "frontend/FontNames.h"
#include "frontend/ProfileStore.h"
#include "frontend/pda/PDA.h"
#include "frontend/pda/PDAResources.h"
#include "platform/Log.h"

namespace {
constexpr int KEY_ESCAPE = 1, KEY_BACKSPACE = 14, KEY_ENTER = 28;

bool DrawsLetters(Nembra::CBitmapFont* font) {
  return font && font->GetName() != Nembra::DEFAULT_RESOURCE_NAME && font->GetTextWidth(L"Aa") > 0;
}

// The font of the names. Without it (the factory's empty default, which
// draws nothing) no name could be typed and no game started, so another
// font of letters stands in.
Nembra::CBitmapFont* NameFont() {
  Nembra::CBitmapFont* font = pda::Font(FONT_PDA_STD);
  if (DrawsLetters(font)) return font;
  for (const char* name : {FONT_PDA_STD_ITALIC, FONT_PDA_TITLE, FONT_GUI_MESSAGE, FONT_GUI_COMIC}) {
    Nembra::CBitmapFont* other = pda::Font(name);
    if (!DrawsLetters(other)) continue;
    platform::LogWarning(std::string("font '") + FONT_PDA_STD + "' is missing: the login shows and takes profile " +
                         "names in '" + name + "'");
    return other;
  }
  platform::LogError(std::string("font '") + FONT_PDA_STD + "' is missing and no other font has letters: no " +
                     "profile name can be typed, so no new game can start");
  return font;
}
}  // namespace

void CPDAAppLogin::Load() {
  CPDAApplication::Load();
  UsePlainBackground();
  for (int i = 0; i < SLOTS; ++i) {
    const int y = SlotY(i);
    pda::SetButton(m_Profiles[i], pda::PROFILE_BUTTON, pda::PROFILE_BUTTON_HOVER, pda::NO_PIECE, 252, y - 9,
                   pda::PROFILE_BUTTON.w, pda::PROFILE_BUTTON.h);
    pda::SetButton(m_Deletes[i], pda::LOGIN_DELETE, pda::LOGIN_DELETE_HOVER, pda::LOGIN_DELETE_DISABLED, 634, y,
                   27, 27);
    pda::SetButtonFont(m_Deletes[i]);
    m_Deletes[i].m_Enabled = false;
    pda::SetButton(m_Accepts[i], pda::LOGIN_ACCEPT, pda::LOGIN_ACCEPT_HOVER, pda::LOGIN_ACCEPT_DISABLED, 634, y,
                   27, 27);
    pda::SetButtonFont(m_Accepts[i]);
    m_Accepts[i].m_Visible = false;
  }
  m_pNameFont = NameFont();
  m_Editing = -1;
  g_ProfileStore.LoadAllProfiles();
  m_Confirm.Load();
  m_Confirm.m_Visible = false;
  m_Notice.Load();
}

void CPDAAppLogin::RefreshTexts() {
  m_Title = Nembra::GetText("TXT_LOGIN");
  for (int i = 0; i < SLOTS; ++i) {
    m_Deletes[i].m_Hint = Nembra::GetText("TXT_HINT_LOGIN_DELETE");
    m_Accepts[i].m_Hint = Nembra::GetText("TXT_HINT_LOGIN_OK");
  }
  m_Confirm.RefreshTexts();
  m_Notice.RefreshTexts();
}

void CPDAAppLogin::SetEnabled(bool enabled) {
  for (int i = 0; i < SLOTS; ++i) {
    m_Profiles[i].m_Enabled = enabled;
    if (g_ProfileStore.m_Profiles[i].inUse) m_Deletes[i].m_Enabled = enabled;
  }
}

void CPDAAppLogin::StartTyping(int slot) {
  m_Editing = slot;
  m_Name.clear();
  m_Deletes[slot].m_Visible = false;
  m_Accepts[slot].m_Visible = true;
  SetEnabled(false);
  if (g_pPDA) g_pPDA->SetAllButtonsEnabled(false);
  if (Nembra::g_pApplication) Nembra::g_pApplication->ClearTypedText();
}

void CPDAAppLogin::EndTyping() {
  m_Deletes[m_Editing].m_Visible = true;
  m_Accepts[m_Editing].m_Visible = false;
  m_Editing = -1;
  if (g_pPDA) g_pPDA->SetAllButtonsEnabled(true);
  SetEnabled(true);
}

void CPDAAppLogin::Append(const std::wstring& typed) {
  for (wchar_t c : typed) {
    // Printable characters of the basic plane that the name font can show.
    const bool printable = c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0) && unsigned(c) <= 0xFFFF &&
                           !(c >= 0xD800 && c <= 0xDFFF);
    if (!printable || !m_pNameFont || m_pNameFont->GetTextWidth(std::wstring(1, c)) <= 0) continue;
    if (m_Name.size() >= NAME_LENGTH) break;
    m_Name += c;
  }
  while (!m_Name.empty() && m_pNameFont && m_pNameFont->GetTextWidth(m_Name) > NAME_WIDTH) m_Name.pop_back();
}

void CPDAAppLogin::Update() {
  if (g_pPDA) {
    for (int key : {PDA_BUTTON_CLOSE_APP, PDA_BUTTON_CHANGE_PROFILE, PDA_BUTTON_LEVEL_RESET, PDA_BUTTON_START_GAME})
      g_pPDA->FrameButton(key).m_Visible = false;
    g_pPDA->m_ShowLoggedIn = false;
  }
  CPDAApplication::Update();
  for (int i = 0; i < SLOTS; ++i) {
    m_Profiles[i].Update();
    m_Deletes[i].Update();
    m_Accepts[i].Update();
    const bool used = g_ProfileStore.m_Profiles[i].inUse != 0;
    if (m_Profiles[i].WasClicked() && used) {
      Post(PDA_RESULT_PROFILE_CHOSEN, i);
      g_ProfileStore.m_CurrentProfile = uint32_t(i);
      g_ProfileStore.LoadCurrentProfile();
      ApplyCurrentProfile();
    } else if (m_Profiles[i].WasClicked()) {
      StartTyping(i);
    } else if (m_Deletes[i].WasClicked()) {
      m_ToDelete = i;
      if (g_pPDA) g_pPDA->SetAllButtonsEnabled(false);
      m_Confirm.SetMessage(Nembra::GetText("TXT_CONFIRM_DELETE_PROFILE"));
      m_Confirm.m_Purpose = DELETE_PURPOSE;
      m_Confirm.m_Visible = true;
    }
  }
}

void CPDAAppLogin::DeleteProfile(int slot) {
  const std::string file = CProfileStore::ProfileFileName(uint32_t(slot));
  // The slot is freed only once its file is gone; else it would come back next run.
  if (!Nembra::RemoveFile(file) && Nembra::AnythingExistsAt(file)) {
    platform::LogError("profile file '" + file + "' could not be removed; the profile stays");
    return;
  }
  m_Deletes[slot].m_Enabled = false;
  g_ProfileStore.m_Profiles[slot].inUse = 0;
}

void CPDAAppLogin::Draw() {
  CPDAApplication::Draw();
  if (m_Editing >= 0) {
    Nembra::CKeyboard* keyboard = Nembra::g_pKeyboard;
    if (keyboard && keyboard->WasKeyPressed(KEY_BACKSPACE) && !m_Name.empty()) m_Name.pop_back();
    if (Nembra::g_pApplication) {
      Append(Nembra::g_pApplication->GetTypedText());
      Nembra::g_pApplication->ClearTypedText();
    }
    if (keyboard && keyboard->WasKeyReleased(KEY_ESCAPE)) {
      EndTyping();
    } else if ((keyboard && keyboard->WasKeyReleased(KEY_ENTER)) || m_Accepts[m_Editing].WasClicked()) {
      // A profile that can't be written stays in memory and is written
      // again by the next save; the player is told.
      const bool saved = m_Name.empty() || g_ProfileStore.CreateProfile(m_Name, uint32_t(m_Editing));
      EndTyping();
      if (!saved) {
        SetEnabled(false);
        if (g_pPDA) g_pPDA->SetAllButtonsEnabled(false);
        m_Notice.SetMessage(Nembra::GetText("TXT_PROFILE_NOT_SAVED"));
        m_Notice.m_Visible = true;
      }
    }
  }
  for (int i = 0; i < SLOTS; ++i) {
    m_Deletes[i].Draw();
    m_Profiles[i].Draw();
    std::wstring text;
    if (g_ProfileStore.m_Profiles[i].inUse)
      text = g_ProfileStore.m_Profiles[i].name;
    else if (i == m_Editing)
      text = m_Name + L"_";
    else
      text = Nembra::GetText("TXT_NEW_PROFILE");
    pda::DrawWhite(m_pNameFont, text, 295, 176 + 50 * i, false, 0, 0);
  }
  m_Confirm.Update();
  m_Notice.Update();
  pda::RestartBatch();
  m_Confirm.Draw();
  m_Notice.Draw("TXT_LOGIN");
  if (m_Notice.m_Answer != PDA_ANSWER_NONE) {
    m_Notice.m_Visible = false;
    if (g_pPDA) g_pPDA->SetAllButtonsEnabled(true);
    SetEnabled(true);
  }
  if (m_Confirm.m_Answer != PDA_ANSWER_NONE) {
    if (g_pPDA) g_pPDA->SetAllButtonsEnabled(true);
    m_Confirm.m_Visible = false;
    if (m_Confirm.m_Answer == PDA_ANSWER_YES && m_ToDelete >= 0 && m_ToDelete < SLOTS) DeleteProfile(m_ToDelete);
    if (g_pPDA) {
      g_pPDA->SetFrameButtonsEnabled(true);
      g_pPDA->SetCurrentApp(PDA_APP_LOGIN);
    }
  }
}
