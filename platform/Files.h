#pragma once
// Files by the game's data names. Names may use '\' or '/', may start with
// ".\", and match each path component without regard to ASCII case, so a
// data folder made on a case-insensitive file system works unchanged. One
// resolver serves every open, existence test and deletion.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace platform {

// The native path of a data name: separators converted, a leading ".\"
// removed, and each existing component replaced by its on-disk spelling.
// Components that do not exist are kept as written (so a file can be
// created under its given name).
std::string ResolvePath(const std::string& name);

// Forgets the cached directory listings (after files were made outside the layer).
void ClearPathCache();

bool FileExists(const std::string& name);      // a regular file that opens for reading
bool DirectoryExists(const std::string& name);
bool RemoveFile(const std::string& name);
// Creates the folder and its parents; true when it exists afterwards.
bool MakeDirectories(const std::string& name);

// fopen through the resolver.
FILE* OpenFile(const std::string& name, const char* mode);

// Reads the whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& name, std::vector<uint8_t>& out);

// Writes a file so that a crash or a full disk never leaves it half
// written: a temporary file in the same folder is written, flushed,
// checked and renamed over the old one. On failure the old file is
// untouched, the temporary file removed, and false returned.
bool WriteFileAtomic(const std::string& name, const void* data, size_t size);
inline bool WriteFileAtomic(const std::string& name, const std::vector<uint8_t>& data) {
  return WriteFileAtomic(name, data.data(), data.size());
}
inline bool WriteFileAtomic(const std::string& name, const std::string& data) {
  return WriteFileAtomic(name, data.data(), data.size());
}

// True for the name of WriteFileAtomic's temporary file: "." + the file's
// name + ".tmp" + digits.
bool IsAtomicWriteTemporary(const std::string& name);
// Removes the temporary files that interrupted atomic writes left in the
// folder (not below it); answers how many went. Called at start-up, before
// anything is written there.
int RemoveAtomicWriteTemporaries(const std::string& folder);

}  // namespace platform
