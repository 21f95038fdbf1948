// Corvala Demo's uninstall script: closes the running product, runs its own clean-up, deletes
// its files (moving aside any in use), folders, shortcuts and registry keys. With the command
// line exactly "/S" without a window and without asking. Exit codes: 0 uninstalled, 1602 the
// user kept the product running, 1603 the product could not be closed without asking.
int Silent() {
  return GetCommandLine() == '/S';
}

// 1 when no window of the product is left.
int CloseProduct() {
  if (Silent()) return CloseApp('CorvalaDemoWindow');
  return CloseApp('CorvalaDemoWindow', LANG('CLOSE_THE_PRODUCT'));
}

void RemoveFiles(string dir) {
  DeleteFile(dir + 'data/*.dat');
  RemoveDirectory(dir + 'data');
  DeleteOrMoveFile(dir + 'demo.exe');
  DeleteFile(dir + 'demo.ini');
  DeleteFile(dir + 'readme.txt');
  DeleteOrMoveFile(dir + 'uninstall.exe');
  print('folder removed: ' + DeleteFolderRec(dir));
  DeleteFile(COMMON_PROGRAMS + '/Corvala Demo.lnk');
  DeleteFile(COMMON_DESKTOPDIRECTORY + '/Corvala Demo.lnk');
}

void OnInit() {
  if (Silent()) ShowMainWindow(0);
  string dir = GetRegStr('HKLM/SOFTWARE/Corvala Demo/InstallPath');
  if (dir == '') dir = GetInstallPath();
  print('uninstalling from ' + dir);
  if (!CloseProduct()) {
    print('Corvala Demo is still running');
    if (Silent()) DoExit(1603);
    else DoExit(1602);
    return;
  }
  print('clean-up returned ' + ExecWait(dir + 'demo.exe', '--cleanup'));
  RemoveFiles(dir);
  RegDeleteKey64('HKLM/SOFTWARE/Microsoft/Windows/CurrentVersion/Uninstall/CorvalaDemo');
  RegDeleteKey('HKLM/SOFTWARE/Corvala Demo');
  print('uninstalled');
  DoExit(0);
}

SetEventHandler(SKINEVENT_ONINIT, 'OnInit();');
