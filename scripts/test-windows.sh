#!/usr/bin/env bash
# Builds the Windows programs (scripts/build-windows.sh), checks the zip and
# the programs' resources (scripts/windows-package-check.sh), and runs, under
# Wine with code page 932 as the ANSI code page, in a fresh Wine prefix:
# the portable unit tests and the Windows-only ones (CTest in build-win64),
# then the page check, which requires junmaru-batch.exe to write the same
# bytes as the Linux junmaru-batch (built first in ./build, as
# scripts/test.sh leaves it), then a live log held open by a writer, then
# fetching and publishing against local servers, then the native window
# end to end under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build-windows.sh
scripts/windows-package-check.sh
prefix="$(mktemp -d /tmp/wine-junmaru-XXXXXX)"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$prefix"
}
trap cleanup EXIT
# A new prefix's first start now and then fails under load; once more, then say so.
if ! wineboot -i >/dev/null 2>&1; then
  wineserver -k >/dev/null 2>&1 || true
  wineboot -i >/dev/null 2>&1 || { echo "test-windows: wineboot could not make the Wine prefix $prefix" >&2; exit 1; }
fi
(cd build-win64 && ctest --output-on-failure)
scripts/windows-page-check.sh
scripts/windows-live-log-check.sh
# Fetching and publishing with junmaru-batch.exe against servers the check
# starts on 127.0.0.1 (skipped, naming what is missing, when they cannot).
status=0
LINUX_BATCH="${BUILD_DIR:-build}/junmaru-batch" bash app/batch/tests/transfer_check.sh build-win64/junmaru-batch.exe wine ||
  status=$?
[ "$status" = 0 ] || [ "$status" = 77 ] || exit "$status"
scripts/wine-window-test.sh
