// Natives of files and folders. Paths of the functions that take "/" as well are turned into
// "\" first; the others go to Windows as they are.
#include <vector>

#include "byte_stream.h"
#include "file_removal.h"
#include "file_stream.h"
#include "ini_file.h"
#include "installer_natives.h"
#include "path.h"
#include "system_rules.h"

namespace qorin {
bool DeleteFileNative(XInstallerNativeContext& c, const XNativeCall& call) {
  call.SetBool(DeleteMatching(c.fileAccess, call.Path(0)));
  return true;
}

bool DeleteOrMoveFile(XInstallerNativeContext& c, const XNativeCall& call) {
  call.SetBool(DeleteOrMove(c.fileAccess, call.Path(0)));
  return true;
}

bool RemoveDirectoryNative(XInstallerNativeContext& c, const XNativeCall& call) {
  call.SetBool(c.fileAccess.RemoveFolder(call.Path(0)));
  return true;
}

// A drive or share root, or no path at all (an empty variable, a registry value that names a
// root), is refused before and after the path is made full.
bool DeleteFolderRec(XInstallerNativeContext& c, const XNativeCall& call) {
  std::u16string given = call.Path(0), path = given;
  if (!IsRootPath(path) && !path.starts_with(u"\\\\?\\")) path = c.fileAccess.Canonicalize(path);
  if (IsRootPath(given) || IsRootPath(path)) {
    c.window.Log(u"@@rDeleteFolderRec('" + given + u"') refused: no folder, or a drive or share");
    call.SetBool(false);
    return true;
  }
  while (path.size() > 3 && path.back() == u'\\') path.pop_back();
  call.SetBool(DeleteTree(c.fileAccess, ExtendedLengthPath(path)));
  return true;
}

bool CopyFileNative(XInstallerNativeContext& c, const XNativeCall& call) {
  std::u16string from = call.Text(0), to = call.Text(1);
  bool copied = c.fileAccess.Copy(from, to);
  c.window.Log((copied ? u"CopyFile('" : u"@@rCopyFile('") + from + u"', '" + to +
               (copied ? u"') success" : u"')failed"));
  call.SetBool(copied);
  return true;
}

bool DigPathNative(XInstallerNativeContext& c, const XNativeCall& call) {
  DigPath(c.fileAccess, call.Path(0));
  return true;
}

bool IsFile(XInstallerNativeContext& c, const XNativeCall& call) {
  call.SetBool(IsFileAt(c.fileAccess, call.Text(0)));
  return true;
}

bool GetIniStr(XInstallerNativeContext& c, const XNativeCall& call) {
  XFileReadStream stream(c.fileAccess);
  std::vector<uint8_t> bytes;
  XIniFile ini;
  bool read = stream.Open(call.Text(0)) && ReadWholeStream(stream, &bytes, true) &&
              ini.Parse(bytes.data(), bytes.size());
  call.SetText(read ? ini.GetText(call.Text(1), call.Text(2)) : u"");
  return true;
}

}  // namespace qorin
