#!/usr/bin/env bash
# A live log under Wine: log_writer.exe holds the log open for writing, as
# a web server does, while junmaru-batch.exe ranks it. The batch must read
# the log as far as it reached when it was opened (the line written after
# that is not counted), and write the page the Linux junmaru-batch writes
# for those bytes. Expects WINEPREFIX and LANG=ja_JP.UTF-8 as
# scripts/test-windows.sh sets them.
set -euo pipefail
cd "$(dirname "$0")/.."
linux="$PWD/${BUILD_DIR:-build}/junmaru-batch"
exe="$PWD/build-win64/junmaru-batch.exe"
writer="$PWD/build-win64/log_writer.exe"
work="$(mktemp -d /tmp/junmaru-live-XXXXXX)"
writer_pid=""
cleanup() {
  touch "$work/stop"
  [ -n "$writer_pid" ] && wait "$writer_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: live log: $*" >&2; exit 1; }

cp examples/access.log "$work/access.log"
: > "$work/empty.ini"
(cd "$work" && wine "$writer" access.log ready stop) &
writer_pid=$!
for _ in $(seq 300); do [ -e "$work/ready" ] && break; sleep 0.1; done
[ -e "$work/ready" ] || fail "the writer did not start"
cp "$work/access.log" "$work/as-opened.log"

status=0
(cd "$work" && wine "$exe" --settings empty.ini --log access.log --out live.html 2>"$work/err" </dev/null) || status=$?
[ "$status" = 0 ] || fail "junmaru-batch.exe exited with $status: $(cat "$work/err")"
touch "$work/stop"
wait "$writer_pid" || fail "the writer failed"
writer_pid=""
grep -q after.zip "$work/access.log" || fail "the writer's last line is missing"
"$linux" --settings "$work/empty.ini" --log "$work/as-opened.log" --out "$work/linux.html"
cmp -s "$work/live.html" "$work/linux.html" || fail "the page differs from the Linux page of the log as opened"
grep -q live.zip "$work/live.html" || fail "the line written before the open is not counted"
echo "ok: junmaru-batch.exe reads a log held open for writing, as far as it reached at the open"
