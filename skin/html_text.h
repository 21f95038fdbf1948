// HTML text: the small markup of HtmlText controls (FONT, B, I, U, BR, entities), parsed into
// nodes, turned into runs of one font and colour, broken into lines for a width and drawn.
//
//   "[B]Bold[/B]" ─► TranslateBrackets ─► XHtmlParser ─► nodes ─► runs (style stack, measured)
//                ─► Layout(width): lines of pieces ─► Draw: pieces bottom-aligned per line
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text_canvas.h"

namespace qorin {

// Parser errors: recorded (the last wins), never fatal to the nodes already built.
enum XHTML_ERR : int {
  XHTML_OK = 0,
  XHTML_ERR_QUESTION = 257,          // "?" not followed by ">"
  XHTML_ERR_END_OF_TEXT = 258,       // unexpected end of text
  XHTML_ERR_SLASH = 259,             // "/" not followed by ">"
  XHTML_ERR_TOKEN_IN_TAG = 260,      // unexpected token inside a tag
  XHTML_ERR_NO_EQUALS = 261,         // attribute name without "="
  XHTML_ERR_NO_VALUE = 262,          // "=" without a value
  XHTML_ERR_DUPLICATE = 263,         // duplicate attribute
  XHTML_ERR_END_TAG_MISMATCH = 265,  // end tag does not match the open element
  XHTML_ERR_END_TAG_NAME = 267,      // end tag without a name
  XHTML_ERR_AFTER_QUOTE = 268,       // quoted value not followed by space, "/", ">" or "?"
  XHTML_ERR_COMMENT = 269,           // comment without "-->"
  XHTML_ERR_CHARACTER = 513,         // unexpected character
  XHTML_ERR_IN_QUOTE = 514,          // "<", ">" or the end of text inside a quoted value
};

struct XHtmlNode {
  bool element = false;
  std::u16string name;  // lower case
  std::u16string text;
  std::vector<std::pair<std::u16string, std::u16string>> attributes;  // names lower case
  std::vector<XHtmlNode> children;

  const std::u16string* Attribute(std::u16string_view attributeName) const;
};

// "[" → "<", "]" → ">"; "[[" and "]]" stand for literal brackets.
std::u16string TranslateBrackets(std::u16string_view text);
// &amp; &gt; &lt; &quot; &apos; &nbsp; in one left-to-right pass; other "&" stay.
std::u16string DecodeEntities(std::u16string_view text);

class XHtmlParser {
 public:
  std::vector<XHtmlNode> Parse(std::u16string_view text);
  int LastError() const { return error_; }

  bool keepWhiteSpace = false;

 private:
  std::vector<XHtmlNode> Nodes(const std::u16string* open, bool* closed);
  bool Element(XHtmlNode* node);
  bool Attributes(XHtmlNode* node, bool* empty);
  bool QuotedValue(std::u16string* value);
  XHtmlNode Text();
  std::u16string Name();
  bool At(std::u16string_view token) const { return text_.substr(pos_, token.size()) == token; }
  bool Fail(int error) {
    error_ = error;
    return false;
  }

  std::u16string_view text_;
  size_t pos_ = 0;
  int error_ = XHTML_OK;
};

class XHtmlText {
 public:
  XHtmlText(IXTextCanvas& canvas, const XFontSpec& font, XColour colour, bool rightToLeft,
            bool singleLine);

  // Parses and builds the runs; false when the markup yields nothing.
  bool SetMarkup(std::u16string_view markup);
  int ParseError() const { return parseError_; }
  // Breaks the runs into lines for the width (unlimited for single-line texts); kept until the
  // width changes.
  void Layout(int width);
  XSize Extent() const { return extent_; }
  // Lines from y down, those above the clip skipped, stopping after the first below y + height.
  bool Draw(XBitmap& target, int x, int y, int height, bool allWhite, const XRect* clip);

  bool characterWrap = false;

  struct Run {
    XFontSpec font;
    XColour colour = 0;
    std::u16string text;
    XSize size;
    bool lineBreak = false;
  };
  struct Piece {
    size_t run;
    std::u16string text;
    int x, width, height;
  };
  struct Line {
    std::vector<Piece> pieces;
    int height = 0;
  };
  const std::vector<Run>& Runs() const { return runs_; }
  const std::vector<Line>& Lines() const { return lines_; }

 private:
  struct Style {
    XFontSpec font;
    XColour colour;
  };
  void Build(const std::vector<XHtmlNode>& nodes, Style style);
  void Place(size_t run, std::u16string_view text, int width, int height, int* x, Line* line);
  // Where the run's text must be split to fit from x in the width (its length when it fits).
  size_t SplitAt(const Run& run, std::u16string_view text, int x, bool lineEmpty);
  bool IsWordChar(char16_t c) const;

  IXTextCanvas& canvas_;
  XFontSpec font_;
  XColour colour_;
  bool rightToLeft_, singleLine_;
  int parseError_ = XHTML_OK;
  std::vector<Run> runs_;
  std::vector<Line> lines_;
  int layoutWidth_ = -1;
  XSize extent_;
};

}  // namespace qorin
