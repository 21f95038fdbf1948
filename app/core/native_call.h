// One native call as its handler sees it: the arguments read as texts or integers, the result
// set to an integer or a text.
#pragma once

#include <cstdint>
#include <string>

#include "path.h"
#include "script_value.h"

namespace qorin {

struct XNativeCall {
  XScriptValue* const* args = nullptr;
  int32_t count = 0;
  XScriptValue* result = nullptr;

  std::u16string Text(int i) const {
    return i < count ? std::u16string(ToText(*args[i])) : std::u16string();
  }
  // A path argument of the functions that take "/" as well: every "/" becomes "\".
  std::u16string Path(int i) const {
    std::u16string path = Text(i);
    ToBackslashes(path);
    return path;
  }
  int32_t Int(int i) const {
    if (i >= count) return 0;
    const XScriptValue& v = Deref(*args[i]);
    return v.Is(XScriptType::Int)      ? v.Int()
           : v.Is(XScriptType::Double) ? TruncateToInt(v.Double())
                                       : 0;
  }
  void SetInt(int32_t value) const {
    if (result != nullptr) result->SetInt(value);
  }
  void SetBool(bool value) const { SetInt(value ? 1 : 0); }
  void SetText(std::u16string text) const {
    if (result != nullptr) result->SetString(std::move(text));
  }
};

}  // namespace qorin
