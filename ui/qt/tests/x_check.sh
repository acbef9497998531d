#!/usr/bin/env bash
# The window program under X, driven as a person with a keyboard and read
# as a screen reader reads it (AT-SPI):
#   - no edit, spin edit, button or progress bar of the window is unnamed;
#   - the open dialog's labels and buttons are Japanese;
#   - focusing GO and pressing Return writes the page, and with a stored
#     exclusion word wider than the memo, that page is the one
#     junmaru-batch writes from the same settings file;
#   - an end line typed beyond the log and Alt+G at once give the page of
#     the whole log, as leaving the box first would;
#   - the counting rules' dialog by keyboard: the rules and the exports
#     it turns on give junmaru-batch's page, CSV and JSON at the next GO.
#
#   x_check.sh JUNMARU JUNMARU_BATCH PICTURE_FOLDER
#
# Runs on its own Xvfb display (JUNMARU_X_DISPLAY, else the first free
# one) and its own D-Bus session, and leaves pictures of the dialog and of
# the finished window in PICTURE_FOLDER. Exits 77 (skipped) when the X
# tools are missing.
set -euo pipefail
junmaru=$1 batch=$2 pictures=$3
here="$(cd "$(dirname "$0")" && pwd)"
a11y=(/usr/bin/python3 "$here/x_a11y.py")
bus_launcher=/usr/libexec/at-spi-bus-launcher

missing=()
for tool in Xvfb xdotool dbus-launch; do command -v "$tool" >/dev/null 2>&1 || missing+=("$tool"); done
[ -x "$bus_launcher" ] || missing+=(at-spi-bus-launcher)
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || missing+=(pyatspi)
if [ ${#missing[@]} -gt 0 ]; then
  echo "SKIPPED: the check under X needs ${missing[*]} (scripts/install-deps.sh installs them)"
  exit 77
fi

work="$(mktemp -d)"
pids=()
# Ends what it started, the last started first: the window before its
# buses and its display.
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAILED: $*"
  exit 1
}

# Waits up to 20 s for a file to exist.
wait_for_file() {
  for _ in $(seq 100); do
    [ -e "$1" ] && return 0
    sleep 0.2
  done
  return 1
}

picture() {
  if command -v import >/dev/null 2>&1; then import -display ":$display" -window root "$pictures/$1" || true; fi
}

# A log whose paths are the tails of one 62-character word: a memo that
# splits the word where it wraps finds some of its pieces in them, the
# whole word finds none.
word=ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789
mkdir -p "$work/home/logs" "$work/home/site" "$work/bin"
{
  n=0
  for k in $(seq 0 61); do
    for _ in $(seq $((k % 4 + 1))); do
      n=$((n + 1))
      printf '192.0.2.%d - - [10/Oct/2004:%02d:%02d:00 +0900] "GET /dl/%s.zip HTTP/1.1" 200 100 "-" "Wget"\n' \
        $((n % 250)) $((n / 60 % 24)) $((n % 60)) "${word:$k}"
    done
  done
} > "$work/home/logs/access.log"
lines=$(wc -l < "$work/home/logs/access.log")
: > "$work/home/site/gage.gif"
# The program reads its settings beside itself.
cp "$junmaru" "$work/bin/junmaru"
settings="$work/bin/junmaru_setting.ini"
printf '[FilePass]\r\nReadPass=%s\r\nSavePass=%s\r\n[KinsiWord]\r\n%s=OK\r\n' \
  "$work/home/logs/access.log" "$work/home/site/ranking.html" "$word" > "$settings"
"$batch" --settings "$settings" --out "$work/home/site/batch.html"

if [ -n "${JUNMARU_X_DISPLAY:-}" ]; then
  display=$JUNMARU_X_DISPLAY
  Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  pids+=($!)
  sleep 1
else
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  display=$(head -n1 "$work/display")
fi
[ -n "$display" ] || fail "Xvfb did not start"
export DISPLAY=":$display"
# The window starts only once the display answers. The server must not reset
# when its last client leaves (dbus-launch's and this probe's connections
# come and go): a client that connects during a reset is refused.
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
eval "$(dbus-launch --sh-syntax)"
pids+=("$DBUS_SESSION_BUS_PID")
"$bus_launcher" --launch-immediately >/dev/null 2>&1 &
pids+=($!)

. "$here/../../../testing/x_focus.sh"

title="集計順位丸　通称順位丸 Ver1.4"
(cd "$work/bin" && exec env -u QT_QPA_PLATFORM QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LANG=C.UTF-8 ./junmaru) &
pids+=($!)
"${a11y[@]}" wait "$title" || fail "the window did not appear in the accessibility tree"
window=$(xdotool search --sync --onlyvisible --name "Ver1.4" | head -n1)
x_focus "$window"

echo "== every edit, spin edit, button and progress bar has a name"
"${a11y[@]}" unnamed "$title" || fail "unnamed controls"

echo "== the open dialog is Japanese"
xdotool key --clearmodifiers alt+f
open_title="読み込むログファイルの選択（任意拡張子ファイルも選択可能）"
"${a11y[@]}" wait "$open_title" || fail "Alt+F opened no dialog"
sleep 0.5
picture x_check_dialog.png
"${a11y[@]}" english "$open_title" || fail "English texts in the dialog"
dialog=$(xdotool search --sync --onlyvisible --name "読み込むログファイル" | head -n1)
x_focus "$dialog"
xdotool key Escape
sleep 0.5

echo "== Return on the focused GO writes the batch program's page"
x_focus "$window"
"${a11y[@]}" focus "$title" "push button" "G 出力GO！"
xdotool key Return
wait_for_file "$work/home/site/ranking.html" || fail "Return on GO wrote no page"
sleep 0.5
picture x_check_window.png
cmp "$work/home/site/ranking.html" "$work/home/site/batch.html" || fail "the window's page differs from junmaru-batch's"

echo "== the gauge reads as a progress bar at 100 percent"
gauge=$("${a11y[@]}" value "$title" "progress bar" "進行状況") || fail "no progress bar named 進行状況"
[ "$gauge" = "100 of 0-100" ] || fail "the gauge reads $gauge"

echo "== an end line typed beyond the log, then Alt+G at once"
rm "$work/home/site/ranking.html"
"${a11y[@]}" focus "$title" "text" "集計終了行"
xdotool key ctrl+a type "$((lines + 60))"
xdotool key --clearmodifiers alt+g
wait_for_file "$work/home/site/ranking.html" || fail "Alt+G wrote no page"
sleep 0.5
picture x_check_typed_range.png
cmp "$work/home/site/ranking.html" "$work/home/site/batch.html" || fail "Alt+G after typing gave another page"

echo "== the counting rules' dialog by keyboard: Alt+K, Alt+T 200, Alt+D, Alt+E, Enter, then Alt+G"
"$batch" --settings "$settings" --status 200 --decode --out "$work/home/site/batch-rules.html" \
  --csv "$work/batch-rules.csv" --json "$work/batch-rules.json"
x_focus "$window"
xdotool key --clearmodifiers alt+k
rules_title="集計と表示の設定"
"${a11y[@]}" wait "$rules_title" || fail "Alt+K opened no dialog"
"${a11y[@]}" unnamed "$rules_title" || fail "unnamed controls in the dialog"
rules=$(xdotool search --sync --onlyvisible --name "$rules_title" | head -n1)
x_focus "$rules"
xdotool key --clearmodifiers alt+t
xdotool type "200"
xdotool key --clearmodifiers alt+d
xdotool key --clearmodifiers alt+e
sleep 0.5
picture x_check_rules.png
xdotool key Return
sleep 0.5
rm "$work/home/site/ranking.html"
x_focus "$window"
xdotool key --clearmodifiers alt+g
wait_for_file "$work/home/site/ranking.html" || fail "Alt+G after the dialog wrote no page"
sleep 0.5
cmp "$work/home/site/ranking.html" "$work/home/site/batch-rules.html" ||
  fail "GO after the dialog differs from junmaru-batch --status 200 --decode"
cmp "$work/home/site/ranking.csv" "$work/batch-rules.csv" && cmp "$work/home/site/ranking.json" "$work/batch-rules.json" ||
  fail "GO with the exports on did not write junmaru-batch's ranking.csv and ranking.json beside the page"
echo "passed"
