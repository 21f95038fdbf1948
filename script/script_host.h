// The engine's side of its host: the options a host sets before the first Run and the callback
// through which the engine reaches the host (natives, printing, diagnostics).
#pragma once

#include <cstdint>
#include <string_view>

namespace qorin {

class XScriptValue;

// All zero when the engine is built.
struct XScriptOptions {
  int32_t trace = 0;     // a Debug line per token, declaration, call, assignment and operation
  int32_t dumpTree = 0;  // a Debug listing of each parsed text's definitions and code
  int32_t escapes = 0;   // backslash escapes in string literals
  uint8_t ignoreUnknownFunctions = 0;
  uint8_t continueOnError = 0;
};

class IXScriptCallback {
 public:
  // Non-zero when the host implements the native of this signature key ("MessageBox@si").
  // args are the Deref'ed argument values, temporaries of the call; result is Undef on entry.
  virtual int32_t CallNative(std::u16string_view key, XScriptValue* const* args, int32_t count,
                             XScriptValue* result) = 0;
  virtual void Print(std::u16string_view text) = 0;
  virtual void Debug(std::u16string_view text) = 0;
  virtual void Trace(std::u16string_view text) = 0;  // the "Script Error: ..." line

 protected:
  ~IXScriptCallback() = default;
};

}  // namespace qorin
