#include "skin_document.h"

#include <algorithm>
#include <cstdlib>

#include "controls/controls.h"
#include "display_dpi.h"
#include "file_stream.h"
#include "utf.h"

namespace qorin {
namespace {

constexpr const char16_t* kTooltipStyles[] = {u"control", u"window", u"hide"};
constexpr const char16_t* kTooltipPositions[] = {u"bottom", u"top", u"left", u"right"};

template <size_t N>
int IndexOf(const char16_t* const (&names)[N], std::u16string_view value) {
  for (size_t i = 0; i < N; ++i) {
    if (value == names[i]) return static_cast<int>(i);
  }
  return -1;
}

bool IsElement(const XXmlNode& node, std::u16string_view name) {
  return node.type == kXmlElement && node.name == name;
}

}  // namespace

XSkinDocument::XSkinDocument(XResourceProvider& resources, XSkinHostOptions options,
                             XSkinDocument* parentSkin)
    : resources_(resources),
      options_(options),
      parentSkin_(parentSkin),
      dpi_(parentSkin != nullptr ? parentSkin->Dpi() : kDefaultDpi) {
  head_.alphaTransition = options_.alphaTransition;
  head_.alphaTransitionSpeed = options_.alphaTransitionSpeed;
  if (resources_.Language() != nullptr) SetRightToLeft(resources_.Language()->RightToLeft());
}

XSkinDocument::~XSkinDocument() {
  if (root_ != nullptr) root_->Release();
}

namespace {

uint32_t DefaultSystemColour(int index) {
  switch (index) {
    case kColourButtonShadow: return 0xA0A0A0;
    case kColour3DDarkShadow: return 0x696969;
    case kColourActiveBorder: return 0xB4B4B4;
    default: return 0xF0F0F0;
  }
}

}  // namespace

class XSkinDocument::ImageSource final : public IXImageSource {
 public:
  ImageSource(XResourceProvider& resources, const XSkinDocument& skin)
      : resources_(resources), skin_(skin) {}
  bool ReadImageFile(const std::u16string& name, std::vector<uint8_t>* bytes) override {
    XByteBuffer buffer;
    if (!resources_.Read(name, &buffer)) return false;
    bytes->assign(buffer.data(), buffer.data() + buffer.length);
    return true;
  }
  uint32_t SystemColour(int index) override { return skin_.SystemColour(index); }

 private:
  XResourceProvider& resources_;
  const XSkinDocument& skin_;
};

uint32_t XSkinDocument::SystemColour(int index) const {
  if (parentSkin_ != nullptr) return parentSkin_->SystemColour(index);
  return systemColours_ != nullptr ? systemColours_->SystemColour(index)
                                   : DefaultSystemColour(index);
}

XImageCache& XSkinDocument::Images() {
  if (parentSkin_ != nullptr) return parentSkin_->Images();
  if (!images_) {
    imageSource_ = std::make_unique<ImageSource>(resources_, *this);
    images_ = std::make_unique<XImageCache>(*imageSource_, dpi_);
  }
  return *images_;
}

const XXmlNode* XSkinDocument::RootElement() const {
  return xml_.type == kXmlElement ? &xml_ : nullptr;  // the document is its root element
}

bool XSkinDocument::LoadIdFile(const std::u16string& path) {
  XByteBuffer bytes;
  XFileReadStream stream;
  bool read = stream.Open(path) && ReadWholeStream(stream, &bytes.storage, true);
  if (read) bytes.length = bytes.storage.size() - 2;
  if (!read && !resources_.Read(path, &bytes)) return error_.Set(XSKIN_ERR_ID_FILE, path);
  ids_.LoadHeader(DecodeTextFile(bytes.data(), bytes.length));
  return true;
}

bool XSkinDocument::Load(std::u16string_view skinFileName) {
  fileName_.assign(skinFileName);
  XByteBuffer bytes;
  if (!resources_.Read(skinFileName, &bytes)) return error_.Set(XSKIN_ERR_FILE_OPEN, fileName_);
  return LoadBytes(skinFileName, bytes.data(), bytes.length);
}

bool XSkinDocument::LoadBytes(std::u16string_view skinFileName, const uint8_t* bytes, size_t size) {
  fileName_.assign(skinFileName);
  if (!xml_.LoadFromMemory(bytes, size)) {
    error_.Set(XSKIN_ERR_XML, fileName_);
    error_.xmlError = xml_.Error();
    error_.xmlLine = xml_.Line();
    error_.xmlColumn = xml_.Column();
    return false;
  }
  const XXmlNode* skin = RootElement();
  if (skin == nullptr || !IsElement(*skin, u"XSkin"))
    return error_.Set(XSKIN_ERR_ROOT_TAG, {}, {}, skin ? skin->line : 0, skin ? skin->column : 0);
  const XXmlNode* head = XXmlDocument::FindChild(*skin, kXmlElement, u"Head");
  if (head == nullptr) return error_.Set(XSKIN_ERR_NO_HEAD, {}, {}, skin->line, skin->column);
  const XXmlNode* body = XXmlDocument::FindChild(*skin, kXmlElement, u"Body");
  if (body == nullptr) return error_.Set(XSKIN_ERR_NO_BODY, {}, {}, skin->line, skin->column);
  if (!ApplyHead(*head)) return false;

  layout_.SetRightToLeft(rightToLeft_);
  root_ = new XRootControl();
  root_->AddRef();
  root_->name = IsChild() ? u"CHILD_ROOT" : u"ROOT";
  root_->skin = this;
  root_->layout = &layout_.Root();
  root_->font = head_.font;
  layout_.Root().target = root_;
  return BuildTree(root_, &layout_.Root(), *body);
}

AControlBase* XSkinDocument::BuildBodyText(std::u16string_view text) {
  if (root_ == nullptr) return nullptr;
  std::u16string quoted(text);
  std::replace(quoted.begin(), quoted.end(), u'\'', u'"');
  auto xml = std::make_unique<XXmlDocument>();
  if (!xml->ParseText(quoted) || xml->type != kXmlElement) return nullptr;
  XSkinError kept = error_;
  size_t before = root_->children.size();
  bool built = BuildTree(root_, &layout_.Root(), *xml);
  error_ = kept;
  extraTexts_.push_back(std::move(xml));
  if (!built || root_->children.size() == before) return nullptr;
  return root_->children.back();
}

namespace {

// One attribute of a <Head> element: its setter answers false for a value it refuses (the
// error then comes from the row); a required one missing is its own error.
struct XHeadAttribute {
  const char16_t* element;
  const char16_t* name;
  XSKIN_ERR missing;  // XSKIN_OK: optional
  XSKIN_ERR refused;
  bool (*set)(XSkinHead& head, std::u16string_view value, int dpi);
};

template <size_t N>
bool SetIndex(const char16_t* const (&names)[N], std::u16string_view value, int* field) {
  *field = IndexOf(names, value);
  return *field >= 0;
}

// In the order they apply: a DefaultFont's FontFace sets 9 points before FontSize.
constexpr XHeadAttribute kHead[] = {
    {u"WindowSize", u"Width", XSKIN_ERR_NO_WIDTH, XSKIN_OK,
     [](XSkinHead& h, std::u16string_view v, int dpi) {
       h.hasWindowSize = true;
       return h.width = ParseScaledInt(v, dpi), true;
     }},
    {u"WindowSize", u"Height", XSKIN_ERR_NO_HEIGHT, XSKIN_OK,
     [](XSkinHead& h, std::u16string_view v, int dpi) {
       return h.height = ParseScaledInt(v, dpi), true;
     }},
    {u"WindowSize", u"Width2", XSKIN_OK, XSKIN_OK,
     [](XSkinHead& h, std::u16string_view v, int dpi) {
       return h.width2 = ParseScaledInt(v, dpi), true;
     }},
    {u"WindowSize", u"Height2", XSKIN_OK, XSKIN_OK,
     [](XSkinHead& h, std::u16string_view v, int dpi) {
       return h.height2 = ParseScaledInt(v, dpi), true;
     }},
    {u"Style", u"TooltipStyle", XSKIN_OK, XSKIN_ERR_TOOLTIP_STYLE,
     [](XSkinHead& h, std::u16string_view v, int) {
       return SetIndex(kTooltipStyles, v, &h.tooltipStyle);
     }},
    {u"Style", u"TooltipPosition", XSKIN_OK, XSKIN_ERR_TOOLTIP_POSITION,
     [](XSkinHead& h, std::u16string_view v, int) {
       return SetIndex(kTooltipPositions, v, &h.tooltipPosition);
     }},
    {u"Style", u"TooltipColor", XSKIN_OK, XSKIN_OK,
     [](XSkinHead& h, std::u16string_view v, int) {
       return h.tooltipColour = ParseColour(v), true;
     }},
    {u"Style", u"TooltipTextColor", XSKIN_OK, XSKIN_OK,
     [](XSkinHead& h, std::u16string_view v, int) {
       return h.tooltipTextColour = ParseColour(v), true;
     }},
    {u"Style", u"TooltipShowDelay", XSKIN_OK, XSKIN_OK,
     [](XSkinHead& h, std::u16string_view v, int) {
       return h.tooltipShowDelay = ParseInt(v), true;
     }},
    {u"Style", u"AlphaTransition", XSKIN_OK, XSKIN_OK,
     [](XSkinHead& h, std::u16string_view v, int) {
       return h.alphaTransition = ParseBool(v), true;
     }},
    {u"Style", u"AlphaTransitionSpeed", XSKIN_OK, XSKIN_OK,
     [](XSkinHead& h, std::u16string_view v, int) {
       return h.alphaTransitionSpeed = ParseInt(v), true;
     }},
    {u"Style", u"Debug", XSKIN_OK, XSKIN_OK,
     [](XSkinHead& h, std::u16string_view v, int) { return h.debug = ParseBool(v), true; }},
    {u"DefaultFont", u"FontFace", XSKIN_OK, XSKIN_OK,
     [](XSkinHead& h, std::u16string_view v, int) {
       h.fontSource = v == u"DefaultGUIFont"   ? XSkinHead::kDefaultGuiFont
                      : v == u"SystemIconFont" ? XSkinHead::kIconTitleFont
                                               : XSkinHead::kNamedFont;
       h.font.face = h.fontSource == XSkinHead::kNamedFont ? std::u16string(v) : u"";
       h.font.points = 9;
       return true;
     }},
    {u"DefaultFont", u"FontSize", XSKIN_OK, XSKIN_OK,
     [](XSkinHead& h, std::u16string_view v, int) {
       h.font.points = ParseFontPoints(v);
       return h.hasFontSize = true;
     }},
    {u"DefaultFont", u"FontColor", XSKIN_OK, XSKIN_OK,
     [](XSkinHead& h, std::u16string_view v, int) { return h.fontColour = ParseColour(v), true; }},
    {u"DefaultFont", u"FontWeight", XSKIN_OK, XSKIN_OK,
     [](XSkinHead& h, std::u16string_view v, int) { return h.font.bold = v == u"bold", true; }},
};

}  // namespace

std::vector<XHeadAttributeInfo> HeadAttributeTable() {
  std::vector<XHeadAttributeInfo> rows;
  for (const XHeadAttribute& row : kHead)
    rows.push_back({row.element, row.name, row.missing, row.refused});
  return rows;
}

bool XSkinDocument::ApplyHead(const XXmlNode& head) {
  for (const auto& child : head.children) {
    const XXmlNode& e = *child;
    for (const XHeadAttribute& row : kHead) {
      if (!IsElement(e, row.element)) continue;
      const std::u16string_view* value = XXmlDocument::FindAttribute(e, row.name);
      if (value == nullptr && row.missing != XSKIN_OK)
        return error_.Set(row.missing, row.element, {}, e.line, e.column);
      if (value != nullptr && !row.set(head_, *value, dpi_))
        return error_.Set(row.refused, row.name, *value, e.line, e.column);
    }
  }
  if (IXSkinLanguage* language = resources_.Language()) {
    std::u16string face = language->General(u"SKIN_FONT_NAME");
    if (!face.empty()) head_.font.face = face;
  }
  return true;
}

AControlBase* XSkinDocument::CreateControl(std::u16string_view tag) const {
  if (AControlBase* control = CreateControlForTag(tag)) return control;
  for (const XSkinDocument* skin = this; skin != nullptr; skin = skin->parentSkin_) {
    auto found = skin->factories_.find(tag);
    if (found != skin->factories_.end()) return found->second.make(found->second.parameter);
  }
  return nullptr;
}

bool XSkinDocument::BuildTree(AControlBase* parent, XLayoutNode* parentNode,
                              const XXmlNode& element) {
  for (const auto& child : element.children) {
    if (!BuildElement(parent, parentNode, *child)) return false;
  }
  return true;
}

bool XSkinDocument::BuildElement(AControlBase* parent, XLayoutNode* parentNode,
                                 const XXmlNode& node) {
  if (node.type != kXmlElement)
    return error_.Set(XSKIN_ERR_TEXT_NODE, {}, {}, node.line, node.column);
  if (node.name == u"Data") {
    parent->AddData(node);
    return true;
  }
  auto layoutNode = std::make_unique<XLayoutNode>();
  if (!ReadLayoutAttributes(node, dpi_, rightToLeft_, fileName_, layoutNode.get(), &error_))
    return false;
  AControlBase* control = CreateControl(node.name);
  if (control == nullptr)
    return error_.Set(XSKIN_ERR_BAD_TAG, node.name, {}, node.line, node.column);
  control->AddRef();
  control->parent = parent;
  control->skin = this;
  if (!control->LoadAttributes(node, *layoutNode)) {
    if (control->id != AControlBase::kNone) byId_.erase(control->id);
    control->Release();
    return false;
  }
  layoutNode->parent = parentNode;
  layoutNode->target = control;
  control->layout = layoutNode.get();
  parentNode->children.push_back(std::move(layoutNode));
  parent->children.push_back(control);
  parent->OnChildAdded(control);
  return BuildTree(control, control->layout, node);
}

bool XSkinDocument::ClaimId(AControlBase& control, int id, const XXmlNode& element) {
  auto [at, added] = byId_.emplace(id, &control);
  if (!added && at->second != &control)
    return error_.Set(XSKIN_ERR_DUPLICATE_ID, u"ID", AsciiToUtf16(std::to_string(id)), element.line,
                      element.column);
  control.id = id;
  return true;
}

AControlBase* XSkinDocument::FindControl(int id) const {
  auto found = byId_.find(id);
  return found == byId_.end() ? nullptr : found->second;
}

int XSkinDocument::ControlCount() const {
  int count = 0;
  std::vector<const AControlBase*> stack;
  if (root_ != nullptr) stack.push_back(root_);
  while (!stack.empty()) {
    const AControlBase* control = stack.back();
    stack.pop_back();
    for (const AControlBase* child : control->children) {
      ++count;
      stack.push_back(child);
    }
  }
  return count;
}

void XSkinDocument::RegisterControl(std::u16string tag, XControlFactory factory, void* parameter) {
  factories_[std::move(tag)] = {factory, parameter};
}

std::u16string XSkinDocument::Resolve(const std::u16string& value) const {
  IXSkinLanguage* language = resources_.Language();
  if (value.empty() || value[0] != u'$' || language == nullptr) return value;
  return language->Text(value);
}

bool XSkinDocument::RequestLayout(AControlBase* control) {
  if (parentSkin_ != nullptr) return parentSkin_->RequestLayout(control);
  bool post = pendingLayout_.empty();
  if (pendingLayout_.empty() || pendingLayout_.back() != control) pendingLayout_.push_back(control);
  return post;
}

std::vector<AControlBase*> XSkinDocument::TakePendingLayout() {
  std::vector<AControlBase*> pending;
  pending.swap(pendingLayout_);
  return pending;
}

}  // namespace qorin
