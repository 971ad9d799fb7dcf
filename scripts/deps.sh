#!/usr/bin/env bash
# Cross-builds the third-party static libraries (MinGW-w64, posix threads; i686, or x86_64 with
# KV_ARCH=x86_64) from Debian source packages into a cache, once per Debian version.
#
#   bash scripts/deps.sh        # or: source scripts/deps.sh (sets KV_DEPS_FILE)
#
# Cache: ${KETROVAL_CACHE:-$HOME/.cache/ketroval2}
#   deps/<name>-<version>/    install prefix (deps-x86_64/ for the 64-bit build) (include/, lib/), .kv-stamp on success,
#                             licence/ with the source's licence files (the about box shows them)
#   deps/deps.cmake           KV_*_ROOT for the main build (-DKV_DEPS_FILE=...)
#   src/, logs/               scratch sources and per-library build logs

# shellcheck disable=SC2317,SC2034  # builders and expect_* are used indirectly
# The body runs in a subshell so that sourcing never leaks `set -e` or exits
# the caller's shell.
kv_deps_main() (
  set -euo pipefail

  CACHE=${KETROVAL_CACHE:-$HOME/.cache/ketroval2}
  ARCH=${KV_ARCH:-i686}
  case $ARCH in
  i686) suffix="" ;;
  x86_64) suffix=-x86_64 ;;
  *) echo "deps: unknown KV_ARCH $ARCH" >&2; exit 1 ;;
  esac
  DEPS=$CACHE/deps$suffix
  SRC=$CACHE/src$suffix
  LOGS=$CACHE/logs$suffix
  JOBS=$(nproc)
  HOST=$ARCH-w64-mingw32
  XCC=$HOST-gcc-posix
  XCXX=$HOST-g++-posix
  APT_UPDATED=0
  RC=0

  mkdir -p "$DEPS" "$SRC" "$LOGS"

  say() { printf 'deps: %s\n' "$*"; }
  die() { printf 'deps: error: %s\n' "$*" >&2; exit 1; }
  fail_log() { # log, what
    printf 'deps: %s FAILED, last lines of %s:\n' "$2" "$1" >&2
    tail -n 30 "$1" | cut -c1-400 >&2 || true
    exit 1
  }

  # Runs "$@" with errexit in a subshell, output to a log; status in RC.
  # Never call it from an if/||/&& context: bash would silently drop errexit.
  run_logged() {
    local log=$1
    shift
    set +e
    ( set -e; "$@" ) >>"$log" 2>&1
    RC=$?
    set -e
  }

  apt_update() {
    [ "$APT_UPDATED" = 1 ] && return 0
    [ "$(id -u)" = 0 ] || die "apt-get update needs root"
    # A mirror caught mid-sync fails one index; what follows reports what is really missing.
    apt-get update >"$LOGS/apt-update.log" 2>&1 || say "apt-get update reported errors (see $LOGS/apt-update.log); going on"
    APT_UPDATED=1
  }

  ensure_packages() {
    # perl-base alone lacks modules OpenSSL's Configure uses, so ask for perl.
    local arch=${ARCH//_/-}
    local pkgs=(gcc-mingw-w64-$arch-posix g++-mingw-w64-$arch-posix binutils-mingw-w64-$arch
      dpkg-dev cmake make perl xz-utils util-linux googletest)
    local missing=() p
    for p in "${pkgs[@]}"; do
      dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
    done
    ((${#missing[@]})) || return 0
    [ "$(id -u)" = 0 ] || die "missing packages (install as root): ${missing[*]}"
    apt_update
    say "installing ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}" \
      >"$LOGS/apt-install.log" 2>&1 || fail_log "$LOGS/apt-install.log" "apt-get install"
  }

  # Source versions of a package known to apt, newest first.
  src_versions() {
    local -a v
    mapfile -t v < <(apt-cache showsrc "$1" 2>/dev/null |
      awk -v p="$1" '/^Package:/ { ok = ($2 == p) } ok && /^Version:/ { print $2 }' | sort -u)
    ((${#v[@]})) || return 0
    local i j t
    for ((i = 1; i < ${#v[@]}; i++)); do
      for ((j = i; j > 0; j--)); do
        dpkg --compare-versions "${v[j]}" gt "${v[j - 1]}" || break
        t=${v[j]} v[j]=${v[j - 1]} v[j - 1]=$t
      done
    done
    printf '%s\n' "${v[@]}"
  }

  ensure_deb_src() {
    [ -n "$(src_versions libonig)" ] && return 0
    [ "$(id -u)" = 0 ] || die "no Debian source packages known to apt; enable deb-src (needs root)"
    if ! grep -rqsE '^(Types:.*deb-src|deb-src[[:space:]])' /etc/apt/sources.list /etc/apt/sources.list.d/; then
      if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        sed -i -E 's/^Types:[[:space:]]*deb[[:space:]]*$/Types: deb deb-src/' /etc/apt/sources.list.d/debian.sources
      elif [ -f /etc/apt/sources.list ]; then
        sed -n -E 's/^deb[[:space:]]+(.*)/deb-src \1/p' /etc/apt/sources.list >/etc/apt/sources.list.d/ketroval-deb-src.list
      fi
      say "enabled deb-src"
    fi
    APT_UPDATED=0
    apt_update
    [ -n "$(src_versions libonig)" ] || die "apt still knows no source packages after enabling deb-src"
  }

  # Epochs ("1:") are dropped from paths, as Debian's own file names do.
  prefix_of() { printf '%s/%s-%s' "$DEPS" "$1" "${2#*:}"; }

  is_built() { # name, version, recipe
    local stamp
    stamp="$(prefix_of "$1" "$2")/.kv-stamp"
    [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$3" ]
  }

  write_toolchain() { # file
    cat >"$1" <<EOF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR $ARCH)
set(CMAKE_C_COMPILER $XCC)
set(CMAKE_CXX_COMPILER $XCXX)
set(CMAKE_RC_COMPILER $HOST-windres)
set(CMAKE_FIND_ROOT_PATH /usr/$HOST)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF
  }

  # Each builder gets: source dir, install prefix, scratch dir.
  cmake_build() { # src, prefix, work, extra cmake args...
    local src=$1 prefix=$2 work=$3
    shift 3
    write_toolchain "$work/toolchain.cmake"
    # Absolute dirs: libjpeg-turbo re-caches these as PATH, which turns a
    # relative "lib" into one under the current directory.
    cd "$work"
    cmake -S "$src" -B "$work/build" \
      -DCMAKE_TOOLCHAIN_FILE="$work/toolchain.cmake" \
      -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_INSTALL_PREFIX="$prefix" \
      -DCMAKE_INSTALL_LIBDIR="$prefix/lib" \
      -DCMAKE_INSTALL_INCLUDEDIR="$prefix/include" \
      -DBUILD_SHARED_LIBS=OFF "$@"
    cmake --build "$work/build" -j "$JOBS"
    cmake --install "$work/build"
  }

  build_onig() {
    # Consumers must define ONIG_STATIC (the installed CMake config does so).
    cmake_build "$1" "$2" "$3" -DINSTALL_DOCUMENTATION=OFF -DINSTALL_EXAMPLES=OFF
  }

  build_jpeg() {
    # SIMD would need nasm; the default (no WITH_JPEG7/8) is the 6b API.
    cmake_build "$1" "$2" "$3" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
      -DWITH_SIMD=OFF -DWITH_JPEG8=OFF -DWITH_TURBOJPEG=OFF
  }

  build_openssl() {
    cd "$1"
    # Debian's pic.patch makes the x86 assembler ELF-only (GOT relocations);
    # COFF can't represent them, so drop it and keep the asm.
    if [ -f debian/patches/pic.patch ]; then
      patch -R -p1 <debian/patches/pic.patch
    fi
    # CC=gcc-posix gets the cross prefix prepended: same compiler as the rest,
    # whatever the i686-w64-mingw32-gcc alternative points to.
    # openssldir: upstream's Windows default, an admin-only folder; the default
    # under --prefix would be a cache path that any user could create on C:.
    local target=mingw
    [ "$ARCH" = i686 ] || target=mingw64
    ./Configure $target no-shared no-tests --cross-compile-prefix="$HOST-" \
      --prefix="$2" --libdir=lib --openssldir="C:/Program Files (x86)/Common Files/SSL" \
      CC=gcc-posix
    make -j"$JOBS" build_libs
    make install_dev
  }

  build_gtest() {
    # No pthread: on MinGW gtest uses Win32 locks either way, and this keeps the
    # library built with the same GTEST_HAS_PTHREAD (0) that consumers get.
    cmake_build /usr/src/googletest "$2" "$3" -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON \
      -Dgtest_disable_pthreads=ON
  }

  # Files each prefix must hold, checked before stamping.
  expect_onig=(include/oniguruma.h lib/libonig.a)
  expect_jpeg=(include/jpeglib.h include/jconfig.h lib/libjpeg.a)
  expect_openssl=(include/openssl/ssl.h lib/libssl.a lib/libcrypto.a)
  expect_gtest=(include/gtest/gtest.h include/gmock/gmock.h lib/libgtest.a lib/libgtest_main.a
    lib/libgmock.a lib/libgmock_main.a lib/cmake/GTest/GTestConfig.cmake)

  # Licence files of each source, kept in <prefix>/licence/.
  licence_onig=(COPYING)
  licence_jpeg=(LICENSE.md README.ijg)
  licence_openssl=(LICENSE.txt README.md)

  keep_licences() { # name, source dir, prefix
    local -n files="licence_$1"
    local f
    mkdir -p "$3/licence"
    for f in "${files[@]}"; do
      cp "$2/$f" "$3/licence/$f"
    done
  }

  has_licences() { # name, prefix
    local -n files="licence_$1"
    local f
    for f in "${files[@]}"; do
      [ -f "$2/licence/$f" ] || return 1
    done
  }

  # A prefix built before the licences were kept gets them from its own source package; only
  # the licence files are unpacked, the library is not built again.
  add_licences() { # name, source package, version
    local name=$1 pkg=$2 ver=$3 prefix work log=$LOGS/$1-licence.log
    prefix=$(prefix_of "$name" "$ver")
    has_licences "$name" "$prefix" && return 0
    work=$SRC/$name-licence
    rm -rf "${work:?}"
    mkdir -p "$work"
    : >"$log"
    run_logged "$log" fetch_licences "$name" "$pkg" "$ver" "$work" "$prefix"
    [ "$RC" = 0 ] || fail_log "$log" "$name $ver licence files"
    rm -rf "$work"
    say "$(printf '%-8s %-22s licence files added' "$name" "${ver#*:}")"
  }

  fetch_licences() { # name, source package, version, work, prefix
    local -n names="licence_$1"
    local f
    cd "$4"
    apt-get source --download-only "$2=$3"
    local archive
    archive=$(find . -maxdepth 1 -name '*.orig.tar.*' ! -name '*.asc' | head -n 1)
    mkdir src
    for f in "${names[@]}"; do
      tar -xf "$archive" -C src --strip-components=1 --wildcards --no-wildcards-match-slash "*/$f"
    done
    keep_licences "$1" "$4/src" "$5"
  }

  check_prefix() { # name, prefix
    local -n files="expect_$1"
    local f
    for f in "${files[@]}"; do
      [ -f "$2/$f" ] || { echo "missing after install: $2/$f"; return 1; }
    done
  }

  fetch_source() { # pkg, version, work -> unpacked into work/src
    cd "$3"
    apt-get source --download-only "$1=$2"
    dpkg-source -x ./*.dsc src
  }

  finish() { # name, version, recipe, state, seconds
    printf '%s\n' "$3" >"$(prefix_of "$1" "$2")/.kv-stamp"
    say "$(printf '%-8s %-22s %s (%ss)' "$1" "${2#*:}" "$4" "$5")"
    printf '%s' "$2" >"$DEPS/$1.version"
  }

  # Builds one library from the newest Debian source that can be fetched.
  # deps/<name>.pick remembers which version stood in for an unfetchable newest
  # one, so a warm run needs no network.
  lib_from_source() { # name, source package, recipe
    local name=$1 pkg=$2 recipe=$3 log=$LOGS/$1.log t0=$SECONDS
    local -a vers
    mapfile -t vers < <(src_versions "$pkg")
    ((${#vers[@]})) || die "no source versions of $pkg"
    local pick newest=${vers[0]} used
    if [ -f "$DEPS/$name.pick" ]; then
      read -r pick used <"$DEPS/$name.pick" || true
      if [ "$pick" = "$newest" ] && is_built "$name" "$used" "$recipe"; then
        add_licences "$name" "$pkg" "$used"
        finish "$name" "$used" "$recipe" cached $((SECONDS - t0))
        return 0
      fi
    fi
    local ver work prefix
    for _ in 1 2; do
      for ver in "${vers[@]}"; do
        if is_built "$name" "$ver" "$recipe"; then
          add_licences "$name" "$pkg" "$ver"
          printf '%s %s\n' "$newest" "$ver" >"$DEPS/$name.pick"
          finish "$name" "$ver" "$recipe" cached $((SECONDS - t0))
          return 0
        fi
        work=$SRC/$name
        rm -rf "${work:?}"
        mkdir -p "$work"
        : >"$log"
        run_logged "$log" fetch_source "$pkg" "$ver" "$work"
        if [ "$RC" != 0 ]; then
          # e.g. a security suite listing a version whose .dsc answers 404
          printf 'deps: %s %s could not be fetched, trying an older one\n' "$pkg" "$ver" >>"$LOGS/fetch.log"
          cat "$log" >>"$LOGS/fetch.log"
          continue
        fi
        prefix=$(prefix_of "$name" "$ver")
        rm -rf "$prefix"
        mkdir -p "$prefix"
        run_logged "$log" "build_$name" "$work/src" "$prefix" "$work"
        [ "$RC" = 0 ] || fail_log "$log" "$name $ver build"
        check_prefix "$name" "$prefix" >>"$log" || fail_log "$log" "$name $ver install"
        keep_licences "$name" "$work/src" "$prefix" >>"$log" 2>&1 || fail_log "$log" "$name $ver licence files"
        rm -rf "$work"
        printf '%s %s\n' "$newest" "$ver" >"$DEPS/$name.pick"
        finish "$name" "$ver" "$recipe" built $((SECONDS - t0))
        return 0
      done
      # Stale package lists can name files the mirror no longer has.
      [ "$APT_UPDATED" = 1 ] && break
      apt_update
      mapfile -t vers < <(src_versions "$pkg")
    done
    fail_log "$LOGS/fetch.log" "fetching any source of $pkg"
  }

  # GoogleTest comes as source in the installed googletest package.
  lib_gtest() { # recipe
    local name=gtest recipe=$1 log=$LOGS/gtest.log t0=$SECONDS ver prefix work
    ver=$(dpkg-query -W -f='${Version}' googletest)
    if is_built "$name" "$ver" "$recipe"; then
      finish "$name" "$ver" "$recipe" cached $((SECONDS - t0))
      return 0
    fi
    prefix=$(prefix_of "$name" "$ver")
    work=$SRC/$name
    rm -rf "$prefix" "$work"
    mkdir -p "$prefix" "$work"
    : >"$log"
    run_logged "$log" build_gtest "" "$prefix" "$work"
    [ "$RC" = 0 ] || fail_log "$log" "gtest $ver build"
    check_prefix "$name" "$prefix" >>"$log" || fail_log "$log" "gtest $ver install"
    rm -rf "$work"
    finish "$name" "$ver" "$recipe" built $((SECONDS - t0))
  }

  # One run at a time per cache.
  exec 9>"$DEPS/.lock"
  flock 9 || die "cannot lock $DEPS/.lock"

  ensure_packages
  ensure_deb_src

  # Recipe strings go into the stamps: changing one rebuilds that library.
  lib_from_source onig libonig "r2 $XCC static"
  lib_from_source jpeg libjpeg-turbo "r2 $XCC static nosimd jpeg6b"
  lib_from_source openssl openssl "r1 $XCC mingw no-shared no-tests nopic-patch"
  lib_gtest "r2 $XCXX static gmock nopthread"

  local_root() { printf '%s' "$(prefix_of "$1" "$(cat "$DEPS/$1.version")")"; }
  {
    printf '# Written by scripts/deps.sh: static %s MinGW-w64 libraries.\n' "$ARCH"
    printf 'set(KV_OPENSSL_ROOT "%s")\n' "$(local_root openssl)"
    printf 'set(KV_ONIG_ROOT "%s")\n' "$(local_root onig)"
    printf 'set(KV_JPEG_ROOT "%s")\n' "$(local_root jpeg)"
    printf 'set(KV_GTEST_ROOT "%s")\n' "$(local_root gtest)"
    printf '# The licence files the about box shows, from the sources of the libraries above.\n'
    printf 'set(KV_OPENSSL_LICENSE "%s/licence/LICENSE.txt")\n' "$(local_root openssl)"
    printf 'set(KV_OPENSSL_README "%s/licence/README.md")\n' "$(local_root openssl)"
    printf 'set(KV_ONIG_LICENSE "%s/licence/COPYING")\n' "$(local_root onig)"
    printf 'set(KV_JPEG_LICENSE "%s/licence/LICENSE.md")\n' "$(local_root jpeg)"
    printf 'set(KV_JPEG_IJG_README "%s/licence/README.ijg")\n' "$(local_root jpeg)"
  } >"$DEPS/deps.cmake.tmp"
  mv "$DEPS/deps.cmake.tmp" "$DEPS/deps.cmake"
  say "wrote $DEPS/deps.cmake"
)

if [[ "${BASH_SOURCE[0]}" != "$0" ]]; then
  # Sourced: run in a child bash, since calling the function under `if` would
  # switch off its errexit.
  if bash "${BASH_SOURCE[0]}" "$@"; then
    KV_DEPS_FILE="${KETROVAL_CACHE:-$HOME/.cache/ketroval2}/deps$([ "${KV_ARCH:-i686}" = i686 ] || echo "-$KV_ARCH")/deps.cmake"
    export KV_DEPS_FILE
  else
    return 1
  fi
else
  kv_deps_main "$@"
fi
