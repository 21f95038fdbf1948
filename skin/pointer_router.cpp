#include "pointer_router.h"

#include <algorithm>

#include "control_base.h"
#include "skin_document.h"
#include "skin_surface.h"
#include "tooltip.h"

namespace qorin {

AControlBase* XPointerRouter::Under(int x, int y) const {
  AControlBase* root = skin_.Root();
  if (root == nullptr) return nullptr;
  return root->ControlAt(x, y);
}

void XPointerRouter::LeaveControl(AControlBase* control) {
  hovered_.erase(std::remove(hovered_.begin(), hovered_.end(), control), hovered_.end());
  control->hovered = false;
  control->OnMouseLeave();
  if (tooltip_ != nullptr) tooltip_->Left(control);
  if (control->id != AControlBase::kNone && messages_.mouseLeave != 0)
    surface_.PostToHost(messages_.mouseLeave, static_cast<uintptr_t>(control->id), 0);
}

void XPointerRouter::LeaveOutside(int x, int y) {
  std::vector<AControlBase*> left;
  for (AControlBase* c : hovered_) {
    if (c == captured_ || c->HitTest(x, y)) continue;
    AControlBase* related = c->GetRelatedControl();
    if (related != nullptr && related->HitTest(x, y)) continue;
    left.push_back(c);
  }
  for (AControlBase* c : left) LeaveControl(c);
}

void XPointerRouter::Move(int x, int y) {
  AControlBase* root = skin_.Root();
  if (root == nullptr || !root->enabled || skin_.IsChild()) return;
  LeaveOutside(x, y);
  AControlBase* target = captured_ != nullptr ? captured_ : Under(x, y);
  if (target != nullptr) {
    target->OnMouseMove(x - target->rect.left, y - target->rect.top);
    if (tooltip_ != nullptr) tooltip_->PointerMoved(target, x, y);
    if (target->id != AControlBase::kNone && messages_.mouseOver != 0)
      surface_.PostToHost(messages_.mouseOver, static_cast<uintptr_t>(target->id), 0);
  }
  if (!hovered_.empty() && !tracking_) {
    surface_.TrackMouseLeave();
    tracking_ = true;
  }
}

void XPointerRouter::ButtonDown(XMouseButton button, int x, int y) {
  AControlBase* target = Under(x, y);
  if (target == nullptr) {
    SetFocus(nullptr);
    return;
  }
  if (tooltip_ != nullptr) tooltip_->Pressed(target);
  int rx = x - target->rect.left, ry = y - target->rect.top;
  if (button == kLeftButton) target->OnLButtonDown(rx, ry);
  if (button == kRightButton) target->OnRButtonDown(rx, ry);
  if (button == kMiddleButton) target->OnMButtonDown(rx, ry);
  SetFocus(target);
}

void XPointerRouter::ButtonUp(XMouseButton button, int x, int y) {
  AControlBase* target = captured_ != nullptr ? captured_ : Under(x, y);
  if (target == nullptr) return;
  int rx = x - target->rect.left, ry = y - target->rect.top;
  if (button == kLeftButton) target->OnLButtonUp(rx, ry);
  if (button == kRightButton) target->OnRButtonUp(rx, ry);
  if (button == kMiddleButton) target->OnMButtonUp(rx, ry);
}

void XPointerRouter::DoubleClick(int x, int y) {
  AControlBase* target = captured_ != nullptr ? captured_ : Under(x, y);
  if (target == nullptr) return;
  target->OnLButtonDblClk(x - target->rect.left, y - target->rect.top);
}

void XPointerRouter::Wheel(int delta, int keys, int x, int y) {
  AControlBase* target = Under(x, y);
  if (target == nullptr) target = focus_;
  if (target != nullptr)
    target->OnMouseWheel(delta, keys, x - target->rect.left, y - target->rect.top);
}

void XPointerRouter::KeyDown(int key, int high, int sign) {
  if (focus_ != nullptr) focus_->OnKeyDown(key, high, sign);
}

void XPointerRouter::Leave() {
  tracking_ = false;
  if (tooltip_ != nullptr) tooltip_->LostPointer();
  std::vector<AControlBase*> all = hovered_;
  for (AControlBase* c : all) {
    if (c != captured_) LeaveControl(c);
  }
}

void XPointerRouter::AddHover(AControlBase* control) {
  control->hovered = true;
  if (!hovered_.empty() && hovered_.back() == control) return;
  hovered_.erase(std::remove(hovered_.begin(), hovered_.end(), control), hovered_.end());
  hovered_.push_back(control);
}

void XPointerRouter::SetCapture(AControlBase* control) {
  captured_ = control;
  surface_.CaptureMouse(true);
}

void XPointerRouter::ReleaseCapture(AControlBase* control) {
  if (captured_ != control) return;
  captured_ = nullptr;
  surface_.CaptureMouse(false);
}

void XPointerRouter::SetFocus(AControlBase* control) {
  if (control == focus_) return;
  AControlBase* old = focus_;
  focus_ = control != nullptr && control->OnSetFocus() != 0 ? control : nullptr;
  if (old != nullptr && old != focus_) old->OnKillFocus();
}

void XPointerRouter::Forget(AControlBase* control) {
  hovered_.erase(std::remove(hovered_.begin(), hovered_.end(), control), hovered_.end());
  if (captured_ == control) captured_ = nullptr;
  if (focus_ == control) focus_ = nullptr;
}

}  // namespace qorin
