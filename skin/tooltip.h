// XSkinTooltip: the skin's one tooltip. A control with a Tooltip text shows it after the pointer
// has rested on it for the skin's delay, hidden again when the pointer leaves (or after 3 s with
// AutoHideTooltip). Style "control" draws it as a Static inside the skin (built from a fixed
// skin text, ID "XSKIN_TOOLTIP_ID"); style "window" as a top-most popup (IXTooltipWindow,
// tooltip_window_win32); style "hide" shows none.
//
//   pointer moves over a control with a tooltip ─► remember it and the point ─► timer 1 (delay)
//   timer 1: the pointer still there ─► ShowTip (and timer 2, 3000 ms, with auto-hide)
//   timer 2, leaving the control, the skin losing the pointer ─► HideTip
//   a button pressed ─► HideTip, and no tip for that control until the pointer has left it
#pragma once

#include <string>

#include "rect.h"
#include "skin_values.h"
#include "text_canvas.h"

namespace qorin {

class AControlBase;
class IXSkinSurface;
class XSkinDocument;

// The popup of style "window": made with the skin's colours, shown at the cursor by the position.
class IXTooltipWindow {
 public:
  virtual ~IXTooltipWindow() = default;
  virtual bool Create(XColour background, XColour text, int position) = 0;
  virtual void Show(const std::u16string& text) = 0;
  virtual void Hide() = 0;
};

enum XTooltipStyle : int { kTooltipControl = 0, kTooltipWindow = 1, kTooltipHide = 2 };
enum XTooltipPosition : int { kTipBottom = 0, kTipTop = 1, kTipLeft = 2, kTipRight = 3 };
constexpr int kTooltipDelayTimer = 1, kTooltipHideTimer = 2;
constexpr int kTooltipAutoHideMs = 3000;

// Style "control": below the control (a text of width × height), moved left to stay inside the
// root, then right to stay at 0 or more, and above the control when it would pass the bottom.
XRect ControlTooltipRect(const XRect& control, XSize text, const XRect& root);
// Style "window": a window of size moved `offset` from the cursor by the position, fitted into
// the work area; when the cursor is then inside it, it goes 5 pixels above the cursor.
XRect WindowTooltipRect(int x, int y, XSize size, int position, int offset, const XRect& work);

class XSkinTooltip {
 public:
  XSkinTooltip(XSkinDocument& skin, IXSkinSurface& surface) : skin_(skin), surface_(surface) {}

  // Builds the style's tooltip; false when there is none (style "hide", or it failed).
  bool Create(IXTooltipWindow* window);

  // The pointer (client coordinates) moved over a control.
  void PointerMoved(AControlBase* control, int x, int y);
  // A tooltip timer ran out; the pointer is at (x, y) now.
  void Timer(int id, int x, int y);
  // The pointer left a control, or the skin altogether.
  void Left(AControlBase* control);
  void LostPointer();
  // A mouse button went down on a control.
  void Pressed(AControlBase* control);
  void Forget(AControlBase* control);

  void ShowTip(AControlBase& control, const std::u16string& text);
  void HideTip();
  AControlBase* Shown() const { return shown_; }
  AControlBase* TipControl() const { return tipControl_; }

  bool active = true;

 private:
  XSkinDocument& skin_;
  IXSkinSurface& surface_;
  int style_ = kTooltipHide;
  IXTooltipWindow* window_ = nullptr;
  AControlBase* tipControl_ = nullptr;
  AControlBase* pending_ = nullptr;
  AControlBase* shown_ = nullptr;
  AControlBase* pressed_ = nullptr;
  std::u16string shownText_;
  bool pendingAutoHide_ = true;
  int startX_ = 0, startY_ = 0;
};

}  // namespace qorin
