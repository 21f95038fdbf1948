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
# has as long as the packages install from them, and otherwise names the index that failed. A
# stale i386 index alone is worked around: the i386 halves it lacks come from the archive's pool.
#
#   QORIN_CACHE        where downloads are kept (default ~/.cache/qorin)
#   QORIN_HOST_32BIT   yes or no: whether to install the i386 packages (decided when unset)
set -euo pipefail

cache=${QORIN_CACHE:-$HOME/.cache/qorin}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=tools/host.sh
. "$here/host.sh"

packages=(
  cmake make g++ clang lld llvm libclang-rt-14-dev clang-format
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
  install_i386_with_twins $need && return 0
  log "the i386 packages did not install; the tests will skip what needs them"
  [ -z "$failed_indexes" ] || log "failed indexes: $(echo $failed_indexes)"
}

# i386 packages the install needs (Multi-Arch: same) whose amd64 half is installed at a version
# the i386 indexes do not list: a stale i386 index (the security suite syncs last) lags the amd64
# one, and the two halves of such a pair must match. Prints "name version".
i386_twins_missing() {
  local p base v cand
  for p in $(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
    --no-replaces --no-enhances "$@" 2>/dev/null | grep -E '^[a-z0-9][^ ]*:i386$' | sort -u); do
    base=${p%:i386}
    v=$(dpkg-query -W -f='${Version}' "$base:amd64" 2>/dev/null) || continue
    [ -n "$v" ] || continue
    [ "$(dpkg-query -W -f='${Version}' "$p" 2>/dev/null)" != "$v" ] || continue
    # (no grep -q: under pipefail its early exit would fail the pipe)
    [ -z "$(apt-cache show "$p=$v" 2>/dev/null)" ] || continue
    # An older amd64 half is upgraded with its twin as usual.
    cand=$(apt-cache policy "$p" 2>/dev/null | sed -n 's/^ *Candidate: //p')
    [ "$cand" = "(none)" ] || ! dpkg --compare-versions "$cand" gt "$v" || continue
    apt-cache show "$base:amd64=$v" 2>/dev/null | grep '^Multi-Arch: same' >/dev/null || continue
    echo "$base $v"
  done
}

# Takes each missing twin from the pool its amd64 half came from (pools are complete while an
# index syncs) and installs the i386 packages with them; nothing is removed or downgraded.
install_i386_with_twins() {
  local dir name v uri rc=0
  dir=$(mktemp -d)
  chmod 755 "$dir"
  while read -r name v; do
    [ -n "$name" ] || continue
    uri=$(apt-get download --print-uris "$name:amd64=$v" 2>/dev/null | sed -n "s/^'\([^']*\)_amd64\.deb'.*/\1_i386.deb/p")
    [ -n "$uri" ] || continue
    log "taking $name:i386 $v from the pool ($uri)"
    /usr/lib/apt/apt-helper download-file "$uri" "$dir/${name}_i386.deb" >/dev/null 2>&1 || rc=1
  done < <(i386_twins_missing "$@")
  if [ $rc = 0 ] && ls "$dir"/*.deb >/dev/null 2>&1; then
    apt_install --no-remove "$dir"/*.deb "$@" || rc=1
  else
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
