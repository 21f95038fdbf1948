// XStatic (tag Static): a panel with a colour, one of nine images and a text; with NcHitTest it
// answers a hit-test code (a caption to drag the window by, a border to size it). XGroupBox
// (tag GroupBox): a static with an etched frame whose line stops behind its caption.
#pragma once

#include "control_base.h"

namespace qorin {

class XStatic : public AControlBase {
 public:
  static constexpr int kNoHitTest = -2;

  std::span<const XAttribute> OwnAttributes() const override;
  bool LoadAttributes(const XXmlNode& element, XLayoutNode& layoutNode) override;
  int RenderBuffer(int flags) override;
  int SetImageNum(int index) override;
  bool AcceptsInput() const override { return hitTestCode != kNoHitTest; }

  XColour colour = -1;
  XBitmap* images[9] = {};
  int current = 0;
  int imageType = 0;
  bool drawBackground = true;
  int hitTestCode = kNoHitTest;

 protected:
  void RenderStatic();
  bool Plain() const;
};

class XGroupBox final : public XStatic {
 public:
  bool LoadAttributes(const XXmlNode& element, XLayoutNode& layoutNode) override;
  int RenderBuffer(int flags) override;
  XRect CaptionRect() const;
};

// A hit-test name ("HTCAPTION", ...) as its code, mirrored for right-to-left skins; -2 for
// other names.
int ParseHitTest(std::u16string_view name, bool rightToLeft);

}  // namespace qorin
