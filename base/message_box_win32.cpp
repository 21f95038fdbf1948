#include "message_box_win32.h"

#include "wide_text_win32.h"

namespace qorin {

int XMessageBoxWin32::ShowMessageBox(std::u16string_view text, std::u16string_view caption,
                                     unsigned style) {
  HWND owner = owner_ != nullptr && IsWindow(owner_) ? owner_ : nullptr;
  return MessageBoxW(owner, Wide(text).c_str(), Wide(caption).c_str(), style);
}

}  // namespace qorin
