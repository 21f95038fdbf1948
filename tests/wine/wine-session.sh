#!/usr/bin/env bash
# The Wine session that the Windows tests of one build folder share: a private prefix, one Xvfb
# display and one persistent wineserver.
#
#   wine-session.sh start HOME              create the prefix once, start Xvfb and the wineserver
#   wine-session.sh stop HOME               end both
#   wine-session.sh run HOME PROGRAM [ARG]  run a Windows program in the session (starts it if
#                                           needed), ended after QORIN_WINE_TIMEOUT seconds (120)
#
# Every daemon is detached from the caller's output: one that kept ctest's or CI's stdout open
# would hang the run.
set -euo pipefail

command=${1:?usage: wine-session.sh start|stop|run HOME ...}
home=${2:?usage: wine-session.sh start|stop|run HOME ...}
shift 2
mkdir -p "$home"
home=$(cd "$home" && pwd)

export WINEPREFIX="$home/prefix"
# QORIN_WINE_ARCH=win64 makes a 64-bit prefix (Debian's wine64 beside wine32); each home keeps one.
export WINEARCH=${QORIN_WINE_ARCH:-win32}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

log() { printf 'wine-session: %s\n' "$*" >&2; }

# On a host that runs no 32-bit code, Debian's "wine" script still picks the 32-bit loader
# whenever wine32 is installed, and wineboot and the other tools call "wine-stable" from PATH: both
# names lead to the 64-bit loader here instead.
use_64bit_loader() {
  local bin="$home/bin" name
  mkdir -p "$bin"
  for name in wine wine-stable; do
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$bin/$name"
    chmod +x "$bin/$name"
  done
  export PATH="$bin:$PATH" WINELOADER=/usr/lib/wine/wine64
}
# shellcheck source=tools/host.sh
. "$(dirname "${BASH_SOURCE[0]}")/../../tools/host.sh"
qorin_host_known
if [ "$QORIN_HOST_32BIT" = no ]; then
  [ "$WINEARCH" = win64 ] || { log "a $WINEARCH prefix needs 32-bit code, which this host does not run"; exit 1; }
  use_64bit_loader
fi

# Runs a command with no input or output and without the session's lock (fd 9): the daemons it
# may start would keep either, and a start that failed half-way would block every later one.
detached() { "$@" 9>&- </dev/null >/dev/null 2>&1; }

xvfb_running() {
  [ -s "$home/xvfb.pid" ] && kill -0 "$(cat "$home/xvfb.pid")" 2>/dev/null && [ -s "$home/display" ]
}

start_xvfb() {
  xvfb_running && return 0
  rm -f "$home/display" "$home/xvfb.pid"
  # Detached as above, in the background.
  setsid Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 \
    3>"$home/display" 9>&- </dev/null >/dev/null 2>&1 &
  echo $! >"$home/xvfb.pid"
  local i
  for i in $(seq 100); do
    [ -s "$home/display" ] && return 0
    sleep 0.1
  done
  log "Xvfb did not start"
  return 1
}

use_display() {
  DISPLAY=":$(tr -dc '0-9' <"$home/display")"
  export DISPLAY
}

# What a prefix was made with: one made by the 64-bit loader alone lacks the 32-bit side that
# Debian's "wine" script needs once wine32 is installed ("could not load kernel32.dll").
prefix_kind="$WINEARCH, 32-bit code: $QORIN_HOST_32BIT"
prefix_ready() { [ -f "$home/prefix.ready" ] && [ "$(cat "$home/prefix.ready")" = "$prefix_kind" ]; }

# A prefix is created once per build folder, again when the host's kind changed. wineboot must
# finish (wineserver -w) before the next start, and it runs with the display set, else later
# windows have no driver.
create_prefix() {
  prefix_ready && return 0
  log "creating the Wine prefix in $WINEPREFIX ($prefix_kind)"
  detached timeout 30 wineserver -k || true
  rm -rf "$WINEPREFIX"
  detached timeout 300 wineboot -i
  timeout 120 wineserver -w
  # Unmanaged windows: the window manager's absence would otherwise stall every new window.
  detached timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f
  timeout 120 wineserver -w
  echo "$prefix_kind" >"$home/prefix.ready"
}

start_session() {
  exec 9>"$home/lock"
  flock 9
  start_xvfb
  use_display
  create_prefix
  # wineserver detaches itself; -p keeps it alive between test programs.
  detached timeout 30 wineserver -p || true
  # Bring up Wine's own service processes now, detached: started by a test program instead,
  # they would inherit its output and keep ctest waiting on it after the test ends.
  detached timeout 120 wine cmd /c exit || true
  flock -u 9
}

stop_session() {
  timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
  if [ -s "$home/xvfb.pid" ]; then
    kill "$(cat "$home/xvfb.pid")" 2>/dev/null || true
  fi
  rm -f "$home/xvfb.pid" "$home/display"
}

case "$command" in
  start) start_session ;;
  stop) stop_session ;;
  run)
    [ $# -ge 1 ] || { log "run: no program given"; exit 2; }
    if ! xvfb_running || ! prefix_ready; then start_session; fi
    use_display
    exec timeout -k 10 "${QORIN_WINE_TIMEOUT:-120}" wine "$@" </dev/null
    ;;
  *) log "unknown command '$command'"; exit 2 ;;
esac
