#include "frontend/hud/GUIFlash.h"

#include "engine/app/Application.h"

void CGUIFlash::Update() {
  if (!(m_Timer > 0.0f)) return;
  const float f = m_Timer / m_Duration;
  const float scale = m_StartScale + (1.0f - f) * (m_EndScale - m_StartScale);
  m_Sprite.m_ScaleX = scale;
  m_Sprite.m_ScaleY = scale;
  const float alpha = static_cast<float>(static_cast<int>(f * 255.0f)) / 255.0f;
  m_Sprite.m_Color = D3DXCOLOR(1.0f, 1.0f, 1.0f, alpha);
  m_Sprite.Draw();
  m_Timer -= Nembra::g_FrameTime;
  if (m_Timer < 0.0f) m_Timer = 0.0f;
}
