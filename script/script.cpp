// The engine: Run, the error record and its texts, the host helpers.
#include "script.h"

#include <new>

#include "script_lexer.h"
#include "tree_dump.h"
#include "utf.h"

namespace qorin {
namespace {

// 3.141592653589793, the double whose bits are 0x400921fb54442d18.
constexpr double kPi = 3.141592653589793;

std::u16string Number(int32_t value) {
  return DisplayInt(value);
}

// Sets a flag for a scope and puts back what it was.
class RunningFlag {
 public:
  explicit RunningFlag(bool* flag) : flag_(flag), was_(*flag) { *flag_ = true; }
  ~RunningFlag() { *flag_ = was_; }

 private:
  bool* flag_;
  bool was_;
};

}  // namespace

XScript::XScript() = default;

XScript::~XScript() {
  // Values first (they point at struct definitions), then the trees.
  lastResult_.Reset();
  globals_.reset();
  constants_.reset();
}

int XScript::Run(std::u16string_view text) {
  bool outermost = !running_;
  RunningFlag running(&running_);
  if (outermost) {
    stack_.Start();
    steps_ = 0;
  }
  std::vector<XScriptNodePtr> code;
  XScriptValue result;
  int ok = Execute(text, code, result);
  // A failed text leaves no result, so a host never takes an earlier text's answer for its own.
  lastResult_.Reset();
  if (ok) CopyValue(result, &lastResult_);
  return ok;
}

int XScript::Execute(std::u16string_view text, std::vector<XScriptNodePtr>& code,
                     XScriptValue& result) {
  try {
    XScriptLexer lexer(&options_, &pool_);
    if (!lexer.Tokenize(text)) {
      RecordPositionError(lexer.Error(), lexer.Line(), lexer.Column());
      return 0;
    }
    if (options_.trace) ListTokens(lexer.Tokens());
    size_t knownDefinitions = program_.definitions.size();
    XScriptParser parser(&program_, &stack_);
    if (!parser.Parse(lexer.Tokens(), &code)) {
      RecordPositionError(parser.Error(), parser.Line(), parser.Column());
      return 0;
    }
    if (options_.dumpTree && callback_ != nullptr)
      DumpTree(program_, knownDefinitions, code,
               [this](std::u16string_view line) { callback_->Debug(line); });
    if (globals_ == nullptr) globals_ = std::make_unique<XScriptScope>(nullptr);
    if (constants_ == nullptr) {
      constants_ = std::make_unique<XScriptScope>(nullptr);
      constants_->Declare(u"M_PI")->SetDouble(kPi);
    }
    for (const XScriptNodePtr& statement : code) {
      result.Reset();
      Flags flags;
      ExecStatement(*statement, globals_.get(), &result, flags);
      if (flags.returning || flags.breaking) break;  // return or break at top level ends the text
    }
  } catch (const XScriptException&) {
    return 0;  // code, token and hint were recorded where the error was raised
  } catch (const std::bad_alloc&) {
    RecordError(XScriptToken{}, XSERR_ALLOC_FAILED, u"");
    return 0;
  }
  return 1;
}

// --- Errors ---------------------------------------------------------------------------------

void XScript::RecordError(const XScriptToken& token, XSERR code, std::u16string_view hint) {
  errorCode_ = code;
  errorToken_ = token;
  errorHint_ = hint;
}

// Lexer and parser errors: a position without token; the hint stays as it was.
void XScript::RecordPositionError(XSERR code, int32_t line, int32_t column) {
  errorCode_ = code;
  errorToken_ = XScriptToken{};
  errorToken_.line = line;
  errorToken_.column = column;
}

void XScript::SendErrorMessage(const XScriptToken& token, XSERR code,
                               std::u16string_view hint) const {
  if (callback_ == nullptr) return;
  callback_->Trace(u"Script Error: " + TokenDisplay(token) + u" (code:" +
                   AsciiToUtf16(XSErrName(code)) + u"(" + Number(code) + u"), line:" +
                   Number(token.line) + u", col:" + Number(token.column) + u", hint:'" +
                   std::u16string(hint) + u"')");
}

void XScript::RaiseRuntimeError(const XScriptToken& token, XSERR code, std::u16string_view hint) {
  SendErrorMessage(token, code, hint);
  if (options_.continueOnError) return;
  RecordError(token, code, hint);
  throw XScriptException{code};
}

// Errors that end the Run even with continueOnError: the engine's own limits.
void XScript::Abort(const XScriptToken& token, XSERR code, std::u16string_view hint) {
  SendErrorMessage(token, code, hint);
  RecordError(token, code, hint);
  throw XScriptException{code};
}

void XScript::StepFailed(const XScriptToken& token) {
  if (steps_ > stepLimit_) Abort(token, XSERR_INTERNAL, u"Err@StepLimit");
  Abort(token, XSERR_INTERNAL, u"Err@StackDepth");
}

XScriptErrorInfo XScript::GetScriptError() const {
  XScriptErrorInfo info;
  info.code = errorCode_;
  info.line = errorToken_.line;
  info.column = errorToken_.column;
  info.token = TokenDisplay(errorToken_);
  info.hint = errorHint_;
  return info;
}

std::u16string XScript::FormatError() const {
  return FormatScriptError(GetScriptError());
}

// --- Diagnostics ----------------------------------------------------------------------------

void XScript::TraceLine(const XScriptScope* scope, std::u16string_view text) const {
  if (!options_.trace || callback_ == nullptr) return;
  callback_->Debug(u"[" + Number(scope != nullptr ? scope->Level() : 0) + u"] " +
                   std::u16string(text));
}

void XScript::ListTokens(const std::vector<XScriptToken>& tokens) const {
  if (callback_ == nullptr) return;
  for (const XScriptToken& token : tokens) {
    callback_->Debug(u"token " + Number(token.line) + u":" + Number(token.column) + u" kind " +
                     Number(static_cast<int32_t>(token.kind)) + u" " + TokenDisplay(token));
  }
}

// --- Host helpers ---------------------------------------------------------------------------

bool XScript::DeclareInt(std::u16string_view name, int32_t value) {
  if (globals_ == nullptr) globals_ = std::make_unique<XScriptScope>(nullptr);
  if (globals_->FindLocal(name) != nullptr) return true;  // an existing name keeps its value
  globals_->Declare(*pool_.Add(name))->SetInt(value);
  return true;
}

bool XScript::MakeStruct(std::u16string_view typeName, XScriptValue* result) const {
  const XScriptStructDef* def = program_.FindStruct(typeName);
  if (def == nullptr) return false;
  result->SetStruct(MakeStructInstance(*def));
  return true;
}

void XScript::SetStructInts(XScriptValue* value, int32_t count, const int32_t* ints) {
  if (!value->Is(XScriptType::Struct) || value->Struct() == nullptr) return;
  std::vector<XScriptValue>& members = value->Struct()->members;
  for (int32_t i = 0; i < count && i < static_cast<int32_t>(members.size()); ++i) {
    if (!members[i].Is(XScriptType::Int)) return;
    members[i].SetInt(ints[i]);
  }
}

}  // namespace qorin
