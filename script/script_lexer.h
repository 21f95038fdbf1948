// XScriptLexer: one script text (UTF-16, ending at its end or at a zero code unit) to tokens.
// Comments are dropped; the array ends with one end-of-text token. Identifier and literal
// texts go to the engine's text pool. A lexer error stops at once with its code and the line
// and column where scanning stopped.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "script_errors.h"
#include "script_host.h"
#include "script_token.h"
#include "text_pool.h"

namespace qorin {

class XScriptLexer {
 public:
  XScriptLexer(const XScriptOptions* options, XScriptTextPool* pool)
      : options_(options), pool_(pool) {}

  bool Tokenize(std::u16string_view text);
  // One token; false with the end-of-text token at the end, or on an error.
  bool NextToken(XScriptToken* token);

  std::vector<XScriptToken>& Tokens() { return tokens_; }
  XSERR Error() const { return error_; }
  int32_t Line() const { return line_; }
  int32_t Column() const { return column_; }

 private:
  char16_t Peek(size_t ahead = 0) const;
  void Consume(size_t count = 1);
  bool StartsWith(std::u16string_view word) const;
  bool Fail(XSERR code);

  bool ReadBlockComment(XScriptToken* token);
  bool ReadString(XScriptToken* token);
  bool ReadNumber(XScriptToken* token);
  bool ReadEscape(char16_t* out);

  const XScriptOptions* options_;
  XScriptTextPool* pool_;
  std::u16string_view text_;
  size_t pos_ = 0;
  int32_t line_ = 1;
  int32_t column_ = 1;
  bool atEnd_ = false;
  std::vector<XScriptToken> tokens_;
  XSERR error_ = XSERR_OK;
};

}  // namespace qorin
