#pragma once
// A render effect changes how one object is drawn for a while. The object
// calls Begin right before its draw call and End right after; Begin first
// advances the effect (Update) by the frame time. A sprite that is culled
// calls Update alone, so the effect keeps time while unseen.
namespace Nembra {

class CRenderEffect {
 public:
  virtual ~CRenderEffect() = default;
  // Advances by the frame time; nothing in the base.
  virtual void Update() {}
  // Update, then save and set the device states the effect changes.
  virtual void Begin() = 0;
  // Restores the saved states.
  virtual void End() = 0;
  virtual bool IsFinished() { return false; }
};

}  // namespace Nembra
