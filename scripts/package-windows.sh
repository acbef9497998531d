#!/usr/bin/env bash
# Packs the Windows programs into build-win64/junmaru-win64.zip: junmaru.exe,
# junmaru-batch.exe, the crawler list of the Bots rule with its licence,
# the example log and bar image, and the Japanese read-me as a code page
# 932 text file with CR LF line ends. Every entry is stored as rw-r--r--,
# whatever the build folder's modes.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${WIN_BUILD_DIR:-build-win64}
python3 - "$out" <<'PY'
import os, sys, time, zipfile
out = sys.argv[1]

def entry(name, date):
    info = zipfile.ZipInfo(name, date)
    info.external_attr = 0o100644 << 16  # a regular file, rw-r--r--
    info.compress_type = zipfile.ZIP_DEFLATED
    return info

readme = open("packaging/windows/readme.txt", encoding="utf-8").read()
readme = readme.replace("\r\n", "\n").replace("\n", "\r\n").encode("cp932")
entries = [(f"{out}/junmaru.exe", "junmaru/junmaru.exe"),
           (f"{out}/junmaru-batch.exe", "junmaru/junmaru-batch.exe"),
           ("third_party/crawler-user-agents/crawler-user-agents.json", "junmaru/crawler-user-agents.json"),
           ("third_party/crawler-user-agents/LICENSE", "junmaru/crawler-user-agents-LICENSE.txt"),
           ("examples/access.log", "junmaru/examples/access.log"),
           ("examples/gage.gif", "junmaru/examples/gage.gif")]
with zipfile.ZipFile(f"{out}/junmaru-win64.zip.tmp", "w", zipfile.ZIP_DEFLATED) as z:
    for source, name in entries:
        with open(source, "rb") as f:
            z.writestr(entry(name, time.localtime(os.path.getmtime(source))[:6]), f.read())
    z.writestr(entry("junmaru/readme.txt", (2026, 1, 1, 0, 0, 0)), readme)
PY
mv "$out/junmaru-win64.zip.tmp" "$out/junmaru-win64.zip"
echo "$out/junmaru-win64.zip"
