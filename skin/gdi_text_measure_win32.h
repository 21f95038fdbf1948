// Text measuring with GDI for "fit2text": the control's face (the icon-title font's when it has
// none) at its points and the display DPI, measured by DrawTextW with DT_CALCRECT.
#pragma once

#include "control_base.h"

namespace qorin {

class XGdiTextMeasure final : public IXTextMeasure {
 public:
  explicit XGdiTextMeasure(int dpi) : dpi_(dpi) {}
  XSize Measure(std::u16string_view text, const XFontSpec& font, int maxWidth) override;

 private:
  int dpi_;
};

}  // namespace qorin
