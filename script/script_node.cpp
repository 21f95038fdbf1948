#include "script_node.h"

#include <iterator>

namespace qorin {

const char* ExprName(XScriptExpr kind) {
  static const char* const kNames[] = {
      "Const",  "VarRef", "ArrayElem", "Member", "Call",   "Eq",     "Ne",      "Le",      "Ge",
      "Lt",     "Gt",     "LogAnd",    "LogOr",  "Shl",    "Shr",    "PostInc", "PostDec", "PreInc",
      "PreDec", "AddrOf", "Deref",     "Plus",   "Neg",    "BitNot", "LogNot",  "Add",     "Sub",
      "Mul",    "Div",    "Mod",       "Assign", "BitAnd", "BitOr",  "BitXor"};
  auto index = static_cast<size_t>(kind);
  return index < std::size(kNames) ? kNames[index] : "?";
}

}  // namespace qorin
