// Natives of the network: touching a URL (a blocking call) and the asynchronous version check.
#include "installer_natives.h"
#include "version_check.h"

namespace qorin {

bool TouchURL(XInstallerNativeContext& c, const XNativeCall& call) {
  std::u16string userAgent = call.Text(0), url = call.Text(1);
  c.window.Log(u"TouchURL: " + url);
  IXWeb& web = c.system.web;
  c.window.RunBlocking([&web, &userAgent, &url] {
    if (web.NetworkAvailable()) web.Touch(url, userAgent);
  });
  return true;
}

bool CheckVersionAsync(XInstallerNativeContext& c, const XNativeCall& call) {
  XVersionCheck check{call.Text(3), call.Text(4), call.Text(5), 0};
  c.window.Log(u"CheckVersionAsync(" + check.url + u");");
  check.localVersion = PackagedVersion(c.package, call.Text(0), call.Text(1), call.Text(2));
  if (check.localVersion != 0) c.window.StartVersionCheck(check);
  return true;
}

}  // namespace qorin
