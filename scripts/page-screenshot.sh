#!/usr/bin/env bash
# Takes the picture docs/page-trend-clients.png: junmaru-batch (./build, or
# $BUILD_DIR) ranks two weeks of a small download site with the rank
# changes and the downloaders, and headless Chromium shows the page as a
# visitor sees it. Installs Chromium (Debian 12) when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
batch="$PWD/${BUILD_DIR:-build}/junmaru-batch"
if ! command -v chromium >/dev/null; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends chromium
fi
work="$(mktemp -d /tmp/junmaru-screenshot-XXXXXX)"
trap 'rm -rf "$work"' EXIT

# The week before and the week shown: downloads per file and the distinct
# clients they come from (climbers, fallers, ties, a new release).
python3 - "$work" <<'EOF'
import pathlib
import sys

work = pathlib.Path(sys.argv[1])
weeks = {
    1: {"junmaru14.zip": (40, 25), "junmaru13.zip": (55, 30), "manual.pdf": (20, 18), "sample.lzh": (20, 9),
        "tool-ja.zip": (12, 12), "patch1.zip": (8, 3)},
    8: {"junmaru15.zip": (64, 41), "junmaru14.zip": (48, 30), "manual.pdf": (30, 26), "junmaru13.zip": (21, 15),
        "sample.lzh": (21, 14), "tool-ja.zip": (25, 20), "patch1.zip": (2, 2)},
}
agents = ["Mozilla/5.0 (Windows NT 10.0; Win64; x64)", "Wget/1.21.3", "curl/8.5.0"]
lines = []
for first_day, files in weeks.items():
    for name, (count, clients) in files.items():
        for i in range(count):
            client = i % clients
            day, second = first_day + i % 7, (i * 3571) % 86400
            lines.append((day, second, '198.51.100.%d - - [%02d/Oct/2024:%02d:%02d:%02d +0900] "GET /dl/%s HTTP/1.1" '
                          '200 1024 "-" "%s"' % (client, day, second // 3600, second // 60 % 60, second % 60, name,
                                                 agents[client % len(agents)])))
lines.sort()
(work / "access.log").write_text("\r\n".join(text for _, _, text in lines) + "\r\n")
(work / "settings.ini").write_bytes(b"[Ranking]\r\nTopCount=10\r\n[HTML]\r\nFontSize=100\r\nTrend=1\r\nClients=1\r\n")
EOF
cp examples/gage.gif "$work/"
"$batch" --settings "$work/settings.ini" --log "$work/access.log" --out "$work/ranking.html" \
  --days 7
chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size=760,470 \
  --screenshot="$PWD/docs/page-trend-clients.png" "file://$work/ranking.html" 2>/dev/null
echo "docs/page-trend-clients.png written"
