#pragma once
// The sound device: opens the output that wave sounds play through, holds
// the master volume and places the listener of positional sounds.
#include <cstdint>

#include "platform/Math.h"
#include "platform/Window.h"

namespace Nembra {

class CSoundDevice {
 public:
  CSoundDevice() = default;
  ~CSoundDevice();  // stops every effect that plays
  CSoundDevice(const CSoundDevice&) = delete;
  CSoundDevice& operator=(const CSoundDevice&) = delete;

  // Stops every effect that plays, then opens the output for the window and sets the
  // master volume to 100. The output picks its own mixing rate; sampleRate
  // is a wish. A non-empty search directory must exist. False for a null
  // window or when no output can be opened.
  bool Initialize(platform::HWND window, uint32_t sampleRate, const wchar_t* searchDirectory);
  bool IsInitialized() const { return m_Open; }

  // Percent clamped to 0..100, mapped to (percent - 90) x 100 hundredths of
  // a decibel: 100 is +10 dB, 90 unchanged, 0 -90 dB. False without output.
  bool SetMasterVolume(int percent);
  int GetMasterVolume() const { return m_MasterVolume; }

  // Where positional sounds are heard from.
  void SetListener(const D3DXVECTOR3& position, const D3DXVECTOR3& front, const D3DXVECTOR3& top);

 private:
  void Close();

  platform::HWND m_Window = nullptr;
  int m_MasterVolume = 0;
  bool m_Open = false;
};

extern CSoundDevice* g_pSoundDevice;

}  // namespace Nembra
