// Damaged profile files free their slot without reading past their bytes;
// a failed or killed save leaves every file old or new, never half written.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <set>

#include "game/demo/ProfileTestSupport.h"
#include "platform/Files.h"
#include "platform/Log.h"
#include "support/FileSizeLimit.h"

using namespace profiletest;

namespace {

class ProfileDamageTest : public ProfileFixture {};

const std::string FF("\xFF\xFE");

// Every kind of damage, each next to a file that is just whole.
std::vector<std::pair<const char*, std::string>> DamagedFiles() {
  const std::string ff = FF, abc("a\0b\0c\0\0\0", 8);
  return {
      {"empty", ""},
      {"1 byte", "\xFF"},
      {"2 bytes", ff},
      {"9 bytes", ProfileBytes(ff, 1, std::string("\0\0", 2), 0).substr(0, 9)},
      {"count 0", ProfileBytes(ff, 0, "", 0)},
      {"count 2^31", ProfileBytes(ff, 0x80000000u, abc, 0)},
      {"count -1", ProfileBytes(ff, 0xFFFFFFFFu, abc, 0)},
      {"count 258", ProfileBytes(ff, 258, std::string(516, '\0'), 0)},
      {"count beyond the file", ProfileBytes(ff, 9, abc, 0)},
      {"no level", ProfileBytes(ff, 4, abc, 0).substr(0, 14)},
      {"no 0 unit", ProfileBytes(ff, 3, std::string("a\0b\0c\0", 6), 0)},
      {"trailing bytes", ProfileBytes(ff, 4, abc, 0) + "xy"},
      {"level 10^9", ProfileBytes(ff, 4, abc, 1000000000u)},
      {"level 16", ProfileBytes(ff, 4, abc, 16)},
  };
}

void Quiet() { platform::SetLogHook([](platform::LogLevel, const std::string&) {}); }

}  // namespace

TEST_F(ProfileDamageTest, DamagedFilesFreeTheirSlotAndWholeOnesAtTheLimitsRead) {
  Quiet();
  for (const auto& [what, bytes] : DamagedFiles()) {
    PROFILE_FILE_CONTENT content;
    content.name = L"before";
    EXPECT_EQ(ParseProfileBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), content),
              ProfileFileState::Damaged)
        << what;
    EXPECT_TRUE(content.name.empty()) << what;

    Put("Profile1.dat", bytes);
    ProfileRecord& record = g_ProfileStore.m_Profiles[1];
    record.inUse = 1;
    record.name = L"old";
    record.levelReached = 3;
    g_ProfileStore.LoadAllProfiles();
    EXPECT_EQ(std::tie(record.inUse, record.name, record.levelReached), std::make_tuple(uint8_t(0), std::wstring(), 0u))
        << what;
    EXPECT_EQ(Get("Profile1.dat"), bytes) << what << ": reading never changes the file";
  }
  platform::SetLogHook(nullptr);

  // The limits themselves are whole profiles.
  const std::string ff = FF;
  const struct {
    std::string bytes;
    size_t nameLength;
    uint32_t level;
  } whole[] = {
      {ProfileBytes(ff, 1, std::string("\0\0", 2), 0), 0, 0},                          // 12 bytes, empty name
      {ProfileBytes(ff, 257, std::string(512, 'z').append(2, '\0'), 14), 256, 14},    // longest name, last index
      {ProfileBytes(ff, 4, std::string("a\0b\0c\0\0\0", 8), 15), 3, 15},              // past the last of 15 levels
      {ProfileBytes(ff, 4, std::string("a\0\0\0c\0\0\0", 8), 2), 1, 2},                // name ends at the first 0
  };
  for (const auto& file : whole) {
    Put("Profile1.dat", file.bytes);
    g_ProfileStore.LoadAllProfiles();
    const ProfileRecord& one = g_ProfileStore.m_Profiles[1];
    EXPECT_EQ(std::make_tuple(one.inUse, one.name.size(), one.levelReached),
              std::make_tuple(uint8_t(1), file.nameLength, file.level));
  }
  Remove("Profile1.dat");
  g_ProfileStore.m_Profiles[1].name = L"kept";
  EXPECT_EQ(g_ProfileStore.m_Profiles[1].ReadProfileFile(CProfileStore::ProfileFileName(1)), ProfileFileState::Missing);
  EXPECT_EQ(g_ProfileStore.m_Profiles[1].inUse, 0);
  EXPECT_EQ(g_ProfileStore.m_Profiles[1].name, L"kept") << "a missing file changes nothing else";
}

TEST_F(ProfileDamageTest, NewProfileOverADamagedFileKeepsItAsBad) {
  Put("ConfigDefault.dat", DEFAULT_SETTINGS);
  Quiet();
  const std::string damaged = ProfileBytes(FF, 0x80000000u, "abc", 7);
  Put("Profile4.dat", damaged);
  ASSERT_TRUE(g_ProfileStore.CreateProfile(L"fresh", 4));
  platform::SetLogHook(nullptr);
  EXPECT_EQ(Get("Profile4.dat.bad"), damaged);
  EXPECT_EQ(Get("Profile4.dat"), ProfileBytes(FF, 6, std::string("f\0r\0e\0s\0h\0\0\0", 12), 0));
  // A whole or missing file leaves no ".bad".
  ASSERT_TRUE(g_ProfileStore.CreateProfile(L"again", 4));
  ASSERT_TRUE(g_ProfileStore.CreateProfile(L"first", 0));
  EXPECT_FALSE(Exists("Profile0.dat.bad"));
  EXPECT_EQ(Get("Profile4.dat.bad"), damaged);
}

TEST_F(ProfileDamageTest, SaveThatCantBeWrittenAnswersFalseAndKeepsTheOldFiles) {
  PutSettings();
  ASSERT_TRUE(g_ProfileStore.CreateProfile(L"player", 2));
  g_ProfileStore.m_CurrentProfile = 2;
  const std::string profile = Get("Profile2.dat");
  const std::string settings = Get("Config2.dat");
  const std::string lastUsed = Get("ConfigLastUsed.dat");

  ProfileRecord& record = g_ProfileStore.GetCurrentProfile();
  record.name = L"a much longer name than before";
  record.levelReached = 4, record.moveUp = 200, record.gamma = 999;
  std::vector<std::string> errors;
  platform::SetLogHook([&](platform::LogLevel level, const std::string& text) {
    if (level == platform::LogLevel::Error) errors.push_back(text);
  });
  {
    testsupport::FileSizeLimit limit(16);
    ASSERT_TRUE(limit.Active());
    EXPECT_FALSE(g_ProfileStore.SaveCurrentProfile());
    EXPECT_FALSE(g_ProfileStore.SaveAllProfiles());
  }
  platform::SetLogHook(nullptr);
  EXPECT_FALSE(errors.empty()) << "a failed save is logged";
  EXPECT_EQ(Get("Profile2.dat"), profile);
  EXPECT_EQ(Get("Config2.dat"), settings);
  EXPECT_EQ(Get("ConfigLastUsed.dat"), lastUsed);
  // Room again: the same save goes through.
  EXPECT_TRUE(g_ProfileStore.SaveCurrentProfile());
  EXPECT_NE(Get("Profile2.dat"), profile);
  // A settings file that is there but can't be read is never replaced.
  std::filesystem::remove(m_Dir.File("Config2.dat"));
  std::filesystem::create_directory(m_Dir.File("Config2.dat"));
  platform::ClearPathCache();
  errors.clear();
  platform::SetLogHook([&](platform::LogLevel, const std::string& text) { errors.push_back(text); });
  EXPECT_FALSE(g_ProfileStore.SaveCurrentProfile());
  platform::SetLogHook(nullptr);
  EXPECT_TRUE(std::filesystem::is_directory(m_Dir.File("Config2.dat")));
  ASSERT_FALSE(errors.empty());
  EXPECT_NE(errors.back().find("Config2.dat"), std::string::npos);
}

TEST_F(ProfileDamageTest, AProfileFileThatIsAFolderIsNamedReadsAsFreeAndIsNeverReplaced) {
  PutSettings();
  std::filesystem::create_directory(m_Dir.File("Profile3.dat"));
  Put("Profile3.dat/inside.txt", "kept");
  std::vector<std::pair<platform::LogLevel, std::string>> lines;
  platform::SetLogHook([&](platform::LogLevel level, const std::string& text) { lines.emplace_back(level, text); });
  // The lines of `level` that name `file` (quoted) and say `words`.
  auto said = [&](const std::string& file, platform::LogLevel level, const std::string& words) {
    return std::count_if(lines.begin(), lines.end(), [&](const auto& line) {
      return line.first == level && line.second.find(file + "'") != std::string::npos &&
             line.second.find(words) != std::string::npos;
    });
  };
  ProfileRecord& record = g_ProfileStore.m_Profiles[3];
  record.inUse = 1;
  record.name = L"old";
  g_ProfileStore.LoadAllProfiles();
  EXPECT_EQ(record.inUse, 0) << "the slot reads as free";
  EXPECT_EQ(said("Profile3.dat", platform::LogLevel::Warning, "is a folder"), 1);
  // A profile made in that slot, or a save over it, fails and leaves the folder as it is.
  lines.clear();
  EXPECT_FALSE(g_ProfileStore.CreateProfile(L"new", 3));
  record.inUse = 1;
  EXPECT_FALSE(g_ProfileStore.SaveAllProfiles());
  platform::SetLogHook(nullptr);
  EXPECT_GE(said("Profile3.dat", platform::LogLevel::Error, "not saved"), 1);
  EXPECT_TRUE(std::filesystem::is_directory(m_Dir.File("Profile3.dat")));
  EXPECT_EQ(Get("Profile3.dat/inside.txt"), "kept");
  EXPECT_FALSE(Exists("Profile3.dat.bad"));
  // The other slots are saved as ever.
  EXPECT_TRUE(g_ProfileStore.CreateProfile(L"other", 1));
  EXPECT_EQ(Get("Profile1.dat"), ProfileBytes(FF, 6, std::string("o\0t\0h\0e\0r\0\0\0", 12), 0));

  // Nor is anything else that is there but no file to read (a pipe; even root can't read it without a writer).
  ASSERT_EQ(mkfifo(m_Dir.File("Profile4.dat").c_str(), 0600), 0);
  platform::ClearPathCache();
  lines.clear();
  platform::SetLogHook([&](platform::LogLevel level, const std::string& text) { lines.emplace_back(level, text); });
  g_ProfileStore.LoadAllProfiles();
  EXPECT_EQ(g_ProfileStore.m_Profiles[4].inUse, 0);
  EXPECT_FALSE(g_ProfileStore.CreateProfile(L"piped", 4));
  platform::SetLogHook(nullptr);
  EXPECT_EQ(said("Profile4.dat", platform::LogLevel::Warning, "is a file that cannot be read"), 1);
  EXPECT_EQ(said("Profile4.dat", platform::LogLevel::Error, "not saved"), 1);
  struct stat st {};
  ASSERT_EQ(lstat(m_Dir.File("Profile4.dat").c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the pipe is not replaced";
}

TEST_F(ProfileDamageTest, KilledWhileSavingEveryFileIsOldOrNewAndWhole) {
  PutSettings();
  for (uint32_t slot = 0; slot < CProfileStore::SLOT_COUNT; ++slot)
    ASSERT_TRUE(g_ProfileStore.CreateProfile(L"slot" + std::to_wstring(slot), slot));
  // Two states of all five profiles whose files differ in every byte count.
  auto makeState = [](int which) {
    CProfileStore store = g_ProfileStore;
    for (uint32_t slot = 0; slot < CProfileStore::SLOT_COUNT; ++slot) {
      ProfileRecord& p = store.m_Profiles[slot];
      p.name = which ? L"second name of slot " + std::to_wstring(slot) : L"s" + std::to_wstring(slot);
      p.levelReached = which ? 2 : 1, p.moveUp = which ? 200 : 17, p.cameraType = which ? 1 : 0;
    }
    store.m_Profiles[0].gamma = which ? 1000 : 5;
    return store;
  };
  const CProfileStore states[2] = {makeState(0), makeState(1)};
  const char* files[] = {"Profile0.dat", "Profile1.dat", "Profile2.dat", "Profile3.dat", "Profile4.dat",
                         "Config0.dat",  "Config1.dat",  "Config2.dat",  "Config3.dat",  "Config4.dat",
                         "ConfigLastUsed.dat"};
  std::vector<std::string> bytes[2];
  for (int which : {1, 0}) {
    g_ProfileStore = states[which];
    ASSERT_TRUE(g_ProfileStore.SaveAllProfiles());
    for (const char* file : files) bytes[which].push_back(Get(file));
  }
  for (size_t i = 0; i < bytes[0].size(); ++i) ASSERT_NE(bytes[0][i], bytes[1][i]) << files[i];

  // Each child saves the two states in turn and tells when its first save
  // (all new) is done; the kill comes 0-12 ms after that, so it lands among
  // the saves that follow however slowly the child started.
  std::mt19937 random(20261208);
  int sawNew = 0, mixed = 0;
  for (int kill = 0; kill < 200; ++kill) {
    int saved[2];
    ASSERT_EQ(pipe(saved), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(saved[0]);
      for (int round = 0; round < 1000000; ++round) {
        g_ProfileStore = states[(round + 1) % 2];
        g_ProfileStore.SaveAllProfiles();
        if (round == 0) {
          const char done = 1;
          (void)!write(saved[1], &done, 1);
          close(saved[1]);
        }
      }
      _exit(0);
    }
    close(saved[1]);
    char done = 0;
    ssize_t got = 0;
    while ((got = read(saved[0], &done, 1)) < 0 && errno == EINTR) {
    }
    close(saved[0]);
    if (got == 1) usleep(static_cast<useconds_t>(random() % 12000));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_EQ(got, 1) << "the child ended before its first save was done";
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the child was still saving";
    int newFiles = 0;
    for (size_t i = 0; i < bytes[0].size(); ++i) {
      const std::string now = Get(files[i]);
      ASSERT_TRUE(now == bytes[0][i] || now == bytes[1][i]) << "kill " << kill << ": " << files[i] << " is "
                                                             << now.size() << " bytes of neither state";
      newFiles += now == bytes[1][i];
    }
    sawNew += newFiles;
    mixed += newFiles > 0 && newFiles < int(bytes[0].size());
  }
  EXPECT_GT(sawNew, 0) << "the kills landed after some writes";
  RecordProperty("kills_between_two_files_of_a_save", mixed);

  // One more save killed mid-write for sure: by the file size limit's signal.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_DFL);
    const rlimit limit{16, 16};
    setrlimit(RLIMIT_FSIZE, &limit);
    g_ProfileStore.SaveAllProfiles();
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ);

  // Kills mid-write leave temporaries; the start-up clean takes them and only them.
  auto names = [this] {
    std::set<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(m_Dir.Path()))
      found.insert(entry.path().filename().string());
    return found;
  };
  const std::set<std::string> before = names();
  const int removed = platform::RemoveAtomicWriteTemporaries(m_Dir.Path());
  EXPECT_GT(removed, 0) << "the kills left no temporary file";
  std::set<std::string> expected;
  for (const std::string& name : before)
    if (name.find(".tmp") == std::string::npos) expected.insert(name);
  EXPECT_EQ(before.size() - expected.size(), size_t(removed));
  EXPECT_EQ(names(), expected);
}

TEST_F(ProfileDamageTest, SavingFiveUsedProfilesTakesMilliseconds) {
  PutSettings();
  for (uint32_t slot = 0; slot < CProfileStore::SLOT_COUNT; ++slot)
    ASSERT_TRUE(g_ProfileStore.CreateProfile(L"player" + std::to_wstring(slot), slot));
  constexpr int ROUNDS = 20;
  const auto start = std::chrono::steady_clock::now();
  for (int round = 0; round < ROUNDS; ++round) {
    g_ProfileStore.GetCurrentProfile().levelReached = static_cast<uint32_t>(round % 3);
    ASSERT_TRUE(g_ProfileStore.SaveAllProfiles());
  }
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / ROUNDS;
  RecordProperty("save_all_ms", std::to_string(ms));
  EXPECT_LT(ms, 500.0) << "one level-over frame";
}
