#pragma once
// A render effect changes how one object is drawn for a while. The object
// calls Begin right before its draw call and End right after; Begin first
// advances the effect by the frame time, but only once a frame: an object
// drawn in more than one pass, or a mesh drawn subset by subset, begins its
// effect several times and must not fade faster for it. A sprite that is
// culled advances the effect alone, so the effect keeps time while unseen.
#include <cstdint>

namespace Nembra {

class CRenderEffect {
 public:
  virtual ~CRenderEffect() = default;
  // Advances by the frame time; nothing in the base.
  virtual void Update() {}
  // Advance, then save and set the device states the effect changes.
  virtual void Begin() = 0;
  // Restores the saved states.
  virtual void End() = 0;
  virtual bool IsFinished() { return false; }

  // Update, unless this effect was already advanced in the current frame.
  void Advance() {
    if (m_AdvancedFrame == s_Frame) return;
    m_AdvancedFrame = s_Frame;
    Update();
  }
  // Starts a new frame for every effect; the scene manager calls it at the
  // start of its update pass.
  static void NextFrame() { ++s_Frame; }
  static uint64_t CurrentFrame() { return s_Frame; }

 private:
  inline static uint64_t s_Frame = 0;
  // Never a frame the counter shows: a new effect advances on its first Begin.
  uint64_t m_AdvancedFrame = ~uint64_t(0);
};

}  // namespace Nembra
