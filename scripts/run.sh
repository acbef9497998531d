#!/usr/bin/env bash
# Installs what is missing, builds, and starts the window program.
#
# On the first start from a build folder it also prepares a settings file
# beside the program that points the window at the example log and at an
# output folder holding the bar image, so there is something to try at once.
# An existing settings file is never touched.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
build="$(cd "${BUILD_DIR:-build}" && pwd)"
settings="$build/junmaru_setting.ini"
if [ ! -e "$settings" ]; then
  mkdir -p "$build/example-site"
  cp -n examples/gage.gif "$build/example-site/gage.gif"
  printf '[FilePass]\r\nReadPass=%s\r\nSavePass=%s\r\n' \
    "$PWD/examples/access.log" "$build/example-site/ranking.html" > "$settings"
fi
exec "$build/junmaru" "$@"
