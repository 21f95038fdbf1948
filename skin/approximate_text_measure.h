// Text measuring without a system font engine, for the native tools: every character is half
// an em wide and a line is 1.25 em high, the em being the font's points at the DPI. Results are
// approximations; the stub measures with GDI.
#pragma once

#include "control_base.h"

namespace qorin {

class XApproximateTextMeasure final : public IXTextMeasure {
 public:
  explicit XApproximateTextMeasure(int dpi) : dpi_(dpi) {}
  XSize Measure(std::u16string_view text, const XFontSpec& font, int maxWidth) override;
  // Whether anything was measured (the tools then say their sizes are approximate).
  bool Used() const { return used_; }

 private:
  int dpi_;
  bool used_ = false;
};

}  // namespace qorin
