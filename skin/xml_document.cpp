#include "xml_document.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>
#include <unordered_set>

#include "text.h"
#include "xml_arena.h"

namespace qorin {
namespace {

constexpr int kTabWidth = 4;

bool IsSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// What the scans of the character reader stop at, one bit per scan, and the characters a scan
// notes on its way (carriage returns to drop, ampersands to decode). Characters past ASCII end
// only the scan over white space. The zero at the end of the text ends every scan.
enum : uint8_t {
  kEndsText = 1,          // '<'
  kEndsDoubleQuoted = 2,  // '"' or '<'
  kEndsSingleQuoted = 4,  // '\'' or '<'
  kEndsName = 8,          // white space, '/', '<', '=', '>'
  kEndsSpace = 16,        // anything but white space
  kNoted = 32,            // '\r' and '&'
  kNotName = 64,          // what cannot start a name in a tag: white space, < > / = " '
  kEndsAll = kEndsText | kEndsDoubleQuoted | kEndsSingleQuoted | kEndsName | kEndsSpace,
};

constexpr std::array<uint8_t, 129> kClasses = [] {
  std::array<uint8_t, 129> classes{};
  for (unsigned c = 1; c < classes.size(); ++c) {
    bool space = c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
    uint8_t bits = space ? 0 : kEndsSpace;
    if (c == u'<') bits |= kEndsText | kEndsDoubleQuoted | kEndsSingleQuoted | kEndsName;
    if (c == u'"') bits |= kEndsDoubleQuoted;
    if (c == u'\'') bits |= kEndsSingleQuoted;
    if ((space && c != u'\r') || c == u'/' || c == u'=' || c == u'>') bits |= kEndsName;
    if (c == u'\r' || c == u'&') bits |= kNoted;
    if (space || c == u'<' || c == u'>' || c == u'/' || c == u'=' || c == u'"' || c == u'\'')
      bits |= kNotName;
    classes[c] = bits;
  }
  classes[0] = kEndsAll | kNotName;
  classes[128] = kEndsSpace;  // every character past ASCII
  return classes;
}();

inline unsigned ClassOf(char16_t c) {
  return kClasses[c < 128 ? c : 128];
}

// Whether any of the four characters in the word is below 14 (line feed, carriage return, tab,
// zero): a lane that borrows has its top bit set where the character's own top bit was clear.
inline bool AnyControl(uint64_t four) {
  return ((four - 0x000E000E000E000Eull) & ~four & 0x8000800080008000ull) != 0;
}

// Thrown inside the parser only; LoadFromMemory and ParseText turn it into the error state.
struct XmlFailure {
  int code;
};

// The entity's name after an ampersand, when it is one of the five: its length with the ';', and
// its character. Where four characters follow, one comparison of words decides.
struct EntityName {
  size_t length;
  char16_t character;
};

constexpr uint64_t Word(const char16_t (&text)[5]) {
  return uint64_t{text[0]} | uint64_t{text[1]} << 16 | uint64_t{text[2]} << 32 |
         uint64_t{text[3]} << 48;
}

EntityName ReadEntityName(const char16_t* p, const char16_t* end) {
  if (end - p >= 5) {
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
    uint64_t three = word & 0xFFFFFFFFFFFFull;
    if (word == Word(u"amp;")) return {4, u'&'};
    if (three == Word(u"lt;\0")) return {3, u'<'};
    if (three == Word(u"gt;\0")) return {3, u'>'};
    if (word == Word(u"quot") && p[4] == u';') return {5, u'"'};
    if (word == Word(u"apos") && p[4] == u';') return {5, u'\''};
    return {0, 0};
  }
  static constexpr struct {
    std::u16string_view name;
    char16_t character;
  } kEntities[] = {
      {u"amp;", u'&'}, {u"lt;", u'<'}, {u"gt;", u'>'}, {u"quot;", u'"'}, {u"apos;", u'\''}};
  std::u16string_view rest(p, static_cast<size_t>(end - p));
  for (const auto& entity : kEntities) {
    if (rest.size() >= entity.name.size() &&
        std::equal(entity.name.begin(), entity.name.end(), rest.begin()))
      return {entity.name.size(), entity.character};
  }
  return {0, 0};
}

// Entities as five passes in the fixed order would decode them ("&amp;" first, so "&amp;lt;"
// yields "<"), in one pass: an "&amp;" followed by the rest of another entity is that entity.
// Writes the decoded text to out, which may be text itself (the result is never longer), and
// returns its length.
size_t DecodeEntities(const char16_t* text, size_t length, char16_t* out) {
  const char16_t* end = text + length;
  char16_t* put = out;
  for (const char16_t* p = text; p != end;) {
    if (*p != u'&') {
      *put++ = *p++;
      continue;
    }
    EntityName entity = ReadEntityName(++p, end);
    if (entity.character == u'&') {  // "&amp;", perhaps followed by the rest of another
      EntityName next = ReadEntityName(p + entity.length, end);
      if (next.length != 0 && next.character != u'&')
        entity = {entity.length + next.length, next.character};
    }
    p += entity.length;
    *put++ = entity.length != 0 ? entity.character : u'&';
  }
  return static_cast<size_t>(put - out);
}

// The character reader. Its position is the line and column of the character read last; it is
// worked out only when asked for, from where it was asked for before.
class Reader {
 public:
  explicit Reader(const char16_t* text) : cursor_(text), counted_(text) {}

  char16_t Peek() const {
    const char16_t* p = cursor_;
    while (*p == u'\r') ++p;
    return *p;
  }
  bool StartsWith(std::u16string_view text) const {
    const char16_t* p = cursor_;
    for (char16_t c : text) {
      while (*p == u'\r') ++p;
      if (*p++ != c) return false;
    }
    return true;
  }
  bool AtZero() const { return Peek() == 0; }
  const char16_t* Cursor() const { return cursor_; }

  char16_t Get() {
    while (*cursor_ == u'\r') ++cursor_;  // carriage returns count for nothing
    char16_t c = *cursor_;
    if (c != 0) ++cursor_;
    return c;
  }
  void Skip(size_t count) {
    for (size_t i = 0; i < count; ++i) Get();
  }
  void SkipSpace() { Advance(kEndsSpace); }

  // What Advance passed over besides ordinary characters.
  static constexpr unsigned kCarriageReturn = 1, kAmpersand = 2;

  // Moves up to (not onto) the first character of a class in ends, or the end of the text, as
  // Get would one by one; carriage returns end no scan.
  unsigned Advance(unsigned ends) {
    unsigned passed = 0;
    const char16_t* p = cursor_;
    for (;; ++p) {
      unsigned bits = ClassOf(*p);
      if ((bits & (ends | kNoted)) == 0) continue;
      if (bits & ends) break;
      passed |= *p == u'\r' ? kCarriageReturn : kAmpersand;
    }
    cursor_ = p;
    return passed;
  }
  // Moves up to the next c or the end of the text.
  void AdvanceTo(char16_t c) {
    while (*cursor_ != 0 && *cursor_ != c) ++cursor_;
  }

  int Line() {
    Count();
    return newlinePending_ ? line_ - 1 : line_;
  }
  int Column() {
    Count();
    return newlinePending_ ? columnBeforeFeed_ : column_;
  }

 private:
  // Brings the position up to the cursor. A line feed starts the next line, but until another
  // character is passed the position stays on the line feed's own line; a tab counts 4 columns,
  // a carriage return none. Before the first character the position is line 0, column 0.
  void Count() {
    const char16_t* p = counted_;
    const char16_t* end = cursor_;
    int line = line_, column = column_, columnBeforeFeed = columnBeforeFeed_;
    bool pending = newlinePending_;
    while (p < end) {
      const char16_t* run = p;
      for (uint64_t four[2]; end - p >= 8; p += 8) {
        std::memcpy(four, p, sizeof four);
        if (AnyControl(four[0]) || AnyControl(four[1])) break;
      }
      while (p != end && *p > u'\r') ++p;
      if (p != run) {
        column += static_cast<int>(p - run);
        pending = false;
        continue;
      }
      char16_t c = *p++;
      if (c == u'\n') {
        columnBeforeFeed = column;
        ++line;
        column = 0;
        pending = true;
      } else {  // a carriage return ends a line feed's wait but takes no column
        if (c != u'\r') column += c == u'\t' ? kTabWidth : 1;
        pending = false;
      }
    }
    counted_ = p;
    line_ = line, column_ = column, columnBeforeFeed_ = columnBeforeFeed;
    newlinePending_ = pending;
  }

  const char16_t* cursor_;
  const char16_t* counted_;  // the position is that of the character before this
  bool newlinePending_ = true;
  int line_ = 1, column_ = 0, columnBeforeFeed_ = 0;
};

enum class Tok {
  kEnd,
  kTagOpen,
  kLess,
  kTagClose,
  kSlash,
  kEquals,
  kName,
  kValue,
  kText,
  kComment,
  kCData,
  kProcessing
};

struct Token {
  Tok kind = Tok::kEnd;
  std::u16string_view text;     // name, value, text, CDATA content, processing-instruction target
  std::u16string_view content;  // processing-instruction content
};

class Parser {
 public:
  Parser(const char16_t* text, XXmlArena& arena) : reader_(text), arena_(arena) {}

  void ParseDocument(XXmlNode* root) {
    while (true) {
      Token token = Next(false);
      switch (token.kind) {
        case Tok::kComment:
        case Tok::kProcessing: continue;  // the XML declaration and other leading instructions
        case Tok::kTagOpen: {
          int line = reader_.Line(), column = reader_.Column();
          TagKind kind = ReadTag(root);
          root->line = line;
          root->column = column;
          if (kind == TagKind::kEnd) throw XmlFailure{XXML_ERR_ROOT_NOT_TAG};
          if (kind == TagKind::kStart) ReadContent(root, 1);
          break;
        }
        case Tok::kEnd: throw XmlFailure{XXML_ERR_BAD_EOF};
        default: throw XmlFailure{XXML_ERR_ROOT_NOT_TAG};
      }
      break;
    }
    while (true) {
      Token token = Next(false);
      if (token.kind == Tok::kEnd) return;
      if (token.kind != Tok::kComment) throw XmlFailure{XXML_ERR_AFTER_ROOT};
    }
  }

  int Line() { return reader_.Line(); }
  int Column() { return reader_.Column(); }

 private:
  enum class TagKind { kStart, kEmpty, kEnd };

  // The characters from begin to end without carriage returns and, when asked, with entities
  // decoded: a view of the text when that changes nothing, otherwise a copy.
  std::u16string_view Finish(const char16_t* begin, const char16_t* end, unsigned passed,
                             bool entities) {
    std::u16string_view text(begin, static_cast<size_t>(end - begin));
    bool carriageReturn = passed & Reader::kCarriageReturn;
    entities = entities && (passed & Reader::kAmpersand);
    if (!carriageReturn && !entities) return text;
    char16_t* copy = arena_.Characters(text.size());
    // Carriage returns go first: an entity may have one inside its name.
    if (!carriageReturn) return {copy, DecodeEntities(text.data(), text.size(), copy)};
    size_t length =
        static_cast<size_t>(std::remove_copy(text.begin(), text.end(), copy, u'\r') - copy);
    if (entities) length = DecodeEntities(copy, length, copy);
    return {copy, length};
  }

  static unsigned CarriageReturns(const char16_t* begin, const char16_t* end) {
    return std::find(begin, end, u'\r') != end ? Reader::kCarriageReturn : 0u;
  }

  std::u16string_view Scan(unsigned ends, bool entities) {
    const char16_t* begin = reader_.Cursor();
    unsigned passed = reader_.Advance(ends);
    return Finish(begin, reader_.Cursor(), passed, entities);
  }

  Token Next(bool inTag) {
    if (deliveredEnd_ && reader_.AtZero()) throw XmlFailure{XXML_ERR_BAD_EOF};
    reader_.SkipSpace();
    Token token;
    char16_t c = reader_.Peek();
    if (c == 0) {
      deliveredEnd_ = true;
      return token;
    }
    if (inTag) return NextInTag(c);
    if (c != u'<') {
      token.kind = Tok::kText;
      token.text = Scan(kEndsText, true);
      return token;
    }
    reader_.Get();
    if (reader_.Peek() == u'!') return Bang();
    if (reader_.Peek() == u'?') return Processing();
    token.kind = Tok::kTagOpen;
    return token;
  }

  // Reads characters up to and including the terminator; the end of text first fails.
  std::u16string_view Until(std::u16string_view terminator, int error) {
    const char16_t* begin = reader_.Cursor();
    const char16_t* end = begin;
    char16_t first = terminator.front();
    while (!reader_.StartsWith(terminator)) {
      if (reader_.AtZero()) throw XmlFailure{error};
      reader_.Get();
      reader_.AdvanceTo(first);
      end = reader_.Cursor();
    }
    reader_.Skip(terminator.size());
    return Finish(begin, end, CarriageReturns(begin, end), false);
  }

  Token Bang() {
    reader_.Get();  // "!"
    Token token;
    if (reader_.StartsWith(u"--")) {
      reader_.Skip(2);
      Until(u"-->", XXML_ERR_COMMENT_NOT_CLOSED);
      token.kind = Tok::kComment;
    } else if (reader_.StartsWith(u"[CDATA[")) {
      reader_.Skip(7);
      // An unterminated CDATA section reports the comment's code, as the skin tools expect.
      token.text = Until(u"]]>", XXML_ERR_COMMENT_NOT_CLOSED);
      token.kind = Tok::kCData;
    } else {
      throw XmlFailure{XXML_ERR_BAD_BANG};
    }
    return token;
  }

  Token Processing() {
    reader_.Get();  // "?"
    Token token;
    token.kind = Tok::kProcessing;
    const char16_t* begin = reader_.Cursor();
    while (!IsSpace(reader_.Peek()) && !reader_.StartsWith(u"?>")) {
      if (reader_.AtZero()) throw XmlFailure{XXML_ERR_PI_NOT_CLOSED};
      reader_.Get();
    }
    const char16_t* end = reader_.Cursor();
    token.text = Finish(begin, end, CarriageReturns(begin, end), false);
    if (IsSpace(reader_.Peek())) reader_.Get();
    token.content = Until(u"?>", XXML_ERR_PI_NOT_CLOSED);
    return token;
  }

  // A quoted value from its opening quote on.
  std::u16string_view ReadValue(char16_t quote) {
    reader_.Get();
    std::u16string_view value = Scan(quote == u'"' ? kEndsDoubleQuoted : kEndsSingleQuoted, true);
    if (reader_.Peek() != quote) throw XmlFailure{XXML_ERR_TOKEN_PARSE};
    reader_.Get();
    char16_t after = reader_.Peek();
    if (!IsSpace(after) && after != u'/' && after != u'>' && after != u'?') {
      throw XmlFailure{XXML_ERR_NEED_SPACE_AFTER_VALUE};
    }
    return value;
  }

  Token NextInTag(char16_t c) {
    Token token;
    switch (c) {
      case u'<':
        reader_.Get();
        token.kind = Tok::kLess;
        return token;
      case u'>':
        reader_.Get();
        token.kind = Tok::kTagClose;
        return token;
      case u'/':
        reader_.Get();
        token.kind = Tok::kSlash;
        return token;
      case u'=':
        reader_.Get();
        token.kind = Tok::kEquals;
        return token;
      case u'"':
      case u'\'':
        token.kind = Tok::kValue;
        token.text = ReadValue(c);
        return token;
      default:
        token.kind = Tok::kName;
        token.text = Scan(kEndsName, false);
        return token;
    }
  }

  // After an opening "<": the element's name and attributes, up to its ">" or "/>", or an end tag.
  TagKind ReadTag(XXmlNode* node) {
    node->type = kXmlElement;
    bool first = true, named = false;
    attributes_.clear();
    if (!attributeNames_.empty()) attributeNames_.clear();
    while (true) {
      // Names, the most frequent token, are read here; Next reads the others.
      reader_.SkipSpace();
      Token token;
      if ((ClassOf(reader_.Peek()) & kNotName) == 0) {
        token.kind = Tok::kName;
        token.text = Scan(kEndsName, false);
      } else {
        token = Next(true);
      }
      switch (token.kind) {
        case Tok::kTagClose:
          if (!named) throw XmlFailure{XXML_ERR_BAD_TOKEN};
          KeepAttributes(node);
          return TagKind::kStart;
        case Tok::kSlash:
          if (first) {
            Token name = Next(true);
            if (name.kind != Tok::kName) throw XmlFailure{XXML_ERR_END_TAG_NAME};
            node->name = name.text;
            if (Next(true).kind != Tok::kTagClose) throw XmlFailure{XXML_ERR_NO_END_TAG};
            return TagKind::kEnd;
          }
          // "/>" closes an empty element; no white space between them.
          if (reader_.Peek() != u'>') throw XmlFailure{XXML_ERR_NO_END_TAG};
          reader_.Get();
          KeepAttributes(node);
          return TagKind::kEmpty;
        case Tok::kName:
          if (!named) {
            node->name = token.text;
            named = true;
          } else {
            ReadAttribute(token.text);
          }
          break;
        case Tok::kEnd: throw XmlFailure{XXML_ERR_TAG_NOT_CLOSED};
        default: throw XmlFailure{XXML_ERR_BAD_TOKEN};
      }
      first = false;
    }
  }

  // After an attribute's name: "=" and the quoted value. Anything else is read as the token it
  // is, for that token's own errors, before the attribute's.
  void ReadAttribute(std::u16string_view name) {
    reader_.SkipSpace();
    if (reader_.Peek() != u'=') {
      Next(true);
      throw XmlFailure{XXML_ERR_NEED_EQUAL};
    }
    reader_.Get();
    reader_.SkipSpace();
    char16_t quote = reader_.Peek();
    if (quote != u'"' && quote != u'\'') {
      Next(true);
      throw XmlFailure{XXML_ERR_NEED_VALUE};
    }
    std::u16string_view value = ReadValue(quote);
    if (IsDuplicate(name)) throw XmlFailure{XXML_ERR_DUPLICATE_ATTRIBUTE};
    attributes_.push_back({name, value});
  }

  // A tag's few attributes are compared one by one; past a dozen their names go into a set, so
  // that a tag with thousands of them is not quadratic.
  bool IsDuplicate(std::u16string_view name) {
    constexpr size_t kCompared = 12;
    if (attributes_.size() < kCompared) {
      return std::any_of(attributes_.begin(), attributes_.end(),
                         [name](const XXmlAttribute& a) { return a.name == name; });
    }
    if (attributeNames_.empty()) {
      for (const XXmlAttribute& attribute : attributes_) attributeNames_.insert(attribute.name);
    }
    return !attributeNames_.insert(name).second;
  }

  // A tag's attributes are gathered on a list the tags take in turn, then copied to the node.
  void KeepAttributes(XXmlNode* node) {
    node->attributes = arena_.Copy(std::span<const XXmlAttribute>(attributes_));
  }

  // Child nodes of an element up to its end tag; like attributes, they are gathered on a shared
  // list and copied to the element at its end.
  void ReadContent(XXmlNode* parent, int depth) {
    if (depth > XXmlDocument::kMaxDepth) throw XmlFailure{XXML_ERR_GENERAL};
    size_t from = children_.size();
    while (true) {
      Token token = Next(false);
      if (token.kind == Tok::kComment) continue;
      if (token.kind == Tok::kProcessing && token.text == u"xml") continue;
      XXmlNode* child = arena_.New<XXmlNode>();
      child->line = reader_.Line();
      child->column = reader_.Column();
      switch (token.kind) {
        case Tok::kText:
        case Tok::kCData:
          child->type = token.kind == Tok::kText ? kXmlText : kXmlCData;
          child->name = token.text;
          break;
        case Tok::kProcessing:
          child->type = kXmlProcessing;
          child->name = token.text;
          child->value = token.content;
          break;
        case Tok::kTagOpen: {
          TagKind kind = ReadTag(child);
          if (kind == TagKind::kEnd) {
            if (child->name != parent->name) throw XmlFailure{XXML_ERR_TAG_MISMATCH};
            parent->children = arena_.Copy(std::span<XXmlNode* const>(children_).subspan(from));
            children_.resize(from);
            return;
          }
          if (kind == TagKind::kStart) ReadContent(child, depth + 1);
          break;
        }
        case Tok::kEnd: throw XmlFailure{XXML_ERR_NO_END_TAG};
        default: throw XmlFailure{XXML_ERR_UNKNOWN_TOKEN};
      }
      children_.push_back(child);
    }
  }

  Reader reader_;
  XXmlArena& arena_;
  std::vector<XXmlAttribute> attributes_;
  std::unordered_set<std::u16string_view> attributeNames_;
  std::vector<XXmlNode*> children_;
  bool deliveredEnd_ = false;
};

bool StartsWithBytes(const uint8_t* bytes, size_t length, const char* prefix) {
  size_t n = std::strlen(prefix);
  return length >= n && std::memcmp(bytes, prefix, n) == 0;
}

// "<?xml ... encoding="utf-8" ...>": scanned byte by byte up to the first ">" or zero.
bool DeclaresUtf8(const uint8_t* bytes, size_t length) {
  static const char* const kNames[] = {"utf-8", "UTF-8", "utf8", "UTF8"};
  for (size_t i = 0; i < length && bytes[i] != 0 && bytes[i] != '>'; ++i) {
    if (bytes[i] != '"' && bytes[i] != '\'') continue;
    for (const char* name : kNames) {
      size_t n = std::strlen(name);
      if (i + n + 1 < length && std::memcmp(bytes + i + 1, name, n) == 0 &&
          bytes[i + n + 1] == bytes[i])
        return true;
    }
  }
  return false;
}

}  // namespace

XXmlDocument::XXmlDocument(IXCodePage& codePage) : codePage_(codePage) {}

XXmlDocument::~XXmlDocument() = default;

void XXmlDocument::Clear() {
  static_cast<XXmlNode&>(*this) = XXmlNode();
  error_ = errorLine_ = errorColumn_ = 0;
  text_.clear();
  arena_.reset();
}

bool XXmlDocument::LoadFromMemory(const uint8_t* bytes, size_t length) {
  Clear();
  if (bytes == nullptr) length = 0;
  try {
    if (!DecodeText(bytes, length)) {
      error_ = XXML_ERR_CODEPAGE;
      return false;
    }
  } catch (const std::exception&) {  // the text may not fit in memory
    error_ = XXML_ERR_NO_MEMORY;
    return false;
  }
  return Parse();
}

bool XXmlDocument::DecodeText(const uint8_t* bytes, size_t length) {
  if (length >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    text_.resize((length - 2) / 2);
    for (size_t i = 0; i < text_.size(); ++i)
      text_[i] = static_cast<char16_t>(bytes[2 + 2 * i] | bytes[3 + 2 * i] << 8);
    return true;
  }
  if (length >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
    return codePage_.Decode(kCodePageUtf8, bytes + 3, length - 3, &text_);
  if (StartsWithBytes(bytes, length, "<?xml")) {
    return codePage_.Decode(DeclaresUtf8(bytes, length) ? kCodePageUtf8 : kCodePageAnsi, bytes,
                            length, &text_);
  }
  return codePage_.Decode(kCodePageAnsi, bytes, length, &text_);
}

bool XXmlDocument::ParseText(std::u16string_view text) {
  Clear();
  try {
    text_.assign(text);
  } catch (const std::exception&) {
    error_ = XXML_ERR_NO_MEMORY;
    return false;
  }
  return Parse();
}

bool XXmlDocument::Parse() {
  arena_ = std::make_unique<XXmlArena>();
  // The parser stops at the first zero character, as with a zero-terminated text.
  Parser parser(text_.c_str(), *arena_);
  try {
    parser.ParseDocument(this);
    return true;
  } catch (const XmlFailure& failure) {
    error_ = failure.code;
  } catch (const std::bad_alloc&) {
    error_ = XXML_ERR_NO_MEMORY;
  }
  errorLine_ = parser.Line();
  errorColumn_ = parser.Column();
  return false;
}

const XXmlNode* XXmlDocument::FindChild(const XXmlNode& node, int type, std::u16string_view name) {
  int index = -1;
  return NextChild(node, &index, type, name);
}

const XXmlNode* XXmlDocument::NextChild(const XXmlNode& node, int* index, int type,
                                        std::u16string_view name) {
  for (size_t i = static_cast<size_t>(*index + 1); i < node.children.size(); ++i) {
    const XXmlNode& child = *node.children[i];
    if (child.type == type && child.name == name) {
      *index = static_cast<int>(i);
      return &child;
    }
  }
  *index = static_cast<int>(node.children.size());
  return nullptr;
}

const std::u16string_view* XXmlDocument::FindAttribute(const XXmlNode& node,
                                                       std::u16string_view name) {
  for (const auto& attribute : node.attributes) {
    if (attribute.name == name) return &attribute.value;
  }
  return nullptr;
}

bool XXmlDocument::GetAttribute(const XXmlNode& node, std::u16string_view name,
                                std::u16string* value) {
  const std::u16string_view* found = FindAttribute(node, name);
  if (found != nullptr) *value = *found;
  return found != nullptr;
}

}  // namespace qorin
