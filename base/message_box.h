// Message boxes as the user sees them: the installer's checks before its window exists, the
// scripts' MessageBox functions, the extraction's question, the skin's own errors. One seam,
// one Win32 implementation (message_box_win32.h), fakes in the tests.
#pragma once

#include <string_view>

namespace qorin {

// Styles and answers with the Win32 values.
constexpr unsigned kBoxOk = 0x0;              // MB_OK
constexpr unsigned kBoxIconWarning = 0x30;    // MB_ICONWARNING
constexpr unsigned kBoxSystemModal = 0x1000;  // MB_SYSTEMMODAL

class IXMessageBox {
 public:
  virtual ~IXMessageBox() = default;
  // Shows the box until the user closes it; the button that closed it (IDOK 1, IDCANCEL 2, ...).
  virtual int ShowMessageBox(std::u16string_view text, std::u16string_view caption,
                             unsigned style) = 0;
};

}  // namespace qorin
