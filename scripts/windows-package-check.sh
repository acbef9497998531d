#!/usr/bin/env bash
# Checks the Windows zip and the resources of its programs, as a user who
# unzips it and opens a program's properties meets them:
#   - every entry of junmaru-win64.zip is a plain file stored rw-r--r--;
#   - the read-me (code page 932) names the Windows version the programs need;
#   - junmaru.exe and junmaru-batch.exe each carry an icon, a manifest and a
#     Japanese version block, every resource filed under Japanese (0x411);
#   - junmaru-batch.exe's manifest makes it long-path aware and run as the
#     invoking user, and leaves the ANSI code page alone (no UTF-8).
# Reads the programs' resources back with the mingw-w64 windres.
set -euo pipefail
cd "$(dirname "$0")/.."
win_dir=${WIN_BUILD_DIR:-build-win64}
python3 - "$win_dir" <<'PY'
import re, subprocess, sys, zipfile

win_dir = sys.argv[1]
failures = []

with zipfile.ZipFile(f"{win_dir}/junmaru-win64.zip") as z:
    for info in z.infolist():
        mode = info.external_attr >> 16
        if mode != 0o100644:
            failures.append(f"{info.filename} is stored as {oct(mode)}, not rw-r--r--")
    readme = z.read("junmaru/readme.txt").decode("cp932")
if "Windows 10 バージョン 1607 以降" not in readme:
    failures.append("the read-me names no Windows version")

def resources(exe):  # empty when the program has none
    return subprocess.run(["x86_64-w64-mingw32-windres", "-i", f"{win_dir}/{exe}", "-O", "rc"],
                          capture_output=True, text=True, errors="replace").stdout

for exe in ["junmaru.exe", "junmaru-batch.exe"]:
    rc = resources(exe)
    languages = set(re.findall(r"^LANGUAGE (\d+), (\d+)$", rc, re.M))
    if languages != {("17", "1")}:
        failures.append(f"{exe}: resources filed under {sorted(languages)}, not Japanese (17, 1)")
    for what, pattern in [("icon", r"RT_GROUP_ICON"), ("manifest", r"RT_MANIFEST"),
                          ("Japanese version block", r'BLOCK "041104B0"'),
                          ("translation 0x411", r'VALUE "Translation", 0x411')]:
        if not re.search(pattern, rc):
            failures.append(f"{exe}: no {what}")
    if exe == "junmaru-batch.exe":
        if "<longPathAware" not in rc or ">true</longPathAware>" not in rc:
            failures.append(f"{exe}: not long-path aware")
        if 'level=""asInvoker""' not in rc:
            failures.append(f"{exe}: no asInvoker execution level")
        if "activeCodePage" in rc:
            failures.append(f"{exe}: the manifest sets the ANSI code page")

for failure in failures:
    print("FAIL:", failure)
if failures:
    sys.exit(1)
print("package check: zip modes, read-me, resources and manifests as expected")
PY
