#include "install_flow.h"

#include "installer_commands.h"

namespace qorin {

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
