// Without Windows a hosted window is only its place in the layout.
#include "hosted_window.h"

namespace qorin {

bool XWindow::Attach(const XXmlNode&, bool) {
  return true;
}
void XWindow::Place(const XRect&) {}
void XWindow::Detach() {}
void XWindow::OnShow(bool) {}
void XWindow::SetText(std::u16string newText) {
  windowText = std::move(newText);
}
std::u16string XWindow::GetText() const {
  return windowText;
}
void XWindow::Enable(bool on) {
  enabled = on;
}
int XWindow::OnSetFocus() {
  return 0;
}

}  // namespace qorin
