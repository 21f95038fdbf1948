// A time manager window: a message-only window of class "XSKIN_TIMEMAN_CLASS" whose timers call
// back their owner. A skin makes up to three, on first use: fades, script timers, control timers.
#pragma once

#include <windows.h>

#include <functional>

namespace qorin {

class XTimeManager {
 public:
  explicit XTimeManager(std::function<void(UINT_PTR)> onTimer) : onTimer_(std::move(onTimer)) {}
  ~XTimeManager();
  XTimeManager(const XTimeManager&) = delete;
  XTimeManager& operator=(const XTimeManager&) = delete;

  bool Set(UINT_PTR id, UINT milliseconds);
  void Kill(UINT_PTR id);

 private:
  bool Create();
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  std::function<void(UINT_PTR)> onTimer_;
  HWND window_ = nullptr;
};

}  // namespace qorin
