// XButton (tag Button): a four-frame image strip (normal, hover, pressed, disabled) drawn by an
// image mode, a text, commands and an OnClick script fired by a click, hover shared with a
// linked button, a menu-button mode and cross-fades between states. XCheckBox (tag CheckBox):
// a button whose strips are the unchecked and checked images, with radio groups.
//
//   pointer events ─► hover / pressed ─► visual state (3 disabled, 2 pressed, 1 hover, 0)
//                  ─► fade: from-image ─► to-image on the control timer ─► back buffer
//   release after a press ─► Command (or ID) through the command queue, then OnClick
#pragma once

#include <string>

#include "control_base.h"

namespace qorin {

class XButton : public AControlBase {
 public:
  static constexpr int kFollow = 9;
  ~XButton() override;

  std::span<const XAttribute> OwnAttributes() const override;
  bool LoadAttributes(const XXmlNode& element, XLayoutNode& layoutNode) override;
  int RenderBuffer(int flags) override;
  int SetImageNum(int index) override;
  void Enable(bool on) override;
  bool HitTest(int x, int y) const override;
  void OnTimer() override;
  AControlBase* GetRelatedControl() override;
  int OnMouseMove(int x, int y) override;
  void OnMouseLeave() override;
  int OnLButtonDown(int, int) override { return Press(kLeft); }
  int OnLButtonUp(int, int) override { return Release(kLeft); }
  int OnRButtonDown(int, int) override { return Press(kRight); }
  int OnRButtonUp(int, int) override { return Release(kRight); }
  int OnMButtonDown(int, int) override { return Press(kMiddle); }
  int OnMButtonUp(int, int) override { return Release(kMiddle); }

  // 3 when disabled, else 2 while pressed, else 1 while hovered, else 0.
  int VisualState() const;
  // Draws state s of the current strip into a 32-bit bitmap that holds `buffered`.
  void RenderState(int state, XBitmap& into) const;
  bool FadeRunning() const { return fadeRunning_; }

  XBitmap* images[4] = {};
  int currentIndex = 0;
  int imageType = 0;
  bool hover = false, pressed = false;
  bool menuButton = false, menuOpen = false;
  bool useAlphaRegion = false;
  std::u16string onClick;
  bool fadeOn = true;
  int fadeStep = 64, fadePeriod = 30;
  bool driven = false;  // moved by its linked partner: does not forward back

 protected:
  enum Which { kLeft, kRight, kMiddle };
  int Press(Which button);
  virtual int Release(Which button);
  // Fires the click's command and script; true when something fired.
  bool Click(Which button);
  void InheritFade();
  void ChangeState();
  void StopFade();
  // The area the frame is drawn over (a check box's band).
  virtual XRect ImageArea(const XBitmap& into) const;
  XButton* Linked() const;
  int FrameWidth() const;
  int FrameHeight() const;

  int shownState_ = 0;
  bool fadeRunning_ = false;
  int fadeProgress_ = 0;
  XBitmap from_, to_;  // what the buffer holds (`buffered`) in the two states
  XRect fadeArea_;
};

class XCheckBox final : public XButton {
 public:
  std::span<const XAttribute> OwnAttributes() const override;
  bool LoadAttributes(const XXmlNode& element, XLayoutNode& layoutNode) override;
  int GetState() override { return currentIndex; }
  int SetImageNum(int index) override;

  std::u16string radioGroup;
  int imageAlign = 0;  // 1 leftcenter, 2 lefttop

 protected:
  int Release(Which button) override;
  XRect ImageArea(const XBitmap& into) const override;

 private:
  void UncheckOthers();
};

// "default", "fillframe", ... as a drawing mode; -1 for a type buttons do not draw.
int ParseButtonImageType(std::u16string_view text);

}  // namespace qorin
