// The control classes of the skin's tags. Each has the common attributes and the layout now;
// its own attributes and drawing come with the control itself.
#pragma once

#include <memory>
#include <string>

#include "control_base.h"

namespace qorin {

class XSkinDocument;

// The container of a skin's <Body> controls: "ROOT", or "CHILD_ROOT" in a nested skin.
class XRootControl final : public AControlBase {};

class XStatic : public AControlBase {};
class XGroupBox final : public XStatic {};
class XButton final : public AControlBase {};
class XCheckBox final : public AControlBase {
 public:
  int GetState() override { return checked; }
  int checked = 0;
};
class XListBox final : public AControlBase {};
class XComboBox final : public AControlBase {};
class XWindow final : public AControlBase {};
class XSlider final : public AControlBase {};
class XScroll final : public AControlBase {};
class XProgress final : public AControlBase {};

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

}  // namespace qorin
