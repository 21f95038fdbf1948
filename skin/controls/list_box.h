// XListBox (tag ListBox): an owner-drawn list of text items, one per row or a grid of icon
// cells, with a child Slider as its scroll bar and a child Static as its header, whose children
// are the columns. The rules of selection and scrolling live in XListModel; the places of rows
// and cells in XListGeometry; this control draws them and routes input to them.
//
//   <Data Text=... Col1=...> / AddItem ─► model ─► slider range, repaint
//   press / key / wheel ─► model ─► first visible ─► slider position, repaint
//                                ─► "WM_XSKINNOTIFY_LISTBOX_SELCHANGE" and the change callback
//   slider moved ─► OnSliderChanged ─► first visible ─► repaint
#pragma once

#include <functional>
#include <memory>

#include "control_base.h"
#include "list_model.h"
#include "slider.h"

namespace qorin {

class XStatic;

// Where rows and cells lie: the item area, and the cell of item height (and, in icon style,
// width) with margins around it.
struct XListGeometry {
  XRect area;
  int itemWidth = 20, itemHeight = 20;
  XEdges margin;  // around each cell, icon style only
  bool icon = false;

  int CellWidth() const;
  int CellHeight() const;
  // Cells side by side: at least 1, and 1 in row style.
  int CellsPerRow() const;
  // Whole rows of the area times the cells of a row.
  int RowsPerPage() const;
  // The item under a point with the first visible row, or −1 outside the items.
  int ItemAt(int x, int y, int firstVisible, int count) const;
  // The cell of an item with the first visible row (the margins outside it in icon style).
  XRect CellRect(int index, int firstVisible) const;
  // The last first visible row that still fills the area: rows of items less rows of a page.
  int ScrollLimit(int count) const;
};

class XListBox final : public AControlBase, public XSliderNotifier {
 public:
  std::span<const XAttribute> OwnAttributes() const override;
  bool LoadAttributes(const XXmlNode& element, XLayoutNode& layoutNode) override;
  void AddData(const XXmlNode& data) override;
  void OnChildAdded(AControlBase* child) override;
  int OnAlign(const XRect& rect) override;
  int RenderBuffer(int flags) override;
  int OnLButtonDown(int x, int y) override;
  int OnLButtonDblClk(int x, int y) override;
  int OnRButtonDown(int x, int y) override;
  int OnRButtonUp(int x, int y) override;
  int OnMouseWheel(int delta, int keys, int x, int y) override;
  int OnKeyDown(int key, int high, int sign) override;
  void OnSliderChanged(int id) override;

  // The host's operations; indices outside the items are ignored.
  void AddItem(std::u16string text, bool redraw = true);
  void ClearAll();
  void Select(int index, bool keepOthers);
  void SelectAll();
  int FirstSelected() const { return model.FirstSelected(); }
  void SetSelected(int index, bool selected);
  void EnsureVisible(int index);
  void SetScrollPos(int row);

  XListModel model;
  XListGeometry geometry;
  // Told the list's ID after every selection change.
  std::function<void(int id)> onSelectionChanged;
  XColour background = 0xFFFFFF, selectedBackground = 0x80FF80;
  XColour colours[12] = {0, 0xFFFFFF, 0, 0xFFFFFF, 0, 0xFFFFFF,
                         0, 0xFFFFFF, 0, 0xFFFFFF, 0, 0xFFFFFF};
  bool autoHideSlider = false;
  XBitmap* itemBack = nullptr;
  XBitmap* itemBackSelected = nullptr;
  XBitmap* defaultIcon = nullptr;
  int iconPlace[4] = {};  // left, top, width, height inside a cell; 0 × 0: the icon's size
  XSlider* slider = nullptr;
  XStatic* header = nullptr;

 private:
  void Changed();
  void Scrolled();
  void Post(unsigned message, intptr_t lparam);
  void UpdateSlider();
  void DrawItem(int index, const XRect& cell, const XRect& seen, IXTextCanvas* canvas);
  const XBitmap& CellBack(bool selected, int width, int height);
  XColour Resolved(XColour colour) const;
  int HeldKeys() const;

  struct CachedBack {
    bool selected = false;
    XBitmap bitmap;
  };
  std::vector<std::unique_ptr<CachedBack>>
      backs_;     // item backgrounds drawn at the sizes of cells and columns
  XBitmap work_;  // the seen part of the item area
};

}  // namespace qorin
