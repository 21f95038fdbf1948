// The script engine's one error enumeration, its names, and the exception that carries a code
// inside the engine. Exceptions never leave the engine: Run catches them and returns 0.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace qorin {

enum XSERR : int32_t {
  XSERR_OK = 0,
  XSERR_INTERNAL = 1,
  XSERR_FILE_OPEN = 11,
  XSERR_ALLOC = 12,
  XSERR_READ_FILE = 13,
  XSERR_INVALID_FILE = 14,
  XSERR_MBCS2UCS = 15,
  XSERR_PROGRAM_NOT_LOADED = 16,
  XSERR_TOK_UNEXPECTED_EOF_FOUND_IN_COMMENT = 100,
  XSERR_TOK_NEWLINE_IN_CONSTANT = 101,
  XSERR_TOK_HEX_CONSTANT_MUST_HAVE_AT_LEAST_ONE_HEX_DIGHT = 102,
  XSERR_TOK_BIN_CONSTANT_MUST_HAVE_AT_LEAST_ONE_BIN_DIGHT = 103,
  XSERR_TOK_INVALID_REAL_NUM_FORMAT = 104,
  XSERR_TOK_BAD_SUFFIX_ON_NUMBER = 105,
  XSERR_TOK_UNDECLARED_IDENTIFIER = 106,
  XSERR_TOK_UNRECOG_CHAR_ESCAPCE_SEQUENCE = 107,
  XSERR_NOT_IMPLEMNTED = 200,
  XSERR_MISSING_SEMICOLON = 201,
  XSERR_INVALID_TOKEN = 202,
  XSERR_SYNTAX = 203,
  XSERR_MISSING_BRACKET_CLOSE = 204,
  XSERR_STRUCT_TYPE_REDEFINITION = 205,
  XSERR_VARIABLE_REDEFINITION = 300,
  XSERR_CANNOT_ASSIGN = 301,
  XSERR_UNDECLARED_ID = 302,
  XSERR_EXPECTED_INT_EXPRESSION = 303,
  XSERR_INVALID_ARRAY_SIZE = 304,
  XSERR_ALLOC_FAILED = 305,
  XSERR_ARRAY_TYPE_REQUIRED = 306,
  XSERR_ARRAY_INDEX_OUT_OF_RANGE = 307,
  XSERR_INVALID_CONDITION_TYPE = 308,
  XSERR_CANT_FIND_FUNC = 400,
};

// "XSERR_SYNTAX" for 203; "unknown err" for a number without a name.
const char* XSErrName(int32_t code);
// Every error code with its name, in the table's order.
std::vector<std::pair<int, const char*>> ScriptErrorNames();

// Thrown inside the engine; the thrower has already recorded position and hint where they apply.
struct XScriptException {
  XSERR code;
};

// What a host reads after a failed Run.
struct XScriptErrorInfo {
  XSERR code = XSERR_OK;
  int32_t line = 0;
  int32_t column = 0;
  std::u16string token;  // the error token's display text, "(none)" for lexer and parser errors
  std::u16string hint;   // empty, or "Err@FindVar:" and the name of an undeclared variable
};

// The summary line of an error: "ErrCode:%d ErrHint:'%s' Line:%d Col:%d Tok:%s".
std::u16string FormatScriptError(const XScriptErrorInfo& error);

}  // namespace qorin
