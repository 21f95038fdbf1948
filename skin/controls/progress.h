// XProgress (tag Progress): a bar whose front image is revealed from the left in proportion to
// its position within Min..Max, over a back image; both drawn with one image type. The host sets
// the position (the install flow: PROGRESS_INSTALL in tenths of a percent) and it repaints.
#pragma once

#include "control_base.h"

namespace qorin {

// The columns of the front image revealed: none when Max = Min, else in proportion to Pos
// (MulDiv of Pos − Min by the width over Max − Min), within the width.
int ProgressRevealWidth(int pos, int min, int max, int width);

class XProgress final : public AControlBase {
 public:
  std::span<const XAttribute> OwnAttributes() const override;
  bool LoadAttributes(const XXmlNode& element, XLayoutNode& layoutNode) override;
  int RenderBuffer(int flags) override;
  // A new position repaints; the same one does nothing. False when it was the same.
  bool SetPos(int pos);
  int Pos() const { return pos; }

  XBitmap* back = nullptr;
  XBitmap* front = nullptr;
  int imageType = 0;
  int min = 0, max = 0, pos = 0;

 private:
  XBitmap work_;  // the front image drawn whole before its left part is copied
};

}  // namespace qorin
