// The minimal sample's install script. With the command line exactly "/S" it installs at once
// without a window into the configured folder (inst_path); otherwise the window shows and
// Enter starts the install.
void OnInit() {
  if (GetCommandLine() == '/S') {
    ShowMainWindow(0);
    print('silent install into ' + GetInstallPath());
    StartInstall();
  }
}

void OnEnterKey() {
  StartInstall();
}

void OnSuccess() {
  print('installed into ' + GetInstallPath());
  DoExit(0);
}

void OnFailed(string error) {
  print('failed: ' + error);
  DoExit(1);
}

SetEventHandler(SKINEVENT_ONINIT, 'OnInit();');
