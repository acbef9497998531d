#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12, when missing.
set -euo pipefail
# qt6-translations-l10n: Qt's own dialog texts in Japanese. xvfb to
# imagemagick: the test that drives the window under X (a virtual display,
# keys, the accessibility bus a screen reader reads, pictures). acl, attr:
# the save tests read a page's ACL and extended attributes (getfacl, getfattr).
packages=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev qt6-base-dev libgl-dev
          fonts-ipafont-gothic python3 mawk time qt6-translations-l10n
          xvfb xdotool dbus-x11 at-spi2-core python3-pyatspi imagemagick zlib1g-dev acl attr)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
