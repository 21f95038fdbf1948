// The syntax tree: one node record for every kind of statement and expression. An expression
// is a statement of kind Expr. Lists (block items, call arguments, parameters) are vectors in
// source order.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "script_token.h"
#include "script_value.h"

namespace qorin {

enum class XScriptStmt : int32_t {
  Empty = 1,
  CodeList = 2,
  VarDecl = 3,
  Expr = 4,
  StructDef = 5,
  FuncDef = 6,
  Block = 7,
  Return = 8,
  Break = 9,
  If = 10,
  For = 11,
};

enum class XScriptExpr : int32_t {
  Const = 0,
  VarRef = 1,     // a name; left is the first Member of its chain
  ArrayElem = 2,  // name[left]
  Member = 3,     // .name; left is the next link
  Call = 4,       // name(args)
  Eq = 5,
  Ne = 6,
  Le = 7,
  Ge = 8,
  Lt = 9,
  Gt = 10,
  LogAnd = 11,
  LogOr = 12,
  Shl = 13,
  Shr = 14,
  PostInc = 15,
  PostDec = 16,
  PreInc = 17,
  PreDec = 18,
  AddrOf = 19,
  Deref = 20,
  Plus = 21,
  Neg = 22,
  BitNot = 23,
  LogNot = 24,
  Add = 25,
  Sub = 26,
  Mul = 27,
  Div = 28,
  Mod = 29,
  Assign = 30,
  BitAnd = 31,
  BitOr = 32,
  BitXor = 33,
};

const char* ExprName(XScriptExpr kind);  // "Add", "VarRef", ... for listings

struct XScriptNode;
using XScriptNodePtr = std::unique_ptr<XScriptNode>;

struct XScriptNode {
  XScriptStmt kind = XScriptStmt::Empty;
  // Gives the node its position: the operator of unary and binary kinds, the first token of
  // the left side of an assignment, the name of variables, members, elements, calls and
  // declarations, the keyword of statements.
  XScriptToken token;

  // Expr
  XScriptExpr expr = XScriptExpr::Const;
  XScriptNodePtr left, right;        // operands; also Return's expression
  std::u16string_view name;          // VarRef, ArrayElem, Member, Call, declarations, definitions
  XScriptValue constant;             // Const
  std::vector<XScriptNodePtr> args;  // Call
  // Call: the last signature key and the function it found (null: a native), valid while the
  // program's function generation stays the same.
  mutable std::u16string callKey;
  mutable const XScriptNode* callTarget = nullptr;
  mutable uint32_t callGeneration = UINT32_MAX;
  // VarRef and ArrayElem in a function's body: the position among the call's declared
  // parameters of the one parameter this name can only mean there (nothing in the body declares
  // the name, and the call's own scope holds the parameters alone); -1 for a look-up by name.
  int16_t parameterSlot = -1;

  // VarDecl: declared type and name; array size expression or none.
  XScriptDecl decl;
  XScriptNodePtr arraySize;

  // StructDef
  XScriptStructDef structDef;

  // FuncDef
  XScriptType returnType = XScriptType::Undef;
  std::u16string signatureKey;
  std::vector<XScriptNodePtr> params;  // VarDecl nodes; a void parameter has type Undef
  bool distinctParameters = false;     // no two parameters have the same name
  XScriptNodePtr body;                 // Block; also the body of For

  // Block
  std::vector<XScriptNodePtr> items;
  // Block: whether something in it (outside nested blocks) declares, so that it needs a scope
  // of its own; -1 until first asked.
  mutable int8_t declares = -1;

  // If and For
  XScriptNodePtr condition, thenStmt, elseStmt, init, step;

  bool IsExpr(XScriptExpr kind_) const { return kind == XScriptStmt::Expr && expr == kind_; }
};

// Whether the node or anything below it, nested blocks not counted, declares a variable.
bool DeclaresInScope(const XScriptNode& node);
// Whether a block declares anything of its own (asked once, then kept in the node).
void FindWhetherBlockDeclares(const XScriptNode& block);
inline bool BlockDeclares(const XScriptNode& block) {
  if (block.declares < 0) FindWhetherBlockDeclares(block);
  return block.declares != 0;
}
// Gives the names in a function's body that can only mean one of its parameters their slot.
void ResolveParameterSlots(XScriptNode& functionDef);

inline XScriptNodePtr MakeNode(XScriptStmt kind, const XScriptToken& token) {
  auto node = std::make_unique<XScriptNode>();
  node->kind = kind;
  node->token = token;
  return node;
}

inline XScriptNodePtr MakeExpr(XScriptExpr expr, const XScriptToken& token) {
  auto node = MakeNode(XScriptStmt::Expr, token);
  node->expr = expr;
  return node;
}

}  // namespace qorin
