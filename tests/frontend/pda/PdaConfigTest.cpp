// The configuration application on real settings files: key capture, defaults, the question on
// closing, saving, and what reaches the input mapper, the gamma ramp and the mixers.
#include <gtest/gtest.h>

#include <filesystem>

#include "frontend/PdaFixture.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/app/InputMapper.h"
#include "engine/app/Keyboard.h"
#include "engine/sound/AudiereSound.h"
#include "engine/sound/WaveSound.h"
#include "frontend/pda/apps/PDAAppConfig.h"
#include "platform/Input.h"
#include "tools/formats/TextFiles.h"

namespace {

class PdaConfig : public pdatest::PdaTest {
 protected:
  void SetUp() override {
    PdaTest::SetUp();
    if (HasFatalFailure() || IsSkipped()) return;
    g_LevelDescriptions[0].read = true;
    Open(PDA_APP_CONFIG);
  }
  CPDAAppConfig& Config() { return AppAt<CPDAAppConfig>(PDA_APP_CONFIG); }
  void ClickRow(int row) { Click(300, CPDAAppConfig::ROW_Y[size_t(row)] + 10); }
  // The mixers' music and effects volumes.
  static std::pair<float, float> Volumes() {
    return {Nembra::g_pStreamingSoundFactory->GetStreamingVolume(), Nembra::g_pWaveSoundFactory->GetWaveVolume()};
  }
  bool GammaIs(float gamma) {
    platform::D3DGAMMARAMP expected;
    Nembra::CGraphicsDevice::BuildGammaRamp(gamma, &expected);
    const platform::D3DGAMMARAMP& ramp = s.Device()->GammaRamp();
    return std::equal(std::begin(ramp.red), std::end(ramp.red), std::begin(expected.red));
  }
  const ProfileRecord& Stored() { return g_ProfileStore.GetCurrentProfile(); }
  enum { UP = 0, DOWN = 1, LEFT = 2, RIGHT = 3, ACTION = 4, ABILITY = 5 };
};

TEST_F(PdaConfig, ARowWaitsForAReleaseAndEscapeCancels) {
  const int before = Config().m_Keys[UP];
  ClickRow(UP);
  EXPECT_EQ(Config().m_Capturing, 0);
  EXPECT_EQ(Config().m_Keys[UP], platform::DIK_SLASH);
  EXPECT_TRUE(Config().m_KeyRows[UP].m_Highlight);
  EXPECT_FALSE(Config().m_Save.m_Enabled || Button(PDA_BUTTON_CLOSE_APP).m_Enabled);
  // The waiting row shows the slash key's name.
  EXPECT_TRUE(Shows(Nembra::g_pKeyboard->GetKeyName(platform::DIK_SLASH)));
  Key(platform::DIK_ESCAPE);
  EXPECT_EQ(Config().m_Capturing, -1);
  EXPECT_EQ(Config().m_Keys[UP], before);
  EXPECT_FALSE(Config().m_KeyRows[UP].m_Highlight);
  EXPECT_TRUE(Config().m_Save.m_Enabled && Button(PDA_BUTTON_CLOSE_APP).m_Enabled);
  EXPECT_FALSE(Button(PDA_BUTTON_SYSTEM_OFF).m_Enabled);  // still off while the settings are open
}

TEST_F(PdaConfig, TakingActionsKeySwapsAndF7F8AndPressesDoNothing) {
  const int up = Config().m_Keys[UP], action = Config().m_Keys[ACTION];
  ClickRow(UP);
  for (int key : {platform::DIK_F7, platform::DIK_F8}) {
    Key(key);
    EXPECT_EQ(Config().m_Capturing, 0);
  }
  // Pressed is not taken; released is.
  s.Next().KeyDown(action);
  Frame();
  EXPECT_EQ(Config().m_Capturing, 0);
  s.Next().KeyUp(action);
  Frame();
  EXPECT_EQ(Config().m_Capturing, -1);
  EXPECT_EQ(std::make_pair(Config().m_Keys[UP], Config().m_Keys[ACTION]), std::make_pair(action, up));
  Frame();
  EXPECT_TRUE(Shows(Nembra::g_pKeyboard->GetKeyName(action)));
  EXPECT_TRUE(Config().HasChanges());
}

TEST_F(PdaConfig, DefaultChangesWidgetsAndLiveValuesNotTheProfileAndNoRestoresThem) {
  ProfileRecord& profile = g_ProfileStore.GetCurrentProfile();
  profile.gamma = 100;
  profile.effects = 200;
  profile.music = 300;
  profile.moveUp = 44;
  pda->SetCurrentApp(PDA_APP_CONFIG);
  Frame();
  EXPECT_TRUE(GammaIs(0.1f * 1.5f + 0.25f));
  Click(198 + 20, 379 + 20);  // Default
  Frame();
  EXPECT_FLOAT_EQ(Config().m_Gamma.GetValue(), 0.5f);
  EXPECT_EQ(Config().m_Keys[UP], 17);
  EXPECT_TRUE(GammaIs(0.5f * 1.5f + 0.25f));
  EXPECT_FLOAT_EQ(Volumes().first, 0.7f);
  EXPECT_FLOAT_EQ(Volumes().second, 1.0f);  // effects 0.8 x 1.25 + 0.125, clamped
  EXPECT_EQ(std::make_pair(Stored().gamma, Stored().moveUp), std::make_pair(100, 44u));
  // Closing asks; no goes back to the profile's values and to the desktop.
  CloseApp();
  EXPECT_EQ(pda->GetCurrentAppIndex(), PDA_APP_CONFIG);
  EXPECT_TRUE(Config().m_Confirm.m_Visible);
  EXPECT_EQ(Config().m_Confirm.GetMessage(), T("TXT_CONFIRM_SAVE_CHANGES"));
  No();
  EXPECT_EQ(pda->GetCurrentAppIndex(), PDA_APP_DESKTOP);
  EXPECT_TRUE(GammaIs(0.1f * 1.5f + 0.25f));
  EXPECT_FLOAT_EQ(Volumes().first, 0.3f);
  EXPECT_FLOAT_EQ(Volumes().second, 0.2f * 1.25f + 0.125f);
  EXPECT_EQ(Stored().moveUp, 44u);
  EXPECT_TRUE(Button(PDA_BUTTON_SYSTEM_OFF).m_Enabled);
}

TEST_F(PdaConfig, JustLoadedValuesAreNeverAChangeAndATinyMoveIs) {
  for (int stored = 0; stored <= 1000; ++stored) {
    ProfileRecord& profile = g_ProfileStore.GetCurrentProfile();
    profile.gamma = profile.effects = profile.music = stored;
    Config().LoadFromProfile();
    ASSERT_FALSE(Config().HasChanges()) << stored;
  }
  Config().m_Music.SetValue(Config().m_Music.GetValue() - 0.0004f);
  EXPECT_TRUE(Config().HasChanges());
  Config().LoadFromProfile();
  CloseApp();
  EXPECT_EQ(pda->GetCurrentAppIndex(), PDA_APP_DESKTOP);
  EXPECT_FALSE(Config().m_Confirm.m_Visible);
}

TEST_F(PdaConfig, SaveWritesBothFilesRebindsTheMapperAndReturns) {
  ClickRow(ABILITY);
  Key(platform::DIK_Q);
  Click(520 + 5, 250 + 5);  // the second camera
  Click(532 + 20, 379 + 20);  // Save
  EXPECT_EQ(pda->GetCurrentAppIndex(), PDA_APP_DESKTOP);
  EXPECT_EQ(std::make_pair(Stored().ability, Stored().cameraType), std::make_pair(uint32_t(platform::DIK_Q), 1u));
  EXPECT_EQ(Nembra::g_pInputMapper->GetMappingName("KMP_ABILITY"), Nembra::g_pKeyboard->GetKeyName(platform::DIK_Q));
  CProfileStore fresh;
  fresh.LoadAllProfiles();
  EXPECT_EQ(std::make_pair(fresh.m_Profiles[0].ability, fresh.m_Profiles[0].cameraType),
            std::make_pair(uint32_t(platform::DIK_Q), 1u));
  for (const char* file : {"Config0.dat", "ConfigLastUsed.dat"})
    EXPECT_TRUE(std::filesystem::exists(s.DataFolder() + file)) << file;
  EXPECT_TRUE(Button(PDA_BUTTON_START_GAME).m_Enabled);
}

TEST_F(PdaConfig, DefaultsAreClampedAndACameraTypeOfTwoChecksNothing) {
  ASSERT_TRUE(formats::WriteBytes(s.DataFolder() + "ConfigDefault.dat",
                                  formats::SettingsFileText({{"Monitor", {{"Gamma", "5000"}}},
                                                             {"Sound", {{"Effects", "-7"}, {"Music", "300"}}},
                                                             {"Camera", {{"Type", "2"}}},
                                                             {"Key", {{"MoveUp", "999"}, {"Action", "0"}}}})));
  Click(198 + 20, 379 + 20);
  EXPECT_EQ(std::make_pair(Config().m_Gamma.GetValue(), Config().m_Effects.GetValue()), std::make_pair(1.0f, 0.0f));
  EXPECT_EQ(std::make_pair(Config().m_Keys[UP], Config().m_Keys[ACTION]), std::make_pair(17, 57));
  EXPECT_EQ(Config().m_Camera.GetSelected(), 2);
  // Type 2 in the profile: nothing checked, nothing out of range touched.
  g_ProfileStore.GetCurrentProfile().cameraType = 2;
  pda->SetCurrentApp(PDA_APP_CONFIG);
  Frames(2);
  EXPECT_EQ(Config().m_Camera.GetSelected(), 2);
  EXPECT_TRUE(s.Last().FindSprites(scenario::TextureOf("PDA2.png"), 160, 468).empty());
  EXPECT_EQ(s.Last().FindSprites(scenario::TextureOf("PDA2.png"), 144, 468).size(), 2u);
  EXPECT_FALSE(Config().HasChanges());
  // Three or more reads as two: nothing changed, so closing asks nothing.
  for (uint32_t type : {3u, 0xFFFFFFFFu}) {
    g_ProfileStore.GetCurrentProfile().cameraType = type;
    pda->SetCurrentApp(PDA_APP_CONFIG);
    Frame();
    EXPECT_EQ(Config().m_Camera.GetSelected(), 2) << type;
    EXPECT_FALSE(Config().HasChanges()) << type;
  }
  CloseApp();
  EXPECT_EQ(pda->GetCurrentAppIndex(), PDA_APP_DESKTOP);
  EXPECT_FALSE(Config().m_Confirm.m_Visible);
}

}  // namespace
