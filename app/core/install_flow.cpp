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
    default: return XWindowAction::kNone;  // extraction, Enter, Prev/Next, language: scripts
  }
}

}  // namespace qorin
