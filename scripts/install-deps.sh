#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12, when missing.
set -euo pipefail
# qt6-translations-l10n: Qt's own dialog texts in Japanese. xvfb to
# imagemagick: the test that drives the window under X (a virtual display,
# keys, the accessibility bus a screen reader reads, pictures). acl, attr:
# the save tests read a page's ACL and extended attributes (getfacl, getfattr).
# libcurl4-openssl-dev: fetching logs and publishing pages; vsftpd to
# procps: the servers the transfer tests start on 127.0.0.1 themselves.
# nlohmann-json3-dev: the ranking as JSON, and the Bots rule's crawler
# list; libre2-dev: the crawler patterns matched. libreoffice-calc-nogui: the
# test that opens the ranking's CSV as a spreadsheet does.
packages=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev qt6-base-dev libgl-dev
          fonts-ipafont-gothic python3 mawk time qt6-translations-l10n
          xvfb xdotool dbus-x11 at-spi2-core python3-pyatspi imagemagick zlib1g-dev acl attr
          libcurl4-openssl-dev vsftpd openssh-server openssh-client openssl procps
          nlohmann-json3-dev libreoffice-calc-nogui libre2-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update
# The FTP and SSH servers are for the tests, which start their own on the
# loopback address: the system's services are not started on install.
policy=/usr/sbin/policy-rc.d
if [ ! -e "$policy" ]; then
  printf '#!/bin/sh\nexit 101\n' | $sudo tee "$policy" >/dev/null
  $sudo chmod 755 "$policy"
  trap '$sudo rm -f "$policy"' EXIT
fi
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
