// XWindow (tag Window): a real child window of the host (an edit or rich-edit box, or a window
// the host registered) placed by the skin's layout and coloured by it. The attributes are read
// here; making, moving and colouring the window is the system side (hosted_window_win32.cpp;
// natively there is no window and the control only takes its place in the layout).
#pragma once

#include <cstdint>
#include <string>

#include "control_base.h"

namespace qorin {

class XWindow final : public AControlBase {
 public:
  ~XWindow() override;
  std::span<const XAttribute> OwnAttributes() const override;
  bool LoadAttributes(const XXmlNode& element, XLayoutNode& layoutNode) override;
  int OnAlign(const XRect& rect) override;
  void OnShow(bool shown) override;
  void SetText(std::u16string text) override;
  std::u16string GetText() const override;
  void Enable(bool on) override;
  int OnSetFocus() override;
  bool AcceptsInput() const override { return false; }  // the window takes its own input

  enum Colour { kText, kBackground, kTextReadOnly, kBackgroundReadOnly, kBackgroundDisabled };

  std::u16string handleName, className, windowText;
  int windowId = kNone;
  uint32_t style = 0x50000000;  // WS_CHILD | WS_VISIBLE
  uint32_t exStyle = 0;
  XColour colours[5] = {-1, -1, -1, -1, -1};
  XColour richEditBackground = -1;
  int windowEnable = -1;   // -1 not given
  void* window = nullptr;  // the system's window handle

 private:
  // The system side: make or adopt the window (false with the skin error recorded), place it,
  // and let it go.
  bool Attach(const XXmlNode& element, bool shown);
  void Place(const XRect& rect);
  void Detach();

  bool created_ = false;
  void* library_ = nullptr;
};

}  // namespace qorin
