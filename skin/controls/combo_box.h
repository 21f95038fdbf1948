// XComboBox (tag ComboBox): a button that opens a drop-down list of its items below itself (above
// when the screen has no room below), shows the picked item's text and posts
// "WM_XSKINNOTIFY_COMBOBOX_CHANGED" with its ID. The list is a real window on Windows
// (XSkinListWnd, list_window_win32), reached through IXDropDowns, which the skin window gives
// its document; without one (the tools, the native tests) a click opens nothing.
//
//   click ─► IXDropDowns::Open (or Close when open) ─► the user picks ─► Picked(index)
//   ─► text, selected index, "changed" posted to the host
#pragma once

#include <string>
#include <vector>

#include "button.h"

namespace qorin {

class XComboBox;

class IXDropDowns {
 public:
  virtual ~IXDropDowns() = default;
  // Opens the combo's list under (or over) its rectangle; a click that closed the list on its
  // way to the combo opens nothing.
  virtual void Open(XComboBox& combo) = 0;
  virtual void Close(XComboBox& combo) = 0;
  virtual bool IsOpen(const XComboBox& combo) const = 0;
  // The combo goes, and its list window with it.
  virtual void Forget(XComboBox& combo) = 0;
};

// Where a list of listHeight opens for a combo (screen coordinates): below it, or above it when
// the work area has no room below but has room above.
XRect DropDownRect(const XRect& combo, int listHeight, const XRect& workArea);

class XComboBox final : public XButton {
 public:
  ~XComboBox() override;
  bool LoadAttributes(const XXmlNode& element, XLayoutNode& layoutNode) override;
  std::span<const XAttribute> LaterAttributes() const override;
  void AddData(const XXmlNode& data) override;

  // The user picked an item in the list: its text shown, the change posted.
  void Picked(int index);

  std::vector<std::u16string> items;
  int selected = -1;
  int listHeight = 100;  // pixels, not scaled for the DPI

 protected:
  int Release(Which button) override;

 private:
  IXDropDowns* DropDowns() const;
};

}  // namespace qorin
