#include "skin_view.h"

#include <algorithm>

#include "button.h"
#include "control_base.h"
#include "painter.h"
#include "script_value.h"
#include "skin_document.h"
#include "skin_surface.h"
#include "tooltip.h"

namespace qorin {

constexpr int kPendingFlushMs = 30;

XSkinView::XSkinView(XSkinDocument& skin, IXSkinSurface& surface, IXTextCanvas* canvas,
                     XPointerMessages messages)
    : skin_(skin), surface_(surface), canvas_(canvas), router_(skin, surface, messages) {
  skin_.SetView(this);
}

XSkinView::~XSkinView() {
  skin_.SetView(nullptr);
}

void XSkinView::Resize(int width, int height) {
  if (width <= 0 || height <= 0) return;
  if (root_.Empty() || root_.width < width || root_.height < height)
    root_.Create(std::max(width, root_.width), std::max(height, root_.height), 32);
  Invalidate({0, 0, width, height});
}

bool XSkinView::LayOut(int width, int height) {
  AControlBase* root = skin_.Root();
  if (root == nullptr || (width == laidOutWidth_ && height == laidOutHeight_)) return false;
  laidOutWidth_ = width, laidOutHeight_ = height;
  root->SetRect({0, 0, width, height});
  skin_.Layout().LayoutAll(width, height);
  Resize(width, height);
  return true;
}

std::u16string XSkinView::LayoutLine() const {
  std::u16string line =
      u"skin layout " + DisplayInt(laidOutWidth_) + u"x" + DisplayInt(laidOutHeight_);
  const AControlBase* root = skin_.Root();
  if (root == nullptr || root->children.empty()) return line;
  const AControlBase* first = root->children.front();
  const XRect& r = first->layout->placed;
  return line + u", " + first->name + u"=" + DisplayInt(r.left) + u"," + DisplayInt(r.top) + u"," +
         DisplayInt(r.right) + u"," + DisplayInt(r.bottom);
}

bool XSkinView::SwitchMenuAt(int x, int y) {
  if (openMenuButton == nullptr || skin_.Root() == nullptr) return false;
  auto* button = dynamic_cast<XButton*>(skin_.Root()->ControlAt(x, y));
  if (button == nullptr || !button->menuButton || button->id == openMenuButton->id) return false;
  pendingPopup = button;
  return true;
}

void XSkinView::OpenPendingMenu() {
  AControlBase* button = pendingPopup;
  if (button == nullptr) return;
  pendingPopup = nullptr;
  button->OnLButtonDown(0, 0);
  button->OnLButtonUp(0, 0);
  Process();
}

void XSkinView::Invalidate(const XRect& rect) {
  AControlBase* root = skin_.Root();
  if (root == nullptr) return;
  if (queue_.Add(rect, root->rect, surface_.Ticks())) surface_.PostInvalidate();
}

void XSkinView::InvalidateControl(const AControlBase& control) {
  Invalidate(control.rect);
}

// Blurred controls are always recomposed whole.
XRect XSkinView::GrowByBlur(XRect rect, const AControlBase& control) const {
  for (const AControlBase* child : control.children) {
    bool shown = child->layout == nullptr || child->layout->Visible();
    if (!shown) continue;
    if (child->blur > 0 && Intersects(child->rect, rect)) rect = Union(rect, child->rect);
    rect = GrowByBlur(rect, *child);
  }
  return rect;
}

void XSkinView::Process() {
  surface_.RunPendingLayout();
  AControlBase* root = skin_.Root();
  while (!queue_.Empty()) {
    XRect rect = queue_.TakeMerged();
    if (root == nullptr) continue;
    rect = Intersection(GrowByBlur(rect, *root), root->rect);
    if (!IsEmpty(rect)) Compose(rect);
  }
}

void XSkinView::Compose(const XRect& rect) {
  if (root_.Empty()) return;
  AControlBase* start = InnermostContaining(*skin_.Root(), rect);
  root_.FillRect(rect, 0, 0);
  DrawSubtree(*start, root_, rect, 0, 0, canvas_, skin_.Head().debug);
  surface_.Present(rect);
}

void XSkinView::Flush() {
  Process();
  AControlBase* root = skin_.Root();
  if (loaded_ && root != nullptr) surface_.Present(root->rect);
}

int XSkinView::CheckPending() {
  if (queue_.Empty()) return 0;
  uint32_t age = surface_.Ticks() - queue_.FirstTick();
  if (age < kPendingFlushMs) return static_cast<int>(age);
  Flush();
  return 0;
}

void XSkinView::QueueCommand(int number) {
  if (number == 0 || number == AControlBase::kNone) return;
  bool post = commands_.empty();
  commands_.push_back(number);
  if (post) surface_.PostProcessCommand();
}

void XSkinView::ProcessCommands() {
  if (!loaded_) return;
  std::vector<int> commands;
  commands.swap(commands_);
  for (int number : commands) surface_.CommandFired(number);
}

void XSkinView::StartFade(AControlBase* control, bool show, int step) {
  if (!fades_.Start(control, show, step)) return;
  InvalidateControl(*control);
  surface_.SetFadeTimer(true);
}

void XSkinView::FadeTick() {
  fades_.Tick([this](AControlBase* control) { InvalidateControl(*control); });
  if (fades_.Empty()) surface_.SetFadeTimer(false);
}

void XSkinView::PointerMove(int x, int y) {
  router_.Move(x, y);
  Process();
}

void XSkinView::PointerButton(XMouseButton button, bool down, int x, int y) {
  if (down) {
    router_.ButtonDown(button, x, y);
  } else {
    router_.ButtonUp(button, x, y);
  }
  Process();
}

void XSkinView::PointerLeave() {
  router_.Leave();
  Process();
}

bool XSkinView::CreateTooltip(IXTooltipWindow* window) {
  tooltip_ = std::make_unique<XSkinTooltip>(skin_, surface_);
  if (!tooltip_->Create(window)) {
    tooltip_.reset();
    router_.SetTooltip(nullptr);
    return false;
  }
  router_.SetTooltip(tooltip_.get());
  return true;
}

void XSkinView::TooltipTimer(int id, int x, int y) {
  if (tooltip_) tooltip_->Timer(id, x, y);
  Process();
}

void XSkinView::Forget(AControlBase* control) {
  if (tooltip_) tooltip_->Forget(control);
  if (openMenuButton == control) openMenuButton = nullptr;
  if (pendingPopup == control) pendingPopup = nullptr;
  router_.Forget(control);
  fades_.Forget(control);
  surface_.KillControlTimers(control);
}

}  // namespace qorin
