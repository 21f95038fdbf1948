// The skin's natives, one row per signature key in their fixed order. A native that names a
// control that does not exist does nothing (and answers 0 or the empty text).
#include <string>

#include "controls.h"
#include "display_dpi.h"
#include "native_table.h"
#include "skin_document.h"
#include "skin_scripts.h"
#include "skin_view.h"
#include "table_column.h"
#include "utf.h"

namespace qorin {
namespace {

using Args = XScriptValue* const*;

AControlBase* ControlOf(XSkinScripts& s, Args a) {
  return s.Document().FindControl(a[0]->Int());
}

// The four ints of a RECT argument.
XRect RectOf(const XScriptValue& value) {
  XRect r;
  const XScriptValue& v = Deref(value);
  if (!v.Is(XScriptType::Struct) || v.Struct() == nullptr) return r;
  const auto& m = v.Struct()->members;
  int* fields[] = {&r.left, &r.top, &r.right, &r.bottom};
  for (size_t i = 0; i < 4 && i < m.size(); ++i)
    *fields[i] = m[i].Is(XScriptType::Int) ? m[i].Int() : 0;
  return r;
}

void SetRectResult(XSkinScripts& s, const XRect& r, XScriptValue* result) {
  if (!s.Engine().MakeStruct(u"RECT", result)) return;
  int32_t ints[] = {r.left, r.top, r.right, r.bottom};
  XScript::SetStructInts(result, 4, ints);
}

int To96(int value, int dpi) {
  return MulDiv(value, kDefaultDpi, dpi);
}

// Layout changes by scripts: nothing when the values stay; otherwise a re-layout request.
void ChangeLayout(XSkinScripts& s, AControlBase* c, int left, int top, int width, int height) {
  XLayoutNode& n = *c->layout;
  if (n.left == left && n.top == top && n.width == width && n.height == height) return;
  n.left = left, n.top = top, n.width = width, n.height = height;
  if (s.Document().RequestLayout(c)) s.Window().PostLayout();
}

void SetShow(AControlBase* c, bool shown) {
  if (c != nullptr) c->SetShown(shown);
}

// A fade through the window's view; without one (a skin not in a window) the change is at once.
void Fade(XSkinScripts& s, Args a, bool show) {
  AControlBase* c = ControlOf(s, a);
  XSkinView* view = s.Document().View();
  if (c == nullptr) return;
  if (view == nullptr) {
    if (a[1]->Int() > 0) SetShow(c, show);
    return;
  }
  view->StartFade(c, show, a[1]->Int());
}

void ShowHost(XSkinScripts& s, IXSkinWindow::Show how) {
  s.Window().ShowHost(how);
}

using SkinNative = void (*)(XSkinScripts& s, Args a, XScriptValue* r);

const XNativeRow<SkinNative> kNatives[] = {
    {u"start_random_noise@v",
     [](XSkinScripts& s, Args, XScriptValue*) { s.Window().SetNoise(true); }},
    {u"stop_random_noise@v",
     [](XSkinScripts& s, Args, XScriptValue*) { s.Window().SetNoise(false); }},
    {u"Show@i", [](XSkinScripts& s, Args a, XScriptValue*) { SetShow(ControlOf(s, a), true); }},
    {u"Hide@i", [](XSkinScripts& s, Args a, XScriptValue*) { SetShow(ControlOf(s, a), false); }},
    {u"Enable@i",
     [](XSkinScripts& s, Args a, XScriptValue*) {
       if (AControlBase* c = ControlOf(s, a)) c->Enable(true);
     }},
    {u"Disable@i",
     [](XSkinScripts& s, Args a, XScriptValue*) {
       if (AControlBase* c = ControlOf(s, a)) c->Enable(false);
     }},
    {u"GetShow@i",
     [](XSkinScripts& s, Args a, XScriptValue* r) {
       AControlBase* c = ControlOf(s, a);
       r->SetInt(c != nullptr && c->layout != nullptr && c->layout->show ? 1 : 0);
     }},
    {u"AlphaShow@ii", [](XSkinScripts& s, Args a, XScriptValue*) { Fade(s, a, true); }},
    {u"AlphaHide@ii", [](XSkinScripts& s, Args a, XScriptValue*) { Fade(s, a, false); }},
    {u"SetTextColor@is",
     [](XSkinScripts& s, Args a, XScriptValue*) {
       if (AControlBase* c = ControlOf(s, a)) {
         c->textColour = ParseColour(ToText(*a[1]));
         c->Invalidate();
       }
     }},
    {u"MoveControl@iii",
     [](XSkinScripts& s, Args a, XScriptValue*) {
       if (AControlBase* c = ControlOf(s, a))
         ChangeLayout(s, c, a[1]->Int(), a[2]->Int(), c->layout->width, c->layout->height);
     }},
    {u"SetTimer@ii", [](XSkinScripts& s, Args a,
                        XScriptValue*) { s.Window().SetScriptTimer(a[0]->Int(), a[1]->Int()); }},
    {u"KillTimer@i",
     [](XSkinScripts& s, Args a, XScriptValue*) { s.Window().KillScriptTimer(a[0]->Int()); }},
    {u"SetText@is",
     [](XSkinScripts& s, Args a, XScriptValue*) {
       if (AControlBase* c = ControlOf(s, a)) c->SetText(std::u16string(ToText(*a[1])));
     }},
    {u"SetImageNum@ii",
     [](XSkinScripts& s, Args a, XScriptValue* r) {
       AControlBase* c = ControlOf(s, a);
       r->SetInt(c != nullptr ? c->SetImageNum(a[1]->Int()) : 0);
     }},
    {u"GetText@i",
     [](XSkinScripts& s, Args a, XScriptValue* r) {
       AControlBase* c = ControlOf(s, a);
       r->SetString(c != nullptr ? c->GetText() : std::u16string());
     }},
    {u"ApplyDPI@i",
     [](XSkinScripts& s, Args a, XScriptValue* r) {
       r->SetInt(ScaleForDpi(a[0]->Int(), s.Document().Dpi()));
     }},
    {u"GetRect@i",
     [](XSkinScripts& s, Args a, XScriptValue* r) {
       AControlBase* c = ControlOf(s, a);
       XRect rect = c != nullptr ? c->rect : XRect{};
       if (c != nullptr && c->parent != nullptr) {
         rect = {rect.left - c->parent->rect.left, rect.top - c->parent->rect.top,
                 rect.right - c->parent->rect.left, rect.bottom - c->parent->rect.top};
       }
       SetRectResult(s, rect, r);
     }},
    {u"SetRect@i(RECT)",
     [](XSkinScripts& s, Args a, XScriptValue*) {
       XRect rect = RectOf(*a[1]);
       if (AControlBase* c = ControlOf(s, a))
         ChangeLayout(s, c, rect.left, rect.top, rect.Width(), rect.Height());
     }},
    {u"Move@iii",
     [](XSkinScripts& s, Args a, XScriptValue*) {
       int dpi = s.Document().Dpi();
       if (AControlBase* c = ControlOf(s, a))
         ChangeLayout(s, c, ScaleForDpi(a[1]->Int(), dpi), ScaleForDpi(a[2]->Int(), dpi),
                      c->layout->width, c->layout->height);
     }},
    {u"Width@(RECT)",
     [](XSkinScripts&, Args a, XScriptValue* r) { r->SetInt(RectOf(*a[0]).Width()); }},
    {u"Height@(RECT)",
     [](XSkinScripts&, Args a, XScriptValue* r) { r->SetInt(RectOf(*a[0]).Height()); }},
    {u"SetWidth@ii",
     [](XSkinScripts& s, Args a, XScriptValue*) {
       if (AControlBase* c = ControlOf(s, a))
         ChangeLayout(s, c, c->layout->left, c->layout->top, a[1]->Int(), c->layout->height);
     }},
    {u"MessageBox@s",
     [](XSkinScripts& s, Args a, XScriptValue*) {
       s.Window().MessageBox().ShowMessageBox(ToText(*a[0]), u"XSkin", kBoxOk);
     }},
    {u"OpenUrl@s",
     [](XSkinScripts& s, Args a, XScriptValue*) { s.Window().OpenUrl(ToText(*a[0])); }},
    {u"CloseWindow@v",
     [](XSkinScripts& s, Args, XScriptValue*) { ShowHost(s, IXSkinWindow::kClose); }},
    {u"MinimizeWindow@v",
     [](XSkinScripts& s, Args, XScriptValue*) { ShowHost(s, IXSkinWindow::kMinimize); }},
    {u"MaximizeWindow@v",
     [](XSkinScripts& s, Args, XScriptValue*) { ShowHost(s, IXSkinWindow::kMaximize); }},
    {u"RestoreWindow@v",
     [](XSkinScripts& s, Args, XScriptValue*) { ShowHost(s, IXSkinWindow::kRestore); }},
    {u"GetWindowRect@v",
     [](XSkinScripts& s, Args, XScriptValue* r) {
       XRect w = s.Window().HostWindowRect();
       int dpi = s.Document().Dpi();
       SetRectResult(
           s, {To96(w.left, dpi), To96(w.top, dpi), To96(w.right, dpi), To96(w.bottom, dpi)}, r);
     }},
    {u"GetClientRect@v",
     [](XSkinScripts& s, Args, XScriptValue* r) {
       XRect c = s.Window().HostClientRect();
       int dpi = s.Document().Dpi();
       SetRectResult(
           s, {To96(c.left, dpi), To96(c.top, dpi), To96(c.right, dpi), To96(c.bottom, dpi)}, r);
     }},
    {u"MoveWindow@(RECT)",
     [](XSkinScripts& s, Args a, XScriptValue*) { s.Window().MoveHost(RectOf(*a[0])); }},
    {u"SetEventHandler@is",
     [](XSkinScripts& s, Args a, XScriptValue*) {
       int event = a[0]->Int();
       std::u16string text(ToText(*a[1]));
       if (!s.SetHandler(event, text)) {
         s.Window().MessageBox().ShowMessageBox(
             u"SetEventHandler failed - event:" + DisplayInt(event) + u", handler:" + text,
             u"XSkin", kBoxOk);
       }
     }},
    {u"CheckBoxSetCheck@ii",
     [](XSkinScripts& s, Args a, XScriptValue*) {
       if (auto* box = dynamic_cast<XCheckBox*>(ControlOf(s, a))) box->SetImageNum(a[1]->Int());
     }},
    {u"CheckBoxGetCheck@i",
     [](XSkinScripts& s, Args a, XScriptValue* r) {
       auto* box = dynamic_cast<XCheckBox*>(ControlOf(s, a));
       r->SetInt(box != nullptr ? box->GetState() : 0);
     }},
};

}  // namespace

const XNativeTable<SkinNative>& SkinNatives() {
  static const XNativeTable<SkinNative> table(kNatives);
  return table;
}

std::vector<std::u16string_view> SkinNativeKeys() {
  return ColumnOf(kNatives, &XNativeRow<SkinNative>::key);
}

int SkinNativeNumber(std::u16string_view key) {
  return SkinNatives().Number(key);
}

bool RunSkinNative(int number, XSkinScripts& scripts, XScriptValue* const* args,
                   XScriptValue* result) {
  if (number < 0 || number >= static_cast<int>(std::size(kNatives))) return false;
  kNatives[number].handler(scripts, args, result);
  return true;
}

}  // namespace qorin
