#!/usr/bin/env bash
# End-to-end test of the native window build-win64/junmaru.exe under Wine
# and Xvfb (LANG=ja_JP.UTF-8, so the ANSI code page is 932), on a log and
# settings of its own:
#  1. a settings file that remembers a log and a page: the log loads (line
#     count and timestamps shown), Alt+G writes a page byte-identical to the
#     Linux junmaru-batch page for the same settings, and the close keeps
#     the remembered values;
#  2. a first start without a settings file, closed with WM_CLOSE (as the
#     title bar's close button sends it), writes the five sections;
#  3. a page into a missing folder shows the error box; GO works afterwards,
#     and a page without gage.gif beside it shows the information box;
#  4. one settings file serves both systems: paths in a Japanese folder
#     that the Linux window stored are read by junmaru-batch.exe, and the
#     ones junmaru.exe stored are read by the Linux junmaru-batch.
# Keys are typed with xdotool; what the window shows, the names a screen
# reader announces and its message boxes are read with window_probe.exe;
# everything else from the files.
# SHOT=path saves a picture of the window after the finished run,
# DIALOG_SHOT=path one of the counting rules' dialog as the keys left it.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
win_dir=$(realpath "${WIN_BUILD_DIR:-build-win64}")
exe=$win_dir/junmaru.exe
probe=$win_dir/window_probe.exe
controls_tests=$win_dir/win32_controls_tests.exe
batch=$(realpath "${BUILD_DIR:-build}")/junmaru-batch
linux_window=$(realpath "${BUILD_DIR:-build}")/junmaru
for f in "$exe" "$probe" "$controls_tests" "$batch" "$linux_window" "$win_dir/junmaru-win64.zip"; do
  [ -x "$f" ] || [ -f "$f" ] || { echo "missing $f (build it first)" >&2; exit 1; }
done

work=$(mktemp -d /tmp/junmaru-wine-window.XXXXXX)
xvfb_pid=""
cleanup() {
  WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
pass() { echo "ok: $*"; }

# A display of our own, on the first free number.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=ja_JP.UTF-8
# A new prefix's first start now and then fails under load; once more, then say so.
if ! wineboot -i >/dev/null 2>&1; then
  wineserver -k >/dev/null 2>&1 || true
  wineboot -i >/dev/null 2>&1 || fail "wineboot could not make the Wine prefix"
fi
# Without a window manager Wine draws the title bars itself.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1

to_utf8() { iconv -f CP932 -t UTF-8; }
to_cp932() { iconv -f UTF-8 -t CP932; }
# A Unix path as the Windows program sees it (Z:\...), in code page 932.
windows_path() { winepath -w "$1" 2>/dev/null | tr -d '\r\n' | to_cp932; }

# What the control at a design place (left,top in the client area) shows.
shown_at() { wine "$probe" texts | to_utf8 | awk -F'\t' -v at="$1" '$1 == at { print $3; exit }'; }

window_pid=""
start_window() {  # folder holding junmaru.exe
  (cd "$1" && exec wine junmaru.exe) >/dev/null 2>&1 &
  window_pid=$!
  for _ in $(seq 300); do
    wine "$probe" texts >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  fail "the window did not open in $1"
}

. "$top/testing/x_focus.sh"

press() {  # an xdotool key, to the window
  local w
  w=$(xdotool search --sync --onlyvisible --limit 1 --name 'Ver1\.4')
  x_focus "$w"
  xdotool key --window "$w" "$1"
}

wait_for() {  # a file to appear
  for _ in $(seq 300); do [ -f "$1" ] && return 0; sleep 0.1; done
  fail "$1 was not written"
}

# The next message box of the program: "caption<TAB>text", then OK.
next_box() {
  local box
  for _ in $(seq 300); do
    if box=$(wine "$probe" box 2>/dev/null); then printf '%s' "$box" | to_utf8; return 0; fi
    sleep 0.1
  done
  fail "no message box appeared"
}

close_window() {
  wine "$probe" close || fail "no window to close"
  for _ in $(seq 300); do kill -0 "$window_pid" 2>/dev/null || return 0; sleep 0.1; done
  fail "the window did not end after WM_CLOSE"
}

# A log the other tests never saw: a few hundred requests over two days,
# with code page 932 paths, excluded families, ties and lines that are no
# downloads.
make_log() {
  python3 - "$1" <<'PY'
import random, sys
random.seed(20261207)
paths = ["/dl/tool.lzh", "/dl/game.zip", "/img/photo.jpg", "/index.html", "/dl/manual.pdf", "/dl/music.mp3",
         "/dl/\x83\x5c\x83\x74\x83\x67.zip", "/dl/TOOL.LZH", "/cgi/count.cgi",
         "/dl/\x93\xfa\x96\x7b\x8c\xea.txt", "/dl/setup.exe", "/dl/a%20b.zip", "/dl/long-" + "x" * 70 + ".zip"]
out = []
for i in range(400):
    t = 86400 * (i // 200) + (i % 200) * 400
    d, r = divmod(t, 86400)
    stamp = "[%02d/Nov/2026:%02d:%02d:%02d +0900]" % (5 + d, r // 3600, r % 3600 // 60, r % 60)
    p = random.choice(paths)
    method = "GET" if random.random() < 0.9 else "POST"
    proto = random.choice(["HTTP/1.1", "HTTP/1.0", "HTTP/1.1"])
    out.append('198.51.100.%d - - %s "%s %s %s" 200 %d "-" "probe"' % (i % 250, stamp, method, p, proto, 100 + i))
open(sys.argv[1], "wb").write("\r\n".join(out).encode("latin-1") + b"\r\n")
PY
}

new_folder() {  # a folder with the program in it
  mkdir -p "$1"
  cp "$exe" "$1/junmaru.exe"
}

# --- 0. The controls through real Win32 messages ---------------------------
wine "$controls_tests" --gtest_brief=1 || fail "win32_controls_tests"
pass "Win32 controls"

# --- 1. The remembered log, GO and the page --------------------------------
one=$work/ログ置き場
new_folder "$one"
mkdir -p "$one/site"
cp examples/gage.gif "$one/site/"
make_log "$one/access.log"
{
  printf '[FilePass]\r\nReadPass=%s\r\nSavePass=%s\r\n' "$(windows_path "$one/access.log")" \
    "$(windows_path "$one/site")\\ranking.html"
  printf '[ExtentionFilter]\r\nCText=0\r\nCExe=0\r\n'
  printf '[Ranking]\r\nTopCount=30\r\n'
  printf '[HTML]\r\nCBG=#102030\r\nNameMax=20\r\nLink=1\r\nPrefix=../\r\n'
  printf '[KinsiWord]\r\nmanual=OK\r\n'
} >"$one/junmaru_setting.ini"
"$batch" --settings "$one/junmaru_setting.ini" --log "$one/access.log" --out "$work/linux-page.html" 2>/dev/null

start_window "$one"
[ "$(shown_at 54,119)" = "400 行" ] || fail "line count shows '$(shown_at 54,119)'"
first=$(shown_at 54,134)
last=$(shown_at 54,149)
[ -n "$first" ] && [ -n "$last" ] || fail "timestamps not shown"
grep -q "$(printf '%s' "$first" | to_cp932)" "$work/linux-page.html" || fail "first timestamp '$first' is not the page's"
[ "$(shown_at 80,472)" = "待機中（ログ読み込み完了）" ] || fail "status after load: $(shown_at 80,472)"
pass "remembered log loaded: 400 行, $first - $last"
# The frame: a maximise box that keeps the fixed layout, and a taskbar
# button titled with the application's title rather than the caption.
frame=$(wine "$probe" frame) || fail "no frame"
[ "$frame" = $'順位丸\tmaximise box\tsame size' ] || fail "the frame reads '$frame'"
pass "maximise keeps the layout; the taskbar button reads 順位丸"
# As a screen reader reads the window from another process (MSAA): each
# edit and spin edit is named as in the Linux window.
edit_names=$(wine "$probe" names | awk -F'\t' '$2 == "Edit" { printf "%s|", $3 }')
[ "$edit_names" = "集計開始行|集計終了行|TOP|背景色|枠線色|上部文字色|ランキング文字色|Link|ALink|VLink|文字サイズ|ファイル名最大長|ALinkプレフィックス|除外ワード|" ] ||
  fail "screen-reader names: $edit_names"
pass "screen-reader names of the edits"

press alt+g
wait_for "$one/site/ranking.html"
for _ in $(seq 100); do [ "$(shown_at 80,472)" = "出力完了！" ] && break; sleep 0.1; done
[ "$(shown_at 80,472)" = "出力完了！" ] || fail "status after GO: $(shown_at 80,472)"
cmp "$one/site/ranking.html" "$work/linux-page.html" || fail "the window's page differs from junmaru-batch's"
pass "Alt+G wrote the Linux page byte for byte"
# The gauge, as a screen reader in another process reads it (MSAA): named,
# a progress bar (role 48), at the percentage it shows.
# (A NUL in what it reads shows as "~".)
gauge=$(wine "$probe" gauge | tr '\0' '~') || fail "no gauge object: $gauge"
[ "$gauge" = $'進行状況\t48\t100%' ] || fail "the gauge reads '$gauge'"
pass "the gauge reads as a progress bar named 進行状況 at 100%"
if [ -n "${SHOT:-}" ]; then
  import -window root "$work/screen.png"
  convert "$work/screen.png" -trim +repage "$SHOT"
fi
# The counting rules' dialog by keyboard: Alt+K opens it, Alt+T reaches the
# status list, Alt+D turns decoding on (a%20b.zip becomes "a b.zip"), Alt+E
# the exports, Enter takes them; the next GO counts by them and writes
# ranking.csv and ranking.json beside the page, and the close writes them
# into [Count] and [HTML].
press alt+k
dialog=$(xdotool search --sync --onlyvisible --limit 1 --name '集計と表示の設定') || fail "Alt+K opened no dialog"
x_focus "$dialog"
xdotool key --window "$dialog" alt+t
xdotool type --window "$dialog" "200"
xdotool key --window "$dialog" alt+d
xdotool key --window "$dialog" alt+e
if [ -n "${DIALOG_SHOT:-}" ]; then
  sleep 0.5
  import -window root "$work/dialog.png"
  convert "$work/dialog.png" -trim +repage "$DIALOG_SHOT"
fi
xdotool key --window "$dialog" Return
for _ in $(seq 100); do xdotool search --onlyvisible --name '集計と表示の設定' >/dev/null 2>&1 || break; sleep 0.1; done
xdotool search --onlyvisible --name '集計と表示の設定' >/dev/null 2>&1 && fail "the dialog did not close on Enter"
"$batch" --settings "$one/junmaru_setting.ini" --log "$one/access.log" --status 200 --decode --out "$work/linux-page-200.html" \
  --csv "$work/linux-200.csv" --json "$work/linux-200.json" 2>/dev/null
rm "$one/site/ranking.html"
press alt+g
wait_for "$one/site/ranking.html"
sleep 0.5
cmp "$one/site/ranking.html" "$work/linux-page-200.html" ||
  fail "GO after the dialog differs from junmaru-batch --status 200 --decode"
grep -q "a b.zip" "$one/site/ranking.html" || fail "GO after the dialog did not decode a%20b.zip"
cmp "$one/site/ranking.csv" "$work/linux-200.csv" && cmp "$one/site/ranking.json" "$work/linux-200.json" ||
  fail "GO with the exports on did not write the Linux ranking.csv and ranking.json beside the page"
pass "the dialog by keyboard: Status 200 and Decode counted by the next GO, with the Linux CSV and JSON beside the page"

close_window
grep -qa $'^\[Count\]\r$' "$one/junmaru_setting.ini" && grep -qa $'^Status=200\r$' "$one/junmaru_setting.ini" &&
  grep -qa $'^Decode=1\r$' "$one/junmaru_setting.ini" && grep -qa $'^Export=1\r$' "$one/junmaru_setting.ini" ||
  fail "the close did not write [Count] Status=200 and Decode=1, and [HTML] Export=1"
grep -q '^TopCount=30' "$one/junmaru_setting.ini" || fail "TopCount not kept"
grep -qaxF "ReadPass=$(windows_path "$one/access.log")"$'\r' "$one/junmaru_setting.ini" ||
  fail "ReadPass not kept byte for byte"
pass "close kept the remembered settings"

# --- 2. First start without a settings file, from the unzipped package ---
two=$work/first/junmaru
mkdir -p "$work/first"
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' \
  "$win_dir/junmaru-win64.zip" "$work/first"
[ -f "$two/junmaru-batch.exe" ] && [ -f "$two/examples/access.log" ] && [ -f "$two/examples/gage.gif" ] ||
  fail "the package lacks a file"
iconv -f CP932 -t UTF-8 "$two/readme.txt" >/dev/null || fail "the read-me is not code page 932"
start_window "$two"
[ "$(shown_at 54,119)" = "ログ未選択" ] || fail "a first start loaded something"
close_window
[ -f "$two/junmaru_setting.ini" ] || fail "no settings file after the first close"
sections=$(grep -a '^\[' "$two/junmaru_setting.ini" | tr -d '\r' | tr '\n' ' ')
[ "$sections" = "[FilePass] [ExtentionFilter] [Ranking] [HTML] [KinsiWord] " ] || fail "sections: $sections"
grep -q $'^ReadPass=0\r$' "$two/junmaru_setting.ini" || fail "ReadPass is not 0"
grep -q $'^Link=1\r$' "$two/junmaru_setting.ini" || fail "Link is not 1"
[ "$(grep -c $'\r$' "$two/junmaru_setting.ini")" = "$(wc -l <"$two/junmaru_setting.ini")" ] || fail "not CR LF"
grep -qaxF "$(printf '例)禁止ワード1' | to_cp932)=OK"$'\r' "$two/junmaru_setting.ini" || fail "example words missing"
pass "first start and WM_CLOSE wrote the five sections"

# --- 3. An error, then GO again ------------------------------------------------
three=$work/err
new_folder "$three"
cp "$one/access.log" "$three/access.log"
printf '[FilePass]\r\nReadPass=%s\r\nSavePass=%s\r\n' "$(windows_path "$three/access.log")" \
  "$(windows_path "$three")\\missing\\ranking.html" >"$three/junmaru_setting.ini"
"$batch" --settings "$three/junmaru_setting.ini" --log "$three/access.log" --out "$work/linux-page-3.html" 2>/dev/null
start_window "$three"
press alt+g
box=$(next_box)
case "$box" in
  $'順位丸\t'*.) pass "error box: ${box##*$'\t'}" ;;
  *) fail "error box: $box" ;;
esac
mkdir "$three/missing"
press alt+g
box=$(next_box)
case "$box" in
  $'順位丸\t'*gage.gif*) pass "gage.gif notice: ${box##*$'\t'}" ;;
  *) fail "notice: $box" ;;
esac
cmp "$three/missing/ranking.html" "$work/linux-page-3.html" || fail "page after the error differs"
pass "GO works after the error"
close_window

# --- 4. One settings file for both systems -------------------------------------
# The paths are rooted ("/tmp/..."): Wine takes them on the drive of the
# current folder, Z:, which is the Unix root, so both systems open them.
four=$work/往復
logs=$four/データ置き場
mkdir -p "$four/linux" "$four/windows" "$logs"
make_log "$logs/access.log"
cp examples/gage.gif "$logs/"
"$batch" --log "$logs/access.log" --out "$work/linux-page-4.html" 2>/dev/null
# The Linux window, started with paths as an earlier Linux version stored
# them (UTF-8), loads the log and stores both paths in code page 932 at
# its close (as the title bar's close button closes it).
cp "$linux_window" "$four/linux/junmaru"
printf '[FilePass]\r\nReadPass=%s\r\nSavePass=%s\r\n' "$logs/access.log" "$logs/from-linux.html" \
  >"$four/linux/junmaru_setting.ini"
(cd "$four/linux" && exec env QT_QPA_PLATFORM=xcb ./junmaru) >/dev/null 2>&1 &
linux_pid=$!
linux_w=$(xdotool search --sync --onlyvisible --limit 1 --pid "$linux_pid" --name 'Ver1\.4')
/usr/bin/python3 testing/x_close_window.py "$linux_w"
for _ in $(seq 300); do kill -0 "$linux_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$linux_pid" 2>/dev/null && fail "the Linux window did not end after WM_DELETE_WINDOW"
grep -qaxF "ReadPass=$(printf '%s' "$logs/access.log" | to_cp932)"$'\r' "$four/linux/junmaru_setting.ini" ||
  fail "the Linux window did not store ReadPass in code page 932"
cp "$win_dir/junmaru-batch.exe" "$four/linux/"
(cd "$four/linux" && wine junmaru-batch.exe) 2>/dev/null || fail "junmaru-batch.exe could not use the Linux settings"
cmp "$logs/from-linux.html" "$work/linux-page-4.html" || fail "junmaru-batch.exe wrote another page"
pass "junmaru-batch.exe read the paths the Linux window stored"
# junmaru.exe loads the log from code page 932 paths and stores them at its
# close; the Linux junmaru-batch reads them.
new_folder "$four/windows"
printf '[FilePass]\r\nReadPass=%s\r\nSavePass=%s\r\n' "$(printf '%s' "$logs/access.log" | to_cp932)" \
  "$(printf '%s' "$logs/from-windows.html" | to_cp932)" >"$four/windows/junmaru_setting.ini"
start_window "$four/windows"
[ "$(shown_at 54,119)" = "400 行" ] || fail "junmaru.exe did not load the log: $(shown_at 54,119)"
close_window
"$batch" --settings "$four/windows/junmaru_setting.ini" 2>/dev/null ||
  fail "junmaru-batch could not use the settings junmaru.exe stored"
cmp "$logs/from-windows.html" "$work/linux-page-4.html" || fail "junmaru-batch wrote another page"
pass "junmaru-batch read the paths junmaru.exe stored"
echo "wine window test: all passed"
