// MessageBoxW, owned by a window once there is one (the installer's, or the skin's host).
#pragma once

#include <windows.h>

#include "message_box.h"

namespace qorin {

class XMessageBoxWin32 final : public IXMessageBox {
 public:
  explicit XMessageBoxWin32(HWND owner = nullptr) : owner_(owner) {}
  void SetOwner(HWND owner) { owner_ = owner; }
  int ShowMessageBox(std::u16string_view text, std::u16string_view caption,
                     unsigned style) override;

 private:
  HWND owner_;
};

}  // namespace qorin
