// msgbox_probe: shows one message box and exits with the button that closed it (IDOK, IDNO, ...).
// Proves boxanswer end to end.
//
//   msgbox_probe --caption TEXT --text TEXT [--type ok|okcancel|yesno|yesnocancel|retrycancel|
//                abortretryignore]
#include <windows.h>

#include <string>

#include "helper_win.h"

namespace {

struct BoxType {
  const wchar_t* name;
  UINT flags;
};

constexpr BoxType kTypes[] = {
    {L"ok", MB_OK},
    {L"okcancel", MB_OKCANCEL},
    {L"yesno", MB_YESNO},
    {L"yesnocancel", MB_YESNOCANCEL},
    {L"retrycancel", MB_RETRYCANCEL},
    {L"abortretryignore", MB_ABORTRETRYIGNORE},
};

}  // namespace

int wmain() {
  using qorin::helpers::Option;
  std::wstring type = Option(L"type", L"ok");
  for (const BoxType& entry : kTypes) {
    if (type == entry.name) {
      return MessageBoxW(nullptr, Option(L"text").c_str(), Option(L"caption").c_str(), entry.flags);
    }
  }
  return -1;
}
