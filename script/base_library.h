// The engine's own natives: print, Debug, sin, cos, abs, str2int.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "script_host.h"
#include "script_value.h"

namespace qorin {

// True when the key is one of the base library's; print and Debug count as handled also
// without a callback.
bool CallBaseLibrary(std::u16string_view key, XScriptValue* const* args, int32_t count,
                     XScriptValue* result, IXScriptCallback* callback);

// Every key of the base library, in its order.
std::vector<std::u16string_view> BaseLibraryKeys();

// Base 10 after leading white space and an optional sign, up to the first other character;
// no digits give 0, values beyond the int range the largest or smallest int.
int32_t Str2Int(std::u16string_view text);

}  // namespace qorin
