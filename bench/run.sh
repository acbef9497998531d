#!/usr/bin/env bash
# Times junmaru-batch against the classic shell pipeline, `wc -l` and
# GoAccess on logs written by the repository's own generator (and with the
# five counting rules on against all off), and records
# the peak memory of the batch program and of the window (load + GO) on
# ordinary logs and on three shapes made to strain memory.
#
#   bench/run.sh              # build, generate the logs (once), measure, update README
#   RUNS=7 bench/run.sh       # more rounds per log
#
# Environment:
#   RUNS            rounds on the 2,000,000-line log (default 5)
#   RUNS_DISTINCT   rounds on the 1,000,000-distinct-path log (default 3)
#   GOACCESS        0 leaves GoAccess out (default 1: one run on the 2,000,000-line log)
#   BENCH_OUT       where the logs, pages and raw timings go (default bench/out, git-ignored)
#   BENCH_BUILD     build folder (default build-bench, configured with the
#                   project's default build type, RelWithDebInfo, when new)
#   BENCH_README    0 leaves README.md alone (default 1: the table is replaced)
#
# Each round runs the commands one after the other (batch, pipeline,
# wc -l), so that a burst of load on the machine hits all of them alike;
# the medians of the rounds are reported. Wall time is taken around each
# command; peak memory is the "Maximum resident set size" of /usr/bin/time -v
# (for the pipeline that is its largest single process). The logs are read
# once before they are measured, so every command starts from a warm page cache.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")" && git rev-parse --show-toplevel)
out=${BENCH_OUT:-$repo/bench/out}
build=${BENCH_BUILD:-$repo/build-bench}
runs=${RUNS:-5}
runs_distinct=${RUNS_DISTINCT:-3}
with_goaccess=${GOACCESS:-1}
update_readme=${BENCH_README:-1}

# --- what the benchmark needs on Debian 12: the project's build
# dependencies, and the tools it is measured against
"$repo/scripts/install-deps.sh"
need=()
for p in mawk time coreutils goaccess; do
  dpkg -s "$p" >/dev/null 2>&1 || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${need[@]}"
fi

# --- junmaru-batch, the window's bench and the log generator, built as
# scripts/build.sh builds the programs
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake -S "$repo" -B "$build" -DJUNMARU_WITH_WINDOW=ON >/dev/null
cmake --build "$build" --target junmaru-batch window_bench gen_access_log -j"$(nproc)" >/dev/null
batch="$build/junmaru-batch"
gen="$build/gen_access_log"
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt")

# --- the logs, written once (again when the generator or its arguments change)
mkdir -p "$out"
gen_sum=$(sha1sum "$repo/bench/gen_access_log.cpp" | cut -c1-12)
make_log() {  # name generator-arguments...
  local name=$1 log="$out/$1.log" stamp="$out/$1.args"
  shift
  local args="$* $gen_sum"
  if [ ! -f "$log" ] || [ "$(cat "$stamp" 2>/dev/null)" != "$args" ]; then
    echo "writing $log ($*)..." >&2
    "$gen" "$@" >"$log.part"
    mv "$log.part" "$log"
    echo "$args" >"$stamp"
  fi
}
# Ordinary logs: a download site's traffic.
make_log access-2m --lines 2000000 --files 5000
make_log access-1m-distinct --lines 5000000 --files 1000000
# Shapes that strain memory: many lines of nothing, a path per two lines,
# and a few lines of 17 MB.
make_log empty-lines --empty-lines 200000000
make_log distinct-2m --lines 4000000 --files 2000000 --every-file
make_log long-lines --long-lines 7 --line-bytes 17000000

# A settings file with every value at its default: an empty file; and one
# with the five counting rules for today's servers on.
settings="$out/defaults.ini"
: >"$settings"
rules="$out/rules.ini"
printf '[Count]\r\nAnyHttp=1\r\nStatus=200,206\r\nOncePerClient=1\r\nBots=1\r\nDecode=1\r\n' >"$rules"
# The bar image beside the page, so the batch run prints no notice.
: >"$out/gage.gif"

pipeline_script='mawk '\''$6=="\"GET" && ($8=="HTTP/1.1\"" || $8=="HTTP/1.0\"") {print $7}'\'' "$1" | sort | uniq -c | sort -rn | head -100'

now_ns() { date +%s%N; }

# Runs one command under /usr/bin/time -v; appends "wall-microseconds kilobytes
# processor-microseconds" (user + system, all threads) to $2.
measure() {  # label results-file command...
  local label=$1 results=$2
  shift 2
  local tv="$out/time-v.txt" start end
  start=$(now_ns)
  if ! /usr/bin/time -v -o "$tv" "$@" >"$out/$label.stdout" 2>"$out/$label.stderr"; then
    echo "bench/run.sh: $label failed:" >&2
    tail -c 2000 "$out/$label.stderr" >&2
    cat "$tv" >&2
    exit 1
  fi
  end=$(now_ns)
  local kb cpu
  kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$tv")
  cpu=$(awk -F': ' '/User time|System time/ {s += $2} END {printf "%d", s * 1e6}' "$tv")
  echo "$(( (end - start) / 1000 )) $kb $cpu" >>"$results"
}

median() {  # column file
  sort -n -k"$1,$1" "$2" | awk -v c="$1" '{v[NR]=$c} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2}'
}

log_bytes() { stat -c %s "$out/$1.log"; }
log_lines() { wc -l <"$out/$1.log"; }
mib() { awk -v b="$1" 'BEGIN {printf "%.0f", b / 1048576}'; }

table="$out/table.md"
speed="$out/speed.md"
memory="$out/memory.md"
summary="$out/summary.md"
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
{
  echo "| log | tool | runs | median wall s | median cpu s | s per M lines | peak RSS MiB | RSS / log size |"
  echo "|---|---|---:|---:|---:|---:|---:|---:|"
} >"$speed"
{
  echo "| log | lines | MiB | batch s | batch peak MiB | batch RSS / log | window load s | window GO s | window peak MiB | window RSS / log | window load + GO / log |"
  echo "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
} >"$memory"
: >"$summary"

speed_row() {  # name label results-file rounds
  local name=$1 label=$2 file=$3 rounds=$4 bytes lines
  bytes=$(log_bytes "$name")
  lines=$(log_lines "$name")
  awk -v lg="$name ($lines lines, $(mib "$bytes") MiB)" -v t="$label" -v n="$rounds" -v us="$(median 1 "$file")" \
      -v cpu="$(median 3 "$file")" -v kb="$(median 2 "$file")" -v lines="$lines" -v bytes="$bytes" 'BEGIN {
    printf "| %s | %s | %d | %.3f | %.3f | %.3f | %.0f | %.2f |\n", lg, t, n, us / 1e6, cpu / 1e6,
           us / 1e6 / (lines / 1e6), kb / 1024, kb * 1024 / bytes
  }' >>"$speed"
}

# junmaru-batch, the pipeline and wc -l in alternating rounds.
bench_log() {  # name rounds
  local name=$1 rounds=$2 log="$out/$1.log"
  cat "$log" >/dev/null
  local r_batch="$out/$name.batch.txt" r_pipe="$out/$name.pipeline.txt" r_wc="$out/$name.wc.txt"
  : >"$r_batch"; : >"$r_pipe"; : >"$r_wc"
  for ((i = 1; i <= rounds; i++)); do
    echo "$name: round $i of $rounds" >&2
    measure batch "$r_batch" "$batch" --settings "$settings" --log "$log" --out "$out/$name.html"
    measure pipeline "$r_pipe" env LC_ALL=C bash -c "$pipeline_script" pipeline "$log"
    measure wc "$r_wc" wc -l "$log"
  done
  speed_row "$name" '`junmaru-batch`' "$r_batch" "$rounds"
  speed_row "$name" 'mawk \| sort \| uniq -c \| sort -rn \| head' "$r_pipe" "$rounds"
  speed_row "$name" '`wc -l`' "$r_wc" "$rounds"
  awk -v name="$name" -v b="$(median 1 "$r_batch")" -v p="$(median 1 "$r_pipe")" -v w="$(median 1 "$r_wc")" \
      -v bc="$(median 3 "$r_batch")" -v wc="$(median 3 "$r_wc")" \
      -v kb="$(median 2 "$r_batch")" -v bytes="$(log_bytes "$name")" 'BEGIN {
    printf "- %s: junmaru-batch = %.3f x the pipeline, %.2f x `wc -l` (processor time: %.2f x); its peak memory = %.2f x the log size\n",
           name, b / p, b / w, bc / wc, kb * 1024 / bytes
  }' >>"$summary"
}

# junmaru-batch with all five counting rules on, in rounds alternating
# with the same run with all of them off.
bench_rules() {  # name rounds
  local name=$1 rounds=$2 log="$out/$1.log"
  local r_on="$out/$name.rules.txt" r_off="$out/$name.rules-off.txt"
  : >"$r_on"; : >"$r_off"
  cat "$log" >/dev/null
  for ((i = 1; i <= rounds; i++)); do
    echo "$name: counting rules, round $i of $rounds" >&2
    measure batch "$r_off" "$batch" --settings "$settings" --log "$log" --out "$out/$name.html"
    measure batch "$r_on" "$batch" --settings "$rules" --log "$log" --out "$out/$name.rules.html"
  done
  speed_row "$name" '`junmaru-batch`, all five counting rules on' "$r_on" "$rounds"
  awk -v name="$name" -v on="$(median 1 "$r_on")" -v off="$(median 1 "$r_off")" \
      -v kb="$(median 2 "$r_on")" -v bytes="$(log_bytes "$name")" 'BEGIN {
    printf "- %s: all five counting rules on = %.2f x the time with all off (bound 1.5); peak memory = %.2f x the log size (bound 1.3)\n",
           name, on / off, kb * 1024 / bytes
  }' >>"$summary"
}

# The page's extra columns on the 2,000,000-line log (about 35 days): the
# last 17 days with the rank changes (the previous 17 days counted in the
# same scan, so that every line is read) and the downloaders, against the
# plain run on the whole log, in alternating rounds.
bench_columns() {  # name rounds
  local name=$1 rounds=$2 log="$out/$1.log"
  local r_plain="$out/$name.plain.txt" r_columns="$out/$name.columns.txt"
  : >"$r_plain"; : >"$r_columns"
  for ((i = 1; i <= rounds; i++)); do
    echo "$name: columns, round $i of $rounds" >&2
    measure batch "$r_plain" "$batch" --settings "$settings" --log "$log" --out "$out/$name.html"
    measure batch "$r_columns" "$batch" --settings "$settings" --log "$log" --out "$out/$name.columns.html" \
      --days 17 --trend --clients
  done
  speed_row "$name" '`junmaru-batch --days 17 --trend --clients`' "$r_columns" "$rounds"
  awk -v name="$name" -v p="$(median 1 "$r_plain")" -v c="$(median 1 "$r_columns")" \
      -v kb="$(median 2 "$r_columns")" -v bytes="$(log_bytes "$name")" 'BEGIN {
    printf "- %s: --days 17 --trend --clients = %.2f x the plain run'"'"'s time; its peak memory = %.2f x the log size\n",
           name, c / p, kb * 1024 / bytes
  }' >>"$summary"
}

# GoAccess, the log analyser a site keeper would install instead; slow, so
# it runs once.
bench_goaccess() {  # name
  local name=$1 results="$out/$1.goaccess.txt"
  : >"$results"
  echo "$name: GoAccess" >&2
  measure goaccess "$results" goaccess "$out/$name.log" --log-format=COMBINED -o "$out/$name.goaccess.html"
  speed_row "$name" 'GoAccess (`--log-format=COMBINED -o report.html`)' "$results" 1
  awk -v name="$name" -v b="$(median 1 "$out/$name.batch.txt")" -v g="$(median 1 "$results")" \
      -v kb="$(median 2 "$results")" -v bytes="$(log_bytes "$name")" 'BEGIN {
    printf "- %s: junmaru-batch = %.4f x GoAccess; GoAccess peak memory = %.2f x the log size\n",
           name, b / g, kb * 1024 / bytes
  }' >>"$summary"
}

# The window's two handlers, loading the log and GO (to the saved page),
# timed in the window itself on Qt's offscreen platform by window_bench,
# with the longest time the gauge stood still without a repaint during GO;
# its peak memory is that of the whole window program.
window_rounds() {  # name rounds
  local name=$1 rounds=$2 file="$out/$1.window.txt" rss="$out/$1.window-rss.txt"
  : >"$file"; : >"$rss"
  for ((i = 1; i <= rounds; i++)); do
    measure window "$rss" env QT_QPA_PLATFORM=offscreen "$build/window_bench" "$out/$name.log" "$out/$name.window.html"
    awk '{print $4, $7, $14, $19, $22}' "$out/window.stdout" >>"$file"
  done
}

# One line of the memory table: batch and window on the same log.
memory_row() {  # name batch-results rounds
  local name=$1 r_batch=$2 rounds=$3 bytes
  bytes=$(log_bytes "$name")
  window_rounds "$name" "$rounds"
  awk -v name="$name" -v lines="$(log_lines "$name")" -v bytes="$bytes" \
      -v bus="$(median 1 "$r_batch")" -v bkb="$(median 2 "$r_batch")" \
      -v load="$(median 1 "$out/$name.window.txt")" -v go="$(median 2 "$out/$name.window.txt")" \
      -v wkb="$(median 2 "$out/$name.window-rss.txt")" -v before="$(median 4 "$out/$name.window.txt")" \
      -v peak="$(median 5 "$out/$name.window.txt")" 'BEGIN {
    printf "| %s | %d | %.0f | %.3f | %.0f | %.2f | %.3f | %.3f | %.0f | %.2f | %.2f |\n", name, lines, bytes / 1048576,
           bus / 1e6, bkb / 1024, bkb * 1024 / bytes, load, go, wkb / 1024, wkb * 1024 / bytes,
           (peak - before) * 1024 / bytes
  }' >>"$memory"
}

bench_log access-2m "$runs"
bench_rules access-2m "$runs"
bench_columns access-2m "$runs"
[ "$with_goaccess" = 1 ] && bench_goaccess access-2m
bench_log access-1m-distinct "$runs_distinct"

memory_row access-2m "$out/access-2m.batch.txt" "$runs"
echo "- access-2m in the window (window_bench, offscreen, median of $runs): gauge still at most $(median 3 "$out/access-2m.window.txt") s at a time" >>"$summary"
memory_row access-1m-distinct "$out/access-1m-distinct.batch.txt" "$runs_distinct"
for shape in empty-lines distinct-2m long-lines; do
  echo "$shape: batch and window" >&2
  cat "$out/$shape.log" >/dev/null
  : >"$out/$shape.batch.txt"
  measure batch "$out/$shape.batch.txt" "$batch" --settings "$settings" --log "$out/$shape.log" --out "$out/$shape.html"
  memory_row "$shape" "$out/$shape.batch.txt" 1
done

{
  echo "Measured $(date -u '+%Y-%m-%d %H:%M UTC') on $(nproc) cores ($(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')), commit $(git -C "$repo" rev-parse --short HEAD), ${build_type:-default} build."
  echo
  cat "$speed"
  echo
  cat "$summary"
  echo
  echo "Peak memory on every log, for \`junmaru-batch\` and for the window's load + GO (\`window_bench\`; the last"
  echo "column is what loading and GO add to the window's own memory before the log, Qt and its fonts):"
  echo
  cat "$memory"
  echo
  echo "Load average (1, 5, 15 min) before: $load_before; after: $(cut -d' ' -f1-3 /proc/loadavg)."
} >"$table"

cat "$table"

if [ "$update_readme" = 1 ]; then
  readme="$repo/README.md"
  begin='<!-- benchmark table: begin -->'
  end='<!-- benchmark table: end -->'
  if grep -qF "$begin" "$readme" && grep -qF "$end" "$readme"; then
    awk -v begin="$begin" -v end="$end" -v table="$table" '
      $0 == begin { print; while ((getline line < table) > 0) print line; skip = 1; next }
      $0 == end { skip = 0 }
      !skip { print }
    ' "$readme" >"$readme.tmp"
    mv "$readme.tmp" "$readme"
    echo "README.md: benchmark table replaced" >&2
  else
    echo "README.md has no benchmark markers; table left in $table" >&2
  fi
fi
