#include "install_flow.h"

#include <algorithm>

#include "extraction.h"
#include "installer_commands.h"
#include "language_table.h"
#include "number_text.h"
#include "script_literal.h"
#include "script_value.h"
#include "utf.h"

namespace qorin {

std::u16string XInstallFlow::OpenFile(IXFlowHost& host, std::u16string_view name,
                                      std::u16string_view defaultPath) const {
  host.RunHostText(u"OnOpenFileToWrite(" + ScriptLiteral(name) + u");");
  const XScriptValue& answer = host.LastResult();
  std::u16string path(IsText(answer) ? ToText(answer) : defaultPath);
  std::u16string shown = path.empty() ? std::u16string(name) : path;
  host.SetNamedText(u"STATIC_CUR_FILE_NAME", shown);
  host.AddNamedListItem(u"LISTBOX_FILES", shown);
  return path;
}

void XInstallFlow::Progress(IXFlowHost& host, uint64_t done, uint64_t total) const {
  uint64_t perMille = total == 0 ? 0 : std::min(done, total) * 1000 / total;
  host.SetNamedProgress(u"PROGRESS_INSTALL", static_cast<int>(perMille));
  host.SetNamedText(u"STATIC_INSTALL_STATE",
                    DisplayInt(static_cast<int32_t>(perMille / 10)) + u"%");
}

void XInstallFlow::ComboChanged(IXFlowHost& host, int id, std::u16string_view text) {
  host.RunHostText(u"OnComboChanged(" + DisplayInt(id) + u", " + ScriptLiteral(text) + u");");
}

void XInstallFlow::Completed(IXFlowHost& host, int code, std::u16string_view name,
                             XLanguageTable& texts) {
  ExtractionFinished(code == XEXTRACT_OK);
  if (code == XEXTRACT_OK) {
    host.RunHostText(u"OnSuccess();");
    return;
  }
  std::u16string text;
  if (const char16_t* key = ExtractionErrorKey(code)) {
    text = texts.LookupWith(key, name);
  } else {
    text = AsciiToUtf16("ERROR:0x" + HexText(static_cast<unsigned>(code)));
  }
  host.RunHostText(u"OnFailed(" + ScriptLiteral(text) + u");");
}

void XInstallFlow::DefineConstants(
    IXFlowHost& host, std::span<const std::pair<std::u16string, std::u16string>> folders) {
  for (const auto& [name, path] : folders) {
    if (!path.empty()) host.RunHostText(u"string " + name + u" = " + ScriptLiteral(path) + u"; ");
  }
  struct Number {
    const char16_t* name;
    int value;
  };
  for (Number number : {Number{u"MB_YESNO", 4}, Number{u"MB_RETRYCANCEL", 5},
                        Number{u"MB_ICONQUESTION", 32}, Number{u"MB_SYSTEMMODAL", 4096}}) {
    host.RunHostText(u"int " + std::u16string(number.name) + u" = " + DisplayInt(number.value) +
                     u"; ");
  }
}

XWindowAction XInstallFlow::OnCommand(unsigned id) const {
  if (busy_) return XWindowAction::kNone;
  switch (id) {
    case kCmdEscape:
      return state_ == XInstallState::kIdle ? XWindowAction::kClose : XWindowAction::kNone;
    case kCmdExit:
    case kCmdCancel:
    case kCmdErrorExit: return XWindowAction::kClose;
    case kCmdMinimize: return XWindowAction::kMinimize;
    case kCmdCtrlR: return XWindowAction::kPostReload;
    case kCmdReload: return XWindowAction::kReload;
    case kCmdEnter: return XWindowAction::kEnterKey;
    case kCmdStartInstall: return XWindowAction::kInstall;
    case kCmdSelectLanguage: return XWindowAction::kLanguageMenu;
    default: return XWindowAction::kNone;  // Prev/Next: the skin and scripts
  }
}

}  // namespace qorin
