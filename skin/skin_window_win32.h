// XXSkin: a skin document in a host window. It subclasses the host window, keeps a message-only
// window "XSKIN_CLASS" for its queued work, sizes the host from <Head>, and lays the control
// tree out on every size change.
//
//   LoadFromFile / LoadFromMemory ─► resources ─► ID file ─► subclass host ─► message window
//     ─► XSkinDocument::Load (XML, Head, Body) ─► WindowSize ─► release archive ─► OnLoaded
//   WM_SIZE (size changed) ─► root rect ─► layout ─► (painting comes with the painter)
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "skin_callback.h"
#include "skin_document.h"
#include "skin_scripts.h"

namespace qorin {

struct XSkinWindowOptions {
  XSkinHostOptions host;
  IXSkinCallback* callback = nullptr;
  IXSkinLanguage* language = nullptr;
  // Names the host adds to the ID table before loading (the installer's commands).
  std::vector<std::pair<std::u16string, int>> ids;
  // Developer log lines (one per layout run).
  std::function<void(const std::wstring&)> log;
};

class XXSkin final : public IXSkinWindow {
 public:
  XXSkin();
  ~XXSkin() override;
  XXSkin(const XXSkin&) = delete;
  XXSkin& operator=(const XXSkin&) = delete;

  bool LoadFromFile(HINSTANCE instance, HWND host, const std::u16string& archivePath,
                    const std::u16string& skinFileName, const std::u16string& controlIdFile,
                    XSkinWindowOptions options);
  bool LoadFromMemory(HINSTANCE instance, HWND host, const uint8_t* archive, size_t size,
                      const std::u16string& skinFileName, const std::u16string& controlIdFile,
                      XSkinWindowOptions options);
  // Developer mode: the skin's files lie in a folder.
  bool LoadFromFolder(HINSTANCE instance, HWND host, const std::u16string& folder,
                      const std::u16string& skinFileName, const std::u16string& controlIdFile,
                      XSkinWindowOptions options);

  const XSkinError& GetError() const;
  // The error message for the user's interface language.
  std::u16string GetErrorText() const;
  XSkinDocument* Document() { return document_.get(); }
  XSkinScripts* Scripts() { return scripts_.get(); }
  // Runs a script text in the skin's engine (button texts, timers, the host's callbacks).
  bool DoScript(std::u16string_view text) { return scripts_ && scripts_->DoScript(text); }

  // IXSkinWindow
  void ShowMessage(std::u16string_view text, std::u16string_view caption) override;
  void OpenUrl(std::u16string_view url) override;
  void ShowHost(Show how) override;
  XRect HostWindowRect() override;
  XRect HostClientRect() override;
  void MoveHost(const XRect& rect) override;
  void SetNoise(bool on) override;
  void SetScriptTimer(int id, int milliseconds) override;
  void KillScriptTimer(int id) override;
  void PostLayout() override;
  void Console(std::u16string_view text, int level) override;
  HWND MessageWindow() const { return messageWindow_; }
  int LayoutRuns() const { return layoutRuns_; }

  // The message numbers registered for the message window.
  static UINT MsgInvalidate();
  static UINT MsgInvalidateAlign();
  static UINT MsgProcessCommand();
  static UINT MsgNextPopupMenu();

 private:
  bool Load(HINSTANCE instance, HWND host, const std::u16string& skinFileName,
            const std::u16string& controlIdFile);
  bool Subclass();
  void Unsubclass();
  bool CreateMessageWindow();
  void ApplyCustomFrame();
  void OnSize(UINT kind, int width, int height);
  void RunPendingLayout();
  // Mouse messages go to the control under the point (hover, capture and focus come with the
  // painter).
  void RouteMouse(UINT message, int x, int y);
  LRESULT HostMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK MessageProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  XSkinWindowOptions options_;
  XResourceProvider resources_;
  std::unique_ptr<XSkinDocument> document_;
  std::unique_ptr<XSkinScripts> scripts_;
  std::unique_ptr<IXTextMeasure> measure_;
  XSkinError openError_;
  HINSTANCE instance_ = nullptr;
  HWND host_ = nullptr;
  HWND messageWindow_ = nullptr;
  WNDPROC previousProc_ = nullptr;
  SIZE lastSize_ = {-1, -1};
  int layoutRuns_ = 0;
  bool loaded_ = false;
};

}  // namespace qorin
