// XSlider (tag Slider): a thumb strip (four states) dragged along a track image, the track filled
// up to the thumb's centre, horizontal or vertical, with a position within Min..Max. Every change
// by the user (or SetRange) is posted to the host ("WM_XSKINNOTIFY_SLIDER_CHANGING") and told to
// the notifier (a list box following its slider); a drag's end posts
// "WM_XSKINNOTIFY_SLIDER_CHANGED".
//
//   press ─► capture, state 2, position from the point ─► move: position from the point
//   ─► release: capture released, state 1, "changed" after a drag
#pragma once

#include "control_base.h"

namespace qorin {

// The slider's geometry along its track: L the track length, R = max − min.
// The thumb's length: the image's; with a page size P > 0, L × P / (R + P) within L, never
// shorter than the image's.
int SliderThumbLength(int track, int imageLength, int pageSize, int range);
// The thumb's offset: half its length when R = 0, else (pos − min) × (L − thumb) / R.
int SliderThumbOffset(int pos, int min, int range, int track, int thumb);
// The position under a point along the track (the thumb's centre there), clamped; a step above
// 1 snaps to the nearest multiple. A track no longer than the thumb keeps the current position.
int SliderPositionAt(int point, int min, int max, int step, int track, int thumb, int current);

class XSliderNotifier {
 public:
  virtual ~XSliderNotifier() = default;
  virtual void OnSliderChanged(int id) = 0;
};

class XSlider final : public AControlBase {
 public:
  std::span<const XAttribute> OwnAttributes() const override;
  bool LoadAttributes(const XXmlNode& element, XLayoutNode& layoutNode) override;
  int RenderBuffer(int flags) override;
  int OnMouseMove(int x, int y) override;
  void OnMouseLeave() override;
  int OnLButtonDown(int x, int y) override;
  int OnLButtonUp(int x, int y) override;
  void Enable(bool on) override;

  // Max (min becomes 0; negative is 0), the position clamped; notifies when it moved.
  void SetRange(int newMax);
  // Ignored while the user drags; otherwise clamped, repainted, not notified. The position.
  int SetPos(int value);
  int GetPos() const { return pos; }
  // The thumb's rectangle in the control's coordinates (empty without a thumb).
  XRect ThumbRect() const;

  XBitmap* thumb = nullptr;
  int thumbType = 0;
  int pageSize = 0;
  XBitmap* image = nullptr;  // the track
  int imageType = 0;
  XBitmap* fill = nullptr;
  bool vertical = false;
  int min = 0, max = 10, pos = 0, step = 1;
  int edgeLeft = 0, edgeRight = 0;  // read and kept
  int thumbState = 0;               // 0 normal, 1 hover, 2 pressed, 3 disabled
  bool dragging = false;
  XSliderNotifier* notifier = nullptr;

 private:
  int TrackLength() const { return vertical ? rect.Height() : rect.Width(); }
  int ThumbLength() const;
  void MoveTo(int x, int y);
  void Changed();
  void Post(unsigned message);
  void SetState(int state);
  XBitmap work_;  // the fill image drawn whole before its part up to the thumb is copied
};

}  // namespace qorin
