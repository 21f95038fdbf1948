#include "script_errors.h"

#include "utf.h"

namespace qorin {
namespace {

struct ErrorName {
  XSERR code;
  const char* name;
};

constexpr ErrorName kErrorNames[] = {
    {XSERR_OK, "XSERR_OK"},
    {XSERR_INTERNAL, "XSERR_INTERNAL"},
    {XSERR_FILE_OPEN, "XSERR_FILE_OPEN"},
    {XSERR_ALLOC, "XSERR_ALLOC"},
    {XSERR_READ_FILE, "XSERR_READ_FILE"},
    {XSERR_INVALID_FILE, "XSERR_INVALID_FILE"},
    {XSERR_MBCS2UCS, "XSERR_MBCS2UCS"},
    {XSERR_PROGRAM_NOT_LOADED, "XSERR_PROGRAM_NOT_LOADED"},
    {XSERR_TOK_UNEXPECTED_EOF_FOUND_IN_COMMENT, "XSERR_TOK_UNEXPECTED_EOF_FOUND_IN_COMMENT"},
    {XSERR_TOK_NEWLINE_IN_CONSTANT, "XSERR_TOK_NEWLINE_IN_CONSTANT"},
    {XSERR_TOK_HEX_CONSTANT_MUST_HAVE_AT_LEAST_ONE_HEX_DIGHT,
     "XSERR_TOK_HEX_CONSTANT_MUST_HAVE_AT_LEAST_ONE_HEX_DIGHT"},
    {XSERR_TOK_BIN_CONSTANT_MUST_HAVE_AT_LEAST_ONE_BIN_DIGHT,
     "XSERR_TOK_BIN_CONSTANT_MUST_HAVE_AT_LEAST_ONE_BIN_DIGHT"},
    {XSERR_TOK_INVALID_REAL_NUM_FORMAT, "XSERR_TOK_INVALID_REAL_NUM_FORMAT"},
    {XSERR_TOK_BAD_SUFFIX_ON_NUMBER, "XSERR_TOK_BAD_SUFFIX_ON_NUMBER"},
    {XSERR_TOK_UNDECLARED_IDENTIFIER, "XSERR_TOK_UNDECLARED_IDENTIFIER"},
    {XSERR_TOK_UNRECOG_CHAR_ESCAPCE_SEQUENCE, "XSERR_TOK_UNRECOG_CHAR_ESCAPCE_SEQUENCE"},
    {XSERR_NOT_IMPLEMNTED, "XSERR_NOT_IMPLEMNTED"},
    {XSERR_MISSING_SEMICOLON, "XSERR_MISSING_SEMICOLON"},
    {XSERR_INVALID_TOKEN, "XSERR_INVALID_TOKEN"},
    {XSERR_SYNTAX, "XSERR_SYNTAX"},
    {XSERR_MISSING_BRACKET_CLOSE, "XSERR_MISSING_BRACKET_CLOSE"},
    {XSERR_STRUCT_TYPE_REDEFINITION, "XSERR_STRUCT_TYPE_REDEFINITION"},
    {XSERR_VARIABLE_REDEFINITION, "XSERR_VARIABLE_REDEFINITION"},
    {XSERR_CANNOT_ASSIGN, "XSERR_CANNOT_ASSIGN"},
    {XSERR_UNDECLARED_ID, "XSERR_UNDECLARED_ID"},
    {XSERR_EXPECTED_INT_EXPRESSION, "XSERR_EXPECTED_INT_EXPRESSION"},
    {XSERR_INVALID_ARRAY_SIZE, "XSERR_INVALID_ARRAY_SIZE"},
    {XSERR_ALLOC_FAILED, "XSERR_ALLOC_FAILED"},
    {XSERR_ARRAY_TYPE_REQUIRED, "XSERR_ARRAY_TYPE_REQUIRED"},
    {XSERR_ARRAY_INDEX_OUT_OF_RANGE, "XSERR_ARRAY_INDEX_OUT_OF_RANGE"},
    {XSERR_INVALID_CONDITION_TYPE, "XSERR_INVALID_CONDITION_TYPE"},
    {XSERR_CANT_FIND_FUNC, "XSERR_CANT_FIND_FUNC"},
};

}  // namespace

std::vector<std::pair<int, const char*>> ScriptErrorNames() {
  std::vector<std::pair<int, const char*>> rows;
  for (const ErrorName& entry : kErrorNames) rows.emplace_back(entry.code, entry.name);
  return rows;
}

const char* XSErrName(int32_t code) {
  for (const ErrorName& entry : kErrorNames) {
    if (entry.code == code) return entry.name;
  }
  return "unknown err";
}

std::u16string FormatScriptError(const XScriptErrorInfo& error) {
  auto number = [](int32_t value) { return AsciiToUtf16(std::to_string(value)); };
  return u"ErrCode:" + number(error.code) + u" ErrHint:'" + error.hint + u"' Line:" +
         number(error.line) + u" Col:" + number(error.column) + u" Tok:" + error.token;
}

}  // namespace qorin
