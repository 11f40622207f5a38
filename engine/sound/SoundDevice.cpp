#include "engine/sound/SoundDevice.h"

#include <algorithm>
#include <string>

#include "platform/Files.h"
#include "platform/Log.h"
#include "platform/Sound.h"
#include "platform/Text.h"

namespace Nembra {

CSoundDevice* g_pSoundDevice = nullptr;

CSoundDevice::~CSoundDevice() { Close(); }

// Stops every effect and lets go of the output.
void CSoundDevice::Close() {
  if (!m_Open) return;
  platform::StopAllVoices();
  platform::ReleaseAudio();
  m_Open = false;
}

bool CSoundDevice::Initialize(platform::HWND window, uint32_t sampleRate, const wchar_t* searchDirectory) {
  Close();
  m_Window = window;
  if (!window) return false;
  if (searchDirectory && *searchDirectory) {
    const std::string folder = platform::WideToUtf8(searchDirectory);
    if (!platform::DirectoryExists(folder)) {
      platform::LogError("Sound: the sound folder \"" + folder + "\" does not exist");
      return false;
    }
  }
  if (!platform::AcquireAudio()) return false;
  m_Open = true;
  return SetMasterVolume(100);
}

bool CSoundDevice::SetMasterVolume(int percent) {
  if (!m_Open) return false;
  // Settings files may hold anything: keep to the slider's range.
  percent = std::min(100, std::max(0, percent));
  platform::SetMasterVolume((percent - 90) * 100);
  m_MasterVolume = percent;
  return true;
}

void CSoundDevice::SetListener(const D3DXVECTOR3& position, const D3DXVECTOR3& front, const D3DXVECTOR3& top) {
  if (!m_Open) return;
  const float p[3] = {position.x, position.y, position.z};
  const float f[3] = {front.x, front.y, front.z};
  const float t[3] = {top.x, top.y, top.z};
  platform::SetListener(p, f, t);
}

}  // namespace Nembra
