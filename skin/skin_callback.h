// IXSkinCallback: what the skin tells and asks its host (the installer window).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "script_value.h"

namespace qorin {

class IXSkinCallback {
 public:
  virtual ~IXSkinCallback() = default;
  // A control's command fired; only commands with a name in the ID table are told.
  virtual void OnCommand(int /*commandId*/, const std::u16string& /*commandName*/) {}
  // The skin has just posted this message to the host window.
  virtual void OnMessage(unsigned /*message*/, uintptr_t /*wparam*/, intptr_t /*lparam*/) {}
  virtual void Reserved() {}
  // Every native call of the skin's scripts comes here first (key such as "DoExit@i"); non-zero
  // means the host handled it.
  virtual int CallFunction(std::u16string_view /*key*/, XScriptValue* const* /*args*/,
                           int32_t /*count*/, XScriptValue* /*result*/) {
    return 0;
  }
  // Asked at the end of loading: false makes the load fail with error 1281.
  virtual bool OnLoaded() { return true; }
};

}  // namespace qorin
