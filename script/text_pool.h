// The engine's text pool: every identifier and string-literal text of every tokenized text.
// Syntax trees, scopes and ConstString values point into it, so texts stay until the engine
// goes; a deque keeps their addresses fixed as it grows.
#pragma once

#include <deque>
#include <string>
#include <string_view>

namespace qorin {

class XScriptTextPool {
 public:
  const std::u16string* Add(std::u16string_view text) { return &texts_.emplace_back(text); }

 private:
  std::deque<std::u16string> texts_;
};

}  // namespace qorin
