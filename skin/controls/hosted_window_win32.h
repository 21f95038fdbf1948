// The Win32 side of hosted windows: child windows of the host made or adopted, placed, shown,
// coloured through a subclass of the host (WM_CTLCOLOREDIT / WM_CTLCOLORSTATIC) and let go.
#pragma once

#include "hosted_window.h"

namespace qorin {

class XHostedWindowsWin32 final : public IXHostedWindows {
 public:
  bool Attach(XWindow& control, const XXmlNode& element, bool shown) override;
  void Place(XWindow& control, const XRect& rect) override;
  void Show(XWindow& control, bool shown) override;
  void SetText(XWindow& control, const std::u16string& text) override;
  std::u16string Text(const XWindow& control) override;
  void Enable(XWindow& control, bool on) override;
  bool Focus(XWindow& control) override;
  void Detach(XWindow& control) override;
};

}  // namespace qorin
