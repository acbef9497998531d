#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in
# ./build-asan and runs every test there.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
BUILD_DIR=build-asan BUILD_TYPE=Debug scripts/build.sh -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" "$@"
cd build-asan
# Qt and fontconfig keep caches for the life of the process; the window's
# tests read their leak suppressions from this file.
export LSAN_OPTIONS="suppressions=$PWD/../scripts/lsan.supp:print_suppressions=0"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --output-on-failure -j"$(nproc)"
