// Window style names of the skin language ("WS_CHILD | WS_VISIBLE | ES_MULTILINE"): the Windows
// WS_, WS_EX_, ES_ and LVS_ constants with their standard values, combined. Unknown names add
// nothing and are reported through *unknown when asked.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qorin {

uint32_t ParseWindowStyles(std::u16string_view text, std::u16string* unknown = nullptr);
// The style names WindowStyle takes.
std::vector<std::u16string_view> WindowStyleNames();

}  // namespace qorin
