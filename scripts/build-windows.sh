#!/usr/bin/env bash
# Cross-builds Quellix for Windows with Debian's mingw-w64 into build-win/ARCH:
#   scripts/build-windows.sh [--arch i686|x86_64] [--gui] [--no-tests] [--wx-only]
# Third-party code comes from Debian only: zlib from libz-mingw-w64-dev, everything else from
# Debian's source packages (apt-get source through a deb-src entry for the archive and suite this
# machine already uses), built once into ~/.cache/quellix-win/ARCH (QUELLIX_WIN_CACHE overrides
# the folder) and reused when present. --gui adds the desktop program (wxWidgets MSW, static);
# --wx-only builds the cached wxWidgets and nothing else. QUELLIX_WIN_JOBS sets the parallel jobs
# (default: one per processor), say 1 to build the toolkit in the background.
# Exit 77 (with one line on stderr) when the toolchain cannot be installed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
arch=i686 gui=OFF tests=ON libsOnly=no
while [ $# -gt 0 ]; do
  case "$1" in
    --arch) arch=$2; shift ;;
    --gui) gui=ON ;;
    --no-tests) tests=OFF ;;
    --wx-only) gui=ON libsOnly=yes ;;
    *) echo "usage: $0 [--arch i686|x86_64] [--gui] [--no-tests] [--wx-only]" >&2; exit 2 ;;
  esac
  shift
done
case "$arch" in i686|x86_64) ;; *) echo "unknown arch $arch" >&2; exit 2 ;; esac
if ! reason=$("$root/scripts/install-windows-deps.sh" 2>&1 | tail -1) \
   || ! command -v "$arch-w64-mingw32-g++-posix" >/dev/null; then
  echo "Windows build skipped: ${reason:-no mingw-w64 toolchain}" >&2
  exit 77
fi

triple=$arch-w64-mingw32
cacheroot=${QUELLIX_WIN_CACHE:-$HOME/.cache/quellix-win}
cache=$cacheroot/$arch
prefix=$cache/prefix
mkdir -p "$cache/src" "$prefix/lib" "$prefix/include"
jobs=${QUELLIX_WIN_JOBS:-$(nproc 2>/dev/null || echo 2)}
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-/work}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

# A private apt configuration whose only source is the deb-src twin of the machine's Debian entry.
aptdir=$cacheroot/apt
apt_options=(-o Dir::Etc::SourceList="$aptdir/sources.list" -o Dir::Etc::SourceParts=/nonexistent
             -o Dir::State::Lists="$aptdir/lists" -o Dir::Cache="$aptdir/cache"
             -o APT::Sandbox::User="$(id -un)" -o DPkg::Lock::Timeout=900)
write_sources() {
  local uri="" suite="" keyring=""
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    if grep -q '^URIs:.*/debian/\?$' "$f"; then
      uri=$(awk '/^URIs:/{print $2; exit}' "$f")
      suite=$(awk '/^Suites:/{print $2; exit}' "$f")
      keyring=$(awk '/^Signed-By:/{print $2; exit}' "$f")
      break
    fi
  done
  if [ -z "$uri" ] && [ -f /etc/apt/sources.list ]; then
    read -r uri suite < <(awk '$1=="deb" && $2 ~ /debian\/?$/ {print $2, $3; exit}' /etc/apt/sources.list)
  fi
  [ -n "$uri" ] || { echo "no Debian entry in the apt sources" >&2; return 1; }
  mkdir -p "$aptdir/lists/partial" "$aptdir/cache/archives/partial"
  echo "deb-src ${keyring:+[signed-by=$keyring] }$uri $suite main" > "$aptdir/sources.list"
  apt-get "${apt_options[@]}" update -qq
}
# Unpacks Debian's source package $1 under $cache/src and prints its folder.
fetch_source() {
  local folder
  folder=$(ls -d "$cache/src/$1"-*/ 2>/dev/null | head -1)
  if [ -z "$folder" ]; then
    [ -s "$aptdir/sources.list" ] || write_sources >&2
    (cd "$cache/src" && apt-get "${apt_options[@]}" source -qq --only-source "$1" >&2)
    folder=$(ls -d "$cache/src/$1"-*/ | head -1)
  fi
  echo "${folder%/}"
}

build_sqlite() {
  [ -f "$prefix/lib/libsqlite3.a" ] && return
  # The amalgamation is generated once with host tools (for every architecture), then compiled.
  local gen=$cacheroot/sqlite-amalgamation
  if [ ! -f "$gen/sqlite3.c" ]; then
    local src; src=$(fetch_source sqlite3)
    mkdir -p "$gen.build"
    (cd "$gen.build" && "$src/configure" --disable-tcl -q > /dev/null && make -s sqlite3.c > /dev/null)
    mkdir -p "$gen" && cp "$gen.build"/sqlite3.[ch] "$gen.build/sqlite3ext.h" "$gen/" && rm -rf "$gen.build"
  fi
  mkdir -p "$cache/sqlite-build"
  "$triple-gcc-posix" -O2 -DSQLITE_THREADSAFE=1 -c "$gen/sqlite3.c" -o "$cache/sqlite-build/sqlite3.o"
  "$triple-ar" rcs "$prefix/lib/libsqlite3.a" "$cache/sqlite-build/sqlite3.o"
  cp "$gen/sqlite3.h" "$gen/sqlite3ext.h" "$prefix/include/"
}

build_sodium() {
  [ -f "$prefix/lib/libsodium.a" ] && return
  local src; src=$(fetch_source libsodium)
  # Debian's libsodium source is the git tree: configure is generated first.
  [ -x "$src/configure" ] || (cd "$src" && autoreconf -fi > /dev/null 2>&1)
  mkdir -p "$cache/sodium-build"
  (cd "$cache/sodium-build" && "$src/configure" -q --host="$triple" --prefix="$prefix" \
     --disable-shared --enable-static --disable-dependency-tracking > /dev/null \
   && make -s -j"$jobs" > /dev/null && make -s install > /dev/null)
}

build_googletest() {
  [ -f "$prefix/lib/libgtest.a" ] && return
  local src; src=$(fetch_source googletest)
  cmake -S "$src" -B "$cache/googletest-build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/MinGW.cmake" -DQUELLIX_WIN_ARCH="$arch" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON > /dev/null
  cmake --build "$cache/googletest-build" -j"$jobs" > /dev/null
  cmake --install "$cache/googletest-build" > /dev/null
}

# libgit2 for the line diff, without network transports. Debian's source leaves out the bundled
# third-party folder, so its regular expressions (pcre2) and http-parser are built from their
# own Debian sources too.
build_libgit2() {
  [ -f "$prefix/lib/libgit2.a" ] && return
  if [ ! -f "$prefix/lib/libpcre2-8.a" ]; then
    cmake -S "$(fetch_source pcre2)" -B "$cache/pcre2-build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/MinGW.cmake" -DQUELLIX_WIN_ARCH="$arch" \
      -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF -DPCRE2_BUILD_PCRE2GREP=OFF \
      -DPCRE2_BUILD_TESTS=OFF -DPCRE2_SUPPORT_LIBREADLINE=OFF -DPCRE2_SUPPORT_LIBZ=OFF \
      -DPCRE2_SUPPORT_LIBBZ2=OFF > /dev/null
    cmake --build "$cache/pcre2-build" -j"$jobs" > /dev/null
    cmake --install "$cache/pcre2-build" > /dev/null
  fi
  if [ ! -f "$prefix/lib/libhttp_parser.a" ]; then
    local hp; hp=$(fetch_source http-parser)
    mkdir -p "$cache/http-parser-build"
    "$triple-gcc-posix" -O2 -c "$hp/http_parser.c" -o "$cache/http-parser-build/http_parser.o"
    "$triple-ar" rcs "$prefix/lib/libhttp_parser.a" "$cache/http-parser-build/http_parser.o"
    cp "$hp/http_parser.h" "$prefix/include/"
  fi
  cmake -S "$(fetch_source libgit2)" -B "$cache/libgit2-build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/MinGW.cmake" -DQUELLIX_WIN_ARCH="$arch" \
    -DQUELLIX_WIN_PREFIX="$prefix" -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_C_FLAGS=-DPCRE2_STATIC \
    -DBUILD_SHARED_LIBS=OFF -DBUILD_TESTS=OFF -DBUILD_CLI=OFF -DUSE_HTTPS=OFF -DUSE_WINHTTP=OFF \
    -DUSE_SSH=OFF -DUSE_GSSAPI=OFF -DUSE_NTLMCLIENT=OFF -DREGEX_BACKEND=pcre2 \
    -DUSE_HTTP_PARSER=system -DUSE_SHA256=Builtin > /dev/null
  cmake --build "$cache/libgit2-build" -j"$jobs" > /dev/null
  cmake --install "$cache/libgit2-build" > /dev/null
}

if [ "$libsOnly" = yes ]; then
  (. "$root/scripts/build-windows-wx.sh")
  exit
fi
build_sqlite
build_sodium
build_libgit2
# Header-only, the same for every platform: Debian's nlohmann-json3-dev.
[ -d "$prefix/include/nlohmann" ] || cp -r /usr/include/nlohmann "$prefix/include/"
if [ "$tests" = ON ]; then build_googletest; fi
# Sourced in a subshell: it uses fetch_source and the folders above.
[ "$gui" = ON ] && (. "$root/scripts/build-windows-wx.sh")
wx=()
[ "$gui" = ON ] && wx=(-DwxWidgets_CONFIG_EXECUTABLE="$prefix/bin/wx-config")

export PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig:/usr/$triple/lib/pkgconfig PKG_CONFIG_PATH=
cmake -S . -B "build-win/$arch" -G Ninja -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/MinGW.cmake" -DQUELLIX_WIN_ARCH="$arch" \
  -DQUELLIX_WIN_PREFIX="$prefix" -DQUELLIX_GUI="$gui" -DQUELLIX_TESTS="$tests" \
  "${wx[@]}" > /dev/null
cmake --build "build-win/$arch" -j"$jobs"
