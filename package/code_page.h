// Conversion between UTF-16 and the OEM code page in which ZIP entry names are stored. On
// Windows it is the system's OEM page; natively the names are taken as ASCII and other
// characters become '?', as Windows does for characters its page lacks.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qorin {

class IXCodePage {
 public:
  virtual ~IXCodePage() = default;
  virtual std::optional<std::string> ToOem(std::u16string_view text) = 0;
  virtual std::u16string FromOem(std::string_view text) = 0;
};

IXCodePage& SystemCodePage();

}  // namespace qorin
