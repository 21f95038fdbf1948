// XScroll (tag Scroll): a static whose children scroll vertically, with a bar at its right edge:
// a track, a thumb and up and down buttons, each a four-state strip. The offset and the content
// height live in the layout node, which lays the children out moved up by the offset.
//
//   up / down pressed ─► a line step now and every 30 ms while held over it
//   thumb dragged ─► offset in proportion; track pressed ─► the thumb centred on the point
//   wheel ─► three line steps a notch;   offset changed ─► children laid out again, repainted
#pragma once

#include "static.h"

namespace qorin {

// The bar's parts in the control's coordinates, for a view V high showing content C high.
struct XScrollParts {
  XRect bar, up, down, thumb;  // thumb empty while the content fits
  int offset = 0;              // clamped into [0, C − V]
  int track = 0, thumbLength = 0;
};

// The bar of barWidth at the right of a control of width × height, the buttons of their
// heights at its ends, the thumb between them: at least minThumb long, placed in proportion.
XScrollParts ScrollBarParts(int width, int height, int barWidth, int upHeight, int downHeight,
                            int visible, int content, int offset, int minThumb);
// The offset after dragging the thumb by pixels from where it was pressed, clamped.
int ScrollOffsetAfterDrag(int startOffset, int pixels, int visible, int content,
                          const XScrollParts& parts);
// The offset that centres the thumb on a point of the track, clamped.
int ScrollOffsetAtTrack(int point, int visible, int content, const XScrollParts& parts);

class XScroll final : public XStatic {
 public:
  bool LoadAttributes(const XXmlNode& element, XLayoutNode& layoutNode) override;
  std::span<const XAttribute> LaterAttributes() const override;
  int RenderBuffer(int flags) override;
  bool AcceptsInput() const override { return true; }
  int OnMouseMove(int x, int y) override;
  void OnMouseLeave() override;
  int OnLButtonDown(int x, int y) override;
  int OnLButtonUp(int x, int y) override;
  int OnMouseWheel(int delta, int keys, int x, int y) override;
  void OnTimer() override;

  // Clamped; a change lays the children out again and repaints. True when it moved.
  bool ScrollTo(int offset);
  int ScrollOffset() const { return layout != nullptr ? layout->scrollOffset : 0; }
  XScrollParts Parts() const;

  XBitmap* track = nullptr;
  XBitmap* thumb = nullptr;
  XBitmap* up = nullptr;
  XBitmap* down = nullptr;
  int lineStep = 5;
  int contentHeight = 0;     // ScrollHeight, DPI-scaled
  bool fitChildren = false;  // ScrollHeight="fit2child": the children's measured height
  enum Part { kNoPart, kUp, kDown, kThumb, kTrack };
  int states[3] = {};  // up, down, thumb: 0 normal, 1 hover, 2 pressed

 private:
  int Visible() const;
  Part PartAt(int x, int y) const;
  void SetStates(Part hover, bool pressed);
  Part pressed_ = kNoPart;
  int dragStart_ = 0, dragOffset_ = 0;
  int pointerX_ = 0, pointerY_ = 0;
};

}  // namespace qorin
