// The skin's XML parser: elements with quoted attributes, text, comments, CDATA sections and
// processing instructions, in UTF-16LE, UTF-8 or the ANSI code page, built into a tree.
//
//   bytes ─► encoding (FF FE | EF BB BF | <?xml ... "utf-8" | ANSI) ─► UTF-16 text
//         ─► character reader (line, column; CR skipped; tab = 4 columns)
//         ─► tokens (outside a tag / inside a tag) ─► tag reader ─► node reader ─► tree
//
// Tokens are views into the text; only a text that loses carriage returns or entities is copied.
// Line and column are counted only where a node or an error asks for them.
//
// Every failure is one XXML_ERR code with the reader's line and column at that moment.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "code_page.h"
#include "code_text.h"

namespace qorin {

class XXmlArena;

enum XXML_ERR : int {
  XXML_ERR_NONE = 0,
  XXML_ERR_GENERAL = 1,
  XXML_ERR_FILE_OPEN = 2,
  XXML_ERR_NO_MEMORY = 3,
  XXML_ERR_FILE_READ = 4,
  XXML_ERR_CODEPAGE = 5,
  XXML_ERR_TAG_NOT_CLOSED = 256,
  XXML_ERR_PI_NEEDS_END = 257,
  XXML_ERR_BAD_EOF = 258,
  XXML_ERR_NO_END_TAG = 259,
  XXML_ERR_BAD_TOKEN = 260,
  XXML_ERR_NEED_EQUAL = 261,
  XXML_ERR_NEED_VALUE = 262,
  XXML_ERR_DUPLICATE_ATTRIBUTE = 263,
  XXML_ERR_AFTER_ROOT = 264,
  XXML_ERR_TAG_MISMATCH = 265,
  XXML_ERR_ROOT_NOT_TAG = 266,
  XXML_ERR_END_TAG_NAME = 267,
  XXML_ERR_NEED_SPACE_AFTER_VALUE = 268,
  XXML_ERR_COMMENT_NOT_CLOSED = 269,
  XXML_ERR_CDATA_NOT_CLOSED = 270,
  XXML_ERR_BAD_BANG = 271,
  XXML_ERR_PI_NOT_CLOSED = 272,
  XXML_ERR_UNKNOWN_TOKEN = 513,
  XXML_ERR_TOKEN_PARSE = 514,
};

// The user-facing text of an error code.
std::u16string XmlErrorText(int code);
// Every code of the XML parser's error table with its text.
std::vector<XCodeText> XmlErrorTable();

enum XXmlNodeType : int { kXmlElement = 1, kXmlCData = 2, kXmlProcessing = 3, kXmlText = 4 };

struct XXmlAttribute {
  std::u16string_view name, value;
};

// Names, texts and values are views into the document's text, or into its own storage where
// entities or carriage returns changed them; the document owns every node.
struct XXmlNode {
  int type = 0;
  std::u16string_view
      name;  // element: tag; CDATA and text: the content; processing instruction: target
  std::u16string_view value;  // processing instruction: its content
  std::span<const XXmlAttribute> attributes;
  std::span<XXmlNode* const> children;
  int line = 0, column = 0;
};

class XXmlDocument : public XXmlNode {
 public:
  // Nesting deeper than this is refused (XXML_ERR_GENERAL) instead of exhausting the stack.
  static constexpr int kMaxDepth = 512;

  // A text without byte-order mark is decoded in the code page's ANSI page or as UTF-8.
  explicit XXmlDocument(IXCodePage& codePage = SystemCodePage());
  ~XXmlDocument();
  XXmlDocument(const XXmlDocument&) = delete;
  XXmlDocument& operator=(const XXmlDocument&) = delete;

  bool LoadFromMemory(const uint8_t* bytes, size_t length);
  bool ParseText(std::u16string_view text);
  void Clear();

  static const XXmlNode* FindChild(const XXmlNode& node, int type, std::u16string_view name);
  // Advances *index (start at -1) to the next child of that type and name; null at the end.
  static const XXmlNode* NextChild(const XXmlNode& node, int* index, int type,
                                   std::u16string_view name);
  static bool GetAttribute(const XXmlNode& node, std::u16string_view name, std::u16string* value);
  // The value of the first attribute of that name, or null.
  static const std::u16string_view* FindAttribute(const XXmlNode& node, std::u16string_view name);

  int Error() const { return error_; }
  int Line() const { return errorLine_; }
  int Column() const { return errorColumn_; }

 private:
  bool DecodeText(const uint8_t* bytes, size_t length);
  bool Parse();

  IXCodePage& codePage_;
  int error_ = 0, errorLine_ = 0, errorColumn_ = 0;
  std::u16string text_;               // what the views point into
  std::unique_ptr<XXmlArena> arena_;  // nodes, attribute and child lists, changed texts
};

}  // namespace qorin
