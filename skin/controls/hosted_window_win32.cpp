// The system side of XWindow: the child window made or adopted, placed, shown, and coloured
// through a subclass of the host window that answers WM_CTLCOLOREDIT / WM_CTLCOLORSTATIC.
#include <windows.h>

#include <map>

#include "gdi_text_canvas_win32.h"
#include "hosted_window.h"
#include "script_value.h"
#include "skin_document.h"
#include "skin_view.h"
#include "wide_text_win32.h"

namespace qorin {
namespace {

constexpr wchar_t kSubclassProperty[] = L"XSKINEDITSUBCLASSERPROP";
constexpr UINT kSetBackgroundColour = 0x443;  // EM_SETBKGNDCOLOR

struct EditColours {
  XColour colours[5];
  HBRUSH background = nullptr, readOnly = nullptr, disabled = nullptr;
};

// The subclass of one host window: its previous procedure and the colours of its edits.
struct EditSubclass {
  WNDPROC previous = nullptr;
  std::map<HWND, EditColours> edits;
};

COLORREF Colour(XColour c) {
  return c < 0 ? GetSysColor(-c) : static_cast<COLORREF>(c) & 0xFFFFFF;
}

HBRUSH BrushFor(XColour c) {
  return c == -1 ? nullptr : CreateSolidBrush(Colour(c));
}

void FreeBrushes(EditColours& e) {
  for (HBRUSH brush : {e.background, e.readOnly, e.disabled}) {
    if (brush != nullptr) DeleteObject(brush);
  }
}

LRESULT CALLBACK EditColourProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* sub = static_cast<EditSubclass*>(GetPropW(window, kSubclassProperty));
  if (sub == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  WNDPROC previous = sub->previous;
  if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC) {
    auto found = sub->edits.find(reinterpret_cast<HWND>(lparam));
    if (found != sub->edits.end()) {
      HDC dc = reinterpret_cast<HDC>(wparam);
      const EditColours& e = found->second;
      if (message == WM_CTLCOLOREDIT) {
        if (e.colours[XWindow::kBackground] != -1)
          SetBkColor(dc, Colour(e.colours[XWindow::kBackground]));
        if (e.colours[XWindow::kText] != -1) SetTextColor(dc, Colour(e.colours[XWindow::kText]));
        if (e.background != nullptr) return reinterpret_cast<LRESULT>(e.background);
      } else if (IsWindowEnabled(found->first)) {
        if (e.colours[XWindow::kBackgroundReadOnly] != -1)
          SetBkColor(dc, Colour(e.colours[XWindow::kBackgroundReadOnly]));
        if (e.colours[XWindow::kTextReadOnly] != -1)
          SetTextColor(dc, Colour(e.colours[XWindow::kTextReadOnly]));
        if (e.readOnly != nullptr) return reinterpret_cast<LRESULT>(e.readOnly);
      } else if (e.disabled != nullptr) {
        SetBkColor(dc, Colour(e.colours[XWindow::kBackgroundDisabled]));
        return reinterpret_cast<LRESULT>(e.disabled);
      }
    }
  } else if (message == WM_DESTROY) {
    for (auto& [edit, colours] : sub->edits) FreeBrushes(colours);
    RemovePropW(window, kSubclassProperty);
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    delete sub;
  }
  return CallWindowProcW(previous, window, message, wparam, lparam);
}

// The host's subclass, made on first use; null when subclassing fails.
EditSubclass* SubclassOf(HWND host) {
  if (auto* sub = static_cast<EditSubclass*>(GetPropW(host, kSubclassProperty))) return sub;
  auto* sub = new EditSubclass;
  if (!SetPropW(host, kSubclassProperty, sub)) {
    delete sub;
    return nullptr;
  }
  sub->previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(host, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditColourProc)));
  if (sub->previous == nullptr) {
    RemovePropW(host, kSubclassProperty);
    delete sub;
    return nullptr;
  }
  return sub;
}

HWND Handle(void* window) {
  return static_cast<HWND>(window);
}

}  // namespace

bool XWindow::Attach(const XXmlNode& element, bool shown) {
  HWND host = static_cast<HWND>(skin->HostWindow());
  if (host == nullptr) return true;  // a skin outside a window (tools)
  // A WindowHandle was found when the attributes were read; otherwise adopt or create.
  if (window == nullptr && windowId != kNone) {
    window = GetDlgItem(host, windowId);
    if (window == nullptr)
      return skin->Errors().Set(XSKIN_ERR_ID, u"WindowID", DisplayInt(windowId), element.line,
                                element.column);
  } else if (window == nullptr) {
    auto make = [&](const std::wstring& name) {
      return CreateWindowExW(exStyle, name.c_str(), nullptr, style, 0, 0, 0, 0, host,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id == kNone ? 0 : id)),
                             static_cast<HINSTANCE>(skin->Module()), nullptr);
    };
    HWND made = make(Wide(className));
    if (made == nullptr && (className == u"RichEdit20W" || className == u"Edit")) {
      library_ = LoadLibraryW(L"MSFTEDIT.dll");
      made = make(L"RICHEDIT50W");
    }
    if (made == nullptr) {
      std::u16string text = u"ClassName:" + className + u", GetLastError:" +
                            DisplayInt(static_cast<int>(GetLastError()));
      return skin->Errors().Set(XSKIN_ERR_WINDOW_CLASS, text, {}, element.line, element.column);
    }
    window = made;
    created_ = true;
  }
  HWND w = Handle(window);
  bool coloured = false;
  for (XColour c : colours) coloured |= c != -1;
  if (coloured) {
    if (EditSubclass* sub = SubclassOf(host)) {
      EditColours e{{colours[0], colours[1], colours[2], colours[3], colours[4]},
                    BrushFor(colours[kBackground]),
                    BrushFor(colours[kBackgroundReadOnly]),
                    BrushFor(colours[kBackgroundDisabled])};
      sub->edits[w] = e;
    }
  }
  if (richEditBackground != -1)
    SendMessageW(w, kSetBackgroundColour, 0, static_cast<LPARAM>(Colour(richEditBackground)));
  if (!windowText.empty()) SetWindowTextW(w, Wide(windowText).c_str());
  if (windowEnable != -1) EnableWindow(w, windowEnable != 0);
  auto* canvas =
      skin->View() != nullptr ? dynamic_cast<XGdiTextCanvas*>(skin->View()->Canvas()) : nullptr;
  if (hasText && canvas != nullptr) {
    if (HFONT handle = canvas->Font(font))
      SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(handle), FALSE);
  }
  ShowWindow(w, shown ? SW_SHOW : SW_HIDE);
  return true;
}

void XWindow::Place(const XRect& r) {
  HWND w = Handle(window);
  if (w == nullptr) return;
  if (IsEmpty(r)) {
    if (GetFocus() == w) SetFocus(GetParent(w));
    MoveWindow(w, -10000, -10000, 0, 0, TRUE);
    return;
  }
  // A child of a mirrored host is placed in the host's mirrored terms.
  XRect placed = skin->View() != nullptr ? skin->View()->mirror.Rect(r) : r;
  MoveWindow(w, placed.left, r.top, r.Width(), r.Height(), TRUE);
}

void XWindow::Detach() {
  HWND w = Handle(window);
  if (w != nullptr && skin != nullptr) {
    HWND host = static_cast<HWND>(skin->HostWindow());
    if (auto* sub = host != nullptr ? static_cast<EditSubclass*>(GetPropW(host, kSubclassProperty))
                                    : nullptr) {
      auto found = sub->edits.find(w);
      if (found != sub->edits.end()) {
        FreeBrushes(found->second);
        sub->edits.erase(found);
      }
    }
    if (created_) DestroyWindow(w);
  }
  window = nullptr;
  if (library_ != nullptr) FreeLibrary(static_cast<HMODULE>(library_));
  library_ = nullptr;
}

void XWindow::OnShow(bool shown) {
  HWND w = Handle(window);
  if (w == nullptr) return;
  if (shown) Place(rect);
  ShowWindow(w, shown ? SW_SHOW : SW_HIDE);
}

void XWindow::SetText(std::u16string newText) {
  windowText = std::move(newText);
  if (window != nullptr) SetWindowTextW(Handle(window), Wide(windowText).c_str());
}

std::u16string XWindow::GetText() const {
  HWND w = Handle(window);
  if (w == nullptr) return windowText;
  int length = GetWindowTextLengthW(w);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(w, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  return FromWide(text);
}

void XWindow::Enable(bool on) {
  enabled = on;
  if (window != nullptr) EnableWindow(Handle(window), on);
}

int XWindow::OnSetFocus() {
  if (window == nullptr) return 0;
  SetFocus(Handle(window));
  return 1;
}

}  // namespace qorin
