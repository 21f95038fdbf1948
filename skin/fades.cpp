#include "fades.h"

#include <algorithm>
#include <cstddef>

#include "control_base.h"

namespace qorin {

bool XFades::Start(AControlBase* control, bool show, int step) {
  if (control == nullptr || step <= 0 || control->layout == nullptr) return false;
  auto running = std::find_if(fades_.begin(), fades_.end(),
                              [control](const Fade& f) { return f.control == control; });
  if (running != fades_.end()) {
    if (running->show == show) return false;
    fades_.erase(running);
  }
  int alpha = control->alpha;
  if (show) {
    if (control->layout->show && control->alpha >= 255) return false;
    control->SetShown(true);
    alpha = 0;
    control->SetAlpha(0);
  }
  fades_.push_back({control, show, step, alpha});
  return true;
}

void XFades::Tick(const std::function<void(AControlBase*)>& repaint) {
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

void XFades::Forget(AControlBase* control) {
  fades_.erase(std::remove_if(fades_.begin(), fades_.end(),
                              [control](const Fade& f) { return f.control == control; }),
               fades_.end());
}

}  // namespace qorin
