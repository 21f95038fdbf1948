// XSkinScripts: the skin's one script engine. It prepares the engine (the control IDs as
// constants, RECT, TRUE/FALSE, the SKINEVENT_ numbers), loads the scripts the skin file names,
// runs texts one at a time, keeps the event handlers, and answers the scripts' natives: the
// host first (IXSkinCallback::CallFunction), then the skin's own table.
//
//   <?script ...?>, <script src=...> ─► DoScript ─► XScript::Run ─► CallNative ─► host | table
//   events (size, init, first size, edit change) ─► handler text ─► XScript::Run
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "bitmap.h"
#include "message_box.h"
#include "script.h"
#include "skin_callback.h"

namespace qorin {

class XSkinDocument;

enum XSkinEvent : int {
  SKINEVENT_ONSIZE = 1,
  SKINEVENT_ONINIT = 2,
  SKINEVENT_ONGUIINIT = 3,
  SKINEVENT_ONEDITCHANGE = 4,
};

// What the skin's natives ask of the window around the skin (Win32 in XXSkin, fakes in tests).
class IXSkinWindow {
 public:
  virtual ~IXSkinWindow() = default;
  // The boxes of the skin's natives (MB_OK, caption "XSkin"), owned by the host window.
  virtual IXMessageBox& MessageBox() = 0;
  virtual void OpenUrl(std::u16string_view url) = 0;
  enum Show { kClose, kMinimize, kMaximize, kRestore };
  virtual void ShowHost(Show how) = 0;
  virtual XRect HostWindowRect() = 0;  // screen coordinates
  virtual XRect HostClientRect() = 0;
  virtual void MoveHost(const XRect& rect) = 0;
  virtual void SetNoise(bool on) = 0;  // timer 5 of the message window, 5 ms
  virtual void SetScriptTimer(int id, int milliseconds) = 0;
  virtual void KillScriptTimer(int id) = 0;
  // Posts the message that runs the pending re-layouts.
  virtual void PostLayout() = 0;
  // A line for the window "XScriptDebugConsole" (level 1, Trace lines 0).
  virtual void Console(std::u16string_view text, int level) = 0;
};

class XSkinScripts final : public IXScriptCallback {
 public:
  XSkinScripts(XSkinDocument& document, IXSkinWindow& window, IXSkinCallback* host);

  // Runs a text unless one is running already; a failure is error 1024 in the skin's record.
  bool DoScript(std::u16string_view text);
  // The processing instructions "script" of the root, then its <script src> files, in order.
  bool LoadScripts();
  // The order of a skin's start once its document is loaded: the scripts, the archive let go
  // unless kept, the host's slot (IXSkinCallback::OnLoaded, which may refuse: 1281), then
  // OnInit once. False with the error recorded.
  bool Start(bool releaseArchive);

  const std::u16string& Handler(int event) const { return handlers_[event - 1]; }
  // Runs the event's handler straight in the engine (no nesting check, no error record);
  // once = clear it after.
  void RunEvent(int event, bool once = false);
  // A statement of the host ("OnSuccess();") in the scripts' global scope: a function the
  // scripts do not define is no error, and nothing is recorded in the skin's error record; a
  // text that fails is reported on the script console. The value of its last statement is
  // LastResult() afterwards (Undef after a failure). One that arrives while a script waits in a
  // native's message loop runs at once, nested: the extraction's question waits for its answer
  // on this thread, so it cannot wait for the running text to end.
  bool RunHostText(std::u16string_view text);
  const XScriptValue& LastResult() const { return engine_.LastResult(); }
  // "OnTimer(%d);" for a script timer, unless a text is running.
  void OnScriptTimer(int id);

  XScript& Engine() { return engine_; }
  XSkinDocument& Document() { return document_; }
  IXSkinWindow& Window() { return window_; }
  bool SetHandler(int event, std::u16string text);

  // IXScriptCallback
  int32_t CallNative(std::u16string_view key, XScriptValue* const* args, int32_t count,
                     XScriptValue* result) override;
  void Print(std::u16string_view text) override;
  void Debug(std::u16string_view text) override;
  void Trace(std::u16string_view text) override;

 private:
  void Prepare();

  XSkinDocument& document_;
  IXSkinWindow& window_;
  IXSkinCallback* host_;
  XScript engine_;
  std::u16string handlers_[4];
  bool prepared_ = false;
  bool running_ = false;
};

// The skin's natives in their order ("start_random_noise@v" is 0); -1 for other keys.
int SkinNativeNumber(std::u16string_view key);
// Every key of the skin's natives, in their order.
std::vector<std::u16string_view> SkinNativeKeys();
// The script step of loading a skin: the processing instructions "script" of the root, then
// the files its <script src> elements name, each text handed to run in order. A <script>
// without src (528) and a file that cannot be read or decoded (1) are recorded in the skin's
// error record; the first false stops.
bool ForEachSkinScript(XSkinDocument& document,
                       const std::function<bool(std::u16string_view text)>& run);

bool RunSkinNative(int number, XSkinScripts& scripts, XScriptValue* const* args,
                   XScriptValue* result);

}  // namespace qorin
