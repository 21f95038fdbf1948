# Sourced by the README's commands: does this host run 32-bit (i386) code?
#
#   qorin_host_decide   sets and exports QORIN_HOST_32BIT (yes or no) and prints one line saying so
#   qorin_host_settle   after the bootstrap: a host that runs 32-bit code but whose i386 packages
#                       did not install counts as one without
#
# QORIN_HOST_32BIT=yes|no set beforehand forces the answer (QORIN_HOST_32BIT=no exercises the
# 64-bit-only path on any host). Otherwise a tiny i386 program is run: some kernels run no 32-bit
# user code at all ("Exec format error"), and then neither Wine's 32-bit loader nor gcc -m32
# programs can run.
#
# QORIN_HOST_WHY tells why, for the summary lines.

# The packages that only a host running 32-bit code needs: gcc -m32 with its sanitizers and
# zlib, Wine's 32-bit side.
qorin_i386_packages=(g++-multilib lib32asan8 lib32ubsan1 zlib1g-dev:i386 wine32:i386)

# A static i386 ELF of 96 bytes that only calls exit(7): no compiler or library needed.
qorin_host_probe() {
  local dir probe
  dir=$(mktemp -d) || return 1
  probe=$dir/probe-i386
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' >"$probe"
  printf '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' >>"$probe"
  printf '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00' >>"$probe"
  printf '\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08' >>"$probe"
  printf '\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00' >>"$probe"
  printf '\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x07\x00\x00\x00\xcd\x80' >>"$probe"
  chmod +x "$probe"
  local status=0
  "$probe" 2>/dev/null || status=$?
  rm -rf "$dir"
  [ "$status" -eq 7 ]
}

# QORIN_HOST_32BIT as given, else from the probe; nothing printed.
qorin_host_known() {
  [ -n "${QORIN_HOST_32BIT:-}" ] && return 0
  if qorin_host_probe; then QORIN_HOST_32BIT=yes; else QORIN_HOST_32BIT=no; fi
  QORIN_HOST_WHY="an i386 program was run"
  export QORIN_HOST_32BIT QORIN_HOST_WHY
}

qorin_host_decide() {
  case ${QORIN_HOST_32BIT:-} in
    yes | no) QORIN_HOST_WHY="forced by QORIN_HOST_32BIT=$QORIN_HOST_32BIT" ;;
    "") qorin_host_known ;;
    *)
      echo "host: QORIN_HOST_32BIT must be yes or no, not '$QORIN_HOST_32BIT'" >&2
      return 2
      ;;
  esac
  export QORIN_HOST_32BIT QORIN_HOST_WHY
  if [ "$QORIN_HOST_32BIT" = yes ]; then
    echo "host: runs 32-bit code ($QORIN_HOST_WHY): win32 and win64 stubs, all tests"
  else
    echo "host: no 32-bit code ($QORIN_HOST_WHY): the x64 stub runs, the 32-bit one is only built"
  fi
}

qorin_host_settle() {
  [ "$QORIN_HOST_32BIT" = yes ] || return 0
  local p
  for p in "${qorin_i386_packages[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' && continue
    QORIN_HOST_32BIT=no
    QORIN_HOST_WHY="its i386 package $p is not installed"
    export QORIN_HOST_32BIT QORIN_HOST_WHY
    echo "host: going on as a host without 32-bit code: $QORIN_HOST_WHY"
    return 0
  done
}

# The Windows build whose programs run here: win32, or win64 where no 32-bit code runs.
qorin_host_preset() {
  qorin_host_known
  qorin_host_settle >/dev/null
  if [ "$QORIN_HOST_32BIT" = yes ]; then echo win32; else echo win64; fi
}
