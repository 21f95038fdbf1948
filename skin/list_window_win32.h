// The Win32 side of the combo boxes' drop-down lists. XSkinListWnd is a real top-level window
// ("XSkinListWnd") drawn with the system colours and the default GUI font, with a vertical scroll
// bar and a size grip; its rules are XDropListModel's. XDropDownsWin32 gives each combo box its
// list, opens it below (or above) the combo and keeps the host's caption active while a list
// has the focus.
//
//   combo click ─► Open ─► list window shown with the focus ─► pointer / keys / wheel / scroll bar
//   ─► a click (or Enter) picks ─► XComboBox::Picked;  Escape, right click, focus lost ─► hidden
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "combo_box.h"
#include "drop_list_model.h"

namespace qorin {

class XDropDownsWin32;

class XSkinListWnd {
 public:
  XSkinListWnd(XDropDownsWin32& lists, XComboBox& combo) : lists_(lists), combo_(combo) {}
  ~XSkinListWnd();
  XSkinListWnd(const XSkinListWnd&) = delete;
  XSkinListWnd& operator=(const XSkinListWnd&) = delete;

  bool Create(HWND owner);
  void SetItems(std::vector<std::u16string> items, int selected);
  // Moves the window to the rectangle (screen), shows it and gives it the keyboard focus.
  void Show(const RECT& rect);
  void Hide();
  bool Visible() const { return window_ != nullptr && IsWindowVisible(window_); }
  // Between showing and losing the focus: the owner's caption stays active meanwhile.
  bool Active() const { return active_; }
  // The selected item's text; the first item's when none is selected.
  std::u16string GetSelectedText() const;
  HWND Window() const { return window_; }
  const XDropListModel& Model() const { return model_; }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Message(UINT message, WPARAM wparam, LPARAM lparam);
  void PlaceChildren();
  void UpdateScroll();
  int DrawWidth() const;
  void Paint();
  void PaintFrame();
  void Pick(int index);
  void ScrollIntoView();
  void Select(int index);
  void LostFocus(HWND to);

  XDropDownsWin32& lists_;
  XComboBox& combo_;
  XDropListModel model_;
  std::vector<std::u16string> items_;
  HWND window_ = nullptr, scroll_ = nullptr, grip_ = nullptr, owner_ = nullptr;
  bool active_ = false;
};

class XDropDownsWin32 final : public IXDropDowns {
 public:
  // The host window, and how a rectangle of the skin maps to the screen.
  void SetHost(HWND host, std::function<RECT(const XRect&)> toScreen) {
    host_ = host;
    toScreen_ = std::move(toScreen);
  }
  void Open(XComboBox& combo) override;
  void Close(XComboBox& combo) override;
  bool IsOpen(const XComboBox& combo) const override;
  void Forget(XComboBox& combo) override;
  void CloseAll();

  // The host's WM_NCACTIVATE: while a list has the focus an inactive caption is not drawn (and
  // an active one is asked for instead); true when the message was answered.
  bool KeepCaptionActive(WPARAM wparam);
  // A list lost the focus to a press on its own combo: that press must not open it again.
  void SwallowNextOpen(XComboBox& combo) { swallow_ = &combo; }
  RECT ScreenRect(const XComboBox& combo) const {
    return toScreen_ ? toScreen_(combo.rect) : RECT{};
  }

 private:
  HWND host_ = nullptr;
  std::function<RECT(const XRect&)> toScreen_;
  std::map<XComboBox*, std::unique_ptr<XSkinListWnd>> lists_;
  XComboBox* swallow_ = nullptr;
};

}  // namespace qorin
