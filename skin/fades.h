// Alpha fades of controls (AlphaShow, AlphaHide): one entry per control, stepped every tick of
// the fade timer until fully shown or hidden.
#pragma once

#include <algorithm>
#include <cstddef>
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
  template <typename Repaint>
  void Tick(Repaint repaint);
  bool Empty() const { return fades_.empty(); }
  void Forget(AControlBase* control);
  const std::vector<Fade>& Running() const { return fades_; }

 private:
  std::vector<Fade> fades_;
};

}  // namespace qorin

#include "control_base.h"

namespace qorin {

template <typename Repaint>
void XFades::Tick(Repaint repaint) {
  for (size_t i = 0; i < fades_.size();) {
    Fade& f = fades_[i];
    f.alpha += f.show ? f.step : -f.step;
    int applied = std::clamp(f.alpha, 0, 255);
    if (applied != f.control->alpha) {
      f.control->SetAlpha(applied);
      repaint(f.control);
    }
    if (f.alpha < 256 && f.alpha >= 0) {
      ++i;
      continue;
    }
    if (!f.show) {
      f.control->SetShown(false);
      f.control->SetAlpha(255);
      repaint(f.control);
    }
    fades_.erase(fades_.begin() + static_cast<std::ptrdiff_t>(i));
  }
}

}  // namespace qorin
