// Calls: a call scope below the caller's scope (dynamic scoping), arguments by value, the
// signature key that alone selects a script function, then the base library, then the host.
#include <algorithm>
#include <memory>
#include <new>
#include <span>
#include <utility>

#include "base_library.h"
#include "script.h"

namespace qorin {
namespace {

// What a native receives: its own copy of each argument, so that changing it cannot reach the
// caller's variables.
void CopyForNative(const XScriptValue& source, XScriptValue* copy) {
  const XScriptValue& value = Deref(source);
  if (value.Is(XScriptType::String)) return copy->SetString(value.String());
  if (!value.Is(XScriptType::Array)) return CopyValue(value, copy);
  auto array = std::make_unique<XScriptArray>();
  array->elements.resize(value.Array()->elements.size());
  for (size_t i = 0; i < array->elements.size(); ++i)
    CopyForNative(value.Array()->elements[i], &array->elements[i]);
  copy->SetArray(std::move(array));
}

// The arguments of a call: the usual few in place on the stack (made only as many as there
// are), more on the heap.
class XCallArguments {
 public:
  explicit XCallArguments(size_t count) : count_(count) {
    if (count > kInPlace) {
      heap_ = std::make_unique<XScriptValue[]>(count);
      values_ = heap_.get();
      return;
    }
    values_ = reinterpret_cast<XScriptValue*>(inPlace_);
    for (size_t i = 0; i < count; ++i) new (values_ + i) XScriptValue();
  }
  ~XCallArguments() {
    if (heap_) return;
    for (size_t i = count_; i-- > 0;) values_[i].~XScriptValue();
  }
  XCallArguments(const XCallArguments&) = delete;
  XCallArguments& operator=(const XCallArguments&) = delete;
  std::span<XScriptValue> Span() { return {values_, count_}; }

 private:
  static constexpr size_t kInPlace = 4;
  alignas(XScriptValue) unsigned char inPlace_[kInPlace * sizeof(XScriptValue)];
  size_t count_;
  XScriptValue* values_;
  std::unique_ptr<XScriptValue[]> heap_;
};

// The one-letter signature code of a value that is not a struct; 0 for a struct.
char16_t SimpleCode(const XScriptValue& value) {
  switch (Deref(value).type()) {
    case XScriptType::Undef: return u'v';
    case XScriptType::Int: return u'i';
    case XScriptType::Double: return u'd';
    case XScriptType::String:
    case XScriptType::ConstString: return u's';
    case XScriptType::Struct: return 0;
    default: return u'E';
  }
}

// Whether a call site's last key is still the key of these arguments, without building it
// (struct arguments always rebuild).
bool KeyFits(const std::u16string& key, size_t nameLength, std::span<const XScriptValue> args) {
  size_t codes = nameLength + 1;
  if (args.empty()) return key.size() == codes + 1 && key[codes] == u'v';
  if (key.size() != codes + args.size()) return false;
  for (size_t i = 0; i < args.size(); ++i) {
    char16_t code = SimpleCode(args[i]);
    if (code == 0 || key[codes + i] != code) return false;
  }
  return true;
}

}  // namespace

bool XScript::EvalCall(const XScriptNode& node, XScriptScope* scope, XScriptValue* result) {
  XScopeChild callScope(scope);
  XCallArguments arguments(node.args.size());
  std::span<XScriptValue> args = arguments.Span();
  for (size_t i = 0; i < args.size(); ++i) {
    if (!Eval(*node.args[i], callScope.get(), &args[i])) {
      RaiseRuntimeError(node.args[i]->token, XSERR_INTERNAL);
      return false;
    }
  }
  // The call site remembers its last key and the function it found.
  if (node.callGeneration != program_.generation ||
      !KeyFits(node.callKey, node.name.size(), args)) {
    std::u16string key(node.name);
    key += u'@';
    if (args.empty()) key += u'v';
    for (const XScriptValue& arg : args) AppendSignatureCode(arg, &key);
    auto function = program_.functions.find(key);
    node.callTarget = function != program_.functions.end() ? function->second : nullptr;
    node.callKey = std::move(key);
    node.callGeneration = program_.generation;
  }
  if (options_.trace) TraceLine(scope, u"call " + node.callKey);
  if (node.callTarget != nullptr) {
    const XScriptNode& def = *node.callTarget;
    bool plain = def.distinctParameters && !options_.trace;
    size_t declared = std::min(def.params.size(), args.size());
    for (size_t i = 0; i < declared; ++i) {
      const XScriptNode& param = *def.params[i];
      if (param.decl.type == XScriptType::Undef) continue;
      // An int or double for a parameter of its type, under a name not yet declared there:
      // what DeclareVariable would do, without its checks and copies.
      const XScriptValue& arg = Deref(args[i]);
      if (plain && !param.arraySize && param.decl.type == arg.type() &&
          (arg.Is(XScriptType::Int) || arg.Is(XScriptType::Double))) {
        XScriptValue* variable = callScope.get()->DeclareNew(param.decl.name);
        if (arg.Is(XScriptType::Int)) {
          variable->SetInt(arg.Int());
        } else {
          variable->SetDouble(arg.Double());
        }
        continue;
      }
      DeclareVariable(param, callScope.get(), &args[i]);
    }
    Flags flags;
    XScriptScope* callerFrame = std::exchange(frame_, callScope.get());
    struct Restore {
      XScriptScope*& frame;
      XScriptScope* saved;
      ~Restore() { frame = saved; }
    } restore{frame_, callerFrame};
    CountStep(def.body->token);  // the body is a block: what ExecStatement would do
    ExecBlock(*def.body, callScope.get(), result, flags);
    return true;
  }
  // A native may run texts that come back to this call site: it gets a key of its own.
  std::u16string key = node.callKey;
  if (CallNatives(key, args, result)) return true;
  if (options_.ignoreUnknownFunctions) return true;
  RaiseRuntimeError(node.args.empty() ? node.token : node.args[0]->token, XSERR_CANT_FIND_FUNC);
  return false;
}

bool XScript::CallNatives(std::u16string_view key, std::span<XScriptValue> args,
                          XScriptValue* result) {
  std::vector<XScriptValue> copies(args.size());
  std::vector<XScriptValue*> pointers(args.size());
  for (size_t i = 0; i < args.size(); ++i) {
    CopyForNative(args[i], &copies[i]);
    pointers[i] = &copies[i];
  }
  auto count = static_cast<int32_t>(args.size());
  if (CallBaseLibrary(key, pointers.data(), count, result, callback_)) return true;
  return callback_ != nullptr && callback_->CallNative(key, pointers.data(), count, result) != 0;
}

}  // namespace qorin
