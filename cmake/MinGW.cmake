# Cross-build for Windows with Debian's mingw-w64 (posix threads). QUELLIX_WIN_ARCH is i686 (the
# shipped 32-bit build) or x86_64; QUELLIX_WIN_PREFIX holds the third-party libraries that
# scripts/build-windows.sh built from Debian's sources.
set(CMAKE_SYSTEM_NAME Windows)
if(NOT QUELLIX_WIN_ARCH)
  set(QUELLIX_WIN_ARCH i686)
endif()
# try_compile reads this file again: the architecture must reach it too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QUELLIX_WIN_ARCH QUELLIX_WIN_PREFIX)
set(CMAKE_SYSTEM_PROCESSOR ${QUELLIX_WIN_ARCH})
set(triple ${QUELLIX_WIN_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triple} ${QUELLIX_WIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Nothing to install beside the programs: the C++ runtime and winpthread are linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
if(QUELLIX_WIN_ARCH STREQUAL "i686")
  # 4 GB of address space on 64-bit Windows: exports of 1 GB load.
  string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -Wl,--large-address-aware")
endif()
