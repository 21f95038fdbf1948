// The engine's text pool: every identifier and string-literal text of every tokenized text.
// Syntax trees, scopes and ConstString values point into it, so texts stay until the engine
// goes; a deque keeps their addresses fixed as it grows. Equal texts share one entry, so event
// texts that a host runs again and again ("OnTimer();") do not grow the pool.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

namespace qorin {

class XScriptTextPool {
 public:
  const std::u16string* Add(std::u16string_view text) {
    auto it = index_.find(text);
    if (it != index_.end()) return it->second;
    const std::u16string* stored = &texts_.emplace_back(text);
    index_.emplace(*stored, stored);
    return stored;
  }
  size_t Size() const { return texts_.size(); }

 private:
  std::deque<std::u16string> texts_;
  std::unordered_map<std::u16string_view, const std::u16string*> index_;
};

}  // namespace qorin
