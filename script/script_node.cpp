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

namespace {

// Whether one of the nodes declares in the current scope (nested blocks have their own).
bool AnyDeclares(const std::vector<XScriptNodePtr>& nodes) {
  for (const XScriptNodePtr& n : nodes) {
    if (n && n->kind != XScriptStmt::Block && DeclaresInScope(*n)) return true;
  }
  return false;
}

}  // namespace

bool DeclaresInScope(const XScriptNode& node) {
  if (node.kind == XScriptStmt::VarDecl) return true;
  for (const XScriptNodePtr* n :
       {&node.left, &node.right, &node.arraySize, &node.condition, &node.thenStmt, &node.elseStmt,
        &node.init, &node.step, &node.body}) {
    if (*n && (*n)->kind != XScriptStmt::Block && DeclaresInScope(**n)) return true;
  }
  return AnyDeclares(node.args) || AnyDeclares(node.items) || AnyDeclares(node.params);
}

bool BlockDeclares(const XScriptNode& block) {
  if (block.declares < 0) block.declares = AnyDeclares(block.items) ? 1 : 0;
  return block.declares != 0;
}

}  // namespace qorin
