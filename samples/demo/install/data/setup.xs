// Corvala Demo's install script. With the command line exactly "/S" it installs into the
// configured folder at once without any window; with "/auto" it installs at once in its window
// and exits after the version check; otherwise the user chooses the language and presses Next,
// chooses the folder and presses Next, reads the licence and presses Install, watches the
// progress and the list of files written, presses Next and then Finish. On the finish page the
// newest version is asked of the update server named in the product's own configuration
// (demo.ini).
//
// Its exit codes are the ones deployment tools know: 0 installed, 1602 cancelled by the user,
// 1603 failed.
int kInstalled = 0;
int kCancelled = 1602;
int kFailed = 1603;
int finished = 0;
int page = 0;  // 0 welcome, 1 folder, 2 licence, 3 progress, 4 finish
int maximized = 0;

void OnInit() {
  string line = GetCommandLine();
  if (line == '/S') {
    ShowMainWindow(0);
    StartInstall();
    return;
  }
  SetText(EDIT_FOLDER, RemoveEndBS(GetInstallPath()));
  LoadRTF(EDIT_LICENSE, 'license.rtf');
  if (line == '/auto') Install();
}

// The language combo box: the window is built again in the language picked.
void OnComboChanged(int id, string text) {
  if (id != COMBO_LANG) return;
  if (text == '한국어') SetLanguage('Korean');
  else if (text == 'עברית') SetLanguage('Hebrew');
  else SetLanguage('English');
}

void ToggleMaximized() {
  if (maximized == 0) MaximizeWindow();
  else RestoreWindow();
  maximized = 1 - maximized;
}

void Next() {
  if (page == 0) {
    page = 1;
    Hide(PAGE_WELCOME);
    Show(PAGE_FOLDER);
    return;
  }
  if (page == 1) {
    if (SetInstallPath(GetText(EDIT_FOLDER)) == 0) {
      MessageBox(LANG('BAD_FOLDER'));
      return;
    }
    page = 2;
    Hide(PAGE_FOLDER);
    Show(PAGE_LICENSE);
    Hide(BTN_NEXT);
    Show(BTN_INSTALL);
    return;
  }
  if (page == 3) ShowFinishPage();
}

void Browse() {
  string dir = DoSelectFolder(GetText(EDIT_FOLDER), LANG('CHOOSE_FOLDER'));
  if (dir != '') SetText(EDIT_FOLDER, dir);
}

void Install() {
  if (SetInstallPath(GetText(EDIT_FOLDER)) == 0) {
    MessageBox(LANG('BAD_FOLDER'));
    return;
  }
  print('installing into ' + GetInstallPath());
  page = 3;
  Hide(PAGE_WELCOME);
  Hide(PAGE_FOLDER);
  Hide(PAGE_LICENSE);
  Show(PAGE_PROGRESS);
  Hide(BTN_NEXT);
  Disable(BTN_INSTALL);
  Disable(BTN_CANCEL);
  StartInstall();
}

void Cancel() {
  if (finished == 0) DoExit(kCancelled);
  else DoExit(kInstalled);
}

void Finish() {
  DoExit(kInstalled);
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
  SetRegStr64(key + 'DisplayIcon', dir + 'demo.exe,0');
  SetRegInt64(key + 'NoModify', 1);
  SetRegInt64(key + 'NoRepair', 1);
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
    DoExit(kInstalled);
    return;
  }
  finished = 1;
  Hide(BTN_INSTALL);
  Hide(BTN_CANCEL);
  if (GetCommandLine() == '/auto') {
    ShowFinishPage();
    return;
  }
  // The progress page stays with its list of files until the user goes on.
  SetText(STATIC_PROGRESS_TITLE, LANG('INSTALL_DONE'));
  Show(BTN_NEXT);
}

void ShowFinishPage() {
  page = 4;
  Hide(PAGE_PROGRESS);
  Show(PAGE_FINISH);
  Hide(BTN_NEXT);
  Show(BTN_FINISH);
  print('finish page shown');
  string dir = GetInstallPath();
  CheckVersionAsync('version.ini', 'Version', 'Build', GetIniStr(dir + 'demo.ini', 'Update', 'url'),
                    'Version', 'Build');
}

void OnCheckVersion(int remote, int local) {
  if (remote > local) print('a newer build is available: ' + remote);
  else print('this is the newest build');
  if (GetCommandLine() == '/auto') DoExit(kInstalled);
}

void OnFailed(string error) {
  print('failed: ' + error);
  DoExit(kFailed);
}

SetEventHandler(SKINEVENT_ONINIT, 'OnInit();');
