// Calls: a call scope below the caller's scope (dynamic scoping), arguments by value, the
// signature key that alone selects a script function, then the base library, then the host.
#include <memory>
#include <span>

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

}  // namespace

bool XScript::EvalCall(const XScriptNode& node, XScriptScope* scope, XScriptValue* result) {
  XScopeChild callScope(scope);
  // Arguments of the usual few live on the stack; more go to the heap.
  size_t count = node.args.size();
  XScriptValue local[4];
  std::unique_ptr<XScriptValue[]> heap;
  if (count > std::size(local)) heap = std::make_unique<XScriptValue[]>(count);
  std::span<XScriptValue> args(heap ? heap.get() : local, count);
  for (size_t i = 0; i < args.size(); ++i) {
    if (!Eval(*node.args[i], callScope.get(), &args[i])) {
      RaiseRuntimeError(node.args[i]->token, XSERR_INTERNAL);
      return false;
    }
  }
  std::u16string key(node.name);
  key += u'@';
  if (args.empty()) key += u'v';
  for (const XScriptValue& arg : args) AppendSignatureCode(arg, &key);
  if (options_.trace) TraceLine(scope, u"call " + key);

  if (node.callGeneration != program_.generation || node.callKey != key) {
    auto function = program_.functions.find(key);
    node.callTarget = function != program_.functions.end() ? function->second : nullptr;
    node.callKey = key;
    node.callGeneration = program_.generation;
  }
  if (node.callTarget != nullptr) {
    const XScriptNode& def = *node.callTarget;
    for (size_t i = 0; i < def.params.size() && i < args.size(); ++i) {
      if (def.params[i]->decl.type != XScriptType::Undef)
        DeclareVariable(*def.params[i], callScope.get(), &args[i]);
    }
    Flags flags;
    ExecStatement(*def.body, callScope.get(), result, flags);
    return true;
  }
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
