#include "platform/SavedStates.h"

namespace platform {

bool SavedStates::Render(D3DRENDERSTATETYPE type, DWORD value) { return Change(RENDER, 0, type, value); }

bool SavedStates::Sampler(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
  return Change(SAMPLER, sampler, type, value);
}

bool SavedStates::Stage(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
  return Change(STAGE, stage, type, value);
}

bool SavedStates::Change(Kind kind, DWORD unit, DWORD type, DWORD value) {
  if (!m_Device) return false;
  DWORD old = 0;
  HRESULT read = E_FAIL;
  switch (kind) {
    case RENDER: read = m_Device->GetRenderState(D3DRENDERSTATETYPE(type), &old); break;
    case SAMPLER: read = m_Device->GetSamplerState(unit, D3DSAMPLERSTATETYPE(type), &old); break;
    case STAGE: read = m_Device->GetTextureStageState(unit, D3DTEXTURESTAGESTATETYPE(type), &old); break;
  }
  if (FAILED(read)) return false;
  if (old == value) return true;
  if (m_Count == CAPACITY) return false;
  m_Saved[m_Count++] = Saved{kind, unit, type, old};
  switch (kind) {
    case RENDER: m_Device->SetRenderState(D3DRENDERSTATETYPE(type), value); break;
    case SAMPLER: m_Device->SetSamplerState(unit, D3DSAMPLERSTATETYPE(type), value); break;
    case STAGE: m_Device->SetTextureStageState(unit, D3DTEXTURESTAGESTATETYPE(type), value); break;
  }
  return true;
}

void SavedStates::Restore() {
  while (m_Count > 0) {
    const Saved& s = m_Saved[--m_Count];
    switch (s.kind) {
      case RENDER: m_Device->SetRenderState(D3DRENDERSTATETYPE(s.type), s.value); break;
      case SAMPLER: m_Device->SetSamplerState(s.unit, D3DSAMPLERSTATETYPE(s.type), s.value); break;
      case STAGE: m_Device->SetTextureStageState(s.unit, D3DTEXTURESTAGESTATETYPE(s.type), s.value); break;
    }
  }
}

}  // namespace platform
