#include "controls.h"

#include "skin_document.h"
#include "table_column.h"
#include "text.h"

namespace qorin {
namespace {

template <typename Control>
AControlBase* Make() {
  return new Control();
}

struct TagRow {
  const char16_t* tag;
  AControlBase* (*make)();
};

constexpr TagRow kTags[] = {
    {u"Static", Make<XStatic>},       {u"Button", Make<XButton>},
    {u"ListBox", Make<XListBox>},     {u"ComboBox", Make<XComboBox>},
    {u"CheckBox", Make<XCheckBox>},   {u"Window", Make<XWindow>},
    {u"Slider", Make<XSlider>},       {u"Scroll", Make<XScroll>},
    {u"Progress", Make<XProgress>},   {u"GroupBox", Make<XGroupBox>},
    {u"ChildSkin", Make<XChildSkin>},
};

}  // namespace

std::vector<std::u16string_view> SkinTagNames() {
  return ColumnOf(kTags, &TagRow::tag);
}

AControlBase* CreateControlForTag(std::u16string_view tag) {
  for (const TagRow& row : kTags) {
    if (tag == row.tag) return row.make();
  }
  return nullptr;
}

XChildSkin::XChildSkin() = default;
XChildSkin::~XChildSkin() = default;

bool XChildSkin::LoadAttributes(const XXmlNode& element, XLayoutNode& layoutNode) {
  if (!AControlBase::LoadAttributes(element, layoutNode)) return false;
  const std::u16string_view* file = XXmlDocument::FindAttribute(element, u"File");
  if (file == nullptr)
    return skin->Errors().Set(XSKIN_ERR_CHILD_SKIN_FILE, u"ChildSkin", {}, element.line,
                              element.column);
  // A child that includes itself, directly or through others, would nest without end.
  std::u16string resolved = AsciiLower(skin->Resources().ResolveName(*file));
  for (const XSkinDocument* s = skin; s != nullptr; s = s->ParentSkin()) {
    if (AsciiLower(skin->Resources().ResolveName(s->FileName())) == resolved)
      return skin->Errors().Set(XSKIN_ERR_CHILD_SKIN_FILE, u"ChildSkin", *file, element.line,
                                element.column);
  }
  document_ = std::make_unique<XSkinDocument>(skin->Resources(), skin->Options(), skin);
  document_->SetDpi(skin->Dpi());
  document_->SetTextMeasure(skin->TextMeasure());
  document_->SetRightToLeft(skin->RightToLeft());
  if (document_->Load(*file)) return true;
  skin->Errors() = document_->Error();  // the child's record becomes the parent's
  return false;
}

int XChildSkin::OnAlign(const XRect& newRect) {
  AControlBase::OnAlign(newRect);
  if (document_) document_->Layout().LayoutIn(newRect);
  return 1;
}

}  // namespace qorin
