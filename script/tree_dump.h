// A listing of a parsed text, one line per node, for the dumpTree option.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "script_parser.h"

namespace qorin {

// The definitions from index firstDefinition on (those the text added), then its code.
void DumpTree(const XScriptProgram& program, size_t firstDefinition,
              const std::vector<XScriptNodePtr>& code,
              const std::function<void(std::u16string_view)>& out);

}  // namespace qorin
