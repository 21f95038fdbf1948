// IXSkinSurface: what the painter, the pointer routing and the timed effects ask of the window
// around a skin. XXSkin implements it with the host window, its message window and the time
// manager's windows; the native tests with a recording fake.
#pragma once

#include <cstdint>
#include <string>

#include "bitmap.h"

namespace qorin {

class AControlBase;

// The modifier keys held now.
enum XHeldKey : int { kHeldCtrl = 1, kHeldShift = 2 };

class IXSkinSurface {
 public:
  virtual ~IXSkinSurface() = default;
  // "WM_XSKIN_INVALIDATE" / "WM_XSKIN_PROCESSCOMMAND" to the skin's message window.
  virtual void PostInvalidate() = 0;
  virtual void PostProcessCommand() = 0;
  // Re-layouts requested by controls run before repainting.
  virtual void RunPendingLayout() = 0;
  // The composed part of the root buffer goes to the screen now.
  virtual void Present(const XRect& rect) = 0;
  virtual uint32_t Ticks() = 0;
  // Posts to the host window and tells the host's callback.
  virtual void PostToHost(unsigned message, uintptr_t wparam, intptr_t lparam) = 0;
  // WM_COMMAND sent at once to the host (a menu button's command) when commands are forwarded.
  virtual void SendHostCommand(int number) = 0;
  // The host's callback for a command with a name.
  virtual void CommandFired(int number) = 0;
  virtual void TrackMouseLeave() = 0;
  virtual void CaptureMouse(bool on) = 0;
  // Timer 3 of the fade window, every 20 ms while fades run.
  virtual void SetFadeTimer(bool on) = 0;
  virtual void SetControlTimer(AControlBase* control, int id, int milliseconds) = 0;
  virtual void KillControlTimers(AControlBase* control) = 0;
  // A click's script text (OnClick) through DoScript.
  virtual void RunScript(const std::u16string& text) = 0;
  // The tooltip's timers (1: the show delay, 2: auto-hide) of the skin's message window.
  virtual void SetTooltipTimer(int id, int milliseconds) = 0;
  virtual void KillTooltipTimer(int id) = 0;
  // Which of kHeldCtrl and kHeldShift are down.
  virtual int HeldKeys() = 0;
};

}  // namespace qorin
