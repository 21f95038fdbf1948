// Corvala Demo's install script. It installs into the configured folder at once: with the
// command line exactly "/S" without any window, otherwise with the window shown during the
// install and hidden after it, while the newest version is asked of the update server named in
// the product's own configuration (demo.ini).
void OnInit() {
  if (GetCommandLine() == '/S') ShowMainWindow(0);
  print('installing into ' + GetInstallPath());
  StartInstall();
}

// Add/Remove Programs lists the product from its Uninstall key.
void Register(string dir) {
  string key = 'HKLM/SOFTWARE/Microsoft/Windows/CurrentVersion/Uninstall/CorvalaDemo/';
  SetRegStr64(key + 'DisplayName', 'Corvala Demo');
  SetRegStr64(key + 'DisplayVersion', GetAppVersion());
  SetRegStr64(key + 'Publisher', 'Corvala');
  SetRegStr64(key + 'InstallLocation', RemoveEndBS(dir));
  SetRegStr64(key + 'UninstallString', '"' + dir + 'uninstall.exe"');
  SetRegStr64(key + 'QuietUninstallString', '"' + dir + 'uninstall.exe" /S');
  SetRegInt64(key + 'EstimatedSize', 64);
  SetRegStr('HKLM/SOFTWARE/Corvala Demo/InstallPath', dir);
}

void OnSuccess() {
  string dir = GetInstallPath();
  Register(dir);
  CreateShortcut(COMMON_PROGRAMS + '/Corvala Demo.lnk', dir + 'demo.exe', '', 'Corvala Demo');
  CreateShortcut(COMMON_DESKTOPDIRECTORY + '/Corvala Demo.lnk', dir + 'demo.exe', '',
                 'Corvala Demo');
  print('installed Corvala Demo ' + GetAppVersion());
  if (GetCommandLine() == '/S') {
    DoExit(0);
    return;
  }
  HideWindow();
  CheckVersionAsync('version.ini', 'Version', 'Build', GetIniStr(dir + 'demo.ini', 'Update', 'url'),
                    'Version', 'Build');
}

void OnCheckVersion(int remote, int local) {
  if (remote > local) print('a newer build is available: ' + remote);
  else print('this is the newest build');
  DoExit(0);
}

void OnFailed(string error) {
  print('failed: ' + error);
  DoExit(1);
}

SetEventHandler(SKINEVENT_ONINIT, 'OnInit();');
