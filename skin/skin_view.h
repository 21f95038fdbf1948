// XSkinView: the live side of a top-level skin, portable. It owns the root buffer the window
// shows, the queue of damaged rectangles, the command queue, the fades and the pointer routing,
// and asks the window around it (IXSkinSurface) for messages, timers and the screen.
//
//   control changes ─► Invalidate(rect) ─► queue (first: post "WM_XSKIN_INVALIDATE")
//   message / Flush ─► pending layout ─► merged rectangles ─► DrawSubtree into the root buffer
//                   ─► Present(rect) ─► WM_PAINT copies the root buffer
//   Command ─► queue (post "WM_XSKIN_PROCESSCOMMAND") ─► ProcessCommands ─► host
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "bitmap.h"
#include "fades.h"
#include "paint_queue.h"
#include "pointer_router.h"

namespace qorin {

class AControlBase;
class IXSkinSurface;

// A right-to-left host mirrors its client area (WS_EX_LAYOUTRTL: x runs from the right edge);
// the skin lays out and paints left to right. The one conversion between the two, either way.
struct XMirror {
  bool on = false;
  int width = 0;  // of the client area
  int X(int x) const { return on ? width - 1 - x : x; }
  XRect Rect(const XRect& r) const {
    return on ? XRect{width - r.right, r.top, width - r.left, r.bottom} : r;
  }
};
class IXTextCanvas;
class IXTooltipWindow;
class XSkinDocument;
class XSkinTooltip;

class XSkinView {
 public:
  XSkinView(XSkinDocument& skin, IXSkinSurface& surface, IXTextCanvas* canvas,
            XPointerMessages messages = {});
  ~XSkinView();
  XSkinView(const XSkinView&) = delete;
  XSkinView& operator=(const XSkinView&) = delete;

  void SetLoaded(bool loaded) { loaded_ = loaded; }
  bool Loaded() const { return loaded_; }
  IXTextCanvas* Canvas() const { return canvas_; }
  IXSkinSurface& Surface() { return surface_; }
  XSkinDocument& Skin() { return skin_; }

  // The window's size: the root buffer grows to it (never shrinks) and is redrawn whole.
  void Resize(int width, int height);
  // A new client size (0 x 0 while minimised): the root's rectangle, the layout and Resize,
  // only when the size really changed; true then.
  bool LayOut(int width, int height);
  // The first control's place, for the developer log ("skin layout 520x360, page=0,0,520,360").
  std::u16string LayoutLine() const;
  XBitmap& RootBuffer() { return root_; }

  void Invalidate(const XRect& rect);
  void InvalidateControl(const AControlBase& control);
  // Serves the queue (the posted message's handler).
  void Process();
  // Pending layouts and repaints at once; once loaded the whole root buffer is presented.
  void Flush();
  // Milliseconds since the oldest pending request when below 30; otherwise flushes (0).
  int CheckPending();
  size_t QueuedRects() const { return queue_.Size(); }

  // Commands fire through the queue, after the click that fired them has returned.
  void QueueCommand(int number);
  void ProcessCommands();

  // AlphaShow / AlphaHide; the tick runs every 20 ms while fades run.
  void StartFade(AControlBase* control, bool show, int step);
  void FadeTick();
  XFades& Fades() { return fades_; }

  // The menu button whose command (and popup menu) is running, and the one to open next.
  AControlBase* openMenuButton = nullptr;
  AControlBase* pendingPopup = nullptr;
  // How the host mirrors its client area (set by the window before each layout).
  XMirror mirror;
  // While a menu is open: the pointer (skin coordinates) over another menu button makes that
  // one the next to open; true when the open menu is to be closed for it.
  bool SwitchMenuAt(int x, int y);
  // Opens the pending menu button's menu as a click would.
  void OpenPendingMenu();

  XPointerRouter& Pointer() { return router_; }
  // Pointer input, with pending repaints processed after it.
  void PointerMove(int x, int y);
  void PointerButton(XMouseButton button, bool down, int x, int y);
  void PointerLeave();
  // The skin's tooltip, made once loaded when the host wants tooltips (the popup of style
  // "window" from the window side); false when there is none.
  bool CreateTooltip(IXTooltipWindow* window);
  XSkinTooltip* Tooltip() const { return tooltip_.get(); }
  // A tooltip timer ran out with the pointer at (x, y).
  void TooltipTimer(int id, int x, int y);
  // A control that goes is forgotten by the routing, the fades and the timers.
  void Forget(AControlBase* control);

 private:
  void Compose(const XRect& rect);
  XRect GrowByBlur(XRect rect, const AControlBase& control) const;

  XSkinDocument& skin_;
  IXSkinSurface& surface_;
  int laidOutWidth_ = -1, laidOutHeight_ = -1;
  IXTextCanvas* canvas_;
  XBitmap root_;
  XPaintQueue queue_;
  std::vector<int> commands_;
  XFades fades_;
  XPointerRouter router_;
  std::unique_ptr<XSkinTooltip> tooltip_;
  bool loaded_ = false;
};

}  // namespace qorin
