// The tree walker: statements, declarations, variables, elements and operators. Every rule of
// an operator is a row of ApplyBinary; a pair of operand types without a row is an error.
#include <climits>

#include "script.h"
#include "utf.h"

namespace qorin {
namespace {

using E = XScriptExpr;
using T = XScriptType;

// Arrays larger than this are refused (the stub is a 32-bit process).
constexpr int32_t kMaxArrayElements = 1 << 24;

// Two texts joined with one allocation of the exact size.
std::u16string Joined(std::u16string_view first, std::u16string_view second) {
  std::u16string joined;
  joined.reserve(first.size() + second.size());
  joined.append(first).append(second);
  return joined;
}

int32_t Wrap(int64_t value) {
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

}  // namespace

void XScript::ExecStatement(const XScriptNode& node, XScriptScope* scope, XScriptValue* result,
                            Flags& flags) {
  CountStep(node.token);
  switch (node.kind) {
    case XScriptStmt::Empty:
    case XScriptStmt::CodeList:
    case XScriptStmt::StructDef:
    case XScriptStmt::FuncDef: return;
    case XScriptStmt::VarDecl: DeclareVariable(node, scope, nullptr); return;
    case XScriptStmt::Expr: Eval(node, scope, result); return;
    case XScriptStmt::Block: ExecBlock(node, scope, result, flags); return;
    case XScriptStmt::Return:
      if (node.left) Eval(*node.left, scope, result);
      flags.returning = true;
      return;
    case XScriptStmt::Break: flags.breaking = true; return;
    case XScriptStmt::If:
      if (Condition(*node.condition, scope)) {
        ExecStatement(*node.thenStmt, scope, result, flags);
      } else if (node.elseStmt) {
        ExecStatement(*node.elseStmt, scope, result, flags);
      }
      return;
    case XScriptStmt::For: ExecFor(node, scope, result, flags); return;
  }
  RaiseRuntimeError(node.token, XSERR_INTERNAL);
}

// A block's value is that of its last item, or of the item that returned.
// A block that declares nothing of its own runs in the enclosing scope: the names it sees are
// the same, and no scope is made and cleared for it. (An empty scope in the chain changes no
// look-up: calls below make their scope a child of whichever scope runs them.)
void XScript::ExecBlock(const XScriptNode& node, XScriptScope* scope, XScriptValue* result,
                        Flags& flags) {
  if (node.items.empty()) return;
  // Trace lines show scope levels: with tracing on every block keeps its scope.
  std::optional<XScopeChild> child;
  if (options_.trace || BlockDeclares(node)) scope = child.emplace(scope).get();
  size_t last = node.items.size() - 1;
  for (size_t i = 0; i < last; ++i) {
    XScriptValue itemResult;
    ExecStatement(*node.items[i], scope, &itemResult, flags);
    if (flags.returning) CopyValue(Deref(itemResult), result);
    if (flags.returning || flags.breaking) return;
  }
  // The last item writes the block's value itself: the same value as through a temporary, a
  // Ref replaced by a copy of what it points at.
  result->Reset();
  ExecStatement(*node.items[last], scope, result, flags);
  if (result->Is(T::Ref)) {
    XScriptValue value;
    CopyValue(Deref(*result), &value);
    *result = std::move(value);
  }
}

void XScript::ExecFor(const XScriptNode& node, XScriptScope* scope, XScriptValue* result,
                      Flags& flags) {
  if (node.init) {
    XScriptValue ignored;
    Eval(*node.init, scope, &ignored);
  }
  for (;;) {
    if (node.condition && !Condition(*node.condition, scope)) return;
    XScriptValue bodyResult;
    Flags bodyFlags{flags.returning, false};  // the loop's own breaking flag
    ExecStatement(*node.body, scope, &bodyResult, bodyFlags);
    if (bodyFlags.returning) {
      CopyValue(Deref(bodyResult), result);
      flags.returning = true;
      return;
    }
    if (bodyFlags.breaking) return;
    if (node.step) {
      XScriptValue ignored;
      Eval(*node.step, scope, &ignored);
    }
  }
}

// Int != 0, Double != 0.0; any other type is an error, after which (continueOnError) the
// condition counts as true.
bool XScript::Condition(const XScriptNode& node, XScriptScope* scope) {
  bool plainOperator = node.expr != E::Const && node.expr != E::VarRef &&
                       node.expr != E::ArrayElem && node.expr != E::Call;
  int32_t answer = 0;
  if (plainOperator) {
    CountStep(node.token);  // the step Eval counts
    if (PlainIntOperator(node, scope, &answer)) return answer != 0;
  }
  return ValueCondition(node, scope, plainOperator);
}

bool XScript::ValueCondition(const XScriptNode& node, XScriptScope* scope, bool counted) {
  XScriptValue value;
  if (counted) {
    EvalOperands(node, scope, &value);  // its operands are not plain ints: that was tried
  } else {
    Eval(node, scope, &value);
  }
  std::optional<bool> truth = Truth(value);
  if (!truth) {
    RaiseRuntimeError(node.token, XSERR_NOT_IMPLEMNTED);
    return true;
  }
  return *truth;
}

void XScript::DeclareVariable(const XScriptNode& decl, XScriptScope* scope,
                              const XScriptValue* initialValue) {
  if (scope->FindLocal(decl.name) != nullptr) {
    // No message and no continuing; recorded at the second declaration.
    RecordError(decl.token, XSERR_VARIABLE_REDEFINITION, u"");
    throw XScriptException{XSERR_VARIABLE_REDEFINITION};
  }
  int32_t arraySize = 0;
  if (decl.arraySize) {
    XScriptValue size;
    Eval(*decl.arraySize, scope, &size);
    const XScriptValue& count = Deref(size);
    if (!count.Is(T::Int))
      return RaiseRuntimeError(decl.arraySize->token, XSERR_EXPECTED_INT_EXPRESSION);
    if (count.Int() < 1) return RaiseRuntimeError(decl.arraySize->token, XSERR_INVALID_ARRAY_SIZE);
    if (count.Int() > kMaxArrayElements)
      return RaiseRuntimeError(decl.arraySize->token, XSERR_ALLOC_FAILED);
    arraySize = count.Int();
  }
  XScriptValue made;
  if (!MakeVariable(decl.decl, arraySize, initialValue, &made))
    return RaiseRuntimeError(decl.token, XSERR_INTERNAL);
  if (options_.trace)
    TraceLine(scope, u"decl " + std::u16string(decl.name) + u" = " + ToDisplay(made));
  *scope->DeclareNew(decl.name) = std::move(made);
}

// --- Expressions ----------------------------------------------------------------------------

bool XScript::EvalVarRef(const XScriptNode& node, XScriptScope* scope, XScriptValue* result) {
  XScriptValue* variable = FindVariable(node, scope);
  if (variable == nullptr) variable = constants_->FindLocal(node.name);
  if (variable == nullptr) {
    RaiseRuntimeError(node.token, XSERR_UNDECLARED_ID, u"Err@FindVar:" + std::u16string(node.name));
    return false;
  }
  result->SetRef(variable);
  for (const XScriptNode* link = node.left.get(); link != nullptr; link = link->left.get()) {
    XScriptValue& current = Deref(*result);
    XScriptValue* member = current.Is(T::Struct) && current.Struct() != nullptr
                               ? current.Struct()->Member(link->name)
                               : nullptr;
    if (member == nullptr) {
      result->Reset();
      RaiseRuntimeError(link->token, XSERR_INTERNAL);
      return false;
    }
    result->SetRef(member);
  }
  return true;
}

bool XScript::EvalArrayElem(const XScriptNode& node, XScriptScope* scope, XScriptValue* result) {
  XScriptValue indexValue;
  Eval(*node.left, scope, &indexValue);
  XScriptValue* variable = FindVariable(node, scope);  // constants are not arrays
  XSERR code = XSERR_OK;
  const XScriptValue& index = Deref(indexValue);
  if (variable == nullptr) {
    code = XSERR_UNDECLARED_ID;
  } else if (!variable->Is(T::Array)) {
    code = XSERR_ARRAY_TYPE_REQUIRED;
  } else if (!index.Is(T::Int)) {
    code = XSERR_EXPECTED_INT_EXPRESSION;
  } else if (index.Int() < 0 ||
             index.Int() >= static_cast<int32_t>(variable->Array()->elements.size())) {
    code = XSERR_ARRAY_INDEX_OUT_OF_RANGE;
  }
  if (code != XSERR_OK) {
    RaiseRuntimeError(node.token, code);
    return false;
  }
  result->SetRef(&variable->Array()->elements[index.Int()], index.Int());
  return true;
}

// The value of an operand that needs no temporary: a constant, or a variable without members.
const XScriptValue* XScript::PlainOperand(const XScriptNode& operand, XScriptScope* scope) const {
  if (operand.kind != XScriptStmt::Expr) return nullptr;
  if (operand.expr == E::Const) return &operand.constant;
  if (operand.expr != E::VarRef || operand.left) return nullptr;
  const XScriptValue* variable = FindVariable(operand, scope);
  if (variable == nullptr) variable = constants_->FindLocal(operand.name);
  return variable != nullptr ? &Deref(*variable) : nullptr;
}

namespace {

// The rows of ApplyBinary for two ints that cannot fail; false for other operators.
[[gnu::always_inline]] inline bool IntRow(XScriptExpr expr, int64_t a, int64_t b, int32_t* value) {
  switch (expr) {
    case E::Add: return *value = Wrap(a + b), true;
    case E::Sub: return *value = Wrap(a - b), true;
    case E::Mul: return *value = Wrap(a * b), true;
    case E::Eq: return *value = a == b ? 1 : 0, true;
    case E::Ne: return *value = a != b ? 1 : 0, true;
    case E::Lt: return *value = a < b, true;
    case E::Gt: return *value = a > b, true;
    case E::Le: return *value = a <= b, true;
    case E::Ge: return *value = a >= b, true;
    default: return false;
  }
}

}  // namespace

// Two plain int operands of a common operator: read in place, the same steps counted as when
// they are evaluated. False (nothing done) for anything else.
bool XScript::PlainIntOperator(const XScriptNode& node, XScriptScope* scope, int32_t* answer) {
  if (!node.left || !node.right || options_.trace) return false;
  const XScriptValue* l = PlainOperand(*node.left, scope);
  if (l == nullptr || !l->Is(T::Int)) return false;
  const XScriptValue* r = PlainOperand(*node.right, scope);
  if (r == nullptr || !r->Is(T::Int) || !IntRow(node.expr, l->Int(), r->Int(), answer))
    return false;
  CountStep(node.left->token);
  CountStep(node.right->token);
  return true;
}

bool XScript::EvalOperator(const XScriptNode& node, XScriptScope* scope, XScriptValue* result) {
  int32_t answer = 0;
  if (PlainIntOperator(node, scope, &answer)) {
    result->SetInt(answer);
    return true;
  }
  return EvalOperands(node, scope, result);
}

// The operator with both operands evaluated into values first.
bool XScript::EvalOperands(const XScriptNode& node, XScriptScope* scope, XScriptValue* result) {
  int32_t answer = 0;
  XScriptValue leftValue, rightValue;
  bool ok = true;
  if (node.left) ok = Eval(*node.left, scope, &leftValue);  // both sides always run, left first
  if (node.right) ok = Eval(*node.right, scope, &rightValue) && ok;
  XScriptValue& left = Deref(leftValue);
  const XScriptValue& right = Deref(rightValue);
  if (left.Is(T::Int) && right.Is(T::Int) && !options_.trace &&
      IntRow(node.expr, left.Int(), right.Int(), &answer)) {
    result->SetInt(answer);  // ApplyBinary's row for two ints
    return ok;
  }
  bool applied;
  switch (node.expr) {
    case E::Assign: applied = ApplyAssign(node, left, rightValue, result); break;
    case E::PostInc:
    case E::PostDec:
    case E::PreInc:
    case E::PreDec:
    case E::Plus:
    case E::Neg:
    case E::BitNot:
    case E::LogNot: applied = ApplyUnary(node, leftValue, result); break;
    default: applied = ApplyBinary(node, left, right, result); break;
  }
  return applied && ok;
}

namespace {

// Equal types; String <- ConstString, String <- Int, Int <- Double. Double <- Int is not
// among them, although AssignValue would convert.
bool AssignmentAllowed(const XScriptValue& dst, const XScriptValue& src) {
  if (dst.type() == src.type()) {
    if (!dst.Is(T::Struct)) return true;
    return dst.Struct() != nullptr && src.Struct() != nullptr &&
           dst.Struct()->def->name == src.Struct()->def->name;
  }
  if (dst.Is(T::String)) return src.Is(T::ConstString) || src.Is(T::Int);
  return dst.Is(T::Int) && src.Is(T::Double);
}

}  // namespace

bool XScript::ApplyAssign(const XScriptNode& node, XScriptValue& left,
                          const XScriptValue& rightValue, XScriptValue* result) {
  bool target = node.left && (node.left->IsExpr(E::VarRef) || node.left->IsExpr(E::ArrayElem)) &&
                !node.left->name.empty();
  if (!node.right || !target) {
    RaiseRuntimeError(node.token, XSERR_INTERNAL);
    return false;
  }
  const XScriptValue& right = Deref(rightValue);
  if (!AssignmentAllowed(left, right) || !AssignValue(&left, right)) {
    RaiseRuntimeError(node.token, XSERR_CANNOT_ASSIGN);
    return false;
  }
  if (options_.trace)
    TraceLine(nullptr, u"assign " + std::u16string(node.left->name) + u" = " + ToDisplay(left));
  CopyValue(rightValue, result);  // a Ref to the right-hand variable when it was one
  return true;
}

bool XScript::ApplyUnary(const XScriptNode& node, XScriptValue& operandValue,
                         XScriptValue* result) {
  XScriptValue& operand = Deref(operandValue);
  if (node.right || !operand.Is(T::Int)) {
    RaiseRuntimeError(node.token, XSERR_INTERNAL);
    return false;
  }
  int32_t x = operand.Int();
  switch (node.expr) {
    case E::PostInc:
    case E::PostDec:
    case E::PreInc:
    case E::PreDec: {
      bool up = node.expr == E::PostInc || node.expr == E::PreInc;
      operand.StoreInt(Wrap(int64_t{x} + (up ? 1 : -1)));
      if (node.expr == E::PostInc || node.expr == E::PostDec) {
        result->SetInt(x);
      } else if (operandValue.Is(T::Ref)) {
        CopyValue(operandValue, result);  // a Ref to the changed storage
      } else {
        result->SetInt(operand.Int());  // ++ of a temporary: its value, not a Ref to it
      }
      return true;
    }
    case E::Plus: result->SetInt(x); return true;
    case E::Neg: result->SetInt(Wrap(-int64_t{x})); return true;
    case E::BitNot: result->SetInt(~x); return true;
    default: result->SetInt(x == 0 ? 1 : 0); return true;  // LogNot
  }
}

bool XScript::ApplyBinary(const XScriptNode& node, const XScriptValue& l, const XScriptValue& r,
                          XScriptValue* result) {
  bool ints = l.Is(T::Int) && r.Is(T::Int);
  bool numbers = (l.Is(T::Int) || l.Is(T::Double)) && (r.Is(T::Int) || r.Is(T::Double));
  auto number = [](const XScriptValue& v) { return v.Is(T::Int) ? v.Int() : v.Double(); };
  int64_t a = ints ? l.Int() : 0, b = ints ? r.Int() : 0;
  if (options_.trace)
    TraceLine(nullptr, u"op " + AsciiToUtf16(ExprName(node.expr)) + u" " + ToDisplay(l) + u", " +
                           ToDisplay(r));
  switch (node.expr) {
    case E::Add:
      if (ints) return result->SetInt(Wrap(a + b)), true;
      if (l.Is(T::Double) && numbers) return result->SetDouble(l.Double() + number(r)), true;
      if (IsText(l) && IsText(r)) return result->SetString(Joined(ToText(l), ToText(r))), true;
      if (IsText(l)) return result->SetString(Joined(ToText(l), ToDisplay(r))), true;
      break;
    case E::Sub:
      if (ints) return result->SetInt(Wrap(a - b)), true;
      break;
    case E::Mul:
      if (ints) return result->SetInt(Wrap(a * b)), true;
      if (numbers) return result->SetDouble(number(l) * number(r)), true;
      break;
    case E::Div:
      if (ints && b == 0)
        return RaiseRuntimeError(node.token, XSERR_NOT_IMPLEMNTED, u"Err@DivideByZero"), false;
      if (ints && a == INT_MIN && b == -1)
        return RaiseRuntimeError(node.token, XSERR_NOT_IMPLEMNTED, u"Err@DivideOverflow"), false;
      if (ints) return result->SetInt(static_cast<int32_t>(a / b)), true;
      if (numbers) return result->SetDouble(number(l) / number(r)), true;
      break;
    case E::Eq:
    case E::Ne: {
      bool equal;
      if (ints) {
        equal = a == b;
      } else if (IsText(l) && IsText(r)) {
        equal = ToText(l) == ToText(r);
      } else {
        break;
      }
      return result->SetInt(equal == (node.expr == E::Eq) ? 1 : 0), true;
    }
    case E::Lt:
      if (ints) return result->SetInt(a < b), true;
      break;
    case E::Gt:
      if (ints) return result->SetInt(a > b), true;
      break;
    case E::Le:
      if (ints) return result->SetInt(a <= b), true;
      break;
    case E::Ge:
      if (ints) return result->SetInt(a >= b), true;
      break;
    case E::LogAnd:
      if (ints) return result->SetInt(a != 0 && b != 0), true;
      break;
    case E::LogOr:
      if (ints) return result->SetInt(a != 0 || b != 0), true;
      break;
    case E::BitOr:
      if (ints) return result->SetInt(static_cast<int32_t>(a | b)), true;
      break;
    default: break;  // Mod, Shl, Shr, BitAnd, BitXor, AddrOf, Deref: no rule at all
  }
  RaiseRuntimeError(node.token, XSERR_NOT_IMPLEMNTED);
  return false;
}

}  // namespace qorin
