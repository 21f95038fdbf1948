#include "script_node.h"

#include <algorithm>
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

namespace {

// Calls visit on the node and every node below it, function definitions not entered.
template <typename Visit>
void ForEachNode(XScriptNode& node, const Visit& visit) {
  if (node.kind == XScriptStmt::FuncDef) return;
  visit(node);
  for (XScriptNodePtr* n : {&node.left, &node.right, &node.arraySize, &node.condition,
                            &node.thenStmt, &node.elseStmt, &node.init, &node.step, &node.body}) {
    if (*n) ForEachNode(**n, visit);
  }
  for (std::vector<XScriptNodePtr>* list : {&node.args, &node.items}) {
    for (XScriptNodePtr& n : *list) {
      if (n) ForEachNode(*n, visit);
    }
  }
}

}  // namespace

void ResolveParameterSlots(XScriptNode& def) {
  if (!def.body) return;
  std::vector<std::u16string_view> declared;
  ForEachNode(*def.body, [&](const XScriptNode& n) {
    if (n.kind == XScriptStmt::VarDecl) declared.push_back(n.decl.name);
  });
  std::vector<std::u16string_view> slots;  // the parameters a call declares, in order
  for (const XScriptNodePtr& param : def.params) {
    if (param->decl.type != XScriptType::Undef) slots.push_back(param->decl.name);
  }
  def.distinctParameters = true;
  for (size_t i = 0; i < slots.size(); ++i) {
    if (std::find(slots.begin(), slots.begin() + i, slots[i]) != slots.begin() + i)
      def.distinctParameters = false;
  }
  if (slots.size() > INT16_MAX) return;
  ForEachNode(*def.body, [&](XScriptNode& n) {
    if (!n.IsExpr(XScriptExpr::VarRef) && !n.IsExpr(XScriptExpr::ArrayElem)) return;
    if (std::find(declared.begin(), declared.end(), n.name) != declared.end()) return;
    auto slot = std::find(slots.begin(), slots.end(), n.name);
    if (slot != slots.end()) n.parameterSlot = static_cast<int16_t>(slot - slots.begin());
  });
}

void FindWhetherBlockDeclares(const XScriptNode& block) {
  block.declares = AnyDeclares(block.items) ? 1 : 0;
}

}  // namespace qorin
