// Natives of the registry: a path text, the stub's view or (the "64" functions) the 64-bit view.
#include "installer_natives.h"
#include "registry.h"

namespace qorin {
namespace {

bool GetStr(XInstallerNativeContext& c, const XNativeCall& call, bool view64) {
  auto path = ParseRegistryValuePath(call.Text(0));
  call.SetText(path ? c.registry.ReadText(*path, view64) : u"");
  return true;
}

bool GetInt(XInstallerNativeContext& c, const XNativeCall& call, bool view64) {
  auto path = ParseRegistryValuePath(call.Text(0));
  call.SetInt(path ? c.registry.ReadInt(*path, view64) : 0);
  return true;
}

bool SetStr(XInstallerNativeContext& c, const XNativeCall& call, bool view64) {
  auto path = ParseRegistryValuePath(call.Text(0));
  call.SetBool(path && c.registry.WriteText(*path, call.Text(1), view64));
  return true;
}

bool SetInt(XInstallerNativeContext& c, const XNativeCall& call, bool view64) {
  auto path = ParseRegistryValuePath(call.Text(0));
  call.SetBool(path && c.registry.WriteInt(*path, call.Int(1), view64));
  return true;
}

bool Delete(XInstallerNativeContext& c, const XNativeCall& call, bool view64) {
  auto path = ParseRegistryKeyPath(call.Text(0));
  if (path && IsSharedRegistryKey(*path)) {
    c.window.Log(u"@@rRegDeleteKey('" + call.Text(0) + u"') refused: a root or a shared key");
    path.reset();
  }
  call.SetBool(path && c.registry.DeleteKey(*path, view64));
  return true;
}

}  // namespace

bool GetRegStr(XInstallerNativeContext& c, const XNativeCall& call) {
  return GetStr(c, call, false);
}
bool GetRegStr64(XInstallerNativeContext& c, const XNativeCall& call) {
  return GetStr(c, call, true);
}
bool GetRegInt(XInstallerNativeContext& c, const XNativeCall& call) {
  return GetInt(c, call, false);
}
bool GetRegInt64(XInstallerNativeContext& c, const XNativeCall& call) {
  return GetInt(c, call, true);
}
bool SetRegStr(XInstallerNativeContext& c, const XNativeCall& call) {
  return SetStr(c, call, false);
}
bool SetRegStr64(XInstallerNativeContext& c, const XNativeCall& call) {
  return SetStr(c, call, true);
}
bool SetRegInt(XInstallerNativeContext& c, const XNativeCall& call) {
  return SetInt(c, call, false);
}
bool SetRegInt64(XInstallerNativeContext& c, const XNativeCall& call) {
  return SetInt(c, call, true);
}
bool RegDeleteKeyNative(XInstallerNativeContext& c, const XNativeCall& call) {
  return Delete(c, call, false);
}
bool RegDeleteKey64(XInstallerNativeContext& c, const XNativeCall& call) {
  return Delete(c, call, true);
}

}  // namespace qorin
