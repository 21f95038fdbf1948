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

// Calls visit on each node right below this one; false from visit stops, and is returned.
template <typename Node, typename Visit>
bool ForEachChild(Node& node, const Visit& visit) {
  for (auto* n : {&node.left, &node.right, &node.arraySize, &node.condition, &node.thenStmt,
                  &node.elseStmt, &node.init, &node.step, &node.body}) {
    if (*n && !visit(**n)) return false;
  }
  for (auto* list : {&node.args, &node.items, &node.params}) {
    for (auto& n : *list) {
      if (n && !visit(*n)) return false;
    }
  }
  return true;
}

// Whether one of the nodes declares in the current scope (nested blocks have their own).
bool AnyDeclares(const std::vector<XScriptNodePtr>& nodes) {
  for (const XScriptNodePtr& n : nodes) {
    if (n && n->kind != XScriptStmt::Block && DeclaresInScope(*n)) return true;
  }
  return false;
}

// Calls visit on the node and every node below it, function definitions not entered.
template <typename Visit>
void ForEachNode(XScriptNode& node, const Visit& visit) {
  if (node.kind == XScriptStmt::FuncDef) return;
  visit(node);
  ForEachChild(node, [&](XScriptNode& child) {
    ForEachNode(child, visit);
    return true;
  });
}

}  // namespace

bool DeclaresInScope(const XScriptNode& node) {
  if (node.kind == XScriptStmt::VarDecl) return true;
  return !ForEachChild(node, [](const XScriptNode& child) {
    return child.kind == XScriptStmt::Block || !DeclaresInScope(child);
  });
}

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
