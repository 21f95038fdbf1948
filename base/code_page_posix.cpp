#include "code_page.h"
#include "utf.h"

namespace qorin {
namespace {

// Windows-1252 0x80-0x9F; the five unassigned bytes map to the same code point, as
// MultiByteToWideChar does.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

class PosixCodePage final : public IXCodePage {
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

  bool Decode(unsigned codePage, const uint8_t* bytes, size_t length,
              std::u16string* text) override {
    if (codePage == kCodePageUtf8) {
      Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(bytes), length), text);
      return true;
    }
    text->resize(length);
    char16_t* out = text->data();
    for (size_t i = 0; i < length; ++i) {
      i += CopyAscii(bytes + i, length - i, out + i);
      if (i == length) break;
      uint8_t b = bytes[i];
      out[i] = b < 0xA0 ? kWindows1252High[b - 0x80] : b;
    }
    return true;
  }
};

}  // namespace

IXCodePage& SystemCodePage() {
  static PosixCodePage page;
  return page;
}

}  // namespace qorin
