#!/usr/bin/env bash
# Ranks the same logs with the same settings with the Linux junmaru-batch
# (./build, or $BUILD_DIR) and with junmaru-batch.exe under Wine (./build-win64), and
# requires the same exit status and byte-identical pages, CSV and JSON files. The exe is run
# with relative paths and with Z:\ paths, and on a log in a folder whose
# code page 932 name has 0x5C trail bytes, with the page's default path,
# and with the rank changes and the downloaders.
# The settings files leave the counting rules off, or turn all five on.
# Logs are drawn afresh from SEED (random unless given; printed to rerun).
# Expects WINEPREFIX and LANG=ja_JP.UTF-8 as scripts/test-windows.sh sets them.
set -euo pipefail
cd "$(dirname "$0")/.."
linux="$PWD/${BUILD_DIR:-build}/junmaru-batch"
exe="$PWD/build-win64/junmaru-batch.exe"
seed="${SEED:-$RANDOM}"
work="$(mktemp -d /tmp/junmaru-pages-XXXXXX)"
trap 'rm -rf "$work"' EXIT
echo "page check: logs from SEED=$seed in $work"
python3 scripts/windows-page-logs.py "$work" "$seed"
cp examples/access.log "$work/example.log"

failures=0
compare() {  # name linux-status linux-page windows-status windows-page
  if [ "$2" != "$4" ] || ! cmp -s "$3" "$5"; then
    echo "DIFFERENT: $1 (Linux status $2, Windows status $4)"
    failures=$((failures + 1))
  fi
}
run_linux() { "$linux" "$@" 2>/dev/null && echo 0 || echo $?; }
run_wine() { wine "$exe" "$@" 2>/dev/null </dev/null && echo 0 || echo $?; }

cases=0
for log in example small ties big today; do
  for settings in empty busy rules; do
    name="$log-$settings"
    # The ranking's CSV (UTF-8 with the busy settings) and JSON beside the page.
    utf8=()
    [ "$settings" = busy ] && utf8=(--csv-utf8)
    l=$(run_linux --settings "$work/$settings.ini" --log "$work/$log.log" --out "$work/$name.linux.html" \
                  --csv "$work/$name.linux.csv" "${utf8[@]}" --json "$work/$name.linux.json")
    w=$(cd "$work" && run_wine --settings "$settings.ini" --log "$log.log" --out "$name.rel.html" \
                               --csv "$name.rel.csv" "${utf8[@]}" --json "$name.rel.json")
    compare "$name, relative paths" "$l" "$work/$name.linux.html" "$w" "$work/$name.rel.html"
    compare "$name, CSV" "$l" "$work/$name.linux.csv" "$w" "$work/$name.rel.csv"
    compare "$name, JSON" "$l" "$work/$name.linux.json" "$w" "$work/$name.rel.json"
    cases=$((cases + 2))
    w=$(run_wine --settings "$(winepath -w "$work/$settings.ini")" --log "$(winepath -w "$work/$log.log")" \
                 --out "$(winepath -w "$work/$name.z.html")")
    compare "$name, Z: paths" "$l" "$work/$name.linux.html" "$w" "$work/$name.z.html"
    cases=$((cases + 2))
  done
done

# A folder and log named in Japanese (ソ and 表 end in the byte 0x5C, the
# Windows path separator); the page goes to ranking.html beside the log.
folder="ソフト表"
mkdir "$work/$folder"
cp "$work/small.log" "$work/$folder/アクセス.log"
l=$(cd "$work" && run_linux --settings busy.ini --log "$folder/アクセス.log")
mv "$work/$folder/ranking.html" "$work/japanese.linux.html"
w=$(cd "$work" && run_wine --settings busy.ini --log "$folder\\アクセス.log")
compare "Japanese folder, relative, default page path" "$l" "$work/japanese.linux.html" "$w" "$work/$folder/ranking.html"
rm -f "$work/$folder/ranking.html"
w=$(run_wine --settings "$(winepath -w "$work/busy.ini")" --log "$(winepath -w "$work/$folder/アクセス.log")")
compare "Japanese folder, Z: path, default page path" "$l" "$work/japanese.linux.html" "$w" "$work/$folder/ranking.html"
cases=$((cases + 2))

# The rank changes against the previous period and the downloaders: a
# period, the last days and a range of lines, the filters and words of the
# busy settings on both sides.
for period in "--since 2025-06-01 --until 2025-06-30" "--days 45" "--from 900 --to 1400"; do
  name="trend-${period// /}"
  # shellcheck disable=SC2086  # the period is two or four words
  l=$(run_linux --settings "$work/busy.ini" --log "$work/year.log" $period --trend --clients --out "$work/$name.linux.html" \
                --json "$work/$name.linux.json")
  # shellcheck disable=SC2086
  w=$(cd "$work" && run_wine --settings busy.ini --log year.log $period --trend --clients --out "$name.win.html" \
                             --json "$name.win.json")
  compare "$name" "$l" "$work/$name.linux.html" "$w" "$work/$name.win.html"
  compare "$name, JSON" "$l" "$work/$name.linux.json" "$w" "$work/$name.win.json"
  cases=$((cases + 2))
done

# A range outside the log fails alike and writes nothing.
l=$(run_linux --settings "$work/empty.ini" --log "$work/ties.log" --from 5 --to 100000 --out "$work/none.linux.html")
w=$(cd "$work" && run_wine --settings empty.ini --log ties.log --from 5 --to 100000 --out none.win.html)
if [ "$l" != 1 ] || [ "$w" != 1 ] || [ -e "$work/none.linux.html" ] || [ -e "$work/none.win.html" ]; then
  echo "DIFFERENT: range outside the log (Linux status $l, Windows status $w)"
  failures=$((failures + 1))
fi
cases=$((cases + 1))

if [ "$failures" -gt 0 ]; then
  echo "page check: $failures of $cases cases differ (SEED=$seed)"
  exit 1
fi
echo "page check: $cases cases, Linux and Windows pages byte-identical"
