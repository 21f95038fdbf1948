// boxanswer: reads and answers message boxes as a user would. It watches for visible top-level
// dialog windows (class "#32770") of any other process, records each one's caption, text and
// button labels as one line of the log file (see observe_format.h), and presses the button named
// on its command line; a box without that button gets Cancel, else its first button. "None"
// presses nothing: the box stays open until its program closes it.
//
//   boxanswer --log FILE --ready FILE --stop FILE
//             [--press OK|Cancel|Yes|No|Retry|Ignore|Abort|None]
//             [--timeout MS]
#include <windows.h>

#include <cwchar>
#include <set>
#include <string>
#include <vector>

#include "helper_win.h"
#include "observe_format.h"

namespace {

using qorin::helpers::ToUtf8;

struct ButtonName {
  const wchar_t* name;
  int id;
};

// The buttons of a message box carry these control IDs whatever the language of their labels.
constexpr int kPressNothing = -1;
constexpr ButtonName kButtons[] = {
    {L"OK", IDOK},         {L"Cancel", IDCANCEL}, {L"Abort", IDABORT}, {L"Retry", IDRETRY},
    {L"Ignore", IDIGNORE}, {L"Yes", IDYES},       {L"No", IDNO},       {L"None", kPressNothing},
};

int ButtonId(const std::wstring& name) {
  for (const ButtonName& button : kButtons) {
    if (_wcsicmp(button.name, name.c_str()) == 0) return button.id;
  }
  return 0;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

std::wstring TextOf(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

// A label without its access-key ampersands ("&Yes" is "Yes").
std::wstring Label(std::wstring text) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && i + 1 < text.size()) ++i;
    out += text[i];
  }
  return out;
}

struct Button {
  HWND window;
  int id;
  std::wstring label;
};

struct BoxContents {
  std::wstring text;
  std::vector<Button> buttons;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
  auto* box = reinterpret_cast<BoxContents*>(param);
  std::wstring type = ClassOf(child);
  if (_wcsicmp(type.c_str(), L"Button") == 0) {
    box->buttons.push_back({child, GetDlgCtrlID(child), Label(TextOf(child))});
  } else if (_wcsicmp(type.c_str(), L"Static") == 0) {
    std::wstring text = TextOf(child);
    if (!text.empty() && box->text.empty()) box->text = text;
  }
  return TRUE;
}

const Button* ChooseButton(const BoxContents& box, int wanted) {
  if (wanted == kPressNothing) return nullptr;
  for (int id : {wanted, static_cast<int>(IDCANCEL)}) {
    for (const Button& button : box.buttons) {
      if (button.id == id) return &button;
    }
  }
  return box.buttons.empty() ? nullptr : &box.buttons.front();
}

class Answerer {
 public:
  Answerer(qorin::helpers::LineWriter& log, int wanted) : log_(log), wanted_(wanted) {}

  void Poll() {
    std::set<HWND> present;
    EnumWindows(&Answerer::Visit, reinterpret_cast<LPARAM>(&present));
    for (HWND box : present) {
      if (answered_.count(box) == 0 && Answer(box)) answered_.insert(box);
    }
    // Forget boxes that are gone: their handles may be reused by later boxes.
    for (auto it = answered_.begin(); it != answered_.end();) {
      it = present.count(*it) != 0 ? std::next(it) : answered_.erase(it);
    }
  }

 private:
  static BOOL CALLBACK Visit(HWND window, LPARAM param) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() && IsWindowVisible(window) &&
        ClassOf(window) == L"#32770") {
      reinterpret_cast<std::set<HWND>*>(param)->insert(window);
    }
    return TRUE;
  }

  // False while the box is still being built (no buttons yet): it is looked at again.
  bool Answer(HWND window) {
    BoxContents box;
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&box));
    if (box.buttons.empty()) return false;
    std::string labels;
    for (const Button& button : box.buttons) {
      if (!labels.empty()) labels += '|';
      labels += ToUtf8(button.label);
    }
    const Button* press = ChooseButton(box, wanted_);
    log_.Write(qorin::observe::JoinFields(
        {ToUtf8(TextOf(window)), ToUtf8(box.text), labels, press ? ToUtf8(press->label) : "-"}));
    if (press != nullptr) {
      PostMessageW(window, WM_COMMAND, MAKEWPARAM(press->id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(press->window));
    }
    return true;
  }

  qorin::helpers::LineWriter& log_;
  int wanted_;
  std::set<HWND> answered_;
};

}  // namespace

int wmain() {
  using namespace qorin::helpers;
  std::wstring logPath = Option(L"log");
  int wanted = ButtonId(Option(L"press", L"OK"));
  if (logPath.empty() || wanted == 0) return 2;
  LineWriter log(logPath);
  if (!log.ok()) return 1;

  std::wstring ready = Option(L"ready");
  if (!ready.empty()) WriteWholeFile(ready, "ready\n");

  Answerer answerer(log, wanted);
  StopCondition stop(Option(L"stop"),
                     std::wcstoul(Option(L"timeout", L"120000").c_str(), nullptr, 10));
  while (!stop.Reached()) {
    answerer.Poll();
    Sleep(50);
  }
  answerer.Poll();
  return 0;
}
