# Sourced by scripts/build-windows.sh --gui (in a subshell, with its fetch_source, arch, cache
# and prefix): builds static wxWidgets MSW with expat and libpng (zlib from libz-mingw-w64-dev)
# from Debian's source packages into the cache's prefix, once. Only the libraries the program
# links (base, core, stc) and what they need are built: the others would double the build's time.
[ -x "$prefix/bin/wx-config" ] && exit 0
export CC="$triple-gcc-posix" CXX="$triple-g++-posix" AR=$triple-ar RANLIB=$triple-ranlib STRIP=$triple-strip
command -v ccache > /dev/null && export CC="ccache $CC" CXX="ccache $CXX"
# A build folder already configured continues where an interrupted build stopped.
autotools() { # NAME SOURCE CONFIGURE-ARGS...
  local name=$1 src=$2
  shift 2
  mkdir -p "$cache/$name-build"
  (cd "$cache/$name-build" \
   && { [ -f config.status ] && [ -f Makefile ] || "$src/configure" -q --host="$triple" --prefix="$prefix" --disable-shared "$@" > /dev/null; } \
   && make -s -j"$jobs" > /dev/null && make -s install > /dev/null)
}
# Debian's expat source is the project's git tree: its CMake build needs no autotools. Without
# DTD support: its CMake configuration defines XML_DTD empty, which a Debian patch compares with 1.
if [ ! -f "$prefix/lib/libexpat.a" ]; then
  cmake -S "$(fetch_source expat)/expat" -B "$cache/expat-build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/MinGW.cmake" -DQUELLIX_WIN_ARCH="$arch" -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DEXPAT_SHARED_LIBS=OFF -DEXPAT_BUILD_TOOLS=OFF -DEXPAT_BUILD_EXAMPLES=OFF -DEXPAT_BUILD_TESTS=OFF \
    -DEXPAT_BUILD_DOCS=OFF -DEXPAT_DTD=OFF > /dev/null
  cmake --build "$cache/expat-build" -j"$jobs" > /dev/null
  cmake --install "$cache/expat-build" > /dev/null
fi
[ -f "$prefix/lib/libpng16.a" ] || CPPFLAGS="-I$prefix/include" autotools libpng "$(fetch_source libpng1.6)"
src=$(fetch_source wxwidgets3.2)
CPPFLAGS="-I$prefix/include" LDFLAGS="-L$prefix/lib" autotools wx "$src" --with-msw --disable-debug \
  --enable-unicode --with-zlib=sys --with-libpng=sys --with-expat=sys --without-libjpeg --without-libtiff \
  --without-opengl --disable-webview --disable-mediactrl --disable-sound --disable-joystick \
  --disable-compat30 --without-regex --disable-xrc --disable-aui --disable-propgrid --disable-ribbon \
  --disable-richtext --disable-html
