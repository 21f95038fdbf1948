// XXSkin: a skin document in a host window. It subclasses the host window, keeps a message-only
// window "XSKIN_CLASS" for its queued work, sizes the host from <Head>, and lays the control
// tree out on every size change.
//
//   LoadFromFile / LoadFromMemory ─► resources ─► ID file ─► subclass host ─► message window
//     ─► XSkinDocument::Load (XML, Head, Body) ─► WindowSize ─► release archive ─► OnLoaded
//   WM_SIZE (size changed) ─► root rect ─► layout ─► XSkinView (root buffer, damaged rectangles)
//   WM_PAINT ─► root buffer copied; mouse ─► XSkinView's pointer routing
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "fullscreen_handler_win32.h"
#include "gdi_text_canvas_win32.h"
#include "hosted_window_win32.h"
#include "list_window_win32.h"
#include "message_box_win32.h"
#include "skin_callback.h"
#include "skin_document.h"
#include "skin_scripts.h"
#include "skin_surface.h"
#include "skin_view.h"
#include "time_manager_win32.h"
#include "tooltip_window_win32.h"

namespace qorin {

struct XSkinWindowOptions {
  XSkinHostOptions host;
  IXSkinCallback* callback = nullptr;
  IXSkinLanguage* language = nullptr;
  // Names the host adds to the ID table before loading (the installer's commands).
  std::vector<std::pair<std::u16string, int>> ids;
  // Developer log lines (one per layout run).
  std::function<void(const std::wstring&)> log;
  // The host's message boxes; without them the skin's own, owned by the host window.
  IXMessageBox* messageBox = nullptr;
};

class XXSkin final : public IXSkinWindow, public IXSkinSurface {
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
  IXMessageBox& MessageBox() override;
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
  // IXSkinSurface
  void PostInvalidate() override;
  void PostProcessCommand() override;
  void Present(const XRect& rect) override;
  uint32_t Ticks() override { return GetTickCount(); }
  void PostToHost(unsigned message, uintptr_t wparam, intptr_t lparam) override;
  void SendHostCommand(int number) override;
  void CommandFired(int number) override;
  void TrackMouseLeave() override;
  void CaptureMouse(bool on) override;
  void SetFadeTimer(bool on) override;
  void SetControlTimer(AControlBase* control, int id, int milliseconds) override;
  void KillControlTimers(AControlBase* control) override;
  void RunScript(const std::u16string& text) override { DoScript(text); }
  void SetTooltipTimer(int id, int milliseconds) override;
  void KillTooltipTimer(int id) override;
  int HeldKeys() override;

  // Tracks a popup menu below the menu button whose command runs (at the cursor without one)
  // and answers the chosen command (0: none). While it is open, pointing at another menu button
  // closes it and opens that button's menu.
  int TrackPopupMenu(HMENU menu);

  HWND MessageWindow() const { return messageWindow_; }
  XSkinView* View() { return view_.get(); }
  int LayoutRuns() const { return layoutRuns_; }

  // The message numbers registered for the message window.
  static UINT MsgInvalidate();
  static UINT MsgInvalidateAlign();
  static UINT MsgProcessCommand();
  static UINT MsgNextPopupMenu();
  static UINT MsgMouseOver();
  static UINT MsgMouseLeave();
  // Registered at load for the list and combo controls' notifications.
  static void RegisterListMessages();

 private:
  bool Load(HINSTANCE instance, HWND host, const std::u16string& skinFileName,
            const std::u16string& controlIdFile);
  bool Subclass();
  void Unsubclass();
  bool CreateMessageWindow();
  void ApplyCustomFrame();
  void OnSize(UINT kind, int width, int height);
  void RunPendingLayout() override;
  // The host's mirroring now (its style and client width); x and rectangles through it.
  XMirror Mirror() const;
  int MirrorX(int x) const;
  RECT MirrorRect(const RECT& rect) const;
  void TellCommand(int number);
  void Paint(HWND window);
  // Mouse messages go to the control under the point (hover, capture and focus come with the
  // painter).
  void RouteMouse(UINT message, int x, int y);
  LRESULT HostMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK MessageProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  // GetSysColor for the skin's system colours.
  struct SystemColours final : IXSystemColours {
    uint32_t SystemColour(int index) override { return GetSysColor(index); }
  } systemColours_;
  XHostedWindowsWin32 hostedWindows_;
  XDropDownsWin32 dropDowns_;
  XFullscreenHandler fullscreen_;
  XTooltipWindowWin32 tooltipWindow_;
  void OnTooltipTimer(int id);
  XMessageBoxWin32 messageBox_;
  XSkinWindowOptions options_;
  XResourceProvider resources_;
  std::unique_ptr<XSkinDocument> document_;
  std::unique_ptr<XSkinScripts> scripts_;
  std::unique_ptr<XGdiTextCanvas> canvas_;
  std::unique_ptr<XSkinView> view_;
  XTimeManager fadeTimer_{[this](UINT_PTR) {
    if (view_) view_->FadeTick();
  }};
  XTimeManager controlTimers_{[this](UINT_PTR id) { OnControlTimer(id); }};
  void OnControlTimer(UINT_PTR id);
  void PollPopupMenu();
  void OpenNextPopupMenu();
  struct ControlTimer {
    AControlBase* control;
    int id;
  };
  std::map<UINT_PTR, ControlTimer> controlTimerIds_;
  UINT_PTR nextControlTimer_ = 1;
  XSkinError openError_;
  HINSTANCE instance_ = nullptr;
  HWND host_ = nullptr;
  HWND messageWindow_ = nullptr;
  WNDPROC previousProc_ = nullptr;
  int layoutRuns_ = 0;
  bool loaded_ = false;
};

}  // namespace qorin
