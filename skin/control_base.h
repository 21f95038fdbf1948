// AControlBase: the contract every control of a skin fulfils, its common state and its common
// attributes. Controls are reference counted; the tree holds one reference to each.
//
//   <Button Name=... ID=... Text=...> ─► own attribute table ─► common table (LoadAttributes)
//                                        └─► value parsers (skin_values) ─► fields / error record
#pragma once

#include <atomic>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "bitmap.h"
#include "layout.h"
#include "skin_values.h"
#include "text_canvas.h"
#include "text_style.h"

namespace qorin {

struct XXmlNode;
class XSkinDocument;

// Measures text for "fit2text": GDI on Windows; natively an approximation the tools say is one.
class IXTextMeasure {
 public:
  virtual ~IXTextMeasure() = default;
  // The text's extent; maxWidth > 0 wraps the text at that width.
  virtual XSize Measure(std::u16string_view text, const XFontSpec& font, int maxWidth) = 0;
};

class AControlBase;

// One row of an attribute table: the name, and the setter that parses the value into the
// control; a setter that answers false has recorded its failure in the skin's error record.
struct XAttribute {
  const char16_t* name;
  bool (*set)(AControlBase& control, const std::u16string& value, const XXmlNode& element);
};

class AControlBase : public IXAlignTarget {
 public:
  AControlBase();
  ~AControlBase() override;
  AControlBase(const AControlBase&) = delete;
  AControlBase& operator=(const AControlBase&) = delete;

  // The operations, in the order of the interface (QueryInterface, AddRef, Release and OnAlign
  // first, as IXAlignTarget's host calls them).
  virtual int QueryInterface() { return kNoInterface; }
  void AddRef() { ++references_; }
  void Release();
  int OnAlign(const XRect& rect) override;
  virtual void SetText(std::u16string text);
  virtual std::u16string GetText() const { return text; }
  virtual void SetRect(const XRect& rect);
  // Reads the control's own attributes, then the common ones; false aborts the load.
  virtual bool LoadAttributes(const XXmlNode& element, XLayoutNode& layoutNode);
  virtual void Reset();
  // Paint(dc, rect, x, y) takes its place here with the painter.
  virtual int OnMouseMove(int /*x*/, int /*y*/) { return 0; }
  virtual void OnMouseLeave() {}
  virtual int OnMouseWheel(int /*delta*/, int /*keys*/, int /*x*/, int /*y*/) { return 0; }
  virtual int OnLButtonDown(int /*x*/, int /*y*/) { return 0; }
  virtual int OnLButtonUp(int /*x*/, int /*y*/) { return 0; }
  virtual int OnLButtonDblClk(int /*x*/, int /*y*/) { return 0; }
  virtual int OnRButtonDown(int /*x*/, int /*y*/) { return 0; }
  virtual int OnRButtonUp(int /*x*/, int /*y*/) { return 0; }
  virtual int OnButtonReservedA(int /*x*/, int /*y*/) { return 0; }  // never called
  virtual int OnMButtonDown(int /*x*/, int /*y*/) { return 0; }
  virtual int OnMButtonUp(int /*x*/, int /*y*/) { return 0; }
  virtual int OnButtonReservedB(int /*x*/, int /*y*/) { return 0; }  // never called
  virtual int OnKeyDown(int /*key*/, int /*high*/, int /*sign*/) { return 0; }
  virtual int OnNcHitTest(int x, int y);
  virtual void OnShow(bool /*shown*/) {}
  virtual int RenderBuffer(int /*flags*/) { return 0; }
  virtual int SetImageNum(int /*index*/) { return 0; }
  virtual int GetState() { return 0; }
  virtual void Enable(bool on) { enabled = on; }
  virtual void OnChildAdded(AControlBase* /*child*/) {}
  virtual void AddData(const XXmlNode& /*data*/) {}
  virtual int OnSetFocus() { return 1; }
  virtual void OnKillFocus() {}
  virtual bool HitTest(int x, int y) const;
  virtual void OnTimer() {}
  virtual AControlBase* GetRelatedControl() { return nullptr; }

  // Painting: the text over the buffer (clip and target in the target's coordinates, whose
  // origin lies at (originX, originY) of the window); re-rendering and repainting.
  void PaintText(IXTextCanvas& canvas, XBitmap& target, const XRect& clip, int originX,
                 int originY);
  XRect TextRect() const;
  // What of the rectangle can be seen: cut by the ancestors whose layout clips and by the window.
  XRect Seen() const;
  // The rectangle in the back buffer's coordinates: the buffer holds only `buffered` of it.
  XRect BufferRect() const { return Offset(rect, -buffered.left, -buffered.top); }
  // Renders again when the buffer does not hold all that can be seen now (a parent or the
  // window changed, not the rectangle); true when it did.
  bool HoldSeen();
  void Invalidate();
  void Redraw();
  void SetShown(bool shown);
  void SetAlpha(int value);
  bool RightToLeft() const;
  // The common pointer handling of a control the pointer moves over (hover tracking).
  void TrackPointer();
  // An image attribute (its "...RTL" twin in a right-to-left skin) from the skin's image cache;
  // a failed load is error 770 with the attribute and value. "none" or empty gives no image.
  bool LoadImage(const XXmlNode& element, const char16_t* attribute, const std::u16string& value,
                 int resizeKind, XBitmap** image);
  // Controls sized by their image: a Width (Height) the skin did not give, by itself or by
  // Position, becomes width (height), unless the control is docked top or bottom (left or right).
  static void DefaultExtent(const XXmlNode& element, XLayoutNode& node, int width, int height);
  // Fires a command through the skin's command queue.
  void FireCommand(int number);

  // Whether the pointer stops at this control (statics let it through unless given NcHitTest).
  virtual bool AcceptsInput() const { return true; }
  // The deepest shown control under the point that takes input, or null.
  AControlBase* ControlAt(int x, int y);

  // The control's own attributes (read before the common ones).
  virtual std::span<const XAttribute> OwnAttributes() const { return {}; }
  // A second table of its own that a control reads after the common attributes.
  virtual std::span<const XAttribute> LaterAttributes() const { return {}; }
  static std::span<const XAttribute> CommonAttributes();

  static constexpr int kNoInterface = static_cast<int>(0x80004002);  // E_NOINTERFACE
  static constexpr int kNone = -1;

  // Common state (defaults after Reset).
  std::u16string name;
  int id = kNone, link = kNone, command = kNone, commandR = kNone, commandM = kNone;
  bool hasText = false;  // the text object exists: a text or font attribute was given
  std::u16string text;
  XFontSpec font;
  XColour textColour = 0;
  XTextStyle textStyle;
  XControlText textPainter;
  bool hovered = false;
  bool opaque = false;  // the back buffer covers the whole rectangle
  std::u16string tooltip;
  bool autoHideTooltip = true;
  bool enabled = true, configuredEnabled = true;
  bool debug = false;
  int borderWidth = 0, borderRound = 0;
  XColour borderColour = 0;
  int alpha = 255;
  bool alphaText = false;
  int blur = 0;
  int cursor = kNone;
  int hitTest = 0;
  bool resizeImagesWithDpi = true;
  XRect rect;
  // Back buffers hold what can be seen of the rectangle, never more than the window: `buffered`
  // (window coordinates) lies at the buffers' origin. The second only when Alpha is not 255.
  XBitmap buffers[2];
  XRect buffered;
  bool frozen = false;  // keeps the buffers as they are
  int sourceLine = 0;

  AControlBase* parent = nullptr;
  XSkinDocument* skin = nullptr;
  XLayoutNode* layout = nullptr;
  std::vector<AControlBase*> children;  // one reference each

 protected:
  // "fit2text": the node's width or height from the text, its padding and its margins.
  void FinishText(XLayoutNode& layoutNode);
  // Reads the rows of a table the element has, in table order; false at the first refusal.
  bool ReadTable(std::span<const XAttribute> table, const XXmlNode& element);

 private:
  void Rebuffer();

  std::atomic<int> references_{0};
};

// What lies on top at a place, for painting and pointing alike: a later child in document order
// covers an earlier one. The index of the topmost shown child whose rectangle meets the area,
// among those before `below` (all when -1); -1 when none does.
int TopmostOver(const AControlBase& parent, const XRect& area, int below = -1);

}  // namespace qorin
