// XWindow (tag Window): a real child window of the host (an edit or rich-edit box, or a window
// the host registered) placed by the skin's layout and coloured by it. The attributes are read
// here; making, moving and colouring the window is the system side, IXHostedWindows, which the
// skin window gives its document (hosted_window_win32.cpp). Without one (the tools, the native
// tests) there is no window and the control only takes its place in the layout.
#pragma once

#include <cstdint>
#include <string>

#include "control_base.h"

namespace qorin {

class XWindow;

class IXHostedWindows {
 public:
  virtual ~IXHostedWindows() = default;
  // Makes or adopts the control's window; false with the skin error recorded.
  virtual bool Attach(XWindow& control, const XXmlNode& element, bool shown) = 0;
  virtual void Place(XWindow& control, const XRect& rect) = 0;
  virtual void Show(XWindow& control, bool shown) = 0;
  virtual void SetText(XWindow& control, const std::u16string& text) = 0;
  virtual std::u16string Text(const XWindow& control) = 0;
  virtual void Enable(XWindow& control, bool on) = 0;
  virtual bool Focus(XWindow& control) = 0;
  // Lets the window go (destroyed when it was made for the control).
  virtual void Detach(XWindow& control) = 0;
};

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
  int windowEnable = -1;  // -1 not given
  // The system side's record: the window handle, whether it was made here, a library it loaded.
  void* window = nullptr;
  bool created = false;
  void* library = nullptr;

 private:
  IXHostedWindows* System() const;
};

}  // namespace qorin
