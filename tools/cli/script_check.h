// Scripts tokenized and parsed without running them (qorin check, and the script step of
// qorin check-skin). Struct types of earlier texts are known to later ones, as in one engine.
#pragma once

#include <string_view>

#include "script.h"
#include "script_lexer.h"

namespace qorin::cli {

class XScriptChecker {
 public:
  explicit XScriptChecker(bool escapes) { options_.escapes = escapes; }
  // False with the code, line and column of the first error.
  bool Check(std::u16string_view text, XScriptErrorInfo* error);

 private:
  XScriptOptions options_;
  XScriptTextPool pool_;
  XScriptProgram program_;
};

}  // namespace qorin::cli
