// Alpha fades of controls (AlphaShow, AlphaHide): one entry per control, stepped every tick of
// the fade timer until fully shown or hidden.
#pragma once

#include <functional>
#include <vector>

namespace qorin {

class AControlBase;

class XFades {
 public:
  struct Fade {
    AControlBase* control;
    bool show;
    int step;
    int alpha;
  };

  // False when nothing starts (a step of 0 or less, the same fade running, a shown opaque
  // control asked to show).
  bool Start(AControlBase* control, bool show, int step);
  // One tick: every fade moves by its step; finished ones end (a hidden control gets alpha 255
  // back). Calls repaint(control) for every control whose alpha changed.
  void Tick(const std::function<void(AControlBase*)>& repaint);
  bool Empty() const { return fades_.empty(); }
  void Forget(AControlBase* control);
  const std::vector<Fade>& Running() const { return fades_; }

 private:
  std::vector<Fade> fades_;
};

}  // namespace qorin
