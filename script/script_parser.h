// XScriptParser: the tokens of one text to definitions and top-level code.
//
// Definitions (struct types, functions under their signature keys such as "OnInit@v") join the
// program-wide tables and stay for the engine's lifetime; the code list is the text's own. Parse
// routines work on token ranges (first, last) and return the node with the index of the last
// token used; callers check what follows. An expression is never parenthesised, operators are
// found by scanning for the last one of a level, and only one suffix follows a name: these
// shapes are the language's, and package scripts rely on them.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "script_errors.h"
#include "script_node.h"
#include "stack_budget.h"

namespace qorin {

// Program-wide state of one engine.
struct XScriptProgram {
  std::unordered_map<std::u16string_view, const XScriptStructDef*> structs;
  std::unordered_map<std::u16string, const XScriptNode*> functions;  // key -> FuncDef
  std::vector<XScriptNodePtr> definitions;  // owns every StructDef and FuncDef ever parsed
  uint32_t generation = 0;                  // grows with every function defined

  const XScriptStructDef* FindStruct(std::u16string_view name) const;
};

class XScriptParser {
 public:
  XScriptParser(XScriptProgram* program, const XStackBudget* stack)
      : program_(program), stack_(stack) {}

  // Parses tokens (ending in the end-of-text token) into codeList. On failure the code, line
  // and column of the failing token (-1, -1 outside the array); definitions parsed before the
  // failing item stay registered.
  bool Parse(const std::vector<XScriptToken>& tokens, std::vector<XScriptNodePtr>* codeList);

  XSERR Error() const { return error_; }
  int32_t Line() const { return line_; }
  int32_t Column() const { return column_; }

 private:
  struct Parsed {
    XScriptNodePtr node;  // null: nothing could be read here (the caller decides the error)
    int last = -1;
    explicit operator bool() const { return node != nullptr; }
  };

  [[noreturn]] void Fail(XSERR code, int index) const;
  void CheckDepth(int index) const;
  const XScriptToken& Tok(int index) const;
  bool Is(int index, XScriptTokenKind kind) const;
  bool IsTypeName(int index) const;  // string, int, double or a known struct
  int MatchClose(int open, int last) const;

  // Items and statements.
  bool IsFunctionStart(int index) const;
  int ParseFunction(int first);
  XScriptNodePtr ParseParameter(int* index);
  int ParseItem(int first, std::vector<XScriptNodePtr>* list);
  int ParseDeclaration(int first, std::vector<XScriptNodePtr>* list);
  int ParseInitializer(int first, const XScriptNode& decl, std::vector<XScriptNodePtr>* list);
  int ParseStructDef(int first);
  Parsed ParseStatement(int first);
  Parsed ParseBlock(int first);
  Parsed ParseIf(int first);
  Parsed ParseFor(int first);

  // Expressions.
  Parsed ParseExpression(int first, int last);
  Parsed ParseLevel(int level, int first, int last);
  // Where ParseLevel(level, first, last) would end: the index of its last token, or -1 when it
  // reads nothing. Remembered per range.
  int LevelEnd(int level, int first, int last);
  // The operator of the level that splits the range (-1: none); *kind is its expression.
  int FindSplit(int level, int first, int last, XScriptExpr* kind) const;
  Parsed ParseUnary(int first, int last);
  Parsed ParsePrimary(int first, int last);
  Parsed ParseCallArguments(XScriptNodePtr call, int open, int last);

  XScriptProgram* program_;
  const XStackBudget* stack_;
  const std::vector<XScriptToken>* tokens_ = nullptr;
  int end_ = 0;                                            // index of the end-of-text token
  const std::vector<XScriptNodePtr>* codeList_ = nullptr;  // the text's top-level list
  XSERR error_ = XSERR_OK;
  int32_t line_ = 0, column_ = 0;
  // LevelEnd's answers by (level, first, last). A level tries a range only when the answers
  // for its parts say the split holds, so nothing is read twice to be thrown away and the
  // scan stays polynomial; reading builds nothing the answer depends on, so it is the same.
  struct LevelRange {
    int level, first, last;
    bool operator==(const LevelRange&) const = default;
  };
  struct LevelRangeHash {
    size_t operator()(const LevelRange& r) const {
      return std::hash<uint64_t>()(uint64_t(uint32_t(r.first)) << 32 | uint32_t(r.last)) ^
             size_t(r.level);
    }
  };
  std::unordered_map<LevelRange, int, LevelRangeHash> levelEnds_;
};

}  // namespace qorin
