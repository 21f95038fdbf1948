#include "script_parser.h"

namespace qorin {
namespace {

using K = XScriptTokenKind;
using E = XScriptExpr;

struct ParseError {
  XSERR code;
  int index;
};

struct LevelOperator {
  XScriptTokenKind token;
  XScriptExpr kind;
};

// Binary levels, lowest precedence first; all left-associative.
const std::vector<LevelOperator> kLevels[] = {
    {{K::OrOr, E::LogOr}},
    {{K::AndAnd, E::LogAnd}},
    {{K::Pipe, E::BitOr}},
    {{K::Caret, E::BitXor}},
    {{K::Amp, E::BitAnd}},
    {{K::Eq, E::Eq}, {K::Ne, E::Ne}},
    {{K::Lt, E::Lt}, {K::Gt, E::Gt}, {K::Le, E::Le}, {K::Ge, E::Ge}},
    {{K::Shl, E::Shl}, {K::Shr, E::Shr}},
    {{K::Plus, E::Add}, {K::Minus, E::Sub}},
    {{K::Star, E::Mul}, {K::Slash, E::Div}, {K::Percent, E::Mod}},
};
constexpr int kLevelCount = 10;
constexpr int kFirstStrictLevel = 6;  // from here ")" and "," end the scan

struct Prefix {
  XScriptTokenKind token;
  XScriptExpr kind;
};

constexpr Prefix kPrefixes[] = {{K::Plus, E::Plus},   {K::Minus, E::Neg},  {K::Star, E::Deref},
                                {K::Bang, E::LogNot}, {K::Amp, E::AddrOf}, {K::Tilde, E::BitNot},
                                {K::Inc, E::PreInc},  {K::Dec, E::PreDec}};

struct Compound {
  XScriptTokenKind token;
  XScriptExpr kind;  // Assign for "="
};

constexpr Compound kAssignments[] = {{K::Assign, E::Assign},
                                     {K::AddAssign, E::Add},
                                     {K::SubAssign, E::Sub},
                                     {K::MulAssign, E::Mul},
                                     {K::DivAssign, E::Div}};

bool EndsScan(XScriptTokenKind kind) {
  return IsKeyword(kind) || kind == K::LBrace || kind == K::RBrace || kind == K::Semicolon;
}

XScriptType TypeOfKeyword(XScriptTokenKind kind) {
  switch (kind) {
    case K::KwString: return XScriptType::String;
    case K::KwInt: return XScriptType::Int;
    case K::KwDouble: return XScriptType::Double;
    case K::KwVoid: return XScriptType::Void;
    default: return XScriptType::Undef;
  }
}

}  // namespace

const XScriptStructDef* XScriptProgram::FindStruct(std::u16string_view name) const {
  auto it = structs.find(name);
  return it == structs.end() ? nullptr : it->second;
}

void XScriptParser::Fail(XSERR code, int index) const {
  throw ParseError{code, index};
}

void XScriptParser::CheckDepth(int index) const {
  if (stack_ != nullptr && stack_->Exceeded()) Fail(XSERR_INTERNAL, index);
}

const XScriptToken& XScriptParser::Tok(int index) const {
  if (index < 0 || index > end_) return (*tokens_)[end_];
  return (*tokens_)[index];
}

bool XScriptParser::Is(int index, XScriptTokenKind kind) const {
  return index >= 0 && index <= end_ && (*tokens_)[index].kind == kind;
}

bool XScriptParser::IsTypeName(int index) const {
  if (Is(index, K::KwString) || Is(index, K::KwInt) || Is(index, K::KwDouble)) return true;
  return Is(index, K::Identifier) && program_->FindStruct(*Tok(index).text) != nullptr;
}

// The index of the bracket that closes the one at open (same kind, nesting), or -1.
int XScriptParser::MatchClose(int open, int last) const {
  K opening = Tok(open).kind;
  K closing = opening == K::LParen ? K::RParen : K::RBracket;
  int depth = 0;
  for (int i = open; i <= last && i < end_; ++i) {
    if (Is(i, opening)) ++depth;
    if (Is(i, closing) && --depth == 0) return i;
  }
  return -1;
}

bool XScriptParser::Parse(const std::vector<XScriptToken>& tokens,
                          std::vector<XScriptNodePtr>* codeList) {
  tokens_ = &tokens;
  end_ = static_cast<int>(tokens.size()) - 1;
  codeList->clear();
  codeList_ = codeList;
  levelEnds_.clear();
  error_ = XSERR_OK;
  try {
    int i = 0;
    while (i < end_) i = (IsFunctionStart(i) ? ParseFunction(i) : ParseItem(i, codeList)) + 1;
  } catch (const ParseError& error) {
    error_ = error.code;
    bool inside = error.index >= 0 && error.index <= end_;
    line_ = inside ? tokens[error.index].line : -1;
    column_ = inside ? tokens[error.index].column : -1;
    return false;
  }
  return true;
}

// --- Items ----------------------------------------------------------------------------------

bool XScriptParser::IsFunctionStart(int i) const {
  return (Is(i, K::KwVoid) || IsTypeName(i)) && Is(i + 1, K::Identifier) && Is(i + 2, K::LParen);
}

int XScriptParser::ParseFunction(int first) {
  auto def = MakeNode(XScriptStmt::FuncDef, Tok(first + 1));
  def->name = *Tok(first + 1).text;
  def->returnType = Is(first, K::Identifier) ? XScriptType::Struct : TypeOfKeyword(Tok(first).kind);
  std::u16string key = std::u16string(def->name) + u"@";
  int i = first + 3;
  if (Is(i, K::RParen)) {
    key += u'v';
  } else {
    for (;;) {
      def->params.push_back(ParseParameter(&i));
      AppendSignatureCode(def->params.back()->decl, &key);
      if (!Is(i, K::Comma)) break;
      ++i;
    }
  }
  if (!Is(i, K::RParen) || !Is(i + 1, K::LBrace)) Fail(XSERR_SYNTAX, first);
  Parsed body = ParseBlock(i + 1);
  def->body = std::move(body.node);
  def->signatureKey = std::move(key);
  ResolveParameterSlots(*def);
  program_->functions[def->signatureKey] = def.get();
  ++program_->generation;
  program_->definitions.push_back(std::move(def));
  return body.last;
}

// void, or a type and a declarator; *i moves past it.
XScriptNodePtr XScriptParser::ParseParameter(int* i) {
  int start = *i;
  auto param = MakeNode(XScriptStmt::VarDecl, Tok(start));
  if (Is(start, K::KwVoid)) {
    ++*i;  // type Undef, code "v", no variable
    return param;
  }
  if (!IsTypeName(start) || !Is(start + 1, K::Identifier)) Fail(XSERR_INTERNAL, start);
  param->token = Tok(start + 1);
  param->decl.name = param->name = *Tok(start + 1).text;
  if (Is(start, K::Identifier)) {
    param->decl.type = XScriptType::Struct;
    param->decl.structDef = program_->FindStruct(*Tok(start).text);
  } else {
    param->decl.type = TypeOfKeyword(Tok(start).kind);
  }
  *i = start + 2;
  if (Is(*i, K::LBracket)) {
    int close = MatchClose(*i, end_ - 1);
    Parsed size = close < 0 ? Parsed{} : ParseExpression(*i + 1, close - 1);
    if (!size || size.last != close - 1) Fail(XSERR_INTERNAL, start);
    param->arraySize = std::move(size.node);
    *i = close + 1;
  }
  return param;
}

int XScriptParser::ParseItem(int first, std::vector<XScriptNodePtr>* list) {
  CheckDepth(first);
  if ((Is(first, K::KwVoid) || IsTypeName(first)) && Is(first + 1, K::Identifier))
    return ParseDeclaration(first, list);
  if (Is(first, K::KwStruct)) {
    int last = ParseStructDef(first);
    if (list == codeList_) return last;
    // A block keeps the definition's place (a block that ends with it has its value, Undef);
    // the program's definitions own the type itself.
    const XScriptNode& def = *program_->definitions.back();
    auto place = MakeNode(XScriptStmt::StructDef, def.token);
    place->name = def.name;
    place->structDef = def.structDef;
    list->push_back(std::move(place));
    return last;
  }
  Parsed statement = ParseStatement(first);
  list->push_back(std::move(statement.node));
  return statement.last;
}

int XScriptParser::ParseDeclaration(int first, std::vector<XScriptNodePtr>* list) {
  if (Is(first, K::KwVoid)) Fail(XSERR_INTERNAL, first);
  XScriptDecl type;
  if (Is(first, K::Identifier)) {
    type.type = XScriptType::Struct;
    type.structDef = program_->FindStruct(*Tok(first).text);
  } else {
    type.type = TypeOfKeyword(Tok(first).kind);
  }
  int i = first + 1;
  for (;;) {
    if (!Is(i, K::Identifier)) Fail(XSERR_INTERNAL, i);
    auto decl = MakeNode(XScriptStmt::VarDecl, Tok(i));
    decl->decl = type;
    decl->decl.name = decl->name = *Tok(i).text;
    ++i;
    if (Is(i, K::LBracket)) {
      int close = MatchClose(i, end_ - 1);
      Parsed size = ParseExpression(i + 1, close < 0 ? end_ - 1 : close - 1);
      if (!size) Fail(XSERR_SYNTAX, i + 1);
      if (close < 0 || size.last != close - 1) Fail(XSERR_MISSING_BRACKET_CLOSE, size.last + 1);
      decl->arraySize = std::move(size.node);
      i = close + 1;
    }
    const XScriptNode& declared = *decl;
    list->push_back(std::move(decl));
    if (Is(i, K::Assign)) i = ParseInitializer(i + 1, declared, list) + 1;
    if (Is(i, K::Semicolon)) return i;
    if (!Is(i, K::Comma)) Fail(XSERR_INTERNAL, i);
    ++i;
  }
}

// "= expression" becomes name = expression; "= {e0, e1, ...}" becomes name[i] = ei.
int XScriptParser::ParseInitializer(int first, const XScriptNode& decl,
                                    std::vector<XScriptNodePtr>* list) {
  auto assign = [&](XScriptNodePtr target, XScriptNodePtr value) {
    auto node = MakeExpr(E::Assign, decl.token);
    node->left = std::move(target);
    node->right = std::move(value);
    list->push_back(std::move(node));
  };
  if (!Is(first, K::LBrace)) {
    Parsed value = ParseExpression(first, end_ - 1);
    if (!value) Fail(XSERR_SYNTAX, first);
    auto target = MakeExpr(E::VarRef, decl.token);
    target->name = decl.name;
    assign(std::move(target), std::move(value.node));
    return value.last;
  }
  int i = first + 1;
  if (Is(i, K::RBrace)) return i;
  for (int32_t index = 0;; ++index) {
    Parsed value = ParseExpression(i, end_ - 1);
    if (!value) Fail(XSERR_SYNTAX, i);
    auto target = MakeExpr(E::ArrayElem, decl.token);
    target->name = decl.name;
    target->left = MakeExpr(E::Const, decl.token);
    target->left->constant.SetInt(index);
    assign(std::move(target), std::move(value.node));
    i = value.last + 1;
    if (Is(i, K::RBrace)) return i;
    if (!Is(i, K::Comma)) Fail(XSERR_SYNTAX, i);
    ++i;
  }
}

// The definition joins the program's definitions wherever it stands; inside a block it does
// nothing when executed.
int XScriptParser::ParseStructDef(int first) {
  int nameIndex = first + 1;
  if (!Is(nameIndex, K::Identifier)) Fail(XSERR_INTERNAL, nameIndex);
  if (program_->FindStruct(*Tok(nameIndex).text) != nullptr)
    Fail(XSERR_STRUCT_TYPE_REDEFINITION, nameIndex);
  if (!Is(first + 2, K::LBrace)) Fail(XSERR_SYNTAX, first + 2);
  int close = first + 3;
  for (; !Is(close, K::RBrace); ++close) {
    K kind = Tok(close).kind;
    if (close >= end_ || !(kind == K::KwString || kind == K::KwInt || kind == K::KwDouble ||
                           kind == K::Identifier || kind == K::Semicolon))
      Fail(XSERR_SYNTAX, close);
  }
  auto def = MakeNode(XScriptStmt::StructDef, Tok(nameIndex));
  def->name = def->structDef.name = *Tok(nameIndex).text;
  for (int i = first + 3; i < close; i += 3) {
    XScriptDecl member;
    if (Is(i, K::Identifier)) {
      member.type = XScriptType::Struct;
      member.structDef = program_->FindStruct(*Tok(i).text);
      if (member.structDef == nullptr) Fail(XSERR_SYNTAX, i);
    } else {
      member.type = TypeOfKeyword(Tok(i).kind);
      if (member.type == XScriptType::Undef) Fail(XSERR_SYNTAX, i);
    }
    if (!Is(i + 1, K::Identifier) || i + 1 >= close) Fail(XSERR_SYNTAX, i + 1);
    if (!Is(i + 2, K::Semicolon) || i + 2 >= close) Fail(XSERR_SYNTAX, i + 2);
    member.name = *Tok(i + 1).text;
    def->structDef.members.push_back(member);
  }
  program_->structs[def->structDef.name] = &def->structDef;
  program_->definitions.push_back(std::move(def));
  return close;
}

// --- Statements -----------------------------------------------------------------------------

XScriptParser::Parsed XScriptParser::ParseStatement(int first) {
  CheckDepth(first);
  const XScriptToken& token = Tok(first);
  switch (token.kind) {
    case K::KwIf: return ParseIf(first);
    case K::KwFor: return ParseFor(first);
    case K::LBrace: return ParseBlock(first);
    case K::Semicolon: return {MakeNode(XScriptStmt::Empty, token), first};
    case K::KwBreak:
      if (!Is(first + 1, K::Semicolon)) Fail(XSERR_MISSING_SEMICOLON, first);
      return {MakeNode(XScriptStmt::Break, token), first + 1};
    case K::KwReturn: {
      auto node = MakeNode(XScriptStmt::Return, token);
      if (Is(first + 1, K::Semicolon)) return {std::move(node), first + 1};
      Parsed value = ParseExpression(first + 1, end_ - 1);
      if (!value) Fail(XSERR_SYNTAX, first + 1);
      if (!Is(value.last + 1, K::Semicolon)) Fail(XSERR_MISSING_SEMICOLON, first);
      node->left = std::move(value.node);
      return {std::move(node), value.last + 1};
    }
    default: {
      Parsed expression = ParseExpression(first, end_ - 1);
      if (!expression) Fail(XSERR_NOT_IMPLEMNTED, first);
      if (!Is(expression.last + 1, K::Semicolon)) Fail(XSERR_MISSING_SEMICOLON, first);
      return {std::move(expression.node), expression.last + 1};
    }
  }
}

XScriptParser::Parsed XScriptParser::ParseBlock(int first) {
  auto block = MakeNode(XScriptStmt::Block, Tok(first));
  int i = first + 1;
  while (!Is(i, K::RBrace)) {
    if (i >= end_) Fail(XSERR_SYNTAX, i);
    i = ParseItem(i, &block->items) + 1;
  }
  return {std::move(block), i};
}

XScriptParser::Parsed XScriptParser::ParseIf(int first) {
  auto node = MakeNode(XScriptStmt::If, Tok(first));
  int close = Is(first + 1, K::LParen) ? MatchClose(first + 1, end_ - 1) : -1;
  if (close < 0) Fail(XSERR_SYNTAX, first + 1);
  Parsed condition = ParseExpression(first + 2, close - 1);
  if (!condition) Fail(XSERR_SYNTAX, first + 2);
  if (condition.last != close - 1) Fail(XSERR_SYNTAX, condition.last + 1);
  node->condition = std::move(condition.node);
  Parsed then = ParseStatement(close + 1);
  node->thenStmt = std::move(then.node);
  int last = then.last;
  if (Is(last + 1, K::KwElse)) {
    Parsed otherwise = ParseStatement(last + 2);
    node->elseStmt = std::move(otherwise.node);
    last = otherwise.last;
  }
  return {std::move(node), last};
}

XScriptParser::Parsed XScriptParser::ParseFor(int first) {
  auto node = MakeNode(XScriptStmt::For, Tok(first));
  int close = Is(first + 1, K::LParen) ? MatchClose(first + 1, end_ - 1) : -1;
  if (close < 0) Fail(XSERR_SYNTAX, first + 1);
  int i = first + 2;
  // init ";" condition ";" step, each optional.
  XScriptNodePtr* parts[] = {&node->init, &node->condition, &node->step};
  for (int part = 0; part < 3; ++part) {
    K separator = part < 2 ? K::Semicolon : K::RParen;
    if (!Is(i, separator)) {
      Parsed expression = ParseExpression(i, close - 1);
      if (!expression) Fail(XSERR_SYNTAX, i);
      *parts[part] = std::move(expression.node);
      i = expression.last + 1;
    }
    if (!Is(i, separator) || i > close) Fail(XSERR_SYNTAX, i);
    ++i;
  }
  if (i - 1 != close) Fail(XSERR_SYNTAX, i - 1);
  Parsed body = ParseStatement(close + 1);
  node->body = std::move(body.node);
  return {std::move(node), body.last};
}

// --- Expressions ----------------------------------------------------------------------------

XScriptParser::Parsed XScriptParser::ParseExpression(int first, int last) {
  if (first > last) return {};
  CheckDepth(first);
  Parsed target = ParseUnary(first, last);
  int op = target ? target.last + 1 : -1;
  if (target && op <= last) {
    for (const Compound& assignment : kAssignments) {
      if (!Is(op, assignment.token)) continue;
      if (op + 1 > last) Fail(XSERR_SYNTAX, op);
      Parsed value = ParseExpression(op + 1, last);
      if (!value) return {};
      auto node = MakeExpr(E::Assign, Tok(first));
      if (assignment.kind != E::Assign) {
        // x op= v is x = x op v, for a plain variable only.
        if (!target.node->IsExpr(E::VarRef) || target.node->left) Fail(XSERR_SYNTAX, op);
        auto operation = MakeExpr(assignment.kind, Tok(op));
        operation->left = MakeExpr(E::VarRef, target.node->token);
        operation->left->name = target.node->name;
        operation->right = std::move(value.node);
        value.node = std::move(operation);
      }
      node->left = std::move(target.node);
      node->right = std::move(value.node);
      return {std::move(node), value.last};
    }
  }
  return ParseLevel(0, first, last);
}

// Level k: the last operator of the level at nesting depth 0 splits the range; the left part
// is read at the same level and must end just before it, the right part at the next level.
// Otherwise the whole range is read at the next level.
XScriptParser::Parsed XScriptParser::ParseLevel(int level, int first, int last) {
  if (first > last) return {};
  if (level == kLevelCount) return ParseUnary(first, last);
  CheckDepth(first);
  XScriptExpr kind = E::Const;
  int split = FindSplit(level, first, last, &kind);
  if (split >= 0) {
    bool strict = level + 1 >= kFirstStrictLevel;
    bool atEdge = split == first || split == last;
    if (atEdge && !strict) return {};
    if (!atEdge && LevelEnd(level, first, split - 1) == split - 1 &&
        LevelEnd(level + 1, split + 1, last) >= 0) {
      Parsed left = ParseLevel(level, first, split - 1);
      Parsed right = ParseLevel(level + 1, split + 1, last);
      auto node = MakeExpr(kind, Tok(split));
      node->left = std::move(left.node);
      node->right = std::move(right.node);
      return {std::move(node), right.last};
    }
  }
  return ParseLevel(level + 1, first, last);
}

int XScriptParser::LevelEnd(int level, int first, int last) {
  if (first > last) return -1;
  LevelRange key{level, first, last};
  if (auto known = levelEnds_.find(key); known != levelEnds_.end()) return known->second;
  int end = -1;
  if (level == kLevelCount) {
    Parsed unary = ParseUnary(first, last);
    end = unary ? unary.last : -1;
  } else {
    CheckDepth(first);
    XScriptExpr kind = E::Const;
    int split = FindSplit(level, first, last, &kind);
    bool strict = level + 1 >= kFirstStrictLevel;
    bool atEdge = split == first || split == last;
    if (split >= 0 && atEdge && !strict) {
      end = -1;
    } else if (split >= 0 && !atEdge && LevelEnd(level, first, split - 1) == split - 1 &&
               (end = LevelEnd(level + 1, split + 1, last)) >= 0) {
    } else {
      end = LevelEnd(level + 1, first, last);
    }
  }
  levelEnds_.emplace(key, end);
  return end;
}

int XScriptParser::FindSplit(int level, int first, int last, XScriptExpr* kind) const {
  bool strict = level + 1 >= kFirstStrictLevel;
  int split = -1, depth = 0;
  for (int i = first; i <= last; ++i) {
    K token = Tok(i).kind;
    if (EndsScan(token)) break;
    if (depth == 0 && strict && (token == K::RParen || token == K::Comma)) break;
    if (token == K::LParen || token == K::LBracket) ++depth;
    if ((token == K::RParen || token == K::RBracket) && depth > 0) --depth;
    if (depth != 0) continue;
    for (const LevelOperator& op : kLevels[level]) {
      if (token == op.token) split = i, *kind = op.kind;
    }
  }
  return split;
}

XScriptParser::Parsed XScriptParser::ParseUnary(int first, int last) {
  if (first > last) return {};
  CheckDepth(first);
  const XScriptToken& token = Tok(first);
  if (token.Is(K::LParen) &&
      (Is(first + 1, K::KwString) || Is(first + 1, K::KwInt) || Is(first + 1, K::KwDouble)) &&
      Is(first + 2, K::RParen))
    Fail(XSERR_NOT_IMPLEMNTED, first);  // casts are not part of the language
  for (const Prefix& prefix : kPrefixes) {
    if (!token.Is(prefix.token)) continue;
    Parsed operand = ParseUnary(first + 1, last);
    if (!operand) return {};
    auto node = MakeExpr(prefix.kind, token);
    node->left = std::move(operand.node);
    return {std::move(node), operand.last};
  }
  Parsed primary = ParsePrimary(first, last);
  int after = primary.last + 1;
  if (primary && after <= last && (Is(after, K::Inc) || Is(after, K::Dec))) {
    auto node = MakeExpr(Is(after, K::Inc) ? E::PostInc : E::PostDec, Tok(after));
    node->left = std::move(primary.node);
    return {std::move(node), after};
  }
  return primary;
}

XScriptParser::Parsed XScriptParser::ParsePrimary(int first, int last) {
  const XScriptToken& token = Tok(first);
  switch (token.kind) {
    case K::LParen: Fail(XSERR_NOT_IMPLEMNTED, first);  // no parenthesised sub-expressions
    case K::IntLiteral:
    case K::RealLiteral:
    case K::StringLiteral: {
      if (Is(first + 1, K::LBracket)) Fail(XSERR_SYNTAX, first + 1);
      auto node = MakeExpr(E::Const, token);
      if (token.Is(K::IntLiteral)) node->constant.SetInt(token.intValue);
      if (token.Is(K::RealLiteral)) node->constant.SetDouble(token.realValue);
      if (token.Is(K::StringLiteral)) node->constant.SetConstString(token.text);
      return {std::move(node), first};
    }
    case K::Identifier: break;
    default: return {};
  }
  auto node = MakeExpr(E::VarRef, token);
  node->name = *token.text;
  int next = first + 1;
  if (next > last) return {std::move(node), first};
  if (Is(next, K::LBracket)) {
    int close = MatchClose(next, last);
    if (close < 0) Fail(XSERR_MISSING_BRACKET_CLOSE, next);
    Parsed index = ParseExpression(next + 1, close - 1);
    if (!index) Fail(XSERR_SYNTAX, next + 1);
    if (index.last + 1 != close) Fail(XSERR_MISSING_BRACKET_CLOSE, index.last + 1);
    node->expr = E::ArrayElem;
    node->left = std::move(index.node);
    return {std::move(node), close};
  }
  if (Is(next, K::LParen)) {
    node->expr = E::Call;
    return ParseCallArguments(std::move(node), next, last);
  }
  if (!Is(next, K::Dot)) return {std::move(node), first};
  // A member chain: each link hangs as left of the previous one.
  XScriptNodePtr* link = &node->left;
  int i = next;
  for (; i <= last && Is(i, K::Dot); i += 2) {
    if (i + 1 > last || !Is(i + 1, K::Identifier)) Fail(XSERR_SYNTAX, i);
    *link = MakeExpr(E::Member, Tok(i + 1));
    (*link)->name = *Tok(i + 1).text;
    link = &(*link)->left;
  }
  return {std::move(node), i - 1};
}

// Arguments end exactly before the closing parenthesis, else there is no call here.
XScriptParser::Parsed XScriptParser::ParseCallArguments(XScriptNodePtr call, int open, int last) {
  if (Is(open + 1, K::RParen) && open + 1 <= last) return {std::move(call), open + 1};
  int close = MatchClose(open, last);
  if (close < 0) return {};
  for (int i = open + 1;;) {
    Parsed argument = ParseExpression(i, close - 1);
    if (!argument) return {};
    call->args.push_back(std::move(argument.node));
    int after = argument.last + 1;
    if (after == close) return {std::move(call), close};
    if (!Is(after, K::Comma)) return {};
    i = after + 1;
  }
}

}  // namespace qorin
