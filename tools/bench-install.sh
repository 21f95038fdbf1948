#!/usr/bin/env bash
# The silent-install benchmark: the same deterministic payload (about 60 MiB in 2,000 files)
# installed under the same Wine by Qorin ("/S") and by NSIS 3 (SetCompressor /SOLID lzma,
# "/S"), and extracted natively by "7zz x" from the archive that Qorin carries. Each is run
# RUNS times (default 5) into an empty folder; the medians and the ratios are printed, and the
# peak memory (resident set, Wine's own included) of one more silent install by each.
#
#   tools/bench-install.sh [RUNS]
#
# Builds what it needs (the win32 stub; the x64 stub in a 64-bit prefix on a host without 32-bit
# code, where the 32-bit NSIS installer cannot run and only 7zz is compared).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
runs=${1:-5}
. tools/host.sh
qorin_host_known
tools/bootstrap.sh
qorin_host_settle >/dev/null
preset=win32
[ "$QORIN_HOST_32BIT" = yes ] || preset=win64
build=build/$preset
work=$build/bench
export QORIN_WINE_HOME="$root/$build/wine" QORIN_WINE_ARCH=$preset
wine_run() { QORIN_WINE_TIMEOUT=600 tests/wine/run-wine.sh "$@"; }
drive_c="$QORIN_WINE_HOME/prefix/drive_c"

cmake --preset native >/dev/null && cmake --build --preset native -j "$(nproc)" --target qorin >/dev/null
cmake --preset $preset >/dev/null
cmake --build --preset $preset -j "$(nproc)" --target qorin-stub >/dev/null

rm -rf "$work" && mkdir -p "$work/data/lang"
python3 tools/bench/make_payload.py "$work/payload"
echo "packing the payload with 7zz as qorin pack does (LZMA2, -mx=9, solid blocks of 16 MiB)"
(cd "$work/payload" && 7zz a -t7z -mx=9 -ms=16m -bd -bso0 -bsp0 ../payload.7z .)

# The Qorin package: a silent install into C:\bench\qorin.
u16() { printf '\xff\xfe' >"$1"; printf '%s' "$2" | iconv -f UTF-8 -t UTF-16LE >>"$1"; }
u16 "$work/data/setup.ini" $'[config]\r\nname_eng = QorinBench\r\ntitle = Qorin Bench\r\nskin_file_name = skin.xml\r\nlang_folder = lang\r\ninst_path = C:\\bench\\qorin\r\n'
u16 "$work/data/lang/English.ini" $'[INSTALLER]\r\nLANG_NAME = English\r\n'
cat >"$work/data/skin.xml" <<'XML'
<XSkin><Head/><Body/><?script
void OnInit() { ShowMainWindow(0); StartInstall(); }
void OnSuccess() { DoExit(0); }
void OnFailed(string e) { DoExit(1); }
SetEventHandler(SKINEVENT_ONINIT, 'OnInit();'); ?></XSkin>
XML
build/native/qorin pack --stub $build/qorin-stub.exe --data "$work/data" --config setup.ini \
  --payload "$work/payload.7z" -o "$work/qorin-setup.exe" >/dev/null

# The NSIS installer of the same files.
cat >"$work/bench.nsi" <<'NSI'
SetCompressor /SOLID lzma
Name "NSIS Bench"
OutFile "nsis-setup.exe"
InstallDir "C:\bench\nsis"
RequestExecutionLevel admin
SilentInstall silent
Section
  SetOutPath "$INSTDIR"
  File /r "payload\*.*"
SectionEnd
NSI
echo "packing the payload with makensis"
(cd "$work" && makensis -V1 bench.nsi)

now() { date +%s%N; }
median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
time_runs() {  # name, clean-up, command...
  local name=$1 clean=$2
  shift 2
  local i start
  for i in $(seq "$runs"); do
    rm -rf "$clean"
    start=$(now)
    "$@" >/dev/null 2>&1
    echo $((($(now) - start) / 1000000))
  done | median >"$work/$name.ms"
  echo "$name: median $(cat "$work/$name.ms") ms of $runs runs"
}

# The peak resident set of a command and its children, in MiB.
peak_mib() {
  python3 -c 'import resource, subprocess, sys
subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss // 1024)' "$@"
}

wine_run cmd /c exit >/dev/null 2>&1 || true  # the session is up before the first timing
nsis=yes
[ "$QORIN_HOST_32BIT" = yes ] || nsis=no
time_runs qorin "$drive_c/bench/qorin" wine_run "$work/qorin-setup.exe" /S
[ $nsis = no ] || time_runs nsis "$drive_c/bench/nsis" wine_run "$work/nsis-setup.exe" /S
time_runs 7zz "$work/7zz-out" 7zz x -y -bd -bso0 -o"$work/7zz-out" "$work/payload.7z"
rm -rf "$drive_c/bench/qorin"
echo "peak memory of a silent install: qorin $(peak_mib tests/wine/run-wine.sh "$work/qorin-setup.exe" /S) MiB" \
  "(the $preset stub, Wine included)"
if [ $nsis = yes ]; then
  rm -rf "$drive_c/bench/nsis"
  echo "peak memory of a silent install: nsis $(peak_mib tests/wine/run-wine.sh "$work/nsis-setup.exe" /S) MiB"
else
  echo "nsis: not run (its installer is a 32-bit program; this host runs no 32-bit code)"
fi

files() { (cd "$1" && find . -type f | wc -l); }
echo "files installed: qorin $(files "$drive_c/bench/qorin"), 7zz $(files "$work/7zz-out")"
cmp -s <(cd "$drive_c/bench/qorin" && find . -type f -exec md5sum {} + | sort -k2) \
  <(cd "$work/7zz-out" && find . -type f -exec md5sum {} + | sort -k2) &&
  echo "qorin's files are identical to 7zz's" || echo "qorin's files DIFFER from 7zz's"
awk -v q="$(cat "$work/qorin.ms")" -v z="$(cat "$work/7zz.ms")" \
  'BEGIN { printf "ratio: qorin/7zz %.2f (target <= 1.50)\n", q / z }'
[ $nsis = no ] || awk -v q="$(cat "$work/qorin.ms")" -v n="$(cat "$work/nsis.ms")" \
  'BEGIN { printf "ratio: qorin/nsis %.2f (target <= 1.00)\n", q / n }'
tests/wine/wine-session.sh stop "$QORIN_WINE_HOME" >/dev/null 2>&1 || true
