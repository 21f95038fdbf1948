#include "button.h"

#include <algorithm>
#include <functional>

#include "bitmap_copy.h"
#include "image_modes.h"
#include "skin_document.h"
#include "skin_surface.h"
#include "skin_view.h"
#include "xml_document.h"

namespace qorin {
namespace {

constexpr int kFadeTimer = 1;

struct TypeName {
  const char16_t* name;
  int mode;
};
constexpr TypeName kButtonTypes[] = {
    {u"default", kImageDefault},        {u"fillframe", kImageFillFrame},
    {u"hframe", kImageHFrame},          {u"vframe", kImageVFrame},
    {u"left_center", kImageLeftCenter}, {u"center", kImageCenter},
    {u"follow", XButton::kFollow},      {u"tile", kImageTile},
};

XButton& B(AControlBase& c) {
  return static_cast<XButton&>(c);
}

bool ImageTypeError(AControlBase& c, const std::u16string& v, const XXmlNode& e) {
  return c.skin->Errors().Set(XSKIN_ERR_VALUE, u"ImageType", v, e.line, e.column);
}

// A strip for images[index]; "default" (first image only) is the built-in fillframe strip.
bool SetStrip(AControlBase& c, const std::u16string& v, const XXmlNode& e, int index,
              const char16_t* attribute) {
  XButton& b = B(c);
  std::u16string name = v;
  if (index == 0 && v == u"default") {
    b.imageType = kImageFillFrame;
    name = u"button_default";
  }
  if (!c.LoadImage(e, attribute, name, kResizeStrip, &b.images[index])) return false;
  if (b.images[index] != nullptr && b.images[index]->width % 4 != 0)
    return c.skin->Errors().Set(XSKIN_ERR_IMAGE_SIZE_4, attribute, v, e.line, e.column);
  return true;
}

bool Fade(const XXmlNode& e) {
  const std::u16string_view* v = XXmlDocument::FindAttribute(e, u"AlphaTransition");
  return v != nullptr && ParseBool(*v);
}

constexpr XAttribute kButton[] = {
    {u"ImageType",
     [](AControlBase& c, const std::u16string& v, const XXmlNode& e) {
       B(c).imageType = ParseButtonImageType(v);
       return B(c).imageType >= 0 || ImageTypeError(c, v, e);
     }},
    {u"Image", [](AControlBase& c, const std::u16string& v,
                  const XXmlNode& e) { return SetStrip(c, v, e, 0, u"Image"); }},
    {u"Image2", [](AControlBase& c, const std::u16string& v,
                   const XXmlNode& e) { return SetStrip(c, v, e, 1, u"Image2"); }},
    {u"Image3", [](AControlBase& c, const std::u16string& v,
                   const XXmlNode& e) { return SetStrip(c, v, e, 2, u"Image3"); }},
    {u"Image4", [](AControlBase& c, const std::u16string& v,
                   const XXmlNode& e) { return SetStrip(c, v, e, 3, u"Image4"); }},
    {u"MenuButton",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       B(c).menuButton = ParseBool(v);
       return true;
     }},
    {u"AlphaTransition",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       B(c).fadeOn = ParseBool(v);
       return true;
     }},
    {u"AlphaTransitionSpeed",
     [](AControlBase& c, const std::u16string& v, const XXmlNode& e) {
       if (Fade(e)) B(c).fadeStep = ParseInt(v);
       return true;
     }},
    {u"AlphaTransitionFrameTime",
     [](AControlBase& c, const std::u16string& v, const XXmlNode& e) {
       if (Fade(e)) B(c).fadePeriod = ParseInt(v);
       return true;
     }},
    {u"UseAlphaRegion",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       B(c).useAlphaRegion = ParseBool(v);
       return true;
     }},
    {u"OnClick",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       B(c).onClick = v;
       return true;
     }},
};

constexpr XAttribute kCheckBox[] = {
    {u"ImageType",
     [](AControlBase& c, const std::u16string& v, const XXmlNode& e) {
       int mode = ParseButtonImageType(v);
       B(c).imageType = mode;
       if (mode == kImageDefault || mode == kImageFillFrame || mode == kImageHFrame) return true;
       return ImageTypeError(c, v, e);
     }},
    {u"ImageAlign",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       static_cast<XCheckBox&>(c).imageAlign = v == u"leftcenter" ? 1 : v == u"lefttop" ? 2 : 0;
       return true;
     }},
    {u"ImageOff", [](AControlBase& c, const std::u16string& v,
                     const XXmlNode& e) { return SetStrip(c, v, e, 0, u"ImageOff"); }},
    {u"ImageOn", [](AControlBase& c, const std::u16string& v,
                    const XXmlNode& e) { return SetStrip(c, v, e, 1, u"ImageOn"); }},
    {u"RadioGroup",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       static_cast<XCheckBox&>(c).radioGroup = v;
       return true;
     }},
    {u"OnClick",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       B(c).onClick = v;
       return true;
     }},
};

// Calls visit(control) for every control of the tree.
void ForEachControl(AControlBase* c, const std::function<void(AControlBase*)>& visit) {
  if (c == nullptr) return;
  visit(c);
  for (AControlBase* child : c->children) ForEachControl(child, visit);
}

}  // namespace

int ParseButtonImageType(std::u16string_view text) {
  for (const TypeName& t : kButtonTypes) {
    if (text == t.name) return t.mode;
  }
  return -1;
}

XButton::~XButton() {
  StopFade();
}

std::span<const XAttribute> XButton::OwnAttributes() const {
  return kButton;
}

bool XButton::LoadAttributes(const XXmlNode& element, XLayoutNode& layoutNode) {
  InheritFade();
  if (!AControlBase::LoadAttributes(element, layoutNode)) return false;
  if (images[0] != nullptr) DefaultExtent(element, layoutNode, FrameWidth(), FrameHeight());
  if (!textStyle.hasFormat) textStyle.format = kDtCenter | kDtVCenter | kDtSingleLine;
  if (!textStyle.hasFormat && RightToLeft()) textStyle.format |= kDtRtlReading;
  shownState_ = VisualState();
  return true;
}

// The skin's Style fade values, before the button's own attributes.
void XButton::InheritFade() {
  const XSkinHead& head = skin->Head();
  fadeOn = head.alphaTransition;
  if (head.alphaTransitionSpeed != 0) fadeStep = head.alphaTransitionSpeed;
}

int XButton::FrameWidth() const {
  const XBitmap* image = images[currentIndex];
  return image != nullptr ? image->width / 4 : 0;
}

int XButton::FrameHeight() const {
  const XBitmap* image = images[currentIndex];
  return image != nullptr ? image->height : 0;
}

int XButton::VisualState() const {
  if (!enabled) return 3;
  if (pressed) return 2;
  return hover ? 1 : 0;
}

XRect XButton::ImageArea(const XBitmap&) const {
  return {0, 0, rect.Width(), rect.Height()};
}

void XButton::RenderState(int state, XBitmap& into) const {
  into.FillRect({0, 0, into.width, into.height}, 0, 0);
  const XBitmap* image = images[currentIndex];
  if (image == nullptr) return;
  int fw = image->width / 4, fh = image->height;
  XRect source{state * fw, 0, (state + 1) * fw, fh};
  XRect area = Offset(ImageArea(into), rect.left - buffered.left, rect.top - buffered.top);
  int w = area.Width(), h = area.Height();
  switch (imageType) {
    case kImageDefault: {
      int x = RightToLeft() ? area.right - fw : area.left;
      Blit(into, x, area.top, *image, source.left, 0, fw, fh, true);
      break;
    }
    case kImageCenter:
      Blit(into, area.left + (w - fw) / 2, area.top + (h - fh) / 2, *image, source.left, 0, fw, fh,
           true);
      break;
    case kImageTile: Tile(into, area, *image, source.left, 0, fw, fh, true); break;
    case kImageHFrame: DrawHFrame(into, *image, source, area); break;
    case kImageVFrame: DrawVFrame(into, *image, source, area); break;
    case kImageFillFrame: DrawFrame(into, area, *image, source, true); break;
    case kImageLeftCenter:
      Blit(into, area.left, area.top + (h - fh) / 2, *image, source.left, 0, fw, fh, true);
      break;
    case kFollow: {
      int half = fw / 2, rest = fw - half;
      if (!RightToLeft()) {
        Blit(into, area.left, area.top, *image, source.left, 0, std::min(fw, w), fh, true);
        Tile(into, {area.left + fw, area.top, area.right, area.bottom}, *image, source.left + half,
             0, rest, fh, true);
      } else {
        int part = std::min(half, w);
        Blit(into, area.right - part, area.top, *image, source.left, 0, part, fh, true);
        Tile(into, {area.left, area.top, area.right - part, area.bottom}, *image,
             source.left + half, 0, rest, fh, true);
      }
      break;
    }
    default: break;
  }
}

int XButton::RenderBuffer(int) {
  if (buffers[0].Empty() || frozen) return 0;
  if (fadeRunning_ && fadeArea_ == buffered) return 1;
  StopFade();
  RenderState(VisualState(), buffers[0]);
  shownState_ = VisualState();
  return 1;
}

void XButton::ChangeState() {
  int state = VisualState();
  if (state == shownState_ && !fadeRunning_) return;
  bool canFade = fadeOn && !buffers[0].Empty() && !IsEmpty(buffered) && skin != nullptr &&
                 skin->View() != nullptr;
  if (!canFade) {
    StopFade();
    Redraw();
    return;
  }
  int w = buffered.Width(), h = buffered.Height();
  if (!from_.Create(w, h, 32) || !to_.Create(w, h, 32)) {
    Redraw();
    return;
  }
  fadeArea_ = buffered;
  RenderState(shownState_, from_);
  RenderState(state, to_);
  shownState_ = state;
  fadeProgress_ = 0;
  fadeRunning_ = true;
  skin->View()->Surface().SetControlTimer(this, kFadeTimer, fadePeriod);
}

void XButton::OnTimer() {
  if (!fadeRunning_) {
    StopFade();
    return;
  }
  if (!(fadeArea_ == buffered)) {
    StopFade();
    Redraw();
    return;
  }
  buffers[0].FillRect({0, 0, buffers[0].width, buffers[0].height}, 0, 0);
  fadeProgress_ = std::min(255, fadeProgress_ + fadeStep);
  CrossFade(buffers[0], to_, from_, fadeProgress_);
  Invalidate();
  if (fadeProgress_ >= 255) StopFade();
}

void XButton::StopFade() {
  bool was = fadeRunning_;
  fadeRunning_ = false;
  fadeProgress_ = 0;
  from_.Destroy();
  to_.Destroy();
  if (was && skin != nullptr && skin->View() != nullptr)
    skin->View()->Surface().KillControlTimers(this);
}

int XButton::SetImageNum(int index) {
  if (index < 0 || index > 3 || images[index] == nullptr) return 0;
  if (index == currentIndex) return 1;
  StopFade();
  currentIndex = index;
  Redraw();
  return 1;
}

void XButton::Enable(bool on) {
  if (on == enabled) return;
  enabled = on;
  if (!on) hover = pressed = false;
  ChangeState();
  Invalidate();
}

bool XButton::HitTest(int x, int y) const {
  if (!AControlBase::HitTest(x, y)) return false;
  if (!useAlphaRegion) return true;
  const XBitmap* image = images[currentIndex];
  int rx = x - rect.left, ry = y - rect.top;
  if (image == nullptr || rx >= image->width / 4 || ry >= image->height) return false;
  return image->bitCount == 32 && image->Pixel(rx, ry)[3] != 0;
}

XButton* XButton::Linked() const {
  if (link == kNone || skin == nullptr) return nullptr;
  AControlBase* other = skin->FindControl(link);
  return other != this ? dynamic_cast<XButton*>(other) : nullptr;
}

AControlBase* XButton::GetRelatedControl() {
  return Linked();
}

int XButton::OnMouseMove(int x, int y) {
  if (!enabled) return 0;
  if (!driven) TrackPointer();
  hover = true;
  ChangeState();
  XButton* partner = Linked();
  if (!driven && partner != nullptr && partner->enabled) {
    partner->driven = true;
    partner->OnMouseMove(x, y);
  }
  return 1;
}

void XButton::OnMouseLeave() {
  XButton* partner = Linked();
  if (menuOpen || (partner != nullptr && partner->menuOpen)) return;
  if (driven) return;
  hover = pressed = false;
  ChangeState();
  if (partner != nullptr) {
    partner->driven = false;
    partner->OnMouseLeave();
  }
}

int XButton::Press(Which button) {
  if (!enabled) return 0;
  if (button == kRight && commandR == kNone) return 0;
  if (button == kMiddle && commandM == kNone) return 0;
  pressed = true;
  ChangeState();
  XButton* partner = Linked();
  if (partner != nullptr && partner->enabled) {
    partner->pressed = true;
    partner->ChangeState();
  }
  return 1;
}

int XButton::Release(Which button) {
  if (!enabled) return 0;
  int before = VisualState();
  hover = true;
  pressed = false;
  ChangeState();
  XButton* partner = Linked();
  if (partner != nullptr && partner->pressed) {
    partner->pressed = false;
    partner->ChangeState();
  }
  if (before == 2) Click(button);
  return 1;
}

bool XButton::Click(Which button) {
  int number = button == kLeft    ? (command != kNone ? command : id)
               : button == kRight ? commandR
                                  : commandM;
  bool fired = number != kNone && number != 0;
  if (fired && !menuButton) FireCommand(number);
  if (fired && menuButton && skin->View() != nullptr) {
    XSkinView& view = *skin->View();
    menuOpen = true;
    AControlBase* outer = view.openMenuButton;
    view.openMenuButton = this;
    view.Surface().SendHostCommand(number);
    view.openMenuButton = outer;
    menuOpen = false;
    OnMouseLeave();
  }
  if (button == kLeft && !onClick.empty() && skin->View() != nullptr) {
    skin->View()->Surface().RunScript(onClick);
    fired = true;
  }
  return fired;
}

// --- Check box -----------------------------------------------------------------------------

std::span<const XAttribute> XCheckBox::OwnAttributes() const {
  return kCheckBox;
}

bool XCheckBox::LoadAttributes(const XXmlNode& element, XLayoutNode& layoutNode) {
  InheritFade();
  if (XXmlDocument::FindAttribute(element, u"ImageOff") == nullptr &&
      !LoadImage(element, u"ImageOff", u"checkbox_off_default", kResizeStrip, &images[0]))
    return false;
  if (XXmlDocument::FindAttribute(element, u"ImageOn") == nullptr &&
      !LoadImage(element, u"ImageOn", u"checkbox_on_default", kResizeStrip, &images[1]))
    return false;
  if (!AControlBase::LoadAttributes(element, layoutNode)) return false;
  int fw = FrameWidth();
  if (images[0] != nullptr) DefaultExtent(element, layoutNode, fw, FrameHeight());
  if (RightToLeft()) {
    layoutNode.textMargin.right += fw;
  } else {
    layoutNode.textMargin.left += fw;
  }
  FinishText(layoutNode);  // "fit2text" again, now with the box beside the text
  if (!textStyle.hasFormat) textStyle.format = DefaultTextFormat(RightToLeft());
  shownState_ = VisualState();
  return true;
}

XRect XCheckBox::ImageArea(const XBitmap& into) const {
  int w = rect.Width(), h = rect.Height();
  if (imageAlign == 2) return {0, 0, w, h};
  const XBitmap* image = images[currentIndex];
  int fh = image != nullptr ? image->height : into.height;
  int top = (h - fh) / 2;
  return {0, top, w, top + fh};
}

void XCheckBox::UncheckOthers() {
  if (radioGroup.empty() || skin == nullptr) return;
  ForEachControl(skin->Root(), [this](AControlBase* c) {
    auto* box = dynamic_cast<XCheckBox*>(c);
    if (box != nullptr && box != this && box->radioGroup == radioGroup && box->currentIndex != 0)
      box->XButton::SetImageNum(0);
  });
}

int XCheckBox::SetImageNum(int index) {
  if (index != 0) UncheckOthers();
  return XButton::SetImageNum(index);
}

int XCheckBox::Release(Which button) {
  if (!enabled) return 0;
  if (button != kLeft) return XButton::Release(button);
  if (!radioGroup.empty() && currentIndex != 0) {
    pressed = false;
    ChangeState();
    return 1;
  }
  int before = VisualState();
  int previous = currentIndex;
  XButton::SetImageNum(previous == 0 ? 1 : 0);
  hover = true;
  pressed = false;
  ChangeState();
  if (before != 2) {
    XButton::SetImageNum(previous);
    return 1;
  }
  if (!Click(kLeft)) {
    XButton::SetImageNum(previous);
    return 1;
  }
  if (currentIndex != 0) UncheckOthers();
  return 1;
}

}  // namespace qorin
