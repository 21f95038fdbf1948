#include "script_check.h"

#include <vector>

namespace qorin::cli {

bool XScriptChecker::Check(std::u16string_view text, XScriptErrorInfo* error) {
  XScriptLexer lexer(&options_, &pool_);
  error->token = u"(none)";
  if (!lexer.Tokenize(text)) {
    error->code = lexer.Error(), error->line = lexer.Line(), error->column = lexer.Column();
    return false;
  }
  std::vector<XScriptNodePtr> code;
  XStackBudget stack;
  stack.Start();
  XScriptParser parser(&program_, &stack);
  if (parser.Parse(lexer.Tokens(), &code)) return true;
  error->code = parser.Error(), error->line = parser.Line(), error->column = parser.Column();
  return false;
}

}  // namespace qorin::cli
