// XScriptScope: the variables of the global scope, a block or a call. Names point into the
// engine's text pool. A scope has at most one child; making a new child destroys the previous
// one with everything below it, which is safe because execution is strictly nested.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "script_value.h"

namespace qorin {

class XScriptScope {
 public:
  explicit XScriptScope(XScriptScope* parent)
      : parent_(parent), level_(parent != nullptr ? parent->level_ + 1 : 0) {}

  XScriptScope* MakeChild() {
    if (child_ == nullptr) return MakeFirstChild();
    if (childLive_) child_->Clear();  // a destroyed child was cleared then
    childLive_ = true;
    return child_.get();
  }
  void DestroyChild() {
    if (childLive_) child_->Clear();
    childLive_ = false;
  }

  // A new Undef variable of that name, or null when the name exists in this scope.
  XScriptValue* Declare(std::u16string_view name);
  // The same for a name the caller has just found missing.
  XScriptValue* DeclareNew(std::u16string_view name) {
    XScriptValue* value = &values_.emplace_back();
    names_.emplace_back(name, value);
    if (names_.size() >= kIndexFrom) Index(name, value);
    return value;
  }
  XScriptValue* FindLocal(std::u16string_view name) const;
  XScriptValue* Find(std::u16string_view name) const;  // this scope, then outward
  // The variable declared index-th here when it has that name, else null.
  XScriptValue* Declared(size_t index, std::u16string_view name) const {
    if (index >= names_.size()) return nullptr;
    const auto& [key, value] = names_[index];
    return key.data() == name.data() || key == name ? value : nullptr;
  }

  int32_t Level() const { return level_; }

 private:
  void Clear();
  XScriptScope* MakeFirstChild();
  void Index(std::u16string_view name, XScriptValue* value);  // from kIndexFrom names on

  // Small scopes are searched in order; past this many names an index takes over.
  static constexpr size_t kIndexFrom = 12;

  XScriptScope* parent_;
  int32_t level_;
  std::unique_ptr<XScriptScope> child_;
  bool childLive_ = false;  // the child object is kept for reuse once destroyed
  // A deque keeps the values' addresses as it grows and its memory as the scope is reused;
  // the names beside them are searched in a plain array.
  std::deque<XScriptValue> values_;
  std::vector<std::pair<std::u16string_view, XScriptValue*>> names_;
  std::unordered_map<std::u16string_view, XScriptValue*> index_;
};

// Destroys the child of a scope when a block or call ends, also when an error unwinds.
class XScopeChild {
 public:
  explicit XScopeChild(XScriptScope* parent) : parent_(parent), child_(parent->MakeChild()) {}
  ~XScopeChild() { parent_->DestroyChild(); }
  XScopeChild(const XScopeChild&) = delete;
  XScopeChild& operator=(const XScopeChild&) = delete;
  XScriptScope* get() const { return child_; }

 private:
  XScriptScope* parent_;
  XScriptScope* child_;
};

}  // namespace qorin
