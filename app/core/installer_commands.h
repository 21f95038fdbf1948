// The installer window's commands (WM_COMMAND identifiers). The named ones are also offered to
// skins, whose controls carry them as their ID. Accelerator table 109 maps Enter, Escape and
// Ctrl+R, and lists every other command under F22 so that each has an accelerator entry.
#pragma once

namespace qorin {

enum InstallerCommand : unsigned {
  kCmdEscape = 32771,  // close the window, in state 0 only
  kCmdExit = 32776,    // CMD_EXIT
  kCmdStartInstall = 32778,
  kCmdEnter = 32779,           // runs "OnEnterKey();"
  kCmdPrev = 32782,            // CMD_PREV: left to the skin and script
  kCmdNext = 32784,            // CMD_NEXT: left to the skin and script
  kCmdCancel = 32786,          // CMD_CANCEL
  kCmdReload = 32794,          // reload the language table and rebuild the window
  kCmdMinimize = 32796,        // CMD_MINIMIZE
  kCmdCtrlR = 32797,           // posts kCmdReload
  kCmdErrorExit = 32800,       // CMD_ERROR_EXIT
  kCmdSelectLanguage = 32802,  // CMD_SELECT_LANG
};

struct NamedCommand {
  const char16_t* name;
  unsigned id;
};

// The names a skin may use for the commands, in the order they are defined for it.
constexpr NamedCommand kNamedCommands[] = {
    {u"CMD_EXIT", kCmdExit},
    {u"CMD_PREV", kCmdPrev},
    {u"CMD_NEXT", kCmdNext},
    {u"CMD_CANCEL", kCmdCancel},
    {u"CMD_MINIMIZE", kCmdMinimize},
    {u"CMD_ERROR_EXIT", kCmdErrorExit},
    {u"CMD_SELECT_LANG", kCmdSelectLanguage},
};

constexpr int kAcceleratorTable = 109;
constexpr int kIconResource = 8;

}  // namespace qorin
