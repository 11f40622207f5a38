#include "frontend/ProfileStore.h"

#include <map>
#include <vector>

#include "engine/app/Engine.h"
#include "engine/app/InputMapper.h"
#include "engine/util/ConfigFile.h"
#include "engine/util/SectionedFile.h"
#include "engine/util/TextTable.h"
#include "engine/util/Utilities.h"
#include "frontend/SettingsValues.h"
#include "game/world/GameWorld.h"
#include "game/world/InputActions.h"
#include "platform/Files.h"
#include "platform/Log.h"

using Nembra::CConfigFile;
using Nembra::ConfigRecord;

CProfileStore g_ProfileStore;

namespace {

using Records = std::vector<ConfigRecord>;

const char* const SECTION_MONITOR = "Monitor";
const char* const SECTION_SOUND = "Sound";
const char* const SECTION_CAMERA = "Camera";
const char* const SECTION_KEY = "Key";

// The six keys in file order, with their record fields and fallbacks.
struct KeyField {
  const char* name;
  uint32_t ProfileRecord::*field;
  uint32_t fallback;
};
const KeyField KEY_FIELDS[] = {
    {"MoveUp", &ProfileRecord::moveUp, DEFAULT_KEY_MOVE_UP},
    {"MoveDown", &ProfileRecord::moveDown, DEFAULT_KEY_MOVE_DOWN},
    {"MoveLeft", &ProfileRecord::moveLeft, DEFAULT_KEY_MOVE_LEFT},
    {"MoveRight", &ProfileRecord::moveRight, DEFAULT_KEY_MOVE_RIGHT},
    {"Action", &ProfileRecord::action, DEFAULT_KEY_ACTION},
    {"Ability", &ProfileRecord::ability, DEFAULT_KEY_ABILITY},
};

// Each settings file is read at most once per operation of the store.
class SettingsFiles {
 public:
  // Null when the file can't be read.
  const Records* Get(const std::string& file) {
    auto it = m_Files.find(file);
    if (it == m_Files.end()) {
      Entry entry;
      entry.loaded = CConfigFile::Load(file, entry.records);
      it = m_Files.emplace(file, std::move(entry)).first;
    }
    return it->second.loaded ? &it->second.records : nullptr;
  }

 private:
  struct Entry {
    bool loaded = false;
    Records records;
  };
  std::map<std::string, Entry> m_Files;
};

// The integer of the first record of this key and section (0 when absent).
int ReadInt(const Records& records, const char* key, const char* section) {
  const Records found = Nembra::SectionedText<std::string>::Find(records, key, section);
  return found.empty() ? 0 : Nembra::StringToInt(found.front().value);
}

bool IsKeyCode(int code) { return code >= 1 && code <= 255; }

void ReadGammaAndVolumes(ProfileRecord& profile, const Records& records) {
  profile.gamma = ClampThousandths(ReadInt(records, "Gamma", SECTION_MONITOR));
  profile.effects = ClampThousandths(ReadInt(records, "Effects", SECTION_SOUND));
  profile.music = ClampThousandths(ReadInt(records, "Music", SECTION_SOUND));
}

// records may be null (nothing readable): camera 0 and the built-in keys.
void ReadCameraAndKeys(ProfileRecord& profile, const Records* records, const Records* defaults) {
  profile.cameraType = records ? static_cast<uint32_t>(ReadInt(*records, "Type", SECTION_CAMERA)) : 0;
  for (const KeyField& key : KEY_FIELDS) {
    int code = records ? ReadInt(*records, key.name, SECTION_KEY) : 0;
    if (!IsKeyCode(code) && defaults) code = ReadInt(*defaults, key.name, SECTION_KEY);
    profile.*key.field = IsKeyCode(code) ? static_cast<uint32_t>(code) : key.fallback;
  }
}

void LoadSettingsFrom(ProfileRecord& profile, const std::string& file, SettingsFiles& files) {
  const Records* defaults = files.Get(CProfileStore::DefaultFileName());
  const Records* lastUsed = files.Get(CProfileStore::LastUsedFileName());
  if (const Records* values = lastUsed ? lastUsed : defaults) ReadGammaAndVolumes(profile, *values);
  const Records* own = files.Get(file);
  ReadCameraAndKeys(profile, own ? own : defaults, defaults);
}

void SetInt(Records& records, const char* key, int64_t value, const char* section) {
  Nembra::SectionedText<std::string>::Set(records, key, std::to_string(value), section);
}

std::string DataFile(const std::string& name) { return Nembra::g_DataDirectory + name; }

// What a save of a used profile tells of it; a free slot has nothing to keep.
bool Saved(ProfileRecord& profile, bool written) {
  if (profile.inUse) profile.unsaved = !written;
  return written;
}

// What stands at a profile file's name when it is no file the game can read.
std::string ThingThatIsNoProfile(const std::string& file) {
  return platform::DirectoryExists(file) ? "a folder" : "a file that cannot be read";
}

// A profile whose last save failed lives only in memory until a save holds.
bool KeptInMemory(const ProfileRecord& profile) { return profile.inUse && profile.unsaved; }

}  // namespace

// --- ProfileRecord -----------------------------------------------------------

bool ProfileRecord::WriteProfileFile(const std::string& file) const {
  if (!inUse) return true;
  // Something at that name that is no readable file (a folder, say) is never replaced.
  if (!platform::FileExists(file) && Nembra::AnythingExistsAt(file)) {
    platform::LogError("profile file '" + file + "' not saved: " + ThingThatIsNoProfile(file) + " is in its place");
    return false;
  }
  if (!platform::WriteFileAtomic(file, BuildProfileBytes(name, levelReached))) {
    platform::LogError("profile file '" + file + "' not saved");
    return false;
  }
  return true;
}

ProfileFileState ProfileRecord::ReadProfileFile(const std::string& file) {
  if (!platform::FileExists(file)) {
    if (Nembra::AnythingExistsAt(file))
      platform::LogWarning("profile file '" + file + "' is " + ThingThatIsNoProfile(file) +
                           "; the slot reads as free and it is left as it is");
    inUse = 0;
    return ProfileFileState::Missing;
  }
  std::vector<uint8_t> bytes;
  PROFILE_FILE_CONTENT content;
  ProfileFileState state = ProfileFileState::Damaged;
  if (platform::ReadWholeFile(file, bytes)) state = ParseProfileBytes(bytes.data(), bytes.size(), content);
  if (state != ProfileFileState::Ok) {
    platform::LogWarning("profile file '" + file + "' is damaged; the slot is free");
    inUse = 0;
    name.clear();
    levelReached = 0;
    return ProfileFileState::Damaged;
  }
  inUse = 1;
  name = content.name;
  levelReached = content.levelReached;
  return ProfileFileState::Ok;
}

void ProfileRecord::LoadSettings(const std::string& settingsFile) {
  SettingsFiles files;
  LoadSettingsFrom(*this, settingsFile, files);
}

bool ProfileRecord::SaveCameraAndKeys(const std::string& settingsFile) const {
  if (!inUse) return true;
  return CConfigFile::Rewrite(settingsFile, [this](Records& records) {
    SetInt(records, "Type", cameraType, SECTION_CAMERA);
    // A key missing from the file goes first in its section, so the keys
    // are set last to first to come out in their usual order.
    for (size_t i = sizeof KEY_FIELDS / sizeof KEY_FIELDS[0]; i-- > 0;)
      SetInt(records, KEY_FIELDS[i].name, this->*KEY_FIELDS[i].field, SECTION_KEY);
  });
}

bool ProfileRecord::SaveGammaAndVolumes() const {
  if (!inUse) return true;
  return CConfigFile::Rewrite(CProfileStore::LastUsedFileName(), [this](Records& records) {
    SetInt(records, "Gamma", gamma, SECTION_MONITOR);
    SetInt(records, "Music", music, SECTION_SOUND);
    SetInt(records, "Effects", effects, SECTION_SOUND);
  });
}

bool ProfileRecord::SaveSettings(const std::string& settingsFile) const {
  const bool keys = SaveCameraAndKeys(settingsFile);
  const bool values = SaveGammaAndVolumes();
  return keys && values;
}

// --- CProfileStore -----------------------------------------------------------

std::string CProfileStore::ProfileFileName(uint32_t slot) {
  return DataFile("Profile" + std::to_string(slot) + ".dat");
}

std::string CProfileStore::SettingsFileName(uint32_t slot) {
  return DataFile("Config" + std::to_string(slot) + ".dat");
}

std::string CProfileStore::LastUsedFileName() { return DataFile("ConfigLastUsed.dat"); }

std::string CProfileStore::DefaultFileName() { return DataFile("ConfigDefault.dat"); }

ProfileRecord& CProfileStore::GetCurrentProfile() {
  return m_Profiles[m_CurrentProfile < SLOT_COUNT ? m_CurrentProfile : 0];
}

void CProfileStore::LoadAllProfiles() {
  SettingsFiles files;
  for (uint32_t slot = 0; slot < SLOT_COUNT; ++slot) {
    if (KeptInMemory(m_Profiles[slot])) continue;
    m_Profiles[slot].ReadProfileFile(ProfileFileName(slot));
    LoadSettingsFrom(m_Profiles[slot], SettingsFileName(slot), files);
  }
}

bool CProfileStore::SaveAllProfiles() {
  bool ok = true;
  for (uint32_t slot = 0; slot < SLOT_COUNT; ++slot) {
    const bool profile = m_Profiles[slot].WriteProfileFile(ProfileFileName(slot));
    const bool settings = m_Profiles[slot].SaveCameraAndKeys(SettingsFileName(slot));
    ok = Saved(m_Profiles[slot], profile && settings) && ok;
  }
  ProfileRecord& current = GetCurrentProfile();
  if (current.SaveGammaAndVolumes()) return ok;
  Saved(current, false);
  return false;
}

void CProfileStore::LoadCurrentProfile() {
  const uint32_t slot = m_CurrentProfile < SLOT_COUNT ? m_CurrentProfile : 0;
  if (KeptInMemory(m_Profiles[slot])) return;
  m_Profiles[slot].ReadProfileFile(ProfileFileName(slot));
  m_Profiles[slot].LoadSettings(SettingsFileName(slot));
}

bool CProfileStore::SaveCurrentProfile() {
  const uint32_t slot = m_CurrentProfile < SLOT_COUNT ? m_CurrentProfile : 0;
  const bool profile = m_Profiles[slot].WriteProfileFile(ProfileFileName(slot));
  const bool settings = m_Profiles[slot].SaveSettings(SettingsFileName(slot));
  return Saved(m_Profiles[slot], profile && settings);
}

void CProfileStore::LoadLastUsedSettings() {
  const std::string lastUsed = LastUsedFileName();
  std::vector<uint8_t> defaults;
  if (!Nembra::AnythingExistsAt(lastUsed) && platform::ReadWholeFile(DefaultFileName(), defaults)) {
    // A copy of the defaults, byte for byte.
    if (!platform::WriteFileAtomic(lastUsed, defaults)) platform::LogError("'" + lastUsed + "' not made again");
  }
  m_Profiles[0].LoadSettings(lastUsed);
}

bool CProfileStore::CreateProfile(std::wstring name, uint32_t slot) {
  if (slot >= SLOT_COUNT) return false;
  const std::string file = ProfileFileName(slot);
  std::vector<uint8_t> old;
  PROFILE_FILE_CONTENT content;
  if (platform::FileExists(file) && platform::ReadWholeFile(file, old) &&
      ParseProfileBytes(old.data(), old.size(), content) == ProfileFileState::Damaged) {
    // Kept for whoever wants to look at it; the new profile goes on regardless.
    if (!platform::WriteFileAtomic(file + ".bad", old)) platform::LogError("'" + file + ".bad' not kept");
  }
  ProfileRecord& profile = m_Profiles[slot];
  profile.name = std::move(name);
  profile.inUse = 1;
  profile.levelReached = 0;
  const bool written = profile.WriteProfileFile(file);
  profile.LoadSettings(DefaultFileName());
  const bool saved = profile.SaveSettings(SettingsFileName(slot));
  return Saved(profile, written && saved);
}

// --- Applying ----------------------------------------------------------------

void ApplyCurrentProfile() {
  const ProfileRecord& profile = g_ProfileStore.GetCurrentProfile();
  if (Nembra::g_pInputMapper) {
    Nembra::CInputMapper& mapper = *Nembra::g_pInputMapper;
    mapper.SetMappingCode(KMP_UP, profile.moveUp);
    mapper.SetMappingCode(KMP_DOWN, profile.moveDown);
    mapper.SetMappingCode(KMP_LEFT, profile.moveLeft);
    mapper.SetMappingCode(KMP_RIGHT, profile.moveRight);
    mapper.SetMappingCode(KMP_ACTION, profile.action);
    mapper.SetMappingCode(KMP_ABILITY, profile.ability);
  }
  // Type 0 is the wheel camera, 1 the edge camera; other values change nothing.
  if (g_pGameWorld && profile.cameraType == 0) g_pGameWorld->SetCameraMode(true);
  if (g_pGameWorld && profile.cameraType == 1) g_pGameWorld->SetCameraMode(false);
  Nembra::CTextTable::Reload();
}
