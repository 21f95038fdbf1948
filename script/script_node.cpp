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

bool DeclaresInScope(const XScriptNode& node) {
  if (node.kind == XScriptStmt::VarDecl) return true;
  auto any = [](const std::vector<XScriptNodePtr>& nodes) {
    for (const XScriptNodePtr& n : nodes) {
      if (n && n->kind != XScriptStmt::Block && DeclaresInScope(*n)) return true;
    }
    return false;
  };
  for (const XScriptNodePtr* n :
       {&node.left, &node.right, &node.arraySize, &node.condition, &node.thenStmt, &node.elseStmt,
        &node.init, &node.step, &node.body}) {
    if (*n && (*n)->kind != XScriptStmt::Block && DeclaresInScope(**n)) return true;
  }
  return any(node.args) || any(node.items) || any(node.params);
}

}  // namespace qorin
