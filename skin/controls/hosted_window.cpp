#include "hosted_window.h"

#include "skin_document.h"
#include "window_styles.h"

namespace qorin {
namespace {

XWindow& W(AControlBase& c) {
  return static_cast<XWindow&>(c);
}

template <int Index>
bool SetColour(AControlBase& c, const std::u16string& v, const XXmlNode&) {
  W(c).colours[Index] = ParseColour(c.skin->Resolve(v));
  return true;
}

constexpr XAttribute kWindow[] = {
    {u"WindowHandle",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       W(c).handleName = v;
       return true;
     }},
    {u"WindowID",
     [](AControlBase& c, const std::u16string& v, const XXmlNode& e) {
       if (c.skin->Ids().ResolveValue(v, &W(c).windowId)) return true;
       return c.skin->Errors().Set(XSKIN_ERR_ID, u"WindowID", v, e.line, e.column);
     }},
    {u"WindowClass",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       W(c).className = v;
       return true;
     }},
    {u"WindowStyle",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       W(c).style = ParseWindowStyles(v);
       return true;
     }},
    {u"WindowStyleEx",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       W(c).exStyle = ParseWindowStyles(v);
       return true;
     }},
    {u"EditTextColor", SetColour<XWindow::kText>},
    {u"EditBkgndColor", SetColour<XWindow::kBackground>},
    {u"EditTextColorRO", SetColour<XWindow::kTextReadOnly>},
    {u"EditBkgndColorRO", SetColour<XWindow::kBackgroundReadOnly>},
    {u"EditBkgndColorDisable", SetColour<XWindow::kBackgroundDisabled>},
    {u"RichEditBkgndColor",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       W(c).richEditBackground = ParseColour(c.skin->Resolve(v));
       return true;
     }},
    {u"WindowText",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       W(c).windowText = c.skin->Resolve(v);
       return true;
     }},
    {u"WindowEnable",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       W(c).windowEnable = ParseBool(v) ? 1 : 0;
       return true;
     }},
};

}  // namespace

XWindow::~XWindow() {
  if (IXHostedWindows* system = System()) system->Detach(*this);
}

IXHostedWindows* XWindow::System() const {
  return skin != nullptr ? skin->HostedWindows() : nullptr;
}

std::span<const XAttribute> XWindow::OwnAttributes() const {
  return kWindow;
}

bool XWindow::LoadAttributes(const XXmlNode& element, XLayoutNode& layoutNode) {
  if (!AControlBase::LoadAttributes(element, layoutNode)) return false;
  if (handleName.empty() && windowId == kNone && className.empty())
    return skin->Errors().Set(XSKIN_ERR_NO_WINDOW_HANDLE, u"Window", {}, element.line,
                              element.column);
  if (!handleName.empty()) {
    window = skin->FindWindowHandle(handleName);
    if (window == nullptr)
      return skin->Errors().Set(XSKIN_ERR_WINDOW_HANDLE, u"WindowHandle", handleName, element.line,
                                element.column);
  }
  IXHostedWindows* system = System();
  return system == nullptr || system->Attach(*this, element, layoutNode.show);
}

int XWindow::OnAlign(const XRect& newRect) {
  AControlBase::OnAlign(newRect);
  if (IXHostedWindows* system = System()) system->Place(*this, newRect);
  return 1;
}

void XWindow::OnShow(bool shown) {
  if (IXHostedWindows* system = System()) system->Show(*this, shown);
}

void XWindow::SetText(std::u16string newText) {
  windowText = std::move(newText);
  if (IXHostedWindows* system = System()) system->SetText(*this, windowText);
}

std::u16string XWindow::GetText() const {
  IXHostedWindows* system = System();
  return system != nullptr ? system->Text(*this) : windowText;
}

void XWindow::Enable(bool on) {
  enabled = on;
  if (IXHostedWindows* system = System()) system->Enable(*this, on);
}

int XWindow::OnSetFocus() {
  IXHostedWindows* system = System();
  return system != nullptr && system->Focus(*this) ? 1 : 0;
}

}  // namespace qorin
