// IXSkinCallback: what the skin tells and asks its host (the installer window).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "script_value.h"

namespace qorin {

// What the host answers a native call of the skin's scripts.
enum XHostCallResult : int {
  kHostCallNotHandled = 0,  // not the host's: the skin's own natives are asked next
  kHostCallHandled = 1,
  // The host's native ran out of memory: the script run ends with the engine's allocation error.
  // (No exception passes through the host's window code, so the host catches it and says this.)
  kHostCallOutOfMemory = -1,
};

class IXSkinCallback {
 public:
  virtual ~IXSkinCallback() = default;
  // A control's command fired; only commands with a name in the ID table are told.
  virtual void OnCommand(int /*commandId*/, const std::u16string& /*commandName*/) {}
  // The skin has just posted this message to the host window.
  virtual void OnMessage(unsigned /*message*/, uintptr_t /*wparam*/, intptr_t /*lparam*/) {}
  virtual void Reserved() {}
  // Every native call of the skin's scripts comes here first (key such as "DoExit@i"); an
  // XHostCallResult.
  virtual int CallFunction(std::u16string_view /*key*/, XScriptValue* const* /*args*/,
                           int32_t /*count*/, XScriptValue* /*result*/) {
    return 0;
  }
  // Asked at the end of loading: false makes the load fail with error 1281.
  virtual bool OnLoaded() { return true; }
};

}  // namespace qorin
