#pragma once
// The five player profiles and the index of the current one. Each slot n
// has two files in the data folder: "Profile<n>.dat" (name and level
// reached, see ProfileFile.h) and "Config<n>.dat" ([Camera] Type and the six
// [Key] codes). Gamma and the two volumes are the machine's, not a slot's:
// they live in "ConfigLastUsed.dat" ([Monitor] Gamma, [Sound] Effects and
// Music, in thousandths). A new profile takes its camera and keys from
// "ConfigDefault.dat", which the store only reads.
//
// Every file is written whole through one atomic write, so a crash or a
// full disk leaves either the old file or the new one; a failed write is
// logged and the save answers false.
#include <cstdint>
#include <string>

#include "frontend/ProfileFile.h"

// Key codes a profile falls back on when neither its file nor
// "ConfigDefault.dat" has a usable one (a code outside 1..255 binds nothing):
// W, S, A, D, Space, E.
constexpr uint32_t DEFAULT_KEY_MOVE_UP = 17;
constexpr uint32_t DEFAULT_KEY_MOVE_DOWN = 31;
constexpr uint32_t DEFAULT_KEY_MOVE_LEFT = 30;
constexpr uint32_t DEFAULT_KEY_MOVE_RIGHT = 32;
constexpr uint32_t DEFAULT_KEY_ACTION = 57;
constexpr uint32_t DEFAULT_KEY_ABILITY = 18;

struct ProfileRecord {
  uint8_t inUse = 0;  // 1 when the slot holds a profile
  std::wstring name;
  uint32_t levelReached = 0;
  int32_t gamma = 0;    // thousandths (SettingsValues.h)
  int32_t effects = 0;  // thousandths
  int32_t music = 0;    // thousandths
  uint32_t cameraType = 0;  // 0 or 1; other values leave the camera as it is
  uint32_t moveUp = 0;
  uint32_t moveDown = 0;
  uint32_t moveLeft = 0;
  uint32_t moveRight = 0;
  uint32_t action = 0;
  uint32_t ability = 0;
  // The last save of this profile failed: memory is newer than its files.
  // Loading leaves such a profile alone (in use) and the next save writes it.
  bool unsaved = false;

  // In use: writes the profile file (false when the write fails; the old
  // file then stays whole). A free slot writes nothing and answers true.
  bool WriteProfileFile(const std::string& file) const;
  // Missing: the slot is free, name and level keep their values. Damaged:
  // free, empty name, level 0. Ok: in use with the file's name and level.
  ProfileFileState ReadProfileFile(const std::string& file);

  // Gamma and volumes from "ConfigLastUsed.dat" (from "ConfigDefault.dat"
  // when that is missing; unchanged when both are), clamped to 0..1000; an
  // absent key reads 0. Camera type and keys from the given file, or from
  // "ConfigDefault.dat" when the given file is missing (camera 0 and the
  // built-in keys when both are); a key code outside 1..255 takes
  // "ConfigDefault.dat"'s, else the built-in default.
  void LoadSettings(const std::string& settingsFile);
  // In use only: camera type and keys into the given file, then gamma and
  // volumes into "ConfigLastUsed.dat" (two writes). True when both held.
  bool SaveSettings(const std::string& settingsFile) const;
  // The two halves of SaveSettings, one file write each (in use only).
  bool SaveCameraAndKeys(const std::string& settingsFile) const;
  bool SaveGammaAndVolumes() const;
};

class CProfileStore {
 public:
  static constexpr uint32_t SLOT_COUNT = 5;

  // Data folder + "Profile<n>.dat" and data folder + "Config<n>.dat".
  static std::string ProfileFileName(uint32_t slot);
  static std::string SettingsFileName(uint32_t slot);
  static std::string LastUsedFileName();  // data folder + "ConfigLastUsed.dat"
  static std::string DefaultFileName();   // data folder + "ConfigDefault.dat"

  // The current slot's record (slot 0 while the index is out of range).
  ProfileRecord& GetCurrentProfile();

  // Every slot from its two files (but a profile whose last save failed).
  void LoadAllProfiles();
  // Every slot in use to its two files, then the current profile's gamma
  // and volumes to "ConfigLastUsed.dat" once. Free slots keep their old
  // files. False when any write failed.
  bool SaveAllProfiles();
  void LoadCurrentProfile();
  // Profile file, settings file and "ConfigLastUsed.dat": three writes.
  bool SaveCurrentProfile();
  // Fills slot 0, whatever the current index, from "ConfigLastUsed.dat";
  // a missing one is first made again from "ConfigDefault.dat".
  void LoadLastUsedSettings();
  // A new profile in the slot: level 0, the defaults' camera and keys, the
  // last-used gamma and volumes. A damaged profile file in the slot is
  // kept as "Profile<n>.dat.bad" first. False for a slot out of range or
  // when a write failed.
  bool CreateProfile(std::wstring name, uint32_t slot);

  ProfileRecord m_Profiles[SLOT_COUNT];
  uint32_t m_CurrentProfile = 0;
};

extern CProfileStore g_ProfileStore;

// Makes the current profile live: binds the movement, action and ability
// inputs of the input mapper to its keys and reloads the texts of the
// current language, so texts naming keys show the new ones.
void ApplyCurrentProfile();
