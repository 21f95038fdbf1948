# What the Corvala Demo leaves in a Wine prefix, shared by tools/run-demo.sh and the silent
# contract's test: sourced with build (a build folder), home (a session's home) and arch (win32 or
# win64) set and wine_run defined. Sets stub (x86 or x64), installed (the Windows path of the
# product's folder) and drive_c, and defines snapshot.

# The machine field of the stub's PE header: 8664 for x64, 14c for i386.
stub_machine() {
  local pe
  pe=$(od -An -tu4 -j 60 -N 4 "$1" | tr -d ' ')
  od -An -tx2 -j $((pe + 4)) -N 2 "$1" | tr -d ' '
}
stub=x86
[ "$(stub_machine "$build/qorin-stub.exe")" = 8664 ] && stub=x64

program_files='C:\Program Files'
[ "$arch" = win64 ] && [ $stub = x86 ] && program_files='C:\Program Files (x86)'
installed="$program_files\\Corvala Demo"
drive_c="$home/prefix/drive_c"

# Everything of the product in the prefix, one line each.
snapshot() {
  (cd "$drive_c" && find "Program Files" "Program Files (x86)" \
    "ProgramData/Microsoft/Windows/Start Menu" users/Public/Desktop users/*/AppData/Roaming \
    -ipath '*corvala*' 2>/dev/null | sort | sed 's|^|  file: |') || true
  local entry key view
  for entry in 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\CorvalaDemo|/reg:64' \
    'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\CorvalaDemo|/reg:32' \
    'HKLM\SOFTWARE\Corvala Demo|/reg:32' 'HKLM\SOFTWARE\Corvala Demo|/reg:64' \
    'HKCU\Software\Corvala Demo|/reg:32'; do
    key=${entry%|*} view=${entry#*|}
    QORIN_WINE_TIMEOUT=30 wine_run reg query "$key" /s "$view" 2>/dev/null | tr -d '\r' |
      K="$key $view" awk '/^    /{sub(/^ +/, ""); print "  reg: " ENVIRON["K"] ": " $0}' || true
  done
}
