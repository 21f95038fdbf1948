// XSkinDocument: the portable heart of a skin. It reads the skin file through the resource
// provider, applies <Head>, builds the control tree from <Body> and owns it with the layout tree.
// The window side (skin_window_win32) adds the host window, its messages and painting.
//
//   skin file ─► XML ─► <XSkin> ─► <Head>: XSkinHead
//                              └► <Body>: BuildTree ─► controls + layout nodes ─► XLayoutEngine
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "control_base.h"
#include "id_table.h"
#include "image_cache.h"
#include "layout.h"
#include "resource_provider.h"
#include "skin_error.h"
#include "xml_document.h"

namespace qorin {

// One attribute of the <Head> elements as the tools show it: the error when it is missing
// (XSKIN_OK: optional) and when its value is refused.
struct XHeadAttributeInfo {
  std::u16string_view element, name;
  int missing, refused;
};
std::vector<XHeadAttributeInfo> HeadAttributeTable();

// What the host asks for; the defaults are a host's that passes none.
struct XSkinHostOptions {
  bool alphaTransition = true;
  int alphaTransitionSpeed = 0;
  bool fullScreenHandling = false;
  bool windowRegion = false;  // with full-screen handling: a rectangular region while restored
  bool forceLeftToRight = false;
  bool customFrame = false;
  uint32_t extraStyle = 0x00020000 | 0x00010000;  // WS_MINIMIZEBOX | WS_MAXIMIZEBOX
  bool extendFrame = false;
  bool tooltips = true;
  bool postCommands = true;
  bool keepArchiveOpen = false;
};

// The <Head> settings.
struct XSkinHead {
  enum FontSource { kIconTitleFont, kDefaultGuiFont, kNamedFont };
  bool hasWindowSize = false;
  int width = 0, height = 0, width2 = 0, height2 = 0;
  int tooltipStyle = 0, tooltipPosition = 0;
  XColour tooltipColour = 0xBCFFF1, tooltipTextColour = 0;  // #F1FFBC, black
  int tooltipShowDelay = 0;
  bool alphaTransition = true;
  int alphaTransitionSpeed = 0;
  bool debug = false;
  FontSource fontSource = kIconTitleFont;
  XFontSpec font;  // face (for kNamedFont, or the language's SKIN_FONT_NAME) and size
  bool hasFontSize = false;
  XColour fontColour = 0;
};

class XSkinView;

using XControlFactory = AControlBase* (*)(void* parameter);

class IXHostedWindows;
class IXDropDowns;

// The system's colours (COLOR_BTNFACE and friends) as 0x00BBGGRR: GetSysColor on Windows.
class IXSystemColours {
 public:
  virtual ~IXSystemColours() = default;
  virtual uint32_t SystemColour(int index) = 0;
};

class XSkinDocument {
 public:
  // A child skin passes its parent: it shares the parent's resources and factory table.
  XSkinDocument(XResourceProvider& resources, XSkinHostOptions options = {},
                XSkinDocument* parentSkin = nullptr);
  ~XSkinDocument();
  XSkinDocument(const XSkinDocument&) = delete;
  XSkinDocument& operator=(const XSkinDocument&) = delete;

  void SetDpi(int dpi) {
    dpi_ = dpi;
    if (images_) images_->SetDpi(dpi);
  }
  int Dpi() const { return dpi_; }
  void SetTextMeasure(IXTextMeasure* measure) { measure_ = measure; }
  // The live view of the window (painting, pointer, commands); a nested skin uses its parent's.
  void SetView(XSkinView* view) { view_ = view; }
  XSkinView* View() const { return parentSkin_ != nullptr ? parentSkin_->View() : view_; }
  IXTextMeasure* TextMeasure() const { return measure_; }
  // The right-to-left flag; the language's unless the host forces left to right.
  bool RightToLeft() const { return rightToLeft_; }
  void SetRightToLeft(bool on) { rightToLeft_ = on && !options_.forceLeftToRight; }

  // The control-ID header the host names: from the disk when a file of that path exists,
  // otherwise from the resources; error 3 when neither can be read.
  bool LoadIdFile(const std::u16string& path);
  // Reads, parses and builds (the load's steps from reading the file to building the tree).
  bool Load(std::u16string_view skinFileName);
  // The same from the file's bytes.
  bool LoadBytes(std::u16string_view skinFileName, const uint8_t* bytes, size_t size);

  // The system's handles of the window around the skin (null natively): the host window, the
  // module that makes child windows, and windows the host registered by name for WindowHandle.
  void SetHost(void* hostWindow, void* module) {
    hostWindow_ = hostWindow;
    module_ = module;
  }
  // The system side of hosted windows (the skin window's); none without a window.
  void SetHostedWindows(IXHostedWindows* windows) { hostedWindows_ = windows; }
  IXHostedWindows* HostedWindows() const {
    return parentSkin_ != nullptr ? parentSkin_->HostedWindows() : hostedWindows_;
  }
  // The combo boxes' drop-down lists (none in the tools and native tests).
  void SetDropDowns(IXDropDowns* lists) { dropDowns_ = lists; }
  IXDropDowns* DropDowns() const {
    return parentSkin_ != nullptr ? parentSkin_->DropDowns() : dropDowns_;
  }
  void* HostWindow() const {
    return parentSkin_ != nullptr ? parentSkin_->HostWindow() : hostWindow_;
  }
  void* Module() const { return parentSkin_ != nullptr ? parentSkin_->Module() : module_; }
  void RegisterWindowHandle(std::u16string name, void* window) {
    windowHandles_[std::move(name)] = window;
  }
  void* FindWindowHandle(const std::u16string& name) const {
    if (parentSkin_ != nullptr) return parentSkin_->FindWindowHandle(name);
    auto found = windowHandles_.find(name);
    return found != windowHandles_.end() ? found->second : nullptr;
  }

  // The skin's images, made once per name (a nested skin uses its parent's). The system
  // colours come from the window side (Windows' defaults of a light theme without one).
  XImageCache& Images();
  void SetSystemColours(IXSystemColours* colours) { systemColours_ = colours; }
  uint32_t SystemColour(int index) const;

  const XSkinError& Error() const { return error_; }
  XSkinError& Errors() { return error_; }
  const XSkinHead& Head() const { return head_; }
  const XSkinHostOptions& Options() const { return options_; }
  XIdTable& Ids() { return ids_; }
  XResourceProvider& Resources() { return resources_; }
  const std::u16string& FileName() const { return fileName_; }
  // The parsed file (its <script> children and processing instructions run later).
  const XXmlNode* RootElement() const;

  AControlBase* Root() const { return root_; }
  XLayoutEngine& Layout() { return layout_; }
  AControlBase* FindControl(int id) const;
  int ControlCount() const;  // controls in the tree, the root not counted

  void RegisterControl(std::u16string tag, XControlFactory factory, void* parameter);

  // A text value: "$NAME" becomes the language's text when there is a language.
  std::u16string Resolve(const std::u16string& value) const;
  // A control's ID: unique in the skin (777), resolvable (774).
  bool ClaimId(AControlBase& control, int id, const XXmlNode& element);

  // Re-layout requests: true when the caller must post the message that runs them.
  bool RequestLayout(AControlBase* control);
  std::vector<AControlBase*> TakePendingLayout();

  // Builds the controls of a "<Body>" text (single quotes for double ones) under the root of a
  // loaded skin: the last control built, or null when it does not build (the error record of the
  // load stays as it was).
  AControlBase* BuildBodyText(std::u16string_view text);

  // Names the root "CHILD_ROOT" instead of "ROOT" (a skin nested in another).
  bool IsChild() const { return parentSkin_ != nullptr; }
  const XSkinDocument* ParentSkin() const { return parentSkin_; }

 private:
  bool ApplyHead(const XXmlNode& head);
  bool BuildTree(AControlBase* parent, XLayoutNode* parentNode, const XXmlNode& element);
  bool BuildElement(AControlBase* parent, XLayoutNode* parentNode, const XXmlNode& node);
  AControlBase* CreateControl(std::u16string_view tag) const;

  XResourceProvider& resources_;
  XSkinHostOptions options_;
  XSkinDocument* parentSkin_;
  int dpi_;
  bool rightToLeft_ = false;
  IXTextMeasure* measure_ = nullptr;
  XSkinView* view_ = nullptr;
  void* hostWindow_ = nullptr;
  void* module_ = nullptr;
  std::map<std::u16string, void*> windowHandles_;
  class ImageSource;
  std::unique_ptr<ImageSource> imageSource_;
  IXSystemColours* systemColours_ = nullptr;
  IXHostedWindows* hostedWindows_ = nullptr;
  IXDropDowns* dropDowns_ = nullptr;
  std::unique_ptr<XImageCache> images_;
  std::u16string fileName_;
  XXmlDocument xml_;
  std::vector<std::unique_ptr<XXmlDocument>> extraTexts_;  // what BuildBodyText parsed
  XSkinError error_;
  XSkinHead head_;
  XIdTable ids_;
  XLayoutEngine layout_;
  AControlBase* root_ = nullptr;
  std::map<int, AControlBase*> byId_;
  struct Factory {
    XControlFactory make;
    void* parameter;
  };
  std::map<std::u16string, Factory, std::less<>> factories_;
  std::vector<AControlBase*> pendingLayout_;
};

}  // namespace qorin
