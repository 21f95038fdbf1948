// Mouse and keyboard input of a skin window, routed to controls: the hover list (innermost
// last), the captured control, the focus control and the leave tracking. Coordinates arrive in
// the skin's own (left-to-right) terms; controls receive them relative to their rectangle.
#pragma once

#include <vector>

namespace qorin {

class AControlBase;
class IXSkinSurface;
class XSkinDocument;
class XSkinTooltip;

enum XMouseButton { kLeftButton, kRightButton, kMiddleButton };

// Registered message numbers posted to the host (0 in tests that do not care): the router's, and
// the slider's "changing" and "changed".
struct XPointerMessages {
  unsigned mouseOver = 0, mouseLeave = 0;
  unsigned sliderChanging = 0, sliderChanged = 0;
  unsigned listSelChange = 0, listActiveItem = 0, listMouseClick = 0;
  unsigned comboChanged = 0;
};

class XPointerRouter {
 public:
  XPointerRouter(XSkinDocument& skin, IXSkinSurface& surface, XPointerMessages messages)
      : skin_(skin), surface_(surface), messages_(messages) {}

  void Move(int x, int y);
  void ButtonDown(XMouseButton button, int x, int y);
  void ButtonUp(XMouseButton button, int x, int y);
  void DoubleClick(int x, int y);
  void Wheel(int delta, int keys, int x, int y);
  void KeyDown(int key, int high, int sign);
  // WM_MOUSELEAVE: every hovered control is left.
  void Leave();

  // A control's own pointer handling adds it (unless it is already last).
  void AddHover(AControlBase* control);
  void SetCapture(AControlBase* control);
  void ReleaseCapture(AControlBase* control);
  void SetFocus(AControlBase* control);
  // A control that goes is forgotten.
  void Forget(AControlBase* control);

  const std::vector<AControlBase*>& Hovered() const { return hovered_; }
  const XPointerMessages& Messages() const { return messages_; }
  // The skin's tooltip, told where the pointer rests and what it leaves (none: no tooltips).
  void SetTooltip(XSkinTooltip* tooltip) { tooltip_ = tooltip; }
  AControlBase* Captured() const { return captured_; }
  AControlBase* Focus() const { return focus_; }

 private:
  AControlBase* Under(int x, int y) const;
  void LeaveControl(AControlBase* control);
  void LeaveOutside(int x, int y);

  XSkinDocument& skin_;
  IXSkinSurface& surface_;
  XPointerMessages messages_;
  std::vector<AControlBase*> hovered_;
  AControlBase* captured_ = nullptr;
  AControlBase* focus_ = nullptr;
  bool tracking_ = false;
  XSkinTooltip* tooltip_ = nullptr;
};

}  // namespace qorin
