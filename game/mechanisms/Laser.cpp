#include "game/mechanisms/Laser.h"

CLaser::CLaser() { SetRadius(RADIUS); }

void CLaser::Deactivate() {}

void CLaser::Build() {}

void CLaser::Reset() {}

void CLaser::SetSettings(const SETTINGS& s) {
  m_InitiallyOn = s.initiallyOn;
  m_Type = s.type;
  m_ScriptFile = s.scriptFile;
  m_EmitterVariant = s.emitterVariant;
  m_InitiallyStopped = s.initiallyStopped;
  m_Range = s.range;
  m_InitialOffset = s.initialOffset;
  m_LaserSpeed = s.speed;
  m_InitiallyIntermittent = s.initiallyIntermittent;
  m_DurationsFile = s.durationsFile;
  m_FarEnd = s.farEnd;
}
