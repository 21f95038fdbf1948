#include "window_styles.h"

#include "table_column.h"
#include "text.h"

namespace qorin {
namespace {

struct Style {
  const char16_t* name;
  uint32_t value;
};

constexpr Style kStyles[] = {
    {u"WS_OVERLAPPED", 0x00000000},
    {u"WS_POPUP", 0x80000000},
    {u"WS_CHILD", 0x40000000},
    {u"WS_MINIMIZE", 0x20000000},
    {u"WS_VISIBLE", 0x10000000},
    {u"WS_DISABLED", 0x08000000},
    {u"WS_CLIPSIBLINGS", 0x04000000},
    {u"WS_CLIPCHILDREN", 0x02000000},
    {u"WS_MAXIMIZE", 0x01000000},
    {u"WS_CAPTION", 0x00C00000},
    {u"WS_BORDER", 0x00800000},
    {u"WS_DLGFRAME", 0x00400000},
    {u"WS_VSCROLL", 0x00200000},
    {u"WS_HSCROLL", 0x00100000},
    {u"WS_SYSMENU", 0x00080000},
    {u"WS_THICKFRAME", 0x00040000},
    {u"WS_GROUP", 0x00020000},
    {u"WS_TABSTOP", 0x00010000},
    {u"WS_MINIMIZEBOX", 0x00020000},
    {u"WS_MAXIMIZEBOX", 0x00010000},
    {u"WS_TILED", 0x00000000},
    {u"WS_ICONIC", 0x20000000},
    {u"WS_SIZEBOX", 0x00040000},
    {u"WS_OVERLAPPEDWINDOW", 0x00CF0000},
    {u"WS_TILEDWINDOW", 0x00CF0000},
    {u"WS_POPUPWINDOW", 0x80880000},
    {u"WS_CHILDWINDOW", 0x40000000},
    {u"WS_EX_DLGMODALFRAME", 0x00000001},
    {u"WS_EX_NOPARENTNOTIFY", 0x00000004},
    {u"WS_EX_TOPMOST", 0x00000008},
    {u"WS_EX_ACCEPTFILES", 0x00000010},
    {u"WS_EX_TRANSPARENT", 0x00000020},
    {u"WS_EX_MDICHILD", 0x00000040},
    {u"WS_EX_TOOLWINDOW", 0x00000080},
    {u"WS_EX_WINDOWEDGE", 0x00000100},
    {u"WS_EX_CLIENTEDGE", 0x00000200},
    {u"WS_EX_CONTEXTHELP", 0x00000400},
    {u"WS_EX_RIGHT", 0x00001000},
    {u"WS_EX_LEFT", 0x00000000},
    {u"WS_EX_RTLREADING", 0x00002000},
    {u"WS_EX_LTRREADING", 0x00000000},
    {u"WS_EX_LEFTSCROLLBAR", 0x00004000},
    {u"WS_EX_RIGHTSCROLLBAR", 0x00000000},
    {u"WS_EX_CONTROLPARENT", 0x00010000},
    {u"WS_EX_STATICEDGE", 0x00020000},
    {u"WS_EX_APPWINDOW", 0x00040000},
    {u"WS_EX_OVERLAPPEDWINDOW", 0x00000300},
    {u"WS_EX_PALETTEWINDOW", 0x00000188},
    {u"WS_EX_LAYERED", 0x00080000},
    {u"WS_EX_NOINHERITLAYOUT", 0x00100000},
    {u"WS_EX_LAYOUTRTL", 0x00400000},
    {u"WS_EX_COMPOSITED", 0x02000000},
    {u"WS_EX_NOACTIVATE", 0x08000000},
    {u"ES_LEFT", 0x0000},
    {u"ES_CENTER", 0x0001},
    {u"ES_RIGHT", 0x0002},
    {u"ES_MULTILINE", 0x0004},
    {u"ES_UPPERCASE", 0x0008},
    {u"ES_LOWERCASE", 0x0010},
    {u"ES_PASSWORD", 0x0020},
    {u"ES_AUTOVSCROLL", 0x0040},
    {u"ES_AUTOHSCROLL", 0x0080},
    {u"ES_NOHIDESEL", 0x0100},
    {u"ES_OEMCONVERT", 0x0400},
    {u"ES_READONLY", 0x0800},
    {u"ES_WANTRETURN", 0x1000},
    {u"ES_NUMBER", 0x2000},
    {u"LVS_ICON", 0x0000},
    {u"LVS_REPORT", 0x0001},
    {u"LVS_SMALLICON", 0x0002},
    {u"LVS_LIST", 0x0003},
    {u"LVS_TYPEMASK", 0x0003},
    {u"LVS_SINGLESEL", 0x0004},
    {u"LVS_SHOWSELALWAYS", 0x0008},
    {u"LVS_SORTASCENDING", 0x0010},
    {u"LVS_SORTDESCENDING", 0x0020},
    {u"LVS_SHAREIMAGELISTS", 0x0040},
    {u"LVS_NOLABELWRAP", 0x0080},
    {u"LVS_AUTOARRANGE", 0x0100},
    {u"LVS_EDITLABELS", 0x0200},
    {u"LVS_OWNERDRAWFIXED", 0x0400},
    {u"LVS_ALIGNTOP", 0x0000},
    {u"LVS_ALIGNLEFT", 0x0800},
    {u"LVS_ALIGNMASK", 0x0C00},
    {u"LVS_OWNERDATA", 0x1000},
    {u"LVS_NOSCROLL", 0x2000},
    {u"LVS_NOCOLUMNHEADER", 0x4000},
    {u"LVS_NOSORTHEADER", 0x8000},
    {u"LVS_TYPESTYLEMASK", 0xFC00},
};

bool IsSeparator(char16_t c) {
  return c == u'|' || c == u',' || IsAsciiSpace(c);
}

}  // namespace

std::vector<std::u16string_view> WindowStyleNames() {
  return ColumnOf(kStyles, &Style::name);
}

uint32_t ParseWindowStyles(std::u16string_view text, std::u16string* unknown) {
  uint32_t styles = 0;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsSeparator(text[i])) ++i;
    size_t start = i;
    while (i < text.size() && !IsSeparator(text[i])) ++i;
    std::u16string_view name = text.substr(start, i - start);
    if (name.empty()) continue;
    bool found = false;
    for (const Style& style : kStyles) {
      if (name == style.name) {
        styles |= style.value;
        found = true;
        break;
      }
    }
    if (!found && unknown != nullptr && unknown->empty()) unknown->assign(name);
  }
  return styles;
}

}  // namespace qorin
