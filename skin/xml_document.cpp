#include "xml_document.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "text.h"

namespace qorin {
namespace {

constexpr int kTabWidth = 4;

bool IsSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// Thrown inside the parser only; LoadFromMemory and ParseText turn it into the error state.
struct XmlFailure {
  int code;
};

// Entities as five passes in the fixed order would decode them ("&amp;" first, so "&amp;lt;"
// yields "<"), in one pass: an "&amp;" followed by the rest of another entity is that entity.
std::u16string DecodeEntities(std::u16string text) {
  size_t at = text.find(u'&');
  if (at == std::u16string::npos) return text;
  static constexpr std::pair<std::u16string_view, char16_t> kOthers[] = {
      {u"gt;", u'>'}, {u"lt;", u'<'}, {u"quot;", u'"'}, {u"apos;", u'\''}};
  std::u16string out(text, 0, at);
  out.reserve(text.size());
  std::u16string_view rest(text);
  rest.remove_prefix(at);
  while (!rest.empty()) {
    if (rest.front() != u'&') {
      out += rest.front();
      rest.remove_prefix(1);
      continue;
    }
    size_t skip = 1;
    char16_t decoded = u'&';
    std::u16string_view body = rest.substr(1);
    if (body.starts_with(u"amp;")) {
      skip = 5;
      body.remove_prefix(4);
    }
    for (const auto& [name, character] : kOthers) {
      if (!body.starts_with(name)) continue;
      skip += name.size();
      decoded = character;
      break;
    }
    out += decoded;
    rest.remove_prefix(skip);
  }
  return out;
}

// The character reader: line and column of the character read last.
class Reader {
 public:
  explicit Reader(const char16_t* text) : cursor_(text) {}

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

  char16_t Get() {
    if (newlinePending_) {
      ++line_;
      column_ = 0;
      newlinePending_ = false;
    }
    while (*cursor_ == u'\r') ++cursor_;  // carriage returns count for nothing
    char16_t c = *cursor_;
    if (c == 0) return 0;
    ++cursor_;
    if (c == u'\n') {
      newlinePending_ = true;
    } else {
      column_ += c == u'\t' ? kTabWidth : 1;
    }
    return c;
  }
  void Skip(size_t count) {
    for (size_t i = 0; i < count; ++i) Get();
  }
  void SkipSpace() {
    Advance([](char16_t c) { return !IsSpace(c); });
  }

  // Reads characters up to (not including) the first for which stop is true, or the end of the
  // text, as Get would one by one; returns them without carriage returns.
  template <typename Stop>
  std::u16string Scan(Stop stop) {
    const char16_t* start = cursor_;
    bool carriageReturn = Advance(stop);
    std::u16string text(start, cursor_);
    if (carriageReturn) text.erase(std::remove(text.begin(), text.end(), u'\r'), text.end());
    return text;
  }

  // Moves over what Scan would read; true when a carriage return was among it.
  template <typename Stop>
  bool Advance(Stop stop) {
    bool carriageReturn = false;
    for (char16_t c = *cursor_; c != 0 && (c == u'\r' || !stop(c)); c = *++cursor_) {
      if (newlinePending_) {
        ++line_;
        column_ = 0;
        newlinePending_ = false;
      }
      if (c == u'\r') {
        carriageReturn = true;
      } else if (c == u'\n') {
        newlinePending_ = true;
      } else {
        column_ += c == u'\t' ? kTabWidth : 1;
      }
    }
    return carriageReturn;
  }

  int Line() const { return line_; }
  int Column() const { return column_; }

 private:
  const char16_t* cursor_;
  bool newlinePending_ = true;
  int line_ = 0, column_ = 0;
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
  std::u16string text;     // name, value, text, CDATA content, processing-instruction target
  std::u16string content;  // processing-instruction content
};

class Parser {
 public:
  explicit Parser(const char16_t* text) : reader_(text) {}

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

  int Line() const { return reader_.Line(); }
  int Column() const { return reader_.Column(); }

 private:
  enum class TagKind { kStart, kEmpty, kEnd };

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
      token.text = reader_.Scan([](char16_t ch) { return ch == u'<'; });
      token.text = DecodeEntities(std::move(token.text));
      return token;
    }
    reader_.Get();
    if (reader_.Peek() == u'!') return Bang();
    if (reader_.Peek() == u'?') return Processing();
    token.kind = Tok::kTagOpen;
    return token;
  }

  // Reads characters up to and including the terminator; the end of text first fails.
  std::u16string Until(std::u16string_view terminator, int error) {
    std::u16string text;
    char16_t first = terminator.front();
    while (!reader_.StartsWith(terminator)) {
      if (reader_.AtZero()) throw XmlFailure{error};
      text += reader_.Get();
      text += reader_.Scan([first](char16_t ch) { return ch == first; });
    }
    reader_.Skip(terminator.size());
    return text;
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
    while (!IsSpace(reader_.Peek()) && !reader_.StartsWith(u"?>")) {
      if (reader_.AtZero()) throw XmlFailure{XXML_ERR_PI_NOT_CLOSED};
      token.text += reader_.Get();
    }
    if (IsSpace(reader_.Peek())) reader_.Get();
    token.content = Until(u"?>", XXML_ERR_PI_NOT_CLOSED);
    return token;
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
      case u'\'': {
        reader_.Get();
        token.text = reader_.Scan([c](char16_t ch) { return ch == c || ch == u'<'; });
        if (reader_.Peek() != c) throw XmlFailure{XXML_ERR_TOKEN_PARSE};
        reader_.Get();
        char16_t after = reader_.Peek();
        if (!IsSpace(after) && after != u'/' && after != u'>' && after != u'?') {
          throw XmlFailure{XXML_ERR_NEED_SPACE_AFTER_VALUE};
        }
        token.kind = Tok::kValue;
        token.text = DecodeEntities(std::move(token.text));
        return token;
      }
      default:
        token.kind = Tok::kName;
        while (true) {
          char16_t next = reader_.Peek();
          if (next == 0 || IsSpace(next) || next == u'/' || next == u'<' || next == u'=' ||
              next == u'>')
            break;
          token.text += reader_.Get();
        }
        return token;
    }
  }

  // After an opening "<": the element's name and attributes, up to its ">" or "/>", or an end tag.
  TagKind ReadTag(XXmlNode* node) {
    node->type = kXmlElement;
    bool first = true, named = false;
    while (true) {
      Token token = Next(true);
      switch (token.kind) {
        case Tok::kTagClose:
          if (!named) throw XmlFailure{XXML_ERR_BAD_TOKEN};
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
          return TagKind::kEmpty;
        case Tok::kName:
          if (!named) {
            node->name = token.text;
            named = true;
          } else {
            ReadAttribute(node, token.text);
          }
          break;
        case Tok::kEnd: throw XmlFailure{XXML_ERR_TAG_NOT_CLOSED};
        default: throw XmlFailure{XXML_ERR_BAD_TOKEN};
      }
      first = false;
    }
  }

  void ReadAttribute(XXmlNode* node, const std::u16string& name) {
    if (Next(true).kind != Tok::kEquals) throw XmlFailure{XXML_ERR_NEED_EQUAL};
    Token value = Next(true);
    if (value.kind != Tok::kValue) throw XmlFailure{XXML_ERR_NEED_VALUE};
    for (const auto& attribute : node->attributes) {
      if (attribute.first == name) throw XmlFailure{XXML_ERR_DUPLICATE_ATTRIBUTE};
    }
    node->attributes.emplace_back(name, std::move(value.text));
  }

  // Child nodes of an element up to its end tag.
  void ReadContent(XXmlNode* parent, int depth) {
    if (depth > XXmlDocument::kMaxDepth) throw XmlFailure{XXML_ERR_GENERAL};
    while (true) {
      Token token = Next(false);
      auto child = std::make_unique<XXmlNode>();
      child->line = reader_.Line();
      child->column = reader_.Column();
      switch (token.kind) {
        case Tok::kComment: continue;
        case Tok::kText:
        case Tok::kCData:
          child->type = token.kind == Tok::kText ? kXmlText : kXmlCData;
          child->name = std::move(token.text);
          break;
        case Tok::kProcessing:
          if (token.text == u"xml") continue;
          child->type = kXmlProcessing;
          child->name = std::move(token.text);
          child->value = std::move(token.content);
          break;
        case Tok::kTagOpen: {
          TagKind kind = ReadTag(child.get());
          if (kind == TagKind::kEnd) {
            if (child->name != parent->name) throw XmlFailure{XXML_ERR_TAG_MISMATCH};
            return;
          }
          if (kind == TagKind::kStart) ReadContent(child.get(), depth + 1);
          break;
        }
        case Tok::kEnd: throw XmlFailure{XXML_ERR_NO_END_TAG};
        default: throw XmlFailure{XXML_ERR_UNKNOWN_TOKEN};
      }
      parent->children.push_back(std::move(child));
    }
  }

  Reader reader_;
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

void XXmlDocument::Clear() {
  type = 0;
  name.clear();
  value.clear();
  attributes.clear();
  children.clear();
  line = column = 0;
  error_ = errorLine_ = errorColumn_ = 0;
  text_.clear();
}

bool XXmlDocument::LoadFromMemory(const uint8_t* bytes, size_t length) {
  Clear();
  if (bytes == nullptr) length = 0;
  std::u16string text;
  try {
    if (!DecodeText(bytes, length, &text)) {
      error_ = XXML_ERR_CODEPAGE;
      return false;
    }
  } catch (const std::exception&) {  // the text may not fit in memory
    error_ = XXML_ERR_NO_MEMORY;
    return false;
  }
  return ParseText(text);
}

bool XXmlDocument::DecodeText(const uint8_t* bytes, size_t length, std::u16string* text) {
  if (length >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    text->reserve((length - 2) / 2);
    for (size_t i = 2; i + 1 < length; i += 2)
      *text += static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
    return true;
  }
  if (length >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
    return codePage_.Decode(kCodePageUtf8, bytes + 3, length - 3, text);
  if (StartsWithBytes(bytes, length, "<?xml")) {
    return codePage_.Decode(DeclaresUtf8(bytes, length) ? kCodePageUtf8 : kCodePageAnsi, bytes,
                            length, text);
  }
  return codePage_.Decode(kCodePageAnsi, bytes, length, text);
}

bool XXmlDocument::ParseText(std::u16string_view text) {
  Clear();
  try {
    // The text ends at its first zero character, as a zero-terminated text does.
    text_.assign(text.substr(0, text.find(u'\0')));
  } catch (const std::exception&) {
    error_ = XXML_ERR_NO_MEMORY;
    return false;
  }
  Parser parser(text_.c_str());
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

const std::u16string* XXmlDocument::FindAttribute(const XXmlNode& node, std::u16string_view name) {
  for (const auto& attribute : node.attributes) {
    if (attribute.first == name) return &attribute.second;
  }
  return nullptr;
}

bool XXmlDocument::GetAttribute(const XXmlNode& node, std::u16string_view name,
                                std::u16string* value) {
  const std::u16string* found = FindAttribute(node, name);
  if (found != nullptr) *value = *found;
  return found != nullptr;
}

}  // namespace qorin
