// libFuzzer: arbitrary bytes as a skin file: XML, Head, control tree, then the layout at a few
// sizes, left to right and right to left.
#include <cstddef>
#include <cstdint>

#include "approximate_text_measure.h"
#include "skin_document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (bool rightToLeft : {false, true}) {
    qorin::XResourceProvider resources;
    qorin::XApproximateTextMeasure measure(144);
    qorin::XSkinDocument document(resources);
    document.SetDpi(144);
    document.SetRightToLeft(rightToLeft);
    document.SetTextMeasure(&measure);
    if (!document.LoadBytes(u"skin.xml", data, size)) {
      (void)document.Error().Text(0x409);
      return 0;
    }
    for (auto [width, height] : {std::pair{0, 0}, {320, 240}, {1920, 1080}, {7, 3000}})
      document.Layout().LayoutAll(width, height);
  }
  return 0;
}
