// Natives of the language.
#include "installer_commands.h"
#include "installer_natives.h"
#include "text.h"

namespace qorin {

bool LangNative(XInstallerNativeContext& c, const XNativeCall& call) {
  call.SetText(c.data.Table().Lookup(call.Text(0), u"INSTALLER"));
  return true;
}

// A name without a file keeps the selection; the window is rebuilt all the same.
bool SetLanguage(XInstallerNativeContext& c, const XNativeCall& call) {
  c.data.Languages().SelectByName(call.Text(0));
  c.window.PostCommand(kCmdReload);
  return true;
}

bool GetLanguage(XInstallerNativeContext& c, const XNativeCall& call) {
  call.SetText(AsciiLower(c.data.Languages().SelectedName()));
  return true;
}

bool GetLanguageAsLocal(XInstallerNativeContext& c, const XNativeCall& call) {
  const XLanguageList& list = c.data.Languages();
  int selected = list.Selected();
  bool known = selected >= 0 && selected < static_cast<int>(list.Items().size());
  call.SetText(known ? list.Items()[static_cast<size_t>(selected)].displayName : u"");
  return true;
}

}  // namespace qorin
