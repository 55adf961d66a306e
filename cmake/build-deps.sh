#!/usr/bin/env bash
# Builds the cross builds' third-party code once per machine into a cache
# folder outside the source tree, and reuses it on every later call:
#   <cache>/<target>/include, lib   json-c (static), GoogleTest (static; the
#                                   builds that run tests: mingw-x64, linux-i686)
#   <cache>/<target>/sqlite         the SQLite amalgamation (sqlite3.c, .h)
# Usage: cmake/build-deps.sh [mingw-i686] [mingw-x64] [linux-i686]
#        (default: the two Windows targets)
# The cache is $PCW_CACHE, else $HOME/.cache/pushcenterwrapper. Sources come
# from Debian's source packages; fetching them needs root once, to add a
# deb-src entry beside (never inside) the system's own source list.
set -euo pipefail

src_root=$(cd "$(dirname "$0")/.." && pwd)
cache=${PCW_CACHE:-$HOME/.cache/pushcenterwrapper}
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(mingw-i686 mingw-x64)
jobs=${PCW_JOBS:-2}

mkdir -p "$cache/src"
# Several checkouts may share the cache: one builder at a time.
exec 9>"$cache/.lock"
flock 9

log() { echo "build-deps: $*"; }

# A deb-src entry with the URIs, suites and components of the system's own
# Debian source list, in a file of its own.
ensure_deb_src() {
  if grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    return
  fi
  local out=/etc/apt/sources.list.d/pushcenterwrapper-deb-src.sources
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed -E 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources > "$out.tmp"
  elif [ -f /etc/apt/sources.list ]; then
    sed -nE 's/^deb[[:space:]]+(\[[^]]*\][[:space:]]+)?/deb-src \1/p' /etc/apt/sources.list \
      > "${out%.sources}.list.tmp"
    out=${out%.sources}.list
  else
    echo "build-deps: no Debian source list found to copy" >&2
    exit 1
  fi
  mv "$out.tmp" "$out"
  log "added $out"
  apt-get update -qq
}

# Unpacks Debian's source package <name> into $cache/src/<name>, once.
fetch_source() {
  local name=$1 dir="$cache/src/$1"
  if [ -f "$dir/.unpacked" ]; then
    return
  fi
  ensure_deb_src
  rm -rf "$dir" && mkdir -p "$dir"
  (cd "$dir" && apt-get source -qq "$name" >/dev/null 2>&1) \
    || { echo "build-deps: apt-get source $name failed" >&2; exit 1; }
  local tree
  tree=$(find "$dir" -mindepth 1 -maxdepth 1 -type d | head -n1)
  ln -sfn "$tree" "$dir/tree"
  touch "$dir/.unpacked"
}

toolchain() { echo "$src_root/cmake/toolchain-$1.cmake"; }

# A part is rebuilt when the toolchain that built it changed.
stamp_key() { sha1sum "$(toolchain "$1")" | cut -d' ' -f1; }
is_built() { [ "$(cat "$cache/$1/.$2" 2>/dev/null)" = "$(stamp_key "$1")" ]; }
mark_built() { stamp_key "$1" > "$cache/$1/.$2"; }

build_jsonc() {
  local target=$1 prefix="$cache/$1"
  is_built "$target" jsonc && return
  fetch_source json-c
  log "json-c for $target"
  local bdir="$cache/build/$target/json-c"
  rm -rf "$bdir" && mkdir -p "$bdir"
  cmake -S "$cache/src/json-c/tree" -B "$bdir" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$(toolchain "$target")" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF -DBUILD_STATIC_LIBS=ON \
    -DBUILD_TESTING=OFF -DDISABLE_WERROR=ON -DBUILD_APPS=OFF >"$bdir.log" 2>&1 \
    || { cat "$bdir.log"; exit 1; }
  cmake --build "$bdir" -j "$jobs" >>"$bdir.log" 2>&1 || { cat "$bdir.log"; exit 1; }
  cmake --install "$bdir" >>"$bdir.log" 2>&1 || { cat "$bdir.log"; exit 1; }
  mark_built "$target" jsonc
}

# The amalgamation is the same for every target: made once with the host's
# compiler, then copied beside each target's other dependencies.
build_sqlite() {
  local target=$1 prefix="$cache/$1"
  [ -f "$prefix/.sqlite" ] && return
  local amal="$cache/src/sqlite-amalgamation"
  if [ ! -f "$amal/sqlite3.c" ]; then
    fetch_source sqlite3
    log "SQLite amalgamation"
    local bdir="$cache/build/sqlite3"
    rm -rf "$bdir" && mkdir -p "$bdir"
    (cd "$bdir" && "$cache/src/sqlite3/tree/configure" >configure.log 2>&1 \
      && make -j "$jobs" sqlite3.c >make.log 2>&1) \
      || { cat "$bdir"/*.log; exit 1; }
    mkdir -p "$amal"
    cp "$bdir/sqlite3.c" "$bdir/sqlite3.h" "$amal/"
  fi
  mkdir -p "$prefix/sqlite"
  cp "$amal/sqlite3.c" "$amal/sqlite3.h" "$prefix/sqlite/"
  touch "$prefix/.sqlite"
}

build_gtest() {
  local target=$1 prefix="$cache/$1"
  is_built "$target" gtest && return
  log "GoogleTest for $target"
  local bdir="$cache/build/$target/googletest"
  rm -rf "$bdir" && mkdir -p "$bdir"
  cmake -S /usr/src/googletest -B "$bdir" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$(toolchain "$target")" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON \
    -DBUILD_SHARED_LIBS=OFF >"$bdir.log" 2>&1 || { cat "$bdir.log"; exit 1; }
  cmake --build "$bdir" -j "$jobs" >>"$bdir.log" 2>&1 || { cat "$bdir.log"; exit 1; }
  cmake --install "$bdir" >>"$bdir.log" 2>&1 || { cat "$bdir.log"; exit 1; }
  mark_built "$target" gtest
}

for target in "${targets[@]}"; do
  case $target in
    mingw-i686) build_jsonc "$target"; build_sqlite "$target" ;;
    mingw-x64|linux-i686) build_jsonc "$target"; build_sqlite "$target"; build_gtest "$target" ;;
    *) echo "build-deps: unknown target $target" >&2; exit 2 ;;
  esac
done
log "ready in $cache"
