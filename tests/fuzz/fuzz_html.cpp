// libFuzzer: arbitrary bytes as the UTF-16 markup of an HtmlText control, parsed, broken into
// lines at several widths (also right to left) and drawn through a fixed-pitch canvas.
#include <cstddef>
#include <cstdint>
#include <string>

#include "html_text.h"

namespace {

class FixedCanvas final : public qorin::IXTextCanvas {
 public:
  qorin::XSize Measure(const qorin::XFontSpec& font, std::u16string_view text, uint32_t) override {
    return text.empty() ? qorin::XSize{}
                        : qorin::XSize{static_cast<int>(text.size()) * 7, font.bold ? 15 : 13};
  }
  bool Draw(qorin::XBitmap&, const qorin::XFontSpec&, qorin::XColour, std::u16string_view,
            const qorin::XRect&, uint32_t, const qorin::XRect*) override {
    return true;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string markup(size / 2, u'\0');
  for (size_t i = 0; i < markup.size(); ++i)
    markup[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
  FixedCanvas canvas;
  qorin::XBitmap target;
  for (bool rightToLeft : {false, true}) {
    qorin::XHtmlText html(canvas, {}, 0, rightToLeft, false);
    if (!html.SetMarkup(markup)) continue;
    for (int width : {1, 20, 300}) {
      html.Layout(width);
      qorin::XRect clip{0, 10, 300, 200};
      html.Draw(target, 0, 0, 200, width == 20, &clip);
    }
  }
  return 0;
}
