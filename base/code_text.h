// One row of an error table as the tools show it: the code and the system's own text (with its
// English text where the system has one for other user interface languages).
#pragma once

#include <string_view>

namespace qorin {

struct XCodeText {
  int code;
  std::u16string_view text;
  std::u16string_view english;  // empty: the text everywhere
};

}  // namespace qorin
