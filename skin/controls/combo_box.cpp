#include "combo_box.h"

#include "skin_document.h"
#include "skin_surface.h"
#include "skin_view.h"
#include "xml_document.h"

namespace qorin {
namespace {

constexpr XAttribute kComboBox[] = {
    {u"ListHeight",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       static_cast<XComboBox&>(c).listHeight = std::max(0, ParseInt(v));
       return true;
     }},
};

}  // namespace

XRect DropDownRect(const XRect& combo, int listHeight, const XRect& workArea) {
  XRect below{combo.left, combo.bottom, combo.right, combo.bottom + listHeight};
  bool roomBelow = below.bottom <= workArea.bottom;
  bool roomAbove = combo.top - listHeight >= workArea.top;
  if (roomBelow || !roomAbove) return below;
  return {combo.left, combo.top - listHeight, combo.right, combo.top};
}

XComboBox::~XComboBox() {
  if (IXDropDowns* lists = DropDowns()) lists->Forget(*this);
}

IXDropDowns* XComboBox::DropDowns() const {
  return skin != nullptr ? skin->DropDowns() : nullptr;
}

bool XComboBox::LoadAttributes(const XXmlNode& element, XLayoutNode& layoutNode) {
  return XButton::LoadAttributes(element, layoutNode) && ReadTable(LaterAttributes(), element);
}

std::span<const XAttribute> XComboBox::LaterAttributes() const {
  return kComboBox;
}

void XComboBox::AddData(const XXmlNode& data) {
  if (const std::u16string_view* text = XXmlDocument::FindAttribute(data, u"Text"))
    items.push_back(skin->Resolve(std::u16string(*text)));
}

// A completed left click opens the list, or closes it when it is open.
int XComboBox::Release(Which button) {
  bool clicked = button == kLeft && enabled && VisualState() == 2;
  int answer = XButton::Release(button);
  IXDropDowns* lists = DropDowns();
  if (!clicked || lists == nullptr) return answer;
  if (lists->IsOpen(*this)) {
    lists->Close(*this);
  } else {
    lists->Open(*this);
  }
  return answer;
}

void XComboBox::Picked(int index) {
  bool valid = index >= 0 && index < static_cast<int>(items.size());
  selected = index;
  SetText(valid ? items[static_cast<size_t>(index)] : std::u16string());
  if (skin == nullptr || skin->View() == nullptr) return;
  unsigned message = skin->View()->Pointer().Messages().comboChanged;
  if (message != 0) skin->View()->Surface().PostToHost(message, static_cast<uintptr_t>(id), 0);
}

}  // namespace qorin
