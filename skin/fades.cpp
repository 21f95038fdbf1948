#include "fades.h"

#include <algorithm>

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

void XFades::Forget(AControlBase* control) {
  fades_.erase(std::remove_if(fades_.begin(), fades_.end(),
                              [control](const Fade& f) { return f.control == control; }),
               fades_.end());
}

}  // namespace qorin
