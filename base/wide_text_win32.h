// UTF-16 text between the portable core (char16_t) and the Win32 API (wchar_t, also UTF-16 on
// Windows): copies, so the two string types never alias.
#pragma once

#include <string>
#include <string_view>

namespace qorin {

inline std::wstring Wide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}

inline std::u16string FromWide(std::wstring_view text) {
  return std::u16string(text.begin(), text.end());
}

}  // namespace qorin
