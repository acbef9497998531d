#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the Linux build
# in ./build, then the Windows build in ./build-win64 under Wine
# (scripts/test-windows.sh; SKIP_WINDOWS=1 leaves it out).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
(cd "${BUILD_DIR:-build}" && ctest --output-on-failure -j"$(nproc)")
if [ "${SKIP_WINDOWS:-0}" != 1 ]; then
  scripts/test-windows.sh
fi
