// Conversions between UTF-16 and the system's byte code pages: the OEM page in which ZIP entry
// names are stored, and the ANSI page (or UTF-8) of XML files without a byte-order mark. On
// Windows these are the system's pages; natively entry names are taken as ASCII (other
// characters become '?', as Windows does for characters its page lacks) and the ANSI page is
// Windows-1252.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qorin {

constexpr unsigned kCodePageAnsi = 0;
constexpr unsigned kCodePageUtf8 = 65001;

class IXCodePage {
 public:
  virtual ~IXCodePage() = default;
  virtual std::optional<std::string> ToOem(std::u16string_view text) = 0;
  virtual std::u16string FromOem(std::string_view text) = 0;
  // Bytes in kCodePageUtf8 or kCodePageAnsi as text; false when the system refuses them.
  virtual bool Decode(unsigned codePage, const uint8_t* bytes, size_t length,
                      std::u16string* text) = 0;
};

// The process's own implementation.
IXCodePage& SystemCodePage();

}  // namespace qorin
