#!/usr/bin/env bash
# Installs everything the build and the tests need on Debian 12, and fetches the LZMA SDK sources
# (the C/ folder of Debian's 7zip source package) into a download cache. Safe to run again: when
# everything is present it does nothing and returns at once.
#
#   QORIN_CACHE   where downloads are kept (default ~/.cache/qorin)
set -euo pipefail

cache=${QORIN_CACHE:-$HOME/.cache/qorin}

packages=(
  cmake make g++ clang libclang-rt-14-dev clang-format
  googletest libgtest-dev libbenchmark-dev zlib1g-dev libpng-dev libpugixml-dev
  g++-mingw-w64-i686 mingw-w64-i686-dev libz-mingw-w64-dev
  g++-multilib lib32asan8 lib32ubsan1 zlib1g-dev:i386
  wine wine32:i386 wine64 xvfb xauth nsis
  osslsigncode 7zip imagemagick xz-utils ca-certificates lua5.4 python3-py7zr locales
  fonts-nanum
)

# The host locales Wine takes a user interface language from (previews in Korean and Hebrew).
locales=(ko_KR.UTF-8 he_IL.UTF-8)

log() { printf 'bootstrap: %s\n' "$*" >&2; }

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing_packages() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || echo "$p"
  done
}

# deb-src entries mirroring the archive the machine already uses, in a file of their own.
add_source_entries() {
  local out=/etc/apt/sources.list.d/qorin-src.sources
  local legacy=/etc/apt/sources.list.d/qorin-src.list
  [ -e "$out" ] || [ -e "$legacy" ] && return 0
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -e "$f" ] || continue
    grep -q 'deb.debian.org\|debian' "$f" || continue
    # Keep only the stanzas of type "deb" and turn them into "deb-src".
    awk 'BEGIN{RS=""; ORS="\n\n"} /(^|\n)Types:[ \t]*deb([ \t]|\n|$)/ {sub(/Types:[ \t]*deb/, "Types: deb-src"); print}' \
      "$f" | as_root tee "$out" >/dev/null
    [ -s "$out" ] && return 0
  done
  if [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list | as_root tee "$legacy" >/dev/null
    return 0
  fi
  log "no Debian archive found in the apt sources; cannot add deb-src entries"
  return 1
}

lzma_tarball() {
  ls "$cache"/7zip_*.orig.tar.* 2>/dev/null | head -n 1
}

fetch_lzma_sources() {
  [ -n "$(lzma_tarball)" ] && return 0
  add_source_entries
  as_root apt-get update -qq
  mkdir -p "$cache"
  log "downloading the 7zip source package into $cache"
  (cd "$cache" && apt-get source --download-only -qq 7zip)
  [ -n "$(lzma_tarball)" ] || { log "apt-get source 7zip gave no orig tarball"; return 1; }
}

add_locales() {
  local l missing=0
  for l in "${locales[@]}"; do
    locale -a 2>/dev/null | grep -qix "${l/UTF-8/utf8}" && continue
    grep -qx "$l UTF-8" /etc/locale.gen 2>/dev/null || echo "$l UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
    missing=1
  done
  [ $missing = 0 ] || as_root locale-gen >/dev/null
}

main() {
  local need
  need=$(missing_packages)
  if [ -n "$need" ]; then
    log "installing: $(echo $need | tr '\n' ' ')"
    dpkg --print-foreign-architectures | grep -qx i386 || as_root dpkg --add-architecture i386
    as_root apt-get update -qq
    # shellcheck disable=SC2086
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $need >/dev/null
  fi
  add_locales
  fetch_lzma_sources
  log "ok ($(lzma_tarball))"
}

main "$@"
