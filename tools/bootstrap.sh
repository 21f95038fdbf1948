#!/usr/bin/env bash
# Installs everything the build and the tests need on Debian 12, and fetches the LZMA SDK sources
# (the C/ folder of Debian's 7zip source package) into a download cache. Safe to run again: when
# everything is present it does nothing and returns at once.
#
# The i386 packages (gcc -m32 with its sanitizers, Wine's 32-bit side) are asked for only where
# the host runs 32-bit code (tools/host.sh); when they cannot be installed the rest still is, and
# the test command then counts the 32-bit runs as skipped.
#
# A package index can be stale for hours ("File has unexpected size ... Mirror sync in
# progress?"): the update is tried a few times, then the bootstrap goes on with the indexes it
# has as long as the packages install from them, and otherwise names the index that failed.
#
#   QORIN_CACHE        where downloads are kept (default ~/.cache/qorin)
#   QORIN_HOST_32BIT   yes or no: whether to install the i386 packages (decided when unset)
set -euo pipefail

cache=${QORIN_CACHE:-$HOME/.cache/qorin}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=tools/host.sh
. "$here/host.sh"

packages=(
  cmake make g++ clang libclang-rt-14-dev clang-format
  googletest libgtest-dev libbenchmark-dev zlib1g-dev libpng-dev libpugixml-dev
  g++-mingw-w64-i686 mingw-w64-i686-dev g++-mingw-w64-x86-64 mingw-w64-x86-64-dev
  libz-mingw-w64-dev
  wine wine64 xvfb xauth nsis
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
  for p in "$@"; do
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
    [ -s "$out" ] && updated=0 && return 0
  done
  if [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list | as_root tee "$legacy" >/dev/null
    updated=0
    return 0
  fi
  log "no Debian archive found in the apt sources; cannot add deb-src entries"
  return 1
}

lzma_tarball() {
  ls "$cache"/7zip_*.orig.tar.* 2>/dev/null | head -n 1
}

# apt-get update, tried three times. It exits 100 when any index failed, yet refreshes the others:
# what failed is kept in $failed_indexes for the messages, and the caller goes on.
updated=0
failed_indexes=""
apt_update() {
  [ $updated = 1 ] && return 0
  updated=1
  local attempt out
  for attempt in 1 2 3; do
    if out=$(as_root apt-get update -qq 2>&1); then
      failed_indexes=""
      return 0
    fi
    failed_indexes=$(grep -o 'Failed to fetch [^ ]*' <<<"$out" | sed 's/^Failed to fetch //' | sort -u)
    [ -n "$failed_indexes" ] || failed_indexes="(apt-get update: $(tail -n 1 <<<"$out"))"
    log "apt-get update failed (attempt $attempt of 3): $(echo $failed_indexes)"
    [ $attempt = 3 ] || sleep $((attempt * 10))
  done
  log "going on with the package indexes at hand"
}

# Stops with what failed and what to do about it.
give_up() {
  log "$1"
  if [ -n "$failed_indexes" ]; then
    log "these package indexes could not be fetched:"
    printf '  %s\n' $failed_indexes >&2
    log "a mirror that is syncing recovers within hours: run the command again later"
  fi
  exit 1
}

apt_install() {
  # shellcheck disable=SC2068
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $@ >/dev/null
}

fetch_lzma_sources() {
  [ -n "$(lzma_tarball)" ] && return 0
  add_source_entries
  apt_update
  mkdir -p "$cache"
  log "downloading the 7zip source package into $cache"
  (cd "$cache" && apt-get source --download-only -qq 7zip) ||
    give_up "apt-get source 7zip failed: the LZMA SDK sources are missing"
  [ -n "$(lzma_tarball)" ] || give_up "apt-get source 7zip gave no orig tarball"
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

install_packages() {
  local need
  need=$(missing_packages "${packages[@]}")
  if [ -n "$need" ]; then
    log "installing: $(echo $need)"
    apt_update
    apt_install $need || give_up "the packages above did not install"
  fi
  [ "$QORIN_HOST_32BIT" = yes ] || return 0
  need=$(missing_packages "${qorin_i386_packages[@]}")
  [ -n "$need" ] || return 0
  log "installing the i386 packages: $(echo $need)"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
    updated=0
  fi
  apt_update
  apt_install $need && return 0
  install_i386_from_fresh_suites $need && return 0
  log "the i386 packages did not install; the tests will skip what needs them"
  [ -z "$failed_indexes" ] || log "failed indexes: $(echo $failed_indexes)"
}

# The suites (bookworm-security, ...) whose indexes the last update could not fetch.
stale_suites() {
  grep -o '/dists/[^/]*/' <<<"$failed_indexes" | cut -d/ -f3 | sort -u
}

# The apt sources without the stale suites, in a folder apt can be pointed at.
write_fresh_sources() {
  local dir=$1 f suite
  local suites
  suites=$(stale_suites)
  for f in /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list /etc/apt/sources.list; do
    [ -f "$f" ] || continue
    cp "$f" "$dir/$(basename "$f" | sed 's/^sources\.list$/main.list/')"
  done
  for suite in $suites; do
    sed -i -E "/^(deb|deb-src) .* $suite( |$)/d; s/^(Suites:.*) $suite( |$)/\1\2/" "$dir"/*
  done
  # A stanza left with no suite is dropped whole.
  for f in "$dir"/*.sources; do
    [ -f "$f" ] || continue
    awk 'BEGIN{RS=""; ORS="\n\n"} !/(^|\n)Suites:[ \t]*(\n|$)/' "$f" >"$f.new" && mv "$f.new" "$f"
  done
}

# An i386 index that stayed stale (the security suite syncs last) leaves the amd64 side newer than
# any i386 build apt sees, and the pairs that must match (Multi-Arch: same) cannot. The i386
# packages then come from the suites that did fetch; their amd64 halves move to those versions,
# which for the kernel headers (read by compilers only, never run) can mean a step back.
install_i386_from_fresh_suites() {
  [ -n "$(stale_suites)" ] || return 1
  local dir opts v rc=0
  dir=$(mktemp -d)
  write_fresh_sources "$dir"
  opts=(-o "Dir::Etc::SourceParts=$dir" -o "Dir::Etc::SourceList=/dev/null")
  log "retrying the i386 packages without the stale suites: $(echo $(stale_suites))"
  if ! apt_install "${opts[@]}" "$@"; then
    v=$(apt-cache "${opts[@]}" policy linux-libc-dev:i386 | sed -n 's/^ *Candidate: //p')
    [ -n "$v" ] && [ "$v" != "(none)" ] &&
      apt_install "${opts[@]}" --allow-downgrades "linux-libc-dev=$v" "linux-libc-dev:i386=$v" "$@" ||
      rc=1
  fi
  rm -rf "$dir"
  return $rc
}

main() {
  [ -n "${QORIN_HOST_32BIT:-}" ] || qorin_host_decide >&2
  install_packages
  add_locales
  fetch_lzma_sources
  log "ok ($(lzma_tarball))"
}

main "$@"
