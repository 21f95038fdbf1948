// XFullscreenHandler: the host window's messages that keep a frameless (custom-frame) skin window
// sound when it is maximised: the style of its mode, a rectangular region while it is restored,
// and a client area that fills the work area of its monitor (not the whole screen, and not beyond
// it). XXSkin asks it first when the host wants full-screen handling.
//
//   WM_WINDOWPOSCHANGING ─► mode (normal / maximised) ─► style
//   WM_NCCALCSIZE, maximised ─► the proposed rectangle less the frame the system adds around a
//   maximised window (and a pixel for an auto-hidden taskbar)
#pragma once

#include <windows.h>

namespace qorin {

class XFullscreenHandler {
 public:
  void Attach(HWND host, bool region) {
    host_ = host;
    region_ = region;
  }
  bool Attached() const { return host_ != nullptr; }
  // True when the message was answered (with *result); false lets it go on to the window.
  bool Message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result);
  int Mode() const { return mode_; }

 private:
  void ApplyStyle();
  void MaximisedClient(RECT* proposed) const;

  HWND host_ = nullptr;
  bool region_ = false;
  int mode_ = 0;
  int regionWidth_ = -1, regionHeight_ = -1;
};

}  // namespace qorin
