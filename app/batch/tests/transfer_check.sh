#!/bin/bash
# End-to-end check of fetching logs and publishing the page, against real
# servers that this script starts on 127.0.0.1 and stops again: vsftpd
# with explicit TLS (a test CA passed with --cacert), OpenSSH's sshd for
# SFTP on a high port (a test key, a test known_hosts), and a small HTTPS
# server. HOME points at a test folder, so the user's own keys and logins
# stay out of it.
#
# Usage: transfer_check.sh PROGRAM [WRAPPER...]
#   PROGRAM is junmaru-batch, or junmaru-batch.exe with the wrapper "wine"
#   (then the test logins go into the Wine user's profile folder, where
#   %USERPROFILE% leads). LINUX_BATCH names the Linux program that writes
#   the reference pages (default: PROGRAM itself).
# Exit 77 (skipped) with the reason when a server cannot be started (vsftpd
# needs root and a test user; everything else is a Debian package).
set -u
program=$(realpath "$1")
shift
wrapper=("$@")
linux_batch=$(realpath "${LINUX_BATCH:-$program}")
skip() { echo "skipped: $*"; exit 77; }
for tool in vsftpd:/usr/sbin/vsftpd sshd:/usr/sbin/sshd ssh-keygen:ssh-keygen ssh-keyscan:ssh-keyscan \
            openssl:openssl python3:python3 gzip:gzip ps:ps; do
  command -v "${tool#*:}" >/dev/null || skip "${tool%%:*} is not installed (scripts/install-deps.sh installs it)"
done
[ "$(id -u)" = 0 ] || skip "vsftpd needs root (it logs in a test user)"

work=$(mktemp -d /tmp/junmaru-transfer.XXXXXX)
chmod 755 "$work"
ftp_pid="" ssh_pid=""
# vsftpd and the sessions it forked (which leave its process group).
kill_tree() {
  local child
  for child in $(ps -o pid= --ppid "$1"); do kill_tree "$child"; done
  kill -KILL "$1" 2>/dev/null
}
stop_ftp() { [ -n "$ftp_pid" ] && kill_tree "$ftp_pid"; ftp_pid=""; }
stop_all() {
  stop_ftp
  [ -f "$work/sshd.pid" ] && kill "$(cat "$work/sshd.pid")" 2>/dev/null
  [ -n "$ssh_pid" ] && kill "$ssh_pid" 2>/dev/null
  [ -n "${https_pid:-}" ] && kill "$https_pid" 2>/dev/null
  [ -n "${mute_pid:-}" ] && kill "$mute_pid" 2>/dev/null
  rm -rf "$work"
}
trap stop_all EXIT
cd "$work" || exit 1

free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'; }
wait_port() {  # port: until something listens there, at most 10 s
  for _ in $(seq 100); do
    python3 -c "import socket,sys; s=socket.socket(); s.settimeout(0.2); sys.exit(s.connect_ex(('127.0.0.1',$1)))" && return 0
    sleep 0.1
  done
  return 1
}

# --- the logs, and the pages written from them here -------------------------
line() { printf '192.0.2.%d - - [%s/Oct/2024:1%d:00:00 +0900] "GET %s HTTP/1.1" 200 10\n' "$1" "$2" "$3" "$4"; }
mkdir -p logs www
for day in 01 02 03 04 05 06 07 08 09; do
  { for n in 1 2 3; do line "$n" "$day" "$n" "/dl/file$((10#$day % 4)).zip"; line "$n" "$day" "$n" "/dl/common.lzh"; done
  } > "logs/access_log_202410$day"
  gzip -n -k "logs/access_log_202410$day"
done
cp logs/access_log_20241009 logs/access_log  # today's, plain
printf 'GIF89a-local' > www/gage.gif
: > settings.ini

# --- servers -------------------------------------------------------------------
# A test CA and a certificate for 127.0.0.1 signed by it.
openssl req -x509 -nodes -newkey rsa:2048 -keyout ca.key -out ca.pem -days 2 -subj /CN=junmaru-test-CA 2>/dev/null
openssl req -nodes -newkey rsa:2048 -keyout server.key -out server.csr -subj /CN=127.0.0.1 2>/dev/null
# The name as DNS too: the Windows build's Schannel matches no IP names.
printf 'subjectAltName=DNS:127.0.0.1,IP:127.0.0.1\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n' > server.ext
openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 -extfile server.ext \
  -out server.pem 2>/dev/null || skip "openssl could not make a test certificate"
openssl req -x509 -nodes -newkey rsa:2048 -keyout other-ca.key -out other-ca.pem -days 2 -subj /CN=other-CA 2>/dev/null

# The FTP user: a system account whose password changes every run.
ftp_user=junmaru-ftp-test
ftp_pass=$(openssl rand -hex 12)
id "$ftp_user" >/dev/null 2>&1 || useradd -M -s /bin/bash "$ftp_user" 2>/dev/null ||
  skip "could not add the test user $ftp_user"
usermod -d "$work/ftp-root" "$ftp_user" 2>/dev/null || skip "could not set the test user's home"
echo "$ftp_user:$ftp_pass" | chpasswd 2>/dev/null || skip "could not set the test user's password"
mkdir -p ftp-root/site ftp-root/logs ftp-root/locked empty
cp logs/* ftp-root/logs/
chown -R "$ftp_user" ftp-root/site
chmod 755 ftp-root/locked
ftp_port=$(free_port)
pasv=$(( (RANDOM % 200) * 100 + 40000 ))
start_ftp() {  # extra vsftpd lines
  { echo "listen=YES"; echo "listen_ipv6=NO"; echo "listen_address=127.0.0.1"; echo "listen_port=$ftp_port"
    echo "background=NO"; echo "pasv_enable=YES"; echo "pasv_address=127.0.0.1"
    echo "pasv_min_port=$pasv"; echo "pasv_max_port=$((pasv + 50))"
    echo "anonymous_enable=NO"; echo "local_enable=YES"; echo "write_enable=YES"; echo "local_umask=022"
    echo "local_root=$work/ftp-root"; echo "secure_chroot_dir=$work/empty"; echo "pam_service_name=vsftpd"
    echo "seccomp_sandbox=NO"; echo "isolate=NO"; echo "isolate_network=NO"
    echo "ssl_enable=YES"; echo "allow_anon_ssl=NO"; echo "force_local_logins_ssl=NO"; echo "force_local_data_ssl=NO"
    echo "require_ssl_reuse=NO"; echo "ssl_ciphers=HIGH"
    echo "rsa_cert_file=$work/server.pem"; echo "rsa_private_key_file=$work/server.key"
    echo "xferlog_enable=NO"; echo "vsftpd_log_file=$work/vsftpd.log"
    printf '%s\n' "$@"
  } > vsftpd.conf
  /usr/sbin/vsftpd vsftpd.conf > vsftpd.out 2>&1 &
  ftp_pid=$!
  disown "$ftp_pid"
  wait_port "$ftp_port" || { cat vsftpd.out; return 1; }
}
start_ftp || skip "vsftpd did not start"

ssh_port=$(free_port)
ssh_user=$(id -un)
ssh-keygen -q -t ecdsa -N '' -f ssh_host_ecdsa_key
ssh-keygen -q -t ecdsa -N '' -f other_host_key
ssh-keygen -q -t ecdsa -N "" -f user_key
cp user_key.pub authorized_keys
mkdir -p /run/sshd sftp-site
cat > sshd_config <<EOF
Port $ssh_port
ListenAddress 127.0.0.1
HostKey $work/ssh_host_ecdsa_key
PidFile $work/sshd.pid
AuthorizedKeysFile $work/authorized_keys
PasswordAuthentication no
KbdInteractiveAuthentication no
UsePAM no
StrictModes no
PermitRootLogin prohibit-password
Subsystem sftp internal-sftp
EOF
/usr/sbin/sshd -D -f "$work/sshd_config" -E "$work/sshd.log" &
ssh_pid=$!
wait_port "$ssh_port" || skip "sshd did not start: $(cat sshd.log)"

https_port=$(free_port)
python3 - "$https_port" "$work" <<'PY' > https.log 2>&1 &
import http.server, ssl, sys, functools
port, work = int(sys.argv[1]), sys.argv[2]
handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=work + "/logs")
server = http.server.HTTPServer(("127.0.0.1", port), handler)
context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(work + "/server.pem", work + "/server.key")
server.socket = context.wrap_socket(server.socket, server_side=True)
server.serve_forever()
PY
https_pid=$!
wait_port "$https_port" || skip "the HTTPS test server did not start"

# A server that takes connections and never says a word.
mute_port=$(free_port)
python3 -c "import socket,time; s=socket.socket(); s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1); s.bind(('127.0.0.1',$mute_port)); s.listen(8); time.sleep(900)" &
mute_pid=$!
wait_port "$mute_port"
closed_port=$(free_port)

# The test user's home: logins, key and known hosts. Under Wine the
# program finds them in the Wine user's profile folder.
# Under Wine three things cannot be shown: SFTP (Wine's bcrypt has neither
# the raw RSA nor the ECDH secret that WinCNG's key exchange is built on,
# so every connection fails at the key exchange); FTPS data connections
# (Wine's Schannel never reports the end of one, so listings, downloads
# and uploads over FTPS wait until the timeout, while the TLS control
# connection, its login and its certificate checks work); and a
# certificate refused by the system's store (Wine's Schannel takes any; a
# certificate refused by a --cacert file is shown instead). There, the
# files move over plain FTP and HTTPS.
if [ ${#wrapper[@]} -gt 0 ]; then
  home="$WINEPREFIX/drive_c/users/$(id -un)"
  netrc_name=_netrc
  [ -d "$home" ] || skip "no Wine profile folder at $home"
  under_wine=1
else
  home="$work/home"
  netrc_name=.netrc
  under_wine=0
fi
mkdir -p "$home/.ssh"
export HOME="$work/home"
mkdir -p "$HOME"
cp user_key "$home/.ssh/id_ecdsa"
chmod 600 "$home/.ssh/id_ecdsa"
known_hosts() { ssh-keyscan -t ecdsa -p "$ssh_port" 127.0.0.1 2>/dev/null > "$home/.ssh/known_hosts"; }
known_hosts
[ -s "$home/.ssh/known_hosts" ] || skip "ssh-keyscan got no key from the test sshd"
netrc() { printf 'machine 127.0.0.1\nlogin %s\npassword %s\n' "$ftp_user" "$1" > "$home/$netrc_name"; chmod 600 "$home/$netrc_name"; }
netrc "$ftp_pass"

ftps="ftps://127.0.0.1:$ftp_port"
sftp="sftp://127.0.0.1:$ssh_port$work"

# --- the checks ----------------------------------------------------------------
failures=0 checks=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
batch() {  # runs the program under test; status in $status, stderr in err.txt
  timeout 120 "${wrapper[@]}" "$program" --settings settings.ini "$@" > /dev/null 2> err.txt < /dev/null
  status=$?
  grep -q "$ftp_pass" err.txt && fail "the password shows in a message: $*"
  checks=$((checks + 1))
}
expect() {  # status text-in-stderr description
  if [ "$status" != "$1" ] || { [ -n "$2" ] && ! grep -qF -- "$2" err.txt; }; then
    fail "$3: status $status, wanted $1 and \"$2\"; stderr:"; sed 's/^/    /' err.txt
  fi
}
reference() {  # out logs...: the page the Linux program writes from local files
  local out=$1; shift
  local args=()
  for log in "$@"; do args+=(--log "$log"); done
  "$linux_batch" --settings settings.ini "${args[@]}" --out "$out" 2>/dev/null
}
same() { cmp -s "$1" "$2" || fail "$3: $1 and $2 differ"; }
no_leftovers() { ! ls -A "$1" | grep -q '^\.junmaru' || fail "$2: temporary files left in $1: $(ls -A "$1")"; }

days=(01 02 03 04 05 06 07 08 09)
gz=(); for d in "${days[@]}"; do gz+=("logs/access_log_202410$d.gz"); done

# Where the rotated logs are fetched from (the SFTP server) and the page is
# published to (the FTPS server); under Wine, plain FTP for both.
logs_at=$sftp site_at=$ftps
if [ "$under_wine" = 1 ]; then
  logs_at="ftp://127.0.0.1:$ftp_port" site_at="ftp://127.0.0.1:$ftp_port"
fi

# Fetch: a plain log over FTPS and a .gz over SFTP, joined in that order.
reference ref-two.html logs/access_log_20241008.gz logs/access_log
batch --log "$logs_at/logs/access_log_20241008.gz" --log "$site_at/logs/access_log" --cacert ca.pem --out www/two.html
expect 0 "" "fetch by address"
same ref-two.html www/two.html "fetch by address"

# Fetch over HTTPS.
batch --log "https://127.0.0.1:$https_port/access_log" --cacert ca.pem --out www/https.html
reference ref-https.html logs/access_log
expect 0 "" "fetch over HTTPS"
same ref-https.html www/https.html "fetch over HTTPS"

# Fetch by listing, with the current plain log after the list, and a period.
reference ref-list.html "${gz[@]}" logs/access_log
batch --log-list "$logs_at/logs/" --log-match 'access_log_*.gz' --log "$site_at/logs/access_log" --cacert ca.pem \
  --out www/list.html
expect 0 "" "fetch by listing"
same ref-list.html www/list.html "fetch by listing"
"$linux_batch" --settings settings.ini $(printf -- '--log %s ' "${gz[@]}") --days 3 --out ref-days.html 2>/dev/null
batch --log-list "$site_at/logs/" --log-match 'access_log_*.gz' --days 3 --cacert ca.pem --out www/days.html
expect 0 "" "listing with --days"
same ref-days.html www/days.html "listing with --days"

# The nightly job: a rotated set over SFTP, ranked, published over FTPS to
# a site without a page; gage.gif goes along.
batch --log-list "$logs_at/logs/" --log-match 'access_log_*.gz' --out www/ranking.html --publish "$site_at/site/" \
  --cacert ca.pem
expect 0 "" "fetch and publish"
reference ref-nightly.html "${gz[@]}"
same ref-nightly.html www/ranking.html "fetch and publish: local page"
same ref-nightly.html ftp-root/site/ranking.html "fetch and publish: published page"
same www/gage.gif ftp-root/site/gage.gif "fetch and publish: gage.gif"
no_leftovers ftp-root/site "fetch and publish"

# Publishing over an existing page: replaced; the site's own gage.gif
# stays; the ranking's CSV and JSON go along.
printf 'GIF89a-site' > ftp-root/site/gage.gif
batch --log logs/access_log --out www/ranking.html --csv www/ranking.csv --json www/ranking.json \
  --publish "$site_at/site/" --cacert ca.pem
expect 0 "" "publish over a page"
same www/ranking.html ftp-root/site/ranking.html "publish over a page"
same www/ranking.csv ftp-root/site/ranking.csv "publish over a page: CSV"
same www/ranking.json ftp-root/site/ranking.json "publish over a page: JSON"
grep -q GIF89a-site ftp-root/site/gage.gif || fail "the site's gage.gif was replaced"
no_leftovers ftp-root/site "publish over a page"

# The same over SFTP, first without, then with a page there.
[ "$under_wine" = 1 ] || for round in new existing; do
  batch --log "${gz[0]}" --out www/s.html --publish "$sftp/sftp-site/"
  expect 0 "" "SFTP publish ($round page)"
  same www/s.html sftp-site/s.html "SFTP publish ($round page)"
  no_leftovers sftp-site "SFTP publish ($round page)"
done

# On a terminal each transfer has its bar: bytes, rate and the address.
if [ "$under_wine" = 0 ] && command -v script >/dev/null; then
  script -qec "$(printf '%q ' "$program" --settings settings.ini --log "$logs_at/logs/access_log_20241001.gz" \
    --out www/tty.html --publish "$site_at/site/" --cacert ca.pem)" /dev/null > tty.txt 2>&1
  grep -q "100% .* B .*$logs_at/logs/access_log_20241001.gz" tty.txt &&
    grep -q "100% .*$site_at/site/tty.html" tty.txt || fail "no progress bar for each transfer on a terminal"
  checks=$((checks + 1))
fi

# Plain FTP works and warns once.
batch --log logs/access_log --out www/plain.html --publish "ftp://127.0.0.1:$ftp_port/site/" \
  --log "ftp://127.0.0.1:$ftp_port/logs/access_log_20241001"
expect 0 "暗号化されずに" "plain FTP"
[ "$(grep -c 暗号化されずに err.txt)" = 1 ] || fail "plain FTP: the warning is not given exactly once"
same www/plain.html ftp-root/site/plain.html "plain FTP"

# Failures: each its message and status 1, the site's page as it was.
cp ftp-root/site/ranking.html site-before.html
[ "$under_wine" = 1 ] || cp sftp-site/s.html sftp-before.html
publish_fails() {  # description message args...
  local what=$1 message=$2; shift 2
  batch --log logs/access_log --out www/ranking.html "$@"
  expect 1 "$message" "$what"
  same site-before.html ftp-root/site/ranking.html "$what: the old page"
  [ "$under_wine" = 1 ] || same sftp-before.html sftp-site/s.html "$what: the old SFTP page"
  no_leftovers ftp-root/site "$what"
}
netrc wrong-password
publish_fails "wrong password" "ログインできません" --publish "$ftps/site/" --cacert ca.pem
netrc "$ftp_pass"
[ "$under_wine" = 1 ] || publish_fails "certificate not trusted" "証明書を検証できない" --publish "$ftps/site/"
publish_fails "certificate of another CA" "証明書を検証できない" --publish "$ftps/site/" --cacert other-ca.pem
publish_fails "missing folder" "フォルダがないか" --publish "$ftps/nope/" --cacert ca.pem
publish_fails "folder not writable" "権限がありません" --publish "$site_at/locked/" --cacert ca.pem
publish_fails "connection refused" "接続できません" --publish "ftps://127.0.0.1:$closed_port/site/"
publish_fails "no answer" "応答がないまま 2 秒" --publish "ftps://127.0.0.1:$mute_port/site/" --timeout 2
if [ "$under_wine" = 0 ]; then
  : > "$home/.ssh/known_hosts"
  publish_fails "unknown host key" "known_hosts にないので" --publish "$sftp/sftp-site/"
  expect 1 "ssh-keyscan -p $ssh_port 127.0.0.1 >> " "unknown host key: how to add it"
  sed "s/^/[127.0.0.1]:$ssh_port /" other_host_key.pub | cut -d' ' -f1-3 > "$home/.ssh/known_hosts"
  publish_fails "changed host key" "known_hosts の鍵と違う" --publish "$sftp/sftp-site/"
  known_hosts
  publish_fails "SSH key refused" "SSH の鍵が受け入れられません" --publish "sftp://nobody-here@127.0.0.1:$ssh_port$work/sftp-site/"
fi
batch --log "$logs_at/logs/access_log_20991231.gz" --out www/missing.html
expect 1 "ファイルがありません: $logs_at/logs/access_log_20991231.gz" "missing log"
[ ! -e www/missing.html ] || fail "missing log: a page was written"

# An upload cut in the middle: a slow server stopped while the page goes up.
python3 - <<'PY' > big.log
for i in range(12000):
    print('192.0.2.1 - - [01/Oct/2024:10:00:00 +0900] "GET /dl/%s-%05d.zip HTTP/1.1" 200 10' % ("x" * 150, i))
PY
printf '[Ranking]\r\nTopCount=99999\r\n' > big.ini
stop_ftp
start_ftp "local_max_rate=200000" || fail "the slow vsftpd did not start"
timeout 120 "${wrapper[@]}" "$program" --settings big.ini --log big.log --out www/ranking.html \
  --publish "$site_at/site/" --cacert ca.pem > /dev/null 2> err.txt < /dev/null &
runner=$!
for _ in $(seq 200); do
  ls -A ftp-root/site | grep -q '^\.junmaru' && break
  sleep 0.05
done
sleep 0.5
stop_ftp
wait "$runner"
status=$?
checks=$((checks + 1))
expect 1 "$site_at/site/ranking.html" "upload cut"
same site-before.html ftp-root/site/ranking.html "upload cut: the old page"

[ "$under_wine" = 1 ] && echo "under Wine: SFTP, FTPS data connections and the system's certificate store are not exercised (see the script)"
echo "transfer check: $checks runs of $(basename "$program"), $failures failures"
[ "$failures" = 0 ]
