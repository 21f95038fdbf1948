#include "html_text.h"

#include <algorithm>
#include <climits>

#include "number_text.h"
#include "text.h"
#include "text_format.h"
#include "utf.h"

namespace qorin {
namespace {

constexpr uint32_t kRunFlags = kDtSingleLine | kDtNoPrefix;
constexpr double kFontSizes[] = {8, 9, 10, 12, 16, 20, 30};

bool IsSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool IsNameChar(char16_t c) {
  return !IsSpace(c) && c != u'=' && c != u'>' && c != u'/' && c != u'<' && c != u'?' &&
         c != u'"' && c != u'\'';
}

struct Entity {
  const char16_t* name;
  char16_t character;
};
constexpr Entity kEntities[] = {{u"&amp;", u'&'},  {u"&gt;", u'>'},    {u"&lt;", u'<'},
                                {u"&quot;", u'"'}, {u"&apos;", u'\''}, {u"&nbsp;", u'\u00A0'}};

std::u16string_view TrimLeading(std::u16string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  return text;
}

}  // namespace

const std::u16string* XHtmlNode::Attribute(std::u16string_view attributeName) const {
  for (const auto& [key, value] : attributes) {
    if (key == attributeName) return &value;
  }
  return nullptr;
}

std::u16string TranslateBrackets(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    bool doubled = i + 1 < text.size() && text[i + 1] == c;
    if (c == u'[') {
      out += doubled ? u"&#91;" : u"<";
    } else if (c == u']') {
      out += doubled ? u"&#93;" : u">";
    } else {
      out += c;
      continue;
    }
    if (doubled) ++i;
  }
  return out;
}

std::u16string DecodeEntities(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    bool decoded = false;
    if (text[i] == u'&') {
      std::u16string_view rest = text.substr(i);
      for (const Entity& e : kEntities) {
        std::u16string_view name(e.name);
        if (rest.substr(0, name.size()) != name) continue;
        out += e.character;
        i += name.size();
        decoded = true;
        break;
      }
      // The literal brackets of the attribute-safe form.
      if (!decoded && (rest.starts_with(u"&#91;") || rest.starts_with(u"&#93;"))) {
        out += rest[3] == u'1' ? u'[' : u']';
        i += 5;
        decoded = true;
      }
    }
    if (!decoded) out += text[i++];
  }
  return out;
}

// --- Parser ------------------------------------------------------------------------------

std::vector<XHtmlNode> XHtmlParser::Parse(std::u16string_view text) {
  text_ = text;
  pos_ = 0;
  error_ = XHTML_OK;
  bool closed = false;
  std::vector<XHtmlNode> nodes;
  while (pos_ < text_.size()) {
    std::vector<XHtmlNode> more = Nodes(nullptr, &closed);
    for (XHtmlNode& node : more) nodes.push_back(std::move(node));
  }
  return nodes;
}

std::u16string XHtmlParser::Name() {
  size_t start = pos_;
  while (pos_ < text_.size() && IsNameChar(text_[pos_])) ++pos_;
  return AsciiLower(text_.substr(start, pos_ - start));
}

// Nodes up to the end tag of the open element (consumed; *closed set) or the end of the text.
std::vector<XHtmlNode> XHtmlParser::Nodes(const std::u16string* open, bool* closed) {
  std::vector<XHtmlNode> nodes;
  *closed = false;
  while (pos_ < text_.size()) {
    if (text_[pos_] != u'<') {
      nodes.push_back(Text());
      continue;
    }
    if (At(u"<!--")) {
      size_t end = text_.find(u"-->", pos_ + 4);
      if (end == std::u16string_view::npos) {
        pos_ = text_.size();
        Fail(XHTML_ERR_COMMENT);
      } else {
        pos_ = end + 3;
      }
      continue;
    }
    if (At(u"<?")) {
      size_t end = text_.find(u"?>", pos_ + 2);
      if (end == std::u16string_view::npos) {
        pos_ = text_.size();
        Fail(XHTML_ERR_QUESTION);
      } else {
        pos_ = end + 2;
      }
      continue;
    }
    if (At(u"</")) {
      pos_ += 2;
      std::u16string name = Name();
      size_t end = text_.find(u'>', pos_);
      pos_ = end == std::u16string_view::npos ? text_.size() : end + 1;
      if (name.empty()) {
        Fail(XHTML_ERR_END_TAG_NAME);
        continue;
      }
      if (open == nullptr) {  // a stray end tag at the top
        Fail(XHTML_ERR_END_TAG_MISMATCH);
        continue;
      }
      if (name != *open) Fail(XHTML_ERR_END_TAG_MISMATCH);
      *closed = true;
      return nodes;
    }
    XHtmlNode node;
    if (Element(&node)) nodes.push_back(std::move(node));
  }
  if (open != nullptr) Fail(XHTML_ERR_END_OF_TEXT);
  return nodes;
}

bool XHtmlParser::Element(XHtmlNode* node) {
  ++pos_;  // "<"
  node->element = true;
  node->name = Name();
  if (node->name.empty()) {
    // A "<" that starts no tag is text.
    Fail(XHTML_ERR_CHARACTER);
    node->element = false;
    node->text = u"<";
    return true;
  }
  bool empty = false;
  if (!Attributes(node, &empty)) return !node->name.empty();
  if (empty || node->name == u"br") return true;
  bool closed = false;
  node->children = Nodes(&node->name, &closed);
  return true;
}

// Attributes up to ">" or "/>"; false at the end of the text.
bool XHtmlParser::Attributes(XHtmlNode* node, bool* empty) {
  while (true) {
    while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
    if (pos_ >= text_.size()) return Fail(XHTML_ERR_END_OF_TEXT);
    char16_t c = text_[pos_];
    if (c == u'>') {
      ++pos_;
      return true;
    }
    if (c == u'/') {
      ++pos_;
      if (pos_ < text_.size() && text_[pos_] == u'>') {
        ++pos_;
        *empty = true;
        return true;
      }
      Fail(XHTML_ERR_SLASH);
      continue;
    }
    std::u16string name = Name();
    if (name.empty()) {
      Fail(XHTML_ERR_TOKEN_IN_TAG);
      ++pos_;
      continue;
    }
    while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
    std::u16string value;
    if (pos_ < text_.size() && text_[pos_] == u'=') {
      ++pos_;
      while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
      if (pos_ < text_.size() && (text_[pos_] == u'"' || text_[pos_] == u'\'')) {
        if (!QuotedValue(&value)) return false;
      } else {
        size_t start = pos_;
        while (pos_ < text_.size() && !IsSpace(text_[pos_]) && text_[pos_] != u'/' &&
               text_[pos_] != u'<' && text_[pos_] != u'=' && text_[pos_] != u'>')
          ++pos_;
        if (pos_ == start) Fail(XHTML_ERR_NO_VALUE);
        value = DecodeEntities(text_.substr(start, pos_ - start));
      }
    } else {
      Fail(XHTML_ERR_NO_EQUALS);
    }
    if (node->Attribute(name) != nullptr) {
      Fail(XHTML_ERR_DUPLICATE);
    } else {
      node->attributes.emplace_back(std::move(name), std::move(value));
    }
  }
}

bool XHtmlParser::QuotedValue(std::u16string* value) {
  char16_t quote = text_[pos_++];
  size_t start = pos_;
  while (pos_ < text_.size() && text_[pos_] != quote) {
    if (text_[pos_] == u'<' || text_[pos_] == u'>') return Fail(XHTML_ERR_IN_QUOTE);
    ++pos_;
  }
  if (pos_ >= text_.size()) return Fail(XHTML_ERR_IN_QUOTE);
  *value = DecodeEntities(text_.substr(start, pos_ - start));
  ++pos_;
  if (pos_ < text_.size()) {
    char16_t c = text_[pos_];
    if (!IsSpace(c) && c != u'/' && c != u'>' && c != u'?') Fail(XHTML_ERR_AFTER_QUOTE);
  }
  return true;
}

XHtmlNode XHtmlParser::Text() {
  XHtmlNode node;
  std::u16string raw;
  bool inSpace = false;
  for (; pos_ < text_.size() && text_[pos_] != u'<'; ++pos_) {
    char16_t c = text_[pos_];
    if (c == u'\r') continue;
    if (IsSpace(c)) {
      if (keepWhiteSpace) {
        raw += u' ';
      } else if (!inSpace) {
        raw += u' ';
      }
      inSpace = true;
      continue;
    }
    inSpace = false;
    raw += c;
  }
  node.text = DecodeEntities(raw);
  return node;
}

// --- Runs, lines, drawing ------------------------------------------------------------------

XHtmlText::XHtmlText(IXTextCanvas& canvas, const XFontSpec& font, XColour colour, bool rightToLeft,
                     bool singleLine)
    : canvas_(canvas),
      font_(font),
      colour_(colour),
      rightToLeft_(rightToLeft),
      singleLine_(singleLine) {}

bool XHtmlText::SetMarkup(std::u16string_view markup) {
  XHtmlParser parser;
  std::vector<XHtmlNode> nodes = parser.Parse(TranslateBrackets(markup));
  parseError_ = parser.LastError();
  runs_.clear();
  lines_.clear();
  layoutWidth_ = -1;
  Build(nodes, {font_, colour_});
  return !runs_.empty();
}

void XHtmlText::Build(const std::vector<XHtmlNode>& nodes, Style style) {
  for (const XHtmlNode& node : nodes) {
    if (!node.element) {
      if (node.text.empty()) continue;
      Run run{style.font, style.colour, node.text, {}, false};
      run.size = canvas_.Measure(run.font, run.text, kRunFlags);
      runs_.push_back(std::move(run));
      continue;
    }
    Style inner = style;
    if (node.name == u"br") {
      runs_.push_back({style.font, style.colour, {}, {}, true});
      continue;
    } else if (node.name == u"font") {
      if (const std::u16string* size = node.Attribute(u"size")) {
        std::string number = Utf16ToUtf8(*size);
        if (size->size() >= 2 && size->ends_with(u"pt")) {
          inner.font.points = ReadDecimal(number);
        } else {
          int index = std::clamp(std::atoi(number.c_str()), 0, 6);
          inner.font.points = kFontSizes[index];
        }
      }
      if (const std::u16string* colour = node.Attribute(u"color"))
        inner.colour = ParseColour(*colour);
      if (const std::u16string* face = node.Attribute(u"face")) inner.font.face = *face;
    } else if (node.name == u"b") {
      inner.font.bold = true;
    } else if (node.name == u"i") {
      inner.font.italic = true;
    } else if (node.name == u"u") {
      inner.font.underline = true;
    }
    Build(node.children, inner);
  }
}

bool XHtmlText::IsWordChar(char16_t c) const {
  if (c == u'!' || c == u'\'' || c == u',' || c == u'.' || c == u'?') return true;
  if ((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')) return true;
  if (c >= 0x00BF && c <= 0x02B8) return true;
  if (!rightToLeft_) return false;
  // Hebrew, Arabic, Syriac, Thaana, N'Ko, Samaritan, Mandaic; the RLM; Arabic presentation forms.
  return (c >= 0x0590 && c <= 0x085F) || c == 0x200F || (c >= 0xFB1D && c <= 0xFDFF) ||
         (c >= 0xFE70 && c <= 0xFEFF);
}

size_t XHtmlText::SplitAt(const Run& run, std::u16string_view text, int x, bool lineEmpty) {
  size_t lastBreak = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    x += canvas_.Measure(run.font, text.substr(i, 1), kDtNoPrefix).width;
    if (IsSpace(c)) {  // white space may overflow the line
      lastBreak = i + 1;
      continue;
    }
    if (x > layoutWidth_) {
      size_t split = 0;
      if (characterWrap || !IsWordChar(c)) {
        split = i;
      } else if (lastBreak > 0) {
        split = lastBreak;
      } else if (lineEmpty) {
        split = i;  // a word longer than the line is cut
      }
      if (lineEmpty && split == 0) split = 1;
      return split;
    }
    if (!IsWordChar(c)) lastBreak = i + 1;
  }
  return text.size();
}

void XHtmlText::Place(size_t run, std::u16string_view text, int width, int height, int* x,
                      Line* line) {
  line->pieces.push_back({run, std::u16string(text), *x, width, height});
  line->height = std::max(line->height, height);
  *x += width;
}

void XHtmlText::Layout(int width) {
  if (singleLine_) width = INT_MAX;
  if (width == layoutWidth_) return;
  layoutWidth_ = width;
  lines_.assign(1, {});
  int x = 0;
  bool wrappedBefore = false;
  auto newLine = [&] {
    if (lines_.back().height == 0 && !runs_.empty())
      lines_.back().height = canvas_.Measure(font_, u"X", kRunFlags).height;
    lines_.emplace_back();
    x = 0;
  };
  for (size_t r = 0; r < runs_.size(); ++r) {
    const Run& run = runs_[r];
    if (run.lineBreak) {
      if (!wrappedBefore) newLine();
      wrappedBefore = false;
      continue;
    }
    std::u16string_view text = run.text;
    if (lines_.back().pieces.empty() && lines_.size() > 1) text = TrimLeading(text);
    bool wrapped = false;
    while (!text.empty()) {
      // The split is looked for first: it measures no further than the line reaches, where
      // measuring the rest of the run for every line made long runs quadratic.
      size_t split = SplitAt(run, text, x, lines_.back().pieces.empty());
      if (split >= text.size()) {
        XSize size =
            text.size() == run.text.size() ? run.size : canvas_.Measure(run.font, text, kRunFlags);
        Place(r, text, size.width, size.height, &x, &lines_.back());
        break;
      }
      if (split > 0) {
        std::u16string_view head = text.substr(0, split);
        XSize part = canvas_.Measure(run.font, head, kRunFlags);
        Place(r, head, part.width, part.height, &x, &lines_.back());
      }
      newLine();
      text = TrimLeading(text.substr(split));
      wrapped = true;
    }
    wrappedBefore = wrapped;
  }
  if (lines_.back().pieces.empty() && lines_.size() > 1) lines_.pop_back();
  extent_ = {};
  for (const Line& line : lines_) {
    int lineWidth = line.pieces.empty() ? 0 : line.pieces.back().x + line.pieces.back().width;
    extent_.width = std::max(extent_.width, lineWidth);
    extent_.height += line.height;
  }
}

bool XHtmlText::Draw(XBitmap& target, int x, int y, int height, bool allWhite, const XRect* clip) {
  bool ok = true;
  int bottom = y + height;
  int right = x + (singleLine_ || layoutWidth_ == INT_MAX ? extent_.width : layoutWidth_);
  uint32_t flags = rightToLeft_ ? kRunFlags | kDtRight | kDtRtlReading : kRunFlags;
  for (const Line& line : lines_) {
    if (y > bottom) break;
    if (clip == nullptr || y + line.height > clip->top) {
      for (const Piece& piece : line.pieces) {
        const Run& run = runs_[piece.run];
        int top = y + line.height - piece.height;
        XRect rect =
            rightToLeft_
                ? XRect{right - piece.x - piece.width, top, right - piece.x, y + line.height}
                : XRect{x + piece.x, top, x + piece.x + piece.width, y + line.height};
        ok &= canvas_.Draw(target, run.font, allWhite ? 0xFFFFFF : run.colour, piece.text, rect,
                           flags, clip);
      }
    }
    y += line.height;
  }
  return ok;
}

}  // namespace qorin
