#include "tooltip.h"

#include <algorithm>

#include "controls.h"
#include "skin_document.h"
#include "skin_surface.h"

namespace qorin {
namespace {

// The tooltip control of style "control", built like any other part of the skin.
constexpr char16_t kTipBody[] =
    u"<Body><Static ID='XSKIN_TOOLTIP_ID' Name='ToolTip' Text='tooltip' Align='fixed' Left='10' "
    u"Top='10' Width='100' Height='100' Color='#F1FFBC' FontFace='SystemIconFont' FontSize='9' "
    u"FontColor='black' Show='false' TextFormat='center' Alpha='255' BorderColor='gray' /></Body>";

XRect Fit(XRect r, const XRect& area) {
  int dx = 0, dy = 0;
  if (r.right > area.right) dx = area.right - r.right;
  if (r.left + dx < area.left) dx = area.left - r.left;
  if (r.bottom > area.bottom) dy = area.bottom - r.bottom;
  if (r.top + dy < area.top) dy = area.top - r.top;
  return Offset(r, dx, dy);
}

}  // namespace

XRect ControlTooltipRect(const XRect& control, XSize text, const XRect& root) {
  XRect r{control.left, control.bottom + 3, control.left + text.width + 6,
          control.bottom + text.height + 7};
  if (r.right > root.right) r = Offset(r, root.right - r.right, 0);
  if (r.left < 0) r = Offset(r, -r.left, 0);
  if (r.bottom > root.bottom) {
    r.top = control.top - text.height - 7;
    r.bottom = control.top - 3;
  }
  return r;
}

XRect WindowTooltipRect(int x, int y, XSize size, int position, int offset, const XRect& work) {
  int left = x, top = y;
  switch (position) {
    case kTipTop: top -= offset + size.height; break;
    case kTipLeft: left -= offset + size.width; break;
    case kTipRight: left += offset; break;
    default: top += offset; break;
  }
  XRect r = Fit({left, top, left + size.width, top + size.height}, work);
  if (ContainsPoint(r, x, y)) r = Fit(Offset(r, 0, y - 5 - r.bottom), work);
  return r;
}

bool XSkinTooltip::Create(IXTooltipWindow* window) {
  style_ = skin_.Head().tooltipStyle;
  if (style_ == kTooltipWindow) {
    const XSkinHead& head = skin_.Head();
    if (window == nullptr ||
        !window->Create(head.tooltipColour, head.tooltipTextColour, head.tooltipPosition)) {
      style_ = kTooltipHide;
      return false;
    }
    window_ = window;
    return true;
  }
  if (style_ != kTooltipControl) return false;
  skin_.Ids().Add(u"XSKIN_TOOLTIP_ID", -1);
  tipControl_ = skin_.BuildBodyText(kTipBody);
  if (dynamic_cast<XStatic*>(tipControl_) == nullptr) {
    tipControl_ = nullptr;
    style_ = kTooltipHide;
    return false;
  }
  return true;
}

void XSkinTooltip::PointerMoved(AControlBase* control, int x, int y) {
  if (style_ == kTooltipHide || !active || control == nullptr || control->tooltip.empty()) return;
  if (control == pressed_) return;
  pressed_ = nullptr;
  pending_ = control;
  pendingAutoHide_ = control->autoHideTooltip;
  startX_ = x, startY_ = y;
  surface_.SetTooltipTimer(kTooltipDelayTimer, std::max(0, skin_.Head().tooltipShowDelay));
}

void XSkinTooltip::Timer(int id, int x, int y) {
  surface_.KillTooltipTimer(id);
  if (id == kTooltipHideTimer) {
    HideTip();
    return;
  }
  if (id != kTooltipDelayTimer || pending_ == nullptr || x != startX_ || y != startY_) return;
  // A control hidden meanwhile (a page switched by the click) has nothing to point at.
  if (IsEmpty(pending_->rect) || pending_->layout == nullptr || !pending_->layout->show) return;
  if (shown_ == pending_ && shownText_ == pending_->tooltip) return;
  ShowTip(*pending_, pending_->tooltip);
  if (pendingAutoHide_) surface_.SetTooltipTimer(kTooltipHideTimer, kTooltipAutoHideMs);
}

void XSkinTooltip::Left(AControlBase* control) {
  if (control != nullptr && control == pressed_) pressed_ = nullptr;
  if (control == nullptr || (control != shown_ && control != pending_)) return;
  LostPointer();
}

void XSkinTooltip::LostPointer() {
  surface_.KillTooltipTimer(kTooltipDelayTimer);
  pending_ = nullptr;
  HideTip();
}

void XSkinTooltip::Pressed(AControlBase* control) {
  LostPointer();
  pressed_ = control;
}

void XSkinTooltip::Forget(AControlBase* control) {
  if (control == pressed_) pressed_ = nullptr;
  if (control == pending_ || control == shown_) LostPointer();
  if (control == tipControl_) tipControl_ = nullptr;
}

void XSkinTooltip::ShowTip(AControlBase& control, const std::u16string& text) {
  shown_ = &control;
  shownText_ = text;
  if (window_ != nullptr) {
    window_->Show(text);
    return;
  }
  if (tipControl_ == nullptr || tipControl_->layout == nullptr) return;
  tipControl_->SetShown(false);
  tipControl_->SetText(text);
  XSize size = skin_.TextMeasure() != nullptr
                   ? skin_.TextMeasure()->Measure(text, tipControl_->font, 0)
                   : XSize{static_cast<int>(text.size()) * 7, 15};
  XRect root = skin_.Root() != nullptr ? skin_.Root()->rect : XRect{};
  XRect at = ControlTooltipRect(control.rect, size, root);
  XLayoutNode& node = *tipControl_->layout;
  node.left = at.left, node.top = at.top, node.width = at.Width(), node.height = at.Height();
  tipControl_->SetShown(true);
  if (skin_.RequestLayout(tipControl_)) surface_.RunPendingLayout();
}

void XSkinTooltip::HideTip() {
  surface_.KillTooltipTimer(kTooltipHideTimer);
  shown_ = nullptr;
  shownText_.clear();
  if (tipControl_ != nullptr) tipControl_->SetShown(false);
  if (window_ != nullptr) window_->Hide();
}

}  // namespace qorin
