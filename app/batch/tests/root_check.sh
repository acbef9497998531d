#!/bin/bash
# End-to-end check of where junmaru-batch writes its page, run as root (as
# cron runs it): device nodes and FIFOs refused and left intact, root's
# links written through and other users' links refused (as the page's name
# or as a folder of its path), owner and mode kept, read-only pages and the
# log itself refused, links from hostile request paths kept on the site,
# hostile colours kept inside their attribute, and no broken page or
# temporary file after signals sent while pages are being saved.
# Usage: root_check.sh PATH-TO-junmaru-batch. Exit 77 (skipped) when not root.
set -u
batch=$1
if [ "$(id -u)" != 0 ]; then echo "not root: skipped"; exit 77; fi
work=$(mktemp -d /tmp/junmaru-root-check.XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
line() { printf '192.0.2.1 - - [10/Oct/2004:13:55:36 +0900] "GET %s HTTP/1.1" 200 10\r\n' "$1"; }
run() { "$batch" --settings "$work/settings.ini" "$@" 2>/dev/null; }

{ line /dl/a.zip; line /dl/a.zip; line /dl/b.zip; } > access.log
cp access.log access.orig
: > settings.ini
printf '<html>old</html>\r\n' > old.html

# FIFO and character device as the page: status 1, node intact.
mkfifo page.fifo
mknod page.null c 1 3
run --log access.log --out page.fifo; [ $? = 1 ] || fail "FIFO page not refused"
[ -p page.fifo ] || fail "FIFO replaced"
run --log access.log --out page.null; [ $? = 1 ] || fail "device page not refused"
[ -c page.null ] || fail "device node replaced"

# Symlinked page: the target gets the page, the link stays.
mkdir real site
cp old.html real/ranking.html
ln -s ../real/ranking.html site/ranking.html
run --log access.log --out site/ranking.html || fail "symlinked page not written"
[ -L site/ranking.html ] || fail "link replaced"
grep -q '/dl/a.zip' real/ranking.html || fail "link target not updated"

# A link that another user planted where the page goes: status 1, the file
# it names untouched, the link left as it is.
cp old.html real/secret.html
ln -s ../real/secret.html site/planted.html
chown -h nobody:nogroup site/planted.html
run --log access.log --out site/planted.html; [ $? = 1 ] || fail "another user's link followed"
cmp -s old.html real/secret.html || fail "file behind another user's link changed"
[ -L site/planted.html ] || fail "planted link replaced"

# A folder link that another user planted on the page's path (www/dl ->
# a folder of root's): status 1 with the usual message, nothing written there.
mkdir victim www
cp old.html victim/ranking.html
ln -s ../victim www/dl
chown -h nobody:nogroup www/dl
message=$("$batch" --settings "$work/settings.ini" --log access.log --out www/dl/ranking.html 2>&1 >/dev/null)
status=$?
[ "$status" = 1 ] || fail "another user's folder link followed (status $status)"
case "$message" in *"www/dl/ranking.html を作成できません"*) ;; *) fail "folder link refused with: $message" ;; esac
cmp -s old.html victim/ranking.html || fail "file behind another user's folder link changed"
[ "$(ls -A victim)" = ranking.html ] || fail "file created behind another user's folder link: $(ls -A victim)"

# Owner, group and mode kept.
cp old.html owned.html
chown nobody:nogroup owned.html
chmod 640 owned.html
run --log access.log --out owned.html || fail "owned page not written"
[ "$(stat -c '%U:%G %a' owned.html)" = "nobody:nogroup 640" ] || fail "owner or mode changed: $(stat -c '%U:%G %a' owned.html)"
grep -q '/dl/a.zip' owned.html || fail "owned page not updated"

# Read-only page: status 1, unchanged.
cp old.html readonly.html
chmod 444 readonly.html
run --log access.log --out readonly.html; [ $? = 1 ] || fail "read-only page not refused"
cmp -s old.html readonly.html || fail "read-only page changed"

# The log as the page, directly and through a link: status 1, log unchanged.
ln -s access.log log-link.html
for out in access.log log-link.html; do
  run --log access.log --out "$out"; [ $? = 1 ] || fail "log as page ($out) not refused"
  cmp -s access.orig access.log || fail "log changed ($out)"
done

# Hostile request paths with the prefixes "", "/" and "./"; hostile colours.
{
  for i in 1 2 3; do
    line '/javascript:alert(document.cookie)//.zip'
    line '///evil.example/a.zip'
    line '/\evil.example/b.zip'
    line '/dl/ordinary.zip'
  done
} > attack.log
for prefix in '""' '/' './'; do
  printf '[HTML]\r\nPrefix=%s\r\nCBG=#00"><script>alert(1)</script>\r\nCText1=red" onmouseover="alert(2)\r\n' \
    "$prefix" > settings.ini
  run --log attack.log --out attack.html || fail "attack page not written (prefix $prefix)"
  hrefs=$(grep -o 'href="[^"]*"' attack.html | sed 's/^href="//; s/"$//')
  if echo "$hrefs" | grep -Eq '^([A-Za-z][A-Za-z0-9+.-]*:|[/\\][/\\])'; then
    fail "link leaves the site (prefix $prefix): $(echo "$hrefs" | tr '\n' ' ')"
  fi
  expected=$([ "$prefix" = '""' ] && echo "" || echo "$prefix")
  echo "$hrefs" | grep -qx "${expected}dl/ordinary.zip" || fail "ordinary path not linked (prefix $prefix)"
  grep -q '<script' attack.html && fail "<script in the page (prefix $prefix)"
  grep -q 'onmouseover=' attack.html && fail "onmouseover= in the page (prefix $prefix)"
done
: > settings.ini

# 60 SIGTERM/SIGINT sent while a page of 10000 rows is being made and saved.
printf '[Ranking]\r\nTopCount=10000\r\n' > settings.ini
for i in $(seq 1 20000); do line "/dl/file$i.zip"; done > big.log
mkdir signals
start=$(date +%s%N)
run --log big.log --out signals/ranking.html || fail "big page not written"
took=$(( ($(date +%s%N) - start) / 1000 ))  # microseconds
broken=0
for i in $(seq 1 60); do
  cp old.html signals/ranking.html
  "$batch" --settings settings.ini --log big.log --out signals/ranking.html 2>/dev/null &
  pid=$!
  # Spread over the run, most of them over its second half, where the page is saved.
  delay=$(( took * (30 + (i * 37) % 80) / 100 ))
  sleep "$(printf '0.%06d' "$delay")"
  if [ $((i % 2)) = 0 ]; then kill -TERM "$pid" 2>/dev/null; else kill -INT "$pid" 2>/dev/null; fi
  wait "$pid"
  if ! cmp -s old.html signals/ranking.html && ! tail -c 9 signals/ranking.html | cmp -s - <(printf '</html>\r\n'); then
    broken=$((broken + 1))
  fi
done
left=$(find signals -name '.junmaru-*' | wc -l)
[ "$broken" = 0 ] || fail "$broken broken pages after signals"
[ "$left" = 0 ] || fail "$left temporary files left after signals"

if [ "$failures" = 0 ]; then echo "root check passed"; exit 0; fi
exit 1
