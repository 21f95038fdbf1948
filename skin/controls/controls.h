// The control classes of the skin's tags: the tag table, and the controls whose own attributes
// and drawing come later (they have the common attributes and the layout).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "button.h"
#include "combo_box.h"
#include "control_base.h"
#include "hosted_window.h"
#include "list_box.h"
#include "progress.h"
#include "scroll.h"
#include "slider.h"
#include "static.h"

namespace qorin {

class XSkinDocument;

// The container of a skin's <Body> controls: "ROOT", or "CHILD_ROOT" in a nested skin.
class XRootControl final : public AControlBase {
 public:
  bool AcceptsInput() const override { return false; }
};

// A skin nested in another, from the skin file its File attribute names. It shares its
// parent's resources and host options and keeps its own ID table; its tree is laid out inside
// its rectangle.
class XChildSkin final : public AControlBase {
 public:
  XChildSkin();
  ~XChildSkin() override;
  bool LoadAttributes(const XXmlNode& element, XLayoutNode& layoutNode) override;
  int OnAlign(const XRect& rect) override;
  XSkinDocument* Document() const { return document_.get(); }

 private:
  std::unique_ptr<XSkinDocument> document_;
};

// A new control for a tag of the skin language, or null for any other tag.
AControlBase* CreateControlForTag(std::u16string_view tag);
// The tags of the skin language's controls, in the table's order.
std::vector<std::u16string_view> SkinTagNames();

}  // namespace qorin
