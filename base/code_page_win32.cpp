#include <windows.h>

#include "code_page.h"

namespace qorin {
namespace {

class Win32CodePage final : public IXCodePage {
 public:
  std::optional<std::string> ToOem(std::u16string_view text) override {
    if (text.empty()) return std::string();
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    int size = WideCharToMultiByte(CP_OEMCP, 0, wide, static_cast<int>(text.size()), nullptr, 0,
                                   nullptr, nullptr);
    if (size <= 0) return std::nullopt;
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_OEMCP, 0, wide, static_cast<int>(text.size()), out.data(), size, nullptr,
                        nullptr);
    return out;
  }

  std::u16string FromOem(std::string_view text) override {
    if (text.empty()) return {};
    int size =
        MultiByteToWideChar(CP_OEMCP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::u16string out(static_cast<size_t>(size > 0 ? size : 0), u'\0');
    MultiByteToWideChar(CP_OEMCP, 0, text.data(), static_cast<int>(text.size()),
                        reinterpret_cast<wchar_t*>(out.data()), size);
    return out;
  }

  bool Decode(unsigned codePage, const uint8_t* bytes, size_t length,
              std::u16string* text) override {
    text->clear();
    if (length == 0) return true;
    if (length > 0x7FFFFFFF) return false;
    UINT page = codePage == kCodePageUtf8 ? CP_UTF8 : CP_ACP;
    const char* input = reinterpret_cast<const char*>(bytes);
    int size = MultiByteToWideChar(page, 0, input, static_cast<int>(length), nullptr, 0);
    if (size <= 0) return false;
    text->resize(static_cast<size_t>(size));
    return MultiByteToWideChar(page, 0, input, static_cast<int>(length),
                               reinterpret_cast<wchar_t*>(text->data()), size) == size;
  }
};

}  // namespace

IXCodePage& SystemCodePage() {
  static Win32CodePage page;
  return page;
}

}  // namespace qorin
