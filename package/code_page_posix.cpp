#include "code_page.h"

namespace qorin {
namespace {

class AsciiCodePage final : public IXCodePage {
 public:
  std::optional<std::string> ToOem(std::u16string_view text) override {
    std::string out;
    for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
  }
  std::u16string FromOem(std::string_view text) override {
    std::u16string out;
    for (char c : text)
      out += static_cast<unsigned char>(c) < 0x80 ? static_cast<char16_t>(c) : u'?';
    return out;
  }
};

}  // namespace

IXCodePage& SystemCodePage() {
  static AsciiCodePage page;
  return page;
}

}  // namespace qorin
