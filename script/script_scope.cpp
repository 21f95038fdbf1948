#include "script_scope.h"

namespace qorin {

XScriptScope* XScriptScope::MakeFirstChild() {
  child_ = std::make_unique<XScriptScope>(this);
  childLive_ = true;
  return child_.get();
}

void XScriptScope::Clear() {
  DestroyChild();
  if (!index_.empty()) index_.clear();
  // Values go in reverse order of declaration, as a stack unwinds.
  names_.clear();
  while (!values_.empty()) values_.pop_back();
}

XScriptValue* XScriptScope::Declare(std::u16string_view name) {
  return FindLocal(name) != nullptr ? nullptr : DeclareNew(name);
}

void XScriptScope::Index(std::u16string_view name, XScriptValue* value) {
  if (names_.size() == kIndexFrom) {
    for (const auto& [key, stored] : names_) index_.emplace(key, stored);
  } else {
    index_.emplace(name, value);
  }
}

XScriptValue* XScriptScope::FindLocal(std::u16string_view name) const {
  if (names_.size() >= kIndexFrom) {
    auto it = index_.find(name);
    return it == index_.end() ? nullptr : it->second;
  }
  // Names come from the engine's pool of equal texts: the same text is mostly the same address.
  for (const auto& [key, value] : names_) {
    if (key.data() == name.data() && key.size() == name.size()) return value;
  }
  for (const auto& [key, value] : names_) {
    if (key == name) return value;
  }
  return nullptr;
}

XScriptValue* XScriptScope::Find(std::u16string_view name) const {
  for (const XScriptScope* scope = this; scope != nullptr; scope = scope->parent_) {
    if (XScriptValue* value = scope->FindLocal(name)) return value;
  }
  return nullptr;
}

}  // namespace qorin
