#pragma once
// How the sound factories load an entry.
#include <string>
#include <utility>

namespace Nembra {

// Loads the entry of a key from the factory's folder (the key's file part),
// with the sound's own load arguments; names it and counts one reference.
// Null on failure: the factory then erases the entry, so the next request
// reads the file anew.
template <class Factory, class... LoadArgs>
auto LoadSoundEntry(Factory& factory, const std::string& key, LoadArgs&&... args)
    -> decltype(&factory.FindOrInsert(key)) {
  auto& entry = factory.FindOrInsert(key);
  if (!entry.LoadFromFile(factory.PathFor(key), std::forward<LoadArgs>(args)...)) return nullptr;
  entry.SetName(key);
  entry.SetRefCount(1);
  return &entry;
}

}  // namespace Nembra
