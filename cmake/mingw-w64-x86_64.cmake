# Cross-building the Windows programs with Debian's mingw-w64 (the POSIX
# thread model, which std::thread and std::mutex need). 64-bit, linked
# statically, so that the executables need nothing but Windows' own DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# The libraries built from Debian's sources by scripts/build-windows-libs.sh
# (libcurl, libssh2) live in a prefix of their own.
set(JUNMARU_WIN_LIBS "" CACHE PATH "Prefix of the libraries built for Windows")
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${JUNMARU_WIN_LIBS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# zlib (gzip logs) from libz-mingw-w64-dev, linked in as well.
set(ZLIB_USE_STATIC_LIBS ON)

# Tests run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
