#include "frontend/pda/apps/PDAAppConfig.h"

#include <cmath>

#include "engine/app/GraphicsDevice.h"
#include "engine/app/Keyboard.h"
#include "engine/fonts/BitmapFont.h"
#include "engine/util/ConfigFile.h"
#include "engine/util/TextTable.h"
#include "engine/util/Utilities.h"
#include "frontend/FontNames.h"
#include "frontend/ProfileStore.h"
#include "frontend/SettingsValues.h"
#include "frontend/pda/PDA.h"
#include "frontend/pda/PDAResources.h"

namespace {

constexpr int KEY_ESCAPE = 1, KEY_F7 = 0x41, KEY_F8 = 0x42;
const char* const ROW_LABELS[CPDAAppConfig::KEY_ROWS] = {"TXT_CONFIG_MOVEUP",    "TXT_CONFIG_MOVEDOWN",
                                                         "TXT_CONFIG_MOVELEFT",  "TXT_CONFIG_MOVERIGHT",
                                                         "TXT_CONFIG_ACTION",    "TXT_CONFIG_ABILITY"};
// The profile's key fields and the defaults file's keys, in row order.
uint32_t ProfileRecord::* const ROW_FIELDS[CPDAAppConfig::KEY_ROWS] = {
    &ProfileRecord::moveUp,    &ProfileRecord::moveDown, &ProfileRecord::moveLeft,
    &ProfileRecord::moveRight, &ProfileRecord::action,   &ProfileRecord::ability};
const char* const ROW_KEYS[CPDAAppConfig::KEY_ROWS] = {"MoveUp", "MoveDown", "MoveLeft",
                                                       "MoveRight", "Action", "Ability"};
const uint32_t ROW_FALLBACKS[CPDAAppConfig::KEY_ROWS] = {DEFAULT_KEY_MOVE_UP,    DEFAULT_KEY_MOVE_DOWN,
                                                         DEFAULT_KEY_MOVE_LEFT,  DEFAULT_KEY_MOVE_RIGHT,
                                                         DEFAULT_KEY_ACTION,     DEFAULT_KEY_ABILITY};

void LoadSlider(CPDASlideBar& slider, int x, int y) {
  Nembra::CTexture* atlas = pda::AtlasTexture(2);
  slider.SetBackgroundImage(atlas, pda::SLIDER_BACK.Rect());
  slider.SetFillImage(atlas, pda::SLIDER_FILL.Rect());
  slider.SetPosition(D3DXVECTOR3(float(x), float(y), 0.0f), D3DXVECTOR3(float(x + 4), float(y + 4), 0.0f));
  slider.m_Rect = Nembra::MakeRect(x, y, pda::SLIDER_BACK.w, pda::SLIDER_BACK.h);
}

// The profile's camera type as the two-item choice reads it: 0 and 1 are
// its items; 2 and anything above it (which the game leaves alone as well)
// read as 2, no item checked, so an odd type is no change by itself.
int32_t CameraChoiceOf(const ProfileRecord& profile) {
  return profile.cameraType < 2 ? int32_t(profile.cameraType) : 2;
}

// A slider's value against a stored number of thousandths: a move under a
// thousandth still counts, the float error of a value just loaded does not.
bool Differs(float value, int32_t stored) { return std::fabs(value * 1000.0f - float(stored)) > 0.01f; }

}  // namespace

void CPDAAppConfig::Load() {
  CPDAApplication::Load();
  UsePlainBackground();
  pda::SetPiece(m_Panel, pda::CONFIG_PANEL, 198, 161);
  LoadSlider(m_Gamma, 293, 343);
  LoadSlider(m_Effects, 543, 332);
  LoadSlider(m_Music, 543, 352);
  m_Effects.m_pReleaseSound = pda::ClickSound();
  pda::SetButton(m_Default, pda::CONFIG_BUTTON, pda::CONFIG_BUTTON_HOVER, pda::CONFIG_BUTTON_DISABLED, 198, 379,
                 pda::CONFIG_BUTTON.w, pda::CONFIG_BUTTON.h);
  pda::SetButton(m_Save, pda::CONFIG_BUTTON, pda::CONFIG_BUTTON_HOVER, pda::CONFIG_BUTTON_DISABLED, 532, 379,
                 pda::CONFIG_BUTTON.w, pda::CONFIG_BUTTON.h);
  pda::SetButtonFont(m_Default);
  pda::SetButtonFont(m_Save);
  for (int r = 0; r < KEY_ROWS; ++r) {
    CPDAButton& row = m_KeyRows[size_t(r)];
    row.SetHoverImage(pda::AtlasTexture(2), pda::KEY_ROW_HOVER.Rect());
    row.SetPosition(D3DXVECTOR3(235.0f, float(ROW_Y[size_t(r)]), 0.0f));
    row.m_Rect = Nembra::MakeRect(235, ROW_Y[size_t(r)], pda::KEY_ROW_HOVER.w, pda::KEY_ROW_HOVER.h);
    row.m_pClickSound = pda::ClickSound();
  }
  m_pTextFont = pda::Font(FONT_GUI_SMALL_NUMBERS);
  m_Camera.Clear();
  m_Camera.m_Enabled = m_Camera.m_Visible = m_Camera.m_Exclusive = true;
  for (int y : {210, 250}) {
    CPDARadioItem* item = m_Camera.AddItem();
    if (!item) continue;
    item->SetBoxImage(pda::AtlasTexture(2), pda::CHECK_BOX.Rect());
    item->SetCheckImage(pda::AtlasTexture(2), pda::CHECK_MARK.Rect());
    item->m_Position = D3DXVECTOR3(520.0f, float(y), 0.0f);
    for (auto* sprite : {item->m_pBox.get(), item->m_pCheck.get()})
      if (sprite) sprite->SetPosition(item->m_Position);
    item->m_Rect = Nembra::MakeRect(520, y, pda::CHECK_BOX.w, pda::CHECK_BOX.h);
    item->m_pFont = m_pTextFont;
  }
  m_Capturing = -1;
  m_CaptureRow = -1;
  m_Confirm.Load();
  m_Confirm.m_Visible = false;
}

void CPDAAppConfig::RefreshTexts() {
  m_Title = Nembra::GetText("TXT_CUSTOMIZE");
  m_Default.m_Caption = Nembra::GetText("TXT_CONFIG_DEFAULT");
  m_Save.m_Caption = Nembra::GetText("TXT_CONFIG_SAVE");
  if (CPDARadioItem* item = m_Camera.GetItem(0)) item->m_Label = Nembra::GetText("TXT_CONFIG_CAM1");
  if (CPDARadioItem* item = m_Camera.GetItem(1)) item->m_Label = Nembra::GetText("TXT_CONFIG_CAM2");
  m_Confirm.RefreshTexts();
}

void CPDAAppConfig::Activate() {
  LoadFromProfile();
  m_Capturing = -1;
  m_CaptureRow = -1;
  for (CPDAButton& row : m_KeyRows) row.m_Highlight = false;
  SetEnabled(true);
  if (g_pPDA) g_pPDA->SetFrameButtonsEnabled(false);
}

void CPDAAppConfig::SetEnabled(bool enabled) {
  for (CPDASlideBar* slider : {&m_Gamma, &m_Effects, &m_Music}) slider->m_Enabled = enabled;
  m_Default.m_Enabled = m_Save.m_Enabled = enabled;
  for (CPDAButton& row : m_KeyRows) row.m_Enabled = enabled;
  m_Camera.m_Enabled = enabled;
}

bool CPDAAppConfig::CanClose() {
  if (!HasChanges()) return true;
  if (g_pPDA) g_pPDA->SetAllButtonsEnabled(false);
  m_Confirm.SetMessage(Nembra::GetText("TXT_CONFIRM_SAVE_CHANGES"));
  m_Confirm.m_Purpose = SAVE_PURPOSE;
  m_Confirm.m_Visible = true;
  return false;
}

void CPDAAppConfig::LoadFromProfile() {
  const ProfileRecord& profile = g_ProfileStore.GetCurrentProfile();
  m_Gamma.SetValue(FromThousandths(profile.gamma));
  m_Effects.SetValue(FromThousandths(profile.effects));
  m_Music.SetValue(FromThousandths(profile.music));
  m_Camera.Select(CameraChoiceOf(profile));
  for (int r = 0; r < KEY_ROWS; ++r) m_Keys[size_t(r)] = int32_t(profile.*ROW_FIELDS[r]);
}

void CPDAAppConfig::SaveToProfile() {
  ProfileRecord& profile = g_ProfileStore.GetCurrentProfile();
  profile.gamma = ToThousandths(m_Gamma.GetValue());
  profile.effects = ToThousandths(m_Effects.GetValue());
  profile.music = ToThousandths(m_Music.GetValue());
  profile.cameraType = uint32_t(m_Camera.GetSelected());
  for (int r = 0; r < KEY_ROWS; ++r) profile.*ROW_FIELDS[r] = uint32_t(m_Keys[size_t(r)]);
  g_ProfileStore.SaveCurrentProfile();
}

bool CPDAAppConfig::HasChanges() const {
  ProfileRecord& profile = g_ProfileStore.GetCurrentProfile();
  if (Differs(m_Gamma.GetValue(), profile.gamma) || Differs(m_Effects.GetValue(), profile.effects) ||
      Differs(m_Music.GetValue(), profile.music))
    return true;
  if (m_Camera.GetSelected() != CameraChoiceOf(profile)) return true;
  for (int r = 0; r < KEY_ROWS; ++r)
    if (int64_t(m_Keys[size_t(r)]) != int64_t(profile.*ROW_FIELDS[r])) return true;
  return false;
}

void CPDAAppConfig::LoadDefaults() {
  std::vector<Nembra::ConfigRecord> records;
  Nembra::CConfigFile::Load(CProfileStore::DefaultFileName(), records);
  auto read = [&](const char* key, const char* section) {
    const auto found = Nembra::SectionedText<std::string>::Find(records, key, section);
    return found.empty() ? 0 : Nembra::StringToInt(found.front().value);
  };
  // The same limits as every other reader of the settings files.
  m_Gamma.SetValue(FromThousandths(read("Gamma", "Monitor")));
  m_Effects.SetValue(FromThousandths(read("Effects", "Sound")));
  m_Music.SetValue(FromThousandths(read("Music", "Sound")));
  m_Camera.Select(read("Type", "Camera"));
  for (int r = 0; r < KEY_ROWS; ++r) {
    const int code = read(ROW_KEYS[r], "Key");
    m_Keys[size_t(r)] = code >= 1 && code <= 255 ? code : int32_t(ROW_FALLBACKS[r]);
  }
}

void CPDAAppConfig::ReturnToDesktop() {
  if (!g_pPDA) return;
  g_pPDA->SetFrameButtonsEnabled(true);
  g_pPDA->SetCurrentApp(PDA_APP_DESKTOP);
}

void CPDAAppConfig::Update() {
  if (g_pPDA) g_pPDA->FrameButton(PDA_BUTTON_CLOSE_APP).m_Visible = true;
  CPDAApplication::Update();
  if (pda::RestartBatch()) {
    m_Panel.Draw();
    for (CPDAButton& row : m_KeyRows) row.Update();
    m_Default.Update();
    m_Save.Update();
    m_Gamma.DrawAndUpdate();
    m_Effects.DrawAndUpdate();
    m_Music.DrawAndUpdate();
    m_Camera.Update();
    Nembra::g_pGraphicsDevice->EndSprite();
  }
  ApplySettings(m_Gamma.GetValue(), m_Music.GetValue(), m_Effects.GetValue());
  if (Nembra::g_pGraphicsDevice) Nembra::g_pGraphicsDevice->BeginSprite(16);
  if (m_Save.WasClicked()) {
    SaveToProfile();
    ApplyCurrentProfile();
    ReturnToDesktop();
  } else if (m_Default.WasClicked()) {
    LoadDefaults();
  } else {
    for (int r = 0; r < KEY_ROWS; ++r) {
      if (!m_KeyRows[size_t(r)].WasClicked()) continue;
      m_PreviousKey = m_Keys[size_t(r)];
      m_Keys[size_t(r)] = WAITING_KEY;
      m_Capturing = ROW_ACTIONS[size_t(r)];
      m_CaptureRow = r;
      m_KeyRows[size_t(r)].m_Highlight = true;
      SetEnabled(false);
      if (g_pPDA) g_pPDA->SetAllButtonsEnabled(false);
      break;
    }
  }
}

void CPDAAppConfig::Draw() {
  CPDAApplication::Draw();
  Nembra::CKeyboard* keyboard = Nembra::g_pKeyboard;
  if (m_Capturing != -1 && keyboard && keyboard->WasAnyKeyReleased()) {
    const int code = keyboard->GetReleasedKey();
    if (code != -1 && code != KEY_F7 && code != KEY_F8 && m_CaptureRow >= 0) {
      // A key taken from another row gives that row this row's old key.
      for (int32_t& key : m_Keys)
        if (key == code) key = m_PreviousKey;
      m_Keys[size_t(m_CaptureRow)] = code == KEY_ESCAPE ? m_PreviousKey : code;
      m_KeyRows[size_t(m_CaptureRow)].m_Highlight = false;
      m_Capturing = -1;
      m_CaptureRow = -1;
      if (g_pPDA) {
        g_pPDA->SetAllButtonsEnabled(true);
        g_pPDA->SetFrameButtonsEnabled(false);
      }
      SetEnabled(true);
    }
  }
  m_Default.Draw();
  m_Save.Draw();
  if (m_Camera.m_Visible && m_pTextFont) {
    m_pTextFont->m_LineAdvance = 20;
    m_pTextFont->m_WrapWidth = 0;
    for (int i = 0; i < m_Camera.GetCount(); ++i)
      if (CPDARadioItem* item = m_Camera.GetItem(i)) item->DrawLabel();
    m_pTextFont->m_LineAdvance = m_pTextFont->GetLineHeight();
  }
  pda::DrawWhite(m_pTextFont, Nembra::GetText("TXT_CONFIG_GAMMA"), 235, 339, false, 0, 0);
  pda::DrawWhite(m_pTextFont, Nembra::GetText("TXT_CONFIG_EFFECTS"), 485, 328, false, 0, 0);
  pda::DrawWhite(m_pTextFont, Nembra::GetText("TXT_CONFIG_MUSIC"), 485, 348, false, 0, 0);
  pda::DrawWhite(m_pTextFont, Nembra::GetText("TXT_CONFIG_ROTATECAMERA"), 541, 174, false, 0, 0);
  for (int r = 0; r < KEY_ROWS; ++r) {
    const int y = ROW_Y[size_t(r)] + 1;
    pda::DrawWhite(m_pTextFont, Nembra::GetText(ROW_LABELS[r]), 241, y, false, 0, 0);
    if (keyboard) pda::DrawWhite(m_pTextFont, keyboard->GetKeyName(m_Keys[size_t(r)]), 349, y, false, 0, 0);
  }
  m_Confirm.Update();
  pda::RestartBatch();
  m_Confirm.Draw();
  if (m_Confirm.m_Answer == PDA_ANSWER_NONE) return;
  if (g_pPDA) {
    g_pPDA->SetAllButtonsEnabled(true);
    g_pPDA->SetFrameButtonsEnabled(false);
  }
  m_Confirm.m_Visible = false;
  if (m_Confirm.m_Answer == PDA_ANSWER_YES) {
    SaveToProfile();
    ApplyCurrentProfile();
  } else {
    const ProfileRecord& profile = g_ProfileStore.GetCurrentProfile();
    ApplySettingsFromThousandths(profile.gamma, profile.music, profile.effects);
  }
  ReturnToDesktop();
}
