#include "script_scope.h"

namespace qorin {

XScriptScope* XScriptScope::MakeChild() {
  if (child_ == nullptr) {
    child_ = std::make_unique<XScriptScope>(this);
  } else {
    child_->Clear();
  }
  childLive_ = true;
  return child_.get();
}

void XScriptScope::DestroyChild() {
  if (child_ != nullptr && childLive_) child_->Clear();
  childLive_ = false;
}

void XScriptScope::Clear() {
  DestroyChild();
  index_.clear();
  // Values go in reverse order of declaration, as a stack unwinds.
  while (!values_.empty()) values_.pop_back();
}

XScriptValue* XScriptScope::Declare(std::u16string_view name) {
  if (FindLocal(name) != nullptr) return nullptr;
  values_.emplace_back(name, std::make_unique<XScriptValue>());
  XScriptValue* value = values_.back().second.get();
  if (values_.size() == kIndexFrom) {
    for (auto& [key, stored] : values_) index_.emplace(key, stored.get());
  } else if (values_.size() > kIndexFrom) {
    index_.emplace(name, value);
  }
  return value;
}

XScriptValue* XScriptScope::FindLocal(std::u16string_view name) const {
  if (values_.size() >= kIndexFrom) {
    auto it = index_.find(name);
    return it == index_.end() ? nullptr : it->second;
  }
  for (const auto& [key, value] : values_) {
    if (key == name) return value.get();
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
