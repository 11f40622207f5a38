// The profile store against its files: bytes written, values read back,
// the fall-backs for missing files and keys, and the live bindings.
#include <gtest/gtest.h>

#include "engine/app/InputMapper.h"
#include "engine/app/Keyboard.h"
#include "engine/app/Mouse.h"
#include "engine/util/TextTable.h"
#include "frontend/SettingsValues.h"
#include "game/demo/ProfileTestSupport.h"
#include "platform/Input.h"
#include "tools/formats/TextFiles.h"

using namespace profiletest;

namespace {

class ProfileStoreTest : public ProfileFixture {};

const std::string ABC_UNITS("a\0b\0c\0\0\0", 8);

}  // namespace

TEST_F(ProfileStoreTest, AbcInSlotTwoIsEighteenBytesAndTheSlotFilesFollow) {
  PutSettings();
  ASSERT_TRUE(g_ProfileStore.CreateProfile(L"abc", 2));
  EXPECT_EQ(Get("Profile2.dat"), std::string("\xFF\xFE\x04\x00\x00\x00" "a\0b\0c\0\0\0" "\x00\x00\x00\x00", 18));
  EXPECT_EQ(Get("Config2.dat"), DEFAULT_SLOT_SETTINGS);
  // The last-used file keeps its sections and keys; only its three values are rewritten.
  EXPECT_EQ(Get("ConfigLastUsed.dat"), LAST_USED_SETTINGS_SAVED);

  g_ProfileStore.m_CurrentProfile = 2;
  g_ProfileStore.GetCurrentProfile().levelReached = 3;
  g_ProfileStore.GetCurrentProfile().gamma = 250;
  ASSERT_TRUE(g_ProfileStore.SaveCurrentProfile());
  EXPECT_EQ(Get("Profile2.dat"), std::string("\xFF\xFE\x04\x00\x00\x00" "a\0b\0c\0\0\0" "\x03\x00\x00\x00", 18));
  EXPECT_NE(Get("ConfigLastUsed.dat").find("Gamma=250\r\n"), std::string::npos);

  // Any two leading bytes are skipped (here the other opener's 3F 00).
  Put("Profile4.dat", ProfileBytes(std::string("\x3F\x00", 2), 4, ABC_UNITS, 5));
  g_ProfileStore.LoadAllProfiles();
  const auto& p = g_ProfileStore.m_Profiles;
  EXPECT_EQ(std::make_tuple(p[4].inUse, p[4].name, p[4].levelReached), std::make_tuple(uint8_t(1), std::wstring(L"abc"), 5u));
  EXPECT_EQ(p[2].levelReached, 3u);
  EXPECT_EQ(p[0].inUse + p[1].inUse, 0);
}

TEST_F(ProfileStoreTest, AccentedCyrillicAndAstralNamesRoundTrip) {
  PutSettings();
  const std::wstring names[] = {L"Mu\u00F1oz", L"\u0414\u043C\u0438\u0442\u0440\u0438\u0439", L"x\U0001F600y"};
  for (uint32_t slot = 0; slot < 3; ++slot) ASSERT_TRUE(g_ProfileStore.CreateProfile(names[slot], slot));
  // n with tilde is the one unit F1 00; the astral character is a pair.
  EXPECT_EQ(Get("Profile0.dat"), ProfileBytes("\xFF\xFE", 6, std::string("M\0u\0\xF1\0o\0z\0\0\0", 12), 0));
  EXPECT_EQ(Get("Profile2.dat"), ProfileBytes("\xFF\xFE", 5, std::string("x\0\x3D\xD8\x00\xDEy\0\0\0", 10), 0));
  g_ProfileStore = CProfileStore();
  g_ProfileStore.LoadAllProfiles();
  for (uint32_t slot = 0; slot < 3; ++slot) {
    EXPECT_EQ(g_ProfileStore.m_Profiles[slot].inUse, 1) << slot;
    EXPECT_EQ(g_ProfileStore.m_Profiles[slot].name, names[slot]) << slot;
  }
  // The longest name that fits is 256 units; a longer one is cut there.
  const std::wstring longName(300, L'\u044F');
  ASSERT_TRUE(g_ProfileStore.CreateProfile(longName, 3));
  EXPECT_EQ(Get("Profile3.dat").size(), 2u + 4u + 2u * 257u + 4u);
  g_ProfileStore.LoadAllProfiles();
  EXPECT_EQ(g_ProfileStore.m_Profiles[3].name, longName.substr(0, 256));
}

TEST_F(ProfileStoreTest, LastUsedSettingsFillSlotZeroAtAnyIndexAndComeBackWhenMissing) {
  PutSettings();
  for (uint32_t current : {0u, 3u, 4u, 9u}) {
    g_ProfileStore = CProfileStore();
    g_ProfileStore.m_CurrentProfile = current;
    g_ProfileStore.LoadLastUsedSettings();
    const ProfileRecord& zero = g_ProfileStore.m_Profiles[0];
    EXPECT_EQ(Settings(zero), (std::vector<int64_t>{321, 123, 456, 1, 200, 208, 203, 205, 28, 54})) << current;
    EXPECT_EQ(zero.inUse, 0) << "only a profile file makes a slot used";
    for (uint32_t slot = 1; slot < CProfileStore::SLOT_COUNT; ++slot)
      EXPECT_EQ(g_ProfileStore.m_Profiles[slot].gamma, 0) << "slot " << slot << " untouched";
  }
  // Without the last-used file it is made again from the defaults.
  Remove("ConfigLastUsed.dat");
  g_ProfileStore = CProfileStore();
  g_ProfileStore.LoadLastUsedSettings();
  EXPECT_EQ(Get("ConfigLastUsed.dat"), DEFAULT_SETTINGS);
  EXPECT_EQ(g_ProfileStore.m_Profiles[0].gamma, 600);
  EXPECT_EQ(g_ProfileStore.m_Profiles[0].moveUp, 17u);
}

TEST_F(ProfileStoreTest, NewProfileTakesTheDefaultKeysAndTheLastUsedValuesWhateverIsMissing) {
  Put("ConfigDefault.dat", DEFAULT_SETTINGS);
  auto leftovers = [](ProfileRecord& record) {
    record.moveUp = record.moveDown = record.action = 0;
    record.ability = 99;
    record.cameraType = 7;
    record.gamma = record.music = record.effects = 5;
  };
  // Both files there; the slot had an older settings file whose keys keep their places.
  Put("ConfigLastUsed.dat", LAST_USED_SETTINGS);
  Put("Config1.dat", "[Camera]\r\nType=1\r\n[Key]\r\nMoveUp=44\r\n");
  leftovers(g_ProfileStore.m_Profiles[1]);
  ASSERT_TRUE(g_ProfileStore.CreateProfile(L"one", 1));
  EXPECT_EQ(Get("Config1.dat"),
            " [Camera]\r\n Type=0\r\n [Key]\r\n MoveDown=31\r\n MoveLeft=30\r\n MoveRight=32\r\n Action=57\r\n"
            " Ability=18\r\n MoveUp=17\r\n");
  EXPECT_EQ(Settings(g_ProfileStore.m_Profiles[1]), (std::vector<int64_t>{321, 123, 456, 0, 17, 31, 30, 32, 57, 18}));
  // No slot file and no last-used file: the defaults give the values, and the last-used file is written.
  Remove("ConfigLastUsed.dat");
  leftovers(g_ProfileStore.m_Profiles[3]);
  ASSERT_TRUE(g_ProfileStore.CreateProfile(L"three", 3));
  EXPECT_EQ(Get("Config3.dat"), DEFAULT_SLOT_SETTINGS);
  EXPECT_EQ(Settings(g_ProfileStore.m_Profiles[3]), (std::vector<int64_t>{600, 800, 700, 0, 17, 31, 30, 32, 57, 18}));
  EXPECT_EQ(Get("ConfigLastUsed.dat"), " [Monitor]\r\n Gamma=600\r\n [Sound]\r\n Effects=800\r\n Music=700\r\n");
  // A used slot whose settings file went missing plays with the default keys.
  Remove("Config3.dat");
  g_ProfileStore.m_Profiles[3].moveUp = 0;
  g_ProfileStore.LoadAllProfiles();
  EXPECT_EQ(g_ProfileStore.m_Profiles[3].moveUp, 17u);
  EXPECT_EQ(g_ProfileStore.m_Profiles[3].ability, 18u);
  EXPECT_FALSE(g_ProfileStore.CreateProfile(L"five", 5)) << "slots are 0..4";
}

TEST_F(ProfileStoreTest, SaveAllWritesTheCurrentProfilesValuesOnceAndLeavesFreeSlots) {
  PutSettings();
  ASSERT_TRUE(g_ProfileStore.CreateProfile(L"now", 0));
  ASSERT_TRUE(g_ProfileStore.CreateProfile(L"stale", 3));
  const std::string oldProfile = ProfileBytes("\xFF\xFE", 2, std::string("q\0\0\0", 4), 1);
  Put("Profile2.dat", oldProfile);
  Put("Config2.dat", "[Key]\r\nMoveUp=1\r\n");
  g_ProfileStore.m_CurrentProfile = 0;
  g_ProfileStore.m_Profiles[0].gamma = 800;
  g_ProfileStore.m_Profiles[0].levelReached = 2;
  g_ProfileStore.m_Profiles[3].gamma = 500;
  g_ProfileStore.m_Profiles[3].moveUp = 44;
  ASSERT_TRUE(g_ProfileStore.SaveAllProfiles());
  EXPECT_NE(Get("ConfigLastUsed.dat").find("Gamma=800\r\n"), std::string::npos) << Get("ConfigLastUsed.dat");
  const std::string zero = Get("Profile0.dat");
  EXPECT_EQ(zero.substr(zero.size() - 4), std::string("\x02\0\0\0", 4));
  EXPECT_NE(Get("Config3.dat").find("MoveUp=44\r\n"), std::string::npos);
  EXPECT_EQ(Get("Profile2.dat"), oldProfile) << "a free slot keeps its files";
  EXPECT_EQ(Get("Config2.dat"), "[Key]\r\nMoveUp=1\r\n") << "not even rewritten";
  EXPECT_FALSE(Exists("Profile1.dat") || Exists("Config1.dat"));
}

TEST_F(ProfileStoreTest, ThousandthsSurviveEveryRoundTrip) {
  EXPECT_EQ(ToThousandths(0.6667f), 666);
  EXPECT_EQ(ToThousandths(0.251f), 251);
  EXPECT_EQ(ToThousandths(-0.5f), 0);
  EXPECT_EQ(ToThousandths(7.75f), 1000);
  EXPECT_EQ(ToThousandths(std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_FLOAT_EQ(FromThousandths(5000), 1.0f);
  EXPECT_FLOAT_EQ(FromThousandths(-3), 0.0f);
  for (int32_t stored = 0; stored <= 1000; ++stored) {
    int32_t value = stored;
    for (int round = 0; round < 100; ++round) value = ToThousandths(FromThousandths(value));
    ASSERT_EQ(value, stored);
  }
  // Through the files: each cycle saves the current profile and loads it back, as the configuration page does.
  PutSettings();
  ASSERT_TRUE(g_ProfileStore.CreateProfile(L"cycle", 1));
  g_ProfileStore.m_CurrentProfile = 1;
  ProfileRecord& profile = g_ProfileStore.GetCurrentProfile();
  int32_t* values[3] = {&profile.gamma, &profile.effects, &profile.music};
  const int32_t start[3] = {251, 506, 1000};
  for (int i = 0; i < 3; ++i) *values[i] = start[i];
  for (int cycle = 0; cycle < 100; ++cycle) {
    for (int32_t* v : values) *v = ToThousandths(FromThousandths(*v));
    ASSERT_TRUE(g_ProfileStore.SaveCurrentProfile());
    for (int32_t* v : values) *v = -1;
    g_ProfileStore.LoadCurrentProfile();
  }
  for (int i = 0; i < 3; ++i) EXPECT_EQ(*values[i], start[i]) << i;
}

TEST_F(ProfileStoreTest, ValuesAndKeyCodesOutOfRangeAreClamped) {
  Put("ConfigDefault.dat", DEFAULT_SETTINGS);
  Put("ConfigLastUsed.dat", "[Monitor]\r\nGamma=5000\r\n[Sound]\r\nEffects=-40\r\n");
  Put("Profile0.dat", ProfileBytes("\xFF\xFE", 2, std::string("k\0\0\0", 4), 0));
  // Gamma clamped, effects clamped, music absent reads 0, camera 2 kept as
  // read, MoveUp out of range takes the default's, MoveLeft absent too.
  for (const char* code : {"0", "-5", "300", "", "W"}) {
    Put("Config0.dat", std::string("[Camera]\r\nType=2\r\n[Key]\r\nMoveUp=") + code + "\r\nMoveDown=208\r\n");
    g_ProfileStore.LoadCurrentProfile();
    EXPECT_EQ(Settings(g_ProfileStore.m_Profiles[0]), (std::vector<int64_t>{1000, 0, 0, 2, 17, 208, 30, 32, 57, 18}))
        << "MoveUp=" << code;
  }
  // The defaults' own code counts first; without a usable one, the built-in key.
  Put("ConfigDefault.dat", "[Key]\r\nMoveUp=200\r\nMoveDown=0\r\n");
  Put("Config0.dat", "[Key]\r\nMoveUp=0\r\nMoveDown=999\r\n");
  g_ProfileStore.LoadCurrentProfile();
  EXPECT_EQ(g_ProfileStore.m_Profiles[0].moveUp, 200u);
  EXPECT_EQ(g_ProfileStore.m_Profiles[0].moveDown, 31u);
  Remove("ConfigDefault.dat");
  g_ProfileStore.LoadCurrentProfile();
  EXPECT_EQ(g_ProfileStore.m_Profiles[0].moveUp, 17u);
  EXPECT_EQ(g_ProfileStore.m_Profiles[0].ability, 18u);
}

TEST_F(ProfileStoreTest, ApplyingRebindsSixActionsOnTheMapperAndReloadsTexts) {
  using namespace Nembra;
  CKeyboard keyboard;
  CMouse mouse;
  CInputMapper mapper;
  g_pKeyboard = &keyboard;
  g_pMouse = &mouse;
  g_pInputMapper = &mapper;
  const char* names[11] = {"KMP_UP",   "KMP_DOWN",    "KMP_LEFT",   "KMP_RIGHT",   "KMP_SHOOT_BLUE", "KMP_SHOOT_RED",
                           "KMP_EXIT", "KMP_ABILITY", "KMP_ACTION", "KMP_RESTART", "KMP_CAMERA"};
  const uint32_t keys[11] = {17, 31, 30, 32, 0, 1, 1, 18, 57, 19, 46};
  const auto isMouse = [](int action) { return action == 4 || action == 5; };
  for (int action = 0; action < 11; ++action)
    isMouse(action) ? mapper.AddMouseMapping(action, keys[action], names[action])
                    : mapper.AddKeyboardMapping(action, keys[action], names[action]);
  Put("Texts.dat", formats::TextTableFileBytes({{L"ENG", {{L"HINT", L"Go @KMP_UP, use @KMP_ACTION"}}}}));
  CTextTable::Load(L"ENG");
  EXPECT_EQ(GetText("HINT"), L"Go " + platform::GetKeyName(17) + L", use " + platform::GetKeyName(57));

  g_ProfileStore.m_CurrentProfile = 2;
  ProfileRecord& profile = g_ProfileStore.m_Profiles[2];
  profile.moveUp = 200, profile.moveDown = 208, profile.moveLeft = 203, profile.moveRight = 205;
  profile.action = 28, profile.ability = 54;
  ApplyCurrentProfile();
  const uint32_t expected[11] = {200, 208, 203, 205, 0, 1, 1, 54, 28, 19, 46};
  for (int action = 0; action < 11; ++action)
    EXPECT_EQ(mapper.GetMappingName(names[action]), isMouse(action)
                                                        ? mouse.GetButtonName(static_cast<int>(expected[action]))
                                                        : platform::GetKeyName(static_cast<int>(expected[action])))
        << names[action];
  EXPECT_EQ(GetText("HINT"), L"Go " + platform::GetKeyName(200) + L", use " + platform::GetKeyName(28));
  EXPECT_NE(platform::GetKeyName(200), platform::GetKeyName(17));
  g_pInputMapper = nullptr;
  g_pMouse = nullptr;
  g_pKeyboard = nullptr;
  g_TextTable.clear();
  g_LanguageCode = L"ENG";
}
