// XScript: the script engine a host owns. A host sets its callback and options, then feeds it
// texts, one Run each: the packaged .xs files first, later one-line event texts such as
// "OnInit();". All texts share the global variables, struct types and functions.
//
//   text ─► XScriptLexer ─► tokens ─► XScriptParser ─► definitions + code ─► interpreter
//                                                                              │
//        host natives (IXScriptCallback::CallNative) ◄─ base library ◄─ calls without a
//                                                                        script function
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "script_errors.h"
#include "script_host.h"
#include "script_node.h"
#include "script_parser.h"
#include "script_scope.h"
#include "script_value.h"
#include "stack_budget.h"
#include "text_pool.h"

namespace qorin {

class XScript {
 public:
  XScript();
  ~XScript();
  XScript(const XScript&) = delete;
  XScript& operator=(const XScript&) = delete;

  void SetCallback(IXScriptCallback* callback) { callback_ = callback; }
  XScriptOptions& Options() { return options_; }
  // Ends a Run with an error after this many statements and expressions (0: no limit). For
  // hosts that run untrusted texts, such as the fuzzer; installers run without a limit.
  void SetStepLimit(uint64_t steps) { stepLimit_ = steps != 0 ? steps : UINT64_MAX; }

  // 1 on success, 0 on failure. A text run from inside another Run (a host text that arrives
  // while a native of the running text waits in a message loop) runs nested: its own statements
  // and result, while the stack budget and the step count go on from the outer text's.
  int Run(std::u16string_view text);
  // Deref of the value of the last top-level statement of the last Run that ended (Undef when
  // it gave nothing or the Run failed).
  const XScriptValue& LastResult() const { return Deref(lastResult_); }

  XScriptErrorInfo GetScriptError() const;
  // "ErrCode:%d ErrHint:'%s' Line:%d Col:%d Tok:%s"
  std::u16string FormatError() const;

  // Host helpers.
  bool DeclareInt(std::u16string_view name, int32_t value);
  bool MakeStruct(std::u16string_view typeName, XScriptValue* result) const;
  static void SetStructInts(XScriptValue* value, int32_t count, const int32_t* ints);

 private:
  struct Flags {
    bool returning = false;
    bool breaking = false;
  };

  // One text: lexer, parser, statements; the last statement's value in result.
  int Execute(std::u16string_view text, std::vector<XScriptNodePtr>& code, XScriptValue& result);

  // Errors: the message to Trace, then unwind unless continueOnError.
  void RaiseRuntimeError(const XScriptToken& token, XSERR code, std::u16string_view hint = {});
  [[noreturn]] void Abort(const XScriptToken& token, XSERR code, std::u16string_view hint);
  void SendErrorMessage(const XScriptToken& token, XSERR code, std::u16string_view hint) const;
  void RecordError(const XScriptToken& token, XSERR code, std::u16string_view hint);
  void RecordPositionError(XSERR code, int32_t line, int32_t column);
  [[gnu::always_inline]] void CountStep(const XScriptToken& token) {
    if (++steps_ > stepLimit_ || stack_.Exceeded()) StepFailed(token);
  }
  [[noreturn]] void StepFailed(const XScriptToken& token);
  void TraceLine(const XScriptScope* scope, std::u16string_view text) const;
  void ListTokens(const std::vector<XScriptToken>& tokens) const;

  // Interpreter.
  void ExecStatement(const XScriptNode& node, XScriptScope* scope, XScriptValue* result,
                     Flags& flags);
  void ExecBlock(const XScriptNode& node, XScriptScope* scope, XScriptValue* result, Flags& flags);
  const XScriptValue* PlainOperand(const XScriptNode& operand, XScriptScope* scope) const;
  // A parameter from the frame by its slot, any other name by look-up.
  XScriptValue* FindVariable(const XScriptNode& node, XScriptScope* scope) const {
    if (node.parameterSlot >= 0 && frame_ != nullptr) {
      if (XScriptValue* parameter =
              frame_->Declared(static_cast<size_t>(node.parameterSlot), node.name))
        return parameter;
    }
    return scope->Find(node.name);
  }
  bool PlainIntOperator(const XScriptNode& node, XScriptScope* scope, int32_t* answer);
  bool ValueCondition(const XScriptNode& node, XScriptScope* scope, bool counted);
  void ExecFor(const XScriptNode& node, XScriptScope* scope, XScriptValue* result, Flags& flags);
  bool Condition(const XScriptNode& node, XScriptScope* scope);
  void DeclareVariable(const XScriptNode& decl, XScriptScope* scope,
                       const XScriptValue* initialValue);
  // False when an error was raised and execution goes on (continueOnError); the result is then
  // whatever the failing operation left, never a Ref without target.
  bool Eval(const XScriptNode& node, XScriptScope* scope, XScriptValue* result) {
    CountStep(node.token);
    switch (node.expr) {
      case XScriptExpr::Const: CopyValue(node.constant, result); return true;
      case XScriptExpr::VarRef: return EvalVarRef(node, scope, result);
      case XScriptExpr::ArrayElem: return EvalArrayElem(node, scope, result);
      case XScriptExpr::Call: return EvalCall(node, scope, result);
      default: return EvalOperator(node, scope, result);
    }
  }
  bool EvalVarRef(const XScriptNode& node, XScriptScope* scope, XScriptValue* result);
  bool EvalArrayElem(const XScriptNode& node, XScriptScope* scope, XScriptValue* result);
  bool EvalCall(const XScriptNode& node, XScriptScope* scope, XScriptValue* result);
  bool CallNatives(std::u16string_view key, std::span<XScriptValue> args, XScriptValue* result);
  bool EvalOperator(const XScriptNode& node, XScriptScope* scope, XScriptValue* result);
  bool EvalOperands(const XScriptNode& node, XScriptScope* scope, XScriptValue* result);
  bool ApplyAssign(const XScriptNode& node, XScriptValue& left, const XScriptValue& right,
                   XScriptValue* result);
  bool ApplyUnary(const XScriptNode& node, XScriptValue& left, XScriptValue* result);
  bool ApplyBinary(const XScriptNode& node, const XScriptValue& left, const XScriptValue& right,
                   XScriptValue* result);

  IXScriptCallback* callback_ = nullptr;
  XScriptOptions options_;
  XScriptTextPool pool_;
  XScriptProgram program_;
  std::unique_ptr<XScriptScope> globals_;
  std::unique_ptr<XScriptScope> constants_;
  XScriptScope* frame_ = nullptr;  // the scope of the script function running, with its parameters
  XScriptValue lastResult_;
  bool running_ = false;
  XStackBudget stack_;
  uint64_t stepLimit_ = UINT64_MAX;  // 0 given means none
  uint64_t steps_ = 0;

  // The error record.
  XSERR errorCode_ = XSERR_OK;
  XScriptToken errorToken_;
  std::u16string errorHint_;
};

}  // namespace qorin
