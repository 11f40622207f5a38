#pragma once
// Device states changed for a while and given back afterwards. Each call
// reads the state's value, changes it only when it differs and remembers
// the old value; Restore puts the remembered values back, last first. The
// list has a fixed size, so per-frame use allocates nothing.
#include <cstddef>

#include "platform/Graphics.h"

namespace platform {

class SavedStates {
 public:
  static constexpr size_t CAPACITY = 32;

  explicit SavedStates(IDevice* device) : m_Device(device) {}
  SavedStates(const SavedStates&) = delete;
  SavedStates& operator=(const SavedStates&) = delete;

  // Each is false, changing nothing, when the state cannot be read or the
  // list is full (so nothing is ever changed without being given back).
  bool Render(D3DRENDERSTATETYPE type, DWORD value);
  bool Sampler(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value);
  bool Stage(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value);
  // Gives back every state changed since the last Restore.
  void Restore();
  size_t Count() const { return m_Count; }

 private:
  enum Kind { RENDER, SAMPLER, STAGE };
  struct Saved {
    Kind kind;
    DWORD unit;
    DWORD type;
    DWORD value;
  };
  bool Change(Kind kind, DWORD unit, DWORD type, DWORD value);

  IDevice* m_Device;
  Saved m_Saved[CAPACITY];
  size_t m_Count = 0;
};

}  // namespace platform
