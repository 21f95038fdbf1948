#include "skin_scripts.h"

#include <new>

#include "skin_document.h"
#include "utf.h"

namespace qorin {
namespace {

// Run before the first script text, in this order.
constexpr const char16_t* kPreamble[] = {
    u"struct RECT { int left; int top; int right; int bottom;  };",
    u"int TRUE = 1; int true = 1;",
    u"int FALSE = 0; int false = 0;",
    u"int SKINEVENT_ONSIZE    = 1;",
    u"int SKINEVENT_ONINIT\t = 2;",
    u"int SKINEVENT_ONGUIINIT = 3;",
    u"int SKINEVENT_ONEDITCHANGE = 4;",
};

constexpr size_t kConsoleMaxChars = 4096;

}  // namespace

XSkinScripts::XSkinScripts(XSkinDocument& document, IXSkinWindow& window, IXSkinCallback* host)
    : document_(document), window_(window), host_(host) {}

void XSkinScripts::Prepare() {
  prepared_ = true;
  for (const auto& [name, number] : document_.Ids().Entries()) engine_.DeclareInt(name, number);
  for (const char16_t* text : kPreamble) engine_.Run(text);
  engine_.SetCallback(this);
}

bool XSkinScripts::DoScript(std::u16string_view text) {
  if (running_) return false;
  if (!prepared_) Prepare();
  running_ = true;
  bool ok = engine_.Run(text) != 0;
  running_ = false;
  if (ok) return true;
  XScriptErrorInfo info = engine_.GetScriptError();
  std::u16string context = engine_.FormatError() + u" [" + std::u16string(text) + u"] ";
  document_.Errors().Set(XSKIN_ERR_SCRIPT, context, {}, info.line, info.column);
  window_.Console(u"Err at DoScript() - '" + std::u16string(text) + u"'", 1);
  return false;
}

bool ForEachSkinScript(XSkinDocument& document,
                       const std::function<bool(std::u16string_view text)>& run) {
  const XXmlNode* root = document.RootElement();
  if (root == nullptr) return true;
  for (const auto& child : root->children) {
    if (child->type == kXmlProcessing && child->name == u"script" && !run(child->value))
      return false;
  }
  for (const auto& child : root->children) {
    if (child->type != kXmlElement || child->name != u"script") continue;
    const std::u16string_view* src = XXmlDocument::FindAttribute(*child, u"src");
    if (src == nullptr)
      return document.Errors().Set(XSKIN_ERR_SCRIPT_SRC, u"script", {}, child->line, child->column);
    XByteBuffer bytes;
    std::u16string text;
    if (!document.Resources().Read(*src, &bytes) ||
        !XResourceProvider::DecodeText(bytes.data(), bytes.length, &text))
      return document.Errors().Set(XSKIN_ERR_FILE_OPEN, *src, {}, child->line, child->column);
    if (!run(text)) return false;
  }
  return true;
}

bool XSkinScripts::LoadScripts() {
  return ForEachSkinScript(document_, [this](std::u16string_view text) { return DoScript(text); });
}

bool XSkinScripts::Start(bool releaseArchive) {
  if (!LoadScripts()) return false;
  if (releaseArchive) document_.Resources().ReleaseArchive();
  if (host_ != nullptr && !host_->OnLoaded())
    return document_.Errors().Set(XSKIN_ERR_SCRIPT_CALLER);
  RunEvent(SKINEVENT_ONINIT, true);
  return true;
}

bool XSkinScripts::SetHandler(int event, std::u16string text) {
  if (event < SKINEVENT_ONSIZE || event > SKINEVENT_ONEDITCHANGE) return false;
  handlers_[event - 1] = std::move(text);
  return true;
}

void XSkinScripts::RunEvent(int event, bool once) {
  std::u16string text = handlers_[event - 1];
  if (once) handlers_[event - 1].clear();
  if (text.empty()) return;
  if (!prepared_) Prepare();
  engine_.Run(text);
}

bool XSkinScripts::RunHostText(std::u16string_view text) {
  if (!prepared_) Prepare();
  uint8_t ignore = engine_.Options().ignoreUnknownFunctions;
  engine_.Options().ignoreUnknownFunctions = 1;
  bool ok = engine_.Run(text) != 0;
  engine_.Options().ignoreUnknownFunctions = ignore;
  if (!ok)
    window_.Console(u"Err at host text - '" + std::u16string(text) + u"' " + engine_.FormatError(),
                    1);
  return ok;
}

void XSkinScripts::OnScriptTimer(int id) {
  if (!running_) DoScript(u"OnTimer(" + DisplayInt(id) + u");");
}

int32_t XSkinScripts::CallNative(std::u16string_view key, XScriptValue* const* args, int32_t count,
                                 XScriptValue* result) {
  if (host_ != nullptr) {
    int answer = host_->CallFunction(key, args, count, result);
    if (answer == kHostCallOutOfMemory) throw std::bad_alloc();  // the engine's error ends the run
    if (answer != kHostCallNotHandled) return 1;
  }
  int number = SkinNativeNumber(key);
  if (number < 0) {
    Trace(u"@@rXXSkin::CallFunc() - 함수를 찾을 수 없음: " + std::u16string(key));
    return 0;
  }
  return RunSkinNative(number, *this, args, result) ? 1 : 0;
}

void XSkinScripts::Print(std::u16string_view text) {
  window_.Console((u"script print() - " + std::u16string(text)).substr(0, kConsoleMaxChars), 1);
}

void XSkinScripts::Debug(std::u16string_view text) {
  window_.Console(text.substr(0, kConsoleMaxChars), 1);
}

void XSkinScripts::Trace(std::u16string_view text) {
  window_.Console(text.substr(0, kConsoleMaxChars), 0);
}

}  // namespace qorin
