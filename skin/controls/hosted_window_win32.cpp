// The system side of XWindow: the child window made or adopted, placed, shown, and coloured
// through a subclass of the host window that answers WM_CTLCOLOREDIT / WM_CTLCOLORSTATIC.
#include "hosted_window_win32.h"

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

bool XHostedWindowsWin32::Attach(XWindow& c, const XXmlNode& element, bool shown) {
  XSkinDocument& skin = *c.skin;
  HWND host = static_cast<HWND>(skin.HostWindow());
  if (host == nullptr) return true;  // a skin outside a window
  // A WindowHandle was found when the attributes were read; otherwise adopt or create.
  if (c.window == nullptr && c.windowId != XWindow::kNone) {
    c.window = GetDlgItem(host, c.windowId);
    if (c.window == nullptr)
      return skin.Errors().Set(XSKIN_ERR_ID, u"WindowID", DisplayInt(c.windowId), element.line,
                               element.column);
  } else if (c.window == nullptr) {
    int id = c.id == XWindow::kNone ? 0 : c.id;
    auto make = [&](const std::wstring& name) {
      return CreateWindowExW(c.exStyle, name.c_str(), nullptr, c.style, 0, 0, 0, 0, host,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             static_cast<HINSTANCE>(skin.Module()), nullptr);
    };
    HWND made = make(Wide(c.className));
    if (made == nullptr && (c.className == u"RichEdit20W" || c.className == u"Edit")) {
      c.library = LoadLibraryW(L"MSFTEDIT.dll");
      made = make(L"RICHEDIT50W");
    }
    if (made == nullptr) {
      std::u16string text = u"ClassName:" + c.className + u", GetLastError:" +
                            DisplayInt(static_cast<int>(GetLastError()));
      return skin.Errors().Set(XSKIN_ERR_WINDOW_CLASS, text, {}, element.line, element.column);
    }
    c.window = made;
    c.created = true;
  }
  HWND w = Handle(c.window);
  bool coloured = false;
  for (XColour colour : c.colours) coloured |= colour != -1;
  if (coloured) {
    if (EditSubclass* sub = SubclassOf(host)) {
      const XColour* k = c.colours;
      EditColours e{{k[0], k[1], k[2], k[3], k[4]},
                    BrushFor(k[XWindow::kBackground]),
                    BrushFor(k[XWindow::kBackgroundReadOnly]),
                    BrushFor(k[XWindow::kBackgroundDisabled])};
      sub->edits[w] = e;
    }
  }
  if (c.richEditBackground != -1)
    SendMessageW(w, kSetBackgroundColour, 0, static_cast<LPARAM>(Colour(c.richEditBackground)));
  if (!c.windowText.empty()) SetWindowTextW(w, Wide(c.windowText).c_str());
  if (c.windowEnable != -1) EnableWindow(w, c.windowEnable != 0);
  auto* canvas =
      skin.View() != nullptr ? dynamic_cast<XGdiTextCanvas*>(skin.View()->Canvas()) : nullptr;
  if (c.hasText && canvas != nullptr) {
    if (HFONT handle = canvas->Font(c.font))
      SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(handle), FALSE);
  }
  ShowWindow(w, shown ? SW_SHOW : SW_HIDE);
  return true;
}

void XHostedWindowsWin32::Place(XWindow& c, const XRect& r) {
  HWND w = Handle(c.window);
  if (w == nullptr) return;
  if (IsEmpty(r)) {
    if (GetFocus() == w) SetFocus(GetParent(w));
    MoveWindow(w, -10000, -10000, 0, 0, TRUE);
    return;
  }
  // A child of a mirrored host is placed in the host's mirrored terms.
  XRect placed = c.skin->View() != nullptr ? c.skin->View()->mirror.Rect(r) : r;
  MoveWindow(w, placed.left, r.top, r.Width(), r.Height(), TRUE);
}

void XHostedWindowsWin32::Detach(XWindow& c) {
  HWND w = Handle(c.window);
  if (w != nullptr) {
    HWND host = static_cast<HWND>(c.skin->HostWindow());
    if (auto* sub = host != nullptr ? static_cast<EditSubclass*>(GetPropW(host, kSubclassProperty))
                                    : nullptr) {
      auto found = sub->edits.find(w);
      if (found != sub->edits.end()) {
        FreeBrushes(found->second);
        sub->edits.erase(found);
      }
    }
    if (c.created) DestroyWindow(w);
  }
  c.window = nullptr;
  if (c.library != nullptr) FreeLibrary(static_cast<HMODULE>(c.library));
  c.library = nullptr;
}

void XHostedWindowsWin32::Show(XWindow& c, bool shown) {
  HWND w = Handle(c.window);
  if (w == nullptr) return;
  if (shown) Place(c, c.rect);
  ShowWindow(w, shown ? SW_SHOW : SW_HIDE);
}

void XHostedWindowsWin32::SetText(XWindow& c, const std::u16string& text) {
  if (c.window != nullptr) SetWindowTextW(Handle(c.window), Wide(text).c_str());
}

std::u16string XHostedWindowsWin32::Text(const XWindow& c) {
  HWND w = Handle(c.window);
  if (w == nullptr) return c.windowText;
  int length = GetWindowTextLengthW(w);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(w, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  return FromWide(text);
}

void XHostedWindowsWin32::Enable(XWindow& c, bool on) {
  if (c.window != nullptr) EnableWindow(Handle(c.window), on);
}

bool XHostedWindowsWin32::Focus(XWindow& c) {
  if (c.window == nullptr) return false;
  SetFocus(Handle(c.window));
  return true;
}

}  // namespace qorin
