#!/usr/bin/env bash
# Cross-builds the Windows programs (64-bit, static) and their portable
# tests into ./build-win64 with Debian's mingw-w64, installing what is
# missing. Extra arguments go to CMake's configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
packages=(cmake ninja-build g++-mingw-w64-x86-64-posix googletest libz-mingw-w64-dev wine wine64 xvfb locales
          fonts-wine fonts-ipafont-gothic xdotool python3 dpkg-dev nlohmann-json3-dev
          unicode-data python3-six perl)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
# Wine takes code page 932 as the ANSI code page from this locale.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen
fi
# libcurl, libssh2, RE2 and nlohmann-json from Debian's sources, built once and kept.
scripts/build-windows-libs.sh
libs="$(cd "${WIN_LIBS_DIR:-build-win64-libs}" && pwd)/prefix"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}" -DJUNMARU_WIN_LIBS="$libs" "${launcher[@]}" "$@"
cmake --build build-win64 -j"$(nproc)"
# The zip a Windows user downloads.
scripts/package-windows.sh
