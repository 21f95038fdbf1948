// The layout: a docking layout in one pass over a tree of layout nodes that parallels the
// control tree. Siblings are placed in document order; a docked node (top, left, right, bottom)
// consumes a strip of its parent's remaining area, corner, centre and fixed nodes do not, and
// stacked nodes flow in rows. Each node reports a changed rectangle to its align target.
//
//   element attributes ─► ReadLayoutAttributes ─► XLayoutNode ─► XLayoutEngine::LayoutAll(w, h)
//                                                                 └─► IXAlignTarget::OnAlign(rect)
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "bitmap.h"
#include "skin_values.h"

namespace qorin {

struct XXmlNode;
struct XSkinError;

// What the layout tells a control: its new rectangle in the window's client coordinates.
// OnAlign answers 1 when done, 0 to be called again after its children were placed.
class IXAlignTarget {
 public:
  virtual ~IXAlignTarget() = default;
  virtual int OnAlign(const XRect& rect) = 0;
};

struct XLayoutNode {
  static constexpr int kNoMaximum = 0x3FFFFFFF;

  int align = kAlignTop;
  int width = 0, height = 0;
  bool widthPercent = false, heightPercent = false;
  bool widthFitText = false, heightFitText = false;
  bool widthFitChild = false, heightFitChild = false;
  bool widthFitParent = false, heightFitParent = false;
  int minWidth = 0, minHeight = 0, maxWidth = kNoMaximum, maxHeight = kNoMaximum;
  int left = 0, top = 0;
  XEdges margin, padding, textPadding, textMargin;
  bool show = true, hideWhenSmall = false, fixedSize = false, forceNotify = false;
  // Scrollable content (set by the controls that scroll).
  int contentHeight = -1, scrollPosition = -1, scrollOffset = 0, scrollFlags = 0;
  bool measureContent = false;

  // Results of the last pass.
  XRect placed, flowCursor;
  bool clipToParent = false;
  bool hiddenWhenSmall = false;

  IXAlignTarget* target = nullptr;
  XLayoutNode* parent = nullptr;
  std::vector<std::unique_ptr<XLayoutNode>> children;

  XLayoutNode* AddChild();
  // Shown by its own flag and every ancestor's, and not hidden for being small.
  bool Visible() const;
};

// Reads Align (AlignRTL when right-to-left), the sizes, Left, Top, Position, the four
// quadruples, Show, HideWhenSmall and FixedSize. A bad alignment records error 513 (text 1
// the skin file, text 2 the value) and answers false.
// The layout attributes every control takes, in the order they apply.
std::vector<std::u16string_view> LayoutAttributeNames();

bool ReadLayoutAttributes(const XXmlNode& element, int dpi, bool rightToLeft,
                          const std::u16string& skinFile, XLayoutNode* node, XSkinError* error);

class XLayoutEngine {
 public:
  XLayoutEngine();

  XLayoutNode& Root() { return root_; }
  void SetRightToLeft(bool on) { rightToLeft_ = on; }
  bool RightToLeft() const { return rightToLeft_; }

  void LayoutAll(int width, int height) { LayoutIn({0, 0, width, height}); }
  void LayoutIn(const XRect& rect);

  // The outer width of a node of the given width for an available width (margins included).
  static int WidthRule(const XLayoutNode& node, int width, int available);
  static int HeightRule(const XLayoutNode& node, int height, int available);

 private:
  void Place(XLayoutNode& node, XRect& remaining, const XRect& parentRect, bool measuring);
  XRect AlignedRect(XLayoutNode& node, int width, int height, XRect& remaining,
                    const XRect& parentRect);
  XRect MeasureChildren(XLayoutNode& node, const XRect& remaining, const XRect& parentRect);
  bool HiddenWhenSmall(const XLayoutNode& node, const XRect& rect) const;

  XLayoutNode root_;
  bool rightToLeft_ = false;
};

}  // namespace qorin
